#!/usr/bin/env bash
# How our costs grow with a program's size: the time to load a long program,
# the cost of a jump in a short and a long program, and a loop over a large
# array at two sizes. Each program is bound into the stub and run; the time
# is the best wall time of --rounds runs. A look at scale, not a test.
#
#   bench/scale.sh [--build DIR] [--rounds N]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$here/../build
rounds=3
while [[ $# -gt 0 ]]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --rounds) rounds=$2; shift 2 ;;
    *) echo "scale.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# load N: N numbered lines that each add one, so the run after the load is short.
write_load() {
  awk -v n="$1" 'BEGIN { for (i = 1; i <= n; i++) printf "%d S = S + 1\n", i * 10
                         printf "%d PRINT S\n", n * 10 + 10 }' >"$2"
}

# jump N: a loop at the top that calls a subroutine at the bottom of N lines,
# 2,000,000 times, and every line between is a REM. The difference between
# sizes is the load of the longer program (see load-100k), not the jumps.
write_jump() {
  awk -v n="$1" 'BEGIN { print "1 FOR I = 1 TO 2000000: GOSUB " n * 10 ": NEXT: PRINT S: END"
                         for (i = 1; i < n; i++) printf "%d REM\n", i * 10
                         printf "%d S = S + 1: RETURN\n", n * 10 }' >"$2"
}

# array N: fill an array of N + 1 elements and sum it.
write_array() {
  printf '10 DIM A(%d)\n20 FOR I = 0 TO %d: A(I) = I: NEXT\n' "$1" "$1" >"$2"
  printf '30 FOR I = 0 TO %d: S = S + A(I): NEXT\n40 PRINT S\n' "$1" >>"$2"
}

# best wall time of `rounds` runs of the bound program, in seconds
best_time() {
  local exe=$1 best="" start end t
  for ((r = 0; r < rounds; r++)); do
    start=$(date +%s%N)
    "$exe" >/dev/null
    end=$(date +%s%N)
    t=$(( (end - start) / 1000000 ))
    if [[ -z $best ]] || ((t < best)); then best=$t; fi
  done
  awk -v ms="$best" 'BEGIN { printf "%.3f", ms / 1000 }'
}

measure() {
  local label=$1 writer=$2 size=$3
  "$writer" "$size" "$work/$label.bas"
  "$build/basic" --bind "$work/$label.bas" -o "$work/$label" --stub "$build/basstub"
  printf '| %s | %s | %s |\n' "$label" "$size" "$(best_time "$work/$label")"
}

echo "| program | size | best of $rounds s |"
echo "|---|---:|---:|"
measure load-1k write_load 1000
measure load-100k write_load 100000
measure jump-1k write_jump 1000
measure jump-100k write_jump 100000
measure array-100k write_array 100000
measure array-1M write_array 1000000
