// An option button: one of a group (the buttons with the same parent) that exclude each other.
#pragma once

#include <QRadioButton>

#include "platform/ControlBase.h"

namespace cps {

// Promises: Click is raised when the button becomes the selected one of its group, by the user
// or by SetValue(true), at once and nested; selecting the selected button again raises nothing.
// SetValue(false) clears the button without raising anything.
class OptionButton : public ControlBase<OptionButton, QRadioButton> {
  Q_OBJECT

 public:
  static constexpr ControlColours kColours{QPalette::WindowText, QPalette::Window,
                                           kColourButtonText, kColourButtonFace};
  static constexpr bool kClickOnMouseUp = false;

  explicit OptionButton(QWidget* parent = nullptr);
  OptionButton(const QString& caption, QWidget* parent);

  bool Value() const { return isChecked(); }
  void SetValue(bool selected);

  QString Caption() const { return text(); }
  void SetCaption(const QString& caption) { setText(caption); }

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
};

}  // namespace cps
