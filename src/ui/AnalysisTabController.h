// The 解析 tab: the two end points of the analysis segment, how the segment is shown, and the
// analysis command. Its controls are views of the program state; its handlers keep the end point
// boxes consistent and the quick segment on the plot window.
#pragma once
#include <QObject>
#include <string>

#include "ui/OptionControls.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QWidget;

namespace corvane {

class ColourSwatchWidget;
class MainWindow;

class AnalysisTabController : public QObject, public OptionView {
  Q_OBJECT

 public:
  // Builds the tab's page into `tabs`; `window` owns the program state and the error boundary.
  AnalysisTabController(MainWindow& window, QTabWidget& tabs);
  // Connects the tab's handlers.
  void ConnectHandlers();
  // Shows the state with the controls' signals blocked; which boxes take input follows it.
  void Load(const ProgramOptions& options) override;
  // What follows a change of option `name` once it is stored.
  void OptionChanged(const std::string& name) override;
  const OptionControls& controls() const override { return controls_; }
  QWidget* page() const { return page_; }
  // The page was brought to the front: the analysis does not run in the OpenGL view, which is said.
  void Shown();
  // After a load with `zoneCount` zones: the zone lists refilled when the count changed, zone 0
  // chosen, the node boxes limited to it and everything stored.
  void ZonesLoaded(int zoneCount, bool newZoneList);
  // A point picked on the plot window goes into the typed boxes of end point 1 or 2 as if entered.
  void PointPicked(bool first, const QString& xText, const QString& yText);
  // End point 1 or 2 is typed and picked by a click on the plot window (the profile window's pick).
  void PickPoint(bool first);

 private:
  void Build(QTabWidget& tabs);
  void ZoneChosen(bool first);
  void ShowQuickSegment();
  void TypedToggled(bool first);
  void PointBoxEntered(QLineEdit* box);
  void PickToggled(bool first);
  void ShowSegmentToggled();
  void Analyze();

  MainWindow& window_;
  OptionControls controls_;
  QWidget* page_ = nullptr;
  QComboBox *zone1List_ = nullptr, *zone2List_ = nullptr;
  QSpinBox *node1ISpin_ = nullptr, *node1JSpin_ = nullptr, *node2ISpin_ = nullptr, *node2JSpin_ = nullptr;
  QCheckBox *typed1Check_ = nullptr, *typed2Check_ = nullptr, *pick1Check_ = nullptr, *pick2Check_ = nullptr;
  QLineEdit *point1XBox_ = nullptr, *point1YBox_ = nullptr, *point2XBox_ = nullptr, *point2YBox_ = nullptr;
  QCheckBox *openAnalyzedCheck_ = nullptr, *showSegmentCheck_ = nullptr;
  QPushButton *analyzeButton_ = nullptr, *profileButton_ = nullptr, *segmentColourButton_ = nullptr;
  ColourSwatchWidget* segmentColourSwatch_ = nullptr;
  QRadioButton *quickSegmentRadio_ = nullptr, *drawnSegmentRadio_ = nullptr;
};

}  // namespace corvane
