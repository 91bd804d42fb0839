#include "readers/VtkReader.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <new>
#include <set>

#include "readers/AsciiCase.h"
#include "readers/DataFormats.h"
#include "field/CellAverage.h"
#include "base/Errors.h"
#include "readers/MappedFile.h"
#include "readers/StructuredLoad.h"
#include "readers/VtkLegacy.h"
#include "readers/VtkXml.h"

namespace corvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// VTK's blanking: bits of the vtkGhostType array of the points and of the cells.
constexpr const char* kGhostName = "vtkGhostType";
constexpr unsigned kHiddenPoint = 2, kHiddenCell = 32;
// Multiblock files inside multiblock files, at most this deep.
constexpr int kMaxDepth = 8;
// What each part costs the budget besides its values, so that lists of lists of many tiny
// parts end as soon as lists of a few large ones.
constexpr std::uint64_t kPartCost = 4096;

// The variable names of one array.
std::vector<std::string> ComponentNames(const VtkArray& a) {
  if (a.components == 1) return {a.name};
  std::vector<std::string> names;
  for (int c = 0; c < a.components; ++c)
    names.push_back(a.name + "_" + (a.components == 3 ? std::string(1, static_cast<char>('X' + c)) : std::to_string(c)));
  return names;
}

// The pieces of every file of one load, with the parts of multiblock files that were left out.
class PieceCollector {
 public:
  explicit PieceCollector(Progress& progress) : progress_(progress) {}

  VtkBudget budget;
  std::vector<std::string> leftOut;  // "file: why"
  std::string title;                 // the title line of the first legacy file read
  bool aborted = false;

  // A file joins the load; each distinct file widens the budget once.
  void Allow(const MappedFile& file) {
    std::error_code error;
    const std::string key = std::filesystem::weakly_canonical(file.Path(), error).string();
    if (allowed_.insert(error ? file.Path() : key).second) budget.Allow(file.Bytes().size());
  }

  // The pieces of one file: a legacy or XML grid (unnamed), or the named pieces of a multiblock file.
  std::vector<VtkPiece> Read(std::string_view bytes, const std::string& path, std::string& layout, int depth) {
    if (LooksLikeLegacyVtk(bytes)) {
      std::vector<VtkPiece> pieces;
      pieces.push_back(ReadLegacyVtk(bytes, path, layout, budget));
      if (title.empty()) title = pieces.front().name;
      pieces.front().name.clear();
      layout = "legacy " + layout;
      return pieces;
    }
    const std::string kind = VtkXmlKind(bytes.substr(0, 4096));
    if (kind == "vtkMultiBlockDataSet") return ReadParts(ReadVtmList(bytes, path), path, layout, depth);
    if (kind == "StructuredGrid" || kind == "RectilinearGrid" || kind == "ImageData") return ReadXmlGrid(bytes, path, layout, budget);
    throw CorvaneError("VTK ファイル " + path + " は構造格子 (.vtk の STRUCTURED_GRID、RECTILINEAR_GRID、STRUCTURED_POINTS、.vts、.vtr、.vti) ではありません" +
                       (kind.empty() ? std::string() : " (" + kind + ")"));
  }

  // The pieces of the files a multiblock or series file lists (file, block name), relative to
  // `path`'s folder. A part that cannot be read is left out and remembered, unless the budget of
  // the whole load ran out.
  std::vector<VtkPiece> ReadParts(const std::vector<std::pair<std::string, std::string>>& files, const std::string& path,
                                  std::string& layout, int depth) {
    if (depth >= kMaxDepth) throw CorvaneError("VTK ファイル " + path + ": マルチブロックの入れ子が深すぎます");
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (depth == 0) progress_.SetMaximum(static_cast<std::int64_t>(files.size()));
    std::vector<VtkPiece> pieces;
    for (std::size_t k = 0; k < files.size() && !aborted; ++k) {
      const std::string partPath = (folder / files[k].first).string();
      std::vector<VtkPiece> more;
      try {
        budget.Spend(kPartCost, path);
        const MappedFile part(partPath);
        Allow(part);
        std::string partLayout;
        more = Read(part.Bytes(), partPath, partLayout, depth + 1);
        if (layout.empty()) layout = "multiblock, " + partLayout;
      } catch (const CorvaneError& e) {
        if (budget.Exhausted()) throw CorvaneError("VTK ファイル " + path + " の部分 " + files[k].first + ": " + e.what());
        leftOut.push_back(files[k].first + ": " + e.what());
        continue;
      }
      const bool named = !more.empty() && !more.front().name.empty();  // the pieces of a multiblock part
      for (std::size_t p = 0; p < more.size(); ++p) {
        const std::string own = files[k].second.empty() ? std::filesystem::path(files[k].first).stem().string() : files[k].second;
        if (named) more[p].name = own + "/" + more[p].name;
        else more[p].name = more.size() > 1 ? own + "/" + std::to_string(p) : own;
        pieces.push_back(std::move(more[p]));
      }
      if (depth == 0) {
        progress_.SetPosition(static_cast<std::int64_t>(k + 1));
        aborted = progress_.AbortRequested();
      }
    }
    return pieces;
  }

