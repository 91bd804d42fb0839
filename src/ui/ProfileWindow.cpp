#include "ui/ProfileWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/SegmentEndpoints.h"
#include "field/DeferredRows.h"
#include "base/Errors.h"
#include "field/VariableRows.h"
#include "profile/WallFinding.h"
#include "ui/AnalysisTabController.h"
#include "ui/ControlFactory.h"
#include "ui/MainWindow.h"
#include "ui/PlotWindow.h"

namespace corvane {

ProfilePlotView::ProfilePlotView(QWidget* parent, std::function<PlotSpec()> figure)
    : QWidget(parent), spec_(std::move(figure)) {
  setMinimumSize(320, 240);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ProfilePlotView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PlotSpec figure;
  try {
    figure = spec_();
  } catch (const std::exception&) {
    // A curve that cannot be shown leaves an empty plot rather than ending the program.
  }
  DrawProfilePlot(painter, rect(), figure);
}

template <class F>
auto ProfileWindow::Guarded(F f) {
  return [this, f](auto&&...) { main_->RunHandlerWhenIdle([f] { f(); }); };
}

ProfileWindow::ProfileWindow(MainWindow* main) : QWidget(main, Qt::Window), main_(main) {
  setObjectName(QStringLiteral("ProfileForm"));
  setWindowTitle(QStringLiteral("分布図"));
  Build();
  Connect();
  resize(1000, 620);
  DataChanged();
}

void ProfileWindow::Build() {
  auto* outer = new QHBoxLayout(this);
  auto* side = new QVBoxLayout;
  outer->addLayout(side, 0);

  auto* lineGroup = MakeGroup(this, "ProfileLineGroup", QStringLiteral("線"));
  auto* g = new QGridLayout(lineGroup);
  ProfileGridLine = MakeRadio(lineGroup, "ProfileGridLine", QStringLiteral("格子線 (壁・切断線)"), true);
  ProfileSegmentLine = MakeRadio(lineGroup, "ProfileSegmentLine", QStringLiteral("解析タブの線分 P1-P2"), false);
  g->addWidget(ProfileGridLine, 0, 0, 1, 4);
  g->addWidget(MakeLabel(lineGroup, "ProfileZoneLabel", QStringLiteral("領域")), 1, 0);
  ProfileZone = MakeCombo(lineGroup, "ProfileZone");
  g->addWidget(ProfileZone, 1, 1);
  ProfileDirection = MakeCombo(lineGroup, "ProfileDirection");
  ProfileDirection->addItem(QStringLiteral("j 一定"));
  ProfileDirection->addItem(QStringLiteral("i 一定"));
  g->addWidget(ProfileDirection, 1, 2);
  ProfileIndex = MakeSpin(lineGroup, "ProfileIndex", 0, 100000, 0);
  g->addWidget(ProfileIndex, 1, 3);
  g->addWidget(MakeLabel(lineGroup, "ProfileRangeLabel", QStringLiteral("範囲")), 2, 0);
  ProfileFrom = MakeSpin(lineGroup, "ProfileFrom", 0, 100000, 0);
  g->addWidget(ProfileFrom, 2, 1);
  g->addWidget(MakeLabel(lineGroup, "ProfileToLabel", QStringLiteral("～")), 2, 2, Qt::AlignCenter);
  ProfileTo = MakeSpin(lineGroup, "ProfileTo", -1, 100000, -1);
  ProfileTo->setSpecialValueText(QStringLiteral("最後"));
  g->addWidget(ProfileTo, 2, 3);
  ProfileAddPiece = MakeButton(lineGroup, "ProfileAddPiece", QStringLiteral("区間を追加"));
  ProfileClearPieces = MakeButton(lineGroup, "ProfileClearPieces", QStringLiteral("区間をクリア"));
  g->addWidget(ProfileAddPiece, 3, 0, 1, 2);
  g->addWidget(ProfileClearPieces, 3, 2, 1, 2);
  ProfileLineText = MakeEdit(lineGroup, "ProfileLineText", QString());
  ProfileLineText->setPlaceholderText(QStringLiteral("例 0:j=0,1:j=0,2:j=0"));
  ProfileLineText->setToolTip(QStringLiteral("領域:j=番号[:i=始め..終わり] を \",\" でつなぐと一本の線になります"));
  g->addWidget(ProfileLineText, 4, 0, 1, 4);
  ProfilePickLine = MakeButton(lineGroup, "ProfilePickLine", QStringLiteral("格子線をクリックで選ぶ"));
  ProfilePickLine->setCheckable(true);
  ProfilePickLine->setToolTip(QStringLiteral("描画ウィンドウでクリックした所に一番近い格子線を線に加えます (続けてクリックするとつながります)"));
  ProfileBodyWalls = MakeButton(lineGroup, "ProfileBodyWalls", QStringLiteral("物体の壁"));
  ProfileBodyWalls->setToolTip(QStringLiteral("ほかの領域と接していない、外側の境界でもない領域の辺をすべて選びます"));
  g->addWidget(ProfilePickLine, 5, 0, 1, 2);
  g->addWidget(ProfileBodyWalls, 5, 2, 1, 2);
  g->addWidget(ProfileSegmentLine, 6, 0, 1, 4);
  ProfilePickP1 = MakeButton(lineGroup, "ProfilePickP1", QStringLiteral("点1をクリックで指定"));
  ProfilePickP2 = MakeButton(lineGroup, "ProfilePickP2", QStringLiteral("点2をクリックで指定"));
  for (QPushButton* b : {ProfilePickP1, ProfilePickP2})
    b->setToolTip(QStringLiteral("描画ウィンドウでクリックした位置を線分の端にします"));
  g->addWidget(ProfilePickP1, 7, 0, 1, 2);
  g->addWidget(ProfilePickP2, 7, 2, 1, 2);
  side->addWidget(lineGroup);

  auto* curveGroup = MakeGroup(this, "ProfileCurveGroup", QStringLiteral("曲線"));
  auto* c = new QGridLayout(curveGroup);
  c->addWidget(MakeLabel(curveGroup, "ProfileVariableLabel", QStringLiteral("縦軸")), 0, 0);
  ProfileVariable = MakeCombo(curveGroup, "ProfileVariable");
  c->addWidget(ProfileVariable, 0, 1);
  c->addWidget(MakeLabel(curveGroup, "ProfileAgainstLabel", QStringLiteral("横軸")), 1, 0);
  ProfileAgainst = MakeCombo(curveGroup, "ProfileAgainst");
  ProfileAgainst->addItem(QStringLiteral("s"));
  ProfileAgainst->addItem(QStringLiteral("x"));
  ProfileAgainst->addItem(QStringLiteral("y"));
  ProfileAgainst->setCurrentIndex(1);
  c->addWidget(ProfileAgainst, 1, 1);
  ProfileAddCurve = MakeButton(curveGroup, "ProfileAddCurve", QStringLiteral("曲線を追加"));
  c->addWidget(ProfileAddCurve, 2, 0, 1, 2);
  ProfileCurveList = Named(new QListWidget(curveGroup), "ProfileCurveList");
  ProfileCurveList->setMinimumHeight(90);
  c->addWidget(ProfileCurveList, 3, 0, 1, 2);
  ProfileRemoveCurve = MakeButton(curveGroup, "ProfileRemoveCurve", QStringLiteral("削除"));
  ProfileClearCurves = MakeButton(curveGroup, "ProfileClearCurves", QStringLiteral("全削除"));
  c->addWidget(ProfileRemoveCurve, 4, 0);
  c->addWidget(ProfileClearCurves, 4, 1);
  side->addWidget(curveGroup);

  auto* lookGroup = MakeGroup(this, "ProfileLookGroup", QStringLiteral("表示"));
  auto* l = new QGridLayout(lookGroup);
  ProfileReverseY = MakeCheck(lookGroup, "ProfileReverseY", QStringLiteral("縦軸を反転"), false);
  ProfileReverseY2 = MakeCheck(lookGroup, "ProfileReverseY2", QStringLiteral("右の縦軸を反転"), false);
  ProfileReverseY2->setToolTip(QStringLiteral("二つ目の変数は右の縦軸で読みます"));
  ProfileShowGrid = MakeCheck(lookGroup, "ProfileShowGrid", QStringLiteral("グリッド"), true);
  ProfileShowLegend = MakeCheck(lookGroup, "ProfileShowLegend", QStringLiteral("凡例"), true);
  l->addWidget(ProfileReverseY, 0, 0);
  l->addWidget(ProfileShowGrid, 0, 1);
  l->addWidget(ProfileShowLegend, 0, 2);
  l->addWidget(ProfileReverseY2, 3, 0, 1, 3);
  l->addWidget(MakeLabel(lookGroup, "ProfileXTitleLabel", QStringLiteral("横軸の題")), 1, 0);
  ProfileXTitle = MakeEdit(lookGroup, "ProfileXTitle", QString());
  l->addWidget(ProfileXTitle, 1, 1, 1, 2);
  l->addWidget(MakeLabel(lookGroup, "ProfileYTitleLabel", QStringLiteral("縦軸の題")), 2, 0);
  ProfileYTitle = MakeEdit(lookGroup, "ProfileYTitle", QString());
  l->addWidget(ProfileYTitle, 2, 1, 1, 2);
  for (QLineEdit* e : {ProfileXTitle, ProfileYTitle}) e->setPlaceholderText(QStringLiteral("自動"));
  side->addWidget(lookGroup);

  auto* buttons = new QHBoxLayout;
  ProfileSaveButton = MakeButton(this, "ProfileSaveButton", QStringLiteral("保存..."));
  ProfileCloseButton = MakeButton(this, "ProfileCloseButton", QStringLiteral("閉じる"));
  buttons->addWidget(ProfileSaveButton);
  buttons->addWidget(ProfileCloseButton);
  side->addLayout(buttons);
  side->addStretch();

  ProfilePlot = Named(new ProfilePlotView(this, [this] { return CurrentSpec(); }), "ProfilePlot");
  outer->addWidget(ProfilePlot, 1);
}

void ProfileWindow::Connect() {
  connect(ProfileAddPiece, &QPushButton::clicked, this, Guarded([this] { ProfileAddPieceClick(); }));
  connect(ProfileClearPieces, &QPushButton::clicked, this, Guarded([this] { ProfileLineText->clear(); }));
  connect(ProfileAddCurve, &QPushButton::clicked, this, Guarded([this] { ProfileAddCurveClick(); }));
  connect(ProfileRemoveCurve, &QPushButton::clicked, this, Guarded([this] { ProfileRemoveCurveClick(); }));
  connect(ProfileClearCurves, &QPushButton::clicked, this, Guarded([this] { ProfileClearCurvesClick(); }));
  connect(ProfileSaveButton, &QPushButton::clicked, this, Guarded([this] { ProfileSaveButtonClick(); }));
  connect(ProfileCloseButton, &QPushButton::clicked, this, Guarded([this] { hide(); }));
  connect(ProfileZone, &QComboBox::currentIndexChanged, this, Guarded([this] { ProfileZoneChange(); }));
  connect(ProfileDirection, &QComboBox::currentIndexChanged, this, Guarded([this] { ProfileZoneChange(); }));
  connect(ProfileGridLine, &QRadioButton::toggled, this, Guarded([this] { EnableLineControls(); }));
  connect(ProfilePickP1, &QPushButton::clicked, this, Guarded([this] { ProfilePickClick(true); }));
  connect(ProfilePickP2, &QPushButton::clicked, this, Guarded([this] { ProfilePickClick(false); }));
  connect(ProfilePickLine, &QPushButton::toggled, this, [this](bool on) {
    main_->RunHandlerWhenIdle([this, on] { ProfilePickLineToggled(on); });
  });
  connect(ProfileBodyWalls, &QPushButton::clicked, this, Guarded([this] { ProfileBodyWallsClick(); }));
  connect(ProfileLineText, &QLineEdit::textChanged, this, [this] { ShowPickedLines(); });
  for (QCheckBox* b : {ProfileReverseY, ProfileReverseY2, ProfileShowGrid, ProfileShowLegend})
    connect(b, &QCheckBox::toggled, this, Guarded([this] { Replot(); }));
  connect(ProfileAgainst, &QComboBox::currentIndexChanged, this, Guarded([this] { Replot(); }));
  for (QLineEdit* e : {ProfileXTitle, ProfileYTitle}) connect(e, &QLineEdit::textChanged, this, Guarded([this] { Replot(); }));
}

void ProfileWindow::EnableLineControls() {
  const bool grid = ProfileGridLine->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{ProfileZone, ProfileDirection, ProfileIndex, ProfileFrom, ProfileTo,
                                                    ProfileAddPiece, ProfileClearPieces, ProfileLineText, ProfilePickLine,
                                                    ProfileBodyWalls})
    w->setEnabled(grid);
  if (!grid) ProfilePickLine->setChecked(false);
}

