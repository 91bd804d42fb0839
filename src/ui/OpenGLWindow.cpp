#include "ui/OpenGLWindow.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLFunctions_1_1>
#include <QOpenGLVersionFunctionsFactory>
#include <QPainter>
#include <QSurfaceFormat>
#include <QTimer>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>

#include "render/PainterCanvas.h"
#include "scene/SceneRenderer.h"
#include "ui/HeldKeyLoop.h"
#include "ui/WorkerThread.h"

namespace corvane {
namespace {

// The colour array is handed to GL as bytes R, G, B of each 0x00BBGGRR value.
static_assert(std::endian::native == std::endian::little, "colour layout assumes a little-endian machine");

// The design outer size of the window.
constexpr int kOuterWidth = 556, kOuterHeight = 585;

// A compatibility context with 24-bit colour, no alpha and double buffering.
QSurfaceFormat GLPixelFormat() {
  QSurfaceFormat f;
  f.setRenderableType(QSurfaceFormat::OpenGL);
  f.setProfile(QSurfaceFormat::CompatibilityProfile);
  f.setRedBufferSize(8);
  f.setGreenBufferSize(8);
  f.setBlueBufferSize(8);
  f.setAlphaBufferSize(0);
  f.setStencilBufferSize(0);
  f.setSamples(0);
  f.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
  return f;
}

// The GL primitive of a batch.
GLenum ModeOf(GlMode mode) {
  switch (mode) {
    case GlMode::Lines: return GL_LINES;
    case GlMode::LineStrip: return GL_LINE_STRIP;
    case GlMode::Triangles:
    case GlMode::IndexedTriangles: return GL_TRIANGLES;
  }
  return GL_LINES;
}

// Raises a flag for the length of a scope, however it ends.
struct FlagScope {
  bool& flag;
  explicit FlagScope(bool& f) : flag(f) { flag = true; }
  ~FlagScope() { flag = false; }
};

}  // namespace

// Created hidden with its design size; the context comes with the first showing.
OpenGLWindow::OpenGLWindow(std::unique_ptr<OpenGLWindowHost> host, QWidget* parent) : QOpenGLWidget(parent, Qt::Window), host_(std::move(host)) {
  setObjectName(QStringLiteral("OGLForm"));
  setWindowTitle(QStringLiteral("OpenGL"));
  setFormat(GLPixelFormat());
  setUpdateBehavior(QOpenGLWidget::NoPartialUpdate);
  setFocusPolicy(Qt::StrongFocus);
  resize(kOuterWidth - 8, kOuterHeight - 27);
  PanKeyHeld = false;
}

// Frees the buffer objects while the context still exists.
OpenGLWindow::~OpenGLWindow() {
  if (buffer_ && context() && context()->isValid()) {
    makeCurrent();
    context()->functions()->glDeleteBuffers(1, &buffer_);
    context()->functions()->glDeleteBuffers(1, &indexBuffer_);
    doneCurrent();
  }
}

ProgramOptions OpenGLWindow::Options() const { return host_->Options(); }

// Tries once whether a context of the window's format can be made.
bool OpenGLWindow::OpenGLAvailable() {
  static const bool available = [] {
    QOpenGLContext probe;
    probe.setFormat(GLPixelFormat());
    return probe.create() && !probe.isOpenGLES();
  }();
  return available;
}

// A platform without OpenGL (the offscreen one, a display without GLX) cannot show the window;
// showing it anyway would fail inside the toolkit, so it stays hidden and the user is told.
void OpenGLWindow::setVisible(bool visible) {
  if (visible && !OpenGLAvailable()) {
    host_->notifier().Warning("OpenGLを使用できないため、OpenGLの画面を表示できません");
    return;
  }
  QOpenGLWidget::setVisible(visible);
}

// Fits the box at the current client size less the strip the colour bar will take.
void OpenGLWindow::FitOrthoBox(double xmax, double ymax, double xmin, double ymin) {
  int strip = 0;
  const std::optional<ColourBarInput> bar = ColourBarOf(Options(), host_->Data(), host_->View());
  if (bar) strip = ColourBarStripIn(*bar, width());
  box_ = corvane::FitOrthoBox(xmax, ymax, xmin, ymin, width() - strip, height());
}

int OpenGLWindow::ColourBarStrip() const {
  return frame_.colourBar ? ColourBarStripIn(*frame_.colourBar, width()) : 0;
}

void OpenGLWindow::ZoomOrthoBox(double factor) { corvane::ZoomOrthoBox(box_, factor); }

// One frame under the main window's command lock.
void OpenGLWindow::DrawOpenGLScene(bool showContour, bool showGrid, bool showVectors) {
  if (building_ || !host_->TryBeginCommand()) {
    QApplication::beep();
    return;
  }
  const bool built = BuildFrame(showContour, showGrid, showVectors);
  host_->FrameFinished(built && !lastFrameAborted_, lastFrameAborted_);
  host_->EndCommand();
}

// Builds a frame with the current options and swaps it in for painting.
bool OpenGLWindow::BuildFrame(bool showContour, bool showGrid, bool showVectors) {
  if (building_) return false;
  FlagScope scope(building_);
  Notifier& notifier = host_->notifier();
  const FieldDataSet& field = host_->Data();
  FieldView& view = host_->View();
  ContourReadout* readout = host_->Readout();
  // An abort stops only the frame it was given in.
  host_->ClearAbort();
  lastFrameAborted_ = false;
  try {
    const ProgramOptions options = Options();
    // Before the first fit the box shows the whole data set, copies included.
    if (box_.Degenerate() && !field.Empty()) {
      double xmax, ymax, xmin, ymin;
      OverlayExtents(field, options.display, xmax, ymax, xmin, ymin);
      FitOrthoBox(xmax, ymax, xmin, ymin);
    }
    auto build = [&](Progress& workProgress, Notifier& workNotifier) {
      // The caption and the main window are widgets: they change on this window's thread.
      auto caption = [this](int row) { CallOnThreadOf(this, [&] { host_->SetPlotCaption(row); }); };
      auto raise = [this] { CallOnThreadOf(this, [&] { host_->RaiseMainWindow(); }); };
      OpenGLSceneHost scene{&field, readout, &workProgress, &workNotifier, caption, raise, &view};
      BuildOpenGLScene(spare_, box_, scene, options, showContour, showGrid, showVectors);
    };
    host_->RunWork(build);
  } catch (const std::exception& e) {
    host_->ClearAbort();
    notifier.Warning(e.what());
    return false;
  }
  std::swap(frame_, spare_);
  ++frameSerial_;
  lastFrameAborted_ = host_->progress().AbortRequested();
  host_->ClearAbort();
  update();
  return true;
}

// Takes the GL 1.1 functions of a new context.
void OpenGLWindow::initializeGL() {
  // A new context has no buffer yet.
  buffer_ = indexBuffer_ = 0;
  uploadedFrame_ = 0;
  gl_ = context() ? QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_1_1>(context()) : nullptr;
  if (gl_) gl_->initializeOpenGLFunctions();
}

// Draws the last frame, and the colour bar at the right when the frame has one.
void OpenGLWindow::paintGL() {
  // Without a context (a platform with no OpenGL) there is nothing to draw into.
  if (!context() || !context()->isValid()) return;
  const int strip = ColourBarStrip();
  ReplayFrame(width() - strip);
  if (strip > 0) PaintColourBar();
}

// Replays the frame into the left `dataWidth` pixels: identity, the box's orthographic
// projection, clear, then every batch from the vertex and colour arrays.
void OpenGLWindow::ReplayFrame(int dataWidth) {
  QOpenGLFunctions* f = context()->functions();
  const Colour bg = frame_.background;
  f->glClearColor(RedOf(bg) / 255.0f, GreenOf(bg) / 255.0f, BlueOf(bg) / 255.0f, 1.0f);
  f->glClear(GL_COLOR_BUFFER_BIT);
  if (!gl_ || frame_.box.Degenerate() || frame_.vertices.empty()) return;
  const qreal ratio = devicePixelRatioF();
  f->glViewport(0, 0, static_cast<GLsizei>(std::lround(std::max(dataWidth, 1) * ratio)),
                static_cast<GLsizei>(std::lround(height() * ratio)));
  const OrthoBox& b = frame_.box;
  gl_->glMatrixMode(GL_PROJECTION);
  gl_->glLoadIdentity();
  gl_->glMatrixMode(GL_MODELVIEW);
  gl_->glLoadIdentity();
  gl_->glOrtho(b.left, b.right, b.bottom, b.top, b.nearZ, b.farZ);
  gl_->glDisable(GL_DEPTH_TEST);
  gl_->glDisable(GL_BLEND);
  gl_->glDisable(GL_LIGHTING);
  gl_->glDisable(GL_CULL_FACE);
  gl_->glShadeModel(GL_SMOOTH);
  gl_->glLineWidth(1.0f);
  // The frame's arrays go into a buffer object once per frame, so repainting the same frame
  // (expose, resize, showing again) does not copy them again.
  const GLsizeiptr vertexBytes = static_cast<GLsizeiptr>(frame_.vertices.size() * sizeof(GlPoint));
  const GLsizeiptr colourBytes = static_cast<GLsizeiptr>(frame_.colours.size() * sizeof(Colour));
  const GLsizeiptr indexBytes = static_cast<GLsizeiptr>(frame_.indices.size() * sizeof(std::uint32_t));
  if (!buffer_) f->glGenBuffers(1, &buffer_);
  if (!indexBuffer_) f->glGenBuffers(1, &indexBuffer_);
  f->glBindBuffer(GL_ARRAY_BUFFER, buffer_);
  f->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
  if (uploadedFrame_ != frameSerial_) {
    f->glBufferData(GL_ARRAY_BUFFER, vertexBytes + colourBytes, nullptr, GL_STATIC_DRAW);
    f->glBufferSubData(GL_ARRAY_BUFFER, 0, vertexBytes, frame_.vertices.data());
    f->glBufferSubData(GL_ARRAY_BUFFER, vertexBytes, colourBytes, frame_.colours.data());
    f->glBufferData(GL_ELEMENT_ARRAY_BUFFER, indexBytes, frame_.indices.data(), GL_STATIC_DRAW);
    uploadedFrame_ = frameSerial_;
  }
  gl_->glEnableClientState(GL_VERTEX_ARRAY);
  gl_->glEnableClientState(GL_COLOR_ARRAY);
  gl_->glVertexPointer(2, GL_FLOAT, sizeof(GlPoint), nullptr);
  gl_->glColorPointer(3, GL_UNSIGNED_BYTE, sizeof(Colour), reinterpret_cast<const void*>(vertexBytes));
  for (const GlBatch& batch : frame_.batches) {
    if (batch.mode == GlMode::IndexedTriangles)
      gl_->glDrawElements(GL_TRIANGLES, batch.count, GL_UNSIGNED_INT,
                          reinterpret_cast<const void*>(static_cast<std::uintptr_t>(batch.first) * sizeof(std::uint32_t)));
    else
      gl_->glDrawArrays(ModeOf(batch.mode), batch.first, batch.count);
  }
  gl_->glDisableClientState(GL_COLOR_ARRAY);
  gl_->glDisableClientState(GL_VERTEX_ARRAY);
  f->glBindBuffer(GL_ARRAY_BUFFER, 0);
  f->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  gl_->glFlush();
}

// The bar is drawn by the picture's own routine into an image, so its bands, ticks and numbers
// are the picture's pixel for pixel, and the strip of that image is laid over the GL frame.
void OpenGLWindow::PaintColourBar() {
  const int w = width(), h = height(), strip = ColourBarStrip();
  QImage image(w, h, QImage::Format_RGB32);
  {
    PainterCanvas canvas(&image);
    DrawColourBar(canvas, *frame_.colourBar, w, h, 0);
    canvas.Finish();
  }
  QPainter painter(this);
  const QRect area(w - strip, 0, strip, h);
  painter.drawImage(area, image, area);
}

// Key presses go to FormKeyDown, key repeats are ignored.
void OpenGLWindow::keyPressEvent(QKeyEvent* e) {
  if (e->isAutoRepeat()) return;  // the loop runs until the real release
  FormKeyDown(e->key(), e->modifiers());
}

// A real key release ends a held-key loop.
void OpenGLWindow::keyReleaseEvent(QKeyEvent* e) {
  if (e->isAutoRepeat()) return;
  FormKeyUp();
}

// Losing the keyboard or the window means the release may never come: stop the loop.
void OpenGLWindow::focusOutEvent(QFocusEvent* e) {
  PanKeyHeld = false;
  if (heldLoop_) heldLoop_->quit();
  QOpenGLWidget::focusOutEvent(e);
}

// A hidden window gets no key release either.
void OpenGLWindow::hideEvent(QHideEvent* e) {
  PanKeyHeld = false;
  if (heldLoop_) heldLoop_->quit();
  QOpenGLWidget::hideEvent(e);
}

// Pans or zooms while an arrow key is held, then draws the full frame.
void OpenGLWindow::FormKeyDown(int key, Qt::KeyboardModifiers shift) {
  if (PanKeyHeld || building_) return;
  if (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_Left && key != Qt::Key_Right) return;
  if (!host_->TryBeginCommand()) return;
  const bool zoom = (shift & Qt::ShiftModifier) && (key == Qt::Key_Up || key == Qt::Key_Down);
  const PanDirection direction = key == Qt::Key_Up     ? PanDirection::Up
                                 : key == Qt::Key_Down ? PanDirection::Down
                                 : key == Qt::Key_Left ? PanDirection::Left
                                                       : PanDirection::Right;
  PanKeyHeld = true;
  // While the key is held: move, then a frame of grid and boundaries only, one per tick of a
  // timer, so that a small grid on a display without vertical sync does not fly past. The
  // press waits here, with the event loop running, until the release ends the loop.
  RunWhileKeyHeld(PanKeyHeld, panFrameMs, heldLoop_, [&] {
    if (zoom)
      ZoomOrthoBox(key == Qt::Key_Up ? 0.95 : 1.05);
    else
      PanOrthoBox(box_, direction);
    if (!BuildFrame(false, true, false)) PanKeyHeld = false;
    update();
  });
  // Released: the full frame with the layers the main window asks for.
  std::optional<ProgramOptions> options;
  try {
    options = Options();
  } catch (const std::exception&) {
    // The full frame reports the unreadable box itself.
  }
  const DisplayOptions d = options ? options->display : DisplayOptions{};
  const bool built = BuildFrame(d.ShowContour, d.ShowGrid, d.ShowVec);
  host_->FrameFinished(built && !lastFrameAborted_, lastFrameAborted_);
  host_->EndCommand();
}

// Ends the held-key loop and puts the plot view's values back into their boxes.
void OpenGLWindow::FormKeyUp() {
  PanKeyHeld = false;
  if (heldLoop_) heldLoop_->quit();
  host_->WriteViewBoxes();
}

}  // namespace corvane
