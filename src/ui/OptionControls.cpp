#include "ui/OptionControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <algorithm>

#include "base/Errors.h"
#include "scene/ProgramOptions.h"
#include "ui/ColourSwatchWidget.h"
#include "ui/RadioGroupWidget.h"

namespace corvane {
namespace {

bool IsOptionControl(const QWidget* w) {
  return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QSpinBox*>(w) || qobject_cast<const QSlider*>(w) ||
         qobject_cast<const QComboBox*>(w) || qobject_cast<const RadioGroupWidget*>(w) ||
         qobject_cast<const ColourSwatchWidget*>(w) || qobject_cast<const QLineEdit*>(w);
}

// The same number in both texts (an edit box keeps "1.40" when the state says 1.4).
bool SameNumber(const QString& shown, std::string_view value) {
  try {
    return ParseDoubleValue("", shown.toStdString()) == ParseDoubleValue("", value);
  } catch (const CorvaneError&) {
    return false;
  }
}

}  // namespace

void OptionControls::Collect(QWidget* root, std::initializer_list<std::string_view> elsewhere) {
  for (QWidget* w : root->findChildren<QWidget*>()) {
    const std::string name = w->objectName().toStdString();
    if (std::find(elsewhere.begin(), elsewhere.end(), name) == elsewhere.end()) Add(w);
  }
}

void OptionControls::Add(QWidget* control) {
  const std::string name = control->objectName().toStdString();
  if (!IsOptionControl(control) || !ProgramOptionTable().Has(name) || Find(name)) return;
  controls_.emplace_back(name, control);
}

QWidget* OptionControls::Find(std::string_view name) const {
  for (const auto& [n, w] : controls_)
    if (n == name) return w;
  return nullptr;
}

void ShowOptionText(QWidget* w, std::string_view value, bool notify) {
  const QSignalBlocker block(notify ? nullptr : w);
  const std::string name = w->objectName().toStdString();
  auto index = [&] { return ParseIntegerValue(name, value); };
  if (auto* r = qobject_cast<QRadioButton*>(w)) {
    if (ParseBoolValue(name, value)) r->setChecked(true);  // the group unchecks the others
  } else if (auto* c = qobject_cast<QCheckBox*>(w)) {
    c->setChecked(ParseBoolValue(name, value));
  } else if (auto* s = qobject_cast<QSpinBox*>(w)) {
    s->setValue(static_cast<int>(std::clamp<long long>(index(), s->minimum(), s->maximum())));
  } else if (auto* t = qobject_cast<QSlider*>(w)) {
    t->setValue(static_cast<int>(std::clamp<long long>(index(), t->minimum(), t->maximum())));
  } else if (auto* cb = qobject_cast<QComboBox*>(w)) {
    const long long n = index();
    if (n >= 0 && n < cb->count()) cb->setCurrentIndex(static_cast<int>(n));
  } else if (auto* g = qobject_cast<RadioGroupWidget*>(w)) {
    const long long n = index();
    if (n >= 0 && n < g->Count()) g->SetItemIndex(static_cast<int>(n));
  } else if (auto* sw = qobject_cast<ColourSwatchWidget*>(w)) {
    sw->SetBrushColour(ParseColourValue(name, value));
  } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
    const QString text = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
    if (e->text() != text && (notify || !SameNumber(e->text(), value))) e->setText(text);
  }
}

void OptionControls::Load(const ProgramState& state) const {
  const auto& table = ProgramOptionTable();
  for (const auto& [name, w] : controls_) {
    auto word = state.wordsInNumberBoxes.find(name);
    ShowOptionText(w, word != state.wordsInNumberBoxes.end() ? word->second : table.Get(state.scene.options, name));
  }
}

std::optional<std::string> OptionControls::ValueOf(const QWidget* w) {
  if (auto* r = qobject_cast<const QRadioButton*>(w)) {
    if (!r->isChecked()) return std::nullopt;
    return "1";
  }
  if (auto* c = qobject_cast<const QCheckBox*>(w)) return FormatBoolValue(c->isChecked());
  if (auto* s = qobject_cast<const QSpinBox*>(w)) return std::to_string(s->value());
  if (auto* t = qobject_cast<const QSlider*>(w)) return std::to_string(t->value());
  if (auto* cb = qobject_cast<const QComboBox*>(w)) return std::to_string(cb->currentIndex());
  if (auto* g = qobject_cast<const RadioGroupWidget*>(w)) return std::to_string(std::max(g->ItemIndex(), 0));
  if (auto* sw = qobject_cast<const ColourSwatchWidget*>(w)) return FormatColourValue(sw->BrushColour());
  if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text().toStdString();
  return std::nullopt;
}

void OptionControls::StoreValue(ProgramState& state, const std::string& name, const std::string& value, bool numberBox) {
  const auto& table = ProgramOptionTable();
  if (!numberBox) {
    table.Apply(state.scene.options, name, value);
    return;
  }
  try {
    table.Apply(state.scene.options, name, value);
    state.wordsInNumberBoxes.erase(name);
  } catch (const CorvaneError&) {
    state.wordsInNumberBoxes[name] = value;
  }
}

void OptionControls::Store(QWidget* w, ProgramState& state) {
  const std::string name = w->objectName().toStdString();
  if (!ProgramOptionTable().Has(name)) return;
  if (std::optional<std::string> value = ValueOf(w)) StoreValue(state, name, *value, qobject_cast<QLineEdit*>(w));
}

// Check boxes, radio buttons, sliders, spin boxes and lists report at once; edit boxes as typed.
void OptionControls::Connect(QObject* context, const std::function<void(QWidget*, const std::string&)>& edited) const {
  for (const auto& [name, w] : controls_) {
    // The value is taken now: a handler held back while the worker runs must not see a control
    // the state has been shown in again meanwhile.
    auto report = [edited, w = w] {
      if (std::optional<std::string> value = ValueOf(w)) edited(w, *value);
    };
    if (auto* b = qobject_cast<QAbstractButton*>(w)) QObject::connect(b, &QAbstractButton::toggled, context, report);
    else if (auto* s = qobject_cast<QSpinBox*>(w)) QObject::connect(s, &QSpinBox::valueChanged, context, report);
    else if (auto* t = qobject_cast<QSlider*>(w)) QObject::connect(t, &QSlider::valueChanged, context, report);
    else if (auto* cb = qobject_cast<QComboBox*>(w)) QObject::connect(cb, &QComboBox::currentIndexChanged, context, report);
    else if (auto* g = qobject_cast<RadioGroupWidget*>(w)) QObject::connect(g, &RadioGroupWidget::Clicked, context, report);
    else if (auto* sw = qobject_cast<ColourSwatchWidget*>(w)) QObject::connect(sw, &ColourSwatchWidget::Changed, context, report);
    else if (auto* e = qobject_cast<QLineEdit*>(w)) QObject::connect(e, &QLineEdit::textChanged, context, report);
  }
}

bool SetControlAsUser(QWidget* w, std::string_view value) {
  if (!w || !IsOptionControl(w)) return false;
  ShowOptionText(w, value, true);
  return true;
}

int ChoiceCount(const QWidget* w) {
  if (auto* cb = qobject_cast<const QComboBox*>(w)) return cb->count();
  if (auto* g = qobject_cast<const RadioGroupWidget*>(w)) return g->Count();
  return -1;
}

}  // namespace corvane
