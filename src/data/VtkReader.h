// Reads VTK structured grids into a new data set: a legacy .vtk file, an XML .vts file (each of
// its pieces a zone) or a .vtm multiblock file listing .vts pieces (each a zone).
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "data/DataReader.h"

namespace corvane {

// True for the extensions .vtk, .vts and .vtm, in any case.
bool IsVtkPath(const std::string& path);
// Whether the file starts as a legacy VTK file or a VTK XML file does.
bool HasVtkHeader(std::string_view bytes);

// Loads `path` as LoadDataFile loads a text file. x and y are the points' first two
// coordinates; every array of the nodes or the cells is a variable (cell values averaged onto
// the nodes), an array of several components one variable per component (NAME_X, NAME_Y, NAME_Z
// for three, else NAME_0, NAME_1, ...). The variables are those of the first zone, the nodes'
// arrays before the cells'; a later zone without one of them is refused. Every refusal throws
// CorvaneError naming the file and what is wrong; nothing of `previous` changes.
std::optional<LoadResult> LoadVtkFile(const std::string& path, const LoadOptions& options, const FieldView& previous,
                                      int previousZoneListCount, Notifier& notifier, Progress& progress);
// The same for a file already opened (a stream is read once).
class MappedFile;
std::optional<LoadResult> LoadVtkFile(const MappedFile& file, const LoadOptions& options, const FieldView& previous,
                                      int previousZoneListCount, Notifier& notifier, Progress& progress);

}  // namespace corvane
