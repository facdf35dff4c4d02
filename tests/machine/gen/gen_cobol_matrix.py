#!/usr/bin/env python3
"""Generates tests/machine/data/cobol_matrix.tsv: the COBOL MOVE and compare
matrix of the stack items.

Every source kind with a few values is MOVEd into every target kind, and
compared (EQ, LT) against a few right operands. GnuCOBOL's cobc answers every
MOVE it can express: one program MOVEs each source into each target and
DISPLAYs the target's storage byte by byte (FUNCTION ORD over a PIC X
REDEFINES), so packed and binary bytes survive the output. The source's own
storage image is taken from the same program.

cobc's storage is ASCII; the debuggee's is EBCDIC. Text bytes become EBCDIC
through iconv (code page 1047). A signed zoned item's sign digit carries
cobc's overpunch: p to y (a negative digit) becomes a D zone, a plain digit a
C zone. COMP-3 and COMP bytes (big-endian) are kept as they are.

Cells where this system answers by its own rules rather than by the MOVE
rules carry that answer and the reason in the last column:
  - a numeric-edited target takes a number or ZERO (edited by cobc's MOVE)
    or a group's text, nothing else (text would be read as digits, another
    edited item de-edited): code 1;
  - compares of numbers are computed with Python's decimal.

Rows, tab separated:
  MOVE  source-kind  source-hex  target-kind  result-hex|ERR:n  reason
  CMP   left-kind    left-hex    right-kind   right-hex  eq lt  reason

Run: python3 gen_cobol_matrix.py > ../data/cobol_matrix.tsv  (needs cobc)
"""
import os
import subprocess
import sys
import tempfile
from decimal import Decimal, ROUND_DOWN

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "gen"))
from cobol_oracle import hfp  # noqa: E402

# kind: (PIC clause in cobc, storage bytes, numeric?, signed zoned sign
# position: None, 'first', 'last')
KINDS = {
    'X6':   ('PIC X(6)', 6, False, None),
    'G6':   (None, 6, False, None),  # a group of one PIC X(6) field
    'P52':  ('PIC S9(3)V99 COMP-3', 3, True, None),
    'PU3':  ('PIC 9(3) COMP-3', 2, True, None),
    'Z3':   ('PIC S9(3)V99', 5, True, 'last'),                # trailing embedded
    'Z2':   ('PIC S9(3)V99 SIGN LEADING', 5, True, 'first'),  # leading embedded
    'Z5':   ('PIC S9(3)V99 SIGN TRAILING SEPARATE', 6, True, None),
    'Z4':   ('PIC S9(3)V99 SIGN LEADING SEPARATE', 6, True, None),
    'ZU':   ('PIC 9(3)', 3, True, None),
    'B4':   ('PIC S9(4) COMP', 2, True, None),
    'B52':  ('PIC S9(3)V99 COMP', 4, True, None),
    'NE':   ('PIC -ZZ9.99', 7, False, None),
    'AE':   ('PIC XXBXX', 5, False, None),
    'XJ':   ('PIC X(6) JUSTIFIED RIGHT', 6, False, None),
}

# Figurative constants as sources: the constant and its EBCDIC byte.
FIGURATIVES = {'SPACE': 0x40, 'ZERO': 0xF0, 'HIGH-VALUE': 0xFF, 'LOW-VALUE': 0x00, 'QUOTE': 0x7F}

# Values of each source kind: cobc VALUE literals (numbers) or text.
NUMBERS = {
    'P52': ['12.5', '-7.25', '0', '999.99', '-999.99'],
    'PU3': ['12', '0', '999'],
    'Z3': ['12.5', '-7.25', '0', '999.99'],
    'Z2': ['12.5', '-7.25'],
    'Z5': ['12.5', '-7.25', '0'],
    'Z4': ['-7.25', '999.99'],
    'ZU': ['12', '0', '999'],
    'B4': ['12', '-7', '0', '9999'],
    'B52': ['12.5', '-7.25', '0', '999.99'],
}
TEXTS = {
    'X6': ['AB12CD', '12    ', '      '],
    'G6': ['AB12CD', '000125'],
}

