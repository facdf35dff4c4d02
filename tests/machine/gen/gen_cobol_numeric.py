#!/usr/bin/env python3
"""Generates tests/machine/data/cobol_numeric.txt: the values the COBOL
numeric stack items must give for arithmetic on literals and for MOVE into
packed, zoned and national decimal pictures.

Two kinds of line, fields separated by blanks:

  ARITH LK RK OP LEFT RIGHT RESULT
    LK, RK   P, Z or N: the kind the literal is loaded as (packed, zoned,
             national decimal; the item's type has exactly the literal's
             digits and decimal places)
    OP       add, sub, mul, div, cmp
    RESULT   the value after LEFT OP RIGHT, computed with Python's decimal
             (exact for add, sub and mul; div keeps 31 decimal places,
             truncated; cmp gives -1, 0 or 1); ERR:3 for a zero divisor.
             The text is the plain decimal form without needless zeros.

  BINARY OP LDIGITS LSCALE LVALUE RDIGITS RSCALE RVALUE RESULT
    two signed binary items (length 2, 4 or 8 by the digit count) holding
    the integers LVALUE and RVALUE at their scales (value * 10 ** scale);
    OP add, sub, mul or cmp; RESULT from Python's decimal as for ARITH

  MOVE SK LITERAL TK DIGITS PLACES SIGNED SIGN RESULT
    SK       kind the literal is loaded as
    TK       P, Z, N or B: the target picture's kind (B: binary, COMP in
             cobc, 2, 4 or 8 bytes by the digit count; only literals whose
             integer part fits the picture)
    DIGITS, PLACES   the picture's digit count and decimal places
    SIGNED   1 for an S picture
    SIGN     the sign kind of the zoned and national record (1 none,
             2 leading embedded, 3 trailing embedded, 4 leading separate,
             5 trailing separate; packed rows 0)
    RESULT   the scaled integer the target holds afterwards: an optional
             '-' and DIGITS digits. Taken from GnuCOBOL: cobc compiles a
             program that MOVEs each literal into a field of the picture
             (COMP-3 for P, DISPLAY with the SIGN clause for Z) and DISPLAYs
             it. National targets take the result of the zoned picture of
             the same shape: the MOVE rules depend on digits, places and
             sign, not on usage.

Run: python3 gen_cobol_numeric.py > ../data/cobol_numeric.txt
(needs cobc on the PATH)
"""
import os
import random
import subprocess
import tempfile
from decimal import Decimal, localcontext, ROUND_DOWN

random.seed(2611)

KINDS = 'PZN'


def plain(d):
    """Decimal as plain text without needless zeros ("-0" becomes "0")."""
    if d == 0:
        return '0'
    t = format(d, 'f')
    if '.' in t:
        t = t.rstrip('0').rstrip('.')
    return t


def literal(int_digits, places, negative):
    ip = ''.join(random.choice('0123456789') for _ in range(int_digits)) or ''
    fp = ''.join(random.choice('0123456789') for _ in range(places))
    if not ip:
        ip = '0'
    t = ip + ('.' + fp if places else '')
    return ('-' if negative else '') + t


def exact(op, x, y):
    """The exact result text of add, sub or mul, or -1, 0, 1 for cmp."""
    if op == 'add':
        return plain(x + y)
    if op == 'sub':
        return plain(x - y)
    if op == 'mul':
        return plain(x * y)
    return str((x > y) - (x < y))


def arith_rows():
    fixed = ['0', '1', '-1', '12.5', '-0.75', '999', '0.001', '123456789012345', '-98765.4321', '7', '-3']
    values = list(fixed)
    for _ in range(30):
        values.append(literal(random.randint(0, 9), random.randint(0, 5), random.random() < 0.4))
    rows = []
    with localcontext() as ctx:
        ctx.prec = 200
        for _ in range(260):
            lk, rk = random.choice(KINDS), random.choice(KINDS)
            op = random.choice(['add', 'sub', 'mul', 'div', 'cmp'])
            a, b = random.choice(values), random.choice(values)
            x, y = Decimal(a), Decimal(b)
            if op == 'div':
                r = 'ERR:3' if y == 0 else plain((x / y).quantize(Decimal(1).scaleb(-31), rounding=ROUND_DOWN))
            else:
                r = exact(op, x, y)
            rows.append(f'ARITH {lk} {rk} {op} {a} {b} {r}')
    return rows


