#!/usr/bin/env bash
# The development tools of `basic`: --trace, --trace=jumps and --profile
# write to standard error and leave the program's own output alone.
#   dev_tools.sh BASIC WORKDIR [--wine WINE_RUN]
set -u
# shellcheck source-path=SCRIPTDIR source=testlib/script_helpers.sh
source "$(dirname "${BASH_SOURCE[0]}")/testlib/script_helpers.sh"
basic=$(absolute "$1") work=$2 wine=${4:-}
fresh_folder "$work"
cd "$work" || exit 2
# run CMD...: status, out and error (line ends made LF) of one run.
run() {
  if [[ -n $wine ]]; then
    out=$(bash "$wine" "$@" 2>.stderr); status=$?
  else
    out=$("$@" 2>.stderr); status=$?
  fi
  out=${out//$'\r'/}
  error=$(tr -d '\r' <.stderr)
}
expect() {  # expect STATUS OUT ERROR DESCRIPTION
  if [[ $status != "$1" || $out != "$2" || $error != "$3" ]]; then
    fail "$4: status $status, out [$out], stderr [$error]; expected $1, [$2], [$3]"
  fi
}

cat >calls.bas <<'BAS'
10 GOSUB 100
20 FOR I = 1 TO 2
30   ON I GOSUB 200, 300
40 NEXT I
50 IF I = 3 THEN 70
60 PRINT "NOT HERE"
70 PRINT 1 / 0
100 X = 5: RETURN
200 PRINT "A": RETURN
300 PRINT "B": RETURN
BAS
program_out=$'A\nB\n\aFloating point division by zero in 70'

# --- Each line as it starts, and only the program's output on stdout ---------
run "$basic" --trace calls.bas
expect 1 "$program_out" "[10][100][20][30][200][40][30][300][40][50][70]" "--trace"

# --- Transfers only: the RUN that starts the program comes from no line ------
run "$basic" --trace=jumps calls.bas
expect 1 "$program_out" \
  "[->10][10->100][100->20][30->200][200->40][40->30][30->300][300->40][50->70]" \
  "--trace=jumps"

# --- A long trace is wrapped before column 80 ---------------------------------
printf '10 FOR I = 1 TO 30\n20 NEXT I\n' >loop.bas
run "$basic" --trace loop.bas
joined=${error//$'\n'/}
expected="[10]"
for ((i = 0; i < 30; i++)); do expected+="[20]"; done
longest=$(awk '{ if (length($0) > n) n = length($0) } END { print n + 0 }' <<<"$error")
if [[ $status != 0 || $joined != "$expected" || $longest -gt 79 || $error != *$'\n'* ]]; then
  fail "--trace wrapping: status $status, longest line $longest, stderr [$error]"
fi

# --- The profile: the hot line first with its counts, also after an error -----
cat >hot.bas <<'BAS'
10 T = 0
20 FOR I = 1 TO 10000
30   A$ = STR$(I) + STR$(I * 2) + STR$(I * 3) + STR$(I * 4): T = T + LEN(A$)
40 NEXT I
50 PRINT T
60 PRINT 1 / 0
BAS
# The order is by measured time: a run preempted at the wrong moment on a
# busy machine may rank a short line first, so it gets three tries.
for _ in 1 2 3; do
  run "$basic" --profile hot.bas
  first=$(sed -n 3p <<<"$error" | tr -s ' ')
  [[ $first == " 30 "* ]] && break
done
if [[ $status != 1 || $out != *"in 60" || $first != " 30 10000 20000 "*"% A\$ = STR\$(I)+"* ]]; then
  fail "--profile: status $status, first line [$first], stderr [$error]"
fi
# RUN, 10, 20, 10000 times 30 (two statements) and 40, then 50 and 60.
[[ $error == *$'\n'"30005 statements in "*" statements per second" ]] ||
  fail "--profile totals: stderr [$error]"

# --- Usage ------------------------------------------------------------------------
run "$basic" --trace --profile loop.bas
expect 2 "" "basic: --trace, --trace=jumps and --profile go one at a time (see basic --help)" \
  "--trace with --profile"
run "$basic" --trace=all loop.bas
expect 2 "" "basic: --trace= takes only jumps (see basic --help)" "--trace=all"

finish "dev tools"
