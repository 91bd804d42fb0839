#include "ui/ErrorBoundary.h"

#include <exception>
#include <new>

namespace corvane {

void RunGuarded(Notifier& notifier, const std::function<void()>& body) noexcept {
  try {
    try {
      body();
    } catch (const std::bad_alloc&) {
      notifier.Warning("メモリが足りないため処理を中断しました");
    } catch (const std::exception& e) {
      notifier.Warning(e.what());
    } catch (...) {
      notifier.Warning("処理中に不明なエラーが発生しました");
    }
  } catch (...) {
    // Showing the message itself failed; the program still goes on.
  }
}

}  // namespace corvane
