// The window 分布図: values along a wall, a grid line or the analysis segment as an x-y plot.
// Curves are taken from the data set loaded at the time they are added, so one plot can hold
// the same line of several files; they are saved as PNG, SVG, PDF or CSV.
#pragma once
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "field/WorldPoint.h"
#include "profile/ProfileTable.h"

namespace corvane {

class MainWindow;

// The plot area: draws the plot of the window's curves at its own size.
class ProfilePlotView : public QWidget {
 public:
  explicit ProfilePlotView(QWidget* parent, std::function<PlotSpec()> figure);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::function<PlotSpec()> spec_;
};

class ProfileWindow : public QWidget {
 public:
  explicit ProfileWindow(MainWindow* main);

  // One curve: a line of one data set and the variable drawn along it.
  struct Curve {
    ProfileSet set;
    std::string variable;
  };
  const std::vector<Curve>& Curves() const { return curves_; }
  // The plot as it is drawn now (curves, titles, switches).
  PlotSpec CurrentSpec() const;

  // The zone list and the variables follow the data set (after a load or a new formula).
  void DataChanged();
  // The line the controls describe (pieces typed or added, or the analysis segment).
  LineChoice ChosenLine() const;

  // ---- handlers ----
  void ProfileAddPieceClick();
  void ProfileAddCurveClick();
  void ProfileRemoveCurveClick();
  void ProfileClearCurvesClick();
  void ProfileSaveButtonClick();
  void ProfileZoneChange();
  // The segment's end point 1 or 2 is picked by clicks in the plot window, as the analysis tab
  // does it (直接指定 and 場所をクリックして指定する).
  void ProfilePickClick(bool first);
  // 格子線をクリックで選ぶ: while on, a click in the plot window adds the grid line nearest to
  // it to the line (several clicks join pieces); the line under the cursor and the line so far
  // are drawn over the picture.
  void ProfilePickLineToggled(bool on);
  void LineHover(WorldPoint at);
  void LinePicked(WorldPoint at);
  // 物体の壁: the line becomes every body wall of the data set (edges no other zone touches,
  // the outer boundary left out).
  void ProfileBodyWallsClick();
  // Writes the plot (.png .svg .pdf) or the curves' values (.csv) to `path`; throws CorvaneError.
  void SaveTo(const QString& path);
  // How the save dialog is answered; tests give the name instead of a user.
  std::function<QString()> AskSavePath;

  // ---- controls (object names are the control names) ----
  QRadioButton *ProfileGridLine, *ProfileSegmentLine;
  QComboBox *ProfileZone, *ProfileDirection, *ProfileVariable, *ProfileAgainst;
  QSpinBox *ProfileIndex, *ProfileFrom, *ProfileTo;
  QPushButton *ProfileAddPiece, *ProfileClearPieces, *ProfileAddCurve, *ProfileRemoveCurve, *ProfileClearCurves,
      *ProfileSaveButton, *ProfileCloseButton, *ProfilePickP1, *ProfilePickP2, *ProfilePickLine, *ProfileBodyWalls;
  QLineEdit *ProfileLineText, *ProfileXTitle, *ProfileYTitle;
  QListWidget* ProfileCurveList;
  QCheckBox *ProfileReverseY, *ProfileReverseY2, *ProfileShowGrid, *ProfileShowLegend;
  ProfilePlotView* ProfilePlot;

 private:
  void Build();
  void Connect();
  void Replot();
  void EnableLineControls();
  // The picked line (and the one under the cursor) over the plot window's picture.
  void ShowPickedLines();
  void hideEvent(QHideEvent* event) override;
  template <class F>
  auto Guarded(F f);

  MainWindow* main_;
  std::vector<Curve> curves_;
  QString bodyWallsText_;             // the line text 物体の壁 wrote (the legend names it so)
  std::optional<LinePiece> hovered_;  // the grid line under the cursor while picking
};

}  // namespace corvane
