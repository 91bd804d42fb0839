// The PLOT3D reader on any bytes: the first byte chooses a grid (read whole, as a grid alone is)
// or a solution (scanned against a grid of one or two blocks the next bytes give, then every
// value of every block read).
#include <cstdint>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "base/Errors.h"
#include "fieldview/LoadedView.h"
#include "readers/Plot3dLayout.h"
#include "readers/Plot3dReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  corvane::fuzz::QuietNotifier notifier;
  corvane::NullProgress progress;
  try {
    if (data[0] & 1) {
      const corvane::fuzz::InputFile file(data + 1, size - 1);
      if (auto read = corvane::LoadPlot3dFile(file.Path(), corvane::LoadOptions(), notifier, progress))
        corvane::CompleteLoad(std::move(*read), corvane::LoadOptions(), corvane::FieldView(), notifier);
      return 0;
    }
    std::vector<corvane::ZoneSize> grid = {{1 + data[1] % 8, 1 + data[2] % 8}};
    if (data[0] & 2) grid.push_back({1 + data[2] % 5, 1 + data[3] % 5});
    const std::string_view bytes(reinterpret_cast<const char*>(data + 4), size - 4);
    const corvane::Plot3dScan scan = corvane::ScanPlot3d(bytes, corvane::Plot3dKind::Solution, "fuzz.q", &grid);
    const std::size_t stored = scan.layout.dims == 3 ? 5 : 4;  // rho, rho u, rho v, (rho w,) e
    double sum = 0.0;
    for (const corvane::Plot3dBlock& b : scan.blocks) {
      const std::size_t n = static_cast<std::size_t>(b.size.ni * b.size.nj);
      for (std::size_t k = 0; k < 4; ++k) sum += scan.Real(bytes, b.header, k);
      for (std::size_t k = 0; k < stored * n; ++k) sum += scan.Real(bytes, b.data, k);
    }
    (void)sum;
  } catch (const corvane::CorvaneError&) {
  }
  return 0;
}
