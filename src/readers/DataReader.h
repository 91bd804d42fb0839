// Reads a text grid file described by a DataLayout into a new FieldDataSet. The caller replaces
// its data set only when the load completes, so a failed load loses nothing.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "field/FieldDataSet.h"
#include "field/LoadOptions.h"
#include "readers/MappedFile.h"
#include "base/Notifier.h"
#include "base/Progress.h"
#include "readers/SourceInfo.h"

namespace corvane {

// The status a reader leaves when the abort command stopped its load.
inline constexpr const char* kLoadAbortedText = "データ読み込みを中止しました";

// What a reader read: the data set as the file gives it and what the file said beside it. How it
// is shown (contour ranges, the rows chosen for the flow quantities) is made from it above.
struct FileContents {
  FieldDataSet data;  // complete: nodes, extents, the file's variables and the two gas rows
  SourceInfo source;  // the file's format and what else it told
  // The rows of u, v, T and p the file names by their names, -1 where it names none.
  std::array<int, 4> namedRows{-1, -1, -1, -1};
  // False for a bare grid: nothing to derive, so no word that u, v and T are not chosen.
  bool hasVariables = true;
};

// Reads `path`. Warnings of the file format go to `notifier` and give nullopt; a field that is
// not a number or a file that cannot be read throws CorvaneError naming the file, line and text.
// Sizes are checked before node storage exists: a zone below one node, a zone count of 0, more
// than 2^31 - 1 nodes or a file too short for its nodes are refused at once. The rows named
// U, V, T, P (in any case) are the file's flow quantities. The work is shared by the calling
// thread and one helper thread; `progress` and `notifier` are only called on the calling thread.
std::optional<FileContents> LoadDataFile(const std::string& path, const LoadOptions& options, Notifier& notifier,
                                         Progress& progress);
// The same for a file already opened (a stream is read once, its head also serving detection).
std::optional<FileContents> LoadDataFile(const MappedFile& file, const LoadOptions& options, Notifier& notifier,
                                         Progress& progress);

}  // namespace corvane
