#include "base/OptionTable.h"

#include <cmath>
#include <cstdint>

namespace corvane {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
  return text;
}

[[noreturn]] void Bad(std::string_view control, std::string_view text, const char* what) {
  throw CorvaneError(std::string(control) + " の値 \"" + std::string(text) + "\" は" + what + "ではありません");
}

}  // namespace

double ParseDoubleValue(std::string_view control, std::string_view text) {
  std::string_view t = TrimBlanks(text);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  double value = 0.0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (t.empty() || ec == std::errc::invalid_argument || end != t.data() + t.size()) Bad(control, text, "数値");
  if (ec == std::errc::result_out_of_range) Bad(control, text, "範囲内の数値");
  return value;
}

long long ParseIntegerValue(std::string_view control, std::string_view text) {
  std::string_view t = TrimBlanks(text);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  long long value = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size()) Bad(control, text, "整数");
  return value;
}

bool ParseBoolValue(std::string_view control, std::string_view text) {
  std::string_view t = TrimBlanks(text);
  if (t == "1" || t == "true" || t == "TRUE" || t == "on") return true;
  if (t == "0" || t == "false" || t == "FALSE" || t == "off") return false;
  Bad(control, text, "0 か 1");
}

std::uint32_t ParseColourValue(std::string_view control, std::string_view text) {
  std::string_view t = TrimBlanks(text);
  auto channel = [&](std::string_view s) {
    long long v = ParseIntegerValue(control, s);
    if (v < 0 || v > 255) Bad(control, text, "0..255 の色成分");
    return static_cast<std::uint32_t>(v);
  };
  if (!t.empty() && t.front() == '#' && t.size() == 7) {
    std::uint32_t rgb = 0;
    auto [end, ec] = std::from_chars(t.data() + 1, t.data() + 7, rgb, 16);
    if (ec != std::errc() || end != t.data() + 7) Bad(control, text, "色");
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
  }
  std::size_t c1 = t.find(',');
  if (c1 != std::string_view::npos) {
    std::size_t c2 = t.find(',', c1 + 1);
    if (c2 == std::string_view::npos) Bad(control, text, "色");
    return channel(t.substr(0, c1)) | (channel(t.substr(c1 + 1, c2 - c1 - 1)) << 8) | (channel(t.substr(c2 + 1)) << 16);
  }
  // Decimal RRGGBB, as crv.ini writes colours: R = (n div 65536) mod 256 and so on.
  long long n = ParseIntegerValue(control, t);
  if (n < 0) Bad(control, text, "色");
  std::uint32_t r = static_cast<std::uint32_t>((n / 65536) % 256);
  std::uint32_t g = static_cast<std::uint32_t>((n / 256) % 256);
  std::uint32_t b = static_cast<std::uint32_t>(n % 256);
  return r | (g << 8) | (b << 16);
}

std::string FormatOptionNumber(double value) {
  char buffer[400];
  const double magnitude = std::fabs(value);
  const bool fixed = value == 0.0 || (magnitude >= 1e-9 && magnitude < 1e15);
  auto [end, ec] = fixed ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
                         : std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, ec == std::errc() ? end : buffer);
  if (fixed && text.find('.') == std::string::npos) text += ".0";
  return text;
}

std::string FormatColourValue(std::uint32_t colour) {
  const std::uint32_t r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
  return std::to_string(r * 65536 + g * 256 + b);
}

}  // namespace corvane
