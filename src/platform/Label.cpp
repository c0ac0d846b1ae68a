#include "platform/Label.h"

namespace cps {

Label::Label(QWidget* parent) : ControlBase<Label, QLabel>(parent) { setTextFormat(Qt::PlainText); }

Label::Label(const QString& caption, QWidget* parent) : Label(parent) { setText(caption); }

}  // namespace cps
