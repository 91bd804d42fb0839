#include "contour/ContourLevels.h"

#include "render/NumberFormat.h"

namespace corvane {

std::string ContourRangeProblem(double max, double min, double step) {
  const std::string range = "(最小値 " + FormatGeneral15(min) + "、最大値 " + FormatGeneral15(max) + ")";
  if (!std::isfinite(min) || !std::isfinite(max))
    return "等高線の範囲 " + range + " が有限の数ではありません (有限の値が一つも無い量です)。等高線を描きません";
  if (!(min < max)) return "等高線の最小値が最大値以上です " + range + "。等高線を描きません";
  if (!std::isfinite(step) || !(step > 0.0))
    return "等高線の間隔 " + FormatGeneral15(step) + " が正の数ではありません。等高線を描きません";
  if (!MakeContourLevelRange(max, min, step).valid)
    return "等高線の間隔 " + FormatGeneral15(step) + " では範囲 " + range + " の等高線が " +
           std::to_string(kMaxContourLevels) + " 本を超えます。等高線を描きません";
  return {};
}

}  // namespace corvane