def binary_rows():
    rows = []
    with localcontext() as ctx:
        ctx.prec = 60
        for _ in range(120):
            op = random.choice(['add', 'sub', 'mul', 'cmp'])
            sides = []
            for _side in range(2):
                digits = random.randint(1, 9)
                scale = random.randint(-4, 0)
                value = random.randint(-(10 ** digits - 1), 10 ** digits - 1)
                if random.random() < 0.1:
                    value = 0
                sides.append((digits, scale, value))
            (ld, ls, lv), (rd, rs, rv) = sides
            r = exact(op, Decimal(lv).scaleb(ls), Decimal(rv).scaleb(rs))
            rows.append(f'BINARY {op} {ld} {ls} {lv} {rd} {rs} {rv} {r}')
    return rows


TARGETS = [
    # kind, digits, places, signed, sign kind
    ('P', 5, 2, 1, 0), ('P', 5, 2, 0, 0), ('P', 4, 0, 1, 0), ('P', 7, 3, 1, 0), ('P', 2, 2, 0, 0),
    ('P', 18, 4, 1, 0),
    ('Z', 5, 2, 1, 3), ('Z', 5, 2, 1, 2), ('Z', 4, 1, 1, 4), ('Z', 4, 1, 1, 5), ('Z', 3, 0, 0, 1),
    ('Z', 6, 3, 1, 3),
    ('N', 5, 2, 1, 4), ('N', 5, 2, 1, 5), ('N', 4, 0, 0, 1),
    ('B', 9, 3, 1, 0), ('B', 4, 1, 0, 0), ('B', 18, 6, 1, 0),
]

SOURCES = ['0', '1', '-1', '12.5', '-12.5', '12345.678', '-12345.678', '0.004', '-0.001', '99999', '-7.25',
           '123456789012.123456', '-0.5']

SIGN_CLAUSE = {1: '', 2: ' SIGN LEADING', 3: ' SIGN TRAILING', 4: ' SIGN LEADING SEPARATE',
               5: ' SIGN TRAILING SEPARATE'}


def picture(digits, places, signed):
    p = ('S' if signed else '') + f'9({digits - places})'
    if places:
        p += f'V9({places})' if digits - places else ''
        if digits == places:
            p = ('S' if signed else '') + f'V9({places})'
    return p


def move_rows():
    fields = []
    for i, (kind, digits, places, signed, sign) in enumerate(TARGETS):
        pic = picture(digits, places, signed)
        if kind == 'P':
            clause = ' COMP-3'
        elif kind == 'B':
            clause = ' COMP'
        else:
            clause = SIGN_CLAUSE[sign] if signed else ''
        fields.append(f'       01 T{i} PIC {pic}{clause}.')
    moves = []
    cases = []
    for s in SOURCES:
        for i, t in enumerate(TARGETS):
            # Binary targets take only what fits their digits: the machine
            # keeps the binary's width, not its picture.
            if t[0] == 'B' and abs(Decimal(s)) >= Decimal(10) ** (t[1] - t[2]):
                continue
            moves.append(f'           MOVE {s} TO T{i}')
            moves.append(f'           DISPLAY T{i}')
            cases.append((s, t))
    program = '\n'.join([
        '       IDENTIFICATION DIVISION.',
        '       PROGRAM-ID. MOVES.',
        '       DATA DIVISION.',
        '       WORKING-STORAGE SECTION.',
        *fields,
        '       PROCEDURE DIVISION.',
        *moves,
        '           STOP RUN.',
        '',
    ])
    with tempfile.TemporaryDirectory() as d:
        src = os.path.join(d, 'moves.cob')
        exe = os.path.join(d, 'moves')
        with open(src, 'w') as f:
            f.write(program)
        subprocess.run(['cobc', '-x', '-o', exe, src], check=True)
        out = subprocess.run([exe], check=True, capture_output=True, text=True).stdout.split('\n')
    rows = []
    for n, (s, (kind, digits, places, signed, sign)) in enumerate(cases):
        shown = out[n].strip()
        negative = '-' in shown
        scaled = shown.strip('+-').replace('.', '')
        assert len(scaled) == digits and scaled.isdigit(), (s, kind, digits, places, shown)
        if int(scaled) == 0:
            negative = False
        result = ('-' if negative else '') + scaled
        sk = KINDS[n % 3]
        rows.append(f'MOVE {sk} {s} {kind} {digits} {places} {signed} {sign} {result}')
    return rows


print('# Generated by tests/machine/gen/gen_cobol_numeric.py; do not edit.')
for row in arith_rows():
    print(row)
for row in binary_rows():
    print(row)
for row in move_rows():
    print(row)
