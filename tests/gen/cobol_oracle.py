"""What the generators of the tests' tables share when GnuCOBOL is their
oracle: a COBOL program compiled by cobc and run, and the hexadecimal
floating-point image of a number (the debuggee's COMP-1 and COMP-2).

A generator in tests/<area>/gen/ imports it after
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "gen"))
"""
import os
import subprocess
import sys
from fractions import Fraction


def run_cobol(source, work, flags=(), name="program"):
    """Compiles the COBOL source text with `cobc -x` and the flags in the
    folder work, runs the program and answers its standard output. A
    compilation or a run that fails stops the generator with cobc's or the
    program's messages."""
    src = os.path.join(work, name + ".cob")
    exe = os.path.join(work, name)
    with open(src, "w") as f:
        f.write(source)
    built = subprocess.run(["cobc", "-x", *flags, "-o", exe, src], capture_output=True, text=True)
    if built.returncode != 0:
        sys.exit(f"cobc failed on {src}:\n{built.stdout}{built.stderr}")
    run = subprocess.run([exe], capture_output=True, text=True)
    if run.returncode != 0:
        sys.exit(f"{exe} failed with status {run.returncode}:\n{run.stderr}")
    return run.stdout


def hfp(x, size):
    """x (an int, float, Decimal or Fraction) in hexadecimal floating point
    of size bytes: sign bit, excess-64 exponent of 16, fraction. None when
    x is not exact in that many bytes."""
    f = Fraction(x)
    if f == 0:
        return bytes(size)
    sign = 0x80 if f < 0 else 0
    f = abs(f)
    e = 0
    while f >= 1:
        f /= 16
        e += 1
    while f < Fraction(1, 16):
        f *= 16
        e -= 1
    scaled = f * 2 ** (size * 8 - 8)
    if scaled.denominator != 1:
        return None
    return bytes([sign | (e + 64)]) + int(scaled).to_bytes(size - 1, "big")
