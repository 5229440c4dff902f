#!/usr/bin/env python3
"""Times tavelin.read of one file into Python objects and numpy arrays
against `tavelin check` of the same file, best of several runs each.

    PYTHONPATH=build/release/python python_read.py TOOL FILE [RUNS]

Prints the file size, both times, the read's throughput and the ratio
read / check (the aim: at most 2).
"""
import os
import subprocess
import sys
import time

import tavelin


def best_times(actions, runs):
    """The best time of each action; the actions take turns, so that the
    load of the machine falls on all of them alike."""
    best = [float("inf")] * len(actions)
    for _ in range(runs):
        for index, action in enumerate(actions):
            start = time.perf_counter()
            action()
            best[index] = min(best[index], time.perf_counter() - start)
    return best


def run_check(tool, path):
    # The exit status says whether the file had errors; both are fine here.
    subprocess.run([tool, "check", path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def count_rows(document):
    rows = 0
    for model in document.models.values():
        for table in (model.pullup, model.pulldown, model.gnd_clamp, model.power_clamp):
            rows += 0 if table is None else table.shape[0]
        for waveform in model.rising_waveforms + model.falling_waveforms:
            rows += waveform.table.shape[0]
    return rows


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    tool, path = argv[1], argv[2]
    runs = int(argv[3]) if len(argv) > 3 else 5
    size_mb = os.path.getsize(path) / 1e6
    document = tavelin.read(path)
    check_s, read_s = best_times([lambda: run_check(tool, path), lambda: tavelin.read(path)], runs)
    print("file            %s, %.1f MB, %d models, %d pins, %d table rows"
          % (path, size_mb, len(document.models),
             sum(len(c.pins) for c in document.components.values()), count_rows(document)))
    print("tavelin check   %.3f s  (%.1f MB/s)" % (check_s, size_mb / check_s))
    print("tavelin.read    %.3f s  (%.1f MB/s)" % (read_s, size_mb / read_s))
    print("read / check    %.2f  (best of %d runs each)" % (read_s / check_s, runs))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
