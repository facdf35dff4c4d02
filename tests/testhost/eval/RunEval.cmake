# Runs norvexa-eval and checks its exit status and what it wrote.
#   EXE      the program
#   ARGS     its arguments (a list)
#   RC       the exit status expected
#   EXPECT   regular expressions the output (stdout and stderr) must match
#   FORBID   regular expressions it must not match
#   STDOUT   regular expressions stdout alone must match
execute_process(COMMAND ${EXE} ${ARGS}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(all "${out}${err}")
if(NOT rc STREQUAL RC)
  message(FATAL_ERROR "exit status ${rc}, expected ${RC}\n--- stdout\n${out}--- stderr\n${err}")
endif()
foreach(re IN LISTS EXPECT)
  if(NOT all MATCHES "${re}")
    message(FATAL_ERROR "output does not match \"${re}\"\n--- stdout\n${out}--- stderr\n${err}")
  endif()
endforeach()
foreach(re IN LISTS STDOUT)
  if(NOT out MATCHES "${re}")
    message(FATAL_ERROR "stdout does not match \"${re}\"\n--- stdout\n${out}--- stderr\n${err}")
  endif()
endforeach()
foreach(re IN LISTS FORBID)
  if(all MATCHES "${re}")
    message(FATAL_ERROR "output matches \"${re}\"\n--- stdout\n${out}--- stderr\n${err}")
  endif()
endforeach()
message(STATUS "${out}${err}")
