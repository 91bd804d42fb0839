// The About window's labels and links, and the help command's manual page.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "ui/AboutForm.h"

namespace corvane {
namespace {

// Takes the place of the browser and the mail program for the URL schemes it is registered for.
class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  explicit UrlRecorder(const QStringList& schemes) : schemes_(schemes) {
    for (const QString& s : schemes_) QDesktopServices::setUrlHandler(s, this, "open");
  }
  ~UrlRecorder() override {
    for (const QString& s : schemes_) QDesktopServices::unsetUrlHandler(s);
  }
  QList<QUrl> opened;
 public slots:
  void open(const QUrl& url) { opened.append(url); }

 private:
  QStringList schemes_;
};

QString LabelText(const QWidget& form, const char* name) {
  auto* label = form.findChild<QLabel*>(name);
  return label ? label->text() : QStringLiteral("<missing>");
}

TEST(AboutForm, ShowsProgramNameVersionAndMakerLines) {
  TForm5 form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("バージョン情報"));
  EXPECT_EQ(LabelText(form, "Label1"), QStringLiteral("二次元可視化・解析プログラム"));
  EXPECT_EQ(LabelText(form, "Label2"), QStringLiteral("Corvane 2D"));
  EXPECT_TRUE(LabelText(form, "Label3").contains(QStringLiteral(CORVANE_VERSION)));
  EXPECT_FALSE(LabelText(form, "Label4").isEmpty());
  EXPECT_EQ(LabelText(form, "Label5"), QStringLiteral("使用に関する全責任は使用者にあり。"));
  EXPECT_EQ(LabelText(form, "Label8"), QStringLiteral("Mailto:"));
  EXPECT_EQ(LabelText(form, "Label9"), QStringLiteral("web:"));
  EXPECT_EQ(LabelText(form, "Label6"), QString::fromUtf8(kMakerMailAddress));
  EXPECT_EQ(LabelText(form, "Label7"), QString::fromUtf8(kMakerWebAddress));
  auto* icon = form.findChild<QLabel*>("Image1");
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->pixmap().size(), QSize(32, 32));
}

TEST(AboutForm, CreationRunsTheSettingsLoaderOnceAndOkOnlyHides) {
  int loads = 0;
  TForm5 form(nullptr, [&] { ++loads; });
  EXPECT_EQ(loads, 1);
  EXPECT_FALSE(form.isVisible());
  form.ShowOrRaise();
  form.ShowOrRaise();
  EXPECT_TRUE(form.isVisible());
  form.findChild<QPushButton*>("Button1")->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(loads, 1);
}

TEST(AboutForm, AddressLabelsOpenMailAndWebLinks) {
  UrlRecorder recorder({QStringLiteral("mailto"), QStringLiteral("https")});
  TForm5 form;
  form.Label6Click();
  form.Label7Click();
  ASSERT_EQ(recorder.opened.size(), 2);
  EXPECT_EQ(recorder.opened[0].toString(), QStringLiteral("mailto:") + QString::fromUtf8(kMakerMailAddress));
  EXPECT_EQ(recorder.opened[1].toString(), QString::fromUtf8(kMakerWebAddress));
}

TEST(Manual, LivesBesideTheProgramAndDescribesTheSettingsFile) {
  // The build copies manual/ beside the executable.
  QFile page(QFileInfo(QStringLiteral(CORVANE_BINARY)).absolutePath() + QStringLiteral("/manual/index.html"));
  ASSERT_TRUE(page.open(QIODevice::ReadOnly));
  QString html = QString::fromUtf8(page.readAll());
  EXPECT_TRUE(html.contains(QStringLiteral("crv.ini")));
  for (const char* keyword : {"WHITE BACKGROUND", "ZONE COUNT", "X SCALE", "DATA J-&gt;I"})
    EXPECT_TRUE(html.contains(QString::fromUtf8(keyword))) << keyword;
  EXPECT_TRUE(ManualPath().endsWith(QStringLiteral("/manual/index.html")));
}

TEST(Manual, MissingPageOpensNothing) {
  UrlRecorder recorder({QStringLiteral("file")});
  // The test program's folder has no manual.
  ASSERT_FALSE(QFileInfo::exists(ManualPath()));
  OpenManual();
  EXPECT_TRUE(recorder.opened.isEmpty());
}

}  // namespace
}  // namespace corvane

#include "AboutFormTest.moc"
