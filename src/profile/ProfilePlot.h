// The x-y plot of profiles: curves with axes, ticks, titles, an optional grid and legend, the
// vertical axis optionally reversed (as pressure coefficients are drawn). One routine draws it
// on any QPainter, so the window's bitmap and the PNG, SVG and PDF files are the same picture.
#pragma once
#include <QColor>
#include <QImage>
#include <QPainter>
#include <string>
#include <vector>

namespace corvane {

struct PlotCurve {
  std::string label;
  std::vector<double> x, y;  // a point with a NaN coordinate breaks the line
  QColor colour;
  bool right = false;  // measured on the second vertical axis, at the right
};

// With a curve on the right, the plot has a second vertical axis with its own range, ticks and
// title (yTitle2), so a variable of another size (Cp beside a speed) is not flattened.
struct PlotSpec {
  std::vector<PlotCurve> curves;
  std::string xTitle, yTitle, yTitle2;
  bool reverseY = false;
  bool reverseY2 = false;
  bool grid = true;
  bool legend = true;
};

// The colour of the n-th curve (repeats after ten).
QColor CurveColour(int n);

// Ticks of an axis over [lo, hi]: about `target` steps of 1, 2 or 5 times a power of ten; the
// range is widened to whole steps. An empty or flat range gets a unit-wide one round it.
struct AxisTicks {
  double lo = 0.0, hi = 1.0, step = 0.2;
  std::vector<double> values;
};
AxisTicks NiceTicks(double lo, double hi, int target = 6);

// Puts the curves of `variable` on the second vertical axis, titled with it; `curveVariables[k]`
// is the variable of curve k. The left title keeps the other variables.
void PutVariableOnRightAxis(PlotSpec& figure, const std::vector<std::string>& curveVariables, const std::string& variable);

// Draws the plot filling `area` of the painter (white background).
void DrawProfilePlot(QPainter& painter, const QRect& area, const PlotSpec& figure);
// The plot as a bitmap.
QImage RenderProfilePlot(const PlotSpec& figure, int width, int height);
// Writes the plot to `path` in the format of its extension (.png, .svg, .pdf); width and height
// in pixels (points for PDF). Throws CorvaneError for another extension or a file that cannot be
// written.
void SaveProfilePlot(const std::string& path, const PlotSpec& figure, int width, int height);

}  // namespace corvane