TARGETS = ['X6', 'G6', 'P52', 'PU3', 'Z3', 'Z2', 'Z5', 'Z4', 'ZU', 'B4', 'B52', 'NE', 'AE', 'XJ']
NUMERIC_TARGETS = {'P52', 'PU3', 'Z3', 'Z2', 'Z5', 'Z4', 'ZU', 'B4', 'B52'}


def field(name, kind, value=None):
    pic, size, _, _ = KINDS[kind]
    lines = [f'       01 {name}G.']
    if pic is None:
        lines.append(f'          05 {name} PIC X(6)' + (f' VALUE "{value}"' if value is not None else '') + '.')
    else:
        v = ''
        if value is not None:
            v = f' VALUE "{value}"' if kind in TEXTS else f' VALUE {value}'
        lines.append(f'          05 {name} {pic}{v}.')
    lines.append(f'       01 {name}B REDEFINES {name}G PIC X({size}).')
    return lines


def _table():
    """Latin-1 to code page 1047, byte by byte, from iconv."""
    r = subprocess.run(['iconv', '-f', 'ISO-8859-1', '-t', 'IBM1047'], input=bytes(range(256)),
                       capture_output=True, check=True)
    assert len(r.stdout) == 256
    return r.stdout


TO_1047 = _table()


def ebcdic(b):
    return bytes(TO_1047[c] for c in b)


def to_debuggee(kind, raw):
    pic, size, numeric, sign_at = KINDS[kind]
    if pic is not None and ('COMP' in pic):
        return raw
    out = bytearray(ebcdic(raw))
    if pic is not None and pic.startswith('PIC S9') and 'SEPARATE' not in pic:
        i = size - 1 if sign_at == 'last' else 0
        c = raw[i]
        if 0x70 <= c <= 0x79:
            out[i] = 0xD0 + (c - 0x70)
        elif 0x30 <= c <= 0x39:
            out[i] = 0xC0 + (c - 0x30)
    return bytes(out)


def sources():
    for kind, values in list(NUMBERS.items()) + list(TEXTS.items()):
        for v in values:
            yield kind, v
    for name in FIGURATIVES:
        yield 'FIG', name


def program_of(srcs, refused):
    """The program text, the cells it moves, and the source line of each
    cell's MOVE."""
    data = []
    proc = []
    for n, (kind, v) in enumerate(srcs):
        if kind == 'FIG':
            data += [f'       01 S{n}G.', f'          05 S{n} PIC X VALUE {v}.', f'       01 S{n}B REDEFINES S{n}G PIC X.']
        else:
            data += field(f'S{n}', kind, v)
    for n, (kind, v) in enumerate(srcs):
        if kind == 'X6' and digits_and_blanks(v):
            data.append(f'       01 Q{n} PIC 9(6) VALUE {text_number(v)}.')
    for t, kind in enumerate(TARGETS):
        data += field(f'T{t}', kind)
    data += ['       01 I PIC 99.', '       01 W PIC X(40).', '       01 L PIC 99.']
    head = ['       IDENTIFICATION DIVISION.', '       PROGRAM-ID. MATRIX.', '       DATA DIVISION.',
            '       WORKING-STORAGE SECTION.', *data, '       PROCEDURE DIVISION.']
    cells = []
    lines = {}
    for n, (skind, v) in enumerate(srcs):
        size = KINDS[skind][1] if skind != 'FIG' else 1
        proc.append(f'           MOVE S{n}B TO W MOVE {size} TO L PERFORM DUMP')
        for t, tkind in enumerate(TARGETS):
            if (n, tkind) in refused:
                continue
            proc.append(f'           MOVE ALL X"EE" TO T{t}B')
            shadow = skind == 'X6' and tkind in NUMERIC_TARGETS and digits_and_blanks(v)
            if skind == 'FIG':
                proc.append(f'           MOVE {v} TO T{t}')
            else:
                proc.append(f'           MOVE {"Q" if shadow else "S"}{n} TO T{t}')
            lines[len(head) + len(proc)] = (n, tkind)
            proc.append(f'           MOVE T{t}B TO W MOVE {KINDS[tkind][1]} TO L PERFORM DUMP')
            cells.append((n, tkind))
    text = '\n'.join(head + proc + [
        '           STOP RUN.',
        '       DUMP.',
        '           PERFORM VARYING I FROM 1 BY 1 UNTIL I > L',
        '             DISPLAY FUNCTION ORD(W(I:1)) " " WITH NO ADVANCING',
        '           END-PERFORM',
        '           DISPLAY " ".',
        '',
    ])
    return text, cells, lines


