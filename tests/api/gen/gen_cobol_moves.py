#!/usr/bin/env python3
"""MOVEs and conditions over COBOL items as GnuCOBOL carries them out.

Writes two frozen files beside the test (../data):
  cobol_moves.prog  the program file the test reads into the simulated host
                    (the data description entries of DATA below);
  cobol_moves.txt   one line per row: what the statement left in every
                    byte of every item, or what the condition answered.

For the rows it writes a COBOL program with the same entries, runs each
statement (or tests each condition) from the same initial storage with
cobc (GnuCOBOL 3.1), and dumps every level-01 item's bytes in hexadecimal
after it (the program restores every item before each row).

Adding rows
-----------
ROWS (below) is the one place to add comparisons: a tuple
    ("S", "MOVE A TO GRP3")     a statement; every item compared after it
    ("C", "GL = LOW-VALUES")    a condition; its truth compared, and every
                                item must be unchanged
The text must mean the same to cobc and to the evaluator (it is written into
the COBOL program as it stands, a condition inside IF ... DISPLAY). Items
are added to DATA: an entry per line as a program file writes it (level,
name, clauses, ending with a period). Then run this script; it rewrites
both files. Rows that need no new item leave the program file unchanged.

Bytes
-----
The program runs in ASCII with -fsign=EBCDIC (a sign in the last zone is
written as "{", "A".."I" for plus and "}", "J".."R" for minus), so that the
display bytes of a zoned item turn into the EBCDIC image byte by byte. The
bytes of DISPLAY items (alphanumeric, zoned, groups of them) are turned into
EBCDIC (code page 037; 0x00 and 0xFF stay); the bytes of COMP and COMP-3
items are kept as they are (big-endian binary, packed). A row must not move
the bytes of a COMP or COMP-3 item into DISPLAY storage or the other way
round: the table could not say what the EBCDIC program holds there.

An order condition between an item and a figurative constant whose answer
depends on the collating sequence (the program's is ASCII, the debuggee's
EBCDIC: "M" < "0" there) is left out of the table; equality never depends
on it.

Lines of cobol_moves.txt (fields separated by a tab):
  I <items>                      the initial storage (checked first)
  S <statement> <items>          the storage after the statement
  C <condition> T|F              the condition's truth
<items> is NAME=HEX for every level-01 item, separated by blanks.
"""
import os
import re
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "gen"))
from cobol_oracle import run_cobol  # noqa: E402

# The data: level-01 items with their subordinate items, as program-file
# entries. Only PIC X, 9, S9, V and USAGE DISPLAY, COMP, COMP-3 are sized
# by this script.
DATA = """\
01 A PIC 9(3) VALUE 6.
01 SA PIC S9(3) VALUE -42.
01 N5 PIC 9(5) VALUE 12345.
01 NAME PIC X(8) VALUE 'NORVEXA'.
01 S PIC X(6) VALUE 'ABCDEF'.
01 SHORT PIC X(2) VALUE 'QQ'.
01 C3 PIC X(3) VALUE 'C3C'.
01 GRP2.
   05 G2A PIC X(3) VALUE 'ABC'.
   05 G2B PIC 9(2) VALUE 45.
01 GRP3.
   05 G3A PIC X(3) VALUE 'XYZ'.
   05 G3B PIC X(3) VALUE 'UVW'.
01 REC.
   05 GS.
      10 GS1 PIC X(2) VALUE 'GS'.
      10 GS2 PIC X(2) VALUE 'HS'.
   05 AFTER-GS PIC X(4) VALUE 'NEXT'.
   05 G3.
      10 C3A PIC X(2) VALUE 'MN'.
      10 C3B PIC 9(2) VALUE 78.
   05 AFTER-G3 PIC X(3) VALUE 'END'.
   05 U PIC X(8) VALUE 'UUUUUUUU'.
   05 AFTER-U PIC X(2) VALUE 'ZZ'.
01 GL.
   05 GL1 PIC X(2) VALUE LOW-VALUES.
   05 GL2 PIC X(2) VALUE LOW-VALUES.
01 GH.
   05 GH1 PIC X(2) VALUE HIGH-VALUES.
   05 GH2 PIC X(2) VALUE HIGH-VALUES.
01 GZ.
   05 GZ1 PIC X(2) VALUE ZEROS.
   05 GZ2 PIC 9(2) VALUE 0.
01 GSP.
   05 GSP1 PIC X(2) VALUE SPACES.
   05 GSP2 PIC X(2) VALUE SPACES.
01 GQ.
   05 GQ1 PIC X(3) VALUE '\"\"\"'.
01 GM.
   05 GM1 PIC X VALUE '0'.
   05 GM2 PIC X(3) VALUE SPACES.
01 PK PIC S9(5) COMP-3 VALUE -123.
01 GPK.
   05 GPK1 PIC S9(5) COMP-3 VALUE 45.
01 BN PIC S9(4) COMP VALUE 77.
01 GBN.
   05 GBN1 PIC S9(4) COMP VALUE -5.
"""

