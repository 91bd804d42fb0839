#include "ui/WorkerThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QThread>
#include <exception>

namespace corvane {

QueuedProgress::QueuedProgress(QObject* context, Progress& target, const std::atomic<bool>& cancel)
    : context_(context), target_(target), cancel_(cancel) {
  sincePosition_.start();
}

// The call runs on the window thread after everything queued before it; the target outlives
// the work, and the values are copied into the call.
void QueuedProgress::Post(std::function<void()> call) {
  if (!context_) return;
  QMetaObject::invokeMethod(context_.data(), std::move(call), Qt::QueuedConnection);
}

void QueuedProgress::SetMaximum(std::int64_t maximum) {
  Progress* target = &target_;
  Post([target, maximum] { target->SetMaximum(maximum); });
}

// A loader reports millions of positions; the gauge needs a few dozen a second.
void QueuedProgress::SetPosition(std::int64_t position) {
  lastPosition_ = position;
  positionPending_ = true;
  if (sincePosition_.elapsed() < 30) return;
  Flush();
}

void QueuedProgress::Flush() {
  if (!positionPending_) return;
  positionPending_ = false;
  sincePosition_.restart();
  Progress* target = &target_;
  const std::int64_t position = lastPosition_;
  Post([target, position] { target->SetPosition(position); });
}

void QueuedProgress::SetStatus(const std::string& text) {
  Flush();  // the gauge shows where the work was when its status changed
  Progress* target = &target_;
  Post([target, text] { target->SetStatus(text); });
}

void CallOnThreadOf(QObject* context, const std::function<void()>& call) {
  if (!context || QThread::currentThread() == context->thread()) {
    call();
    return;
  }
  // An exception must not cross into the event loop; it comes back to the caller instead.
  std::exception_ptr error;
  QMetaObject::invokeMethod(
      context,
      [&] {
        try {
          call();
        } catch (...) {
          error = std::current_exception();
        }
      },
      Qt::BlockingQueuedConnection);
  if (error) std::rethrow_exception(error);
}

void QueuedNotifier::Call(const std::function<void()>& call) { CallOnThreadOf(context_.data(), call); }

void QueuedNotifier::Warning(const std::string& text) {
  Call([&] { target_.Warning(text); });
}

void QueuedNotifier::Message(const std::string& text) {
  Call([&] { target_.Message(text); });
}

void QueuedNotifier::RaiseMainWindow() {
  Call([&] { target_.RaiseMainWindow(); });
}

void RunOnWorker(QObject* context, Progress& progress, Notifier& notifier, const std::atomic<bool>& cancel,
                 const std::function<void(Progress&, Notifier&)>& work) {
  QueuedProgress queuedProgress(context, progress, cancel);
  QueuedNotifier queuedNotifier(context, notifier);
  std::exception_ptr error;
  QThread* thread = QThread::create([&] {
    try {
      work(queuedProgress, queuedNotifier);
    } catch (...) {
      error = std::current_exception();
    }
    queuedProgress.Flush();
  });
  QEventLoop loop;
  bool finished = false;
  // Queued behind every progress call of the work, so the gauge and status are up to date when
  // the loop ends.
  QObject::connect(
      thread, &QThread::finished, &loop,
      [&] {
        finished = true;
        loop.quit();
      },
      Qt::QueuedConnection);
  thread->start();
  loop.exec();
  // Quitting the program ends every event loop at once, this one too; the work still has to
  // be waited for, and the messages it waits on answered.
  while (!finished) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  thread->wait();
  delete thread;
  if (error) std::rethrow_exception(error);
}

}  // namespace corvane
