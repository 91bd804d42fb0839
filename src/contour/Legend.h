// The legend picture: a colour bar of the contour levels with the minimum and maximum written at
// its ends, drawn on any canvas, recorded as a vector picture and saved by file extension.
#pragma once
#include <QImage>
#include <QPicture>
#include <string>

#include "contour/ColourMap.h"
#include "contour/LegendOptions.h"
#include "base/Notifier.h"
#include "render/Canvas.h"

namespace corvane {

// What the legend shows: the numbers of the contour boxes and the picture's colours.
struct LegendInput {
  double lo = 0.0;    // MinBox
  double hi = 100.0;  // MaxBox
  double step = 1.0;  // StepBox
  bool whiteBack = false;
  ColourMapKind colourMap = ColourMapKind::Rainbow;
};

// A legend number in the window's own number format.
std::string LegendNumberText(double value, const LegendOptions& options);

// Draw a W x H legend (W, H from the options) with the bar left to right / bottom to top.
void DrawHorizontalLegend(Canvas& canvas, const LegendOptions& options, const LegendInput& input);
void DrawVerticalLegend(Canvas& canvas, const LegendOptions& options, const LegendInput& input);

// The legend in the chosen orientation as a vector picture of W x H pixels.
QPicture BuildLegendPicture(const LegendOptions& options, const LegendInput& input);
// The picture played into an RGB32 bitmap of W x H (what the window shows).
QImage LegendBitmap(const QPicture& picture, const LegendOptions& options);

}  // namespace corvane
