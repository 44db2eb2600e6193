#!/usr/bin/env python3
"""Prints bench/run's table from its measurements.

usage: summarize.py WORKDIR RUNS

WORKDIR holds startup.txt ("demo|large START_MS LOGIN_MS" and "yardstick MS" lines) and
timing-DSN-N.txt files written by the scenario runner (KALDOR_SCENARIO_TIMING): one
"TIME<tab>line<tab>ms<tab>statements<tab>command" line per command and an "RSS<tab>kB" line.
Only the commands marked in bench/windows.scn with a "# bench: LABEL" comment right before
them are reported. With timing-history-N.txt files (bench/history.scn, the Change History
window on a journal of 100,000 lines), a second table reports its marked commands.
"""

import os
import platform
import re
import statistics
import sys


def median(values):
    return statistics.median(values) if values else float("nan")


def labels(script):
    """Script line number -> label, from '# bench: LABEL' comments."""
    found, pending = {}, None
    with open(script, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            m = re.match(r"#\s*bench:\s*(.+)", line.strip())
            if m:
                pending = m.group(1)
            elif line.strip() and not line.startswith("#"):
                if pending:
                    found[number] = pending
                pending = None
    return found


def read_timings(work, dsn, runs):
    times, statements, rss = {}, {}, []
    for i in range(1, runs + 1):
        path = os.path.join(work, "timing-%s-%d.txt" % (dsn, i))
        with open(path, encoding="utf-8") as f:
            for line in f:
                parts = line.rstrip("\n").split("\t")
                if parts[0] == "TIME":
                    number = int(parts[1])
                    times.setdefault(number, []).append(float(parts[2]))
                    statements[number] = int(parts[3])
                elif parts[0] == "RSS":
                    rss.append(int(parts[1]))
    return times, statements, rss


def main(argv):
    work, runs = argv[1], int(argv[2])
    startup = {"demo": ([], []), "large": ([], []), "yardstick": ([], [])}
    with open(os.path.join(work, "startup.txt"), encoding="utf-8") as f:
        for line in f:
            parts = line.split()
            startup[parts[0]][0].append(int(parts[1]))
            if len(parts) > 2:
                startup[parts[0]][1].append(int(parts[2]))
    marks = labels(os.path.join(os.path.dirname(os.path.abspath(__file__)), "windows.scn"))
    demo = read_timings(work, "Demo", runs)
    large = read_timings(work, "Large", runs)

    cpu = platform.processor() or platform.machine()
    try:
        with open("/proc/cpuinfo", encoding="utf-8") as f:
            for line in f:
                if line.startswith("model name"):
                    cpu = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    print("Machine: %s, %d cores; medians of %d runs; Release build" %
          (cpu, os.cpu_count() or 0, runs))
    print()
    yard = median(startup["yardstick"][0])
    print("| Measure | Demo | Large |")
    print("|---|---|---|")
    for i, what in ((0, "Start to the login window (ms)"), (1, "Login to the main window (ms)")):
        print("| %s | %.0f | %.0f |" % (what, median(startup["demo"][i]),
                                        median(startup["large"][i])))
    print("| DB Browser for SQLite: start to its window (ms) | %.0f | |" % yard)
    print("| Start to login window / yardstick | %.2f | %.2f |" %
          (median(startup["demo"][0]) / yard, median(startup["large"][0]) / yard))
    for number in sorted(marks):
        d = median(demo[0].get(number, []))
        g = median(large[0].get(number, []))
        print("| %s (ms; statements) | %.1f; %d | %.1f; %d |" %
              (marks[number], d, demo[1].get(number, 0), g, large[1].get(number, 0)))
    print("| Peak memory, every window open (MB) | %.1f | %.1f |" %
          (max(demo[2]) / 1024.0, max(large[2]) / 1024.0))
    if os.path.exists(os.path.join(work, "timing-history-1.txt")):
        print_history(work, runs)
    return 0


def print_history(work, runs):
    """The Change History window on a journal of 100,000 lines (bench/history.scn)."""
    marks = labels(os.path.join(os.path.dirname(os.path.abspath(__file__)), "history.scn"))
    times, _, rss = read_timings(work, "history", runs)
    print()
    print("| Change history, journal of 100,000 lines (34 MB) | ms |")
    print("|---|---|")
    for number in sorted(marks):
        print("| %s | %.1f |" % (marks[number], median(times.get(number, []))))
    if rss:
        print("| Peak memory of the session (MB) | %.1f |" % (max(rss) / 1024.0))


if __name__ == "__main__":
    sys.exit(main(sys.argv))
