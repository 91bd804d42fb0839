#include "ui/MainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QTime>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "readers/DataFormats.h"
#include "base/Errors.h"
#include "render/NumberFormat.h"
#include "scene/DesktopIntegration.h"
#include "scene/SceneLoad.h"
#include "ui/AboutDialog.h"
#include "ui/AnalysisTabController.h"
#include "ui/AxesTabController.h"
#include "ui/ColourSwatchWidget.h"
#include "ui/ColourTabController.h"
#include "ui/ContourTabController.h"
#include "ui/DataTabController.h"
#include "ui/FileTabController.h"
#include "ui/DisplayTabController.h"
#include "ui/ErrorBoundary.h"
#include "ui/RadioGroupWidget.h"
#include "ui/StreamTabController.h"
#include "ui/ControlFactory.h"
#include "ui/LegendWindow.h"
#include "ui/MainMenu.h"
#include "ui/ProfileWindow.h"
#include "ui/ScreenPlacement.h"
#include "ui/SeriesControl.h"
#include "ui/SettingsApplier.h"
#include "ui/PlotWindow.h"
#include "ui/PlotWindowHost.h"
#include "ui/ViewDrawing.h"
#include "ui/WorkFeedback.h"

namespace corvane {

// Creation: the controls, the menus, the transform's start values and the gauge colour; then the
// controls show the state, whose option structs hold every default.
MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent),
      windowNotifier_(this),
      notifier_(&windowNotifier_),
      settings_(std::make_unique<SettingsApplier>(*this)),
      series_(std::make_unique<SeriesControl>(*this)),
      viewDrawing_(std::make_unique<ViewDrawing>(*this)),
      plotHost_(std::make_unique<PlotWindowHost>(*this)),
      gate_(this, [this](const std::function<void()>& body) { RunHandler(body); }) {
  EnsureJapaneseFont();
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("二次元可視化"));
  setWindowFlags((windowFlags() | Qt::WindowMinimizeButtonHint) & ~Qt::WindowMaximizeButtonHint);
  BuildControls();
  menu_ = std::make_unique<MainMenu>(*this);
  // The scrolling area would ask for less than the controls need; the window starts at their
  // full size, and is shrunk only on a small screen when shown.
  {
    const QSize content = centralWidget()->findChild<QWidget*>(QStringLiteral("CentralPanel"))->sizeHint();
    resize(content.width(), content.height() + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
  }
  auto* gauge = findChild<QProgressBar*>(QStringLiteral("Gauge1"));
  feedback_ = std::make_unique<WorkFeedback>(this, gauge, statusBar(), [this] { return state.AbortRequested; });
  setAcceptDrops(true);

  scene.view.PictureWidth = 500;
  scene.view.PictureHeight = 300;
  scene.view.CentrePixelX = 250;
  scene.view.CentrePixelY = 150;
  scene.view.ScaleX = scene.view.ScaleY = 1.0;
  state.AbortRequested = false;
  dialogs.OpenDocument = [](const QString& path) { return OpenWithDesktop(path); };
  dialogs.ChooseFont = [this](const QFont& initial, const QString& title) -> std::optional<QFont> {
    bool ok = false;
    QFont f = QFontDialog::getFont(&ok, initial, this, title);
    return ok ? std::optional<QFont>(f) : std::nullopt;
  };
  dialogs.ChooseOpenFiles = [this] {
    return QFileDialog::getOpenFileNames(
        this, QStringLiteral("データファイルを開く"), CurrentFolder(),
        QString::fromStdString(OpenDialogFilter()));
  };
  RefillRecentMenu();
  dialogs.ChooseColour = [this](const QColor& initial, const QString& title) -> std::optional<QColor> {
    QColor c = QColorDialog::getColor(initial, this, title);
    return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
  };

  // The gauge colour is the first draw of the generator seeded from the time of day.
  scene.random.Seed(static_cast<std::uint32_t>(QTime::currentTime().msecsSinceStartOfDay()));
  static const char* const kGaugeColours[7] = {"#000000", "#FF0000", "#0000FF", "#FFFF00",
                                               "#00FF00", "#FF00FF", "#00FFFF"};
  const char* colour = kGaugeColours[scene.random.Next(7)];
  gauge->setProperty("barColour", QString::fromLatin1(colour));
  gauge->setStyleSheet(QStringLiteral("QProgressBar { border: 1px solid grey; background: white; }"
                                       "QProgressBar::chunk { background-color: %1; }")
                            .arg(QString::fromLatin1(colour)));

  LoadControls();
  ConnectHandlers();

  // A working folder that no longer exists (deleted under a running shell) starts the file
  // lists in the home folder instead.
  QString start = QDir::currentPath();
  if (!QFileInfo(start).isDir()) start = QDir::homePath();
  if (!QFileInfo(start).isDir()) start = QDir::rootPath();
  RunHandler([&] { tabs_.file->SetFolder(start); });
  profileWindow = new ProfileWindow(this);  // hidden until the analysis tab opens it
}

MainWindow::~MainWindow() = default;

