# One GoogleTest executable per test folder; every test in it carries the
# folder's name as its CTest label, so `ctest -L NAME` runs one area alone.
if(NOT WIN32)
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

function(norvexa_test_folder label)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${label}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(test_${label} ${sources})
  target_link_libraries(test_${label} PRIVATE ${ARGN} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(test_${label} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  # The test programs themselves need no optimisation (the evaluator they
  # drive is built as configured); unoptimised they compile in far less time.
  target_compile_options(test_${label} PRIVATE -O0)
  if(CMAKE_CROSSCOMPILING)
    # Under an emulator each start of a program is costly: the whole program
    # is one test.
    add_test(NAME ${label}.all COMMAND test_${label})
    set_tests_properties(${label}.all PROPERTIES LABELS ${label}
      ENVIRONMENT "NORVEXA_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}/${label}/data")
    return()
  endif()
  # clang 14's LeakSanitizer stops with a fault of its own when it scans the
  # dynamic thread-local blocks the compiler tests leave behind (a block of a
  # library loaded and unloaded by name): those programs scan no thread-local
  # storage, which can only make it report more, never less.
  set(lsan_tls "LSAN_OPTIONS=reset:")
  if(label STREQUAL "compiler" AND NORVEXA_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    set(lsan_tls "LSAN_OPTIONS=set:use_tls=0")
  endif()
  gtest_discover_tests(test_${label}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS ${label} ENVIRONMENT "NORVEXA_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR}/${label}/data"
               ENVIRONMENT_MODIFICATION "${lsan_tls}")
endfunction()
