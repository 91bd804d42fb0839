// The one boundary every window handler runs inside: an error becomes a message box and the
// program goes on with its data, view and settings. No exception ever crosses a Qt signal.
#pragma once
#include <functional>

#include "base/Notifier.h"

namespace corvane {

// Runs `body`; a CorvaneError or any std::exception is shown by `notifier` as a warning, any
// other exception as a general failure. Never throws.
void RunGuarded(Notifier& notifier, const std::function<void()>& body) noexcept;

}  // namespace corvane
