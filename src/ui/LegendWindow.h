// The legend window: a colour bar of the current contour range in either orientation, built
// from the window's own size, number format and font, shown on "作成" and saved by extension on
// "保存". The main window creates it once and hands it a source of the contour range.
#pragma once
#include <QPicture>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "contour/ColourMap.h"
#include "contour/Legend.h"
#include "contour/LegendOptions.h"
#include "base/Notifier.h"

namespace Ui { class LegendWindow; }

namespace corvane {

// What the legend reads from the main window at every rendering (nothing is cached).
struct LegendSource {
  std::string MinBox = "0.0";  // texts of the contour range boxes of the selected variable,
  std::string MaxBox = "1.0";  // converted as they stand when the legend is built
  std::string StepBox = "0.1";
  bool WhiteBack = false;      // white background with black text, else black with white
  ColourMapKind colourMap = ColourMapKind::Rainbow;
  bool RoundLevels = false;    // numbers with just the decimals of the step
};

class LegendWindow : public QWidget {
  Q_OBJECT

 public:
  explicit LegendWindow(QWidget* parent = nullptr);
  ~LegendWindow() override;

  // Where the legend takes the contour range, background and colour map from.
  void SetSource(std::function<LegendSource()> source);
  // Where failures are reported; without one they go to a message box.
  void SetNotifier(Notifier* notifier);
  // WhiteBack in the main window: both preview panels white or black.
  void SetPreviewBackground(bool white);
  // showLegendWindow of the main window: shows the window, or brings it forward if visible.
  void ShowOrRaise();

  // The window's controls as legend options, and the main window's range as legend input
  // (throws CorvaneError naming the box when a range text is no number).
  LegendOptions Options() const;
  LegendInput Input() const;
  // The legend picture at the chosen size. Throws CorvaneError when a range text is no number.
  QPicture BuildLegendPicture() const;
  // Builds the legend and writes it by the extension of `path` (BMP, EMF, JPG, PNG, in any
  // case); for any other extension nothing is written, the notifier hears why, and the result
  // is false. Throws CorvaneError when a range text is no number or the file cannot be written.
  bool SaveLegend(const QString& path);

 public slots:
  void buildLegend();  // 作成: build and show in LegendSample
  void saveLegendAs();  // 保存: build, ask for a file name, save
  void chooseLegendFont();  // 変更: font dialog for the legend font
  void LegendYokoClick();
  void LegendTateClick();

 private:
  void Report(const std::exception& e);
  Notifier& Notify();

  std::unique_ptr<Ui::LegendWindow> ui;
  std::function<LegendSource()> source_;
  Notifier* notifier_ = nullptr;
  std::unique_ptr<Notifier> boxes_;  // message boxes, when no notifier was given
};

}  // namespace corvane
