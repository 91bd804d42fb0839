// Chooses the reader of a data file (by the table of formats) and reads it. Every load of a data
// file goes through here, so all formats are taken everywhere.
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

// Reads `path` with the reader its format needs; the arguments and the result are those of
// LoadDataFile, whose data-layout options apply to text files only.
std::optional<FileContents> ReadAnyDataFile(const std::string& path, const LoadOptions& options, Notifier& notifier,
                                            Progress& progress);

}  // namespace corvane
