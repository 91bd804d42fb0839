#include "support/LoggingCanvas.h"

#include <QImage>
#include <cstdio>

namespace corvane {
namespace {

std::string Hex(Colour c) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%06X", static_cast<unsigned>(c & 0xFFFFFF));
  return buffer;
}

std::string Pt(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

std::string Points(const char* name, const QPoint* points, int count) {
  std::string line = name;
  for (int k = 0; k < count; ++k) line += " " + Pt(points[k].x(), points[k].y());
  return line;
}

// Code points of a UTF-8 text: continuation bytes do not count.
int CodePoints(const std::string& text) {
  int n = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

}  // namespace

std::string LoggingCanvas::Text() const {
  std::string all;
  for (const std::string& line : calls) all += line + "\n";
  return all;
}

std::vector<std::string> LoggingCanvas::Only(const std::vector<std::string>& prefixes) const {
  std::vector<std::string> kept;
  for (const std::string& line : calls)
    for (const std::string& p : prefixes)
      if (line.compare(0, p.size(), p) == 0) {
        kept.push_back(line);
        break;
      }
  return kept;
}

void LoggingCanvas::SetPen(Colour colour, int width) {
  colour &= 0xFFFFFF;
  if (colour == penColour_ && width == penWidth_) return;
  penColour_ = colour;
  penWidth_ = width;
  calls.push_back("SetPen " + Hex(colour) + " " + std::to_string(width));
}

void LoggingCanvas::SetBrush(Colour colour, BrushStyle style) {
  colour &= 0xFFFFFF;
  if (colour == brushColour_ && style == brushStyle_) return;
  brushColour_ = colour;
  brushStyle_ = style;
  calls.push_back("SetBrush " + Hex(colour) + (style == BrushStyle::Solid ? " Solid" : " Hollow"));
}

void LoggingCanvas::SetFont(const FontSpec& font) {
  if (font == font_) return;
  font_ = font;
  calls.push_back("SetFont " + font.face + " " + std::to_string(font.pixelHeight) + " " + Hex(font.colour) + " " +
                  std::to_string(font.angleTenths));
}

void LoggingCanvas::MoveTo(int x, int y) { calls.push_back("MoveTo " + Pt(x, y)); }
void LoggingCanvas::LineTo(int x, int y) { calls.push_back("LineTo " + Pt(x, y)); }
void LoggingCanvas::Polyline(const QPoint* points, int count) { calls.push_back(Points("Polyline", points, count)); }
void LoggingCanvas::Polygon(const QPoint* points, int count) { calls.push_back(Points("Polygon", points, count)); }
void LoggingCanvas::Rectangle(int x1, int y1, int x2, int y2) { calls.push_back("Rectangle " + Pt(x1, y1) + " " + Pt(x2, y2)); }
void LoggingCanvas::Ellipse(int x1, int y1, int x2, int y2) { calls.push_back("Ellipse " + Pt(x1, y1) + " " + Pt(x2, y2)); }
void LoggingCanvas::TextOut(int x, int y, const std::string& text) { calls.push_back("TextOut " + Pt(x, y) + " " + text); }

int LoggingCanvas::TextWidth(const std::string& text) {
  const int perChar = font_.pixelHeight / 2 > 0 ? font_.pixelHeight / 2 : 1;
  return CodePoints(text) * perChar;
}

int LoggingCanvas::TextHeight(const std::string& text) {
  (void)text;
  return font_.pixelHeight;
}

void LoggingCanvas::Draw(const QImage& image, int x, int y) {
  calls.push_back("DrawImage " + std::to_string(image.width()) + "x" + std::to_string(image.height()) + " " + Pt(x, y));
}
void LoggingCanvas::Draw(const QPicture& picture, int x, int y) {
  (void)picture;
  calls.push_back("DrawPicture " + Pt(x, y));
}

}  // namespace corvane
