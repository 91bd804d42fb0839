// The program's pseudo-random generator: seed := seed * 134775813 + 1 (mod 2^32). An integer in
// 0 .. n-1 is the high 32 bits of n * seed. Seedable so label positions are repeatable.
#pragma once
#include <cstdint>

namespace corvane {

class Random {
 public:
  explicit Random(std::uint32_t seed = 0) : seed_(seed) {}
  void Seed(std::uint32_t seed) { seed_ = seed; }
  std::uint32_t State() const { return seed_; }
  // Next integer in 0 .. n-1 (0 when n <= 0).
  std::int32_t Next(std::int32_t n) {
    seed_ = seed_ * 134775813u + 1u;
    if (n <= 0) return 0;
    return static_cast<std::int32_t>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(n)) * seed_) >> 32);
  }

 private:
  std::uint32_t seed_;
};

}  // namespace corvane
