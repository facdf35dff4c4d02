# Cross-build for 64-bit Windows with Debian's mingw-w64 (package
# g++-mingw-w64-x86-64-posix): the same DLLs and tests as the 32-bit build,
# run under wine's 64-bit loader (package wine64), which needs no 32-bit
# user mode. `long` is 4 bytes there, pointers 8.
#
#   cmake -S . -B build-win64 -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/x86_64-w64-mingw32.cmake
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(NORVEXA_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)

# ctest runs the test programs under wine64, started directly: Debian's
# wrapper /usr/bin/wine starts the 32-bit loader.
find_program(NORVEXA_WINE64 wine64 PATHS /usr/lib/wine /usr/lib64/wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${NORVEXA_WINE64})
