#!/usr/bin/env bash
# Runs an optional CI step only while there is time for it: the step starts
# only before minute NORVEXA_CI_GUARD_MINUTES (default 40) of the CI run,
# counted from NORVEXA_CI_START (seconds since the epoch; .ci/run sets it
# when it begins). A step that starts prints its duration; one that does not
# prints "skipped: time". A started step that fails fails the guard with
# the step's own status.
#   scripts/ci-guard.sh NAME COMMAND [ARGUMENTS...]
set -uo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $0 NAME COMMAND [ARGUMENTS...]" >&2
  exit 2
fi
name=$1
shift
start=${NORVEXA_CI_START:-$(date +%s)}
limit=$(( ${NORVEXA_CI_GUARD_MINUTES:-40} * 60 ))
now=$(date +%s)
if [ $(( now - start )) -ge "$limit" ]; then
  echo "$name: skipped: time"
  exit 0
fi
"$@"
status=$?
took=$(( $(date +%s) - now ))
printf '%s: %dm%02ds' "$name" $(( took / 60 )) $(( took % 60 ))
[ "$status" -eq 0 ] && echo || echo " (failed, status $status)"
exit "$status"