void MainWindow::GrowToContents() {
  // New items are laid out when the events are next processed; the window is measured after it.
  QTimer::singleShot(0, this, [this] {
    const QSize content = centralWidget()->findChild<QWidget*>(QStringLiteral("CentralPanel"))->sizeHint();
    const int height = content.height() + menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
    if (width() >= content.width() && this->height() >= height) return;
    resize(std::max(width(), content.width()), std::max(this->height(), height));
    if (isVisible()) KeepOnScreen(this);
  });
}

// Every control of the window: the variable choice and display switches above, the eight tabs,
// and the drawing mode, background and gauge below.
void MainWindow::BuildControls() {
  // On a screen smaller than the controls need, the window shrinks and its contents scroll.
  auto* scroll = Named(new QScrollArea(this), "CentralScroll");
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  setCentralWidget(scroll);
  auto* central = Named(new QWidget(scroll), "CentralPanel");
  scroll->setWidget(central);
  auto* outer = new QVBoxLayout(central);
  outer->setContentsMargins(4, 4, 4, 2);
  outer->setSpacing(4);

  // Upper area: the variable choice and the display switches.
  auto* top = new QHBoxLayout;
  RGroup = Named(new RadioGroupWidget(QStringLiteral("表示する項目"), 2, central), "RGroup");
  RGroup->SetItems({QStringLiteral("データ無し")});
  top->addWidget(RGroup, 3);
  QGroupBox* displayItemsGroup = MakeGroup(central, "GroupBox2", QStringLiteral("表示項目の設定"));
  {
    auto* g = new QGridLayout(displayItemsGroup);
    g->setVerticalSpacing(1);
    QCheckBox* ShowContour = MakeCheck(displayItemsGroup, "ShowContour", QStringLiteral("等高線<"));
    QCheckBox* BrushCheck = MakeCheck(displayItemsGroup, "BrushCheck", QStringLiteral("塗り分け"));
    BrushCheck->setToolTip(QStringLiteral("等高線を塗りつぶします"));
    QCheckBox* LineCheck = MakeCheck(displayItemsGroup, "LineCheck", QStringLiteral("線画"));
    QCheckBox* ShowGrid = MakeCheck(displayItemsGroup, "ShowGrid", QStringLiteral("格子線"));
    QCheckBox* GridForward = MakeCheck(displayItemsGroup, "GridForward", QStringLiteral("格子が手前"));
    QCheckBox* ShowVec = MakeCheck(displayItemsGroup, "ShowVec", QStringLiteral("速度ベクトル"));
    ShowVec->setEnabled(false);
    QLabel* VecScaleLabel = MakeLabel(displayItemsGroup, "VecScaleLabel", QStringLiteral("scale ="));
    QLineEdit* VecScaleBox = MakeEdit(displayItemsGroup, "VecScaleBox");
    VecScaleBox->setEnabled(false);
    g->addWidget(ShowContour, 0, 0);
    g->addWidget(BrushCheck, 0, 1);
    g->addWidget(LineCheck, 0, 2);
    g->addWidget(ShowGrid, 1, 0);
    g->addWidget(GridForward, 1, 1, 1, 2);
    g->addWidget(ShowVec, 2, 0);
    g->addWidget(VecScaleLabel, 3, 0, Qt::AlignRight);
    g->addWidget(VecScaleBox, 3, 1, 1, 2);
  }
  top->addWidget(displayItemsGroup, 2);
  outer->addLayout(top);

  tabs_.pages = Named(new QTabWidget(central), "PageControl1");
  outer->addWidget(tabs_.pages, 1);

  tabs_.file = new FileTabController(*this, *tabs_.pages);
  tabs_.contour = new ContourTabController(*this, *tabs_.pages);
  tabs_.data = new DataTabController(*this, *tabs_.pages);
  tabs_.colour = new ColourTabController(*this, *tabs_.pages);
  tabs_.axes = new AxesTabController(*this, *tabs_.pages);
  tabs_.display = new DisplayTabController(*this, *tabs_.pages);
  tabs_.analysis = new AnalysisTabController(*this, *tabs_.pages);
  tabs_.stream = new StreamTabController(*this, *tabs_.pages);
  tabs_.pages->setCurrentIndex(0);

  // Below the pages: drawing mode, background and the progress gauge.
  auto* bottom = new QHBoxLayout;
  QCheckBox* UseOpenGL = MakeCheck(central, "UseOpenGL", QStringLiteral("OpenGL"));
  QCheckBox* WhiteBack = MakeCheck(central, "WhiteBack", QStringLiteral("背景を白にする"));
  bottom->addWidget(UseOpenGL);
  bottom->addWidget(WhiteBack);
  QFrame* gaugePanel = Named(new QFrame(central), "Panel5");
  auto* p5 = new QHBoxLayout(gaugePanel);
  p5->setContentsMargins(0, 0, 0, 0);
  auto* gauge = Named(new QProgressBar(gaugePanel), "Gauge1");
  gauge->setRange(0, 100);
  gauge->setValue(0);
  gauge->setTextVisible(true);
  p5->addWidget(gauge);
  bottom->addWidget(gaugePanel, 1);
  outer->addLayout(bottom);

  setStatusBar(Named(new QStatusBar(this), "StatusBar1"));
  mainControls_.Add(RGroup);
  mainControls_.Collect(displayItemsGroup);
  mainControls_.Add(UseOpenGL);
  mainControls_.Add(WhiteBack);
}

