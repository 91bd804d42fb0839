// What the plot window needs of the program: its state (view, readout, options, last picture)
// and the commands a click, a drag or a key starts there.
#pragma once
#include <QImage>
#include <QString>
#include <functional>

#include "base/Notifier.h"
#include "ui/ProgramState.h"

namespace corvane {

class PlotHost {
 public:
  virtual ~PlotHost() = default;
  virtual ProgramState& State() = 0;
  virtual Notifier& notifier() = 0;
  // Runs one handler inside the program's error boundary.
  virtual void RunHandler(const std::function<void()>& body) = 0;
  virtual bool TryBeginCommand() = 0;
  virtual void EndCommand() = 0;
  // A load or drawing works on the program state from another thread: leave it alone.
  virtual bool Working() const = 0;
  // Runs `body` in the error boundary now, or once the work on the worker thread is over.
  virtual void RunHandlerWhenIdle(std::function<void()> body) = 0;
  virtual void ZoomAt(int px, int py, double factor) = 0;
  virtual void ZoomToRect(int x1, int y1, int x2, int y2) = 0;
  // The grid-only preview while panning.
  virtual void RenderGridPreview(QImage& image) = 0;
  // A point picked for the analysis segment (first or second end), as the typed boxes take it.
  virtual void SegmentPointPicked(bool first, const QString& xText, const QString& yText) = 0;
  virtual QString CurrentFolder() const = 0;
  // The wheel: scales by `factor` about the world point under pixel (px, py).
  virtual void WheelZoom(int px, int py, double factor) = 0;
  // The view about to be left (a pan starts), for the way back.
  virtual void RememberView() = 0;
  // Data files dropped on the plot window (several are the frames of a series).
  virtual void OpenDroppedFiles(const QStringList& paths) = 0;
  // While a line is picked for a profile: the cursor moved to, or clicked at, pixel (x, y).
  virtual void GridLineHover(int, int) {}
  virtual void GridLinePicked(int, int) {}
  // A time series of several frames is loaded; its frames can be saved as one animation.
  virtual bool SeriesLoaded() const { return false; }
  virtual bool SaveSeriesAnimation(const QString&) { return false; }
};

}  // namespace corvane
