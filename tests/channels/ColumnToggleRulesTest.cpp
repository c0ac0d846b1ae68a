#include <gtest/gtest.h>

#include <QStringList>

#include "channels/ColumnToggleRules.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "support/QtPrinters.h"

namespace {

constexpr int kChannel = 5;
uint8_t& FlagsA() { return CodeplugImage[layout::ChannelOffset(kChannel) + 8]; }
uint8_t& FlagsB() { return CodeplugImage[layout::ChannelOffset(kChannel) + 9]; }
uint8_t& RxSquelch() { return CodeplugImage[layout::ChannelOffset(kChannel) + 6]; }

ToggleRowTexts Row(const QString& cell) {
  ToggleRowTexts row;
  row.cell = cell;
  row.rxFreq = "450.00000";
  row.txFreq = "455.00000";
  row.rxOption = " TKS: 67.0 Hz";
  row.txOption = " TKS: 67.0 Hz";
  row.userToneRx = {"100.0", "0", ""};
  return row;
}

// Runs `rule` on the cell text it produced last time, as repeated double clicks would.
template <class Rule>
QStringList Cycle(Rule rule, ToggleRowTexts row, int times) {
  QStringList seen;
  for (int i = 0; i < times; ++i) {
    const ToggleOutcome out = rule(kChannel, row);
    seen << out.text.value_or("<none>");
    if (out.text) row.cell = *out.text;
  }
  return seen;
}

}  // namespace

TEST(ColumnToggles, SquelchRxOnlyAndBusyLockoutFlipTheirBitOnly) {
  ResetModuleState();
  FlagsA() = 0x03;
  FlagsB() = 0x42;
  ToggleOutcome out = ToggleChannelSquelchLevelRule(kChannel, Row("Normal"));
  EXPECT_EQ(out.text, "Tight");
  EXPECT_EQ(out.colour, CellColour::kKeep);
  EXPECT_EQ(FlagsA(), 0x23);
  out = ToggleChannelSquelchLevelRule(kChannel, Row("Tight"));
  EXPECT_EQ(out.text, "Normal");
  EXPECT_EQ(FlagsA(), 0x03);
  // Unexpected text: the first state.
  FlagsA() = 0x23;
  EXPECT_EQ(ToggleChannelSquelchLevelRule(kChannel, Row("??")).text, "Normal");
  EXPECT_EQ(FlagsA(), 0x03);

  EXPECT_EQ(ToggleChannelRxOnlyRule(kChannel, Row("Off")).text, "On");
  EXPECT_EQ(FlagsA(), 0x43);
  EXPECT_EQ(ToggleChannelRxOnlyRule(kChannel, Row("On")).text, "Off");
  EXPECT_EQ(FlagsA(), 0x03);

  EXPECT_EQ(ToggleChannelBusyLockoutRule(kChannel, Row("Off")).text, "On");
  EXPECT_EQ(FlagsB(), 0x52);
  EXPECT_EQ(ToggleChannelBusyLockoutRule(kChannel, Row("")).text, "Off");
  EXPECT_EQ(FlagsB(), 0x42);
}

TEST(ColumnToggles, MuteCyclesOnAToneChannelAndGreysOnCarrierSquelch) {
  ResetModuleState();
  FlagsA() = 0xF0;
  ToggleRowTexts row = Row("1");
  row.rxOption = " CSQ";
  ToggleOutcome out = CycleChannelMuteModeRule(kChannel, row);
  EXPECT_EQ(out.colour, CellColour::kGrey);
  EXPECT_FALSE(out.text);
  EXPECT_EQ(FlagsA(), 0xF0);

  // A stored mode 0 shows "1" and becomes 2 on the first action.
  row.rxOption = " DKS: 023";
  EXPECT_EQ(Cycle(CycleChannelMuteModeRule, row, 4), (QStringList{"2", "3", "1", "2"}));
  EXPECT_EQ(FlagsA(), 0xF2);
  out = CycleChannelMuteModeRule(kChannel, Row("3"));
  EXPECT_EQ(out.colour, CellColour::kNormal);
  EXPECT_EQ(FlagsA(), 0xF1);
  EXPECT_EQ(CycleChannelMuteModeRule(kChannel, Row("")).text, "1");
  EXPECT_EQ(FlagsA(), 0xF1);
}

