#include "render/PainterCanvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPicture>
#include <QString>
#include <algorithm>
#include <cstdlib>

#include "render/PixelLines.h"

namespace corvane {

QColor ToQColor(Colour colour) { return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)); }

QFont MakeQFont(const FontSpec& font) {
  QFont f(QString::fromStdString(font.face));
  // Fonts are sized in pixels so text measures the same on every device whatever its DPI.
  f.setPixelSize(std::clamp(font.pixelHeight, 1, 4000));
  f.setBold(font.bold);
  f.setItalic(font.italic);
  // Faces missing here (Arial, MS Gothic) resolve through fontconfig; glyphs the face lacks
  // (Japanese) come from the fallback fonts such as Noto CJK.
  f.setStyleHint(QFont::SansSerif, QFont::PreferDefault);
  return f;
}

PainterCanvas::PainterCanvas(QPaintDevice* device) : own_(std::make_unique<QPainter>()) {
  if (device != nullptr && own_->begin(device)) painter_ = own_.get();
  if (painter_ != nullptr && device->devType() == QInternal::Image) {
    auto* image = static_cast<QImage*>(device);
    if (image->format() == QImage::Format_RGB32) image_ = image;
  }
  Setup();
}

void PainterCanvas::SetDirectLines(bool direct) {
  FlushLine();
  direct_ = direct;
}

void PainterCanvas::SetSmoothLines(bool smooth) {
  FlushLine();
  PlaceFor(false);
  smooth_ = smooth;
  if (painter_ == nullptr) return;
  if (smooth_) base_ = painter_->worldTransform();
  painter_->setRenderHint(QPainter::Antialiasing, smooth_);
}

void PainterCanvas::SetAsPlayed(bool asPlayed) {
  FlushLine();
  asPlayed_ = asPlayed && !smooth_;
  if (asPlayed_ && !measure_) measure_ = std::make_unique<QPicture>();
}

QPaintDevice* PainterCanvas::MeasuringDevice() {
  if (asPlayed_) return measure_.get();
  return painter_ != nullptr ? painter_->device() : nullptr;
}

template <class F>
void PainterCanvas::Once(const F& draw) {
  if (!asPlayed_) {
    draw(*painter_);
    return;
  }
  QPicture once;
  {
    QPainter recorder(&once);
    recorder.setRenderHints(painter_->renderHints());
    recorder.setPen(painter_->pen());
    recorder.setBrush(painter_->brush());
    recorder.setFont(painter_->font());
    draw(recorder);
  }
  painter_->save();
  painter_->drawPicture(0, 0, once);
  painter_->restore();
}

void PainterCanvas::StrokePolyline(const QPoint* points, int count) {
  if (!asPlayed_) {
    painter_->drawPolyline(points, count);
    return;
  }
  runF_.assign(points, points + count);
  painter_->drawPolyline(runF_.data(), count);
}

void PainterCanvas::PlaceFor(bool stroke) {
  if (painter_ == nullptr || (!smooth_ && shift_ == 0.0)) return;
  // A line of odd width on whole pixels covers the pixel right of and below its coordinates
  // when drawn plain; centred on the coordinates it would cover two half pixels instead.
  const double want = smooth_ && stroke && std::max(penWidth_, 1) % 2 == 1 ? 0.5 : 0.0;
  if (want == shift_) return;
  painter_->setWorldTransform(QTransform::fromTranslate(want, want) * base_);
  shift_ = want;
}

PainterCanvas::PainterCanvas(QPainter& painter) : painter_(&painter) { Setup(); }

PainterCanvas::~PainterCanvas() { Finish(); }

void PainterCanvas::Finish() {
  if (painter_ == nullptr) return;
  FlushLine();
  PlaceFor(false);
  if (own_ && own_->isActive()) own_->end();
  if (own_) painter_ = nullptr;
}

// Puts the painter in the state a fresh canvas promises: black pen 1 wide, solid white brush.
void PainterCanvas::Setup() {
  qfont_ = MakeQFont(font_);
  if (painter_ == nullptr) return;
  painter_->setRenderHint(QPainter::Antialiasing, false);
  painter_->setRenderHint(QPainter::TextAntialiasing, true);
  ApplyPen();
  ApplyBrush();
  painter_->setFont(qfont_);
}

