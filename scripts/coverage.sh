#!/usr/bin/env bash
# Line and branch coverage of src/ by every native suite: builds the coverage
# preset, runs its tests, and sums gcov's counts per folder of src/.
#
#   scripts/coverage.sh [--no-build]
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ ${1:-} != --no-build ]]; then
  cmake --preset coverage >/dev/null
  cmake --build --preset coverage -j2
  find build-coverage -name '*.gcda' -delete
  ctest --preset coverage -j2 --output-on-failure >/dev/null || echo "coverage: some tests failed; counts are of what ran" >&2
fi
python3 - "$PWD" <<'PY'
import collections, json, os, subprocess, sys
root = sys.argv[1]
build = os.path.join(root, "build-coverage")
# path -> {line: hit}, and branches per (path, line, index) -> taken
lines = collections.defaultdict(dict)
branches = collections.defaultdict(dict)
for folder, _, files in os.walk(build):
    for name in files:
        if not name.endswith(".gcda") or "/tests/" in folder or "googletest" in folder:
            continue
        out = subprocess.run(["gcov", "-b", "-i", "-t", os.path.join(folder, name)],
                             capture_output=True, text=True, cwd=folder).stdout

        try:
            data = json.loads(out)
        except ValueError:
            continue
        for f in data.get("files", []):
            path = os.path.normpath(os.path.join(folder, f["file"])) if not f["file"].startswith("/") else f["file"]
            if not path.startswith(os.path.join(root, "src") + os.sep):
                continue
            for l in f["lines"]:
                n = l["line_number"]
                lines[path][n] = lines[path].get(n, False) or l["count"] > 0
                for i, b in enumerate(l.get("branches", [])):
                    key = (n, i)
                    branches[path][key] = branches[path].get(key, False) or b["count"] > 0
groups = collections.defaultdict(lambda: [0, 0, 0, 0])
for path in lines:
    group = os.path.relpath(path, root).split(os.sep)
    group = "/".join(group[:2]) if group[1] != "platform" else "/".join(group[:3])
    g = groups[group]
    g[0] += sum(lines[path].values()); g[1] += len(lines[path])
    g[2] += sum(branches[path].values()); g[3] += len(branches[path])
total = [sum(g[i] for g in groups.values()) for i in range(4)]
pct = lambda a, b: 100.0 * a / b if b else 0.0
print("%-24s %16s %18s" % ("src/", "lines", "branches"))
for name in sorted(groups):
    g = groups[name]
    print("%-24s %6.1f%% of %5d %8.1f%% of %5d" % (name, pct(g[0], g[1]), g[1], pct(g[2], g[3]), g[3]))
print("%-24s %6.1f%% of %5d %8.1f%% of %5d" % ("all", pct(total[0], total[1]), total[1], pct(total[2], total[3]), total[3]))
PY
