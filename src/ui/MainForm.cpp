#include "ui/MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QStorageInfo>
#include <QTime>
#include <QUrl>
#include <QVBoxLayout>
#include <QFileDialog>
#include <algorithm>
#include <limits>

#include "analysis/SegmentEndpoints.h"
#include "analysis/SegmentSampling.h"
#include "ui/AboutForm.h"
#include "scene/SettingsFile.h"
#include "ui/LegendForm.h"
#include "output/ImageWriters.h"
#include "ui/OGLForm.h"
#include "ui/ProcessForm.h"
#include "contour/ColorMap.h"
#include "data/DerivedQuantities.h"
#include "data/Errors.h"
#include "render/NumberFormat.h"
#include "ui/ViewForm.h"
#include "streamline/SeedList.h"

namespace corvane {
namespace {

const QColor kPendingBlue(0, 0, 255);

// Noto CJK behind the default face, so Japanese captions render whatever the default font is.
void EnsureJapaneseFont() {
  QFont f = QApplication::font();
  QStringList families = f.families();
  if (families.isEmpty()) families << f.family();
  if (!families.contains(QStringLiteral("Noto Sans CJK JP"))) {
    families << QStringLiteral("Noto Sans CJK JP");
    f.setFamilies(families);
    QApplication::setFont(f);
  }
}

template <class W>
W* Named(W* w, const char* name) {
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

QLabel* MakeLabel(QWidget* p, const char* name, const QString& text) { return Named(new QLabel(text, p), name); }
QCheckBox* MakeCheck(QWidget* p, const char* name, const QString& text, bool checked) {
  auto* c = Named(new QCheckBox(text, p), name);
  c->setChecked(checked);
  return c;
}
QRadioButton* MakeRadio(QWidget* p, const char* name, const QString& text, bool checked) {
  auto* r = Named(new QRadioButton(text, p), name);
  r->setChecked(checked);
  return r;
}
QSpinBox* MakeSpin(QWidget* p, const char* name, int lo, int hi, int value) {
  auto* s = Named(new QSpinBox(p), name);
  s->setRange(lo, hi);
  s->setValue(value);
  return s;
}
QLineEdit* MakeEdit(QWidget* p, const char* name, const QString& text) {
  auto* e = Named(new QLineEdit(text, p), name);
  return e;
}
QSlider* MakeTrack(QWidget* p, const char* name, int lo, int hi, int value) {
  auto* s = Named(new QSlider(Qt::Horizontal, p), name);
  s->setRange(lo, hi);
  s->setValue(value);
  s->setTickPosition(QSlider::TicksBelow);
  return s;
}
QGroupBox* MakeGroup(QWidget* p, const char* name, const QString& title) { return Named(new QGroupBox(title, p), name); }
QPushButton* MakeButton(QWidget* p, const char* name, const QString& text) {
  return Named(new QPushButton(text, p), name);
}
QComboBox* MakeCombo(QWidget* p, const char* name) { return Named(new QComboBox(p), name); }

QString Q(const std::string& s) { return QString::fromStdString(s); }

QColor ToQColor(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }
Colour FromQColor(const QColor& c) { return MakeColour(c.red(), c.green(), c.blue()); }

// A small picture of one colour map, left (minimum) to right (maximum).
QPixmap ColourMapSwatch(ColorMapKind kind) {
  QImage img(96, 14, QImage::Format_RGB32);
  for (int x = 0; x < img.width(); ++x) {
    Colour c = LevelColor(static_cast<float>(x), 0.0f, static_cast<float>(img.width() - 1), kind);
    for (int y = 0; y < img.height(); ++y) img.setPixelColor(x, y, ToQColor(c));
  }
  return QPixmap::fromImage(img);
}

}  // namespace

bool IsPendingEdit(const QLineEdit* box) {
  return box->palette().color(QPalette::Text) == kPendingBlue;
}

// Creation: the controls with their defaults, the menus, the transform's start values, the gauge
// colour and the seed list header.
TForm1::TForm1(QWidget* parent) : QMainWindow(parent), windowNotifier_(this), notifier_(&windowNotifier_) {
  EnsureJapaneseFont();
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("二次元可視化"));
  setWindowFlags((windowFlags() | Qt::WindowMinimizeButtonHint) & ~Qt::WindowMaximizeButtonHint);
  BuildControls();
  BuildMenus();
  progress_ = std::make_unique<FormProgress>(Gauge1, StatusBar1, [this] { return AbortRequested; });

  view_.PictureWidth = 500;
  view_.PictureHeight = 300;
  view_.CentrePixelX = 250;
  view_.CentrePixelY = 150;
  view_.ScaleX = view_.ScaleY = 1.0;
  AbortRequested = false;
  OpenDocument = [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };

  // The gauge colour is the first draw of the generator seeded from the time of day.
  random_.Seed(static_cast<std::uint32_t>(QTime::currentTime().msecsSinceStartOfDay()));
  static const char* const kGaugeColours[7] = {"#000000", "#FF0000", "#0000FF", "#FFFF00",
                                               "#00FF00", "#FF00FF", "#00FFFF"};
  const char* colour = kGaugeColours[random_.Next(7)];
  Gauge1->setProperty("barColour", QString::fromLatin1(colour));
  Gauge1->setStyleSheet(QStringLiteral("QProgressBar { border: 1px solid grey; background: white; }"
                                       "QProgressBar::chunk { background-color: %1; }")
                            .arg(QString::fromLatin1(colour)));

  for (QComboBox* c : {xvecbox, yvecbox, tmpbox, prsBox}) c->setCurrentIndex(0);
  ShowSeedList(StreamSeedList{});

