#include "readers/CgnsReader.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string_view>
#include <filesystem>
#include <map>
#include <memory>
#include <new>

#include "readers/CgnsLibrary.h"
#include "base/Errors.h"
#include "readers/StructuredLoad.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace corvane {
namespace {

// The child nodes of `parent` in stored order, with their names and labels; released on return.
struct NodeInfo {
  double id = 0.0;
  std::string name, label;
};

template <class Visit>
void ForEachChild(int cgio, double parent, Visit&& visit) {
  int children = 0;
  if (Cgns().cgio_number_children(cgio, parent, &children) != CG_OK || children <= 0 || children > (1 << 20)) return;
  std::vector<double> ids(static_cast<std::size_t>(children));
  int got = 0;
  if (Cgns().cgio_children_ids(cgio, parent, 1, children, &got, ids.data()) != CG_OK) return;
  for (int k = 0; k < got; ++k) {
    char name[CGIO_MAX_NAME_LENGTH + 1] = {}, label[CGIO_MAX_LABEL_LENGTH + 1] = {};
    const double id = ids[static_cast<std::size_t>(k)];
    if (Cgns().cgio_get_name(cgio, id, name) == CG_OK && Cgns().cgio_get_label(cgio, id, label) == CG_OK)
      visit(NodeInfo{id, name, label});
    Cgns().cgio_release_id(cgio, id);
  }
}

// The library refuses a whole file when one array does not fit its zone, without saying which:
// walk the first base node by node and name the first array whose size fits neither the nodes
// nor the cells of its zone. Empty when nothing of the kind is found.
std::string FindMisfit(const std::string& path) {
  int cgio = 0;
  if (Cgns().cgio_open_file(path.c_str(), CGIO_MODE_READ, CGIO_FILE_NONE, &cgio) != CG_OK) return {};
  std::string found;
  double root = 0.0;
  bool baseSeen = false;
  if (Cgns().cgio_get_root_id(cgio, &root) == CG_OK) {
    ForEachChild(cgio, root, [&](const NodeInfo& base) {
      if (base.label != "CGNSBase_t" || baseSeen) return;
      baseSeen = true;
      std::size_t zone = 0;
      ForEachChild(cgio, base.id, [&](const NodeInfo& z) {
        if (z.label != "Zone_t" || !found.empty()) return;
        int dims = 0;
        cgsize_t dim[12] = {};
        std::int64_t size[6] = {};
        if (Cgns().cgio_get_dimensions(cgio, z.id, &dims, dim) == CG_OK && dims == 2 && dim[0] == 2 && dim[1] == 3) {
          cgsize_t data[6] = {};
          if (Cgns().cgio_read_all_data_type(cgio, z.id, sizeof(cgsize_t) == 8 ? "I8" : "I4", data) == CG_OK)
            std::copy(data, data + 6, size);
        }
        ForEachChild(cgio, z.id, [&](const NodeInfo& group) {
          if ((group.label != "GridCoordinates_t" && group.label != "FlowSolution_t") || !found.empty()) return;
          ForEachChild(cgio, group.id, [&](const NodeInfo& array) {
            int n = 0;
            cgsize_t d[12] = {};
            if (array.label != "DataArray_t" || !found.empty() ||
                Cgns().cgio_get_dimensions(cgio, array.id, &n, d) != CG_OK)
              return;
            const std::int64_t count = n == 2 ? std::int64_t{d[0]} * d[1] : n == 1 ? d[0] : -1;
            if (size[0] < 1 || count == size[0] * size[1] || count == size[2] * size[3]) return;
            std::string shape;
            for (int k = 0; k < std::clamp(n, 0, 12); ++k) shape += (k ? " × " : "") + std::to_string(d[k]);
            found = ZoneLabel(zone, z.name) + " の \"" + group.name + "\" の " + array.name + " の大きさ (" + shape +
                    ") が領域の " + std::to_string(size[0]) + " × " + std::to_string(size[1]) + " と合いません";
          });
        });
        ++zone;
      });
    });
  }
  Cgns().cgio_close_file(cgio);
  return found;
}

// Runs a call into the library with the leak checker of sanitizer builds looking away: when the
// library refuses a damaged file it keeps the part of the tree it had read (and HDF5 some
// buffers), with nothing to free them by, and that is not ours to report.
template <class Call>
auto OutsideLeakCheck(Call&& call) {
#if defined(__SANITIZE_ADDRESS__)
  __lsan_disable();
  auto result = call();
  __lsan_enable();
  return result;
#else
  return call();
#endif
}

// The library prints its warnings (an old file version, say) to stderr unless given a handler;
// its errors are read back with cg_get_error where they matter.
void QuietLibrary(int, char*) {}

// Closes the file however the load ends; the library keeps open files in global tables.
class OpenCgns {
 public:
  OpenCgns(const std::string& path, const std::string& shown) {
    static const bool quiet = Cgns().cg_configure(CG_CONFIG_ERROR, reinterpret_cast<void*>(&QuietLibrary)) == CG_OK;
    (void)quiet;
    const int status = OutsideLeakCheck([&] { return Cgns().cg_open(path.c_str(), CG_MODE_READ, &fn_); });
    if (status != CG_OK) {
      fn_ = -1;
      const std::string reason = Cgns().cg_get_error();
      const std::string misfit = OutsideLeakCheck([&] { return FindMisfit(path); });
      throw CorvaneError("CGNS ファイル " + shown + (misfit.empty() ? " を開けません (" + reason + ")" : ": " + misfit));
    }
  }
  ~OpenCgns() {
    if (fn_ >= 0) Cgns().cg_close(fn_);
  }
  OpenCgns(const OpenCgns&) = delete;
  OpenCgns& operator=(const OpenCgns&) = delete;
  int fn() const { return fn_; }

