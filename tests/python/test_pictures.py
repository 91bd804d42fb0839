"""Pictures: the same pixels and files as `corvane render` and `corvane legend`, and the refusals."""
import os

import numpy as np
import pytest

import corvane
from conftest import SAMPLES, grid_arrays, read_bmp, run, write_tecplot

AIRFOIL = os.path.join(SAMPLES, "airfoil.dat")
AIRFOIL_INI = os.path.join(SAMPLES, "airfoil.ini")


@pytest.mark.parametrize("view, sets", [
    ("settings", {}),
    ("fit", {"RGroup": 3, "BrushCheck": True, "ShowLabel": True, "ColourBarCheck": True}),
    ("fit", {"ShowGrid": True, "ShowContour": False, "SmoothCheck": True}),
])
def test_render_matches_the_command_line(tmp_path, view, sets):
    args = [a for k, v in sets.items() for a in ("--set", f"{k}={str(v).lower()}")]
    for ext in ("bmp", "emf"):
        run("render", AIRFOIL, "--settings", AIRFOIL_INI, "--view", view, "--size", "320x240", "--seed", "1", *args,
            "-o", tmp_path / f"cli.{ext}")
    ds = corvane.read(AIRFOIL, settings=AIRFOIL_INI)
    pic = corvane.render(ds, size=(320, 240), view=view, set=sets)
    pixels = np.asarray(pic)
    assert pixels.shape == (240, 320, 3) and pixels.dtype == np.uint8
    assert np.array_equal(pixels, read_bmp(tmp_path / "cli.bmp"))
    # A vector file is drawn again at the save, from the same data set, view and seed.
    for ext in ("bmp", "emf"):
        pic.save(str(tmp_path / f"py.{ext}"))
        assert (tmp_path / f"py.{ext}").read_bytes() == (tmp_path / f"cli.{ext}").read_bytes(), ext


def test_render_of_arrays_matches_a_file_of_them(tmp_path):
    path = str(tmp_path / "g.tec")
    write_tecplot(path, ni=30, nj=20)
    from_file = corvane.read(path)
    arrays = corvane.from_arrays([{"x": from_file.zones[0].x, "y": from_file.zones[0].y, "P": from_file.values("P")}])
    sets = {"BrushCheck": True, "LineCheck": True}
    assert np.array_equal(np.asarray(corvane.render(from_file, size=(200, 150), set=sets)),
                          np.asarray(corvane.render(arrays, size=(200, 150), set=sets)))


def test_files_by_extension_and_notebook_png(tmp_path, airfoil):
    pic = corvane.render(airfoil, size=(160, 120))
    signatures = {"png": b"\x89PNG", "jpg": b"\xff\xd8", "bmp": b"BM", "pdf": b"%PDF", "svg": b"<?xml",
                  "emf": b"\x01\x00\x00\x00"}
    for ext, head in signatures.items():
        path = tmp_path / f"p.{ext}"
        pic.save(str(path))
        assert path.read_bytes().startswith(head), ext
    assert pic._repr_png_().startswith(b"\x89PNG")
    for bad in (tmp_path / "p.xyz", tmp_path / "missing" / "p.png"):
        with pytest.raises(corvane.Error):
            pic.save(str(bad))


def test_legend_matches_the_command_line(tmp_path, airfoil):
    out = tmp_path / "cli.bmp"
    run("legend", AIRFOIL, "--settings", AIRFOIL_INI, "--set", "RGroup=3", "-o", out)
    pic = corvane.legend(airfoil, set={"RGroup": 3})
    assert np.array_equal(np.asarray(pic), read_bmp(out))


def test_a_view_carries_over_to_another_data_set():
    first = corvane.from_arrays([grid_arrays(20, 10, lambda x, y: x + y)])
    wider = corvane.from_arrays([{k: v * 2 for k, v in grid_arrays(20, 10, lambda x, y: x + y).items()}])
    view = corvane.render(first, size=(100, 80)).view
    assert corvane.render(wider, view=view).view == view
    assert corvane.render(wider, size=(100, 80)).view != view


@pytest.mark.parametrize("call, words", [
    (lambda ds: corvane.render(ds, size=(0, 10)), "size"),
    (lambda ds: corvane.render(ds, set={"NoSuchOption": 1}), "不明な設定項目です: NoSuchOption"),
    (lambda ds: corvane.render(ds, set={"StepBar": "many"}), "StepBar"),
    (lambda ds: corvane.render(ds, set={"MaxBox": 1, "MinBox": 2}), "等高線"),
    (lambda ds: corvane.render(ds, view="sideways"), "view"),
    (lambda ds: corvane.render(ds, settings="/nonexistent/crv.ini"), "設定ファイルが見つかりません"),
    (lambda ds: corvane.legend(ds, set={"RGroup": 99}), "RGroup"),
])
def test_refusals_are_errors_with_the_programs_message(airfoil, call, words):
    with pytest.raises(corvane.Error, match=words) as caught:
        call(airfoil)
    assert isinstance(caught.value, ValueError)


def test_read_refusals_carry_the_command_lines_message(tmp_path):
    bad = tmp_path / "bad.tec"
    bad.write_text("VARIABLES = X Y\nZONE I=2\n0 0\n1 zero\n")
    for path in (str(bad), str(tmp_path / "missing.dat")):
        cli = run("info", path, check=False)
        assert cli.returncode == 1
        with pytest.raises(corvane.Error) as caught:
            corvane.read(path)
        assert str(caught.value) in cli.stderr
