// The six option check boxes of the editor's settings tab. Each box keeps its bit of image byte 5
// (OptionBits) and the controls of its option; the two scan modes exclude each other.
#include <QWidget>
#include <initializer_list>

#include "editor/frmMain.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/CheckBox.h"
#include "platform/Dialogs.h"
#include "platform/FlexGrid.h"
#include "platform/KeyCodes.h"
#include "platform/Label.h"
#include "platform/ListBox.h"
#include "platform/TextBox.h"
#include "platform/TextConv.h"
#include "platform/UpDown.h"

namespace {

constexpr int kRxFreqColumn = 1;
constexpr int kTxFreqColumn = 5;

// 25 blanks before "Error!": this box's own wording of the warning.
const QString kPrioChannelOutsideScanList = QStringLiteral(
    "                         Error!  \r\n\r\nPrio. Scan Ch. No. not in active scan list   ");

void SetEnabled(std::initializer_list<QWidget*> controls, bool enabled) {
  for (QWidget* control : controls) control->setEnabled(enabled);
}

bool IsChecked(const cps::CheckBox& box) { return box.Value() == cps::kChecked; }

void WriteOptionBits(int mask, bool set) {
  uint8_t& bits = CodeplugImage[layout::kOptionBits];
  bits = set ? (bits | mask) : (bits & ~mask);
}

// Enter toggles the box (a greyed box becomes checked) and marks the codeplug as changed; the
// new value raises the box's Click. Space is toggled by the box itself, and is as much the
// user's change: without the mark an exit would not ask and the change would be lost.
void BoxKeyDown(cps::CheckBox& box, int keyCode) {
  if (keyCode == cps::kKeySpace) DataModified = true;
  if (keyCode != cps::kKeyReturn) return;
  DataModified = true;
  box.SetValue(IsChecked(box) ? cps::kUnchecked : cps::kChecked);
}

void SetScanSpeedAndHangEnabled(FrmMain& f, bool enabled) {
  SetEnabled({f.lblScanSpeedTime, f.lblScanDelayTime, f.txtScanSpeedTime, f.txtScanDelayTime,
              f.udScanSpeedTime, f.udScanDelayTime},
             enabled);
}

void SetPriorityChannelAndIntervalEnabled(FrmMain& f, bool enabled) {
  SetEnabled({f.lblPrioScanChNo, f.lblLookBackTime, f.txtPrioScanChNo, f.txtLookBackTime,
              f.udPrioScanChNo, f.udLookBackTime},
             enabled);
}

// True when the channel in txtPrioScanChNo is one of LstChannel's entries, the channels outside
// the scan list. A load compares nothing: the stored settings are shown as they are.
bool PriorityChannelOutsideScanList(const FrmMain& f) {
  if (CodeplugLoading) return false;
  return f.IsOutsideScanList(cps::NumericPrefix(f.txtPrioScanChNo->Text()));
}

}  // namespace

void FrmMain::ConnectOptionBoxHandlers() {
  struct Box {
    cps::CheckBox* box;
    void (FrmMain::*click)();
    void (FrmMain::*keyDown)(int&, int);
    void (FrmMain::*mouseDown)(int, int, double, double);
  };
  const Box boxes[] = {
      {chkQuickKey, &FrmMain::chkQuickKey_Click, &FrmMain::chkQuickKey_KeyDown,
       &FrmMain::chkQuickKey_MouseDown},
      {chkPrioScanEnable, &FrmMain::chkPrioScanEnable_Click, &FrmMain::chkPrioScanEnable_KeyDown,
       &FrmMain::chkPrioScanEnable_MouseDown},
      {chkTotEnable, &FrmMain::chkTotEnable_Click, &FrmMain::chkTotEnable_KeyDown,
       &FrmMain::chkTotEnable_MouseDown},
      {chkScanEnable, &FrmMain::chkScanEnable_Click, &FrmMain::chkScanEnable_KeyDown,
       &FrmMain::chkScanEnable_MouseDown},
      {chkPowerSaveEnable, &FrmMain::chkPowerSaveEnable_Click, &FrmMain::chkPowerSaveEnable_KeyDown,
       &FrmMain::chkPowerSaveEnable_MouseDown},
      {chkTalkbakScan, &FrmMain::chkTalkbakScan_Click, &FrmMain::chkTalkbakScan_KeyDown,
       &FrmMain::chkTalkbakScan_MouseDown},
  };
  for (const Box& b : boxes) {
    connect(b.box, &cps::CheckBox::Click, this, b.click);
    connect(b.box, &cps::CheckBox::KeyDown, this, b.keyDown);
    connect(b.box, &cps::CheckBox::MouseDown, this, b.mouseDown);
  }
}

