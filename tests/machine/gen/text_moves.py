#!/usr/bin/env python3
"""Generates ../data/text_moves.txt: alphanumeric MOVEs as a COBOL compiler
does them, into PIC X(n) items with and without JUSTIFIED RIGHT.

Each line: source text, target length, J or L, the result, the texts
between '|' marks (spaces kept). Needs cobc; run from this folder."""
import os
import subprocess
import tempfile

SOURCES = ["ABC", "A", "HELLO", "AB CD", "XYZ12", "Q"]
LENGTHS = [1, 2, 3, 5, 8]


def program():
    lines = ["       IDENTIFICATION DIVISION.", "       PROGRAM-ID. MOVES.",
             "       DATA DIVISION.", "       WORKING-STORAGE SECTION."]
    for n in LENGTHS:
        lines.append(f"       01 L{n} PIC X({n}).")
        lines.append(f"       01 J{n} PIC X({n}) JUSTIFIED RIGHT.")
    lines.append("       PROCEDURE DIVISION.")
    for s in SOURCES:
        for n in LENGTHS:
            for kind in "LJ":
                lines.append(f'           MOVE "{s}" TO {kind}{n}')
                lines.append(f'           DISPLAY "{s}|{n}|{kind}|" {kind}{n} "|"')
    lines.append("           STOP RUN.")
    return "\n".join(lines) + "\n"


def main():
    with tempfile.TemporaryDirectory() as d:
        src = os.path.join(d, "moves.cob")
        exe = os.path.join(d, "moves")
        with open(src, "w") as f:
            f.write(program())
        subprocess.run(["cobc", "-x", "-o", exe, src], check=True)
        out = subprocess.run([exe], check=True, capture_output=True, text=True).stdout
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "..", "data", "text_moves.txt"), "w") as f:
        f.write("# source|target length|L or J (justified right)|result| -- made by gen/text_moves.py with cobc\n")
        f.write(out)


if __name__ == "__main__":
    main()
