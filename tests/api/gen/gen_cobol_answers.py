#!/usr/bin/env python3
"""What GnuCOBOL answers for COBOL conditions and statements over one record.

Each row is run by cobc (GnuCOBOL 3.1.2) in a program of its own that holds
the record below: a condition row displays T or F, a statement row displays
the bytes of the whole record after the statement (every item, the items
after the receiver included). The bytes are turned into the image a
mainframe compiler gives the same values (EBCDIC text and zoned digits,
hexadecimal floating point; packed and big-endian binary as they are) and
frozen into ../data/cobol_answers.txt, which CobolAnswersTest.cpp runs
through the entry points against a program file of the same record.

Lines of the table: "program <entry>" (the record, in program-file form),
then "cond|<fault>|<text>|T or F|<preset>" and "stmt|<fault>|<text>|<hex>|
<preset>". The fault is the number of the fault the row shows (0: a
neighbouring case); the preset, when not empty, is "<offset>:<hex>": bytes
put into the record before the row runs (a value no VALUE clause gives,
such as a negative zero).
"""
import os
import struct
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "gen"))
from cobol_oracle import hfp, run_cobol  # noqa: E402

# name, clause, kind, length: kind says how the bytes become the
# mainframe's: X text, Z zoned (unsigned), ZS zoned signed trailing, P
# packed, B binary, F4 and F8 floating point.
RECORD = [
    ("A", "PIC 9(3) VALUE 6", "Z", 3),
    ("BD", "PIC 9(3)V9 COMP VALUE 6.5", "B", 2),
    ("AMT", "PIC S9(5)V99 COMP-3 VALUE -123.45", "P", 4),
    ("I1", "PIC 9(4) VALUE 12", "Z", 4),
    ("PK", "PIC 9(3) COMP-3 VALUE 6", "P", 2),
    ("B4", "PIC S9(4) COMP VALUE 6", "B", 2),
    ("D2", "PIC 9V99 VALUE 6.50", "Z", 3),
    ("ZP", "PIC S9(3)V9 COMP-3 VALUE 0", "P", 3),
    ("P5", "PIC S9(3)V99 COMP-3 VALUE -12.5", "P", 3),
    ("F2", "COMP-2 VALUE 1.5", "F8", 8),
    ("F1", "COMP-1 VALUE 0", "F4", 4),
    ("CNT", "PIC 9(4) VALUE 0", "Z", 4),
    ("CNTS", "PIC S9(5) VALUE 0", "ZS", 5),
    ("CNTB", "PIC 9(4) COMP VALUE 0", "B", 2),
    ("CNTP", "PIC S9(5) COMP-3 VALUE 0", "P", 3),
    ("CNTF", "COMP-2 VALUE 0", "F8", 8),
    ("NAME", "PIC X(8) VALUE 'NORVEXA'", "X", 8),
    ("GRADE", "PIC 99 VALUE 7", "Z", 2),
    ("TAIL", "PIC X(4) VALUE 'TAIL'", "X", 4),
    ("NZ", "PIC S9(3) COMP-3 VALUE 0", "P", 2),
]
CONDITIONS = {  # level-88 entries under an item
    "GRADE": ["LOW-GRADE VALUES 0 THRU 4, 11", "MID-GRADE VALUES 5, 6 THRU 8", "TOP-GRADE VALUES 9 THRU 10"],
}

