#!/bin/sh
# Rebuilds tests/machine/data/section_oracle.tsv with gfortran's SIZE of
# array sections. Run from anywhere.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/gen_section_oracle.py" > "$work/sections.f90"
gfortran -O0 -fcheck=bounds -o "$work/sections" "$work/sections.f90"
"$work/sections" > "$work/section_oracle.tsv"
mv "$work/section_oracle.tsv" "$here/../data/section_oracle.tsv"
