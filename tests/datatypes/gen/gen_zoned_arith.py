#!/usr/bin/env python3
"""Generates the zoned decimal arithmetic cases of ZonedArithmeticCases.inc.

Operands are signed zoned numbers with the sign in the zone of the last digit
(C plus, D minus). The result sizes follow the zoned value class: add and
subtract keep the larger scale and one more integer digit than the longer
operand, multiply keeps both scales; divide is asked for a small number of
decimals. Some add and subtract cases get too few result digits, so that the
high-order digits are cut off.

Every result is computed twice, independently:
  * with Python's decimal module (exact arithmetic, then truncation to the
    result's digits, as the routines do);
  * with GnuCOBOL: one program runs COMPUTE for every case into a result
    item of the same picture (no ROUNDED, no SIZE ERROR: truncation at both
    ends) and DISPLAYs it with a separate leading sign.
The two must agree on every value; the script stops otherwise. Zero results
carry the sign the routines give them (the sign of the case's row for add and
subtract, the rule of signs for multiply and divide, as in Python's decimal, a
negative zero operand taken as positive),
which COBOL does not show.

Usage: gen_zoned_arith.py > ../ZonedArithmeticCases.inc
"""
import decimal
import os
import random
import subprocess
import sys
import tempfile

from decimal import Decimal

decimal.getcontext().prec = 200
rng = random.Random(20261210)


def rand_operand(max_p):
    p = rng.randint(1, max_p)
    s = rng.randint(0, min(p, 6))
    digits = [rng.randint(0, 9) for _ in range(p)]
    if rng.random() < 0.15:  # leading zeros
        for i in range(rng.randint(0, p - 1)):
            digits[i] = 0
    if rng.random() < 0.05:
        digits = [0] * p
    negative = rng.random() < 0.5
    return p, s, digits, negative


def value_of(p, s, digits, negative):
    v = Decimal(int(''.join(map(str, digits)))).scaleb(-s)
    return -v if negative else v


def zoned_hex(digits, negative):
    b = [0xF0 | d for d in digits]
    b[-1] = (b[-1] & 0x0F) | (0xD0 if negative else 0xC0)
    return ''.join('%02X' % x for x in b)


def truncate(v, pr, sr):
    """Digits of abs(v) cut to pr digits with sr decimals (no rounding)."""
    units = int((abs(v) * (Decimal(10) ** sr)).to_integral_value(rounding=decimal.ROUND_DOWN))
    units %= 10 ** pr
    return [int(c) for c in str(units).rjust(pr, '0')]


def addsub_sign(op, a_neg, b_neg, a_abs, b_abs):
    """Sign of the routine's result, by the decision tables of add and subtract."""
    if op == 'add':
        if a_neg == b_neg:
            return a_neg
        if not a_neg:
            return not (a_abs >= b_abs)
        return not (a_abs < b_abs)
    a_pos, b_pos = not a_neg, not b_neg
    if a_pos and b_pos:
        return not (a_abs >= b_abs)
    if a_pos:
        return False
    if b_pos:
        return True
    return not (a_abs < b_abs)


def make_cases():
    cases = []
    for i in range(300):
        op = ['add', 'sub', 'mul', 'div'][i % 4]
        a = rand_operand(15)
        b = rand_operand(15)
        pa, sa, _, _ = a
        pb, sb, _, _ = b
        ia, ib = pa - sa, pb - sb
        if op in ('add', 'sub'):
            sr = max(sa, sb)
            pr = max(ia, ib) + 1 + sr
            if rng.random() < 0.2:
                pr = max(sr, pr - rng.randint(1, 3), 1)
        elif op == 'mul':
            sr = sa + sb
            pr = sr + ia + ib
            if pr == 0:
                pr = 1
        else:
            if all(d == 0 for d in b[2]):
                b = (pb, sb, [0] * (pb - 1) + [rng.randint(1, 9)], b[3])
            sr = rng.randint(0, 6)
            pr = ia + sb + sr
            if pr == 0:
                pr = 1
        cases.append((op, a, b, pr, sr))
    return cases