  ConnectHandlers();
  SetFolder(QDir::currentPath());
}

TForm1::~TForm1() = default;

// Every control of the window, area by area, in tab order.
void TForm1::BuildControls() {
  auto* central = Named(new QWidget(this), "CentralPanel");
  setCentralWidget(central);
  auto* outer = new QVBoxLayout(central);
  outer->setContentsMargins(4, 4, 4, 2);
  outer->setSpacing(4);

  // Upper area: the variable choice and the display switches.
  auto* top = new QHBoxLayout;
  RGroup = Named(new RadioGroupWidget(QStringLiteral("表示する項目"), 2, central), "RGroup");
  RGroup->SetItems({QStringLiteral("データ無し")});
  RGroup->SetItemIndex(0);
  top->addWidget(RGroup, 3);
  GroupBox2 = MakeGroup(central, "GroupBox2", QStringLiteral("表示項目の設定"));
  {
    auto* g = new QGridLayout(GroupBox2);
    g->setVerticalSpacing(1);
    ShowContour = MakeCheck(GroupBox2, "ShowContour", QStringLiteral("等高線<"), true);
    BrushCheck = MakeCheck(GroupBox2, "BrushCheck", QStringLiteral("塗り分け"), false);
    BrushCheck->setToolTip(QStringLiteral("等高線を塗りつぶします"));
    LineCheck = MakeCheck(GroupBox2, "LineCheck", QStringLiteral("線画"), true);
    ShowGrid = MakeCheck(GroupBox2, "ShowGrid", QStringLiteral("格子線"), false);
    GridForward = MakeCheck(GroupBox2, "GridForward", QStringLiteral("格子が手前"), true);
    ShowVec = MakeCheck(GroupBox2, "ShowVec", QStringLiteral("速度ベクトル"), false);
    ShowVec->setEnabled(false);
    VecScaleLabel = MakeLabel(GroupBox2, "VecScaleLabel", QStringLiteral("scale ="));
    VecScaleBox = MakeEdit(GroupBox2, "VecScaleBox", QStringLiteral("0.0000001"));
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
  top->addWidget(GroupBox2, 2);
  outer->addLayout(top);

  PageControl1 = Named(new QTabWidget(central), "PageControl1");
  outer->addWidget(PageControl1, 1);

  // Tab 0: the file browser.
  FileTab = Named(new QWidget, "FileTab");
  {
    auto* v = new QVBoxLayout(FileTab);
    auto* h = new QHBoxLayout;
    h->addWidget(MakeLabel(FileTab, "Label9", QStringLiteral("ディレクトリの直接指定")));
    h->addWidget(MakeLabel(FileTab, "Label7", QStringLiteral("(ネットワーク可能)")));
    h->addStretch();
    v->addLayout(h);
    PCNameBox = MakeEdit(FileTab, "PCNameBox", QStringLiteral("/mnt/keisan-pc/share"));
    SetBlue(PCNameBox, true);
    v->addWidget(PCNameBox);
    auto* lists = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    DriveComboBox1 = MakeCombo(FileTab, "DriveComboBox1");
    DirectoryListBox1 = Named(new QListWidget(FileTab), "DirectoryListBox1");
    left->addWidget(DriveComboBox1);
    left->addWidget(DirectoryListBox1, 1);
    lists->addLayout(left, 1);
    FileListBox1 = Named(new QListWidget(FileTab), "FileListBox1");
    FileListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FileListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    FileListBox1->setProperty("mask", QStringLiteral("*.dat;*.txt"));
    lists->addWidget(FileListBox1, 1);
    v->addLayout(lists, 1);
  }
  PageControl1->addTab(FileTab, QStringLiteral("ファイル"));

  // Tab 1: contour range and labels.
  ContourTab = Named(new QWidget, "ContourTab");
  {
    auto* v = new QVBoxLayout(ContourTab);
    auto* g7 = MakeGroup(ContourTab, "GroupBox7", QStringLiteral("最大値・最小値・間隔"));
    auto* g = new QGridLayout(g7);
    AutoMaxMinCheck = MakeCheck(g7, "AutoMaxMinCheck", QStringLiteral("MAX/MIN 自動設定"), true);
    MinBox = MakeEdit(g7, "MinBox", QStringLiteral("0.0"));
    MaxBox = MakeEdit(g7, "MaxBox", QStringLiteral("100"));
    AutoStepCheck = MakeCheck(g7, "AutoStepCheck", QStringLiteral("間隔の自動設定"), true);
    StepBox = MakeEdit(g7, "StepBox", QStringLiteral("1.0"));
    for (QLineEdit* e : {MinBox, MaxBox, StepBox}) e->setEnabled(false);
    StepBar = MakeTrack(g7, "StepBar", 2, 100, 50);
    StepBar->setToolTip(QStringLiteral("2分割"));
    g->addWidget(AutoMaxMinCheck, 0, 0, 1, 4);
    g->addWidget(MakeLabel(g7, "Label4", QStringLiteral("MIN")), 1, 0);
    g->addWidget(MinBox, 1, 1);
    g->addWidget(MakeLabel(g7, "Label3", QStringLiteral("MAX")), 1, 2);
    g->addWidget(MaxBox, 1, 3);
    g->addWidget(AutoStepCheck, 2, 0, 1, 2);
    g->addWidget(MakeLabel(g7, "Label5", QStringLiteral("間隔")), 2, 2);
    g->addWidget(StepBox, 2, 3);
    g->addWidget(MakeLabel(g7, "Label12", QStringLiteral("2分割")), 3, 0);
    g->addWidget(StepBar, 3, 1, 1, 2);
    g->addWidget(MakeLabel(g7, "Label13", QStringLiteral("100分割")), 3, 3);
    v->addWidget(g7);

    auto* g13 = MakeGroup(ContourTab, "GroupBox13", QStringLiteral("等高線ラベルの設定"));
    auto* gl = new QGridLayout(g13);
    gl->addWidget(MakeLabel(g13, "Label39", QStringLiteral("例：")), 0, 0);
    LabelExp = MakeLabel(g13, "LabelExp", QStringLiteral("150.0"));
    {
      QFont f(QStringLiteral("Arial"));
      f.setPixelSize(11);
      LabelExp->setFont(f);
      LabelExp->setAutoFillBackground(true);
      QPalette p = LabelExp->palette();
      p.setColor(QPalette::Window, Qt::black);
      p.setColor(QPalette::WindowText, Qt::white);
      LabelExp->setPalette(p);
    }
    gl->addWidget(LabelExp, 0, 1);
    Button5 = MakeButton(g13, "Button5", QStringLiteral("フォント"));
    gl->addWidget(Button5, 0, 2);
    gl->addWidget(MakeLabel(g13, "Label40", QStringLiteral("ラベル間の隙間")), 1, 0);
    LabelSukima = MakeTrack(g13, "LabelSukima", 0, 200, 30);
    gl->addWidget(LabelSukima, 1, 1, 1, 2);
    ShowLabel = MakeCheck(g13, "ShowLabel", QStringLiteral("ラベルを入れる"), true);
    gl->addWidget(ShowLabel, 2, 0);
    BackClear = MakeCheck(g13, "BackClear", QStringLiteral("透過処理"), false);
    gl->addWidget(BackClear, 2, 1);
    auto* g14 = MakeGroup(g13, "GroupBox14", QStringLiteral("ラベルの表示規制"));
    auto* h14 = new QHBoxLayout(g14);
    LabelRegulate = MakeCheck(g14, "LabelRegulate", QStringLiteral("規制をする(表示範囲)"), false);
    LabelMin = MakeSpin(g14, "LabelMin", 0, 100, 0);
    LabelMax = MakeSpin(g14, "LabelMax", 0, 100, 100);
    LabelMin->setEnabled(false);
    LabelMax->setEnabled(false);
    h14->addWidget(LabelRegulate);
    h14->addWidget(LabelMin);
    h14->addWidget(MakeLabel(g14, "Label41", QStringLiteral("  -  ")));
    h14->addWidget(LabelMax);
    h14->addWidget(MakeLabel(g14, "Label42", QStringLiteral("％")));
    gl->addWidget(g14, 3, 0, 1, 3);
    v->addWidget(g13);
    v->addStretch();
  }
  PageControl1->addTab(ContourTab, QStringLiteral("等高線"));

  // Tab 2: the layout of the data file and the velocity columns.
  DataTab = Named(new QWidget, "DataTab");
  {
    auto* v = new QVBoxLayout(DataTab);
    auto* h = new QHBoxLayout;
    h->addWidget(MakeLabel(DataTab, "Label25", QStringLiteral("領域数")));
    ZCountBox = MakeSpin(DataTab, "ZCountBox", 0, 100, 3);
    h->addWidget(ZCountBox);
    h->addStretch();
    v->addLayout(h);
    auto* row = new QHBoxLayout;
    auto* g1 = MakeGroup(DataTab, "GroupBox1", QStringLiteral("行番号"));
    auto* f1 = new QGridLayout(g1);
    XYNumLineBox = MakeSpin(g1, "XYNumLineBox", 0, 999, 2);
    LabelLineBox = MakeSpin(g1, "LabelLineBox", 0, 999, 5);
    DataStartLineBox = MakeSpin(g1, "DataStartLineBox", 0, 999, 6);
    f1->addWidget(MakeLabel(g1, "Label2", QStringLiteral("格子点数")), 0, 0);
    f1->addWidget(XYNumLineBox, 0, 1);
    f1->addWidget(MakeLabel(g1, "Label6", QStringLiteral("ラベル行")), 1, 0);
    f1->addWidget(LabelLineBox, 1, 1);
    f1->addWidget(MakeLabel(g1, "Label1", QStringLiteral("データ開始")), 2, 0);
    f1->addWidget(DataStartLineBox, 2, 1);
    for (QSpinBox* s : {XYNumLineBox, LabelLineBox, DataStartLineBox}) s->setToolTip(QStringLiteral("ゼロインデックスで指定"));
    row->addWidget(g1);
    auto* g19 = MakeGroup(DataTab, "GroupBox19", QStringLiteral("データの区切方式"));
    auto* v19 = new QVBoxLayout(g19);
    DataSSV = MakeRadio(g19, "DataSSV", QStringLiteral("スペース揃え"), true);
    DataCSV = MakeRadio(g19, "DataCSV", QStringLiteral("カンマ(CSV形式)"), false);
    DataTSV = MakeRadio(g19, "DataTSV", QStringLiteral("タブ(TSV形式)"), false);
    v19->addWidget(DataSSV);
    v19->addWidget(DataCSV);
    v19->addWidget(DataTSV);
    row->addWidget(g19);
    auto* g20 = MakeGroup(DataTab, "GroupBox20", QStringLiteral("データの並び方"));
    auto* v20 = new QVBoxLayout(g20);
    DataIJ = MakeRadio(g20, "DataIJ", QStringLiteral(" I ループ -> J ループ"), true);
    DataJI = MakeRadio(g20, "DataJI", QStringLiteral(" J ループ -> I ループ"), false);
    v20->addWidget(DataIJ);
    v20->addWidget(DataJI);
    row->addWidget(g20);
    v->addLayout(row);
    IncludeVelCheck = MakeCheck(DataTab, "IncludeVelCheck", QStringLiteral("速度データを持つ"), false);
    v->addWidget(IncludeVelCheck);
    auto* g3 = MakeGroup(DataTab, "GroupBox3", QStringLiteral("速度データについて"));
    auto* f3 = new QGridLayout(g3);
    xvecbox = MakeCombo(g3, "xvecbox");
    yvecbox = MakeCombo(g3, "yvecbox");
    tmpbox = MakeCombo(g3, "tmpbox");
    prsBox = MakeCombo(g3, "prsBox");
    tmpbox->setToolTip(QStringLiteral("マッハ数の計算に必要"));
    prsBox->setToolTip(QStringLiteral("マッハ数、全圧の計算に必要"));
    for (QComboBox* c : {xvecbox, yvecbox, tmpbox, prsBox}) c->addItem(QStringLiteral("読み込み後選択"));
    gammaBox = MakeEdit(g3, "gammaBox", QStringLiteral("1.4"));
    RBox = MakeEdit(g3, "RBox", QStringLiteral("288.7"));
    f3->addWidget(MakeLabel(g3, "Label8", QStringLiteral("x方向速度")), 0, 0);
    f3->addWidget(xvecbox, 0, 1);
    f3->addWidget(MakeLabel(g3, "Label10", QStringLiteral("ｙ方向速度")), 0, 2);
    f3->addWidget(yvecbox, 0, 3);
    f3->addWidget(MakeLabel(g3, "Label11", QStringLiteral("温度")), 1, 0);
    f3->addWidget(tmpbox, 1, 1);
    f3->addWidget(MakeLabel(g3, "Label14", QStringLiteral("圧力")), 1, 2);
    f3->addWidget(prsBox, 1, 3);
    f3->addWidget(MakeLabel(g3, "Label23", QStringLiteral("比熱比γ")), 2, 0);
    f3->addWidget(gammaBox, 2, 1);
    f3->addWidget(MakeLabel(g3, "Label24", QStringLiteral("気体定数")), 2, 2);
    f3->addWidget(RBox, 2, 3);
    v->addWidget(g3);
    Button1 = MakeButton(DataTab, "Button1", QStringLiteral("適用"));
    v->addWidget(Button1, 0, Qt::AlignRight);
    v->addStretch();
  }
  PageControl1->addTab(DataTab, QStringLiteral("構造"));

  // Tab 3: colour maps and contour line options.
  TabSheet1 = Named(new QWidget, "TabSheet1");
  {
    auto* v = new QVBoxLayout(TabSheet1);
    auto* g4 = MakeGroup(TabSheet1, "GroupBox4", QStringLiteral("基本カラーマップ"));
    auto* g = new QGridLayout(g4);
    ColorMap1 = MakeRadio(g4, "ColorMap1", QStringLiteral("カラー１（虹色）"), true);
    ColorMap2 = MakeRadio(g4, "ColorMap2", QStringLiteral("カラー２（赤青）"), false);
    GrayMap1 = MakeRadio(g4, "GrayMap1", QStringLiteral("グレイ１"), false);
    GrayMap2 = MakeRadio(g4, "GrayMap2", QStringLiteral("グレイ２"), false);
    QRadioButton* radios[4] = {ColorMap1, ColorMap2, GrayMap1, GrayMap2};
    QLabel** images[4] = {&Image0, &Image1, &Image2, &Image3};
    const ColorMapKind kinds[4] = {ColorMapKind::Rainbow, ColorMapKind::RedBlue, ColorMapKind::Gray1, ColorMapKind::Gray2};
    for (int k = 0; k < 4; ++k) {
      QByteArray panelName = "Panel" + QByteArray::number(k + 1);
      QByteArray imageName = "Image" + QByteArray::number(k);
      auto* panel = Named(new QFrame(g4), panelName.constData());
      panel->setFrameShape(QFrame::Panel);
      panel->setFrameShadow(QFrame::Sunken);
      auto* pl = new QHBoxLayout(panel);
      pl->setContentsMargins(1, 1, 1, 1);
      QLabel* image = Named(new QLabel(panel), imageName.constData());
      image->setPixmap(ColourMapSwatch(kinds[k]));
      image->setScaledContents(true);
      image->setFixedSize(96, 14);
      image->installEventFilter(this);
      pl->addWidget(image);
      *images[k] = image;
      g->addWidget(radios[k], k, 0);
      g->addWidget(panel, k, 1);
    }
    Button4 = MakeButton(g4, "Button4", QStringLiteral("凡例の作成"));
    g->addWidget(Button4, 4, 1);
    v->addWidget(g4);
    QuickFill = MakeCheck(TabSheet1, "QuickFill", QStringLiteral("OpenGLの高速線形塗りつぶし"), true);
    v->addWidget(QuickFill);
    auto* g8 = MakeGroup(TabSheet1, "GroupBox8", QStringLiteral("等高線のオプション"));
    auto* h8 = new QHBoxLayout(g8);
    h8->addWidget(MakeLabel(g8, "Label20", QStringLiteral("線幅")));
    ContLineWid = MakeSpin(g8, "ContLineWid", 1, 10, 1);
    h8->addWidget(ContLineWid);
    FixLineColor = MakeCheck(g8, "FixLineColor", QStringLiteral("色を固定"), false);
    h8->addWidget(FixLineColor);
    Shape1 = Named(new ColourSwatchWidget(kWhite, g8), "Shape1");
    h8->addWidget(Shape1);
    Button3 = MakeButton(g8, "Button3", QStringLiteral("変更"));
    h8->addWidget(Button3);
    v->addWidget(g8);
    BMPModeCheck = MakeCheck(TabSheet1, "BMPModeCheck",
                             QStringLiteral("非OpenGL時の塗りつぶしにはBitMapを用いる(画像のサイズが軽くなります)"), true);
    v->addWidget(BMPModeCheck);
    v->addStretch();
  }
  PageControl1->addTab(TabSheet1, QStringLiteral("カラー"));

  // Tab 4: axes and the number format.
  XYTab = Named(new QWidget, "XYTab");
  {
    auto* v = new QVBoxLayout(XYTab);
    ShowXYLabel = MakeCheck(XYTab, "ShowXYLabel", QStringLiteral("x軸、y軸ラベルを表示"), false);
    v->addWidget(ShowXYLabel);
    auto* g = new QGridLayout;
    g->addWidget(MakeLabel(XYTab, "Label16", QStringLiteral("x軸のタイトル")), 0, 0);
    XTitleBox = MakeEdit(XYTab, "XTitleBox", QStringLiteral("x [m]"));
    g->addWidget(XTitleBox, 0, 1);
    g->addWidget(MakeLabel(XYTab, "Label17", QStringLiteral("ｙ軸のタイトル")), 1, 0);
    YTitleBox = MakeEdit(XYTab, "YTitleBox", QStringLiteral("y [m]"));
    g->addWidget(YTitleBox, 1, 1);
    v->addLayout(g);
    XYSameScale = MakeCheck(XYTab, "XYSameScale", QStringLiteral("x軸、y軸のスケーリングを同じにする"), true);
    v->addWidget(XYSameScale);
    auto* g5 = MakeGroup(XYTab, "GroupBox5", QStringLiteral("書式設定"));
    auto* v5 = new QVBoxLayout(g5);
    auto* h5 = new QHBoxLayout;
    h5->addWidget(MakeLabel(g5, "Label15", QStringLiteral("現在の設定　：")));
    example = MakeLabel(g5, "example", QStringLiteral("3.0000E-1"));
    {
      QFont f(QStringLiteral("Arial"));
      f.setPixelSize(16);
      example->setFont(f);
    }
    h5->addWidget(example);
    h5->addStretch();
    Button2 = MakeButton(g5, "Button2", QStringLiteral("フォントの変更"));
    h5->addWidget(Button2);
    v5->addLayout(h5);
    auto* g6 = MakeGroup(g5, "GroupBox6", QStringLiteral("表示形式の選択"));
    auto* f6 = new QGridLayout(g6);
    ShowExpCheck = MakeRadio(g6, "ShowExpCheck", QStringLiteral("指数表示（浮動少数）"), false);
    ShowFixCheck = MakeRadio(g6, "ShowFixCheck", QStringLiteral("固定形式表示"), false);
    ShowAutoCheck = MakeRadio(g6, "ShowAutoCheck", QStringLiteral("最短となる形式を選択"), true);
    f6->addWidget(ShowExpCheck, 0, 0, 1, 2);
    f6->addWidget(ShowFixCheck, 1, 0, 1, 2);
    f6->addWidget(ShowAutoCheck, 2, 0, 1, 2);
    f6->addWidget(MakeLabel(g6, "Label18", QStringLiteral("桁数")), 0, 2);
    DigitsBox = MakeSpin(g6, "DigitsBox", 1, 20, 4);
    f6->addWidget(DigitsBox, 0, 3);
    f6->addWidget(MakeLabel(g6, "Label19", QStringLiteral("精度")), 1, 2);
    PrecisionBox = MakeSpin(g6, "PrecisionBox", 1, 20, 5);
    f6->addWidget(PrecisionBox, 1, 3);
    v5->addWidget(g6);
    v->addWidget(g5);
    v->addStretch();
  }
  PageControl1->addTab(XYTab, QStringLiteral("XY軸"));

  // Tab 5: zone edges, overlay copies, the view boxes and grid thinning.
  TabSheet3 = Named(new QWidget, "TabSheet3");
  {
    auto* v = new QVBoxLayout(TabSheet3);
    auto* row1 = new QHBoxLayout;
    auto* g9 = MakeGroup(TabSheet3, "GroupBox9", QStringLiteral("枠線表示設定"));
    auto* f9 = new QGridLayout(g9);
    f9->addWidget(MakeLabel(g9, "Label26", QStringLiteral("領域番号")), 0, 0);
    ZoneSelect = MakeCombo(g9, "ZoneSelect");
    f9->addWidget(ZoneSelect, 0, 1);
    Showi0 = MakeCheck(g9, "Showi0", QStringLiteral("i = 0"), true);
    Showimax = MakeCheck(g9, "Showimax", QStringLiteral("i = imax"), true);
    Showj0 = MakeCheck(g9, "Showj0", QStringLiteral("j = 0"), true);
    showjmax = MakeCheck(g9, "showjmax", QStringLiteral("j = jmax"), true);
    f9->addWidget(Showi0, 1, 0);
    f9->addWidget(Showimax, 1, 1);
    f9->addWidget(Showj0, 2, 0);
    f9->addWidget(showjmax, 2, 1);
    SyncroArea = MakeCheck(g9, "SyncroArea", QStringLiteral("全領域同時設定"), false);
    f9->addWidget(SyncroArea, 3, 0, 1, 2);
    row1->addWidget(g9);
    auto* g10 = MakeGroup(TabSheet3, "GroupBox10", QStringLiteral("重ねがき"));
    auto* f10 = new QGridLayout(g10);
    f10->addWidget(MakeLabel(g10, "Label27", QStringLiteral("個数")), 0, 0);
    writetimes = MakeSpin(g10, "writetimes", 0, 10, 0);
    f10->addWidget(writetimes, 0, 1, 1, 2);
    f10->addWidget(MakeLabel(g10, "Label32", QStringLiteral("オフセット")), 1, 0, 1, 3);
    f10->addWidget(MakeLabel(g10, "Label28", QStringLiteral("x")), 2, 0);
    xoffsetbox = MakeEdit(g10, "xoffsetbox", QStringLiteral("0.0"));
    f10->addWidget(xoffsetbox, 2, 1, 1, 2);
    f10->addWidget(MakeLabel(g10, "Label29", QStringLiteral("y")), 3, 0);
    yoffsetbox = MakeEdit(g10, "yoffsetbox", QStringLiteral("0.0"));
    f10->addWidget(yoffsetbox, 3, 1, 1, 2);
    row1->addWidget(g10);
    v->addLayout(row1);
    auto* g12 = MakeGroup(TabSheet3, "GroupBox12", QStringLiteral("スケーリング"));
    g12->setToolTip(QStringLiteral("OpenGL時は無効"));
    auto* f12 = new QGridLayout(g12);
    f12->addWidget(MakeLabel(g12, "Label30", QStringLiteral("中心位置")), 0, 0);
    f12->addWidget(MakeLabel(g12, "Label31", QStringLiteral("x")), 0, 1);
    x0box = MakeEdit(g12, "x0box", QStringLiteral("0.0"));
    f12->addWidget(x0box, 0, 2);
    f12->addWidget(MakeLabel(g12, "Label33", QStringLiteral("y")), 0, 3);
    y0box = MakeEdit(g12, "y0box", QStringLiteral("0.0"));
    f12->addWidget(y0box, 0, 4);
    f12->addWidget(MakeLabel(g12, "Label34", QStringLiteral("スケーリング")), 1, 0);
    f12->addWidget(MakeLabel(g12, "Label35", QStringLiteral("x")), 1, 1);
    xscalebox = MakeEdit(g12, "xscalebox", QStringLiteral("1.0"));
    f12->addWidget(xscalebox, 1, 2);
    f12->addWidget(MakeLabel(g12, "Label36", QStringLiteral("y")), 1, 3);
    yscalebox = MakeEdit(g12, "yscalebox", QStringLiteral("1.0"));
    f12->addWidget(yscalebox, 1, 4);
    v->addWidget(g12);
    auto* g11 = MakeGroup(TabSheet3, "GroupBox11", QStringLiteral("データの圧縮"));
    auto* f11 = new QGridLayout(g11);
    f11->addWidget(MakeLabel(g11, "Label37", QStringLiteral("i方向")), 0, 0);
    ICompress2 = MakeTrack(g11, "ICompress2", 1, 10, 1);
    f11->addWidget(ICompress2, 0, 1);
    ICompBox = MakeSpin(g11, "ICompBox", 1, 10, 1);
    ICompBox->setEnabled(false);
    f11->addWidget(ICompBox, 0, 2);
    f11->addWidget(MakeLabel(g11, "Label38", QStringLiteral("j方向")), 1, 0);
    JCompress2 = MakeTrack(g11, "JCompress2", 1, 10, 1);
    f11->addWidget(JCompress2, 1, 1);
    JCompBox = MakeSpin(g11, "JCompBox", 1, 10, 1);
    JCompBox->setEnabled(false);
    f11->addWidget(JCompBox, 1, 2);
    v->addWidget(g11);
    v->addStretch();
  }
  PageControl1->addTab(TabSheet3, QStringLiteral("表示"));

  // Tab 6: the segment analysis.
  TabSheet4 = Named(new QWidget, "TabSheet4");
  {
    auto* v = new QVBoxLayout(TabSheet4);
    v->addWidget(MakeLabel(TabSheet4, "Label22", QStringLiteral("２格子点の間の線分上のデータを解析します。")));
    auto* row = new QHBoxLayout;
    auto makePoint = [&](const char* group, const char* title, int n, QComboBox*& zone, QSpinBox*& pi, QSpinBox*& pj,
                         QCheckBox*& direct, QLineEdit*& px, QLineEdit*& py, QCheckBox*& byClick) {
      auto* gb = MakeGroup(TabSheet4, group, QString::fromUtf8(title));
      auto* f = new QGridLayout(gb);
      QByteArray p = "P" + QByteArray::number(n);
      f->addWidget(MakeLabel(gb, (p + "ZoneLabel").constData(), QStringLiteral("領域")), 0, 0);
      zone = MakeCombo(gb, (p + "Zone").constData());
      f->addWidget(zone, 0, 1, 1, 3);
      f->addWidget(MakeLabel(gb, (p + "iLabel").constData(), QStringLiteral("i")), 1, 0);
      pi = MakeSpin(gb, (p + "i").constData(), 0, 100000, 0);
      f->addWidget(pi, 1, 1);
      f->addWidget(MakeLabel(gb, (p + "jLabel").constData(), QStringLiteral("j")), 1, 2);
      pj = MakeSpin(gb, (p + "j").constData(), 0, 100000, 0);
      f->addWidget(pj, 1, 3);
      direct = MakeCheck(gb, (p + "Direct").constData(), QStringLiteral("直接指定"), false);
      f->addWidget(direct, 2, 0, 1, 4);
      f->addWidget(MakeLabel(gb, (p + "xLabel").constData(), QStringLiteral("x")), 3, 0);
      px = MakeEdit(gb, (p + "x").constData(), QStringLiteral("0.0"));
      f->addWidget(px, 3, 1);
      f->addWidget(MakeLabel(gb, (p + "yLabel").constData(), QStringLiteral("y")), 3, 2);
      py = MakeEdit(gb, (p + "y").constData(), QStringLiteral("0.0"));
      f->addWidget(py, 3, 3);
      px->setEnabled(false);
      py->setEnabled(false);
      byClick = MakeCheck(gb, (p + "ByClick").constData(), QStringLiteral("場所をクリックして指定する"), false);
      byClick->setEnabled(false);
      f->addWidget(byClick, 4, 0, 1, 4);
      row->addWidget(gb);
    };
    makePoint("GroupBox15", "点1", 1, P1Zone, P1i, P1j, P1Direct, P1x, P1y, P1ByClick);
    makePoint("GroupBox16", "点2", 2, P2Zone, P2i, P2j, P2Direct, P2x, P2y, P2ByClick);
    v->addLayout(row);
    auto* h = new QHBoxLayout;
    OpenAnalyzed = MakeCheck(TabSheet4, "OpenAnalyzed", QStringLiteral("解析後作成データを開く"), true);
    h->addWidget(OpenAnalyzed);
    AnalyzeButton = MakeButton(TabSheet4, "AnalyzeButton", QStringLiteral("解析実行"));
    h->addWidget(AnalyzeButton);
    v->addLayout(h);
    auto* g17 = MakeGroup(TabSheet4, "GroupBox17", QStringLiteral("解析線分のオプション"));
    auto* f17 = new QGridLayout(g17);
    f17->addWidget(MakeLabel(g17, "Label53", QStringLiteral("(再描画で更新されます)")), 0, 0, 1, 3);
    f17->addWidget(MakeLabel(g17, "Label48", QStringLiteral("色")), 1, 0);
    SegmentColor = Named(new ColourSwatchWidget(MakeColour(255, 0, 0), g17), "SegmentColor");
    f17->addWidget(SegmentColor, 1, 1);
    Button6 = MakeButton(g17, "Button6", QStringLiteral("変更"));
    Button6->setEnabled(false);
    f17->addWidget(Button6, 1, 2);
    QuickDrawSegment = MakeRadio(g17, "QuickDrawSegment", QStringLiteral("クイック描画"), true);
    RealDrawSegment = MakeRadio(g17, "RealDrawSegment", QStringLiteral("保存画像にも反映"), false);
    QuickDrawSegment->setEnabled(false);
    RealDrawSegment->setEnabled(false);
    f17->addWidget(QuickDrawSegment, 2, 0, 1, 2);
    f17->addWidget(RealDrawSegment, 2, 2);
    ShowSegment = MakeCheck(g17, "ShowSegment", QStringLiteral("線分を表示"), false);
    f17->addWidget(ShowSegment, 3, 0, 1, 3);
    v->addWidget(g17);
    v->addStretch();
  }
  PageControl1->addTab(TabSheet4, QStringLiteral("解析"));

  // Tab 7: streamlines.
  TabSheet2 = Named(new QWidget, "TabSheet2");
  {
    auto* v = new QVBoxLayout(TabSheet2);
    auto* h = new QHBoxLayout;
    h->addWidget(MakeLabel(TabSheet2, "Label60", QStringLiteral("線幅")));
    StreamLineWid = MakeSpin(TabSheet2, "StreamLineWid", 1, 10, 1);
    h->addWidget(StreamLineWid);
    h->addWidget(MakeLabel(TabSheet2, "Label61", QStringLiteral("色")));
    StreamColShape = Named(new ColourSwatchWidget(MakeColour(0, 0, 255), TabSheet2), "StreamColShape");
    h->addWidget(StreamColShape);
    Button7 = MakeButton(TabSheet2, "Button7", QStringLiteral("変更"));
    h->addWidget(Button7);
    DrawStreamLineCheck = MakeCheck(TabSheet2, "DrawStreamLineCheck", QStringLiteral("流線を描く"), false);
    DrawStreamLineCheck->setEnabled(false);
    h->addWidget(DrawStreamLineCheck);
    h->addStretch();
    v->addLayout(h);
    auto* g18 = MakeGroup(TabSheet2, "GroupBox18", QStringLiteral("出発点の指定"));
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
    f->addWidget(StreamDelAllButton, 1, 2);
    f->addWidget(StreamDelButton, 1, 3);
    StreamZoneSelect = MakeCombo(g18, "StreamZoneSelect");
    f->addWidget(StreamZoneSelect, 2, 2, 1, 2);
    StreamIBox = MakeSpin(g18, "StreamIBox", 0, 100, 0);
    StreamJBox = MakeSpin(g18, "StreamJBox", 0, 100, 0);
    f->addWidget(StreamIBox, 3, 2);
    f->addWidget(StreamJBox, 3, 3);
    // The copy number has no bounds: a seed may start where a copy beyond writetimes would be.
    StreamOverbox = MakeSpin(g18, "StreamOverbox", std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 0);
    StreamAddButton = MakeButton(g18, "StreamAddButton", QStringLiteral("追加"));
    f->addWidget(StreamOverbox, 4, 2);
    f->addWidget(StreamAddButton, 4, 3);
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
  PageControl1->addTab(TabSheet2, QStringLiteral("流線"));
  PageControl1->setCurrentIndex(0);

  // Below the pages: drawing mode, background and the progress gauge.
  auto* bottom = new QHBoxLayout;
  UseOpenGL = MakeCheck(central, "UseOpenGL", QStringLiteral("OpenGL"), false);
  WhiteBack = MakeCheck(central, "WhiteBack", QStringLiteral("背景を白にする"), false);
  bottom->addWidget(UseOpenGL);
  bottom->addWidget(WhiteBack);
  Panel5 = Named(new QFrame(central), "Panel5");
  auto* p5 = new QHBoxLayout(Panel5);
  p5->setContentsMargins(0, 0, 0, 0);
  Gauge1 = Named(new QProgressBar(Panel5), "Gauge1");
  Gauge1->setRange(0, 100);
  Gauge1->setValue(0);
  Gauge1->setTextVisible(true);
  p5->addWidget(Gauge1);
  bottom->addWidget(Panel5, 1);
  outer->addLayout(bottom);

  StatusBar1 = Named(new QStatusBar(this), "StatusBar1");
  setStatusBar(StatusBar1);
}

// The main menu and the file list's right-click menu.
void TForm1::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  auto item = [this](QMenu* menu, const char* name, const QString& text, const QKeySequence& key = {}) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) {
      a->setShortcut(key);
      // Drawing and saving are asked for from the plot window as often as from here.
      a->setShortcutContext(Qt::ApplicationShortcut);
    }
    return a;
  };
  QMenu* file = Named(bar->addMenu(QStringLiteral("ファイル(&F)")), "Menu_File");
  Menu_Reload = item(file, "Menu_Reload", QStringLiteral("再読み込み(&R)"));
  Menu_Save = item(file, "Menu_Save", QStringLiteral("画像の保存(&S)"), QKeySequence(Qt::CTRL | Qt::Key_S));
  file->addSeparator()->setObjectName(QStringLiteral("N2"));
  Menu_Exit = item(file, "Menu_Exit", QStringLiteral("終了(&X)"));
  QMenu* action = Named(bar->addMenu(QStringLiteral("描画処理(&D)")), "Menu_Action");
  Menu_Rescale = item(action, "Menu_Rescale", QStringLiteral("リスケール＆再描画(&R)"), QKeySequence(Qt::CTRL | Qt::Key_R));
  Menu_Redraw = item(action, "Menu_Redraw", QStringLiteral("再描画(&D)"), QKeySequence(Qt::CTRL | Qt::Key_D));
  A1 = item(action, "A1", QStringLiteral("処理の中断(&A)"));
  QMenu* other = Named(bar->addMenu(QStringLiteral("詳細設定・オプション(&S)")), "Menu_Sonota");
  Menu_FileSel = item(other, "Menu_FileSel", QStringLiteral("ファイル選択(&F)"));
  Menu_ContourSet = item(other, "Menu_ContourSet", QStringLiteral("等高線設定(&C)"));
  Menu_DataSet = item(other, "Menu_DataSet", QStringLiteral("データ構造設定(&S)"));
  Menu_ColorSet = item(other, "Menu_ColorSet", QStringLiteral("カラープロファイル設定(&P)"));
  Menu_AxisSet = item(other, "Menu_AxisSet", QStringLiteral("XY軸設定(&A)"));
  Menu_VOption = item(other, "Menu_VOption", QStringLiteral("表示オプション(&V)"));
  Menu_Analyze = item(other, "Menu_Analyze", QStringLiteral("データ解析(&D)"));
  Menu_Streamline = item(other, "Menu_Streamline", QStringLiteral("流線の設定(&S)"));
  QMenu* help = Named(bar->addMenu(QStringLiteral("ヘルプ(&H)")), "Menu_Help");
  Help1 = item(help, "Help1", QStringLiteral("ヘルプ(&H)"));
  Menu_Version = item(help, "Menu_Version", QStringLiteral("バージョン情報(&V)"));

