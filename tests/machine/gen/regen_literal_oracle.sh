#!/bin/sh
# Regenerates data/literal_oracle.tsv from the literals gcc compiles.
set -e
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d)
gcc -std=c11 -Wall -o "$out/gen" "$here/gen_literal_oracle.c"
"$out/gen" > "$here/../data/literal_oracle.tsv"
rm -rf "$out"
