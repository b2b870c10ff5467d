#!/usr/bin/env bash
# Runs the golden programs (tests/programs) in bound native stubs under
# valgrind memcheck, and fails on any memory error or leak. Build the native
# preset first.
#
#   scripts/memcheck.sh [--jobs N] [NAME.bas...]   (default: every program but those below)
set -uo pipefail
cd "$(dirname "$0")/.."

jobs=2
programs=()
while [[ $# -gt 0 ]]; do
  case "$1" in
    --jobs) jobs=$2; shift 2 ;;
    -*) echo "memcheck.sh: unknown option $1" >&2; exit 2 ;;
    *) programs+=("$1"); shift ;;
  esac
done
if [[ ${#programs[@]} -eq 0 ]]; then
  # Not numbers.bas, operators.bas, functions.bas, expression_errors.bas:
  # valgrind computes long double arithmetic in double precision, so the
  # last digits of some results (powers, INT of 2^63), and the output, differ.
  # Not the programs whose library function faults on purpose: the fault is a
  # memory error to valgrind, which is the point of them.
  for program in tests/programs/*.bas tests/programs/posix/*.bas; do
    case $(basename "$program") in
      numbers.bas | operators.bas | functions.bas | expression_errors.bas | \
        declare_fault.bas | declare_overflow.bas) ;;
      *) programs+=("$program") ;;
    esac
  done
fi
if ! command -v valgrind >/dev/null; then
  echo "memcheck.sh: valgrind is missing (scripts/install-deps.sh --fuzz)" >&2
  exit 2
fi
if [[ ! -x build/basic || ! -x build/basstub ]]; then
  echo "memcheck.sh: build/basic not found; build the native preset first" >&2
  exit 2
fi

work=$PWD/build/memcheck
mkdir -p "$work"
# The runner's hook for a command in front of each bound program.
runner=$work/valgrind_run.sh
cat >"$runner" <<'RUNNER'
#!/bin/sh
# A report (on standard error) or a leak makes the exit status 97.
exec valgrind -q --error-exitcode=97 --leak-check=full \
  --show-leak-kinds=definite,indirect,possible \
  --errors-for-leak-kinds=definite,indirect,possible "$@"
RUNNER
chmod +x "$runner"

export work runner
run_one() {
  bash tests/run_programs.sh --wine "$runner" --timeout 600 \
    --front-end build/basic --stub build/basstub --work "$work" \
    --children tests/programs/children --library-dir build/tests/programs "$1"
}
export -f run_one

started=$(date +%s)
printf '%s\n' "${programs[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one "$1"' _ {} \
  >"$work/results.log" 2>&1
cat "$work/results.log"
passed=$(grep -c '^PASS' "$work/results.log")
echo "memcheck: $passed of ${#programs[@]} programs clean under valgrind in $(( $(date +%s) - started )) s"
[[ $passed -eq ${#programs[@]} ]]
