#include <gtest/gtest.h>

#include <vector>

#include "model/BandPlan.h"
#include "model/ChannelRecord.h"
#include "model/Defaults.h"
#include "model/ModuleState.h"
#include "platform/TextConv.h"
#include "support/QtPrinters.h"

namespace {

std::vector<uint8_t> Bytes(int first, int last) {
  std::vector<uint8_t> bytes;
  for (int i = first; i <= last; ++i) bytes.push_back(CodeplugImage[i]);
  return bytes;
}

const std::vector<uint8_t> kEmpty = {0x00, 0x00, 0xFC, 0x00, 0x00, 0xFC, 0x00, 0x00, 0x81, 0x80};

}  // namespace

TEST(Defaults, TimerBytes) {
  ResetModuleState();
  CodeplugImage.Fill(0, 399, 0x77);
  SetDefaultTimers();
  EXPECT_EQ(Bytes(6, 13), (std::vector<uint8_t>{18, 10, 8, 16, 5, 60, 20, 10}));
  EXPECT_EQ(CodeplugImage[5], 0x77);
  EXPECT_EQ(CodeplugImage[14], 0x77);
}

TEST(Defaults, ClearAllChannelsEmptiesAllSixteenOnAnEightChannelRadio) {
  ResetModuleState();
  CodeplugImage.Fill(0, 399, 0x42);
  CodeplugImage[237] = 4;
  CodeplugImage[2] = 8;
  ClearAllChannels();
  for (int channel = 1; channel <= 16; ++channel) {
    const int base = 16 + 10 * (channel - 1);
    EXPECT_EQ(Bytes(base, base + 9), kEmpty) << channel;
  }
  EXPECT_EQ(CodeplugImage[238], 0x15);
  EXPECT_EQ(CodeplugImage[239], 0x3F);
  EXPECT_EQ(CodeplugImage[244], 0);
  EXPECT_EQ(CodeplugImage[245], 0);
  // Step flags, scan slots, segments and the header keep their bytes.
  EXPECT_TRUE(CodeplugImage.AllEqual(176, 207, 0x42));
  EXPECT_TRUE(CodeplugImage.AllEqual(220, 235, 0x42));
  EXPECT_TRUE(CodeplugImage.AllEqual(320, 335, 0x42));
  EXPECT_TRUE(CodeplugImage.AllEqual(3, 15, 0x42));
  EXPECT_EQ(CodeplugImage[2], 8);
  EXPECT_EQ(CodeplugImage[246], 0x42);
}

TEST(Defaults, ButtonPositionsFollowTheFixedPowerCode) {
  const ButtonPositions perChannelPower{2, 4, 0, 7};
  const ButtonPositions fixedPower{1, 3, 0, 6};
  for (int code : {0, 255, 15, 0x50, 0x11}) {
    EXPECT_EQ(DefaultButtonPositions(static_cast<uint8_t>(code)), perChannelPower) << code;
  }
  for (int code : {16, 32, 48, 64}) {
    EXPECT_EQ(DefaultButtonPositions(static_cast<uint8_t>(code)), fixedPower) << code;
  }
}

TEST(Defaults, ChannelOnePresetPerBand) {
  struct Preset {
    int band;
    std::vector<uint8_t> codes;  // receive then transmit, low byte first
    uint8_t segment;
    const char* frequency;
  };
  const Preset presets[] = {
      {0, {176, 223, 0, 224, 251, 0}, 0, "403.00000"},
      {1, {212, 5, 1, 4, 34, 1}, 2, "464.02500"},
      {2, {240, 116, 0, 192, 88, 0}, 2, "142.00000"},
      {3, {148, 122, 0, 100, 94, 0}, 1, "151.02500"},
      {4, {16, 27, 1, 64, 55, 1}, 1, "498.00000"},
  };
  for (const Preset& p : presets) {
    ResetModuleState();
    CodeplugImage[4] = static_cast<uint8_t>(p.band);
    ClearAllChannels();
    SetDefaultChannelOne();
    EXPECT_EQ(Bytes(16, 21), p.codes) << p.band;
    EXPECT_EQ(CodeplugImage[320], p.segment) << p.band;
    // The preset decodes to the same frequency both ways on its own band.
    ApplyBandLimits();
    EXPECT_EQ(cps::FormatFrequency(*DecodeRxFrequencyMHz(1)), p.frequency);
    EXPECT_EQ(cps::FormatFrequency(*DecodeTxFrequencyMHz(1)), p.frequency);
  }
}

TEST(Defaults, ChannelOneWithoutBandKeepsNoFrequencies) {
  // Band byte 15 (new codeplug) and 0x11 (low nibble 1, but the whole byte decides): no preset.
  for (int band : {15, 0x11}) {
    ResetModuleState();
    CodeplugImage.Fill(220, 235, 0x09);
    CodeplugImage[245] = 0x80;
    CodeplugImage[320] = 0x33;
    CodeplugImage[4] = static_cast<uint8_t>(band);
    ClearAllChannels();
    SetDefaultChannelOne();
    EXPECT_EQ(Bytes(16, 21), (std::vector<uint8_t>{0, 0, 0xFC, 0, 0, 0xFC})) << band;
    EXPECT_EQ(CodeplugImage[320], 0x33);
    // Tone 103.5 Hz both ways, high power, reverse burst 11, mute 1, wide band.
    EXPECT_EQ(Bytes(22, 25), (std::vector<uint8_t>{14, 14, 0x8D, 0x80}));
    EXPECT_EQ(CodeplugImage[176], 1);
    EXPECT_EQ(CodeplugImage[192], 1);
    EXPECT_EQ(CodeplugImage[177], 0);
    // Channel 1 alone in the scan list.
    EXPECT_EQ(CodeplugImage[220], 1);
    EXPECT_TRUE(CodeplugImage.AllEqual(221, 235, 0));
    EXPECT_EQ(CodeplugImage[244], 1);
    EXPECT_EQ(CodeplugImage[245], 0);
    // Channel 2 stays empty.
    EXPECT_EQ(Bytes(26, 35), kEmpty);
  }
}