def python_result(op, a, b, pr, sr):
    va, vb = value_of(*a), value_of(*b)
    if op == 'add':
        v = va + vb
    elif op == 'sub':
        v = va - vb
    elif op == 'mul':
        v = va * vb
    else:
        # COBOL division truncates: the exact quotient cut to sr decimals
        # (a wide context that rounds down never raises a kept digit).
        ctx = decimal.Context(prec=400, rounding=decimal.ROUND_DOWN)
        v = ctx.divide(va, vb)
    digits = truncate(v, pr, sr)
    if op in ('add', 'sub'):
        negative = addsub_sign(op, a[3], b[3], abs(va), abs(vb))
    else:
        # Products and quotients follow the rule of signs, as Python's
        # decimal does, a zero (or a quotient truncated to zero) included; a
        # negative zero operand counts as positive, as the routines re-digit
        # it.
        negative = (a[3] and va != 0) != (b[3] and vb != 0)
    return digits, negative


def pic(p, s):
    i = p - s
    text = 'S'
    if i:
        text += '9(%d)' % i
    if s:
        text += 'V9(%d)' % s
    return text


def literal(p, s, digits, negative):
    text = ''.join(map(str, digits))
    i = p - s
    text = (text[:i] or '0') + ('.' + text[i:] if s else '')
    return ('-' if negative else '') + text


def cobol_results(cases):
    lines = ['IDENTIFICATION DIVISION.', 'PROGRAM-ID. ZARITH.', 'DATA DIVISION.',
             'WORKING-STORAGE SECTION.']
    for n, (op, a, b, pr, sr) in enumerate(cases):
        lines.append('01 A%d PIC %s VALUE %s.' % (n, pic(a[0], a[1]), literal(*a)))
        lines.append('01 B%d PIC %s VALUE %s.' % (n, pic(b[0], b[1]), literal(*b)))
        lines.append('01 R%d PIC %s SIGN LEADING SEPARATE.' % (n, pic(pr, sr)))
    lines.append('PROCEDURE DIVISION.')
    sym = {'add': '+', 'sub': '-', 'mul': '*', 'div': '/'}
    for n, (op, a, b, pr, sr) in enumerate(cases):
        lines.append('    COMPUTE R%d = A%d %s B%d' % (n, n, sym[op], n))
        lines.append('    DISPLAY R%d' % n)
    lines.append('    STOP RUN.')
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, 'zarith.cob')
        exe = os.path.join(tmp, 'zarith')
        with open(src, 'w') as f:
            f.write('\n'.join(lines) + '\n')
        subprocess.run(['cobc', '-x', '-free', '-o', exe, src], check=True)
        out = subprocess.run([exe], check=True, capture_output=True, text=True).stdout
    return out.split()


def main():
    cases = make_cases()
    cobol = cobol_results(cases)
    assert len(cobol) == len(cases)
    rows = []
    for (op, a, b, pr, sr), shown in zip(cases, cobol):
        digits, negative = python_result(op, a, b, pr, sr)
        cobol_digits = [int(c) for c in shown[1:] if c != '.']
        if cobol_digits != digits:
            sys.exit('oracles disagree: %s %s %s pr=%d sr=%d: python %s cobol %s'
                     % (op, literal(*a), literal(*b), pr, sr, digits, shown))
        if any(digits) and (shown[0] == '-') != negative:
            sys.exit('sign disagrees: %s %s %s: %s' % (op, literal(*a), literal(*b), shown))
        rows.append('    {"%s", "%s", %d, %d, "%s", %d, %d, %d, %d, "%s"},  // %s %s'
                    % (op, zoned_hex(a[2], a[3]), a[0], a[1], zoned_hex(b[2], b[3]), b[0], b[1], pr, sr,
                       zoned_hex(digits, negative), literal(*a), literal(*b)))
    print('// Generated by tests/datatypes/gen/gen_zoned_arith.py; do not edit.')
    print('// op, a (hex), pa, sa, b (hex), pb, sb, pr, sr, expected result (hex), kind 3')
    print('\n'.join(rows))


if __name__ == '__main__':
    main()
