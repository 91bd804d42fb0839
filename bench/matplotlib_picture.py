#!/usr/bin/env python3
"""The same picture as `corvane render` draws of a generator file, made with numpy and matplotlib:
50 filled bands of the first variable, the contour lines between them with labels, 1000 x 800
pixels of PNG. Used to compare time and memory: matplotlib_picture.py DATA OUT.png"""
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt
import numpy as np


def main(data_path, out_path):
    with open(data_path) as f:
        f.readline()
        zone_count = int(f.readline().split()[1].rstrip(","))
        sizes = [tuple(int(v) + 1 for v in f.readline().split()) for _ in range(zone_count)]
        f.readline()  # labels
        table = np.loadtxt(f)  # every column, as a viewer that can switch variables holds them
    values = table[:, 2]
    levels = np.linspace(values.min(), values.max(), 51)
    fig = plt.figure(figsize=(10, 8), dpi=100)
    ax = fig.add_axes([0, 0, 1, 1])
    ax.set_aspect("equal")
    ax.set_axis_off()
    first = 0
    for ni, nj in sizes:
        block = table[first:first + ni * nj].reshape(ni, nj, -1)
        first += ni * nj
        ax.contourf(block[:, :, 0], block[:, :, 1], block[:, :, 2], levels=levels, cmap="jet")
        lines = ax.contour(block[:, :, 0], block[:, :, 1], block[:, :, 2], levels=levels, colors="white",
                           linewidths=0.5)
        ax.clabel(lines, lines.levels[::10], fontsize=8)
    fig.savefig(out_path, dpi=100)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
