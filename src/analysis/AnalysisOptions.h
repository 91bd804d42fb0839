// Options of the controls of this subsystem's tab, by control name.
#pragma once
#include "data/OptionTable.h"

namespace corvane {

struct AnalysisOptions {
};

const OptionTable<AnalysisOptions>& AnalysisOptionTable();

}  // namespace corvane
