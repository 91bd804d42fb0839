#include "readers/DecimalNumber.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <stdlib.h>
#include <string>

namespace corvane {

bool ParseDataNumber(std::string_view text, double& value) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) return false;
  }
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  if (ReadPlainNumber(text.data(), end, value) == end) return true;
  auto [p, ec] = std::from_chars(text.data(), end, value);
  if (p != end || ec == std::errc::invalid_argument) return false;
  if (ec == std::errc::result_out_of_range) {
    // Too small rounds towards zero as a user expects; too large is not a number we can hold.
    // strtod tells which, read in the C locale whatever the user's locale says about decimals.
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    std::string copy(text);
    double v = strtod_l(copy.c_str(), nullptr, c);
    if (std::isinf(v)) return false;
    value = v;
  }
  return true;
}

}  // namespace corvane
