// The plot window's size in the settings is its outer size. The window and the command line turn
// it into a picture size the same way, so one settings file gives one picture everywhere: a
// nominal frame of 16 x 39 pixels comes off (whatever the window manager really adds), and the
// 19-pixel status bar below the picture.
#pragma once
#include <algorithm>

namespace corvane {

inline constexpr int kPlotFrameWidth = 16;
inline constexpr int kPlotFrameHeight = 39;
inline constexpr int kPlotStatusBarHeight = 19;

struct PlotClientSize {
  int width = 1;
  int height = kPlotStatusBarHeight + 1;
};

// The client area of a plot window of outer size `outerWidth` x `outerHeight`.
inline PlotClientSize ClientSizeOfPlotWindow(int outerWidth, int outerHeight) {
  return {std::max(outerWidth - kPlotFrameWidth, 1), std::max(outerHeight - kPlotFrameHeight, kPlotStatusBarHeight + 1)};
}

}  // namespace corvane
