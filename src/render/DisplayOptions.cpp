#include "render/DisplayOptions.h"

namespace corvane {
namespace {

// One radio button of the number-format group: "1" selects its style.
void FormatRadio(OptionTable<DisplayOptions>& t, const char* name, NumberStyle style) {
  t.Add(
      name,
      [style](DisplayOptions& o, std::string_view c, std::string_view v) {
        if (ParseBoolValue(c, v)) o.numberFormat.style = style;
      },
      [style](const DisplayOptions& o) { return FormatBoolValue(o.numberFormat.style == style); });
}

// A spin edit of the number format; clamps as the control does.
void FormatSpin(OptionTable<DisplayOptions>& t, const char* name, int NumberFormat::*field) {
  t.Add(
      name,
      [field](DisplayOptions& o, std::string_view c, std::string_view v) {
        const long long n = ParseIntegerValue(c, v);
        o.numberFormat.*field = static_cast<int>(n < 1 ? 1 : (n > 20 ? 20 : n));
      },
      [field](const DisplayOptions& o) { return std::to_string(o.numberFormat.*field); });
}

}  // namespace

const OptionTable<DisplayOptions>& DisplayOptionTable() {
  static const OptionTable<DisplayOptions> table = [] {
    using D = DisplayOptions;
    OptionTable<D> t;
    t.Bool("WhiteBack", &D::WhiteBack);
    t.Bool("ShowGrid", &D::ShowGrid);
    t.Bool("GridForward", &D::GridForward);
    t.Bool("ShowVec", &D::ShowVec);
    t.Double("VecScaleBox", &D::arrowScale);
    t.Bool("ShowXYLabel", &D::ShowXYLabel);
    t.Text("XTitleBox", &D::XTitleBox);
    t.Text("YTitleBox", &D::YTitleBox);
    t.Bool("XYSameScale", &D::XYSameScale);
    FormatRadio(t, "ShowExpCheck", NumberStyle::Exponent);
    FormatRadio(t, "ShowFixCheck", NumberStyle::Fixed);
    FormatRadio(t, "ShowAutoCheck", NumberStyle::General);
    FormatSpin(t, "PrecisionBox", &NumberFormat::precision);
    FormatSpin(t, "DigitsBox", &NumberFormat::digits);
    t.Int("writetimes", &D::overlayCopies, 0, 10);
    t.Double("xoffsetbox", &D::copyOffsetX);
    t.Double("yoffsetbox", &D::copyOffsetY);
    t.Bool("ShowContour", &D::ShowContour);
    t.Bool("BrushCheck", &D::BrushCheck);
    t.Bool("LineCheck", &D::LineCheck);
    t.Bool("BMPModeCheck", &D::BMPModeCheck);
    t.Bool("ShowSegment", &D::ShowSegment);
    t.Bool("RealDrawSegment", &D::RealDrawSegment);
    // The other radio button of the segment group: selecting it clears RealDrawSegment.
    t.Add(
        "QuickDrawSegment",
        [](D& o, std::string_view c, std::string_view v) {
          if (ParseBoolValue(c, v)) o.RealDrawSegment = false;
        },
        [](const D& o) { return FormatBoolValue(!o.RealDrawSegment); });
    t.Bool("DrawStreamLineCheck", &D::DrawStreamLineCheck);
    t.Bool("UseOpenGL", &D::UseOpenGL);
    t.Bool("SmoothCheck", &D::SmoothCheck);
    t.Bool("ColourBarCheck", &D::ColourBarCheck);
    t.Bool("MergeBandsCheck", &D::MergeBandsCheck);
    t.Bool("Showi0", &D::edgeI0);
    t.Bool("Showimax", &D::edgeIMax);
    t.Bool("Showj0", &D::edgeJ0);
    t.Bool("showjmax", &D::edgeJMax);
    t.Double("x0box", &D::x0box);
    t.Double("y0box", &D::y0box);
    t.Double("xscalebox", &D::xscalebox);
    t.Double("yscalebox", &D::yscalebox);
    t.Int("TViewForm.Width", &D::PictureWindowWidth, 1, 20000);
    t.Int("TViewForm.Height", &D::PictureWindowHeight, 1, 20000);
    return t;
  }();
  return table;
}

}  // namespace corvane
