// A spin control: two arrow buttons that step a whole-number value, shown in a buddy text box.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "platform/ControlBase.h"

class QToolButton;

namespace cps {

class TextBox;

// Promises:
// - Value lies in Min..Max. SetValue refuses a value outside that range: it returns false and
//   nothing changes (the caller treats it as the run-time error it is). Changing Min or Max
//   never changes Value, even when Value is then outside the range.
// - Every change of Value (SetValue, an arrow button, the Up and Down keys while the spin
//   control has the focus) first rewrites the buddy's text with the value in decimal, which
//   raises the buddy's Change when the text differs, and then raises the spin control's own
//   Change. Setting the value it already has raises nothing.
// - An arrow button steps by Increment and stops at Max or Min (a step that would pass the
//   limit ends on it). Before stepping, a buddy text holding a whole number within Min..Max is
//   taken as the current value, so a value typed or keyed into the buddy is stepped from.
// - One click is one step. A button held with the left mouse button repeats while the mouse
//   really holds it over the button; it lets go the moment any window of the program opens
//   (WindowOpenings), a modal window blocks its window (the window system's notice), a popup
//   takes over, the spin control is hidden or disabled, or the mouse button is up, so a box
//   that a step raises is shown once and the button is never left pressed.
// - A mouse press on either button raises MouseDown before any step, also at a limit. When
//   MouseDown opens a window, that window has taken the press: no step follows.
// - A key raises KeyDown before the Up or Down key steps; a handler that sets the key code to 0
//   stops the step.
class UpDown : public ControlBase<UpDown, QWidget> {
  Q_OBJECT

 public:
  static constexpr ControlColours kColours{QPalette::ButtonText, QPalette::Button,
                                           kColourButtonText, kColourButtonFace};
  static constexpr bool kClickOnMouseUp = false;

  explicit UpDown(QWidget* parent = nullptr);

  int Value() const { return value_; }
  bool SetValue(int value);

  int Min() const { return min_; }
  void SetMin(int min) { min_ = min; }
  int Max() const { return max_; }
  void SetMax(int max) { max_ = max; }
  int Increment() const { return increment_; }
  void SetIncrement(int increment) { increment_ = increment; }

  // The text box that shows the value; nullptr for none.
  TextBox* Buddy() const { return buddy_; }
  void SetBuddy(TextBox* buddy) { buddy_ = buddy; }

  // One step up (+1) or down (-1), as an arrow button makes it.
  void Step(int direction);

 signals:
  void Change();
  void KeyDown(int& keyCode, int shift);
  void GotFocus();
  void LostFocus();
  void MouseDown(int button, int shift, double x, double y);
  void MouseUp(int button, int shift, double x, double y);
  void MouseMove(int button, int shift, double x, double y);

 protected:
  // The arrow buttons fill the control and raise its mouse events (eventFilter); what they
  // pass on to the control is not raised a second time.
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;
  void mousePressEvent(QMouseEvent* e) override { e->accept(); }
  void mouseReleaseEvent(QMouseEvent* e) override { e->accept(); }
  void mouseMoveEvent(QMouseEvent* e) override { e->accept(); }
  void mouseDoubleClickEvent(QMouseEvent* e) override { e->accept(); }
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void TakeValueFromBuddy();
  void PressArrow(QToolButton& arrow, const QMouseEvent& mouse, QPointF pos);
  void RepeatHeldArrow();
  void LetGoForWindow();  // a window opened over the arrow has taken the mouse
  void ReleaseArrow();

  QToolButton* up_;
  QToolButton* down_;
  QToolButton* held_ = nullptr;  // the arrow the left mouse button holds
  QTimer repeat_;                // a child, so that a test can drive its ticks
  bool windowOpened_ = false;    // a window opened since the last press began
  QPointer<TextBox> buddy_;
  int value_ = 0;
  int min_ = 0;
  int max_ = 10;
  int increment_ = 1;
};

}  // namespace cps
