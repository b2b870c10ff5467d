#!/usr/bin/env bash
# Runs the examples of a Markdown document and compares what they print with
# the output the document shows for them.
#
#   check_docs.sh --front-end BASIC --work DIR [options] DOC.md...
#
#   --front-end BASIC  the native `basic`: runs the examples (`basic FILE`) or,
#                      with --stub, binds them
#   --stub STUB        bind each example into STUB and run the result
#   --wine RUNNER      run bound examples and console sessions through RUNNER
#   --console BASIC    the `basic` that plays console sessions (default: the
#                      front end)
#   --platform NAME    posix or win32: examples marked for the other are skipped
#   --timeout SEC      per example (default 20)
#
# An example is a fenced block whose info string starts with `basic`, then an
# optional `input` block (standard input), then an `output` block. Words after
# `basic`:
#   posix, win32   the example runs on that platform only
#   console        the block is typed into the console (`basic` with no file)
#   child=NAME     not run itself: bound as NAME into the folder of every
#                  example that uses Shell, for it to start
# Expected output is written with plain line ends, which are the program's on
# Linux; on Windows the programs end their lines with CR LF and read typed
# lines that end so. The bell that starts each error report is not shown. All
# this is taken into account before comparing. An output block marked `mixed`
# (```output mixed) holds lines written by other programs too, whose line ends
# are their own; there CR is ignored on both sides. A run that wrote an error
# report (a Break aside) must end with exit status 1, any other with 0.
set -u
# shellcheck source-path=SCRIPTDIR source=../testlib/script_helpers.sh
source "$(dirname "${BASH_SOURCE[0]}")/../testlib/script_helpers.sh"

front_end="" stub="" wine="" console="" platform=posix work="" timeout_s=20
docs=()
while [[ $# -gt 0 ]]; do
  case "$1" in
    --front-end) front_end=$2; shift 2 ;;
    --stub) stub=$2; shift 2 ;;
    --wine) wine=$2; shift 2 ;;
    --console) console=$2; shift 2 ;;
    --platform) platform=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --timeout) timeout_s=$2; shift 2 ;;
    -*) echo "check_docs.sh: unknown option $1" >&2; exit 2 ;;
    *) docs+=("$1"); shift ;;
  esac
