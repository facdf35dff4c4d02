# libnorvexa.so carries none of the hooks only tests use: nothing of the
# test seam library.
# Run with cmake -P and LIBRARY, NM.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${NM} -C ${LIBRARY} OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REPLACE "\n" ";" symbols "${symbols}")
set(faults "")
foreach(line IN LISTS symbols)
  if(line MATCHES "SVCTestSeam|EE_setCurrentLanguage")
    string(APPEND faults "  ${line}\n")
  endif()
endforeach()
if(faults)
  message(FATAL_ERROR "${LIBRARY} carries test hooks:\n${faults}")
endif()
