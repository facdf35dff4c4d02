#!/usr/bin/env python3
"""Expected display texts of binary and hexadecimal floating-point values.

Writes ../data/float_texts.tsv: primitive type index, the stored bytes
(big-endian, hexadecimal) and the text representation 8 gives. The model is
independent of the evaluator: IEEE bytes come from Python's struct (4 and 8
bytes) or from the exact fraction (16 bytes); hexadecimal-float bytes from the
exact fraction (sign, excess-64 power of 16, hexadecimal fraction); the text
is the shortest of C's "%.Ng" of the exact value (N from 1; round half even,
at least two exponent digits) that reads back to the same value of the
format: for IEEE floats and doubles the value rounded to the format, for
hexadecimal ones a value nearer than half a unit of the format's last place
(at most 9 digits for 4 bytes, 17 for an IEEE double, 18 for a hexadecimal
double). A 16-byte value, held in a long double, shows "%.21g".

Every value has at most 64 significant bits, so it is exact in the x86
extended format the evaluator computes with.
"""
from decimal import ROUND_HALF_EVEN, Decimal, getcontext
from fractions import Fraction
import os
import struct

getcontext().prec = 2000


def c_exp_format(value, digits):
    """C's "%.*E" of an exact Fraction."""
    if value == 0:
        sign = '-' if str(value).startswith('-') else ''
        return sign + '0.' + '0' * digits + 'E+00'
    d = Decimal(value.numerator) / Decimal(value.denominator)
    text = format(d, '.%dE' % digits)
    mantissa, exponent = text.split('E')
    e = int(exponent)
    return '%sE%s%02d' % (mantissa, '-' if e < 0 else '+', abs(e))


def rewrite(text):
    sign = '+'
    if text[0] in '+-':
        sign, text = text[0], text[1:]
    mantissa, exponent = text.split('E')
    digits = mantissa.replace('.', '')
    width = len(exponent) - 1
    e = int(exponent)
    if digits.strip('0'):
        e += 1
    return '%s.%sE%s%0*d' % (sign, digits, '-' if e < 0 else '+', width, abs(e))


def c_g(value, p):
    """C's "%.*g" of an exact Fraction with p significant digits."""
    if value == 0:
        return '0'
    sign = '-' if value < 0 else ''
    d = abs(Decimal(value.numerator) / Decimal(value.denominator))
    exp = d.adjusted()
    q = d.quantize(Decimal(1).scaleb(exp - p + 1), rounding=ROUND_HALF_EVEN)
    if q.adjusted() > exp:
        exp = q.adjusted()
        q = d.quantize(Decimal(1).scaleb(exp - p + 1), rounding=ROUND_HALF_EVEN)
    x = q.adjusted()
    digits = str(q.scaleb(-(x - p + 1)).quantize(Decimal(1)))
    if x < -4 or x >= p:
        mantissa = digits[0] + ('.' + digits[1:] if len(digits) > 1 else '')
        if '.' in mantissa:
            mantissa = mantissa.rstrip('0').rstrip('.')
        return '%s%se%s%02d' % (sign, mantissa, '-' if x < 0 else '+', abs(x))
    text = format(q, 'f')
    if '.' in text:
        text = text.rstrip('0').rstrip('.')
    return sign + text