void ProfileWindow::DataChanged() {
  const FieldDataSet& dataSet = main_->scene.data;
  const int zone = ProfileZone->currentIndex();
  {
    const QSignalBlocker block(ProfileZone);
    ProfileZone->clear();
    for (int z = 0; z < dataSet.ZoneCount; ++z) ProfileZone->addItem(QString::number(z));
    ProfileZone->setCurrentIndex(zone >= 0 && zone < dataSet.ZoneCount ? zone : (dataSet.ZoneCount > 0 ? 0 : -1));
  }
  const QString variable = ProfileVariable->currentText();
  ProfileVariable->clear();
  if (!dataSet.Empty())
    for (const std::string& item : RGroupItemsOf(dataSet, main_->Options().load.IncludeVelCheck)) ProfileVariable->addItem(Q(item));
  const int found = ProfileVariable->findText(variable);
  ProfileVariable->setCurrentIndex(found >= 0 ? found : (ProfileVariable->count() > 0 ? 0 : -1));
  ProfileZoneChange();
  EnableLineControls();
  hovered_.reset();  // lines of the data set before
  ShowPickedLines();
}

// The index and range boxes take the limits of the chosen zone and direction.
void ProfileWindow::ProfileZoneChange() {
  const FieldDataSet& dataSet = main_->scene.data;
  const int zone = ProfileZone->currentIndex();
  int ni = 1, nj = 1;
  if (zone >= 0 && static_cast<std::size_t>(zone) < dataSet.Zones.size()) {
    ni = dataSet.Zones[static_cast<std::size_t>(zone)].NI;
    nj = dataSet.Zones[static_cast<std::size_t>(zone)].NJ;
  }
  const bool constantJ = ProfileDirection->currentIndex() == 0;
  ProfileIndex->setMaximum(std::max((constantJ ? nj : ni) - 1, 0));
  ProfileFrom->setMaximum(std::max((constantJ ? ni : nj) - 1, 0));
  ProfileTo->setMaximum(std::max((constantJ ? ni : nj) - 1, 0));
}

