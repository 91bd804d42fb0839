#include "ui/WorkerThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QThread>
#include <exception>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace corvane {
namespace {

// A call queued to another thread is ordered after what the posting thread did before it: Qt's
// event queue guarantees that with locks ThreadSanitizer cannot see inside the uninstrumented Qt
// libraries, so a sanitized build says so itself around every hand-over of ours.
[[maybe_unused]] char handOver;
inline void BeforeHandOver() {
#if defined(__SANITIZE_THREAD__)
  __tsan_release(&handOver);
#endif
}
inline void AfterHandOver() {
#if defined(__SANITIZE_THREAD__)
  __tsan_acquire(&handOver);
#endif
}

// A call handed to another thread. Qt builds its own copy of it before queuing it: the copy is
// the last thing written on this side, and the first thing read on the other.
template <class F>
struct HandedOver {
  F call;
  explicit HandedOver(F f) : call(std::move(f)) {}
  HandedOver(HandedOver&& other) noexcept : call(std::move(other.call)) { BeforeHandOver(); }
  HandedOver(const HandedOver& other) : call(other.call) { BeforeHandOver(); }
  HandedOver& operator=(const HandedOver&) = delete;
  void operator()() {
    AfterHandOver();
    call();
    BeforeHandOver();  // a blocking caller reads what the call wrote
  }
};

// `call` run by the event loop of `target`'s thread, after what this thread did so far.
template <class F>
void Queue(QObject* target, F call, Qt::ConnectionType type = Qt::QueuedConnection) {
  QMetaObject::invokeMethod(target, HandedOver<F>(std::move(call)), type);
  AfterHandOver();
}

}  // namespace

QueuedProgress::QueuedProgress(QObject* context, Progress& target, const std::atomic<bool>& cancel)
    : context_(context), target_(target), cancel_(cancel) {
  sincePosition_.start();
}

// The call runs on the window thread after everything queued before it; the target outlives
// the work, and the values are copied into the call.
void QueuedProgress::Post(std::function<void()> call) {
  if (!context_) return;
  Queue(context_.data(), std::move(call));
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
  Queue(
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

WorkerLoop::WorkerLoop() {
  thread_.setObjectName(QStringLiteral("corvane worker"));
  runner_.moveToThread(&thread_);
  thread_.start();
}

WorkerLoop::~WorkerLoop() {
  thread_.quit();  // after every job queued before
  thread_.wait();
}

void WorkerLoop::Post(std::function<void()> job, QObject* context, std::function<void()> done) {
  QPointer<QObject> target(context);
  Queue(&runner_, [job = std::move(job), target, done = std::move(done)] {
    job();
    if (target) Queue(target.data(), done);
  });
}

void RunOnWorker(WorkerLoop& worker, QObject* context, Progress& progress, Notifier& notifier, const std::atomic<bool>& cancel,
                 const std::function<void(Progress&, Notifier&)>& work) {
  QueuedProgress queuedProgress(context, progress, cancel);
  QueuedNotifier queuedNotifier(context, notifier);
  std::exception_ptr error;
  QEventLoop loop;
  bool finished = false;
  // `done` is queued behind every progress call of the work, so the gauge and status are up to
  // date when the loop ends.
  worker.Post(
      [&] {
        try {
          work(queuedProgress, queuedNotifier);
        } catch (...) {
          error = std::current_exception();
        }
        queuedProgress.Flush();
      },
      context,
      [&] {
        finished = true;
        loop.quit();
      });
  loop.exec();
  // Quitting the program ends every event loop at once, this one too; the work still has to
  // be waited for, and the messages it waits on answered.
  while (!finished) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  if (error) std::rethrow_exception(error);
}

}  // namespace corvane
