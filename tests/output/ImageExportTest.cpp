// Saving by extension: which file, if any, each name produces, and what the user hears when
// nothing is written.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "base/Errors.h"
#include "base/Notifier.h"
#include "TestSupport.h"
#include "output/ImageExport.h"

namespace corvane {
namespace {

class ImageExport : public ::testing::Test {
 protected:
  void SetUp() override {
    bitmap_ = QImage(40, 30, QImage::Format_RGB32);
    bitmap_.fill(QColor(10, 200, 30));
    QPainter p(&scene_);
    p.setPen(Qt::black);
    p.drawLine(0, 0, 39, 29);
    p.end();
  }
  QByteArray Head(const QString& name, int bytes = 8) {
    QFile f(dir_.filePath(name));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.read(bytes);
  }
  bool Save(const QString& name) { return SavePictureByExtension(dir_.filePath(name), scene_, bitmap_, notifier_); }

  QTemporaryDir dir_;
  QImage bitmap_;
  QPicture scene_;
  RecordingNotifier notifier_;
};

TEST_F(ImageExport, ExtensionPicksTheFormatWhateverItsCase) {
  const std::pair<const char*, QByteArray> cases[] = {{"a.bmp", "BM"}, {"b.BMP", "BM"}, {"c.Bmp", "BM"},
                                                      {"d.png", "\x89PNG\r\n\x1a\n"}, {"e.JPG", "\xFF\xD8"}, {"e2.jpeg", "\xFF\xD8"}};
  for (const auto& [name, magic] : cases) {
    EXPECT_TRUE(Save(name));
    EXPECT_EQ(Head(name, static_cast<int>(magic.size())), magic) << name;
  }
  EXPECT_EQ(QImage(dir_.filePath("c.Bmp")).pixelColor(5, 5), QColor(10, 200, 30));
  // The metafile is the scene picture, not the bitmap: header record, " EMF" signature.
  EXPECT_TRUE(Save("f.emf"));
  const QByteArray emf = Head("f.emf", 44);
  EXPECT_EQ(emf.left(1) + emf.mid(40, 4), QByteArray("\x01 EMF"));
  EXPECT_TRUE(notifier_.warnings.empty() && notifier_.messages.empty());
}

TEST_F(ImageExport, OtherExtensionsWriteNothingButSayWhichOnesAreWritten) {
  for (const char* name : {"b.tif", "noextension", "d.png.txt"}) {
    notifier_.warnings.clear();
    EXPECT_FALSE(Save(name)) << name;
    EXPECT_FALSE(QFile::exists(dir_.filePath(name))) << name;
    ASSERT_EQ(notifier_.warnings.size(), 1u) << name;
    EXPECT_TRUE(notifier_.warnings[0].find(".bmp") != std::string::npos && notifier_.warnings[0].find(".png") != std::string::npos);
  }
  // A dot in a folder's name is not the file's extension.
  ASSERT_TRUE(QDir(dir_.path()).mkdir("pictures.png"));
  notifier_.warnings.clear();
  EXPECT_FALSE(Save("pictures.png/plain"));
  EXPECT_EQ(notifier_.warnings.size(), 1u);
}

TEST_F(ImageExport, AFileThatCannotBeCreatedIsAnErrorNamingItAndNothingDrawnYetIsReportedNotWritten) {
  for (const char* name : {"missing/a.bmp", "missing/a.emf", "missing/a.jpg", "missing/a.png"}) {
    const std::string e = testing::ErrorText([&] { Save(name); });
    EXPECT_NE(e.find(name), std::string::npos) << e;
  }
  bitmap_ = QImage(), scene_ = QPicture();
  EXPECT_FALSE(Save("a.png"));
  EXPECT_FALSE(Save("b.emf"));
  EXPECT_FALSE(QFile::exists(dir_.filePath("a.png")) || QFile::exists(dir_.filePath("b.emf")));
  EXPECT_EQ(notifier_.warnings.size(), 2u);
}

}  // namespace
}  // namespace corvane
