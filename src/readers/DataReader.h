// Reads a text grid file described by a DataLayout into a new FieldDataSet. The caller replaces
// its data set only when the load completes, so a failed load loses nothing.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "field/FieldDataSet.h"
#include "field/FieldView.h"
#include "field/LoadOptions.h"
#include "readers/MappedFile.h"
#include "base/Notifier.h"
#include "base/Progress.h"
#include "readers/SourceInfo.h"

namespace corvane {

// The status a reader leaves when the abort command stopped its load.
inline constexpr const char* kLoadAbortedText = "データ読み込みを中止しました";

// What the windows need after a load besides the data set. The variable list and the zone lists
// follow from the data set itself (RGroupItemsOf, data.ZoneCount).
struct LoadResult {
  FieldDataSet data;                       // complete: nodes, derived rows
  FieldView view;                          // its contour ranges, edge flags and line masks
  std::vector<std::string> selectorItems;  // items of xvecbox, yvecbox, tmpbox, prsBox
  int xvecIndex = 0, yvecIndex = 0, tmpIndex = 0, prsIndex = 0;  // their preselected items
  // Zone count changed: the zone lists are refilled, and view.Boundaries starts all true for the
  // caller to set from Showi0, Showimax, Showj0, showjmax; otherwise the previous flags are kept.
  bool zoneListsRebuilt = false;
  SourceInfo source;                       // the file's format and what else it told
};

// Fills the selector items and the preselected selector rows of `result`: a row chosen in
// `options` (>= 0, within the variables) wins over `found` (the row found by name, -1 for none),
// and a selector with neither takes the first variable.
void SetVariableChoices(LoadResult& result, const FieldDataSet& data, const LoadOptions& options, const int found[4]);

// Every reader ends here, once result.data holds the nodes, extents and file variables and the
// selectors are chosen: the view of the new data (contour ranges carried over from `previous`,
// all lines shown, edge flags kept while the zone count stays `previousZoneListCount`), the
// derived rows (when `derive`) and, where switched on, the automatic contour ranges.
LoadResult FinishLoad(LoadResult result, const LoadOptions& options, const FieldView& previous,
                      int previousZoneListCount, Notifier& notifier, bool derive);

// Loads `path`. `previous` is how the data set now shown is shown (its contour ranges and boundary
// flags are carried over as a reload keeps them); `previousZoneListCount` is the item count of ZoneSelect.
// Warnings of the file format go to `notifier` and give nullopt; a field that is not a number or a
// file that cannot be read throws CorvaneError naming the file, line and text. Either way nothing
// of `previous` changes. Sizes are checked before node storage exists: a zone below one node, a
// zone count of 0, more than 2^31 - 1 nodes or a file too short for its nodes are refused at once.
// The selectors are preselected by the names U, V, T, P; options.xvecbox etc. (>= 0, within the
// variables) choose rows instead. The work is shared by the calling thread and one helper thread;
// `progress` and `notifier` are only called on the calling thread.
std::optional<LoadResult> LoadDataFile(const std::string& path, const LoadOptions& options,
                                       const FieldView& previous, int previousZoneListCount,
                                       Notifier& notifier, Progress& progress);
// The same for a file already opened (a stream is read once, its head also serving detection).
std::optional<LoadResult> LoadDataFile(const MappedFile& file, const LoadOptions& options,
                                       const FieldView& previous, int previousZoneListCount,
                                       Notifier& notifier, Progress& progress);

}  // namespace corvane
