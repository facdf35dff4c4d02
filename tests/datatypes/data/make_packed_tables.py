#!/usr/bin/env python3
"""Generates the frozen oracle tables of the packed decimal arithmetic tests.

packed_decimal_oracle.txt: the routines' own arithmetic computed with Python's
decimal module (exact sums, differences and products; quotients truncated,
exact in every digit kept; integer powers truncated to the result's decimals,
none when that needs more than max(pr, 31) digits). Products, quotients and
powers carry the sign Python's decimal gives them, a zero's included; a
negative zero operand is taken as a positive zero, as the routines re-digit it.

packed_decimal_cobol.txt: COBOL COMPUTE results of GnuCOBOL (cobc), with
truncation and with ROUNDED, for operands and results held as COMP-3; powers
with ON SIZE ERROR ("null" when the power does not fit its result). COBOL
shows no negative zero: the signs of zeros are only in the first table.

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


def signed_value(value, negative, flag):
    """The operand's value as the routines take it: negative (a zero too)
    when its flag is set and its sign nibble is D."""
    magnitude = abs(value)
    return magnitude.copy_negate() if flag and negative else magnitude


def factor_value(value, negative, flag):
    """An operand of a product, quotient or power as the routines take it:
    re-digited with its signed flag, a negative zero becomes a positive one."""
    return signed_value(value, negative and value != 0, flag)


def power_context():
    return decimal.Context(prec=400, rounding=decimal.ROUND_DOWN, Emax=decimal.MAX_EMAX,
                           Emin=decimal.MIN_EMIN, traps=[])


def power_result(base, n, pr, sr):
    """base ** n truncated to sr decimals, as packed hex of pr digits (its low
    digits), or "null": 0 ** 0, 0 to a negative power, or a value that needs
    more than max(pr, 31) digits."""
    if base == 0 and n <= 0:
        return "null"
    ctx = power_context()
    value = ctx.power(base, Decimal(n))
    if value.is_infinite() or ctx.flags[decimal.Overflow]:
        return "null"
    t = value.quantize(Decimal(1).scaleb(-sr), rounding=decimal.ROUND_DOWN, context=ctx)
    units = int(abs(t).scaleb(sr, context=ctx))
    if len(str(units)) > max(pr, 31) and units != 0:
        return "null"
    return packed_hex(Decimal(units), pr, 0, True, t.is_signed())


def quotient_result(va, vb, sb, pr, sr):
    """va / vb with sr decimals, truncated, of which pr digits are kept: the
    integer quotient of the dividend raised to scale sr + sb (never lowered)
    by the divisor's coefficient. The sign is Python's."""
    d = sr + sb
    dividend = int(truncate(abs(va), d).scaleb(d))
    divisor = int(abs(vb).scaleb(sb))
    value = Decimal(dividend // divisor).scaleb(-sr)
    sign = (va / vb).is_signed() if va != 0 else va.is_signed() != vb.is_signed()
    return packed_hex(value, pr, sr, True, sign)


def oracle_cases(rng):
    lines = []
    for _ in range(400):
        a, pa, sa, na = random_operand(rng)
        b, pb, sb, nb = random_operand(rng)
        fa = 0 if rng.random() < 0.15 else 1
        fb = 0 if rng.random() < 0.15 else 1
        va = signed_value(a, na, fa)
        vb = signed_value(b, nb, fb)
        fva = factor_value(a, na, fa)
        fvb = factor_value(b, nb, fb)
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
            value = fva * fvb
            expected = packed_hex(value, pr, sr, True, value.is_signed())
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
            # COBOL division truncates: the integer quotient, exactly.
            expected = quotient_result(fva, fvb, sb, pr, sr)
            lines.append("div %s %s %d %d %s" % (operand_text(a, pa, sa, na, fa),
                                                  operand_text(b, pb, sb, nb, fb), pr, sr, expected))
    # Powers: small bases, integer exponents of both signs.
    for _ in range(60):
        a, pa, sa, na = random_operand(rng, 6)
        if a == 0:
            continue
        n = rng.randint(-6, 12)
        pr = 31
        if n >= 0:
            sr = min(sa * n, 31)
        else:
            sr = rng.randint(0, 20)
        expected = power_result(signed_value(a, na, 1), n, pr, sr)
        b = Decimal(n)
        pb = len(str(abs(n)))
        lines.append("pow %s %s %d %d %s" % (operand_text(a, pa, sa, na, 1),
                                              operand_text(b, pb, 0, n < 0, 1), pr, sr, expected))
    return lines


def literal_operand(text, p, s, flag=1):
    """An operand written as a decimal text, in p digits and s decimals."""
    value = Decimal(text)
    return value, p, s, value.is_signed(), flag


def row(op, a, b, pr, sr):
    va = factor_value(a[0], a[3], a[4])
    vb = factor_value(b[0], b[3], b[4])
    if op == "mul":
        value = va * vb
        expected = packed_hex(value, pr, sr, True, value.is_signed())
    elif op == "div":
        expected = quotient_result(va, vb, b[2], pr, sr)
    else:
        expected = power_result(va, int(vb), pr, sr)
    return "%s %s %s %d %d %s" % (op, operand_text(a[0], a[1], a[2], a[3], a[4]),
                                  operand_text(b[0], b[1], b[2], b[3], b[4]), pr, sr, expected)


def sign_and_power_rows():
    """Named cases: the signs of zero products, quotients and powers, powers
    that fit their result or do not, the point of a power's decimals."""
    L = literal_operand
    cases = [
        # Zero products and quotients: the rule of signs; a negative zero
        # operand counts as a positive one.
        ("mul", L("-5", 1, 0), L("0", 1, 0), 2, 0),
        ("mul", L("0", 1, 0), L("-5", 1, 0), 2, 0),
        ("mul", L("-0", 1, 0), L("5", 1, 0), 2, 0),
        ("mul", L("-0", 1, 0), L("-5", 1, 0), 2, 0),
        ("mul", L("-5", 1, 0), L("-0", 1, 0), 2, 0),
        ("div", L("-1", 1, 0), L("3", 1, 0), 2, 0),
        ("div", L("1", 1, 0), L("-3", 1, 0), 2, 0),
        ("div", L("-1", 1, 0), L("-3", 1, 0), 2, 0),
        ("div", L("-0.003", 3, 3), L("3", 1, 0), 3, 2),
        ("div", L("-0.01", 2, 2), L("3", 1, 0), 3, 2),
        ("div", L("-0", 1, 0), L("3", 1, 0), 2, 0),
        ("div", L("0", 1, 0), L("-3", 1, 0), 2, 0),
        ("pow", L("-0", 1, 0), L("2", 1, 0), 2, 0),
        ("pow", L("-0", 1, 0), L("3", 1, 0), 2, 0),
        ("pow", L("-2", 1, 0), L("3", 1, 0), 2, 0),
        ("pow", L("-2", 1, 0), L("0", 1, 0), 2, 0),
        ("pow", L("-0.1", 1, 1), L("3", 1, 0), 1, 0),
        ("pow", L("-0.1", 1, 1), L("3", 1, 0), 4, 3),
        ("pow", L("-0.1", 1, 1), L("-3", 1, 0), 3, 0),
        ("pow", L("-0.1", 1, 1), L("-3", 1, 0), 5, 0),
        # Powers that fit max(pr, 31) digits, and powers that do not.
        ("pow", L("10", 2, 0), L("30", 2, 0), 31, 0),
        ("pow", L("10", 2, 0), L("31", 2, 0), 31, 0),
        ("pow", L("92542770.2", 9, 1), L("6", 1, 0), 31, 0),
        ("pow", L("0.01", 2, 2), L("-20", 2, 0), 31, 0),
        ("pow", L("0.01", 2, 2), L("-15", 2, 0), 31, 0),
        ("pow", L("0.1", 1, 1), L("-100", 3, 0), 72, 72),
        ("pow", L("0.1", 1, 1), L("-71", 2, 0), 72, 0),
        ("pow", L("0.1", 1, 1), L("-72", 2, 0), 72, 0),
        ("pow", L("0.5", 1, 1), L("-3", 1, 0), 31, 0),
        ("pow", L("2", 1, 0), L("200", 3, 0), 9, 0),
        ("pow", L("2", 1, 0), L("103", 3, 0), 31, 0),
        ("pow", L("2", 1, 0), L("102", 3, 0), 31, 0),
        ("pow", L("2", 1, 0), L("239", 3, 0), 72, 0),
        ("pow", L("2", 1, 0), L("240", 3, 0), 72, 0),
        ("pow", L("12", 2, 0), L("3", 1, 0), 2, 0),
        ("pow", L("12", 2, 0), L("3", 1, 0), 31, 0),
        # The point of a power: sr decimals, whatever the base's.
        ("pow", L("1.5", 2, 1), L("2", 1, 0), 31, 0),
        ("pow", L("1.5", 2, 1), L("2", 1, 0), 31, 1),
        ("pow", L("1.5", 2, 1), L("2", 1, 0), 31, 2),
        ("pow", L("1.5", 2, 1), L("2", 1, 0), 31, 4),
        ("pow", L("1.5", 2, 1), L("2", 1, 0), 3, 1),
        ("pow", L("0.5", 1, 1), L("200", 3, 0), 31, 31),
        ("pow", L("0.5", 1, 1), L("200", 3, 0), 31, 0),
        ("pow", L("-0.5", 1, 1), L("201", 3, 0), 31, 2),
        ("pow", L("1.01", 3, 2), L("500", 3, 0), 31, 10),
        ("pow", L("1.01", 3, 2), L("-500", 3, 0), 31, 20),
        ("pow", L("1.0000000001", 11, 10), L("10000000000", 11, 0), 31, 20),
        ("pow", L("1.0000000001", 11, 10), L("-10000000000", 11, 0), 31, 20),
        ("pow", L("2", 1, 0), L("10000000000000000000000", 23, 0), 31, 0),
        ("pow", L("0.5", 1, 1), L("10000000000000000000000", 23, 0), 31, 5),
        ("pow", L("-0.5", 1, 1), L("10000000000000000000001", 23, 0), 31, 5),
        ("pow", L("1.0", 2, 1), L("10000000000000000000000", 23, 0), 31, 5),
        ("pow", L("100", 3, 0), L("-2", 1, 0), 31, 3),
        ("pow", L("100", 3, 0), L("-2", 1, 0), 31, 4),
        ("pow", L("0", 1, 0), L("0", 1, 0), 5, 0),
        ("pow", L("0", 1, 0), L("-1", 1, 0), 5, 0),
        # Dividends of many integer digits keep every decimal.
        ("div", L("1" + "0" * 54, 55, 0), L("3", 1, 0), 72, 17),
        ("div", L("12345678901234567890123456789", 29, 0),
         L("98765432109876543210.12345", 25, 5), 62, 31),
    ]
    return [row(*case) for case in cases]


