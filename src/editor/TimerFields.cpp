// The six numeric fields of the settings tab: five times and the priority scan channel. Each
// shows one image byte times its divisor in a read-only box with a spin control; the Up and Down
// keys and the spin control step it, and every accepted step is stored at once.
#include <QMetaObject>
#include <algorithm>
#include <array>
#include <functional>

#include "editor/frmMain.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/CheckBox.h"
#include "platform/Dialogs.h"
#include "platform/KeyCodes.h"
#include "platform/ListBox.h"
#include "platform/TextBox.h"
#include "platform/TextConv.h"
#include "platform/UpDown.h"

namespace {

// shown value = stored byte x divisor; a key steps by the divisor within [low, high].
struct TimeField {
  cps::TextBox* FrmMain::*box;
  cps::UpDown* FrmMain::*spin;
  int byte;
  int divisor;
  int low;
  int high;
};

constexpr TimeField kTotTime{
    &FrmMain::txtTotTime, &FrmMain::udTotTime, layout::kTotTime, 10, 10, 600};
constexpr TimeField kTotPenaltyTime{
    &FrmMain::txtTotPenaltyTime, &FrmMain::udTotPenaltyTime, layout::kTotPenaltyTime, 1, 1, 10};
constexpr TimeField kScanSpeedTime{
    &FrmMain::txtScanSpeedTime, &FrmMain::udScanSpeedTime, layout::kScanSpeedTime, 10, 50, 500};
constexpr TimeField kScanDelayTime{
    &FrmMain::txtScanDelayTime, &FrmMain::udScanDelayTime, layout::kScanDelayTime, 500, 500, 9500};
constexpr TimeField kLookBackTime{
    &FrmMain::txtLookBackTime, &FrmMain::udLookBackTime, layout::kLookBackTime, 250, 750, 5000};

// The priority channel's keys step 1 within 1..16 whatever the channel count; the box's Change
// clamps to the count.
constexpr int kPrioLow = 1;
constexpr int kPrioHigh = 16;
constexpr int kPrioStep = 1;

// 23 blanks before "Error!": the priority box's own wording of the warning.
const QString kPrioChannelOutsideScanList = QStringLiteral(
    "                       Error!  \r\n\r\nPrio. Scan Ch. No. not in active scan list   ");

int BoxValue(const cps::TextBox& box) {
  return static_cast<int>(cps::RoundHalfEven(cps::NumericPrefix(box.Text())));
}

uint8_t ToByte(double value) {
  return static_cast<uint8_t>(std::clamp<int64_t>(cps::RoundHalfEven(value), 0, 255));
}

// The caret goes behind the last character now, and once more after the running handler has
// returned (what an End key queued for the box would do). Only the box itself is moved: an End
// key would reach whichever control has the focus, a list or the channel grid included.
void QueueCaretToEnd(cps::TextBox& box) {
  QMetaObject::invokeMethod(
      &box, [&box] { box.SetSelStart(static_cast<int>(box.Text().size())); }, Qt::QueuedConnection);
}

void CaretToEnd(cps::TextBox& box) {
  box.SetSelStart(static_cast<int>(box.Text().size()));
  QueueCaretToEnd(box);
}

std::array<cps::TextBox*, 6> ToneBoxes(const FrmMain& f) {
  return {f.txtTKS_RxFrequency[0], f.txtTKS_RxFrequency[1], f.txtTKS_RxFrequency[2],
          f.txtTKS_TxFrequency[0], f.txtTKS_TxFrequency[1], f.txtTKS_TxFrequency[2]};
}

// No field stores while a user tone box is empty: the tones are being typed and are checked
// before anything else is taken from the editor.
bool TonesFilled(const FrmMain& f) {
  for (const cps::TextBox* box : ToneBoxes(f)) {
    if (box->Text().isEmpty()) return false;
  }
  return true;
}

cps::TextBox* FirstEmptyToneBox(const FrmMain& f) {
  for (cps::TextBox* box : ToneBoxes(f)) {
    if (box->Text().isEmpty()) return box;
  }
  return nullptr;
}

// While a tone box is empty the box walks back towards the stored byte, one step per nested
// Change; true while it is still walking (the nested runs do the rest).
bool WalkTowardsStored(cps::TextBox& box, int value, int divisor, int step, int stored) {
  const double shown = static_cast<double>(value) / divisor;
  if (shown < stored) {
    box.SetText(cps::DecimalText(value + step));
    return true;
  }
  if (shown > stored) {
    box.SetText(cps::DecimalText(value - step));
    return true;
  }
  return false;
}

void TimeFieldChange(FrmMain& f, const TimeField& field) {
  cps::TextBox& box = *(f.*field.box);
  const int value = BoxValue(box);
  if (!TonesFilled(f) &&
      WalkTowardsStored(box, value, field.divisor, field.divisor, CodeplugImage[field.byte])) {
    return;
  }
  CaretToEnd(box);
  CodeplugImage[field.byte] = ToByte(static_cast<double>(value) / field.divisor);
}

void TimeSpinChange(FrmMain& f, const TimeField& field) {
  if (!TonesFilled(f)) return;
  CodeplugImage[field.byte] = ToByte(static_cast<double>((f.*field.spin)->Value()) / field.divisor);
}

// A key step that changes the codeplug marks it as changed, so the save question is never
// skipped after one.
void StepByKey(int byte, const std::function<void()>& step) {
  const uint8_t before = CodeplugImage[byte];
  step();
  if (CodeplugImage[byte] != before) DataModified = true;
}

void TimeFieldKeyDown(FrmMain& f, const TimeField& field, int keyCode) {
  if (keyCode != cps::kKeyUp && keyCode != cps::kKeyDown) return;
  cps::TextBox& box = *(f.*field.box);
  StepByKey(field.byte, [&] {
    const int value = BoxValue(box);
    if (keyCode == cps::kKeyUp) {
      if (value >= field.high) {
        box.SetText(cps::DecimalText(field.high));
        QueueCaretToEnd(box);
      } else {
        box.SetText(cps::DecimalText(value + field.divisor));
      }
    } else {
      box.SetText(cps::DecimalText(value <= field.low ? field.low : value - field.divisor));
    }
  });
}

void SpinMouseDown(cps::UpDown& spin) {
  spin.SetFocus();
  DataModified = true;
}

// The press leaves the focus on the spin control, whose Up and Down keys then step it as its
// arrows do. They mark the codeplug as changed as the press does: a save may have cleared the
// press's mark since.
void SpinKeyDown(int& keyCode, int /*shift*/) {
  if (keyCode == cps::kKeyUp || keyCode == cps::kKeyDown) DataModified = true;
}

}  // namespace

