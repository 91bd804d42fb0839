#include "contour/LegendOptions.h"

#include <cstdlib>
#include <string>

namespace corvane {
namespace {

// "FACE,HEIGHT": the face may itself contain no comma; the height is the last field.
void ApplyFont(LegendOptions& options, std::string_view control, std::string_view value) {
  const std::size_t comma = value.rfind(',');
  if (comma == std::string_view::npos || comma == 0)
    throw CorvaneError(std::string(control) + " は フォント名,高さ の形で指定してください: " + std::string(value));
  const long long height = ParseIntegerValue(control, value.substr(comma + 1));
  const long long pixels = std::llabs(height);
  if (pixels < 1 || pixels > 1000)
    throw CorvaneError(std::string(control) + " のフォントの高さが正しくありません: " + std::string(value));
  options.font.face = std::string(value.substr(0, comma));
  options.font.pixelHeight = static_cast<int>(pixels);
}

}  // namespace

const OptionTable<LegendOptions>& LegendOptionTable() {
  static const OptionTable<LegendOptions> table = [] {
    OptionTable<LegendOptions> t;
    const std::string form = "TLegendForm.";
    t.Radio(form + "LegendTate", &LegendOptions::orientation, LegendOrientation::Vertical);
    t.Radio(form + "LegendYoko", &LegendOptions::orientation, LegendOrientation::Horizontal);
    t.Int(form + "LegendWidthBox", &LegendOptions::LegendWidthBox, 10, 500);
    t.Int(form + "LegendHeightBox", &LegendOptions::LegendHeightBox, 10, 500);
    auto style = [&t, &form](const char* name, NumberStyle choice) {
      t.Add(
          form + name,
          [choice](LegendOptions& o, std::string_view c, std::string_view v) {
            if (ParseBoolValue(c, v)) o.numberFormat.style = choice;
          },
          [choice](const LegendOptions& o) { return FormatBoolValue(o.numberFormat.style == choice); });
    };
    style("ShowExpCheck", NumberStyle::Exponent);
    style("ShowFixCheck", NumberStyle::Fixed);
    style("ShowAutoCheck", NumberStyle::General);
    auto spin = [&t, &form](const char* name, int NumberFormat::*field) {
      t.Add(
          form + name,
          [field](LegendOptions& o, std::string_view c, std::string_view v) {
            const long long n = ParseIntegerValue(c, v);
            o.numberFormat.*field = static_cast<int>(n < 1 ? 1 : (n > 20 ? 20 : n));
          },
          [field](const LegendOptions& o) { return std::to_string(o.numberFormat.*field); });
    };
    spin("PrecisionBox", &NumberFormat::precision);
    spin("DigitsBox", &NumberFormat::digits);
    t.Add(form + "example", ApplyFont,
          [](const LegendOptions& o) { return o.font.face + "," + std::to_string(o.font.pixelHeight); });
    return t;
  }();
  return table;
}

}  // namespace corvane
