// The OpenGL window: the scene drawn through OpenGL in a box of its own, with keyboard zoom and
// pan that preview grid and boundaries while a key is held. The frame is built as a list of
// primitives (OpenGLGeometry) and replayed by paintGL, so a repaint, a resize or a window shown
// again after closing redraws the last frame without rebuilding it.
#pragma once
#include <QOpenGLWidget>
#include <functional>
#include <memory>

#include "opengl/OpenGLGeometry.h"

class QEventLoop;
class QOpenGLFunctions_1_1;

namespace corvane {

// What the window reads from the main window and how it reports back.
class OpenGLWindowHost {
 public:
  virtual ~OpenGLWindowHost() = default;
  // The data set drawn and its view: contour ranges and edge flags (AutoStep may set the steps).
  virtual const FieldDataSet& Data() const = 0;
  virtual FieldView& View() = 0;
  // Where a frame reports the levels it drew; null: nowhere.
  virtual ContourReadout* Readout() = 0;
  // The main window's gauge: its abort flag tells whether the abort command stopped a frame.
  virtual Progress& progress() = 0;
  // Read at each use: the main window's may be replaced.
  virtual Notifier& notifier() = 0;
  // The controls now; throws on an unreadable number.
  virtual ProgramOptions Options() const = 0;
  // The plot window's caption for the variable of row `row`.
  virtual void SetPlotCaption(int row) = 0;
  // Brings the main window to the front (after the vector warning).
  virtual void RaiseMainWindow() = 0;
  // Forgets a requested abort, so that it stops only the frame it was given in.
  virtual void ClearAbort() = 0;
  // Writes the plot view's centre and scales back into their boxes (after a key is released).
  virtual void WriteViewBoxes() = 0;
  // Runs a frame's build on the main window's worker thread, waiting with the event loop running.
  virtual void RunWork(const std::function<void(Progress&, Notifier&)>& work) = 0;
  // The main window's command lock: nothing loads a data set while a frame is built.
  virtual bool TryBeginCommand() = 0;
  virtual void EndCommand() = 0;
  // The end of a full frame, for the status bar and gauge: completed, or stopped by the abort
  // command or an error.
  virtual void FrameFinished(bool completed, bool aborted) = 0;
};

class OpenGLWindow : public QOpenGLWidget {
  Q_OBJECT

 public:
  explicit OpenGLWindow(std::unique_ptr<OpenGLWindowHost> host, QWidget* parent = nullptr);
  ~OpenGLWindow() override;

  // Builds one frame and shows it. Refused while another frame or a command is running.
  void DrawOpenGLScene(bool showContour, bool showGrid, bool showVectors);
  // Fits the box to the extent in the client area left of the colour bar's strip.
  void FitOrthoBox(double xmax, double ymax, double xmin, double ymin);
  void ZoomOrthoBox(double factor);

  // Whether this platform can give the window an OpenGL context (it stays hidden otherwise).
  static bool OpenGLAvailable();
  void setVisible(bool visible) override;

  const OrthoBox& Box() const { return box_; }
  const GlFrame& Frame() const { return frame_; }
  // Pixels at the right edge the shown frame's colour bar takes; 0 without a bar.
  int ColourBarStrip() const;
  bool PanKeyHeld = false;
  int panFrameMs = 20;  // shortest time between two frames while a key is held

  // Arrow keys pan while held, Shift with Up or Down zooms; the loop runs until the key is released.
  void FormKeyDown(int key, Qt::KeyboardModifiers shift);
  void FormKeyUp();

 protected:
  void initializeGL() override;
  void paintGL() override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  bool lastFrameAborted_ = false;  // the abort command stopped the last frame built
  // Builds the frame into the spare list and swaps it in; false when options could not be read.
  bool BuildFrame(bool showContour, bool showGrid, bool showVectors);
  ProgramOptions Options() const;
  // The frame's GL primitives in the data area; the bar's strip over them.
  void ReplayFrame(int dataWidth);
  void PaintColourBar();

  std::unique_ptr<OpenGLWindowHost> host_;
  OrthoBox box_;
  GlFrame frame_;  // what paintGL replays
  GlFrame spare_;  // the next frame, built while the last one stays on screen
  bool building_ = false;
  QEventLoop* heldLoop_ = nullptr;  // the held-key loop the release ends
  QOpenGLFunctions_1_1* gl_ = nullptr;
  unsigned buffer_ = 0;              // buffer object holding the frame's vertex and colour arrays
  unsigned indexBuffer_ = 0;         // and one holding its triangle indices
  std::uint64_t frameSerial_ = 1;    // counts the frames built
  std::uint64_t uploadedFrame_ = 0;  // the frame the buffer holds
};

}  // namespace corvane
