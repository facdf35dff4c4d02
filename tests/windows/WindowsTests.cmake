# The Windows build's own checks: what the DLLs export and import, and the
# plug-in loaded by a host.
find_program(NORVEXA_NM NAMES ${CMAKE_NM} ${NORVEXA_MINGW_TRIPLET}-nm REQUIRED)
set(check_dll ${CMAKE_CURRENT_SOURCE_DIR}/windows/CheckDll.cmake)
# 32-bit Windows names C symbols with a leading underscore, 64-bit does not.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(symbol_prefix "")
else()
  set(symbol_prefix "_")
endif()

add_test(NAME structure.VosdecnExportsItsEntryAlone
  COMMAND ${CMAKE_COMMAND} -DDLL=$<TARGET_FILE:vosdecn> -DOBJDUMP=${CMAKE_OBJDUMP}
          -DEXPORTS=tarnelxEntry -P ${check_dll})
# Exceptions cross the utility library's boundary: the C++ runtime is one
# shared copy, not one per DLL.
add_test(NAME structure.PlomkitSharesTheRuntime
  COMMAND ${CMAKE_COMMAND} -DDLL=$<TARGET_FILE:plomkit> -DOBJDUMP=${CMAKE_OBJDUMP}
          "-DIMPORTS=libstdc++-6.dll|${NORVEXA_LIBGCC_DLL}" -P ${check_dll})
set_tests_properties(structure.VosdecnExportsItsEntryAlone structure.PlomkitSharesTheRuntime
  PROPERTIES LABELS structure)

add_test(NAME structure.NorvexaDllExportsMainAlone
  COMMAND ${CMAKE_COMMAND} -DDLL=$<TARGET_FILE:norvexa> -DOBJDUMP=${CMAKE_OBJDUMP}
          -DNM=${NORVEXA_NM} -DEXPORTS=main -DIMPORTS=plomkit.dll -DNOT_IMPORTS=vosdecn.dll
          -DABSENT_LIST=${CMAKE_CURRENT_SOURCE_DIR}/windows/data/by_name_only.txt
          -DABSENT_EXCEPT=DbgFreeEvalResultInfo "-DSYMBOL_PREFIX=${symbol_prefix}" -P ${check_dll})
set_tests_properties(structure.NorvexaDllExportsMainAlone PROPERTIES LABELS structure)

# mingw-w64 frees a thread's thread-local variables before the C++ run-time
# destroys them, so neither DLL may leave a thread-local object with a
# destructor to the run-time (plomkit/ThreadOwned.h keeps such objects).
foreach(dll norvexa plomkit)
  add_test(NAME structure.NoThreadLocalDestructorsIn.${dll}
    COMMAND ${CMAKE_COMMAND} -DDLL=$<TARGET_FILE:${dll}> -DOBJDUMP=${CMAKE_OBJDUMP}
            -DNOT_IMPORTED_NAMES=__cxa_thread_atexit -P ${check_dll})
  set_tests_properties(structure.NoThreadLocalDestructorsIn.${dll} PROPERTIES LABELS structure)
endforeach()

# norvexa.dll loaded as a Windows host loads it: this program links the
# simulated host only, the evaluator is the DLL beside it.
file(GLOB windows_plugin_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/windows/*.cpp)
add_executable(test_windows_plugin ${windows_plugin_sources})
target_link_libraries(test_windows_plugin PRIVATE testhost GTest::gtest GTest::gtest_main)
target_include_directories(test_windows_plugin PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_options(test_windows_plugin PRIVATE -O0)
add_dependencies(test_windows_plugin norvexa vosdecn)
add_test(NAME api.windows_plugin COMMAND test_windows_plugin)
set_tests_properties(api.windows_plugin PROPERTIES LABELS api)


# Every test of a Windows build runs under wine, one program a test: a
# program that never ends must fail its test in bounded time rather than hold
# the run. A test without a limit of its own gets this one, some forty times
# what the slowest program (the compiler's tests, 7 s) takes under wine64 on
# a loaded machine.
set(NORVEXA_WINDOWS_TEST_TIMEOUT 300 CACHE STRING "Seconds a Windows test may run")
get_property(windows_build_tests DIRECTORY PROPERTY TESTS)
foreach(test IN LISTS windows_build_tests)
  get_test_property(${test} TIMEOUT limit)
  if(NOT limit)
    set_tests_properties(${test} PROPERTIES TIMEOUT ${NORVEXA_WINDOWS_TEST_TIMEOUT})
  endif()
endforeach()
