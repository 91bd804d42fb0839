// The loaded data set: zones of structured nodes sharing one list of variables, stored flat.
// How it is shown (contour ranges, edge flags, line masks) lives in FieldView beside it.
// Node (zone, i, j) has the global index FirstNode + NJ * i + j (j runs fastest).
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace corvane {

// Allocates node rows without zeroing them when they are sized: a reader writes every element,
// so each page is first touched by the thread that fills it instead of all of them beforehand.
// Rows given a value (resize(n, 0.0), assign) are filled as usual.
template <class T>
struct RowAllocator {
  using value_type = T;
  RowAllocator() = default;
  template <class U>
  RowAllocator(const RowAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) { return std::allocator<T>().allocate(n); }
  void deallocate(T* p, std::size_t n) noexcept { std::allocator<T>().deallocate(p, n); }
  template <class U>
  void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  friend bool operator==(const RowAllocator&, const RowAllocator&) { return true; }
};

// One value per node.
using NodeRow = std::vector<double, RowAllocator<double>>;

struct ZoneGrid {
  std::int32_t NI = 0;
  std::int32_t NJ = 0;
  std::int32_t FirstNode = 0;
};

// The derived rows a load only names; each is computed the first time it is used.
enum DerivedRowKind : int { kMachRow, kTotalPressureRow, kVorticityRow, kSpeedRow, kDerivedRowKinds };

// The rows of a data set computed the first time they are used (DeferredRows.h): until then
// their entry in Values is empty. Copies of a data set share the lock.
struct DeferredRowState {
  std::int32_t uRow = -1, vRow = -1;  // the velocity rows vorticity and speed come from
  // The rows of u, v, T and p the Mach number and total pressure come from (u, v or T -1: both
  // rows are zero; p -1: 101325 Pa), and the gas constants of the load.
  std::array<std::int32_t, 4> gasRows{-1, -1, -1, -1};
  double gamma = 0.0, R = 0.0;
  std::array<bool, kDerivedRowKinds> pending{};
  std::shared_ptr<std::mutex> lock = std::make_shared<std::mutex>();
};

struct FieldDataSet {
  std::int32_t ZoneCount = 0;
  std::vector<ZoneGrid> Zones;
  std::int32_t NodeCount = 0;
  std::int32_t ColumnCount = 0;
  std::vector<std::string> VariableNames;  // ColumnCount - 2 names, UTF-8
  NodeRow X;
  NodeRow Y;
  // ColumnCount rows of NodeCount values: file variables, then Mach number, then total pressure.
  std::vector<NodeRow> Values;
  DeferredRowState deferred;
  // The box of the nodes, starting from the origin (FinishRead).
  double XMax = 0.0, YMax = 0.0, XMin = 0.0, YMin = 0.0;

  std::int32_t MachNumberRow() const { return ColumnCount - 2; }
  std::int32_t TotalPressureRow() const { return ColumnCount - 1; }
  bool Empty() const { return NodeCount <= 0; }
};

inline std::int32_t NodeIndex(const FieldDataSet& data, std::int32_t zone, std::int32_t i, std::int32_t j) {
  const ZoneGrid& z = data.Zones[static_cast<std::size_t>(zone)];
  return z.FirstNode + z.NJ * i + j;
}

}  // namespace corvane
