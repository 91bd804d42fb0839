"""Shared pieces of the Python module's tests: the built program, small files of every format
and pictures decoded for comparison."""
import ctypes
import ctypes.util
import json
import os
import subprocess

import numpy as np
import pytest

import corvane

SOURCE = os.environ.get("CORVANE_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
PROGRAM = os.environ.get("CORVANE_BINARY", os.path.join(SOURCE, "build", "corvane"))
SAMPLES = os.path.join(SOURCE, "samples")


def run(*args, check=True):
    """Runs the built program headless; returns the finished process."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    done = subprocess.run([PROGRAM, *map(str, args)], capture_output=True, text=True, env=env)
    if check and done.returncode != 0:
        raise AssertionError(f"corvane {' '.join(map(str, args))}: {done.stderr}")
    return done


def info_json(path, *args):
    return json.loads(run("info", path, "--json", *args).stdout)


def read_bmp(path):
    """The RGB pixels of an uncompressed 24- or 32-bit BMP, top row first."""
    data = open(path, "rb").read()
    offset = int.from_bytes(data[10:14], "little")
    width = int.from_bytes(data[18:22], "little", signed=True)
    height = int.from_bytes(data[22:26], "little", signed=True)
    bits = int.from_bytes(data[28:30], "little")
    step = bits // 8
    stride = (width * step + 3) // 4 * 4
    rows = np.frombuffer(data, np.uint8, stride * abs(height), offset).reshape(abs(height), stride)
    pixels = rows[:, :width * step].reshape(abs(height), width, step)[:, :, 2::-1]
    return pixels[::-1] if height > 0 else pixels


def node_field(i, j):
    """Coordinates and a pressure of node (i, j), all exactly representable."""
    return 0.5 * i + 0.125 * j, 0.25 * j - 0.0625 * i, 100.0 + i + 10.0 * j


def write_tecplot(path, ni=4, nj=3):
    lines = ['TITLE="grid"', "VARIABLES = X Y P", f'ZONE T="wall" I={ni} J={nj}']
    for j in range(nj):
        for i in range(ni):
            lines.append("%r %r %r" % node_field(i, j))
    open(path, "w").write("\n".join(lines) + "\n")


def write_vtk(path, ni=4, nj=3):
    points = [node_field(i, j) for j in range(nj) for i in range(ni)]
    text = ["# vtk DataFile Version 3.0", "grid", "ASCII", "DATASET STRUCTURED_GRID", f"DIMENSIONS {ni} {nj} 1",
            f"POINTS {ni * nj} double"]
    text += ["%r %r 0" % (x, y) for x, y, _ in points]
    text += [f"POINT_DATA {ni * nj}", "SCALARS P double", "LOOKUP_TABLE default"]
    text += ["%r" % p for _, _, p in points]
    open(path, "w").write("\n".join(text) + "\n")


def write_plot3d(base, ni=4, nj=3):
    """Formatted multi-block files base.xyz and base.q; returns the solution's path."""
    grid = ["1", f"{ni} {nj}"]
    grid.append(" ".join("%r" % node_field(i, j)[0] for j in range(nj) for i in range(ni)))
    grid.append(" ".join("%r" % node_field(i, j)[1] for j in range(nj) for i in range(ni)))
    q = ["1", f"{ni} {nj}", "0.5 2.0 1000000.0 0.25"]
    for m, factor in enumerate((1.0, 200.0, -50.0, 250000.0)):
        q.append(" ".join("%r" % ((1.0 + 0.5 * i + 0.25 * j) * factor) for j in range(nj) for i in range(ni)))
    open(base + ".xyz", "w").write("\n".join(grid) + "\n")
    open(base + ".q", "w").write("\n".join(q) + "\n")
    return base + ".q"


def write_cgns(path, ni=4, nj=3):
    """A structured base of one zone with a vertex solution, through the CGNS library."""
    name = ctypes.util.find_library("cgns")
    if name is None:
        pytest.skip("no CGNS library")
    lib = ctypes.CDLL(name)
    fn, base, zone, coord, sol, field = (ctypes.c_int() for _ in range(6))
    assert lib.cg_open(path.encode(), 1, ctypes.byref(fn)) == 0  # CG_MODE_WRITE
    lib.cg_base_write(fn, b"Flow", 2, 2, ctypes.byref(base))
    size = (ctypes.c_int * 6)(ni, nj, ni - 1, nj - 1, 0, 0)  # cgsize_t of Debian's (legacy) build
    assert lib.cg_zone_write(fn, base, b"Body", size, 2, ctypes.byref(zone)) == 0  # Structured
    nodes = [node_field(i, j) for j in range(nj) for i in range(ni)]
    for k, label in enumerate((b"CoordinateX", b"CoordinateY")):
        values = (ctypes.c_double * len(nodes))(*[n[k] for n in nodes])
        lib.cg_coord_write(fn, base, zone, 4, label, values, ctypes.byref(coord))  # RealDouble
    lib.cg_sol_write(fn, base, zone, b"Solution", 2, ctypes.byref(sol))  # Vertex
    values = (ctypes.c_double * len(nodes))(*[n[2] for n in nodes])
    assert lib.cg_field_write(fn, base, zone, sol, 4, b"Pressure", values, ctypes.byref(field)) == 0
    lib.cg_close(fn)


@pytest.fixture
def airfoil():
    return corvane.read(os.path.join(SAMPLES, "airfoil.dat"), settings=os.path.join(SAMPLES, "airfoil.ini"))


def grid_arrays(ni, nj, field):
    """A skewed single-zone grid of shape (nj, ni) and field(x, y) on it."""
    i, j = np.meshgrid(np.arange(ni, dtype=float), np.arange(nj, dtype=float))
    x = i / (ni - 1) + 0.2 * j / (nj - 1)
    y = j / (nj - 1) + 0.1 * np.sin(3.0 * x)
    return {"x": x, "y": y, "F": field(x, y)}
