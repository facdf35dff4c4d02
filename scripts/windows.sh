#!/usr/bin/env bash
# The Windows builds. Without --x86-64: the deliverable, the DLLs for 32-bit
# Windows, built and checked statically (export and import tables, symbols,
# the 32-bit layout check), and its tests run under wine where this machine
# runs 32-bit programs. With --x86-64: the same sources and tests built for
# 64-bit Windows and every test run under wine64, which needs no 32-bit user
# mode. Installs what it needs (the mingw-w64 cross compiler, wine, GCC's
# sources for decNumber, GoogleTest's sources).
#   scripts/windows.sh [--x86-64] [BUILD_DIR] [extra CMake arguments...]
# BUILD_DIR defaults to build-windows (build-windows-x86-64 with --x86-64).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
arch=i686
if [ "${1:-}" = "--x86-64" ]; then
  arch=x86_64
  shift
fi
if [ $arch = x86_64 ]; then
  build=${1:-build-windows-x86-64}
else
  build=${1:-build-windows}
fi
shift || true
jobs=${NORVEXA_JOBS:-$(nproc)}

if [ $arch = x86_64 ]; then
  # Debian's wine64 holds the 64-bit loader alone: /usr/lib/wine/wine64,
  # started directly (the wrapper /usr/bin/wine starts the 32-bit one).
  "$root/scripts/setup-debian.sh" g++-mingw-w64-x86-64-posix wine64 gcc-12-source googletest \
    cmake ninja-build
  wine=/usr/lib/wine/wine64
  wineserver=/usr/lib/wine/wineserver
else
  # wine's 32-bit part comes from the i386 architecture.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO dpkg --add-architecture i386
    $SUDO apt-get update
  fi
  "$root/scripts/setup-debian.sh" g++-mingw-w64-i686-posix wine wine32:i386 gcc-12-source googletest \
    cmake ninja-build
  wine=wine
  wineserver=wineserver
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$arch-w64-mingw32.cmake" "$@"
cmake --build "$build" -j "$jobs"

# The 32-bit tests run as 32-bit programs. A machine whose kernel or
# hypervisor has no 32-bit user mode refuses every one of them ("Exec format
# error"); there only what runs no Windows program is checked: the build,
# the DLLs' export and import tables and the 32-bit layout check.
if [ $arch = i686 ] && ! wine_answer=$(wine --version 2>&1); then
  echo "windows i686: built and checked statically; its tests under wine skipped: this machine runs" \
       "no 32-bit programs (wine: ${wine_answer##*: }); scripts/windows.sh --x86-64 runs them built" \
       "for 64-bit Windows under wine64"
  exec ctest --test-dir "$build" --output-on-failure -R '^(structure[.]|testhost[.]HostRecordLayout32$)'
fi
echo "windows $arch: every test under $wine"

# wine keeps its prefix in the build folder; no debugging noise, no .NET or
# browser engine offered on the prefix's first start.
export WINEPREFIX
WINEPREFIX=$(cd "$build" && pwd)/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# The prefix is made once, and then one server and the prefix's services
# are started, before the tests start wine in parallel: first starts on a
# prefix not made yet race to make it (the losers fail), and services
# started by a test's process would keep its output open after it ended.
# A server left on this prefix by an earlier run that did not end (a run
# killed midway) ends first: a second persistent one would be refused.
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w 2>/dev/null || true
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot --init
  "$wineserver" -w
fi
"$wineserver" --persistent
"$wine" wineboot
status=0
ctest --test-dir "$build" --output-on-failure -j "$jobs" || status=$?
# The tests are over: the server and the services end.
"$wineserver" -k || true
"$wineserver" -w || true
exit $status
