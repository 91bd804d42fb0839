"""Corvane from Python: read any supported file or numpy arrays, draw pictures, and take contour
lines, streamlines, profiles and segment samples as numpy arrays.

    import corvane
    ds = corvane.read("airfoil.dat", settings="airfoil.ini")
    pic = corvane.render(ds, size=(800, 600))
    pic.save("airfoil.png")

Every refusal is a corvane.Error (a ValueError) carrying the program's message.
"""
import os as _os

from ._corvane import (DataSet, Error, Picture, Zone, __version__, contour_lines, from_arrays, legend, profile,
                       read, render, sample, streamlines)
from . import _corvane

# CGNS files are read by a separate process that a crash of the CGNS library cannot take along.
_corvane._set_cgns_reader(_os.path.join(_os.path.dirname(_os.path.abspath(__file__)), "cgns-reader"))

__all__ = ["DataSet", "Error", "Picture", "Zone", "contour_lines", "from_arrays", "legend", "profile", "read",
           "render", "sample", "streamlines"]
