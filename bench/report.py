#!/usr/bin/env python3
"""Prints the table of a benchmark run (Google Benchmark's JSON output):
each figure's median CPU time (steadier than wall time on a shared
machine), its ratio to the baseline of the same run, the ratio ours/libcob
of the packed figures, and the goal beside it. Exits 1
when a benchmark reported an error (such as libcob's result differing from
ours), never because of a time.

    report.py RESULTS.json
"""
import json
import sys

# Goals, read against medians of a full run on a quiet machine.
PACKED_GOAL = 1.0  # ours/libcob at most
# The road's goals by benchmark: the time in ns it stays under.
ROAD_GOALS = {
    "RoadWarm/c_sum": 2000,
    "RoadCold/c_sum/manual_time": 50000,
    # The first 100 elements of a 1,000,000-element array, formatted.
    "TreeFirst100Of1000000": 1000000,
}


def main(path):
    with open(path) as f:
        run = json.load(f)
    medians = {}
    errors = []
    for b in run["benchmarks"]:
        name = b.get("run_name", b["name"])
        if b.get("error_occurred"):
            errors.append("%s: %s" % (name, b.get("error_message", "error")))
            continue
        # A run with repetitions reports aggregates; a single run reports
        # its one figure.
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        if b.get("run_type") == "aggregate" or name not in medians:
            # A figure timed by hand (manual time) is its real time; its CPU
            # time holds what lies outside the timed part.
            t = b["real_time"] if name.endswith("/manual_time") else b["cpu_time"]
            medians[name] = t * {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b["time_unit"]]
    baseline = medians.get("Baseline")
    print("%-36s %12s %10s %12s  %s" % ("benchmark", "median ns", "/baseline", "ours/libcob", "goal"))
    for name in sorted(medians, key=lambda n: (n != "Baseline", n)):
        t = medians[name]
        ratio = "%10.2f" % (t / baseline) if baseline else "%10s" % "-"
        versus, goal = "%12s" % "", ""
        if "/ours/" in name:
            theirs = medians.get(name.replace("/ours/", "/libcob/"))
            if theirs:
                r = t / theirs
                versus = "%12.2f" % r
                goal = "ours/libcob <= %.1f: %s" % (PACKED_GOAL, "met" if r <= PACKED_GOAL else "not met")
        if name in ROAD_GOALS:
            limit = ROAD_GOALS[name]
            goal = "under %g us: %s" % (limit / 1000, "met" if t < limit else "not met")
        print("%-36s %12.1f %s %s  %s" % (name, t, ratio, versus, goal))
    for name in ROAD_GOALS:
        if name not in medians:
            print("%-36s %12s  goal under %g us: not measured" % (name, "-", ROAD_GOALS[name] / 1000))
    for e in errors:
        print("error: " + e)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