  PopupMenu1 = Named(new QMenu(this), "PopupMenu1");
  N1 = item(PopupMenu1, "N1", QStringLiteral("読み込む"));
  BMP1 = item(PopupMenu1, "BMP1", QStringLiteral("選択した全てを読み込み→描画→保存(BMP)"));
}

// Signals to handlers. Check boxes and radio buttons use toggled, so a state set from code runs
// the handler exactly as a click does.
void TForm1::ConnectHandlers() {
  connect(RGroup, &RadioGroupWidget::Clicked, this, &TForm1::RGroupClick);
  connect(ShowContour, &QCheckBox::toggled, this, &TForm1::ShowContourClick);
  for (QLineEdit* box : {MinBox, MaxBox, StepBox}) {
    connect(box, &QLineEdit::textEdited, this, [this, box] { MaxBoxChange(box); });
    connect(box, &QLineEdit::returnPressed, this, [this, box] { MaxBoxKeyDown(box, Qt::Key_Return); });
  }
  connect(AutoMaxMinCheck, &QCheckBox::toggled, this, &TForm1::AutoMaxMinCheckClick);
  connect(AutoStepCheck, &QCheckBox::toggled, this, &TForm1::AutoStepCheckClick);
  connect(IncludeVelCheck, &QCheckBox::toggled, this, &TForm1::IncludeVelCheckClick);
  for (QLineEdit* box : {x0box, y0box, xscalebox, yscalebox}) {
    connect(box, &QLineEdit::textEdited, this, [this, box] { x0boxKeyDown(box, 0); });
    connect(box, &QLineEdit::returnPressed, this, [this, box] { x0boxKeyDown(box, Qt::Key_Return); });
  }
  connect(PCNameBox, &QLineEdit::textEdited, this, &TForm1::PCNameBoxChange);
  connect(PCNameBox, &QLineEdit::returnPressed, this, [this] { PCNameBoxKeyDown(Qt::Key_Return); });
  connect(DriveComboBox1, &QComboBox::activated, this, &TForm1::DriveComboBox1Change);
  connect(DirectoryListBox1, &QListWidget::itemActivated, this, &TForm1::DirectoryListBox1Change);
  connect(FileListBox1, &QListWidget::itemDoubleClicked, this, &TForm1::FileListBox1DblClick);
  connect(FileListBox1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { PopupMenu1->popup(FileListBox1->viewport()->mapToGlobal(p)); });
  connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
  connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
  connect(Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
  connect(Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
  connect(LabelRegulate, &QCheckBox::toggled, this, &TForm1::LabelRegulateClick);
  connect(UseOpenGL, &QCheckBox::toggled, this, &TForm1::UseOpenGLClick);
  connect(WhiteBack, &QCheckBox::toggled, this, &TForm1::WhiteBackClick);
  connect(ICompress2, &QSlider::valueChanged, this, &TForm1::ICompress2Change);
  connect(JCompress2, &QSlider::valueChanged, this, &TForm1::JCompress2Change);
  connect(ZoneSelect, &QComboBox::currentIndexChanged, this, &TForm1::ZoneSelectChange);
  for (QCheckBox* c : {Showi0, Showimax, Showj0, showjmax}) connect(c, &QCheckBox::toggled, this, &TForm1::Showi0Click);
  connect(ShowExpCheck, &QRadioButton::toggled, this, [this](bool on) {
    if (on) ShowExpCheckClick();
  });
  connect(StreamZoneSelect, &QComboBox::currentIndexChanged, this, &TForm1::StreamZoneSelectChange);
  connect(StreamAddButton, &QPushButton::clicked, this, &TForm1::StreamAddButtonClick);
  connect(StreamDelButton, &QPushButton::clicked, this, &TForm1::StreamDelButtonClick);
  connect(StreamDelAllButton, &QPushButton::clicked, this, &TForm1::StreamDelAllButtonClick);
  StreamList->installEventFilter(this);
  for (QLineEdit* e : {StreamXa, StreamYa, StreamXb, StreamYb}) connect(e, &QLineEdit::textChanged, this, &TForm1::StreamXaChange);
  connect(StreamDevide, &QSpinBox::valueChanged, this, &TForm1::StreamXaChange);
  connect(P1Zone, &QComboBox::currentIndexChanged, this, &TForm1::P1ZoneChange);
  connect(P2Zone, &QComboBox::currentIndexChanged, this, &TForm1::P2ZoneChange);
  for (QSpinBox* b : {P1i, P1j, P2i, P2j}) connect(b, &QSpinBox::valueChanged, this, &TForm1::P1iChange);
  connect(P1Direct, &QCheckBox::toggled, this, &TForm1::P1DirectClick);
  connect(P2Direct, &QCheckBox::toggled, this, &TForm1::P2DirectClick);
  for (QLineEdit* e : {P1x, P1y, P2x, P2y}) {
    connect(e, &QLineEdit::textChanged, this, [this, e] { P1xChange(e); });
    connect(e, &QLineEdit::returnPressed, this, [this, e] { P1xKeyDown(e, Qt::Key_Return); });
  }
  connect(P1ByClick, &QCheckBox::toggled, this, &TForm1::P1ByClickClick);
  connect(P2ByClick, &QCheckBox::toggled, this, &TForm1::P2ByClickClick);
  connect(ShowSegment, &QCheckBox::toggled, this, &TForm1::ShowSegmentClick);
  connect(AnalyzeButton, &QPushButton::clicked, this, &TForm1::AnalyzeButtonClick);
  connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
    QWidget* page = PageControl1->widget(index);
    if (page == XYTab) XYTabShow();
    else if (page == TabSheet4) TabSheet4Show();
    else if (page == TabSheet2) TabSheet2Show();
  });

  connect(Menu_Reload, &QAction::triggered, this, &TForm1::R1Click);
  connect(Menu_Save, &QAction::triggered, this, &TForm1::Menu_SaveClick);
  connect(Menu_Exit, &QAction::triggered, this, &TForm1::Menu_exitClick);
  connect(Menu_Rescale, &QAction::triggered, this, &TForm1::Menu_RescaleClick);
  connect(Menu_Redraw, &QAction::triggered, this, &TForm1::Menu_RedrawClick);
  connect(A1, &QAction::triggered, this, &TForm1::A1Click);
  QAction* tabs[8] = {Menu_FileSel, Menu_ContourSet, Menu_DataSet, Menu_ColorSet,
                      Menu_AxisSet, Menu_VOption,    Menu_Analyze, Menu_Streamline};
  for (int k = 0; k < 8; ++k) connect(tabs[k], &QAction::triggered, this, [this, k] { ShowTab(k); });
  connect(Help1, &QAction::triggered, this, &TForm1::Help1Click);
  connect(Menu_Version, &QAction::triggered, this, &TForm1::Menu_VersionClick);
  connect(BMP1, &QAction::triggered, this, &TForm1::BMP1Click);
}

