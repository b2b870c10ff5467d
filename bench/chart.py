#!/usr/bin/env python3
"""Draws the ratios report.py wrote as a bar chart (PNG), with matplotlib.

    chart.py RATIOS.tsv OUT.png [TITLE]

RATIOS.tsv starts with a header line (program, then one name a series) and
has a line a program, an empty field where a series has no ratio. Each
series is a bar beside the others and a line at its geometric mean. A bar
below 1 is a program on which we beat that implementation; the dashed line
at 0.5 is where the goal puts the geometric mean against the faster peer.
"""
import math
import sys

import matplotlib

matplotlib.use("Agg")  # no display: compare.sh runs headless
import matplotlib.pyplot as plt  # noqa: E402

SERIES_COLOURS = ["#e93", "#36c", "#2a7", "#c33"]


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__, file=sys.stderr)
        return 2
    with open(sys.argv[1]) as rows:
        lines = [line.rstrip("\n").split("\t") for line in rows if line.strip()]
    if len(lines) < 2:
        print("chart.py: no ratios to draw", file=sys.stderr)
        return 1
    header, rows = lines[0], lines[1:]
    programs = [row[0] for row in rows]
    series = []
    for column, name in enumerate(header[1:], start=1):
        values = [float(row[column]) if column < len(row) and row[column] else None
                  for row in rows]
        if name and any(v is not None for v in values):
            series.append((name, values))
    if not series:
        print("chart.py: no ratios to draw", file=sys.stderr)
        return 1

    figure, axes = plt.subplots(figsize=(max(6, 0.4 * len(programs) * len(series) + 2) + 3, 5))
    width = 0.8 / len(series)
    for index, (name, values) in enumerate(series):
        colour = SERIES_COLOURS[index % len(SERIES_COLOURS)]
        offset = (index - (len(series) - 1) / 2) * width
        drawn = [(position + offset, value) for position, value in enumerate(values)
                 if value is not None]
        axes.bar([x for x, _ in drawn], [v for _, v in drawn], width=width, color=colour,
                 label=name)
        for x, value in drawn:
            axes.annotate(f"{value:.2f}", (x, value), ha="center", va="bottom", fontsize=7)
        present = [v for v in values if v is not None]
        geomean = math.exp(sum(math.log(v) for v in present) / len(present))
        axes.axhline(geomean, color=colour, linewidth=1.5, linestyle=":",
                     label=f"{name}: geometric mean {geomean:.2f}")
    axes.axhline(1.0, color="black", linewidth=1)
    axes.axhline(0.5, color="black", linewidth=1, linestyle="--", label="goal 0.5")
    axes.set_xticks(range(len(programs)))
    axes.set_xticklabels(programs)
    axes.set_ylabel("our time / their time")
    axes.set_title(sys.argv[3] if len(sys.argv) == 4 else "Ours against the peers", fontsize=10)
    # Beside the plot, where it hides no bar.
    axes.legend(loc="upper left", bbox_to_anchor=(1.01, 1.0), fontsize=8)
    plt.setp(axes.get_xticklabels(), rotation=45, ha="right")
    figure.tight_layout()
    figure.savefig(sys.argv[2], dpi=100)
    return 0


if __name__ == "__main__":
    sys.exit(main())
