#!/usr/bin/env bash
# Times every benchmark in bench/programs bound into our stub against the same
# program in each installed peer (yabasic, brandy, Lua 5.4 and LuaJIT with its
# JIT off), in alternation: for each program, round after round, ours then
# each peer. Every run's printed result is checked; a wrong one marks its cell
# WRONG and makes the exit status 1. Prints a Markdown table of median wall
# times and peak RSS, the ratio of our time to the faster BASIC peer's and to
# each Lua's, and the geometric means of those ratios.
#
#   bench/compare.sh [options]
#
#   --build DIR       where basic and basstub are (default: build); nothing
#                     is built here
#   --rounds N        runs of each program in each implementation (default 5)
#   --only NAME       only this benchmark; may be given again, or NAME,NAME
#   --peers LIST      peers to run, comma-separated (default
#                     yabasic,brandy,lua,luajit; "none" times ours alone)
#   --markdown FILE   also write the table to FILE
#   --chart FILE.png  draw the ratios as a bar chart (python3-matplotlib)
#   --timeout SEC     longest a single run may take (default 300)
#
# Needs python3. scripts/install-deps.sh --bench installs the peers and the
# chart tool. Peer lua runs lua5.4 and luajit runs luajit -joff, on the same
# peers/lua/NAME.lua. brandy's Debian build draws through SDL: it is run with
# SDL's dummy video driver, so nothing reaches the terminal, and its programs
# write their result to result.txt in the folder they run in.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=SCRIPTDIR/common.sh
source "$here/common.sh"

build=$here/../build rounds=5 markdown="" chart="" timeout_s=300 peers_wanted=yabasic,brandy,lua,luajit
only=()
usage() { sed -n '2,/^set -uo/p' "$0" | sed '$d; s/^# \{0,1\}//'; }
while [[ $# -gt 0 ]]; do
  case "$1" in
    --build|--rounds|--only|--peers|--markdown|--chart|--timeout)
      if [[ $# -lt 2 ]]; then echo "compare.sh: $1 needs a value" >&2; exit 2; fi ;;&
    --build) build=$2; shift 2 ;;
    --rounds) rounds=$2; shift 2 ;;
    --only) IFS=, read -r -a more <<<"$2"; only+=("${more[@]}"); shift 2 ;;
    --peers) peers_wanted=$2; shift 2 ;;
    --markdown) markdown=$2; shift 2 ;;
    --chart) chart=$2; shift 2 ;;
    --timeout) timeout_s=$2; shift 2 ;;
    -h|--help) usage; exit 0 ;;
    *) echo "compare.sh: unknown argument $1 (see --help)" >&2; exit 2 ;;
  esac
done
if ! [[ $rounds =~ ^[1-9][0-9]*$ ]]; then
  echo "compare.sh: --rounds wants a positive whole number, not '$rounds'" >&2
  exit 2
fi
if ! [[ $timeout_s =~ ^[1-9][0-9]*$ ]]; then
  echo "compare.sh: --timeout wants a positive whole number of seconds, not '$timeout_s'" >&2
  exit 2
fi
front_end=$build/basic stub=$build/basstub
if [[ ! -x $front_end || ! -f $stub ]]; then
  echo "compare.sh: $front_end or $stub missing; build first (cmake --build --preset native)" >&2
  exit 2
fi
python=$(command -v python3) || { echo "compare.sh: python3 is needed" >&2; exit 2; }
if [[ ! -x /usr/bin/time ]]; then
  echo "compare.sh: GNU time (/usr/bin/time) is needed for the peak RSS (scripts/install-deps.sh --bench)" >&2
  exit 2
fi

mapfile -t all_names < <(benchmark_names)
names=()
if [[ ${#only[@]} -gt 0 ]]; then
  for name in "${only[@]}"; do
    name=${name%.bas}
    if [[ ! -f $bench_dir/programs/$name.bas ]]; then
      echo "compare.sh: no benchmark '$name'; there are: ${all_names[*]}" >&2
      exit 2
    fi
    names+=("$name")
  done
else
  names=("${all_names[@]}")
fi

notes=()
peers=()
if [[ $peers_wanted != none ]]; then
  IFS=, read -r -a wanted <<<"$peers_wanted"
  for peer in "${wanted[@]}"; do
    case $peer in
      yabasic|brandy|luajit) program=$peer ;;
      lua) program=lua5.4 ;;
      *) echo "compare.sh: unknown peer '$peer' (yabasic, brandy, lua, luajit or none)" >&2; exit 2 ;;
    esac
    if command -v "$program" >/dev/null; then
      peers+=("$peer")
    else
      notes+=("$program is not installed: skipped (scripts/install-deps.sh --bench installs it).")
    fi
  done
fi
for note in "${notes[@]}"; do echo "compare.sh: $note" >&2; done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin"
runs=$work/runs.tsv
: >"$runs"

for name in "${names[@]}"; do
  if ! "$front_end" --bind "$bench_dir/programs/$name.bas" -o "$work/bin/$name" --stub "$stub" \
       2>"$work/bind.err"; then
    echo "compare.sh: binding $name failed: $(one_line "$work/bind.err")" >&2
    exit 1
  fi
done

# The file a peer runs for a benchmark; a peer may have none.
peer_source() {
  case $1 in
    yabasic) echo "$bench_dir/peers/yabasic/$2.yab" ;;
    brandy) echo "$bench_dir/peers/brandy/$2.bbc" ;;
    lua|luajit) echo "$bench_dir/peers/lua/$2.lua" ;;
  esac
}

