#!/usr/bin/env bash
# Failures that must not look like success: standard output that cannot be
# written, and memory that runs out outside a run. Each ends with one line on
# standard error and exit status 1.
#   failure_reports.sh BASIC STUB WORKDIR
set -u
# shellcheck source-path=SCRIPTDIR source=testlib/script_helpers.sh
source "$(dirname "${BASH_SOURCE[0]}")/testlib/script_helpers.sh"
basic=$1 stub=$2 work=$3
mkdir -p "$work" && cd "$work" || exit 2
expect() {  # expect STATUS STDERR-TEXT DESCRIPTION (status and text of the last run)
  if [[ $status != "$1" || $error != "$2" ]]; then
    fail "$3: status $status, stderr [$error]; expected $1, [$2]"
  fi
}
printf '10 FOR I = 1 TO 3: PRINT I: NEXT\n' >count.bas
"$basic" --bind count.bas -o count --stub "$stub" || exit 2

full="basic: cannot write output: No space left on device"
error=$(./count 2>&1 >/dev/full); status=$?; expect 1 "$full" "bound program into /dev/full"
error=$("$basic" count.bas 2>&1 >/dev/full); status=$?; expect 1 "$full" "basic FILE into /dev/full"
error=$(echo 'PRINT 1' | "$basic" 2>&1 >/dev/full); status=$?; expect 1 "$full" "the console into /dev/full"
error=$(./count 2>&1 >&-); status=$?
expect 1 "basic: cannot write output: Bad file descriptor" "bound program with standard output closed"

# A broken pipe keeps the Unix way: death by SIGPIPE, when it is at its default.
printf '10 PRINT "x": GOTO 10\n' >forever.bas
"$basic" --bind forever.bas -o forever --stub "$stub" || exit 2
(trap - PIPE; ./forever | head -c 1 >/dev/null; exit "${PIPESTATUS[0]}"); status=$? error=""
expect 141 "" "bound program into a closed pipe"

# Out of memory outside a run: the table's text, never the C++ exception's.
error=$(ulimit -v 300000; "$basic" /dev/zero 2>&1 >/dev/null); status=$?
expect 1 "basic: Out of memory" "basic /dev/zero"
error=$(ulimit -v 300000; "$basic" --bind /dev/zero -o zero 2>&1 >/dev/null); status=$?
expect 1 "basic: Out of memory" "basic --bind /dev/zero"

finish "failure reports"
