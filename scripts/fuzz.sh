#!/usr/bin/env bash
# Runs every libFuzzer target of the fuzz preset for a while over the seed
# corpus in fuzz/corpus/<target>/, and fails on the first fault found.
#
#   scripts/fuzz.sh [--seconds N] [--work DIR] [TARGET...]
#
#   --seconds N  per target (default 60)
#   --work DIR   where grown corpora, logs and fault inputs go
#                (default build-fuzz/campaign); the seed corpus is only read
# Build first: cmake --preset fuzz && cmake --build --preset fuzz
# A fault leaves its input in DIR/<target>/artifacts/; rerun it with
#   build-fuzz/fuzz/<target> DIR/<target>/artifacts/<file>
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=60 work=build-fuzz/campaign
targets=()
while [[ $# -gt 0 ]]; do
  case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
if [[ ${#targets[@]} -eq 0 ]]; then
  targets=(tokenizer_lister_fuzzer command_processor_fuzzer exe_image_fuzzer numeric_input_fuzzer)
fi

failed=0
for target in "${targets[@]}"; do
  binary=build-fuzz/fuzz/$target
  if [[ ! -x $binary ]]; then
    echo "fuzz.sh: $binary not found; build the fuzz preset first" >&2
    exit 2
  fi
  dir=$work/$target
  mkdir -p "$dir/corpus" "$dir/artifacts"
  echo "=== $target: $seconds s"
  # Limits: no input may take 10 s or 2 GB; leaks are reported at exit.
  if "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$dir/artifacts/" \
      "$dir/corpus" "fuzz/corpus/$target" >"$dir/log" 2>&1; then
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|^#[0-9]+ *DONE' "$dir/log" | tail -n 3
  else
    echo "FAIL $target: see $dir/log and $dir/artifacts/"
    grep -E 'ERROR|SUMMARY|runtime error|listings differ' "$dir/log" | head -n 10
    failed=$((failed + 1))
  fi
done
[[ $failed -eq 0 ]]
