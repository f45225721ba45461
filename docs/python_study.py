#!/usr/bin/python3
"""HETP and pressure drop against the F-factor for three packings, in one column.

    PYTHONPATH=build/release/python /usr/bin/python3 docs/python_study.py docs/python-study.png

The section of docs/python.md: a 1.2 m column rated at its diameter while the
vapour runs from 0.3 to 5 kg/s over 2 kg/s of liquid. Points that do not
complete or lie beyond 95 % of flooding (vapour velocity UvsD against the flood
velocity UfD) are left out.
"""

import sys

import matplotlib

matplotlib.use("Agg")  # a file, no window
import matplotlib.pyplot as plt
import numpy as np
import velk

PACKINGS = ["Mellapakr-250Y", "Mellapak-350Y", "Flexipac-2"]
SECTION = dict(method=1, rate_diameter=1.2, LD=2.0, DlD=800, DvD=2.5, MlD=0.0003, MvD=0.00001, SLD=0.02, DlfD=2e-9,
               DvfD=1e-5, alfD=2)


def study(packing):
    vapour = np.linspace(0.3, 5.0, 200)  # kg/s
    result = velk.sweep(dict(SECTION, packing=packing), "VD", vapour)
    # Up to 95 % of flooding: the pressure drop rises without bound towards the flood point.
    ok = result["completed"] & (result["UvsD"] < 0.95 * result["UfD"])
    f_factor = result["UvsD"] * np.sqrt(result["DvD"])  # Pa^0.5
    return f_factor[ok], result["HETPD"][ok], result["dPwaterD"][ok]


def main(png):
    fig, (hetp_ax, dp_ax) = plt.subplots(1, 2, figsize=(10, 4), constrained_layout=True)
    for packing in PACKINGS:
        f, hetp, dp = study(packing)
        hetp_ax.plot(f, hetp, label=packing)
        dp_ax.plot(f, dp / 100, label=packing)  # irrigated, Pa/m -> mbar/m
    hetp_ax.set(xlabel="F-factor (Pa$^{0.5}$)", ylabel="HETP (m)", title="HETP")
    dp_ax.set(xlabel="F-factor (Pa$^{0.5}$)", ylabel="pressure drop (mbar/m)", title="Pressure drop")
    for ax in (hetp_ax, dp_ax):
        ax.grid(True, alpha=0.3)
        ax.legend()
    fig.savefig(png, dpi=100)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "python-study.png")
