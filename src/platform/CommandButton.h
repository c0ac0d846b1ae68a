// A push button.
#pragma once

#include <QPushButton>

#include "platform/ControlBase.h"

namespace cps {

// Promises: Click is raised when the user presses the button (mouse, Space, or Enter while it
// has the focus) and by Press() from code.
class CommandButton : public ControlBase<CommandButton, QPushButton> {
  Q_OBJECT

 public:
  static constexpr ControlColours kColours{QPalette::ButtonText, QPalette::Button,
                                           kColourButtonText, kColourButtonFace};
  static constexpr bool kClickOnMouseUp = false;

  explicit CommandButton(QWidget* parent = nullptr);
  CommandButton(const QString& caption, QWidget* parent);

  QString Caption() const { return text(); }
  void SetCaption(const QString& caption) { setText(caption); }

  // Presses the button from code: raises Click as a user press would.
  void Press() { click(); }

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
  void keyPressEvent(QKeyEvent* e) override;
};

}  // namespace cps
