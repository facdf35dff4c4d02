#!/usr/bin/env python3
"""Every primitive type index in every representation its data type offers.

Writes ../data/primitive_texts.tsv: primitive type index, representation,
the stored bytes (big-endian, hexadecimal) and the text. Integers, booleans
and IEEE floats are gcc's: a C program (x86-64, plain char unsigned) prints
each value with printf: decimal as %d/%u (%lld/%llu), hexadecimal as 0x and
2N upper-case digits, octal as %#o (a signed value's bit pattern at its
width), binary as 8N digits, booleans as FALSE/TRUE or "?? /* n*/", a float
or double in representation 8 as the shortest "%.Ng" that strtof/strtod read
back to the same value (a whole number keeps its digits when the longest
text has no exponent), and in representation 1 as X'bytes'. Characters
(representations 22, EBCDIC, and 5, the evaluator's own set) are letters,
digits and blanks, whose EBCDIC codes come from Python's cp037 (the same as
code page 1047 for these); a wide character holds its wide code in both. Decimal floating point (159, 192, 193) and the
hexadecimal and 16-byte floats are in float_texts.tsv and the decimal tables.
"""
import os
import struct
import subprocess
import tempfile

# index: (C type, bytes, signed, row of representations)
INTS = {
    128: ("signed char", 1, True), 129: ("short", 2, True), 130: ("int", 4, True),
    132: ("unsigned char", 1, False), 133: ("unsigned short", 2, False), 134: ("unsigned int", 4, False),
    155: ("long long", 8, True), 156: ("unsigned long long", 8, False), 148: ("unsigned char", 1, False),
}
ROWS = {"char": [22, 2, 1, 4, 3, 5], "int": [2, 1, 4, 3], "bool": [17, 2, 1, 4, 3], "wchar": [22, 1, 2, 4, 3, 5]}
CHAR_INDEXES = {128, 132, 148}


def values(size, signed):
    if signed:
        lo, hi = -(1 << (8 * size - 1)), (1 << (8 * size - 1)) - 1
        return [0, 1, -1, 7, 8, 266 % (hi + 1), lo, hi]
    return [0, 1, 8, 200 % (1 << (8 * size)), (1 << (8 * size)) - 1]


def literal(v, size):
    """A C literal of v that no type of the program overflows."""
    if v < 0:
        return "(-%dLL - 1)" % (-v - 1)
    return "%dULL" % v


def program(cases):
    out = ["#include <stdio.h>", "#include <stdlib.h>", "#include <string.h>",
           "static void bin(unsigned long long v, int bits) { for (int i = bits - 1; i >= 0; --i) putchar((v >> i) & 1 ? '1' : '0'); }",
           "static void shortest_f(float v) { char t[64]; for (int p = 1; p < 9; ++p) { snprintf(t, sizeof t, \"%.*g\", p, v);"
           " if (strtof(t, 0) == v) { char *e = strstr(t, \"e+\"); if (e && atoi(e + 2) >= p && atoi(e + 2) < 9) snprintf(t, sizeof t, \"%.*g\", atoi(e + 2) + 1, v);"
           " printf(\"%s\", t); return; } } printf(\"%.9g\", v); }",
           "static void shortest_d(double v) { char t[64]; for (int p = 1; p < 17; ++p) { snprintf(t, sizeof t, \"%.*g\", p, v);"
           " if (strtod(t, 0) == v) { char *e = strstr(t, \"e+\"); if (e && atoi(e + 2) >= p && atoi(e + 2) < 17) snprintf(t, sizeof t, \"%.*g\", atoi(e + 2) + 1, v);"
           " printf(\"%s\", t); return; } } printf(\"%.17g\", v); }",
           "int main(void) {"]
    for index, rep, hexbytes, expr in cases:
        out.append('  printf("%%d\\t%%d\\t%%s\\t", %d, %d, "%s");' % (index, rep, hexbytes))
        out.append("  " + expr + ' putchar(\'\\n\');')
    out.append("  return 0; }")
    return "\n".join(out)


