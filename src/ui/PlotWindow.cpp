#include "ui/PlotWindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>
#include <QEventLoop>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <exception>

#include "scene/PlotWindowSize.h"
#include "ui/PlotHost.h"
#include "contour/ColourToValue.h"
#include "base/Errors.h"
#include "output/ImageExport.h"
#include "render/NumberFormat.h"
#include "ui/HeldKeyLoop.h"
#include "ui/PlotSizeStore.h"
#include "render/PainterCanvas.h"
#include "ui/RecentFiles.h"
#include "ui/SaveDialogs.h"
#include "ui/ScreenPlacement.h"

namespace corvane {

QString FormatReadoutNumber(double value) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  if (std::isinf(value)) return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.4E", value);
  // "1.2346E+02" -> "1.2346E+2"
  QString s = QString::fromLatin1(buffer);
  int e = s.indexOf('E');
  if (e < 0 || e + 2 > s.size()) return s;
  QString mantissa = s.left(e + 2);  // up to and including the sign
  QString digits = s.mid(e + 2);
  while (digits.size() > 1 && digits.startsWith('0')) digits.remove(0, 1);
  return mantissa + digits;
}

void ViewImage::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::black);
  if (!picture.isNull()) p.drawImage(0, 0, picture);
  if (quickSegment && view) {
    PainterCanvas canvas(p);
    canvas.SetBrush(kBlack, BrushStyle::Solid);  // the window's own colour fills the end circles
    DrawSegmentFigure(canvas, *view, *quickSegment, plotArea);
    canvas.Finish();
  }
  if (!highlights.empty() && view) {
    p.setRenderHint(QPainter::Antialiasing, true);
    for (const Highlight& h : highlights) {
      QPolygonF line;
      for (const WorldPoint& w : h.points) line << QPointF(view->WorldToPixelX(w.x), view->WorldToPixelY(w.y));
      p.setPen(QPen(h.colour, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      if (line.size() == 1) p.drawPoint(line.front());
      else p.drawPolyline(line);
    }
  }
}

void ViewImage::mousePressEvent(QMouseEvent* e) {
  emit MouseDown(e->button(), e->modifiers(), e->position().toPoint().x(), e->position().toPoint().y());
}
void ViewImage::mouseMoveEvent(QMouseEvent* e) {
  emit MouseMove(e->modifiers(), e->position().toPoint().x(), e->position().toPoint().y());
}
void ViewImage::mouseReleaseEvent(QMouseEvent* e) {
  emit MouseUp(e->button(), e->modifiers(), e->position().toPoint().x(), e->position().toPoint().y());
}
void ViewImage::wheelEvent(QWheelEvent* e) {
  emit Wheel(e->angleDelta().y(), e->modifiers(), e->position().toPoint().x(), e->position().toPoint().y());
  e->accept();
}

// Created hidden and disabled for input; the first complete drawing enables it.
PlotWindow::PlotWindow(PlotHost* host) : QWidget(nullptr, Qt::Window), host_(host) {
  setObjectName(QStringLiteral("ViewForm"));
  setWindowTitle(QStringLiteral("グリッド表示"));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  setPalette(pal);
  setFocusPolicy(Qt::StrongFocus);

  pictureView = new ViewImage(this);
  pictureView->setObjectName(QStringLiteral("Image1"));
  zoomRectangle = new QFrame(pictureView);
  zoomRectangle->setObjectName(QStringLiteral("Shape1"));
  zoomRectangle->setFrameShape(QFrame::Box);
  zoomRectangle->setStyleSheet(QStringLiteral("QFrame#Shape1 { border: 1px solid grey; background: transparent; }"));
  zoomRectangle->setAttribute(Qt::WA_TransparentForMouseEvents);
  zoomRectangle->hide();

  statusLine = new QStatusBar(this);
  statusLine->setObjectName(QStringLiteral("StatusBar1"));
  statusLine->setSizeGripEnabled(false);
  statusLine->setAutoFillBackground(true);
  {
    // Only the picture area is black; the status bar keeps the ordinary window colours.
    QPalette bar = statusLine->palette();
    const QPalette app = QApplication::palette();
    bar.setColor(QPalette::Window, app.color(QPalette::Window));
    bar.setColor(QPalette::WindowText, app.color(QPalette::WindowText));
    statusLine->setPalette(bar);
  }
  const char* texts[4] = {"x = ", "y = ", "データ無し", "マウスで拡大/縮小、方向キーで移動"};
  const int widths[4] = {90, 90, 100, 50};
  for (int k = 0; k < 4; ++k) {
    Panels[k] = new QLabel(QString::fromUtf8(texts[k]), statusLine);
    Panels[k]->setObjectName(QStringLiteral("Panel%1").arg(k));
    Panels[k]->setMinimumWidth(widths[k]);
    statusLine->addWidget(Panels[k], k == 3 ? 1 : 0);
  }

  seriesBar = new SeriesBar(this);
  seriesBar->setPalette(statusLine->palette());
  seriesBar->hide();

  connect(pictureView, &ViewImage::MouseDown, this, [this](Qt::MouseButton b, Qt::KeyboardModifiers s, int x, int y) {
    Guard([&] { Image1MouseDown(b, s, x, y); });
  });
  connect(pictureView, &ViewImage::MouseMove, this,
          [this](Qt::KeyboardModifiers s, int x, int y) { Guard([&] { Image1MouseMove(s, x, y); }); });
  connect(pictureView, &ViewImage::MouseUp, this, [this](Qt::MouseButton b, Qt::KeyboardModifiers s, int x, int y) {
    Guard([&] { Image1MouseUp(b, s, x, y); });
  });
  connect(pictureView, &ViewImage::Wheel, this, [this](int delta, Qt::KeyboardModifiers s, int x, int y) {
    Guard([&] { Image1MouseWheel(delta, s, x, y); });
  });
  setAcceptDrops(true);

  SetOuterSize(293, 341);
  setEnabled(false);
  FormResize();
}

// Only a resize by the user ends point picking: the window's own sizing (its first showing, the
// settings, keeping it on the screen) leaves a pick that was asked for armed.
void PlotWindow::resizeEvent(QResizeEvent* e) {
  FormResize();
  if (isVisible() && !placing_ && e->size() != ownSize_) {
    userSized_ = true;
    PickingPoint1 = false;
    PickingPoint2 = false;
  }
}

// Shown inside the screen; the size that takes is the window's own, not the user's.
void PlotWindow::showEvent(QShowEvent* e) {
  placing_ = true;
  KeepOnScreen(this);
  placing_ = false;
  ownSize_ = size();
  QWidget::showEvent(e);
}

// The picture follows the client area less the status bar; nothing is redrawn.
void PlotWindow::FormResize() {
  int w = width();
  const int bar = seriesBar->isHidden() ? 0 : seriesBar->sizeHint().height();
  int h = std::max(height() - kStatusBarHeight - bar, 0);
  pictureView->setGeometry(0, 0, w, h);
  seriesBar->setGeometry(0, h, w, bar);
  statusLine->setGeometry(0, h + bar, w, kStatusBarHeight);
  // A drawing on the worker reads the view; the new size is taken once it is over.
  if (host_ && host_->Working()) {
    if (!resizePending_) host_->RunHandlerWhenIdle([this] {
      resizePending_ = false;
      FormResize();
    });
    resizePending_ = true;
    return;
  }
  if (host_) host_->State().scene.view.SetPictureSize(w, h);
}

void PlotWindow::ShowSeriesBar(bool show) {
  if (show == !seriesBar->isHidden()) return;
  if (!show) seriesBar->Stop();
  seriesBar->setVisible(show);
  FormResize();
}

// The settings give the outer size; the client area is that less the nominal frame, as for the
// command line, so both draw the same picture.
void PlotWindow::SetOuterSize(int width, int height) {
  const PlotClientSize client = ClientSizeOfPlotWindow(width, height);
  ownSize_ = QSize(client.width, client.height);
  resize(client.width, client.height);
  FormResize();
  if (isVisible()) {
    placing_ = true;
    KeepOnScreen(this);
    placing_ = false;
    ownSize_ = size();
  }
}

// One notch of the wheel zooms like a click (twice or half the scale) about the point under the
// cursor, which stays where it is; with Ctrl a notch is a quarter of that step. Fine-grained
// wheels add up to whole notches.
void PlotWindow::Image1MouseWheel(int angleDelta, Qt::KeyboardModifiers shift, int x, int y) {
  wheelRemainder_ += angleDelta;
  const int notches = wheelRemainder_ / 120;
  if (notches == 0) return;
  wheelRemainder_ -= notches * 120;
  const double step = (shift & Qt::ControlModifier) ? std::pow(2.0, 0.25) : 2.0;
  host_->WheelZoom(x, y, std::pow(step, notches));
}

void PlotWindow::dragEnterEvent(QDragEnterEvent* e) {
  if (!FirstLocalFile(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void PlotWindow::dropEvent(QDropEvent* e) {
  const QStringList paths = LocalFiles(e->mimeData());
  if (paths.isEmpty()) return;
  e->acceptProposedAction();
  Guard([&] { host_->OpenDroppedFiles(paths); });
}

void PlotWindow::SetPicture(const QImage& image) {
  pictureView->picture = image;
  pictureView->quickSegment.reset();
  pictureView->update();
}

void PlotWindow::ShowQuickSegment(const std::optional<SegmentFigure>& figure) {
  pictureView->quickSegment = figure;
  pictureView->view = host_ ? &host_->State().scene.view : nullptr;
  pictureView->plotArea = host_ ? host_->State().scene.plotArea : QRect();
  pictureView->update();
}

void PlotWindow::ShowHighlights(std::vector<ViewImage::Highlight> lines) {
  pictureView->highlights = std::move(lines);
  pictureView->view = host_ ? &host_->State().scene.view : nullptr;
  pictureView->update();
}

void PlotWindow::Image1MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
  DragStart = QPoint(x, y);
  ButtonDown = true;
  zoomRectangle->setGeometry(x, y, 0, 0);
  zoomRectangle->show();
}

// The zoom rectangle (any drag direction), the world point and the value under the cursor.
void PlotWindow::Image1MouseMove(Qt::KeyboardModifiers, int x, int y) {
  if (ButtonDown)
    zoomRectangle->setGeometry(std::min(x, DragStart.x()), std::min(y, DragStart.y()), std::abs(x - DragStart.x()),
                        std::abs(y - DragStart.y()));
  const SceneState& scene = host_->State().scene;
  const ViewTransform& v = scene.view;
  Panels[0]->setText(QStringLiteral("x = ") + FormatReadoutNumber(v.PixelToWorldX(x)));
  Panels[1]->setText(QStringLiteral("y = ") + FormatReadoutNumber(v.PixelToWorldY(y)));
  // A drawing on the worker is writing the readout's range and coverage: the value waits.
  if (host_->Working()) return;
  QString value = QStringLiteral("-----");
  const ColourMapKind kind = scene.options.contour.colourMap;
  if (scene.options.display.BrushCheck && kind != ColourMapKind::Gray2) {
    const QImage& img = pictureView->picture;
    // Over the background, a hole or the axis margins there is no band to read: blank.
    value.clear();
    if (x >= 0 && y >= 0 && x < img.width() && y < img.height() && ReadoutCovers(scene, x, y)) {
      const QRgb rgb = img.pixel(x, y);
      const Colour c = MakeColour(qRed(rgb), qGreen(rgb), qBlue(rgb));
      value = FormatReadoutNumber(ColourToValue(c, scene.readout.ReadoutMax, scene.readout.ReadoutMin, kind));
    }
  }
  Panels[2]->setText(value);
  if (PickingLine && !ButtonDown) host_->GridLineHover(x, y);
}

// A release picks a segment point, or zooms: click in, right button out, drag to the rectangle.
void PlotWindow::Image1MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
  ButtonDown = false;
  zoomRectangle->hide();
  const ViewTransform& v = host_->State().scene.view;
  if (PickingLine) {
    host_->GridLinePicked(x, y);
    return;
  }
  if (PickingPoint1 || PickingPoint2) {
    PickedPoint picked = PickSegmentPoint(v, x, y);
    host_->SegmentPointPicked(PickingPoint1, QString::fromStdString(picked.xText), QString::fromStdString(picked.yText));
    return;
  }
  if (QPoint(x, y) == DragStart || button == Qt::RightButton) {
    host_->ZoomAt(x, y, button == Qt::LeftButton ? 2.0 : 0.5);
  } else if (DragStart.x() == x || DragStart.y() == y) {
    // A drag without width or height defines no scale; it changes nothing.
    return;
  } else {
    // A rectangle reaching over the colour bar zooms to its part over the plot.
    const auto [from, to] = ZoomCornersInPlot(host_->State().scene, DragStart, QPoint(x, y));
    if (from.x() == to.x()) return;  // all of it over the bar
    host_->ZoomToRect(from.x(), from.y(), to.x(), to.y());
  }
}

void PlotWindow::keyPressEvent(QKeyEvent* e) {
  if (e->isAutoRepeat()) return;  // the pan loop runs until the real release
  const int key = e->key();
  const Qt::KeyboardModifiers shift = e->modifiers();
  Guard([&] { FormKeyDown(key, shift); });
}

void PlotWindow::keyReleaseEvent(QKeyEvent* e) {
  if (e->isAutoRepeat()) return;
  FormKeyUp(e->key());
}

// Handlers run inside the program's error boundary; an error ends the handler, not the program.
void PlotWindow::Guard(const std::function<void()>& body) {
  if (host_)
    host_->RunHandler(body);
  else
    body();
}

// Losing the keyboard means the release may never come: stop panning.
void PlotWindow::focusOutEvent(QFocusEvent* e) {
  StopPan();
  QWidget::focusOutEvent(e);
}
void PlotWindow::hideEvent(QHideEvent* e) {
  StopPan();
  if (userSized_ && !sizeStore_.isEmpty()) WritePlotSize(sizeStore_, size());
  userSized_ = false;
  QWidget::hideEvent(e);
}
void PlotWindow::changeEvent(QEvent* e) {
  if (e->type() == QEvent::EnabledChange && !isEnabled()) StopPan();
  QWidget::changeEvent(e);
}

// One pan frame: move the centre and show the grid-only preview.
void PlotWindow::PanStep(int key, double dx, double dy, QImage& work, Qt::GlobalColor) {
  ViewTransform& v = host_->State().scene.view;
  switch (key) {
    case Qt::Key_Up: v.CentreY += dy; break;
    case Qt::Key_Right: v.CentreX += dx; break;
    case Qt::Key_Down: v.CentreY -= dy; break;
    case Qt::Key_Left: v.CentreX -= dx; break;
    default: break;
  }
  host_->RenderGridPreview(work);
  SetPicture(work.copy());
}

// Arrow keys pan while held: five pixels a frame, twenty with Shift.
void PlotWindow::FormKeyDown(int key, Qt::KeyboardModifiers shift) {
  if (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_Left && key != Qt::Key_Right) return;
  if (!host_->TryBeginCommand()) return;
  struct EndPan {
    PlotWindow* form;
    ~EndPan() {
      form->PanKeyHeld = false;
      form->host_->EndCommand();
    }
  } endPan{this};
  PanKeyHeld = true;
  host_->RememberView();
  const ViewTransform& v = host_->State().scene.view;
  double factor = (shift & Qt::ShiftModifier) ? 4.0 : 1.0;
  double dx = 5.0 / v.ScaleX * factor, dy = 5.0 / v.ScaleY * factor;
  QImage work(std::max(v.PictureWidth, 1), std::max(v.PictureHeight, 1), QImage::Format_RGB32);
  // One pan frame per tick of a timer; the press waits here, with the event loop running, until
  // the release (or a lost focus) ends the loop. An error ends the pan and goes to the handler.
  std::exception_ptr error;
  RunWhileKeyHeld(PanKeyHeld, panFrameMs, heldLoop_, [&] {
    try {
      PanStep(key, dx, dy, work, Qt::black);
    } catch (...) {
      error = std::current_exception();
      PanKeyHeld = false;
    }
  });
  if (error) std::rethrow_exception(error);
}

void PlotWindow::FormKeyUp(int) { StopPan(); }

void PlotWindow::StopPan() {
  PanKeyHeld = false;
  if (heldLoop_) heldLoop_->quit();
}

// The save dialog: the formats, bitmap first (and the animations while a series is loaded); a
// name without extension takes the chosen type's, and an existing file is replaced only after
// a question.
void PlotWindow::SaveViewPicture() {
  QFileDialog dialog(this, QString(), host_->CurrentFolder());
  dialog.setObjectName(QStringLiteral("SaveDialog1"));
  PreparePictureSaveDialog(dialog, host_->SeriesLoaded() ? AnimationSaveFilters() : QStringList());
  dialog.setOption(QFileDialog::ReadOnly, false);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  dialog.setSizeGripEnabled(true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString path = PathWithChosenType(dialog.selectedFiles().first(), dialog.selectedNameFilter());
  try {
    SavePictureTo(path);
  } catch (const std::exception& e) {
    host_->notifier().Warning(e.what());
  }
}

// Writes by the extension: .emf the scene picture of the last drawing, .bmp .jpg .png the bitmap
// the window shows (a pan preview included), .webp .gif every frame of a loaded series; any
// other extension writes nothing. The status bar names the file written.
bool PlotWindow::SavePictureTo(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  bool written = false;
  if (suffix == QLatin1String("webp") || suffix == QLatin1String("gif")) {
    if (host_->SeriesLoaded()) {
      written = host_->SaveSeriesAnimation(path);
    } else {
      host_->notifier().Warning("拡張子「." + QFileInfo(path).suffix().toStdString() +
                                "」はアニメーションの形式です。複数のファイルを時系列として開いているときに保存できます。"
                                "画像は保存されませんでした。");
    }
  } else {
    written = SavePictureByExtension(path, CompletePicture(host_->State().scene), Picture(), host_->notifier(),
                                     HasExactPicture(host_->State().scene));
  }
  ShowNote(written ? QStringLiteral("保存しました: ") + path : QStringLiteral("保存されませんでした: ") + path);
  return written;
}

void PlotWindow::KeepSizeIn(const QString& store) {
  sizeStore_ = store;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize size = ReadPlotSize(store).value_or(UsefulPlotSize(screen ? screen->availableGeometry() : QRect()));
  ownSize_ = size;
  resize(size);
  FormResize();
}

void PlotWindow::ShowNote(const QString& text) {
  Panels[3]->setText(text);
  Panels[3]->setToolTip(text);
}

QStringList AnimationSaveFilters() {
  return {QStringLiteral("WebPアニメーション(*.webp)"), QStringLiteral("GIFアニメーション(*.gif)")};
}

}  // namespace corvane
