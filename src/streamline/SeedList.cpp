#include "streamline/SeedList.h"

#include <algorithm>

namespace corvane {

int ClampedDivisions(int divisions) {
  // A count of 0 would put every seed at a NaN; the spin box never allows it anyway.
  return std::clamp(divisions, 1, 100);
}

bool AppendSeed(StreamSeedList& list, const StreamSeed& seed) {
  if (list.seeds.size() >= static_cast<std::size_t>(StreamSeedList::kMaxSeeds)) return false;
  list.seeds.push_back(seed);
  return true;
}

bool AddNodeSeed(StreamOptions& options, Notifier& notifier) {
  const StreamSeed seed{options.StreamOverbox, options.StreamZoneSelect, options.StreamIBox, options.StreamJBox};
  const bool added = AppendSeed(options.StreamList, seed);
  if (!added) notifier.Message("系列が多すぎます");
  options.StreamLineGridSelect = true;
  return added;
}

void DeleteSeedRow(StreamSeedList& list, int row) {
  if (row < 1 || row > static_cast<int>(list.seeds.size())) return;
  list.seeds.erase(list.seeds.begin() + (row - 1));
}

void ClearSeedList(StreamSeedList& list) { list.seeds.clear(); }

std::string SeedListCellText(const StreamSeedList& list, int row, int column) {
  if (column < 0 || column >= StreamSeedList::kColumnCount) return {};
  if (row == 0) return kStreamListHeader[static_cast<std::size_t>(column)];
  if (row < 1 || row > static_cast<int>(list.seeds.size())) return {};
  const StreamSeed& s = list.seeds[static_cast<std::size_t>(row - 1)];
  const std::int32_t cells[4] = {s.copy, s.zone, s.i, s.j};
  return std::to_string(cells[column]);
}

SeedBoxLimits SelectSeedZone(StreamOptions& options, const FieldDataSet& data) {
  SeedBoxLimits limits;
  const int zone = options.StreamZoneSelect;
  if (zone < 0 || zone >= data.ZoneCount || zone >= static_cast<int>(data.Zones.size())) return limits;
  const ZoneGrid& z = data.Zones[static_cast<std::size_t>(zone)];
  limits.iMax = std::max(z.NI - 1, 0);
  limits.jMax = std::max(z.NJ - 1, 0);
  options.StreamIBox = std::min(options.StreamIBox, limits.iMax);
  options.StreamJBox = std::min(options.StreamJBox, limits.jMax);
  return limits;
}

void SegmentEdited(StreamOptions& options) { options.StreamLineSegment = true; }

void StreamTabShown(bool useOpenGL, Notifier& notifier) {
  if (useOpenGL) notifier.Message("OpenGL時には流線を描くことはできません");
}

std::vector<WorldPoint> SegmentSeedPoints(const StreamOptions& options) {
  const int n = ClampedDivisions(options.StreamDevide);
  const double xa = options.StreamXa, ya = options.StreamYa;
  const double xb = options.StreamXb, yb = options.StreamYb;
  std::vector<WorldPoint> points;
  points.reserve(static_cast<std::size_t>(n) + 1);
  for (int k = 0; k <= n; ++k) points.push_back({xa + (xb - xa) / n * k, ya + (yb - ya) / n * k});
  return points;
}

}  // namespace corvane
