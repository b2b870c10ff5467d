#!/usr/bin/env python3
"""Draws the ratios report.py wrote as a bar chart (PNG), with matplotlib.

    chart.py RATIOS.tsv OUT.png [TITLE]

A bar below 1 is a program on which we beat the faster peer; the dashed line
at 0.5 is where the goal puts the geometric mean.
"""
import math
import sys

import matplotlib

matplotlib.use("Agg")  # no display: compare.sh runs headless
import matplotlib.pyplot as plt  # noqa: E402


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__, file=sys.stderr)
        return 2
    programs, ratios = [], []
    with open(sys.argv[1]) as rows:
        for row in rows:
            if row.strip():
                program, ratio = row.split("\t")
                programs.append(program)
                ratios.append(float(ratio))
    if not ratios:
        print("chart.py: no ratios to draw", file=sys.stderr)
        return 1
    geomean = math.exp(sum(math.log(r) for r in ratios) / len(ratios))

    figure, axes = plt.subplots(figsize=(max(6, 0.55 * len(programs) + 2), 4.5))
    colours = ["#2a7" if r <= 0.5 else "#e93" if r < 1 else "#c33" for r in ratios]
    axes.bar(programs, ratios, color=colours)
    axes.axhline(1.0, color="black", linewidth=1)
    axes.axhline(0.5, color="black", linewidth=1, linestyle="--", label="goal 0.5")
    axes.axhline(geomean, color="#36c", linewidth=1.5, label=f"geometric mean {geomean:.2f}")
    axes.set_ylabel("our time / faster peer's time")
    axes.set_title(sys.argv[3] if len(sys.argv) == 4 else "Ours against the faster peer")
    axes.legend(loc="upper right")
    for index, ratio in enumerate(ratios):
        axes.annotate(f"{ratio:.2f}", (index, ratio), ha="center", va="bottom", fontsize=8)
    plt.setp(axes.get_xticklabels(), rotation=45, ha="right")
    figure.tight_layout()
    figure.savefig(sys.argv[2], dpi=100)
    return 0


if __name__ == "__main__":
    sys.exit(main())
