// The XY軸 tab: axes, their titles, the axis font and the number format. Its controls are its
// own; the option table stores their values, its handlers keep the samples and the axis font.
#pragma once
#include <QObject>

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

class AxesTabController : public QObject {
  Q_OBJECT

 public:
  // Builds the tab's page into `tabs`; `window` owns the program state and the error boundary.
  AxesTabController(MainWindow& window, QTabWidget& tabs);
  // Connects the tab's handlers, after the controls' values are connected to the stored options.
  void ConnectHandlers();
  QWidget* page() const { return page_; }
  // The page was brought to the front: the axes are not drawn in the OpenGL view, which is said.
  void Shown();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build(QTabWidget& tabs);
  void ShowNumberSample();
  void ChooseAxisFont();
  void StoreAxisSample();

  MainWindow& window_;
  QWidget* page_ = nullptr;
  QCheckBox *showAxesCheck_ = nullptr, *sameScaleCheck_ = nullptr;
  QLineEdit *xTitleBox_ = nullptr, *yTitleBox_ = nullptr;
  QLabel* axisSample_ = nullptr;
  QPushButton* axisFontButton_ = nullptr;
  QRadioButton *exponentRadio_ = nullptr, *fixedRadio_ = nullptr, *shortestRadio_ = nullptr;
  QSpinBox *digitsSpin_ = nullptr, *precisionSpin_ = nullptr;
};

}  // namespace corvane
