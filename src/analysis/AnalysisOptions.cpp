#include "analysis/AnalysisOptions.h"

#include <limits>

namespace corvane {

const OptionTable<AnalysisOptions>& AnalysisOptionTable() {
  static const OptionTable<AnalysisOptions> table = [] {
    using A = AnalysisOptions;
    OptionTable<A> t;
    // The zone lists hold at most 100 zones; the i and j boxes are bounded by the zone only
    // when the point is used, since the options are read before any data is loaded.
    constexpr long long kIndexMax = std::numeric_limits<std::int32_t>::max();
    t.Int("P1Zone", &A::P1Zone, -1, 99);
    t.Int("P1i", &A::P1i, 0, kIndexMax);
    t.Int("P1j", &A::P1j, 0, kIndexMax);
    t.Bool("P1Direct", &A::P1Direct);
    t.Text("P1x", &A::P1x);
    t.Text("P1y", &A::P1y);
    t.Bool("P1ByClick", &A::P1ByClick);
    t.Int("P2Zone", &A::P2Zone, -1, 99);
    t.Int("P2i", &A::P2i, 0, kIndexMax);
    t.Int("P2j", &A::P2j, 0, kIndexMax);
    t.Bool("P2Direct", &A::P2Direct);
    t.Text("P2x", &A::P2x);
    t.Text("P2y", &A::P2y);
    t.Bool("P2ByClick", &A::P2ByClick);
    t.Bool("OpenAnalyzed", &A::OpenAnalyzed);
    t.Colour("SegmentColor", &A::segmentColour);
    return t;
  }();
  return table;
}

}  // namespace corvane
