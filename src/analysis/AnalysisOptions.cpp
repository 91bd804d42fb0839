#include "analysis/AnalysisOptions.h"

namespace corvane {

const OptionTable<AnalysisOptions>& AnalysisOptionTable() {
  static const OptionTable<AnalysisOptions> table;
  return table;
}

}  // namespace corvane
