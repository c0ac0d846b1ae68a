// The one-step actions of the channel grid's nine toggle columns, without the grid: each reads
// the texts of its row, writes its bits of the channel record (and RevBurstState) and says what
// the cell shows afterwards. The widget routines of ChannelToggles.h apply that to the grid.
#pragma once

#include <QString>
#include <array>
#include <optional>

// What an action does to its cell's text colour.
enum class CellColour {
  kKeep,    // the colour stays as it is
  kNormal,  // &H80000012: the setting applies
  kGrey,    // &H80000011: the setting does not apply to this channel
};

inline constexpr char kInputTksFrequencyMessage[] = "Input TKS Frequency";

// The texts an action reads: the cell it was started on, the row's frequency and squelch cells
// and the receive user-tone boxes txtTKS_RxFrequency(0..2).
struct ToggleRowTexts {
  QString cell;
  QString rxFreq;
  QString rxOption;
  QString txFreq;
  QString txOption;
  std::array<QString, 3> userToneRx;
};

struct ToggleOutcome {
  CellColour colour = CellColour::kKeep;
  std::optional<QString> text;  // the cell's new text; none leaves it
  QString message;              // a message box to show, "" for none
};

// Each takes the channel number 1..16 and its row's texts; the image bits named are the only
// ones written. A cell text the action does not expect counts as "other": the field goes to its
// first state.
ToggleOutcome ToggleChannelSquelchLevelRule(int channel, const ToggleRowTexts& row);  // A bit 5
ToggleOutcome CycleChannelMuteModeRule(int channel, const ToggleRowTexts& row);       // A bits 1-0
ToggleOutcome ToggleChannelPowerRule(int channel, const ToggleRowTexts& row);         // A bit 7
ToggleOutcome ToggleChannelTurnOffCodeRule(int channel, const ToggleRowTexts& row);   // A bit 4
ToggleOutcome ToggleChannelRxOnlyRule(int channel, const ToggleRowTexts& row);        // A bit 6
// FlagsA bits 3-2 follow RevBurstState of the channel, not the cell's text.
ToggleOutcome CycleChannelReverseBurstRule(int channel, const ToggleRowTexts& row);
ToggleOutcome ToggleChannelBusyLockoutRule(int channel, const ToggleRowTexts& row);  // B bit 4
ToggleOutcome ToggleChannelBandwidthRule(int channel, const ToggleRowTexts& row);    // B bit 7
ToggleOutcome ToggleChannelTalkaroundRule(int channel, const ToggleRowTexts& row);   // B bit 1
