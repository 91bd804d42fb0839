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
  const QString chosen = SuffixOfFilter(filter);
  // A name with an extension is taken as typed: one we do not write is refused by the save
  // itself, which says so, rather than saved under a name the user did not give.
  if (!QFileInfo(file).suffix().isEmpty() || chosen.isEmpty()) return file;
  return file + QLatin1Char('.') + chosen;
}

void PreparePictureSaveDialog(QFileDialog& dialog, const QStringList& moreFilters) {
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(PictureSaveFilters() + moreFilters);
  dialog.setDefaultSuffix(SuffixOfFilter(dialog.selectedNameFilter()));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog](const QString& filter) { dialog.setDefaultSuffix(SuffixOfFilter(filter)); });
  // Qt's own dialog does not always announce a change of its type list; follow the list itself.
  if (auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
    QObject::connect(types, &QComboBox::currentIndexChanged, &dialog,
                     [&dialog] { dialog.setDefaultSuffix(SuffixOfFilter(dialog.selectedNameFilter())); });
}

}  // namespace corvane