 private:
  Progress& progress_;
  std::set<std::string> allowed_;
};

// The distinct times of a .pvd's entries, ascending.
std::vector<double> CollectionTimes(const std::vector<VtkCollectionEntry>& entries) {
  std::vector<double> times;
  for (const VtkCollectionEntry& e : entries) times.push_back(e.time);
  std::sort(times.begin(), times.end());
  times.erase(std::unique(times.begin(), times.end()), times.end());
  return times;
}

// Cell values onto the nodes as AverageCellsToNodes moves them, hidden cells left out; a node
// whose cells are all hidden gets NaN.
void AverageVisibleCells(const double* cells, const std::vector<char>& hidden, std::int64_t ni, std::int64_t nj, double* out) {
  if (hidden.empty()) return AverageCellsToNodes(cells, ni, nj, out);
  const std::int64_t ci = ni > 1 ? ni - 1 : 1, cj = nj > 1 ? nj - 1 : 1;
  for (std::int64_t i = 0; i < ni; ++i)
    for (std::int64_t j = 0; j < nj; ++j) {
      double sum = 0.0;
      int count = 0;
      for (std::int64_t b = std::max<std::int64_t>(j - 1, 0); b <= std::min(j, cj - 1); ++b)
        for (std::int64_t a = std::max<std::int64_t>(i - 1, 0); a <= std::min(i, ci - 1); ++a)
          if (!hidden[static_cast<std::size_t>(b * ci + a)]) {
            sum += cells[b * ci + a];
            ++count;
          }
      out[i * nj + j] = count ? sum / count : kNaN;
    }
}

// Takes the blanking array out of a piece: `holes` per node (i fastest) for blanked points and
// nodes with only blanked cells around them, `hiddenCells` per cell (empty without a cell array).
void TakeBlanking(VtkPiece& p, std::vector<char>& holes, std::vector<char>& hiddenCells) {
  const std::size_t nodes = static_cast<std::size_t>(p.ni * p.nj);
  holes.assign(nodes, 0);
  hiddenCells.clear();
  for (auto a = p.arrays.begin(); a != p.arrays.end();) {
    if (a->name != kGhostName || a->components != 1) {
      ++a;
      continue;
    }
    const unsigned bit = a->cells ? kHiddenCell : kHiddenPoint;
    std::vector<char> hidden(a->values.size());
    for (std::size_t k = 0; k < hidden.size(); ++k)
      hidden[k] = (static_cast<unsigned>(std::clamp(a->values[k], 0.0, 255.0)) & bit) != 0;
    if (a->cells) hiddenCells = std::move(hidden);
    else holes = std::move(hidden);
    a = p.arrays.erase(a);
  }
  if (hiddenCells.empty()) return;
  const std::vector<double> ones(hiddenCells.size(), 1.0);
  std::vector<double> visible(nodes);
  AverageVisibleCells(ones.data(), hiddenCells, p.ni, p.nj, visible.data());
  for (std::int64_t i = 0; i < p.ni; ++i)
    for (std::int64_t j = 0; j < p.nj; ++j)
      if (std::isnan(visible[static_cast<std::size_t>(i * p.nj + j)])) holes[static_cast<std::size_t>(i + p.ni * j)] = 1;
}

