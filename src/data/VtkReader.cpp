#include "data/VtkReader.h"

#include <algorithm>
#include <filesystem>
#include <new>

#include "data/AsciiCase.h"
#include "data/DataFormats.h"
#include "data/CellAverage.h"
#include "data/Errors.h"
#include "data/MappedFile.h"
#include "data/StructuredLoad.h"
#include "data/VtkLegacy.h"
#include "data/VtkXml.h"

namespace corvane {
namespace {


// The variable names of one array.
std::vector<std::string> ComponentNames(const VtkArray& a) {
  if (a.components == 1) return {a.name};
  std::vector<std::string> names;
  for (int c = 0; c < a.components; ++c)
    names.push_back(a.name + "_" + (a.components == 3 ? std::string(1, static_cast<char>('X' + c)) : std::to_string(c)));
  return names;
}

// The pieces of one .vtk or .vts file whose bytes are `bytes`.
std::vector<VtkPiece> ReadPieces(std::string_view bytes, const std::string& path, std::string& layout) {
  if (LooksLikeLegacyVtk(bytes)) {
    std::vector<VtkPiece> pieces;
    pieces.push_back(ReadLegacyVtk(bytes, path, layout));
    layout = "legacy " + layout;
    return pieces;
  }
  const std::string kind = VtkXmlKind(bytes.substr(0, 4096));
  if (kind == "StructuredGrid") return ReadVts(bytes, path, layout);
  throw CorvaneError("VTK ファイル " + path + " は構造格子 (.vtk の STRUCTURED_GRID か .vts) ではありません" +
                     (kind.empty() ? std::string() : " (" + kind + ")"));
}

}  // namespace

bool IsVtkPath(const std::string& path) {
  return HasExtensionOf(DataFormatId::Vtk, path) || HasExtensionOf(DataFormatId::VtkSeries, path);
}

bool HasVtkHeader(std::string_view bytes) {
  const std::string head(bytes.substr(0, 4096));
  return LooksLikeLegacyVtk(head) || !VtkXmlKind(head).empty();
}

std::optional<LoadResult> LoadVtkFile(const std::string& path, const LoadOptions& options, const FieldView& previous,
                                      int previousZoneListCount, Notifier& notifier, Progress& progress) {
  const MappedFile file(path);
  return LoadVtkFile(file, options, previous, previousZoneListCount, notifier, progress);
}

std::optional<LoadResult> LoadVtkFile(const MappedFile& file, const LoadOptions& options, const FieldView& previous,
                                      int previousZoneListCount, Notifier& notifier, Progress& progress) {
  const std::string& path = file.Path();
  try {
    progress.SetPosition(0);
    progress.SetStatus("データ読み込み中…");
    progress.Pump();
    SourceInfo source;
    source.format = DataFileFormat::Vtk;
    std::vector<VtkPiece> pieces;
    if (VtkXmlKind(file.Bytes().substr(0, 4096)) == "vtkMultiBlockDataSet") {
      const auto files = ReadVtmList(file.Bytes(), path);
      const std::filesystem::path folder = std::filesystem::path(path).parent_path();
      progress.SetMaximum(static_cast<std::int64_t>(files.size()));
      for (std::size_t k = 0; k < files.size(); ++k) {
        const std::string piecePath = (folder / files[k].first).string();
        if (LowerExtension(piecePath) != ".vts")
          throw CorvaneError("VTK ファイル " + path + " の部分 " + files[k].first + " は .vts ではありません。構造格子 (.vts) の部分だけが読めます");
        std::string layout;
        const MappedFile piece(piecePath);
        std::vector<VtkPiece> more = ReadPieces(piece.Bytes(), piecePath, layout);
        if (source.layout.empty()) source.layout = "multiblock, " + layout;
        for (std::size_t p = 0; p < more.size(); ++p) {
          more[p].name = files[k].second.empty() ? std::filesystem::path(files[k].first).stem().string() : files[k].second;
          if (more.size() > 1) more[p].name += "/" + std::to_string(p);
          pieces.push_back(std::move(more[p]));
        }
        progress.SetPosition(static_cast<std::int64_t>(k + 1));
        progress.Pump();
        if (progress.AbortRequested()) return std::nullopt;
      }
    } else {
      pieces = ReadPieces(file.Bytes(), path, source.layout);
      if (source.layout.rfind("legacy", 0) == 0) source.title = pieces.front().name;  // the title line
      for (VtkPiece& p : pieces) p.name.clear();
    }

    // The nodes' arrays first, then the cells', whichever the file wrote first.
    for (VtkPiece& p : pieces)
      std::stable_partition(p.arrays.begin(), p.arrays.end(), [](const VtkArray& a) { return !a.cells; });
    std::vector<std::string> variables;
    for (const VtkArray& a : pieces.front().arrays)
      for (const std::string& n : ComponentNames(a)) variables.push_back(n);
    std::vector<ZoneSize> sizes;
    for (const VtkPiece& p : pieces) {
      sizes.push_back({p.ni, p.nj});
      if (!p.name.empty()) source.zoneNames.push_back(p.name);  // pieces of a .vtm, all named
    }
    FieldDataSet data = NewFieldFrame(path, sizes, variables, source.zoneNames);
    std::vector<double> cells;
    for (std::size_t z = 0; z < pieces.size(); ++z) {
      const VtkPiece& p = pieces[z];
      const std::int64_t ni = p.ni, nj = p.nj;
      const std::size_t first = static_cast<std::size_t>(data.Zones[z].FirstNode);
      for (std::int64_t j = 0; j < nj; ++j)
        for (std::int64_t i = 0; i < ni; ++i) {
          const std::size_t k = static_cast<std::size_t>(i + ni * j), to = first + static_cast<std::size_t>(i * nj + j);
          data.X[to] = p.points[3 * k];
          data.Y[to] = p.points[3 * k + 1];
        }
      std::size_t row = 0;
      for (const VtkArray& wanted : pieces.front().arrays) {
        const VtkArray* a = nullptr;
        for (const VtkArray& candidate : p.arrays)
          if (candidate.name == wanted.name && candidate.components == wanted.components) a = &candidate;
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
            AverageCellsToNodes(cells.data(), ni, nj, out);
            continue;
          }
          for (std::int64_t j = 0; j < nj; ++j)
            for (std::int64_t i = 0; i < ni; ++i)
              out[i * nj + j] = a->values[static_cast<std::size_t>(i + ni * j) * stride + c];
        }
      }
    }
    if (source.cellCentred) source.status = "セル中心の値を格子点の値へ平均しました";
    return FinishLoad(std::move(data), std::move(source), options, previous, previousZoneListCount, notifier,
                      !variables.empty());
  } catch (const std::bad_alloc&) {
    throw CorvaneError("データファイル " + path + " を読み込むためのメモリが足りません");
  }
}

}  // namespace corvane
