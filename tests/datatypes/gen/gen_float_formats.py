#!/usr/bin/env python3
"""Generates tests/datatypes/data/float_formats.txt: stored-format cases for
the hexadecimal and 16-byte IEEE floating-point conversions, computed with an
exact rational model (fractions) independent of the C++ code.

Each line: kind, then fields separated by blanks.
  w<fmt> VALUE BYTES RESULT   writing the extended VALUE gives BYTES, RESULT 1/0
                              (or "refused" when the conversion is refused)
  r<fmt> BYTES VALUE          reading BYTES gives the extended VALUE
fmt: hex4, hex8, hex16, ieee16.
VALUE is a C hexadecimal floating literal (strtold reads it exactly), or
inf, -inf, nan, -nan; BYTES are big-endian hex digits.

Run: python3 gen_float_formats.py > ../data/float_formats.txt
"""
from fractions import Fraction as Q
import random

random.seed(20261210)

LD_MIN_EXP = -16382          # smallest normal exponent of 1.f * 2^e
LD_TRUE_MIN_EXP = -16445     # unit of the extended subnormals


def round_bits(q, bits, min_unit_exp=None):
    """q rounded to nearest (ties to even) with `bits` significant bits,
    units never finer than 2^min_unit_exp. Returns a Fraction."""
    if q == 0:
        return Q(0)
    sign = -1 if q < 0 else 1
    a = abs(q)
    e = a.numerator.bit_length() - a.denominator.bit_length()
    if Q(2) ** e > a:
        e -= 1
    # a in [2^e, 2^(e+1))
    unit_exp = e - bits + 1
    if min_unit_exp is not None and unit_exp < min_unit_exp:
        unit_exp = min_unit_exp
    unit = Q(2) ** unit_exp
    n = a / unit
    fl = n.numerator // n.denominator
    rem = n - fl
    if rem > Q(1, 2) or (rem == Q(1, 2) and fl % 2 == 1):
        fl += 1
    return sign * fl * unit


def to_double(q):
    """Round to binary64 (Fraction, or +-inf string on overflow)."""
    r = round_bits(q, 53, -1074)
    if abs(r) >= Q(2) ** 1024:
        return 'inf' if q > 0 else '-inf'
    return r


def ld_text(q, negzero=False):
    if isinstance(q, str):
        return q
    assert (q.denominator & (q.denominator - 1)) == 0, 'not a binary value'
    if q == 0:
        return '-0x0p+0' if negzero else '0x0p+0'
    sign = '-' if q < 0 else ''
    a = abs(q)
    # a = m * 2^x with integer m
    x = 0
    while a.denominator != 1:
        a *= 2
        x -= 1
    m = a.numerator
    while m % 2 == 0 and m > 1:
        m //= 2
        x += 1
    return '%s0x%xp%+d' % (sign, m, x)


def hex_encode(d, fb, negzero=False):
    """Truncating hexadecimal encoding of a double (Fraction or inf).
    Returns (word, exact)."""
    total = fb + 8
    largest = (1 << (fb + 7)) - 1
    if isinstance(d, str):
        sign = 1 if d.startswith('-') else 0
        return (sign << (fb + 7)) | largest, False
    sign = 1 if (d < 0 or (d == 0 and negzero)) else 0
    sbit = sign << (fb + 7)
    a = abs(d)
    if a == 0:
        return sbit, True
    if a < Q(2) ** -1022:       # subnormal double
        return sbit, False
    # find k with 16^(k-1) <= a < 16^k
    k = 0
    while Q(16) ** k <= a:
        k += 1
    while Q(16) ** (k - 1) > a:
        k -= 1
    X = k + 64
    if X < 0:
        return sbit, False
    if X > 127:
        return sbit | largest, False
    f = a / Q(16) ** k * (1 << fb)
    F = f.numerator // f.denominator
    assert 0 < F < (1 << fb)
    return sbit | (X << fb) | F, True


def hex_decode(word, fb):
    sign = (word >> (fb + 7)) & 1
    X = (word >> fb) & 0x7F
    F = word & ((1 << fb) - 1)
    v = Q(F, 1 << fb) * Q(16) ** (X - 64)
    return (-v if sign else v), (F == 0 and sign == 1)


def hexbytes(word, n):
    return '%0*X' % (2 * n, word)


lines = []


def emit(*fields):
    lines.append(' '.join(str(f) for f in fields))


# ---- values to write ------------------------------------------------------

def random_ld(exp_lo, exp_hi):
    m = random.getrandbits(64) | (1 << 63)
    e = random.randint(exp_lo, exp_hi)
    q = Q(m) * Q(2) ** (e - 63)
    return -q if random.random() < 0.5 else q


