#!/usr/bin/env python3
"""Completes the binary floating-point table of the machine tests.

Reads the rows that gen_float_oracle.c writes (standard input) and writes
them to standard output with three more fields on every `real` row: the
result's 4-, 8- and 16-byte hexadecimal floating-point images, computed with
the exact-fraction model of tests/datatypes/gen/gen_float_formats.py (the
4- and 8-byte forms from the value rounded to double, extra fraction bits
dropped, out-of-range values saturated; "refused" where the 16-byte form
cannot hold the value, "-" for a NaN or an error row).
"""
import contextlib
import io
import os
import runpy
import sys
from fractions import Fraction as Q

here = os.path.dirname(os.path.abspath(__file__))
with contextlib.redirect_stdout(io.StringIO()):
    model = runpy.run_path(os.path.join(here, '..', '..', 'datatypes', 'gen', 'gen_float_formats.py'))
to_double = model['to_double']
hex_encode = model['hex_encode']
hex16_write = model['hex16_write']
hexbytes = model['hexbytes']


def parse(text):
    """A %La text as (Fraction or 'inf'/'-inf'/'nan', negative sign)."""
    negative = text.startswith('-')
    body = text.lstrip('+-')
    if body in ('inf', 'nan'):
        return ('-inf' if negative else 'inf') if body == 'inf' else 'nan', negative
    mantissa, exponent = body[2:].split('p')
    whole, _, fraction = mantissa.partition('.')
    digits = int(whole + fraction, 16)
    value = Q(digits) * Q(2) ** (int(exponent) - 4 * len(fraction))
    return (-value if negative else value), negative


def hex_images(text):
    v, negative = parse(text)
    if v == 'nan':
        return ['-', '-', '-']
    out = []
    d = v if isinstance(v, str) else to_double(v)
    for fb, n in ((24, 4), (56, 8)):
        word, _ = hex_encode(d, fb, negzero=negative)
        out.append(hexbytes(word, n))
    if isinstance(v, str):
        out.append('refused')
    elif v == 0:
        sign = '8' if negative else '0'
        out.append(sign + '0' * 15 + sign + '0' * 15)
    else:
        w = hex16_write(v)
        out.append('refused' if w is None else hexbytes(w, 16))
    return out


for line in sys.stdin:
    fields = line.split()
    if fields and fields[0] == 'real':
        fields += ['-', '-', '-'] if fields[4].startswith('ERR') else hex_images(fields[4])
        print(' '.join(fields))
    else:
        print(line.rstrip('\n'))