ROWS = [
    # 3: comparisons at the larger scale, both orders, binary items and
    # literals of more places, a negative literal against an unsigned item.
    ("cond", 3, "A = 6.5"), ("cond", 3, "A < 6.5"), ("cond", 3, "6.5 = A"), ("cond", 3, "6.5 > A"),
    ("cond", 3, "A = BD"), ("cond", 3, "BD = A"), ("cond", 3, "A < BD"), ("cond", 3, "BD > A"),
    ("cond", 3, "AMT = -123.459"), ("cond", 3, "-123.459 = AMT"), ("cond", 3, "AMT > -123.459"),
    ("cond", 3, "I1 = 12.99"), ("cond", 3, "12.99 > I1"), ("cond", 3, "A = -6"), ("cond", 3, "-6 < A"),
    ("cond", 3, "PK = 6.5"), ("cond", 3, "PK < 6.5"), ("cond", 3, "6.5 > PK"), ("cond", 3, "PK = BD"),
    ("cond", 0, "B4 = 6.5"), ("cond", 0, "D2 = A"), ("cond", 0, "D2 > A"), ("cond", 0, "A = 6"),
    ("cond", 0, "6.00 = A"), ("cond", 0, "BD = 6.5"),
    # 4: ZERO on the left.
    ("cond", 4, "ZERO = AMT"), ("cond", 4, "ZERO < AMT"), ("cond", 4, "ZERO > AMT"), ("cond", 4, "ZERO = ZP"),
    ("cond", 4, "ZEROS NOT = ZP"), ("cond", 0, "AMT = ZERO"),
    # 5: packed against COMP-1 and COMP-2.
    ("stmt", 5, "MOVE P5 TO F2"), ("stmt", 5, "COMPUTE F1 = P5"), ("stmt", 5, "COMPUTE F2 = P5 * 2 + ZP"),
    ("cond", 5, "F2 = P5"), ("cond", 5, "P5 < F2"), ("cond", 5, "F2 + P5 = -11"), ("cond", 5, "P5 + F2 = -11"),
    # 6: LENGTH OF into every numeric usage.
    ("stmt", 6, "COMPUTE CNT = LENGTH OF NAME"), ("stmt", 6, "COMPUTE CNTS = LENGTH OF NAME"),
    ("stmt", 6, "COMPUTE CNTB = LENGTH OF NAME"), ("stmt", 6, "COMPUTE CNTP = LENGTH OF NAME"),
    ("stmt", 6, "COMPUTE CNTF = LENGTH OF NAME"), ("stmt", 6, "MOVE LENGTH OF AMT TO CNT"),
    # 9: SET condition TO TRUE stores the clause's first value.
    ("stmt", 9, "SET LOW-GRADE TO TRUE"), ("stmt", 9, "SET MID-GRADE TO TRUE"),
    ("stmt", 9, "SET TOP-GRADE TO TRUE"),
    # 11: a negative zero operand of multiply, divide and power is a
    # positive zero.
    ("cond", 11, "NZ * 5 < 0", ("NZ", "000D")), ("cond", 11, "NZ / 5 < 0", ("NZ", "000D")),
    ("cond", 11, "NZ ** 3 < 0", ("NZ", "000D")), ("cond", 11, "NZ * 5 = 0", ("NZ", "000D")),
    # A negative zero, left by arithmetic (0 * -5, -123.45 * 0) or stored
    # by the program, equals zero: packed and zoned, against literals,
    # ZERO, packed, zoned, binary and floating-point items, both orders.
    ("cond", 0, "NZ * -5 < 0"), ("cond", 0, "NZ * -5 = 0"), ("cond", 0, "AMT * 0 = 0"),
    ("cond", 0, "0 = AMT * 0"), ("cond", 0, "AMT * 0 < ZERO"), ("cond", 0, "ZP = AMT * 0"),
    ("cond", 0, "NZ = 0", ("NZ", "000D")), ("cond", 0, "NZ < 0", ("NZ", "000D")),
    ("cond", 0, "0 = NZ", ("NZ", "000D")), ("cond", 0, "0 > NZ", ("NZ", "000D")),
    ("cond", 0, "NZ NOT < 0", ("NZ", "000D")), ("cond", 0, "NZ < 0.1", ("NZ", "000D")),
    ("cond", 0, "NZ > -0.1", ("NZ", "000D")), ("cond", 0, "NZ = ZERO", ("NZ", "000D")),
    ("cond", 0, "ZERO = NZ", ("NZ", "000D")), ("cond", 0, "ZERO > NZ", ("NZ", "000D")),
    ("cond", 0, "NZ = ZP", ("NZ", "000D")), ("cond", 0, "ZP > NZ", ("NZ", "000D")),
    ("cond", 0, "NZ = CNT", ("NZ", "000D")), ("cond", 0, "CNT > NZ", ("NZ", "000D")),
    ("cond", 0, "NZ = CNTB", ("NZ", "000D")), ("cond", 0, "CNTB > NZ", ("NZ", "000D")),
    ("cond", 0, "CNTB = NZ", ("NZ", "000D")), ("cond", 0, "F1 = NZ", ("NZ", "000D")),
    ("cond", 0, "NZ < CNTP", ("NZ", "000D")), ("cond", 0, "NZ + 0 < 0", ("NZ", "000D")),
    ("cond", 0, "CNTS = 0", ("CNTS", "F0F0F0F0D0")), ("cond", 0, "CNTS < 0", ("CNTS", "F0F0F0F0D0")),
    ("cond", 0, "0 = CNTS", ("CNTS", "F0F0F0F0D0")), ("cond", 0, "ZERO = CNTS", ("CNTS", "F0F0F0F0D0")),
    ("cond", 0, "CNTS = ZERO", ("CNTS", "F0F0F0F0D0")), ("cond", 0, "CNTS < CNT", ("CNTS", "F0F0F0F0D0")),
    ("cond", 0, "CNT = CNTS", ("CNTS", "F0F0F0F0D0")), ("cond", 0, "CNTS = NZ", ("CNTS", "F0F0F0F0D0")),
    ("cond", 0, "ZP = CNTS", ("CNTS", "F0F0F0F0D0")), ("cond", 0, "CNTS = CNTB", ("CNTS", "F0F0F0F0D0")),
    ("cond", 0, "CNTS > -1", ("CNTS", "F0F0F0F0D0")), ("cond", 0, "CNTS < 1", ("CNTS", "F0F0F0F0D0")),
]

