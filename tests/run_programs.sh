#!/usr/bin/env bash
# Golden program runner: binds each NAME.bas into a stub, runs the result with
# NAME.in (if any) as standard input, and compares standard output byte for
# byte with NAME.out, and the exit status with NAME.status (0 without one).
# NAME.out holds the output on Linux, whose lines end in LF; --crlf turns
# every LF of it into CR LF for the Windows runs, where a CR that a program
# prints itself stays in front of the CR LF.
# The files of NAME.fixtures/, if there is one, are copied into the
# program's scratch folder first.
# Exit status 0 when every program passed.
#
#   run_programs.sh --front-end BASIC --stub STUB --work DIR [options] NAME.bas...
#
#   --front-end BASIC  the native `basic` used to bind (and to run, --direct)
#   --stub STUB        the stub to bind into (basstub or basstub.exe)
#   --work DIR         where bound executables and actual output go
#   --wine RUNNER      run the bound executables through this command
#   --direct           run `RUNNER BASIC NAME.bas` instead of binding
#   --timeout SEC      per program (default 20)
#   --children DIR     binds every DIR/*.bas into the scratch folder of each
#                      program that uses Shell, for it to start
#   --library-dir DIR  where the DECLARE test library is (LD_LIBRARY_PATH)
#   --crlf             expect CR LF line ends (Windows)
set -u
# shellcheck source-path=SCRIPTDIR source=testlib/script_helpers.sh
source "$(dirname "${BASH_SOURCE[0]}")/testlib/script_helpers.sh"

front_end="" stub="" work="" wine="" direct=0 timeout_s=20 children="" library_dir="" crlf=0
programs=()
while [[ $# -gt 0 ]]; do
  case "$1" in
    --front-end) front_end=$2; shift 2 ;;
    --stub) stub=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --wine) wine=$2; shift 2 ;;
    --direct) direct=1; shift ;;
    --timeout) timeout_s=$2; shift 2 ;;
    --children) children=$2; shift 2 ;;
    --library-dir) library_dir=$2; shift 2 ;;
    --crlf) crlf=1; shift ;;
    -*) echo "run_programs.sh: unknown option $1" >&2; exit 2 ;;
    *) programs+=("$1"); shift ;;
  esac
done
if [[ -z $front_end || -z $work || ( $direct = 0 && -z $stub ) || ${#programs[@]} = 0 ]]; then
  echo "usage: run_programs.sh --front-end BASIC --stub STUB --work DIR [--wine RUNNER] [--direct] [--timeout SEC] [--crlf] NAME.bas..." >&2
  exit 2
fi
require_front_end run_programs.sh "$front_end"
# Not emptied: the tests of every program share it, and run at once.
mkdir -p "$work" || exit 2
make_absolute work front_end stub wine children
if [[ -n $library_dir ]]; then
  export LD_LIBRARY_PATH="$(absolute "$library_dir")${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
fi

# Shows where actual and expected output part: the offset, then both sides
# of the surrounding bytes as characters.
show_difference() {
  local expected=$1 actual=$2
  local first
  first=$(cmp "$expected" "$actual" 2>&1 | head -n 1)
  echo "  cmp: $first"
  local byte
  byte=$(cmp "$expected" "$actual" 2>/dev/null | sed -n 's/.* differ: byte \([0-9]*\),.*/\1/p')
  if [[ -z $byte ]]; then  # one is a prefix of the other
    byte=$(( $(wc -c <"$expected") < $(wc -c <"$actual") ? $(wc -c <"$expected") : $(wc -c <"$actual") ))
    byte=$((byte + 1))
  fi
  local from=$(( (byte - 1) / 16 * 16 - 32 ))
  (( from < 0 )) && from=0
  echo "  expected ($(wc -c <"$expected") bytes), from offset $from:"
  od -A d -c -j "$from" -N 96 "$expected" | sed 's/^/    /'
  echo "  actual ($(wc -c <"$actual") bytes), from offset $from:"
  od -A d -c -j "$from" -N 96 "$actual" | sed 's/^/    /'
}

run_one() {
  local source
  source=$(absolute "$1")
  local dir name
  dir=$(dirname "$source")
  name=$(basename "$source" .bas)
  local expected=$dir/$name.out input=$dir/$name.in want_status=0
  [[ -f $dir/$name.status ]] && want_status=$(tr -d ' \r\n' <"$dir/$name.status")
  [[ -f $input ]] || input=/dev/null
  local actual=$work/$name.actual errors=$work/$name.stderr
  local command=()
  if [[ $direct = 1 ]]; then
    command=("$front_end" "$source")
  else
    local exe=$work/$name
    [[ $stub == *.exe ]] && exe=$exe.exe
    if ! "$front_end" --bind "$source" -o "$exe" --stub "$stub" 2>"$errors"; then
      echo "FAIL $name: binding failed"
      sed 's/^/  /' "$errors"
      return 1
    fi
    command=("$exe")
  fi
  [[ -n $wine ]] && command=("$wine" "${command[@]}")

  # Files a program creates (SAVE) land in its own scratch folder.
  local scratch=$work/$name.files
  rm -rf "$scratch" && mkdir -p "$scratch"
  # Files the program reads that BASIC cannot write itself (LOAD of a file
  # from another editor) come from NAME.fixtures/.
  if [[ -d $dir/$name.fixtures ]]; then
    cp -R "$dir/$name.fixtures/." "$scratch/" || return 1
  fi
  if [[ -n $children ]] && grep -qi 'shell' "$source"; then
    bind_children "$front_end" "$stub" "$children" "$scratch" "$name" "$errors" || return 1
  fi
  local status=0
  (cd "$scratch" && timeout -k 5 "$timeout_s" "${command[@]}") <"$input" >"$actual" 2>"$errors" ||
    status=$?
  if [[ $status = 124 || $status = 137 ]]; then
    echo "FAIL $name: no end after ${timeout_s} s (killed)"
    return 1
  fi
  if [[ ! -f $expected ]]; then
    echo "FAIL $name: no $name.out; the actual output is in $actual"
    return 1
  fi
  if [[ $crlf = 1 ]]; then
    perl -pe 's/\n/\r\n/' "$expected" >"$work/$name.expected"
    expected=$work/$name.expected
  fi
  local ok=1
  if ! cmp -s "$expected" "$actual"; then
    echo "FAIL $name: output differs"
    show_difference "$expected" "$actual"
    ok=0
  fi
  if [[ $status != "$want_status" ]]; then
    echo "FAIL $name: exit status $status, expected $want_status"
    ok=0
  fi
  if [[ $ok = 0 ]]; then
    if [[ -s $errors ]]; then
      echo "  standard error:"
      head -n 40 "$errors" | sed 's/^/    /'
    fi
    return 1
  fi
  echo "PASS $name"
}

failed=0
for program in "${programs[@]}"; do
  run_one "$program" || failed=$((failed + 1))
done
if [[ ${#programs[@]} -gt 1 ]]; then
  echo "$(( ${#programs[@]} - failed )) of ${#programs[@]} programs passed"
fi
[[ $failed = 0 ]]
