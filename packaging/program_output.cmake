# cmake -DPROGRAM=P -DARG1=A [-DARG2=B] -DOUTPUT=FILE -P program_output.cmake: runs P with
# its arguments and writes what it prints to FILE; a failing program fails the build.
set(command ${PROGRAM} ${ARG1})
if(DEFINED ARG2)
  list(APPEND command ${ARG2})
endif()
execute_process(COMMAND ${command} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "${command} failed: ${rc}")
endif()
