#!/usr/bin/env bash
# Binds every benchmark program into the stub, runs it once and checks what it
# printed: byte for byte against NAME.expected, or by SHA-256 against
# NAME.sha256 for bulk output. A faster interpreter that computes a wrong sum
# fails here. Also fails when the generated farjump program no longer matches
# gen_farjump.sh. The Lua versions (peers/lua) are run under lua5.4 and
# luajit -joff, each one that is installed, and must print the same result
# (compared as compare.sh compares it). report_test.sh checks the table
# compare.sh prints. Exit status 0 when everything passed.
#
#   bench/check_results.sh [--build DIR | --front-end BASIC --stub STUB]
#                          [--work DIR] [--timeout SEC] [NAME...]
#
#   --build DIR        where basic and basstub are (default: build)
#   --work DIR         where bound programs and their output go (default: a
#                      temporary folder, removed at the end)
#   --timeout SEC      per program (default 120)
#   NAME...            only these benchmarks (default: all)
set -u
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=SCRIPTDIR/common.sh
source "$here/common.sh"

build=$here/../build front_end="" stub="" work="" timeout_s=120
names=()
while [[ $# -gt 0 ]]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --front-end) front_end=$2; shift 2 ;;
    --stub) stub=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --timeout) timeout_s=$2; shift 2 ;;
    -h|--help) sed -n '2,/^set -u/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    -*) echo "check_results.sh: unknown option $1" >&2; exit 2 ;;
    *) names+=("$1"); shift ;;
  esac
done
front_end=${front_end:-$build/basic}
stub=${stub:-$build/basstub}
if [[ ! -x $front_end || ! -f $stub ]]; then
  echo "check_results.sh: $front_end or $stub missing; build first (cmake --build --preset native)" >&2
  exit 2
fi
if [[ -z $work ]]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work" || exit 2
[[ ${#names[@]} -gt 0 ]] || mapfile -t names < <(benchmark_names)

# The first bytes of a file with CR, LF and the like spelt out, since a
# difference in line ends alone must show.
show_bytes() {
  head -c 80 "$1" | od -An -c | tr -s ' \n' ' '
}

passed=0 failed=0
pass() { echo "PASS $1"; passed=$((passed + 1)); }
fail() { echo "FAIL $1: $2"; failed=$((failed + 1)); }

check_one() {
  local name=$1
  local source=$bench_dir/programs/$name.bas
  local expected=$bench_dir/programs/$name.expected digest=$bench_dir/programs/$name.sha256
  local exe=$work/$name actual=$work/$name.out errors=$work/$name.err
  if [[ ! -f $source ]]; then
    fail "$name" "no $source"
    return
  fi
  if [[ ! -f $expected && ! -f $digest ]]; then
    fail "$name" "neither $name.expected nor $name.sha256 in bench/programs"
    return
  fi
  if ! "$front_end" --bind "$source" -o "$exe" --stub "$stub" 2>"$errors"; then
    fail "$name" "binding failed: $(one_line "$errors")"
    return
  fi
  local status=0
  (cd "$work" && timeout -k 5 "$timeout_s" "$exe") </dev/null >"$actual" 2>"$errors" || status=$?
  if [[ $status == 124 || $status == 137 ]]; then
    fail "$name" "no end after $timeout_s s (killed)"
    return
  fi
  if [[ $status != 0 ]]; then
    fail "$name" "exit status $status; output: $(one_line "$actual")"
    return
  fi
  if [[ -f $expected ]]; then
    if ! cmp -s "$expected" "$actual"; then
      fail "$name" "output differs from $name.expected"
      echo "  expected: $(show_bytes "$expected")"
      echo "  actual:   $(show_bytes "$actual")"
      return
    fi
  else
    local want got
    want=$(awk '{ print $1; exit }' "$digest")
    got=$(sha256sum <"$actual" | awk '{ print $1 }')
    if [[ $want != "$got" ]]; then
      fail "$name" "output's SHA-256 differs from $name.sha256"
      echo "  expected result: $(expected_result "$name" | tr '\n' ' ')"
      echo "  actual result:   $(normalize "$actual" | tr '\n' ' ')"
      return
    fi
  fi
  pass "$name"
}

for name in "${names[@]}"; do
  check_one "$name"
done

# The Lua versions print their numbers through their own formatting, and the
# same file must run under Lua 5.4 and LuaJIT (Lua 5.1), whose numbers differ.
check_lua() {
  local label=$1 name=$2
  shift 2
  local source=$bench_dir/peers/lua/$name.lua
  local actual=$work/$name.$label.out errors=$work/$name.$label.err expected
  if [[ ! -f $source ]]; then
    echo "NOTE $name has no Lua version (peers/lua/$name.lua)"
    return
  fi
  expected=$(expected_result "$name") || { fail "$label $name" "no expected result"; return; }
  local status=0
  (cd "$work" && timeout -k 5 "$timeout_s" "$@" "$source") </dev/null >"$actual" 2>"$errors" ||
    status=$?
  if [[ $status != 0 ]]; then
    fail "$label $name" "exit status $status: $(one_line "$errors")"
  elif [[ $(normalize "$actual") != "$expected" ]]; then
    fail "$label $name" "wrong result"
    normalize "$actual" >"$actual.normalized"
    echo "  expected: $(expected_result "$name" | tr '\n' ' ')"
    echo "  actual:   $(one_line "$actual.normalized")"
  else
    pass "$label $name"
  fi
}
for lua in "lua5.4" "luajit -joff"; do
  read -r -a command <<<"$lua"
  if ! command -v "${command[0]}" >/dev/null; then
    echo "NOTE ${command[0]} is not installed: the Lua versions are not run under it" \
         "(scripts/install-deps.sh --bench)"
    continue
  fi
  for name in "${names[@]}"; do
    check_lua "${command[0]}" "$name" "${command[@]}"
  done
done

# The committed farjump versions must be what the generator writes now, or
# the implementations may be timing different programs.
generated=$work/generated
rm -rf "$generated"
if ! bash "$here/gen_farjump.sh" "$generated" >/dev/null 2>"$work/generator.err"; then
  fail "gen_farjump" "generator failed: $(one_line "$work/generator.err")"
else
  stale=()
  for file in programs/farjump.bas peers/yabasic/farjump.yab peers/brandy/farjump.bbc \
              peers/lua/farjump.lua; do
    cmp -s "$generated/$file" "$bench_dir/$file" || stale+=("bench/$file")
  done
  if [[ ${#stale[@]} -gt 0 ]]; then
    fail "gen_farjump" "not what gen_farjump.sh writes now: ${stale[*]}; run bench/gen_farjump.sh"
  else
    pass "gen_farjump"
  fi
fi

# The table compare.sh prints is report.py's: its ratios and means.
if bash "$here/report_test.sh" >"$work/report_test.log" 2>&1; then
  pass "report"
else
  fail "report" "report.py's table or ratios are not as expected:"
  sed 's/^/  /' "$work/report_test.log"
fi

echo "$passed passed, $failed failed"
[[ $failed == 0 ]]
