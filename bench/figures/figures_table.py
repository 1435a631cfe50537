#!/usr/bin/env python3
"""Prints the table of the benchmark figures from the values scripts/bench-figures recorded.

    figures_table.py FIGURES LATENCY_US IDLE_SECONDS

FIGURES holds one "NAME RUN VALUE" line per measurement (times in microseconds, memory in kB,
counts as they are). Each figure shows min, median and max over the runs; a ratio is taken run by
run (program and baseline of the same round, or a time and the wire bound of its own packets)
and judged on its median; wake-ups are judged on their max, since every run has to stay at 0.
"""
import statistics
import sys
from collections import defaultdict

APPLY_PAUSE_US = 10000  # the pause before EndTransfer
APPLY_SLACK = 1.05
START_RATIO = 2.0
MEMORY_RATIO = 3.0
ONE_KEY_PACKETS = 15  # "about ten"


def load(path):
    values = defaultdict(dict)
    with open(path, encoding="ascii") as f:
        for line in f:
            parts = line.split()
            if len(parts) == 3:
                values[parts[0]][int(parts[1])] = float(parts[2])
    return values


class Table:
    def __init__(self):
        self.rows = []

    def add(self, label, unit, series, target="", holds="", digits=1):
        if series:
            low, mid, high = min(series), statistics.median(series), max(series)
            cells = ["%.*f" % (digits, v) for v in (low, mid, high)]
        else:
            cells = ["-", "-", "-"]
        self.rows.append([label, unit] + cells + [target, holds])

    def print(self):
        header = ["figure", "unit", "min", "median", "max", "target", "holds"]
        widths = [max(len(str(r[i])) for r in self.rows + [header]) for i in range(len(header))]
        right = {2, 3, 4}
        for row in [header] + self.rows:
            cells = [str(c).rjust(widths[i]) if i in right else str(c).ljust(widths[i])
                     for i, c in enumerate(row)]
            print("  ".join(cells).rstrip())


def runs(values, name):
    return values.get(name, {})


def series(values, name, scale=1.0):
    return [v * scale for _, v in sorted(runs(values, name).items())]


def paired(values, top, bottom):
    a, b = runs(values, top), runs(values, bottom)
    return [a[r] / b[r] for r in sorted(a) if r in b and b[r] > 0]


def verdict(series_, limit, judge=statistics.median):
    if not series_:
        return "no data"
    return "yes" if judge(series_) <= limit else "no"


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: figures_table.py FIGURES LATENCY_US IDLE_SECONDS")
    values = load(sys.argv[1])
    latency = float(sys.argv[2])
    idle_seconds = sys.argv[3]
    t = Table()
    bound_text = "packets x %g ms + %g ms" % (latency / 1000, APPLY_PAUSE_US / 1000)

    for key, label in (("apply_empty", "Apply, empty macro memory"),
                       ("apply_full", "Apply, full macro memory, after a reconnect"),
                       ("apply_onekey", "Apply, one key changed, full macro memory")):
        t.add(label + ": post to last reply", "ms", series(values, key + "_us", 1e-3))
        packets = series(values, key + "_packets")
        if key == "apply_onekey":
            t.add("  packets", "", packets, "about 10 (<= %d)" % ONE_KEY_PACKETS,
                  verdict(packets, ONE_KEY_PACKETS), digits=0)
        else:
            t.add("  packets", "", packets, digits=0)
        time_runs, packet_runs = runs(values, key + "_us"), runs(values, key + "_packets")
        ratios = [time_runs[r] / (packet_runs[r] * latency + APPLY_PAUSE_US)
                  for r in sorted(time_runs) if r in packet_runs and packet_runs[r] > 0]
        t.add("  time / (%s)" % bound_text, "x", ratios, "<= %.2f" % APPLY_SLACK,
              verdict(ratios, APPLY_SLACK), digits=2)

    for key, label in (("refresh_empty", "Connect refresh, empty macro memory"),
                       ("refresh_full", "Connect refresh, full macro memory")):
        t.add(label + ": attach to last reply", "ms", series(values, key + "_us", 1e-3))
        t.add("  packets", "", series(values, key + "_packets"), digits=0)
        time_runs, packet_runs = runs(values, key + "_us"), runs(values, key + "_packets")
        wire = [time_runs[r] / (packet_runs[r] * latency)
                for r in sorted(time_runs) if r in packet_runs and packet_runs[r] > 0]
        t.add("  time / (packets x %g ms)" % (latency / 1000), "x", wire, digits=2)

    t.add("Start to tray icon: baseline", "ms", series(values, "tray_baseline_us", 1e-3))
    for key, label in (("empty", "empty macro memory"), ("full", "full macro memory")):
        t.add("Start to tray icon: program, " + label, "ms", series(values, "tray_%s_us" % key, 1e-3))
        ratio = paired(values, "tray_%s_us" % key, "tray_baseline_us")
        t.add("  program / baseline", "x", ratio, "<= %g" % START_RATIO, verdict(ratio, START_RATIO), digits=2)

    t.add("Private memory idle (RssAnon): baseline", "MB", series(values, "memory_baseline_kb", 1 / 1024))
    for key, label in (("empty", "empty macro memory"), ("full", "full macro memory")):
        t.add("Private memory idle (RssAnon): program, " + label, "MB",
              series(values, "memory_%s_kb" % key, 1 / 1024))
        ratio = paired(values, "memory_%s_kb" % key, "memory_baseline_kb")
        t.add("  program / baseline", "x", ratio, "<= %g" % MEMORY_RATIO, verdict(ratio, MEMORY_RATIO), digits=2)

    for key, label in (("idle_attached", "kbsim attached"), ("idle_stopped", "kbsim stopped")):
        counts = series(values, key)
        t.add("Wake-ups in %s s in the tray, %s" % (idle_seconds, label), "count", counts, "0",
              verdict(counts, 0, max), digits=0)

    t.print()


if __name__ == "__main__":
    main()
