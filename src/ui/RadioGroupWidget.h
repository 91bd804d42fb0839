// A titled group of radio buttons laid out in columns, addressed by item index. Setting the index
// from code notifies exactly like a click, so handlers run however the choice was made.
#pragma once
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>
#include <vector>

namespace corvane {

class RadioGroupWidget : public QGroupBox {
  Q_OBJECT
  Q_PROPERTY(int itemIndex READ ItemIndex WRITE SetItemIndex NOTIFY Clicked)

 public:
  explicit RadioGroupWidget(const QString& title, int columns, QWidget* parent = nullptr);

  // Replaces every item; afterwards nothing is selected (index -1) and no notification is sent.
  void SetItems(const QStringList& items);
  void AddItem(const QString& item);
  // Removes the last item (its selection goes with it).
  void DeleteLastItem();
  QStringList Items() const;
  int Count() const { return static_cast<int>(buttons_.size()); }
  int ItemIndex() const;
  // Selects item `index` (-1 clears); sends Clicked when the selection changes.
  void SetItemIndex(int index);
  QRadioButton* Button(int index) const;

 signals:
  void Clicked();

 private:
  void Relayout();

  int columns_;
  QGridLayout* grid_;
  QButtonGroup* group_;
  std::vector<QRadioButton*> buttons_;
  int lastIndex_ = -1;
};

}  // namespace corvane
