// Sampling of the selected variable along the analysis segment and the text file of the samples.
// The samples are exactly the points where the segment crosses a grid line of any zone, the value
// interpolated linearly along the crossed edge; they are ordered by x (ties by y), points with
// identical coordinates are kept once, and the file has one header line and one line per sample.
//
// The analysis tab's AnalyzeButtonClick: run the save dialog (kAnalysisFileSuffix,
// kAnalysisFileFilter, confirm overwrite); if accepted, RunSegmentAnalysis(data, options, path,
// notifier); a CorvaneError goes to the default error box; when the result says
// openAfterwards, open result.path with QDesktopServices::openUrl(QUrl::fromLocalFile(...)).
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "analysis/SegmentEndpoints.h"
#include "field/FieldDataSet.h"
#include "base/Notifier.h"
#include "analysis/AnalysisOptions.h"

namespace corvane {

struct SegmentSample {
  double x = 0.0;      // world point of the crossing
  double y = 0.0;
  double value = 0.0;  // interpolated value of the analysed variable
};

// At most this many crossings are kept; more are announced with kTooManySamplesMessage.
constexpr std::size_t kMaxSegmentSamples = 1000;
inline constexpr char kTooManySamplesMessage[] = "データが多すぎるので、途中で打ち切ります";
inline constexpr char kAnalysisFileSuffix[] = "dat";
inline constexpr char kAnalysisFileFilter[] = "データファイル (*.dat)";

// Where the edge N1-N2 crosses the segment P1-P2: s along the edge (0 at N1), r along the
// segment (0 at P1). A hit needs 0 <= r <= 1 and 0 <= s <= 1, ends included; parallel lines
// (collinear ones too) never hit. s is computed only when r is in range.
struct EdgeHit {
  bool hit = false;
  double s = 0.0;
  double r = 0.0;
};

inline EdgeHit SegmentEdgeIntersection(double x1, double y1, double x2, double y2, WorldPoint p1, WorldPoint p2) {
  EdgeHit h;
  const double den = (p2.x - p1.x) * (y1 - y2) - (x1 - x2) * (p2.y - p1.y);
  if (den == 0.0) return h;
  h.r = ((y1 - y2) * (x1 - p1.x) + (x2 - x1) * (y1 - p1.y)) / den;
  if (!(h.r >= 0.0 && h.r <= 1.0)) return h;  // NaN fails here too
  h.s = ((p1.y - p2.y) * (x1 - p1.x) + (p2.x - p1.x) * (y1 - p1.y)) / den;
  h.hit = h.s >= 0.0 && h.s <= 1.0;
  return h;
}

// Every crossing of the segment with a grid edge, zone by zone: first the edges along j (i outer),
// then the edges along i (j outer). `buffer` receives at most kMaxSegmentSamples records in that
// scan order. Returns true when a further crossing was found and left out (the scan stops there).
// A value row that does not exist gives no records; zones whose nodes lie outside the arrays are
// skipped.
bool CollectCrossings(const FieldDataSet& data, int row, WorldPoint p1, WorldPoint p2,
                      std::vector<SegmentSample>& buffer);

// Orders the samples by x, ties by y, keeping the scan order of equal points (a stable sort), then
// drops every sample whose x and y both equal those of the sample kept before it, coordinates
// taken as the file prints them. Returns the number kept (the vector is shortened to it). NaN
// coordinates sort after all numbers.
std::size_t SortAndMergeSamples(std::vector<SegmentSample>& samples);

// 15 significant digits in exponent form: 0.5 -> "5.00000000000000E-1", 0 -> "0.00000000000000E+0".
std::string FormatSampleNumber(double value);

// The file's bytes: the header "x", 22 blanks, "y", 22 blanks, the caption; then "x    y    value"
// per sample; every line ended by CR LF; UTF-8.
std::string AnalysisFileText(const std::string& caption, const std::vector<SegmentSample>& samples);

// The RGroup caption of a value row (file variables, then マッハ数 and 全圧 when the data has
// velocity), or nothing when the row cannot be selected or has no values.
std::optional<std::string> VariableCaption(const FieldDataSet& data, int row, bool includeVelocity);

// Writes the file whole or not at all (an existing file is replaced only when the new one is
// complete). Throws CorvaneError naming the file when it cannot be written.
void WriteAnalysisFile(const std::string& path, const std::string& text);

struct AnalysisRunResult {
  enum class Status {
    Written,      // the file was written
    NoVariable,   // no selectable variable in RGroup: nothing done, nothing shown
    BadEndpoint,  // a node end point has no valid node: a warning was shown, no file written
  };
  Status status = Status::NoVariable;
  std::size_t sampleCount = 0;  // lines after the header
  bool truncated = false;       // crossings beyond kMaxSegmentSamples were left out
  std::string path;             // the written file
  bool openAfterwards = false;  // OpenAnalyzed was checked: open `path` with the desktop's program
};

// The whole analysis after the save dialog: resolve both end points (`analysis`), collect the
// crossings of variable `row` (captioned as with or without velocity data), sort and merge, write
// `path`. Typed coordinates that are not numbers and a file that
// cannot be written throw CorvaneError before or instead of writing.
AnalysisRunResult RunSegmentAnalysis(const FieldDataSet& data, int row, bool includeVelocity,
                                     const AnalysisOptions& analysis, const std::string& path, Notifier& notifier);

}  // namespace corvane
