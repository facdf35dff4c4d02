#!/usr/bin/env python3
"""Statements a debugger user types into a C program, as gcc runs them.

Over variables of every integer width, bool, float, double and a pointer
into an int array, random statements (assignments, every compound operator
the operand types allow, ++ and --, casts, literals of mixed types, floating
right operands for integer receivers), each from fresh random initial
values, are compiled with gcc for x86-64 and with -m32 (SSE arithmetic:
every operation in its own type, plain char unsigned) and run; the initial
and the final image of every variable is frozen into
../data/c_statements.txt, big-endian as the debuggee stores it (gcc's
scalar_storage_order). Conditions a user types (x == 0.1, y == 0.1f,
sizeof, literal and unsigned mixes) are frozen with their truth value.

Statements whose C value is undefined (a floating value out of the
receiver's range, division by zero, INT_MIN / -1) are left out by the
program itself at run time.

Lines, tab-separated: S, address size, statement, initial images, final
images, the images in the order of VARIABLES, the pointer as its element
index in arr; C, address size, condition, 0 or 1.

Run: python3 gen_c_statements.py  (needs gcc with -m32; a 32-bit program
runs under qemu-i386 where the kernel runs none)
"""
import os
import random
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "compiler", "gen"))
from gcc_runs import output_of_both  # noqa: E402

# name, C type, size in bytes (0: the address size), kind
VARIABLES = [
    ("c", "char", 1, "u"), ("sc", "signed char", 1, "s"), ("uc", "unsigned char", 1, "u"),
    ("s", "short", 2, "s"), ("us", "unsigned short", 2, "u"), ("i", "int", 4, "s"),
    ("u", "unsigned int", 4, "u"), ("l", "long", 0, "s"), ("ul", "unsigned long", 0, "u"),
    ("ll", "long long", 8, "s"), ("ull", "unsigned long long", 8, "u"), ("b", "_Bool", 1, "b"),
    ("f", "float", 4, "f"), ("d", "double", 8, "d"), ("p", "int *", 0, "p"),
]
INTEGERS = [v for v in VARIABLES if v[3] in "su"]
ARITHMETIC = [v for v in VARIABLES if v[3] in "subfd"]
ARRAY = [10, -20, 30, -40, 50, -60, 70, -80]

INT_LITERALS = ["0", "1", "-1", "3", "7", "100", "255u", "65535", "0x7FFFFFFF", "0xFFFFFFFF", "2147483648",
                "4294967295u", "4294967296", "1L", "2UL", "10ULL", "-5LL", "0x80000000", "017", "1000000",
                "0xFFFFFFFFFFFFFFFF", "9223372036854775807"]
FLOAT_LITERALS = ["0.1", "0.1f", "1.5", "-2.5", "0.5f", "3.0", "1e3", "0.3", "2.75f", "1.0/3"]


def width(var, bits):
    return var[2] if var[2] else bits // 8


def random_value(var, bits, small=False):
    kind = var[3]
    n = width(var, bits)
    if kind == "b":
        return random.choice([0, 1])
    if kind in "fd":
        return random.choice([0.1, -0.1, 1.5, -2.5, 3.75, 100.3, 1e-3, 0.0, 7.0, -1.0 / 3, 2.5e6])
    if kind == "p":
        return random.randint(2, 5)
    if small:
        return random.randint(0, 100) if kind == "u" else random.randint(-100, 100)
    lo, hi = (0, 2 ** (8 * n) - 1) if kind == "u" else (-(2 ** (8 * n - 1)), 2 ** (8 * n - 1) - 1)
    choice = random.random()
    if choice < 0.2:
        return random.choice([lo, hi, 0, 1, lo + 1, hi - 1])
    if choice < 0.6:
        return random.randint(max(lo, -1000), min(hi, 1000))
    return random.randint(lo, hi)


def image(var, value, bits):
    kind = var[3]
    n = width(var, bits)
    if kind == "f":
        return struct.pack(">f", value).hex()
    if kind == "d":
        return struct.pack(">d", value).hex()
    if kind == "p":
        return str(value)
    return (value % (2 ** (8 * n))).to_bytes(n, "big").hex()


def c_value(var, value):
    if var[3] in "fd":
        return float(value).hex()
    if var[3] == "p":
        return f"&arr[{value}]"
    if var[3] == "u":
        return f"{value}ULL"
    return f"(-{-value - 1}LL - 1)" if value < 0 else f"{value}LL"


def promoted_bits(var, bits):
    return max(32, 8 * width(var, bits))


