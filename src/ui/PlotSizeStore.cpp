#include "ui/PlotSizeStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>

#include "scene/DesktopIntegration.h"

namespace corvane {
namespace {

constexpr int kSmallest = 120;
constexpr int kLargest = 20000;

}  // namespace

QString DefaultPlotSizeStore() { return QDir(ConfigHome()).filePath(QStringLiteral("corvane/plot-window")); }

QSize UsefulPlotSize(const QRect& available) {
  if (!available.isValid()) return QSize(800, 600);
  const int width = std::max(available.width() * 55 / 100, std::min(available.width(), 400));
  const int height = std::max(available.height() * 70 / 100, std::min(available.height(), 300));
  return QSize(width, height);
}

std::optional<QSize> ReadPlotSize(const QString& store) {
  const QFileInfo info(store);
  if (store.isEmpty() || !info.isFile() || info.size() > 256) return std::nullopt;
  QFile in(store);
  if (!in.open(QIODevice::ReadOnly)) return std::nullopt;
  const QStringList words = QString::fromLatin1(in.readAll()).simplified().split(QLatin1Char(' '));
  if (words.size() != 2) return std::nullopt;
  bool okW = false, okH = false;
  const int width = words[0].toInt(&okW), height = words[1].toInt(&okH);
  if (!okW || !okH || width < kSmallest || height < kSmallest || width > kLargest || height > kLargest)
    return std::nullopt;
  return QSize(width, height);
}

void WritePlotSize(const QString& store, const QSize& size) {
  if (store.isEmpty() || size.width() < kSmallest || size.height() < kSmallest) return;
  QDir().mkpath(QFileInfo(store).absolutePath());
  QSaveFile out(store);
  if (!out.open(QIODevice::WriteOnly)) return;
  out.write(QStringLiteral("%1 %2\n").arg(size.width()).arg(size.height()).toLatin1());
  out.commit();
}

}  // namespace corvane
