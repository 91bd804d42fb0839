// Pictures of the small windows for a human to look at: written only when
// CORVANE_SCREENSHOT_DIR names a folder (run under xvfb-run for the real platform's look).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QProgressBar>
#include <QRadioButton>

#include "ui/AboutForm.h"
#include "ui/LegendForm.h"
#include "ui/ProcessForm.h"

namespace corvane {
namespace {

// Shows, grabs and hides the window, saving the grab when a folder is named.
bool Shoot(QWidget& window, const QString& name) {
  window.show();
  QApplication::processEvents();
  QPixmap shot = window.grab();
  QString dir = qEnvironmentVariable("CORVANE_SCREENSHOT_DIR");
  bool ok = !shot.isNull() && (dir.isEmpty() || shot.save(QDir(dir).filePath(name)));
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

  TProcessForm process;
  process.findChild<QProgressBar*>("ProgressBar1")->setMaximum(5);
  process.findChild<QProgressBar*>("ProgressBar1")->setValue(2);
  EXPECT_TRUE(Shoot(process, "process.png"));
}

}  // namespace
}  // namespace corvane