void FrmMain::ConnectTimerFieldHandlers() {
  struct Box {
    cps::TextBox* box;
    void (FrmMain::*change)();
    void (FrmMain::*keyDown)(int&, int);
  };
  const Box boxes[] = {
      {txtTotTime, &FrmMain::txtTotTime_Change, &FrmMain::txtTotTime_KeyDown},
      {txtTotPenaltyTime, &FrmMain::txtTotPenaltyTime_Change, &FrmMain::txtTotPenaltyTime_KeyDown},
      {txtScanSpeedTime, &FrmMain::txtScanSpeedTime_Change, &FrmMain::txtScanSpeedTime_KeyDown},
      {txtScanDelayTime, &FrmMain::txtScanDelayTime_Change, &FrmMain::txtScanDelayTime_KeyDown},
      {txtLookBackTime, &FrmMain::txtLookBackTime_Change, &FrmMain::txtLookBackTime_KeyDown},
      {txtPrioScanChNo, &FrmMain::txtPrioScanChNo_Change, &FrmMain::txtPrioScanChNo_KeyDown},
  };
  for (const Box& b : boxes) {
    connect(b.box, &cps::TextBox::Change, this, b.change);
    connect(b.box, &cps::TextBox::KeyDown, this, b.keyDown);
  }
  struct Spin {
    cps::UpDown* spin;
    void (FrmMain::*change)();  // none for the priority channel: it reaches the image by its box
    void (FrmMain::*mouseDown)(int, int, double, double);
  };
  const Spin spins[] = {
      {udTotTime, &FrmMain::udTotTime_Change, &FrmMain::udTotTime_MouseDown},
      {udTotPenaltyTime, &FrmMain::udTotPenaltyTime_Change, &FrmMain::udTotPenaltyTime_MouseDown},
      {udScanSpeedTime, &FrmMain::udScanSpeedTime_Change, &FrmMain::udScanSpeedTime_MouseDown},
      {udScanDelayTime, &FrmMain::udScanDelayTime_Change, &FrmMain::udScanDelayTime_MouseDown},
      {udLookBackTime, &FrmMain::udLookBackTime_Change, &FrmMain::udLookBackTime_MouseDown},
      {udPrioScanChNo, nullptr, &FrmMain::udPrioScanChNo_MouseDown},
  };
  for (const Spin& s : spins) {
    if (s.change != nullptr) connect(s.spin, &cps::UpDown::Change, this, s.change);
    connect(s.spin, &cps::UpDown::MouseDown, this, s.mouseDown);
    connect(s.spin, &cps::UpDown::KeyDown, this, &SpinKeyDown);
  }
}

// --- The five time fields
// -------------------------------------------------------------------------

