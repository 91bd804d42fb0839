// The batch command without windows: load, draw and save every file in turn as a bitmap beside
// it. The progress window and `corvane render` with several files share this loop; they hand in
// how to load, draw and save, and a Progress whose abort flag is the batch's own.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "base/Progress.h"

namespace corvane {

struct BatchCallbacks {
  // Loads the file into the program's data set. False when the reader rejected it (its warnings
  // have been shown); may throw CorvaneError. A rejected file is neither drawn nor saved.
  std::function<bool(const std::string& path)> load;
  // Draws the loaded data with the current view and options (no rescale).
  std::function<void()> draw;
  // Writes the drawn picture as a bitmap to `path`, replacing a file of that name; may throw
  // CorvaneError.
  std::function<void(const std::string& path)> save;
};

struct BatchFailure {
  std::string path;    // the data file
  std::string reason;  // what went wrong, as shown to the user
};

struct BatchResult {
  int saved = 0;                      // pictures written
  int visited = 0;                    // files taken in hand (saved or failed)
  std::vector<BatchFailure> failed;   // files that gave no picture
  bool aborted = false;               // the abort flag ended the loop early
};

// The data file's path with the extension of its file name replaced by ".bmp" (appended when
// the name has no dot but a leading one); the folder part is never touched.
std::string BatchOutputPath(const std::string& dataPath);

// Loads, draws and saves each file in order. The gauge runs 0 .. paths.size(); after every file
// the progress is pumped and its abort flag ends the loop, so the file in hand always completes.
// A file whose load or save fails with CorvaneError is listed and the loop goes on; other
// exceptions end the batch.
BatchResult RunBatchFiles(const std::vector<std::string>& paths, const BatchCallbacks& callbacks,
                          Progress& progress);

// "完了しました", followed by the files that gave no picture and why.
std::string BatchCompletionText(const BatchResult& result);

}  // namespace corvane