// Signals to handlers, tab by tab. Every handler runs inside the error boundary.
void MainWindow::ConnectHandlers() {
  ConnectOptionControls(mainControls_, this);
  tabs_.file->ConnectHandlers();
  tabs_.contour->ConnectHandlers();
  tabs_.data->ConnectHandlers();
  connect(&state.events, &StateEvents::changed, this, [this](StateChange what) {
    if (what == StateChange::VelocityData) VelocityDataChanged();
  });
  tabs_.colour->ConnectHandlers();
  tabs_.axes->ConnectHandlers();
  tabs_.display->ConnectHandlers();
  tabs_.analysis->ConnectHandlers();
  tabs_.stream->ConnectHandlers();
  // The tab pages' show handlers.
  connect(tabs_.pages, &QTabWidget::currentChanged, this, Guarded([this](int index) {
    QWidget* page = tabs_.pages->widget(index);
    if (page == tabs_.axes->page()) tabs_.axes->Shown();
    else if (page == tabs_.analysis->page()) tabs_.analysis->Shown();
    else if (page == tabs_.stream->page()) tabs_.stream->Shown();
  }));
  menu_->Connect();
}

void MainWindow::LoadControls() {
  LoadMainControls();
  for (OptionView* v : Views()) v->Load(Options());
}

std::array<OptionView*, 7> MainWindow::Views() const {
  return {tabs_.contour, tabs_.data, tabs_.colour, tabs_.axes, tabs_.display, tabs_.analysis, tabs_.stream};
}

void MainWindow::LoadMainControls() {
  mainControls_.Load(state);
  mainControls_.Find("BrushCheck")->setEnabled(Options().display.ShowContour);
  mainControls_.Find("LineCheck")->setEnabled(Options().display.ShowContour);
}

void MainWindow::MainOptionChanged(const std::string& name) {
  const DisplayOptions& d = Options().display;
  if (name == "RGroup") {
    RGroupClick();
  } else if (name == "ShowContour") {
    if (d.ShowContour && plotWindow) plotWindow->setWindowTitle(QStringLiteral("等高線表示"));
  } else if (name == "UseOpenGL") {
    tabs_.colour->EnableQuickFill(d.UseOpenGL);
  } else if (name == "WhiteBack") {
    // The label sample and the legend's preview panels follow the picture background.
    tabs_.contour->Load(Options());
    if (legendWindow) legendWindow->SetPreviewBackground(d.WhiteBack);
  }
}

QWidget* MainWindow::FindOptionControl(std::string_view name) const {
  if (QWidget* w = mainControls_.Find(name)) return w;
  for (const OptionView* v : Views())
    if (QWidget* w = v->controls().Find(name)) return w;
  return nullptr;
}

void MainWindow::OptionChanged(const std::string& name, bool changed) {
  if (mainControls_.Find(name)) {
    LoadMainControls();
    if (changed) MainOptionChanged(name);
    return;
  }
  for (OptionView* v : Views())
    if (v->controls().Find(name)) {
      v->Load(Options());
      if (changed) v->OptionChanged(name);
      return;
    }
}

void MainWindow::ConnectOptionControls(const OptionControls& controls, QObject* context) {
  controls.Connect(context, [this](QWidget* control, const std::string& value) {
    RunHandlerWhenIdle([this, control, value] { ControlEdited(control, value); });
  });
}

void MainWindow::ControlEdited(QWidget* control, const std::string& value) {
  const std::string name = control->objectName().toStdString();
  OptionControls::StoreValue(state, name, value, qobject_cast<QLineEdit*>(control));
  OptionChanged(name, true);
}


// Messages of the main window and of the windows that report through it.
void MainWindow::SetNotifier(Notifier* notifier) {
  notifier_ = notifier ? notifier : &windowNotifier_;
  if (legendWindow) legendWindow->SetNotifier(notifier_);
}

void MainWindow::RunHandler(const std::function<void()>& body) { RunGuarded(*notifier_, body); }

void MainWindow::RunWork(const std::function<void(Progress&, Notifier&)>& work) {
  gate_.RunWork(work, feedback_->progress(), *notifier_, state.AbortRequested);
}

// The boxes always show the levels of the selected variable.
void MainWindow::RGroupClick() {
  // The ranges shown for a derived row need its values: computed the first time it is chosen.
  PrepareShownRow(scene);
  state.events.Changed(StateChange::ContourLevels);
}


void MainWindow::ShowTab(int index) {
  if (index < 0 || index >= tabs_.pages->count()) return;
  tabs_.pages->setCurrentIndex(index);
}

}  // namespace corvane