// The two coordinates that vary over all pieces, as the picture's x and y, and what to tell
// when they are not x and y.
void ChoosePlane(const std::vector<VtkPiece>& pieces, int axes[2], std::string& note) {
  double lo[3] = {INFINITY, INFINITY, INFINITY}, hi[3] = {-INFINITY, -INFINITY, -INFINITY};
  for (const VtkPiece& p : pieces)
    for (std::size_t k = 0; k + 2 < p.points.size(); k += 3)
      for (int a = 0; a < 3; ++a) {
        lo[a] = std::min(lo[a], p.points[k + static_cast<std::size_t>(a)]);
        hi[a] = std::max(hi[a], p.points[k + static_cast<std::size_t>(a)]);
      }
  auto varies = [&](int a) { return hi[a] > lo[a]; };
  axes[0] = 0;
  axes[1] = 1;
  if (!varies(2)) return;
  if (!varies(1)) {
    axes[1] = 2;
    note = "x–z 面の格子なので、図の x に x 座標、y に z 座標を取りました";
  } else if (!varies(0)) {
    axes[0] = 1;
    axes[1] = 2;
    note = "y–z 面の格子なので、図の x に y 座標、y に z 座標を取りました";
  } else {
    note = "格子は x–y 面にないので、x 座標と y 座標だけを使いました (z 座標は捨てました)";
  }
}

std::optional<FileContents> LoadPieces(const std::string& path, std::vector<VtkPiece> pieces, SourceInfo source) {
  std::vector<std::vector<char>> holes(pieces.size()), hiddenCells(pieces.size());
  for (std::size_t z = 0; z < pieces.size(); ++z) {
    VtkPiece& p = pieces[z];
    TakeBlanking(p, holes[z], hiddenCells[z]);
    // The nodes' arrays first, then the cells', whichever the file wrote first; a cell array of
    // a node array's name is another variable.
    std::stable_partition(p.arrays.begin(), p.arrays.end(), [](const VtkArray& a) { return !a.cells; });
    for (VtkArray& a : p.arrays)
      if (a.cells && std::any_of(p.arrays.begin(), p.arrays.end(), [&](const VtkArray& b) { return !b.cells && b.name == a.name; }))
        a.name += " (セル)";
  }
  std::vector<std::string> variables;
  for (const VtkArray& a : pieces.front().arrays)
    for (const std::string& n : ComponentNames(a)) variables.push_back(n);
  std::vector<ZoneSize> sizes;
  for (const VtkPiece& p : pieces) {
    sizes.push_back({p.ni, p.nj});
    if (!p.name.empty()) source.zoneNames.push_back(p.name);  // pieces of a .vtm, all named
  }
  int axes[2];
  std::string planeNote;
  ChoosePlane(pieces, axes, planeNote);
  FieldDataSet data = NewFieldFrame(path, sizes, variables, source.zoneNames);
  std::vector<double> cells;
  bool blanked = false;
  for (std::size_t z = 0; z < pieces.size(); ++z) {
    VtkPiece& p = pieces[z];
    const std::int64_t ni = p.ni, nj = p.nj;
    const std::size_t first = static_cast<std::size_t>(data.Zones[z].FirstNode);
    for (std::int64_t j = 0; j < nj; ++j)
      for (std::int64_t i = 0; i < ni; ++i) {
        const std::size_t k = static_cast<std::size_t>(i + ni * j), to = first + static_cast<std::size_t>(i * nj + j);
        data.X[to] = p.points[3 * k + static_cast<std::size_t>(axes[0])];
        data.Y[to] = p.points[3 * k + static_cast<std::size_t>(axes[1])];
      }
    std::vector<double>().swap(p.points);
    std::size_t row = 0;
    const std::vector<char>& hole = holes[z];
    blanked = blanked || std::find(hole.begin(), hole.end(), 1) != hole.end() || !hiddenCells[z].empty();
    for (const VtkArray& wanted : pieces.front().arrays) {
      const VtkArray* a = nullptr;
      for (const VtkArray& candidate : p.arrays)
        if (candidate.name == wanted.name && candidate.components == wanted.components && candidate.cells == wanted.cells) a = &candidate;
      if (!a)
        throw CorvaneError("VTK ファイル " + path + " の " + ZoneLabel(z, p.name) + " に配列 " + wanted.name + " (成分数 " +
                           std::to_string(wanted.components) + ") がありません");
      source.cellCentred = source.cellCentred || a->cells;
      const std::size_t stride = static_cast<std::size_t>(a->components);
      for (std::size_t c = 0; c < stride; ++c, ++row) {
        double* out = data.Values[row].data() + first;
        if (a->cells) {
          cells.resize(static_cast<std::size_t>(CellCount(ni, nj)));
          for (std::size_t k = 0; k < cells.size(); ++k) cells[k] = a->values[k * stride + c];
          AverageVisibleCells(cells.data(), hiddenCells[z], ni, nj, out);
        } else {
          for (std::int64_t j = 0; j < nj; ++j)
            for (std::int64_t i = 0; i < ni; ++i)
              out[i * nj + j] = a->values[static_cast<std::size_t>(i + ni * j) * stride + c];
        }
        for (std::int64_t j = 0; j < nj; ++j)
          for (std::int64_t i = 0; i < ni; ++i)
            if (hole[static_cast<std::size_t>(i + ni * j)]) out[i * nj + j] = kNaN;
      }
    }
  }
  std::vector<std::string> notes;
  if (source.cellCentred) notes.push_back("セル中心の値を格子点の値へ平均しました");
  if (blanked) notes.push_back("vtkGhostType で隠された点とセルは穴にしました");
  if (!planeNote.empty()) notes.push_back(planeNote);
  for (const std::string& n : notes) source.status += (source.status.empty() ? "" : "。") + n;
  return FinishRead(std::move(data), std::move(source), !variables.empty());
}

}  // namespace

