// The 流線 tab: streamline colour and width, the seed list and the seed segment.
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidget>
#include <limits>

#include "streamline/SeedList.h"
#include "ui/ColourSwatchWidget.h"
#include "ui/ControlFactory.h"
#include "ui/MainWindow.h"

namespace corvane {

void MainWindow::BuildStreamTab() {
  streamTab = Named(new QWidget, "TabSheet2");
  {
    auto* v = new QVBoxLayout(streamTab);
    auto* h = new QHBoxLayout;
    h->addWidget(MakeLabel(streamTab, "Label60", QStringLiteral("線幅")));
    StreamLineWid = MakeSpin(streamTab, "StreamLineWid", 1, 10, 1);
    h->addWidget(StreamLineWid);
    h->addWidget(MakeLabel(streamTab, "Label61", QStringLiteral("色")));
    streamLineColour = Named(new ColourSwatchWidget(MakeColour(0, 0, 255), streamTab), "StreamColShape");
    h->addWidget(streamLineColour);
    streamColourButton = MakeButton(streamTab, "Button7", QStringLiteral("変更"));
    h->addWidget(streamColourButton);
    DrawStreamLineCheck = MakeCheck(streamTab, "DrawStreamLineCheck", QStringLiteral("流線を描く"), false);
    DrawStreamLineCheck->setEnabled(false);
    h->addWidget(DrawStreamLineCheck);
    h->addStretch();
    v->addLayout(h);
    auto* g18 = MakeGroup(streamTab, "GroupBox18", QStringLiteral("出発点の指定"));
    auto* f = new QGridLayout(g18);
    StreamLineGridSelect = MakeCheck(g18, "StreamLineGridSelect", QStringLiteral("特定のグリッドから出発"), false);
    f->addWidget(StreamLineGridSelect, 0, 0, 1, 4);
    StreamList = Named(new QTableWidget(StreamSeedList::kRowCount, StreamSeedList::kColumnCount, g18), "StreamList");
    StreamList->horizontalHeader()->hide();
    StreamList->verticalHeader()->hide();
    StreamList->setSelectionBehavior(QAbstractItemView::SelectRows);
    StreamList->setSelectionMode(QAbstractItemView::SingleSelection);
    StreamList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int c = 0; c < StreamSeedList::kColumnCount; ++c)
      StreamList->setColumnWidth(c, kStreamListColumnWidths[static_cast<std::size_t>(c)]);
    StreamList->verticalHeader()->setMinimumSectionSize(kStreamListRowHeight);
    StreamList->verticalHeader()->setDefaultSectionSize(kStreamListRowHeight);
    StreamList->setMinimumHeight(110);
    f->addWidget(StreamList, 1, 0, 4, 2);
    StreamDelAllButton = MakeButton(g18, "StreamDelAllButton", QStringLiteral("全削除"));
    StreamDelButton = MakeButton(g18, "StreamDelButton", QStringLiteral("削除"));
    // Beside the list: the buttons, and the zone, node and copy of the next seed, each labelled.
    auto* seed = new QGridLayout;
    seed->addWidget(StreamDelAllButton, 0, 0, 1, 2);
    seed->addWidget(StreamDelButton, 0, 2, 1, 2);
    StreamZoneSelect = MakeCombo(g18, "StreamZoneSelect");
    seed->addWidget(MakeLabel(g18, "StreamZoneLabel", QStringLiteral("領域")), 1, 0);
    seed->addWidget(StreamZoneSelect, 1, 1, 1, 3);
    StreamIBox = MakeSpin(g18, "StreamIBox", 0, 100, 0);
    StreamJBox = MakeSpin(g18, "StreamJBox", 0, 100, 0);
    seed->addWidget(MakeLabel(g18, "StreamILabel", QStringLiteral("i")), 2, 0);
    seed->addWidget(StreamIBox, 2, 1);
    seed->addWidget(MakeLabel(g18, "StreamJLabel", QStringLiteral("j")), 2, 2);
    seed->addWidget(StreamJBox, 2, 3);
    // The copy number has no bounds: a seed may start where a copy beyond writetimes would be.
    StreamOverbox = MakeSpin(g18, "StreamOverbox", std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 0);
    StreamAddButton = MakeButton(g18, "StreamAddButton", QStringLiteral("追加"));
    seed->addWidget(MakeLabel(g18, "StreamOverLabel", QStringLiteral("重")), 3, 0);
    seed->addWidget(StreamOverbox, 3, 1);
    seed->addWidget(StreamAddButton, 3, 2, 1, 2);
    seed->setColumnStretch(1, 1);
    seed->setColumnStretch(3, 1);
    f->addLayout(seed, 1, 2, 4, 2);
    StreamLineSegment = MakeCheck(g18, "StreamLineSegment", QStringLiteral("線分ＡＢから出発"), false);
    f->addWidget(StreamLineSegment, 5, 0, 1, 4);
    f->addWidget(MakeLabel(g18, "Label56", QStringLiteral("点A")), 6, 0);
    StreamXa = MakeEdit(g18, "StreamXa", QStringLiteral("0.0"));
    StreamYa = MakeEdit(g18, "StreamYa", QStringLiteral("0.0"));
    f->addWidget(StreamXa, 6, 1);
    f->addWidget(StreamYa, 6, 2);
    f->addWidget(MakeLabel(g18, "Label57", QStringLiteral("点B")), 7, 0);
    StreamXb = MakeEdit(g18, "StreamXb", QStringLiteral("1.0"));
    StreamYb = MakeEdit(g18, "StreamYb", QStringLiteral("1.0"));
    f->addWidget(StreamXb, 7, 1);
    f->addWidget(StreamYb, 7, 2);
    auto* hd = new QHBoxLayout;
    hd->addWidget(MakeLabel(g18, "Label58", QStringLiteral("線分ABを")));
    StreamDevide = MakeSpin(g18, "StreamDevide", 2, 100, 20);
    hd->addWidget(StreamDevide);
    hd->addWidget(MakeLabel(g18, "Label59", QStringLiteral("分割した点から出発")));
    hd->addStretch();
    f->addLayout(hd, 8, 0, 1, 4);
    v->addWidget(g18);
    v->addStretch();
  }
  tabPages->addTab(streamTab, QStringLiteral("流線"));
}

