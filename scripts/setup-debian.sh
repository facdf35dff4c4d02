#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing;
# given package names, those instead.
set -euo pipefail
packages=(g++ g++-multilib cmake ninja-build libgtest-dev libgmock-dev libdfp-dev libc-bin gnucobol3 python3
          libbenchmark-dev libcob4-dev clang libclang-rt-14-dev clang-format-14 locales)
own_list=no
if [ $# -gt 0 ]; then
  packages=("$@")
  own_list=yes
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The tests that show numbers keep their point under a comma locale need one
# such locale; a fresh machine has only C and POSIX.
if [ "$own_list" = no ] && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "setup: could not make the de_DE.UTF-8 locale; its tests will be skipped"
fi
