#!/usr/bin/env python3
"""Freezes the single-byte EBCDIC code pages the simulated host converts on
Windows (where it has no iconv) from the system's iconv: for each page the
Unicode code point of every byte, as a C++ table.

    python3 testhost/codepages/gen_codepage_tables.py
"""
import os
import subprocess

PAGES = {"1047": "CP1047", "037": "CP037", "1140": "CP1140"}
HERE = os.path.dirname(os.path.abspath(__file__))

for number, name in PAGES.items():
    raw = subprocess.run(["iconv", "-f", name, "-t", "UTF-16BE"], input=bytes(range(256)),
                         capture_output=True, check=True).stdout
    assert len(raw) == 512, f"{name} is not one code point a byte"
    points = [int.from_bytes(raw[i:i + 2], "big") for i in range(0, 512, 2)]
    assert len(set(points)) == 256, f"{name} is not one to one"
    lines = [f"// Code page {number}: the Unicode code point of each byte, frozen from",
             f"// iconv's {name} by gen_codepage_tables.py beside this file.",
             f"static const std::uint16_t cp{number}[256] = {{"]
    for row in range(0, 256, 8):
        lines.append("    " + ", ".join(f"0x{p:04X}" for p in points[row:row + 8]) + ",")
    lines.append("};")
    with open(os.path.join(HERE, f"cp{number}.inc"), "w") as out:
        out.write("\n".join(lines) + "\n")