def run_cobc():
    """Runs every MOVE cobc compiles; the MOVEs the language forbids (cobc's
    "invalid MOVE statement", a figurative constant into a number) are left out and reported as refused."""
    srcs = list(sources())
    refused = set()
    with tempfile.TemporaryDirectory() as d:
        src = os.path.join(d, 'matrix.cob')
        exe = os.path.join(d, 'matrix')
        for _ in range(10):
            text, cells, lines = program_of(srcs, refused)
            with open(src, 'w') as f:
                f.write(text)
            r = subprocess.run(['cobc', '-x', '-o', exe, src], capture_output=True, text=True)
            if r.returncode == 0:
                break
            for line in r.stderr.splitlines():
                if 'invalid MOVE' in line or 'MOVE of figurative constant' in line:
                    refused.add(lines[int(line.split(':')[1])])
        else:
            raise SystemExit('cobc keeps failing')
        out = subprocess.run([exe], check=True, capture_output=True).stdout.decode().split('\n')
    it = iter(out)
    images = {}
    results = {}
    for n, (skind, v) in enumerate(srcs):
        images[n] = bytes(int(x) - 1 for x in next(it).split())
        for tkind in TARGETS:
            if (n, tkind) not in refused:
                results[(n, tkind)] = bytes(int(x) - 1 for x in next(it).split())
    return srcs, images, results, refused


def digits_and_blanks(text):
    return all(c.isdigit() or c == ' ' for c in text)


def text_number(text):
    """The number this system reads from alphanumeric text moved into a
    number: the bytes as zoned digits of the text's own length (a blank's
    digit nibble is 0), not de-justified as COBOL's MOVE would."""
    return int(''.join(c if c.isdigit() else '0' for c in text))


def group_into(tkind, group):
    """A group's bytes moved into a target: taken as stored, padded with
    blanks; a binary target reads them as its big-endian integer, kept to
    its digits."""
    size = KINDS[tkind][1]
    raw = (group + b'\x40' * size)[:size]
    if tkind in ('B4', 'B52'):
        digits = 4 if tkind == 'B4' else 5
        v = int.from_bytes(raw, 'big', signed=True)
        v = (abs(v) % 10 ** digits) * (-1 if v < 0 else 1)
        raw = v.to_bytes(size, 'big', signed=True)
    return raw


