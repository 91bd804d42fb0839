// A canvas that draws nothing and writes every call as one readable line, so tests can check
// the exact calls a layer makes. Text is measured by a fixed rule: each character (code point)
// is half the font's pixel height wide (rounded down, at least 1), a line is the pixel height.
#pragma once
#include <string>
#include <vector>

#include "render/Canvas.h"

namespace corvane {

class LoggingCanvas : public Canvas {
 public:
  // Line formats: "SetPen BBGGRR W" (colours in hex as 0xBBGGRR), "SetBrush BBGGRR Solid|Hollow",
  // "SetFont face px BBGGRR angle", "MoveTo x,y", "LineTo x,y", "Polyline x,y x,y ...",
  // "Polygon x,y ...", "Rectangle x1,y1 x2,y2", "Ellipse x1,y1 x2,y2", "TextOut x,y text",
  // "DrawImage WxH x,y", "DrawPicture x,y". Setters that change nothing are not logged.
  std::vector<std::string> calls;

  // All lines joined by '\n'; lines starting with one of `prefixes` only, when given.
  std::string Text() const;
  std::vector<std::string> Only(const std::vector<std::string>& prefixes) const;
  void Clear() { calls.clear(); }

  void SetPen(Colour colour, int width) override;
  Colour PenColour() const override { return penColour_; }
  int PenWidth() const override { return penWidth_; }
  void SetBrush(Colour colour, BrushStyle style) override;
  void SetBrushStyle(BrushStyle style) override { SetBrush(brushColour_, style); }
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

 private:
  Colour penColour_ = kBlack;
  int penWidth_ = 1;
  Colour brushColour_ = kWhite;
  BrushStyle brushStyle_ = BrushStyle::Solid;
  FontSpec font_;
};

}  // namespace corvane
