#!/usr/bin/env bash
# The ThreadSanitizer check: builds the evaluator and the tests of the host
# services, of the type model and of the simulated host with
# ThreadSanitizer, and runs them.
#   scripts/tsan.sh [BUILD_DIR]   (default build-tsan)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build-tsan}
jobs=${NORVEXA_JOBS:-$(nproc)}
cmake -S "$root" -B "$build" -G Ninja -DNORVEXA_TSAN=ON -DCMAKE_BUILD_TYPE=Debug
cmake --build "$build" -j "$jobs" --target test_services test_types test_testhost test_testhost_hostonly
# halt_on_error: the first race fails the test that shows it. The runs of
# the example host (testhost.eval.*) need the whole library and are left to
# the other builds.
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}" \
  ctest --test-dir "$build" -L '^(services|types|testhost)$' -E '^testhost\.eval\.' --output-on-failure -j "$jobs"
