#!/usr/bin/env bash
# The command line of `basic`: its argument forms, standard input as the
# program, the reasons given for files that cannot be read, the stub check
# and the report when no stub is found.
#   command_line.sh BASIC STUB WORKDIR [--wine WINE_RUN]
# With --wine, BASIC and STUB are the Windows programs and run under Wine;
# the system's reasons are then Windows' own texts.
set -u
# shellcheck source-path=SCRIPTDIR source=testlib/script_helpers.sh
source "$(dirname "${BASH_SOURCE[0]}")/testlib/script_helpers.sh"
basic=$1 stub=$2 work=$3 wine=${5:-}
fresh_folder "$work"
cd "$work" || exit 2
cp "$stub" ./stub${wine:+.exe} && stub=./stub${wine:+.exe}
exe=${wine:+.exe}
# run CMD...: status, out and error of one run.
run() {
  local errfile=$work/.stderr
  if [[ -n $wine ]]; then
    out=$(bash "$wine" "$@" 2>"$errfile"); status=$?
  else
    out=$("$@" 2>"$errfile"); status=$?
  fi
  error=$(tr -d '\r' <"$errfile")
}
expect() {  # expect STATUS OUT ERROR-PATTERN DESCRIPTION
  # shellcheck disable=SC2053  # the error is a pattern
  if [[ $status != "$1" || $out != "$2" || $error != $3 ]]; then
    fail "$4: status $status, out [$out], stderr [$error]; expected $1, [$2], [$3]"
  fi
}
# Output lines end in CR LF on Windows, in LF on Linux.
CR=""
[[ -n $wine ]] && CR=$'\r'
printf '10 PRINT "HELLO"\n' >hello.bas
printf '10 PRINT "DASH"\n' >-dash.bas

# --- Argument forms -------------------------------------------------------------
run "$basic" --bind=hello.bas --output=a$exe --stub=$stub
expect 0 "" "" "--bind=FILE --output=OUT --stub=STUB"
run ./a$exe; expect 0 "HELLO$CR" "" "the program bound with --name=VALUE"

run "$basic" --bind -o b$exe --stub $stub -- -dash.bas
expect 0 "" "" "--bind with its program after --"
run ./b$exe; expect 0 "DASH$CR" "" "the program bound from after --"
run "$basic" -- -dash.bas; expect 0 "DASH$CR" "" "basic -- FILE"
run "$basic" -dash.bas; expect 2 "" "basic: unknown option -dash.bas (see basic --help)" \
  "an option-like file name without --"

# "-" is standard input, for running and for binding.
run "$basic" - <hello.bas; expect 0 "HELLO$CR" "" "basic - with the program on standard input"
run "$basic" --bind - -o c$exe --stub $stub <hello.bas
expect 0 "" "" "basic --bind - with the program on standard input"
run ./c$exe; expect 0 "HELLO$CR" "" "the program bound from standard input"

run "$basic" --bind -o d$exe --stub $stub
expect 2 "" "basic: --bind needs a program file (- for standard input) (see basic --help)" \
  "--bind without a program"
run "$basic" --bind= -o d$exe; expect 2 "" "basic: --bind needs a file name (see basic --help)" \
  "--bind= with an empty name"
[[ -e d$exe ]] && fail "a refused --bind wrote its output"

run "$basic" --help
[[ $status == 0 && $out == *"--output=OUT"* && $out == *"Exit status"* ]] ||
  fail "--help: status $status, out [$out]"

# --- Files that cannot be read: the system's reason -----------------------------
if [[ -n $wine ]]; then
  missing="?*"  # the system's text: Wine's differs from Windows' own
else
  missing="No such file or directory"
fi
run "$basic" missing.bas; expect 2 "" "basic: cannot open missing.bas: $missing" "basic MISSING"
run "$basic" --bind missing.bas -o e$exe --stub $stub
expect 2 "" "basic: cannot open missing.bas: $missing" "basic --bind MISSING"
run "$basic" --bind hello.bas -o e$exe --stub nostub
expect 2 "" "basic: cannot open nostub: $missing" "basic --bind --stub MISSING"
mkdir -p folder.bas
run "$basic" folder.bas; expect 2 "" "basic: cannot open folder.bas: ?*" "basic FOLDER"

# --- The stub check -------------------------------------------------------------
# Another executable, and `basic` itself, are no stub: binding into them would
# make a program that never runs its BASIC text.
cp /bin/ls ls-copy && cp "$basic" front-end$exe
for other in ls-copy front-end$exe hello.bas; do
  run "$basic" --bind hello.bas -o f$exe --stub $other
  expect 2 "" "basic: $other is not a basic run-time stub (basstub)" "--stub $other"
done
[[ -e f$exe ]] && fail "a refused stub was bound"
# A bound program is a stub still: binding it again replaces its program.
run "$basic" --bind -o g$exe --stub ./a$exe -- -dash.bas
expect 0 "" "" "binding a bound program again"
run ./g$exe; expect 0 "DASH$CR" "" "the rebound program"

if [[ -z $wine ]]; then
  # The marker survives stripping.
  strip -o stripped "$stub" || fail "strip"
  run "$basic" --bind hello.bas -o h --stub ./stripped; expect 0 "" "" "--stub STRIPPED-STUB"
  run ./h; expect 0 "HELLO$CR" "" "the program bound into a stripped stub"

  # No stub beside a lone basic, nor where an installation puts it: the
  # report names every place and the way out.
  mkdir -p lonely/bin && cp "$basic" lonely/bin/basic
  run lonely/bin/basic --bind hello.bas -o i
  [[ $status == 2 && $error == "basic: no run-time stub found: looked for "*"/lonely/bin/basstub or "*"/lonely/"*"/basstub; name one with --stub STUB" ]] ||
    fail "no stub: status $status, stderr [$error]"
fi

finish "command line"
