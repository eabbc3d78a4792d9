# The manual page tamrel-rc(1), made from the program's own help by help2man, and the Debian
# package of the program, the libraries and their headers (CPack DEB; `./dev package`).

# The manual page: `tamrel-rc --help` for the synopsis and options, each command's --help as a
# section of its own. Made when help2man is installed (Debian: help2man).
find_program(TAMREL_HELP2MAN help2man)
if(TARGET tamrel-rc AND TAMREL_HELP2MAN)
  set(TAMREL_MAN_PAGE ${PROJECT_BINARY_DIR}/man/tamrel-rc.1)
  add_custom_command(
    OUTPUT ${TAMREL_MAN_PAGE}.gz
    COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:tamrel-rc> -DHELP2MAN=${TAMREL_HELP2MAN}
            -DOUTPUT=${TAMREL_MAN_PAGE} -P ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
    DEPENDS tamrel-rc ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
    COMMENT "Making the manual page tamrel-rc(1)"
    VERBATIM)
  add_custom_target(tamrel_man_page ALL DEPENDS ${TAMREL_MAN_PAGE}.gz)
  install(FILES ${TAMREL_MAN_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
elseif(TARGET tamrel-rc)
  message(STATUS "help2man not found: no manual page (Debian: help2man)")
endif()

# One package, tamrel-rc, with everything but the Python module (whose place depends on the
# interpreter; pip installs it). Its dependencies on shared libraries come from dpkg-shlibdeps;
# the fonts the fit check measures with are named here, since no library links them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tamrel-rc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Windows resource scripts (.rc): read, regenerate, count, translate and check dialogs")
# CPack indents each line of the long description as the control file wants.
set(CPACK_PACKAGE_DESCRIPTION
    "tamrel-rc loads Windows resource scripts into an object model and reports on them: it
regenerates and counts them, extracts their texts to PO or XLIFF files and merges
translations back without touching anything else, and checks whether translated texts fit
their dialogs' controls. The package also holds the C++20 libraries (static), their headers,
CMake package and pkg-config files.")
set(CPACK_PACKAGE_CONTACT "TamrelResourceFile developers <tamrel-rc@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
# What a program building on the static libraries links besides them.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS
    "libgettextpo-dev, libpugixml-dev, libfreetype-dev, libharfbuzz-dev, libfontconfig-dev, nlohmann-json3-dev, pkgconf")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL Unspecified)
include(CPack)
