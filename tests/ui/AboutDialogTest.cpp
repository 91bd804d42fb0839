// The About window's links and settings loading, and the help command's manual page.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QFileInfo>
#include <QPushButton>
#include <QUrl>

#include "support/RecordingNotifier.h"
#include "ui/AboutDialog.h"

namespace corvane {
namespace {

// Takes the place of the browser and the mail program for the URL schemes it is registered for.
class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  explicit UrlRecorder(const QStringList& schemes) : schemes_(schemes) {
    for (const QString& s : schemes_) QDesktopServices::setUrlHandler(s, this, "open");
  }
  ~UrlRecorder() override { for (const QString& s : schemes_) QDesktopServices::unsetUrlHandler(s); }
  QList<QUrl> opened;
 public slots:
  void open(const QUrl& url) { opened.append(url); }

 private:
  QStringList schemes_;
};

TEST(aboutDialog, CreationRunsTheSettingsLoaderOnceOkOnlyHidesAndTheAddressesOpenMailAndWebLinks) {
  UrlRecorder recorder({QStringLiteral("mailto"), QStringLiteral("https")});
  int loads = 0;
  AboutDialog form(nullptr, [&] { ++loads; });
  EXPECT_EQ(loads, 1);
  EXPECT_FALSE(form.isVisible());
  form.ShowOrRaise();
  form.ShowOrRaise();
  EXPECT_TRUE(form.isVisible());
  form.findChild<QPushButton*>("Button1")->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(loads, 1);
  form.writeToMaker();
  form.openMakerPage();
  ASSERT_EQ(recorder.opened.size(), 2);
  EXPECT_EQ(recorder.opened[0].toString(), QStringLiteral("mailto:") + QString::fromUtf8(kMakerMailAddress));
  EXPECT_EQ(recorder.opened[1].toString(), QString::fromUtf8(kMakerWebAddress));
}

TEST(Manual, MissingPageOpensNothingAndSaysWhereItWasLookedFor) {
  UrlRecorder recorder({QStringLiteral("file")});
  // The test program's folder has no manual.
  ASSERT_FALSE(QFileInfo::exists(ManualPath()));
  RecordingNotifier messages;
  OpenManual(messages);
  EXPECT_TRUE(recorder.opened.isEmpty());
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_NE(messages.messages[0].find(ManualPath().toStdString()), std::string::npos);
}

}  // namespace
}  // namespace corvane

#include "AboutDialogTest.moc"
