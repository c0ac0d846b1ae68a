#include "platform/ListBox.h"

#include <QSignalBlocker>

namespace cps {

ListBox::ListBox(QWidget* parent) : ControlBase<ListBox, QListWidget>(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  viewport()->setMouseTracking(true);
  connect(this, &QListWidget::itemSelectionChanged, this, &ListBox::OnSelectionChanged);
}

void ListBox::AddItem(const QString& text, int index) {
  int at = (index >= 0 && index < count()) ? index : count();
  if (sorted_) {
    at = 0;
    while (at < count() && QString::compare(item(at)->text(), text, Qt::CaseInsensitive) <= 0) {
      ++at;
    }
  }
  filling_ = true;
  insertItem(at, text);
  filling_ = false;
  if (listIndex_ >= at) ++listIndex_;  // the selection stays on its entry
  SelectSilently(listIndex_);
}

bool ListBox::RemoveItem(int index) {
  if (index < 0 || index >= count()) return false;
  filling_ = true;
  delete takeItem(index);
  filling_ = false;
  if (listIndex_ == index) {
    listIndex_ = -1;
  } else if (listIndex_ > index) {
    --listIndex_;
  }
  SelectSilently(listIndex_);
  return true;
}

void ListBox::Clear() {
  filling_ = true;
  clear();
  filling_ = false;
  listIndex_ = -1;
}

QString ListBox::List(int index) const {
  if (index < 0 || index >= count()) return QString();
  return item(index)->text();
}

bool ListBox::SetListIndex(int index) {
  if (index < -1 || index >= count()) return false;
  if (index == listIndex_) return true;
  if (index == -1) {
    clearSelection();  // raises Click through itemSelectionChanged, nested
  } else {
    setCurrentRow(index);
  }
  return true;
}

void ListBox::OnSelectionChanged() {
  if (filling_) return;
  int row = SelectedRow();
  if (row == listIndex_) return;
  listIndex_ = row;
  emit Click();
}

int ListBox::SelectedRow() const {
  const QModelIndexList selected = selectionModel()->selectedIndexes();
  return selected.isEmpty() ? -1 : selected.first().row();
}

void ListBox::SelectSilently(int index) {
  if (SelectedRow() == index) return;
  QSignalBlocker blocker(this);
  if (index < 0) {
    clearSelection();
  } else {
    setCurrentRow(index);
  }
}

}  // namespace cps
