# shellcheck shell=bash
# Shared by compare.sh and check_results.sh (sourced, not run).
#
# A benchmark is bench/programs/NAME.bas. What it must print:
#   NAME.expected  our exact standard output, line ends and all, when it is short
#   NAME.sha256    the SHA-256 of our exact standard output, when it is bulk
# and, for comparing implementations whose number formats and line ends
# differ, its "result": normalize() of that output, which NAME.result holds
# when the output is bulk (otherwise it is normalize() of NAME.expected).

bench_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Lines without CR and without leading and trailing blanks, trailing empty
# lines dropped. Output longer than 20 lines is too big to compare or show as
# it is; it is summed up as its line count, the sum of every line but the
# last (each is a number) and the last line (the program's own total). The
# sum is done in doubles; the bulk benchmarks keep it well below 2^53.
normalize() {
  tr -d '\r' <"$1" | awk '
    { sub(/^[ \t]+/, ""); sub(/[ \t]+$/, ""); line[NR] = $0 }
    END {
      n = NR
      while (n > 0 && line[n] == "") n--
      if (n <= 20) {
        for (i = 1; i <= n; i++) print line[i]
      } else {
        sum = 0
        for (i = 1; i < n; i++) sum += line[i]
        printf "lines %d\nsum %.0f\nlast %s\n", n, sum, line[n]
      }
    }'
}

# The result every implementation of NAME must print, normalized.
expected_result() {
  local name=$1
  if [[ -f $bench_dir/programs/$name.result ]]; then
    cat "$bench_dir/programs/$name.result"
  elif [[ -f $bench_dir/programs/$name.expected ]]; then
    normalize "$bench_dir/programs/$name.expected"
  else
    return 1
  fi
}

# The benchmark names, in a fixed order: BM1-BM8 first, then the others.
benchmark_names() {
  (
    shopt -s nullglob
    for source in "$bench_dir"/programs/bm*.bas "$bench_dir"/programs/*.bas; do
      basename "$source" .bas
    done | awk '!seen[$0]++'
  )
}

# A file's lines joined by " | ", cut short, control characters replaced: a
# program that went wrong can print megabytes, or terminal escapes.
one_line() {
  head -c 400 "$1" | tr -d '\r' | awk 'NR > 1 { printf " | " } { printf "%s", $0 }' |
    tr -c '[:print:]' '?' | head -c "${2:-160}"
}
