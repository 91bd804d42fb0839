// The plot window's size between runs: a useful share of the screen the first time, then the
// size the user last gave it, kept in the user's configuration folder
// ($XDG_CONFIG_HOME/corvane/plot-window, "WIDTH HEIGHT" of the picture area with its status bar).
// Like the recent list it is a convenience: a store that cannot be read or written is no store.
#pragma once
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

namespace corvane {

// The store in the user's configuration folder.
QString DefaultPlotSizeStore();

// The client size a first plot window gets on a screen whose usable area is `available`: more
// than half of it across and down, leaving room for the main window beside it.
QSize UsefulPlotSize(const QRect& available);

// The size kept in `store`, when it holds two whole numbers of a sensible size.
std::optional<QSize> ReadPlotSize(const QString& store);
// Keeps `size` in `store` (the folder is made); failures are ignored.
void WritePlotSize(const QString& store, const QSize& size);

}  // namespace corvane
