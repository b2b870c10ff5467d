#!/usr/bin/env bash
# The configured tools, as CI runs them: clang-format (.clang-format) must
# leave every C++ file of ours as it is, and clang-tidy (.clang-tidy) must
# find nothing in src/. Needs a configured native build for clang-tidy's
# compile_commands.json.
#
#   scripts/check-style.sh [--format-only] [--jobs N]
set -euo pipefail
cd "$(dirname "$0")/.."

format_only=0 jobs=$(nproc)
while [[ $# -gt 0 ]]; do
  case "$1" in
    --format-only) format_only=1; shift ;;
    --jobs) jobs=$2; shift 2 ;;
    *) echo "usage: check-style.sh [--format-only] [--jobs N]" >&2; exit 2 ;;
  esac
done

mapfile -t sources < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
                                       'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h')
format=$(command -v clang-format-14 || command -v clang-format)
tidy_runner=$(command -v run-clang-tidy-14 || command -v run-clang-tidy)
if ! "$format" --dry-run -Werror "${sources[@]}"; then
  echo "check-style: clang-format would change the files above (clang-format -i FILE)" >&2
  exit 1
fi
echo "check-style: clang-format: ${#sources[@]} files as formatted"
[[ $format_only = 1 ]] && exit 0

if [[ ! -f build/compile_commands.json ]]; then
  echo "check-style: build/compile_commands.json missing: cmake --preset native first" >&2
  exit 2
fi
# The Windows sources are checked by the cross build's warnings, not here.
mapfile -t tidy_sources < <(git ls-files -- 'src/*.cpp' | grep -v '^src/platform/win32/')
"$tidy_runner" -p build -quiet -j "$jobs" "${tidy_sources[@]/#/$PWD/}" >build/clang-tidy.log 2>&1 || true
if grep -qE "(warning|error):" build/clang-tidy.log; then
  sed 's/\x1b\[[0-9;]*m//g' build/clang-tidy.log | grep -E "(warning|error):" | sort -u >&2
  echo "check-style: clang-tidy found the faults above (full log: build/clang-tidy.log)" >&2
  exit 1
fi
echo "check-style: clang-tidy: ${#tidy_sources[@]} files, nothing found"
