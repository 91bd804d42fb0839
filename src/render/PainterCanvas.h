// The canvas over a QPainter: one drawing routine serves the bitmap (QImage), the scene picture
// (QPicture) and the EMF generator. Lines and fills are drawn without antialiasing so every
// pixel keeps an exact colour; text may be smoothed.
#pragma once
#include <QFont>
#include <QPainter>
#include <QTransform>
#include <memory>
#include <vector>

#include "render/Canvas.h"

class QPaintDevice;
class QPicture;

namespace corvane {

class PainterCanvas : public Canvas {
 public:
  // Opens a painter of its own on `device`; it is ended by Finish() or the destructor.
  explicit PainterCanvas(QPaintDevice* device);
  // Draws on a painter that the caller owns and keeps active.
  explicit PainterCanvas(QPainter& painter);
  ~PainterCanvas() override;
  PainterCanvas(const PainterCanvas&) = delete;
  PainterCanvas& operator=(const PainterCanvas&) = delete;

  // On an RGB32 image: lines 1 pixel wide are set straight into the pixels by our own
  // rasteriser instead of the painter's, several times faster for the million short segments of
  // a dense grid (the pan preview). Its pixels may differ from the painter's on slanted lines.
  void SetDirectLines(bool direct);

  // Paints into the device the pixels a picture of the same calls played onto it would give,
  // without the picture: lines and polygons as the played picture hands them to the painter (in
  // floating point), everything else through a picture of that one call. A picture of every
  // call costs a fifth of a million-node drawing to record and play.
  void SetAsPlayed(bool asPlayed);

  // Smooth lines for a picture played at its own size: lines, outlines and text anti-aliased by
  // the painter, lines of an odd width moved half a pixel onto the pixel centres, so a line on
  // whole pixels keeps the full colour of the plain line and a slanting one gets the painter's
  // coverage at its edges. Fills of whole pixels (rectangles, text boxes) stay where they are.
  void SetSmoothLines(bool smooth);

  // Sends any line still being gathered and ends an own painter; the device is complete then.
  void Finish();
  bool IsActive() const { return painter_ != nullptr && painter_->isActive(); }

  void SetPen(Colour colour, int width) override;
  Colour PenColour() const override { return penColour_; }
  int PenWidth() const override { return penWidth_; }
  void SetBrush(Colour colour, BrushStyle style) override;
  void SetBrushStyle(BrushStyle style) override;
  Colour BrushColour() const override { return brushColour_; }
  BrushStyle CurrentBrushStyle() const override { return brushStyle_; }
  void SetFont(const FontSpec& font) override;
  const FontSpec& Font() const override { return font_; }

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polyline(const QPoint* points, int count) override;
  void Polygon(const QPoint* points, int count) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;
  void Draw(const QImage& image, int x, int y) override;
  void Draw(const QPicture& picture, int x, int y) override;

  // A polyline and a polygon at fractions of a pixel, for vector pictures; the pen and brush
  // are the canvas's own.
  void PolylineF(const QPointF* points, int count);
  void PolygonF(const QPointF* points, int count);

 private:
  void Setup();
  void ApplyPen();
  void ApplyBrush();
  // Draws the gathered LineTo run as one polyline: one painter call instead of thousands.
  void FlushLine();
  void DirectPolyline(const QPoint* points, int count);
  // Moves the painter half a pixel for a line of the pen's width (smooth lines only), or back.
  void PlaceFor(bool stroke);
  // Runs `draw` on a painter over a picture that starts in this painter's state, then plays
  // the picture here (as played); or runs it on this painter.
  template <class F>
  void Once(const F& draw);
  void StrokePolyline(const QPoint* points, int count);
  // Where text is measured: the device, or a picture as the played picture was.
  QPaintDevice* MeasuringDevice();

  std::unique_ptr<QPainter> own_;
  QPainter* painter_ = nullptr;
  Colour penColour_ = kBlack;
  int penWidth_ = 1;
  Colour brushColour_ = kWhite;
  BrushStyle brushStyle_ = BrushStyle::Solid;
  FontSpec font_;
  QFont qfont_;
  QPoint position_;
  std::vector<QPoint> run_;
  QImage* image_ = nullptr;  // the device, when it is an RGB32 image
  bool direct_ = false;
  bool asPlayed_ = false;
  std::unique_ptr<QPicture> measure_;  // the measuring picture as played
  std::vector<QPointF> runF_;
  bool smooth_ = false;
  double shift_ = 0.0;   // how far the painter is moved now (smooth lines)
  QTransform base_;      // the painter's transform before any move
};

// A QFont for a font description: pixel size, fontconfig fallback for missing faces and glyphs.
QFont MakeQFont(const FontSpec& font);
// QColor of a 0x00BBGGRR colour.
QColor ToQColor(Colour colour);

}  // namespace corvane
