#include "contour/ContourOptions.h"

namespace corvane {

const OptionTable<ContourOptions>& ContourOptionTable() {
  static const OptionTable<ContourOptions> table = [] {
    OptionTable<ContourOptions> t;
    t.Radio("ColorMap1", &ContourOptions::colorMap, ColorMapKind::Rainbow);
    return t;
  }();
  return table;
}

}  // namespace corvane