def long_dividend_rows(rng):
    """Quotients whose dividend has integer digits + sr + sb from 55 to 110:
    against Python's integer division."""
    lines = []
    for total in range(55, 111):
        while True:
            sb = rng.randint(0, 31)
            sr = rng.randint(0, min(72, total - sb))
            integer = total - sr - sb
            if 0 <= integer <= 72 and sr <= 72:
                break
        sa = rng.randint(0, min(31, 72 - integer))
        pa = max(integer + sa, 1)
        coefficient = rng.randint(10 ** (pa - 1), 10 ** pa - 1)
        a = Decimal(coefficient).scaleb(-sa)
        pb = rng.randint(max(sb, 1), 31)
        b = Decimal(rng.randint(1, 10 ** pb - 1)).scaleb(-sb)
        na, nb = rng.random() < 0.5, rng.random() < 0.5
        if na:
            a = -a
        if nb:
            b = -b
        pr = rng.randint(max(sr, 1), 72)
        lines.append(row("div", (a, pa, sa, na, 1), (b, pb, sb, nb, 1), pr, sr))
    return lines


def random_power_case(rng, max_digits, exponents, precisions, max_sr):
    """A non-zero base of up to max_digits digits, an integer exponent in the
    range exponents, a result precision from precisions, at most max_sr
    decimals."""
    while True:
        a, pa, sa, na = random_operand(rng, max_digits)
        if a != 0:
            break
    n = rng.randint(*exponents)
    pr = rng.choice(precisions)
    sr = rng.randint(0, min(pr, max_sr))
    return (a, pa, sa, na), (Decimal(n), len(str(abs(n))), 0, n < 0), pr, sr


