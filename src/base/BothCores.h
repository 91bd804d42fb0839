// Splits a range of independent work between the calling thread and one helper thread: the
// machine this runs on is a two-core desktop, and a second thread halves the time of the loops
// over a million nodes. Small ranges stay on the calling thread.
#pragma once
#include <cstdint>
#include <exception>
#include <thread>

namespace corvane {

// Runs fn(begin, end) on [0, n): the first half here, the second on a helper thread when n is at
// least `minimumToSplit`. An exception of either half is rethrown here after both have ended.
template <class Fn>
void RunOnBothCores(std::int64_t n, std::int64_t minimumToSplit, Fn&& fn) {
  if (n < minimumToSplit || n < 2) {
    fn(std::int64_t{0}, n);
    return;
  }
  std::int64_t half = n / 2;
  std::exception_ptr helperError;
  std::thread helper([&] {
    try {
      fn(half, n);
    } catch (...) {
      helperError = std::current_exception();
    }
  });
  std::exception_ptr ownError;
  try {
    fn(std::int64_t{0}, half);
  } catch (...) {
    ownError = std::current_exception();
  }
  helper.join();
  if (ownError) std::rethrow_exception(ownError);
  if (helperError) std::rethrow_exception(helperError);
}

}  // namespace corvane
