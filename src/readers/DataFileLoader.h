// Chooses the reader of a data file (by the table of formats) and loads it. Every caller that
// opens a data file goes through here, so all formats are taken everywhere.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "readers/DataReader.h"

namespace corvane {

// The format of a file as the table of formats (DataFormats.h) finds it: by content first,
// then by extension, else a text grid. `bytes` are the file's (only its head is looked at).
DataFileFormat DetectDataFileFormat(const std::string& path, std::string_view bytes);
// The same, opening the file at `path` for its bytes.
DataFileFormat DetectDataFileFormat(const std::string& path);

// Loads `path` with the reader its format needs; the arguments and the result are those of
// LoadDataFile, whose data-layout options apply to text files only. A failed load changes
// nothing of `previous`.
std::optional<LoadResult> LoadAnyDataFile(const std::string& path, const LoadOptions& options,
                                          const FieldView& previous, int previousZoneListCount,
                                          Notifier& notifier, Progress& progress);

// After a load: the rows 渦度 and 速さ when the velocity columns exist, then the formula variables
// of options.formulas (one that fails is reported and left out), their contour ranges when the
// automatic ranges are on.
void CompleteVariables(LoadResult& result, const LoadOptions& options, Notifier& notifier);

}  // namespace corvane
