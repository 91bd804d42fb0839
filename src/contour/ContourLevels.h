// Which contour levels a drawing has: the multiples n * step inside [min, max], or none when the
// range or step makes no sense. Every contour drawer (lines, fills, legend) checks this first so a
// step of 0, a NaN range or a step far too small for the range never hangs or eats the memory.
#pragma once
#include <cmath>
#include <cstdint>
#include <string>

namespace corvane {

// More levels than this in one range is treated as a mistaken step.
constexpr std::int64_t kMaxContourLevels = 100000;
// Level indices beyond 2^53 can no longer be told apart as doubles.
constexpr double kMaxContourLevelIndex = 9007199254740992.0;

// Status text shown instead of a drawing when the levels are unusable.
inline constexpr const char* kContourStepInvalidText = "等高線の間隔が正しくないため等高線を描きません";

struct ContourLevelRange {
  std::int64_t firstLevelIndex = 0;  // Ceil(min / step): level l has the value (first + l) * step
  std::int32_t levelCount = 0;       // Ceil(max / step) - Ceil(min / step) + 1, never negative
  bool valid = false;                // false: draw nothing and say so
};

// Level range of one value row. A range with max below min is valid and simply has no levels.
inline ContourLevelRange MakeContourLevelRange(double max, double min, double step) {
  ContourLevelRange range;
  if (!std::isfinite(max) || !std::isfinite(min) || !std::isfinite(step) || !(step > 0.0)) return range;
  const double first = std::ceil(min / step);
  const double last = std::ceil(max / step);
  if (!std::isfinite(first) || !std::isfinite(last) || std::fabs(first) > kMaxContourLevelIndex ||
      std::fabs(last) > kMaxContourLevelIndex)
    return range;
  const double count = last - first + 1.0;
  if (count > static_cast<double>(kMaxContourLevels)) return range;
  range.firstLevelIndex = static_cast<std::int64_t>(first);
  range.levelCount = count > 0.0 ? static_cast<std::int32_t>(count) : 0;
  range.valid = true;
  return range;
}

// Why the contour layers cannot draw the range max, min with this step, as a message naming the
// cause and the numbers; empty when they can. Unusable: no finite minimum or maximum (a variable
// without a finite value), a minimum not below the maximum, a step that is not a positive
// number, or more levels than the limit.
std::string ContourRangeProblem(double max, double min, double step);

// Value of level index l (0-based) of the range.
inline double ContourLevelValue(const ContourLevelRange& range, std::int64_t l, double step) {
  return static_cast<double>(range.firstLevelIndex + l) * step;
}

}  // namespace corvane
