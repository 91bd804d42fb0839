#include "readers/DataFormats.h"

#include <algorithm>
#include <cstring>

#include "readers/AsciiCase.h"
#include "readers/Plot3dReader.h"
#include "readers/TecplotReader.h"
#include "readers/VtkReader.h"

namespace corvane {
namespace {

// HDF5 puts its signature at 0 or, after a user block, at 512, 1024, 2048, ...; the older ADF
// files of CGNS start with their own banner.
bool HasCgnsSignature(const std::string&, std::string_view bytes) {
  static const char kHdf5[8] = {'\x89', 'H', 'D', 'F', '\r', '\n', '\x1a', '\n'};
  static const std::string_view kAdf = "@(#)ADF Database Version";
  if (bytes.substr(0, kAdf.size()) == kAdf) return true;
  for (std::size_t at = 0; at <= (std::size_t{1} << 20) && at + 8 <= bytes.size(); at = at ? at * 2 : 512)
    if (std::memcmp(bytes.data() + at, kHdf5, 8) == 0) return true;
  return false;
}

// The legacy banner "# vtk DataFile Version" or an XML VTKFile: VTK whatever the title line
// that follows says (a title may well begin with "ZONE").
bool HasVtkSignature(const std::string&, std::string_view bytes) { return HasVtkHeader(bytes); }

// A solution is told by its name only when its grid lies beside it.
bool IsPlot3dSolutionWithGrid(const std::string& path, std::string_view) {
  return HasExtensionOf(DataFormatId::Plot3dSolution, path) && !Plot3dGridBeside(path).empty();
}

bool HasTecplotSignature(const std::string&, std::string_view bytes) { return HasTecplotHeader(bytes); }

}  // namespace

const std::vector<DataFormatRow>& DataFormatTable() {
  static const std::vector<DataFormatRow> table = {
      {DataFormatId::Cgns, DataFileFormat::Cgns, "cgns", "CGNS", {".cgns"},
       "HDF5 か ADF の署名 (HDF5 はファイル先頭か 512, 1024, ... バイト目)、または拡張子", HasCgnsSignature},
      // .vtr and .vti are rectilinear and image grids, read by the same reader.
      {DataFormatId::Vtk, DataFileFormat::Vtk, "vtk", "VTK", {".vtk", ".vts", ".vtm", ".vtr", ".vti"},
       "先頭の \"# vtk DataFile Version\" か XML の VTKFile、または拡張子", HasVtkSignature},
      // A collection of the files of a series, each step a file beside it.
      {DataFormatId::VtkSeries, DataFileFormat::Vtk, "vtk", "VTK 時系列", {".pvd"}, "拡張子", nullptr},
      {DataFormatId::Plot3dSolution, DataFileFormat::Plot3d, "plot3d", "PLOT3D", {".q"},
       "拡張子 (解は同じ名前の格子ファイルと組で)", IsPlot3dSolutionWithGrid},
      {DataFormatId::Tecplot, DataFileFormat::Tecplot, "tecplot", "Tecplot", {".tec"},
       "空行と注釈の後に TITLE, VARIABLES, FILETYPE, ZONE, DATASETAUXDATA のレコードで始まり ZONE がある、または拡張子",
       HasTecplotSignature},
      {DataFormatId::Plot3dGrid, DataFileFormat::Plot3d, "plot3d", "PLOT3D", {".xyz", ".x", ".g"}, "拡張子", nullptr},
      {DataFormatId::Text, DataFileFormat::Text, "text", "テキスト形式", {".dat", ".txt"},
       "ほかのどれでもないファイル (データタブの配置で読みます)", nullptr},
  };
  return table;
}

const DataFormatRow& DataFormatRowOf(DataFormatId id) {
  for (const DataFormatRow& row : DataFormatTable())
    if (row.id == id) return row;
  return DataFormatTable().back();
}

bool HasExtensionOf(DataFormatId id, const std::string& path) {
  const std::string ext = LowerExtension(path);
  const auto& list = DataFormatRowOf(id).extensions;
  return std::any_of(list.begin(), list.end(), [&](const char* e) { return ext == e; });
}

const DataFormatRow& DataFormatOf(const std::string& path, std::string_view bytes) {
  const auto& table = DataFormatTable();
  for (const DataFormatRow& row : table)
    if (row.signature && row.signature(path, bytes)) return row;
  for (const DataFormatRow& row : table)
    if (HasExtensionOf(row.id, path)) return row;
  return DataFormatRowOf(DataFormatId::Text);
}

const char* FormatName(DataFileFormat f) {
  for (const DataFormatRow& row : DataFormatTable())
    if (row.format == f) return row.name;
  return "text";
}

std::string DataFileMask() {
  std::string mask;
  for (const DataFormatRow& row : DataFormatTable())
    for (const char* e : row.extensions) mask += (mask.empty() ? "*" : ";*") + std::string(e);
  return mask;
}

std::string OpenDialogFilter() {
  // One filter per title, the rows of one title (PLOT3D solutions and grids) together, the
  // text grid first as the program's own format.
  std::vector<std::pair<std::string, std::string>> filters;
  std::string all;
  auto add = [&](const DataFormatRow& row) {
    auto it = std::find_if(filters.begin(), filters.end(), [&](const auto& f) { return f.first == row.title; });
    if (it == filters.end()) it = filters.insert(filters.end(), {row.title, std::string()});
    for (const char* e : row.extensions) {
      it->second += (it->second.empty() ? "*" : " *") + std::string(e);
      all += (all.empty() ? "*" : " *") + std::string(e);
    }
  };
  add(DataFormatRowOf(DataFormatId::Text));
  for (const DataFormatRow& row : DataFormatTable())
    if (row.id != DataFormatId::Text) add(row);
  std::string out = "データファイル (" + all + ")";
  for (const auto& [title, patterns] : filters) out += ";;" + title + " (" + patterns + ")";
  return out + ";;すべてのファイル (*)";
}

std::optional<std::string> UnreadableTextReason(const std::string& path, std::string_view bytes) {
  const std::string_view head = bytes.substr(0, 4096);
  if (head.empty()) return std::nullopt;
  // UTF-16: a byte order mark, or a NUL in every other byte of ASCII text.
  const bool bom = head.size() >= 2 && ((head[0] == '\xff' && head[1] == '\xfe') || (head[0] == '\xfe' && head[1] == '\xff'));
  std::size_t evenNul = 0, oddNul = 0;
  for (std::size_t k = 0; k < head.size(); ++k) (k % 2 ? oddNul : evenNul) += head[k] == '\0';
  const std::size_t pairs = head.size() / 2;
  // (A file of zeros is no text at all: one half of the bytes must be mostly text.)
  auto wide = [&](std::size_t nuls, std::size_t others) { return nuls * 10 >= pairs * 9 && others * 10 <= pairs; };
  if (bom || (pairs >= 2 && (wide(evenNul, oddNul) || wide(oddNul, evenNul))))
    return "データファイル " + path + " は UTF-16 のテキストのようです。UTF-16 には対応していません。UTF-8 (か Shift_JIS) に変換してください";
  // Old Mac files end their lines with CR alone: the whole file would be one line.
  if (head.find('\n') == std::string_view::npos && std::count(head.begin(), head.end(), '\r') >= 2)
    return "データファイル " + path + " の行末は CR だけです (LF がありません)。行末を LF か CR LF に変換してください";
  return std::nullopt;
}

}  // namespace corvane
