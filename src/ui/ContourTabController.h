// The 等高線 tab: the contour range and step of the selected variable, and the label options.
// Its controls are its own; it writes the program state from their handlers and shows the levels
// again whenever the state says they changed.
#pragma once
#include <QObject>
#include <string>

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

class ContourTabController : public QObject {
  Q_OBJECT

 public:
  // Builds the tab's page into `tabs`; `window` owns the program state and the error boundary.
  ContourTabController(MainWindow& window, QTabWidget& tabs);
  // Connects the tab's handlers. The window calls it after the controls' values are connected to
  // the stored options, so a handler always reads the option its control has just written.
  void ConnectHandlers();

  // The range boxes' texts as they stand (typed or shown), for the legend.
  struct RangeTexts {
    std::string min, max, step;
  };
  RangeTexts ShownRange() const;
  // The label sample's text colour as a settings line or --set gives it; the contour options follow.
  void SetLabelColour(const QColor& colour);
  // The label sample's background follows the picture's.
  void SetSampleBackground(bool white);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

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
  void LabelLimitsToggled();
  void ChooseLabelFont();
  void StoreLabelSample();

  MainWindow& window_;
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
