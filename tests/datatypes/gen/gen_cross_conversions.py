#!/usr/bin/env python3
"""Generates data/cross_conversions.txt: every decimal and binary data-item
class converted into every other, on a few values of each source shape
(positive, negative, zero, the largest value of the picture).

Two kinds of case:
  keep  the converting constructor that keeps the source's digits and
        scale (packed from zoned, binary from national, index from packed...);
  move  a COBOL MOVE into a target picture of another class: the source is
        converted into the target's class, then moved into the picture.

Expected results are computed here with Python's decimal module (exact
values, truncation at both ends for a MOVE, no negative zero, unsigned
targets hold the magnitude) and encoded into the target's storage form. The
values of every MOVE are also checked against GnuCOBOL: one program MOVEs
each source value into a target of the same picture and DISPLAYs it; the two
must agree or the script stops.

Line format (blank-separated fields; # starts a comment):
  keep SOURCE TARGETCLASS EXPECTED
  move SOURCE TARGET EXPECTED
SOURCE  class:p:d:kind:signed:len:hex   (binary: d is the scale, hex the
                                          64-bit value; P/Z/N: d decimals)
TARGET  class:p:d:kind:signed:len
EXPECTED for P, Z, N: hex:p:d:kind:signed:len
         for B: value:p:scale:signed:len   (value as 16 hex digits)
         for I (index name), X (index data item): value:len
Classes: P packed, Z zoned, N national, B binary, I index name, X index data
item.

Usage: gen_cross_conversions.py > ../data/cross_conversions.txt
"""
import os
import subprocess
import sys
import tempfile
from decimal import Decimal, ROUND_DOWN

# ----------------------------------------------------------------- encodings


def digits_of(magnitude, p, d):
    """The p digits of a non-negative Decimal with d decimals (high digits cut)."""
    n = int((magnitude * (Decimal(10) ** d)).to_integral_value(rounding=ROUND_DOWN))
    n %= 10 ** p
    return str(n).rjust(p, '0')


def packed_hex(digits, sign_nibble):
    nibbles = ('0' if len(digits) % 2 == 0 else '') + digits + sign_nibble
    return nibbles.upper()


def zoned_hex(digits, sign, kind, signed):
    """sign: -1, 0 or +1 as the item carries it."""
    body = ['F' + c for c in digits]
    if signed and kind in (2, 3):
        zone = 'D' if sign < 0 else 'C'
        i = 0 if kind == 2 else len(body) - 1
        body[i] = zone + body[i][1]
    text = ''.join(body)
    if signed and kind == 4:
        text = ('60' if sign < 0 else '4E') + text
    if signed and kind == 5:
        text = text + ('60' if sign < 0 else '4E')
    return text


def national_hex(digits, sign, kind, signed):
    units = ['00%02X' % ord(c) for c in digits]
    if signed and kind in (4, 5):
        unit = '002D' if sign < 0 else '002B'
        units = [unit] + units if kind == 4 else units + [unit]
    return ''.join(units)


def zoned_len(p, kind, signed):
    return p + (1 if kind in (4, 5) else 0)


def national_len(p, signed):
    return 2 * p + (2 if signed else 0)


def binary_len(p):
    return 2 if p <= 4 else 4 if p <= 9 else 8


def u64(n):
    return '%016X' % (n % (1 << 64))


# ----------------------------------------------------------------- sources

class Source:
    def __init__(self, cls, p, d, kind, signed, length, value):
        self.cls, self.p, self.d, self.kind, self.signed, self.length = cls, p, d, kind, signed, length
        self.value = value  # exact Decimal

    def hex(self):
        v = self.value
        sign = -1 if v < 0 else 1
        if self.cls == 'B':
            n = int(v / (Decimal(10) ** self.d))
            return u64(n)
        digits = digits_of(abs(v), self.p, self.d)
        if self.cls == 'P':
            return packed_hex(digits, ('D' if sign < 0 else 'C') if self.signed else 'F')
        if self.cls == 'Z':
            return zoned_hex(digits, sign, self.kind, self.signed)
        return national_hex(digits, sign, self.kind, self.signed)

    def spec(self):
        return '%s:%d:%d:%d:%d:%d:%s' % (self.cls, self.p, self.d, self.kind, int(self.signed), self.length,
                                         self.hex())

    # the digits as an integer (scale ignored) and the source's decimals
    def integer(self):
        if self.cls == 'B':
            return int(self.value / (Decimal(10) ** self.d))
        n = int(abs(self.value) * (Decimal(10) ** self.d))
        return -n if self.value < 0 else n

    def decimals(self):
        if self.cls == 'B':
            return -self.d if self.d < 0 else 0
        return self.d

    def scale(self):
        return self.d if self.cls == 'B' else -self.d


