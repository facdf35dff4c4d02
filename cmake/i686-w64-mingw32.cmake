# Cross-build for 32-bit Windows with Debian's mingw-w64 (the POSIX-threads
# flavour: the win32-threads one has no std::mutex). The tests run under wine.
#
#   cmake -S . -B build-win -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(NORVEXA_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_C_COMPILER ${NORVEXA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NORVEXA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${NORVEXA_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${NORVEXA_MINGW_TRIPLET}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${NORVEXA_MINGW_TRIPLET}-gcc-ranlib-posix CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${NORVEXA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# msvcrt's printf and scanf know no 80-bit long double (%Lf, %LE): take
# mingw's own.
add_compile_definitions(__USE_MINGW_ANSI_STDIO=1)

# ctest runs the test programs under wine.
find_program(NORVEXA_WINE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${NORVEXA_WINE})
