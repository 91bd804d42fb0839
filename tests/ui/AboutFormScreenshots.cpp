// Pictures of the small windows for a human to look at: written only when
// CORVANE_SCREENSHOT_DIR names a folder (run under xvfb-run for the real platform's look).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QProgressBar>
#include <QRadioButton>
#include <QSpinBox>

#include "ui/AboutForm.h"
#include "ui/LegendForm.h"
#include "ui/ProcessForm.h"

namespace corvane {
namespace {

bool Shoot(QWidget& window, const QString& name) {
  window.show();
  QApplication::processEvents();
  QPixmap shot = window.grab();
  QString dir = qEnvironmentVariable("CORVANE_SCREENSHOT_DIR");
  bool ok = !shot.isNull();
  if (!dir.isEmpty()) ok = ok && shot.save(QDir(dir).filePath(name));
  window.hide();
  return ok;
}

TEST(Screenshots, EachSmallWindowRendersItsControls) {
  TForm5 about;
  EXPECT_TRUE(Shoot(about, "about.png"));

  TLegendForm legend;
  legend.SetSource([] { return LegendSource{"-0.25", "1.75", "0.25", false, ColorMapKind::Rainbow}; });
  legend.Button1Click();
  EXPECT_TRUE(Shoot(legend, "legend-vertical.png"));
  legend.findChild<QRadioButton*>("LegendYoko")->click();
  legend.SetPreviewBackground(true);
  legend.Button1Click();
  EXPECT_TRUE(Shoot(legend, "legend-horizontal.png"));
  QString dir = qEnvironmentVariable("CORVANE_SCREENSHOT_DIR");
  if (!dir.isEmpty()) {
    legend.findChild<QSpinBox*>("LegendWidthBox")->setValue(300);
    legend.findChild<QSpinBox*>("LegendHeightBox")->setValue(60);
    EXPECT_TRUE(legend.SaveLegend(QDir(dir).filePath("legend-picture.png")));
  }

  TProcessForm process;
  process.findChild<QProgressBar*>("ProgressBar1")->setMaximum(5);
  process.findChild<QProgressBar*>("ProgressBar1")->setValue(2);
  EXPECT_TRUE(Shoot(process, "process.png"));
}

}  // namespace
}  // namespace corvane