EBCDIC = "cp037"  # the letters, digits and blank of code page 1047 are these


def record_lines(indent="       "):
    lines = [indent + "01 REC."]
    for name, clause, _, _ in RECORD:
        lines.append(f"{indent}   05 {name} {clause}.")
        for c in CONDITIONS.get(name, []):
            lines.append(f"{indent}      88 {c}.")
    return lines


def offset_of(name):
    at = 0
    for n, _, _, length in RECORD:
        if n == name:
            return at, length
        at += length
    sys.exit(f"no item {name}")


def program(kind, text, preset):
    out = ["       IDENTIFICATION DIVISION.", "       PROGRAM-ID. ROW.", "       DATA DIVISION.",
           "       WORKING-STORAGE SECTION."]
    out += record_lines()
    out += ["       01 I PIC 9(4) COMP.", "       01 N PIC 9(4) COMP.", "       01 HX PIC X(16) VALUE '0123456789ABCDEF'.",
            "       01 OUTL PIC X(512).", "       PROCEDURE DIVISION."]
    if preset:
        at, length = offset_of(preset[0])
        out += [f"           MOVE X'{compiler_image(preset[0], preset[1])}' TO REC({at + 1}:{length})"]
    if kind == "cond":
        out += [f"           IF {text}", "              DISPLAY 'T'", "           ELSE", "              DISPLAY 'F'",
                "           END-IF"]
    else:
        out += [f"           {text}"]
        out += ["           MOVE SPACES TO OUTL",
                "           PERFORM VARYING I FROM 1 BY 1 UNTIL I > LENGTH OF REC",
                "              COMPUTE N = FUNCTION ORD(REC(I:1)) - 1",
                "              MOVE HX(N / 16 + 1:1) TO OUTL(2 * I - 1:1)",
                "              MOVE HX(FUNCTION MOD(N, 16) + 1:1) TO OUTL(2 * I:1)",
                "           END-PERFORM",
                "           DISPLAY FUNCTION TRIM(OUTL)"]
    out += ["           STOP RUN."]
    return "\n".join(out) + "\n"


def run(kind, text, preset, work):
    return run_cobol(program(kind, text, preset), work, name="row").strip()


def ibm_hex(value, length):
    """The IBM hexadecimal floating-point image of an exactly representable value."""
    image = hfp(value, length)
    if image is None:
        sys.exit(f"{value} is not exact in {length}-byte hexadecimal floating point")
    return image


def compiler_image(name, image):
    """The bytes GnuCOBOL holds for an item's mainframe image (a preset)."""
    kind = next(k for n, _, k, _ in RECORD if n == name)
    raw = bytes.fromhex(image)
    if kind in ("P", "B"):
        return image
    if kind in ("Z", "ZS"):
        digits = bytes(0x30 | (b & 0x0F) for b in raw)
        if kind == "ZS" and (raw[-1] & 0xF0) == 0xD0:
            digits = digits[:-1] + bytes([0x70 | (raw[-1] & 0x0F)])
        return digits.hex().upper()
    sys.exit(f"no preset for {name}")


def mainframe_image(raw):
    out = b""
    at = 0
    for name, _, kind, length in RECORD:
        piece = raw[at:at + length]
        at += length
        if kind == "X":
            out += piece.decode("ascii").encode(EBCDIC)
        elif kind in ("Z", "ZS"):
            digits = [b & 0x0F for b in piece]
            negative = kind == "ZS" and (piece[-1] & 0xF0) == 0x70
            zoned = bytes(0xF0 | d for d in digits)
            if kind == "ZS":
                zoned = zoned[:-1] + bytes([(0xD0 if negative else 0xC0) | digits[-1]])
            out += zoned
        elif kind in ("P", "B"):
            out += piece
        elif kind == "F8":
            out += ibm_hex(struct.unpack("<d", piece)[0], 8)
        elif kind == "F4":
            out += ibm_hex(struct.unpack("<f", piece)[0], 4)
    if at != len(raw):
        sys.exit(f"the record has {len(raw)} bytes, the layout {at}")
    return out


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = os.path.join(here, "..", "data", "cobol_answers.txt")
    lines = ["# Generated by gen/gen_cobol_answers.py from GnuCOBOL 3.1.2; do not edit."]
    lines += ["program " + l.strip() for l in record_lines()]
    with tempfile.TemporaryDirectory() as work:
        for kind, fault, text, *more in ROWS:
            preset = more[0] if more else None
            answer = run(kind, text, preset, work)
            if kind == "stmt":
                answer = mainframe_image(bytes.fromhex(answer)).hex().upper()
            elif answer not in ("T", "F"):
                sys.exit(f"{text}: {answer}")
            where = f"{offset_of(preset[0])[0]}:{preset[1]}" if preset else ""
            lines.append(f"{kind}|{fault}|{text}|{answer}|{where}")
    with open(target, "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
