// Options of the contour, colour and label controls, by control name.
#pragma once
#include <optional>

#include "contour/ColourMap.h"
#include "base/OptionTable.h"
#include "render/Canvas.h"

namespace corvane {

struct ContourOptions {
  ColourMapKind colourMap = ColourMapKind::Rainbow;  // ColorMap1 / ColorMap2 / GrayMap1 / GrayMap2 / ViridisMap / CividisMap / CoolWarmMap
  bool QuickFill = true;  // the OpenGL view's smooth fill
  bool FixLineColor = false;
  Colour fixedLineColour = kWhite;  // the fixed line colour
  // The fixed line colour was chosen (Shape1 set by the settings file, --set or the swatch);
  // until then the default white turns black on a white background, as the labels do.
  bool lineColourChosen = false;
  int ContLineWid = 1;     // contour line width in pixels, 1..10

  // Contour labels.
  bool ShowLabel = true;
  int labelGap = 30;  // gap between labels in pixels, 0..200
  bool BackClear = false;  // transparent label background
  bool LabelRegulate = false;  // only label levels between LabelMin and LabelMax percent of the range
  int LabelMin = 0;    // 0..100
  int LabelMax = 100;  // 0..100
  // Font of the label sample: the label font; its colour is the label colour.
  FontSpec LabelExp{"Arial", 11, kWhite, 0, false, false};
  // The label colour was chosen (settings file, --set, colour dialog); until then the default
  // white turns black on a white background, where white labels could not be seen.
  bool labelColourChosen = false;

  // Contour range of the selected variable typed into the boxes; unset keeps the loaded (or
  // automatic) range. The render command stores them into ContourMax / ContourMin / ContourStep
  // of the selected row after the load, as Enter in the box would.
  std::optional<double> MaxBox;
  std::optional<double> MinBox;
  std::optional<double> StepBox;
};

const OptionTable<ContourOptions>& ContourOptionTable();

// The font the labels are written in: LabelExp, in black on a white background while the label
// colour is still the default.
FontSpec LabelFontFor(const ContourOptions& options, bool whiteBack);

// The colour of every contour line with FixLineColor: Shape1's, black on a white background
// while it is still the default white.
Colour FixedLineColourFor(const ContourOptions& options, bool whiteBack);

}  // namespace corvane
