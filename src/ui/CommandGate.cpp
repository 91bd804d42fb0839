#include "ui/CommandGate.h"

#include <QApplication>
#include <QTimer>

#include "ui/WorkerThread.h"

namespace corvane {

CommandGate::CommandGate(QObject* context, std::function<void(const std::function<void()>&)> runHandler)
    : context_(context), runHandler_(std::move(runHandler)) {}

CommandGate::~CommandGate() = default;

bool CommandGate::TryBegin() {
  if (busy_ || working_) return false;
  busy_ = true;
  return true;
}

void CommandGate::End() {
  busy_ = false;
  RunDeferred();
}

void CommandGate::RunWhenIdle(std::function<void()> body) {
  if (working_) {
    deferred_.push_back(std::move(body));
    return;
  }
  runHandler_(body);
}

// Held-back handlers run in the order they came, from the event loop, never from inside the
// tail of the command that just ended.
void CommandGate::RunDeferred() {
  if (deferred_.empty() || deferredScheduled_) return;
  deferredScheduled_ = true;
  QTimer::singleShot(0, context_, [this] {
    deferredScheduled_ = false;
    if (working_ || busy_) return;  // the command running now schedules them at its end
    std::vector<std::function<void()>> handlers;
    handlers.swap(deferred_);
    for (std::size_t k = 0; k < handlers.size(); ++k) {
      if (working_ || busy_) {
        // A handler started a command that is still waiting; the rest wait for it too.
        deferred_.insert(deferred_.begin(), handlers.begin() + static_cast<std::ptrdiff_t>(k), handlers.end());
        return;
      }
      runHandler_(handlers[k]);
    }
  });
}

// Runs one command body: the re-entrancy gate, and the error box for a failed conversion or file
// operation, after which the program goes on.
void CommandGate::Run(const std::function<void()>& body) {
  if (!TryBegin()) {
    QApplication::beep();
    return;
  }
  runHandler_(body);
  End();
}

void CommandGate::RunWork(const std::function<void(Progress&, Notifier&)>& work, Progress& progress,
                          Notifier& notifier, bool aborted) {
  struct WorkScope {
    CommandGate* gate;
    ~WorkScope() {
      gate->working_ = false;
      if (!gate->busy_) gate->RunDeferred();
    }
  } scope{this};
  working_ = true;
  abortToken_.store(aborted);
  RunOnWorker(worker(), context_, progress, notifier, abortToken_, work);
}

WorkerLoop& CommandGate::worker() {
  if (!worker_) worker_ = std::make_unique<WorkerLoop>();
  return *worker_;
}

}  // namespace corvane