def statement(bits):
    """A statement, the values it starts from (None: random), and a guard
    (a C condition that must hold for the statement to be defined)."""
    shape = random.random()
    small = {}
    guard = "1"
    if shape < 0.12:  # assignment
        x = random.choice(ARITHMETIC)
        y = random.choice(ARITHMETIC)
        text = f"{x[0]} = {y[0]}"
        if x[3] in "su" and y[3] in "fd":
            guard = fits(x, y[0], bits)
    elif shape < 0.22:  # ++ / --
        x = random.choice(ARITHMETIC + [VARIABLES[-1]])
        op = random.choice(["{}++", "++{}", "{}--", "--{}"])
        text = op.format(x[0])
    elif shape < 0.32:  # casts
        x = random.choice(ARITHMETIC)
        y = random.choice(ARITHMETIC)
        t = random.choice(ARITHMETIC)
        text = f"{x[0]} = ({t[1]}){y[0]}"
        if t[3] in "su" and y[3] in "fd":
            guard = fits(t, y[0], bits)
            if x[3] in "su" and x is not t:
                guard = f"({guard})"
        elif x[3] in "su" and t[3] in "fd":
            guard = fits(x, f"({t[1]}){y[0]}", bits)
    elif shape < 0.42:  # mixed literals
        x = random.choice(ARITHMETIC)
        y = random.choice(ARITHMETIC)
        lit = random.choice(INT_LITERALS + FLOAT_LITERALS)
        op = random.choice(["+", "-", "*", "/", "^", "|", "&"] if lit in INT_LITERALS and y[3] in "sub"
                           else ["+", "-", "*", "/"])
        expr = f"{y[0]} {op} {lit}"
        text = f"{x[0]} = {expr}"
        guard = defined(expr, op, lit, bits)
        if x[3] in "su":
            guard = f"({guard}) && ({fits(x, '(' + expr + ')', bits, plain=True)})"
    elif shape < 0.50:  # the pointer
        n = random.choice(["1", "2", "-1", "i", "uc", "(char)1", "b"])
        text = random.choice([f"p += {n}", f"p -= {n}", f"p = p + {n}", "i = *p", "*p = i", "*p += 1.5",
                              "d = *p * 0.1", "p[1] = s", "ll = p - arr"])
        small = {"i": True, "uc": True}
        if "i" in text.split() or n in ("i", "uc"):
            guard = "i >= -2 && i <= 2 && uc <= 2"
            small = {}
    else:  # compound assignment
        x = random.choice(ARITHMETIC)
        integral = x[3] in "sub"
        ops = ["+=", "-=", "*=", "/="] + (["%=", "<<=", ">>=", "&=", "|=", "^="] if integral else [])
        op = random.choice(ops)
        if op in ("<<=", ">>="):
            count = random.randint(0, promoted_bits(x, bits) - 1)
            y = random.choice([str(count), str(count) + "u", str(count) + "LL"])
            text = f"{x[0]} {op} {y}"
            if op == "<<=" and x[3] == "s":
                guard = f"{x[0]} >= 0"
        else:
            right_is_float = op not in ("%=", "&=", "|=", "^=") and random.random() < 0.35
            if random.random() < 0.5:
                candidates = [v for v in ARITHMETIC if (v[3] in "fd") == right_is_float and
                              (op not in ("%=", "&=", "|=", "^=") or v[3] in "sub")]
                y = random.choice(candidates)[0]
            else:
                y = random.choice(FLOAT_LITERALS if right_is_float else INT_LITERALS)
            text = f"{x[0]} {op} {y}"
            binary = op[:-1]
            guard = defined(f"{x[0]} {binary} {y}", binary, y, bits)
            if x[3] in "su" and (right_is_float or x[3] in "fd"):
                guard = f"({guard}) && ({fits(x, '(' + x[0] + ' ' + binary + ' ' + y + ')', bits, plain=True)})"
            if x[3] in "su" and right_is_float:
                small[x[0]] = True
    return text, small, guard


def fits(receiver, expr, bits, plain=False):
    """The floating value of expr lies in the receiver's range."""
    n = width(receiver, bits)
    if receiver[3] == "u":
        lo, hi = "-0.99L", f"{float(2 ** (8 * n))}L"
    else:
        lo, hi = f"{float(-(2 ** (8 * n - 1))) - 0.99}L", f"{float(2 ** (8 * n - 1))}L"
    return f"(long double)({expr}) > {lo} && (long double)({expr}) < {hi}"


def defined(expr, op, right, bits):
    """Division by zero and a quotient that overflows are undefined."""
    if op not in ("/", "%"):
        return "1"
    return f"(long double)({right}) != 0 && !((long double)({right}) == -1 && (__typeof__({expr}))-1 < 0)"


