// Options of the contour, colour and label controls, by control name.
#pragma once
#include "contour/ColorMap.h"
#include "data/OptionTable.h"
#include "render/Canvas.h"

namespace corvane {

struct ContourOptions {
  ColorMapKind colorMap = ColorMapKind::Rainbow;  // ColorMap1 / ColorMap2 / GrayMap1 / GrayMap2
  bool FixLineColor = false;
  Colour Shape1 = kWhite;  // the fixed line colour
  int ContLineWid = 1;
};

const OptionTable<ContourOptions>& ContourOptionTable();

}  // namespace corvane
