// Reads the 2-D structured zones of a CGNS file (first base, first FlowSolution of each zone)
// into a new data set. The CGNS library crashes on some damaged files, so it runs only in a
// reading process of its own (CgnsProcess.h); this program's process never calls it.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "readers/DataReader.h"
#include "readers/MappedFile.h"
#include "readers/StructuredLoad.h"

namespace corvane {

// Loads `path` as LoadDataFile loads a text file: the same result. Every refusal throws
// CorvaneError naming the file and the zone; the file's metadata is checked against its length
// (or, for arrays HDF5 may have compressed, against the memory of the reading) before any
// storage exists. A reading process that crashes,
// aborts or overruns its time or memory is refused naming the file. `step` chooses the
// FlowSolution of every zone (0: the first), a step of a time series.
std::optional<FileContents> LoadCgnsFile(const std::string& path, const LoadOptions& options,
                                         Notifier& notifier, Progress& progress, int step = 0);
// The same for a file already opened (a stream's bytes are handed to the reading process).
std::optional<FileContents> LoadCgnsFile(const MappedFile& file, const LoadOptions& options,
                                         Notifier& notifier, Progress& progress, int step = 0);

// The times of the steps of the first base: one per FlowSolution of its first zone, from the
// base's BaseIterativeData (TimeValues) when it has them, else 0, 1, 2, ... (read by the
// reading process, with the first step).
std::vector<double> CgnsStepTimes(const std::string& path);

// What the reading process finds besides the values.
struct CgnsContent {
  struct Zone {
    std::string name;
    ZoneSize size;
  };
  std::vector<std::string> baseNames;  // every base; the first is read
  std::string solutionName;            // of the first zone
  bool cellCentred = false;            // some zone's values were averaged from cells
  std::vector<std::string> variables;  // the arrays of the FlowSolution
  std::vector<Zone> zones;             // in the order they were written
  std::vector<double> times;           // of the steps (FlowSolutions of the first zone)
};

// The reading itself, through the CGNS library (the reading process only): checks everything,
// asks `storage` for rows of all nodes (x, y, then each variable, one after another, zones in
// order) and fills them, with the FlowSolution of `step`. `memoryLimit` bounds what the arrays may claim: for an ADF file (never
// compressed) its length in stored bytes, for an HDF5 file the memory in doubles.
// Throws CorvaneError naming `shownPath`.
void ReadCgnsWithLibrary(const std::string& openPath, const std::string& shownPath, std::uint64_t memoryLimit,
                         int step, const std::function<double*(const CgnsContent&)>& storage);

}  // namespace corvane
