#include "channels/ChannelToggles.h"

#include "channels/ColumnToggleRules.h"
#include "channels/FrequencyCommit.h"
#include "editor/frmMain.h"
#include "model/ChannelRowTexts.h"
#include "model/ModuleState.h"
#include "platform/Dialogs.h"
#include "platform/FlexGrid.h"
#include "platform/TextBox.h"
#include "platform/TextConv.h"

namespace {

using ToggleRule = ToggleOutcome (*)(int channel, const ToggleRowTexts& row);

cps::FlexGrid& Grid() { return *frmMain().fgChannel; }

ToggleRowTexts ReadRow(int n, int column) {
  const cps::FlexGrid& grid = Grid();
  ToggleRowTexts row;
  row.cell = grid.TextMatrix(n, column);
  row.rxFreq = grid.TextMatrix(n, gridcol::kRxFreq);
  row.rxOption = grid.TextMatrix(n, gridcol::kRxOption);
  row.txFreq = grid.TextMatrix(n, gridcol::kTxFreq);
  row.txOption = grid.TextMatrix(n, gridcol::kTxOption);
  for (int k = 0; k < 3; ++k) row.userToneRx[k] = frmMain().txtTKS_RxFrequency[k]->Text();
  return row;
}

void ShowOutcome(int n, int column, const ToggleOutcome& outcome) {
  cps::FlexGrid& grid = Grid();
  if (!outcome.message.isEmpty()) cps::MsgBox(outcome.message, cps::msgbox::OKOnly);
  if (outcome.colour == CellColour::kNormal) {
    grid.SetCellForeColorAt(n, column, cps::kColourButtonText);
  } else if (outcome.colour == CellColour::kGrey) {
    grid.SetCellForeColorAt(n, column, cps::kColourGrayText);
  }
  if (outcome.text) {
    grid.SetTextMatrix(n, column, *outcome.text);
    // An edit made from the keyboard alone changes the codeplug as much as one by mouse.
    DataModified = true;
  }
}

void RunToggle(int n, int column, ToggleRule rule) {
  ShowOutcome(n, column, rule(n, ReadRow(n, column)));
}

}  // namespace

void ToggleChannelSquelchLevel(int n) {
  RunToggle(n, gridcol::kSquelch, ToggleChannelSquelchLevelRule);
}
void CycleChannelMuteMode(int n) { RunToggle(n, gridcol::kMute, CycleChannelMuteModeRule); }
void ToggleChannelPower(int n) { RunToggle(n, gridcol::kPower, ToggleChannelPowerRule); }
void ToggleChannelTurnOffCode(int n) {
  RunToggle(n, gridcol::kTurnOffCode, ToggleChannelTurnOffCodeRule);
}
void ToggleChannelRxOnly(int n) { RunToggle(n, gridcol::kRxOnly, ToggleChannelRxOnlyRule); }
void CycleChannelReverseBurst(int n) {
  RunToggle(n, gridcol::kRevBurst, CycleChannelReverseBurstRule);
}
void ToggleChannelBusyLockout(int n) {
  RunToggle(n, gridcol::kBusyLockout, ToggleChannelBusyLockoutRule);
}
void ToggleChannelBandwidth(int n) { RunToggle(n, gridcol::kBand, ToggleChannelBandwidthRule); }
void ToggleChannelTalkaround(int n) {
  RunToggle(n, gridcol::kTalkaround, ToggleChannelTalkaroundRule);
}

bool RunColumnToggle(int column, int n) {
  switch (column) {
    case gridcol::kSquelch:
      ToggleChannelSquelchLevel(n);
      return true;
    case gridcol::kMute:
      CycleChannelMuteMode(n);
      return true;
    case gridcol::kPower:
      ToggleChannelPower(n);
      return true;
    case gridcol::kTurnOffCode:
      ToggleChannelTurnOffCode(n);
      return true;
    case gridcol::kRxOnly:
      ToggleChannelRxOnly(n);
      return true;
    case gridcol::kRevBurst:
      CycleChannelReverseBurst(n);
      return true;
    case gridcol::kBusyLockout:
      ToggleChannelBusyLockout(n);
      return true;
    case gridcol::kBand:
      ToggleChannelBandwidth(n);
      return true;
    case gridcol::kTalkaround:
      ToggleChannelTalkaround(n);
      return true;
    default:
      return false;
  }
}

void UpdateTalkaroundCell(int n) {
  cps::FlexGrid& grid = Grid();
  const bool applies = TalkaroundApplies(
      grid.TextMatrix(n, gridcol::kRxFreq), grid.TextMatrix(n, gridcol::kTxFreq),
      grid.TextMatrix(n, gridcol::kRxOption), grid.TextMatrix(n, gridcol::kTxOption));
  grid.SetCellForeColorAt(n, gridcol::kTalkaround,
                          applies ? cps::kColourButtonText : cps::kColourGrayText);
  SetTalkaroundBit(n, applies);
  grid.SetTextMatrix(n, gridcol::kTalkaround, QString::fromLatin1(applies ? "On" : "Off"));
}
