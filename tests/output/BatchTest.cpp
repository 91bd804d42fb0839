// The batch loop over several files with fake load, draw and save steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "base/Errors.h"
#include "TestSupport.h"
#include "output/Batch.h"

namespace corvane {
namespace {

using testing::RecordingProgress;

// Records what the loop asked for; the "program state" is the name of the loaded file.
struct FakeProgram {
  std::set<std::string> rejected;    // load gives false (reader warnings)
  std::set<std::string> unreadable;  // load throws
  std::set<std::string> unwritable;  // save throws
  std::string loaded = "(previous)";
  std::vector<std::string> drawn;
  std::vector<std::pair<std::string, std::string>> saved;  // output path, data it shows

  BatchCallbacks Callbacks() {
    BatchCallbacks c;
    c.load = [this](const std::string& path) {
      if (unreadable.count(path)) throw CorvaneError(path + ": 3 行目が数値ではありません");
      if (rejected.count(path)) return false;  // an atomic load keeps the previous data
      loaded = path;
      return true;
    };
    c.draw = [this] { drawn.push_back(loaded); };
    c.save = [this](const std::string& out) {
      if (unwritable.count(out)) throw CorvaneError("書き込めません: " + out);
      saved.emplace_back(out, loaded);
    };
    return c;
  }
};

TEST(BatchOutputPath, ReplacesOnlyTheFileNamesExtension) {
  for (auto [file, picture] : {std::pair{"/runs/case1/run.dat", "/runs/case1/run.bmp"}, {"/runs/case1/run.v2.txt", "/runs/case1/run.v2.bmp"},
                               {"/runs/case.1/run", "/runs/case.1/run.bmp"}, {"run", "run.bmp"}, {"/runs/run.", "/runs/run.bmp"},
                               {"/runs/.case", "/runs/.case.bmp"}})
    EXPECT_EQ(BatchOutputPath(file), picture);
}

TEST(RunBatchFiles, FilesThatFailToLoadOrSaveAreListedTheRestGoOnAndAnEmptyListDrawsNothing) {
  FakeProgram program;
  program.rejected = {"/d/b.dat"}, program.unreadable = {"/d/c.dat"}, program.unwritable = {"/ro/x.bmp"};
  RecordingProgress progress;
  // A data file named like its picture is never overwritten by it.
  BatchResult r = RunBatchFiles({"/d/a.dat", "/d/b.dat", "/d/c.dat", "/ro/x.dat", "/d/field.bmp", "/d/e.dat"},
                                program.Callbacks(), progress);
  EXPECT_EQ(std::pair(r.saved, r.aborted), std::pair(2, false));
  // Every picture shows the data of the file it is named after, never a predecessor's.
  EXPECT_EQ(program.saved, (std::vector<std::pair<std::string, std::string>>{{"/d/a.bmp", "/d/a.dat"},
                                                                            {"/d/e.bmp", "/d/e.dat"}}));
  for (const char* unloaded : {"/d/b.dat", "/d/c.dat"})
    EXPECT_EQ(std::count(program.drawn.begin(), program.drawn.end(), unloaded), 0) << unloaded;
  std::vector<std::string> failed;
  for (const BatchFailure& f : r.failed) failed.push_back(f.path);
  EXPECT_EQ(failed, (std::vector<std::string>{"/d/b.dat", "/d/c.dat", "/ro/x.dat", "/d/field.bmp"}));
  EXPECT_NE(r.failed[1].reason.find("3 行目"), std::string::npos);
  // The gauge still runs over every file.
  EXPECT_EQ(progress.maximum, 6);
  EXPECT_EQ(progress.positions, (std::vector<std::int64_t>{0, 1, 2, 3, 4, 5, 6}));

  std::string text = BatchCompletionText(r);
  EXPECT_EQ(text.rfind("完了しました", 0), 0u);
  EXPECT_TRUE(text.find("/d/b.dat") != std::string::npos && text.find("/d/c.dat") != std::string::npos);
  EXPECT_EQ(text.find("/d/a.dat"), std::string::npos);
  // An empty list draws nothing. (An abort finishing the file in hand is the progress window's
  // test, through its button.)
  FakeProgram none;
  RecordingProgress quiet;
  EXPECT_EQ(BatchCompletionText(RunBatchFiles({}, none.Callbacks(), quiet)), "完了しました");
  EXPECT_TRUE(quiet.maximum == 0 && none.drawn.empty());
}

}  // namespace
}  // namespace corvane
