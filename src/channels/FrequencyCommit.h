// The arithmetic of a frequency commit: a text typed into a frequency cell of the channel grid
// becomes a channel's 24-bit frequency code and step flag, or deletes the frequency. The widget
// routines CommitRxFrequency and CommitTxFrequency (ChannelGrid.h) wrap this with the grid, the
// messages and the scan-list boxes.
#pragma once

#include <QString>
#include <optional>

#include "model/ChannelRecord.h"

enum class FrequencySide { kRx, kTx };

// Texts of the commit's refusals, exactly as the user sees them.
inline constexpr char kInvalidFrequencyMessage[] = "Invalid Frequency";
inline constexpr char kOutOfRangeMessage[] = "Out of Frequency Range";
inline constexpr char kNotOnRasterMessage[] = "Frequency is not valid";
// Two trailing blanks belong to the text.
inline constexpr char kPriorityDeleteMessage[] =
    "Not Allowed To Delete Priority Channel Frequency  ";

// The number a frequency text holds as a whole: digits with at most one "." as the decimal
// point and at least one digit ("450", "450.", ".5", "450.0125"). Signs, blanks, exponents and
// digit-group separators make the text no number, so a pasted text cannot sneak past the band
// test as something else.
std::optional<double> ParseFrequencyText(const QString& text);

// What a typed text asks for, judged against the band in force (BandLowMHz, BandHighMHz and,
// for the receive side, IfOffsetMHz).
enum class FrequencyVerdict {
  kStore,        // a frequency on one of the two rasters inside the band
  kDelete,       // an empty text
  kInvalidText,  // not a number
  kOutOfRange,   // outside BandLowMHz..BandHighMHz (both inclusive)
  kNotOnRaster,  // neither a multiple of 6.25 kHz nor of 5 kHz
};

struct FrequencyDecision {
  FrequencyVerdict verdict = FrequencyVerdict::kInvalidText;
  double mhz = 0;      // the typed value, when the text is a number
  FrequencyCode code;  // the code to store (kStore only)
};

// The receive side counts the local oscillator: the offset IfOffsetMHz (-45.1 MHz on UHF,
// +45.1 MHz on VHF) is added before the raster test. The hertz value is rounded to a whole
// number with halves to even before it is tested; the 6.25 kHz raster is tried first.
FrequencyDecision DecideFrequency(const QString& text, FrequencySide side);

// --- The channel record (channel 1..16) ------------------------------------------------------

// Writes the code, low byte first, and the side's step flag.
void StoreFrequencyCode(int channel, FrequencySide side, const FrequencyCode& code);
// Writes 00 00 FC into the side's code bytes; step flag, squelch and flag bytes stay.
void ClearFrequencyCode(int channel, FrequencySide side);
// The stored frequency in MHz as the grid shows it; none when the side has no frequency.
std::optional<double> StoredFrequencyMHz(int channel, FrequencySide side);
// The stored frequency in "###.####0", or "" when the side has no frequency.
QString StoredFrequencyText(int channel, FrequencySide side);

// Takes channel 1..16 out of the scan list in the image: its slot becomes 0 and its bit of the
// scan bitmap is cleared. The bit is cleared with a mask, so a bit that is clear already stays
// clear and no other channel's bit can change.
void RemoveChannelFromScanImage(int channel);

// --- The whole commit, without the widgets ---------------------------------------------------

struct CommitOutcome {
  QString message;          // the message box to show, "" for none
  bool hideEditor = false;  // the refusal hides the inline editor
  bool stored = false;      // a frequency was stored
  bool deleted = false;     // the frequency was deleted: the channel leaves the scan list
  QString cellText;         // what the frequency cell shows afterwards
};

// Commits `text` into the side of `channel` (1..16). `priorityProtected` says the channel is the
// priority channel while priority scan is ticked: an empty text then deletes nothing, and the
// refusal is shown unless PrioScanErrorShown is True. Writes the code bytes, the step flag, the
// receive side's frequency segment and FreqCellCleared (1 after a deletion, 0 after a store).
// A refused text leaves every frequency byte and step flag as it was; the cell then shows the
// stored value again. The talkaround update and the scan-list boxes belong to the caller.
CommitOutcome CommitFrequencyText(int channel, FrequencySide side, const QString& text,
                                  bool priorityProtected);

// --- Talkaround -------------------------------------------------------------------------------

// Talkaround applies to a channel whose shown frequencies or shown squelch options differ (a
// repeater channel); the texts are compared exactly as shown.
bool TalkaroundApplies(const QString& rxFreq, const QString& txFreq, const QString& rxOption,
                       const QString& txOption);
// FlagsB bit 1 of channel 1..16.
void SetTalkaroundBit(int channel, bool on);
