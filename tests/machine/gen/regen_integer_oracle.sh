#!/bin/sh
# Rebuilds tests/machine/data/integer_oracle.tsv from gen_integer_oracle.c and
# checks it with check_integer_oracle.py. Run from anywhere.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
table="$here/../data/integer_oracle.tsv"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
gcc -std=c17 -O2 -Wall -Wextra -Werror -fsanitize=undefined -fno-sanitize-recover=all \
    -o "$work/gen_integer_oracle" "$here/gen_integer_oracle.c"
"$work/gen_integer_oracle" > "$work/integer_oracle.tsv"
python3 "$here/check_integer_oracle.py" "$work/integer_oracle.tsv"
mv "$work/integer_oracle.tsv" "$table"
