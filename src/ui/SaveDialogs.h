// The picture save dialogs of the plot and legend windows: the type chosen in the dialog decides
// the extension of a name typed without one.
#pragma once
#include <QString>
#include <QStringList>

class QFileDialog;

namespace corvane {

// The extension a filter such as "PNGイメージ(*.png)" stands for ("png"); empty for none.
QString SuffixOfFilter(const QString& filter);

// The file name to write: `file` as typed when it has an extension (written or not), otherwise
// with the chosen type's extension added ("plot" with PNG chosen: "plot.png").
QString PathWithChosenType(const QString& file, const QString& filter);

// Sets the picture filters on a save dialog and keeps its default suffix on the chosen type, so
// the dialog's own overwrite question sees the whole name. Call it after any option that
// decides between Qt's own dialog and the desktop's.
// `moreFilters` come after the picture types (the animations while a time series is loaded).
void PreparePictureSaveDialog(QFileDialog& dialog, const QStringList& moreFilters = {});

}  // namespace corvane
