#!/usr/bin/env python3
"""Expected texts of MOVEs of numeric literals to numeric-edited pictures.

Writes a COBOL program that moves each value to an item of each picture and
displays the result, compiles and runs it with GnuCOBOL's cobc, turns the
ASCII text into EBCDIC (code page 1047, through iconv) and writes the table
tests/datatypes/data/numeric_edited_cobol.txt:

    picture precision scale length mode value expected-hex

precision, scale and length describe the item as its type record does:
digit positions, power of ten of the last digit, edited length in bytes.
mode is 'move' for a plain item, 'bwz' for an item with BLANK WHEN ZERO and
'allz' for a zero moved to a picture whose digit positions all suppress.

Run from the repository root:  python3 tests/datatypes/gen/gen_numeric_edited.py
"""
import decimal
import os
import re
import subprocess
import sys
import tempfile

# Pictures the editing engine writes as a COBOL MOVE does, with the values
# moved to each. Left out on purpose: a single '$' before suppression
# symbols ('$ZZ9.99'), which the engine floats to the first significant
# digit where COBOL keeps it in the first position; a '0' inside a run of
# suppressed positions ('ZZ0ZZ9'), which the engine suppresses with the
# run and cobc writes as '0'; and negative values that the picture cuts
# down to zero, whose sign cobc treats one way for fixed and another for
# floating signs.
VALUES = ["0", "5", "-5", "7", "-7", "12.34", "-12.34", "0.5", "-0.5", "0.05",
          "1234.56", "-1234.56", "99999.99", "123456789.12", "-987654321.98"]
PICTURES = [
    "9(5)", "ZZ9V99", "ZZZ9", "Z(4)", "ZZ9.99", "ZZZ9.99CR", "ZZZ9.99DB",
    "ZZZ9.99cr", "ZZZ9.99db", "***9.99", "*(4).99", "**,**9.99", "$$$9.99",
    "$$,$$9.99", "$(5)9.99", "+++9", "+(4)9.99", "---9", "-(4)9.99", "-ZZ9.99",
    "+ZZ9.99", "ZZ9.99+", "ZZ9.99-", "9(5)-", "9(5)+", "ZZ,ZZ9", "ZZBZZ9", "99B99B99", "99/99/99", "9990",
    "ZZPP", "ZZ9PPP", "$$9PP", "--,--9.99", "++,++9.99",
    "$$$$.99", "+++.99", "ZZZZ.99", "***.99",
]
# Pictures that also get BLANK WHEN ZERO.
BWZ_PICTURES = ["ZZ9.99", "9(5)", "$$$9.99", "---9", "ZZZ9.99CR", "+(4)9.99"]
BWZ_VALUES = ["0", "-0", "0.001", "12.34", "-12.34"]
# Pictures whose digit positions all suppress, with zero moved to them.
ALLZ_PICTURES = ["ZZZZ", "ZZZ.ZZ", "***.**", "$$$$.$$", "$$,$$$.$$", "Z(3)VZZ", "**,***.**"]


def expand(picture):
    out = []
    i = 0
    while i < len(picture):
        c = picture[i]
        m = re.match(r"\((\d+)\)", picture[i + 1:])
        if m:
            out.append(c * int(m.group(1)))
            i += 1 + len(m.group(0))
        else:
            out.append(c)
            i += 1
    return "".join(out)


def shape(picture):
    """(precision, scale, length) of a picture as the engine edits it."""
    e = expand(picture).upper()
    floating = None
    for c in e:
        if c in "+-$" and e.count(c) >= 2:
            floating = c
            break
    digits_before = digits_after = p_before = p_lead = 0
    after = False
    seen_float = False
    for c in e:
        if c in ".V":
            after = True
            continue
        digit = c in "9Z*"
        if c == floating:
            if seen_float:
                digit = True
            seen_float = True
        if c == "P":
            if after or (digits_before == 0):
                p_lead += 1
            else:
                p_before += 1
            continue
        if digit:
            if after:
                digits_after += 1
            else:
                digits_before += 1
    precision = digits_before + digits_after
    scale = p_before if p_before else -(digits_after + p_lead)
    length = len(e) - e.count("V") - e.count("P")
    return precision, scale, length


def cut_to_zero(picture, value):
    """True when the picture keeps none of the value's non-zero digits."""
    p, s, _ = shape(picture)
    units = int(abs(decimal.Decimal(value)).scaleb(-s))
    return units % (10 ** p) == 0


def main():
    cases = []
    for pic in PICTURES:
        for v in VALUES:
            if v.startswith("-") and cut_to_zero(pic, v):
                continue
            cases.append((pic, v, "move"))
    for pic in BWZ_PICTURES:
        for v in BWZ_VALUES:
            cases.append((pic, v, "bwz"))
    for pic in ALLZ_PICTURES:
        cases.append((pic, "0", "allz"))

    lines = ["       IDENTIFICATION DIVISION.", "       PROGRAM-ID. EDITGEN.",
             "       DATA DIVISION.", "       WORKING-STORAGE SECTION."]
    for n, (pic, v, mode) in enumerate(cases):
        clause = " BLANK WHEN ZERO" if mode == "bwz" else ""
        lines.append(f"       01 E{n} PIC {pic}{clause}.")
    lines.append("       PROCEDURE DIVISION.")
    for n, (pic, v, mode) in enumerate(cases):
        lines.append(f"           MOVE {v} TO E{n}.")
        lines.append(f"           DISPLAY \"<\" E{n} \">\".")
    lines.append("           STOP RUN.")

    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "editgen.cob")
        exe = os.path.join(tmp, "editgen")
        with open(src, "w") as f:
            f.write("\n".join(lines) + "\n")
        subprocess.run(["cobc", "-x", "-o", exe, src], check=True)
        out = subprocess.run([exe], check=True, capture_output=True).stdout.decode("ascii")
    results = [line[1:-1] for line in out.splitlines()]
    if len(results) != len(cases):
        sys.exit("unexpected output")

    table = ["# picture precision scale length mode value expected-hex",
             "# GnuCOBOL MOVE of the value to PIC picture, text mapped to EBCDIC (IBM-1047)."]
    for (pic, v, mode), text in zip(cases, results):
        ebcdic = subprocess.run(["iconv", "-f", "ASCII", "-t", "IBM1047"], input=text.encode("ascii"),
                                check=True, capture_output=True).stdout
        p, s, length = shape(pic)
        if len(ebcdic) != length:
            sys.exit(f"length of {pic}: {len(ebcdic)} against {length}")
        table.append(f"{pic} {p} {s} {length} {mode} {v} {ebcdic.hex().upper()}")
    path = os.path.join(os.path.dirname(__file__), "..", "data", "numeric_edited_cobol.txt")
    with open(path, "w") as f:
        f.write("\n".join(table) + "\n")


if __name__ == "__main__":
    main()