 private:
  int fn_ = -1;
};

// One data array as found under a node: its index there and its stored shape.
struct ArrayRef {
  int index = 0;
  std::int64_t ni = 0, nj = 0, nk = 1;  // stored size, rind planes included (nk: a 3-D zone of one plane)
  int rind[6] = {0, 0, 0, 0, 0, 0};     // planes before and after in i, then in j, then in k
};

struct ZonePlan {
  int index = 0;  // the library's zone number (it sorts zones by name)
  std::string name;
  ZoneSize size;
  bool plane = false;  // stored as 3-D with one k-plane
  ArrayRef x, y;
  int solution = 0;  // the library's number of the first FlowSolution, 0 when none
  bool cellCentred = false;
  std::vector<ArrayRef> fields;  // in the order of the data set's file variables
};

class CgnsLoad {
 public:
  // `limit`: most bytes the arrays may claim in all (the file's length for a file that cannot
  // compress its arrays; the memory the reading may take for one that can).
  CgnsLoad(const std::string& path, int fn, std::uint64_t limit, bool limitIsFileLength)
      : path_(path), fn_(fn), limit_(limit), limitIsFileLength_(limitIsFileLength) {}

  [[noreturn]] void Fail(const std::string& what) const { throw CorvaneError("CGNS ファイル " + path_ + ": " + what); }
  [[noreturn]] void FailZone(const ZonePlan& z, std::size_t zone, const std::string& what) const {
    Fail(ZoneLabel(zone, z.name) + " の" + what);
  }
  std::string LibraryError() const { return std::string(" (") + Cgns().cg_get_error() + ")"; }

