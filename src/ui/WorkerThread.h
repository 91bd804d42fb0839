// Loads and drawings run on one worker thread of their own while the window thread keeps
// answering clicks. A command that needs the work's end waits for it in a local event loop, so it
// still returns after the work is done; progress reaches the gauge and messages reach their
// boxes by events queued to the window thread, and the abort command reaches the work through a
// flag.
#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <atomic>
#include <functional>
#include <string>

#include "base/Notifier.h"
#include "base/Progress.h"

namespace corvane {

// The worker: one thread started with the window and ended with it, which runs the jobs posted
// to it one after another.
class WorkerLoop {
 public:
  WorkerLoop();
  ~WorkerLoop();  // waits for the job under way and everything posted before
  WorkerLoop(const WorkerLoop&) = delete;
  WorkerLoop& operator=(const WorkerLoop&) = delete;
  // Runs `job` on the worker thread, then `done` on the thread of `context`, queued after every
  // call the job queued there; `done` is dropped when `context` is gone by then. `job` must not
  // throw.
  void Post(std::function<void()> job, QObject* context, std::function<void()> done);

 private:
  QThread thread_;
  QObject runner_;  // lives on thread_: what the jobs are queued to
};

// The worker's side of a window Progress: gauge and status calls are queued to the window
// thread (positions at most every ~30 ms), and the abort flag is `cancel`.
class QueuedProgress : public Progress {
 public:
  QueuedProgress(QObject* context, Progress& target, const std::atomic<bool>& cancel);
  void SetMaximum(std::int64_t maximum) override;
  void SetPosition(std::int64_t position) override;
  void SetStatus(const std::string& text) override;
  bool AbortRequested() const override { return cancel_.load(std::memory_order_relaxed); }
  // Sends the last position if a throttled one is still unsent.
  void Flush();

 private:
  void Post(std::function<void()> call);
  QPointer<QObject> context_;
  Progress& target_;
  const std::atomic<bool>& cancel_;
  QElapsedTimer sincePosition_;
  std::int64_t lastPosition_ = 0;
  bool positionPending_ = false;
};

// The worker's side of a window Notifier: each message is shown by the window thread while the
// work waits for the box to be closed, as it did when the work ran on the window thread.
class QueuedNotifier : public Notifier {
 public:
  QueuedNotifier(QObject* context, Notifier& target) : context_(context), target_(target) {}
  void Warning(const std::string& text) override;
  void Message(const std::string& text) override;
  void RaiseMainWindow() override;

 private:
  void Call(const std::function<void()>& call);
  QPointer<QObject> context_;
  Notifier& target_;
};

// Runs `work` on the worker with queued stand-ins for `progress` and `notifier`, and waits for
// it with the event loop of the calling (window) thread running. An exception the work throws
// is thrown again here. `context` is a window-thread object the queued calls are delivered to.
void RunOnWorker(WorkerLoop& worker, QObject* context, Progress& progress, Notifier& notifier, const std::atomic<bool>& cancel,
                 const std::function<void(Progress&, Notifier&)>& work);

// Runs `call` on the thread of `context` and waits for it; at once when already there.
void CallOnThreadOf(QObject* context, const std::function<void()>& call);

}  // namespace corvane
