# Cross-build for 32-bit Windows with Debian's mingw-w64. The tests run under
# wine (its 32-bit loader).
#
#   cmake -S . -B build-win -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(NORVEXA_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)

# ctest runs the test programs under wine.
find_program(NORVEXA_WINE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${NORVEXA_WINE})

# float and double arithmetic in SSE2, each result rounded to its own format
# as the debuggee's compilers compute it; on the x87 (the default here) a
# double result kept at 64-bit precision is rounded twice, or not at all
# before a conversion to an integer. long double stays on the x87.
string(APPEND CMAKE_C_FLAGS_INIT " -msse2 -mfpmath=sse")
string(APPEND CMAKE_CXX_FLAGS_INIT " -msse2 -mfpmath=sse")
