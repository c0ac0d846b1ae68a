#include "editor/FillChain.h"

#include <QStringList>
#include <array>
#include <initializer_list>

#include "channels/ChannelGridFill.h"
#include "editor/EditorLock.h"
#include "editor/ProgrammableButtons.h"
#include "editor/frmMain.h"
#include "model/BandPlan.h"
#include "model/ChannelRecord.h"
#include "model/CodeplugLayout.h"
#include "model/Defaults.h"
#include "model/Identity.h"
#include "model/ModuleState.h"
#include "model/UserTones.h"
#include "platform/CheckBox.h"
#include "platform/ComboBox.h"
#include "platform/CommandButton.h"
#include "platform/Dialogs.h"
#include "platform/FlexGrid.h"
#include "platform/Label.h"
#include "platform/ListBox.h"
#include "platform/TabControl.h"
#include "platform/TextBox.h"
#include "platform/TextConv.h"
#include "platform/UpDown.h"

namespace {

constexpr int kChannelTab = 1;
constexpr int kSettingsTab = 0;
constexpr int kGridRowHeight = 315;
constexpr int kMaxInt16 = 32767;  // the timer products are 16-bit values
constexpr int kLookBackMinLowered = 250;
constexpr int kLookBackMin = 750;
constexpr int kLowestFullLookBack = 3;  // byte 9 below this shows under the usual minimum

void SetEnabled(std::initializer_list<QWidget*> controls, bool enabled) {
  for (QWidget* control : controls) control->setEnabled(enabled);
}

// "001".."016": the three-digit channel numbers of the scan-list boxes.
QString ChannelEntry(int value) {
  return (value < 10 ? QStringLiteral("00") : QStringLiteral("0")) + cps::DecimalText(value);
}

bool HasStoredPassword() {
  return !CodeplugImage.AllEqual(layout::kCodeplugPassword,
                                 layout::kCodeplugPassword + layout::kCodeplugPasswordLength - 1,
                                 0);
}

// A stored code without an entry in the list shows no selection; the load goes on.
void SelectShortPress(cps::ComboBox& list, int position) {
  if (!list.SetListIndex(position)) list.SetListIndex(-1);
}

void SetGridRows(cps::FlexGrid& grid, int count) {
  const int wanted = count + 1;
  if (grid.Rows() <= wanted) {
    for (int row = grid.Rows() + 1; row <= wanted; ++row) {
      grid.SetRows(row);
      grid.SetTextMatrix(row - 1, 0, cps::DecimalText(row - 1));
    }
  } else {
    grid.SetRow(wanted);
    for (int extra = grid.Rows() - wanted; extra > 0; --extra) grid.RemoveItem(wanted);
    grid.SetRows(wanted);
    grid.SetTextMatrix(wanted - 1, 0, cps::DecimalText(count));
  }
  for (int row = 0; row < grid.Rows(); ++row) grid.SetRowHeight(row, kGridRowHeight);
  // One row height less per channel below 16, counted down from the full grid's height.
  grid.SetHeight(kGridHeight - kGridRowHeight * (layout::kMaxChannels - count));
}

// --- ShowTimerValues ---------------------------------------------------------------------------

bool SetTimerSpin(cps::UpDown& spin, int value) {
  return value <= kMaxInt16 && spin.SetValue(value);
}

// The five spin controls from bytes 6..10, each byte read when its step comes (the change
// handlers of earlier steps store theirs). False at the first value that cannot be shown.
bool ShowTimerBytes() {
  FrmMain& f = frmMain();
  if (!SetTimerSpin(*f.udScanSpeedTime, CodeplugImage[layout::kScanSpeedTime] * 10)) return false;
  if (!SetTimerSpin(*f.udScanDelayTime, CodeplugImage[layout::kScanDelayTime] * 500)) return false;
  // A look-back below 750 ms can only come from a radio or a file; it is shown as it is.
  if (CodeplugImage[layout::kLookBackTime] < kLowestFullLookBack) {
    f.udLookBackTime->SetMin(kLookBackMinLowered);
  }
  if (!SetTimerSpin(*f.udLookBackTime, CodeplugImage[layout::kLookBackTime] * 250)) return false;
  if (CodeplugImage[layout::kLookBackTime] >= kLowestFullLookBack) {
    f.udLookBackTime->SetMin(kLookBackMin);
  }
  if (!SetTimerSpin(*f.udTotTime, CodeplugImage[layout::kTotTime] * 10)) return false;
  return SetTimerSpin(*f.udTotPenaltyTime, CodeplugImage[layout::kTotPenaltyTime]);
}

// --- The password branch shared by the load roads ------------------------------------------------

// A record the grid could not show empties every channel, reported once.
void RepairChannelData() {
  if (!ChannelDataInvalid) return;
  ChannelDataInvalid = false;
  cps::MsgBox(QStringLiteral("Channel data is not valid..."));
  ClearAllChannels();
  ShowChannelGrid();
}

// The grid fill of a load road. A flag left over from a failure outside a chain (a colouring,
// an edit-time refill) would otherwise have the repair wipe a codeplug that shows well.
void ShowLoadedChannels() {
  ChannelDataInvalid = false;
  ShowChannelGrid();
  RepairChannelData();
}

void ShowRemainingSettings() {
  ShowSerialNumber();
  ShowKitNumber();
  ShowOptionFlags();
  ShowTimerValues();
  SyncTimerTextBoxes();
  ShowLoadedChannels();
}

LoadOutcome ShowByPassword() {
  if (!HasStoredPassword()) {
    EnableEditor();
    ShowRemainingSettings();
    ColourChannelGridActive();
    EnableScanListButtons();
    return LoadOutcome::Editable;
  }
  if (CodeplugImage[layout::kPasswordLength2] == 0) {
    CodeplugImage[layout::kPasswordLength2] = CodeplugImage[layout::kPasswordLength];
  }
  ShowRemainingSettings();
  ColourChannelGridLocked();
  DisableEditor();
  return LoadOutcome::PasswordRequired;
}

void ShowButtonAssignmentsWhileFilling() {
  FrmMain& f = frmMain();
  ButtonListFilling = true;
  f.cmbButton_S1->SetListIndex(-1);
  f.cmbButton_S2->SetListIndex(-1);
  ShowButtonAssignments();
  ButtonListFilling = false;
}

// File>Default's factory values.
constexpr std::array<uint8_t, 9> kDefaultOptionAndTimerBytes = {0xEC, 6, 35, 6, 8, 10, 60, 20, 10};
constexpr std::array<int, 3> kDefaultUserToneWords = {1200, 2000, 2550};  // 120.0, 200.0, 255.0 Hz

}  // namespace

