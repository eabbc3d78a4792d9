# Runs at build time: writes tamrel-rc(1) with help2man from `TOOL --help`, with a COMMANDS
# section of each command's own --help, then compresses it as OUTPUT.gz. Set by the caller:
# TOOL, HELP2MAN, OUTPUT.
execute_process(COMMAND ${TOOL} --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "${TOOL} --help failed")
endif()
# The commands are the lines of the help's block of subcommands: "  name   description".
string(REGEX MATCH "(Subcommands|SUBCOMMANDS):(\n.*)" block "${help}")
string(REGEX MATCHALL "\n  [a-z]+" names "${CMAKE_MATCH_2}")
if(NOT names)
  message(FATAL_ERROR "no commands in the output of ${TOOL} --help")
endif()
set(section "[COMMANDS]\n")
foreach(name IN LISTS names)
  string(STRIP "${name}" name)
  execute_process(COMMAND ${TOOL} ${name} --help OUTPUT_VARIABLE text RESULT_VARIABLE rc)
  if(rc)
    message(FATAL_ERROR "${TOOL} ${name} --help failed")
  endif()
  # The program as it is called, not where it was built.
  string(REPLACE "${TOOL}" "tamrel-rc" text "${text}")
  # The characters roff would read as requests or escapes made plain.
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  # The description as a filled paragraph, the usage and options as they are printed.
  string(FIND "${text}" "Usage:" usage)
  string(SUBSTRING "${text}" 0 ${usage} description)
  string(SUBSTRING "${text}" ${usage} -1 options)
  string(APPEND section ".SS ${name}\n${description}.PP\n.nf\n${options}.fi\n")
endforeach()
get_filename_component(folder ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
file(WRITE ${OUTPUT}.commands "${section}")
execute_process(COMMAND ${HELP2MAN} --no-info --no-discard-stderr
                        "--name=read, regenerate, count, translate and check Windows resource scripts"
                        --include=${OUTPUT}.commands --output=${OUTPUT} ${TOOL}
                RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "help2man failed")
endif()
# gzip -n: no name or time stamp inside, so the same page gives the same bytes.
execute_process(COMMAND gzip -9nf ${OUTPUT} RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "gzip failed")
endif()
