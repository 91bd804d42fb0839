#include "output/EmfGenerator.h"

#include <QPainter>
#include <QPicture>
#include <algorithm>

#include "base/Errors.h"
#include "output/EmfPaintEngine.h"
#include "output/OutputFile.h"

namespace corvane {

EmfGenerator::EmfGenerator(QSize size, int subpixelUnits)
    : size_(size.expandedTo(QSize(1, 1))), units_(std::clamp(subpixelUnits, 1, 64)), engine_(std::make_unique<EmfPaintEngine>(this)) {}

EmfGenerator::~EmfGenerator() = default;

// The engine QPainter draws through.
QPaintEngine* EmfGenerator::paintEngine() const { return engine_.get(); }

const QByteArray& EmfGenerator::Data() const { return engine_->data_; }

const std::string& EmfGenerator::Problem() const { return engine_->problem_; }

// The device as a 96 dpi screen of the picture's size, so fonts and pens keep their pixels.
int EmfGenerator::metric(PaintDeviceMetric metric) const {
  switch (metric) {
    case PdmWidth: return size_.width();
    case PdmHeight: return size_.height();
    case PdmWidthMM: return ToInt(size_.width() * 25.4 / kDpi);
    case PdmHeightMM: return ToInt(size_.height() * 25.4 / kDpi);
    case PdmNumColors: return 0xFFFFFF;
    case PdmDepth: return 24;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return kDpi;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
    default: return QPaintDevice::metric(metric);
  }
}

// Replays the picture into a generator, then writes the finished bytes.
void WriteEmf(const QPicture& picture, QSize size, const QString& path, int subpixelUnits) {
  EmfGenerator generator(size, subpixelUnits);
  QPainter painter(&generator);
  painter.drawPicture(0, 0, picture);
  painter.end();
  if (!generator.Problem().empty()) {
    throw CorvaneError("ファイル「" + path.toStdString() + "」: " + generator.Problem());
  }
  OutputFile file(path);
  file.Write(generator.Data().constData(), static_cast<std::size_t>(generator.Data().size()));
  file.Close();
}

}  // namespace corvane