def random_power_rows(rng):
    """Integer powers with decimals of their own: bases of up to 12 digits,
    exponents of both signs, results of 5 to 72 digits."""
    lines = []
    for _ in range(120):
        a, b, pr, sr = random_power_case(rng, 12, (-12, 24), [5, 18, 31, 31, 31, 40, 72], 31)
        lines.append(row("pow", a + (1,), b + (1,), pr, sr))
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
        symbol = {"add": "+", "sub": "-", "mul": "*", "div": "/", "pow": "**"}[op]
        if op == "pow":
            # A power that does not fit its result has none.
            body.append("           COMPUTE R%d = A%d ** B%d" % (i, i, i))
            body.append("               ON SIZE ERROR DISPLAY \"null\"")
            body.append("               NOT ON SIZE ERROR DISPLAY R%d" % i)
            body.append("           END-COMPUTE.")
            continue
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


def cobol_power_cases(rng):
    """COMPUTE A ** B into results of 31 digits and more (below 31 the
    routine keeps a power's low digits where COBOL reports a size error):
    integer exponents of both signs, results with decimals of their own."""
    cases = []
    for _ in range(100):
        a, b, pr, sr = random_power_case(rng, 9, (-8, 16), [31, 31, 31, 34], 20)
        cases.append(("pow", a, b, pr, sr, False))
    return cases