void ProfileWindow::ProfilePickClick(bool first) {
  ProfileSegmentLine->setChecked(true);
  // Showing the plot window resizes it, which ends any pick: show it first.
  if (main_->plotWindow) {
    main_->plotWindow->show();
    main_->plotWindow->raise();
  }
  main_->analysisTab().PickPoint(first);
}

void ProfileWindow::ProfilePickLineToggled(bool on) {
  PlotWindow* plot = main_->plotWindow;
  if (!plot) return;
  if (on) {
    ProfileGridLine->setChecked(true);
    plot->show();
    plot->raise();
    // One kind of pick at a time: the segment's points wait.
    plot->PickingPoint1 = plot->PickingPoint2 = false;
    plot->ShowNote(QStringLiteral("格子線をクリックすると分布図の線に加わります (もう一度ボタンを押すと終わり)"));
  }
  plot->PickingLine = on;
  hovered_.reset();
  ShowPickedLines();
}

void ProfileWindow::LineHover(WorldPoint at) {
  const FieldDataSet& dataSet = main_->scene.data;
  if (!ProfilePickLine->isChecked() || dataSet.Empty()) return;
  // Looking through every line at each move is kept to grids where it is quick.
  if (dataSet.NodeCount > 400000) return;
  const std::optional<NearestLine> nearest = NearestGridLine(dataSet, at);
  const std::optional<LinePiece> now = nearest ? std::optional<LinePiece>(nearest->piece) : std::nullopt;
  const auto same = [](const std::optional<LinePiece>& a, const std::optional<LinePiece>& b) {
    return a.has_value() == b.has_value() &&
           (!a || (a->zone == b->zone && a->constantJ == b->constantJ && a->index == b->index));
  };
  if (same(now, hovered_)) return;
  hovered_ = now;
  ShowPickedLines();
}