FIGURATIVES = ["LOW-VALUE", "LOW-VALUES", "HIGH-VALUE", "HIGH-VALUES", "ZERO", "ZEROS", "ZEROES",
               "SPACE", "SPACES", "QUOTE", "QUOTES"]


def group_conditions():
    rows = []
    for group in ["GL", "GH", "GZ", "GSP", "GQ", "GM", "G3"]:
        for fig in FIGURATIVES:
            rows.append(("C", f"{group} = {fig}"))
        for fig in ["LOW-VALUES", "HIGH-VALUES", "ZEROS", "SPACES", "QUOTES"]:
            rows.append(("C", f"{fig} = {group}"))
            rows.append(("C", f"{group} < {fig}"))
            rows.append(("C", f"{group} > {fig}"))
    return rows


# The rows (see "Adding rows" above).
ROWS = [
    # Into groups: the sender's bytes, padded with spaces or cut.
    ("S", "MOVE A TO GRP3"),
    ("S", "MOVE SA TO GRP3"),
    ("S", "MOVE N5 TO GS"),
    ("S", "MOVE 123 TO GRP3"),
    ("S", "MOVE -12 TO GRP3"),
    ("S", "MOVE +7 TO GS"),
    ("S", "MOVE NAME TO GRP3"),
    ("S", "MOVE SHORT TO GRP3"),
    ("S", "MOVE GRP2 TO GRP3"),
    ("S", "MOVE GRP3 TO GS"),
    ("S", "MOVE GS TO GRP3"),
    ("S", "MOVE \"HI\" TO GRP3"),
    ("S", "MOVE 'ABCDEFGHIJKL' TO GS"),
    ("S", "MOVE 'ABCDEFGHIJKL' TO GRP3"),
] + [("S", f"MOVE {fig} TO {group}") for group in ["GRP3", "GS", "G3"] for fig in FIGURATIVES] + [
    # Packed and binary bytes into groups of the same storage, and back.
    ("S", "MOVE PK TO GPK"),
    ("S", "MOVE GPK TO PK"),
    ("S", "MOVE BN TO GBN"),
    ("S", "MOVE GBN TO BN"),
    # Into a subgroup.
    ("S", "MOVE C3 TO G3"),
    ("S", "MOVE 'HELLO' TO G3"),
    ("S", "MOVE GRP2 TO G3"),
    ("S", "MOVE G3 TO GRP3"),
    ("S", "MOVE A TO G3"),
    # Groups into alphanumeric items, longer and shorter.
    ("S", "MOVE GRP2 TO NAME"),
    ("S", "MOVE GRP3 TO SHORT"),
    ("S", "MOVE G3 TO S"),
    ("S", "MOVE GS TO U"),
    # Groups into numeric DISPLAY items: their bytes, as an alphanumeric move.
    ("S", "MOVE GRP2 TO N5"),
    ("S", "MOVE G3 TO A"),
    # Alphanumeric receivers.
    ("S", "MOVE 'HI' TO NAME"),
    ("S", "MOVE NAME TO SHORT"),
    ("S", "MOVE SHORT TO NAME"),
    ("S", "MOVE A TO NAME"),
    ("S", "MOVE SPACES TO NAME"),
    ("S", "MOVE HIGH-VALUES TO U"),
    # Reference-modified receivers within range.
    ("S", "MOVE 'ABCDE' TO S(2:5)"),
    ("S", "MOVE 'ABCD' TO S(3:4)"),
    ("S", "MOVE 'XYZ' TO S(1:2)"),
    ("S", "MOVE 'X' TO S(3:3)"),
    ("S", "MOVE SPACES TO S(2:3)"),
    ("S", "MOVE 'ABC' TO NAME(2:)"),
    ("S", "MOVE 'ABCDEFGHIJ' TO NAME(7:)"),
    ("S", "MOVE 'QR' TO U(7:2)"),
    ("S", "MOVE 'Q' TO U(2:1)"),
    ("S", "MOVE 'AB' TO U(5:)"),
    ("S", "MOVE GRP2 TO S(2:4)"),
    ("S", "MOVE C3 TO GRP3(2:3)"),
    ("S", "MOVE 'P' TO GS(4:1)"),
    ("S", "MOVE 'K' TO S(A:1)"),
    ("S", "MOVE 'KL' TO NAME(A:)"),
] + group_conditions()