# Runs one implementation on one benchmark once; appends a line to $runs and
# prints the wall time, or what went wrong, for the progress line. It runs in
# a command substitution: $runs is the only state it leaves.
run_one() {
  local impl=$1 name=$2 round=$3 expected=$4
  local scratch=$work/run.$impl
  rm -rf "$scratch" && mkdir -p "$scratch"
  local out=$scratch.out err=$scratch.err
  local command=() env=()
  case $impl in
    ours) command=("$work/bin/$name") ;;
    yabasic) command=(yabasic "$(peer_source yabasic "$name")") ;;
    brandy)
      command=(brandy -quit "$(peer_source brandy "$name")")
      env=(--env SDL_VIDEODRIVER=dummy --env SDL_AUDIODRIVER=dummy) ;;
    lua) command=(lua5.4 "$(peer_source lua "$name")") ;;
    # The interpreter alone, as ours is: LuaJIT's compiler would be another contest.
    luajit) command=(luajit -joff "$(peer_source luajit "$name")") ;;
  esac
  local measured wall=0 rss=0 status="not started"
  if measured=$("$python" "$here/timed_run.py" --cwd "$scratch" --stdout "$out" --stderr "$err" \
                --timeout "$timeout_s" "${env[@]}" -- "${command[@]}"); then
    read -r wall rss status <<<"$measured"
  fi
  # brandy cannot print plain text to standard output; its programs write
  # what they would print to result.txt instead.
  local printed=$out
  [[ $impl == brandy ]] && printed=$scratch/result.txt
  local verdict=ok
  if [[ $status =~ ^[0-9]+$ && $status != 0 ]]; then
    verdict="exit $status"
  elif [[ $status != 0 ]]; then
    verdict=$status
  elif [[ ! -f $printed ]]; then
    verdict="no output"
  elif [[ $(normalize "$printed") != "$expected" ]]; then
    verdict="wrong result"
  fi
  if [[ $verdict != ok ]]; then
    {
      echo "compare.sh: $name, $impl, round $round: $verdict"
      printf '%s\n' "$expected" >"$scratch.expected"
      echo "  expected: $(one_line "$scratch.expected")"
      if [[ -f $printed ]]; then
        normalize "$printed" >"$scratch.normalized"
        echo "  got:      $(one_line "$scratch.normalized")"
      fi
      [[ -s $err ]] && echo "  stderr:   $(one_line "$err")"
    } >&2
  fi
  printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$name" "$impl" "$round" "$wall" "$rss" "$verdict" >>"$runs"
  if [[ $verdict == ok ]]; then printf '%.3f' "$wall"; else printf '%s' "${verdict// /-}"; fi
}

for name in "${names[@]}"; do
  if ! expected=$(expected_result "$name"); then
    echo "compare.sh: $name has neither $name.expected nor $name.result in bench/programs" >&2
    exit 2
  fi
  impls=(ours)
  for peer in "${peers[@]}"; do
    if [[ -f $(peer_source "$peer" "$name") ]]; then
      impls+=("$peer")
    else
      notes+=("$peer has no version of $name: its cell is empty.")
    fi
  done
  for ((round = 1; round <= rounds; round++)); do
    line="$name round $round/$rounds:"
    for impl in "${impls[@]}"; do
      line+=" $impl $(run_one "$impl" "$name" "$round" "$expected")"
    done
    echo "$line" >&2
  done
done

table=$work/table.md
{
  "$python" "$here/report.py" "$runs" ours "${peers[@]}" --ratios "$work/ratios.tsv" \
    --reference "lua=Lua 5.4" --reference "luajit=LuaJIT -joff" --output-bound print
  echo
  echo "Median wall time of $rounds run(s) each, in alternation; peak RSS is the largest of those runs."
  if [[ " ${peers[*]} " =~ \ (yabasic|brandy)\  ]]; then
    echo "The faster peer is the faster of the BASIC peers (yabasic, brandy)."
  fi
  if [[ " ${peers[*]} " =~ \ (lua|luajit)\  ]]; then
    echo "The Lua geometric means leave out print: Lua 5.4's print flushes standard output after"
    echo "every line, so there it times write calls more than the interpreter."
  fi
  for note in "${notes[@]}"; do echo "Note: $note"; done
} >"$table" || { echo "compare.sh: report.py failed" >&2; exit 1; }
cat "$table"
[[ -n $markdown ]] && cp "$table" "$markdown"

draw_chart() {
  local candidate
  # Debian's matplotlib is for Debian's python3, which may not be the first
  # python3 on PATH.
  for candidate in "$python" /usr/bin/python3; do
    if [[ -x $candidate ]] && "$candidate" -c 'import matplotlib' 2>/dev/null; then
      "$candidate" "$here/chart.py" "$work/ratios.tsv" "$chart" \
        "Ours / faster BASIC peer and ours / Lua 5.4, median of $rounds round(s)"$'\n'"(print left out of the Lua bars)"
      return
    fi
  done
  echo "compare.sh: no chart drawn: python3-matplotlib is not installed (scripts/install-deps.sh --bench)" >&2
  return 1
}
status=0
if [[ -n $chart ]]; then
  if [[ ! -s $work/ratios.tsv ]]; then
    echo "compare.sh: no chart drawn: there are no ratios (no peer ran, or none printed the right result)" >&2
    status=1
  elif draw_chart; then
    echo "compare.sh: chart written to $chart" >&2
  else
    status=1
  fi
fi

# Any run that went wrong, ours or a peer's, fails the comparison.
if awk -F '\t' '$6 != "ok" { bad = 1 } END { exit !bad }' "$runs"; then
  echo "compare.sh: some runs printed a wrong result or failed (see WRONG above)" >&2
  status=1
fi
exit $status
