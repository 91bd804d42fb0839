#include "contour/ContourOptions.h"

namespace corvane {

namespace {

// A contour range box: the number is kept as typed and applied after the load; empty while unset.
void AddRangeBox(OptionTable<ContourOptions>& t, const char* name, std::optional<double> ContourOptions::*field) {
  t.Add(
      name,
      [field](ContourOptions& o, std::string_view c, std::string_view v) {
        o.*field = ParseDoubleValue(c, v);
      },
      [field](const ContourOptions& o) { return o.*field ? FormatOptionNumber(*(o.*field)) : std::string(); });
}

}  // namespace

// Control names of the colour tab and the contour-label group.
const OptionTable<ContourOptions>& ContourOptionTable() {
  static const OptionTable<ContourOptions> table = [] {
    OptionTable<ContourOptions> t;
    t.Radio("ColorMap1", &ContourOptions::colourMap, ColourMapKind::Rainbow);
    t.Radio("ColorMap2", &ContourOptions::colourMap, ColourMapKind::RedBlue);
    t.Radio("GrayMap1", &ContourOptions::colourMap, ColourMapKind::Gray1);
    t.Radio("GrayMap2", &ContourOptions::colourMap, ColourMapKind::Gray2);
    t.Radio("ViridisMap", &ContourOptions::colourMap, ColourMapKind::Viridis);
    t.Radio("CividisMap", &ContourOptions::colourMap, ColourMapKind::Cividis);
    t.Radio("CoolWarmMap", &ContourOptions::colourMap, ColourMapKind::CoolWarm);
    t.Bool("QuickFill", &ContourOptions::QuickFill);
    t.Bool("FixLineColor", &ContourOptions::FixLineColor);
    t.Add(
        "Shape1",
        [](ContourOptions& o, std::string_view c, std::string_view v) {
          o.fixedLineColour = ParseColourValue(c, v);
          o.lineColourChosen = true;
        },
        [](const ContourOptions& o) { return FormatColourValue(o.fixedLineColour); });
    t.Int("ContLineWid", &ContourOptions::ContLineWid, 1, 10);
    t.Bool("ShowLabel", &ContourOptions::ShowLabel);
    t.Int("LabelSukima", &ContourOptions::labelGap, 0, 200);
    t.Bool("BackClear", &ContourOptions::BackClear);
    t.Bool("LabelRegulate", &ContourOptions::LabelRegulate);
    t.Int("LabelMin", &ContourOptions::LabelMin, 0, 100);
    t.Int("LabelMax", &ContourOptions::LabelMax, 0, 100);
    t.Add(
        "LabelExp",
        [](ContourOptions& o, std::string_view c, std::string_view v) {
          o.LabelExp.colour = ParseColourValue(c, v);
          o.labelColourChosen = true;
        },
        [](const ContourOptions& o) { return FormatColourValue(o.LabelExp.colour); });
    AddRangeBox(t, "MaxBox", &ContourOptions::MaxBox);
    AddRangeBox(t, "MinBox", &ContourOptions::MinBox);
    AddRangeBox(t, "StepBox", &ContourOptions::StepBox);
    return t;
  }();
  return table;
}

FontSpec LabelFontFor(const ContourOptions& options, bool whiteBack) {
  FontSpec font = options.LabelExp;
  if (whiteBack && !options.labelColourChosen && font.colour == kWhite) font.colour = kBlack;
  return font;
}

Colour FixedLineColourFor(const ContourOptions& options, bool whiteBack) {
  if (whiteBack && !options.lineColourChosen && options.fixedLineColour == kWhite) return kBlack;
  return options.fixedLineColour;
}

}  // namespace corvane
