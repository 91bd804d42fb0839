#!/usr/bin/env python3
"""Pressure coefficient along the wall of the airfoil sample, plotted with matplotlib from
corvane.profile, beside the field drawn by corvane.render. Written as notebook cells (# %%);
run as a script it writes wall_pressure.png and airfoil_field.png into the folder given
(default: the current one):

    python3 wall_pressure.py [OUT_FOLDER]
"""
# %% Read the sample with its settings: the layout of the text file and the picture's options.
import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt
import numpy as np

import corvane

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLES = next(p for p in (os.path.join(HERE, "..", "..", "samples"), "/usr/share/corvane/samples")
               if os.path.exists(os.path.join(p, "airfoil.dat")))

# Free stream of the sample (its title line): Mach 0.5 at sea-level pressure, air.
MACH, P_INF, GAMMA = 0.5, 101325.0, 1.4
# The wall is j = 0 of the three zones, which run round the body one after another.
WALL = "0:j=0,1:j=0,2:j=0"


def wall_cp(ds):
    """x along the wall and Cp = (p - p_inf) / (gamma / 2 p_inf M^2) there."""
    wall = corvane.profile(ds, line=WALL, variables=["P"])
    cp = (wall["P"] - P_INF) / (0.5 * GAMMA * P_INF * MACH ** 2)
    return wall["x"], cp


def main(folder="."):
    ds = corvane.read(os.path.join(SAMPLES, "airfoil.dat"), settings=os.path.join(SAMPLES, "airfoil.ini"))

    # %% Cp along the wall, suction upwards as usual.
    x, cp = wall_cp(ds)
    fig, ax = plt.subplots(figsize=(6, 4), dpi=100)
    ax.plot(x, cp, "-", lw=1.2)
    ax.invert_yaxis()
    ax.set_xlabel("x [m]")
    ax.set_ylabel("Cp")
    ax.set_title("Wall pressure, M = %.2f" % MACH)
    ax.grid(alpha=0.3)
    fig.tight_layout()
    fig.savefig(os.path.join(folder, "wall_pressure.png"))
    plt.close(fig)

    # %% The field as the program draws it with the same settings (in a notebook: just `pic`).
    pic = corvane.render(ds, size=(800, 600), view="settings", set={"BrushCheck": True, "RGroup": 3})
    pic.save(os.path.join(folder, "airfoil_field.png"))
    return x, cp


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