def main():
    cases = []
    texts = []  # (index, rep, bytes, text) fixed here without gcc
    for index, (ctype, size, signed) in sorted(INTS.items()):
        row = ROWS["char"] if index in CHAR_INDEXES else ROWS["int"]
        for v in values(size, signed):
            b = (v & ((1 << (8 * size)) - 1)).to_bytes(size, "big").hex().upper()
            base = {1: "unsigned char", 2: "unsigned short", 4: "unsigned int", 8: "unsigned long long"}[size]
            pattern = "(unsigned long long)(%s)(%s)(%s)" % (base, ctype, literal(v, size))
            for rep in row:
                if rep == 2:
                    fmt = ("%lld" if signed else "%llu") if size == 8 else ("%d" if signed else "%u")
                    cast = ctype if size >= 4 else ("int" if signed else "unsigned")
                    cases.append((index, rep, b, 'printf("%s", (%s)(%s)(%s));' % (fmt, cast, ctype, literal(v, size))))
                elif rep == 1:
                    cases.append((index, rep, b, 'printf("0x%%0%dllX", %s);' % (2 * size, pattern)))
                elif rep == 3:
                    cases.append((index, rep, b, 'printf("%%#llo", %s);' % pattern))
                elif rep == 4:
                    cases.append((index, rep, b, 'bin(%s, %d);' % (pattern, 8 * size)))
        if index in CHAR_INDEXES:
            for ch in "A", "z", "0", " ":
                texts.append((index, 22, ch.encode("cp037").hex().upper(), "'%s'" % ch))
                texts.append((index, 5, ch.encode("ascii").hex().upper(), "'%s'" % ch))
    for index, size in (144, 1), (145, 2), (146, 4), (157, 8):
        for v in 0, 1, 2:
            b = v.to_bytes(size, "big").hex().upper()
            texts.append((index, 17, b, {0: "FALSE", 1: "TRUE"}.get(v, "?? /* %d*/" % v)))
            cases.append((index, 2, b, 'printf("%%u", %du);' % v))
            cases.append((index, 1, b, 'printf("0x%%0%dX", %du);' % (2 * size, v)))
            cases.append((index, 3, b, 'printf("%%#o", %du);' % v))
            cases.append((index, 4, b, 'bin(%du, %d);' % (v, 8 * size)))
    for index, size in (149, 2), (150, 4):
        for ch in "A", "7":
            # A wide character holds its wide code in either set.
            texts.append((index, 22, ch.encode("ascii").hex().upper().rjust(2 * size, "0"), "L'%s'" % ch))
            texts.append((index, 5, ch.encode("ascii").hex().upper().rjust(2 * size, "0"), "L'%s'" % ch))
        v = 0x41
        b = v.to_bytes(size, "big").hex().upper()
        cases.append((index, 2, b, 'printf("%%u", %du);' % v))
        cases.append((index, 1, b, 'printf("0x%%0%dX", %du);' % (2 * size, v)))
        cases.append((index, 3, b, 'printf("%%#o", %du);' % v))
        cases.append((index, 4, b, 'bin(%du, %d);' % (v, 8 * size)))
    floats = [1.5, -0.1, 1.0 / 3.0, 1e10, 100.0, 6.02214076e23, 1e-30, 0.0, -0.0, 123456.789, 16777216.0,
              3.4028234663852886e38, 2.0 ** -149, 0.1 + 0.2]
    for index, size, code, fn, fmt in (136, 4, ">f", "shortest_f", "(float)"), (137, 8, ">d", "shortest_d", ""):
        for v in floats:
            b = struct.pack(code, v)
            stored = struct.unpack(code, b)[0]
            texts.append((index, 1, b.hex().upper(), "X'%s'" % b.hex().upper()))
            cases.append((index, 8, b.hex().upper(), '%s(%s%r);' % (fn, fmt, stored)))
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "p.c")
        with open(src, "w") as f:
            f.write(program(cases))
        exe = os.path.join(tmp, "p")
        subprocess.run(["gcc", "-m64", "-funsigned-char", "-std=c11", "-w", src, "-o", exe], check=True)
        lines = subprocess.run([exe], check=True, capture_output=True, text=True).stdout.splitlines()
    rows = [tuple(line.split("\t")) for line in lines] + [tuple(map(str, t)) for t in texts]
    rows.sort(key=lambda r: (int(r[0]), int(r[1])))
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "primitive_texts.tsv")
    with open(out, "w") as f:
        f.write("# tindex\trep\tbytes (big-endian)\ttext; made by gen/gen_primitive_texts.py\n")
        for r in rows:
            f.write("\t".join(r) + "\n")


if __name__ == "__main__":
    main()
