// The one table of the data-file formats the readers take: each format's name, the extensions
// of its files, how its files are found by their content, and its reader. Detection, the Open
// dialog's filters, the file list's mask, the names `info --json` writes and the README's list
// all come from here, so no extension is known in one place and missing in another.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "readers/SourceInfo.h"

namespace corvane {

// The rows; a format may have several (a VTK series beside VTK files, PLOT3D grids beside
// solutions), read by the same reader.
enum class DataFormatId { Cgns, Vtk, VtkSeries, Plot3dSolution, Tecplot, Plot3dGrid, Text };

struct DataFormatRow {
  DataFormatId id = DataFormatId::Text;
  DataFileFormat format = DataFileFormat::Text;
  const char* name = "";        // as `info --json` writes it: "text", "cgns", ...
  const char* title = "";       // the Open dialog's filter: "CGNS", "テキスト形式", ...
  std::vector<const char*> extensions;  // lower case, with the dot
  const char* detection = "";   // how its files are found, in words
  // A decisive test of the file's content (and, for a PLOT3D solution, what lies beside it);
  // null when only the name tells.
  bool (*signature)(const std::string& path, std::string_view bytes) = nullptr;
};

// The formats, in the order detection tries their signatures: content first (CGNS, VTK,
// a PLOT3D solution with its grid, Tecplot), then the extensions in the same order, the text
// grid last.
const std::vector<DataFormatRow>& DataFormatTable();

// The row a file is read with: the first row whose signature matches `bytes` (the file's
// bytes, only their head looked at), else the first whose extension is `path`'s, else the text
// grid.
const DataFormatRow& DataFormatOf(const std::string& path, std::string_view bytes);

// The row `id`, and whether `path`'s extension (any case) is one of its extensions.
const DataFormatRow& DataFormatRowOf(DataFormatId id);
bool HasExtensionOf(DataFormatId id, const std::string& path);

// Patterns of every extension: "*.dat;*.txt;..." for the file list, and the Open dialog's
// filter "データファイル (*.dat ...);;テキスト形式 (*.dat *.txt);;...;;すべてのファイル (*)".
std::string DataFileMask();
std::string OpenDialogFilter();

// For a file that would go to the text reader but is no text it can read: what it looks like
// (UTF-16 text, lines ended by CR alone), as a message naming `path`.
std::optional<std::string> UnreadableTextReason(const std::string& path, std::string_view bytes);

}  // namespace corvane
