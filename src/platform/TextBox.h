// A one-line text box.
#pragma once

#include <QLineEdit>

#include "platform/ControlBase.h"

namespace cps {

class TextLengthLimit;

// Promises:
// - Change is raised whenever the text becomes different, whether the user typed, pasted or cut
//   it or code set it; it runs at once, nested inside SetText. Setting the same text raises
//   nothing. A Change handler may set the text again; that runs Change again, nested.
// - MaxLength (0 = no limit) limits what the user types or pastes (a paste is cut to fit) but
//   never text set from code, which is kept whole. Use SetText, not QLineEdit::setText, which
//   the limit would cut.
// - Locked: the user cannot change the text; keys still raise KeyDown.
// - Click is a mouse click on the box.
class TextBox : public ControlBase<TextBox, QLineEdit> {
  Q_OBJECT

 public:
  static constexpr ControlColours kColours{QPalette::Text, QPalette::Base, kColourWindowText,
                                           kColourWindowBackground};
  static constexpr bool kClickOnMouseUp = true;

  explicit TextBox(QWidget* parent = nullptr);

  QString Text() const { return text(); }
  void SetText(const QString& text);

  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int maxLength);

  bool Locked() const { return isReadOnly(); }
  void SetLocked(bool locked) { setReadOnly(locked); }

  // The caret position (start of the selection), 0 = before the first character.
  int SelStart() const;
  void SetSelStart(int position);

 signals:
  void Change();
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
  friend class TextLengthLimit;
  void OnTextChanged(const QString& text);

  TextLengthLimit* limit_;
  int maxLength_ = 0;
  int codeAssignments_ = 0;  // > 0 while SetText runs: the limit does not apply
  QString lastText_;         // the text Change last reported
};

}  // namespace cps