def random_double(exp_lo, exp_hi):
    m = random.getrandbits(53) | (1 << 52)
    e = random.randint(exp_lo, exp_hi)
    q = Q(m) * Q(2) ** (e - 52)
    return -q if random.random() < 0.5 else q


write_values = []
for v in [Q(1), Q(-1), Q(1, 4), Q(1, 2), Q(1, 16), Q(15, 16), Q(16), Q(255), Q(256),
          Q(1, 10), Q(-1, 3), Q(100), Q(3141592653589793, 10 ** 15)]:
    write_values.append(v)
# hexadecimal range edges: 16^-65 (smallest), 16^63 (beyond largest)
for e in [-260, -261, -259, 251, 252, 253, -256, -257, 248]:
    write_values.append(Q(2) ** e)
    write_values.append(-Q(2) ** e * Q(3, 2))
largest24 = Q((1 << 24) - 1, 1 << 24) * Q(16) ** 63
largest56 = Q((1 << 56) - 1, 1 << 56) * Q(16) ** 63
write_values += [largest24, largest56, -largest56]
# just below powers of 16 and 2: the double rounding may carry into the next
# hexadecimal digit; the 24-bit truncation drops 1 to 3 further bits
for e in [0, 4, 8, -4, -8, 1, 2, 3, -1, -2, -3, 40, -40]:
    p = Q(2) ** e
    write_values.append(p - p * Q(1, 2 ** 64))      # rounds up to p as double
    write_values.append(p - p * Q(1, 2 ** 53))      # exactly representable double
    write_values.append(p - p * Q(1, 2 ** 25))
    write_values.append(p + p * Q(1, 2 ** 52))
for _ in range(60):
    write_values.append(random_double(-250, 250))
for _ in range(60):
    write_values.append(random_ld(-250, 250))
for _ in range(10):
    write_values.append(random_ld(-1100, -1020))    # around double underflow
# beyond the double range
write_values += [Q(10) ** 300, -Q(10) ** 300, Q(10) ** 400, Q(1, 10 ** 400), -Q(1, 10 ** 400),
                 Q(2) ** -1074, Q(2) ** -1030]

# every input is an extended value
write_values = [round_bits(v, 64, LD_TRUE_MIN_EXP) for v in write_values]

for v in write_values:
    d = to_double(v)
    for name, fb, n in (('whex4', 24, 4), ('whex8', 56, 8)):
        word, exact = hex_encode(d, fb, negzero=(v < 0))
        # a nonzero value flushed to a double zero is not stored as it is
        if not isinstance(d, str) and d == 0 and v != 0:
            exact = False
        emit(name, ld_text(v), hexbytes(word, n), int(exact))

emit('whex4', '-0x0p+0', '80000000', 1)
emit('whex8', '-0x0p+0', '8000000000000000', 1)
emit('whex4', 'inf', '7FFFFFFF', 0)
emit('whex4', '-inf', 'FFFFFFFF', 0)
emit('whex8', 'nan', '7FFFFFFFFFFFFFFF', 0)
emit('whex8', '-inf', 'FFFFFFFFFFFFFFFF', 0)


# 16-byte hexadecimal: high part from the double, low part carries the
# extended remainder (same sign, fitting 56 bits) at 16^-28 of the high
# characteristic; the low part's own characteristic is 14 below.
def hex16_write(v):
    if isinstance(v, str) or v == 0:
        raise ValueError
    d = to_double(v)
    if isinstance(d, str) or d == 0:
        return None
    hi, exact = hex_encode(d, 56)
    if not exact:
        return None
    X = (hi >> 56) & 0x7F
    sign = 1 if v < 0 else 0
    rem = abs(v) - abs(d)
    F_lo = 0
    if rem > 0:
        s = rem * Q(2) ** (112 - 4 * (X - 64))
        assert s.denominator == 1
        if s < 2 ** 56:
            F_lo = s.numerator
    lo = (sign << 63) | (((X - 14) & 0x7F) << 56) | F_lo
    return (hi << 64) | lo


def hex16_read(word):
    hi = word >> 64
    lo = word & ((1 << 64) - 1)
    sign = hi >> 63
    X = (hi >> 56) & 0x7F
    Fh = hi & ((1 << 56) - 1)
    Fl = lo & ((1 << 56) - 1)
    v = (Q(Fh, 1 << 56) + Q(Fl, 1 << 112)) * Q(16) ** (X - 64)
    v = round_bits(v, 64)
    return (-v if sign else v), (v == 0 and sign == 1)


