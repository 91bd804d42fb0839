"""Drawing and tracing release the interpreter: other threads go on meanwhile, and two threads
drawing at once make the same pictures as one after the other."""
import threading
import time

import numpy as np

import corvane
from conftest import grid_arrays


def big(shift):
    return corvane.from_arrays([grid_arrays(700, 500, lambda x, y: np.sin(8 * x + shift) * np.cos(6 * y))])


SETS = {"BrushCheck": True, "LineCheck": True, "ShowLabel": True}


def test_another_thread_runs_while_one_draws():
    ds = big(0.0)
    span = {}

    def draw():
        span["start"] = time.perf_counter()
        corvane.render(ds, size=(600, 400), set=SETS)
        corvane.contour_lines(ds, "F", levels=np.linspace(-1, 1, 21))
        span["end"] = time.perf_counter()

    worker = threading.Thread(target=draw)
    ticks = []
    worker.start()
    while worker.is_alive():
        ticks.append(time.perf_counter())
    worker.join()
    inside = [t for t in ticks if span["start"] < t < span["end"]]
    # Holding the interpreter through the call would leave this thread a handful of ticks at most.
    assert len(inside) > 1000


def test_two_threads_draw_what_one_draws():
    sets = [big(0.0), big(1.0)]
    serial = [np.asarray(corvane.render(ds, size=(300, 200), set=SETS)).copy() for ds in sets]
    results = [None, None]

    def draw(k):
        results[k] = np.asarray(corvane.render(sets[k], size=(300, 200), set=SETS)).copy()

    threads = [threading.Thread(target=draw, args=(k,)) for k in range(2)]
    for t in threads:
        t.start()
    # Meanwhile this thread reads the same data sets.
    for _ in range(50):
        assert sets[0].zones[0].x.shape == (500, 700) and sets[1].info()["nodeCount"] == 350000
    for t in threads:
        t.join()
    for k in range(2):
        assert np.array_equal(results[k], serial[k])
