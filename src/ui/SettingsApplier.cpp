#include "ui/SettingsApplier.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>

#include "base/Errors.h"
#include "scene/DesktopIntegration.h"
#include "scene/SettingsFile.h"
#include "ui/ContourTabController.h"
#include "ui/DisplayTabController.h"
#include "ui/MainWindow.h"
#include "ui/PlotWindow.h"
#include "ui/RadioGroupWidget.h"
#include "ui/StreamTabController.h"

namespace corvane {
namespace {

constexpr const char* kStartsOnDefaults = "既定の設定で起動します。";

}  // namespace

// One assignment of the settings file or the command line, applied through the control.
bool SettingsApplier::ApplyControlValue(const std::string& name, const std::string& value) {
  if (name == "TViewForm.Width" || name == "TViewForm.Height" || name == "PictureWindowWidth" ||
      name == "PictureWindowHeight") {
    if (!window_.plotWindow) return false;
    long long n = ParseIntegerValue(name, value);
    n = std::clamp<long long>(n, 1, 20000);
    // The outer size is stored; the window's client area follows from it.
    DisplayOptions& d = window_.scene.options.display;
    (name == "TViewForm.Width" || name == "PictureWindowWidth" ? d.PictureWindowWidth : d.PictureWindowHeight) =
        static_cast<int>(n);
    window_.plotWindow->SetOuterSize(d.PictureWindowWidth, d.PictureWindowHeight);
    return true;
  }
  if (window_.tabs_.display->ApplyViewBox(name, value)) {
    static const char* const boxes[4] = {"x0box", "y0box", "xscalebox", "yscalebox"};
    for (int k = 0; k < 4; ++k)
      if (name == boxes[k]) givenView_[k] = ParseDoubleValue(name, value);
    return true;
  }
  if (name == "Formula") {
    // Kept for the loads to come; the list on the data tab shows them.
    LoadOptionTable().Apply(window_.scene.options.load, name, value);
    window_.state.events.Changed(StateChange::Formulas);
    return true;
  }
  if (name == "MinBox" || name == "MaxBox" || name == "StepBox") {
    // As if typed: the box shows it, Enter would take it.
    window_.state.typedRangeTexts[name] = value;
    window_.tabs_.contour->Load(window_.Options());
    return true;
  }
  const std::string option = name == "LabelColor" || name == "LabelExp.Font.Color" ? "LabelExp" : name;
  const auto& table = ProgramOptionTable();
  if (!table.Has(option)) return SetControlAsUser(window_.findChild<QWidget*>(QString::fromStdString(name)), value);
  QWidget* control = window_.FindOptionControl(option);
  if (const int count = ChoiceCount(control); count >= 0) {
    // A list the data fills takes a choice it does not offer yet once a load brings it.
    const long long n = ParseIntegerValue(name, value);
    if (n >= 0 && n >= count && window_.scene.data.Empty()) pendingChoices_[name] = n;
    if (n < 0 || n >= count) return true;
  }
  auto shown = [&] {
    auto word = window_.state.wordsInNumberBoxes.find(option);
    return word != window_.state.wordsInNumberBoxes.end() ? word->second : table.Get(window_.scene.options, option);
  };
  const std::string before = shown();
  auto* box = qobject_cast<QLineEdit*>(control);
  OptionControls::StoreValue(window_.state, option, value, box);
  if (box) {
    // An edit box shows the number as it was given, as if typed.
    const QSignalBlocker block(box);
    box->setText(QString::fromStdString(value));
  }
  window_.OptionChanged(option, shown() != before);
  // Shown by no control of their own: the seed list and the label sample.
  if (option == "StreamList") window_.tabs_.stream->Load(window_.Options());
  if (option == "LabelExp") window_.tabs_.contour->Load(window_.Options());
  return true;
}

// The settings file, applied line by line through the controls so every handler runs. A file
// that is there but cannot be read starts the program on the defaults; a line that cannot be
// applied stops the reading there, what came before it staying applied. Either is kept for one
// message (ShowStartMessages), since the windows are not shown yet.
void SettingsApplier::LoadSettings(const QString& path) {
  startMessage_.clear();
  const QString file = path.isEmpty() ? SettingsFilePath() : path;
  const QFileInfo info(file);
  if (!info.exists()) return;  // no settings file: the defaults, without a word
  const QString prefix = QStringLiteral("設定ファイル ") + file;
  if (info.isDir()) {
    startMessage_ = prefix + QStringLiteral(" はフォルダです。") + kStartsOnDefaults;
    return;
  }
  if (!info.isFile()) {
    startMessage_ = prefix + QStringLiteral(" は通常のファイルではありません。") + kStartsOnDefaults;
    return;
  }
  if (!info.isReadable()) {
    startMessage_ = prefix + QStringLiteral(" を読めません (読み取りの権限がありません)。") + kStartsOnDefaults;
    return;
  }
  SettingsFileResult r;
  try {
    r = ReadSettingsFile(file.toStdString());
  } catch (const std::exception& e) {
    QString text = QString::fromStdString(e.what());
    if (!text.contains(file)) text = prefix + QStringLiteral(": ") + text;
    startMessage_ = text + QStringLiteral("\n") + kStartsOnDefaults;
    return;
  }
  const QString rest = QStringLiteral("\nこの行から後の設定は読み込まれていません。");
  for (const ControlAssignment& a : r.assignments) {
    try {
      ApplyControlValue(a.control, a.value);
    } catch (const std::exception& e) {
      startMessage_ = QStringLiteral("%1 の %2 行目: 値 \"%3\" を設定できません (%4)")
                          .arg(file)
                          .arg(a.line + 1)
                          .arg(QString::fromStdString(a.value), QString::fromStdString(e.what())) +
                      rest;
      return;
    }
  }
  if (!r.complete) startMessage_ = QString::fromStdString(r.stopReason) + rest;
}

void SettingsApplier::ShowStartMessages() {
  if (startMessage_.isEmpty()) return;
  const std::string text = startMessage_.toStdString();
  startMessage_.clear();
  window_.notifier().Warning(text);
}

std::optional<long long> SettingsApplier::PendingChoice(const std::string& name) const {
  const auto it = pendingChoices_.find(name);
  return it != pendingChoices_.end() ? std::optional<long long>(it->second) : std::nullopt;
}

void SettingsApplier::TakePendingChoices() {
  std::map<std::string, long long> pending;
  pending.swap(pendingChoices_);
  for (const auto& [name, index] : pending) {
    QWidget* w = window_.findChild<QWidget*>(QString::fromStdString(name));
    int count = 0;
    if (auto* g = qobject_cast<RadioGroupWidget*>(w)) count = g->Count();
    else if (auto* cb = qobject_cast<QComboBox*>(w)) count = cb->count();
    if (index < count) {
      ApplyControlValue(name, std::to_string(index));
      continue;
    }
    window_.notifier().Warning(name + "=" + std::to_string(index) + ": 読み込んだデータには " + std::to_string(index) +
                       " 番の項目がありません (0.." + std::to_string(std::max(count - 1, 0)) + ")。この設定は使われませんでした。");
  }
}

}  // namespace corvane