TEST(ColumnToggles, PowerFollowsTheFixedPowerCodeUnlessTheLayoutIsLegacy) {
  ResetModuleState();
  FlagsA() = 0x01;
  CodeplugImage[layout::kFixedPowerCode] = 48;
  EXPECT_EQ(ToggleChannelPowerRule(kChannel, Row("L")).text, "4W");
  EXPECT_EQ(FlagsA(), 0x81);
  EXPECT_EQ(ToggleChannelPowerRule(kChannel, Row("4W")).text, "4W");
  EXPECT_EQ(FlagsA(), 0x81);
  CodeplugImage[layout::kFixedPowerCode] = 64;
  EXPECT_EQ(ToggleChannelPowerRule(kChannel, Row("x")).text, "5W");
  EXPECT_EQ(FlagsA(), 0x81);
  CodeplugImage[layout::kFixedPowerCode] = 16;
  EXPECT_EQ(ToggleChannelPowerRule(kChannel, Row("H")).text, "1W");
  EXPECT_EQ(FlagsA(), 0x01);
  CodeplugImage[layout::kFixedPowerCode] = 32;
  FlagsA() = 0x81;
  EXPECT_EQ(ToggleChannelPowerRule(kChannel, Row("H")).text, "2W");
  EXPECT_EQ(FlagsA(), 0x01);

  CodeplugImage[layout::kFixedPowerCode] = 0;
  EXPECT_EQ(ToggleChannelPowerRule(kChannel, Row("L")).text, "H");
  EXPECT_EQ(FlagsA(), 0x81);
  EXPECT_EQ(ToggleChannelPowerRule(kChannel, Row("H")).text, "L");
  EXPECT_EQ(FlagsA(), 0x01);

  // Without a valid identity block the fixed codes mean nothing.
  LegacyLayout = true;
  CodeplugImage[layout::kFixedPowerCode] = 48;
  const ToggleOutcome out = ToggleChannelPowerRule(kChannel, Row("L"));
  EXPECT_EQ(out.text, "H");
  EXPECT_EQ(out.colour, CellColour::kKeep);
  EXPECT_EQ(FlagsA(), 0x81);
  EXPECT_EQ(ToggleChannelPowerRule(kChannel, Row("4W")).text, "L");
  EXPECT_EQ(FlagsA(), 0x01);
}

TEST(ColumnToggles, BandwidthFollowsTheFixedBandwidthCode) {
  ResetModuleState();
  CodeplugImage[layout::kFixedBandwidthCode] = 48;
  for (uint8_t flags : {uint8_t{0x80}, uint8_t{0x00}}) {
    FlagsB() = flags;
    EXPECT_EQ(ToggleChannelBandwidthRule(kChannel, Row("12.5")).text, "6.25");
    EXPECT_EQ(FlagsB(), flags) << "6.25 kHz keeps the stored bit";
  }
  CodeplugImage[layout::kFixedBandwidthCode] = 32;
  EXPECT_EQ(ToggleChannelBandwidthRule(kChannel, Row("12.5")).text, "25");
  EXPECT_EQ(FlagsB(), 0x80);
  CodeplugImage[layout::kFixedBandwidthCode] = 16;
  EXPECT_EQ(ToggleChannelBandwidthRule(kChannel, Row("25")).text, "12.5");
  EXPECT_EQ(FlagsB(), 0x00);
  CodeplugImage[layout::kFixedBandwidthCode] = 0xFF;
  EXPECT_EQ(Cycle(ToggleChannelBandwidthRule, Row("12.5"), 3), (QStringList{"25", "12.5", "25"}));
  EXPECT_EQ(FlagsB(), 0x80);

  LegacyLayout = true;
  CodeplugImage[layout::kFixedBandwidthCode] = 32;
  EXPECT_EQ(ToggleChannelBandwidthRule(kChannel, Row("25")).text, "12.5");
  EXPECT_EQ(FlagsB(), 0x00);
}

TEST(ColumnToggles, TurnOffCodeAppliesToDigitalCodesOnly) {
  ResetModuleState();
  FlagsA() = 0x0D;
  ToggleRowTexts row = Row("Off");
  for (const char* option : {" TKS: 67.0 Hz", " CSQ", " TKS2"}) {
    row.txOption = option;
    const ToggleOutcome out = ToggleChannelTurnOffCodeRule(kChannel, row);
    EXPECT_EQ(out.colour, CellColour::kGrey) << option;
    EXPECT_FALSE(out.text);
    EXPECT_EQ(FlagsA(), 0x0D);
  }
  row.txOption = " IDKS: 754";
  ToggleOutcome out = ToggleChannelTurnOffCodeRule(kChannel, row);
  EXPECT_EQ(out.colour, CellColour::kNormal);
  EXPECT_EQ(out.text, "On");
  EXPECT_EQ(FlagsA(), 0x1D);
  row.txOption = " DKS: 023";
  row.cell = "On";
  EXPECT_EQ(ToggleChannelTurnOffCodeRule(kChannel, row).text, "Off");
  EXPECT_EQ(FlagsA(), 0x0D);
}