def main():
    srcs, images, results, refused = run_cobc()
    print('# Generated by tests/machine/gen/gen_cobol_matrix.py; do not edit.')
    for n, (skind, v) in enumerate(srcs):
        if skind == 'FIG':
            simage = f'{FIGURATIVES[v]:02X}'
        else:
            simage = to_debuggee(skind, images[n]).hex().upper()
        for tkind in TARGETS:
            if skind == 'FIG' and (tkind == 'G6' or (tkind in NUMERIC_TARGETS and v != 'ZERO')):
                # A figurative constant into a group, and any but ZERO into
                # a number: not frozen (see README).
                continue
            if skind == 'FIG' and tkind == 'AE':
                # Edited into the picture: its insertion blank stays.
                image = ''.join('40' if c == 'B' else simage for c in 'XXBXX')
                print(f'MOVE\tFIG\t{simage}\tAE\t{image}\tfigurative into an edited picture: edited, '
                      'insertion blank kept')
                continue
            if skind == 'FIG' and (n, tkind) in results and tkind != 'NE' and tkind not in NUMERIC_TARGETS:
                # The constant's byte fills the storage (cobc's bytes are
                # ASCII: its quote is 0x22).
                size = KINDS[tkind][1]
                print(f'MOVE\tFIG\t{simage}\t{tkind}\t{simage * size}\tcobc')
                continue
            if skind == 'G6' and tkind != 'G6':
                g = ebcdic(images[n])
                print(f'MOVE\t{skind}\t{simage}\t{tkind}\t{group_into(tkind, g).hex().upper()}\t'
                      'group source: the bytes as stored, no MOVE rules')
                continue
            if tkind == 'G6' and skind in ('B4', 'B52'):
                # A binary item gives a group its number as digits, not its
                # bytes: neither cobc's nor a bytes-as-stored answer; left
                # out of the table.
                continue
            if tkind == 'G6' and skind in NUMBERS:
                g = (to_debuggee(skind, images[n]) + b'\x40' * 6)[:6]
                print(f'MOVE\t{skind}\t{simage}\t{tkind}\t{g.hex().upper()}\t'
                      'group target: the source bytes as stored, no MOVE rules')
                continue
            if tkind == 'NE' and skind not in NUMBERS and skind != 'G6' and (skind, v) != ('FIG', 'ZERO'):
                print(f'MOVE\t{skind}\t{simage}\t{tkind}\tERR:1\tnumeric-edited target: a number or a group only')
                continue
            if (n, tkind) not in results:
                continue
            raw = results[(n, tkind)]
            if tkind == 'G6' or skind == 'G6':
                # Group moves: the bytes as stored, text converted.
                pass
            expected = to_debuggee(tkind, raw).hex().upper() if tkind != 'G6' else ebcdic(raw).hex().upper()
            if skind == 'G6' and KINDS[tkind][0] is not None and 'COMP' in KINDS[tkind][0]:
                # cobc moves the group's text bytes unchanged.
                expected = ebcdic(raw).hex().upper()
            reason = 'cobc'
            if skind == 'X6' and tkind in NUMERIC_TARGETS and digits_and_blanks(srcs[n][1]):
                reason = 'cobc, text read as zoned digits of its own length'
            print(f'MOVE\t{skind}\t{simage}\t{tkind}\t{expected}\t{reason}')
    for row in extra_rows(srcs, images, results):
        print(row)
    # Compares of numbers against numbers: exact decimal answers.
    numeric = [(k, v) for k, vs in NUMBERS.items() for v in vs]
    for n, (lk, lv) in enumerate(srcs):
        if lk not in NUMBERS:
            continue
        for m, (rk, rv) in enumerate(srcs):
            if rk not in NUMBERS:
                continue
            a, b = Decimal(lv), Decimal(rv)
            print(f'CMP\t{lk}\t{to_debuggee(lk, images[n]).hex().upper()}\t{rk}\t'
                  f'{to_debuggee(rk, images[m]).hex().upper()}\t{int(a == b)}\t{int(a < b)}\tdecimal')


# ---- kinds cobc cannot express: values from the Parts' rules ----

EF_PICTURE_DIGITS = (2, 2)  # +9(2).9(2)E+99


def ef_text(x):
    """x edited into +9(2).9(2)E+99: two integer digits, the first not 0,
    the fraction cut (not rounded)."""
    x = Decimal(x)
    n, m = EF_PICTURE_DIGITS
    if x == 0:
        return None  # the value class's own zero form: not frozen here
    a = abs(x)
    e = a.adjusted() - (n - 1)
    mant = (a.scaleb(-e)).quantize(Decimal(1).scaleb(-m), rounding=ROUND_DOWN)
    whole, frac = f'{mant:.{m}f}'.split('.')
    return ('-' if x < 0 else '+') + whole.zfill(n) + '.' + frac + 'E' + ('-' if e < 0 else '+') + f'{abs(e):02d}'


def packed_image(x, digits, places, signed):
    """x MOVEd into a packed picture of digits digits, places decimal
    places (negative: P scaling): cut on both sides; sign C or D, F when
    unsigned."""
    scaled = int((abs(x) * Decimal(10) ** places).to_integral_value(rounding=ROUND_DOWN)) % 10 ** digits
    sign = 0xF if not signed else (0xD if x < 0 and scaled != 0 else 0xC)
    nibbles = f'{scaled:0{digits}d}'
    if len(nibbles) % 2 == 0:
        nibbles = '0' + nibbles
    return bytes.fromhex(nibbles + f'{sign:X}')


def utf16(text):
    return text.encode('utf-16-be')


