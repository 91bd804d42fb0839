// The 表示 tab: zone edges, overlay copies, the view boxes and grid thinning. Its controls are
// views of the program state; its handlers keep the zone edge flags and the view, and the view
// boxes show the view again whenever the state says it changed.
#pragma once
#include <QObject>
#include <string>

#include "ui/OptionControls.h"
#include "ui/ProgramState.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSlider;
class QSpinBox;
class QTabWidget;
class QWidget;

namespace corvane {

class MainWindow;

class DisplayTabController : public QObject, public OptionView {
  Q_OBJECT

 public:
  // Builds the tab's page into `tabs`; `window` owns the program state and the error boundary.
  DisplayTabController(MainWindow& window, QTabWidget& tabs);
  // Connects the tab's handlers.
  void ConnectHandlers();
  // Shows the state with the controls' signals blocked.
  void Load(const ProgramOptions& options) override;
  // What follows a change of option `name` once it is stored.
  void OptionChanged(const std::string& name) override;
  const OptionControls& controls() const override { return controls_; }

  // How many zones the zone list offers: a load keeps the edge flags while the count stays.
  int ZoneListCount() const;
  // The zone list after a load with `zoneCount` zones: zone 0 chosen, its flags shown and stored.
  void RefillZoneList(int zoneCount);
  // One view box set by name ("x0box", ...) as a settings line or --set gives it: the view takes
  // the number and the box shows it. False for a name that is not a view box.
  bool ApplyViewBox(const std::string& name, const std::string& value);

 private:
  void Build(QTabWidget& tabs);
  void StateChanged(StateChange what);
  void ShowView();
  void ApplyViewBoxes();
  void ZoneChosen();
  void EdgeFlagsToggled();

  MainWindow& window_;
  OptionControls controls_;
  QWidget* page_ = nullptr;
  QComboBox* zoneList_ = nullptr;
  QCheckBox *edgeI0Check_ = nullptr, *edgeIMaxCheck_ = nullptr, *edgeJ0Check_ = nullptr, *edgeJMaxCheck_ = nullptr;
  QCheckBox* allZonesCheck_ = nullptr;
  QSpinBox* copiesSpin_ = nullptr;
  QLineEdit *copyOffsetXBox_ = nullptr, *copyOffsetYBox_ = nullptr;
  QLineEdit *centreXBox_ = nullptr, *centreYBox_ = nullptr, *scaleXBox_ = nullptr, *scaleYBox_ = nullptr;
  QSlider *iThinningSlider_ = nullptr, *jThinningSlider_ = nullptr;
  QSpinBox *iThinningSpin_ = nullptr, *jThinningSpin_ = nullptr;
  QCheckBox* smoothCheck_ = nullptr;
  bool zoneChoosing_ = false;  // the zone's flags are being shown, not toggled by the user
};

}  // namespace corvane
