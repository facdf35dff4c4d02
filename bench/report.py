#!/usr/bin/env python3
"""Prints the table of a benchmark run (Google Benchmark's JSON output):
each figure's median CPU time (steadier than wall time on a shared
machine), its ratio to the baseline of the same run, and beside it the goal
it has in GOALS and whether the figure meets it; then the figures derived
from several benchmarks (ratios ours/libcob, cost per level, growth) and the
instructions of warm replays counted by callgrind, each beside its goal.
Exits 1 when a benchmark reported an error (such as libcob's result
differing from ours), never because of a figure.

    report.py RESULTS.json [INSTRUCTIONS.json]
    report.py --instructions INSTRUCTIONS.json   the instruction rows alone
"""
import json
import re
import sys

# The goals, one table. Each row: what the goal is read from, how, and the
# limit the figure must not pass. Kinds:
#   time      a benchmark's median, in ns, under the limit
#   libcob    every "/ours/" benchmark matching the pattern, divided by its
#             "/libcob/" twin, at most the limit
#   perlevel  the benchmark's median divided by its argument (the levels),
#             at every argument at most limit times that at the smallest
#   perelement  the same, the argument counting elements
#   growth    the median at the largest argument at most limit times that
#             at the smallest
#   instructions  callgrind's instructions of one warm replay of the
#             expression, at most the limit
GOALS = [
    ("time", "RoadWarm/c_sum", 2000),
    ("time", "RoadCold/c_sum/manual_time", 50000),
    # The first 100 elements of a 1,000,000-element array, formatted.
    ("time", "TreeFirst100Of1000000", 1000000),
    ("libcob", r"^Packed\w+/ours/", 0.5),
    ("perlevel", "MemberChainCold", 1.5),
    ("perlevel", "MemberChainWarm", 1.5),
    # Expanding an array of n elements: each element costs the same at
    # 100,000 as at 1,000.
    ("perelement", "TreeExpand", 1.5),
    ("time", "PointerDeclarators/1000/manual_time", 50e6),
    ("growth", "HostSymbolSearch", 1.5),
    ("instructions", "1 + 2", None),
    ("instructions", "a + b", 4000),
    ("instructions", "s.arr[i] * 2 + p->x", 15000),
]

# Why a family's rows stop where they do, printed under its figures.
CHAIN_NOTE = ("top row %d levels: an expression nests at most 256 syntax-tree levels, "
              "and a deeper chain is refused at build")
NOTES = {"MemberChainCold": CHAIN_NOTE, "MemberChainWarm": CHAIN_NOTE}


def verdict(met):
    return "met" if met else "not met"


def medians_of(run):
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
    return medians, errors


def by_argument(medians, family):
    """The medians of one family (name/ARG[/manual_time]) by argument."""
    figures = {}
    for name, t in medians.items():
        m = re.match(r"^%s/(\d+)(/manual_time)?$" % re.escape(family), name)
        if m:
            figures[int(m.group(1))] = t
    return dict(sorted(figures.items()))


def print_instructions(pattern, limit, instructions):
    label = "instructions of a warm %s" % pattern
    count = instructions.get(pattern)
    if count is None:
        print("%-40s %14s  %s" % (label, "-", "not measured (callgrind)"))
    elif limit is None:
        print("%-40s %14.0f" % (label, count))
    else:
        print("%-40s %14.0f  at most %d: %s" % (label, count, limit, verdict(count <= limit)))


def instructions_only(instructions_path):
    with open(instructions_path) as f:
        instructions = json.load(f)
    print("%-40s %14s  %s" % ("derived figure", "value", "goal"))
    for kind, pattern, limit in GOALS:
        if kind == "instructions":
            print_instructions(pattern, limit, instructions)
    return 0


def main(path, instructions_path=None):
    with open(path) as f:
        medians, errors = medians_of(json.load(f))
    instructions = {}
    if instructions_path:
        with open(instructions_path) as f:
            instructions = json.load(f)
    time_goals = {pattern: limit for kind, pattern, limit in GOALS if kind == "time"}
    libcob_goals = [(re.compile(pattern), limit) for kind, pattern, limit in GOALS if kind == "libcob"]

    baseline = medians.get("Baseline")
    print("%-40s %14s %10s  %s" % ("benchmark", "median ns", "/baseline", "goal"))
    for name in sorted(medians, key=lambda n: (n != "Baseline", n)):
        t = medians[name]
        ratio = "%10.2f" % (t / baseline) if baseline else "%10s" % "-"
        goal = ""
        if name in time_goals:
            limit = time_goals[name]
            goal = "under %g us: %s" % (limit / 1000, verdict(t < limit))
        print("%-40s %14.1f %s  %s" % (name, t, ratio, goal))
    for kind, pattern, limit in GOALS:
        if kind == "time" and pattern not in medians:
            print("%-40s %14s %10s  under %g us: not measured" % (pattern, "-", "", limit / 1000))

    print()
    print("%-40s %14s  %s" % ("derived figure", "value", "goal"))
    for kind, pattern, limit in GOALS:
        if kind == "libcob":
            rows = [n for n in sorted(medians) if re.search(pattern, n)]
            for name in rows:
                theirs = medians.get(name.replace("/ours/", "/libcob/"))
                label = name.replace("/ours/", "/") + " ours/libcob"
                if theirs:
                    r = medians[name] / theirs
                    print("%-40s %14.2f  at most %.2f: %s" % (label, r, limit, verdict(r <= limit)))
                else:
                    print("%-40s %14s  at most %.2f: not measured" % (label, "-", limit))
            if not rows:
                print("%-40s %14s  at most %.2f: not measured" % (pattern, "-", limit))
        elif kind in ("perlevel", "perelement"):
            unit = "level" if kind == "perlevel" else "element"
            figures = by_argument(medians, pattern)
            if not figures:
                print("%-40s %14s  not measured" % ("%s per %s" % (pattern, unit), "-"))
                continue
            first = min(figures)
            base = figures[first] / first
            for count, t in figures.items():
                per = t / count
                print("%-40s %11.1f ns  %.2fx the cost at %d %ss, at most %.2fx: %s"
                      % ("%s/%d per %s" % (pattern, count, unit), per, per / base, first, unit, limit,
                         verdict(per / base <= limit)))
            if pattern in NOTES:
                print("%-40s %14s  %s" % ("", "", NOTES[pattern] % max(figures)))
        elif kind == "growth":
            figures = by_argument(medians, pattern)
            if len(figures) < 2:
                print("%-40s %14s  not measured" % (pattern + " growth", "-"))
                continue
            small, large = min(figures), max(figures)
            g = figures[large] / figures[small]
            print("%-40s %14.2f  at %d over at %d, at most %.2f: %s"
                  % (pattern + " growth", g, large, small, limit, verdict(g <= limit)))
        elif kind == "instructions":
            print_instructions(pattern, limit, instructions)
    for e in errors:
        print("error: " + e)
    return 1 if errors else 0


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--instructions":
        sys.exit(instructions_only(sys.argv[2]))
    sys.exit(main(sys.argv[1], sys.argv[2] if len(sys.argv) > 2 else None))
