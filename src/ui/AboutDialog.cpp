#include "ui/AboutDialog.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QUrl>

#include "scene/DesktopIntegration.h"
#include "ui_AboutDialog.h"

namespace corvane {
namespace {

// The program's icon: a small field of coloured bands crossed by two contour curves.
QPixmap ProgramIcon() {
  QPixmap icon(32, 32);
  icon.fill(Qt::black);
  QPainter p(&icon);
  const QColor bands[] = {QColor(0, 0, 255), QColor(0, 160, 255), QColor(0, 220, 120),
                          QColor(230, 230, 0), QColor(255, 140, 0), QColor(255, 0, 0)};
  for (int k = 0; k < 6; ++k) {
    p.fillRect(2, 2 + k * 28 / 6, 28, 28 / 6 + 1, bands[5 - k]);
  }
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::white, 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(8, 9, 16, 14));
  p.drawEllipse(QRectF(12, 13, 8, 6));
  p.setPen(QPen(Qt::white, 1));
  p.drawRect(QRectF(1.5, 1.5, 29, 29));
  return icon;
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent, const std::function<void()>& formCreate)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::AboutDialog>()) {
  ui->setupUi(this);
  ui->Image1->setPixmap(ProgramIcon());
  ui->Label3->setText(QStringLiteral("バージョン %1").arg(QStringLiteral(CORVANE_VERSION)));
  ui->Label6->setText(QString::fromUtf8(kMakerMailAddress));
  ui->Label7->setText(QString::fromUtf8(kMakerWebAddress));
  ui->Label6->installEventFilter(this);
  ui->Label7->installEventFilter(this);
  connect(ui->Button1, &QPushButton::clicked, this, &AboutDialog::closeClicked);
  if (formCreate) formCreate();
}

AboutDialog::~AboutDialog() = default;

void AboutDialog::ShowOrRaise() {
  show();
  raise();
  activateWindow();
}

void AboutDialog::closeClicked() { hide(); }

void AboutDialog::writeToMaker() {
  QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + QString::fromUtf8(kMakerMailAddress)));
}

void AboutDialog::openMakerPage() { QDesktopServices::openUrl(QUrl(QString::fromUtf8(kMakerWebAddress))); }

// The two address labels act as links on a left click.
bool AboutDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched == ui->Label6) {
      writeToMaker();
      return true;
    }
    if (watched == ui->Label7) {
      openMakerPage();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

QString ManualPath() { return ManualFilePath(); }

bool OpenWithDesktop(const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

void OpenManual(Notifier& notifier) {
  const QString path = ManualPath();
  if (!QFileInfo::exists(path)) {
    notifier.Message("マニュアルが見つかりません: " + path.toStdString());
    return;
  }
  if (!OpenWithDesktop(path))
    notifier.Message("マニュアルを開くプログラム (ブラウザ) が見つかりません。次のファイルをブラウザで開いてください: " +
                     path.toStdString());
}

}  // namespace corvane
