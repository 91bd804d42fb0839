// Values given per cell of a structured zone, moved onto its nodes: each node takes the mean of
// the (one, two or four) cells it is a corner of.
#pragma once
#include <cstdint>

namespace corvane {

// Cells of a zone of ni × nj nodes: (ni - 1) × (nj - 1), a direction of one node counting as
// one cell (so a line of nodes has cells, and a single node one).
inline std::int64_t CellCount(std::int64_t ni, std::int64_t nj) {
  return (ni > 1 ? ni - 1 : 1) * (nj > 1 ? nj - 1 : 1);
}

// `cells` holds CellCount(ni, nj) values with i fastest; `out` receives ni × nj node values with
// j fastest, as the data set stores a zone.
inline void AverageCellsToNodes(const double* cells, std::int64_t ni, std::int64_t nj, double* out) {
  const std::int64_t ci = ni > 1 ? ni - 1 : 1, cj = nj > 1 ? nj - 1 : 1;
  for (std::int64_t i = 0; i < ni; ++i) {
    const std::int64_t i0 = i > 0 ? i - 1 : 0, i1 = i < ci ? i : ci - 1;
    for (std::int64_t j = 0; j < nj; ++j) {
      const std::int64_t j0 = j > 0 ? j - 1 : 0, j1 = j < cj ? j : cj - 1;
      double sum = 0.0;
      int count = 0;
      for (std::int64_t b = j0; b <= j1; ++b)
        for (std::int64_t a = i0; a <= i1; ++a) {
          sum += cells[b * ci + a];
          ++count;
        }
      out[i * nj + j] = sum / count;
    }
  }
}

}  // namespace corvane
