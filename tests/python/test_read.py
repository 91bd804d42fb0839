"""Reading files of every format and numpy arrays: what the module holds is what `corvane info` tells."""
import os

import numpy as np
import pytest

import corvane
from conftest import SAMPLES, info_json, write_cgns, write_plot3d, write_tecplot, write_vtk


WRITERS = {"tecplot": ("g.tec", write_tecplot), "vtk": ("g.vtk", write_vtk), "cgns": ("g.cgns", write_cgns),
           "plot3d": ("g", write_plot3d)}


def make_file(tmp_path, kind):
    if kind == "text":
        return os.path.join(SAMPLES, "airfoil.dat"), ["--settings", os.path.join(SAMPLES, "airfoil.ini")]
    name, write = WRITERS[kind]
    path = str(tmp_path / name)
    return write(path) or path, []  # the Plot3D writer names its solution file


@pytest.mark.parametrize("kind", ["text", "tecplot", "vtk", "plot3d", "cgns"])
def test_read_matches_info(tmp_path, kind):
    path, args = make_file(tmp_path, kind)
    settings = args[1] if args else None
    ds = corvane.read(path, settings=settings)
    last = ds.zones[-1]
    expected = info_json(path, *args, "--node", f"{len(ds.zones) - 1},{last.ni - 1},1")
    nodes = expected.pop("nodes")
    assert ds.info() == expected
    assert expected["format"] == kind
    assert ds.variables == [row["name"] for row in expected["rows"]]
    assert [(z.ni, z.nj) for z in ds.zones] == [(z["ni"], z["nj"]) for z in expected["zones"]]
    # The views are (nj, ni) with i fastest: node (i, j) is [j, i].
    node = nodes[0]
    assert last.x[1, last.ni - 1] == node["x"] and last.y[1, last.ni - 1] == node["y"]
    for k, value in enumerate(node["values"]):
        got = ds.values(k, zone=len(ds.zones) - 1)[1, last.ni - 1]
        assert got == value or (np.isnan(got) and value == "NaN")


def test_views_share_memory_and_refuse_writes(airfoil):
    x = airfoil.zones[1].x
    assert x.dtype == np.float64 and not x.flags.writeable and not x.flags.owndata
    assert np.shares_memory(x, airfoil.zones[1].x)
    with pytest.raises(ValueError):
        x[0, 0] = 1.0
    del airfoil
    assert np.isfinite(x).all()  # the view keeps its data set alive


def test_formulas_and_set_as_the_command_line(tmp_path):
    path = str(tmp_path / "g.tec")
    write_tecplot(path)
    ds = corvane.read(path, set={"StepBar": 7}, formulas=["Q = P * 2"])
    expected = info_json(path, "--set", "StepBar=7", "--formula", "Q = P * 2")
    assert ds.info() == expected
    assert np.array_equal(ds.values("Q"), 2.0 * ds.values("P"))


@pytest.mark.parametrize("dtype", [np.float64, np.float32, np.int32])
def test_from_arrays_round_trip(dtype):
    rng = np.random.default_rng(5)
    zones = []
    for nj, ni in [(3, 5), (4, 2)]:
        zones.append({"x": rng.integers(0, 100, (nj, ni)).astype(dtype), "y": rng.integers(0, 100, (nj, ni)).astype(dtype),
                      "U": rng.random((nj, ni)).astype(dtype), "V": rng.random((nj, ni)).astype(dtype)})
    zones[1] = {k: np.asfortranarray(v) for k, v in zones[1].items()}  # any layout is read as it lies
    ds = corvane.from_arrays(zones)
    assert ds.variables[:2] == ["U", "V"] and "速さ" in ds.variables
    info = ds.info()
    assert [(z["ni"], z["nj"]) for z in info["zones"]] == [(5, 3), (2, 4)]
    for k, zone in enumerate(zones):
        assert ds.zones[k].x.shape == zone["x"].shape
        for name in ("x", "y"):
            assert np.array_equal(getattr(ds.zones[k], name), zone[name].astype(np.float64))
        assert np.array_equal(ds.values("V", zone=k), zone["V"].astype(np.float64))
    speed = np.hypot(zones[0]["U"].astype(float), zones[0]["V"].astype(float))
    assert np.allclose(ds.values("速さ", zone=0), speed, rtol=1e-12)


def good():
    return {"x": np.zeros((3, 4)), "y": np.ones((3, 4)), "P": np.ones((3, 4))}


@pytest.mark.parametrize("zones, words", [
    ([dict(good(), P=np.ones((4, 3)))], "形"),
    ([{"x": np.zeros((1, 5)), "y": np.zeros((1, 5))}], "2点以上"),
    ([{"x": np.zeros((3, 4))}], "x と y"),
    ([{"x": np.zeros(4), "y": np.zeros(4)}], "二次元"),
    ([{"x": np.zeros((3, 4)), "y": np.array([["a"] * 4] * 3)}], "実数"),
    ([good(), {"x": np.zeros((3, 4)), "y": np.ones((3, 4)), "Q": np.ones((3, 4))}], "同じ名前"),
    ([], "領域がありません"),
    (["not a dict"], "辞書"),
])
def test_from_arrays_refuses(zones, words):
    with pytest.raises(corvane.Error, match=words):
        corvane.from_arrays(zones)
