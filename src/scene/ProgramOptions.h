// Every option of the program, gathered from the option structs of the subsystems. The windows
// build it from their controls when a command starts; the command line builds it from the
// settings file and `--set`.
#pragma once
#include "analysis/AnalysisOptions.h"
#include "contour/ContourOptions.h"
#include "data/LoadOptions.h"
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
