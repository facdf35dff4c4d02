#!/usr/bin/env python3
"""C character and string literals as gcc reads them for the target.

Each expression below is compiled by gcc for a big-endian EBCDIC target's
character sets (plain char unsigned, narrow literals in code page IBM-1047,
wide literals as 4-byte UTF-32 units: gcc runs on a little-endian host, so
its units are made in that order; a unit's value is what the target holds
big-endian) and its value printed; the values are
frozen into ../RoadCLiteralGcc.inc, rows of the literal road table.

Run: python3 gen_c_literals.py  (needs gcc with iconv's IBM1047)
"""
import os
import subprocess
import tempfile

EXPRESSIONS = [
    # escapes in character literals
    r"'\n'", r"'\t'", r"'\x41'", r"'\101'", r"'\''", r"'\\'", r"'\0'", r"'\?'", r"'\"'", r"'\a'",
    r"'\x7f'", r"'\377'", r"'A'", r"'z'",
    # escapes in string literals
    r'"a\nb"[1]', r'"a\x41"[1]', r'"\101BC"[0]', r'"tab\there"[3]', r'"q\"q"[1]', r'"\\"[0]',
    r'"a\0b"[2]', r'"\x20\x21"[1]',
    # wide literals, widened to wchar_t units
    r'*L"a"', r'L"ab"[1]', r'*(L"xy" + 1)', r'L"\x263A"[0]', r'L"\u00e9t\u00e9"[2]', r'L"\n"[0]',
    r"L'\101'", r"L'\x41'", r'L"a\x12345678"[1]',
    # casts of string literals
    r'*(unsigned char*)"abc"', r'((char*)"xyz")[2]', r'((unsigned char*)"\x7f")[0]', r'*(char*)"\n"',
]

def main():
    here = os.path.dirname(os.path.abspath(__file__))
    # The literals in one unit compiled for the target's sets; the printing
    # (whose format strings must stay ASCII) in another.
    values_unit = ["#include <wchar.h>", "unsigned values[%d];" % len(EXPRESSIONS), "void fill(void) {"]
    values_unit += ["  values[%d] = (unsigned)(%s);" % (i, e) for i, e in enumerate(EXPRESSIONS)]
    values_unit.append("}")
    printer = ["#include <stdio.h>", "extern unsigned values[];", "void fill(void);", "int main(void) {", "  fill();",
               "  for (int i = 0; i < %d; ++i) printf(\"%%u\\n\", values[i]);" % len(EXPRESSIONS),
               "  return 0; }"]
    with tempfile.TemporaryDirectory() as work:
        units = []
        for name, lines, charsets in (
                ("values.c", values_unit, ["-fexec-charset=IBM1047", "-fwide-exec-charset=UTF-32LE"]),
                ("printer.c", printer, [])):
            path = os.path.join(work, name)
            with open(path, "w") as f:
                f.write("\n".join(lines) + "\n")
            obj = path + ".o"
            subprocess.run(["gcc", "-funsigned-char", "-w", "-c", "-o", obj, path] + charsets, check=True)
            units.append(obj)
        program = os.path.join(work, "literals")
        subprocess.run(["gcc", "-o", program] + units, check=True)
        values = subprocess.run([program], check=True, capture_output=True, text=True).stdout.split()
    rows = []
    for e, v in zip(EXPRESSIONS, values):
        value = int(v)
        text = e.replace("\\", "\\\\").replace('"', '\\"')
        rows.append('    {"%s", %uu},' % (text, value))
    with open(os.path.join(here, "..", "RoadCLiteralGcc.inc"), "w") as f:
        f.write("// Made by gen/gen_c_literals.py from gcc's answers; do not edit.\n")
        f.write("\n".join(rows) + "\n")

if __name__ == "__main__":
    main()
