#include "ui/HeldKeyLoop.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>

namespace corvane {

void RunWhileKeyHeld(const bool& held, int frameMs, QEventLoop*& loop, const std::function<void()>& frame) {
  QEventLoop waiting;
  QTimer tick;
  tick.setInterval(std::max(frameMs, 0));
  auto step = [&] {
    if (held) frame();
    if (!held) waiting.quit();
  };
  QObject::connect(&tick, &QTimer::timeout, &waiting, step);
  loop = &waiting;
  step();
  if (held) {
    tick.start();
    waiting.exec();
  }
  loop = nullptr;
}

}  // namespace corvane
