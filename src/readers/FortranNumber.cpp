#include "readers/FortranNumber.h"

#include <string>

#include "readers/DecimalNumber.h"

namespace corvane {

bool ParseFortranNumber(std::string_view text, double& value) {
  if (text.empty() || text.size() > 400) return false;
  const char* end = text.data() + text.size();
  if (ReadPlainNumber(text.data(), end, value) == end) return true;
  if (ParseDataNumber(text, value)) return true;
  // Rewrite the exponent into the form from_chars knows: D or d becomes E, and a sign that
  // follows a digit of the significand starts an exponent whose letter was left out.
  std::string copy(text);
  bool changed = false;
  for (std::size_t k = 1; k < copy.size(); ++k) {
    char& c = copy[k];
    if (c == 'D' || c == 'd' || c == 'Q' || c == 'q') {
      c = 'E';
      changed = true;
      break;
    }
    if ((c == '+' || c == '-') && (copy[k - 1] == '.' || (copy[k - 1] >= '0' && copy[k - 1] <= '9'))) {
      copy.insert(k, 1, 'E');
      changed = true;
      break;
    }
  }
  return changed && ParseDataNumber(copy, value);
}

}  // namespace corvane
