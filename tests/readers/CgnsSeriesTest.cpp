// The flow solutions of a CGNS base as the steps of a time series, with the times of its
// BaseIterativeData.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "readers/CgnsReader.h"
#include "fieldview/LoadedView.h"
#include "readers/DataSeries.h"
#include "CgnsFiles.h"
#include "TestSupport.h"

using namespace corvane;

namespace {

// One 3 × 2 zone with a Pressure of 10 s + i + j in solution s (s = 0, 1, 2); the base's
// iterative data give the times 0.5, 1.5, 2.5 when `withTimes`.
void WriteSteps(const std::string& path, bool withTimes) {
  auto steps = [withTimes](int fn, int B, int Z) {
    for (int s = 0; s < 3; ++s) {
      int S = 0, F = 0;
      const std::string name = "Solution" + std::to_string(s);
      cg_sol_write(fn, B, Z, name.c_str(), CGNS_ENUMV(Vertex), &S);
      std::vector<double> p;
      for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 3; ++i) p.push_back(10.0 * s + i + j);
      ASSERT_EQ(cg_field_write(fn, B, Z, S, CGNS_ENUMV(RealDouble), "Pressure", p.data(), &F), CG_OK) << cg_get_error();
    }
    if (!withTimes) return;
    const double times[3] = {0.5, 1.5, 2.5};
    cgsize_t n = 3;
    ASSERT_EQ(cg_biter_write(fn, B, "TimeIterValues", 3), CG_OK) << cg_get_error();
    ASSERT_EQ(cg_goto(fn, B, "BaseIterativeData_t", 1, "end"), CG_OK) << cg_get_error();
    ASSERT_EQ(cg_array_write("TimeValues", CGNS_ENUMV(RealDouble), 1, &n, times), CG_OK) << cg_get_error();
  };
  corvane::testing::WriteCgns(path, {{"block", 3, 2, false, {}, steps}});
}

TEST(CgnsSeries, FlowSolutionsAreStepsWithTheBaseTimes) {
  QTemporaryDir dir;
  const std::string timed = dir.filePath("timed.cgns").toStdString(), plain = dir.filePath("plain.cgns").toStdString();
  WriteSteps(timed, true);
  WriteSteps(plain, false);
  EXPECT_EQ(CgnsStepTimes(timed), (std::vector<double>{0.5, 1.5, 2.5}));
  EXPECT_EQ(CgnsStepTimes(plain), (std::vector<double>{0, 1, 2}));

  const std::vector<SeriesFrame> frames = SeriesFrames({timed});
  ASSERT_EQ(frames.size(), 3u);
  RecordingNotifier notifier;
  NullProgress progress;
  auto last = LoadSeriesFrame(frames[2], LoadOptions(), FieldView(), notifier, progress);
  ASSERT_TRUE(last);
  EXPECT_DOUBLE_EQ(last->data.Values[0][static_cast<std::size_t>(NodeIndex(last->data, 0, 2, 1))], 23.0);
  EXPECT_EQ(last->source.solutionName, "Solution2");
  EXPECT_EQ(last->source.times, (std::vector<double>{0.5, 1.5, 2.5}));
  EXPECT_EQ(last->source.step, 2);
  EXPECT_NE(corvane::testing::ErrorText([&] { LoadCgnsFile(timed, LoadOptions(), notifier, progress, 3); })
                .find("4 番目の解"),
            std::string::npos);
}

}  // namespace