// --- Band, channel count and priority channel -------------------------------------------------

void SetupBandLimits() { frmMain().udPrioScanChNo->SetMax(ApplyBandLimits()); }

void SetupChannelCount() {
  FrmMain& f = frmMain();
  const int count = ApplyChannelCount();
  if (f.udPrioScanChNo->Value() > count) {
    f.udPrioScanChNo->SetValue(1);
    f.txtPrioScanChNo->SetText(cps::DecimalText(f.udPrioScanChNo->Value()));
    CodeplugImage[layout::kPrioScanChannel] = 1;
  }
  SetGridRows(*f.fgChannel, count);
}

void ResizeChannelGrid() {
  const int count = ResizeChannelRecords();
  SetGridRows(*frmMain().fgChannel, count);
  ShowChannelGrid();
}

void ShowPriorityChannel() {
  FrmMain& f = frmMain();
  const int stored = CodeplugImage[layout::kPrioScanChannel];
  const int shown = CorrectPriorityChannel(stored, f.udPrioScanChNo->Max());
  f.udPrioScanChNo->SetValue(shown);
  if (shown != stored) f.txtPrioScanChNo->SetText(cps::DecimalText(shown));
}

// --- Identity ---------------------------------------------------------------------------------

void ShowSerialNumber() {
  cps::TextBox& box = *frmMain().txtSerial;
  box.SetText(SerialNumberView(CodeplugImage).text);
  box.SetEnabled(box.Text().isEmpty());
}

void ShowKitNumber() {
  cps::TextBox& box = *frmMain().txtSuper;
  box.SetText(KitNumberView(CodeplugImage).text);
  box.SetEnabled(box.Text().isEmpty());
}

void ShowCodeplugVersion() {
  frmMain().lblCodeplug->SetCaption(CodeplugVersionCaption(CodeplugImage));
}

void ShowFirmwareVersion() {
  frmMain().lblVersion->SetCaption(FirmwareVersionCaption(CodeplugImage));
}

void ShowModelNumber() {
  frmMain().lblModel->SetCaption(ModelNumberCaption(CodeplugImage, LegacyLayout));
}

void ShowUserTones() {
  FrmMain& f = frmMain();
  const UserToneView view = ShowUserTonesOnImage(CodeplugImage);
  for (int k = 0; k < usertone::kCount; ++k) {
    if (view.rx[k]) f.txtTKS_RxFrequency[k]->SetText(*view.rx[k]);
  }
  for (int k = 0; k < usertone::kCount; ++k) {
    if (view.tx[k]) f.txtTKS_TxFrequency[k]->SetText(*view.tx[k]);
  }
}

// --- The display routines ---------------------------------------------------------------------

