# shellcheck shell=bash
# Sourced by the test scripts (bash): the setup of their work folder and the
# tools under test, and the tally of their checks. A setup that cannot be
# made ends the script with status 2, so that it never reads as a check that
# failed.

# absolute PATH: PATH from the root when it exists, PATH itself otherwise.
# Programs run in scratch folders of their own, where a relative path would
# no longer name the file.
absolute() {
  if [[ -e $1 ]]; then echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; else echo "$1"; fi
}

# make_absolute VAR...: each named variable that is not empty, made absolute.
make_absolute() {
  local name
  for name in "$@"; do
    if [[ -n ${!name} ]]; then printf -v "$name" '%s' "$(absolute "${!name}")"; fi
  done
}

# require_front_end SCRIPT BASIC: BASIC must be built, or nothing can run.
require_front_end() {
  if [[ ! -x $2 ]]; then
    echo "$1: front end $2 not found; build it first (cmake --build --preset native)" >&2
    exit 2
  fi
}

# fresh_folder DIR: DIR exists and is empty, so that nothing an earlier run
# left there can pass for this run's output.
fresh_folder() {
  rm -rf "$1" && mkdir -p "$1" || exit 2
}

# bind_children FRONT_END STUB CHILDREN SCRATCH LABEL ERRORS: binds every
# CHILDREN/*.bas into SCRATCH, where a program that uses Shell finds them.
# An empty STUB is the front end's own. A child that does not bind fails
# LABEL, with the front end's report (kept in ERRORS).
bind_children() {
  local front_end=$1 stub=$2 children=$3 scratch=$4 label=$5 errors=$6
  local child child_exe
  for child in "$children"/*.bas; do
    [[ -f $child ]] || continue
    child_exe=$scratch/$(basename "$child" .bas)
    [[ $stub == *.exe ]] && child_exe=$child_exe.exe
    if ! "$front_end" --bind "$child" -o "$child_exe" ${stub:+--stub "$stub"} 2>"$errors"; then
      echo "FAIL $label: binding the child $(basename "$child") failed"
      sed 's/^/  /' "$errors"
      return 1
    fi
  done
}

# fail TEXT...: one failed check; the script goes on with the next.
fail() {
  echo "FAIL $*"
  failures=$((${failures:-0} + 1))
}

# finish WHAT: ends the script, with status 1 when any check failed.
finish() {
  [[ ${failures:-0} == 0 ]] && echo "$1: all passed"
  exit $((${failures:-0} > 0))
}
