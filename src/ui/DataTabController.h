// The 構造 tab: the layout of a text data file, the velocity columns and gas constants, and the
// formula variables. Its controls are views of the program state: Load shows it, their handlers
// write it, and the kept formulas are shown again whenever the state says they changed.
#pragma once
#include <QObject>
#include <array>
#include <string>
#include <vector>

#include "ui/OptionControls.h"
#include "ui/ProgramState.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QVBoxLayout;
class QWidget;

namespace corvane {

class MainWindow;

class DataTabController : public QObject, public OptionView {
  Q_OBJECT

 public:
  // Builds the tab's page into `tabs`; `window` owns the program state and the error boundary.
  DataTabController(MainWindow& window, QTabWidget& tabs);
  // Connects the tab's handlers.
  void ConnectHandlers();
  // Shows the state with the controls' signals blocked.
  void Load(const ProgramOptions& options) override;
  // What follows a change of option `name` once it is stored.
  void OptionChanged(const std::string& name) override;
  const OptionControls& controls() const override { return controls_; }
  QWidget* page() const { return page_; }

  // After a load: the velocity, temperature and pressure selectors list `items` and show the
  // preselected columns (x velocity, y velocity, temperature, pressure), which are stored.
  void ShowColumnChoices(const std::vector<std::string>& items, const std::array<int, 4>& preselected);

 private:
  void Build(QTabWidget& tabs);
  void BuildFormulaControls(QVBoxLayout* into);
  void StateChanged(StateChange what);
  void ShowFormulas();
  void VelocityDataToggled();
  // Names the columns the Mach number and total pressure come from under the selectors; with
  // `warn`, a name that does not look like its quantity is also told once as a warning.
  void ShowDerivedColumns(bool warn);
  void AddFormulaClicked();
  void RemoveFormulaClicked();

  MainWindow& window_;
  OptionControls controls_;
  QWidget* page_ = nullptr;
  QCheckBox* velocityCheck_ = nullptr;
  std::array<QComboBox*, 4> columnSelectors_{};  // x velocity, y velocity, temperature, pressure
  QLabel* derivedColumnsLabel_ = nullptr;
  bool columnsLoaded_ = false;  // the selectors hold a file's columns
  std::string toldDoubts_;      // the doubts last told as a warning
  QPushButton* applyLayoutButton_ = nullptr;
  QLineEdit* formulaBox_ = nullptr;
  QPushButton *addFormulaButton_ = nullptr, *removeFormulaButton_ = nullptr;
  QComboBox* formulaList_ = nullptr;
};

}  // namespace corvane
