// A check box with the values 0 (unchecked), 1 (checked) and 2 (greyed).
#pragma once

#include <QCheckBox>

#include "platform/ControlBase.h"

namespace cps {

constexpr int kUnchecked = 0;
constexpr int kChecked = 1;
constexpr int kGrayed = 2;

// Promises:
// - Click is raised whenever Value changes, by the user or by code, at once and nested inside
//   SetValue; setting the value it already has raises nothing.
// - A user click (or Space) makes 1 out of 0 or 2 and 0 out of 1; the user never makes 2.
// - 2 shows the box greyed (partially checked).
// - SetValue refuses values other than 0, 1, 2: it returns false and changes nothing.
class CheckBox : public ControlBase<CheckBox, QCheckBox> {
  Q_OBJECT

 public:
  static constexpr ControlColours kColours{QPalette::WindowText, QPalette::Window,
                                           kColourButtonText, kColourButtonFace};
  static constexpr bool kClickOnMouseUp = false;

  explicit CheckBox(QWidget* parent = nullptr);
  CheckBox(const QString& caption, QWidget* parent);

  int Value() const { return value_; }
  bool SetValue(int value);

  QString Caption() const { return text(); }
  void SetCaption(const QString& caption) { setText(caption); }

 signals:
  void Click();
  void KeyDown(int& keyCode, int shift);
  void KeyPress(int& keyAscii);
  void KeyUp(int& keyCode, int shift);
  void GotFocus();
  void LostFocus();
  void MouseDown(int button, int shift, double x, double y);
  void MouseUp(int button, int shift, double x, double y);
  void MouseMove(int button, int shift, double x, double y);

 protected:
  void nextCheckState() override;

 private:
  void OnStateChanged(int state);

  int value_ = kUnchecked;
};

}  // namespace cps