  // The zones of base 1 in the order they were written (the library's numbering is by name).
  std::vector<std::pair<int, std::string>> ZonesInFileOrder(int base, const std::string& baseName) const {
    int count = 0;
    if (Cgns().cg_nzones(fn_, base, &count) != CG_OK) Fail("領域の数を読めません" + LibraryError());
    std::vector<std::pair<int, std::string>> byIndex;
    std::map<std::string, int> indexOf;
    for (int z = 1; z <= count; ++z) {
      char name[CGIO_MAX_NAME_LENGTH + 1] = {};
      cgsize_t size[9] = {};
      if (Cgns().cg_zone_read(fn_, base, z, name, size) != CG_OK)
        Fail(std::to_string(z) + "番目の領域を読めません" + LibraryError());
      byIndex.emplace_back(z, name);
      indexOf[name] = z;
    }
    // The stored child order of the base node is the order of writing.
    int cgio = 0;
    double root = 0.0, baseId = 0.0;
    if (Cgns().cg_get_cgio(fn_, &cgio) != CG_OK || Cgns().cg_root_id(fn_, &root) != CG_OK ||
        Cgns().cgio_get_node_id(cgio, root, ("/" + baseName).c_str(), &baseId) != CG_OK)
      return byIndex;
    std::vector<std::pair<int, std::string>> ordered;
    int children = 0;
    if (Cgns().cgio_number_children(cgio, baseId, &children) == CG_OK && children > 0 && children <= (1 << 20)) {
      std::vector<double> ids(static_cast<std::size_t>(children));
      int got = 0;
      if (Cgns().cgio_children_ids(cgio, baseId, 1, children, &got, ids.data()) == CG_OK) {
        for (int k = 0; k < got; ++k) {
          char name[CGIO_MAX_NAME_LENGTH + 1] = {}, label[CGIO_MAX_LABEL_LENGTH + 1] = {};
          if (Cgns().cgio_get_label(cgio, ids[static_cast<std::size_t>(k)], label) == CG_OK &&
              std::string(label) == "Zone_t" &&
              Cgns().cgio_get_name(cgio, ids[static_cast<std::size_t>(k)], name) == CG_OK && indexOf.count(name))
            ordered.emplace_back(indexOf[name], name);
          Cgns().cgio_release_id(cgio, ids[static_cast<std::size_t>(k)]);
        }
      }
    }
    Cgns().cgio_release_id(cgio, baseId);
    return ordered.size() == byIndex.size() ? ordered : byIndex;
  }

  // Finds the array `name` under the node cg_goto last reached and checks it holds `ni` × `nj`
  // numbers (rind planes besides) within the file's length. Index 0 when there is none.
  ArrayRef FindArray(const ZonePlan& z, std::size_t zone, const std::string& where, const std::string& name,
                     std::int64_t ni, std::int64_t nj) {
    int count = 0;
    if (Cgns().cg_narrays(&count) != CG_OK) FailZone(z, zone, where + "を読めません" + LibraryError());
    ArrayRef ref;
    // The library writes two planes per index dimension.
    int rind[6] = {0, 0, 0, 0, 0, 0};
    if (Cgns().cg_rind_read(rind) == CG_OK) std::copy(rind, rind + (z.plane ? 6 : 4), ref.rind);
    for (int r : ref.rind)
      if (r < 0 || r > (1 << 20)) FailZone(z, zone, where + "の Rind が不正です");
    for (int a = 1; a <= count; ++a) {
      char found[CGIO_MAX_NAME_LENGTH + 1] = {};
      CGNS_ENUMT(DataType_t) type;
      int dims = 0;
      cgsize_t dim[12] = {};
      if (Cgns().cg_array_info(a, found, &type, &dims, dim) != CG_OK)
        FailZone(z, zone, where + "を読めません" + LibraryError());
      if (name != found) continue;
      const std::string what = where + "の " + name;
      std::int64_t bytes = 0;
      switch (type) {
        case CGNS_ENUMV(RealSingle): case CGNS_ENUMV(Integer): bytes = 4; break;
        case CGNS_ENUMV(RealDouble): case CGNS_ENUMV(LongInteger): bytes = 8; break;
        default: FailZone(z, zone, what + " は数値の配列ではありません");
      }
      ref.index = a;
      ref.ni = ni + ref.rind[0] + ref.rind[1];
      ref.nj = nj + ref.rind[2] + ref.rind[3];
      ref.nk = 1 + ref.rind[4] + ref.rind[5];
      const bool fits = z.plane ? (dims == 3 && dim[0] == ref.ni && dim[1] == ref.nj && dim[2] == ref.nk) ||
                                      (dims == 1 && dim[0] == ref.ni * ref.nj * ref.nk)
                      : dims == 2 ? dim[0] == ref.ni && dim[1] == ref.nj
                                  : dims == 1 && dim[0] == ref.ni * ref.nj;
      if (!fits) {
        std::string shape;
        for (int d = 0; d < std::clamp(dims, 0, 12); ++d) shape += (d ? " × " : "") + std::to_string(dim[d]);
        FailZone(z, zone, what + " の大きさ (" + shape + ") が領域の " + std::to_string(ref.ni) + " × " +
                              std::to_string(ref.nj) + (z.plane ? " × " + std::to_string(ref.nk) : std::string()) +
                              " と合いません");
      }
      // Stored bytes and the doubles they become, in checked arithmetic: a zone may claim
      // 2^31 × 2^30 nodes.
      std::uint64_t claimed = 0;
      if (__builtin_mul_overflow(static_cast<std::uint64_t>(ref.ni * ref.nj * ref.nk),
                                 static_cast<std::uint64_t>(limitIsFileLength_ ? bytes : 8), &claimed) ||
          __builtin_add_overflow(arrayBytes_, claimed, &arrayBytes_) || arrayBytes_ > limit_)
        FailZone(z, zone,
                 what + " の大きさ (" + std::to_string(ref.ni) + " × " + std::to_string(ref.nj) + ") が" +
                     (limitIsFileLength_ ? "ファイルの長さ (" + std::to_string(limit_) + " バイト) を超えます。ファイルが壊れています"
                                         : "読み込みに使えるメモリ (" + std::to_string(limit_) + " バイト) を超えます"));
      return ref;
    }
    return ref;
  }