void FrmMain::txtTotTime_Change() { TimeFieldChange(*this, kTotTime); }
void FrmMain::txtTotPenaltyTime_Change() { TimeFieldChange(*this, kTotPenaltyTime); }
void FrmMain::txtScanSpeedTime_Change() { TimeFieldChange(*this, kScanSpeedTime); }
void FrmMain::txtScanDelayTime_Change() { TimeFieldChange(*this, kScanDelayTime); }
void FrmMain::txtLookBackTime_Change() { TimeFieldChange(*this, kLookBackTime); }

void FrmMain::txtTotTime_KeyDown(int& keyCode, int) { TimeFieldKeyDown(*this, kTotTime, keyCode); }
void FrmMain::txtTotPenaltyTime_KeyDown(int& keyCode, int) {
  TimeFieldKeyDown(*this, kTotPenaltyTime, keyCode);
}
void FrmMain::txtScanSpeedTime_KeyDown(int& keyCode, int) {
  TimeFieldKeyDown(*this, kScanSpeedTime, keyCode);
}
void FrmMain::txtScanDelayTime_KeyDown(int& keyCode, int) {
  TimeFieldKeyDown(*this, kScanDelayTime, keyCode);
}
void FrmMain::txtLookBackTime_KeyDown(int& keyCode, int) {
  TimeFieldKeyDown(*this, kLookBackTime, keyCode);
}

void FrmMain::udTotTime_Change() { TimeSpinChange(*this, kTotTime); }
void FrmMain::udTotPenaltyTime_Change() { TimeSpinChange(*this, kTotPenaltyTime); }
void FrmMain::udScanSpeedTime_Change() { TimeSpinChange(*this, kScanSpeedTime); }
void FrmMain::udScanDelayTime_Change() { TimeSpinChange(*this, kScanDelayTime); }
void FrmMain::udLookBackTime_Change() { TimeSpinChange(*this, kLookBackTime); }

// A press on a spin control marks the codeplug as changed, even at its limit.
void FrmMain::udTotTime_MouseDown(int, int, double, double) { SpinMouseDown(*udTotTime); }
void FrmMain::udTotPenaltyTime_MouseDown(int, int, double, double) {
  SpinMouseDown(*udTotPenaltyTime);
}
void FrmMain::udScanSpeedTime_MouseDown(int, int, double, double) {
  SpinMouseDown(*udScanSpeedTime);
}
void FrmMain::udScanDelayTime_MouseDown(int, int, double, double) {
  SpinMouseDown(*udScanDelayTime);
}
void FrmMain::udLookBackTime_MouseDown(int, int, double, double) { SpinMouseDown(*udLookBackTime); }
void FrmMain::udPrioScanChNo_MouseDown(int, int, double, double) { SpinMouseDown(*udPrioScanChNo); }

// --- The priority scan channel
// --------------------------------------------------------------------

void FrmMain::txtPrioScanChNo_KeyDown(int& keyCode, int) {
  if (keyCode != cps::kKeyUp && keyCode != cps::kKeyDown) return;
  StepByKey(layout::kPrioScanChannel, [&] {
    const int value = BoxValue(*txtPrioScanChNo);
    if (keyCode == cps::kKeyUp) {
      txtPrioScanChNo->SetText(
          cps::DecimalText(value >= kPrioHigh ? kPrioHigh : value + kPrioStep));
      QueueCaretToEnd(*txtPrioScanChNo);
    } else {
      txtPrioScanChNo->SetText(cps::DecimalText(value <= kPrioLow ? kPrioLow : value - kPrioStep));
    }
  });
}

// Stores the channel into byte 14, clamped to the channel count. A channel outside the scan list
// is reported while priority scan is on, and kept: the save and the radio write test it again.
void FrmMain::txtPrioScanChNo_Change() {
  cps::TextBox& box = *txtPrioScanChNo;
  const bool tonesFilled = TonesFilled(*this);
  if (!tonesFilled && WalkTowardsStored(box, BoxValue(box), 1, kPrioStep,
                                        CodeplugImage[layout::kPrioScanChannel])) {
    return;
  }
  CaretToEnd(box);
  const int channel = BoxValue(box);
  if (chkPrioScanEnable->Value() == cps::kChecked && !CodeplugLoading &&
      IsOutsideScanList(channel)) {
    cps::MsgBox(kPrioChannelOutsideScanList, cps::msgbox::OKOnly);
    QueueCaretToEnd(box);
    udPrioScanChNo->SetValue(channel);
    if (tonesFilled) {
      PrioScanErrorShown = true;
      SetFocus();
    } else {
      FirstEmptyToneBox(*this)->SetFocus();
    }
  }
  // Byte 2 is 0 until the first load sets the count; no channel 0 is ever shown for it.
  const int channelCount = CodeplugImage[layout::kChannelCount];
  if (channelCount > 0 && channel > channelCount) box.SetText(cps::DecimalText(channelCount));
  CodeplugImage[layout::kPrioScanChannel] = ToByte(BoxValue(box));
}
