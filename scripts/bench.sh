#!/usr/bin/env bash
# Runs the benchmarks of a build and prints their table: each figure's
# median CPU time, its ratio to the baseline measured in the same run, the ratio
# ours/libcob of the packed figures, and the goals beside them.
#   scripts/bench.sh [BUILD_DIR]          full run (default build): 10
#                                         repetitions in random order, medians
#   scripts/bench.sh --smoke [BUILD_DIR]  every benchmark once with a tiny
#                                         minimum time: shows each one runs
# Absolute times mean something only from a full run on a quiet machine;
# the ratios compare runs. No figure fails the script: only a benchmark
# that reports an error does.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
smoke=0
if [ "${1:-}" = "--smoke" ]; then
  smoke=1
  shift
fi
build=${1:-build}
case "$build" in /*) ;; *) build=$root/$build ;; esac
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja
fi
cmake --build "$build" --target norvexa_bench
results=$build/bench-results.json
if [ "$smoke" -eq 1 ]; then
  options=(--benchmark_min_time=0.001)
else
  options=(--benchmark_repetitions="${NORVEXA_BENCH_REPETITIONS:-10}" --benchmark_min_time=0.2
           --benchmark_enable_random_interleaving=true
           --benchmark_report_aggregates_only=true)
fi
"$build/bin/norvexa_bench" "${options[@]}" --benchmark_out="$results" --benchmark_out_format=json
echo
python3 "$root/bench/report.py" "$results"
