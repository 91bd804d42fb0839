// The batch progress window around the batch loop: gauge, abort button, messages, hiding.
#include <gtest/gtest.h>

#include <QProgressBar>
#include <QPushButton>
#include <stdexcept>

#include "support/RecordingNotifier.h"
#include "ui/ProgressWindow.h"

namespace corvane {
namespace {

struct Calls {
  std::vector<std::string> saved;
  std::function<void()> onDraw;
  BatchCallbacks Callbacks() {
    BatchCallbacks c;
    c.load = [](const std::string& path) { return path.find("bad") == std::string::npos; };
    c.draw = [this] { if (onDraw) onDraw(); };
    c.save = [this](const std::string& out) { saved.push_back(out); };
    return c;
  }
};

struct ProcessWindow : ::testing::Test {
  ProgressWindow form;
  Calls calls;
  RecordingNotifier notifier;
};

TEST_F(ProcessWindow, ShowsProgressDuringTheBatchAndReportsFailuresAfterIt) {
  auto* bar = form.findChild<QProgressBar*>("ProgressBar1");
  ASSERT_NE(bar, nullptr);
  bool visibleWhileDrawing = false;
  calls.onDraw = [&] { visibleWhileDrawing = form.isVisible(); };
  BatchResult r = form.RunBatch({"/d/a.dat", "/d/bad.dat", "/d/c.dat"}, calls.Callbacks(), false, notifier);

  EXPECT_TRUE(visibleWhileDrawing);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(std::pair(bar->maximum(), bar->value()), std::pair(3, 3));
  EXPECT_EQ(calls.saved, (std::vector<std::string>{"/d/a.bmp", "/d/c.bmp"}));
  EXPECT_EQ(notifier.messages, std::vector<std::string>{BatchCompletionText(r)});
}

TEST_F(ProcessWindow, AbortButtonStopsAfterTheFileInHandAndIsResetNextTime) {
  auto* abort = form.findChild<QPushButton*>("AbortButton");
  ASSERT_NE(abort, nullptr);
  int draws = 0;
  calls.onDraw = [&] { if (++draws == 2) abort->click(); };
  std::vector<std::string> five = {"/d/1.dat", "/d/2.dat", "/d/3.dat", "/d/4.dat", "/d/5.dat"};
  BatchResult r = form.RunBatch(five, calls.Callbacks(), false, notifier);
  EXPECT_TRUE(r.aborted);
  EXPECT_EQ(calls.saved, (std::vector<std::string>{"/d/1.bmp", "/d/2.bmp"}));
  EXPECT_EQ(notifier.messages, std::vector<std::string>{"完了しました"});

  // The next batch starts with the flag cleared and runs to the end.
  calls.onDraw = nullptr;
  calls.saved.clear();
  r = form.RunBatch(five, calls.Callbacks(), false, notifier);
  EXPECT_FALSE(r.aborted);
  EXPECT_EQ(calls.saved.size(), 5u);
}

TEST_F(ProcessWindow, InOpenGlModeOrDuringABatchABatchIsRefused) {
  form.RunBatch({"/d/a.dat"}, calls.Callbacks(), /*useOpenGL=*/true, notifier);
  EXPECT_TRUE(calls.saved.empty() && !form.isVisible());
  EXPECT_EQ(notifier.messages, std::vector<std::string>{"OpenGLモードではできません"});
  notifier.messages.clear();
  BatchResult inner;
  bool once = false;
  calls.onDraw = [&] {
    if (once) return;
    once = true;
    Calls other;
    inner = form.RunBatch({"/d/x.dat"}, other.Callbacks(), false, notifier);
    EXPECT_TRUE(other.saved.empty());
  };
  form.RunBatch({"/d/a.dat", "/d/b.dat"}, calls.Callbacks(), false, notifier);
  EXPECT_EQ((std::vector<std::size_t>{std::size_t(inner.visited), calls.saved.size(), notifier.messages.size()}),
            (std::vector<std::size_t>{0, 2, 1}));
}

TEST_F(ProcessWindow, WindowIsHiddenWhenDrawingFailsUnexpectedly) {
  calls.onDraw = [] { throw std::runtime_error("drawing failed"); };
  EXPECT_THROW(form.RunBatch({"/d/a.dat"}, calls.Callbacks(), false, notifier), std::runtime_error);
  EXPECT_FALSE(form.isVisible() || form.Running());
}

}  // namespace
}  // namespace corvane
