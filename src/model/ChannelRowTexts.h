// The texts of one channel-grid row, decoded from a channel record of the codeplug image. Every
// road that fills the grid takes its texts from here, because the column toggles compare and
// test exactly these texts.
#pragma once

#include <QString>
#include <array>

#include "model/ModuleState.h"

// Columns of the channel grid fgChannel; column 0 holds the channel number.
namespace gridcol {
constexpr int kChannelNumber = 0;
constexpr int kRxFreq = 1;        // "Rx Freq."
constexpr int kRxOption = 2;      // "KS Option" of the receive side
constexpr int kSquelch = 3;       // "SQ"
constexpr int kMute = 4;          // "Mute"
constexpr int kTxFreq = 5;        // "Tx Freq."
constexpr int kTxOption = 6;      // "KS Option" of the transmit side
constexpr int kPower = 7;         // "PWR"
constexpr int kTurnOffCode = 8;   // "TOC"
constexpr int kRxOnly = 9;        // "Rx Only"
constexpr int kRevBurst = 10;     // "Rev Burst"
constexpr int kBusyLockout = 11;  // "BCLO"
constexpr int kBand = 12;         // "Band"
constexpr int kTalkaround = 13;   // "TA"
constexpr int kCount = 14;
}  // namespace gridcol

// The order in which a row's cells are written.
constexpr std::array<int, 13> kChannelRowWriteOrder = {
    gridcol::kRxFreq,      gridcol::kTxFreq,   gridcol::kRxOption,    gridcol::kTxOption,
    gridcol::kSquelch,     gridcol::kMute,     gridcol::kPower,       gridcol::kRxOnly,
    gridcol::kTurnOffCode, gridcol::kRevBurst, gridcol::kBusyLockout, gridcol::kBand,
    gridcol::kTalkaround};

// Texts of columns 1..13 by column index (index 0 stays empty). Every cell gets its text, so
// nothing of a codeplug shown before stays in the row: a squelch byte of 131..255, which
// names no option, shows an empty cell.
using ChannelRowCells = std::array<QString, gridcol::kCount>;

// The row of channel 1..16 of `image`. `uhf` gives the receive offset's sign (IsUhfBand);
// `legacyLayout` makes the power and band cells ignore the identity block's fixed codes.
ChannelRowCells ChannelRowTexts(const ByteImage& image, int channel, bool uhf, bool legacyLayout);