void TForm1::SetBlue(QLineEdit* box, bool blue) {
  QPalette p = box->palette();
  p.setColor(QPalette::Text, blue ? kPendingBlue : QColor(Qt::black));
  box->setPalette(p);
}

// Messages of the main window and of the windows that report through it.
void TForm1::SetNotifier(Notifier* notifier) {
  notifier_ = notifier ? notifier : &windowNotifier_;
  if (LegendForm) LegendForm->SetNotifier(notifier_);
}

bool TForm1::TryBeginCommand() {
  if (busy_) return false;
  busy_ = true;
  return true;
}

void TForm1::EndCommand() { busy_ = false; }

// Runs one command body: the re-entrancy gate, and the error box for a failed conversion or file
// operation, after which the program goes on.
void TForm1::RunCommand(const std::function<void()>& body) {
  if (!TryBeginCommand()) {
    QApplication::beep();
    return;
  }
  try {
    body();
  } catch (const std::exception& e) {
    EndCommand();
    notifier_->Warning(e.what());
    return;
  }
  EndCommand();
}

// ---------------------------------------------------------------------------------------------
// Options through the option tables

namespace {

// Controls whose values the window holds elsewhere: the view boxes only show the transform.
bool SkippedInOptionWalk(const std::string& name) {
  return name == "x0box" || name == "y0box" || name == "xscalebox" || name == "yscalebox";
}

}  // namespace