  // Reads everything but the values: which zones, which arrays, their sizes, all checked.
  std::vector<ZonePlan> Plan(int base, const std::vector<std::pair<int, std::string>>& zones) {
    std::vector<ZonePlan> plans;
    for (std::size_t k = 0; k < zones.size(); ++k) {
      ZonePlan z;
      z.index = zones[k].first;
      z.name = zones[k].second;
      CGNS_ENUMT(ZoneType_t) type;
      if (Cgns().cg_zone_type(fn_, base, z.index, &type) != CG_OK) FailZone(z, k, "種類を読めません" + LibraryError());
      if (type != CGNS_ENUMV(Structured)) FailZone(z, k, "格子は構造格子ではありません。構造格子の領域だけを読めます");
      int dim = 0;
      if (Cgns().cg_index_dim(fn_, base, z.index, &dim) != CG_OK) FailZone(z, k, "次元を読めません" + LibraryError());
      if (dim != 2 && dim != 3) FailZone(z, k, "格子は" + std::to_string(dim) + "次元です。2次元の領域だけを読めます");
      char name[CGIO_MAX_NAME_LENGTH + 1] = {};
      cgsize_t size[9] = {};
      if (Cgns().cg_zone_read(fn_, base, z.index, name, size) != CG_OK)
        FailZone(z, k, "大きさを読めません" + LibraryError());
      // A 3-D zone of one k-plane (as conversions from 2-D formats write) is that plane, z left
      // out, as for PLOT3D.
      if (dim == 3 && size[2] != 1)
        FailZone(z, k, "格子は3次元です (k 方向 " + std::to_string(size[2]) + " 点)。2次元か k 方向1点の領域だけを読めます");
      z.plane = dim == 3;
      z.size = {size[0], size[1]};
      if (z.size.ni < 1 || z.size.nj < 1)
        FailZone(z, k, "格子点数 (" + std::to_string(z.size.ni) + " × " + std::to_string(z.size.nj) + ") が不正です");
      nodes_ += z.size.ni * z.size.nj;  // each below 2^31: no overflow
      if (nodes_ > kMaxNodes)
        FailZone(z, k, "格子点数 (" + std::to_string(z.size.ni) + " × " + std::to_string(z.size.nj) +
                           ") が大きすぎます。全領域の格子点数の合計は" + std::to_string(kMaxNodes) + "点までです");

      if (Cgns().cg_goto(fn_, base, "Zone_t", z.index, "GridCoordinates", 0, "end") != CG_OK)
        FailZone(z, k, "座標 (GridCoordinates) がありません");
      z.x = FindArray(z, k, "座標", "CoordinateX", z.size.ni, z.size.nj);
      z.y = FindArray(z, k, "座標", "CoordinateY", z.size.ni, z.size.nj);
      if (!z.x.index || !z.y.index)
        FailZone(z, k, "座標 " + std::string(z.x.index ? "CoordinateY" : "CoordinateX") + " がありません");

      int solutions = 0;
      if (Cgns().cg_nsols(fn_, base, z.index, &solutions) != CG_OK) FailZone(z, k, "解を読めません" + LibraryError());
      if (k == 0 && solutions == 0) noSolution_ = true;
      if (!noSolution_ && solutions == 0) FailZone(z, k, "解 (FlowSolution) がありません。最初の領域には解があります");
      if (!noSolution_ && solutions < solution_)
        FailZone(z, k, std::to_string(solution_) + " 番目の解 (FlowSolution) がありません (解は " + std::to_string(solutions) + " 個)");
      if (!noSolution_) PlanSolution(base, z, k);
      plans.push_back(std::move(z));
    }
    return plans;
  }