void ProfileWindow::LinePicked(WorldPoint at) {
  const FieldDataSet& dataSet = main_->scene.data;
  if (dataSet.Empty()) return;
  const std::optional<NearestLine> nearest = NearestGridLine(dataSet, at);
  if (!nearest) return;
  QString text = ProfileLineText->text().trimmed();
  if (!text.isEmpty()) text += QStringLiteral(",");
  ProfileLineText->setText(text + Q(LinePiecesText({nearest->piece})));
  if (main_->plotWindow)
    main_->plotWindow->ShowNote(QStringLiteral("分布図の線: ") + Q(DescribeLine(ParseLinePieces(ProfileLineText->text().toStdString()), false)));
}

void ProfileWindow::ShowPickedLines() {
  PlotWindow* plot = main_->plotWindow;
  if (!plot) return;
  std::vector<ViewImage::Highlight> lines;
  const FieldDataSet& dataSet = main_->scene.data;
  if (ProfilePickLine->isChecked() && !dataSet.Empty()) {
    try {
      const QString text = ProfileLineText->text().trimmed();
      if (!text.isEmpty()) lines.push_back({LinePoints(dataSet, ParseLinePieces(text.toStdString())), QColor(255, 0, 255)});
      if (hovered_) lines.push_back({LinePoints(dataSet, {*hovered_}), QColor(255, 200, 0)});
    } catch (const CorvaneError&) {
      // A line typed half way is shown once it reads.
    }
  }
  plot->ShowHighlights(std::move(lines));
}

