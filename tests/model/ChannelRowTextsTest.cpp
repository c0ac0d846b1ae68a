#include <gtest/gtest.h>

#include <QStringList>
#include <initializer_list>

#include "model/ChannelRowTexts.h"
#include "model/CodeplugLayout.h"
#include "support/QtPrinters.h"

namespace {

using namespace gridcol;

struct Row {
  ByteImage image;
  // Channel 1's ten record bytes; step flags as given.
  Row(std::initializer_list<int> bytes, int rxStep = 0, int txStep = 0) {
    int i = layout::ChannelOffset(1);
    for (int b : bytes) image[i++] = static_cast<uint8_t>(b);
    image[layout::RxStepFlag(1)] = static_cast<uint8_t>(rxStep);
    image[layout::TxStepFlag(1)] = static_cast<uint8_t>(txStep);
  }
  QString operator()(int col, bool uhf = true, bool legacy = false) const {
    return ChannelRowTexts(image, 1, uhf, legacy)[col];
  }
};

TEST(ChannelRowTexts, FrequenciesDecodeWithTheirStepAndTheReceiveOffset) {
  // UHF, 6.25 kHz: 64786 x 6250 + 45.1 MHz.
  EXPECT_EQ(Row({18, 253, 0, 0, 0, 0xFC, 0, 0, 0, 0}, 1)(kRxFreq), "450.01250");
  // VHF, 5 kHz both ways: 38324 x 5000 - 45.1 MHz and 29304 x 5000.
  const Row vhf({180, 149, 0, 120, 114, 0, 0, 0, 0, 0});
  EXPECT_EQ(vhf(kRxFreq, /*uhf=*/false), "146.52000");
  EXPECT_EQ(vhf(kTxFreq, false), "146.52000");
  for (int top : {0xFC, 0xFD, 0xFE, 0xFF}) {
    EXPECT_EQ(Row({1, 2, top, 3, 4, top, 0, 0, 0, 0})(kRxFreq), "") << top;
    EXPECT_EQ(Row({1, 2, top, 3, 4, top, 0, 0, 0, 0})(kTxFreq), "") << top;
  }
  // 0xFB0000 = 16,449,536 steps of 6250 Hz.
  EXPECT_EQ(Row({0, 0, 0xFC, 0, 0, 0xFB, 0, 0, 0, 0}, 0, 1)(kTxFreq), "102809.60000");
}

TEST(ChannelRowTexts, SquelchTextsReadEachSidesOwnInversionBit) {
  const Row rxInverted({0, 0, 0xFC, 0, 0, 0xFC, 80, 80, 0, 0x20});
  EXPECT_EQ(rxInverted(kRxOption), " IDKS: 263");
  EXPECT_EQ(rxInverted(kTxOption), " DKS: 263");
  EXPECT_EQ(Row({0, 0, 0xFC, 0, 0, 0xFC, 80, 80, 0, 0x40})(kTxOption), " IDKS: 263");
  const Row tones({0, 0, 0xFC, 0, 0, 0xFC, 1, 130, 0, 0});
  EXPECT_EQ(tones(kRxOption), " TKS: 67.0 Hz");
  EXPECT_EQ(tones(kTxOption), " TKS3");
  const Row meaningless({0, 0, 0xFC, 0, 0, 0xFC, 200, 131, 0, 0});
  EXPECT_EQ(meaningless(kRxOption), "");
  EXPECT_EQ(meaningless(kTxOption), "");
}

TEST(ChannelRowTexts, FlagColumnsOfAnEmptyChannelAndOfSetBits) {
  const Row empty({0x00, 0x00, 0xFC, 0x00, 0x00, 0xFC, 0x00, 0x00, 0x81, 0x80});
  const QStringList shown = {"",    " CSQ", "Normal", "1",   "",   " CSQ", "H",
                             "Off", "Off",  "None",   "Off", "25", "Off"};
  for (int col = 1; col < kCount; ++col) EXPECT_EQ(empty(col), shown[col - 1]) << col;

  const Row set({0, 0, 0xFC, 0, 0, 0xFC, 0, 0, 0x7A, 0x12});
  const QStringList setShown = {"Tight", "2", "L", "On", "On", "180", "On", "12.5", "On"};
  const int cols[] = {kSquelch,  kMute,        kPower, kTurnOffCode, kRxOnly,
                      kRevBurst, kBusyLockout, kBand,  kTalkaround};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(set(cols[i]), setShown[i]) << cols[i];
  EXPECT_EQ(Row({0, 0, 0xFC, 0, 0, 0xFC, 0, 0, 0x03, 0})(kMute), "3");
  EXPECT_EQ(Row({0, 0, 0xFC, 0, 0, 0xFC, 0, 0, 0x04, 0})(kRevBurst), "None");
  EXPECT_EQ(Row({0, 0, 0xFC, 0, 0, 0xFC, 0, 0, 0x0C, 0})(kRevBurst), "240");
}

TEST(ChannelRowTexts, FixedPowerAndBandwidthApplyOnlyWithAnIdentityBlock) {
  Row row({0, 0, 0xFC, 0, 0, 0xFC, 0, 0, 0x80, 0x00});  // high power, narrow band
  const std::pair<int, const char*> power[] = {{16, "1W"}, {32, "2W"}, {48, "4W"},
                                               {64, "5W"}, {0, "H"},   {0x50, "H"}};
  for (auto [code, text] : power) {
    row.image[layout::kFixedPowerCode] = static_cast<uint8_t>(code);
    EXPECT_EQ(row(kPower), text) << code;
  }
  const std::pair<int, const char*> band[] = {{16, "12.5"}, {32, "25"}, {48, "6.25"}, {64, "12.5"}};
  for (auto [code, text] : band) {
    row.image[layout::kFixedBandwidthCode] = static_cast<uint8_t>(code);
    EXPECT_EQ(row(kBand), text) << code;
  }
  row.image[layout::kFixedPowerCode] = 48;
  row.image[layout::kFixedBandwidthCode] = 48;
  EXPECT_EQ(row(kPower, true, /*legacy=*/true), "H");
  EXPECT_EQ(row(kBand, true, /*legacy=*/true), "12.5");
}

}  // namespace
