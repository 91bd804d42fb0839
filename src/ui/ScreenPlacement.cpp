#include "ui/ScreenPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace corvane {

QRect FitRectInto(const QRect& frame, const QRect& available) {
  if (!available.isValid()) return frame;
  const int width = std::min(frame.width(), available.width());
  const int height = std::min(frame.height(), available.height());
  const int x = std::clamp(frame.x(), available.left(), available.right() + 1 - width);
  const int y = std::clamp(frame.y(), available.top(), available.bottom() + 1 - height);
  return QRect(x, y, width, height);
}

void KeepOnScreen(QWidget* window) {
  if (!window || !window->isWindow()) return;
  QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect available = screen->availableGeometry();
  const QRect inner = window->geometry();
  QRect outer = window->frameGeometry();
  // Before the window manager has framed the window the frame is the inner rectangle; allow for
  // a title bar and borders of usual size.
  const QMargins frame = outer == inner ? QMargins(4, 30, 4, 4)
                                        : QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                                                   outer.right() - inner.right(), outer.bottom() - inner.bottom());
  outer = inner.marginsAdded(frame);
  const QRect fitted = FitRectInto(outer, available);
  if (fitted == outer) return;
  const QRect newInner = fitted.marginsRemoved(frame);
  QSize size = newInner.size().boundedTo(inner.size());
  // A window cannot be smaller than its own minimum; it is then at least placed at the corner.
  size = size.expandedTo(window->minimumSize());
  if (size != inner.size()) window->resize(size);
  // A window's position is that of its frame.
  window->move(fitted.topLeft());
}

bool ScreenPlacement::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) {
    if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow()) KeepOnScreen(w);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace corvane
