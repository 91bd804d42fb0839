// Keeps every window inside the usable area of its screen (without panels and docks): a window
// larger than the screen is shrunk, one hanging over an edge is moved back in.
#pragma once
#include <QMargins>
#include <QObject>
#include <QRect>

class QWidget;

namespace corvane {

// The outer rectangle `frame` moved (and shrunk where it must be) to lie inside `available`.
QRect FitRectInto(const QRect& frame, const QRect& available);

// Fits `window` into the available area of its screen (the primary one when it has none yet).
// The frame is taken as the window manager draws it once known, an estimate before.
void KeepOnScreen(QWidget* window);

// Fits a window each time it is shown; install it on the top-level windows.
class ScreenPlacement : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace corvane
