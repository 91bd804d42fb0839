// The legend window: its controls, the picture it builds from the main window's range, and
// saving by extension.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include "ui/LegendForm.h"
#include "data/Errors.h"
#include "contour/ColorMap.h"

namespace corvane {
namespace {

QImage Play(const QPicture& picture) {
  QImage image(picture.boundingRect().size(), QImage::Format_RGB32);
  image.fill(Qt::magenta);
  QPainter p(&image);
  p.drawPicture(0, 0, picture);
  return image;
}

struct LegendWindow : ::testing::Test {
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
  TLegendForm form;
  LegendSource source{"0.0", "10.0", "1.0", false, ColorMapKind::Rainbow};
  RecordingNotifier notifier;
};

TEST_F(LegendWindow, ControlsStartWithTheirDefaultsAndRanges) {
  EXPECT_EQ(form.windowTitle(), QStringLiteral("レジェンドの作成"));
  EXPECT_TRUE(Child<QRadioButton>("LegendTate")->isChecked());
  auto* w = Child<QSpinBox>("LegendWidthBox");
  auto* h = Child<QSpinBox>("LegendHeightBox");
  EXPECT_EQ(w->value(), 80);
  EXPECT_EQ(h->value(), 100);
  EXPECT_EQ(w->minimum(), 10);
  EXPECT_EQ(h->maximum(), 500);
  EXPECT_TRUE(Child<QRadioButton>("ShowAutoCheck")->isChecked());
  EXPECT_EQ(Child<QSpinBox>("PrecisionBox")->value(), 5);
  EXPECT_EQ(Child<QSpinBox>("DigitsBox")->value(), 4);
  EXPECT_EQ(Child<QLabel>("example")->text(), QStringLiteral("150.0"));
  EXPECT_EQ(Child<QPushButton>("Button1")->text(), QStringLiteral("作成"));
  EXPECT_EQ(Child<QPushButton>("Button2")->text(), QStringLiteral("保存"));
}

TEST_F(LegendWindow, OrientationButtonsSwapThePreviewPanels) {
  QWidget* tate = Child<QWidget>("TatePanel");
  QWidget* yoko = Child<QWidget>("YokoPanel");
  EXPECT_TRUE(tate->isVisibleTo(&form));
  EXPECT_FALSE(yoko->isVisibleTo(&form));
  Child<QRadioButton>("LegendYoko")->click();
  EXPECT_FALSE(tate->isVisibleTo(&form));
  EXPECT_TRUE(yoko->isVisibleTo(&form));
  Child<QRadioButton>("LegendTate")->click();
  EXPECT_TRUE(tate->isVisibleTo(&form));
  form.SetPreviewBackground(true);
  EXPECT_EQ(yoko->palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(LegendWindow, PictureHasTheChosenSizeAndFollowsTheBackground) {
  Child<QSpinBox>("LegendWidthBox")->setValue(120);
  Child<QSpinBox>("LegendHeightBox")->setValue(200);
  QImage black = Play(form.BuildLegendPicture());
  ASSERT_EQ(black.size(), QSize(120, 200));
  EXPECT_EQ(black.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(black.pixel(119, 199), qRgb(0, 0, 0));
  source.WhiteBack = true;
  QImage white = Play(form.BuildLegendPicture());
  EXPECT_EQ(white.pixel(0, 0), qRgb(255, 255, 255));
}

TEST_F(LegendWindow, VerticalBarHasLowValuesAtTheBottomHorizontalAtTheLeft) {
  Child<QSpinBox>("LegendWidthBox")->setValue(200);
  Child<QSpinBox>("LegendHeightBox")->setValue(200);
  // Rainbow: the low end is blue, the high end red.
  QImage v = Play(form.BuildLegendPicture());
  QColor bottom = v.pixelColor(20, 170), top = v.pixelColor(20, 30);
  EXPECT_GT(bottom.blue(), bottom.red());
  EXPECT_GT(top.red(), top.blue());
  Child<QRadioButton>("LegendYoko")->click();
  QImage h = Play(form.BuildLegendPicture());
  QColor left = h.pixelColor(30, 40), right = h.pixelColor(170, 40);
  EXPECT_GT(left.blue(), left.red());
  EXPECT_GT(right.red(), right.blue());
}

// The first colour met walking along a column from one end, passing background and frame.
QColor FirstBandColour(const QImage& image, int x, bool fromBottom) {
  for (int k = 0; k < image.height(); ++k) {
    QColor c = image.pixelColor(x, fromBottom ? image.height() - 1 - k : k);
    if (c != QColor(Qt::black) && c != QColor(Qt::white)) return c;
  }
  return QColor();
}

TEST_F(LegendWindow, EndBandsTakeTheColourOfTheirLowerLevel) {
  Child<QSpinBox>("LegendWidthBox")->setValue(100);
  Child<QSpinBox>("LegendHeightBox")->setValue(300);
  // The minimum sits on a level: no piece below it, the bottom band has the minimum's colour.
  // The maximum does not: the top band is cut and keeps the colour of level 9.
  source.MinBox = "0";
  source.MaxBox = "9.5";
  QImage v = Play(form.BuildLegendPicture());
  EXPECT_EQ(FirstBandColour(v, 30, true), QColor(0, 0, 255));
  Colour top = LevelColor(9.0f, 0.0f, 9.5f, ColorMapKind::Rainbow);
  EXPECT_EQ(FirstBandColour(v, 30, false), QColor(RedOf(top), GreenOf(top), BlueOf(top)));
}

TEST_F(LegendWindow, FrameIsWhiteOnBlackAndBlackOnWhite) {
  Child<QSpinBox>("LegendWidthBox")->setValue(100);
  Child<QSpinBox>("LegendHeightBox")->setValue(200);
  const int m = 11;  // Round(200 * 0.05) + 1: the bar's left edge in a vertical legend
  EXPECT_EQ(Play(form.BuildLegendPicture()).pixel(m, 100), qRgb(255, 255, 255));
  source.WhiteBack = true;
  EXPECT_EQ(Play(form.BuildLegendPicture()).pixel(m, 100), qRgb(0, 0, 0));
}

TEST_F(LegendWindow, SmallestSizeStillBuilds) {
  Child<QSpinBox>("LegendWidthBox")->setValue(10);
  Child<QSpinBox>("LegendHeightBox")->setValue(10);
  for (const char* orientation : {"LegendTate", "LegendYoko"}) {
    Child<QRadioButton>(orientation)->click();
    EXPECT_EQ(Play(form.BuildLegendPicture()).size(), QSize(10, 10));
  }
  // Equal ends and a zero step leave out the bar but never fail.
  source.MaxBox = "0.0";
  source.StepBox = "0";
  EXPECT_EQ(Play(form.BuildLegendPicture()).size(), QSize(10, 10));
}

TEST_F(LegendWindow, CreateShowsThePictureAndABadRangeIsReportedWithoutDrawing) {
  auto* sample = Child<QLabel>("LegendSample");
  form.Button1Click();
  EXPECT_EQ(sample->pixmap().size(), QSize(80, 100));
  EXPECT_TRUE(notifier.warnings.empty());

  Child<QSpinBox>("LegendWidthBox")->setValue(90);
  source.MinBox = "abc";
  form.Button1Click();
  ASSERT_EQ(notifier.warnings.size(), 1u);
  EXPECT_NE(notifier.warnings[0].find("abc"), std::string::npos);
  EXPECT_EQ(sample->pixmap().size(), QSize(80, 100));
  EXPECT_THROW(form.SaveLegend(QDir::tempPath() + "/never.bmp"), CorvaneError);
}

TEST_F(LegendWindow, SavesEachRasterFormatByExtensionInAnyCase) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  Child<QSpinBox>("LegendWidthBox")->setValue(64);
  Child<QSpinBox>("LegendHeightBox")->setValue(128);
  for (QString name : {"a.bmp", "b.BMP", "c.png", "d.Png", "e.jpg", "f.JPG"}) {
    QString path = dir.filePath(name);
    EXPECT_TRUE(form.SaveLegend(path)) << name.toStdString();
    QImage back(path);
    EXPECT_EQ(back.size(), QSize(64, 128)) << name.toStdString();
    // Black background in the corner, within JPEG's tolerance.
    EXPECT_LT(qGray(back.pixel(0, 0)), 16) << name.toStdString();
  }
  QImage png(dir.filePath("c.png"));
  QImage bmp(dir.filePath("a.bmp"));
  EXPECT_EQ(png.pixel(20, 64), bmp.pixel(20, 64));
}

TEST_F(LegendWindow, SavesTheVectorPictureAsEmf) {
  QTemporaryDir dir;
  ASSERT_TRUE(form.SaveLegend(dir.filePath("legend.Emf")));
  QFile file(dir.filePath("legend.Emf"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QByteArray emf = file.readAll();
  ASSERT_GT(emf.size(), 88);
  EXPECT_EQ(emf[0], 1);  // header record first
  EXPECT_EQ(emf.mid(40, 4), QByteArray(" EMF"));
}

TEST_F(LegendWindow, OtherExtensionsWriteNothingAndSaySo) {
  QTemporaryDir dir;
  for (QString name : {"a.jpeg", "b.tif", "noextension"}) {
    EXPECT_FALSE(form.SaveLegend(dir.filePath(name)));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(name)));
  }
  EXPECT_EQ(notifier.warnings.size(), 3u);
}

}  // namespace
}  // namespace corvane
