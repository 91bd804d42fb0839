#include "render/NumberFormat.h"

#include "field/RoundLevels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace corvane {
namespace {

// A finite non-zero value as 0.d1d2...dn x 10^exponent, digits rounded to a chosen count.
struct DecimalDigits {
  bool negative = false;
  std::string digits;  // at least one digit, d1 != '0'
  int exponent = 0;
};

// Adds one unit in the last place of `digits`; true when the carry ran out of the front.
bool IncrementDigits(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

// Rounds a digit string to `keep` digits, ties away from zero (as people round decimals).
// `exponent` grows by one when 9.99 becomes 10.0. keep may be 0 (then "1" or nothing remains).
void RoundDigits(std::string& digits, int& exponent, int keep) {
  if (keep < 0) {
    digits.clear();
    return;
  }
  if (static_cast<std::size_t>(keep) >= digits.size()) return;
  bool up = digits[static_cast<std::size_t>(keep)] >= '5';
  digits.resize(static_cast<std::size_t>(keep));
  if (!up) return;
  if (digits.empty() || IncrementDigits(digits)) {
    digits.insert(digits.begin(), '1');
    if (digits.size() > static_cast<std::size_t>(std::max(keep, 1))) digits.pop_back();
    ++exponent;
  }
}

// The value's decimal digits rounded to `precision` significant digits. Forty digits from
// printf are far more than the eighteen we keep, so our own tie rule decides halves.
DecimalDigits ToDecimal(double value, int precision) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.40e", value);
  DecimalDigits d;
  const char* p = buffer;
  if (*p == '-') {
    d.negative = true;
    ++p;
  }
  for (; *p != 'e' && *p != '\0'; ++p) {
    if (*p >= '0' && *p <= '9') d.digits.push_back(*p);
  }
  d.exponent = (*p == 'e' ? std::atoi(p + 1) : 0) + 1;
  RoundDigits(d.digits, d.exponent, precision);
  return d;
}

std::string Signed(bool negative, std::string text) { return negative ? "-" + text : text; }

std::string NonFinite(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

// Shortest form: plain notation for -3 <= e <= P, otherwise d.dddEn.
std::string FormatGeneral(double value, int precision) {
  if (value == 0.0) return "0";
  DecimalDigits d = ToDecimal(value, precision);
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  const int e = d.exponent;
  std::string text;
  if (e >= -3 && e <= precision) {
    if (e <= 0) {
      text = "0." + std::string(static_cast<std::size_t>(-e), '0') + d.digits;
    } else if (d.digits.size() <= static_cast<std::size_t>(e)) {
      text = d.digits + std::string(static_cast<std::size_t>(e) - d.digits.size(), '0');
    } else {
      text = d.digits.substr(0, static_cast<std::size_t>(e)) + "." + d.digits.substr(static_cast<std::size_t>(e));
    }
  } else {
    text = d.digits.substr(0, 1);
    if (d.digits.size() > 1) text += "." + d.digits.substr(1);
    text += "E" + std::to_string(e - 1);
  }
  return Signed(d.negative, text);
}

// d.ddddE+n with P digits, the exponent signed and zero-filled to D digits when D is 1..3.
std::string FormatExponent(double value, int precision, int digits) {
  DecimalDigits d;
  if (value == 0.0) {
    d.digits = std::string(static_cast<std::size_t>(precision), '0');
    d.exponent = 1;
  } else {
    d = ToDecimal(value, precision);
  }
  std::string text = d.digits.substr(0, 1) + "." + d.digits.substr(1);
  int scientific = d.exponent - 1;
  std::string exponent = std::to_string(std::abs(scientific));
  if (digits >= 1 && digits <= 3 && exponent.size() < static_cast<std::size_t>(digits))
    exponent.insert(0, static_cast<std::size_t>(digits) - exponent.size(), '0');
  text += (scientific < 0 ? "E-" : "E+") + exponent;
  return Signed(d.negative, text);
}

// Fixed notation with D decimals; values with more than P integer digits take the general form.
std::string FormatFixed(double value, int precision, int digits) {
  const int decimals = std::clamp(digits, 0, 18);
  DecimalDigits d;
  if (value != 0.0) {
    d = ToDecimal(value, precision);
    if (d.exponent > precision) return FormatGeneral(value, precision);
    RoundDigits(d.digits, d.exponent, d.exponent + decimals);
  }
  // Place the remaining digits on a grid of integer and decimal positions.
  const int e = d.exponent;
  std::string integer, fraction(static_cast<std::size_t>(decimals), '0');
  for (int i = 0; i < static_cast<int>(d.digits.size()); ++i) {
    int place = e - 1 - i;  // power of ten of digit i
    if (place >= 0) {
      if (integer.empty()) integer.assign(static_cast<std::size_t>(place + 1), '0');
      integer[integer.size() - 1 - static_cast<std::size_t>(place)] = d.digits[static_cast<std::size_t>(i)];
    } else if (-place <= decimals) {
      fraction[static_cast<std::size_t>(-place - 1)] = d.digits[static_cast<std::size_t>(i)];
    }
  }
  if (integer.empty()) integer = "0";
  // A value that rounds to nothing is written without a minus sign.
  bool allZero = d.digits.find_first_not_of('0') == std::string::npos;
  std::string text = decimals > 0 ? integer + "." + fraction : integer;
  return Signed(d.negative && !allZero, text);
}

}  // namespace

std::string FormatAxisNumber(double value, const NumberFormat& format) {
  if (!std::isfinite(value)) return NonFinite(value);
  if (value == 0.0) value = 0.0;  // no "-0"
  if (format.roundStep > 0.0) return RoundLevelText(value, format.roundStep);
  const int precision = std::clamp(format.precision, 2, 18);
  switch (format.style) {
    case NumberStyle::Exponent:
      return FormatExponent(value, precision, format.digits);
    case NumberStyle::Fixed:
      return FormatFixed(value, precision, format.digits);
    case NumberStyle::General:
      break;
  }
  return FormatGeneral(value, precision);
}

std::string FormatGeneral15(double value) {
  if (!std::isfinite(value)) return NonFinite(value);
  if (value == 0.0) return "0";
  return FormatGeneral(value, 15);
}

}  // namespace corvane
