#!/usr/bin/env bash
# The thread soak built with ThreadSanitizer: libnorvexa.so, the libraries
# it loads and the soak program (tests/soak) into build-tsan/, then
#   1. one thread alone, in a process of its own: its records' digest;
#   2. THREADS worker threads and the other callers at once in a fresh
#      process, ROUNDS rounds each, at most SECONDS seconds: every record
#      equal to the one-thread run's, the digest equal to step 1's, and no
#      report from ThreadSanitizer (the first one fails the run).
#   scripts/soak.sh [BUILD_DIR]   (default build-tsan)
#   environment: SOAK_THREADS (8), SOAK_ROUNDS (50), SOAK_SECONDS (600)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build-tsan}
jobs=${NORVEXA_JOBS:-$(nproc)}
threads=${SOAK_THREADS:-8}
# A soak given its time runs for that time: its rounds are unbounded (0)
# unless SOAK_ROUNDS bounds them.
if [ -n "${SOAK_SECONDS:-}" ]; then
  rounds=${SOAK_ROUNDS:-0}
else
  rounds=${SOAK_ROUNDS:-50}
fi
seconds=${SOAK_SECONDS:-600}
cmake -S "$root" -B "$build" -G Ninja -DNORVEXA_TSAN=ON -DCMAKE_BUILD_TYPE=Debug
cmake --build "$build" -j "$jobs" --target norvexa_soak
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}"
soak="$build/bin/norvexa_soak"
# A hang is a failure too: the run is stopped a minute after its bound.
limit=$((seconds + 60))
alone=$(timeout "$limit" "$soak" --threads 1 --rounds 1 --seconds "$seconds")
echo "$alone"
digest=$(sed -n 's/^digest //p' <<<"$alone")
timeout "$limit" "$soak" --threads "$threads" --rounds "$rounds" --seconds "$seconds" --expect "$digest"
echo "soak: clean"
