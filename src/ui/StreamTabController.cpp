#include "ui/StreamTabController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <limits>

#include "streamline/SeedList.h"
#include "ui/ColourSwatchWidget.h"
#include "ui/ControlFactory.h"
#include "ui/MainWindow.h"

namespace corvane {

StreamTabController::StreamTabController(MainWindow& window, QTabWidget& tabs) : QObject(&window), window_(window) {
  Build(tabs);
  controls_.Collect(page_);
}

// The page and its controls, each with its control name.
void StreamTabController::Build(QTabWidget& tabs) {
  page_ = Named(new QWidget, "TabSheet2");
  {
    auto* v = new QVBoxLayout(page_);
    auto* h = new QHBoxLayout;
    h->addWidget(MakeLabel(page_, "Label60", QStringLiteral("線幅")));
    lineWidthSpin_ = MakeSpin(page_, "StreamLineWid", 1, 10);
    h->addWidget(lineWidthSpin_);
    h->addWidget(MakeLabel(page_, "Label61", QStringLiteral("色")));
    lineColourSwatch_ = Named(new ColourSwatchWidget(kBlack, page_), "StreamColShape");
    h->addWidget(lineColourSwatch_);
    colourButton_ = MakeButton(page_, "Button7", QStringLiteral("変更"));
    h->addWidget(colourButton_);
    drawCheck_ = MakeCheck(page_, "DrawStreamLineCheck", QStringLiteral("流線を描く"));
    drawCheck_->setEnabled(false);
    h->addWidget(drawCheck_);
    h->addStretch();
    v->addLayout(h);
    auto* g18 = MakeGroup(page_, "GroupBox18", QStringLiteral("出発点の指定"));
    auto* f = new QGridLayout(g18);
    fromNodesCheck_ = MakeCheck(g18, "StreamLineGridSelect", QStringLiteral("特定のグリッドから出発"));
    f->addWidget(fromNodesCheck_, 0, 0, 1, 4);
    seedTable_ = Named(new QTableWidget(StreamSeedList::kRowCount, StreamSeedList::kColumnCount, g18), "StreamList");
    seedTable_->horizontalHeader()->hide();
    seedTable_->verticalHeader()->hide();
    seedTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    seedTable_->setSelectionMode(QAbstractItemView::SingleSelection);
    seedTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int c = 0; c < StreamSeedList::kColumnCount; ++c)
      seedTable_->setColumnWidth(c, kStreamListColumnWidths[static_cast<std::size_t>(c)]);
    seedTable_->verticalHeader()->setMinimumSectionSize(kStreamListRowHeight);
    seedTable_->verticalHeader()->setDefaultSectionSize(kStreamListRowHeight);
    seedTable_->setMinimumHeight(110);
    f->addWidget(seedTable_, 1, 0, 4, 2);
    deleteAllButton_ = MakeButton(g18, "StreamDelAllButton", QStringLiteral("全削除"));
    deleteButton_ = MakeButton(g18, "StreamDelButton", QStringLiteral("削除"));
    // Beside the list: the buttons, and the zone, node and copy of the next seed, each labelled.
    auto* seed = new QGridLayout;
    seed->addWidget(deleteAllButton_, 0, 0, 1, 2);
    seed->addWidget(deleteButton_, 0, 2, 1, 2);
    zoneList_ = MakeCombo(g18, "StreamZoneSelect");
    seed->addWidget(MakeLabel(g18, "StreamZoneLabel", QStringLiteral("領域")), 1, 0);
    seed->addWidget(zoneList_, 1, 1, 1, 3);
    seedISpin_ = MakeSpin(g18, "StreamIBox", 0, 100);
    seedJSpin_ = MakeSpin(g18, "StreamJBox", 0, 100);
    seed->addWidget(MakeLabel(g18, "StreamILabel", QStringLiteral("i")), 2, 0);
    seed->addWidget(seedISpin_, 2, 1);
    seed->addWidget(MakeLabel(g18, "StreamJLabel", QStringLiteral("j")), 2, 2);
    seed->addWidget(seedJSpin_, 2, 3);
    // The copy number has no bounds: a seed may start where a copy beyond writetimes would be.
    seedCopySpin_ = MakeSpin(g18, "StreamOverbox", std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    addButton_ = MakeButton(g18, "StreamAddButton", QStringLiteral("追加"));
    seed->addWidget(MakeLabel(g18, "StreamOverLabel", QStringLiteral("重")), 3, 0);
    seed->addWidget(seedCopySpin_, 3, 1);
    seed->addWidget(addButton_, 3, 2, 1, 2);
    seed->setColumnStretch(1, 1);
    seed->setColumnStretch(3, 1);
    f->addLayout(seed, 1, 2, 4, 2);
    fromSegmentCheck_ = MakeCheck(g18, "StreamLineSegment", QStringLiteral("線分ＡＢから出発"));
    f->addWidget(fromSegmentCheck_, 5, 0, 1, 4);
    f->addWidget(MakeLabel(g18, "Label56", QStringLiteral("点A")), 6, 0);
    pointAXBox_ = MakeEdit(g18, "StreamXa");
    pointAYBox_ = MakeEdit(g18, "StreamYa");
    f->addWidget(pointAXBox_, 6, 1);
    f->addWidget(pointAYBox_, 6, 2);
    f->addWidget(MakeLabel(g18, "Label57", QStringLiteral("点B")), 7, 0);
    pointBXBox_ = MakeEdit(g18, "StreamXb");
    pointBYBox_ = MakeEdit(g18, "StreamYb");
    f->addWidget(pointBXBox_, 7, 1);
    f->addWidget(pointBYBox_, 7, 2);
    auto* hd = new QHBoxLayout;
    hd->addWidget(MakeLabel(g18, "Label58", QStringLiteral("線分ABを")));
    segmentDivisionsSpin_ = MakeSpin(g18, "StreamDevide", 2, 100);
    hd->addWidget(segmentDivisionsSpin_);
    hd->addWidget(MakeLabel(g18, "Label59", QStringLiteral("分割した点から出発")));
    hd->addStretch();
    f->addLayout(hd, 8, 0, 1, 4);
    v->addWidget(g18);
    v->addStretch();
  }
  tabs.addTab(page_, QStringLiteral("流線"));
}

// The tab's own handlers; an edited option control is stored, then OptionChanged runs.
void StreamTabController::ConnectHandlers() {
  window_.ConnectOptionControls(controls_, this);
  connect(addButton_, &QPushButton::clicked, this, window_.Guarded([this] { AddSeed(); }));
  connect(deleteButton_, &QPushButton::clicked, this, window_.Guarded([this] { DeleteSeed(); }));
  connect(deleteAllButton_, &QPushButton::clicked, this, window_.Guarded([this] { DeleteAllSeeds(); }));
  connect(colourButton_, &QPushButton::clicked, this,
          window_.Guarded([this] { PickSwatchColour(lineColourSwatch_, &window_); }));
  seedTable_->installEventFilter(this);
}

void StreamTabController::Load(const ProgramOptions& options) {
  controls_.Load(window_.state);
  ShowSeedList(options.stream.StreamList);
}

void StreamTabController::OptionChanged(const std::string& name) {
  if (name == "StreamZoneSelect") {
    ZoneChosen();
  } else if (name == "StreamXa" || name == "StreamYa" || name == "StreamXb" || name == "StreamYb" ||
             name == "StreamDevide") {
    // Editing the segment means starting from it, a word in a box too.
    SegmentEdited(window_.state.scene.options.stream);
    Load(window_.Options());
  }
}

void StreamTabController::Shown() {
  if (window_.Options().display.UseOpenGL) window_.notifier().Message("OpenGL時には流線を描くことはできません");
}

void StreamTabController::EnableStreamLines(bool velocity) {
  drawCheck_->setEnabled(velocity);
  if (!velocity) drawCheck_->setChecked(false);
}

void StreamTabController::RefillZoneList(int zoneCount) {
  zoneList_->blockSignals(true);
  zoneList_->clear();
  for (int z = 0; z < zoneCount; ++z) zoneList_->addItem(QString::number(z));
  zoneList_->blockSignals(false);
  zoneList_->setCurrentIndex(zoneCount > 0 ? 0 : -1);
  // Refilled with its signals blocked: the list and the node boxes store their values here.
  for (QWidget* w : std::initializer_list<QWidget*>{zoneList_, seedISpin_, seedJSpin_})
    OptionControls::Store(w, window_.state);
}

bool StreamTabController::eventFilter(QObject* watched, QEvent* event) {
  if (watched == seedTable_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete)
    window_.RunHandlerWhenIdle([this] { DeleteSeed(); });
  return QObject::eventFilter(watched, event);
}

// The list shows `list`, the header row included.
void StreamTabController::ShowSeedList(const StreamSeedList& list) {
  for (int row = 0; row < StreamSeedList::kRowCount; ++row)
    for (int column = 0; column < StreamSeedList::kColumnCount; ++column) {
      QString text = Q(SeedListCellText(list, row, column));
      QTableWidgetItem* item = seedTable_->item(row, column);
      if (!item) {
        if (text.isEmpty()) continue;
        item = new QTableWidgetItem;
        seedTable_->setItem(row, column, item);
      }
      if (item->text() != text) item->setText(text);
    }
}

void StreamTabController::StoreSeedList(const StreamSeedList& list) {
  window_.state.scene.options.stream.StreamList = list;
  Load(window_.Options());
}

// The node boxes take the maxima of the chosen zone.
void StreamTabController::ZoneChosen() {
  StreamOptions& stream = window_.state.scene.options.stream;
  SeedBoxLimits limits = SelectSeedZone(stream, window_.state.scene.data);
  {
    const QSignalBlocker blockI(seedISpin_), blockJ(seedJSpin_);
    seedISpin_->setMaximum(limits.iMax);
    seedJSpin_->setMaximum(limits.jMax);
  }
  Load(window_.Options());
}

void StreamTabController::AddSeed() {
  StreamOptions& stream = window_.state.scene.options.stream;
  AddNodeSeed(stream, window_.notifier());
  Load(window_.Options());
}

// One row per click: the top row of the selection.
void StreamTabController::DeleteSeed() {
  QList<QTableWidgetItem*> selected = seedTable_->selectedItems();
  int row = seedTable_->currentRow();
  for (const QTableWidgetItem* item : selected) row = std::min(row < 0 ? item->row() : row, item->row());
  if (row < 1) return;
  StreamSeedList list = window_.Options().stream.StreamList;
  DeleteSeedRow(list, row);
  StoreSeedList(list);
}

void StreamTabController::DeleteAllSeeds() {
  StreamSeedList list;
  ClearSeedList(list);
  StoreSeedList(list);
}

}  // namespace corvane
