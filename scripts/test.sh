#!/usr/bin/env bash
# Set up the machine, build, and run every test.
#   scripts/test.sh [BUILD_DIR] [extra CMake arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
shift || true
"$root/scripts/setup-debian.sh"
cmake -S "$root" -B "$build" -G Ninja "$@"
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
