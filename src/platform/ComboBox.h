// A drop-down list: the user picks one entry and cannot type.
#pragma once

#include <QComboBox>

#include "platform/ControlBase.h"

namespace cps {

// Promises:
// - ListIndex is the selected entry, -1 for none. Filling (AddItem), removing (RemoveItem) and
//   clearing (Clear) raise nothing and select nothing: a new list stays at -1 (unlike a plain
//   QComboBox, which selects its first entry), and a selection stays on its entry.
// - Click is raised whenever ListIndex changes: by the user's choice or by SetListIndex, at once
//   and nested. Setting the index the list already has raises nothing.
// - SetListIndex refuses an index outside -1..ListCount-1 (returns false, nothing changes).
class ComboBox : public ControlBase<ComboBox, QComboBox> {
  Q_OBJECT

 public:
  static constexpr ControlColours kColours{QPalette::Text, QPalette::Base, kColourWindowText,
                                           kColourWindowBackground};
  static constexpr bool kClickOnMouseUp = false;

  explicit ComboBox(QWidget* parent = nullptr);

  // Adds text at the end, or before entry index when index is 0..ListCount-1.
  void AddItem(const QString& text, int index = -1);
  // Removes entry index; false when there is no such entry.
  bool RemoveItem(int index);
  void Clear();

  int ListCount() const { return count(); }
  QString List(int index) const { return itemText(index); }  // empty outside the list
  QString Text() const { return listIndex_ < 0 ? QString() : itemText(listIndex_); }

  int ListIndex() const { return listIndex_; }
  bool SetListIndex(int index);

 signals:
  void Click();
  void KeyDown(int& keyCode, int shift);
  void KeyPress(int& keyAscii);
  void KeyUp(int& keyCode, int shift);
  void GotFocus();
  void LostFocus();

 private:
  void OnCurrentIndexChanged(int index);
  void ShowListIndexSilently();

  int listIndex_ = -1;
  bool filling_ = false;  // the list itself is changing: Qt's index moves are not choices
};

}  // namespace cps
