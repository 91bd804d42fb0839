// Reading the data lines of a text grid file into the node rows, on both cores, in windows of
// the file: the text is copied into one small buffer per thread and never held whole, and the
// line numbers come from counting breaks window by window in the same pass.
#pragma once
#include <cstdint>
#include <vector>

#include "field/FieldDataSet.h"
#include "field/LoadOptions.h"
#include "readers/MappedFile.h"
#include "base/Progress.h"

namespace corvane {

// What to read and where to put it. Rows are indexed by node, and no two are the same array.
struct NodeLinesJob {
  const MappedFile* file = nullptr;
  std::size_t dataStart = 0;  // offset of the first data line (a line start)
  const std::vector<ZoneGrid>* zones = nullptr;
  std::int64_t nodeCount = 0;
  int columns = 0;  // numbers read per line: x, y and the file variables
  Separator separator = Separator::Spaces;
  LoopOrder order = LoopOrder::IJ;
  double* x = nullptr;
  double* y = nullptr;
  std::vector<double*> rows;  // the file variables' rows
  int threads = 2;                      // 1 or 2
  std::size_t windowBytes = 1u << 20;   // bytes of text per window
};

enum class NodeLinesOutcome {
  Complete,  // every node read
  Faulty,    // a line did not read or the lines ran out: the caller finds and reports the fault
  Aborted,   // the abort command was given
};

struct NodeLinesResult {
  NodeLinesOutcome outcome = NodeLinesOutcome::Faulty;
  // Extents of x and y; they start at the origin, and NaN is passed over.
  double xMax = 0.0, yMax = 0.0, xMin = 0.0, yMin = 0.0;
};

// Reads the nodes. The calling thread reads its share and reports progress (maximum: the node
// count) and honours an abort requested after the read began; a helper thread reads the rest.
// Throws CorvaneError when the file cannot be read.
NodeLinesResult ReadNodeLines(const NodeLinesJob& job, Progress& progress);

}  // namespace corvane