  // The chosen FlowSolution of a zone: where its values sit and the arrays of the variables.
  void PlanSolution(int base, ZonePlan& z, std::size_t k) {
    z.solution = solution_;
    char name[CGIO_MAX_NAME_LENGTH + 1] = {};
    CGNS_ENUMT(GridLocation_t) location;
    if (Cgns().cg_sol_info(fn_, base, z.index, solution_, name, &location) != CG_OK)
      FailZone(z, k, "解を読めません" + LibraryError());
    if (k == 0) solutionName_ = name;
    if (location == CGNS_ENUMV(CellCenter)) {
      z.cellCentred = true;
      if (z.size.ni < 2 || z.size.nj < 2) FailZone(z, k, "セル中心の解は各方向2点以上の領域にしか置けません");
    } else if (location != CGNS_ENUMV(Vertex)) {
      FailZone(z, k, "解 \"" + std::string(name) + "\" は格子点にもセル中心にもありません (" +
                         Cgns().cg_GridLocationName(location) + ")");
    }
    const std::string where = "解 \"" + std::string(name) + "\"";
    if (Cgns().cg_goto(fn_, base, "Zone_t", z.index, "FlowSolution_t", solution_, "end") != CG_OK)
      FailZone(z, k, where + "を読めません" + LibraryError());
    if (k == 0) {
      int count = 0;
      if (Cgns().cg_narrays(&count) != CG_OK) FailZone(z, k, where + "を読めません" + LibraryError());
      for (int a = 1; a <= count; ++a) {
        char field[CGIO_MAX_NAME_LENGTH + 1] = {};
        CGNS_ENUMT(DataType_t) type;
        int dims = 0;
        cgsize_t dim[12] = {};
        if (Cgns().cg_array_info(a, field, &type, &dims, dim) != CG_OK)
          FailZone(z, k, where + "を読めません" + LibraryError());
        variables_.push_back(field);
      }
    }
    const std::int64_t ni = z.cellCentred ? z.size.ni - 1 : z.size.ni;
    const std::int64_t nj = z.cellCentred ? z.size.nj - 1 : z.size.nj;
    for (const std::string& variable : variables_) {
      ArrayRef ref = FindArray(z, k, where, variable, ni, nj);
      if (!ref.index) FailZone(z, k, where + "に変数 " + variable + " がありません");
      z.fields.push_back(ref);
    }
  }