TEST(ColumnToggles, ReverseBurstCyclesByItsStateOnToneChannels) {
  ResetModuleState();
  FlagsA() = 0x31;
  // The cell's text does not count: a loaded "240" with state 0 goes to "180".
  ToggleRowTexts row = Row("240");
  ToggleOutcome out = CycleChannelReverseBurstRule(kChannel, row);
  EXPECT_EQ(out.text, "180");
  EXPECT_EQ(out.colour, CellColour::kNormal);
  EXPECT_EQ(FlagsA(), 0x39);
  EXPECT_EQ(RevBurstState[kChannel - 1], 1);
  out = CycleChannelReverseBurstRule(kChannel, row);
  EXPECT_EQ(out.text, "240");
  EXPECT_EQ(FlagsA(), 0x3D);
  EXPECT_EQ(RevBurstState[kChannel - 1], 2);
  out = CycleChannelReverseBurstRule(kChannel, row);
  EXPECT_EQ(out.text, "None");
  EXPECT_EQ(FlagsA(), 0x31);
  EXPECT_EQ(RevBurstState[kChannel - 1], 0);

  // A user tone on the transmit side counts as a tone.
  row.txOption = " TKS3";
  EXPECT_EQ(CycleChannelReverseBurstRule(kChannel, row).text, "180");

  // A digital code or carrier squelch greys the cell and changes nothing.
  for (const char* option : {" DKS: 023", " IDKS: 023", " CSQ"}) {
    row.txOption = option;
    out = CycleChannelReverseBurstRule(kChannel, row);
    EXPECT_EQ(out.colour, CellColour::kGrey) << option;
    EXPECT_FALSE(out.text);
    EXPECT_EQ(FlagsA(), 0x39);
    EXPECT_EQ(RevBurstState[kChannel - 1], 1);
  }
}

TEST(ColumnToggles, ReverseBurstAsksForTheUserToneTheReceiveSquelchNames) {
  ResetModuleState();
  FlagsA() = 0x01;
  ToggleRowTexts row = Row("None");
  row.userToneRx = {"0", "", "151.4"};

  // A receive squelch that is no user tone looks at TKS1, whose box reads 0.
  RxSquelch() = 12;
  ToggleOutcome out = CycleChannelReverseBurstRule(kChannel, row);
  EXPECT_EQ(out.message, "Input TKS Frequency");
  EXPECT_EQ(out.colour, CellColour::kKeep);
  EXPECT_FALSE(out.text);
  EXPECT_EQ(FlagsA(), 0x01);
  EXPECT_EQ(RevBurstState[kChannel - 1], 0);

  RxSquelch() = 129;  // TKS2: an empty box reads 0 too
  EXPECT_EQ(CycleChannelReverseBurstRule(kChannel, row).message, "Input TKS Frequency");
  // The check comes before the digital-code test: no grey either.
  row.txOption = " DKS: 023";
  out = CycleChannelReverseBurstRule(kChannel, row);
  EXPECT_EQ(out.colour, CellColour::kKeep);
  EXPECT_EQ(out.message, "Input TKS Frequency");

  RxSquelch() = 130;  // TKS3 holds a tone
  row.txOption = " TKS: 67.0 Hz";
  out = CycleChannelReverseBurstRule(kChannel, row);
  EXPECT_EQ(out.message, "");
  EXPECT_EQ(out.text, "180");
}

TEST(ColumnToggles, TalkaroundAppliesToRepeaterChannelsOnly) {
  ResetModuleState();
  FlagsB() = 0x02;
  ToggleRowTexts row = Row("On");
  row.txFreq = row.rxFreq;  // same frequency and same option both ways
  ToggleOutcome out = ToggleChannelTalkaroundRule(kChannel, row);
  EXPECT_EQ(out.colour, CellColour::kGrey);
  EXPECT_FALSE(out.text);
  EXPECT_EQ(FlagsB(), 0x02);
  row.rxFreq = row.txFreq = "";  // two empty frequencies are equal too
  EXPECT_EQ(ToggleChannelTalkaroundRule(kChannel, row).colour, CellColour::kGrey);

  row.rxOption = " TKS1";  // options differ
  out = ToggleChannelTalkaroundRule(kChannel, row);
  EXPECT_EQ(out.colour, CellColour::kNormal);
  EXPECT_EQ(out.text, "Off");
  EXPECT_EQ(FlagsB(), 0x00);
  row.cell = "Off";
  EXPECT_EQ(ToggleChannelTalkaroundRule(kChannel, row).text, "On");
  EXPECT_EQ(FlagsB(), 0x02);
}
