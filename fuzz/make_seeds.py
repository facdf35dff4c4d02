#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets (fuzz/corpus/<target>/):
expression texts of every form the sample debuggee's C and COBOL programs
offer (fuzz/targets/SampleDebuggee.cpp), decimal inputs laid out as the
decimal target reads them (fuzz/targets/DecimalTarget.cpp), the texts of the
end-to-end tables for the road target, the update and SQL readers' texts.

The corpora are this script's output and nothing else: every input is
listed here, so a second run writes the same bytes. The structure test
structure.FuzzSeeds runs the --check form, which fails on a corpus file
that differs from the output, is missing, or was not written by it.

    fuzz/make_seeds.py                 write the corpora
    fuzz/make_seeds.py --check         compare the corpora with the output
    fuzz/make_seeds.py --missing-rows  the end-to-end tables' texts that no
                                       road seed has yet, to add to ROAD_LATER
"""
import glob
import os
import re
import sys

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


# The road target's texts: rows of the end-to-end tables
# (tests/api/loaded/Road*CasesTest.cpp). A seed's name and second byte come
# from its place in road_texts(), so new rows go at the end of ROAD_LATER,
# never between earlier ones: --missing-rows lists the tables' texts no seed
# has yet.
ROAD = [
    ("sql", ":SQLCA"), ("sql", ":CODES"), ("fortran", "arr[2] == 7"), ("fortran", "arr[4] - arr[1] == 6"),
    ("fortran", "arr[3]"), ("c", "a + b"), ("c", "a + b == 7"), ("c", "a + b == 8"), ("c", "a = 9"),
    ("c", "a / (b - 4)"), ("c", "nosuch"), ("c", "s"), ("c", "p"), ("cobol", "FLD OF GRP"), ("cobol", "GRP"),
    ("cobol", "TAB(3)"), ("cobol", "FLD OF GRP = 12.5"), ("cobol", "FLD"), ("cobol", "COMPUTE X = A ** 2"),
    ("cobol", "A / 0"), ("cpp", "m"), ("cpp", "this->m == 5"), ("cpp", "m == 5"), ("sql", ":AMOUNT"),
    ("sql", ":NOSUCH"), ("c", "a"), ("sql", ":SMALL"), ("sql", ":CODE"),
]
# Rows the tables gained after the road target's first seeds.
ROAD_LATER = [
    ("c", "p - arr"), ("c", "arr - p"), ("c", "p - arr == 2"), ("c", "&arr[0] == arr"), ("c", "p == arr"),
    ("c", "arr < p"), ("c", "arr == 0"), ("c", "1 && arr"), ("c", "(arr)"), ("c", "p ? arr : p"), ("c", "(p, arr)"),
    ("c", "&arr"), ("c", "&*arr"), ("c", "&arr[0] == &arr"), ("c", "&arr[1] == &arr"), ("c", "*&arr == arr"),
    ("cobol", "A + 1"), ("cobol", "3"), ("cobol", "A = 12"), ("cobol", "A = 6"), ("cobol", "NOT A = 6"),
    ("cobol", "NOT A = 12"), ("cobol", "A = 6 OR NOT A < 12 AND NOT A > 12"), ("cobol", "PASSING"),
    ("cobol", "PERFECT OF GRADE"), ("cobol", "NOT PERFECT"), ("c", "f.mid"), ("c", "f.odd"), ("c", "f"),
    ("c", "f.wide"), ("cobol", "P"), ("cobol", "Z"), ("cobol", "B"), ("cobol", "N"), ("fortran", "n"),
]


def road_texts():
    """The (language, text) of every road seed in order: the first table
    rows, the parsers' seeds in their languages, the later table rows."""
    rows = ROAD + [("c", t) for t in C] + [("cobol", t) for t in COBOL] + ROAD_LATER
    unique = []
    for row in rows:
        if row not in unique:
            unique.append(row)
    return unique


def table_rows():
    """The (language, text) of every row of the end-to-end tables."""
    rows = []
    for path in sorted(glob.glob(os.path.join(HERE, "..", "tests", "api", "loaded", "Road*CasesTest.cpp"))):
        with open(path) as f:
            source = f.read()
        for m in re.finditer(r'\{\s*"(?:[^"\\]|\\.)*",\s*(?:RoadLanguage|L)::(\w+),\s*\w+,\s*"((?:[^"\\]|\\.)*)"',
                             source):
            rows.append((m.group(1), m.group(2).encode().decode("unicode_escape")))
    return rows


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


def seeds():
    """Every corpus file: its path under corpus/ and its bytes."""
    out = {}
    for name, texts in (("c-parse", C), ("cobol-parse", COBOL)):
        for i, text in enumerate(texts):
            out["%s/seed-%02d" % (name, i)] = text.encode()
    for i, (flags, kinds, pr, sr, shift, target, a, b, text) in enumerate(DECIMAL):
        out["decimal/seed-%02d" % i] = \
            bytes([flags, kinds, pr, sr + 2, shift & 0xFF, target & 0xFF]) + operand(*a) + operand(*b) + text
    for i, (language, text) in enumerate(road_texts()):
        for bits, flag in ((64, 0), (32, 0x80)):
            out["road/seed-%03d-%d" % (i, bits)] = \
                bytes([ROAD_LANGUAGES.index(language) | flag, i % 4]) + text.encode("latin-1")
    for i, kind in enumerate(UPDATE_VARIABLES):
        for j, text in enumerate(UPDATE_TEXTS[kind]):
            flag = 0x80 if j % 2 else 0
            out["update/seed-%02d-%d" % (i, j)] = bytes([i | flag, 2 if j % 3 else j % 8]) + text.encode()
    for i, (reader, a, b, text) in enumerate(SQL):
        out["sql-readers/seed-%02d" % i] = bytes([reader, a, b]) + text
    return out


def write(corpus, out):
    for path, data in out.items():
        os.makedirs(os.path.dirname(os.path.join(corpus, path)), exist_ok=True)
        with open(os.path.join(corpus, path), "wb") as f:
            f.write(data)


def check(corpus, out):
    """The differences between the corpus folders and the output, one line
    each; none when they hold the same files with the same bytes."""
    found = {}
    for folder in sorted(os.listdir(corpus)):
        for name in sorted(os.listdir(os.path.join(corpus, folder))):
            with open(os.path.join(corpus, folder, name), "rb") as f:
                found[folder + "/" + name] = f.read()
    problems = []
    for path in sorted(set(found) | set(out)):
        if path not in out:
            problems.append("%s: not written by fuzz/make_seeds.py (remove it, or list its input there)" % path)
        elif path not in found:
            problems.append("%s: missing (run fuzz/make_seeds.py)" % path)
        elif found[path] != out[path]:
            problems.append("%s: differs from what fuzz/make_seeds.py writes" % path)
    return problems


def main(argv):
    corpus = os.path.join(HERE, "corpus")
    if argv == ["--check"]:
        problems = check(corpus, seeds())
        for line in problems:
            print(line)
        return 1 if problems else 0
    if argv == ["--missing-rows"]:
        have = road_texts()
        for row in table_rows():
            if row not in have:
                have.append(row)
                print("    %r," % (row,))
        return 0
    if argv:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    write(corpus, seeds())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
