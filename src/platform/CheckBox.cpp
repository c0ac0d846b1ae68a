#include "platform/CheckBox.h"

namespace cps {
namespace {

int ValueOf(int state) {
  if (state == Qt::Checked) return kChecked;
  if (state == Qt::PartiallyChecked) return kGrayed;
  return kUnchecked;
}

Qt::CheckState StateOf(int value) {
  if (value == kChecked) return Qt::Checked;
  if (value == kGrayed) return Qt::PartiallyChecked;
  return Qt::Unchecked;
}

}  // namespace

CheckBox::CheckBox(QWidget* parent) : ControlBase<CheckBox, QCheckBox>(parent) {
  setTristate(true);  // 2 (greyed) can be set from code
  connect(this, &QCheckBox::stateChanged, this, &CheckBox::OnStateChanged);
}

CheckBox::CheckBox(const QString& caption, QWidget* parent) : CheckBox(parent) { setText(caption); }

bool CheckBox::SetValue(int value) {
  if (value != kUnchecked && value != kChecked && value != kGrayed) return false;
  setCheckState(StateOf(value));  // raises Click through stateChanged when it changes
  return true;
}

void CheckBox::nextCheckState() {
  // The user toggles between checked and unchecked; a greyed box becomes checked.
  setCheckState(value_ == kChecked ? Qt::Unchecked : Qt::Checked);
}

void CheckBox::OnStateChanged(int state) {
  int value = ValueOf(state);
  if (value == value_) return;
  value_ = value;
  emit Click();
}

}  // namespace cps
