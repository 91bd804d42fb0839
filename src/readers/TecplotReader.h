// Reads the ordered 2-D zones of a Tecplot ASCII file into a new data set. A file whose zones
// carry several solution times holds several steps; one step is read at a time.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "readers/DataReader.h"

namespace corvane {

// Whether a file whose bytes are `bytes` starts as a Tecplot ASCII file does (see LooksLikeTecplot).
bool HasTecplotHeader(std::string_view bytes);

// Loads step `step` (0-based, in ascending solution time) of `path` as LoadDataFile loads a text
// file: x and y are the variables named X and Y (or CoordinateX, CoordinateY, in any case), else
// the first two; the others are the data set's variables, cell-centred ones averaged onto the
// nodes. Zones without a solution time belong to every step. Zones that are not read (finite
// elements, K > 1, no values of their own) are named in one warning. Every refusal throws CorvaneError
// naming the file and the zone or line. The values are read on
// both cores; an abort between zones gives nullopt.
std::optional<FileContents> LoadTecplotFile(const std::string& path, const LoadOptions& options,
                                            Notifier& notifier, Progress& progress, int step = 0);
// The same for a file already opened (a stream is read once).
class MappedFile;
std::optional<FileContents> LoadTecplotFile(const MappedFile& file, const LoadOptions& options,
                                            Notifier& notifier, Progress& progress, int step = 0);

// The values of [begin, end) of `text` in order (n*value standing for n copies), at most `limit`
// of them. `badAt` is where a token that is not a number starts (npos: none); `tooMany` is set
// when more than `limit` values were found.
struct TecplotValueRun {
  std::vector<double> values;
  std::size_t badAt = std::string_view::npos;
  bool tooMany = false;
};
void ReadTecplotValues(std::string_view text, std::size_t begin, std::size_t end, std::int64_t limit,
                       TecplotValueRun& run);

}  // namespace corvane
