#!/usr/bin/env bash
# Rugg/Feldman BM1-BM8, one million iterations each: binds every program in
# bench/programs into the stub and prints its wall time. Not a test; a run
# that does not print exactly S and E is marked.
#
#   bench/run.sh [--build DIR]   (default: build, the native preset)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$here/../build
if [[ ${1:-} == --build ]]; then build=$2; fi
front_end=$build/basic stub=$build/basstub
if [[ ! -x $front_end || ! -f $stub ]]; then
  echo "bench: $front_end or $stub missing; build first (cmake --build --preset native)" >&2
  exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
expected=$(printf 'S\r\nE\r\n')

printf '%-6s %10s\n' program seconds
for source in "$here"/programs/bm*.bas; do
  name=$(basename "$source" .bas)
  "$front_end" --bind "$source" -o "$work/$name" --stub "$stub"
  t0=$(date +%s%N)
  output=$("$work/$name" </dev/null 2>&1 || true)
  t1=$(date +%s%N)
  note=""
  [[ $output == "$expected" ]] || note="  (unexpected output: $(printf '%s' "$output" | tr -d '\a\r' | head -c 60 | tr '\n' ' '))"
  printf '%-6s %10.3f%s\n' "$name" "$(( (t1 - t0) / 1000000 ))e-3" "$note"
done
