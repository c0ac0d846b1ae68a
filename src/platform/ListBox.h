// A list box with one selectable entry.
#pragma once

#include <QListWidget>

#include "platform/ControlBase.h"

namespace cps {

// Promises:
// - ListIndex is the selected entry, -1 for none. Adding, removing and clearing entries raise
//   nothing and select nothing; a selection stays on its entry, and removing the selected entry
//   leaves no selection. Taking the focus selects nothing either.
// - Click is raised whenever ListIndex changes: by the user (mouse or keys) or by SetListIndex,
//   at once and nested; setting the index the list already has raises nothing.
// - SetListIndex refuses an index outside -1..ListCount-1 (returns false, nothing changes);
//   -1 clears the selection.
// - Sorted: AddItem puts each new entry in its place in ascending order of the texts
//   (letter case ignored) instead of where asked.
class ListBox : public ControlBase<ListBox, QListWidget> {
  Q_OBJECT

 public:
  static constexpr ControlColours kColours{QPalette::Text, QPalette::Base, kColourWindowText,
                                           kColourWindowBackground};
  static constexpr bool kClickOnMouseUp = false;

  explicit ListBox(QWidget* parent = nullptr);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted) { sorted_ = sorted; }

  // Adds text at the end, or before entry index when index is 0..ListCount-1 (unless Sorted).
  void AddItem(const QString& text, int index = -1);
  // Removes entry index; false when there is no such entry.
  bool RemoveItem(int index);
  void Clear();

  int ListCount() const { return count(); }
  QString List(int index) const;  // empty outside the list
  QString Text() const { return List(listIndex_); }

  int ListIndex() const { return listIndex_; }
  bool SetListIndex(int index);

 signals:
  void Click();
  void DblClick();
  void KeyDown(int& keyCode, int shift);
  void KeyPress(int& keyAscii);
  void KeyUp(int& keyCode, int shift);
  void GotFocus();
  void LostFocus();
  void MouseDown(int button, int shift, double x, double y);
  void MouseUp(int button, int shift, double x, double y);
  void MouseMove(int button, int shift, double x, double y);

 private:
  void OnSelectionChanged();
  int SelectedRow() const;
  void SelectSilently(int index);

  int listIndex_ = -1;
  bool sorted_ = false;
  bool filling_ = false;  // the list itself is changing: selection moves are not choices
};

}  // namespace cps