def largest(p, d):
    return Decimal(10 ** p - 1) / (Decimal(10) ** d)


def values(p, d, signed, middle):
    m = largest(p, d)
    vs = [m, Decimal(0), Decimal(middle)]
    if signed:
        vs += [-m, -Decimal(middle)]
    return vs


def sources():
    out = []
    decimal_shapes = [
        # class, p, d, kind, signed, middle value
        ('P', 5, 2, 0, True, '123.45'),
        ('P', 3, 0, 0, False, '7'),
        ('P', 18, 4, 0, True, '12345678901234.5678'),
        ('Z', 5, 2, 2, True, '123.45'),
        ('Z', 5, 2, 3, True, '-0.05'),
        ('Z', 5, 2, 4, True, '1.5'),
        ('Z', 5, 2, 5, True, '40.01'),
        ('Z', 3, 0, 0, False, '42'),
        ('N', 5, 2, 4, True, '123.45'),
        ('N', 5, 2, 5, True, '0.07'),
        ('N', 3, 0, 0, False, '42'),
    ]
    for cls, p, d, kind, signed, middle in decimal_shapes:
        if cls == 'P':
            length = p // 2 + 1
        elif cls == 'Z':
            length = zoned_len(p, kind, signed)
        else:
            length = national_len(p, signed)
        for v in values(p, d, signed, middle):
            out.append(Source(cls, p, d, kind, signed, length, v))
    binary_shapes = [
        # length, p, scale, signed, middle integer
        (2, 4, -2, True, 1234),
        (4, 9, -2, False, 12345),
        (8, 18, 0, True, 123456789012345678),
    ]
    for length, p, scale, signed, middle in binary_shapes:
        ints = [10 ** p - 1, 0, middle] + ([-(10 ** p - 1), -middle] if signed else [])
        for n in ints:
            out.append(Source('B', p, scale, 0, signed, length, Decimal(n) * (Decimal(10) ** scale)))
    return out


# ----------------------------------------------------------------- keep


