#!/bin/sh
# Rebuilds tests/machine/data/float_oracle.txt: gen_float_oracle.c (the host's
# 80-bit long double; complex * and / with -fcx-limited-range) and
# gen_float_oracle.py (hexadecimal images from the exact-fraction model).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
gcc -std=c17 -O2 -Wall -Wextra -Werror -fcx-limited-range -o "$work/gen_float_oracle" "$here/gen_float_oracle.c" -lm
"$work/gen_float_oracle" | python3 "$here/gen_float_oracle.py" > "$work/float_oracle.txt"
mv "$work/float_oracle.txt" "$here/../data/float_oracle.txt"
