// The plot window: shows the picture of the last drawing, zooms by click and drag, pans with the
// arrow keys over a grid-only preview, and reads out the world point and value under the cursor.
#pragma once
#include <QColor>
#include <QEventLoop>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPoint>
#include <QStatusBar>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "analysis/SegmentEndpoints.h"
#include "field/WorldPoint.h"
#include "ui/SeriesBar.h"

namespace corvane {

class PlotHost;

// `pictureView`: the picture at the window's top left, not stretched; it receives the mouse.
class ViewImage : public QWidget {
  Q_OBJECT

 public:
  explicit ViewImage(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }
  QImage picture;
  // The analysis segment drawn over the picture only (never into it), in pixels of `view`.
  std::optional<SegmentFigure> quickSegment;
  const ViewTransform* view = nullptr;
  QRect plotArea;  // with the axes shown, where the quick segment keeps to (null: anywhere)
  // Lines drawn over the picture only, in world coordinates: the lines picked for a profile.
  struct Highlight {
    std::vector<WorldPoint> points;
    QColor colour;
  };
  std::vector<Highlight> highlights;

 signals:
  void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  void MouseMove(Qt::KeyboardModifiers shift, int x, int y);
  void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  void Wheel(int angleDelta, Qt::KeyboardModifiers shift, int x, int y);

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

class PlotWindow : public QWidget {
  Q_OBJECT

 public:
  explicit PlotWindow(PlotHost* host);

  ViewImage* pictureView;
  QFrame* zoomRectangle;  // the zoom rectangle while a button is down
  QStatusBar* statusLine;
  QLabel* Panels[4];
  SeriesBar* seriesBar;  // above the status bar while a time series is loaded

  bool PanKeyHeld = false;
  bool PickingPoint1 = false;
  bool PickingPoint2 = false;
  bool PickingLine = false;  // clicks choose grid lines for the profile window, not zooms
  QPoint DragStart;
  bool ButtonDown = false;

  static constexpr int kStatusBarHeight = 19;

  void FormResize();
  // Shows or hides the time bar; the picture takes the rest of the client area.
  void ShowSeriesBar(bool show);
  void Image1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  void Image1MouseMove(Qt::KeyboardModifiers shift, int x, int y);
  void Image1MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  void FormKeyDown(int key, Qt::KeyboardModifiers shift);
  void FormKeyUp(int key);
  // The wheel over the picture; `angleDelta` in eighths of a degree (120 a notch).
  void Image1MouseWheel(int angleDelta, Qt::KeyboardModifiers shift, int x, int y);

  // Shows a new picture (a drawing or a pan preview); a quick segment over the old one is gone.
  void SetPicture(const QImage& image);
  // Shows the picture again with `figure` over it, or with nothing over it.
  void ShowQuickSegment(const std::optional<SegmentFigure>& figure);
  // Shows the picture with `lines` over it (none: the plain picture); they follow zooms.
  void ShowHighlights(std::vector<ViewImage::Highlight> lines);
  bool HasQuickSegment() const { return pictureView->quickSegment.has_value(); }
  const QImage& Picture() const { return pictureView->picture; }
  // Outer size as a settings file gives it; the picture size follows from the client area.
  void SetOuterSize(int width, int height);
  QString PanelText(int index) const { return Panels[index]->text(); }

  // Save dialog, then the picture in the format the extension names.
  void SaveViewPicture();
  // Writes the picture (or the scene picture for .emf, the series for .webp .gif) to `path`;
  // false when nothing was written. The status bar says which file was written.
  bool SavePictureTo(const QString& path);
  // Takes the size kept in `store` (a useful share of the screen when there is none yet) and
  // keeps there the size the user gives the window from now on.
  void KeepSizeIn(const QString& store);
  // A note in the status bar's last panel (what was saved, how to zoom).
  void ShowNote(const QString& text);
  // Pixels per preview frame of the pan loop are paced to about this many milliseconds.
  int panFrameMs = 20;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void PanStep(int key, double dx, double dy, QImage& work, Qt::GlobalColor fill);
  void StopPan();  // ends the held-key loop
  void Guard(const std::function<void()>& body);
  PlotHost* host_;
  QSize ownSize_;           // the size the window gave itself last; any other is the user's
  bool placing_ = false;    // the window is fitting itself into the screen
  int wheelRemainder_ = 0;  // wheel turns short of a notch
  QEventLoop* heldLoop_ = nullptr;  // the pan loop a key release ends
  bool resizePending_ = false;      // a new picture size waits for the drawing under way
  QString sizeStore_;               // where the user's size is kept between runs (empty: nowhere)
  bool userSized_ = false;          // the user has resized the window since it was placed
};

// The save dialog's animation types, offered while a time series is loaded.
QStringList AnimationSaveFilters();

// "1.2346E+2": five significant digits, exponent without leading zeros.
QString FormatReadoutNumber(double value);

}  // namespace corvane
