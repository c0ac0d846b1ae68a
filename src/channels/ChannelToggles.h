// The channel grid's one-step column actions on frmMain.fgChannel. Each takes the channel
// number n (the grid row), reads its row's texts, writes its bits of the channel record and the
// cell's new text, greys the cell where the setting does not apply to the channel, and leaves
// DataModified True when it changed the channel.
#pragma once

void ToggleChannelSquelchLevel(int n);  // column 3 "SQ"
void CycleChannelMuteMode(int n);       // column 4 "Mute"
void ToggleChannelPower(int n);         // column 7 "PWR"
void ToggleChannelTurnOffCode(int n);   // column 8 "TOC"
void ToggleChannelRxOnly(int n);        // column 9 "Rx Only"
void CycleChannelReverseBurst(int n);   // column 10 "Rev Burst"
void ToggleChannelBusyLockout(int n);   // column 11 "BCLO"
void ToggleChannelBandwidth(int n);     // column 12 "Band"
void ToggleChannelTalkaround(int n);    // column 13 "TA"

// Runs the action of `column` (3, 4, 7..13) for row n; false for a column without one.
bool RunColumnToggle(int column, int n);

// Shows talkaround for row n from the row's texts as shown: the same frequency and the same
// squelch option both ways grey the TA cell with "Off" and clear the bit, any difference shows
// "On" in the normal colour and sets it. The frequency commit and the tone/code dialog call it.
void UpdateTalkaroundCell(int n);
