# Packs the build as a .deb, unpacks it with dpkg-deb -x into a scratch root and runs the
# program from there: every shared library it needs is found, it loads and checks the sample,
# the manual page is inside, and the package names what dpkg-shlibdeps found. Called by CTest
# with BUILD_DIR, SOURCE_DIR, WORK_DIR and CPACK.
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CPACK} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
file(GLOB deb ${WORK_DIR}/*.deb)
if(rc OR NOT deb)
  message(FATAL_ERROR "cpack failed: ${out}")
endif()
message("package: ${deb}")

execute_process(COMMAND dpkg-deb --field ${deb} Package Version Depends OUTPUT_VARIABLE fields)
message("${fields}")
if(NOT fields MATCHES "Package: tamrel-rc" OR NOT fields MATCHES "Depends:[^\n]*fonts-liberation2"
   OR NOT fields MATCHES "Depends:[^\n]*libfreetype6")
  message(FATAL_ERROR "the package's fields are wrong")
endif()

set(root ${WORK_DIR}/root)
execute_process(COMMAND dpkg-deb -x ${deb} ${root} RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "dpkg-deb -x failed")
endif()
set(tool ${root}/usr/bin/tamrel-rc)
foreach(file usr/bin/tamrel-rc usr/share/man/man1/tamrel-rc.1.gz usr/include/TamrelResourceFile/common/Version.h
             usr/include/TamrelResourceFile/layout/FitChecker.h usr/lib/pkgconfig/tamrelresourcefile-layout.pc
             usr/lib/cmake/TamrelResourceFile/TamrelResourceFileConfig.cmake)
  if(NOT EXISTS ${root}/${file})
    message(FATAL_ERROR "the package lacks ${file}")
  endif()
endforeach()

execute_process(COMMAND ldd ${tool} OUTPUT_VARIABLE libraries RESULT_VARIABLE rc)
if(rc OR libraries MATCHES "not found")
  message(FATAL_ERROR "ldd ${tool}:\n${libraries}")
endif()
execute_process(COMMAND ${tool} load -q ${SOURCE_DIR}/examples/sample.rc RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(rc OR NOT out MATCHES "loaded 1, failed 0")
  message(FATAL_ERROR "the unpacked tamrel-rc load failed (${rc}): ${out}")
endif()
execute_process(COMMAND ${tool} check ${SOURCE_DIR}/examples/sample.rc RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "the unpacked tamrel-rc check failed on the sample (${rc})")
endif()
execute_process(COMMAND ${tool} check -q ${SOURCE_DIR}/tests/data/layout/overflow.rc RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "the unpacked tamrel-rc check passed the seeded overflow script (${rc})")
endif()
execute_process(COMMAND ${tool} --version OUTPUT_VARIABLE version)
execute_process(COMMAND gzip -dc ${root}/usr/share/man/man1/tamrel-rc.1.gz OUTPUT_VARIABLE page)
if(NOT fields MATCHES "Version: ([0-9.]+)")
  message(FATAL_ERROR "no version in the package")
endif()
if(NOT version STREQUAL "tamrel-rc ${CMAKE_MATCH_1}\n" OR NOT page MATCHES "\\.TH TAMREL-RC \"1\"" OR NOT page MATCHES "\\.SS check")
  message(FATAL_ERROR "version '${version}' or manual page wrong")
endif()
