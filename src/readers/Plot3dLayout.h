// How a 2-D PLOT3D grid or solution file was written, found from the file itself: Fortran
// unformatted records, plain binary or formatted text; 32- or 64-bit reals; either byte order;
// one block or several; with or without iblank; 2-D, or 3-D with one plane (nk = 1), as 3-D codes
// write 2-D cases; 4- or 8-byte record markers; repeat counts (3*0.0) in formatted files. Every
// size is checked against the file's length.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "readers/StructuredLoad.h"

namespace corvane {

enum class Plot3dEncoding { FortranRecords, PlainBinary, Formatted };
enum class Plot3dKind { Grid, Solution };

struct Plot3dLayout {
  Plot3dEncoding encoding = Plot3dEncoding::FortranRecords;
  bool bigEndian = false;
  bool multiBlock = true;
  int realBytes = 8;    // 4 or 8 (formatted: 8)
  bool iblank = false;  // grids only
  int dims = 2;         // 3: sizes ni nj nk, coordinates x y z, solution with rho w (nk = 1 only)
  int markerBytes = 4;  // Fortran records: bytes of each length marker (4, or 8 from old compilers)
};

// Where the numbers of one block are: for binary files byte offsets, for formatted files indices
// into Plot3dScan::numbers.
struct Plot3dBlock {
  ZoneSize size;
  std::size_t header = 0;  // solutions: the four free-stream values
  std::size_t data = 0;    // the first real of x (grid) or of density (solution)
};

// The numbers of a formatted file as written: a repeat count (3*0.0) stays one entry, so a
// short file standing for many numbers takes no more memory than its text.
struct Plot3dNumbers {
  std::vector<double> values;       // one per number written
  std::vector<std::uint64_t> ends;  // numbers through each entry; empty when nothing repeats
  std::uint64_t Count() const { return ends.empty() ? values.size() : ends.back(); }
  double At(std::uint64_t position) const;
};

struct Plot3dScan {
  Plot3dLayout layout;
  std::vector<Plot3dBlock> blocks;
  std::shared_ptr<const Plot3dNumbers> numbers;  // formatted files: every number of the file

  // The k-th real from `position` (a block's header or data) of `bytes`.
  double Real(std::string_view bytes, std::size_t position, std::size_t k) const;
};

// A readable account of the layout, e.g. "Fortran レコード, 64 ビット実数, リトルエンディアン, 複数ブロック, iblank あり".
std::string DescribeLayout(const Plot3dLayout& layout, Plot3dKind kind);

// Finds the layout the whole of `bytes` fits exactly, preferring one whose block sizes are
// `expected` (a solution's grid) when given. Throws CorvaneError naming `path` (and the block
// where the closest layout broke down) when it fits none.
Plot3dScan ScanPlot3d(std::string_view bytes, Plot3dKind kind, const std::string& path,
                      const std::vector<ZoneSize>* expected = nullptr);

}  // namespace corvane