  // Reads one planned array as doubles into `out` (a zone's row, j fastest), dropping the rind
  // planes and averaging cell values onto the nodes when `cells` is set.
  void Read(const ZonePlan& z, std::size_t k, const ArrayRef& ref, bool cells, double* out) {
    // One buffer for every array, left uninitialised: the library fills it, and its pages are
    // made once, not for each array.
    const std::size_t count = static_cast<std::size_t>(ref.ni * ref.nj * ref.nk);
    if (count > storedSize_) {
      stored_.reset();
      stored_.reset(new double[count]);
      storedSize_ = count;
    }
    const double* stored = stored_.get();
    if (Cgns().cg_array_read_as(ref.index, CGNS_ENUMV(RealDouble), stored_.get()) != CG_OK)
      FailZone(z, k, "値を読めません" + LibraryError());
    const std::int64_t ni = z.size.ni, nj = z.size.nj;
    // Stored with i fastest; (i, j) of the core lies past the leading rind planes (in k too).
    const std::size_t plane = static_cast<std::size_t>(ref.rind[4] * ref.ni * ref.nj);
    auto at = [&](std::int64_t i, std::int64_t j) {
      return stored[plane + static_cast<std::size_t>((j + ref.rind[2]) * ref.ni + i + ref.rind[0])];
    };
    if (!cells) {
      // Turned round (j fastest) in tiles that stay in the cache on both sides.
      constexpr std::int64_t kTile = 32;
      for (std::int64_t i0 = 0; i0 < ni; i0 += kTile)
        for (std::int64_t j0 = 0; j0 < nj; j0 += kTile) {
          const std::int64_t i1 = std::min(ni, i0 + kTile), j1 = std::min(nj, j0 + kTile);
          for (std::int64_t i = i0; i < i1; ++i)
            for (std::int64_t j = j0; j < j1; ++j) out[i * nj + j] = at(i, j);
        }
      return;
    }
    // Each node takes the mean of the (one, two or four) cells it is a corner of.
    for (std::int64_t i = 0; i < ni; ++i) {
      for (std::int64_t j = 0; j < nj; ++j) {
        double sum = 0.0;
        int cellCount = 0;
        for (std::int64_t ci = std::max<std::int64_t>(i - 1, 0); ci <= std::min(i, ni - 2); ++ci)
          for (std::int64_t cj = std::max<std::int64_t>(j - 1, 0); cj <= std::min(j, nj - 2); ++cj) {
            sum += at(ci, cj);
            ++cellCount;
          }
        out[i * nj + j] = sum / cellCount;
      }
    }
  }

  static constexpr std::int64_t kMaxNodes = 2147483647;
  std::string path_;
  int fn_;
  std::uint64_t limit_ = 0;
  bool limitIsFileLength_ = true;
  std::uint64_t arrayBytes_ = 0;
  std::int64_t nodes_ = 0;
  std::unique_ptr<double[]> stored_;
  std::size_t storedSize_ = 0;
  bool noSolution_ = false;
  int solution_ = 1;  // the library's number of the FlowSolution read (the step + 1)
  std::string solutionName_;
  std::vector<std::string> variables_;
};

// The solution times of the first base: one per FlowSolution of its first zone, from the
// TimeValues of its BaseIterativeData when they are there, else 0, 1, 2, ...
std::vector<double> StepTimesOf(int fn) {
  int zones = 0, solutions = 0;
  if (Cgns().cg_nzones(fn, 1, &zones) != CG_OK || zones < 1 || Cgns().cg_nsols(fn, 1, 1, &solutions) != CG_OK ||
      solutions < 1 || solutions > 1000000)
    return {};
  std::vector<double> times(static_cast<std::size_t>(solutions));
  for (std::size_t k = 0; k < times.size(); ++k) times[k] = static_cast<double>(k);
  char name[CGIO_MAX_NAME_LENGTH + 1] = {};
  int steps = 0;
  if (Cgns().cg_biter_read(fn, 1, name, &steps) != CG_OK || steps != solutions ||
      Cgns().cg_goto(fn, 1, "BaseIterativeData_t", 1, "end") != CG_OK)
    return times;
  int arrays = 0;
  if (Cgns().cg_narrays(&arrays) != CG_OK) return times;
  for (int a = 1; a <= arrays; ++a) {
    char field[CGIO_MAX_NAME_LENGTH + 1] = {};
    CGNS_ENUMT(DataType_t) type;
    int dims = 0;
    cgsize_t dim[12] = {};
    if (Cgns().cg_array_info(a, field, &type, &dims, dim) != CG_OK) continue;
    if (std::string(field) != "TimeValues" || dims != 1 || dim[0] != steps) continue;
    std::vector<double> read(times.size());
    if (Cgns().cg_array_read_as(a, CGNS_ENUMV(RealDouble), read.data()) == CG_OK) times = read;
    break;
  }
  return times;
}

}  // namespace

