#include "editor/EditorLock.h"

#include <QAction>
#include <initializer_list>

#include "editor/frmMain.h"
#include "model/ChannelRowTexts.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/CheckBox.h"
#include "platform/ComboBox.h"
#include "platform/CommandButton.h"
#include "platform/FlexGrid.h"
#include "platform/Label.h"
#include "platform/ListBox.h"
#include "platform/TabControl.h"
#include "platform/TextBox.h"
#include "platform/TextConv.h"
#include "platform/UpDown.h"
#include "shell/MDIFormMain.h"

namespace {

using cps::kColourButtonText;
using cps::kColourGrayText;

void SetEnabled(std::initializer_list<QWidget*> controls, bool enabled) {
  for (QWidget* control : controls) control->setEnabled(enabled);
}

void EnableScanSpeedControls(FrmMain& f) {
  SetEnabled({f.lblScanSpeedTime, f.txtScanSpeedTime, f.udScanSpeedTime, f.lblScanDelayTime,
              f.txtScanDelayTime, f.udScanDelayTime},
             true);
}

bool IsChecked(const cps::CheckBox* box) { return box->Value() == cps::kChecked; }

void EnableMainWindowCommands() {
  // The main window exists whenever an editor does, except while a test drives the editor
  // alone; creating it from here would run the program's start-up.
  if (!IsMDIFormMainLoaded()) return;
  MdiFormMain& main = MDIFormMain();
  for (QAction* item : {main.mnuFileSave, main.mnuFilePrintPreview, main.mnuFilePrint,
                        main.mnuDefault, main.mnuWrite}) {
    if (item) item->setEnabled(true);
  }
  for (int button : {2, 4, 6, 7}) {
    if (QAction* action = main.tbToolBarButton(button)) action->setEnabled(true);
  }
}

// The channel's record can be read and its row coloured.
bool CanColourRow(const cps::FlexGrid& grid, int channel) {
  return channel <= layout::kMaxChannels && channel < grid.Rows();
}

bool IsFixedPower(int code) { return code == 16 || code == 32 || code == 48 || code == 64; }
bool IsFixedBandwidth(int code) { return code == 16 || code == 32 || code == 48; }
bool IsTone(int squelch) {
  return (squelch >= 1 && squelch <= 42) || (squelch >= 128 && squelch <= 130);
}
bool IsCode(int squelch) { return squelch >= 43 && squelch <= 127; }

uint32_t Colour(bool grey) { return grey ? kColourGrayText : kColourButtonText; }

void ColourActiveRow(cps::FlexGrid& grid, int row) {
  const int base = layout::ChannelOffset(row);
  const int rx = CodeplugImage[base + layout::kRecRxSquelch];
  const int tx = CodeplugImage[base + layout::kRecTxSquelch];

  grid.SetCellForeColorAt(row, gridcol::kMute, Colour(rx == 0));
  // The turn-off code and the reverse burst belong to the transmit side's code or tone; a byte
  // of 131..255 is neither and keeps both colours.
  if (tx == 0 || IsTone(tx) || IsCode(tx)) {
    grid.SetCellForeColorAt(row, gridcol::kTurnOffCode, Colour(!IsCode(tx)));
    grid.SetCellForeColorAt(row, gridcol::kRevBurst, Colour(!IsTone(tx)));
  }
  // Talkaround means nothing for a channel that receives what it transmits.
  const bool sameSides =
      grid.TextMatrix(row, gridcol::kRxFreq) == grid.TextMatrix(row, gridcol::kTxFreq) &&
      grid.TextMatrix(row, gridcol::kRxOption) == grid.TextMatrix(row, gridcol::kTxOption);
  grid.SetCellForeColorAt(row, gridcol::kTalkaround, Colour(sameSides));
  grid.SetCellForeColorAt(
      row, gridcol::kBand,
      Colour(!LegacyLayout && IsFixedBandwidth(CodeplugImage[layout::kFixedBandwidthCode])));
  grid.SetCellForeColorAt(
      row, gridcol::kPower,
      Colour(!LegacyLayout && IsFixedPower(CodeplugImage[layout::kFixedPowerCode])));
}

void ColourLockedRow(cps::FlexGrid& grid, int row) {
  for (int col : {gridcol::kMute, gridcol::kRevBurst, gridcol::kTurnOffCode, gridcol::kTalkaround,
                  gridcol::kPower, gridcol::kBand}) {
    grid.SetCellForeColorAt(row, col, kColourGrayText);
  }
}

// Colours rows 1 to byte 2 with `colourRow`, then leaves the current cell in the last row's
// column `lastCol`, where a cell-by-cell colouring would have left it.
template <class ColourRow>
void ColourChannelGrid(ColourRow colourRow, int lastCol) {
  cps::FlexGrid& grid = *frmMain().fgChannel;
  grid.SetRedraw(false);
  const int rows = CodeplugImage[layout::kChannelCount];
  for (int row = 1; row <= rows; ++row) {
    if (!CanColourRow(grid, row)) {
      ChannelDataInvalid = true;
      grid.SetRedraw(true);
      return;
    }
    colourRow(grid, row);
  }
  grid.SetRedraw(true);
  if (rows >= 1) {
    grid.SetCol(lastCol);
    grid.SetRow(rows);
  }
}

}  // namespace

