"""The examples of docs/examples run as a user runs them."""
import os
import subprocess
import sys

import numpy as np
from PIL import Image

from conftest import SOURCE, run

EXAMPLES = os.path.join(SOURCE, "docs", "examples")


def frame(path, k):
    ni, nj = 12, 8
    lines = ["VARIABLES = X Y P", f"ZONE I={ni} J={nj}"]
    for j in range(nj):
        for i in range(ni):
            x, y = i / (ni - 1), j / (nj - 1)
            lines.append("%r %r %r" % (x, y, np.sin(3 * x + 0.7 * k) * np.cos(2 * y)))
    path.write_text("\n".join(lines) + "\n")


def pixels(path):
    return np.asarray(Image.open(path).convert("RGB"))


def test_series_on_a_dask_cluster_matches_the_command_line(tmp_path):
    frames = []
    for k in range(3):
        frames.append(tmp_path / f"run_{k}.tec")
        frame(frames[-1], k)
    options = ["--size", "160x120", "--set", "BrushCheck=true", "--set", "ShowLabel=true"]
    run("render", "--series", *frames, *options, "-o", f"{tmp_path / 'cli'}/")
    script = os.path.join(EXAMPLES, "series_on_dask.py")
    done = subprocess.run([sys.executable, script, "-o", str(tmp_path / "dask"), *options, *map(str, frames)],
                          capture_output=True, text=True, timeout=240)
    assert done.returncode == 0, done.stderr
    names = sorted(os.listdir(tmp_path / "cli"))
    assert names == ["frame_0001.png", "frame_0002.png", "frame_0003.png"] == sorted(os.listdir(tmp_path / "dask"))
    for name in names:
        assert np.array_equal(pixels(tmp_path / "cli" / name), pixels(tmp_path / "dask" / name)), name
    assert not np.array_equal(pixels(tmp_path / "dask" / names[0]), pixels(tmp_path / "dask" / names[1]))


def test_wall_pressure_example(tmp_path):
    sys.path.insert(0, EXAMPLES)
    try:
        import wall_pressure
    finally:
        sys.path.remove(EXAMPLES)
    x, cp = wall_pressure.main(str(tmp_path))
    assert (tmp_path / "wall_pressure.png").stat().st_size > 0 and (tmp_path / "airfoil_field.png").stat().st_size > 0
    # Stagnation near the nose (Cp about 1), suction on the upper side.
    assert 0.9 < cp.max() < 1.2 and cp.min() < -1.0 and x[np.argmax(cp)] < 0.05
