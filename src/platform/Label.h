// A label: a caption the user cannot change.
#pragma once

#include <QLabel>

#include "platform/ControlBase.h"

namespace cps {

// Promises: the caption is shown as plain text (no markup); BackColor fills the label's area
// (the programming window's LED labels); Click is a mouse click on the label.
class Label : public ControlBase<Label, QLabel> {
  Q_OBJECT

 public:
  static constexpr ControlColours kColours{QPalette::WindowText, QPalette::Window,
                                           kColourButtonText, kColourButtonFace};
  static constexpr bool kClickOnMouseUp = true;

  explicit Label(QWidget* parent = nullptr);
  Label(const QString& caption, QWidget* parent);

  QString Caption() const { return text(); }
  void SetCaption(const QString& caption) { setText(caption); }

 signals:
  void Click();
  void DblClick();
  void MouseDown(int button, int shift, double x, double y);
  void MouseUp(int button, int shift, double x, double y);
  void MouseMove(int button, int shift, double x, double y);
};

}  // namespace cps
