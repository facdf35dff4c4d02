# What both Windows cross-builds share (Debian's mingw-w64, the POSIX-threads
# flavour: the win32-threads one has no std::mutex). The toolchain file of
# each sets NORVEXA_MINGW_TRIPLET and CMAKE_SYSTEM_PROCESSOR, includes this
# file, and names the wine loader that runs its tests.
set(CMAKE_SYSTEM_NAME Windows)

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
