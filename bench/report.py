#!/usr/bin/env python3
"""Turns the runs compare.sh recorded into its Markdown table.

    report.py RUNS.tsv IMPLEMENTATION... [--ratios FILE]

RUNS.tsv has one run a line: program, implementation, round, wall seconds,
peak RSS in KiB, and "ok" or what was wrong. The first implementation named
is ours, the others are the peers, in the order of the table's columns.
--ratios writes "program<TAB>ratio" for the chart.
"""
import argparse
import math
import statistics
import sys
from collections import defaultdict


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("runs")
    parser.add_argument("implementations", nargs="+")
    parser.add_argument("--ratios")
    args = parser.parse_args()
    ours, peers = args.implementations[0], args.implementations[1:]

    walls = defaultdict(list)
    rss = defaultdict(int)
    faults = defaultdict(set)
    programs = []
    with open(args.runs) as runs:
        for line in runs:
            if not line.strip():
                continue
            program, impl, _round, wall, peak, verdict = line.rstrip("\n").split("\t", 5)
            if program not in programs:
                programs.append(program)
            key = (program, impl)
            walls[key].append(float(wall))
            rss[key] = max(rss[key], int(peak))
            if verdict != "ok":
                faults[key].add(verdict)

    def median(key):
        return statistics.median(walls[key]) if walls[key] else None

    def mib(kib):
        return f"{kib / 1024:.1f} MiB"

    def time_cell(key):
        value = median(key)
        if value is None:
            return "-"
        return f"{value:.3f}" + (" WRONG" if faults[key] else "")

    header = ["program", f"{ours} median s"] + [f"{p} median s" for p in peers]
    if peers:
        header += ["ours / faster peer", "our peak RSS", "faster peer's peak RSS"]
    else:
        header += ["our peak RSS"]
    print("| " + " | ".join(header) + " |")
    print("|" + "|".join(["---"] + ["---:"] * (len(header) - 1)) + "|")

    ratios = []
    rss_ratios = []
    for program in programs:
        row = [program, time_cell((program, ours))] + [time_cell((program, p)) for p in peers]
        # Only a peer that printed the right result sets the bar.
        timed = [(median((program, p)), p) for p in peers
                 if median((program, p)) is not None and not faults[(program, p)]]
        our_time = median((program, ours))
        if peers:
            if timed and our_time is not None and not faults[(program, ours)]:
                best_time, best = min(timed)
                ratio = our_time / best_time
                ratios.append((program, ratio))
                rss_ratios.append((program, rss[(program, ours)] / rss[(program, best)]))
                row += [f"{ratio:.2f}", mib(rss[(program, ours)]),
                        f"{mib(rss[(program, best)])} ({best})"]
            else:
                row += ["-", mib(rss[(program, ours)]), "-"]
        else:
            row += [mib(rss[(program, ours)])]
        print("| " + " | ".join(row) + " |")

    trailer = []
    if ratios:
        geomean = math.exp(sum(math.log(r) for _, r in ratios) / len(ratios))
        worst = max(ratios, key=lambda item: item[1])
        count = f"{len(ratios)} program" + ("s" if len(ratios) != 1 else "")
        trailer.append(f"Geometric mean of ours / faster peer over {count}: "
                       f"**{geomean:.3f}** (highest: {worst[0]} {worst[1]:.2f}).")
        worst_rss = max(rss_ratios, key=lambda item: item[1])
        trailer.append(f"Highest peak RSS ratio, ours / faster peer: "
                       f"{worst_rss[1]:.2f} ({worst_rss[0]}).")
    elif peers:
        trailer.append("No ratio: no program has both our time and a right peer's time.")
    wrong = sorted(f"{program} ({impl}: {', '.join(sorted(why))})"
                   for (program, impl), why in faults.items() if why)
    if wrong:
        trailer.append("WRONG results or failed runs: " + "; ".join(wrong) + ".")
    if trailer:
        print()
        print("\n".join(trailer))

    if args.ratios:
        with open(args.ratios, "w") as out:
            for program, ratio in ratios:
                out.write(f"{program}\t{ratio:.6f}\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
