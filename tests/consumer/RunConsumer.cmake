# Installs the built project into a scratch prefix, builds tests/consumer against it twice (as a
# CMake package, and by hand with the flags pkg-config gives, which put only PREFIX/include on
# the include path), and runs both on a script. The README's library example must be that
# program. Called by CTest with BUILD_DIR, SOURCE_DIR, WORK_DIR, CXX, CXX_FLAGS and SCRIPT.
file(READ ${SOURCE_DIR}/tests/consumer/main.cpp program)
file(READ ${SOURCE_DIR}/README.md readme)
string(FIND "${readme}" "```cpp\n${program}```" at)
if(at EQUAL -1)
  message(FATAL_ERROR "README.md does not show tests/consumer/main.cpp as its library example")
endif()

file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/prefix
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(rc)
  message(FATAL_ERROR "install failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/consumer -B ${WORK_DIR}/build
                        -DCMAKE_PREFIX_PATH=${WORK_DIR}/prefix -DCMAKE_CXX_COMPILER=${CXX}
                        "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
                RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "configuring the consumer failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/build RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "building the consumer failed")
endif()
execute_process(COMMAND ${WORK_DIR}/build/consumer ${SCRIPT} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
message("${out}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the consumer failed on ${SCRIPT}")
endif()
execute_process(COMMAND ${WORK_DIR}/build/consumer ${WORK_DIR}/missing.rc RESULT_VARIABLE rc)
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "the consumer did not report a missing script")
endif()

# The same program through pkg-config.
file(GLOB_RECURSE pc_file ${WORK_DIR}/prefix/*/tamrelresourcefile.pc)
if(NOT pc_file)
  message(FATAL_ERROR "tamrelresourcefile.pc was not installed")
endif()
get_filename_component(pc_dir ${pc_file} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pc_dir})
execute_process(COMMAND pkg-config --cflags --libs tamrelresourcefile OUTPUT_VARIABLE pc_flags
                OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
if(rc OR pc_flags MATCHES "include/TamrelResourceFile")
  message(FATAL_ERROR "pkg-config gave '${pc_flags}'")
endif()
separate_arguments(pc_flags UNIX_COMMAND "${pc_flags}")
separate_arguments(cxx_flags UNIX_COMMAND "${CXX_FLAGS}")
execute_process(COMMAND ${CXX} -std=c++20 ${cxx_flags} ${SOURCE_DIR}/tests/consumer/main.cpp ${pc_flags}
                        -o ${WORK_DIR}/consumer-pc RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "building the consumer with pkg-config flags failed")
endif()
execute_process(COMMAND ${WORK_DIR}/consumer-pc ${SCRIPT} RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the consumer built with pkg-config flags failed on ${SCRIPT}")
endif()
