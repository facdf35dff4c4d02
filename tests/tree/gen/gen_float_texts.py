#!/usr/bin/env python3
"""Expected display texts of binary and hexadecimal floating-point values.

Writes ../data/float_texts.tsv: primitive type index, the stored bytes
(big-endian, hexadecimal) and the text representation 8 gives. The model is
independent of the evaluator: IEEE bytes come from Python's struct (4 and 8
bytes) or from the exact fraction (16 bytes); hexadecimal-float bytes from the
exact fraction (sign, excess-64 power of 16, hexadecimal fraction); the text
is C's "%.*E" of the exact value (round half even, at least two exponent
digits), rewritten into the form sign "." digits "E" sign exponent with the
exponent raised by one (left alone when every digit is 0).

Every value has at most 64 significant bits, so it is exact in the x86
extended format the evaluator computes with.
"""
from decimal import Decimal, getcontext
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


def display(value, digits, negative_zero=False):
    text = c_exp_format(value, digits)
    if negative_zero:
        text = '-' + text
    return rewrite(text)


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
    digits = {4: 7, 8: 16, 16: 19}
    for size, tindex in ((4, 136), (8, 137)):
        for x in ieee_samples:
            v = float_value(x, size)
            rows.append((tindex, ieee_bytes(v, size), display(v, digits[size])))
    exact = [Fraction(3, 2), Fraction(-1, 4), Fraction(123456789, 1024), Fraction(-1000001, 8),
             Fraction(1, 1 << 20), Fraction(1 << 40), Fraction(99999999), Fraction(255, 256),
             Fraction((1 << 63) + 1, 1 << 62), Fraction(0)]
    for v in exact:
        rows.append((138, ieee_bytes(v, 16), display(v, 19)))
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
            rows.append((tindex, hex_bytes(v, size), display(v, digits[size])))
    # Complex values: the two parts joined as C shows them.
    pairs = [(Fraction(3, 2), Fraction(-1, 4)), (Fraction(0), Fraction(100)), (Fraction(-5, 16), Fraction(255, 256))]
    for re, im in pairs:
        for tindex, size, maker in ((140, 4, ieee_bytes), (141, 8, ieee_bytes), (142, 16, ieee_bytes),
                                    (203, 4, hex_bytes), (204, 8, hex_bytes), (205, 16, hex_bytes)):
            d = digits[size]
            rows.append((tindex, maker(re, size) + maker(im, size),
                         '%s + %s * __I' % (display(re, d), display(im, d))))
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'data', 'float_texts.tsv')
    with open(out, 'w') as f:
        f.write('# tindex\tbytes (big-endian)\ttext of representation 8; made by gen/gen_float_texts.py\n')
        for tindex, b, text in rows:
            f.write('%d\t%s\t%s\n' % (tindex, b.hex().upper(), text))


if __name__ == '__main__':
    main()
