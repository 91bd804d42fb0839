// Re-entrancy of the main window's commands. A command that would work on the data or the
// picture is refused while another one runs (it waits for its worker with the event loop running,
// so a second command can arrive); handlers arriving while the worker runs wait until it is done,
// since they write the options and the data set the work reads.
#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

class QObject;

namespace corvane {

class Notifier;
class Progress;
class WorkerLoop;

class CommandGate {
 public:
  // `context` is the window the held-back handlers and the work's messages run on; `runHandler`
  // runs one handler inside the window's error boundary.
  CommandGate(QObject* context, std::function<void(const std::function<void()>&)> runHandler);
  ~CommandGate();

  // Begins a command; false (refused) while another one runs.
  bool TryBegin();
  void End();
  // A command runs, or work runs on the worker thread.
  bool Busy() const { return busy_ || working_; }
  bool InCommand() const { return busy_; }
  bool Working() const { return working_; }
  // Marks work on the worker that no command waits for (a zoom's drawing); clearing it runs the
  // handlers held back meanwhile once no command runs.
  void SetWorking(bool working) { working_ = working; }
  // Runs `body` at once, or once the worker is done when it runs.
  void RunWhenIdle(std::function<void()> body);
  // A slot for connect(): `f` run by RunWhenIdle, with the signal's arguments when it takes them.
  template <class F>
  auto Guarded(F f) {
    return [this, f](auto&&... args) {
      RunWhenIdle([f, ... a = std::decay_t<decltype(args)>(args)] {
        if constexpr (std::is_invocable_v<const F&, const std::decay_t<decltype(args)>&...>)
          f(a...);
        else
          f();
      });
    };
  }
  // Runs the handlers held back while the worker ran, once no command runs any more.
  void RunDeferred();
  // A command body: refused with a beep while another command runs, errors shown.
  void Run(const std::function<void()>& body);
  // Runs `work` on the worker thread with `progress` and `notifier`, waiting for it with the
  // event loop running; the abort token starts as `aborted`. Errors are thrown again here.
  void RunWork(const std::function<void(Progress&, Notifier&)>& work, Progress& progress, Notifier& notifier,
               bool aborted);
  // The abort command as the worker sees it, readable from another thread.
  std::atomic<bool>& abortToken() { return abortToken_; }
  WorkerLoop& worker();

 private:
  QObject* context_;
  std::function<void(const std::function<void()>&)> runHandler_;
  bool busy_ = false;
  bool working_ = false;
  std::atomic<bool> abortToken_{false};
  std::unique_ptr<WorkerLoop> worker_;  // where loads and drawings run, made when first needed
  std::vector<std::function<void()>> deferred_;
  bool deferredScheduled_ = false;
};

}  // namespace corvane
