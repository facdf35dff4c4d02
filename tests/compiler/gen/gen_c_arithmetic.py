#!/usr/bin/env python3
"""Result types and values of mixed C arithmetic, as gcc computes them.

Writes a C program that, for every pair of operand types and every operator,
records the type of the result (through _Generic) and its value for operands
-1, 0, 1 and the limits of each integral type (floating operands
-1, 0 and 1 only); compiles it with gcc for x86-64 and
with -m32, runs both, and freezes the answers into
../data/c_arithmetic.txt. For the comparisons the recorded type is that of
the usual arithmetic conversion of the operands (the type of l + r), which
is where the two operands meet; the value is the comparison's own.

Value lines are kept for the arithmetic operators, < and == (floating
operands: + and / only). Lines: address-size operator left right result-type left-value right-value
result-value. Operators whose value is undefined in C (division by zero,
shifts by a negative or too large count, signed overflow) are left out of the
value columns ("-").
"""
import os
import sys

from gcc_runs import output_of_both

TYPES = [
    ("char", "char"), ("schar", "signed char"), ("uchar", "unsigned char"),
    ("short", "short"), ("ushort", "unsigned short"), ("int", "int"),
    ("uint", "unsigned int"), ("long", "long"), ("ulong", "unsigned long"),
    ("llong", "long long"), ("ullong", "unsigned long long"),
    ("float", "float"), ("double", "double"), ("ldouble", "long double"),
    ("bool", "_Bool"), ("enum", "enum E"),
]
OPS = ["+", "-", "*", "/", "%", "<<", ">>", "==", "!=", "<", ">", "<=", ">="]
LIMITS = {
    "char": ("CHAR_MIN", "CHAR_MAX"), "schar": ("SCHAR_MIN", "SCHAR_MAX"),
    "uchar": ("0", "UCHAR_MAX"), "short": ("SHRT_MIN", "SHRT_MAX"),
    "ushort": ("0", "USHRT_MAX"), "int": ("INT_MIN", "INT_MAX"),
    "uint": ("0", "UINT_MAX"), "long": ("LONG_MIN", "LONG_MAX"),
    "ulong": ("0", "ULONG_MAX"), "llong": ("LLONG_MIN", "LLONG_MAX"),
    "ullong": ("0", "ULLONG_MAX"), "float": (), "double": (), "ldouble": (),
    "bool": ("0", "1"), "enum": ("EMIN", "EMAX"),
}
INTEGRAL = {t for t, _ in TYPES if t not in ("float", "double", "ldouble")}

def program():
    out = ["#include <limits.h>", "#include <float.h>", "#include <stdio.h>", "#include <math.h>",
           "enum E { EMIN = -2147483647 - 1, EZERO = 0, EMAX = 2147483647 };",
           "#define NAME(x) _Generic((x), char: \"char\", signed char: \"schar\", unsigned char: \"uchar\", "
           "short: \"short\", unsigned short: \"ushort\", int: \"int\", unsigned int: \"uint\", long: \"long\", "
           "unsigned long: \"ulong\", long long: \"llong\", unsigned long long: \"ullong\", float: \"float\", "
           "double: \"double\", long double: \"ldouble\", _Bool: \"bool\", default: \"?\")",
           "static void show(long double v) { if (isnan(v)) printf(\"nan\"); else if (v == (long long)v) "
           "printf(\"%lld\", (long long)v); else if (v >= 0 && v == (unsigned long long)v) "
           "printf(\"%llu\", (unsigned long long)v); else printf(\"%.21Lg\", v); }",
           "int main(void) {"]
    for ln, lt in TYPES:
        for rn, rt in TYPES:
            for op in OPS:
                if op in ("%", "<<", ">>") and (ln not in INTEGRAL or rn not in INTEGRAL):
                    continue
                typed = f"(({lt})0) + (({rt})0)" if op in ("==", "!=", "<", ">", "<=", ">=") else \
                        f"(({lt})0) {op} (({rt})0)"
                if op in ("<<", ">>"):
                    typed = f"(({lt})0) {op} (({rt})0)"
                out.append(f'  printf("%d {op.replace("%", "%%")} {ln} {rn} %s - - -\\n", (int)(sizeof(void*)), NAME({typed}));')
                lvals = ["-1", "0", "1"] + list(LIMITS[ln])
                rvals = ["-1", "0", "1"] + list(LIMITS[rn])
                for lv in lvals:
                    for rv in rvals:
                        out.append(value_line(op, ln, lt, lv, rn, rt, rv))
    out.append("  return 0; }")
    return "\n".join(out) + "\n"

def value_line(op, ln, lt, lv, rn, rt, rv):
    # The operands are converted to their types first; cases whose value C
    # leaves undefined are skipped by the program itself at run time.
    l = f"(({lt})({lv}))"
    r = f"(({rt})({rv}))"
    small = f"((long double){l} >= -1 && (long double){l} <= 1 && (long double){r} >= -1 && (long double){r} <= 1)"
    # the common type is signed integral: only small operands are safe
    signed_common = f"(((__typeof__({l} + {r}))-1) < 0 && ((__typeof__({l} + {r}))1 / 2) == 0)"
    cond = "1"
    if op in ("+", "-", "*"):
        cond = f"(!{signed_common} || {small})"
    elif op in ("/", "%"):
        cond = f"({r} != 0) && (!{signed_common} || (long double){r} != -1 || {small})"
    elif op in ("<<", ">>"):
        cond = (f"((long long){r} >= 0 && (long long){r} < 8 * (long long)sizeof(+{l}) && (long double){l} >= 0"
                f" && ((long double){l} <= 1 || {op!r}[0] == '>'))")
        cond = cond.replace(f"{op!r}[0]", '"' + op + '"[0]')
    fmt_op = op.replace("%", "%%")
    return (f'  if ({cond}) {{ printf("%d {fmt_op} {ln} {rn} - ", (int)(sizeof(void*))); show((long double){l}); printf(" "); '
            f'show((long double){r}); printf(" "); show((long double)({l} {op} {r})); printf("\\n"); }}')

FLOATING = {"float", "double", "ldouble"}

def kept(line):
    """Type lines all; value lines for the arithmetic operators, < and ==,
    and over floating operands for + and / only (the table stays small)."""
    size, op, left, right, result = line.split()[:5]
    if result != "-":
        return True
    if op in ("!=", ">", "<=", ">="):
        return False
    if (left in FLOATING or right in FLOATING) and op not in ("+", "/"):
        return False
    return True

def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = os.path.join(here, "..", "data", "c_arithmetic.txt")
    lines = output_of_both(program(), "mixed", ["-lm"])
    with open(target, "w") as f:
        f.write("# generated by gen/gen_c_arithmetic.py (gcc, x86-64 and -m32); do not edit\n")
        f.write("# address-size operator left right result-type left-value right-value result-value\n")
        seen = set()
        for line in lines:
            if line not in seen and kept(line):
                seen.add(line)
                f.write(line + "\n")
    print(f"{len(lines)} lines", file=sys.stderr)

if __name__ == "__main__":
    main()
