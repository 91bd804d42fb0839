// The XY軸 tab: axes, their titles, the axis font and the number format. Its controls are its
// views of the program state; its handlers keep the number sample and choose the axis font.
#pragma once
#include <QObject>
#include <string>

#include "ui/OptionControls.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QWidget;

namespace corvane {

class MainWindow;

class AxesTabController : public QObject, public OptionView {
  Q_OBJECT

 public:
  // Builds the tab's page into `tabs`; `window` owns the program state and the error boundary.
  AxesTabController(MainWindow& window, QTabWidget& tabs);
  // Connects the tab's handlers.
  void ConnectHandlers();
  // Shows the state (the axis sample in the axis font) with the controls' signals blocked.
  void Load(const ProgramOptions& options) override;
  // What follows a change of option `name` once it is stored.
  void OptionChanged(const std::string& name) override;
  const OptionControls& controls() const override { return controls_; }
  QWidget* page() const { return page_; }
  // The page was brought to the front: the axes are not drawn in the OpenGL view, which is said.
  void Shown();

 private:
  void Build(QTabWidget& tabs);
  void ShowNumberSample();
  void ChooseAxisFont();

  MainWindow& window_;
  OptionControls controls_;
  QWidget* page_ = nullptr;
  QCheckBox *showAxesCheck_ = nullptr, *sameScaleCheck_ = nullptr;
  QLineEdit *xTitleBox_ = nullptr, *yTitleBox_ = nullptr;
  QLabel* axisSample_ = nullptr;
  QPushButton* axisFontButton_ = nullptr;
  QRadioButton *exponentRadio_ = nullptr, *fixedRadio_ = nullptr, *shortestRadio_ = nullptr;
  QSpinBox *digitsSpin_ = nullptr, *precisionSpin_ = nullptr;
};

}  // namespace corvane
