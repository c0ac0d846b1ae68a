#include "platform/ComboBox.h"

#include <QSignalBlocker>

namespace cps {

ComboBox::ComboBox(QWidget* parent) : ControlBase<ComboBox, QComboBox>(parent) {
  setEditable(false);
  connect(this, &QComboBox::currentIndexChanged, this, &ComboBox::OnCurrentIndexChanged);
}

void ComboBox::AddItem(const QString& text, int index) {
  filling_ = true;
  if (index >= 0 && index < count()) {
    insertItem(index, text);
    if (listIndex_ >= index) ++listIndex_;  // the selection stays on its entry
  } else {
    addItem(text);
  }
  filling_ = false;
  ShowListIndexSilently();
}

bool ComboBox::RemoveItem(int index) {
  if (index < 0 || index >= count()) return false;
  filling_ = true;
  removeItem(index);
  filling_ = false;
  if (listIndex_ == index) {
    listIndex_ = -1;
  } else if (listIndex_ > index) {
    --listIndex_;
  }
  ShowListIndexSilently();
  return true;
}

void ComboBox::Clear() {
  filling_ = true;
  clear();
  filling_ = false;
  listIndex_ = -1;
  ShowListIndexSilently();
}

bool ComboBox::SetListIndex(int index) {
  if (index < -1 || index >= count()) return false;
  if (index == listIndex_) return true;
  setCurrentIndex(index);  // raises Click through currentIndexChanged, nested
  return true;
}

void ComboBox::OnCurrentIndexChanged(int index) {
  if (filling_ || index == listIndex_) return;
  listIndex_ = index;
  emit Click();
}

void ComboBox::ShowListIndexSilently() {
  // A plain QComboBox selects its first entry by itself; show what ListIndex says instead.
  if (currentIndex() == listIndex_) return;
  QSignalBlocker blocker(this);
  setCurrentIndex(listIndex_);
}

}  // namespace cps
