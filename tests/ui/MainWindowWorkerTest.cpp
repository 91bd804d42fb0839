// Loads and drawings run on the worker thread: the window answers meanwhile, the abort command
// reaches the work, and nothing else touches the data set until the work is over.

#include <QApplication>
#include <charconv>
#include <fstream>

#include "MainWindowTestSupport.h"
#include "base/Errors.h"

namespace corvane {
namespace {

using namespace corvane::testing;

using WorkerWindow = ProgramTest<LoadedProgram>;

// A text file laid out like three_zones.dat (title, blank line, three zone sizes, labels, then
// the nodes) with three n x n zones, large enough that its read is still running when the first
// progress report arrives.
QString WriteLargeGrid(const QTemporaryDir& dir, int n) {
  const QString path = dir.filePath(QStringLiteral("large.dat"));
  std::ofstream out(path.toStdString(), std::ios::binary);
  out << "large\n\n";
  for (int z = 0; z < 3; ++z) out << n - 1 << ' ' << n - 1 << '\n';
  out << "x y P\n";
  std::string line;
  char number[32];
  for (int z = 0; z < 3; ++z)
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) {
        line.clear();
        for (int v : {z * n + i, j, i + j}) {
          line.append(number, std::to_chars(number, number + sizeof number, v).ptr);
          line.push_back(' ');
        }
        line.back() = '\n';
        out << line;
      }
  return path;
}

TEST_F(WorkerWindow, AbortFromTheProgressLeavesThePreviousDataSetWhole) {
  const FieldDataSet before = m.scene.data;
  const std::vector<double> rangeBefore = m.scene.fieldView.ContourMax;
  const QString large = WriteLargeGrid(p.dir, 800);
  // The abort is given from the first progress report, as a user watching the gauge would.
  bool reported = false;
  bool refusedMeanwhile = false;
  QObject::connect(Control<QProgressBar>(m, "Gauge1"), &QProgressBar::valueChanged, &m, [&](int value) {
    if (value <= 0 || reported) return;
    reported = true;
    refusedMeanwhile = m.Busy() && !m.TryBeginCommand();
    Control<QAction>(m, "A1")->trigger();
  });
  EXPECT_FALSE(m.LoadFile(large));
  EXPECT_TRUE(reported && refusedMeanwhile);
  EXPECT_EQ(m.statusBar()->currentMessage(), QStringLiteral("中断しました"));
  EXPECT_FALSE(m.state.AbortRequested || m.Busy());
  EXPECT_EQ(std::tuple(m.scene.data.NodeCount, m.scene.data.ZoneCount, m.scene.data.VariableNames),
            std::tuple(before.NodeCount, before.ZoneCount, before.VariableNames));
  EXPECT_EQ(m.scene.data.X, before.X);
  EXPECT_EQ(m.scene.data.Values, before.Values);
  EXPECT_EQ(m.scene.fieldView.ContourMax, rangeBefore);
  EXPECT_EQ(Control<RadioGroupWidget>(m, "RGroup")->Items(), (QStringList{"U", "V", "T", "P"}));
  // The next load of the same file is not stopped by the old abort.
  EXPECT_TRUE(m.LoadFile(large));
  EXPECT_EQ(m.scene.data.NodeCount, 3 * 800 * 800);
}

// What arrives while a load works: commands are refused, control changes and menu commands
// wait and are taken in order once the load is over; the load itself completes.
TEST_F(WorkerWindow, CommandsDuringALoadAreRefusedOrWait) {
  int during = 0;
  QTimer::singleShot(0, &m, [&] {
    ++during;
    EXPECT_TRUE(m.Busy());
    EXPECT_FALSE(m.LoadFile(TestFile("three_zones.dat")));  // refused: one load at a time
    m.plotHost().ZoomAt(10, 10, 2.0);                                   // refused: the view stays
    Control<QCheckBox>(m, "BrushCheck")->setChecked(true);                          // waits
    Control<QAction>(m, "Menu_Redraw")->trigger();                                // waits
    EXPECT_FALSE(m.Options().display.BrushCheck);
    EXPECT_FALSE(m.state.ScenePictureValid);
  });
  const double scale = m.scene.view.ScaleX;
  EXPECT_TRUE(m.LoadFile(TestFile("three_zones.dat")));
  EXPECT_EQ(during, 1);
  EXPECT_EQ(m.scene.view.ScaleX, scale);
  EXPECT_EQ(m.scene.data.NodeCount, 19);
  EXPECT_FALSE(m.state.ScenePictureValid);
  // The held-back handlers run from the event loop once the command has ended.
  QApplication::processEvents();
  EXPECT_TRUE(m.Options().display.BrushCheck);
  EXPECT_TRUE(m.state.ScenePictureValid);
  EXPECT_EQ(m.statusBar()->currentMessage(), QStringLiteral("描画完了"));
}

// Messages of the work are shown on the window thread while the work waits for them, and an
// error thrown by the work comes back to the command. (The warnings of a failing load on the
// worker are the test of the gauge and status.)
TEST_F(WorkerWindow, MessagesAndErrorsOfTheWorkReachTheWindow) {
  m.RunHandler([&] {
    m.RunWork([](Progress&, Notifier& notifier) {
      notifier.Warning("w");
      throw CorvaneError("e");
    });
  });
  EXPECT_EQ(p.messages.warnings, (std::vector<std::string>{"w", "e"}));
  EXPECT_FALSE(m.plotHost().Working());
}

// Text and lines drawn on the worker come out as they do on the window thread.
TEST_F(WorkerWindow, PictureDrawnOnTheWorkerIsTheWindowThreadOne) {
  for (QCheckBox* c : {Control<QCheckBox>(m, "BrushCheck"), Control<QCheckBox>(m, "ShowLabel"), Control<QCheckBox>(m, "ShowXYLabel"), Control<QCheckBox>(m, "ShowGrid")}) c->setChecked(true);
  // The labels' places come from the generator: both drawings start from the same seed.
  m.scene.random.Seed(7);
  m.RescaleAndRedraw();
  ASSERT_TRUE(m.state.ScenePictureValid);
  const QImage worker = m.scene.bitmap;
  NullProgress progress;
  RecordingNotifier notifier;
  m.scene.random.Seed(7);
  ASSERT_TRUE(DrawScene(m.scene, progress, notifier));
  EXPECT_TRUE(worker == m.scene.bitmap);
}

}  // namespace
}  // namespace corvane
