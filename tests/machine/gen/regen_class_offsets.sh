#!/bin/sh
# Regenerates data/class_offsets.tsv from the offsets g++ compiles.
set -e
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d)
g++ -std=c++20 -Wall -o "$out/gen" "$here/gen_class_offsets.cpp"
"$out/gen" > "$here/../data/class_offsets.tsv"
rm -rf "$out"
