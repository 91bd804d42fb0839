// Where a data set's nodes crowd: the part of the extents a first view is best fitted to when a
// body sits in a far field many times its size (a whole-extents fit shows it as a dot).
#pragma once
#include <optional>

#include "field/FieldDataSet.h"
#include "render/ViewTransform.h"

namespace corvane {

// The box of the middle part of the nodes in x and in y (the 20th to the 80th percentile),
// widened by a tenth on each side, when it covers less than a tenth of the extents' area; nothing
// for evenly spread data, too few nodes, or a box without width or height.
std::optional<Extents> DenseExtents(const FieldDataSet& data);

}  // namespace corvane
