#!/usr/bin/env bash
# The page of `basic --profile=PAGE.html` as a browser reads it: headless
# Chromium loads the file (nothing else: the page has no script and fetches
# nothing) and its DOM must hold the hot line's row, with its counts and a
# shading. Skipped, with status 77, where Chromium is not installed.
#   profile_page_browser.sh BASIC WORKDIR
set -u
# shellcheck source-path=SCRIPTDIR source=testlib/script_helpers.sh
source "$(dirname "${BASH_SOURCE[0]}")/testlib/script_helpers.sh"
basic=$(absolute "$1") work=$2
require_front_end profile_page_browser.sh "$basic"
browser=$(command -v chromium || command -v chromium-browser || true)
if [[ -z $browser ]]; then
  echo "SKIP: no chromium on PATH; scripts/install-deps.sh installs it (Debian package chromium)"
  exit 77
fi
fresh_folder "$work"
cd "$work" || exit 2
work=$(pwd)

cat >hot.bas <<'BAS'
10 FOR I = 1 TO 3000
20   A$ = STR$(I) + STR$(I * 2) + STR$(I * 3): T = T + LEN(A$)
30 NEXT I
40 IF T < 0 THEN PRINT "<never & never>"
BAS
if ! "$basic" --profile=hot.html hot.bas >run.out 2>run.err; then
  fail "basic --profile=hot.html: $(cat run.err)"
  finish "profile page in a browser"
fi
# A profile folder of its own: the tests may run where HOME is not writable.
timeout 60 "$browser" --headless --disable-gpu --no-sandbox --no-first-run \
  --user-data-dir="$work/browser-profile" --dump-dom "file://$work/hot.html" \
  >dom.html 2>browser.err
status=$?
dom=$(tr -d '\r' <dom.html)
if [[ $status != 0 || -z $dom ]]; then
  fail "chromium --dump-dom: status $status, stderr: $(tail -5 browser.err)"
  finish "profile page in a browser"
fi
# Any shading: a busy machine may preempt a short line long enough to make
# it the slowest.
row=$(grep -o '<tr id="line-20"[^>]*>.*</tr>' <<<"$dom" | head -1)
[[ $row == *'style="background-color: rgba(255, 120, 0, 0.'[0-9]*'<td>20</td><td>3000</td><td>6000</td>'* ||
  $row == *'style="background-color: rgba(255, 120, 0, 1.000)"><td>20</td><td>3000</td><td>6000</td>'* ]] ||
  fail "the hot line's row in the DOM: [$row]"
# The escaped text reads back as the program's own.
text=$(grep -o '<tr id="line-40".*</tr>' <<<"$dom")
[[ $text == *'PRINT"&lt;never &amp; never&gt;"</td>'* ]] || fail "line 40 in the DOM: [$text]"
[[ $dom == *'<table>'* && $dom == *'</table>'* ]] || fail "no table in the DOM"
finish "profile page in a browser"
