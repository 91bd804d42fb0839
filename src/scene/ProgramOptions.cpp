#include "scene/ProgramOptions.h"

namespace corvane {

const OptionTable<ProgramOptions>& ProgramOptionTable() {
  static const OptionTable<ProgramOptions> table = [] {
    OptionTable<ProgramOptions> t;
    t.Int("RGroup", &ProgramOptions::RGroup, 0, 1 << 30);
    t.AddAll(LoadOptionTable(), &ProgramOptions::load);
    t.AddAll(DisplayOptionTable(), &ProgramOptions::display);
    t.AddAll(ContourOptionTable(), &ProgramOptions::contour);
    t.AddAll(StreamOptionTable(), &ProgramOptions::stream);
    t.AddAll(AnalysisOptionTable(), &ProgramOptions::analysis);
    return t;
  }();
  return table;
}

}  // namespace corvane
