// Reads the 2-D structured zones of a CGNS file (first base, first FlowSolution of each zone)
// into a new data set through the CGNS mid-level library.
#pragma once
#include <optional>
#include <string>

#include "data/DataReader.h"

namespace corvane {

// Loads `path` as LoadDataFile loads a text file: the same result, and nothing of `previous`
// changes when it fails. Every refusal throws CorvaneError naming the file and the zone; the
// file's metadata is checked against its length before the node storage exists.
std::optional<LoadResult> LoadCgnsFile(const std::string& path, const LoadOptions& options,
                                       const FieldDataSet& previous, int previousZoneListCount,
                                       Notifier& notifier, Progress& progress);

}  // namespace corvane
