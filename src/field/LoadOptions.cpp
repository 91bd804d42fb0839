#include "field/LoadOptions.h"

namespace corvane {

const OptionTable<LoadOptions>& LoadOptionTable() {
  static const OptionTable<LoadOptions> table = [] {
    OptionTable<LoadOptions> t;
    t.Int("ZCountBox", &LoadOptions::ZCountBox, 0, 100);
    t.Int("XYNumLineBox", &LoadOptions::XYNumLineBox, 0, 999);
    t.Int("LabelLineBox", &LoadOptions::LabelLineBox, 0, 999);
    t.Int("DataStartLineBox", &LoadOptions::DataStartLineBox, 0, 999);
    t.Radio("DataSSV", &LoadOptions::separator, Separator::Spaces);
    t.Radio("DataCSV", &LoadOptions::separator, Separator::Commas);
    t.Radio("DataTSV", &LoadOptions::separator, Separator::Tabs);
    t.Radio("DataIJ", &LoadOptions::loopOrder, LoopOrder::IJ);
    t.Radio("DataJI", &LoadOptions::loopOrder, LoopOrder::JI);
    t.Bool("IncludeVelCheck", &LoadOptions::IncludeVelCheck);
    // Item indices of the column selectors; -1 leaves the choice to the names U, V, T, P.
    t.Int("xvecbox", &LoadOptions::xvecbox, -1, 1 << 20);
    t.Int("yvecbox", &LoadOptions::yvecbox, -1, 1 << 20);
    t.Int("tmpbox", &LoadOptions::tmpbox, -1, 1 << 20);
    t.Int("prsBox", &LoadOptions::prsBox, -1, 1 << 20);
    t.Double("gammaBox", &LoadOptions::gammaBox);
    t.Double("RBox", &LoadOptions::RBox);
    t.Bool("AutoMaxMinCheck", &LoadOptions::AutoMaxMinCheck);
    t.Bool("AutoStepCheck", &LoadOptions::AutoStepCheck);
    t.Int("StepBar", &LoadOptions::StepBar, 2, 100);
    t.Bool("RoundLevelsCheck", &LoadOptions::RoundLevelsCheck);
    t.Int("ICompress2", &LoadOptions::ICompress2, 1, 10);
    t.Int("JCompress2", &LoadOptions::JCompress2, 1, 10);
    // Read back, the newest formula (empty while there is none).
    t.Add(
        "Formula",
        [](LoadOptions& o, std::string_view, std::string_view v) {
          if (v.find_first_not_of(" \t") == std::string_view::npos)
            o.formulas.clear();
          else
            o.formulas.emplace_back(v);
        },
        [](const LoadOptions& o) { return o.formulas.empty() ? std::string() : o.formulas.back(); });
    return t;
  }();
  return table;
}

}  // namespace corvane