// --- Mouse press, Enter and Space: the user's hand on a box marks the codeplug as changed -----

void FrmMain::chkQuickKey_MouseDown(int, int, double, double) { DataModified = true; }
void FrmMain::chkPrioScanEnable_MouseDown(int, int, double, double) { DataModified = true; }
void FrmMain::chkTotEnable_MouseDown(int, int, double, double) { DataModified = true; }
void FrmMain::chkScanEnable_MouseDown(int, int, double, double) { DataModified = true; }
void FrmMain::chkPowerSaveEnable_MouseDown(int, int, double, double) { DataModified = true; }
void FrmMain::chkTalkbakScan_MouseDown(int, int, double, double) { DataModified = true; }

void FrmMain::chkQuickKey_KeyDown(int& keyCode, int) { BoxKeyDown(*chkQuickKey, keyCode); }
void FrmMain::chkPrioScanEnable_KeyDown(int& keyCode, int) {
  BoxKeyDown(*chkPrioScanEnable, keyCode);
}
void FrmMain::chkTotEnable_KeyDown(int& keyCode, int) { BoxKeyDown(*chkTotEnable, keyCode); }
void FrmMain::chkScanEnable_KeyDown(int& keyCode, int) { BoxKeyDown(*chkScanEnable, keyCode); }
void FrmMain::chkPowerSaveEnable_KeyDown(int& keyCode, int) {
  BoxKeyDown(*chkPowerSaveEnable, keyCode);
}
void FrmMain::chkTalkbakScan_KeyDown(int& keyCode, int) { BoxKeyDown(*chkTalkbakScan, keyCode); }

// --- Click: the bits and the dependent controls -------------------------------------------------

void FrmMain::chkQuickKey_Click() {
  WriteOptionBits(layout::kOptQuickKey, IsChecked(*chkQuickKey));
}

void FrmMain::chkPowerSaveEnable_Click() {
  WriteOptionBits(layout::kOptBatterySave, IsChecked(*chkPowerSaveEnable));
}

void FrmMain::chkTalkbakScan_Click() {
  WriteOptionBits(layout::kOptTalkbackScan, IsChecked(*chkTalkbakScan));
}

void FrmMain::chkTotEnable_Click() {
  const bool on = IsChecked(*chkTotEnable);
  SetEnabled(
      {lblTotTime, txtTotTime, udTotTime, lblTotPenaltyTime, txtTotPenaltyTime, udTotPenaltyTime},
      on);
  WriteOptionBits(layout::kOptTot, on);
}

void FrmMain::chkScanEnable_Click() {
  const bool on = IsChecked(*chkScanEnable);
  SetScanSpeedAndHangEnabled(*this, on);
  chkPrioScanEnable->SetEnabled(!on);
  if (on) {
    // Their labels and boxes keep their state; only the spin controls stop.
    udPrioScanChNo->SetEnabled(false);
    udLookBackTime->SetEnabled(false);
  }
  WriteOptionBits(layout::kOptNormalScan, on);
}

void FrmMain::chkPrioScanEnable_Click() {
  if (!IsChecked(*chkPrioScanEnable)) {
    SetPriorityChannelAndIntervalEnabled(*this, false);
    SetScanSpeedAndHangEnabled(*this, false);
    chkScanEnable->SetEnabled(true);
    WriteOptionBits(layout::kOptPrioScan, false);
    return;
  }
  SetPriorityChannelAndIntervalEnabled(*this, true);
  chkScanEnable->SetEnabled(false);
  // Unchecking normal scan runs its Click, which disables the scan speed and hang controls;
  // priority scan uses them too, so they are enabled after it.
  chkScanEnable->SetValue(cps::kUnchecked);
  SetScanSpeedAndHangEnabled(*this, true);
  WriteOptionBits(layout::kOptPrioScan, true);
  CheckPriorityChannelInScanList();
}

// Priority scan switched on while its channel lies outside the scan list gives exactly one
// warning: this one for a channel without both frequencies, the priority box's own otherwise.
// The warning does not undo the change.
void FrmMain::CheckPriorityChannelInScanList() {
  if (PriorityChannelOutsideScanList(*this)) {
    const int channel =
        static_cast<int>(cps::RoundHalfEven(cps::NumericPrefix(txtPrioScanChNo->Text())));
    if (fgChannel->TextMatrix(channel, kRxFreqColumn).isEmpty() ||
        fgChannel->TextMatrix(channel, kTxFreqColumn).isEmpty()) {
      cps::MsgBox(kPrioChannelOutsideScanList, cps::msgbox::OKOnly);
      PrioScanErrorShown = true;
      SetFocus();
      return;
    }
  }
  txtPrioScanChNo_Change();
}
