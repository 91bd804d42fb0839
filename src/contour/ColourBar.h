// The colour bar drawn on the picture itself, in a strip at its right edge: the bands of the
// contour range in the picture's band colours, ticks at the levels, numbers at the ticks that
// have room, and the variable's name above.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "contour/ColourMap.h"
#include "render/Canvas.h"
#include "render/NumberFormat.h"

namespace corvane {

struct ColourBarInput {
  double lo = 0.0, hi = 1.0, step = 0.1;  // the contour range and step of the drawn variable
  ColourMapKind kind = ColourMapKind::Rainbow;
  NumberFormat format;  // the axis number format (its roundStep set with round levels)
  std::string title;    // the variable's name
  FontSpec font;        // the axis font
  Colour foreground = kWhite, background = kBlack;
};

// Text size in the bar's font (width, height).
using BarTextMeasure = std::function<std::pair<int, int>(const std::string&)>;

struct ColourBarTick {
  int y = 0;          // pixel row of the level
  double level = 0.0;
  std::string text;   // empty when the number was thinned out
};

// The bar's geometry in a picture: the strip it owns, the bar inside it and its ticks.
struct ColourBarLayout {
  int stripLeft = 0, stripWidth = 0;
  int barLeft = 0, barRight = 0, barTop = 0, barBottom = 0;  // the band rectangle; hi at the top
  int titleX = 0, titleY = 0;
  std::vector<ColourBarTick> ticks;
};

// Whether the input can make a bar: a finite range hi > lo and a finite step above zero.
bool ColourBarDrawable(const ColourBarInput& in);

// Width of the strip the bar takes at the right of a picture `width` pixels wide (never more
// than a third of it); 0 when no bar can be drawn.
int ColourBarStripWidth(const ColourBarInput& in, int width, const BarTextMeasure& measure);

// Places the bar in a width x height picture whose bottom `bottomMargin` rows belong to the x axis.
// Every level between lo and hi gets a tick (thinned when ticks would touch); numbers go to every
// k-th level, k the smallest of 1, 2, 5, 10, 20, 50 ... whose numbers all keep apart, and
// any number that would still touch the previous one is dropped.
ColourBarLayout LayoutColourBar(const ColourBarInput& in, int width, int height, int bottomMargin,
                                const BarTextMeasure& measure);

// Draws the strip: background, bands, frame, ticks, numbers and title. Leaves the canvas with a
// solid brush, the pen in the foreground colour and the font it found.
void DrawColourBar(Canvas& canvas, const ColourBarInput& in, int width, int height, int bottomMargin);

}  // namespace corvane
