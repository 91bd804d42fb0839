"""Contour lines, streamlines, profiles and segment samples as data."""
import csv

import numpy as np
import pytest

import corvane
from conftest import grid_arrays, run, write_tecplot


def linear(x, y):
    return 3.0 * x - 2.0 * y


def test_contour_points_of_a_linear_field_lie_exactly_on_their_level():
    ds = corvane.from_arrays([grid_arrays(17, 13, linear)])
    levels = [-1.0, -0.25, 0.0, 0.5, 1.25]
    lines = corvane.contour_lines(ds, "F", levels=levels)
    assert sorted({line["level"] for line in lines}) == levels
    for line in lines:
        p = line["points"]
        assert p.dtype == np.float64 and p.shape[1] == 2 and len(p) >= 2 and line["zone"] == 0
        # Edge interpolation of a linear field is exact: only rounding is left.
        assert np.abs(linear(p[:, 0], p[:, 1]) - line["level"]).max() < 1e-12
        assert (np.abs(np.diff(p, axis=0)).sum(axis=1) > 0).all()  # chained without repeated points
    # A straight level line crosses the grid once: one polyline per level.
    assert len(lines) == len(levels)


def test_a_closed_contour_is_one_closed_polyline():
    n = 41
    x, y = np.meshgrid(np.linspace(-1, 1, n), np.linspace(-1, 1, n))
    ds = corvane.from_arrays([{"x": x, "y": y, "R2": x * x + y * y}])
    (line,) = corvane.contour_lines(ds, "R2", levels=[0.25])
    p = line["points"]
    assert np.array_equal(p[0], p[-1])
    h = 2.0 / (n - 1)
    assert np.abs(np.hypot(p[:, 0], p[:, 1]) - 0.5).max() < h * h


def test_default_levels_are_the_contour_range_and_zones_are_told_apart():
    left = grid_arrays(9, 7, linear)
    right = {k: v + (1.2 if k == "x" else 0.0) for k, v in left.items()}
    right["F"] = linear(right["x"], right["y"])
    ds = corvane.from_arrays([left, right], set={"MaxBox": 3, "MinBox": -1, "StepBox": 0.5})
    lines = corvane.contour_lines(ds)
    levels = sorted({line["level"] for line in lines})
    assert levels == [k * 0.5 for k in range(-2, 7) if any(l["level"] == k * 0.5 for l in lines)]
    assert {line["zone"] for line in lines} == {0, 1}
    for line in lines:
        zone = ds.zones[line["zone"]]
        assert zone.x.min() <= line["points"][:, 0].min() and line["points"][:, 0].max() <= zone.x.max()
    with pytest.raises(corvane.Error, match="NoSuch"):
        corvane.contour_lines(ds, "NoSuch")


def test_streamlines_of_a_uniform_flow_are_straight_across_zones():
    def zone(x0):
        i, j = np.meshgrid(np.linspace(0, 1, 11), np.linspace(0, 1, 9))
        return {"x": i + x0, "y": j, "U": np.ones_like(i), "V": np.full_like(i, 0.25)}
    ds = corvane.from_arrays([zone(0.0), zone(1.0)], set={"xvecbox": 0, "yvecbox": 1})
    (path,) = corvane.streamlines(ds, seeds=[(0.05, 0.1)])
    assert path.shape[1] == 2 and path[:, 0].max() > 1.5  # went on into the second zone
    assert np.abs(path[:, 1] - 0.1 - 0.25 * (path[:, 0] - 0.05)).max() < 1e-9
    (outside,) = corvane.streamlines(ds, seeds=[(5.0, 5.0)])
    assert len(outside) <= 1


def test_profile_of_a_linear_field_and_the_command_lines_csv(tmp_path):
    path = str(tmp_path / "g.tec")
    write_tecplot(path, ni=6, nj=4)
    ds = corvane.read(path)
    got = corvane.profile(ds, line="0:j=2", variables=["P"])
    zone = ds.zones[0]
    assert np.array_equal(got["x"], zone.x[2]) and np.array_equal(got["y"], zone.y[2])
    assert np.array_equal(got["P"], ds.values("P")[2])
    assert np.allclose(got["s"], np.concatenate([[0], np.cumsum(np.hypot(np.diff(got["x"]), np.diff(got["y"])))]))
    out = tmp_path / "p.csv"
    run("profile", path, "--line", "0:j=2", "--var", "P", "-o", out)
    rows = list(csv.DictReader(open(out)))
    for name in ("s", "x", "y", "P"):
        assert np.array_equal(got[name], [float(r[name]) for r in rows])
    # Along a segment the values are interpolated: exact for this linear field up to rounding.
    seg = corvane.profile(ds, segment=(0.3, 0.1, 2.0, 0.5), variables="P")
    assert len(seg["s"]) > 2
    # P = 100 + i + 10 j with x = i/2 + j/8, y = j/4 - i/16: solve for i, j.
    j = (seg["y"] + seg["x"] / 8.0) / (0.25 + 1.0 / 64.0)
    i = 2.0 * (seg["x"] - j / 8.0)
    assert np.allclose(seg["P"], 100.0 + i + 10.0 * j, rtol=0, atol=1e-10)
    for line, variables in (("9:j=0", None), ("0:j=0", ["NoSuch"])):
        with pytest.raises(corvane.Error):
            corvane.profile(ds, line=line, variables=variables)


def test_sample_matches_analyze(tmp_path):
    path = str(tmp_path / "g.tec")
    write_tecplot(path, ni=6, nj=4)
    ds = corvane.read(path)
    got = corvane.sample(ds, (0.2, 0.05), (2.4, 0.6))
    out = tmp_path / "a.dat"
    run("analyze", path, "--set", "P1Direct=true", "--set", "P1x=0.2", "--set", "P1y=0.05", "--set", "P2Direct=true",
        "--set", "P2x=2.4", "--set", "P2y=0.6", "-o", out)
    table = np.loadtxt(out, skiprows=1)
    assert len(got["x"]) == len(table) > 3
    for k, name in enumerate(("x", "y", "value")):
        assert np.allclose(got[name], table[:, k], rtol=1e-13, atol=0)
