// Pixel comparisons for the picture tests of every folder.
#pragma once
#include <QImage>
#include <gtest/gtest.h>

#include <optional>
#include <set>

namespace corvane::testing {

// A width x height RGB32 picture filled with `fill`.
inline QImage FilledImage(int width, int height, QColor fill = Qt::white) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

// Pixels of `colour` in the picture.
inline int CountPixels(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
  return n;
}

// The colours of the picture's pixels.
inline std::set<QRgb> ColoursIn(const QImage& image) {
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
  return colours;
}

// Counts the pixels where `image` differs from `reference` (only those of colour `only`, when
// given) and expects each to find its own colour within one pixel in `reference`: two ways of
// drawing the same edges may differ only in which pixel of a row they light.
inline int StrayPixels(const QImage& image, const QImage& reference, std::optional<QRgb> only = {}) {
  int differences = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb colour = image.pixel(x, y);
      if (colour == reference.pixel(x, y) || (only && colour != *only)) continue;
      ++differences;
      bool beside = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          beside = beside || (reference.valid(x + dx, y + dy) && reference.pixel(x + dx, y + dy) == colour);
      EXPECT_TRUE(beside) << x << "," << y;
    }
  return differences;
}

}  // namespace corvane::testing
