#!/usr/bin/env bash
# The Windows build: installs what it needs (the 32-bit mingw-w64 cross
# compiler, wine with its 32-bit part, GCC's sources for decNumber), builds
# the DLLs and the tests for 32-bit Windows, and runs the tests under wine.
#   scripts/windows.sh [BUILD_DIR] [extra CMake arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build-windows}
shift || true

# wine's 32-bit part comes from the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO dpkg --add-architecture i386
  $SUDO apt-get update
fi
"$root/scripts/setup-debian.sh" g++-mingw-w64-i686-posix wine wine32:i386 gcc-12-source googletest \
  cmake ninja-build

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-w64-mingw32.cmake" "$@"
cmake --build "$build" -j "${NORVEXA_JOBS:-$(nproc)}"

# wine runs the tests as 32-bit programs. A machine whose kernel or
# hypervisor has no 32-bit user mode refuses every one of them ("Exec format
# error"); there only what runs no Windows program is checked: the build,
# the DLLs' export and import tables and the 32-bit layout check.
if ! wine_answer=$(wine --version 2>&1); then
  echo "windows: the tests under wine skipped: this machine runs no 32-bit programs (wine: ${wine_answer##*: })"
  exec ctest --test-dir "$build" --output-on-failure -R '^(structure[.]|testhost[.]HostRecordLayout32$)'
fi

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
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init
  wineserver -w
fi
wineserver --persistent
wineboot
status=0
ctest --test-dir "$build" --output-on-failure -j "${NORVEXA_JOBS:-$(nproc)}" || status=$?
# The tests are over: the server and the services end.
wineserver -k || true
wineserver -w || true
exit $status
