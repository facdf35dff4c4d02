#!/usr/bin/env python3
"""COBOL items as GnuCOBOL's DISPLAY shows them.

Writes ../data/cobol_display.tsv: a data description entry (a level-77 item
with its PICTURE, USAGE, SIGN and VALUE) and the text cobc's DISPLAY of the
item prints (GnuCOBOL 3.1.2, cobc -x -free). The api tests read the entries into a
COBOL program of the simulated host (its big-endian EBCDIC images of the
same values) and format each item through the entry points in its default
representation: packed decimal, zoned decimal with each kind of sign,
binary with a scale, national decimal and edited items.
"""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "gen"))
from cobol_oracle import run_cobol  # noqa: E402

ITEMS = [
    ("PIC S9(5)V99 COMP-3", "-123.45"),
    ("PIC S9(5)V99 COMP-3", "99999.99"),
    ("PIC S9(5)V99 COMP-3", "0"),
    ("PIC 9(3)V99 COMP-3", "12.5"),
    ("PIC S9(3) COMP-3", "7"),
    ("PIC SV999 COMP-3", "-.5"),
    ("PIC S9(4) COMP-3", "-1"),
    ("PIC 9 COMP-3", "5"),
    ("PIC S9(3)V9", "-12.5"),
    ("PIC S9(3)V9", "12.5"),
    ("PIC S9(3) SIGN LEADING", "-12"),
    ("PIC S9(3) SIGN TRAILING", "-7"),
    ("PIC S9(3) SIGN LEADING SEPARATE", "-42"),
    ("PIC S9(3) SIGN LEADING SEPARATE", "42"),
    ("PIC S9(3) SIGN TRAILING SEPARATE", "12"),
    ("PIC S9(3)V99 SIGN TRAILING SEPARATE", "-1.5"),
    ("PIC 9(4)", "42"),
    ("PIC 9(2)V9(3)", "1.5"),
    ("PIC S9(4) COMP", "-1234"),
    ("PIC S9(4) COMP", "1234"),
    ("PIC S9(3)V99 COMP", "-1.25"),
    ("PIC 9(4) COMP", "99"),
    ("PIC S9(2)V9(3) COMP", "0"),
    ("PIC S9(9) BINARY", "123456789"),
    ("PIC S9(18) COMP", "-5"),
    ("PIC 9(7)V99 COMP", "12345.67"),
    ("PIC S9(3)V9 USAGE NATIONAL SIGN LEADING SEPARATE", "-12.5"),
    ("PIC S9(3) USAGE NATIONAL SIGN TRAILING SEPARATE", "7"),
    ("PIC 9(3) USAGE NATIONAL", "123"),
    ("PIC ZZ,ZZ9.99", "'   12.50 '"),
    ("PIC ZZZ9.99-", "'  12.50-'"),
    ("PIC XXBXX", "'AB CD'"),
]


def main():
    lines = ["       IDENTIFICATION DIVISION.", "       PROGRAM-ID. D.", "       DATA DIVISION.",
             "       WORKING-STORAGE SECTION."]
    for i, (clause, value) in enumerate(ITEMS):
        lines.append("       77 I%02d %s VALUE %s." % (i, clause, value))
    lines.append("       PROCEDURE DIVISION.")
    for i in range(len(ITEMS)):
        lines.append("           DISPLAY '[' I%02d ']'." % i)
    lines.append("           STOP RUN.")
    with tempfile.TemporaryDirectory() as tmp:
        out = run_cobol("\n".join(lines) + "\n", tmp, ("-free", "-w"), "d").splitlines()
    assert len(out) == len(ITEMS)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "cobol_display.tsv")
    with open(path, "w") as f:
        f.write("# clauses\tVALUE\tcobc DISPLAY text; made by gen/gen_cobol_display.py\n")
        for (clause, value), text in zip(ITEMS, out):
            assert text.startswith("[") and text.endswith("]"), text
            f.write("%s\t%s\t%s\n" % (clause, value, text[1:-1]))


if __name__ == "__main__":
    main()
