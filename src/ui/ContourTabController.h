// The 等高線 tab: the contour range and step of the selected variable, and the label options.
// Its controls are views of the program state: Load shows it, their handlers write it, and the
// levels are shown again whenever the state says they changed.
#pragma once
#include <QObject>
#include <string>

#include "ui/OptionControls.h"
#include "ui/ProgramState.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QWidget;

namespace corvane {

class MainWindow;

class ContourTabController : public QObject, public OptionView {
  Q_OBJECT

 public:
  // Builds the tab's page into `tabs`; `window` owns the program state and the error boundary.
  ContourTabController(MainWindow& window, QTabWidget& tabs);
  // Connects the tab's handlers.
  void ConnectHandlers();
  // Shows the state: the options, the range boxes' texts and the label sample (its background
  // the picture's), with the controls' signals blocked.
  void Load(const ProgramOptions& options) override;
  // What follows a change of option `name` once it is stored: the levels chosen again.
  void OptionChanged(const std::string& name) override;
  const OptionControls& controls() const override { return controls_; }

 private:
  void Build(QTabWidget& tabs);
  void StateChanged(StateChange what);
  void ShowRange();
  void ShowStep();
  void RangeBoxEdited(QLineEdit* box);
  void StoreRangeBox(QLineEdit* box);
  void AutoRangeToggled();
  void AutoStepToggled();
  void RoundLevelsToggled();
  void ChooseLabelFont();

  MainWindow& window_;
  OptionControls controls_;
  QWidget* page_ = nullptr;
  QCheckBox *autoRangeCheck_ = nullptr, *autoStepCheck_ = nullptr, *roundLevelsCheck_ = nullptr;
  QLineEdit *minBox_ = nullptr, *maxBox_ = nullptr, *stepBox_ = nullptr;
  QSlider *divisionsSlider_ = nullptr, *labelGapSlider_ = nullptr;
  QLabel* labelSample_ = nullptr;
  QPushButton* labelFontButton_ = nullptr;
  QCheckBox *showLabelCheck_ = nullptr, *clearLabelBackCheck_ = nullptr, *limitLabelsCheck_ = nullptr;
  QSpinBox *labelMinSpin_ = nullptr, *labelMaxSpin_ = nullptr;
};

}  // namespace corvane
