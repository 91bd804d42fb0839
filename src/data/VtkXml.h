// Reads VTK's XML structured grids (.vts: ascii, base64 or appended raw data, zlib-compressed
// blocks, PointData and CellData) and the list of pieces of a multiblock file (.vtm).
#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/VtkGrid.h"

namespace corvane {

// The kind of VTK XML file the bytes start with ("StructuredGrid", "vtkMultiBlockDataSet", ...);
// empty when they are not one.
std::string VtkXmlKind(std::string_view head);

// The pieces of a .vts file, each a zone; `layout` receives how the arrays were written
// ("ascii", "base64", "appended raw", each with ", zlib" when compressed). Every claimed length
// and block size is checked against the bytes there are before anything is allocated for it.
// Throws CorvaneError naming `path` and the array.
std::vector<VtkPiece> ReadVts(std::string_view bytes, const std::string& path, std::string& layout);

// The files of the data sets a .vtm lists, in order, as written (relative to its folder), each
// with the name of its block (may be empty). Throws CorvaneError naming `path`.
std::vector<std::pair<std::string, std::string>> ReadVtmList(std::string_view bytes, const std::string& path);

}  // namespace corvane