// Closing the window ends a line pick; the plot window zooms on clicks again.
void ProfileWindow::hideEvent(QHideEvent* event) {
  if (ProfilePickLine->isChecked()) {
    const QSignalBlocker block(ProfilePickLine);
    ProfilePickLine->setChecked(false);
    ProfilePickLineToggled(false);
  }
  QWidget::hideEvent(event);
}

void ProfileWindow::ProfileBodyWallsClick() {
  const FieldDataSet& dataSet = main_->scene.data;
  if (dataSet.Empty()) {
    main_->notifier().Warning("データが読み込まれていません");
    return;
  }
  const std::vector<LinePiece> walls = BodyWalls(dataSet);
  if (walls.empty()) {
    main_->notifier().Warning("物体の壁が見つかりません (どの領域の辺も、ほかの領域と接しているか外側の境界です)");
    return;
  }
  ProfileGridLine->setChecked(true);
  bodyWallsText_ = Q(LinePiecesText(walls));
  ProfileLineText->setText(bodyWallsText_);
}

void ProfileWindow::ProfileAddPieceClick() {
  if (ProfileZone->currentIndex() < 0) {
    main_->notifier().Warning("データが読み込まれていません");
    return;
  }
  LinePiece p;
  p.zone = ProfileZone->currentIndex();
  p.constantJ = ProfileDirection->currentIndex() == 0;
  p.index = ProfileIndex->value();
  p.from = ProfileFrom->value();
  p.to = ProfileTo->value();
  QString text = ProfileLineText->text().trimmed();
  if (!text.isEmpty()) text += QStringLiteral(",");
  ProfileLineText->setText(text + Q(LinePiecesText({p})));
}

LineChoice ProfileWindow::ChosenLine() const {
  LineChoice line;
  if (ProfileSegmentLine->isChecked()) {
    const FieldDataSet& dataSet = main_->scene.data;
    const AnalysisOptions& analysis = main_->Options().analysis;
    RequireNumberBox(main_->state, "P1x");
    RequireNumberBox(main_->state, "P1y");
    RequireNumberBox(main_->state, "P2x");
    RequireNumberBox(main_->state, "P2y");
    const ResolvedEndpoint a = ResolveEndpoint(dataSet, analysis, SegmentPoint::First);
    const ResolvedEndpoint b = ResolveEndpoint(dataSet, analysis, SegmentPoint::Second);
    if (!a.valid) throw CorvaneError(a.problem);
    if (!b.valid) throw CorvaneError(b.problem);
    line.segment = true;
    line.p1 = a.point;
    line.p2 = b.point;
    return line;
  }
  const QString text = ProfileLineText->text().trimmed();
  if (text.isEmpty()) {
    // Nothing typed or added: the piece the boxes show now.
    LinePiece p;
    p.zone = std::max(ProfileZone->currentIndex(), 0);
    p.constantJ = ProfileDirection->currentIndex() == 0;
    p.index = ProfileIndex->value();
    p.from = ProfileFrom->value();
    p.to = ProfileTo->value();
    line.pieces.push_back(p);
  } else {
    line.pieces = ParseLinePieces(text.toStdString());
  }
  return line;
}

