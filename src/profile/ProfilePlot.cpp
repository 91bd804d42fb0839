#include "profile/ProfilePlot.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <limits>

#include "base/Errors.h"
#include "base/NiceStep.h"

namespace corvane {
namespace {

// The finite range of one coordinate over all curves (the vertical one over the curves of one
// side: `right` or not).
void Range(const PlotSpec& figure, bool vertical, double& lo, double& hi, bool right = false) {
  lo = std::numeric_limits<double>::infinity();
  hi = -lo;
  for (const PlotCurve& c : figure.curves) {
    if (vertical && c.right != right) continue;
    const std::size_t n = std::min(c.x.size(), c.y.size());
    for (std::size_t k = 0; k < n; ++k) {
      if (!std::isfinite(c.x[k]) || !std::isfinite(c.y[k])) continue;
      const double v = vertical ? c.y[k] : c.x[k];
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
  }
}

QString TickText(double v, double step) {
  if (std::fabs(v) < std::fabs(step) * 1e-9) v = 0.0;
  return QString::number(v, 'g', 6);
}

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

QColor CurveColour(int n) {
  static const QRgb kColours[] = {0x1f77b4, 0xd62728, 0x2ca02c, 0xff7f0e, 0x9467bd,
                                  0x8c564b, 0xe377c2, 0x7f7f7f, 0xbcbd22, 0x17becf};
  return QColor(kColours[static_cast<std::size_t>(std::abs(n)) % 10]);
}

AxisTicks NiceTicks(double lo, double hi, int target) {
  AxisTicks t;
  if (!std::isfinite(lo) || !std::isfinite(hi) || lo > hi) lo = 0.0, hi = 1.0;
  if (lo == hi) {
    const double pad = lo == 0.0 ? 1.0 : std::fabs(lo) * 0.1;
    lo -= pad;
    hi += pad;
  }
  const double raw = (hi - lo) / std::max(target, 1);
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  const double fraction = raw / power;
  // The smallest step not below the fraction: each larger one from just above the one before.
  static const double kPast1 = std::nextafter(1.0, 2.0), kPast2 = std::nextafter(2.0, 3.0),
                      kPast5 = std::nextafter(5.0, 6.0);
  t.step = OneTwoFive(fraction, kPast1, kPast2, kPast5) * power;
  t.lo = std::floor(lo / t.step + 1e-9) * t.step;
  t.hi = std::ceil(hi / t.step - 1e-9) * t.step;
  const long long count = std::llround((t.hi - t.lo) / t.step);
  for (long long k = 0; k <= count && k <= 1000; ++k) t.values.push_back(t.lo + static_cast<double>(k) * t.step);
  return t;
}

void DrawProfilePlot(QPainter& painter, const QRect& area, const PlotSpec& figure) {
  painter.save();
  painter.fillRect(area, Qt::white);
  double xlo, xhi, ylo, yhi, y2lo, y2hi;
  Range(figure, false, xlo, xhi);
  Range(figure, true, ylo, yhi);
  Range(figure, true, y2lo, y2hi, true);
  const bool second = std::any_of(figure.curves.begin(), figure.curves.end(), [](const PlotCurve& c) { return c.right; });
  const bool first = !second || std::any_of(figure.curves.begin(), figure.curves.end(), [](const PlotCurve& c) { return !c.right; });
  // With every curve on the right the left axis has nothing to measure; it takes the right's range.
  const AxisTicks xt = NiceTicks(xlo, xhi);
  const AxisTicks yt = first ? NiceTicks(ylo, yhi) : NiceTicks(y2lo, y2hi);
  const AxisTicks y2t = NiceTicks(y2lo, y2hi);

  QFont font = painter.font();
  font.setFamily(QStringLiteral("Noto Sans CJK JP"));
  font.setPixelSize(std::clamp(area.height() / 36, 10, 28));
  painter.setFont(font);
  const QFontMetrics fm(font, painter.device());
  const int gap = fm.height() / 2;
  int labelWidth = 0;
  for (double v : yt.values) labelWidth = std::max(labelWidth, fm.horizontalAdvance(TickText(v, yt.step)));
  const int left = area.left() + gap + (figure.yTitle.empty() ? 0 : fm.height() + gap) + labelWidth + gap;
  const int bottom = area.bottom() - gap - (figure.xTitle.empty() ? 0 : fm.height() + gap) - fm.height() - gap;
  const int top = area.top() + fm.height();
  int label2Width = 0;
  if (second)
    for (double v : y2t.values) label2Width = std::max(label2Width, fm.horizontalAdvance(TickText(v, y2t.step)));
  const int right = second ? area.right() - gap - (figure.yTitle2.empty() ? 0 : fm.height() + gap) - label2Width - gap
                           : area.right() - fm.horizontalAdvance(TickText(xt.hi, xt.step)) / 2 - gap;
  const QRect box(QPoint(left, top), QPoint(std::max(right, left + 10), std::max(bottom, top + 10)));

  auto px = [&](double x) { return box.left() + (x - xt.lo) / (xt.hi - xt.lo) * box.width(); };
  auto pyOn = [&](double y, const AxisTicks& t, bool reverse) {
    const double f = (y - t.lo) / (t.hi - t.lo);
    return reverse ? box.top() + f * box.height() : box.bottom() - f * box.height();
  };
  auto py = [&](double y) { return pyOn(y, yt, figure.reverseY); };
  auto py2 = [&](double y) { return pyOn(y, y2t, figure.reverseY2); };

  // Grid and ticks.
  const QPen gridPen(QColor(0xd0, 0xd0, 0xd0), 1, Qt::DotLine);
  const QPen axisPen(Qt::black, 1);
  for (double v : xt.values) {
    const int x = static_cast<int>(std::lround(px(v)));
    if (figure.grid) {
      painter.setPen(gridPen);
      painter.drawLine(x, box.top(), x, box.bottom());
    }
    painter.setPen(axisPen);
    painter.drawLine(x, box.bottom(), x, box.bottom() + gap / 2);
    const QString text = TickText(v, xt.step);
    painter.drawText(QRect(x - 200, box.bottom() + gap / 2, 400, fm.height() + gap), Qt::AlignHCenter | Qt::AlignTop, text);
  }
  for (double v : yt.values) {
    const int y = static_cast<int>(std::lround(py(v)));
    if (figure.grid) {
      painter.setPen(gridPen);
      painter.drawLine(box.left(), y, box.right(), y);
    }
    painter.setPen(axisPen);
    painter.drawLine(box.left() - gap / 2, y, box.left(), y);
    painter.drawText(QRect(box.left() - gap - labelWidth - 2, y - fm.height(), labelWidth + 2, 2 * fm.height()),
                     Qt::AlignRight | Qt::AlignVCenter, TickText(v, yt.step));
  }
  if (second) {
    // The right axis: its ticks and numbers only; the grid follows the left one.
    for (double v : y2t.values) {
      const int y = static_cast<int>(std::lround(py2(v)));
      painter.setPen(axisPen);
      painter.drawLine(box.right(), y, box.right() + gap / 2, y);
      painter.drawText(QRect(box.right() + gap, y - fm.height(), label2Width + 2, 2 * fm.height()),
                       Qt::AlignLeft | Qt::AlignVCenter, TickText(v, y2t.step));
    }
  }
  painter.setPen(axisPen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(box);

  // Titles.
  if (!figure.xTitle.empty())
    painter.drawText(QRect(box.left(), area.bottom() - gap - fm.height(), box.width(), fm.height()), Qt::AlignHCenter,
                     Q(figure.xTitle));
  if (!figure.yTitle.empty()) {
    painter.save();
    painter.translate(area.left() + gap, box.center().y());
    painter.rotate(-90);
    painter.drawText(QRect(-box.height() / 2, 0, box.height(), fm.height()), Qt::AlignHCenter, Q(figure.yTitle));
    painter.restore();
  }
  if (second && !figure.yTitle2.empty()) {
    // Read from top to bottom, facing the plot like the left title.
    painter.save();
    painter.translate(area.right() - gap, box.center().y());
    painter.rotate(90);
    painter.drawText(QRect(-box.height() / 2, 0, box.height(), fm.height()), Qt::AlignHCenter, Q(figure.yTitle2));
    painter.restore();
  }

  // Curves, clipped to the box; NaN points break them.
  painter.save();
  painter.setClipRect(box.adjusted(1, 1, -1, -1));
  painter.setRenderHint(QPainter::Antialiasing, true);
  for (const PlotCurve& c : figure.curves) {
    painter.setPen(QPen(c.colour, std::max(1.5, fm.height() / 9.0)));
    QPolygonF run;
    auto flush = [&] {
      if (run.size() == 1) painter.drawEllipse(run[0], 1.5, 1.5);
      if (run.size() > 1) painter.drawPolyline(run);
      run.clear();
    };
    const std::size_t n = std::min(c.x.size(), c.y.size());
    for (std::size_t k = 0; k < n; ++k) {
      if (!std::isfinite(c.x[k]) || !std::isfinite(c.y[k])) {
        flush();
        continue;
      }
      run << QPointF(px(c.x[k]), c.right ? py2(c.y[k]) : py(c.y[k]));
    }
    flush();
  }
  painter.restore();

  // Legend in the upper right corner of the box.
  if (figure.legend && !figure.curves.empty()) {
    int width = 0;
    // With two vertical axes the legend says which one a curve is read on.
    auto text = [second](const PlotCurve& c) {
      return Q(c.label) + (second ? (c.right ? QStringLiteral(" (右軸)") : QStringLiteral(" (左軸)")) : QString());
    };
    for (const PlotCurve& c : figure.curves) width = std::max(width, fm.horizontalAdvance(text(c)));
    const int sample = 2 * fm.height();
    const int rowHeight = fm.height();
    const QRect frame(box.right() - gap - width - sample - 3 * gap, box.top() + gap, width + sample + 3 * gap,
                      static_cast<int>(figure.curves.size()) * rowHeight + gap);
    painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(frame);
    for (std::size_t k = 0; k < figure.curves.size(); ++k) {
      const int y = frame.top() + gap / 2 + static_cast<int>(k) * rowHeight + rowHeight / 2;
      painter.setPen(QPen(figure.curves[k].colour, std::max(1.5, fm.height() / 9.0)));
      painter.drawLine(frame.left() + gap, y, frame.left() + gap + sample, y);
      painter.setPen(axisPen);
      painter.drawText(QRect(frame.left() + 2 * gap + sample, y - rowHeight / 2, width + gap, rowHeight),
                       Qt::AlignLeft | Qt::AlignVCenter, text(figure.curves[k]));
    }
  }
  painter.restore();
}

void PutVariableOnRightAxis(PlotSpec& figure, const std::vector<std::string>& curveVariables, const std::string& variable) {
  std::vector<std::string> left;
  for (std::size_t k = 0; k < figure.curves.size() && k < curveVariables.size(); ++k) {
    figure.curves[k].right = curveVariables[k] == variable;
    if (!figure.curves[k].right && std::find(left.begin(), left.end(), curveVariables[k]) == left.end())
      left.push_back(curveVariables[k]);
  }
  figure.yTitle.clear();
  for (const std::string& v : left) figure.yTitle += (figure.yTitle.empty() ? "" : ", ") + v;
  figure.yTitle2 = variable;
}

QImage RenderProfilePlot(const PlotSpec& figure, int width, int height) {
  QImage image(std::max(width, 16), std::max(height, 16), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  DrawProfilePlot(painter, image.rect(), figure);
  painter.end();
  return image;
}

void SaveProfilePlot(const std::string& path, const PlotSpec& figure, int width, int height) {
  const QString file = QString::fromStdString(path);
  const QString ext = QFileInfo(file).suffix().toLower();
  const int w = std::clamp(width, 16, 20000), h = std::clamp(height, 16, 20000);
  const CorvaneError failed("分布図を書けません: " + path);
  if (ext == QLatin1String("png")) {
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || !RenderProfilePlot(figure, w, h).save(&out, "PNG") || !out.commit()) throw failed;
  } else if (ext == QLatin1String("svg")) {
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) throw failed;
    QSvgGenerator svg;
    svg.setOutputDevice(&out);
    svg.setSize(QSize(w, h));
    svg.setViewBox(QRect(0, 0, w, h));
    svg.setTitle(QStringLiteral("分布図"));
    QPainter painter;
    if (!painter.begin(&svg)) throw failed;
    DrawProfilePlot(painter, QRect(0, 0, w, h), figure);
    painter.end();
    if (!out.commit()) throw failed;
  } else if (ext == QLatin1String("pdf")) {
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) throw failed;
    {
      QPdfWriter pdf(&out);
      pdf.setResolution(72);
      pdf.setPageSize(QPageSize(QSizeF(w, h), QPageSize::Point));
      pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
      pdf.setTitle(QStringLiteral("分布図"));
      QPainter painter;
      if (!painter.begin(&pdf)) throw failed;
      DrawProfilePlot(painter, QRect(0, 0, w, h), figure);
      painter.end();
    }
    if (!out.commit()) throw failed;
  } else {
    throw CorvaneError("分布図の形式は拡張子 .png .svg .pdf .csv で選びます: " + path);
  }
}

}  // namespace corvane
