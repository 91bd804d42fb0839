#include "readers/Plot3dReader.h"

#include <filesystem>
#include <new>

#include "readers/AsciiCase.h"
#include "readers/DataFormats.h"
#include "base/Errors.h"
#include "readers/MappedFile.h"
#include "readers/Plot3dLayout.h"
#include "readers/StructuredLoad.h"

namespace corvane {

bool IsPlot3dGridPath(const std::string& path) { return HasExtensionOf(DataFormatId::Plot3dGrid, path); }

bool IsPlot3dSolutionPath(const std::string& path) { return HasExtensionOf(DataFormatId::Plot3dSolution, path); }

std::string Plot3dGridBeside(const std::string& solutionPath) {
  std::filesystem::path p(solutionPath);
  const auto& grids = DataFormatRowOf(DataFormatId::Plot3dGrid).extensions;
  for (bool upper : {false, true}) {
    for (const char* ext : grids) {
      std::filesystem::path grid = p;
      grid.replace_extension(upper ? AsciiUpper(ext) : std::string(ext));
      std::error_code ec;
      if (std::filesystem::is_regular_file(grid, ec)) return grid.string();
    }
  }
  return {};
}

std::optional<FileContents> LoadPlot3dFile(const std::string& path, const LoadOptions& options,
                                           Notifier& notifier, Progress& progress) {
  const MappedFile file(path);
  return LoadPlot3dFile(file, options, notifier, progress);
}

std::optional<FileContents> LoadPlot3dFile(const MappedFile& file, const LoadOptions& options, Notifier& /*notifier*/,
                                           Progress& progress) {
  const std::string& path = file.Path();
  try {
    progress.SetPosition(0);
    progress.SetStatus("データ読み込み中…");
    const bool solution = IsPlot3dSolutionPath(path);
    const std::string gridPath = solution ? Plot3dGridBeside(path) : path;
    if (gridPath.empty()) {
      const std::filesystem::path stem = std::filesystem::path(path).replace_extension();
      throw CorvaneError("PLOT3D 解ファイル " + path + " の格子ファイル (" + stem.string() + ".xyz, .x, .g のいずれか) が見つかりません");
    }
    std::optional<MappedFile> gridOpened;
    if (solution) gridOpened.emplace(gridPath);
    const MappedFile& gridFile = solution ? *gridOpened : file;
    const Plot3dScan grid = ScanPlot3d(gridFile.Bytes(), Plot3dKind::Grid, gridPath);
    const MappedFile* qFile = solution ? &file : nullptr;
    std::optional<Plot3dScan> q;
    if (solution) {
      std::vector<ZoneSize> gridSizes;
      for (const Plot3dBlock& b : grid.blocks) gridSizes.push_back(b.size);
      q = ScanPlot3d(qFile->Bytes(), Plot3dKind::Solution, path, &gridSizes);
      if (q->blocks.size() != grid.blocks.size())
        throw CorvaneError("PLOT3D 解ファイル " + path + " のブロック数 " + std::to_string(q->blocks.size()) + " が格子ファイル " +
                           gridPath + " のブロック数 " + std::to_string(grid.blocks.size()) + " と合いません");
      for (std::size_t b = 0; b < grid.blocks.size(); ++b) {
        const ZoneSize g = grid.blocks[b].size, s = q->blocks[b].size;
        if (g.ni != s.ni || g.nj != s.nj)
          throw CorvaneError("PLOT3D 解ファイル " + path + " の " + ZoneLabel(b) + " の格子点数 (" + std::to_string(s.ni) + " × " +
                             std::to_string(s.nj) + ") が格子ファイル " + gridPath + " の (" + std::to_string(g.ni) + " × " +
                             std::to_string(g.nj) + ") と合いません");
      }
    }

    SourceInfo source;
    source.format = DataFileFormat::Plot3d;
    source.gridPath = gridPath;
    source.gridLayout = DescribeLayout(grid.layout, Plot3dKind::Grid);
    std::vector<ZoneSize> sizes;
    for (const Plot3dBlock& b : grid.blocks) sizes.push_back(b.size);
    std::vector<std::string> variables;
    if (solution) {
      source.solutionLayout = DescribeLayout(q->layout, Plot3dKind::Solution);
      variables.assign(std::begin(kConservativeNames), std::end(kConservativeNames));
      variables.insert(variables.end(), std::begin(kPrimitiveNames), std::end(kPrimitiveNames));
    }
    FieldDataSet data = NewFieldFrame(path, sizes, variables);
    progress.SetMaximum(static_cast<std::int64_t>(sizes.size()));
    for (std::size_t b = 0; b < sizes.size(); ++b) {
      // Both files hold each block with i fastest; the data set has j fastest.
      const std::int64_t ni = sizes[b].ni, nj = sizes[b].nj, n = ni * nj;
      const std::size_t first = static_cast<std::size_t>(data.Zones[b].FirstNode);
      const Plot3dBlock& g = grid.blocks[b];
      for (std::int64_t j = 0; j < nj; ++j) {
        for (std::int64_t i = 0; i < ni; ++i) {
          const std::size_t to = first + static_cast<std::size_t>(i * nj + j), k = static_cast<std::size_t>(i + ni * j);
          data.X[to] = grid.Real(gridFile.Bytes(), g.data, k);
          data.Y[to] = grid.Real(gridFile.Bytes(), g.data, static_cast<std::size_t>(n) + k);
          if (!q) continue;
          // A 3-D solution holds rho w between rho v and the energy; it is left out.
          for (std::size_t v = 0; v < 4; ++v) {
            const std::size_t stored = q->layout.dims == 3 && v == 3 ? 4 : v;
            data.Values[v][to] = q->Real(qFile->Bytes(), q->blocks[b].data, stored * static_cast<std::size_t>(n) + k);
          }
        }
      }
      if (q) {
        const Plot3dBlock& s = q->blocks[b];
        const std::string_view bytes = qFile->Bytes();
        source.freeStream.push_back({q->Real(bytes, s.header, 0), q->Real(bytes, s.header, 1), q->Real(bytes, s.header, 2),
                                     q->Real(bytes, s.header, 3)});
      }
      progress.SetPosition(static_cast<std::int64_t>(b + 1));
    }
    if (solution) {
      const int conservative[4] = {0, 1, 2, 3};
      PrimitiveFromConservative(data, conservative, 4, options.gammaBox, options.RBox);
    }
    return FinishRead(std::move(data), std::move(source), solution);
  } catch (const std::bad_alloc&) {
    throw CorvaneError("データファイル " + path + " を読み込むためのメモリが足りません");
  }
}

}  // namespace corvane
