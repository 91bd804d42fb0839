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
#include <string>
#include <vector>

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
  // Writes the plot (.png .svg .pdf) or the curves' values (.csv) to `path`; throws CorvaneError.
  void SaveTo(const QString& path);
  // How the save dialog is answered; tests give the name instead of a user.
  std::function<QString()> AskSavePath;

  // ---- controls (object names are the control names) ----
  QRadioButton *ProfileGridLine, *ProfileSegmentLine;
  QComboBox *ProfileZone, *ProfileDirection, *ProfileVariable, *ProfileAgainst;
  QSpinBox *ProfileIndex, *ProfileFrom, *ProfileTo;
  QPushButton *ProfileAddPiece, *ProfileClearPieces, *ProfileAddCurve, *ProfileRemoveCurve, *ProfileClearCurves,
      *ProfileSaveButton, *ProfileCloseButton, *ProfilePickP1, *ProfilePickP2;
  QLineEdit *ProfileLineText, *ProfileXTitle, *ProfileYTitle;
  QListWidget* ProfileCurveList;
  QCheckBox *ProfileReverseY, *ProfileShowGrid, *ProfileShowLegend;
  ProfilePlotView* ProfilePlot;

 private:
  void Build();
  void Connect();
  void Replot();
  void EnableLineControls();
  template <class F>
  auto Guarded(F f);

  MainWindow* main_;
  std::vector<Curve> curves_;
};

}  // namespace corvane
