#!/usr/bin/python3
"""Times the Python module's sweep against the same study through velk-calc processes.

    PYTHONPATH=build/release/python /usr/bin/python3 bench/python_sweep.py build/release/bin/velk-calc

Prints the seconds of a 10,000-point sweep (best of three, one thread), the
seconds of 100 velk-calc processes scaled to 10,000, and their ratio. Run it
with `taskset -c 0` for one core.
"""

import subprocess
import sys
import time

import numpy as np
import velk

BASE = dict(packing="Mellapak-350Y", method=1, LD=2.5, VD=3.0, DlD=800, DvD=2.5, MlD=0.0003, MvD=0.00001,
            SLD=0.02, DlfD=2e-9, DvfD=1e-5, alfD=2)
POINTS = 10_000
PROCESSES = 100


def sweep_seconds(values):
    best = float("inf")
    for _ in range(3):
        start = time.perf_counter()
        result = velk.sweep(BASE, "VD", values)
        best = min(best, time.perf_counter() - start)
    assert result["completed"].all(), "every point of the study computes"
    return best


def process_seconds(velk_calc, values):
    fields = [f"{k}={v}" for k, v in BASE.items() if k not in ("packing", "method")]
    start = time.perf_counter()
    for v in values:
        subprocess.run([velk_calc, "--packing", BASE["packing"], "--method", str(BASE["method"]), *fields,
                        f"VD={float.__repr__(float(v))}"], capture_output=True, check=True)
    return time.perf_counter() - start


def main():
    values = np.linspace(0.5, 6.0, POINTS)
    swept = sweep_seconds(values)
    print(f"sweep of {POINTS} points: {swept:.3f} s ({swept / POINTS * 1e6:.1f} us a point)")
    if len(sys.argv) > 1:
        processes = process_seconds(sys.argv[1], values[:: POINTS // PROCESSES]) * (POINTS / PROCESSES)
        print(f"{PROCESSES} velk-calc processes scaled to {POINTS}: {processes:.1f} s; "
              f"the sweep is {processes / swept:.0f} times faster")


if __name__ == "__main__":
    main()