def unit(value, size, hex_form):
    """Half of this is the distance within which a text reads back."""
    v = abs(value)
    e = 0
    while v >= 1:
        v /= 2
        e += 1
    while v < Fraction(1, 2):
        v *= 2
        e -= 1
    if hex_form:
        h = -((-e) // 4)
        digits = {4: 6, 8: 14, 16: 28}[size]
        return Fraction(2) ** (4 * h - 4 * digits)
    return Fraction(2) ** (e - 113)


def reads_back(text, value, size, hex_form):
    back = Fraction(Decimal(text))
    if not hex_form and size in (4, 8):
        try:
            return float_value(float(back), size) == value
        except OverflowError:
            return False
    if back == value:
        return True
    return value != 0 and 2 * abs(back - value) < unit(value, size, hex_form)


def display(value, size, hex_form=False):
    """The shortest text; a whole number that the longest text writes
    without an exponent keeps all of its digits (100, not 1e+02)."""
    most = {4: 9, 8: 18 if hex_form else 17, 16: 21}[size]
    if size == 16:
        # What a long double holds of a 16-byte value: all of its digits.
        return c_g(value, most)
    for p in range(1, most):
        text = c_g(value, p)
        if reads_back(text, value, size, hex_form):
            if 'e+' in text:
                x = int(text.split('e+')[1])
                if p <= x < most:
                    return c_g(value, x + 1)
            return text
    return c_g(value, most)


def ieee_bytes(value, size):
    if size == 4:
        return struct.pack('>f', float(value))
    if size == 8:
        return struct.pack('>d', float(value))
    # binary128: 1 sign, 15 exponent (bias 16383), 112 fraction bits.
    sign = 1 if value < 0 else 0
    v = abs(value)
    if v == 0:
        return bytes([sign << 7]) + bytes(15)
    e = 0
    while v >= 2:
        v /= 2
        e += 1
    while v < 1:
        v *= 2
        e -= 1
    fraction = (v - 1) * (1 << 112)
    assert fraction.denominator == 1
    word = (sign << 127) | ((e + 16383) << 112) | int(fraction)
    return word.to_bytes(16, 'big')


def hex_bytes(value, size):
    """IBM-style hexadecimal float of 4, 8 or 16 bytes."""
    sign = 1 if value < 0 else 0
    v = abs(value)
    fraction_digits = {4: 6, 8: 14, 16: 28}[size]
    if v == 0:
        return bytes([sign << 7]) + bytes(size - 1)
    e = 0
    while v >= 1:
        v /= 16
        e += 1
    while v < Fraction(1, 16):
        v *= 16
        e -= 1
    f = v * (16 ** fraction_digits)
    assert f.denominator == 1, value
    f = int(f)
    if size != 16:
        return (((sign << 7) | (e + 64)) << (4 * fraction_digits) | f).to_bytes(size, 'big')
    high = f >> 56
    low = f & ((1 << 56) - 1)
    first = ((((sign << 7) | (e + 64)) << 56) | high).to_bytes(8, 'big')
    second_char = (e + 64 - 14) & 0x7F if low else 0
    second = ((((sign << 7) | second_char) << 56) | low).to_bytes(8, 'big')
    return first + second




def float_value(x, size):
    """The value x rounded to the IEEE format of size bytes (4 or 8)."""
    fmt = '>f' if size == 4 else '>d'
    return Fraction(struct.unpack(fmt, struct.pack(fmt, float(x)))[0])


def main():
    rows = []
    ieee_samples = [1.5, -0.1, 1.0 / 3.0, 1e10, 6.02214076e23, 1e-30, 0.0, 123456.789, -2.5e-8,
                    3.4028234663852886e38, 9.5, 0.5]
    for size, tindex in ((4, 136), (8, 137)):
        for x in ieee_samples:
            v = float_value(x, size)
            rows.append((tindex, ieee_bytes(v, size), display(v, size)))
    exact = [Fraction(3, 2), Fraction(-1, 4), Fraction(123456789, 1024), Fraction(-1000001, 8),
             Fraction(1, 1 << 20), Fraction(1 << 40), Fraction(99999999), Fraction(255, 256),
             Fraction((1 << 63) + 1, 1 << 62), Fraction(0)]
    for v in exact:
        rows.append((138, ieee_bytes(v, 16), display(v, 16)))
    hex_samples = {
        4: [Fraction(3, 2), Fraction(-1, 4), Fraction(1), Fraction(100), Fraction(-255, 16), Fraction(1, 1 << 20),
            Fraction(0xFFFFFF, 1 << 24), Fraction(0)],
        8: [Fraction(3, 2), Fraction(-1, 4), Fraction(123456789, 1024), Fraction(1 << 52) + 1, Fraction(-5, 16),
            Fraction((1 << 56) - 1, 1 << 56), Fraction(0)],
        16: [Fraction(3, 2), Fraction(-1, 4), Fraction((1 << 63) + 1, 1 << 62), Fraction(1 << 60) + 7,
             Fraction(-99999999), Fraction(0)],
    }
    for size, tindex in ((4, 196), (8, 197), (16, 198)):
        for v in hex_samples[size]:
            rows.append((tindex, hex_bytes(v, size), display(v, size, True)))
    # Complex values: the two parts joined as C shows them.
    pairs = [(Fraction(3, 2), Fraction(-1, 4)), (Fraction(0), Fraction(100)), (Fraction(-5, 16), Fraction(255, 256))]
    for re, im in pairs:
        for tindex, size, maker in ((140, 4, ieee_bytes), (141, 8, ieee_bytes), (142, 16, ieee_bytes),
                                    (203, 4, hex_bytes), (204, 8, hex_bytes), (205, 16, hex_bytes)):
            h = maker is hex_bytes
            rows.append((tindex, maker(re, size) + maker(im, size),
                         '%s + %s * __I' % (display(re, size, h), display(im, size, h))))
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'data', 'float_texts.tsv')
    with open(out, 'w') as f:
        f.write('# tindex\tbytes (big-endian)\ttext of representation 8; made by gen/gen_float_texts.py\n')
        for tindex, b, text in rows:
            f.write('%d\t%s\t%s\n' % (tindex, b.hex().upper(), text))


if __name__ == '__main__':
    main()
