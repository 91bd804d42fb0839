// The loop of a held arrow key: one frame now and one per timer tick while the key stays down,
// with the event loop running, so the release (or a lost focus) can end it.
#pragma once
#include <functional>

class QEventLoop;

namespace corvane {

// Runs `frame` once, then once every `frameMs` while `held` stays true. `loop` points at the
// waiting loop meanwhile (a key release sets `held` false and quits it) and is null afterwards.
void RunWhileKeyHeld(const bool& held, int frameMs, QEventLoop*& loop, const std::function<void()>& frame);

}  // namespace corvane
