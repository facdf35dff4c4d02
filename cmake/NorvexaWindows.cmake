# What the Windows cross-build adds: the compiler's run-time DLLs beside the
# programs, and GoogleTest built from Debian's sources by the cross compiler.

# libstdc++ and libgcc stay shared: exceptions cross the boundary of
# plomkit.dll, which static copies per DLL could not unwind. The DLLs are
# copied beside the tests and libraries so that wine finds them. libgcc's
# DLL is named after its way of unwinding: DWARF on 32-bit Windows, SEH on
# 64-bit.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(NORVEXA_LIBGCC_DLL libgcc_s_seh-1.dll)
else()
  set(NORVEXA_LIBGCC_DLL libgcc_s_dw2-1.dll)
endif()
foreach(runtime libstdc++-6.dll ${NORVEXA_LIBGCC_DLL} libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                  OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT EXISTS "${runtime_path}")
    message(FATAL_ERROR "The cross compiler's ${runtime} was not found")
  endif()
  file(COPY ${runtime_path} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
endforeach()

set(NORVEXA_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources (Debian package googletest)")
if(NOT EXISTS ${NORVEXA_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "The Windows tests need GoogleTest's sources (Debian package googletest)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${NORVEXA_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(library gtest gtest_main gmock gmock_main)
  # GoogleTest's own code is not ours to warn about.
  target_compile_options(${library} PRIVATE -w)
  if(NOT TARGET GTest::${library})
    add_library(GTest::${library} ALIAS ${library})
  endif()
endforeach()

# The plug-in DLL keeps only what its export reaches (--gc-sections).
add_compile_options(-ffunction-sections -fdata-sections)
