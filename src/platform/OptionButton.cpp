#include "platform/OptionButton.h"

namespace cps {

OptionButton::OptionButton(QWidget* parent) : ControlBase<OptionButton, QRadioButton>(parent) {
  connect(this, &QAbstractButton::toggled, this, [this](bool checked) {
    if (checked) emit Click();
  });
}

OptionButton::OptionButton(const QString& caption, QWidget* parent) : OptionButton(parent) {
  setText(caption);
}

void OptionButton::SetValue(bool selected) {
  if (selected == isChecked()) return;
  if (selected) {
    setChecked(true);  // the group clears the others; Click follows through toggled
    return;
  }
  // An exclusive group will not let its checked button be cleared: step out of it for a moment.
  bool exclusive = autoExclusive();
  setAutoExclusive(false);
  setChecked(false);
  setAutoExclusive(exclusive);
}

}  // namespace cps