bool IsVtkPath(const std::string& path) {
  return HasExtensionOf(DataFormatId::Vtk, path) || HasExtensionOf(DataFormatId::VtkSeries, path);
}

bool HasVtkHeader(std::string_view bytes) {
  const std::string head(bytes.substr(0, 4096));
  return LooksLikeLegacyVtk(head) || !VtkXmlKind(head).empty();
}

std::vector<double> VtkSeriesTimes(const std::string& path) {
  const MappedFile file(path);
  if (VtkXmlKind(file.Bytes().substr(0, 4096)) != "Collection") return {};
  return CollectionTimes(ReadPvdList(file.Bytes(), path));
}

std::optional<FileContents> LoadVtkFile(const std::string& path, const LoadOptions& options, Notifier& notifier, Progress& progress, int step) {
  const MappedFile file(path);
  return LoadVtkFile(file, options, notifier, progress, step);
}

std::optional<FileContents> LoadVtkFile(const MappedFile& file, const LoadOptions& /*options*/, Notifier& notifier, Progress& progress, int step) {
  const std::string& path = file.Path();
  try {
    progress.SetPosition(0);
    progress.SetStatus("データ読み込み中…");
    SourceInfo source;
    source.format = DataFileFormat::Vtk;
    PieceCollector collector(progress);
    collector.Allow(file);
    std::vector<VtkPiece> pieces;
    const std::string kind = VtkXmlKind(file.Bytes().substr(0, 4096));
    const bool listing = kind == "vtkMultiBlockDataSet" || kind == "Collection";
    if (kind == "Collection") {
      // One step of a series: the files of its time (its parts), read as a multiblock file's.
      const std::vector<VtkCollectionEntry> entries = ReadPvdList(file.Bytes(), path);
      source.times = CollectionTimes(entries);
      if (step < 0 || static_cast<std::size_t>(step) >= source.times.size())
        throw CorvaneError("VTK ファイル " + path + " には " + std::to_string(step + 1) + " 番目の時刻がありません");
      source.step = step;
      std::vector<std::pair<std::string, std::string>> files;
      for (const VtkCollectionEntry& e : entries)
        if (e.time == source.times[static_cast<std::size_t>(step)]) files.emplace_back(e.file, "");
      if (files.size() == 1) {
        // One file a step: its zones as that file's own, and its faults its own refusal.
        const std::string one = (std::filesystem::path(path).parent_path() / files.front().first).string();
        try {
          const MappedFile part(one);
          collector.Allow(part);
          pieces = collector.Read(part.Bytes(), one, source.layout, 1);
        } catch (const CorvaneError& e) {
          throw CorvaneError("VTK ファイル " + path + " の " + std::to_string(step + 1) + " 番目の時刻のファイル " + files.front().first + ": " + e.what());
        }
      } else {
        pieces = collector.ReadParts(files, path, source.layout, 0);
      }
      source.layout = "series, " + source.layout;
    } else {
      pieces = collector.Read(file.Bytes(), path, source.layout, 0);
    }
    if (collector.aborted) return std::nullopt;
    if (!listing) source.title = collector.title;
    std::string leftOut;
    for (const std::string& part : collector.leftOut) leftOut += "\n" + part;
    if (pieces.empty()) throw CorvaneError("VTK ファイル " + path + " には読める構造格子の部分がありません:" + leftOut);
    if (!leftOut.empty())
      notifier.Warning("VTK ファイル " + path + " の次の部分は読めないので除きました:" + leftOut);
    return LoadPieces(path, std::move(pieces), std::move(source));
  } catch (const std::bad_alloc&) {
    throw CorvaneError("データファイル " + path + " を読み込むためのメモリが足りません");
  }
}

}  // namespace corvane
