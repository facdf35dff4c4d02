#!/usr/bin/env bash
# The CI time guard: a step past the limit does not run and prints
# "skipped: time"; a step in time runs, prints its duration, and passes on
# its exit status.
#   CheckCiGuard.sh GUARD
set -uo pipefail
guard=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

late=$(( $(date +%s) - 40 * 60 ))
out=$(NORVEXA_CI_START=$late "$guard" late touch "$work/ran") || fail "a skipped step failed the guard"
[ "$out" = "late: skipped: time" ] || fail "late step printed '$out'"
[ ! -e "$work/ran" ] || fail "a step past the limit ran"

out=$(NORVEXA_CI_START=$late NORVEXA_CI_GUARD_MINUTES=41 "$guard" early touch "$work/ran") \
  || fail "a step in time failed"
[ -e "$work/ran" ] || fail "a step in time did not run"
[[ "$out" =~ ^early:\ [0-9]+m[0-9][0-9]s$ ]] || fail "in-time step printed '$out'"

NORVEXA_CI_START=$(date +%s) "$guard" failing sh -c 'exit 7' > "$work/out"
status=$?
[ "$status" -eq 7 ] || fail "a failing step gave status $status"
grep -q "^failing: [0-9]*m[0-9][0-9]s (failed, status 7)$" "$work/out" || fail "failing step printed '$(cat "$work/out")'"
echo "ok"
