#include "streamline/StreamOptions.h"

namespace corvane {

const OptionTable<StreamOptions>& StreamOptionTable() {
  static const OptionTable<StreamOptions> table;
  return table;
}

}  // namespace corvane
