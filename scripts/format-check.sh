#!/usr/bin/env bash
# Checks the C and C++ sources of the repository against .clang-format with
# clang-format 14 and fails, naming each file out of format, when one is.
# With --fix it formats those files in place instead. Left alone: the table
# fragments (*.inc) and generated sources ("do not edit" in their first
# three lines), which their generators write.
#   scripts/format-check.sh [--fix] [FILE...]   (default: every tracked
#                                                 *.c, *.cpp and *.h)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fix=0
if [ "${1:-}" = "--fix" ]; then
  fix=1
  shift
fi
format=${CLANG_FORMAT:-clang-format-14}
command -v "$format" >/dev/null || "$root/scripts/setup-debian.sh" clang-format-14
if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(cd "$root" && git ls-files '*.c' '*.cpp' '*.h' | sed "s|^|$root/|")
fi
out=0
for f in "${files[@]}"; do
  case "$f" in *.inc) continue ;; esac
  # "do not edit" may be cut by a line end and the comment marks.
  head -n 3 "$f" | sed 's|//||g; s|/\*||g; s|\*/||g' | tr -s ' \n' '  ' | grep -qi "do not edit" && continue
  if ! "$format" --style="file:$root/.clang-format" "$f" | cmp -s "$f" -; then
    if [ "$fix" -eq 1 ]; then
      # clang-format 14 needs a second pass on a few declarations (a
      # function pointer member that must wrap) before its output is stable.
      for _ in 1 2 3; do
        "$format" --style="file:$root/.clang-format" -i "$f"
        "$format" --style="file:$root/.clang-format" "$f" | cmp -s "$f" - && break
      done
      echo "formatted: ${f#"$root"/}"
    else
      echo "out of format: ${f#"$root"/}"
      out=1
    fi
  fi
done
if [ "$out" -ne 0 ]; then
  echo "format-check: files out of format; scripts/format-check.sh --fix formats them" >&2
fi
exit "$out"
