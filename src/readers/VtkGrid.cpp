#include "readers/VtkGrid.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "base/Errors.h"

namespace corvane {
namespace {

// A compressed block of zeros inflates about a thousand times; decoded values are doubles.
constexpr std::uint64_t kInflationPerByte = 1100;
constexpr std::uint64_t kSmallFileRoom = std::uint64_t{32} << 20;

}  // namespace

VtkBudget::VtkBudget() : allowed_(kSmallFileRoom) {
  const long pages = ::sysconf(_SC_PHYS_PAGES), page = ::sysconf(_SC_PAGESIZE);
  memory_ = pages > 0 && page > 0 ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page) : std::uint64_t{8} << 30;
  rlimit space{};
  if (::getrlimit(RLIMIT_AS, &space) == 0 && space.rlim_cur != RLIM_INFINITY)
    memory_ = std::min<std::uint64_t>(memory_, space.rlim_cur);
  memory_ /= 2;
}

void VtkBudget::Allow(std::uint64_t bytes) {
  allowed_ += std::min<std::uint64_t>(bytes, std::uint64_t{1} << 40) * kInflationPerByte;
}

void VtkBudget::Spend(std::uint64_t values, const std::string& path) {
  const std::uint64_t limit = std::min(allowed_, memory_);
  const std::uint64_t bytes = values > (std::uint64_t{1} << 56) ? ~std::uint64_t{0} : values * 8;
  if (bytes > limit - std::min(used_, limit)) {
    exhausted_ = true;
    const std::uint64_t total = bytes > ~std::uint64_t{0} - used_ ? ~std::uint64_t{0} : used_ + bytes;
    throw CorvaneError("VTK ファイル " + path + ": 配列と座標を合わせると " + std::to_string(total >> 20) + " MB 以上になり、" +
                       (allowed_ <= memory_ ? "ファイルの大きさから見てありえない大きさです (同じデータが何度も使われているか、壊れています)"
                                            : "使えるメモリ (" + std::to_string(memory_ >> 20) + " MB) に収まりません"));
  }
  used_ += bytes;
}

bool FoldDimensions(const std::int64_t n[3], std::int64_t& ni, std::int64_t& nj) {
  std::int64_t kept[3] = {1, 1, 1};
  int count = 0;
  for (int d = 0; d < 3; ++d)
    if (n[d] > 1) {
      if (count == 2) return false;
      kept[count++] = n[d];
    }
  ni = kept[0];
  nj = kept[1];
  return true;
}

int VtkTypeSize(const std::string& name, bool& real, bool& sign) {
  struct Type {
    const char* legacy;
    const char* xml;
    int size;
    bool real, sign;
  };
  static const Type kTypes[] = {
      {"char", "Int8", 1, false, true},          {"unsigned_char", "UInt8", 1, false, false},
      {"short", "Int16", 2, false, true},        {"unsigned_short", "UInt16", 2, false, false},
      {"int", "Int32", 4, false, true},          {"unsigned_int", "UInt32", 4, false, false},
      {"long", "Int64", 8, false, true},         {"unsigned_long", "UInt64", 8, false, false},
      {"vtktypeint64", "", 8, false, true},      {"vtktypeuint64", "", 8, false, false},
      {"float", "Float32", 4, true, true},       {"double", "Float64", 8, true, true},
      {"signed_char", "", 1, false, true},
      {"vtktypeint32", "", 4, false, true},      {"vtktypeuint32", "", 4, false, false},
  };
  if (name.empty()) return 0;
  std::string lower = name;
  for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  for (const Type& t : kTypes) {
    if (lower == t.legacy || name == t.xml) {
      real = t.real;
      sign = t.sign;
      return t.size;
    }
  }
  return 0;
}

double VtkValue(const unsigned char* p, int size, bool real, bool sign, bool bigEndian) {
  unsigned char b[8];
  for (int k = 0; k < size; ++k) b[k] = bigEndian ? p[size - 1 - k] : p[k];
  if (real) {
    if (size == 4) {
      float f;
      std::memcpy(&f, b, 4);
      return f;
    }
    double d;
    std::memcpy(&d, b, 8);
    return d;
  }
  std::uint64_t u = VtkUnsigned(b, size, false);
  if (sign && size < 8 && (u >> (size * 8 - 1)) & 1u) u |= ~std::uint64_t{0} << (size * 8);
  return sign ? static_cast<double>(static_cast<std::int64_t>(u)) : static_cast<double>(u);
}

std::uint64_t VtkUnsigned(const unsigned char* p, int size, bool bigEndian) {
  std::uint64_t u = 0;
  for (int k = 0; k < size; ++k) u = (u << 8) | p[bigEndian ? k : size - 1 - k];
  return u;
}

}  // namespace corvane
