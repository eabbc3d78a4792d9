# Loading and counting release the interpreter lock. Each thread installs a rendezvous as its
# yield hook: at its first yield point inside the library it waits until the other thread has
# entered the library too. Were the lock kept during the call, the second thread could never
# enter while the first waits, and the rendezvous would not be met. No time is measured; the
# rendezvous gives up after a long bound only so that a failure does not hang the suite.
import concurrent.futures

import pytest

import tamrel
from conftest import SAMPLE


def run_together(call):
    rendezvous = tamrel._tamrel._YieldRendezvous(2)

    def work(_):
        rendezvous.install()
        try:
            return call()
        finally:
            rendezvous.uninstall()

    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        results = list(pool.map(work, range(2)))
    return rendezvous, results


def test_two_threads_load_at_once():
    rendezvous, documents = run_together(lambda: tamrel.load(SAMPLE))
    assert rendezvous.met and rendezvous.arrived == 2
    assert [len(d.dialogs) for d in documents] == [3, 3]


@pytest.mark.parametrize("count", [
    lambda doc: doc.word_count(words=True),
    lambda doc: doc.totals()["words"],
])
def test_two_threads_count_one_document_at_once(sample, count):
    rendezvous, results = run_together(lambda: count(sample))
    assert rendezvous.met
    assert results == [146, 146]


def test_rendezvous_is_not_met_by_one_thread():
    # The check itself can fail: one thread alone never meets a rendezvous of two (it gives up
    # at once here instead of waiting).
    rendezvous = tamrel._tamrel._YieldRendezvous(2, patience_ms=0)
    rendezvous.install()
    try:
        tamrel.load(SAMPLE)
    finally:
        rendezvous.uninstall()
    assert not rendezvous.met and rendezvous.arrived == 1
