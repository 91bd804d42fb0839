#include "data/VtkGrid.h"

#include <cstring>

namespace corvane {

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
  std::uint64_t u = 0;
  for (int k = size - 1; k >= 0; --k) u = (u << 8) | b[k];
  if (sign && size < 8 && (u >> (size * 8 - 1)) & 1u) u |= ~std::uint64_t{0} << (size * 8);
  return sign ? static_cast<double>(static_cast<std::int64_t>(u)) : static_cast<double>(u);
}

}  // namespace corvane