def extra_rows(srcs, images, results):
    rows = []
    # Every number into an external float and a national external float.
    for n, (skind, v) in enumerate(srcs):
        if skind not in NUMBERS:
            continue
        text = ef_text(v)
        if text is None:
            continue
        simage = to_debuggee(skind, images[n]).hex().upper()
        rows.append(f'MOVE\t{skind}\t{simage}\tEF\t{ebcdic(text.encode()).hex().upper()}\t'
                    'external float: edited by its picture (Python decimal)')
        rows.append(f'MOVE\t{skind}\t{simage}\tNEF\t{utf16(text).hex().upper()}\t'
                    'national external float: edited by its picture (Python decimal)')
    # External floats into every number: what cobc gives for the same
    # number from a packed source.
    packed = {Decimal(v): n for n, (k, v) in enumerate(srcs) if k == 'P52'}
    ef_values = ['12.5', '-7.25']
    for v in ef_values:
        text = ef_text(v)
        n = packed[Decimal(v)]
        for kind, image in (('EF', ebcdic(text.encode())), ('NEF', utf16(text))):
            for tkind in TARGETS:
                if tkind in NUMERIC_TARGETS and (n, tkind) in results:
                    rows.append(f'MOVE\t{kind}\t{image.hex().upper()}\t{tkind}\t'
                                f'{to_debuggee(tkind, results[(n, tkind)]).hex().upper()}\t'
                                'cobc, MOVE of the same number from packed')
            # Against every number: exact decimal answers.
            for m, (rk, rv) in enumerate(srcs):
                if rk not in NUMBERS:
                    continue
                a, b = Decimal(text.replace('E', 'E')), Decimal(rv)
                if ef_text(rv) is None and b != 0:
                    continue
                # The right operand is edited into this picture first: its
                # fraction is cut to the picture's four digits.
                b = Decimal(ef_text(rv)) if b != 0 else b
                rows.append(f'CMP\t{kind}\t{image.hex().upper()}\t{rk}\t'
                            f'{to_debuggee(rk, images[m]).hex().upper()}\t{int(a == b)}\t{int(a < b)}\t'
                            'decimal, right operand in this picture')
    # Alphanumeric text: the non-numeric flag refuses every number; text
    # compares pad the shorter side with blanks; national text is the same
    # characters in UTF-16.
    texts = [(n, v) for n, (k, v) in enumerate(srcs) if k == 'X6']
    for n, v in texts:
        image = ebcdic(v.encode())
        for tkind in sorted(NUMERIC_TARGETS):
            rows.append(f'MOVE\tXF\t{image.hex().upper()}\t{tkind}\tERR:2\tnon-numeric flag: no number')
        rows.append(f'MOVE\tXF\t{image.hex().upper()}\tX6\t{image.hex().upper()}\ttext')
        rows.append(f'MOVE\tX6\t{image.hex().upper()}\tN6\t{utf16(v[:3]).hex().upper()}\t'
                    'national: the first characters that fit, in UTF-16')
        rows.append(f'MOVE\tN6\t{utf16(v[:3]).hex().upper()}\tX6\t'
                    f'{ebcdic((v[:3] + "   ").encode()).hex().upper()}\tnational to text: EBCDIC, blank-padded')
        for m, w in texts:
            right = ebcdic(w.encode())
            rows.append(f'CMP\tX6\t{image.hex().upper()}\tX6\t{right.hex().upper()}\t'
                        f'{int(image == right)}\t{int(image < right)}\tbytes')
            rows.append(f'CMP\tN6\t{utf16(v[:3]).hex().upper()}\tN6\t{utf16(w[:3]).hex().upper()}\t'
                        f'{int(v[:3] == w[:3])}\t{int(utf16(v[:3]) < utf16(w[:3]))}\tUTF-16 units')
        for name, byte in FIGURATIVES.items():
            right = bytes([byte]) * len(image)
            rows.append(f'CMP\tX6\t{image.hex().upper()}\tFIG\t{byte:02X}\t'
                        f'{int(image == right)}\t{int(image < right)}\tthe constant repeated: {name}')
    # National-edited NNBNN: the text's characters fill the N positions, the
    # B inserts a national blank.
    for n, v in texts:
        edited = (v[:2] + ' ' + v[2:4]).encode('utf-16-be').hex().upper()
        rows.append(f'MOVE\tX6\t{ebcdic(v.encode()).hex().upper()}\tNED\t{edited}\t'
                    'national-edited: the characters edited into the picture')
        rows.append(f'MOVE\tN6\t{utf16(v[:3]).hex().upper()}\tNED\t'
                    f'{(v[:2] + " " + v[2:3] + " ").encode("utf-16-be").hex().upper()}\t'
                    'national-edited: the characters edited into the picture, blank-padded')
    # DBCS text into a DBCS-edited G(2) picture and back: the characters as
    # they stand.
    for dbcs in ('42C142C2', '4040C1C2'):
        rows.append(f'MOVE\tD4\t{dbcs}\tDED\t{dbcs}\tDBCS-edited: the characters edited into the picture')
        rows.append(f'MOVE\tDED\t{dbcs}\tD4\t{dbcs}\tDBCS text of a DBCS-edited item: its bytes')
    # Index names (4 bytes, elements of 10 bytes: offset 20 is occurrence 3)
    # give their occurrence number as a number, and take an integer as an
    # occurrence; index data items take and give nothing but indexes.
    index = (20).to_bytes(4, 'big').hex().upper()
    rows.append(f'MOVE\tIN\t{index}\tP52\t{packed_image(Decimal(3), 5, 2, True).hex().upper()}\t'
                'index name: the occurrence number')
    rows.append(f'MOVE\tIN\t{index}\tPU3\t{packed_image(Decimal(3), 3, 0, False).hex().upper()}\t'
                'index name: the occurrence number')
    rows.append(f'MOVE\tIN\t{index}\tB4\t0003\tindex name: the occurrence number')
    rows.append(f'MOVE\tIN\t{index}\tID\t{index}\tindex data item: the offset as it stands')
    rows.append(f'MOVE\tIN\t{index}\tIN\t{index}\tindex name: the same table')
    rows.append(f'MOVE\tID\t{index}\tP52\tERR:2\tindex data item: no number')
    for n, (k, v) in enumerate(srcs):
        if k in ('PU3', 'B4', 'ZU') and Decimal(v) > 0:
            simage = to_debuggee(k, images[n]).hex().upper()
            offset = ((int(v) - 1) * 10).to_bytes(4, 'big').hex().upper()
            rows.append(f'MOVE\t{k}\t{simage}\tIN\t{offset}\tindex name: the number as occurrence')
            rows.append(f'MOVE\t{k}\t{simage}\tID\tERR:2\tindex data item: no number')
            rows.append(f'CMP\tIN\t{index}\t{k}\t{simage}\t{int(3 == int(v))}\t{int(3 < int(v))}\t'
                        'occurrence numbers')
    # COMP-1 and COMP-2 into numbers: what cobc gives for the same number
    # from a packed source.
    for v in ('12.5', '-7.25'):
        n = packed[Decimal(v)]
        for kind, size in (('C1', 4), ('C2', 8)):
            image = hfp(Decimal(v), size).hex().upper()
            for tkind in sorted(NUMERIC_TARGETS):
                if (n, tkind) in results:
                    rows.append(f'MOVE\t{kind}\t{image}\t{tkind}\t'
                                f'{to_debuggee(tkind, results[(n, tkind)]).hex().upper()}\t'
                                'cobc, MOVE of the same number from packed')
    # Numeric-edited against numbers: the right operand edited into this
    # picture, then the edited bytes compared.
    edited = {n: to_debuggee('NE', results[(n, 'NE')]) for n, (k, v) in enumerate(srcs)
              if k in NUMBERS and (n, 'NE') in results}
    for n, left in edited.items():
        for m, right in edited.items():
            rk = srcs[m][0]
            rows.append(f'CMP\tNE\t{left.hex().upper()}\t{rk}\t{to_debuggee(rk, images[m]).hex().upper()}\t'
                        f'{int(left == right)}\t{int(left < right)}\tedited bytes, right edited by cobc')
    # COMP-1 and COMP-2 (hexadecimal floating point) from every number that
    # they hold exactly, packed items as the others.
    for n, (skind, v) in enumerate(srcs):
        if skind not in NUMBERS:
            continue
        simage = to_debuggee(skind, images[n]).hex().upper()
        for tkind, size in (('C1', 4), ('C2', 8)):
            image = hfp(Decimal(v), size)
            if image is not None:
                rows.append(f'MOVE\t{skind}\t{simage}\t{tkind}\t{image.hex().upper()}\t'
                            'hexadecimal floating point of the exact value')
    # National decimal (sign trailing separate): the digits and sign of the
    # zoned picture of the same shape, in UTF-16. National numeric-edited:
    # cobc's numeric-edited text of the same picture, in UTF-16.
    for n, (skind, v) in enumerate(srcs):
        if skind not in NUMBERS or (n, 'Z5') not in results:
            continue
        simage = to_debuggee(skind, images[n]).hex().upper()
        rows.append(f'MOVE\t{skind}\t{simage}\tND\t{results[(n, "Z5")].decode("latin-1").encode("utf-16-be").hex().upper()}'
                    '\tnational decimal: cobc\'s zoned digits and sign in UTF-16')
        rows.append(f'MOVE\t{skind}\t{simage}\tNNE\t{results[(n, "NE")].decode("latin-1").encode("utf-16-be").hex().upper()}'
                    '\tnational numeric-edited: cobc\'s numeric-edited text in UTF-16')
    for v in ('12.5', '-7.25'):
        n = packed[Decimal(v)]
        image = results[(n, 'Z5')].decode('latin-1').encode('utf-16-be')
        for tkind in TARGETS:
            if tkind in NUMERIC_TARGETS and (n, tkind) in results:
                rows.append(f'MOVE\tND\t{image.hex().upper()}\t{tkind}\t'
                            f'{to_debuggee(tkind, results[(n, tkind)]).hex().upper()}\t'
                            'cobc, MOVE of the same number from packed')
    for n, (k, v) in enumerate(srcs):
        if k == 'G6':
            g = ebcdic(images[n])
            padded = (g + bytes([0x40]) * 8)[:14]
            rows.append(f'MOVE\tG6\t{g.hex().upper()}\tNNE\t{padded.hex().upper()}\t'
                        'group source: the bytes as stored, no MOVE rules')
    # P-scaled packed (PIC S9(3)PP: the digits stand for hundreds); cobc's
    # VALUE clause does not scale such an item, so these cells follow MOVE
    # rules computed here: the digits below the hundreds dropped, those
    # above the picture cut.
    pictures = {'PP': (3, -2, True), 'P52': (5, 2, True), 'PU3': (3, 0, False)}
    for n, (skind, v) in enumerate(srcs):
        if skind not in ('P52', 'PU3', 'B4', 'Z3'):
            continue
        simage = to_debuggee(skind, images[n]).hex().upper()
        rows.append(f'MOVE\t{skind}\t{simage}\tPP\t{packed_image(Decimal(v), *pictures["PP"]).hex().upper()}\t'
                    'P-scaled: MOVE rules (Python decimal)')
    for v in ('12300', '-500', '0', '99900'):
        image = packed_image(Decimal(v), *pictures['PP']).hex().upper()
        for tkind in ('P52', 'PU3', 'PP'):
            rows.append(f'MOVE\tPP\t{image}\t{tkind}\t{packed_image(Decimal(v), *pictures[tkind]).hex().upper()}\t'
                        'P-scaled: MOVE rules (Python decimal)')
    # The SQL-type item has no value: it is no source and no target of a
    # move, and compares with nothing.
    for tkind in TARGETS:
        rows.append(f'MOVE\tSQL\t-\t{tkind}\tERR:2\tSQL type: no value')
    for n, (skind, v) in enumerate(srcs):
        if skind == 'FIG':
            continue
        simage = to_debuggee(skind, images[n]).hex().upper() if skind != 'G6' else ebcdic(images[n]).hex().upper()
        if skind not in ('NE',):
            rows.append(f'MOVE\t{skind}\t{simage}\tSQL\tERR:2\tSQL type: no value')
        if skind in NUMBERS:
            rows.append(f'CMP\tSQL\t-\t{skind}\t{simage}\tERR:2\tERR:2\tSQL type: no value')
    return rows


main()
