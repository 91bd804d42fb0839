#include "data/LoadOptions.h"

namespace corvane {

const OptionTable<LoadOptions>& LoadOptionTable() {
  static const OptionTable<LoadOptions> table = [] {
    OptionTable<LoadOptions> t;
    t.Int("ZCountBox", &LoadOptions::ZCountBox, 0, 100);
    return t;
  }();
  return table;
}

}  // namespace corvane
