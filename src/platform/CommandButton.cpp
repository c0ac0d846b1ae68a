#include "platform/CommandButton.h"

namespace cps {

CommandButton::CommandButton(QWidget* parent) : ControlBase<CommandButton, QPushButton>(parent) {
  setAutoDefault(false);
  connect(this, &QAbstractButton::clicked, this, [this] { emit Click(); });
}

CommandButton::CommandButton(const QString& caption, QWidget* parent) : CommandButton(parent) {
  setText(caption);
}

void CommandButton::keyPressEvent(QKeyEvent* e) {
  bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  if (!enter) {
    ControlBase::keyPressEvent(e);
    return;
  }
  // Enter presses the focused button, after its KeyDown and KeyPress have had their say.
  QPointer<QWidget> alive(this);
  e->accept();
  if (!RaiseKeyDown(e) || !alive) return;
  if (RaiseKeyPress(e) == 0 || !alive) return;
  click();
}

}  // namespace cps
