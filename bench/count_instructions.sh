#!/usr/bin/env bash
# Counts the machine instructions our interpreter spends on each BASIC
# statement of a benchmark: valgrind (cachegrind, no cache simulation) counts
# the instructions of the program bound into our stub, less those of an empty
# program (start, load and exit), and `basic --profile` counts the statements
# the program runs, less the empty program's. Prints a Markdown table.
#
#   bench/count_instructions.sh [--build DIR] [--scale N] [NAME...]
#
#   --build DIR   where basic and basstub are (default: build); nothing is
#                 built here
#   --scale N     divide the program's loop counts (its numbers of 100,000 and
#                 more) by N, for a quicker run; the table says so
#   NAME...       benchmarks in bench/programs (default: bm1 to bm8)
#
# Under valgrind a program runs some 30 times slower, and its long double
# arithmetic is done in double: a program that then prints another result
# than NAME.expected, or ends with an error, is marked in the table.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=SCRIPTDIR/common.sh
source "$here/common.sh"

build=$here/../build scale=1
names=()
usage() { sed -n '2,/^set -uo/p' "$0" | sed '$d; s/^# \{0,1\}//'; }
while [[ $# -gt 0 ]]; do
  case "$1" in
    --build|--scale)
      if [[ $# -lt 2 ]]; then echo "count_instructions.sh: $1 needs a value" >&2; exit 2; fi ;;&
    --build) build=$2; shift 2 ;;
    --scale) scale=$2; shift 2 ;;
    -h|--help) usage; exit 0 ;;
    -*) echo "count_instructions.sh: unknown option $1 (see --help)" >&2; exit 2 ;;
    *) names+=("${1%.bas}"); shift ;;
  esac
done
if ! [[ $scale =~ ^[1-9][0-9]*$ ]]; then
  echo "count_instructions.sh: --scale wants a positive whole number, not '$scale'" >&2
  exit 2
fi
front_end=$build/basic stub=$build/basstub
if [[ ! -x $front_end || ! -f $stub ]]; then
  echo "count_instructions.sh: $front_end or $stub missing; build first (cmake --build --preset native)" >&2
  exit 2
fi
if ! command -v valgrind >/dev/null; then
  echo "count_instructions.sh: valgrind is needed (scripts/install-deps.sh --bench)" >&2
  exit 2
fi
[[ ${#names[@]} -gt 0 ]] || names=(bm1 bm2 bm3 bm4 bm5 bm6 bm7 bm8)
for name in "${names[@]}"; do
  if [[ ! -f $bench_dir/programs/$name.bas ]]; then
    echo "count_instructions.sh: no benchmark '$name' in bench/programs" >&2
    exit 2
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The program with every number of 100,000 or more after its line number
# divided by the scale: the benchmarks' loop counts, never a line number.
scaled_copy() {
  awk -v scale="$scale" '{
    text = $0
    match(text, /^[ \t]*[0-9]+/)
    head = substr(text, 1, RLENGTH); rest = substr(text, RLENGTH + 1); out = ""
    while (match(rest, /[0-9]+/)) {
      number = substr(rest, RSTART, RLENGTH)
      if (length(number) >= 6) number = int(number / scale)
      out = out substr(rest, 1, RSTART - 1) number
      rest = substr(rest, RSTART + RLENGTH)
    }
    print head out rest
  }' "$1"
}

# Prints the instructions valgrind counted for one run of a bound program;
# leaves its standard output in $work/NAME.out and its exit status in
# $work/NAME.status. A program may end with an error under valgrind alone
# (its floating point differs): the count is still printed, for the caller
# to mark.
count_instructions() {
  local name=$1 exe=$work/$1 status=0
  (cd "$work" && valgrind --tool=cachegrind --cache-sim=no --cachegrind-out-file=/dev/null \
     --log-file="$work/$name.valgrind" "$exe") </dev/null >"$work/$name.out" 2>"$work/$name.err" ||
    status=$?
  echo "$status" >"$work/$name.status"
  # "==PID== I   refs:      1,662,704,490"
  awk '/I +refs:/ { gsub(/,/, "", $NF); print $NF; found = 1 } END { exit !found }' \
    "$work/$name.valgrind" || {
    echo "count_instructions.sh: no instruction count in valgrind's log for $name" >&2
    return 1
  }
}

# Prints the statements one run of the program executes, as the profiler
# counts them (its last line: "N statements in S s, ...").
count_statements() {
  local name=$1
  if ! "$front_end" --profile "$work/$name.bas" </dev/null >/dev/null 2>"$work/$name.profile"; then
    echo "count_instructions.sh: $name failed under --profile: $(one_line "$work/$name.profile")" >&2
    return 1
  fi
  awk '/^[0-9]+ statements in / { count = $1 } END { if (count == "") exit 1; print count }' \
    "$work/$name.profile" || {
    echo "count_instructions.sh: no statement count in the profile of $name" >&2
    return 1
  }
}

prepare() {
  local name=$1 source=$2
  if [[ $scale == 1 ]]; then cp "$source" "$work/$name.bas"; else scaled_copy "$source" >"$work/$name.bas"; fi
  if ! "$front_end" --bind "$work/$name.bas" -o "$work/$name" --stub "$stub" 2>"$work/bind.err"; then
    echo "count_instructions.sh: binding $name failed: $(one_line "$work/bind.err")" >&2
    return 1
  fi
}

printf '10 END\n' >"$work/empty.src"
prepare empty "$work/empty.src" || exit 1
base_instructions=$(count_instructions empty) || exit 1
base_statements=$(count_statements empty) || exit 1

rows=() notes=() status=0
for name in "${names[@]}"; do
  echo "count_instructions.sh: $name ..." >&2
  if ! prepare "$name" "$bench_dir/programs/$name.bas" ||
     ! instructions=$(count_instructions "$name") ||
     ! statements=$(count_statements "$name"); then
    rows+=("| $name | - | - | - |")
    status=1
    continue
  fi
  instructions=$((instructions - base_instructions))
  statements=$((statements - base_statements))
  mark=""
  if [[ $(cat "$work/$name.status") != 0 ]]; then
    mark=" *"
    note="* $name ended with exit status $(cat "$work/$name.status") under valgrind, its"
    notes+=("$note floating point done in double: $(one_line "$work/$name.out")")
  elif [[ $scale == 1 ]] && expected=$(expected_result "$name") &&
       [[ $(normalize "$work/$name.out") != "$expected" ]]; then
    mark=" *"
    note="* $name printed another result under valgrind, its floating point done in double:"
    notes+=("$note $(one_line "$work/$name.out")")
  fi
  per=$(awk -v i="$instructions" -v s="$statements" 'BEGIN { printf "%.1f", (s > 0 ? i / s : 0) }')
  rows+=("| $name$mark | $instructions | $statements | $per |")
done

echo "| program | instructions | statements | instructions per statement |"
echo "|---|---:|---:|---:|"
printf '%s\n' "${rows[@]}"
echo
echo "Instructions counted by valgrind (cachegrind, --cache-sim=no) in the program bound into our"
echo "stub, less the $base_instructions of an empty program (10 END); statements counted by"
echo "basic --profile, less the empty program's $base_statements."
if [[ $scale != 1 ]]; then
  echo "Scaled: every loop count of 100,000 or more divided by $scale (the printed results are not checked)."
fi
for note in "${notes[@]}"; do echo "$note"; done
exit $status
