// The drawing after a zoom: the last picture moved to the new view at once, then the exact
// picture from the worker. The window keeps answering meanwhile; a zoom arriving while the
// drawing runs cancels it, and the newest view is drawn once it has stopped, so a burst of
// wheel notches costs one drawing.
#pragma once

namespace corvane {

class MainWindow;

class ViewDrawing {
 public:
  explicit ViewDrawing(MainWindow& window) : window_(window) {}

  // Draws the view shown now: at once the last picture moved, later the exact one.
  void Draw();
  // A drawing is scheduled or running on the worker (zooms meanwhile cancel it and wait for the
  // newest view).
  bool Running() const { return running_; }
  // Drawings of views started so far.
  int Started() const { return started_; }

 private:
  struct Job;
  void Post();
  void Done(Job& job);

  MainWindow& window_;
  bool running_ = false;
  bool redrawPending_ = false;  // the view changed since the drawing under way started
  int started_ = 0;
};

}  // namespace corvane