CONDITIONS = [
    "d == 0.1", "f == 0.1f", "f == 0.1", "f == (float)d", "d == (double)0.1", "d - 0.1 == 0", "(float)1/3 == f3",
    "sizeof(1) == 4", "sizeof(1L) == sizeof(long)", "sizeof(2.0) == 8", "sizeof(2.0f) == 4", "sizeof(-c) == 4",
    "sizeof(+c) == 4", "sizeof(-uc) == 4", "sizeof(-s) == 4", "sizeof(a < b) == 4", "sizeof(!a) == 4",
    "sizeof('a') == 4", "sizeof(\"abc\") == 4", "sizeof(4294967296) == 8", "sizeof(0xFFFFFFFF) == 4",
    "(u ^ us) <= -237", "-1 < 0u", "-1L < 0u", "-1 < 0", "0xFFFFFFFF == -1", "4294967295u == -1",
    "(-(73 | 169)) % u == 0", "~(a == 54) == -1", "~(a == 54) == -2", "u > -1", "2147483648 > 0",
    "-2147483648 < 0", "a * 1.5 == 6", "a / 2 == 1", "a / 2.0 == 1.5", "f * 3 == 4.5f", "d * 10 == 1",
    "c == 120", "uc + 100 > 255", "s - 1 == -3", "ull + 1 == 0", "ull > 0", "ll == -1LL",
]


def program(rows, bits):
    lines = ["#include <stdio.h>", "#include <string.h>",
             f"_Static_assert(sizeof(void *) * 8 == {bits}, \"address size\");"]
    for name, ctype, _, kind in VARIABLES:
        lines.append(f"{ctype} {name};")
    lines.append(f"int arr[8];")
    lines.append("double x = 0.1; float y = 0.1f;")
    # the big-endian images: a structure of one member each
    lines.append("static void hex(const void *v, unsigned n) { const unsigned char *b = v;"
                 " for (unsigned k = 0; k < n; ++k) printf(\"%02x\", b[k]); }")
    lines.append("static void show(void) {")
    for name, ctype, _, kind in VARIABLES:
        if kind == "p":
            lines.append("  printf(\"%d\", (int)(p - arr));")
        else:
            lines.append(f"  {{ struct __attribute__((scalar_storage_order(\"big-endian\"))) {{ {ctype} v; }} w;"
                         f" w.v = {name}; hex(&w, sizeof(w.v)); printf(\" \"); }}")
    lines.append("}")
    lines.append("int main(void) {")
    for text, values, guard in rows:
        lines.append("  {")
        lines.append(f"    memcpy(arr, (int[]){{{', '.join(map(str, ARRAY))}}}, sizeof arr);")
        for (name, ctype, _, kind) in VARIABLES:
            lines.append(f"    {name} = {c_value((name, ctype, _, kind), values[name])};")
        lines.append(f"    if ({guard}) {{ printf(\"S\\t{text.replace('%', '%%')}\\t\"); show(); printf(\"\\t\"); {text}; show(); printf(\"\\n\"); }}")
        lines.append("  }")
    lines.append("  { double d = 0.1; float f = 0.1f, f3 = (float)1/3; int a = 3, b = 4; unsigned char c = 120, uc = 200;"
                 " short s = -2; unsigned u = 4000000000u; unsigned short us = 65000; long long ll = -1;"
                 " unsigned long long ull = 0xFFFFFFFFFFFFFFFFull;")
    for cond in CONDITIONS:
        escaped = cond.replace("\\", "\\\\").replace('"', '\\"')
        lines.append(f"    printf(\"C\\t{escaped.replace('%', '%%')}\\t%d\\n\", ({cond}) ? 1 : 0);")
    lines.append("    (void)a; (void)b; (void)c; (void)uc; (void)s; (void)u; (void)us; (void)ll; (void)ull; (void)f3; }")
    lines.append("  return 0; }")
    return "\n".join(lines) + "\n"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = os.path.join(here, "..", "data", "c_statements.txt")
    out = ["# generated by gen/gen_c_statements.py (gcc, x86-64 and -m32 with SSE arithmetic); do not edit",
           "# variables: " + " ".join(v[0] for v in VARIABLES) + "; int arr[8] = {" + ", ".join(map(str, ARRAY)) + "}",
           "# tab-separated: S, address size, statement, initial images, final images (p: its index in arr);"
           " C, address size, condition, truth"]
    for bits in (64, 32):
        random.seed(51 + bits)
        rows = []
        for _ in range(330):
            text, small, guard = statement(bits)
            values = {v[0]: random_value(v, bits, small.get(v[0], False)) for v in VARIABLES}
            rows.append((text, values, guard))
        flags = (["-m64"] if bits == 64 else ["-m32", "-msse2", "-mfpmath=sse"]) + ["-funsigned-char", "-fwrapv"]
        lines = output_of_both(program(rows, bits), f"statements{bits}", flags=flags)
        for line in lines:
            kind, text, *rest = line.split("\t")
            if kind == "S":
                before, after = rest
                out.append(f"S\t{bits}\t{text}\t{before.strip()}\t{after.strip()}")
            else:
                out.append(f"C\t{bits}\t{text}\t{rest[0]}")
    with open(target, "w") as f:
        f.write("\n".join(out) + "\n")
    print(f"{len(out)} lines", file=sys.stderr)


if __name__ == "__main__":
    main()