void DisableEditor() {
  FrmMain& f = frmMain();
  SetEnabled({f.txtPassword,       f.txtSerial,       f.lblTKS1,          f.lblTKS2,
              f.lblTKS3,           f.chkScanEnable,   f.txtScanSpeedTime, f.txtScanDelayTime,
              f.udScanSpeedTime,   f.udScanDelayTime, f.lblScanSpeedTime, f.lblScanDelayTime,
              f.chkPrioScanEnable, f.lblPrioScanChNo, f.lblLookBackTime,  f.txtPrioScanChNo,
              f.txtLookBackTime,   f.udPrioScanChNo,  f.udLookBackTime,   f.chkTotEnable,
              f.lblTotTime,        f.txtTotTime,      f.udTotTime,        f.lblTotPenaltyTime,
              f.txtTotPenaltyTime, f.udTotPenaltyTime},
             false);
  for (int k = 0; k < 3; ++k) SetEnabled({f.txtTKS_RxFrequency[k], f.txtTKS_TxFrequency[k]}, false);
  SetEnabled({f.Label2, f.Label3, f.Label4, f.Label5, f.cmbButton_S1, f.cmbButton_S2,
              f.cmbButton_L1, f.cmbButton_L2, f.LstChannel, f.LstScan, f.chkPowerSaveEnable,
              f.chkQuickKey, f.chkTalkbakScan, f.CmdAdd, f.CmdRemove},
             false);
  f.fgChannel->SetForeColor(kColourGrayText);
  f.fgChannel->SetEnabled(false);
}

void EnableEditor() {
  FrmMain& f = frmMain();
  f.txtPassword->SetEnabled(true);
  f.sstMain->SetFocus();
  f.txtSuper->SetEnabled(f.txtSuper->Text().isEmpty());
  SetEnabled({f.lblTKS1, f.lblTKS2, f.lblTKS3, f.chkScanEnable, f.chkPrioScanEnable}, true);
  if (IsChecked(f.chkScanEnable)) {
    f.chkPrioScanEnable->SetEnabled(false);
    EnableScanSpeedControls(f);
  }
  if (IsChecked(f.chkPrioScanEnable)) {
    f.udPrioScanChNo->SetEnabled(true);
    f.chkScanEnable->SetEnabled(false);
    SetEnabled({f.udLookBackTime, f.txtPrioScanChNo, f.txtLookBackTime, f.lblPrioScanChNo,
                f.lblLookBackTime},
               true);
    EnableScanSpeedControls(f);
  }
  f.chkTotEnable->SetEnabled(true);
  if (IsChecked(f.chkTotEnable)) {
    SetEnabled({f.udTotTime, f.udTotPenaltyTime, f.txtTotTime, f.txtTotPenaltyTime, f.lblTotTime,
                f.lblTotPenaltyTime},
               true);
  }
  for (int k = 0; k < 3; ++k) SetEnabled({f.txtTKS_RxFrequency[k], f.txtTKS_TxFrequency[k]}, true);
  SetEnabled({f.Label2, f.Label3, f.Label4, f.Label5, f.cmbButton_S1, f.cmbButton_S2,
              f.cmbButton_L1, f.cmbButton_L2, f.LstChannel, f.LstScan, f.chkPowerSaveEnable,
              f.chkQuickKey, f.chkTalkbakScan},
             true);
  EnableScanListButtons();
  EnableMainWindowCommands();
  f.fgChannel->SetEnabled(true);
  f.fgChannel->SetForeColor(kColourButtonText);
}

void EnableScanListButtons() {
  FrmMain& f = frmMain();
  // A button acts on its list's selected entry.
  for (auto [list, button] :
       {std::pair{f.LstChannel, f.CmdAdd}, std::pair{f.LstScan, f.CmdRemove}}) {
    if (list->ListCount() == 0) {
      button->SetEnabled(false);
    } else {
      button->SetEnabled(true);
      list->SetListIndex(0);
    }
  }
}

void ColourChannelGridActive() { ColourChannelGrid(ColourActiveRow, gridcol::kPower); }

void ColourChannelGridLocked() { ColourChannelGrid(ColourLockedRow, gridcol::kBand); }

void CopyPasswordToImage() {
  if (CodeplugLocked) return;
  // The box takes at most 8 characters from the keyboard, but text set from code is kept whole;
  // a longer text must not run over byte 378 into the length copy and the identity block.
  const QByteArray password =
      cps::TextToBytes(frmMain().txtPassword->Text()).left(layout::kCodeplugPasswordLength);
  const int length = static_cast<int>(password.size());
  CodeplugImage[layout::kPasswordLength] = static_cast<uint8_t>(length);
  CodeplugImage[layout::kPasswordLength2] = static_cast<uint8_t>(length);
  if (length == 0) {
    CodeplugImage.Fill(layout::kCodeplugPassword,
                       layout::kCodeplugPassword + layout::kCodeplugPasswordLength - 1, 0);
    return;
  }
  for (int i = 0; i < length; ++i) {
    CodeplugImage[layout::kCodeplugPassword + i] = static_cast<uint8_t>(password[i]);
  }
  CodeplugImage.Fill(layout::kCodeplugPassword + length, layout::kSerialWriteGate, 0);
}
