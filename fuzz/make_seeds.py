#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets (fuzz/corpus/<target>/):
expression texts of every form the sample debuggee's C and COBOL programs
offer (fuzz/targets/SampleDebuggee.cpp), and decimal inputs laid out as the
decimal target reads them (fuzz/targets/DecimalTarget.cpp).

    fuzz/make_seeds.py
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))

C = ["a + b", "s.arr[i] * 2 + ps->x", "-a", "a ? b : c", "f(a)", "f(a + 1) * 2", "arr[i]", "*p", "sizeof a",
     "sizeof(int)", "::f", "(T)a", "(char)a", "text[3]", "a << 2 | b & 0xFF", "p[1] = 3", "a++", "--b",
     "&s.arr[2]", "1.5e3 + a", "0x1p-3", "'x'", "L'w'", "\"abc\"", "a == b && c != 0 || !i", "~a ^ b",
     "a %= 3", "a += b * c", "ps->arr[a - 1]", "(s)", "s.x / 0", "arr", "&arr[0] + 1", "*(p + i)",
     "a, b", "this->x", "static_cast<int>(a)", "reinterpret_cast<char*>(p)", "S::x", "sizeof(S)",
     "(a > b) - (a < b)", "12345678901234567890ull", "1.0f / 3.0L", "nothing + 1", "a +", "(a", "f(,)"]

COBOL = ["A + B", "FLD OF GRP * 3 + 1", "PRICE * QTY + TOTAL", "TOTAL", "A = ZERO", "'AB'", "\"A\"\"B\"",
         "LENGTH OF NAME", "ADDRESS OF A", "NAME(2:3)", "NAME(2:)", "- A", "NOT A", "A ** 2", "A / 0",
         "QTY > 5 AND PRICE < 10", "QTY NOT = 0 OR A IS POSITIVE", "X'C1C2'", "N'AB'", "1.5E3", "-12.50",
         "SPACES", "HIGH-VALUES", "ZEROS", "QUOTE", "A IS NUMERIC", "NAME = SPACES", "(A + B) * (TOTAL - 1)",
         "FUNCTION LENGTH(NAME)", "GRP", "FLD IN GRP", "A B", "A +", "NOWHERE", "LENGTH OF GRP + 1"]


def packed(digits, value):
    n = digits // 2 + 1
    text = str(abs(value)).rjust(digits + (1 if digits % 2 == 0 else 0), "0")
    nibbles = [int(ch) for ch in text] + [0xD if value < 0 else 0xC]
    if len(nibbles) % 2:
        nibbles = [0] + nibbles
    return bytes(nibbles[i] * 16 + nibbles[i + 1] for i in range(0, len(nibbles), 2))[-n:]


def zoned(digits, value, kind):
    text = str(abs(value)).rjust(digits, "0")[-digits:] if digits else ""
    b = bytearray(0xF0 + int(ch) for ch in text)
    sign = 0xD0 if value < 0 else 0xC0
    if kind == 3 and b:
        b[-1] = sign | (b[-1] & 15)
    if kind == 2 and b:
        b[0] = sign | (b[0] & 15)
    if kind == 4:
        b = bytearray([0x60 if value < 0 else 0x4E]) + b
    if kind == 5:
        b = b + bytearray([0x60 if value < 0 else 0x4E])
    return bytes(b)


def operand(digits, scale, value, kind):
    # precision (byte % 76), scale (byte % 40 - 2), packed bytes, zoned bytes
    return bytes([digits, scale + 2]) + packed(digits, value) + zoned(digits, value, kind)


# flags (bit 7: a signed, bit 6: b signed, bit 3: power), sign kinds
# (a + 7 * b), result precision and scale, shift, target scale, a, b, text.
DECIMAL = [
    (0xC8, 3 + 7 * 3, 15, 2, 2, -2, (15, 2, -12345678, 3), (15, 2, 98765, 3), b"-123.45"),
    (0xC8, 3 + 7 * 3, 31, 4, -3, 0, (31, 4, 123456789012345678, 3), (31, 4, 98765432, 3),
     b"\x60\xF1\xF2\x4B\xF5"),
    (0xC0, 4 + 7 * 5, 9, 0, 1, 3, (7, 2, -5, 4), (7, 2, 5, 5), b"  +0.5"),
    (0xC8, 2 + 7 * 0, 72, 31, 0, -5, (72, 31, 10 ** 40 + 7, 2), (3, 0, 2, 0), b"1E-3"),
    (0x08, 1 + 7 * 3, 5, 5, -5, 5, (1, 0, 9, 1), (2, 1, -0, 3), b"99999"),
    (0xFF, 3 + 7 * 3, 31, 31, 40, -19, (31, 0, 0, 3), (31, 0, 0, 3), b""),
    (0x80, 0, 0, -2, 0, 0, (0, 0, 0, 0), (73, 5, 1, 3), b"1234567890" * 7 + b"1234"),
]


def main():
    for name, texts in (("c-parse", C), ("cobol-parse", COBOL)):
        folder = os.path.join(HERE, "corpus", name)
        os.makedirs(folder, exist_ok=True)
        for i, text in enumerate(texts):
            with open(os.path.join(folder, "seed-%02d" % i), "w") as f:
                f.write(text)
    folder = os.path.join(HERE, "corpus", "decimal")
    os.makedirs(folder, exist_ok=True)
    for i, (flags, kinds, pr, sr, shift, target, a, b, text) in enumerate(DECIMAL):
        blob = bytes([flags, kinds, pr, sr + 2, shift & 0xFF, target & 0xFF]) + operand(*a) + operand(*b) + text
        with open(os.path.join(folder, "seed-%02d" % i), "wb") as f:
            f.write(blob)


if __name__ == "__main__":
    main()
