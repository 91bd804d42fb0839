// CGNS files written through the CGNS library as the reader tests need them: structured zones of
// a skewed grid with fields given per node or per cell.
#pragma once
#include <cgnslib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace corvane::testing {

struct CgnsZone {
  std::string name;
  int ni, nj;
  bool cells;                       // the fields given per cell instead of per node
  std::vector<std::string> fields;  // in one solution "Solution"
  std::function<void(int file, int base, int zone)> extra = nullptr;  // damage or additions
  bool withY = true;
  int nk = 0;  // the planes of a zone of a 3-D base (at z = 7), 0 for a 2-D base
};

inline double CgnsX(int i, int j) { return i + 0.5 * j; }
inline double CgnsY(int i, int j) { return 0.25 * i + j; }
// Field f at node (or cell) (i, j): distinct, exactly representable values.
inline double CgnsF(int f, int i, int j) { return 100.0 * (f + 1) + i + 10.0 * j; }

// The zones in one base "Flow", a 3-D one when any zone has planes; `fileType` picks HDF5 or ADF.
inline void WriteCgns(const std::string& path, const std::vector<CgnsZone>& zones, int fileType = CG_FILE_NONE) {
  cg_set_file_type(fileType);
  int fn = 0, B = 0;
  ASSERT_EQ(cg_open(path.c_str(), CG_MODE_WRITE, &fn), CG_OK) << cg_get_error();
  const int dim = std::any_of(zones.begin(), zones.end(), [](const CgnsZone& z) { return z.nk > 0; }) ? 3 : 2;
  cg_base_write(fn, "Flow", dim, dim, &B);
  for (const CgnsZone& z : zones) {
    const int nk = std::max(z.nk, 1);
    std::vector<cgsize_t> size = {z.ni, z.nj, z.ni - 1, z.nj - 1, 0, 0};
    if (dim == 3) size = {z.ni, z.nj, nk, z.ni - 1, z.nj - 1, nk - 1, 0, 0, 0};
    int Z = 0, C = 0, S = 0, F = 0;
    ASSERT_EQ(cg_zone_write(fn, B, z.name.c_str(), size.data(), CGNS_ENUMV(Structured), &Z), CG_OK) << cg_get_error();
    std::vector<double> x, y, depth;
    for (int k = 0; k < nk; ++k)
      for (int j = 0; j < z.nj; ++j)
        for (int i = 0; i < z.ni; ++i) x.push_back(CgnsX(i, j)), y.push_back(CgnsY(i, j)), depth.push_back(7.0);
    cg_coord_write(fn, B, Z, CGNS_ENUMV(RealDouble), "CoordinateX", x.data(), &C);
    if (z.withY) cg_coord_write(fn, B, Z, CGNS_ENUMV(RealDouble), "CoordinateY", y.data(), &C);
    if (dim == 3) cg_coord_write(fn, B, Z, CGNS_ENUMV(RealDouble), "CoordinateZ", depth.data(), &C);
    if (!z.fields.empty()) {
      cg_sol_write(fn, B, Z, "Solution", z.cells ? CGNS_ENUMV(CellCenter) : CGNS_ENUMV(Vertex), &S);
      const int ni = z.cells ? z.ni - 1 : z.ni, nj = z.cells ? z.nj - 1 : z.nj;
      for (std::size_t f = 0; f < z.fields.size(); ++f) {
        std::vector<double> v;
        for (int k = 0; k < nk; ++k)
          for (int j = 0; j < nj; ++j)
            for (int i = 0; i < ni; ++i) v.push_back(CgnsF(static_cast<int>(f), i, j));
        ASSERT_EQ(cg_field_write(fn, B, Z, S, CGNS_ENUMV(RealDouble), z.fields[f].c_str(), v.data(), &F), CG_OK);
      }
    }
    if (z.extra) z.extra(fn, B, Z);
  }
  cg_close(fn);
  cg_set_file_type(CG_FILE_NONE);
}

}  // namespace corvane::testing