void ShowFrequencyRange() {
  FrmMain& f = frmMain();
  f.txtPrioScanChNo->SetText(cps::DecimalText(f.udPrioScanChNo->Value()));
  static const std::array<const char*, 5> kRangeTexts = {
      "403.00000 ~ 425.00000 MHz", "450.00000 ~ 470.00000 MHz", "136.00000 ~ 150.00000 MHz",
      "150.00000 ~ 174.00000 MHz", "490.00000 ~ 512.00000 MHz"};
  constexpr int kRegionWideVhf = 18;  // its band 3 radios start at 148 MHz
  const int band = CodeplugImage[layout::kBandCode] & 0x0F;
  QString range;
  if (band == 3 && CodeplugImage[layout::kRegionCode] == kRegionWideVhf) {
    range = QStringLiteral("148.00000 ~ 174.00000 MHz");
  } else if (band < static_cast<int>(kRangeTexts.size())) {
    range = QString::fromLatin1(kRangeTexts[band]);
  }
  f.lblfrequency_range->SetCaption(range);
}

void ShowButtonAssignments() {
  FrmMain& f = frmMain();
  // Positions follow the lists' own entries: without "Hi/Low Power" they start one code on.
  SelectShortPress(*f.cmbButton_S1,
                   ShortPressPosition(*f.cmbButton_S1, CodeplugImage[layout::kButton1Short]));
  SelectShortPress(*f.cmbButton_S2,
                   ShortPressPosition(*f.cmbButton_S2, CodeplugImage[layout::kButton2Short]));
  f.sstMain->SetTab(kChannelTab);
}

void FillChannelLists() {
  FrmMain& f = frmMain();
  f.LstScan->Clear();
  f.LstChannel->Clear();
  const int count = ChannelCountForRegion(CodeplugImage[layout::kRegionCode]);
  for (int channel = 1; channel <= count; ++channel) f.LstChannel->AddItem(ChannelEntry(channel));
}

void ShowScanList() {
  FrmMain& f = frmMain();
  ScanBitmapLow = CodeplugImage[layout::kScanListBitmap];
  ScanBitmapHigh = CodeplugImage[layout::kScanListBitmap + 1];
  f.LstChannel->Clear();
  const int count = ChannelCountForRegion(CodeplugImage[layout::kRegionCode]);
  for (int channel = 1; channel <= count; ++channel) {
    const int slot = CodeplugImage[layout::ScanListSlot(channel)];
    if (slot != 0) {
      f.LstScan->AddItem(ChannelEntry(slot));
    } else {
      f.LstChannel->AddItem(ChannelEntry(channel));
    }
  }
}

void ShowOptionFlags() {
  FrmMain& f = frmMain();
  // Each box's click handler writes its bits back into byte 5, so every bit is read afresh.
  auto bit = [](int mask) { return (CodeplugImage[layout::kOptionBits] & mask) != 0; };
  auto check = [](cps::CheckBox* box, bool on) {
    box->SetValue(on ? cps::kChecked : cps::kUnchecked);
  };

  check(f.chkTalkbakScan, bit(layout::kOptTalkbackScan));
  check(f.chkPowerSaveEnable, bit(layout::kOptBatterySaveShown));

  const bool tot = bit(layout::kOptTot);
  check(f.chkTotEnable, tot);
  SetEnabled({f.lblTotTime, f.txtTotTime, f.udTotTime, f.lblTotPenaltyTime, f.txtTotPenaltyTime,
              f.udTotPenaltyTime},
             tot);

  const bool prio = bit(layout::kOptPrioScan);
  check(f.chkPrioScanEnable, prio);
  if (prio) f.chkScanEnable->SetEnabled(false);
  SetEnabled({f.lblPrioScanChNo, f.txtPrioScanChNo, f.udPrioScanChNo, f.lblLookBackTime,
              f.txtLookBackTime, f.udLookBackTime},
             prio);

  // Unchecked normal scan leaves the speed and hang controls: priority scan uses them too.
  if (bit(layout::kOptNormalScan)) {
    check(f.chkScanEnable, true);
    f.chkPrioScanEnable->SetEnabled(false);
    SetEnabled({f.lblScanSpeedTime, f.txtScanSpeedTime, f.udScanSpeedTime, f.lblScanDelayTime,
                f.txtScanDelayTime, f.udScanDelayTime},
               true);
  } else {
    check(f.chkScanEnable, false);
  }

  check(f.chkQuickKey, bit(layout::kOptQuickKey));
}

void ShowTimerValues() {
  if (ShowTimerBytes()) return;
  cps::MsgBox(QStringLiteral("Time Option value is Invalid"));
  SetDefaultTimers();
  // Show the defaults just written, so that the boxes (which store what they show) and the
  // image agree.
  ShowTimerBytes();
}

