// Editing the streamline tab: the seed list operations and the small reactions of its
// controls, as plain functions the window's handlers call.
#pragma once
#include <string>
#include <vector>

#include "field/FieldDataSet.h"
#include "base/Notifier.h"
#include "streamline/StreamGeometry.h"
#include "streamline/StreamOptions.h"

namespace corvane {

// Appends a row to the first empty grid row; false (nothing added) when all 99 are taken.
bool AppendSeed(StreamSeedList& list, const StreamSeed& seed);

// The add button: appends (StreamOverbox, StreamZoneSelect, StreamIBox, StreamJBox). A full list
// shows "系列が多すぎます" and adds nothing. Either way StreamLineGridSelect ends up checked.
// Returns true when a row was added.
bool AddNodeSeed(StreamOptions& options, Notifier& notifier);

// The delete button and the Delete key of the list: removes grid row `row` (the top row of the
// selection, 1..99); the rows below move up one. Rows outside the seeds change nothing.
void DeleteSeedRow(StreamSeedList& list, int row);

// The clear-all button.
void ClearSeedList(StreamSeedList& list);

// The text of one grid cell: the header in row 0, decimal integers in seed rows, "" elsewhere.
std::string SeedListCellText(const StreamSeedList& list, int row, int column);

// Spin-box maxima for a chosen zone.
struct SeedBoxLimits {
  int iMax = 100;
  int jMax = 100;
};

// The zone list's change: the maxima of StreamIBox and StreamJBox become NI - 1 and NJ - 1 of the
// chosen zone (StreamZoneSelect) and larger values are lowered to them. A choice that is not a
// zone of the data keeps the start limits of 100.
SeedBoxLimits SelectSeedZone(StreamOptions& options, const FieldDataSet& data);

// Typing into StreamXa, StreamYa, StreamXb, StreamYb or StreamDevide checks StreamLineSegment.
void SegmentEdited(StreamOptions& options);

// The tab being shown: with OpenGL on, streamlines cannot be drawn; says so (plain message).
void StreamTabShown(bool useOpenGL, Notifier& notifier);

// StreamDevide as the tracer uses it: kept within 1 .. 100, so no division by zero and no
// runaway seed count whatever the caller passes.
int ClampedDivisions(int divisions);

// The N + 1 seeds of segment AB: A + (B - A) / N * k for k = 0 .. N.
std::vector<WorldPoint> SegmentSeedPoints(const StreamOptions& options);

}  // namespace corvane