def keep_expected(src, target):
    v = src.value
    neg = v < 0
    p, d = src.p, src.decimals()
    if src.cls == 'B' and target in ('P', 'Z'):
        p = {2: 5, 4: 10, 8: 19 if src.signed else 20}[src.length]
    if target == 'P':
        if src.cls == 'B':
            digits = str(abs(src.integer()) % 10 ** p).rjust(p, '0')
        else:
            digits = digits_of(abs(v), p, d)
        sign = ('D' if neg else 'C') if src.signed else 'F'
        return '%s:%d:%d:%d:%d:%d' % (packed_hex(digits, sign), p, d, 0, 1, p // 2 + 1)
    if target == 'Z':
        if src.cls == 'B':
            digits = str(abs(src.integer()) % 10 ** p).rjust(p, '0')
            # An unsigned binary is written with the plus zone.
            text = zoned_hex(digits, -1 if neg else 1, 3, True)
        else:
            digits = digits_of(abs(v), p, d)
            text = zoned_hex(digits, -1 if neg else 1, 3, True) if src.signed else 'F'.join([''] + list(digits))
        return '%s:%d:%d:%d:%d:%d' % (text, p, d, 3, 1, p)
    if target == 'N':
        if src.cls == 'B':
            digits = str(abs(src.integer()) % 10 ** p).rjust(p, '0')
        else:
            digits = digits_of(abs(v), p, d)
        return '%s:%d:%d:%d:%d:%d' % (national_hex(digits, -1 if (neg and src.signed) else 1, 5, True), p, d, 5,
                                       1, national_len(p, True))
    if target == 'B':
        n = src.integer()
        if src.cls == 'Z':
            signed = src.signed  # a zoned value with a sign position
        else:
            signed = n < 0
        return '%s:%d:%d:%d:%d' % (u64(n), src.p, src.scale(), int(signed), binary_len(src.p))
    if target == 'I':
        n = src.integer()
        if src.cls == 'Z':
            n = abs(n)
        return '%s:%d' % (u64(n), binary_len(src.p))
    if target == 'X':
        n = abs(src.integer()) if src.cls == 'Z' else src.integer()
        return '%s:%d' % (u64(n), binary_len(src.p))
    raise ValueError(target)


KEEP_TARGETS = {
    'P': ['Z', 'N', 'B', 'I', 'X'],
    'Z': ['P', 'N', 'B', 'I', 'X'],
    'N': ['P', 'Z', 'B', 'I'],
    'B': ['P', 'Z', 'N', 'I'],
}

# ----------------------------------------------------------------- move

MOVE_TARGETS = [
    # class, p, d, kind, signed
    ('P', 3, 1, 0, True),
    ('P', 4, 0, 0, False),
    ('P', 7, 3, 0, True),
    ('Z', 3, 1, 3, True),
    ('Z', 4, 0, 0, False),
    ('Z', 7, 3, 4, True),
    ('Z', 7, 3, 5, True),
    ('Z', 3, 1, 2, True),
    ('N', 3, 1, 5, True),
    ('N', 4, 0, 0, False),
    ('N', 7, 3, 4, True),
    ('B', 3, 1, 0, True),
    ('B', 4, 0, 0, False),
    ('B', 9, 3, 0, True),
]


def target_len(cls, p, kind, signed):
    if cls == 'P':
        return p // 2 + 1
    if cls == 'Z':
        return zoned_len(p, kind, signed)
    if cls == 'N':
        return national_len(p, signed)
    return binary_len(p)


def moved(value, p, d, signed):
    """COBOL MOVE: truncation at both ends; unsigned keeps the magnitude."""
    mag = abs(value)
    n = int((mag * (Decimal(10) ** d)).to_integral_value(rounding=ROUND_DOWN)) % 10 ** p
    neg = signed and value < 0 and n != 0
    return n, neg


def move_expected(value, cls, p, d, kind, signed):
    n, neg = moved(value, p, d, signed)
    digits = str(n).rjust(p, '0')
    length = target_len(cls, p, kind, signed)
    if cls == 'P':
        text = packed_hex(digits, ('D' if neg else 'C') if signed else 'F')
    elif cls == 'Z':
        text = zoned_hex(digits, -1 if neg else 1, kind, signed)
    elif cls == 'N':
        text = national_hex(digits, -1 if neg else 1, kind, signed)
    else:
        return '%s:%d:%d:%d:%d' % (u64(-n if neg else n), p, -d, int(signed), length), n, neg
    return '%s:%d:%d:%d:%d:%d' % (text, p, d, kind, int(signed), length), n, neg


# ----------------------------------------------------------------- COBOL check


def pic(p, d, signed):
    i = p - d
    text = 'S' if signed else ''
    if i:
        text += '9(%d)' % i
    if d:
        text += 'V9(%d)' % d
    return text


def cobol_moves(moves):
    lines = ['IDENTIFICATION DIVISION.', 'PROGRAM-ID. XMOVES.', 'DATA DIVISION.', 'WORKING-STORAGE SECTION.']
    for n, (value, p, d, signed) in enumerate(moves):
        sp = max(len(str(abs(value)).split('.')[0]), 1)
        sd = max(-value.as_tuple().exponent, 0)
        lines.append('01 S%d PIC %s VALUE %s.' % (n, pic(sp + sd, sd, True), str(value)))
        lines.append('01 T%d PIC %s SIGN LEADING SEPARATE.' % (n, pic(p, d, True)) if signed
                     else '01 T%d PIC %s.' % (n, pic(p, d, False)))
    lines.append('PROCEDURE DIVISION.')
    for n in range(len(moves)):
        lines.append('    MOVE S%d TO T%d' % (n, n))
        lines.append('    DISPLAY T%d' % n)
    lines.append('    STOP RUN.')
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, 'xmoves.cob')
        exe = os.path.join(tmp, 'xmoves')
        with open(src, 'w') as f:
            f.write('\n'.join(lines) + '\n')
        subprocess.run(['cobc', '-x', '-free', '-o', exe, src], check=True)
        out = subprocess.run([exe], check=True, capture_output=True, text=True).stdout
    return out.split()


# ----------------------------------------------------------------- main


def main():
    rows = []
    moves = []
    for src in sources():
        for target in KEEP_TARGETS[src.cls]:
            rows.append('keep %s %s %s' % (src.spec(), target, keep_expected(src, target)))
        for cls, p, d, kind, signed in MOVE_TARGETS:
            expected, n, neg = move_expected(src.value, cls, p, d, kind, signed)
            moves.append((src.value, p, d, signed, n, neg))
            rows.append('move %s %s:%d:%d:%d:%d:%d %s' % (src.spec(), cls, p, d, kind, int(signed),
                                                         target_len(cls, p, kind, signed), expected))
    shown = cobol_moves([(v, p, d, s) for v, p, d, s, _, _ in moves])
    if len(shown) != len(moves):
        sys.exit('cobol gave %d results for %d moves' % (len(shown), len(moves)))
    for (v, p, d, signed, n, neg), text in zip(moves, shown):
        digits = int(text.lstrip('+-').replace('.', ''))
        cobol_neg = text.startswith('-') and digits != 0
        if digits != n or cobol_neg != neg:
            sys.exit('oracles disagree on MOVE %s to %s: python %d %s, cobol %s' % (v, pic(p, d, signed), n, neg, text))
    print('# Generated by tests/datatypes/gen/gen_cross_conversions.py; do not edit.')
    print('# %d cases; MOVE values checked against GnuCOBOL.' % len(rows))
    print('\n'.join(rows))


if __name__ == '__main__':
    main()
