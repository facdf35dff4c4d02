#!/usr/bin/env bash
# Runs the benchmarks of a build and prints their table: each figure's
# median CPU time, its ratio to the baseline measured in the same run, the
# figures derived from several (ours/libcob of the packed figures, the member
# chains' cost per level, the host search's growth) and, where valgrind is
# installed, the instructions of a warm replay counted by callgrind; each
# beside its goal from bench/report.py's table and whether it is met.
#   scripts/bench.sh [BUILD_DIR]          full run (default build): 10
#                                         repetitions in random order, medians
#   scripts/bench.sh --smoke [BUILD_DIR]  every benchmark once with a tiny
#                                         minimum time: shows each one runs
#   scripts/bench.sh --instructions [BUILD_DIR]
#                                         only the callgrind instruction
#                                         counts of the warm replays (a
#                                         Release build gives the figures the
#                                         goals mean)
# Absolute times mean something only from a full run on a quiet machine;
# the ratios compare runs. No figure fails the script: only a benchmark
# that reports an error does.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
smoke=0
only_instructions=0
if [ "${1:-}" = "--smoke" ]; then
  smoke=1
  shift
elif [ "${1:-}" = "--instructions" ]; then
  only_instructions=1
  shift
fi
build=${1:-build}
case "$build" in /*) ;; *) build=$root/$build ;; esac
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja
fi
results=$build/bench-results.json
instructions=$build/replay-instructions.json
if [ "$only_instructions" -eq 1 ]; then
  cmake --build "$build" --target norvexa_replay_count
else
  cmake --build "$build" --target norvexa_bench norvexa_replay_count
  if [ "$smoke" -eq 1 ]; then
    options=(--benchmark_min_time=0.001)
  else
    options=(--benchmark_repetitions="${NORVEXA_BENCH_REPETITIONS:-10}" --benchmark_min_time=0.2
             --benchmark_enable_random_interleaving=true
             --benchmark_report_aggregates_only=true)
  fi
  "$build/bin/norvexa_bench" "${options[@]}" --benchmark_out="$results" --benchmark_out_format=json
fi

# Instructions of one warm replay (the evaluation and the release of its
# result) on the benchmarks' quiet host: two runs of different lengths,
# counted by callgrind, their difference over the difference of the counts
# (the setup and the first evaluations drop out).
replayInstructions() {
  local text=$1 count total previous=""
  for count in 20 120; do
    valgrind --tool=callgrind --collect-atstart=no \
      --toggle-collect=DbgEvaluateExpr --toggle-collect=DbgFreeEvalResultInfo \
      --callgrind-out-file="$build/replay.callgrind" "$build/bin/norvexa_replay_count" "$text" "$count" \
      >/dev/null 2>&1 || return 1
    total=$(sed -n 's/^totals: *\([0-9]*\).*/\1/p' "$build/replay.callgrind")
    [ -n "$total" ] || total=$(sed -n 's/^summary: *\([0-9]*\).*/\1/p' "$build/replay.callgrind")
    if [ -n "$previous" ]; then
      echo $(( (total - previous) / 100 ))
    fi
    previous=$total
  done
}
measureInstructions() {
  {
    echo "{"
    first=1
    for text in "1 + 2" "a + b" "s.arr[i] * 2 + p->x"; do
      if n=$(replayInstructions "$text"); then
        [ "$first" -eq 1 ] || echo ","
        printf '  "%s": %s' "$text" "$n"
        first=0
      fi
    done
    echo
    echo "}"
  } >"$instructions"
}
if [ "$only_instructions" -eq 1 ]; then
  command -v valgrind >/dev/null || { echo "the instruction counts need valgrind" >&2; exit 1; }
  measureInstructions
  python3 "$root/bench/report.py" --instructions "$instructions"
  exit 0
fi
args=("$results")
if command -v valgrind >/dev/null && [ "$smoke" -eq 0 ]; then
  measureInstructions
  args+=("$instructions")
fi
echo
python3 "$root/bench/report.py" "${args[@]}"
