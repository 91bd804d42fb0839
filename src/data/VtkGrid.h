// The structured grids of VTK files as read, before they become a data set: per piece the node
// count in i and j, the points and the named arrays of the nodes or of the cells.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

struct VtkArray {
  std::string name;
  int components = 1;
  bool cells = false;           // one tuple per cell, else per node
  std::vector<double> values;   // tuples × components, i fastest
};

struct VtkPiece {
  std::string name;
  std::int64_t ni = 0, nj = 0;
  std::vector<double> points;   // x, y, z per node, i fastest
  std::vector<VtkArray> arrays;
};

// The element size of a VTK value type named as the legacy format names it ("float",
// "unsigned_char", "vtktypeint64") or as the XML format does ("Float32", "UInt8"); 0 when
// unknown. `real` tells a floating-point type and `sign` a signed integer type.
int VtkTypeSize(const std::string& name, bool& real, bool& sign);

// Element `k` of `count` values of `size` bytes at `p`, in the given byte order, as a double.
double VtkValue(const unsigned char* p, int size, bool real, bool sign, bool bigEndian);

}  // namespace corvane
