#!/usr/bin/env bash
# Runs one fuzz target with libFuzzer in clang's sanitizer build.
#   scripts/fuzz.sh TARGET [RUNS]   RUNS executions (default 10,000,000)
#   scripts/fuzz.sh --list          the targets, one a line
# NORVEXA_FUZZ_SECONDS limits the run to that many seconds instead (CI: 60);
# NORVEXA_FUZZ_BUILD names the build folder (default build-sanitize; it is
# configured with clang, -DNORVEXA_SANITIZE=ON, when it does not exist).
# The run starts from the seed corpus fuzz/corpus/TARGET with the target's
# dictionary; inputs it finds new go to BUILD/fuzz/corpus/TARGET, never into
# the sources. A finding stops the run with a failure and leaves its input in
# BUILD/fuzz/findings/TARGET/: mend the fault where it lives and keep the
# input as fuzz/regressions/TARGET/<the fault>, which the normal suite
# replays.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# The targets are the folders of the seed corpus.
targets=($(cd "$root/fuzz/corpus" && ls -d */ | tr -d /))
if [ "${1:-}" = "--list" ]; then
  printf '%s\n' "${targets[@]}"
  exit 0
fi
if [ $# -lt 1 ] || [[ ! " ${targets[*]} " == *" $1 "* ]]; then
  echo "usage: $0 TARGET [RUNS] | --list   (targets: ${targets[*]})" >&2
  exit 2
fi
target=$1
runs=${2:-10000000}
build=${NORVEXA_FUZZ_BUILD:-build-sanitize}
case "$build" in /*) ;; *) build=$root/$build ;; esac
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DNORVEXA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
fi
cmake --build "$build" --target "fuzz_$target"

case "$target" in
  c-parse) dict=$root/fuzz/dict/c.dict ;;
  cobol-parse) dict=$root/fuzz/dict/cobol.dict ;;
  *) dict= ;;
esac
work=$build/fuzz/corpus/$target
findings=$build/fuzz/findings/$target
mkdir -p "$work" "$findings"
options=(-timeout=10 -rss_limit_mb=2048 -max_len=4096 -print_final_stats=1
         "-artifact_prefix=$findings/")
[ -n "$dict" ] && options+=("-dict=$dict")
if [ -n "${NORVEXA_FUZZ_SECONDS:-}" ]; then
  options+=("-max_total_time=$NORVEXA_FUZZ_SECONDS")
else
  options+=("-runs=$runs")
fi
if [ -n "${NORVEXA_FUZZ_SECONDS:-}" ]; then echo "fuzzing $target for $NORVEXA_FUZZ_SECONDS s"; else echo "fuzzing $target for $runs runs"; fi
"$build/bin/fuzz_$target" "${options[@]}" "$work" "$root/fuzz/corpus/$target"
