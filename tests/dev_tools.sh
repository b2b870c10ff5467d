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

# --- Transfers the statement keyword does not show: a jump to the statement
# that would have run anyway, and FOR or WHILE passing over their body. The
# program deletes lines as it runs, which the trace must survive.
cat >skips.bas <<'BAS'
10 FOR I = 1 TO 0
20   PRINT "NO"
30 NEXT I: PRINT "F"
40 WHILE 0
50   PRINT "NO"
60 WEND
70 ON 1 GOSUB 80
80 PRINT "G": IF R = 0 THEN R = 1: RETURN
90 IF 1 THEN 100
100 DEL 20-60
110 PRINT "E"
BAS
skips_out=$'F\nG\nG\nE'
run "$basic" --trace skips.bas
expect 0 "$skips_out" "[10][30][40][70][80][80][90][100][110]" "--trace past skipped bodies"
run "$basic" --trace=jumps skips.bas
expect 0 "$skips_out" "[->10][10->30][40->70][70->80][80->80][90->100]" \
  "--trace=jumps of skipped bodies and jumps to the next statement"

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

# --- The profile as a page: the whole listing, text escaped, nothing fetched --
cat >page.bas <<'BAS'
10 FOR I = 1 TO 2000
20   A$ = STR$(I) + STR$(I * 2): T = T + LEN(A$)
30 NEXT I
40 IF T < 0 OR T > 1 THEN S$ = "<b>&'x'</b>"
50 END
60 PRINT "NEVER"
BAS
run "$basic" --profile=page.html page.bas
page=$([[ -f page.html ]] && tr -d "\r" <page.html)
row20=$(grep -o '<tr id="line-20"[^>]*>.*</tr>' <<<"$page")
row60=$(grep -o '<tr id="line-60"[^>]*>.*</tr>' <<<"$page")
[[ $status == 0 && -z $out && -z $error ]] ||
  fail "--profile=page.html: status $status, out [$out], stderr [$error]"
[[ $row20 == *'style="background-color:'*'<td>20</td><td>2000</td><td>4000</td><td>'*'%</td>'* ]] ||
  fail "--profile=page.html: the hot line's row [$row20]"
[[ $row60 == *'<td>60</td><td>0</td><td>0</td><td>0.0%</td>'*'PRINT&quot;NEVER&quot;'* &&
  $row60 != *style=* ]] || fail "--profile=page.html: the line that never ran [$row60]"
[[ $page == *'THEN S$ = &quot;&lt;b&gt;&amp;&#39;x&#39;&lt;/b&gt;&quot;</td>'* ]] ||
  fail "--profile=page.html: the program text is not escaped: $(grep line-40 <<<"$page")"
[[ $page == *'<p id="totals">6005 statements in '* ]] || fail "--profile=page.html: totals"
if grep -Eiq '<script|<link|<img|src=|href=|url\(|@import' <<<"$page"; then
  fail "--profile=page.html: the page refers to something outside it"
fi
run "$basic" --profile=no-such-folder/page.html page.bas
[[ $status == 2 && $error == "basic: Cannot write file no-such-folder/page.html"* ]] ||
  fail "--profile= to a folder that does not exist: status $status, stderr [$error]"
run "$basic" --profile= page.bas
expect 2 "" "basic: --profile= needs a file name (see basic --help)" "--profile="

# --- Usage ------------------------------------------------------------------------
run "$basic" --trace --profile loop.bas
expect 2 "" "basic: --trace, --trace=jumps and --profile go one at a time (see basic --help)" \
  "--trace with --profile"
run "$basic" --trace=all loop.bas
expect 2 "" "basic: --trace= takes only jumps (see basic --help)" "--trace=all"

# --- Native only: signals and pipes that a test under Wine cannot time -------
if [[ -z $wine ]]; then
  # Ctrl-C ends an endless loop with Break, and the profile still comes.
  printf '10 I = I + 1\n20 GOTO 10\n' >endless.bas
  "$basic" --profile endless.bas >endless.out 2>endless.err &
  pid=$!
  sleep 0.5
  kill -INT "$pid"
  waited=0
  while kill -0 "$pid" 2>/dev/null && ((waited++ < 100)); do sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid"
    fail "--profile after Ctrl-C: still running 10 s after SIGINT"
  fi
  wait "$pid"
  status=$?
  report=$(cat endless.err)
  [[ $status == 0 && $(cat endless.out) == $'\a(-20) Break in '* &&
    $report == *"Profile: lines by time"*" statements per second" ]] ||
    fail "--profile after Ctrl-C: status $status, out [$(cat endless.out)], stderr [$report]"

  # The trace so far is on standard error before INPUT waits: the input is
  # written only once the trace up to the INPUT line has been seen.
  printf '10 PRINT "ASK"\n20 INPUT X\n30 PRINT X * 2\n' >ask.bas
  rm -f ask.fifo && mkfifo ask.fifo
  "$basic" --trace ask.bas <ask.fifo >ask.out 2>ask.err &
  pid=$!
  exec {feed}>ask.fifo
  seen=""
  for _ in $(seq 100); do
    seen=$(cat ask.err)
    [[ $seen == *"[20]"* ]] && break
    sleep 0.1
  done
  [[ $seen == "[10][20]" ]] && echo 21 >&"$feed"
  exec {feed}>&-
  wait "$pid"
  status=$?
  [[ $seen == "[10][20]" && $status == 0 && $(cat ask.out) == $'ASK\n? 42 ' &&
    $(cat ask.err) == "[10][20][30]" ]] ||
    fail "--trace before INPUT: seen [$seen] before the input; status $status," \
      "out [$(cat ask.out)], stderr [$(cat ask.err)]"
fi

finish "dev tools"
