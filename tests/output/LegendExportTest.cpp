// Saving the legend: the vector picture the legend hands the picture export.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QtEndian>

#include "TestSupport.h"
#include "contour/LegendOptions.h"
#include "output/LegendExport.h"

namespace corvane {
namespace {

TEST(LegendSave, WritesTheVectorPictureAsEmf) {
  // Which extensions write which format is the picture export's, and the bitmap is the command's
  // test; here the vector picture the legend hands it.
  QTemporaryDir dir;
  LegendOptions options;
  options.orientation = LegendOrientation::Vertical, options.LegendWidthBox = 80, options.LegendHeightBox = 100;
  options.font = FontSpec{"Noto Sans CJK JP", 12};
  const LegendInput input{0, 10, 1, true, ColourMapKind::Rainbow};
  RecordingNotifier notifier;
  // EMF: an EMF header record first, with the picture's size in pixels.
  const QString emf = dir.filePath("g.Emf");
  ASSERT_TRUE(SaveLegendPicture(emf.toStdString(), options, input, notifier));
  const QByteArray bytes = testing::ReadFile(emf);
  ASSERT_GT(bytes.size(), 100);
  EXPECT_EQ(bytes.left(1) + bytes.mid(40, 4), QByteArray("\x01 EMF"));  // EMR_HEADER
  EXPECT_EQ(std::pair(qFromLittleEndian<qint32>(bytes.constData() + 16), qFromLittleEndian<qint32>(bytes.constData() + 20)),
            std::pair(79, 99));  // right and bottom bounds
  EXPECT_TRUE(notifier.warnings.empty());
}

}  // namespace
}  // namespace corvane