# ---- sizes -----------------------------------------------------------------

ENTRY = re.compile(r"^\s*(\d\d)\s+([A-Z0-9-]+)(.*)\.\s*$")


def pic_size(pic, usage):
    text = pic.upper()
    count = 0
    digits = 0
    for m in re.finditer(r"([X9SV])(?:\((\d+)\))?", text):
        n = int(m.group(2) or 1)
        if m.group(1) == "X":
            count += n
        elif m.group(1) == "9":
            digits += n
    if usage == "COMP-3":
        return digits // 2 + 1
    if usage == "COMP":
        return 2 if digits <= 4 else 4 if digits <= 9 else 8
    return count + digits


def parse_data():
    """The level-01 items: name, size, and per byte whether it is raw; and
    every entry's level-01 item, offset in it and size."""
    items = []
    entries = {}
    stack = []  # (level, name)
    for line in DATA.splitlines():
        m = ENTRY.match(line)
        assert m, line
        level, name, rest = int(m.group(1)), m.group(2), m.group(3)
        pic = re.search(r"PIC\s+(\S+)", rest)
        usage = "COMP-3" if "COMP-3" in rest else "COMP" if re.search(r"\bCOMP\b", rest) else "DISPLAY"
        while stack and stack[-1][0] >= level:
            stack.pop()
        if level == 1:
            item = {"name": name, "raw": []}
            items.append(item)
            stack = []
        entries[name] = {"item": items[-1]["name"], "offset": len(items[-1]["raw"]), "size": 0}
        stack.append((level, name))
        if pic:
            size = pic_size(pic.group(1), usage)
            items[-1]["raw"] += [usage != "DISPLAY"] * size
            for _, owner in stack:
                entries[owner]["size"] += size
    for item in items:
        item["size"] = len(item["raw"])
    return items, entries


# The byte a figurative constant stands for, in the program's ASCII.
FIGURATIVE_BYTE = {"LOW": 0x00, "HIGH": 0xFF, "ZERO": 0x30, "SPACE": 0x20, "QUOTE": 0x22}


def same_in_both_orders(text, initial, entries):
    """False for an order condition between an item and a figurative
    constant whose answer depends on the collating sequence: the first byte
    that differs orders otherwise in ASCII than in EBCDIC."""
    m = re.match(r"^([A-Z0-9-]+) ([<>]) ([A-Z-]+)$", text)
    if not m or m.group(1) not in entries:
        return True
    e = entries[m.group(1)]
    data = initial[e["item"]][e["offset"]:e["offset"] + e["size"]]
    fig = next(b for k, b in FIGURATIVE_BYTE.items() if m.group(3).startswith(k))
    for b in data:
        if b != fig:
            ebcdic = lambda x: bytes.fromhex(to_ebcdic(bytes([x]), [False]))[0]
            return (b < fig) == (ebcdic(b) < ebcdic(fig))
    return True


# ---- the COBOL program -----------------------------------------------------

