#include "analysis/SegmentSampling.h"

#include "field/VariableRows.h"

#include <QSaveFile>
#include <QString>
#include <algorithm>
#include <cmath>
#include <charconv>
#include <cstdint>

#include "base/Errors.h"
#include "render/NumberFormat.h"

namespace corvane {
namespace {

// Appends the crossings of one scan to a capped buffer; `overflow` is set by the first crossing
// that finds the buffer full, and the scan stops there.
class CrossingScan {
 public:
  CrossingScan(const double* x, const double* y, const double* f, WorldPoint p1, WorldPoint p2,
               std::vector<SegmentSample>& buffer)
      : x_(x), y_(y), f_(f), p1_(p1), p2_(p2), buffer_(buffer) {}

  // Tests the edge n1-n2; false once the buffer has overflowed.
  bool Edge(std::size_t n1, std::size_t n2) {
    // An edge with a node at NaN or infinity is no edge: the cells it bounds are holes.
    if (!std::isfinite(x_[n1]) || !std::isfinite(y_[n1]) || !std::isfinite(x_[n2]) || !std::isfinite(y_[n2]))
      return true;
    const EdgeHit h = SegmentEdgeIntersection(x_[n1], y_[n1], x_[n2], y_[n2], p1_, p2_);
    if (!h.hit) return true;
    if (buffer_.size() >= kMaxSegmentSamples) {
      overflow = true;
      return false;
    }
    // A hit on a node is the node itself, not a point a rounding step beside it.
    if (h.s == 0.0) buffer_.push_back({x_[n1], y_[n1], f_[n1]});
    else if (h.s == 1.0) buffer_.push_back({x_[n2], y_[n2], f_[n2]});
    else buffer_.push_back({x_[n1] + (x_[n2] - x_[n1]) * h.s, y_[n1] + (y_[n2] - y_[n1]) * h.s,
                            f_[n1] + (f_[n2] - f_[n1]) * h.s});
    return true;
  }

  bool overflow = false;

 private:
  const double* x_;
  const double* y_;
  const double* f_;
  WorldPoint p1_, p2_;
  std::vector<SegmentSample>& buffer_;
};

// Both passes over one zone's edges; false when the scan must stop.
bool ScanZone(CrossingScan& scan, std::size_t first, std::size_t ni, std::size_t nj) {
  // Pass 1: edges along j, (i, j-1)-(i, j), i outer.
  for (std::size_t i = 0; i < ni; ++i) {
    const std::size_t base = first + nj * i;
    for (std::size_t j = 1; j < nj; ++j)
      if (!scan.Edge(base + j - 1, base + j)) return false;
  }
  // Pass 2: edges along i, (i-1, j)-(i, j), j outer.
  for (std::size_t j = 0; j < nj; ++j) {
    for (std::size_t i = 1; i < ni; ++i)
      if (!scan.Edge(first + nj * (i - 1) + j, first + nj * i + j)) return false;
  }
  return true;
}

// x order with NaN after every number, so the sort always has a consistent order.
bool CoordinateLess(double a, double b) {
  if (std::isnan(a)) return false;
  if (std::isnan(b)) return true;
  return a < b;
}

}  // namespace

bool CollectCrossings(const FieldDataSet& data, int row, WorldPoint p1, WorldPoint p2,
                      std::vector<SegmentSample>& buffer) {
  buffer.clear();
  if (row < 0 || static_cast<std::size_t>(row) >= data.Values.size()) return false;
  const NodeRow& f = data.Values[static_cast<std::size_t>(row)];
  const std::size_t nodes = std::min({data.X.size(), data.Y.size(), f.size()});
  buffer.reserve(kMaxSegmentSamples);
  CrossingScan scan(data.X.data(), data.Y.data(), f.data(), p1, p2, buffer);
  for (const ZoneGrid& z : data.Zones) {
    if (z.NI <= 0 || z.NJ <= 0 || z.FirstNode < 0) continue;
    const std::size_t first = static_cast<std::size_t>(z.FirstNode);
    const std::size_t ni = static_cast<std::size_t>(z.NI), nj = static_cast<std::size_t>(z.NJ);
    if (first > nodes || ni * nj > nodes - first) continue;  // sizes are at most 2^31, no overflow
    if (!ScanZone(scan, first, ni, nj)) break;
  }
  return scan.overflow;
}

// One stable sort by (x, y) orders exactly as a stable sort by y followed by a stable sort by x.
// The coordinates are compared as the file prints them (15 significant digits): the edges that
// meet where the segment ends on a node each compute that point a rounding step apart, and
// two lines for one printed point would be one too many.
std::size_t SortAndMergeSamples(std::vector<SegmentSample>& samples) {
  struct Keyed {
    double x, y;
    SegmentSample sample;
  };
  auto printed = [](double v) {
    if (!std::isfinite(v)) return v;
    const std::string text = FormatSampleNumber(v);
    double read = v;
    std::from_chars(text.data(), text.data() + text.size(), read);  // in any locale
    return read;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(samples.size());
  for (const SegmentSample& s : samples) keyed.push_back({printed(s.x), printed(s.y), s});
  std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
    if (CoordinateLess(a.x, b.x)) return true;
    if (CoordinateLess(b.x, a.x)) return false;
    return CoordinateLess(a.y, b.y);
  });
  std::size_t kept = 0;
  for (std::size_t n = 0; n < keyed.size(); ++n) {
    if (kept > 0 && keyed[n].x == keyed[kept - 1].x && keyed[n].y == keyed[kept - 1].y) continue;
    keyed[kept] = keyed[n];
    samples[kept++] = keyed[n].sample;
  }
  samples.resize(kept);
  return kept;
}

