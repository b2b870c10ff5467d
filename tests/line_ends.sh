#!/usr/bin/env bash
# Line ends of program text and of output on each platform. On Linux a lone
# LF ends a line of program text (LOAD, MERGE, RUN "file", the text appended
# to a stub) and output lines end in LF; on Windows only CR ends one and
# output lines end in CR LF. SAVE writes CR LF on both. The program files
# are written here, since no statement writes a file with LF line ends.
#
#   line_ends.sh --front-end BASIC --stub STUB --work DIR [--wine RUNNER]
#
# A stub whose name ends in .exe is a Windows one.
set -u
# shellcheck source-path=SCRIPTDIR source=testlib/script_helpers.sh
source "$(dirname "${BASH_SOURCE[0]}")/testlib/script_helpers.sh"

front_end="" stub="" work="" wine=""
while [[ $# -gt 0 ]]; do
  case "$1" in
    --front-end) front_end=$2; shift 2 ;;
    --stub) stub=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --wine) wine=$2; shift 2 ;;
    *) echo "line_ends.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done
if [[ -z $front_end || -z $stub || -z $work ]]; then
  echo "usage: line_ends.sh --front-end BASIC --stub STUB --work DIR [--wine RUNNER]" >&2
  exit 2
fi
make_absolute front_end stub wine
exe=""
[[ $stub == *.exe ]] && exe=.exe
fresh_folder "$work"
cd "$work" || exit 2

# same NAME EXPECTED-FILE ACTUAL-FILE
same() {
  if cmp -s "$2" "$3"; then
    echo "PASS $1"
  else
    fail "$1: expected, then actual (CR shown as ^M)"
    diff <(cat -v "$2") <(cat -v "$3") | head -n 20 | sed 's/^/  /'
  fi
}
run() { if [[ -n $wine ]]; then "$wine" "$@"; else "$@"; fi; }
printf '10 PRINT "LF ONE"\n20 PRINT "LF TWO"\n' >lf.bas
printf '30 PRINT "MERGED"\n40 END\n' >more.bas
printf '10 PRINT "CRLF ONE"\r\n20 PRINT "CRLF TWO"\r\n' >crlf.bas

# LOAD, MERGE and RUN "file" of the files above, from a bound program. The
# last line leaves no program for the RUN that ends the text.
printf '%s\n' 'LOAD "crlf.bas"' 'SAVE "saved.bas"' 'LIST' 'LOAD "lf.bas"' 'LIST' \
  'MERGE "more.bas"' 'LIST' 'RUN "lf.bas"' 'PRINT "LAST"' 'NEW' >files.bas
"$front_end" --bind files.bas -o "files$exe" --stub "$stub" || exit 2
run "./files$exe" </dev/null >files.actual 2>files.stderr
if [[ -n $exe ]]; then
  # Each LF-only file is one line, its LFs kept as characters.
  {
    printf '10 PRINT"CRLF ONE"\r\n20 PRINT"CRLF TWO"\r\n'
    printf '10 PRINT"LF ONE"{\n}20 PRINT"LF TWO"{\n}\r\n'
    printf '10 PRINT"LF ONE"{\n}20 PRINT"LF TWO"{\n}\r\n30 PRINT"MERGED"{\n}40 END{\n}\r\n'
    printf 'LF ONE\a(42) Syntax error in 10\r\nLAST\r\n'
  } >files.expected
else
  printf '%s\n' '10 PRINT"CRLF ONE"' '20 PRINT"CRLF TWO"' '10 PRINT"LF ONE"' '20 PRINT"LF TWO"' \
    '10 PRINT"LF ONE"' '20 PRINT"LF TWO"' '30 PRINT"MERGED"' '40 END' 'LF ONE' 'LF TWO' 'LAST' \
    >files.expected
fi
same "LOAD, MERGE and RUN \"file\"" files.expected files.actual
printf '10 PRINT"CRLF ONE"\r\n20 PRINT"CRLF TWO"\r\n' >saved.expected
same "SAVE writes CR LF" saved.expected saved.bas

# Text appended to a stub as it is, LF-only, without --bind.
cat "$stub" >"appended$exe" && chmod +x "appended$exe"
printf 'PRINT "FIRST"\n10 PRINT "TEN"\n20 PRINT "TWENTY"\n' >>"appended$exe"
run "./appended$exe" </dev/null >appended.actual 2>appended.stderr
if [[ -n $exe ]]; then
  printf 'FIRST\a(42) Syntax error\r\n' >appended.expected
else
  printf 'FIRST\nTEN\nTWENTY\n' >appended.expected
fi
same "LF-only text appended to the stub" appended.expected appended.actual

finish "line ends"
