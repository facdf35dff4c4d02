#!/usr/bin/env python3
"""Long double constants with suffix L, as a big-endian target whose long
double is IEEE binary128 stores them.

gcc on x86-64 reads each constant with suffix Q (binary128, the precision
the target's L gives); the 16 bytes are printed most significant first and
the rows pasted into ProgramFileTest.cpp's long double table.

Run: python3 gen_long_double_constants.py  (needs gcc with __float128)
"""
import os
import subprocess
import tempfile
from decimal import Decimal, getcontext

getcontext().prec = 400
ONE, TWO = Decimal(1), Decimal(2)

CONSTANTS = [
    "0.1", "1.1", "-0.3", "3.14159265358979323846264338327950288", "1e-300", "1.5e4000",
    "123456789.123456789", "2.5", "1e25", "0.000000000000000000000123",
    # just below the ties at the 113th bit: 1 + 2^-113 and 1 + 3 * 2^-113
    "1.000000000000000000000000000000000096296497219361792652798439979",
    "1.000000000000000000000000000000000288889491658085377958395319937",
    # the ties themselves, exact (they round to even), and the first just
    # above its tie by a digit past the 200th
    str(ONE + TWO ** -113),
    str(ONE + 3 * TWO ** -113),
    str(ONE + TWO ** -113) + "0" * 100 + "1",
    "1.18973149535723176508575932662800702e4932",
    "3.36210314311209350626267781732175260e-4932",
]

SOURCE = """
#include <stdio.h>
#include <string.h>
int main(void) {
    static const __float128 v[] = { %s };
    for (unsigned i = 0; i < sizeof v / sizeof v[0]; ++i) {
        unsigned char b[16];
        memcpy(b, &v[i], 16);
        for (int k = 15; k >= 0; --k) printf("%%02X", b[k]);
        printf("\\n");
    }
    return 0;
}
"""


def main():
    with tempfile.TemporaryDirectory() as d:
        src = os.path.join(d, "c.c")
        exe = os.path.join(d, "c")
        with open(src, "w") as f:
            f.write(SOURCE % ", ".join(c + "Q" for c in CONSTANTS))
        subprocess.check_call(["gcc", "-w", "-o", exe, src])
        out = subprocess.check_output([exe], text=True).split()
    for c, b in zip(CONSTANTS, out):
        print('        {"%sL", "%s"},' % (c, b))


if __name__ == "__main__":
    main()
