// Every option of the program, gathered from the option structs of the subsystems, which hold
// every default. The windows keep it in their state (their controls show it and write it through
// the table); the command line and the Python module build it from the settings file and `--set`.
#pragma once
#include "analysis/AnalysisOptions.h"
#include "contour/ContourOptions.h"
#include "field/LoadOptions.h"
#include "render/DisplayOptions.h"
#include "streamline/StreamOptions.h"

namespace corvane {

struct ProgramOptions {
  int RGroup = 0;  // selected variable (value row)
  LoadOptions load;
  DisplayOptions display;
  ContourOptions contour;
  StreamOptions stream;
  AnalysisOptions analysis;
};

const OptionTable<ProgramOptions>& ProgramOptionTable();

}  // namespace corvane