void ProfileWindow::ProfileAddCurveClick() {
  const FieldDataSet& dataSet = main_->scene.data;
  // A drawing under way may have moved the coordinates of the overlay copies.
  if (main_->Busy()) {
    QApplication::beep();
    return;
  }
  if (dataSet.Empty()) {
    main_->notifier().Warning("データが読み込まれていません");
    return;
  }
  if (ProfileVariable->currentIndex() < 0) return;
  const LineChoice line = ChosenLine();
  std::string file = QFileInfo(main_->LoadedPath).completeBaseName().toStdString();
  if (file.empty()) file = "データ";
  Curve curve;
  curve.variable = ProfileVariable->currentText().toStdString();
  // The legend says in words which file, which line and which variable a curve is.
  const bool walls = !bodyWallsText_.isEmpty() && ProfileLineText->text().trimmed() == bodyWallsText_;
  const std::string where = line.segment ? std::string("線分 P1-P2") : DescribeLine(line.pieces, walls);
  EnsureAllRows(main_->scene.data);  // a profile carries every row
  curve.set = MakeProfileSet(dataSet, line, file + " " + where + " " + curve.variable);
  ProfileColumn(curve.set, curve.variable);
  if (curve.set.profile.Size() == 0) {
    main_->notifier().Warning("線 " + line.Text() + " には点がありません");
    return;
  }
  ProfileCurveList->addItem(Q(curve.set.label + " (" + std::to_string(curve.set.profile.Size()) + " 点)"));
  curves_.push_back(std::move(curve));
  ProfileCurveList->setCurrentRow(ProfileCurveList->count() - 1);
  Replot();
}

void ProfileWindow::ProfileRemoveCurveClick() {
  const int row = ProfileCurveList->currentRow();
  if (row < 0 || row >= static_cast<int>(curves_.size())) return;
  curves_.erase(curves_.begin() + row);
  delete ProfileCurveList->takeItem(row);
  Replot();
}

void ProfileWindow::ProfileClearCurvesClick() {
  curves_.clear();
  ProfileCurveList->clear();
  Replot();
}

PlotSpec ProfileWindow::CurrentSpec() const {
  PlotSpec figure;
  const ProfileAxis axis = ParseProfileAxis(ProfileAgainst->currentText().toStdString());
  std::vector<std::string> variables, curveVariables;
  int n = 0;
  for (const Curve& c : curves_) {
    curveVariables.push_back(c.variable);
    PlotCurve pc;
    pc.label = c.set.label;
    pc.x = AxisColumn(c.set.profile, axis);
    pc.y = ProfileColumn(c.set, c.variable);
    pc.colour = CurveColour(n++);
    figure.curves.push_back(std::move(pc));
    if (std::find(variables.begin(), variables.end(), c.variable) == variables.end()) variables.push_back(c.variable);
  }
  std::string yTitle;
  for (const std::string& v : variables) yTitle += (yTitle.empty() ? "" : ", ") + v;
  figure.xTitle = ProfileXTitle->text().isEmpty() ? ProfileAxisName(axis) : ProfileXTitle->text().toStdString();
  figure.yTitle = yTitle;
  // A second variable is read on an axis of its own at the right, titled with it.
  if (variables.size() > 1) PutVariableOnRightAxis(figure, curveVariables, variables[1]);
  if (!ProfileYTitle->text().isEmpty()) figure.yTitle = ProfileYTitle->text().toStdString();
  figure.reverseY = ProfileReverseY->isChecked();
  figure.reverseY2 = ProfileReverseY2->isChecked();
  figure.grid = ProfileShowGrid->isChecked();
  figure.legend = ProfileShowLegend->isChecked();
  return figure;
}

void ProfileWindow::Replot() { ProfilePlot->update(); }

void ProfileWindow::ProfileSaveButtonClick() {
  QString path = AskSavePath ? AskSavePath()
                             : QFileDialog::getSaveFileName(this, QStringLiteral("分布図の保存"), main_->CurrentFolder(),
                                                            QStringLiteral("PNG 画像 (*.png);;SVG 画像 (*.svg);;PDF (*.pdf);;CSV (*.csv)"));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".png");
  SaveTo(path);
}

void ProfileWindow::SaveTo(const QString& path) {
  const std::string file = path.toStdString();
  if (QFileInfo(path).suffix().toLower() == QLatin1String("csv")) {
    std::vector<ProfileSet> sets;
    std::vector<std::string> variables;
    for (const Curve& c : curves_) {
      sets.push_back(c.set);
      if (std::find(variables.begin(), variables.end(), c.variable) == variables.end()) variables.push_back(c.variable);
    }
    WriteTextFile(file, ProfileCsvText(sets, variables));
    return;
  }
  const QSize size = ProfilePlot->size();
  SaveProfilePlot(file, CurrentSpec(), std::max(size.width(), 640), std::max(size.height(), 480));
}

}  // namespace corvane
