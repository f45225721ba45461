#!/usr/bin/python3
"""Times the Python module's sweep against the same study through velk-calc processes.

    PYTHONPATH=build/release/python /usr/bin/python3 bench/python_sweep.py build/release/bin/velk-calc

Prints the seconds of a 10,000-point sweep (best of three, one thread), the
seconds of 100 velk-calc processes scaled to 10,000, and their ratio. Run it
with `taskset -c 0` for one core.
"""

import resource
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
    """Best wall-clock and processor seconds of three sweeps (the processor's on a shared machine)."""
    wall = cpu = float("inf")
    for _ in range(3):
        start, start_cpu = time.perf_counter(), time.process_time()
        result = velk.sweep(BASE, "VD", values)
        wall, cpu = min(wall, time.perf_counter() - start), min(cpu, time.process_time() - start_cpu)
    assert result["completed"].all(), "every point of the study computes"
    return wall, cpu


def process_seconds(velk_calc, values):
    """Wall-clock and processor seconds (the processes' own) of one velk-calc process a point."""
    fields = [f"{k}={v}" for k, v in BASE.items() if k not in ("packing", "method")]
    start, before = time.perf_counter(), resource.getrusage(resource.RUSAGE_CHILDREN)
    for v in values:
        subprocess.run([velk_calc, "--packing", BASE["packing"], "--method", str(BASE["method"]), *fields,
                        f"VD={float.__repr__(float(v))}"], capture_output=True, check=True)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return time.perf_counter() - start, (after.ru_utime + after.ru_stime) - (before.ru_utime + before.ru_stime)


def main():
    values = np.linspace(0.5, 6.0, POINTS)
    swept, cpu = sweep_seconds(values)
    print(f"sweep of {POINTS} points: {swept:.3f} s ({swept / POINTS * 1e6:.1f} us a point), "
          f"{cpu:.3f} s of processor time")
    if len(sys.argv) > 1:
        scale = POINTS / PROCESSES
        wall, processor = (t * scale for t in process_seconds(sys.argv[1], values[:: POINTS // PROCESSES]))
        print(f"{PROCESSES} velk-calc processes scaled to {POINTS}: {wall:.1f} s ({processor:.1f} s of processor "
              f"time); the sweep is {wall / swept:.0f} times faster ({processor / cpu:.0f} in processor time)")


if __name__ == "__main__":
    main()
