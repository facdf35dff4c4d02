#!/usr/bin/env python3
"""Generates the frozen oracle tables of the packed decimal arithmetic tests.

packed_decimal_oracle.txt: the routines' own arithmetic computed with Python's
decimal module (exact sums, differences and products; quotients and the
reciprocals of negative powers truncated, exact in every digit kept; exact
integer powers).

packed_decimal_cobol.txt: COBOL COMPUTE results of GnuCOBOL (cobc), with
truncation and with ROUNDED, for operands and results held as COMP-3.

Run it by hand when the cases should change; the tests only read the tables.
    python3 make_packed_tables.py [--cobol]
"""
import decimal
import os
import random
import subprocess
import sys
import tempfile
from decimal import Decimal

HERE = os.path.dirname(os.path.abspath(__file__))
exact = decimal.Context(prec=400, rounding=decimal.ROUND_DOWN)
decimal.setcontext(exact)


def packed_hex(value, p, s, signed=True, negative=None):
    """value (a Decimal with at most s decimals) as packed bytes of p digits;
    higher digits dropped."""
    coefficient = int(abs(value).scaleb(s).to_integral_value(rounding=decimal.ROUND_DOWN))
    digits = str(coefficient % (10 ** p)).rjust(p, "0")
    if p % 2 == 0:
        digits = "0" + digits
    if negative is None:
        negative = value < 0
    sign = "F" if not signed else ("D" if negative else "C")
    return digits + sign


def random_operand(rng, max_digits=31):
    p = rng.randint(1, max_digits)
    s = rng.randint(0, min(p, 12))
    coefficient = rng.randint(0, 10 ** p - 1) if rng.random() > 0.05 else 0
    # Favour values of every length, not only p-digit ones.
    if rng.random() < 0.4:
        coefficient //= 10 ** rng.randint(0, p - 1)
    negative = rng.random() < 0.5
    value = Decimal(coefficient).scaleb(-s)
    return (-value if negative else value), p, s, negative


def truncate(value, s):
    return value.quantize(Decimal(1).scaleb(-s), rounding=decimal.ROUND_DOWN)


def operand_text(value, p, s, negative, flag):
    return "%s %d %d %d" % (packed_hex(value, p, s, True, negative), p, s, flag)