std::string FormatSampleNumber(double value) {
  static const NumberFormat kFormat{NumberStyle::Exponent, 15, 0};
  return FormatAxisNumber(value, kFormat);
}

std::string AnalysisFileText(const std::string& caption, const std::vector<SegmentSample>& samples) {
  std::string text = "x" + std::string(22, ' ') + "y" + std::string(22, ' ') + caption + "\r\n";
  text.reserve(text.size() + samples.size() * 72);
  for (const SegmentSample& s : samples) {
    text += FormatSampleNumber(s.x);
    text += "    ";
    text += FormatSampleNumber(s.y);
    text += "    ";
    text += FormatSampleNumber(s.value);
    text += "\r\n";
  }
  return text;
}

std::optional<std::string> VariableCaption(const FieldDataSet& data, int row, bool includeVelocity) {
  if (row < 0 || static_cast<std::size_t>(row) >= data.Values.size()) return std::nullopt;
  const std::size_t r = static_cast<std::size_t>(row);
  if (r < data.VariableNames.size()) return data.VariableNames[r];
  if (!includeVelocity) return std::nullopt;
  if (row == data.MachNumberRow()) return std::string("マッハ数");
  return RowCaption(data, row);
}

void WriteAnalysisFile(const std::string& path, const std::string& text) {
  QSaveFile file(QString::fromStdString(path));
  const bool ok = file.open(QIODevice::WriteOnly) &&
                  file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()) &&
                  file.commit();
  if (!ok) throw CorvaneError("解析結果のファイル " + path + " を作成できません: " + file.errorString().toStdString());
}

AnalysisRunResult RunSegmentAnalysis(const FieldDataSet& data, int row, bool includeVelocity,
                                     const AnalysisOptions& analysis, const std::string& path, Notifier& notifier) {
  AnalysisRunResult result;
  const std::optional<std::string> caption = VariableCaption(data, row, includeVelocity);
  if (!caption) return result;
  const ResolvedEndpoint a = ResolveEndpoint(data, analysis, SegmentPoint::First);
  const ResolvedEndpoint b = ResolveEndpoint(data, analysis, SegmentPoint::Second);
  if (!a.valid || !b.valid) {
    notifier.Warning(!a.valid ? a.problem : b.problem);
    result.status = AnalysisRunResult::Status::BadEndpoint;
    return result;
  }
  std::vector<SegmentSample> samples;
  result.truncated = CollectCrossings(data, row, a.point, b.point, samples);
  if (result.truncated) notifier.Message(kTooManySamplesMessage);
  result.sampleCount = SortAndMergeSamples(samples);
  WriteAnalysisFile(path, AnalysisFileText(*caption, samples));
  result.status = AnalysisRunResult::Status::Written;
  result.path = path;
  result.openAfterwards = analysis.OpenAnalyzed;
  return result;
}

}  // namespace corvane
