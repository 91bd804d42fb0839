// Chooses the reader of a data file (text grid, CGNS, PLOT3D) and loads it. Every caller that
// opens a data file goes through here, so all formats are taken everywhere.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "data/DataReader.h"

namespace corvane {

// The name patterns of the file list: text grids, CGNS files, PLOT3D solutions, Tecplot and VTK
// files.
inline constexpr const char* kDataFileMask = "*.dat;*.txt;*.cgns;*.q;*.tec;*.vtk;*.vts;*.vtr;*.vti;*.vtm;*.pvd";

// By content first (the HDF5 or ADF signature of CGNS; a .q file with its grid beside it), then
// by extension (.cgns; .q, .xyz, .x, .g for PLOT3D); a file with a VTK banner is a VTK file,
// else one that starts with Tecplot's records a Tecplot file whatever its name, and one with a
// VTK name (.vtk, .vts, .vtr, .vti, .vtm, .pvd) a VTK file; anything else is a text grid. `bytes` are the file's (only its head
// is looked at).
DataFileFormat DetectDataFileFormat(const std::string& path, std::string_view bytes);
// The same, opening the file at `path` for its bytes.
DataFileFormat DetectDataFileFormat(const std::string& path);

// Loads `path` with the reader its format needs; the arguments and the result are those of
// LoadDataFile, whose data-layout options apply to text files only. A failed load changes
// nothing of `previous`.
std::optional<LoadResult> LoadAnyDataFile(const std::string& path, const LoadOptions& options,
                                          const FieldView& previous, int previousZoneListCount,
                                          Notifier& notifier, Progress& progress);

// After a load: the rows 渦度 and 速さ when the velocity columns exist, then the formula variables
// of options.formulas (one that fails is reported and left out), their contour ranges when the
// automatic ranges are on, and RGroup's items for the new rows.
void CompleteVariables(LoadResult& result, const LoadOptions& options, Notifier& notifier);

}  // namespace corvane
