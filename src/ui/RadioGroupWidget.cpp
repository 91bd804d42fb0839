#include "ui/RadioGroupWidget.h"

namespace corvane {

// Builds an empty group whose items will fill `columns` columns.
RadioGroupWidget::RadioGroupWidget(const QString& title, int columns, QWidget* parent)
    : QGroupBox(title, parent), columns_(columns < 1 ? 1 : columns), grid_(new QGridLayout(this)),
      group_(new QButtonGroup(this)) {
  grid_->setContentsMargins(6, 4, 6, 4);
  grid_->setVerticalSpacing(2);
  group_->setExclusive(true);
  connect(group_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (!checked) return;
    int now = ItemIndex();
    if (now != lastIndex_) {
      lastIndex_ = now;
      emit Clicked();
    }
  });
}

// Places the buttons column by column, top to bottom, as a two-column radio group reads.
void RadioGroupWidget::Relayout() {
  int n = Count();
  int rows = (n + columns_ - 1) / columns_;
  if (rows < 1) rows = 1;
  for (int k = 0; k < n; ++k) {
    grid_->removeWidget(buttons_[static_cast<std::size_t>(k)]);
    grid_->addWidget(buttons_[static_cast<std::size_t>(k)], k % rows, k / rows);
  }
}

// Replaces the items without selecting any.
void RadioGroupWidget::SetItems(const QStringList& items) {
  for (QRadioButton* b : buttons_) {
    group_->removeButton(b);
    delete b;
  }
  buttons_.clear();
  lastIndex_ = -1;
  for (const QString& s : items) AddItem(s);
}

// Appends one item at the end.
void RadioGroupWidget::AddItem(const QString& item) {
  auto* b = new QRadioButton(item, this);
  group_->addButton(b, Count());
  buttons_.push_back(b);
  Relayout();
}

// Drops the last item; a selection on it is lost.
void RadioGroupWidget::DeleteLastItem() {
  if (buttons_.empty()) return;
  QRadioButton* b = buttons_.back();
  if (b->isChecked()) lastIndex_ = -1;
  group_->removeButton(b);
  buttons_.pop_back();
  delete b;
  Relayout();
}

// The item captions in order.
QStringList RadioGroupWidget::Items() const {
  QStringList out;
  for (QRadioButton* b : buttons_) out << b->text();
  return out;
}

// Index of the checked item, -1 when none is.
int RadioGroupWidget::ItemIndex() const {
  for (int k = 0; k < Count(); ++k)
    if (buttons_[static_cast<std::size_t>(k)]->isChecked()) return k;
  return -1;
}

// Checks item `index` or clears the choice; a change notifies like a click.
void RadioGroupWidget::SetItemIndex(int index) {
  if (index >= 0 && index < Count()) {
    buttons_[static_cast<std::size_t>(index)]->setChecked(true);
    return;
  }
  int old = ItemIndex();
  if (old < 0) return;
  group_->setExclusive(false);
  buttons_[static_cast<std::size_t>(old)]->setChecked(false);
  group_->setExclusive(true);
  lastIndex_ = -1;
}

QRadioButton* RadioGroupWidget::Button(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return buttons_[static_cast<std::size_t>(index)];
}

}  // namespace corvane
