#!/usr/bin/env python3
"""Turns the runs compare.sh recorded into its Markdown table.

    report.py RUNS.tsv IMPLEMENTATION... [--reference NAME=LABEL]...
              [--output-bound PROGRAM]... [--ratios FILE]

RUNS.tsv has one run a line: program, implementation, round, wall seconds,
peak RSS in KiB, and "ok" or what was wrong. The first implementation named
is ours, the others are the peers, in the order of the table's columns.

The peers are BASIC interpreters, and our time is set against the faster of
them, except those named by --reference (another language, say): each of
those has a column of its own for our time over its time and a geometric
mean of its own, and the first of them a peak RSS column. --output-bound
names a program left out of the reference means, one whose time is mostly
the writing of its output. --ratios writes a tab-separated file for the
chart: a header line, then "program, ours / faster peer, ours / first
reference", an empty field where there is no ratio.
"""
import argparse
import math
import statistics
import sys
from collections import defaultdict


def geometric_mean(ratios):
    return math.exp(sum(math.log(r) for _, r in ratios) / len(ratios))


def plural(count, word):
    return f"{count} {word}" + ("s" if count != 1 else "")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("runs")
    parser.add_argument("implementations", nargs="+")
    parser.add_argument("--reference", action="append", default=[], metavar="NAME=LABEL")
    parser.add_argument("--output-bound", action="append", default=[], metavar="PROGRAM")
    parser.add_argument("--ratios")
    args = parser.parse_args()
    ours, peers = args.implementations[0], args.implementations[1:]
    labels = {}
    for item in args.reference:
        name, _, label = item.partition("=")
        labels[name] = label or name
    references = [p for p in peers if p in labels]
    basic_peers = [p for p in peers if p not in labels]

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

    def right_time(key):
        """The median time of a run that printed the right result, or None."""
        return None if faults[key] else median(key)

    def mib(kib):
        return f"{kib / 1024:.1f} MiB"

    def time_cell(key):
        value = median(key)
        if value is None:
            return "-"
        return f"{value:.3f}" + (" WRONG" if faults[key] else "")

    header = ["program", f"{ours} median s"]
    header += [f"{labels.get(p, p)} median s" for p in peers]
    if basic_peers:
        header += ["ours / faster peer"]
    header += [f"ours / {labels[r]}" for r in references]
    header += ["our peak RSS"]
    if basic_peers:
        header += ["faster peer's peak RSS"]
    if references:
        header += [f"{labels[references[0]]}'s peak RSS"]
    print("| " + " | ".join(header) + " |")
    print("|" + "|".join(["---"] + ["---:"] * (len(header) - 1)) + "|")

    ratios = []
    rss_ratios = []
    reference_ratios = {r: [] for r in references}
    chart_rows = []
    for program in programs:
        row = [program, time_cell((program, ours))] + [time_cell((program, p)) for p in peers]
        our_time = right_time((program, ours))
        chart_row = [program, "", ""]
        best = None
        if basic_peers:
            # Only a peer that printed the right result sets the bar.
            timed = [(right_time((program, p)), p) for p in basic_peers
                     if right_time((program, p)) is not None]
            if timed and our_time is not None:
                best_time, best = min(timed)
                ratio = our_time / best_time
                ratios.append((program, ratio))
                rss_ratios.append((program, rss[(program, ours)] / rss[(program, best)]))
                row.append(f"{ratio:.2f}")
                chart_row[1] = f"{ratio:.6f}"
            else:
                row.append("-")
        for index, reference in enumerate(references):
            their_time = right_time((program, reference))
            if our_time is None or their_time is None:
                row.append("-")
                continue
            ratio = our_time / their_time
            row.append(f"{ratio:.2f}")
            if program not in args.output_bound:
                reference_ratios[reference].append((program, ratio))
                if index == 0:
                    chart_row[2] = f"{ratio:.6f}"
        row.append(mib(rss[(program, ours)]))
        if basic_peers:
            row.append(f"{mib(rss[(program, best)])} ({best})" if best else "-")
        if references:
            first = (program, references[0])
            row.append(mib(rss[first]) if median(first) is not None else "-")
        print("| " + " | ".join(row) + " |")
        if chart_row[1] or chart_row[2]:
            chart_rows.append(chart_row)

    trailer = []
    if ratios:
        worst = max(ratios, key=lambda item: item[1])
        trailer.append(f"Geometric mean of ours / faster peer over {plural(len(ratios), 'program')}: "
                       f"**{geometric_mean(ratios):.3f}** (highest: {worst[0]} {worst[1]:.2f}).")
        worst_rss = max(rss_ratios, key=lambda item: item[1])
        trailer.append(f"Highest peak RSS ratio, ours / faster peer: "
                       f"{worst_rss[1]:.2f} ({worst_rss[0]}).")
    elif basic_peers:
        trailer.append("No ratio: no program has both our time and a right peer's time.")
    for reference in references:
        found = reference_ratios[reference]
        if not found:
            trailer.append(f"No ratio to {labels[reference]}: no program has both its time "
                           f"and ours.")
            continue
        worst = max(found, key=lambda item: item[1])
        left_out = [p for p in programs if p in args.output_bound]
        without = f" ({', '.join(left_out)} left out)" if left_out else ""
        trailer.append(f"Geometric mean of ours / {labels[reference]} over "
                       f"{plural(len(found), 'program')}{without}: "
                       f"**{geometric_mean(found):.3f}** (highest: {worst[0]} {worst[1]:.2f}).")
    wrong = sorted(f"{program} ({impl}: {', '.join(sorted(why))})"
                   for (program, impl), why in faults.items() if why)
    if wrong:
        trailer.append("WRONG results or failed runs: " + "; ".join(wrong) + ".")
    if trailer:
        print()
        print("\n".join(trailer))

    if args.ratios:
        with open(args.ratios, "w") as out:
            if chart_rows:
                first = f"ours / {labels[references[0]]}" if references else ""
                out.write(f"program\tours / faster peer\t{first}\n")
            for chart_row in chart_rows:
                out.write("\t".join(chart_row) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
