#include "ui/SaveDialogs.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

#include "output/ImageExport.h"

namespace corvane {

QString SuffixOfFilter(const QString& filter) {
  static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
  const QRegularExpressionMatch m = pattern.match(filter);
  return m.hasMatch() ? m.captured(1).toLower() : QString();
}

QString PathWithChosenType(const QString& file, const QString& filter) {
  static const QStringList written = {QStringLiteral("bmp"), QStringLiteral("emf"), QStringLiteral("jpg"),
                                      QStringLiteral("jpeg"), QStringLiteral("png"), QStringLiteral("pdf"),
                                      QStringLiteral("svg")};
  const QString suffix = QFileInfo(file).suffix().toLower();
  const QString chosen = SuffixOfFilter(filter);
  if (written.contains(suffix) || chosen.isEmpty()) return file;
  return file + QLatin1Char('.') + chosen;
}

void PreparePictureSaveDialog(QFileDialog& dialog) {
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(PictureSaveFilters());
  dialog.setDefaultSuffix(SuffixOfFilter(dialog.selectedNameFilter()));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog](const QString& filter) { dialog.setDefaultSuffix(SuffixOfFilter(filter)); });
  // Qt's own dialog does not always announce a change of its type list; follow the list itself.
  if (auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
    QObject::connect(types, &QComboBox::currentIndexChanged, &dialog,
                     [&dialog] { dialog.setDefaultSuffix(SuffixOfFilter(dialog.selectedNameFilter())); });
}

}  // namespace corvane
