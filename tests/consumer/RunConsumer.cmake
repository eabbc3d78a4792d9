# Installs the built project into a scratch prefix, builds the programs of tests/consumer (one
# for each component) against it twice (as a CMake package, and by hand with the flags
# pkg-config gives, which put only PREFIX/include on the include path), and runs them. The
# README's library example must be main.cpp. Called by CTest with BUILD_DIR, SOURCE_DIR, WORK_DIR, CXX, CXX_FLAGS and SCRIPT.
cmake_policy(VERSION 3.25)
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
  message(FATAL_ERROR "building the consumers failed")
endif()

# Runs the consumers built in FOLDER with name SUFFIX: the core program on the script and on a
# missing one, the translation program (extract, translate every unit, merge) and the layout
# program (the fit check: the sample is clean, the seeded script is not).
function(run_consumers folder suffix)
  execute_process(COMMAND ${folder}/consumer${suffix} ${SCRIPT} RESULT_VARIABLE rc OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "consumer${suffix} failed on ${SCRIPT}")
  endif()
  execute_process(COMMAND ${folder}/consumer${suffix} ${WORK_DIR}/missing.rc RESULT_VARIABLE rc ERROR_QUIET)
  if(NOT rc EQUAL 1)
    message(FATAL_ERROR "consumer${suffix} did not report a missing script")
  endif()
  execute_process(COMMAND ${folder}/consumer-translation${suffix} ${SCRIPT} ${WORK_DIR}/sample${suffix}.po
                  RESULT_VARIABLE rc OUTPUT_VARIABLE merged ERROR_VARIABLE counts)
  if(NOT rc EQUAL 0 OR NOT merged MATCHES "CAPTION \"\\[About Notepad\\]\"")
    message(FATAL_ERROR "consumer-translation${suffix} failed (${rc}): ${counts}")
  endif()
  message("consumer-translation${suffix}: ${counts}")
  execute_process(COMMAND ${folder}/consumer-layout${suffix} ${SCRIPT} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "consumer-layout${suffix} failed on ${SCRIPT} (${rc}): ${out}")
  endif()
  execute_process(COMMAND ${folder}/consumer-layout${suffix} ${SOURCE_DIR}/tests/data/layout/overflow.rc
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  if(NOT rc EQUAL 3 OR NOT out MATCHES "IDD_SEEDED/IDCANCEL")
    message(FATAL_ERROR "consumer-layout${suffix} missed the seeded overflow (${rc}): ${out}")
  endif()
endfunction()
run_consumers(${WORK_DIR}/build "")

# The same programs through pkg-config. The component libraries are static, so their private
# dependencies come with --static; the core library has none.
set(programs main consumer tamrelresourcefile "" translation consumer-translation tamrelresourcefile-translation
             --static layout consumer-layout tamrelresourcefile-layout --static)
file(GLOB_RECURSE pc_file ${WORK_DIR}/prefix/*/tamrelresourcefile.pc)
if(NOT pc_file)
  message(FATAL_ERROR "tamrelresourcefile.pc was not installed")
endif()
get_filename_component(pc_dir ${pc_file} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pc_dir})
separate_arguments(cxx_flags UNIX_COMMAND "${CXX_FLAGS}")
file(MAKE_DIRECTORY ${WORK_DIR}/pc)
while(programs)
  list(POP_FRONT programs source program module static)
  execute_process(COMMAND pkg-config ${static} --cflags --libs ${module} OUTPUT_VARIABLE pc_flags
                  OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
  if(rc OR pc_flags MATCHES "include/TamrelResourceFile")
    message(FATAL_ERROR "pkg-config ${module} gave '${pc_flags}'")
  endif()
  separate_arguments(pc_flags UNIX_COMMAND "${pc_flags}")
  execute_process(COMMAND ${CXX} -std=c++20 ${cxx_flags} ${SOURCE_DIR}/tests/consumer/${source}.cpp ${pc_flags}
                          -o ${WORK_DIR}/pc/${program}-pc RESULT_VARIABLE rc)
  if(rc)
    message(FATAL_ERROR "building ${program} with the flags of pkg-config ${module} failed")
  endif()
endwhile()
run_consumers(${WORK_DIR}/pc -pc)