void SyncTimerTextBoxes() {
  FrmMain& f = frmMain();
  const std::array<std::pair<cps::TextBox*, cps::UpDown*>, 5> fields = {{
      {f.txtScanSpeedTime, f.udScanSpeedTime},
      {f.txtScanDelayTime, f.udScanDelayTime},
      {f.txtLookBackTime, f.udLookBackTime},
      {f.txtTotTime, f.udTotTime},
      {f.txtTotPenaltyTime, f.udTotPenaltyTime},
  }};
  for (const auto& [box, spin] : fields) box->SetText(cps::DecimalText(spin->Value()));
}

// --- Helpers ----------------------------------------------------------------------------------

void RefillShortPressLists() {
  FrmMain& f = frmMain();
  static const QStringList kFunctions = {QStringLiteral("Volume Set"),
                                         QStringLiteral("Monitor"),
                                         QStringLiteral("Sticky Monitor"),
                                         QStringLiteral("Scan"),
                                         QStringLiteral("Repeater/Talkaround"),
                                         QStringLiteral("KS/DKS"),
                                         QStringLiteral("Unassigned"),
                                         QStringLiteral("Battery Save Mode"),
                                         QStringLiteral("Squelch")};
  const int powerCode = CodeplugImage[layout::kFixedPowerCode];
  for (cps::ComboBox* list : {f.cmbButton_S1, f.cmbButton_S2}) {
    list->Clear();
    if (powerCode == 0 || powerCode == 255) list->AddItem(QStringLiteral("Hi/Low Power"));
    for (const QString& function : kFunctions) list->AddItem(function);
  }
}

void SetDefaultButtonsAndChannel() {
  SetDefaultButtons();
  SetDefaultChannelOne();
}

// --- The roads --------------------------------------------------------------------------------

void FillNewCodeplugChain() {
  ClearAllChannels();
  ChannelDataInvalid = false;
  SetupBandLimits();
  InitImageHeader();
  ShowFrequencyRange();
  ShowUserTones();
  FillChannelLists();
  ShowOptionFlags();
  SetDefaultTimers();
  ShowTimerValues();
  SyncTimerTextBoxes();
  ShowChannelGrid();
}

LoadOutcome FillLoadedImageChain() {
  FillChannelLists();
  SetupBandLimits();
  ShowPriorityChannel();
  ShowCodeplugVersion();
  ShowFirmwareVersion();
  ShowModelNumber();
  SetupChannelCount();
  ShowFrequencyRange();
  ShowButtonAssignmentsWhileFilling();
  ShowUserTones();
  ShowScanList();
  frmMain().update();
  return ShowByPassword();
}

LoadOutcome FillRadioReadChain() {
  FrmMain& f = frmMain();
  CodeplugLoading = true;
  FillChannelLists();
  RefillShortPressLists();
  SetupBandLimits();
  ShowPriorityChannel();
  if (f.sstMain->Tab() != kChannelTab) {
    f.SetWidth(kFrmMainWidth);
    f.SetHeight(kFrmMainHeight);
    f.sstMain->SetWidth(kSstMainWidth);
    f.sstMain->SetHeight(kSstMainHeight);
  }
  SetupChannelCount();
  ShowButtonAssignmentsWhileFilling();
  ShowUserTones();
  ShowScanList();
  ShowFrequencyRange();
  ShowCodeplugVersion();
  ShowFirmwareVersion();
  ShowModelNumber();
  return ShowByPassword();
}

void FillDefaultChain() {
  FrmMain& f = frmMain();
  f.sstMain->SetTab(kSettingsTab);
  f.txtPassword->SetText(QString());
  f.lblVersion->SetCaption(QString());
  f.txtSerial->SetText(QString());

  for (int i = 0; i < static_cast<int>(kDefaultOptionAndTimerBytes.size()); ++i) {
    CodeplugImage[layout::kOptionBits + i] = kDefaultOptionAndTimerBytes[i];
  }
  ShowOptionFlags();
  ShowTimerValues();
  SyncTimerTextBoxes();

  for (int k = 0; k < usertone::kCount; ++k) {
    CodeplugImage.SetWord(layout::UserToneRx(k), kDefaultUserToneWords[k]);
    CodeplugImage.SetWord(layout::UserToneTx(k), kDefaultUserToneWords[k]);
  }
  ShowUserTones();
  ClearAllChannels();

  CodeplugImage[layout::kPrioScanChannel] = 1;
  ShowPriorityChannel();
  SetDefaultButtonsAndChannel();

  FillChannelLists();
  ShowScanList();
  ChannelDataInvalid = false;
  ShowChannelGrid();
  ColourChannelGridActive();
  EnableScanListButtons();
}

void FillPasswordAcceptedChain() {
  EnableEditor();
  CodeplugLocked = false;
  ColourChannelGridActive();
}
