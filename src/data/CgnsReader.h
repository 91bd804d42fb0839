// Reads the 2-D structured zones of a CGNS file (first base, first FlowSolution of each zone)
// into a new data set through the CGNS mid-level library.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "data/DataReader.h"

namespace corvane {

// Loads `path` as LoadDataFile loads a text file: the same result, and nothing of `previous`
// changes when it fails. Every refusal throws CorvaneError naming the file and the zone; the
// file's metadata is checked against its length before the node storage exists. `step` chooses
// the FlowSolution of every zone (0: the first), a step of a time series.
std::optional<LoadResult> LoadCgnsFile(const std::string& path, const LoadOptions& options,
                                       const FieldDataSet& previous, int previousZoneListCount,
                                       Notifier& notifier, Progress& progress, int step = 0);

// The times of the steps of the first base: one per FlowSolution of its first zone, from the
// base's BaseIterativeData (TimeValues) when it has them, else 0, 1, 2, ...
std::vector<double> CgnsStepTimes(const std::string& path);

}  // namespace corvane
