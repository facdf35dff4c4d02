# Configures and builds the fixture tree with one case; passes when the
# build's outcome is the one expected (EXPECT pass, or the text the failing
# build must report). Run with cmake -P and SOURCE_DIR (the project),
# FIXTURE, WORK, CASE, EXPECT, GENERATOR.
cmake_minimum_required(VERSION 3.25)
set(build ${WORK}/${CASE})
file(REMOVE_RECURSE ${build})
execute_process(COMMAND ${CMAKE_COMMAND} -S ${FIXTURE} -B ${build} -G ${GENERATOR}
                        -DNORVEXA_SOURCE_DIR=${SOURCE_DIR} -DCASE=${CASE}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configuring the fixture failed:\n${out}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${build}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(EXPECT STREQUAL "pass")
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the build failed:\n${out}")
  endif()
else()
  if(rc EQUAL 0)
    message(FATAL_ERROR "the build passed; it should have failed with \"${EXPECT}\"")
  endif()
  string(FIND "${out}" "${EXPECT}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the build failed without \"${EXPECT}\":\n${out}")
  endif()
endif()
file(REMOVE_RECURSE ${build})
