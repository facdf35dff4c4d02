#!/bin/sh
# Rebuilds tests/machine/data/bitfield_oracle.tsv: gcc lays out bit fields of
# structures in big-endian scalar storage order, which is the debuggee's
# convention. Run from anywhere.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/gen_bitfield_oracle.py" > "$work/bitfield_oracle.c"
gcc -std=gnu17 -O0 -Wall -Wno-overflow -Wno-scalar-storage-order -o "$work/bitfield_oracle" "$work/bitfield_oracle.c"
"$work/bitfield_oracle" > "$work/bitfield_oracle.tsv"
mv "$work/bitfield_oracle.tsv" "$here/../data/bitfield_oracle.tsv"