done
if [[ -z $front_end || -z $work || ${#docs[@]} = 0 ]]; then
  echo "usage: check_docs.sh --front-end BASIC --work DIR [--stub STUB] [--wine RUNNER] [--console BASIC] [--platform posix|win32] DOC.md..." >&2
  exit 2
fi
require_front_end check_docs.sh "$front_end"
make_absolute front_end stub wine
console=$(absolute "${console:-$front_end}")
fresh_folder "$work"
work=$(absolute "$work")

# Splits DOC into the work folder: for each example at line N, N.bas, N.in
# (if any), N.out and N.tags; for each child, children/NAME.bas. Prints
# nothing on success and one line per malformed example otherwise.
extract() {
  local doc=$1 dir=$2
  mkdir -p "$dir/children"
  awk -v dir="$dir" '
    function fail(text) { print FILENAME ":" NR ": " text; bad = 1 }
    function flush_pending() {
      if (pending != "") fail("the example at line " pending " has no output block")
      pending = ""
    }
    /^```/ {
      if (!inside) {
        inside = 1
        split(substr($0, 4), words, " ")
        kind = words[1]; file = ""
        if (kind == "basic") {
          flush_pending()
          tags = ""; child = ""
          for (i = 2; i in words; i++) {
            if (words[i] ~ /^child=/) child = substr(words[i], 7)
            else tags = tags " " words[i]
          }
          if (child != "") {
            file = dir "/children/" child ".bas"
          } else {
            pending = NR; file = dir "/" NR ".bas"
            print tags > (dir "/" NR ".tags"); close(dir "/" NR ".tags")
          }
        } else if (kind == "input" || kind == "output") {
          if (pending == "") fail("an " kind " block that follows no example")
          else file = dir "/" pending "." (kind == "input" ? "in" : "out")
          if (kind == "output") {
            done = 1
            if (pending != "" && words[2] == "mixed") printf "" > (dir "/" pending ".mixed")
          }
        } else {
          flush_pending()
        }
        if (file != "") printf "" > file
        next
      }
      inside = 0
      if (file != "") close(file)
      if (done) { pending = ""; done = 0 }
      next
    }
    inside && file != "" { print > file }
    END {
      if (inside) fail("a fenced block is not closed")
      flush_pending()
      exit bad
    }
  ' "$doc"
}

# Plain line ends to the platform's, for expected output and typed input.
platform_lines() {
  if [[ $platform = win32 ]]; then sed 's/$/\r/' "$1"; else cat "$1"; fi
}

run_example() {
  local dir=$1 base=$2 label=$3
  local source=$dir/$base.bas tags
  tags=$(cat "$dir/$base.tags")
  local mark
  for mark in $tags; do
    case "$mark" in
      posix|win32) [[ $mark = "$platform" ]] || { echo "SKIP $label: for $mark"; return 0; } ;;
      console) ;;
      *) echo "FAIL $label: unknown mark $mark"; return 1 ;;
    esac
  done
  local scratch=$dir/$base.files errors=$dir/$base.stderr
  mkdir -p "$scratch"
  local input=/dev/null
  if [[ -f $dir/$base.in ]]; then
    platform_lines "$dir/$base.in" >"$dir/$base.typed"
    input=$dir/$base.typed
  fi
  local command=()
  if [[ " $tags " == *" console "* ]]; then
    platform_lines "$source" >"$dir/$base.typed"
    input=$dir/$base.typed
    command=("$console")
  elif [[ -n $stub ]]; then
    local exe=$dir/$base
    [[ $stub == *.exe ]] && exe=$exe.exe
    if ! "$front_end" --bind "$source" -o "$exe" --stub "$stub" 2>"$errors"; then
      echo "FAIL $label: binding failed: $(head -n 1 "$errors")"
      return 1
    fi
    command=("$exe")
  else
    command=("$front_end" "$source")
  fi
  [[ -n $wine && ( -n $stub || " $tags " == *" console "* ) ]] && command=("$wine" "${command[@]}")

  if grep -qi 'shell' "$source"; then
    bind_children "$front_end" "$stub" "$dir/children" "$scratch" "$label" "$errors" || return 1
  fi

  local status=0
  (cd "$scratch" && timeout -k 5 "$timeout_s" "${command[@]}") <"$input" >"$dir/$base.raw" \
    2>"$errors" || status=$?
  tr -d '\007' <"$dir/$base.raw" >"$dir/$base.actual"
  if [[ -f $dir/$base.mixed ]]; then
    tr -d '\r' <"$dir/$base.out" >"$dir/$base.expected"
    tr -d '\r' <"$dir/$base.actual" >"$dir/$base.lines" && mv "$dir/$base.lines" "$dir/$base.actual"
  else
    platform_lines "$dir/$base.out" >"$dir/$base.expected"
  fi
  if [[ $status = 124 || $status = 137 ]]; then
    echo "FAIL $label: no end after ${timeout_s} s (killed)"
    return 1
  fi
  # A program run that wrote an error report (Break aside) ends with 1; the
  # console ends with 0 whatever it reported.
  local want_status=0
  if [[ " $tags " != *" console "* ]] &&
    grep -a $'\a' "$dir/$base.raw" | grep -aqv $'\a(-20) Break'; then
    want_status=1
  fi
  if [[ $status != "$want_status" ]]; then
    echo "FAIL $label: exit status $status, expected $want_status"
    sed 's/^/  /' "$errors" | head -n 20
    return 1
  fi
  if ! cmp -s "$dir/$base.expected" "$dir/$base.actual"; then
    echo "FAIL $label: output differs (expected, then actual; CR shown as ^M)"
    diff <(cat -v "$dir/$base.expected") <(cat -v "$dir/$base.actual") | head -n 40 | sed 's/^/  /'
    return 1
  fi
  echo "PASS $label"
}

failed=0 total=0
for doc in "${docs[@]}"; do
  name=$(basename "$doc" .md)
  dir=$work/$name
  mkdir -p "$dir"
  if ! extract "$doc" "$dir"; then
    failed=$((failed + 1))
    continue
  fi
  for tags_file in "$dir"/*.tags; do
    [[ -f $tags_file ]] || continue
    base=$(basename "$tags_file" .tags)
    total=$((total + 1))
    run_example "$dir" "$base" "$name.md:$base" || failed=$((failed + 1))
  done
done
echo "$((total - failed)) of $total examples passed"
[[ $failed = 0 && $total -gt 0 ]]
