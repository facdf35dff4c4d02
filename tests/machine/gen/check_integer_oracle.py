#!/usr/bin/env python3
"""Checks tests/machine/data/integer_oracle.tsv against a second, independent
reading of the left-typed integer rule, done here with Python's unbounded
integers instead of C's fixed-width ones.

Every row is recomputed (result kind, result image, and whether the row is C
or RULE); every left kind x right kind x operation must appear. Exits non-zero
and names the first rows that disagree.

Usage: check_integer_oracle.py [path/to/integer_oracle.tsv]
"""
import os
import sys

HEADER = ["left_kind", "right_kind", "op", "left_hex", "right_hex",
          "result_kind", "result_hex", "source"]
KINDS = {"S1": (1, True), "U1": (1, False), "S2": (2, True), "U2": (2, False),
         "S4": (4, True), "U4": (4, False), "S8": (8, True), "U8": (8, False)}
OPS = ["add", "sub", "mul", "div", "rem", "and", "or", "xor", "lsl", "lsr",
       "asr", "eq", "ne", "lt", "le", "gt", "ge", "cvt"]
COMPARES = {"eq": lambda a, b: a == b, "ne": lambda a, b: a != b,
            "lt": lambda a, b: a < b, "le": lambda a, b: a <= b,
            "gt": lambda a, b: a > b, "ge": lambda a, b: a >= b}
M64 = (1 << 64) - 1
DIVIDE_BY_ZERO = "ERR:3"


def signed(n, bits):
    n &= (1 << bits) - 1
    return n - (1 << bits) if n >> (bits - 1) else n


def number(kind, image):
    """The 64-bit pattern the item hands out (asSigned and asUnsigned agree)."""
    size, is_signed = KINDS[kind]
    value = int(image, 16)
    return (signed(value, 8 * size) if is_signed else value) & M64


def image(value, size):
    return format(value & ((1 << 8 * size) - 1), "0%dX" % (2 * size))


def trunc_div(a, b):
    q = abs(a) // abs(b)
    return q if (a < 0) == (b < 0) else -q


def expected(left, right, op, left_hex, right_hex):
    size, is_signed = KINDS[left]
    bits = 8 * size
    if op == "cvt":
        return right, image(number(left, left_hex), KINDS[right][0]), "C"
    v64 = number(left, left_hex)
    r64 = number(right, right_hex)
    # Operands as the item's arithmetic sees them: signed 64-bit numbers for
    # a signed left, unsigned ones for an unsigned left.
    v = signed(v64, 64) if is_signed else v64
    r = signed(r64, 64) if is_signed else r64
    if op in COMPARES:
        return "B1", "01" if COMPARES[op](v, r) else "00", "C"
    if op in ("div", "rem"):
        if r == 0:
            return left, DIVIDE_BY_ZERO, "RULE"
        overflow = is_signed and v == -(1 << (bits - 1)) and r == -1
        q = trunc_div(v, r)
        result = q if op == "div" else v - q * r
        return left, image(result, size), "RULE" if overflow else "C"
    if op in ("add", "sub", "mul", "and", "or", "xor"):
        result = {"add": v + r, "sub": v - r, "mul": v * r,
                  "and": v & r, "or": v | r, "xor": v ^ r}[op]
        return left, image(result, size), "C"
    # Shifts: the count modulo the width of the widened value (32 bits for
    # items of 1, 2 and 4 bytes, 64 for 8), on that widened value.
    wide = 64 if size == 8 else 32
    count = r64 % wide
    source = "RULE" if r64 >= bits else "C"
    if op == "lsl":
        result = v << count
    elif op == "lsr":
        result = (v64 & ((1 << bits) - 1)) >> count
    else:
        result = v >> count  # Python's >> copies the sign of a negative v
    return left, image(result, size), source


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        here, "..", "data", "integer_oracle.tsv")
    with open(path) as table:
        lines = table.read().splitlines()
    if lines[0].split("\t") != HEADER:
        sys.exit("%s: header is not %s" % (path, " ".join(HEADER)))
    seen = set()
    faults = []
    rows = 0
    for number_of_line, line in enumerate(lines[1:], start=2):
        if line.startswith("#"):
            continue
        fields = line.split("\t")
        if len(fields) != len(HEADER):
            faults.append("%d: %d fields" % (number_of_line, len(fields)))
            continue
        left, right, op, left_hex, right_hex = fields[:5]
        if left not in KINDS or right not in KINDS or op not in OPS:
            faults.append("%d: unknown kind or operation" % number_of_line)
            continue
        for kind, text in ((left, left_hex), (right, right_hex)):
            if len(text) != 2 * KINDS[kind][0]:
                faults.append("%d: %s is not a %s image" % (number_of_line, text, kind))
        want = expected(left, right, op, left_hex, right_hex)
        if tuple(fields[5:]) != want:
            faults.append("%d: %s, expected %s" % (number_of_line, line, "\t".join(want)))
        seen.add((left, right, op))
        rows += 1
    missing = [(l, r, o) for l in KINDS for r in KINDS for o in OPS if (l, r, o) not in seen]
    if missing:
        faults.append("no rows for %d combinations, first %s" % (len(missing), missing[0]))
    for fault in faults[:20]:
        print(fault, file=sys.stderr)
    if faults:
        sys.exit("%s: %d faults" % (path, len(faults)))
    print("%s: %d rows agree" % (path, rows))


if __name__ == "__main__":
    main()
