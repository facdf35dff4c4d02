#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets (fuzz/corpus/<target>/):
expression texts of every form the sample debuggee's C and COBOL programs
offer (fuzz/targets/SampleDebuggee.cpp), and decimal inputs laid out as the
decimal target reads them (fuzz/targets/DecimalTarget.cpp).

    fuzz/make_seeds.py
"""
import glob
import os
import re

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


# reader (0 integer, 1 hexadecimal, 2 packed, 3 zoned, 4 float, 5 decimal
# float), size or precision, scale or alignment, text: the texts an SQL
# host variable's update takes, and the refusals beside them.
SQL = [
    (0, 0, 0, b"-9223372036854775808"), (0, 0, 0, b"+42"), (0, 0, 0, b"9223372036854775808"), (0, 0, 0, b"1-2"),
    (1, 0, 0, b"C1C2C3"), (1, 4, 1, b"0aFf"), (1, 2, 1, b"00112233"), (1, 3, 0, b"ABC"),
    (2, 7, 2, b"-12345.67"), (2, 31, 4, b"1234567890123456789012345678.901"), (2, 5, 0, b"1.2.3"),
    (2, 3, 1, b"+.5"), (3, 7, 2, b"-12345.67"), (3, 9, 0, b"123456789012"), (3, 4, 2, b"-"),
    (4, 0, 0, b"1.5e3"), (4, 0, 0, b"-0x1.8p1"), (4, 0, 0, b"2.5d-2"), (4, 0, 0, b"1e99999"), (4, 0, 0, b"abc"),
    (5, 0, 0, b"1.5"), (5, 1, 0, b"-1E+300"), (5, 2, 0, b"9.999999999999999999999999999999999E6144"),
    (5, 0, 0, b"NaN"), (5, 3, 0, b"1"), (5, 2, 0, b"1.0\x002"),
]


# The road target's first byte: the language (its index here) plus 0x80 for
# the program of 4-byte addresses.
ROAD_LANGUAGES = ["c", "cpp", "cobol", "fortran", "sql"]


def road_texts():
    """The (language, text) of every row of the end-to-end tables, then the
    parsers' seeds in their languages."""
    rows = []
    for path in sorted(glob.glob(os.path.join(HERE, "..", "tests", "api", "loaded", "Road*CasesTest.cpp"))):
        source = open(path).read()
        for m in re.finditer(r'\{\s*"(?:[^"\\]|\\.)*",\s*(?:RoadLanguage|L)::(\w+),\s*\w+,\s*"((?:[^"\\]|\\.)*)"',
                             source):
            rows.append((m.group(1), m.group(2).encode().decode("unicode_escape")))
    rows += [("c", t) for t in C] + [("cobol", t) for t in COBOL]
    unique = []
    for row in rows:
        if row not in unique:
            unique.append(row)
    return unique


# The update target's variables in the order of fuzz/targets/UpdateTarget.cpp
# (first byte: the index, plus 0x80 for the program of 4-byte addresses;
# second: the representation), each with texts of its kind.
UPDATE_TEXTS = {
    "int": ["12", "-2", "2147483648", "0x7F", "1.5", "abc", ""],
    "float": ["1.5", "-0.0", "1e400", "0x1p-3", "nan", "x"],
    "decimal": ["12", "-1.25", "99999999999", "+.5", "1.2.3", "-"],
    "text": ["XYZ", "'AB'", "", "A LONGER TEXT THAN THE FIELD"],
    "edited": ["'AB'", "'ABCDEFGH'", "'A1 B2'", "12"],
    # a numeric-edited item takes a group's bytes alone
    "numeric-edited": ["12", "-1.25", "GRP", "'AB'"],
}
UPDATE_VARIABLES = ["int"] * 3 + ["float"] * 2 + ["int"] * 4 + ["decimal"] * 5 + ["int"] * 3 + ["decimal"] + \
    ["float"] + ["text"] * 2 + ["int"] * 3 + ["numeric-edited", "edited"]


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
    folder = os.path.join(HERE, "corpus", "road")
    os.makedirs(folder, exist_ok=True)
    for i, (language, text) in enumerate(road_texts()):
        for bits, flag in ((64, 0), (32, 0x80)):
            with open(os.path.join(folder, "seed-%03d-%d" % (i, bits)), "wb") as f:
                f.write(bytes([ROAD_LANGUAGES.index(language) | flag, i % 4]) + text.encode("latin-1"))
    folder = os.path.join(HERE, "corpus", "update")
    os.makedirs(folder, exist_ok=True)
    for i, kind in enumerate(UPDATE_VARIABLES):
        for j, text in enumerate(UPDATE_TEXTS[kind]):
            flag = 0x80 if j % 2 else 0
            with open(os.path.join(folder, "seed-%02d-%d" % (i, j)), "wb") as f:
                f.write(bytes([i | flag, 2 if j % 3 else j % 8]) + text.encode())
    folder = os.path.join(HERE, "corpus", "sql-readers")
    os.makedirs(folder, exist_ok=True)
    for i, (reader, a, b, text) in enumerate(SQL):
        with open(os.path.join(folder, "seed-%02d" % i), "wb") as f:
            f.write(bytes([reader, a, b]) + text)


if __name__ == "__main__":
    main()
