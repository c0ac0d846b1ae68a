// A frame: a captioned box that groups controls; its children are placed relative to it.
#pragma once

#include <QGroupBox>

#include "platform/ControlBase.h"

namespace cps {

// Promises: MouseMove is raised while the pointer is over the frame itself, not over one of its
// controls; disabling the frame makes its controls unusable without changing their own
// Enabled flags.
class Frame : public ControlBase<Frame, QGroupBox> {
  Q_OBJECT

 public:
  static constexpr ControlColours kColours{QPalette::WindowText, QPalette::Window,
                                           kColourButtonText, kColourButtonFace};
  static constexpr bool kClickOnMouseUp = true;

  explicit Frame(QWidget* parent = nullptr);
  Frame(const QString& caption, QWidget* parent);

  QString Caption() const { return title(); }
  void SetCaption(const QString& caption) { setTitle(caption); }

 signals:
  void Click();
  void DblClick();
  void MouseDown(int button, int shift, double x, double y);
  void MouseUp(int button, int shift, double x, double y);
  void MouseMove(int button, int shift, double x, double y);
};

}  // namespace cps
