#include "output/Batch.h"

#include "base/Errors.h"

namespace corvane {

// The extension starts at the last dot after the last folder separator. A leading dot starts a
// name, not an extension: ".case" becomes ".case.bmp" rather than a file called ".bmp".
std::string BatchOutputPath(const std::string& dataPath) {
  std::size_t slash = dataPath.find_last_of('/');
  std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  std::size_t dot = dataPath.find_last_of('.');
  if (dot == std::string::npos || dot <= nameStart) return dataPath + ".bmp";
  return dataPath.substr(0, dot) + ".bmp";
}

// One file: load, draw, save. Returns the reason of a failure, empty on success.
static std::string ProcessOneFile(const std::string& path, const BatchCallbacks& callbacks) {
  std::string output = BatchOutputPath(path);
  // A data file that itself ends in .bmp would be overwritten by its own picture.
  if (output == path) return "出力画像がデータファイルと同じ名前になります";
  try {
    // A rejected load leaves the previous file's data in place; drawing it and saving it under
    // this file's name would give a picture that lies about its contents.
    if (!callbacks.load(path)) return "読み込みに失敗しました";
  } catch (const CorvaneError& e) {
    return e.what();
  }
  callbacks.draw();
  try {
    callbacks.save(output);
  } catch (const CorvaneError& e) {
    return e.what();
  }
  return {};
}

BatchResult RunBatchFiles(const std::vector<std::string>& paths, const BatchCallbacks& callbacks,
                          Progress& progress) {
  BatchResult result;
  progress.SetPosition(0);
  progress.SetMaximum(static_cast<std::int64_t>(paths.size()));
  for (const std::string& path : paths) {
    std::string reason = ProcessOneFile(path, callbacks);
    if (reason.empty()) {
      ++result.saved;
    } else {
      result.failed.push_back({path, reason});
    }
    ++result.visited;
    progress.SetPosition(result.visited);
    // Seen only between files: the file in hand is always finished first.
    if (progress.AbortRequested()) {
      result.aborted = result.visited < static_cast<int>(paths.size());
      break;
    }
  }
  return result;
}

std::string BatchCompletionText(const BatchResult& result) {
  std::string text = "完了しました";
  if (result.failed.empty()) return text;
  text += "\n\n画像を保存できなかったファイル:";
  for (const BatchFailure& f : result.failed) text += "\n" + f.path + "\n    " + f.reason;
  return text;
}

}  // namespace corvane
