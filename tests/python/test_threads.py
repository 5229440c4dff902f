"""Threads checking and reading at once get what each file gets alone: the
reader's process-wide state is used by one read at a time."""
import threading

import numpy as np

import tavelin
from conftest import variants


def run_together(worker, count):
    threads = [threading.Thread(target=worker, args=(index,)) for index in range(count)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()


def test_two_threads_checking_concurrently_get_correct_results(example, tmp_path):
    files = variants(example, tmp_path)
    alone = {path: tavelin.check(path) for path in files}
    assert [len(alone[path].findings) > 0 for path in files] == [False, True, True]
    failures = []

    def worker(index):
        order = files if index == 0 else files[::-1]
        for _ in range(10):
            for path in order:
                result = tavelin.check(path)
                if (result.findings, result.log) != (alone[path].findings, alone[path].log):
                    failures.append(path)

    run_together(worker, 2)
    assert failures == []


def test_three_threads_reading_keep_their_documents_apart(example, tmp_path):
    # Each read turns its document into Python objects under the reader's
    # lock, with the interpreter lock taken back meanwhile: threads waiting
    # for the reader must not hold the interpreter (no deadlock).
    files = variants(example, tmp_path)

    def summary(path):
        doc = tavelin.read(path)
        # NA corners are NaN: summed without them.
        return (sorted(doc.models), [float(np.nansum(m.pulldown)) for m in doc.models.values()
                                     if m.pulldown is not None], doc.check.findings)

    alone = {path: summary(path) for path in files}
    failures = []

    def worker(offset):
        for index in range(9):
            path = files[(index + offset) % len(files)]
            if summary(path) != alone[path]:
                failures.append(path)

    run_together(worker, 3)
    assert failures == []
