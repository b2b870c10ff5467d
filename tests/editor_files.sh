#!/usr/bin/env bash
# Program files as editors write them, where a golden program cannot reach:
# files that are not text, a byte order mark appended by other means than
# --bind, and the exit status of the console.
#   editor_files.sh BASIC STUB WORKDIR [RUNNER]
# RUNNER (tests/wine_run.sh) runs a Windows BASIC and the programs it binds.
set -u
# shellcheck source-path=SCRIPTDIR source=testlib/script_helpers.sh
source "$(dirname "${BASH_SOURCE[0]}")/testlib/script_helpers.sh"
basic=$(realpath "$1") stub=$(realpath "$2") work=$3 runner=${4:-}
[[ -n $runner ]] && runner=$(realpath "$runner")
mkdir -p "$work" && cd "$work" || exit 2
exe="" && [[ $stub == *.exe ]] && exe=.exe
cp "$basic" ./basic-under-test$exe && cp "$stub" ./stub-under-test$exe || exit 2
run() { if [[ -n $runner ]]; then "$runner" "$@"; else "$@"; fi; }
# check STATUS STDOUT STDERR DESCRIPTION: the last run, line ends aside.
check() {
  if [[ $status != "$1" || $(tr -d '\r' <out) != "$2" || $(tr -d '\r' <err) != "$3" ]]; then
    fail "$4: status $status, stdout [$(cat -v out)], stderr [$(cat -v err)]; expected $1, [$2], [$3]"
  fi
}

# NUL bytes outside strings: a binary, or text saved as UTF-16. Refused with
# one line and status 2, and --bind writes nothing. (No file is named nul.*:
# Windows opens the NUL device for such a name.)
printf '10 PRINT "before"\r\n20 PRINT 1\000 2\r\n' >binary.bas
printf '\377\376\061\000\060\000\040\000' >utf16.bas
for file in binary.bas utf16.bas; do
  run ./basic-under-test$exe "$file" >out 2>err; status=$?
  check 2 "" "basic: not a BASIC program text: $file" "basic $file"
  rm -f bound$exe
  run ./basic-under-test$exe --bind "$file" -o bound$exe --stub stub-under-test$exe >out 2>err; status=$?
  check 2 "" "basic: not a BASIC program text: $file" "basic --bind $file"
  [[ -e bound$exe ]] && fail "basic --bind $file wrote bound$exe"
done
# A NUL inside a string literal is the string's end, as ever: the file runs.
printf '10 PRINT "cut\000off"; "!"\r\n' >string_with_nul.bas
run ./basic-under-test$exe string_with_nul.bas >out 2>err; status=$?
check 0 "cut!" "" "basic string_with_nul.bas"

# A stub that carries a program appended with the mark, not through --bind.
printf '\357\273\27710 PRINT "after the mark"\r\n' >marked.bas
cat stub-under-test$exe marked.bas >appended$exe && chmod +x appended$exe
run ./appended$exe >out 2>err; status=$?
check 0 "after the mark" "" "a stub whose appended text starts with the mark"

# The console ends with 0 at the end of its input and at BYE, errors or not.
printf 'PRINT 1 / 0\r\nGOTO 10\r\n' | run ./basic-under-test$exe >out 2>err; status=$?
check 0 $'READY\n\aFloating point division by zero\nREADY\n\a(42) Undefined line\nREADY' "" \
  "the console after errors, at the end of input"
printf 'PRINT 1 / 0\r\nBYE\r\nPRINT "not run"\r\n' | run ./basic-under-test$exe >out 2>err; status=$?
check 0 $'READY\n\aFloating point division by zero\nREADY' "" "the console after an error, at BYE"

finish "editor files"
