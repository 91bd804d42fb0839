#include "output/LegendExport.h"

#include <QImage>
#include <QPicture>
#include <QString>

#include "output/ImageExport.h"

namespace corvane {

bool SaveLegendPicture(const std::string& path, const LegendOptions& options, const LegendInput& input,
                       Notifier& notifier) {
  const QPicture picture = BuildLegendPicture(options, input);
  return SavePictureByExtension(QString::fromStdString(path), picture, LegendBitmap(picture, options), notifier);
}

}  // namespace corvane
