// The 流線 tab: streamline colour and width, the seed list and the seed segment. Its controls are
// views of the program state; its handlers keep the seed list.
#pragma once
#include <QObject>
#include <string>

#include "streamline/StreamOptions.h"
#include "ui/OptionControls.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTabWidget;
class QWidget;

namespace corvane {

class ColourSwatchWidget;
class MainWindow;

class StreamTabController : public QObject, public OptionView {
  Q_OBJECT

 public:
  // Builds the tab's page into `tabs`; `window` owns the program state and the error boundary.
  StreamTabController(MainWindow& window, QTabWidget& tabs);
  // Connects the tab's handlers.
  void ConnectHandlers();
  // Shows the state (the seed list too) with the controls' signals blocked.
  void Load(const ProgramOptions& options) override;
  // What follows a change of option `name` once it is stored.
  void OptionChanged(const std::string& name) override;
  const OptionControls& controls() const override { return controls_; }
  QWidget* page() const { return page_; }
  // The page was brought to the front: streamlines are not drawn in the OpenGL view, which is said.
  void Shown();
  // Streamlines need velocity data: without it they cannot be asked for, and are not drawn.
  void EnableStreamLines(bool velocity);
  // The zone list after a load with `zoneCount` zones: zone 0 chosen and stored with its node.
  void RefillZoneList(int zoneCount);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build(QTabWidget& tabs);
  void ShowSeedList(const StreamSeedList& list);
  void StoreSeedList(const StreamSeedList& list);
  void ZoneChosen();
  void AddSeed();
  void DeleteSeed();
  void DeleteAllSeeds();

  MainWindow& window_;
  OptionControls controls_;
  QWidget* page_ = nullptr;
  QSpinBox* lineWidthSpin_ = nullptr;
  ColourSwatchWidget* lineColourSwatch_ = nullptr;
  QPushButton *colourButton_ = nullptr, *deleteAllButton_ = nullptr, *deleteButton_ = nullptr, *addButton_ = nullptr;
  QCheckBox *drawCheck_ = nullptr, *fromNodesCheck_ = nullptr, *fromSegmentCheck_ = nullptr;
  QTableWidget* seedTable_ = nullptr;
  QComboBox* zoneList_ = nullptr;
  QSpinBox *seedISpin_ = nullptr, *seedJSpin_ = nullptr, *seedCopySpin_ = nullptr, *segmentDivisionsSpin_ = nullptr;
  QLineEdit *pointAXBox_ = nullptr, *pointAYBox_ = nullptr, *pointBXBox_ = nullptr, *pointBYBox_ = nullptr;
};

}  // namespace corvane
