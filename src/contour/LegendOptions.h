// Options of the legend window, by qualified control name ("TLegendForm.LegendYoko", ...).
#pragma once
#include "base/OptionTable.h"
#include "render/Canvas.h"
#include "render/NumberFormat.h"

namespace corvane {

enum class LegendOrientation { Vertical, Horizontal };  // LegendTate / LegendYoko

struct LegendOptions {
  LegendOrientation orientation = LegendOrientation::Vertical;
  int LegendWidthBox = 80;    // picture width W, 10..500
  int LegendHeightBox = 100;  // picture height H, 10..500
  NumberFormat numberFormat;  // ShowExpCheck / ShowFixCheck / ShowAutoCheck, PrecisionBox, DigitsBox
  FontSpec font{"ＭＳ Ｐゴシック", 12};  // the font of the sample label `example`
};

// Every control of the legend window. `TLegendForm.example` takes "FACE,HEIGHT" (the height in
// pixels; a negative height as the font dialog writes it means the same size).
const OptionTable<LegendOptions>& LegendOptionTable();

}  // namespace corvane