void MainWindow::ConnectStreamTab() {
  connect(StreamZoneSelect, &QComboBox::currentIndexChanged, this, Guarded(&MainWindow::StreamZoneSelectChange));
  connect(StreamAddButton, &QPushButton::clicked, this, Guarded(&MainWindow::StreamAddButtonClick));
  connect(StreamDelButton, &QPushButton::clicked, this, Guarded(&MainWindow::StreamDelButtonClick));
  connect(StreamDelAllButton, &QPushButton::clicked, this, Guarded(&MainWindow::StreamDelAllButtonClick));
  connect(streamColourButton, &QPushButton::clicked, this, Guarded(&MainWindow::chooseStreamLineColour));
  StreamList->installEventFilter(this);
  for (QLineEdit* e : {StreamXa, StreamYa, StreamXb, StreamYb})
    connect(e, &QLineEdit::textChanged, this, Guarded(&MainWindow::StreamXaChange));
  connect(StreamDevide, &QSpinBox::valueChanged, this, Guarded(&MainWindow::StreamXaChange));
}

void MainWindow::chooseStreamLineColour() { PickSwatchColour(streamLineColour, this); }

void MainWindow::streamTabShown() {
  if (scene.options.display.UseOpenGL) notifier_->Message("OpenGL時には流線を描くことはできません");
}

// The seed rows as the list shows them.
StreamSeedList MainWindow::ReadSeedList() const {
  StreamSeedList list;
  for (int row = 1; row < StreamSeedList::kRowCount; ++row) {
    auto cell = [&](int column) {
      const QTableWidgetItem* item = StreamList->item(row, column);
      return item ? item->text() : QString();
    };
    if (cell(0).isEmpty()) break;  // the list is packed: the first empty row ends it
    StreamSeed seed;
    seed.copy = cell(0).toInt();
    seed.zone = cell(1).toInt();
    seed.i = cell(2).toInt();
    seed.j = cell(3).toInt();
    list.seeds.push_back(seed);
  }
  return list;
}

// The list shows `list`, which becomes the stored seed list.
void MainWindow::ShowSeedList(const StreamSeedList& list) {
  for (int row = 0; row < StreamSeedList::kRowCount; ++row)
    for (int column = 0; column < StreamSeedList::kColumnCount; ++column) {
      QString text = Q(SeedListCellText(list, row, column));
      QTableWidgetItem* item = StreamList->item(row, column);
      if (!item) {
        if (text.isEmpty()) continue;
        item = new QTableWidgetItem;
        StreamList->setItem(row, column, item);
      }
      item->setText(text);
    }
  scene.options.stream.StreamList = list;
}

void MainWindow::StreamZoneSelectChange() {
  StreamOptions stream;
  stream.StreamZoneSelect = StreamZoneSelect->currentIndex();
  stream.StreamIBox = StreamIBox->value();
  stream.StreamJBox = StreamJBox->value();
  SeedBoxLimits limits = SelectSeedZone(stream, data_);
  StreamIBox->setMaximum(limits.iMax);
  StreamJBox->setMaximum(limits.jMax);
  StreamIBox->setValue(stream.StreamIBox);
  StreamJBox->setValue(stream.StreamJBox);
}

void MainWindow::StreamAddButtonClick() {
  StreamOptions stream;
  stream.StreamOverbox = StreamOverbox->value();
  stream.StreamZoneSelect = StreamZoneSelect->currentIndex();
  stream.StreamIBox = StreamIBox->value();
  stream.StreamJBox = StreamJBox->value();
  stream.StreamList = ReadSeedList();
  stream.StreamLineGridSelect = StreamLineGridSelect->isChecked();
  if (AddNodeSeed(stream, *notifier_)) ShowSeedList(stream.StreamList);
  StreamLineGridSelect->setChecked(stream.StreamLineGridSelect);
}

// One row per click: the top row of the selection.
void MainWindow::StreamDelButtonClick() {
  QList<QTableWidgetItem*> selected = StreamList->selectedItems();
  int row = StreamList->currentRow();
  for (const QTableWidgetItem* item : selected) row = std::min(row < 0 ? item->row() : row, item->row());
  if (row < 1) return;
  StreamSeedList list = ReadSeedList();
  DeleteSeedRow(list, row);
  ShowSeedList(list);
}

void MainWindow::StreamDelAllButtonClick() {
  StreamSeedList list;
  ClearSeedList(list);
  ShowSeedList(list);
}

void MainWindow::StreamListKeyDown(int key) {
  if (key == Qt::Key_Delete) StreamDelButtonClick();
}

void MainWindow::StreamXaChange() { StreamLineSegment->setChecked(true); }

}  // namespace corvane
