# The hooks of .pre-commit-hooks.yaml as a project uses them, offline: a scratch hook repository
# holding the file, a scratch project whose .pre-commit-config.yaml names both hooks, and
# `pre-commit run --all-files` with the built tamrel-rc on PATH, which passes on a clean script
# and fails on a clipped one. Called by CTest with SOURCE_DIR, WORK_DIR, TOOL_DIR, PRE_COMMIT
# and GIT.
file(REMOVE_RECURSE ${WORK_DIR})
set(hooks ${WORK_DIR}/hooks)
set(project ${WORK_DIR}/project)
file(MAKE_DIRECTORY ${hooks} ${project})
set(ENV{PRE_COMMIT_HOME} ${WORK_DIR}/cache)
set(ENV{PATH} "${TOOL_DIR}:$ENV{PATH}")
set(ENV{GIT_CONFIG_NOSYSTEM} 1)
set(ENV{HOME} ${WORK_DIR})
set(git ${GIT} -c user.name=test -c user.email=test@localhost -c init.defaultBranch=main -c commit.gpgsign=false)

function(run folder)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${folder} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  set(rc ${rc} PARENT_SCOPE)
  set(out "${out}" PARENT_SCOPE)
endfunction()

file(COPY ${SOURCE_DIR}/.pre-commit-hooks.yaml DESTINATION ${hooks})
run(${hooks} ${git} init -q)
run(${hooks} ${git} add .pre-commit-hooks.yaml)
run(${hooks} ${git} commit -q -m hooks)
run(${hooks} ${git} rev-parse HEAD)
string(STRIP "${out}" revision)
if(rc)
  message(FATAL_ERROR "the hook repository could not be made: ${out}")
endif()

file(WRITE ${project}/.pre-commit-config.yaml "repos:
  - repo: ${hooks}
    rev: ${revision}
    hooks:
      - id: tamrel-rc-load
      - id: tamrel-rc-check
")
file(COPY ${SOURCE_DIR}/examples/sample.rc DESTINATION ${project})
run(${project} ${git} init -q)
run(${project} ${git} add .)
run(${project} ${PRE_COMMIT} run --all-files)
message("clean:\n${out}")
if(NOT rc EQUAL 0 OR NOT out MATCHES "tamrel-rc check[^\n]*Passed")
  message(FATAL_ERROR "pre-commit failed on the clean script (${rc})")
endif()

file(COPY ${SOURCE_DIR}/tests/data/layout/overflow.rc DESTINATION ${project})
run(${project} ${git} add overflow.rc)
run(${project} ${PRE_COMMIT} run --all-files)
message("clipped:\n${out}")
if(rc EQUAL 0 OR NOT out MATCHES "tamrel-rc check[^\n]*Failed" OR NOT out MATCHES "overflow.rc:[0-9]+: warning: IDD_SEEDED")
  message(FATAL_ERROR "pre-commit did not fail on the clipped script (${rc})")
endif()
