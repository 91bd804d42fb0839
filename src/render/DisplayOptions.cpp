#include "render/DisplayOptions.h"

namespace corvane {

const OptionTable<DisplayOptions>& DisplayOptionTable() {
  static const OptionTable<DisplayOptions> table = [] {
    OptionTable<DisplayOptions> t;
    t.Bool("WhiteBack", &DisplayOptions::WhiteBack);
    return t;
  }();
  return table;
}

}  // namespace corvane
