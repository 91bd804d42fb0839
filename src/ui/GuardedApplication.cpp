#include "ui/GuardedApplication.h"

#include "ui/ErrorBoundary.h"
#include "ui/FormNotifier.h"

namespace corvane {

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  FormNotifier notifier(activeWindow());
  RunGuarded(notifier, [&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

}  // namespace corvane
