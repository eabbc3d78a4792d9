# Runs at install time. Installs the library's headers under
# PREFIX/${TAMREL_INCLUDE_DESTINATION}, keeping their folders, with the includes between them
# made relative ("common/Collection.h" becomes "../common/Collection.h"), so that a program
# needs only PREFIX/include on its include path to write #include <TamrelResourceFile/...>.
# Set by the caller: TAMREL_SOURCE_DIR, TAMREL_HEADER_DIRS, TAMREL_STAGE_DIR,
# TAMREL_INCLUDE_DESTINATION.
string(REPLACE ";" "|" folders "${TAMREL_HEADER_DIRS}")
foreach(folder IN LISTS TAMREL_HEADER_DIRS)
  file(GLOB headers "${TAMREL_SOURCE_DIR}/${folder}/*.h")
  set(staged)
  foreach(header IN LISTS headers)
    file(READ "${header}" text)
    string(REGEX REPLACE "#include \"(${folders})/" "#include \"../\\1/" text "${text}")
    get_filename_component(name "${header}" NAME)
    file(WRITE "${TAMREL_STAGE_DIR}/${folder}/${name}" "${text}")
    list(APPEND staged "${TAMREL_STAGE_DIR}/${folder}/${name}")
  endforeach()
  if(staged)
    file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${TAMREL_INCLUDE_DESTINATION}/${folder}" TYPE FILE
         FILES ${staged})
  endif()
endforeach()
