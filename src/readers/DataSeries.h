// A time series: several data files given together, the solution times of a Tecplot file, the
// flow solutions of a CGNS base, or the steps of a VTK .pvd series, read one frame at a time. Each frame is loaded as its file would be on its own.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "readers/DataReader.h"

namespace corvane {

struct SeriesFrame {
  std::string path;
  DataFileFormat format = DataFileFormat::Text;
  int step = 0;                // the file's step (Tecplot time, CGNS FlowSolution, .pvd time), 0 for a file of one step
  std::optional<double> time;  // the step's solution time, when the file gives one
};

// The frames of `paths` in order: one per file, or one per step for a Tecplot file of several
// solution times, a CGNS file of several flow solutions and a .pvd series. Throws CorvaneError when such a
// file cannot be read.
std::vector<SeriesFrame> SeriesFrames(const std::vector<std::string>& paths);

// Reads one frame: a later step of a file by its format's reader, else the file as
// ReadAnyDataFile reads it.
std::optional<FileContents> ReadSeriesFrame(const SeriesFrame& frame, const LoadOptions& options, Notifier& notifier,
                                            Progress& progress);

}  // namespace corvane