def python_power_text(case):
    """The truncated power of a COBOL case as its value text, or "null"."""
    op, a, b, pr, sr, rounded = case
    expected = power_result(a[0], int(b[0]), pr, sr)
    if expected == "null":
        return expected
    units = int(expected[:-1])
    return normal_text(str(Decimal(units).scaleb(-sr) * (-1 if expected[-1] == "D" else 1)))


def normal_text(text):
    if text == "null":
        return text
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
    more = random.Random(20261211)
    lines += sign_and_power_rows()
    lines += long_dividend_rows(more)
    lines += random_power_rows(more)
    with open(os.path.join(HERE, "packed_decimal_oracle.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")
    if "--cobol" in sys.argv:
        cases = cobol_cases(rng)
        powers = cobol_power_cases(random.Random(20261212))
        cases += powers
        results = run_cobol(cases)
        assert len(results) == len(cases), (len(results), len(cases))
        for case, text in zip(powers, results[-len(powers):]):
            if python_power_text(case) != normal_text(text):
                sys.exit("oracles disagree: %s: python %s cobol %s" % (case, python_power_text(case), text))
        out = ["# op a(hex p s) b(hex p s) result-p result-s rounded expected-value",
               "# GnuCOBOL COMPUTE into PIC S9(p-s)V9(s) COMP-3, truncated or ROUNDED;",
               "# powers ON SIZE ERROR (null), checked against Python's decimal."]
        for (op, a, b, pr, sr, rounded), text in zip(cases, results):
            out.append("%s %s %d %d %s %d %d %d %d %d %s" % (
                op, packed_hex(a[0], a[1], a[2], True, a[3]), a[1], a[2],
                packed_hex(b[0], b[1], b[2], True, b[3]), b[1], b[2], pr, sr, int(rounded),
                normal_text(text)))
        with open(os.path.join(HERE, "packed_decimal_cobol.txt"), "w") as f:
            f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
