#include "channels/ToneOptionRules.h"

#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/KeyCodes.h"

namespace {

// A table of `count` boxes filled column by column, `perColumn` to a column; only the last
// column may be short.
struct TableShape {
  int count;
  int perColumn;
  int LastColumnStart() const { return (count - 1) / perColumn * perColumn; }
};

constexpr TableShape kToneShape{kToneCount, 9};
constexpr TableShape kCodeShape{kSquelchCodeCount, 11};

int MoveInTable(const TableShape& shape, int i, int keyCode) {
  if (i < 0 || i >= shape.count) return i;
  const int last = shape.LastColumnStart();
  const int c = shape.perColumn;
  switch (keyCode) {
    case cps::kKeyRight:
      if (i >= last) return i - last;
      if (i + c >= shape.count) return i - (last - c);  // no box to the right in the last column
      return i + c;
    case cps::kKeyLeft:
      if (i >= c) return i - c;
      if (i + last >= shape.count) return i + last - c;
      return i + last;
    case cps::kKeyUp:
      if (i == last) return shape.count - 1;
      if (i % c != 0) return i - 1;
      return i + c - 1;
    case cps::kKeyDown:
      if (i % c == c - 1) return i - (c - 1);
      if (i == shape.count - 1) return last;
      return i + 1;
    default:
      return i;
  }
}

bool IsCodeByte(uint8_t b) { return b >= kSquelchFirstCode && b <= kSquelchLastCode; }

DependentCell GreyWithText(const char* text) {
  return {CellColour::kGrey, QString::fromLatin1(text)};
}

}  // namespace

ToneDialogLayout LayoutForOption(int option) {
  switch (option) {
    case kSquelchTks:
      return ToneDialogLayout::kToneTable;
    case kSquelchDks:
    case kSquelchIdks:
      return ToneDialogLayout::kCodeTable;
    default:
      return ToneDialogLayout::kOptionsOnly;
  }
}

int ToneDialogHeight(ToneDialogLayout layout) {
  switch (layout) {
    case ToneDialogLayout::kToneTable:
      return 4500;
    case ToneDialogLayout::kCodeTable:
      return 5100;
    default:
      return 1100;
  }
}

ToneDialogStart StartToneDialog(int channelIndex, SquelchSide side) {
  ToneDialogStart start;
  if (channelIndex < 0 || channelIndex >= layout::kMaxChannels) return start;
  const int channel = channelIndex + 1;
  ChannelSideTable& recorded = side == SquelchSide::kRx ? RxSquelchOption : TxSquelchOption;
  const auto decoded =
      DecodeSquelch(ChannelSquelchByte(channel, side), ChannelSquelchInverted(channel, side));
  if (decoded) {
    recorded[channelIndex] = static_cast<uint8_t>(decoded->option);
    if (decoded->tableIndex >= 0) start.entry = decoded->tableIndex;
  }
  start.option = recorded[channelIndex];
  return start;
}

int MoveInToneTable(int entry, int keyCode) { return MoveInTable(kToneShape, entry, keyCode); }
int MoveInCodeTable(int entry, int keyCode) { return MoveInTable(kCodeShape, entry, keyCode); }

SquelchApplyOutcome ApplySquelchChoice(int channelIndex, SquelchSide side,
                                       const SquelchEncoding& choice) {
  SquelchApplyOutcome outcome;
  if (channelIndex < 0 || channelIndex >= layout::kMaxChannels) return outcome;
  const int base = layout::ChannelOffset(channelIndex + 1);
  const bool rx = side == SquelchSide::kRx;
  const uint8_t b = choice.squelchByte;
  const bool inverted = choice.inverted.value_or(false);

  CodeplugImage[base + (rx ? layout::kRecRxSquelch : layout::kRecTxSquelch)] = b;
  uint8_t& flagsB = CodeplugImage[base + layout::kRecFlagsB];
  const uint8_t mask = InversionMask(side);
  flagsB = static_cast<uint8_t>(inverted ? (flagsB | mask) : (flagsB & ~mask));

  const auto decoded = DecodeSquelch(b, inverted);
  const bool tableChoice =
      decoded && (decoded->option == kSquelchTks || decoded->option == kSquelchDks ||
                  decoded->option == kSquelchIdks);
  if (decoded && !tableChoice) {
    (rx ? RxSquelchOption : TxSquelchOption)[channelIndex] = static_cast<uint8_t>(decoded->option);
  }
  outcome.optionText = SquelchDisplayText(b, inverted);

  const bool carrier = b == kSquelchCarrier;
  if (rx) {
    outcome.mute = DependentCell{carrier ? CellColour::kGrey : CellColour::kNormal, std::nullopt};
    return outcome;
  }

  uint8_t& flagsA = CodeplugImage[base + layout::kRecFlagsA];
  if (IsCodeByte(b)) {
    outcome.turnOffCode = DependentCell{CellColour::kNormal, std::nullopt};
  } else {
    flagsA = static_cast<uint8_t>(flagsA & ~layout::kFlagsATurnOffCode);
    outcome.turnOffCode = GreyWithText("Off");
  }
  if (carrier || IsCodeByte(b)) {
    flagsA = static_cast<uint8_t>(flagsA & ~layout::kFlagsARevBurst);
    RevBurstState[channelIndex] = 0;
    outcome.reverseBurst = GreyWithText("None");
  } else {
    outcome.reverseBurst = DependentCell{CellColour::kNormal, std::nullopt};
  }
  return outcome;
}