def program(items):
    out = ["       IDENTIFICATION DIVISION.", "       PROGRAM-ID. MOVES.", "       DATA DIVISION.",
           "       WORKING-STORAGE SECTION."]
    # Each item's redefinition follows its last subordinate entry.
    sizes = {item["name"]: item["size"] for item in items}
    current = None
    for line in DATA.splitlines() + ["01 END-OF-DATA."]:
        m = ENTRY.match(line)
        if m.group(1) == "01":
            if current is not None:
                out.append(f"       01 {current}-R REDEFINES {current} PIC X({sizes[current]}).")
            current = m.group(2)
            if current == "END-OF-DATA":
                break
        out.append("       " + line.strip())
    for item in items:
        out.append(f"       01 {item['name']}-K PIC X({item['size']}).")
    out += ["       01 DUMP-BUF PIC X(100).", "       01 DUMP-LEN PIC 9(4) COMP.",
            "       01 DUMP-I PIC 9(4) COMP.", "       01 DUMP-B PIC 9(4) COMP.",
            "       01 DUMP-H PIC 9(4) COMP.", "       01 DUMP-L PIC 9(4) COMP.",
            "       01 HEX-DIGITS PIC X(16) VALUE '0123456789ABCDEF'.",
            "       01 DUMP-OUT PIC X(200).",
            "       PROCEDURE DIVISION."]
    for item in items:
        out.append(f"           MOVE {item['name']}-R TO {item['name']}-K")
    out.append("           DISPLAY 'ROW I'")
    out.append("           PERFORM DUMP-ALL")
    for n, (kind, text) in enumerate(ROWS):
        out.append("           PERFORM RESTORE-ALL")
        out.append(f"           DISPLAY 'ROW {n}'")
        if kind == "S":
            out.append(f"           {text}")
            out.append("           PERFORM DUMP-ALL")
        else:
            out.append(f"           IF {text}")
            out.append("               DISPLAY 'T'")
            out.append("           ELSE")
            out.append("               DISPLAY 'F'")
            out.append("           END-IF")
    out.append("           STOP RUN.")
    out.append("       RESTORE-ALL.")
    for item in items:
        out.append(f"           MOVE {item['name']}-K TO {item['name']}-R")
    out.append("           .")
    out.append("       DUMP-ALL.")
    for item in items:
        out.append(f"           MOVE {item['name']}-R TO DUMP-BUF")
        out.append(f"           MOVE {item['size']} TO DUMP-LEN")
        out.append("           PERFORM DUMP-HEX")
    out.append("           .")
    out += ["       DUMP-HEX.",
            "           MOVE SPACES TO DUMP-OUT",
            "           PERFORM VARYING DUMP-I FROM 1 BY 1 UNTIL DUMP-I > DUMP-LEN",
            "               COMPUTE DUMP-B = FUNCTION ORD(DUMP-BUF(DUMP-I:1)) - 1",
            "               COMPUTE DUMP-H = DUMP-B / 16",
            "               COMPUTE DUMP-L = DUMP-B - DUMP-H * 16",
            "               MOVE HEX-DIGITS(DUMP-H + 1:1) TO DUMP-OUT(DUMP-I * 2 - 1:1)",
            "               MOVE HEX-DIGITS(DUMP-L + 1:1) TO DUMP-OUT(DUMP-I * 2:1)",
            "           END-PERFORM",
            "           DISPLAY DUMP-OUT(1:DUMP-LEN * 2)",
            "           ."]
    return "\n".join(out) + "\n"


def to_ebcdic(data, raw):
    out = bytearray()
    for b, r in zip(data, raw):
        if r or b in (0x00, 0xFF):
            out.append(b)
            continue
        assert 0x20 <= b < 0x7F, f"byte {b:02X} has no place in the table's display data"
        out += bytes([b]).decode("ascii").encode("cp037")
    return out.hex().upper()


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    data_dir = os.path.join(here, "..", "data")
    items, entries = parse_data()
    with tempfile.TemporaryDirectory() as tmp:
        output = run_cobol(program(items), tmp, ("-free", "-fsign=EBCDIC", "-fbinary-byteorder=big-endian"), "moves")
    lines = output.split("\n")
    at = 0

    def take_items():
        nonlocal at
        fields = []
        for item in items:
            data = bytes.fromhex(lines[at].strip())
            assert len(data) == item["size"], (item["name"], lines[at])
            fields.append(f"{item['name']}={to_ebcdic(data, item['raw'])}")
            at += 1
        return " ".join(fields)

    table = ["# generated by gen/gen_cobol_moves.py (GnuCOBOL); do not edit",
             "# I items | S statement items | C condition T|F (tab-separated)"]
    assert lines[at] == "ROW I", lines[at]
    at += 1
    initial = {}
    for n, item in enumerate(items):
        initial[item["name"]] = bytes.fromhex(lines[at + n].strip())
    table.append("I\t" + take_items())
    dropped = 0
    for n, (kind, text) in enumerate(ROWS):
        assert lines[at] == f"ROW {n}", (lines[at], n)
        at += 1
        if kind == "S":
            table.append(f"S\t{text}\t{take_items()}")
        else:
            assert lines[at] in ("T", "F"), lines[at]
            if same_in_both_orders(text, initial, entries):
                table.append(f"C\t{text}\t{lines[at]}")
            else:
                dropped += 1
            at += 1
    with open(os.path.join(data_dir, "cobol_moves.txt"), "w") as f:
        f.write("\n".join(table) + "\n")
    with open(os.path.join(data_dir, "cobol_moves.prog"), "w") as f:
        f.write("language cobol\n* generated by gen/gen_cobol_moves.py; do not edit\n")
        f.write(DATA)
    print(f"{len(ROWS) - dropped} rows ({dropped} left out: the collating sequence decides them)", file=sys.stderr)


if __name__ == "__main__":
    main()
