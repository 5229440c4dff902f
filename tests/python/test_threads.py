"""Two threads checking at once get what each file gets alone: the
reader's process-wide state is used by one read at a time."""
import os
import threading

import numpy as np

import tavelin


def test_two_threads_checking_concurrently_get_correct_results(example, corpus):
    files = [example, os.path.join(corpus, "u27a.ibs"), os.path.join(corpus, "inb868_v2p0.ibs")]
    alone = {path: tavelin.check(path) for path in files}
    assert any(result.findings for result in alone.values())
    failures = []

    def worker(order):
        for _ in range(4):
            for path in order:
                result = tavelin.check(path, name_mode=1, indent=0)
                if (result.findings, result.log) != (alone[path].findings, alone[path].log):
                    failures.append(path)

    threads = [threading.Thread(target=worker, args=(files,)),
               threading.Thread(target=worker, args=(files[::-1],))]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert failures == []


def test_three_threads_reading_keep_their_documents_apart(example, corpus):
    # Each read turns its document into Python objects under the reader's
    # lock, with the interpreter lock taken back meanwhile: threads waiting
    # for the reader must not hold the interpreter (no deadlock).
    files = [example, os.path.join(corpus, "u27a.ibs"), os.path.join(corpus, "s29gl512p.ibs")]

    def summary(path):
        doc = tavelin.read(path)
        # NA corners are NaN: summed without them.
        return (sorted(doc.models), [float(np.nansum(m.pulldown)) for m in doc.models.values()
                                     if m.pulldown is not None], len(doc.check.findings))

    alone = {path: summary(path) for path in files}
    failures = []

    def worker(offset):
        for index in range(6):
            path = files[(index + offset) % len(files)]
            if summary(path) != alone[path]:
                failures.append(path)

    threads = [threading.Thread(target=worker, args=(offset,)) for offset in range(3)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert failures == []
