// The カラー tab: colour maps, the legend window and the contour line options. Its controls are
// views of the program state; its handlers pick colours and maps.
#pragma once
#include <QObject>

#include "ui/OptionControls.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QWidget;

namespace corvane {

class ColourSwatchWidget;
class MainWindow;

class ColourTabController : public QObject, public OptionView {
  Q_OBJECT

 public:
  static constexpr int kMapCount = 7;
  // Builds the tab's page into `tabs`; `window` owns the program state and the error boundary.
  ColourTabController(MainWindow& window, QTabWidget& tabs);
  // Connects the tab's handlers.
  void ConnectHandlers();
  // Shows the state with the controls' signals blocked.
  void Load(const ProgramOptions& options) override;
  // The OpenGL view's smooth fill can be chosen only while the OpenGL view draws; it follows
  // UseOpenGL when that changes.
  void EnableQuickFill(bool enabled);
  const OptionControls& controls() const override { return controls_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build(QTabWidget& tabs);
  void MapPictureClicked(int index);

  MainWindow& window_;
  OptionControls controls_;
  QWidget* page_ = nullptr;
  QRadioButton* mapRadios_[kMapCount] = {};
  QLabel* mapPictures_[kMapCount] = {};
  QPushButton *legendButton_ = nullptr, *fixedLineColourButton_ = nullptr;
  QCheckBox *colourBarCheck_ = nullptr, *quickFillCheck_ = nullptr, *fixLineColourCheck_ = nullptr;
  QCheckBox *bitmapFillCheck_ = nullptr, *mergeBandsCheck_ = nullptr;
  QSpinBox* lineWidthSpin_ = nullptr;
  ColourSwatchWidget* fixedLineColour_ = nullptr;
};

}  // namespace corvane
