// Reads a legacy VTK file (.vtk) holding a STRUCTURED_GRID, a RECTILINEAR_GRID or
// STRUCTURED_POINTS of one plane, written as ASCII or as big-endian binary, with the scalars, vectors and field arrays of its nodes and cells.
#pragma once
#include <string>
#include <string_view>

#include "readers/VtkGrid.h"

namespace corvane {

// Whether the bytes start with the banner of a legacy VTK file.
bool LooksLikeLegacyVtk(std::string_view head);

// The grid of the file as one piece; `layout` receives "ASCII" or "BINARY". Every claimed count
// is checked against the bytes left before anything is allocated for it, points made from
// coordinate lines or origin and spacing against `budget`; a size given twice, a grid of more
// than one plane, another kind of data set or a damaged file throws CorvaneError naming `path`.
VtkPiece ReadLegacyVtk(std::string_view bytes, const std::string& path, std::string& layout, VtkBudget& budget);

}  // namespace corvane
