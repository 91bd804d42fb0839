// The desktop program's application object: the last line of the error boundary. Every handler
// has its own boundary already; an error that still reaches the event loop is shown in a box
// instead of ending the program.
#pragma once
#include <QApplication>

namespace corvane {

class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace corvane