// Reads every control the option tables name, as the text a user would type or choose there.
ProgramOptions TForm1::CurrentOptions() const {
  ProgramOptions o;
  const auto& table = ProgramOptionTable();
  for (const std::string& name : table.Names()) {
    if (SkippedInOptionWalk(name)) continue;
    QWidget* w = findChild<QWidget*>(QString::fromStdString(name));
    if (!w) continue;
    std::string value;
    if (auto* r = qobject_cast<QRadioButton*>(w)) {
      if (!r->isChecked()) continue;  // "0" would leave the group as it is anyway
      value = "1";
    } else if (auto* c = qobject_cast<QCheckBox*>(w)) {
      value = c->isChecked() ? "1" : "0";
    } else if (auto* s = qobject_cast<QSpinBox*>(w)) {
      value = std::to_string(s->value());
    } else if (auto* t = qobject_cast<QSlider*>(w)) {
      value = std::to_string(t->value());
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
      value = e->text().toStdString();
    } else if (auto* cb = qobject_cast<QComboBox*>(w)) {
      value = std::to_string(cb->currentIndex());
    } else if (auto* g = qobject_cast<RadioGroupWidget*>(w)) {
      value = std::to_string(std::max(g->ItemIndex(), 0));
    } else if (auto* sw = qobject_cast<ColourSwatchWidget*>(w)) {
      Colour c = sw->BrushColour();
      value = std::to_string(RedOf(c) * 65536 + GreenOf(c) * 256 + BlueOf(c));
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
      QColor c = l->palette().color(QPalette::WindowText);
      value = std::to_string(c.red() * 65536 + c.green() * 256 + c.blue());
    } else {
      continue;
    }
    table.Apply(o, name, value);
  }
  // Groups whose fields no table names are read from their controls here.
  if (!table.Has("ShowExpCheck"))
    o.display.numberFormat.style = ShowExpCheck->isChecked()   ? NumberStyle::Exponent
                                   : ShowFixCheck->isChecked() ? NumberStyle::Fixed
                                                               : NumberStyle::General;
  if (!table.Has("PrecisionBox")) o.display.numberFormat.precision = PrecisionBox->value();
  if (!table.Has("DigitsBox")) o.display.numberFormat.digits = DigitsBox->value();
  if (!table.Has("ColorMap2"))
    o.contour.colorMap = ColorMap1->isChecked()   ? ColorMapKind::Rainbow
                         : ColorMap2->isChecked() ? ColorMapKind::RedBlue
                         : GrayMap1->isChecked()  ? ColorMapKind::Gray1
                         : GrayMap2->isChecked()  ? ColorMapKind::Gray2
                                                  : ColorMapKind::None;
  if (!table.Has("FixLineColor")) o.contour.FixLineColor = FixLineColor->isChecked();
  if (!table.Has("Shape1")) o.contour.Shape1 = Shape1->BrushColour();
  if (!table.Has("ContLineWid")) o.contour.ContLineWid = ContLineWid->value();
  // The seed rows live in the list's cells.
  o.stream.StreamList = ReadSeedList();
  // What the tables cannot carry as text: the view, the axis font and the window size.
  o.display.x0box = view_.CentreX;
  o.display.y0box = view_.CentreY;
  o.display.xscalebox = view_.ScaleX;
  o.display.yscalebox = view_.ScaleY;
  QFont f = example->font();
  o.display.axisFont.face = f.family().toStdString();
  o.display.axisFont.pixelHeight = f.pixelSize() > 0 ? f.pixelSize() : QFontInfo(f).pixelSize();
  o.display.axisFont.bold = f.bold();
  o.display.axisFont.italic = f.italic();
  o.display.axisFont.colour = FromQColor(example->palette().color(QPalette::WindowText));
  if (ViewForm) {
    o.display.PictureWindowWidth = ViewForm->frameGeometry().width();
    o.display.PictureWindowHeight = ViewForm->frameGeometry().height();
  }
  return o;
}

// One assignment of the settings file or the command line, applied through the control.
bool TForm1::ApplyControlValue(const std::string& name, const std::string& value) {
  if (name == "TViewForm.Width" || name == "TViewForm.Height" || name == "PictureWindowWidth" ||
      name == "PictureWindowHeight") {
    if (!ViewForm) return false;
    long long n = ParseIntegerValue(name, value);
    n = std::clamp<long long>(n, 1, 20000);
    bool width = name == "TViewForm.Width" || name == "PictureWindowWidth";
    ViewForm->SetOuterSize(width ? static_cast<int>(n) : ViewForm->width(),
                           width ? ViewForm->height() : static_cast<int>(n));
    return true;
  }
  if (name == "x0box" || name == "y0box" || name == "xscalebox" || name == "yscalebox") {
    double v = ParseDoubleValue(name, value);
    QLineEdit* box = name == "x0box" ? x0box : name == "y0box" ? y0box : name == "xscalebox" ? xscalebox : yscalebox;
    (name == "x0box" ? view_.CentreX : name == "y0box" ? view_.CentreY : name == "xscalebox" ? view_.ScaleX : view_.ScaleY) = v;
    box->setText(Q(FormatGeneral15(v)));
    SetBlue(box, false);
    return true;
  }
  if (name == "StreamList") {
    // Rows are appended (or all cleared) the way the list's buttons do it.
    StreamOptions stream;
    stream.StreamList = ReadSeedList();
    stream.StreamLineGridSelect = StreamLineGridSelect->isChecked();
    StreamOptionTable().Apply(stream, name, value);
    ShowSeedList(stream.StreamList);
    StreamLineGridSelect->setChecked(stream.StreamLineGridSelect);
    return true;
  }
  if (name == "LabelExp" || name == "LabelColor" || name == "LabelExp.Font.Color") {
    Colour c = ParseColourValue(name, value);
    QPalette p = LabelExp->palette();
    p.setColor(QPalette::WindowText, ToQColor(c));
    LabelExp->setPalette(p);
    return true;
  }
  QWidget* w = findChild<QWidget*>(QString::fromStdString(name));
  if (!w) return false;
  if (auto* r = qobject_cast<QRadioButton*>(w)) {
    if (ParseBoolValue(name, value)) r->setChecked(true);
  } else if (auto* c = qobject_cast<QCheckBox*>(w)) {
    c->setChecked(ParseBoolValue(name, value));
  } else if (auto* s = qobject_cast<QSpinBox*>(w)) {
    long long n = ParseIntegerValue(name, value);
    s->setValue(static_cast<int>(std::clamp<long long>(n, s->minimum(), s->maximum())));
  } else if (auto* t = qobject_cast<QSlider*>(w)) {
    long long n = ParseIntegerValue(name, value);
    t->setValue(static_cast<int>(std::clamp<long long>(n, t->minimum(), t->maximum())));
  } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
    e->setText(QString::fromStdString(value));
  } else if (auto* cb = qobject_cast<QComboBox*>(w)) {
    long long n = ParseIntegerValue(name, value);
    if (n >= 0 && n < cb->count()) cb->setCurrentIndex(static_cast<int>(n));
  } else if (auto* g = qobject_cast<RadioGroupWidget*>(w)) {
    long long n = ParseIntegerValue(name, value);
    if (n >= 0 && n < g->Count()) g->SetItemIndex(static_cast<int>(n));
  } else if (auto* sw = qobject_cast<ColourSwatchWidget*>(w)) {
    sw->SetBrushColour(ParseColourValue(name, value));
  } else {
    return false;
  }
  return true;
}