void PainterCanvas::ApplyPen() {
  // A flat cap leaves out a line's last pixel, so a run of LineTo calls lights each pixel once.
  QPen pen(ToQColor(penColour_), std::max(penWidth_, 1), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  pen.setCosmetic(penWidth_ <= 1);
  painter_->setPen(pen);
}

void PainterCanvas::ApplyBrush() {
  if (brushStyle_ == BrushStyle::Solid)
    painter_->setBrush(QBrush(ToQColor(brushColour_), Qt::SolidPattern));
  else
    painter_->setBrush(Qt::NoBrush);
}

void PainterCanvas::FlushLine() {
  if (run_.size() >= 2 && painter_ != nullptr) {
    if (direct_ && !smooth_ && image_ != nullptr && penWidth_ <= 1) {
      DirectPolyline(run_.data(), static_cast<int>(run_.size()));
    } else {
      PlaceFor(true);
      StrokePolyline(run_.data(), static_cast<int>(run_.size()));
    }
  }
  run_.clear();
}

// The pen's colour set straight into the image's pixels.
void PainterCanvas::DirectPolyline(const QPoint* points, int count) {
  LightPolyline(PixelRowsOf(*image_), ArgbOf(penColour_), points, count);
}

void PainterCanvas::SetPen(Colour colour, int width) {
  colour &= 0xFFFFFF;
  if (colour == penColour_ && width == penWidth_) return;
  FlushLine();
  penColour_ = colour;
  penWidth_ = width;
  if (painter_ != nullptr) ApplyPen();
}

void PainterCanvas::SetBrush(Colour colour, BrushStyle style) {
  colour &= 0xFFFFFF;
  if (colour == brushColour_ && style == brushStyle_) return;
  FlushLine();
  brushColour_ = colour;
  brushStyle_ = style;
  if (painter_ != nullptr) ApplyBrush();
}

void PainterCanvas::SetBrushStyle(BrushStyle style) { SetBrush(brushColour_, style); }

void PainterCanvas::SetFont(const FontSpec& font) {
  if (font == font_) return;
  FlushLine();
  const bool faceChanged = font.face != font_.face || font.pixelHeight != font_.pixelHeight ||
                           font.bold != font_.bold || font.italic != font_.italic;
  font_ = font;
  font_.colour &= 0xFFFFFF;
  if (faceChanged) {
    qfont_ = MakeQFont(font_);
    if (painter_ != nullptr) painter_->setFont(qfont_);
  }
}

void PainterCanvas::MoveTo(int x, int y) {
  FlushLine();
  position_ = QPoint(x, y);
}

void PainterCanvas::LineTo(int x, int y) {
  if (run_.empty()) run_.push_back(position_);
  position_ = QPoint(x, y);
  run_.push_back(position_);
}

void PainterCanvas::Polyline(const QPoint* points, int count) {
  if (count <= 0) return;
  FlushLine();
  if (painter_ != nullptr && count >= 2) {
    if (direct_ && !smooth_ && image_ != nullptr && penWidth_ <= 1) {
      DirectPolyline(points, count);
    } else {
      PlaceFor(true);
      StrokePolyline(points, count);
    }
  }
  position_ = points[count - 1];
}

void PainterCanvas::Polygon(const QPoint* points, int count) {
  FlushLine();
  if (painter_ == nullptr || count <= 0) return;
  PlaceFor(true);
  if (asPlayed_) {
    runF_.assign(points, points + count);
    painter_->drawPolygon(runF_.data(), count);
  } else {
    painter_->drawPolygon(points, count);
  }
}

void PainterCanvas::PolylineF(const QPointF* points, int count) {
  FlushLine();
  if (painter_ == nullptr || count < 2) return;
  painter_->drawPolyline(points, count);
  position_ = points[count - 1].toPoint();
}

void PainterCanvas::PolygonF(const QPointF* points, int count) {
  FlushLine();
  if (painter_ == nullptr || count <= 0) return;
  painter_->drawPolygon(points, count);
}

void PainterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  FlushLine();
  if (painter_ == nullptr) return;
  // The right and bottom edges are outside, so (0, 0)-(W, H) covers exactly a W x H picture.
  const QRect box = QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
  if (box.width() <= 0 || box.height() <= 0) return;
  PlaceFor(false);
  const bool solid = brushStyle_ == BrushStyle::Solid;
  const QColor fill = ToQColor(brushColour_);
  Once([&](QPainter& painter) {
    if (solid) painter.fillRect(box, fill);
  });
  PlaceFor(true);
  Once([&](QPainter& painter) {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.restore();
  });
}

void PainterCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  FlushLine();
  if (painter_ == nullptr) return;
  const QRect box = QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
  if (box.width() <= 0 || box.height() <= 0) return;
  PlaceFor(true);
  Once([&](QPainter& painter) { painter.drawEllipse(box.adjusted(0, 0, -1, -1)); });
}

void PainterCanvas::TextOut(int x, int y, const std::string& text) {
  FlushLine();
  if (painter_ == nullptr || text.empty()) return;
  const QString s = QString::fromStdString(text);
  const QFontMetrics metrics(qfont_, MeasuringDevice());
  const QRect box(0, 0, metrics.horizontalAdvance(s), metrics.height());
  PlaceFor(false);
  Once([&](QPainter& painter) {
    painter.save();
    painter.translate(x, y);
    // The angle turns counter-clockwise on the screen; Qt's rotation turns clockwise.
    if (font_.angleTenths % 3600 != 0) painter.rotate(-font_.angleTenths / 10.0);
    if (brushStyle_ == BrushStyle::Solid) painter.fillRect(box, ToQColor(brushColour_));
    painter.setPen(ToQColor(font_.colour));
    painter.drawText(QPoint(0, metrics.ascent()), s);
    painter.restore();
  });
}

int PainterCanvas::TextWidth(const std::string& text) {
  const QFontMetrics metrics(qfont_, MeasuringDevice());
  return metrics.horizontalAdvance(QString::fromStdString(text));
}

int PainterCanvas::TextHeight(const std::string& text) {
  (void)text;
  const QFontMetrics metrics(qfont_, MeasuringDevice());
  return metrics.height();
}

void PainterCanvas::Draw(const QImage& image, int x, int y) {
  FlushLine();
  PlaceFor(false);
  if (painter_ != nullptr) Once([&](QPainter& painter) { painter.drawImage(x, y, image); });
}

void PainterCanvas::Draw(const QPicture& picture, int x, int y) {
  FlushLine();
  if (painter_ == nullptr) return;
  PlaceFor(false);
  // A picture replays the painter state it recorded; keep ours for the next layer.
  Once([&](QPainter& painter) {
    painter.save();
    painter.drawPicture(x, y, picture);
    painter.restore();
  });
}

}  // namespace corvane