def oracle_cases(rng):
    lines = []
    for _ in range(400):
        a, pa, sa, na = random_operand(rng)
        b, pb, sb, nb = random_operand(rng)
        fa = 0 if rng.random() < 0.15 else 1
        fb = 0 if rng.random() < 0.15 else 1
        va = abs(a) if not fa else a
        vb = abs(b) if not fb else b
        neg_a = fa and na
        neg_b = fb and nb
        ops = ["add", "sub", "mul", "div"]
        op = ops[len(lines) % 4]
        if op in ("add", "sub"):
            sr = max(sa, sb)
            pr = max(pa - sa, pb - sb) + 1 + sr
            value = va + vb if op == "add" else va - vb
            # A zero keeps the sign of its row of the sign tables, which is
            # the left operand's in every row that can give zero.
            negative = neg_a if value == 0 else value < 0
            expected = packed_hex(value, pr, sr, True, negative)
            lines.append("%s %s %s %d %d %s" % (op, operand_text(a, pa, sa, na, fa),
                                                 operand_text(b, pb, sb, nb, fb), pr, sr, expected))
        elif op == "mul":
            sr = sa + sb
            pr = sr + (pa - sa) + (pb - sb)
            value = va * vb
            expected = packed_hex(value, pr, sr, True, value < 0)
            lines.append("mul %s %s %d %d %s" % (operand_text(a, pa, sa, na, fa),
                                                  operand_text(b, pb, sb, nb, fb), pr, sr, expected))
        else:
            if vb == 0:
                continue
            # The value class's shape: q = sb + integer digits of a, at most 31.
            q = min(sb + max(pa - sa, 0), 31)
            pr, sr = q + 31, 31
            if rng.random() < 0.5:
                sr = rng.randint(0, 12)
                pr = min(72, q + sr + 1)
            d = sr + sb
            e = max(0, d + pa - sa - 62)
            dividend = int(truncate(abs(va), d - e).scaleb(d - e))
            divisor = int(abs(vb).scaleb(sb))
            # COBOL division truncates: the integer quotient, exactly.
            coefficient = (dividend // divisor) * 10 ** e
            value = Decimal(coefficient).scaleb(-sr)
            negative = (va < 0) != (vb < 0) and coefficient % (10 ** pr) != 0
            expected = packed_hex(value, pr, sr, True, negative)
            lines.append("div %s %s %d %d %s" % (operand_text(a, pa, sa, na, fa),
                                                  operand_text(b, pb, sb, nb, fb), pr, sr, expected))
    # Powers: small bases, integer exponents of both signs.
    for _ in range(60):
        a, pa, sa, na = random_operand(rng, 6)
        if a == 0:
            continue
        n = rng.randint(-6, 12)
        pr = 31
        coefficient = int(abs(a).scaleb(sa))
        if n >= 0:
            sr = min(sa * n, 31)
            power = coefficient ** n
            negative = na and n % 2 == 1 and power % (10 ** pr) != 0
            expected = packed_hex(Decimal(power), pr, 0, True, negative)
        else:
            sr = rng.randint(0, 20)
            power = coefficient ** (-n)
            # 1 / (power / 10^(sa*|n|)) with sr decimals, truncated.
            result = 10 ** (sa * -n + sr) // power
            negative = na and (-n) % 2 == 1 and result % (10 ** pr) != 0
            expected = packed_hex(Decimal(result), pr, 0, True, negative)
        b = Decimal(n)
        pb = len(str(abs(n)))
        lines.append("pow %s %s %d %d %s" % (operand_text(a, pa, sa, na, 1),
                                              operand_text(b, pb, 0, n < 0, 1), pr, sr, expected))
    return lines


def cobol_picture(p, s):
    integer = p - s
    picture = "S"
    picture += "9(%d)" % integer if integer > 0 else ""
    picture += "V9(%d)" % s if s > 0 else ""
    if integer == 0 and s == 0:
        picture += "9"
    return picture + " COMP-3"


def cobol_literal(value):
    return format(value, "f")


def cobol_cases(rng):
    """COMPUTE cases: (op, a, b, result p, result s, rounded)."""
    cases = []
    while len(cases) < 240:
        a, pa, sa, na = random_operand(rng, 18)
        b, pb, sb, nb = random_operand(rng, 18)
        op = ["add", "sub", "mul", "div"][len(cases) % 4]
        rounded = rng.random() < 0.5 and op != "div"
        if op in ("add", "sub"):
            exact_s = max(sa, sb)
            integer = max(pa - sa, pb - sb) + 1
        elif op == "mul":
            exact_s = sa + sb
            integer = (pa - sa) + (pb - sb)
        else:
            if b == 0:
                continue
            exact_s = None
            integer = (pa - sa) + sb
        if op == "div":
            sr = rng.randint(0, max(0, min(12, 33 - integer)))
        else:
            sr = rng.randint(0, exact_s)
        pr = max(integer + sr, 1)
        if pr > 36:
            continue
        cases.append((op, (a, pa, sa, na), (b, pb, sb, nb), pr, sr, rounded))
    return cases


def run_cobol(cases):
    body = []
    storage = []
    for i, (op, a, b, pr, sr, rounded) in enumerate(cases):
        storage.append("       01 A%d PIC %s VALUE %s." % (i, cobol_picture(a[1], a[2]), cobol_literal(a[0])))
        storage.append("       01 B%d PIC %s VALUE %s." % (i, cobol_picture(b[1], b[2]), cobol_literal(b[0])))
        storage.append("       01 R%d PIC %s." % (i, cobol_picture(pr, sr)))
        symbol = {"add": "+", "sub": "-", "mul": "*", "div": "/"}[op]
        body.append("           COMPUTE R%d%s = A%d %s B%d." % (i, " ROUNDED" if rounded else "", i, symbol, i))
        body.append("           DISPLAY R%d." % i)
    source = "\n".join(["       IDENTIFICATION DIVISION.", "       PROGRAM-ID. ORACLE.",
                        "       DATA DIVISION.", "       WORKING-STORAGE SECTION."] + storage +
                       ["       PROCEDURE DIVISION."] + body + ["           STOP RUN.", ""])
    with tempfile.TemporaryDirectory() as work:
        path = os.path.join(work, "oracle.cob")
        with open(path, "w") as f:
            f.write(source)
        program = os.path.join(work, "oracle")
        subprocess.run(["cobc", "-x", "-o", program, path], check=True)
        out = subprocess.run([program], check=True, capture_output=True, text=True).stdout
    return out.split()


def normal_text(text):
    value = Decimal(text)
    if value == 0:
        value = abs(value)
    return format(value, "f")


def main():
    rng = random.Random(20261210)
    lines = ["# op a(hex p s flag) b(hex p s flag) pr sr expected-hex",
             "# Python decimal: exact sums, differences, products and integer powers;",
             "# quotients and reciprocals truncated, exact in every digit kept."]
    lines += oracle_cases(rng)
    with open(os.path.join(HERE, "packed_decimal_oracle.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")
    if "--cobol" in sys.argv:
        cases = cobol_cases(rng)
        results = run_cobol(cases)
        assert len(results) == len(cases), (len(results), len(cases))
        out = ["# op a(hex p s) b(hex p s) result-p result-s rounded expected-value",
               "# GnuCOBOL COMPUTE into PIC S9(p-s)V9(s) COMP-3, truncated or ROUNDED."]
        for (op, a, b, pr, sr, rounded), text in zip(cases, results):
            out.append("%s %s %d %d %s %d %d %d %d %d %s" % (
                op, packed_hex(a[0], a[1], a[2], True, a[3]), a[1], a[2],
                packed_hex(b[0], b[1], b[2], True, b[3]), b[1], b[2], pr, sr, int(rounded),
                normal_text(text)))
        with open(os.path.join(HERE, "packed_decimal_cobol.txt"), "w") as f:
            f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
