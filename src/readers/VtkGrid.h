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

// How much a load may decode, all its files and arrays together: a block may be listed by
// several arrays, pieces or multiblock entries, so each check against one block's own bytes is
// not enough. The allowance grows with the bytes of every distinct file read (a generous
// inflation ratio times its size, plus some room for small files) and never passes half of
// the memory the process may use.
class VtkBudget {
 public:
  VtkBudget();
  // A file of `bytes` bytes joins the load.
  void Allow(std::uint64_t bytes);
  // Takes `values` doubles out of the allowance, or throws CorvaneError naming `path`.
  void Spend(std::uint64_t values, const std::string& path);
  // Whether a Spend has been refused: the whole load is, not only the part that asked.
  bool Exhausted() const { return exhausted_; }

 private:
  std::uint64_t allowed_, used_ = 0, memory_;
  bool exhausted_ = false;
};

// The grid of a VTK extent or dimensions with up to one direction of more than one node left
// over: `n` nodes in x, y and z become ni × nj (the first two directions of more than one
// node, in order; the node order stays that of the file). False for a grid of three such
// directions.
bool FoldDimensions(const std::int64_t n[3], std::int64_t& ni, std::int64_t& nj);

// The element size of a VTK value type named as the legacy format names it ("float",
// "unsigned_char", "vtktypeint64") or as the XML format does ("Float32", "UInt8"); 0 when
// unknown. `real` tells a floating-point type and `sign` a signed integer type.
int VtkTypeSize(const std::string& name, bool& real, bool& sign);

// Element `k` of `count` values of `size` bytes at `p`, in the given byte order, as a double.
double VtkValue(const unsigned char* p, int size, bool real, bool sign, bool bigEndian);
// An unsigned integer of `size` bytes (at most 8) at `p`, exactly.
std::uint64_t VtkUnsigned(const unsigned char* p, int size, bool bigEndian);

}  // namespace corvane
