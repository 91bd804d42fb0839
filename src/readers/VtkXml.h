// Reads VTK's XML structured grids (.vts, .vtr, .vti: ascii, base64 or appended raw data, zlib,
// lz4 or lzma blocks, PointData and CellData), the list of pieces of a multiblock file (.vtm)
// and the files of a time series (.pvd).
#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "readers/VtkGrid.h"

namespace corvane {

// The kind of VTK XML file the bytes start with ("StructuredGrid", "vtkMultiBlockDataSet", ...);
// empty when they are not one.
std::string VtkXmlKind(std::string_view head);

// The pieces of a .vts, .vtr or .vti file, each a zone (points made from the coordinate lines or
// from origin, spacing and direction); `layout` receives how the arrays were written ("ascii",
// "base64", "appended raw", each with ", zlib" and so on when compressed; "RectilinearGrid, "
// or "ImageData, " before). Every claimed length and block size is checked against the bytes
// there are, and all the pieces claim together against `budget`, before anything is allocated
// for it. Throws CorvaneError naming `path`, the piece and the array.
std::vector<VtkPiece> ReadXmlGrid(std::string_view bytes, const std::string& path, std::string& layout, VtkBudget& budget);

// The files of the data sets a .vtm lists, in order, as written (relative to its folder), each
// with the name of its block (may be empty). Throws CorvaneError naming `path`.
std::vector<std::pair<std::string, std::string>> ReadVtmList(std::string_view bytes, const std::string& path);

struct VtkCollectionEntry {
  std::string file;  // as written, relative to the .pvd's folder
  double time = 0.0;  // its timestep (the entry's index when it has none)
  std::string part;
};
// The data sets a .pvd lists, in order. A timestep that is not a finite number throws
// CorvaneError naming `path`, as does a damaged file.
std::vector<VtkCollectionEntry> ReadPvdList(std::string_view bytes, const std::string& path);

}  // namespace corvane
