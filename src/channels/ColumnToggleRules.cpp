#include "channels/ColumnToggleRules.h"

#include "model/ChannelRecord.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/TextConv.h"

namespace {

uint8_t& FlagsA(int channel) {
  return CodeplugImage[layout::ChannelOffset(channel) + layout::kRecFlagsA];
}
uint8_t& FlagsB(int channel) {
  return CodeplugImage[layout::ChannelOffset(channel) + layout::kRecFlagsB];
}

void SetBits(uint8_t& byte, int mask, bool on) {
  byte = static_cast<uint8_t>(on ? (byte | mask) : (byte & ~mask));
}

// The two-state columns: a cell reading `setFrom` sets the bit and shows `setText`; any other
// text clears it and shows `clearText`.
ToggleOutcome TwoState(uint8_t& byte, int mask, const QString& cell, const char* setFrom,
                       const char* setText, const char* clearText) {
  const bool on = cell == QLatin1String(setFrom);
  SetBits(byte, mask, on);
  return {CellColour::kKeep, QString::fromLatin1(on ? setText : clearText), {}};
}

ToggleOutcome OffOn(uint8_t& byte, int mask, const QString& cell) {
  return TwoState(byte, mask, cell, "Off", "On", "Off");
}

ToggleOutcome Grey() { return {CellColour::kGrey, std::nullopt, {}}; }

ToggleOutcome Normal(ToggleOutcome outcome) {
  outcome.colour = CellColour::kNormal;
  return outcome;
}

// The fixed codes of the identity block count only when the image has one.
int FixedCode(int offset) { return LegacyLayout ? 0 : CodeplugImage[offset]; }

// The user tone whose receive box the reverse burst needs: the one the receive squelch names,
// TKS1 for any other receive squelch.
int ReverseBurstUserTone(int channel) {
  const int rx = CodeplugImage[layout::ChannelOffset(channel) + layout::kRecRxSquelch];
  return rx >= 128 && rx <= 130 ? rx - 128 : 0;
}

}  // namespace

ToggleOutcome ToggleChannelSquelchLevelRule(int channel, const ToggleRowTexts& row) {
  if (!IsChannelNumber(channel)) return {};
  return TwoState(FlagsA(channel), layout::kFlagsATightSquelch, row.cell, "Normal", "Tight",
                  "Normal");
}

ToggleOutcome CycleChannelMuteModeRule(int channel, const ToggleRowTexts& row) {
  if (!IsChannelNumber(channel)) return {};
  if (row.rxOption.left(3) == QLatin1String(" CS")) return Grey();
  int mode = 1;
  if (row.cell == QLatin1String("1")) mode = 2;
  if (row.cell == QLatin1String("2")) mode = 3;
  uint8_t& flags = FlagsA(channel);
  flags = static_cast<uint8_t>((flags & ~layout::kFlagsAMuteMode) | mode);
  return Normal({CellColour::kKeep, cps::DecimalText(mode), {}});
}

ToggleOutcome ToggleChannelPowerRule(int channel, const ToggleRowTexts& row) {
  if (!IsChannelNumber(channel)) return {};
  uint8_t& flags = FlagsA(channel);
  const auto fixed = [&](bool high, const char* text) {
    SetBits(flags, layout::kFlagsAHighPower, high);
    return ToggleOutcome{CellColour::kKeep, QString::fromLatin1(text), {}};
  };
  switch (FixedCode(layout::kFixedPowerCode)) {
    case 16:
      return fixed(false, "1W");
    case 32:
      return fixed(false, "2W");
    case 48:
      return fixed(true, "4W");
    case 64:
      return fixed(true, "5W");
    default:
      return TwoState(flags, layout::kFlagsAHighPower, row.cell, "L", "H", "L");
  }
}

ToggleOutcome ToggleChannelTurnOffCodeRule(int channel, const ToggleRowTexts& row) {
  if (!IsChannelNumber(channel)) return {};
  const bool digitalCode = row.txOption.left(4) == QLatin1String(" DKS") ||
                           row.txOption.left(5) == QLatin1String(" IDKS");
  if (!digitalCode) return Grey();
  return Normal(OffOn(FlagsA(channel), layout::kFlagsATurnOffCode, row.cell));
}

ToggleOutcome ToggleChannelRxOnlyRule(int channel, const ToggleRowTexts& row) {
  if (!IsChannelNumber(channel)) return {};
  return OffOn(FlagsA(channel), layout::kFlagsARxOnly, row.cell);
}

ToggleOutcome CycleChannelReverseBurstRule(int channel, const ToggleRowTexts& row) {
  if (!IsChannelNumber(channel)) return {};
  const int userTone = ReverseBurstUserTone(channel);
  if (cps::NumericPrefix(row.userToneRx[userTone]) == 0) {
    return {CellColour::kKeep, std::nullopt, QString::fromLatin1(kInputTksFrequencyMessage)};
  }
  const bool tone =
      row.txOption.left(4) == QLatin1String(" TKS") || row.txOption.left(3) == QLatin1String(" KS");
  if (!tone) return Grey();

  struct Step {
    int bits;
    const char* text;
    int nextState;
  };
  // By the state reached so far: None -> 180 -> 240 -> None.
  static constexpr std::array<Step, 3> kCycle = {
      {{0x08, "180", 1}, {0x0C, "240", 2}, {0x00, "None", 0}}};
  uint8_t& state = RevBurstState[channel - 1];
  const Step& step = kCycle[state >= 2 ? 2 : state];
  uint8_t& flags = FlagsA(channel);
  flags = static_cast<uint8_t>((flags & ~layout::kFlagsARevBurst) | step.bits);
  state = static_cast<uint8_t>(step.nextState);
  return Normal({CellColour::kKeep, QString::fromLatin1(step.text), {}});
}

ToggleOutcome ToggleChannelBusyLockoutRule(int channel, const ToggleRowTexts& row) {
  if (!IsChannelNumber(channel)) return {};
  return OffOn(FlagsB(channel), layout::kFlagsBBusyLockout, row.cell);
}

ToggleOutcome ToggleChannelBandwidthRule(int channel, const ToggleRowTexts& row) {
  if (!IsChannelNumber(channel)) return {};
  uint8_t& flags = FlagsB(channel);
  switch (FixedCode(layout::kFixedBandwidthCode)) {
    case 16:
      SetBits(flags, layout::kFlagsBWideBand, false);
      return {CellColour::kKeep, QStringLiteral("12.5"), {}};
    case 32:
      SetBits(flags, layout::kFlagsBWideBand, true);
      return {CellColour::kKeep, QStringLiteral("25"), {}};
    case 48:  // 6.25 kHz has no bit of its own: the stored one stays
      return {CellColour::kKeep, QStringLiteral("6.25"), {}};
    default:
      return TwoState(flags, layout::kFlagsBWideBand, row.cell, "12.5", "25", "12.5");
  }
}

ToggleOutcome ToggleChannelTalkaroundRule(int channel, const ToggleRowTexts& row) {
  if (!IsChannelNumber(channel)) return {};
  const bool repeater = row.rxFreq != row.txFreq || row.rxOption != row.txOption;
  if (!repeater) return Grey();
  return Normal(OffOn(FlagsB(channel), layout::kFlagsBTalkaround, row.cell));
}
