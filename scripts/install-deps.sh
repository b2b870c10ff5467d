#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 (as root). Safe to run
# again: when everything is present it does no apt work at all.
#
#   scripts/install-deps.sh           everything: native, both Windows cross builds,
#                                     Wine, the fuzz and memcheck tools, the
#                                     format and lint tools (scripts/check-style.sh)
#                                     and Chromium, which reads the --profile page
#                                     in its test (skipped without it)
#   scripts/install-deps.sh --native  only what the native build and its tests need
#   scripts/install-deps.sh --fuzz    clang with libFuzzer (the fuzz preset) and
#                                     valgrind (scripts/memcheck.sh)
#   scripts/install-deps.sh --bench   only what the benchmarks need: the peers
#                                     bench/compare.sh times us against (two BASICs,
#                                     Lua 5.4 and LuaJIT), GNU time for peak RSS,
#                                     matplotlib for its chart and valgrind for
#                                     bench/count_instructions.sh (left out of the
#                                     default set: CI does not need them)
# --native, --fuzz and --bench may be given together.
set -euo pipefail

# libedit-dev: line editing for `basic` at a terminal; python3: its terminal
# test; dpkg-dev: the Debian package's dependencies (dpkg-shlibdeps).
native=(cmake ninja-build g++ googletest libgtest-dev libgmock-dev diffutils coreutils
        libedit-dev python3 dpkg-dev)
windows=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64)
# Wine's 32-bit loader, only where the kernel runs 32-bit programs at all.
wine32=(wine32:i386)
fuzz=(clang-14 libclang-rt-14-dev valgrind)
style=(clang-format-14 clang-tidy-14)
# Headless, for the test that loads the page of basic --profile=PAGE.html.
browser=(chromium)
bench=(yabasic brandy lua5.4 luajit time python3 python3-matplotlib valgrind)

wanted=()
if [[ $# -eq 0 ]]; then
  wanted=("${native[@]}" "${windows[@]}" "${fuzz[@]}" "${style[@]}" "${browser[@]}")
fi
for option in "$@"; do
  case "$option" in
    --native) wanted+=("${native[@]}") ;;
    --fuzz) wanted+=("${fuzz[@]}") ;;
    --bench) wanted+=("${bench[@]}") ;;
    *) echo "usage: install-deps.sh [--native] [--fuzz] [--bench]" >&2; exit 2 ;;
  esac
done

here=$(dirname "$0")
wants_wine32=no
if [[ $# -eq 0 ]] && "$here/win32-wine-check.sh" --kernel >/dev/null; then
  wants_wine32=yes
fi

is_installed() {
  [[ $(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null) == installed ]]
}

missing=()
for package in "${wanted[@]}"; do
  is_installed "$package" || missing+=("$package")
done
missing32=()
if [[ $wants_wine32 == yes ]]; then
  for package in "${wine32[@]}"; do
    is_installed "$package" || missing32+=("$package")
  done
fi
if [[ ${#missing[@]} -eq 0 && ${#missing32[@]} -eq 0 ]]; then
  echo "install-deps: everything is installed"
  exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
  echo "install-deps: missing ${missing[*]} ${missing32[*]}; run this script as root" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if [[ ${#missing32[@]} -gt 0 ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "install-deps: installing ${missing[*]}"
  apt-get install -y "${missing[@]}"
fi
# The 32-bit Wine packages can be out of step with the 64-bit libraries a
# host already has (a security update published for amd64 only). Then the
# 32-bit Windows tests are skipped, with that reason, instead of stopping
# everything else.
if [[ ${#missing32[@]} -gt 0 ]]; then
  echo "install-deps: installing ${missing32[*]}"
  if ! apt-get install -y "${missing32[@]}"; then
    echo "install-deps: warning: ${missing32[*]} could not be installed;" \
         "the 32-bit Windows tests will be skipped" >&2
  fi
fi
