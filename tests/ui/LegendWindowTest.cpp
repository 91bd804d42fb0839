// The legend window: the picture it shows from the main window's range, and saving by extension.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QSpinBox>
#include <QTemporaryDir>

#include "base/Errors.h"
#include "support/RecordingNotifier.h"
#include "ui/LegendWindow.h"

namespace corvane {
namespace {

struct LegendWindowTest : ::testing::Test {
  void SetUp() override {
    form.SetSource([this] { return source; });
    form.SetNotifier(&notifier);
  }
  template <class T>
  T* Child(const char* name) {
    T* w = form.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  LegendWindow form;
  LegendSource source{"0.0", "10.0", "1.0", false, ColourMapKind::Rainbow};
  RecordingNotifier notifier;
};

TEST_F(LegendWindowTest, CreateShowsThePictureAndABadRangeIsReportedWithoutDrawing) {
  auto* sample = Child<QLabel>("LegendSample");
  form.buildLegend();
  EXPECT_EQ(sample->pixmap().size(), QSize(80, 100));
  EXPECT_TRUE(notifier.warnings.empty());

  Child<QSpinBox>("LegendWidthBox")->setValue(90);
  source.MinBox = "abc";
  form.buildLegend();
  ASSERT_EQ(notifier.warnings.size(), 1u);
  EXPECT_NE(notifier.warnings[0].find("abc"), std::string::npos);
  EXPECT_EQ(sample->pixmap().size(), QSize(80, 100));
  EXPECT_THROW(form.SaveLegend(QDir::tempPath() + "/never.bmp"), CorvaneError);
}

TEST_F(LegendWindowTest, SavesThePictureOfTheChosenSizeByExtension) {
  QTemporaryDir dir;
  Child<QSpinBox>("LegendWidthBox")->setValue(64);
  Child<QSpinBox>("LegendHeightBox")->setValue(128);
  EXPECT_TRUE(form.SaveLegend(dir.filePath("a.PNG")));
  QImage back(dir.filePath("a.PNG"));
  EXPECT_EQ(std::pair(back.size(), back.pixel(0, 0)), std::pair(QSize(64, 128), qRgb(0, 0, 0)));
  EXPECT_FALSE(form.SaveLegend(dir.filePath("b.tif")) || QFileInfo::exists(dir.filePath("b.tif")));
  EXPECT_EQ(notifier.warnings.size(), 1u);
}

}  // namespace
}  // namespace corvane