for v in write_values:
    w = hex16_write(v)
    if w is None:
        emit('whex16', ld_text(v), '-', 'refused')
    else:
        emit('whex16', ld_text(v), hexbytes(w, 16), 1)
        back, _ = hex16_read(w)
        emit('rhex16', hexbytes(w, 16), ld_text(back))
emit('whex16', '-0x0p+0', '80000000000000008000000000000000', 1)
emit('whex16', '0x0p+0', '00000000000000000000000000000000', 1)
emit('whex16', 'inf', '-', 'refused')
emit('whex16', 'nan', '-', 'refused')

# ---- bytes to read --------------------------------------------------------
read_words = {4: [], 8: [], 16: []}
for n in (4, 8, 16):
    fb = 24 if n == 4 else 56
    top = 8 * n
    specials = [0, 1 << (top - 1), 0x45 << (top - 8), (0xC5 << (top - 8)),
                (1 << top) - 1, (1 << (top - 1)) - 1, 0x41 << (top - 8) | 1,
                0x00 << (top - 8) | 1, 0x7F << (top - 8) | 1]
    read_words[n] += specials
    for _ in range(40):
        read_words[n].append(random.getrandbits(top))
    for _ in range(20):   # unnormalised fractions (leading digits zero)
        w = random.getrandbits(top)
        w &= ~(((1 << 16) - 1) << (top - 24))
        read_words[n].append(w)

for n in (4, 8):
    fb = 24 if n == 4 else 56
    for w in read_words[n]:
        v, negzero = hex_decode(w, fb)
        emit('rhex%d' % n, hexbytes(w, n), ld_text(v, negzero))
for w in read_words[16]:
    v, negzero = hex16_read(w)
    emit('rhex16', hexbytes(w, 16), ld_text(v, negzero))


# ---- IEEE binary128 --------------------------------------------------------
def ieee16_write(v):
    if isinstance(v, str):
        raise ValueError
    sign = 1 if v < 0 else 0
    a = abs(v)
    e = a.numerator.bit_length() - a.denominator.bit_length()
    if Q(2) ** e > a:
        e -= 1
    biased = e + 16383
    if biased < 1 or biased > 32766:
        return None
    frac = (a / Q(2) ** e - 1) * Q(2) ** 112
    assert frac.denominator == 1
    return (sign << 127) | (biased << 112) | frac.numerator


def ieee16_read(w):
    sign = w >> 127
    E = (w >> 112) & 0x7FFF
    f = w & ((1 << 112) - 1)
    if E == 0x7FFF:
        return ('-' if sign else '') + ('inf' if f == 0 else 'nan')
    if E == 0:
        if f == 0:
            return '-0x0p+0' if sign else '0x0p+0'
        top = f >> 48
        v = round_bits(Q(top) * Q(2) ** (-16382 - 64), 64, LD_TRUE_MIN_EXP)
    else:
        v = (Q(1 << 63) + (f >> 49)) * Q(2) ** (E - 16383 - 63)
    return ld_text(-v if sign else v)


ld_values = [Q(1), Q(3, 2), Q(3, 4), Q(-1), Q(1, 10), Q(2) ** 16383 * Q(3, 2),
             Q(2) ** LD_MIN_EXP, Q(2) ** (LD_MIN_EXP - 1), Q(2) ** LD_TRUE_MIN_EXP]
ld_values += [random_ld(-16000, 16000) for _ in range(30)]
ld_values = [round_bits(v, 64, LD_TRUE_MIN_EXP) for v in ld_values]
for v in ld_values:
    w = ieee16_write(v)
    if w is None:
        emit('wieee16', ld_text(v), '-', 'refused')
    else:
        emit('wieee16', ld_text(v), hexbytes(w, 16), 1)
emit('wieee16', '-0x0p+0', '80000000000000000000000000000000', 1)
emit('wieee16', 'inf', '7FFF0000000000000000000000000000', 1)
emit('wieee16', '-inf', 'FFFF0000000000000000000000000000', 1)
emit('wieee16', 'nan', '7FFFFF00000000000000000000000000', 1)

ieee_words = [0, 1 << 127, 0x7FFF << 112, 0xFFFF << 112, (0x7FFF << 112) | 1,
              (0x3FFF << 112) | ((1 << 112) - 1), 1, (1 << 111), (1 << 112) - 1,
              (0x0001 << 112), (0x7FFE << 112) | ((1 << 112) - 1)]
ieee_words += [random.getrandbits(128) for _ in range(30)]
ieee_words += [random.getrandbits(112) | (random.getrandbits(1) << 127) for _ in range(5)]
for w in ieee_words:
    emit('rieee16', hexbytes(w, 16), ieee16_read(w))

print('# Generated by tests/datatypes/gen/gen_float_formats.py; do not edit.')
print('\n'.join(lines))