void ReadCgnsWithLibrary(const std::string& openPath, const std::string& shownPath, std::uint64_t memoryLimit,
                         int step, const std::function<double*(const CgnsContent&)>& storage) {
  // ADF stores every array as written; only HDF5 can compress one.
  char head[32] = {};
  if (FILE* f = std::fopen(openPath.c_str(), "rb")) {
    const std::size_t got = std::fread(head, 1, sizeof head, f);
    (void)got;
    std::fclose(f);
  }
  const bool adf = std::string_view(head, sizeof head).substr(0, 24) == "@(#)ADF Database Version";
  OpenCgns file(openPath, shownPath);
  CgnsLoad load(shownPath, file.fn(), memoryLimit, adf);
  if (step < 0) load.Fail(std::to_string(step + 1) + " 番目の時刻はありません");
  load.solution_ = step + 1;
  CgnsContent content;
  int bases = 0;
  if (Cgns().cg_nbases(file.fn(), &bases) != CG_OK) load.Fail("ベースを読めません" + load.LibraryError());
  if (bases < 1) load.Fail("ベース (CGNSBase) がありません");
  for (int b = 1; b <= bases; ++b) {
    char name[CGIO_MAX_NAME_LENGTH + 1] = {};
    int cellDim = 0, physDim = 0;
    if (Cgns().cg_base_read(file.fn(), b, name, &cellDim, &physDim) != CG_OK)
      load.Fail(std::to_string(b) + "番目のベースを読めません" + load.LibraryError());
    content.baseNames.push_back(name);
  }
  const auto zones = load.ZonesInFileOrder(1, content.baseNames.front());
  if (zones.empty()) load.Fail("ベース \"" + content.baseNames.front() + "\" に領域 (Zone) がありません");
  const std::vector<ZonePlan> plans = load.Plan(1, zones);
  std::int64_t nodes = 0;
  for (const ZonePlan& z : plans) {
    content.zones.push_back({z.name, z.size});
    content.cellCentred = content.cellCentred || z.cellCentred;
    nodes += z.size.ni * z.size.nj;
  }
  content.solutionName = load.solutionName_;
  content.variables = load.variables_;
  content.times = StepTimesOf(file.fn());
  // Rows of all nodes, one after another: x, y, then each variable of the file.
  double* rows = storage(content);
  const std::size_t rowLength = static_cast<std::size_t>(nodes);
  std::size_t first = 0;
  for (std::size_t k = 0; k < plans.size(); ++k) {
    const ZonePlan& z = plans[k];
    if (Cgns().cg_goto(file.fn(), 1, "Zone_t", z.index, "GridCoordinates", 0, "end") != CG_OK)
      load.FailZone(z, k, "座標を読めません" + load.LibraryError());
    load.Read(z, k, z.x, false, rows + first);
    load.Read(z, k, z.y, false, rows + rowLength + first);
    if (z.solution) {
      if (Cgns().cg_goto(file.fn(), 1, "Zone_t", z.index, "FlowSolution_t", z.solution, "end") != CG_OK)
        load.FailZone(z, k, "解を読めません" + load.LibraryError());
      for (std::size_t v = 0; v < content.variables.size(); ++v)
        load.Read(z, k, z.fields[v], z.cellCentred, rows + (2 + v) * rowLength + first);
    }
    first += static_cast<std::size_t>(z.size.ni * z.size.nj);
  }
}

}  // namespace corvane
