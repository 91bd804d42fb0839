#!/usr/bin/env python3
"""A million-node picture from numpy, drawn by the corvane module and by matplotlib in the same
process: 50 filled bands, the contour lines between them and labels, 1000 x 800 pixels, ending
with the pixels in memory (and, second figure, a PNG file). Prints the best of a few runs each.

    PYTHONPATH=build/python python3 bench/python_picture.py [NI NJ]
"""
import os
import sys
import tempfile
import time

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt
import numpy as np

import corvane

WIDTH, HEIGHT, BANDS, RUNS = 1000, 800, 50, 3


def field(ni, nj):
    """A curved grid of nj x ni nodes and a smooth field with hills and valleys on it."""
    s, t = np.meshgrid(np.linspace(0.0, 1.0, ni), np.linspace(0.0, 1.0, nj))
    x = 4.0 * s + 0.3 * np.sin(2.0 * np.pi * t)
    y = 3.0 * t + 0.2 * np.cos(2.0 * np.pi * s)
    return x, y, np.sin(3.0 * x) * np.cos(2.0 * y) + 0.3 * x


def with_corvane(x, y, v, png):
    ds = corvane.from_arrays([{"x": x, "y": y, "P": v}])
    pic = corvane.render(ds, size=(WIDTH, HEIGHT), set={
        "BrushCheck": True, "LineCheck": True, "ShowLabel": True, "AutoMaxMinCheck": True, "AutoStepCheck": True,
        "StepBar": BANDS})
    pixels = np.asarray(pic)
    if png:
        pic.save(png)
    return pixels


def with_matplotlib(x, y, v, png):
    levels = np.linspace(v.min(), v.max(), BANDS + 1)
    fig = plt.figure(figsize=(WIDTH / 100, HEIGHT / 100), dpi=100)
    ax = fig.add_axes([0, 0, 1, 1])
    ax.set_aspect("equal")
    ax.set_axis_off()
    ax.contourf(x, y, v, levels=levels, cmap="jet")
    lines = ax.contour(x, y, v, levels=levels, colors="black", linewidths=0.5)
    ax.clabel(lines, lines.levels[::5], fontsize=8)
    fig.canvas.draw()
    pixels = np.asarray(fig.canvas.buffer_rgba())[:, :, :3].copy()
    if png:
        fig.savefig(png, dpi=100)
    plt.close(fig)
    return pixels


def best(draw, *args):
    times = []
    for _ in range(RUNS):
        start = time.perf_counter()
        draw(*args)
        times.append(time.perf_counter() - start)
    return min(times)


def main():
    ni, nj = (int(sys.argv[1]), int(sys.argv[2])) if len(sys.argv) > 2 else (1000, 1000)
    x, y, v = field(ni, nj)
    folder = tempfile.mkdtemp()
    print(f"{ni * nj} nodes, {BANDS} bands, lines and labels, {WIDTH}x{HEIGHT} pixels")
    for png in (None, os.path.join(folder, "picture.png")):
        c = best(with_corvane, x, y, v, png)
        m = best(with_matplotlib, x, y, v, png)
        what = "pixels and PNG file" if png else "pixels in memory"
        print(f"{what:20s}: corvane {c:.3f} s, matplotlib {m:.3f} s, ratio {c / m:.3f}")


if __name__ == "__main__":
    main()
