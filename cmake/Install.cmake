# Installation, in three components a program can ask for:
#   core         the object model (libtamrelresource.a), no dependencies but the C library
#   translation  PO and XLIFF exchange and the merge (libtamrelresource-translation.a), on
#                libgettextpo and pugixml
#   layout       dialog layout, the fit check and the preview (libtamrelresource-layout.a), on
#                translation, FreeType, HarfBuzz, fontconfig (and nlohmann_json, headers only)
# Headers go under include/TamrelResourceFile, keeping the folder layout, so they are included
# as <TamrelResourceFile/document/clsRC.h> with only PREFIX/include on the include path.
# find_package(TamrelResourceFile COMPONENTS translation layout) gives TamrelResourceFile::core
# (also TamrelResourceFile::TamrelResourceFile), ::translation and ::layout; the libraries are
# static, so the package's configuration finds their private dependencies. pkg-config knows
# them as tamrelresourcefile, tamrelresourcefile-translation and tamrelresourcefile-layout.
set(TAMREL_CMAKE_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/TamrelResourceFile)
set(TAMREL_INSTALLED_HEADER_DIRS ${TAMREL_LIBRARY_DIRS} translation layout)

# One export set a component, so that a program asking only for the core needs none of the
# other components' dependencies.
install(TARGETS tamrel_resource EXPORT TamrelResourceFileTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS tamrel_translation EXPORT TamrelResourceFileTranslationTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS tamrel_layout EXPORT TamrelResourceFileLayoutTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
foreach(set IN ITEMS TamrelResourceFileTargets TamrelResourceFileTranslationTargets TamrelResourceFileLayoutTargets)
  install(EXPORT ${set} NAMESPACE TamrelResourceFile:: DESTINATION ${TAMREL_CMAKE_DESTINATION})
endforeach()

install(CODE "
  set(TAMREL_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
  set(TAMREL_HEADER_DIRS \"${TAMREL_INSTALLED_HEADER_DIRS}\")
  set(TAMREL_STAGE_DIR \"${PROJECT_BINARY_DIR}/installed-headers\")
  set(TAMREL_INCLUDE_DESTINATION \"${CMAKE_INSTALL_INCLUDEDIR}/TamrelResourceFile\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/InstallHeaders.cmake\")")
install(FILES ${PROJECT_BINARY_DIR}/generated/common/Version.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/TamrelResourceFile/common)

# The .pc files find the prefix from their own place, so an installed tree can be moved.
file(RELATIVE_PATH TAMREL_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
string(REGEX REPLACE "/$" "" TAMREL_PC_TO_PREFIX "${TAMREL_PC_TO_PREFIX}")
foreach(pc IN ITEMS tamrelresourcefile tamrelresourcefile-translation tamrelresourcefile-layout)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/TamrelResourceFileConfig.cmake.in
  ${PROJECT_BINARY_DIR}/TamrelResourceFileConfig.cmake
  INSTALL_DESTINATION ${TAMREL_CMAKE_DESTINATION})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TamrelResourceFileConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TamrelResourceFileConfig.cmake
              ${PROJECT_BINARY_DIR}/TamrelResourceFileConfigVersion.cmake
              ${PROJECT_SOURCE_DIR}/cmake/FindGettextPo.cmake
        DESTINATION ${TAMREL_CMAKE_DESTINATION})