// The settings file, applied line by line through the controls so every handler runs. Reading
// stops silently at the first failure; what came before stays applied.
void TForm1::LoadSettings(const QString& path) {
  QString file = path.isEmpty() ? QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("crv.ini")) : path;
  SettingsFileResult r = ReadSettingsFile(file.toStdString());
  for (const ControlAssignment& a : r.assignments) {
    try {
      ApplyControlValue(a.control, a.value);
    } catch (const std::exception&) {
      return;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Handlers of the contour range, the velocity switch and the variable choice

void TForm1::ShowContourRange() {
  int k = RGroup->ItemIndex();
  if (k < 0 || static_cast<std::size_t>(k) >= data_.ContourMax.size()) return;
  MaxBox->setText(Q(FormatGeneral15(data_.ContourMax[static_cast<std::size_t>(k)])));
  MinBox->setText(Q(FormatGeneral15(data_.ContourMin[static_cast<std::size_t>(k)])));
  SetBlue(MaxBox, false);
  SetBlue(MinBox, false);
}

void TForm1::ShowContourStep() {
  int k = RGroup->ItemIndex();
  if (k < 0 || static_cast<std::size_t>(k) >= data_.ContourStep.size()) return;
  StepBox->setText(Q(FormatGeneral15(data_.ContourStep[static_cast<std::size_t>(k)])));
  SetBlue(StepBox, false);
}

// The boxes always show the levels of the selected variable.
void TForm1::RGroupClick() {
  ShowContourRange();
  ShowContourStep();
}

void TForm1::ShowContourClick() {
  if (ShowContour->isChecked()) {
    if (ViewForm) ViewForm->setWindowTitle(QStringLiteral("等高線表示"));
    BrushCheck->setEnabled(true);
    LineCheck->setEnabled(true);
  } else {
    BrushCheck->setEnabled(false);
    LineCheck->setEnabled(false);
  }
}

void TForm1::MaxBoxChange(QLineEdit* sender) { SetBlue(sender, true); }

// Enter stores the box's number for the selected variable; a word keeps the box blue.
void TForm1::MaxBoxKeyDown(QLineEdit* sender, int key) {
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
  double v = 0.0;
  try {
    v = ParseDoubleValue(sender->objectName().toStdString(), sender->text().toStdString());
  } catch (const CorvaneError&) {
    notifier_->Warning("数字を記入してください");
    return;
  }
  int k = RGroup->ItemIndex();
  auto store = [&](std::vector<double>& row) {
    if (k >= 0 && static_cast<std::size_t>(k) < row.size()) row[static_cast<std::size_t>(k)] = v;
  };
  if (sender == MaxBox) store(data_.ContourMax);
  else if (sender == MinBox) store(data_.ContourMin);
  else if (sender == StepBox) store(data_.ContourStep);
  SetBlue(sender, false);
}

void TForm1::AutoMaxMinCheckClick() {
  progress_->Pump();
  if (AutoMaxMinCheck->isChecked()) {
    if (!data_.Empty()) AutoMaxMin(data_);
    ShowContourRange();
    MaxBox->setEnabled(false);
    MinBox->setEnabled(false);
  } else {
    MaxBox->setEnabled(true);
    MinBox->setEnabled(true);
  }
}

void TForm1::AutoStepCheckClick() {
  progress_->Pump();
  if (AutoStepCheck->isChecked()) {
    if (!data_.Empty()) AutoStep(data_, StepBar->value());
    ShowContourStep();
    StepBox->setEnabled(false);
    StepBar->setEnabled(true);
  } else {
    StepBox->setEnabled(true);
    StepBar->setEnabled(false);
  }
}

// Adds or removes the two derived variables and the controls that need velocity data.
void TForm1::IncludeVelCheckClick() {
  IncludeVelCheck->setEnabled(false);
  QCoreApplication::processEvents();
  if (IncludeVelCheck->isChecked()) {
    if (!data_.Empty() && RGroup->Count() == data_.ColumnCount - 2) {
      RGroup->AddItem(QStringLiteral("マッハ数"));
      RGroup->AddItem(QStringLiteral("全圧"));
    }
    ShowVec->setEnabled(true);
    VecScaleBox->setEnabled(true);
    DrawStreamLineCheck->setEnabled(true);
  } else {
    if (!data_.Empty() && RGroup->Count() == data_.ColumnCount) {
      RGroup->DeleteLastItem();
      RGroup->DeleteLastItem();
    }
    ShowVec->setEnabled(false);
    VecScaleBox->setEnabled(false);
    DrawStreamLineCheck->setEnabled(false);
    DrawStreamLineCheck->setChecked(false);
  }
  QCoreApplication::processEvents();
  IncludeVelCheck->setEnabled(true);
}

// ---------------------------------------------------------------------------------------------
// View boxes

// Enter applies the four boxes in order; any other key marks the sender as pending.
void TForm1::x0boxKeyDown(QLineEdit* sender, int key) {
  if (key == Qt::Key_Return || key == Qt::Key_Enter) ApplyTransformBoxes(sender);
  else SetBlue(sender, true);
}

void TForm1::ApplyTransformBoxes(QLineEdit*) {
  QLineEdit* boxes[4] = {x0box, y0box, xscalebox, yscalebox};
  double* fields[4] = {&view_.CentreX, &view_.CentreY, &view_.ScaleX, &view_.ScaleY};
  for (int k = 0; k < 4; ++k) {
    try {
      *fields[k] = ParseDoubleValue(boxes[k]->objectName().toStdString(), boxes[k]->text().toStdString());
    } catch (const CorvaneError&) {
      notifier_->Message("数字を代入して下さい");
      return;
    }
    SetBlue(boxes[k], false);
  }
}

void TForm1::WriteTransformBoxes() {
  QLineEdit* boxes[4] = {x0box, y0box, xscalebox, yscalebox};
  const double values[4] = {view_.CentreX, view_.CentreY, view_.ScaleX, view_.ScaleY};
  for (int k = 0; k < 4; ++k) {
    boxes[k]->setText(Q(FormatGeneral15(values[k])));
    SetBlue(boxes[k], false);
  }
}

// ---------------------------------------------------------------------------------------------
// File browser

// Moves the drive, folder and file lists to `folder`; a folder that does not exist is an error.
void TForm1::SetFolder(const QString& folder) {
  QFileInfo info(folder);
  if (!info.exists() || !info.isDir()) throw CorvaneError("フォルダが見つかりません: " + folder.toStdString());
  currentFolder_ = QDir(info.absoluteFilePath()).canonicalPath();
  // Drive list: the mounted file systems; the one holding the folder is current.
  DriveComboBox1->blockSignals(true);
  DriveComboBox1->clear();
  int best = -1, bestLength = -1;
  for (const QStorageInfo& s : QStorageInfo::mountedVolumes()) {
    if (!s.isValid()) continue;
    QString root = s.rootPath();
    DriveComboBox1->addItem(root, root);
    bool holds = currentFolder_ == root || currentFolder_.startsWith(root.endsWith('/') ? root : root + '/');
    if (holds && root.length() > bestLength) {
      best = DriveComboBox1->count() - 1;
      bestLength = static_cast<int>(root.length());
    }
  }
  DriveComboBox1->setCurrentIndex(best);
  DriveComboBox1->blockSignals(false);
  RefillFolderList();
  RefillFileList();
}

// The folder list: the path from the root down to the current folder, then its sub-folders.
void TForm1::RefillFolderList() {
  DirectoryListBox1->clear();
  QDir dir(currentFolder_);
  QStringList chain;
  for (QDir d = dir;; ) {
    chain.prepend(d.absolutePath());
    if (d.isRoot() || !d.cdUp()) break;
  }
  int depth = 0;
  for (const QString& p : chain) {
    QString shown = depth == 0 ? p : QFileInfo(p).fileName();
    auto* item = new QListWidgetItem(QString(depth, ' ') + shown, DirectoryListBox1);
    item->setData(Qt::UserRole, p);
    ++depth;
  }
  DirectoryListBox1->setCurrentRow(static_cast<int>(chain.size()) - 1);
  for (const QFileInfo& sub : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
    auto* item = new QListWidgetItem(QString(depth, ' ') + sub.fileName(), DirectoryListBox1);
    item->setData(Qt::UserRole, sub.absoluteFilePath());
  }
}

void TForm1::RefillFileList() {
  FileListBox1->clear();
  QDir dir(currentFolder_);
  const QStringList masks = FileListBox1->property("mask").toString().split(';');
  for (const QFileInfo& f : dir.entryInfoList(masks, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
    auto* item = new QListWidgetItem(f.fileName(), FileListBox1);
    item->setData(Qt::UserRole, f.absoluteFilePath());
  }
}

// Selects `path` in the file list after moving the lists to its folder.
bool TForm1::SelectFile(const QString& path) {
  QFileInfo info(path);
  if (!info.exists()) return false;
  SetFolder(info.absolutePath());
  QString name = info.fileName();
  for (int k = 0; k < FileListBox1->count(); ++k) {
    if (FileListBox1->item(k)->text() == name) {
      FileListBox1->clearSelection();
      FileListBox1->setCurrentRow(k);
      FileListBox1->item(k)->setSelected(true);
      return true;
    }
  }
  return false;
}

void TForm1::PCNameBoxChange() { SetBlue(PCNameBox, true); }

void TForm1::PCNameBoxKeyDown(int key) {
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
  try {
    SetFolder(PCNameBox->text().trimmed());
  } catch (const CorvaneError& e) {
    notifier_->Warning(e.what());
    return;
  }
  SetBlue(PCNameBox, false);
}

void TForm1::DriveComboBox1Change() {
  QString root = DriveComboBox1->currentData().toString();
  if (root.isEmpty()) return;
  try {
    SetFolder(root);
  } catch (const CorvaneError& e) {
    notifier_->Warning(e.what());
  }
}

void TForm1::DirectoryListBox1Change() {
  QListWidgetItem* item = DirectoryListBox1->currentItem();
  if (!item) return;
  try {
    SetFolder(item->data(Qt::UserRole).toString());
  } catch (const CorvaneError& e) {
    notifier_->Warning(e.what());
  }
}

// ---------------------------------------------------------------------------------------------
// Loading

void TForm1::FileListBox1DblClick() { LoadSelectedFile(); }
void TForm1::Button1Click() { LoadSelectedFile(); }
void TForm1::R1Click() { LoadSelectedFile(); }

// Loads the list's current file, or asks for one.
void TForm1::LoadSelectedFile() {
  if (FileListBox1->selectedItems().isEmpty()) {
    notifier_->Warning("ファイルが選択されていません");
    if (!isVisible()) show();
    PageControl1->setCurrentWidget(FileTab);
    FileListBox1->setFocus();
    return;
  }
  QListWidgetItem* item = FileListBox1->currentItem();
  if (!item || !item->isSelected()) item = FileListBox1->selectedItems().first();
  LoadFile(item->data(Qt::UserRole).toString());
}

// Reads `path` into a new data set and replaces the shown one only when the load completes.
bool TForm1::LoadFile(const QString& path) {
  bool replaced = false;
  RunCommand([&] { replaced = LoadFileCore(path); });
  return replaced;
}

bool TForm1::LoadFileCore(const QString& path) {
  ProgramOptions options = CurrentOptions();
  // Every load preselects the velocity, temperature and pressure columns afresh.
  options.load.xvecbox = options.load.yvecbox = options.load.tmpbox = options.load.prsBox = -1;
  progress_->SetPosition(0);
  std::optional<LoadResult> result =
      LoadDataFile(path.toStdString(), options.load, data_, ZoneSelect->count(), *notifier_, *progress_);
  if (!result) return false;
  ApplyLoadResult(*result);
  return true;
}

// Takes a completed load: the data set, the variable list, the selectors and the zone lists.
void TForm1::ApplyLoadResult(LoadResult& result) {
  int remembered = RGroup->ItemIndex();
  data_ = std::move(result.data);
  QStringList items;
  for (const std::string& s : result.rgroupItems) items << Q(s);
  RGroup->SetItems(items);
  QComboBox* selectors[4] = {xvecbox, yvecbox, tmpbox, prsBox};
  const int preselected[4] = {result.xvecIndex, result.yvecIndex, result.tmpIndex, result.prsIndex};
  for (int k = 0; k < 4; ++k) {
    selectors[k]->clear();
    for (const std::string& s : result.selectorItems) selectors[k]->addItem(Q(s));
    selectors[k]->setCurrentIndex(std::min(preselected[k], selectors[k]->count() - 1));
  }
  if (result.zoneListsRebuilt || ZoneSelect->count() != data_.ZoneCount) {
    // New zone count: every zone's edge flags start from the four check boxes.
    BoundaryFlags flags{Showi0->isChecked(), Showimax->isChecked(), Showj0->isChecked(), showjmax->isChecked()};
    data_.Boundaries.assign(static_cast<std::size_t>(std::max(data_.ZoneCount, 0)), flags);
    zoneSelecting_ = true;
    for (QComboBox* c : {ZoneSelect, StreamZoneSelect, P1Zone, P2Zone}) {
      c->blockSignals(c != ZoneSelect);
      c->clear();
      for (int z = 0; z < data_.ZoneCount; ++z) c->addItem(QString::number(z));
      c->blockSignals(false);
    }
    zoneSelecting_ = false;
    ZoneSelect->setCurrentIndex(data_.ZoneCount > 0 ? 0 : -1);
    StreamZoneSelect->setCurrentIndex(data_.ZoneCount > 0 ? 0 : -1);
    ZoneSelectChange();
  } else if (data_.Boundaries.size() != static_cast<std::size_t>(std::max(data_.ZoneCount, 0))) {
    data_.Boundaries.resize(static_cast<std::size_t>(std::max(data_.ZoneCount, 0)));
  }
  if (data_.ZoneCount > 0) {
    P1Zone->setCurrentIndex(0);
    P2Zone->setCurrentIndex(0);
  }
  if (RGroup->Count() > remembered && remembered >= 0) RGroup->SetItemIndex(remembered);
  if (RGroup->ItemIndex() < 0) RGroup->SetItemIndex(0);
  activateWindow();
}

// ---------------------------------------------------------------------------------------------
// Zone edges, compression, colours, fonts

// Loads the selected zone's flags into the four boxes without their handler writing them back.
void TForm1::ZoneSelectChange() {
  if (zoneSelecting_) return;
  zoneSelecting_ = true;
  int z = ZoneSelect->currentIndex();
  if (z >= 0 && static_cast<std::size_t>(z) < data_.Boundaries.size()) {
    const BoundaryFlags& f = data_.Boundaries[static_cast<std::size_t>(z)];
    Showi0->setChecked(f.i0);
    Showj0->setChecked(f.j0);
    Showimax->setChecked(f.imax);
    showjmax->setChecked(f.jmax);
  }
  QCoreApplication::processEvents();
  zoneSelecting_ = false;
}

// All four flags of the selected zone (or of every zone) from the four boxes.
void TForm1::Showi0Click() {
  if (zoneSelecting_) return;
  int first = ZoneSelect->currentIndex(), last = first;
  if (SyncroArea->isChecked()) {
    first = 0;
    last = static_cast<int>(data_.Boundaries.size()) - 1;
  }
  if (first < 0) return;
  BoundaryFlags f{Showi0->isChecked(), Showimax->isChecked(), Showj0->isChecked(), showjmax->isChecked()};
  for (int z = first; z <= last && static_cast<std::size_t>(z) < data_.Boundaries.size(); ++z)
    data_.Boundaries[static_cast<std::size_t>(z)] = f;
}

void TForm1::ICompress2Change() { ICompBox->setValue(ICompress2->value()); }
void TForm1::JCompress2Change() { JCompBox->setValue(JCompress2->value()); }

void TForm1::LabelRegulateClick() {
  LabelMin->setEnabled(LabelRegulate->isChecked());
  LabelMax->setEnabled(LabelRegulate->isChecked());
}

void TForm1::UseOpenGLClick() { QuickFill->setEnabled(UseOpenGL->isChecked()); }

// The label sample and the legend's preview panels follow the picture background.
void TForm1::WhiteBackClick() {
  QColor back = WhiteBack->isChecked() ? QColor(Qt::white) : QColor(Qt::black);
  QPalette p = LabelExp->palette();
  p.setColor(QPalette::Window, back);
  LabelExp->setPalette(p);
  if (LegendForm) LegendForm->SetPreviewBackground(WhiteBack->isChecked());
}

// A click on a colour map picture chooses that map.
void TForm1::ImageClick(int index) {
  QRadioButton* radios[4] = {ColorMap1, ColorMap2, GrayMap1, GrayMap2};
  if (index < 0 || index > 3) return;
  radios[index]->setChecked(true);
  radios[index]->setFocus();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == StreamList && event->type() == QEvent::KeyPress)
    StreamListKeyDown(static_cast<QKeyEvent*>(event)->key());
  if (event->type() == QEvent::MouseButtonRelease) {
    QLabel* images[4] = {Image0, Image1, Image2, Image3};
    for (int k = 0; k < 4; ++k)
      if (watched == images[k]) ImageClick(k);
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::ShowExpCheckClick() {
  example->setText(Q(FormatAxisNumber(0.3, CurrentOptions().display.numberFormat)));
}

void TForm1::Button2Click() {
  bool ok = false;
  QFont f = QFontDialog::getFont(&ok, example->font(), this);
  if (ok) example->setFont(f);
}

void TForm1::Button5Click() {
  bool ok = false;
  QFont f = QFontDialog::getFont(&ok, LabelExp->font(), this);
  if (ok) LabelExp->setFont(f);
}

namespace {
void PickSwatchColour(ColourSwatchWidget* swatch, QWidget* parent) {
  QColor c = QColorDialog::getColor(ToQColor(swatch->BrushColour()), parent);
  if (c.isValid()) swatch->SetBrushColour(FromQColor(c));
}
}  // namespace

void TForm1::Button3Click() { PickSwatchColour(Shape1, this); }
void TForm1::Button6Click() { PickSwatchColour(SegmentColor, this); }
void TForm1::Button7Click() { PickSwatchColour(StreamColShape, this); }

void TForm1::Button4Click() {
  if (LegendForm) LegendForm->ShowOrRaise();
}

// ---------------------------------------------------------------------------------------------
// Tabs and menus

void TForm1::ShowTab(int index) {
  if (index < 0 || index >= PageControl1->count()) return;
  PageControl1->setCurrentIndex(index);
}

void TForm1::XYTabShow() {
  if (UseOpenGL->isChecked()) notifier_->Warning("XY軸設定はOpenGL描画時は無効です");
}
void TForm1::TabSheet4Show() {
  if (UseOpenGL->isChecked()) notifier_->Message("OpenGL時には解析は実行できません");
}
void TForm1::TabSheet2Show() {
  if (UseOpenGL->isChecked()) notifier_->Message("OpenGL時には流線を描くことはできません");
}

// ---------------------------------------------------------------------------------------------
// The streamline tab

StreamSeedList TForm1::ReadSeedList() const {
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

void TForm1::ShowSeedList(const StreamSeedList& list) {
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
}

void TForm1::StreamZoneSelectChange() {
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

void TForm1::StreamAddButtonClick() {
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
void TForm1::StreamDelButtonClick() {
  QList<QTableWidgetItem*> selected = StreamList->selectedItems();
  int row = StreamList->currentRow();
  for (const QTableWidgetItem* item : selected) row = std::min(row < 0 ? item->row() : row, item->row());
  if (row < 1) return;
  StreamSeedList list = ReadSeedList();
  DeleteSeedRow(list, row);
  ShowSeedList(list);
}

void TForm1::StreamDelAllButtonClick() {
  StreamSeedList list;
  ClearSeedList(list);
  ShowSeedList(list);
}

void TForm1::StreamListKeyDown(int key) {
  if (key == Qt::Key_Delete) StreamDelButtonClick();
}

void TForm1::StreamXaChange() { StreamLineSegment->setChecked(true); }

// ---------------------------------------------------------------------------------------------
// The analysis tab

namespace {
void SetNodeBoxMaxima(const FieldDataSet& data, QComboBox* zone, QSpinBox* i, QSpinBox* j) {
  NodeBoxLimits limits = NodeBoxMaxima(data, zone->currentIndex());
  // Qt keeps a spin box's value within its range, so a value above the new maximum is lowered.
  const QSignalBlocker blockI(i), blockJ(j);
  i->setMaximum(limits.iMax);
  j->setMaximum(limits.jMax);
}
}  // namespace

void TForm1::P1ZoneChange() {
  SetNodeBoxMaxima(data_, P1Zone, P1i, P1j);
  P1iChange();
}
void TForm1::P2ZoneChange() {
  SetNodeBoxMaxima(data_, P2Zone, P2i, P2j);
  P1iChange();
}

// The plot window shows its picture again, with the segment over it when it is drawn quickly.
void TForm1::P1iChange() {
  if (!ViewForm) return;
  ViewForm->ShowQuickSegment(std::nullopt);
  if (!ShowSegment->isChecked() || !QuickDrawSegment->isChecked()) return;
  try {
    ProgramOptions options = CurrentOptions();
    if (std::optional<SegmentFigure> figure = QuickSegment(data_, options.analysis))
      ViewForm->ShowQuickSegment(*figure);
  } catch (const std::exception& e) {
    notifier_->Warning(e.what());
  }
}

namespace {
// Typed coordinates or the node: which controls of one end point take input.
void EnableEndpointControls(bool direct, std::initializer_list<QWidget*> typed, std::initializer_list<QWidget*> node) {
  for (QWidget* w : typed) w->setEnabled(direct);
  for (QWidget* w : node) w->setEnabled(!direct);
}
}  // namespace

void TForm1::P1DirectClick() {
  EnableEndpointControls(P1Direct->isChecked(), {P1x, P1y, P1ByClick}, {P1Zone, P1i, P1j});
  // A disabled pick box could not be unchecked any more, and picking blocks zooming.
  if (!P1Direct->isChecked()) P1ByClick->setChecked(false);
}
void TForm1::P2DirectClick() {
  EnableEndpointControls(P2Direct->isChecked(), {P2x, P2y, P2ByClick}, {P2Zone, P2i, P2j});
  if (!P2Direct->isChecked()) P2ByClick->setChecked(false);
}

void TForm1::P1xChange(QLineEdit* sender) { SetBlue(sender, true); }

void TForm1::P1xKeyDown(QLineEdit* sender, int key) {
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
  SetBlue(sender, false);
  P1iChange();
}

void TForm1::P1ByClickClick() {
  if (!ViewForm) return;
  ViewForm->PickingPoint1 = P1ByClick->isChecked();
  if (P1ByClick->isChecked()) {
    ViewForm->PickingPoint2 = false;
    P2ByClick->setChecked(false);
  }
}
void TForm1::P2ByClickClick() {
  if (!ViewForm) return;
  ViewForm->PickingPoint2 = P2ByClick->isChecked();
  if (P2ByClick->isChecked()) {
    ViewForm->PickingPoint1 = false;
    P1ByClick->setChecked(false);
  }
}

void TForm1::ShowSegmentClick() {
  bool on = ShowSegment->isChecked();
  for (QWidget* w : {static_cast<QWidget*>(Button6), static_cast<QWidget*>(QuickDrawSegment),
                     static_cast<QWidget*>(RealDrawSegment)})
    w->setEnabled(on);
  P1iChange();
}

void TForm1::AnalyzeButtonClick() {
  QString path = QFileDialog::getSaveFileName(this, QString(), currentFolder_, QString::fromUtf8(kAnalysisFileFilter));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".") + QString::fromLatin1(kAnalysisFileSuffix);
  AnalyzeTo(path);
}

bool TForm1::AnalyzeTo(const QString& path) {
  if (!TryBeginCommand()) {
    QApplication::beep();
    return false;
  }
  AnalysisRunResult result;
  try {
    result = RunSegmentAnalysis(data_, CurrentOptions(), path.toStdString(), *notifier_, *progress_);
  } catch (const std::exception& e) {
    EndCommand();
    notifier_->Warning(e.what());
    return false;
  }
  EndCommand();
  if (result.status != AnalysisRunResult::Status::Written) return false;
  if (result.openAfterwards && OpenDocument) OpenDocument(QString::fromStdString(result.path));
  return true;
}

void TForm1::Menu_SaveClick() {
  if (ViewForm) ViewForm->SaveViewPicture();
}
void TForm1::Menu_RescaleClick() { RescaleAndRedraw(); }
void TForm1::Menu_RedrawClick() { Redraw(); }
// The abort command is never refused: it is how a running drawing is stopped.
void TForm1::A1Click() { AbortRequested = true; }

void TForm1::Menu_exitClick() {
  for (QWidget* w : {OGLForm, static_cast<QWidget*>(ViewForm), static_cast<QWidget*>(LegendForm),
                     static_cast<QWidget*>(ProcessForm)})
    if (w) w->close();
  close();
}

void TForm1::closeEvent(QCloseEvent* event) {
  for (QWidget* w : {OGLForm, static_cast<QWidget*>(ViewForm), static_cast<QWidget*>(LegendForm),
                     static_cast<QWidget*>(ProcessForm), static_cast<QWidget*>(AboutForm)})
    if (w) w->hide();
  event->accept();
  QApplication::quit();
}

void TForm1::Help1Click() { OpenManual(); }

void TForm1::Menu_VersionClick() {
  if (AboutForm) AboutForm->ShowOrRaise();
}

// Loads, draws and saves every selected file in turn; no other command runs meanwhile.
void TForm1::BMP1Click() {
  if (!ProcessForm) return;
  std::vector<std::string> paths;
  for (int k = 0; k < FileListBox1->count(); ++k)
    if (FileListBox1->item(k)->isSelected()) paths.push_back(FileListBox1->item(k)->data(Qt::UserRole).toString().toStdString());
  if (!TryBeginCommand()) {
    QApplication::beep();
    return;
  }
  BatchCallbacks callbacks;
  callbacks.load = [this](const std::string& path) { return LoadFileCore(QString::fromStdString(path)); };
  callbacks.draw = [this] { DrawSceneCore(); };
  callbacks.save = [this](const std::string& path) { WriteBmp(scene.bitmap, QString::fromStdString(path)); };
  try {
    ProcessForm->RunBatch(paths, callbacks, UseOpenGL->isChecked(), *notifier_);
  } catch (const std::exception& e) {
    EndCommand();
    notifier_->Warning(e.what());
    return;
  }
  EndCommand();
}

// ---------------------------------------------------------------------------------------------
// Drawing

void TForm1::Redraw() {
  if (UseOpenGL->isChecked()) {
    // The OpenGL view draws its own frame, then gets the focus or is shown like the plot window.
    if (auto* ogl = static_cast<TOGLForm*>(OGLForm)) {
      ogl->DrawOpenGLScene(ShowContour->isChecked(), ShowGrid->isChecked(), ShowVec->isChecked());
      if (ogl->isVisible())
        ogl->setFocus();
      else
        ogl->show();
    }
    return;
  }
  DrawScene();
  if (!ViewForm) return;
  if (ViewForm->isVisible()) {
    ViewForm->setFocus();
    return;
  }
  if (!viewPlaced_) {
    // First showing: beside the main window rather than over it.
    ViewForm->move(frameGeometry().topRight() + QPoint(8, 0));
    viewPlaced_ = true;
  }
  ViewForm->show();
}

// Fits the view to the data (all overlay copies included), draws, and shows the new view values.
void TForm1::RescaleAndRedraw() {
  if (Busy()) {
    QApplication::beep();
    return;
  }
  try {
    scene.options = CurrentOptions();
    if (!scene.options.display.UseOpenGL) {
      FitView(scene);
    } else if (OGLForm) {
      // The OpenGL view has its own box, fitted to the data and every overlay copy.
      double xmax, ymax, xmin, ymin;
      OverlayExtents(data_, scene.options.display, xmax, ymax, xmin, ymin);
      static_cast<TOGLForm*>(OGLForm)->FitOrthoBox(xmax, ymax, xmin, ymin);
    }
  } catch (const std::exception& e) {
    notifier_->Warning(e.what());
    return;
  }
  Redraw();
  WriteTransformBoxes();
}

void TForm1::ZoomAt(int px, int py, double factor) {
  if (Busy()) return;
  view_.ZoomAt(px, py, factor);
  DrawScene();
  WriteTransformBoxes();
}

void TForm1::ZoomToRect(int x1, int y1, int x2, int y2) {
  if (Busy()) return;
  view_.ZoomToRect(x1, y1, x2, y2, XYSameScale->isChecked());
  DrawScene();
  WriteTransformBoxes();
}

// The GDI picture: the scene into ScenePicture, then its bitmap into the plot window. The
// previous picture stays when the drawing fails.
void TForm1::DrawScene() {
  if (!TryBeginCommand()) {
    QApplication::beep();
    return;
  }
  try {
    DrawSceneCore();
  } catch (const std::exception& e) {
    EndCommand();
    notifier_->Warning(e.what());
    return;
  }
  EndCommand();
}

void TForm1::DrawSceneCore() {
  // The cursor and the abort flag are reset however the drawing ends.
  struct Reset {
    TForm1* form;
    ~Reset() {
      if (form->ViewForm) form->ViewForm->unsetCursor();
      form->AbortRequested = false;
    }
  } reset{this};
  if (ViewForm) ViewForm->setCursor(Qt::WaitCursor);
  AbortRequested = false;
  scene.options = CurrentOptions();
  if (corvane::DrawScene(scene, *progress_, *notifier_)) {
    ScenePictureValid = true;
    if (ViewForm) {
      ViewForm->SetPicture(scene.bitmap);
      ViewForm->setEnabled(true);
    }
  }
}

// The pan preview uses the options of the drawing it replaces, with the current background.
void TForm1::RenderGridPreview(QImage& image) {
  scene.options.display.WhiteBack = WhiteBack->isChecked();
  DrawGridPreview(scene, image);
}

}  // namespace corvane


namespace corvane {

ProgramWindows::ProgramWindows() = default;
ProgramWindows::ProgramWindows(ProgramWindows&&) noexcept = default;
ProgramWindows& ProgramWindows::operator=(ProgramWindows&&) noexcept = default;
// The others go before the main window, which they reach through its pointers.
ProgramWindows::~ProgramWindows() {
  about.reset();
  process.reset();
  view.reset();
  ogl.reset();
  legend.reset();
  if (main) {
    main->OGLForm = nullptr;
    main->ViewForm = nullptr;
    main->LegendForm = nullptr;
    main->ProcessForm = nullptr;
    main->AboutForm = nullptr;
  }
}

// Creates the windows in order: main, legend, OpenGL, plot, batch progress, About. Creating the
// About window last reads the settings, so every window a setting touches exists by then.
ProgramWindows CreateProgramWindows(const QString& settingsPath) {
  ProgramWindows w;
  w.main = std::make_unique<TForm1>();
  TForm1* m = w.main.get();
  w.legend = std::make_unique<TLegendForm>();
  w.legend->SetNotifier(&m->notifier());
  w.legend->SetSource([m] {
    LegendSource s;
    s.MinBox = m->MinBox->text().toStdString();
    s.MaxBox = m->MaxBox->text().toStdString();
    s.StepBox = m->StepBox->text().toStdString();
    s.WhiteBack = m->WhiteBack->isChecked();
    s.colorMap = m->CurrentOptions().contour.colorMap;
    return s;
  });
  m->LegendForm = w.legend.get();
  // The OpenGL window reads the main window's data, options and progress and writes the plot
  // view's boxes back after its keys.
  OGLFormHost host;
  host.data = &m->data_;
  host.readout = &m->readout_;
  host.progress = &m->progress();
  host.notifier = [m] { return &m->notifier(); };
  host.options = [m] { return m->CurrentOptions(); };
  host.setPlotCaption = [m](int row) {
    if (m->ViewForm) m->ViewForm->setWindowTitle(m->RGroup->Items().value(row) + QStringLiteral(":等高線"));
  };
  host.raiseMainWindow = [m] {
    m->show();
    m->raise();
    m->activateWindow();
  };
  host.clearAbort = [m] { m->AbortRequested = false; };
  host.writeViewBoxes = [m] { m->WriteTransformBoxes(); };
  host.tryBeginCommand = [m] { return m->TryBeginCommand(); };
  host.endCommand = [m] { m->EndCommand(); };
  w.ogl = std::make_unique<TOGLForm>(std::move(host));
  m->OGLForm = w.ogl.get();
  w.view = std::make_unique<TViewForm>(m);
  m->ViewForm = w.view.get();
  w.process = std::make_unique<TProcessForm>();
  m->ProcessForm = w.process.get();
  w.about = std::make_unique<TForm5>(nullptr, [m, settingsPath] { m->LoadSettings(settingsPath); });
  m->AboutForm = w.about.get();
  return w;
}

}  // namespace corvane
