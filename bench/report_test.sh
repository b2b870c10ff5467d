#!/usr/bin/env bash
# Feeds report.py made-up runs and checks its table, its means and the ratios
# it writes for the chart: the faster peer is a BASIC one even where a Lua is
# faster, a wrong run sets no bar, and the output-bound program stays out of
# the Lua means only. check_results.sh runs it. Exit status 0 when it passed.
set -u
here=$(cd "$(dirname "$0")" && pwd)
python=$(command -v python3) || { echo "report_test.sh: python3 is needed" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# program, implementation, round, wall seconds, peak RSS KiB, verdict
sed -E 's/^([^ ]+) ([^ ]+) ([^ ]+) ([^ ]+) ([^ ]+) /\1\t\2\t\3\t\4\t\5\t/' >"$work/runs.tsv" <<'RUNS'
bm1 ours 1 0.9 2048 ok
bm1 yabasic 1 3.0 3072 ok
bm1 brandy 1 2.0 18432 ok
bm1 lua 1 0.5 2560 ok
bm1 luajit 1 0.25 2048 ok
bm1 ours 2 5.0 1024 ok
bm1 ours 3 1.0 1024 ok
print ours 1 1.0 2048 ok
print yabasic 1 4.0 3072 ok
print brandy 1 2.0 18432 ok
print lua 1 10.0 2560 ok
print luajit 1 1.0 2048 ok
sieve ours 1 2.0 2048 ok
sieve yabasic 1 1.0 3072 wrong result
sieve brandy 1 4.0 18432 ok
sieve lua 1 1.0 2560 exit 1
sieve luajit 1 1.0 2048 ok
RUNS

cat >"$work/expected.md" <<'TABLE'
| program | ours median s | yabasic median s | brandy median s | Lua 5.4 median s | LuaJIT -joff median s | ours / faster peer | ours / Lua 5.4 | ours / LuaJIT -joff | our peak RSS | faster peer's peak RSS | Lua 5.4's peak RSS |
|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|
| bm1 | 1.000 | 3.000 | 2.000 | 0.500 | 0.250 | 0.50 | 2.00 | 4.00 | 2.0 MiB | 18.0 MiB (brandy) | 2.5 MiB |
| print | 1.000 | 4.000 | 2.000 | 10.000 | 1.000 | 0.50 | 0.10 | 1.00 | 2.0 MiB | 18.0 MiB (brandy) | 2.5 MiB |
| sieve | 2.000 | 1.000 WRONG | 4.000 | 1.000 WRONG | 1.000 | 0.50 | - | 2.00 | 2.0 MiB | 18.0 MiB (brandy) | 2.5 MiB |

Geometric mean of ours / faster peer over 3 programs: **0.500** (highest: bm1 0.50).
Highest peak RSS ratio, ours / faster peer: 0.11 (bm1).
Geometric mean of ours / Lua 5.4 over 1 program (print left out): **2.000** (highest: bm1 2.00).
Geometric mean of ours / LuaJIT -joff over 2 programs (print left out): **2.828** (highest: bm1 4.00).
WRONG results or failed runs: sieve (lua: exit 1); sieve (yabasic: wrong result).
TABLE

printf 'program\tours / faster peer\tours / Lua 5.4\n' >"$work/expected.tsv"
printf '%s\t%s\t%s\n' bm1 0.500000 2.000000 print 0.500000 "" sieve 0.500000 "" \
  >>"$work/expected.tsv"

failed=0
if ! "$python" "$here/report.py" "$work/runs.tsv" ours yabasic brandy lua luajit \
       --reference "lua=Lua 5.4" --reference "luajit=LuaJIT -joff" --output-bound print \
       --ratios "$work/ratios.tsv" >"$work/table.md" 2>"$work/errors"; then
  echo "report_test.sh: report.py failed: $(head -c 400 "$work/errors")"
  exit 1
fi
if ! diff -u "$work/expected.md" "$work/table.md"; then
  echo "report_test.sh: the table differs (- expected, + printed)"
  failed=1
fi
if ! diff -u "$work/expected.tsv" "$work/ratios.tsv"; then
  echo "report_test.sh: the ratios for the chart differ (- expected, + written)"
  failed=1
fi
exit $failed
