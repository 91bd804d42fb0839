// Reads VTK structured grids into a new data set: a legacy .vtk file, an XML .vts, .vtr or .vti
// file (each of its pieces a zone), a .vtm multiblock file listing such files (each piece a
// zone), or one step of a .pvd series of them.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "readers/DataReader.h"

namespace corvane {

// True for the extensions .vtk, .vts, .vtr, .vti, .vtm and .pvd, in any case.
bool IsVtkPath(const std::string& path);
// Whether the file starts as a legacy VTK file or a VTK XML file does.
bool HasVtkHeader(std::string_view bytes);

// The times of the steps of a .pvd series, ascending (its distinct timestep values); empty for
// any other file. Throws CorvaneError when the list cannot be read.
std::vector<double> VtkSeriesTimes(const std::string& path);

// Loads `path` as LoadDataFile loads a text file. x and y are the two coordinates the points
// vary in (x and y, else x and z or y and z, said in the status); every array of the nodes or
// the cells is a variable (cell values averaged onto the nodes; a cell array of a node array's
// name is called "NAME (セル)"), an array of several components one variable per component
// (NAME_X, NAME_Y, NAME_Z for three, else NAME_0, NAME_1, ...). Points and cells that
// vtkGhostType hides are holes: NaN in every variable at the hidden points and at nodes with
// only hidden cells around them, hidden cells left out of the averages. The variables are those
// of the first zone, the nodes' arrays before the cells'; a later zone without one of them is
// refused. A part of a multiblock file that cannot be read (another kind of data set, a missing
// or damaged file) is left out with one warning naming each part and why; a file with nothing
// readable is refused. Of a .pvd, `step` (0-based, in the order of VtkSeriesTimes) is read,
// every file of that time a part. Every refusal throws CorvaneError naming the file and what is
// wrong.
std::optional<FileContents> LoadVtkFile(const std::string& path, const LoadOptions& options, Notifier& notifier, Progress& progress, int step = 0);
// The same for a file already opened (a stream is read once).
class MappedFile;
std::optional<FileContents> LoadVtkFile(const MappedFile& file, const LoadOptions& options, Notifier& notifier, Progress& progress, int step = 0);

}  // namespace corvane
