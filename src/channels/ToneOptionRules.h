// The tone/code dialog without its widgets: which option and table entry it opens on, its three
// layouts, moving through the tone and code tables by arrow keys, and what an applied choice
// writes into the channel record and shows in the dependent grid columns. frmChannelToneOption
// (frmChannelToneOption.h) drives these.
#pragma once

#include <QString>
#include <optional>

#include "channels/ColumnToggleRules.h"
#include "model/SquelchTables.h"

// The dialog's layouts: the option row alone, or with the tone or the code table below it.
enum class ToneDialogLayout { kOptionsOnly, kToneTable, kCodeTable };

constexpr int kToneDialogWidth = 8250;  // twips, every layout
ToneDialogLayout LayoutForOption(int option);
int ToneDialogHeight(ToneDialogLayout layout);  // 1100, 4500 or 5100 twips

struct ToneDialogStart {
  int option = kSquelchCsq;  // the option button to select
  int entry = 0;             // the table entry to focus (tone or code index)
};

// Decodes the side's squelch of channel index 0..15 and records the option in RxSquelchOption
// or TxSquelchOption. A byte of 131..255 decodes to nothing: the dialog opens on the option last
// recorded for that channel and side, with entry 0.
ToneDialogStart StartToneDialog(int channelIndex, SquelchSide side);

// The entry an arrow key (key codes 37..40) moves to from `entry`. Left and right keep the row
// and wrap between the first and the short last column; up and down stay in the column and
// wrap. Any other key stays on `entry`.
int MoveInToneTable(int entry, int keyCode);  // 42 tones in columns of 9
int MoveInCodeTable(int entry, int keyCode);  // 85 codes in columns of 11

// A dependent cell of the edited row after a choice.
struct DependentCell {
  CellColour colour = CellColour::kKeep;
  std::optional<QString> text;
};

struct SquelchApplyOutcome {
  QString optionText;                         // the side's "KS Option" cell
  std::optional<DependentCell> mute;          // receive side only
  std::optional<DependentCell> turnOffCode;   // transmit side only
  std::optional<DependentCell> reverseBurst;  // transmit side only
};

// Writes a choice into channel index 0..15: the side's squelch byte, its inversion bit (set only
// for an inverted code; the other side's bit stays), the recorded option for carrier squelch
// and the user tones, and on the transmit side the turn-off code and reverse burst that no
// longer apply (their bits cleared, RevBurstState 0). Talkaround is the caller's, from the grid
// texts once the option cell shows the new text.
SquelchApplyOutcome ApplySquelchChoice(int channelIndex, SquelchSide side,
                                       const SquelchEncoding& choice);
