#include <gtest/gtest.h>

#include "model/BandPlan.h"
#include "model/ChannelRecord.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"

namespace {

struct BandState {
  int low;
  int high;
  bool uhf;
  double offset;
  bool operator==(const BandState&) const = default;
};

BandState CurrentBand() { return {BandLowMHz, BandHighMHz, IsUhfBand, IfOffsetMHz}; }

}  // namespace

TEST(BandLimits, EachBandCodeSetsItsLimitsAndOffset) {
  ResetModuleState();
  const BandState expected[] = {{403, 425, true, -45.1},
                                {450, 470, true, -45.1},
                                {136, 150, false, 45.1},
                                {150, 174, false, 45.1},
                                {490, 512, true, -45.1}};
  for (int code = 0; code < 5; ++code) {
    CodeplugImage[4] = static_cast<uint8_t>(code);
    EXPECT_EQ(ApplyBandLimits(), 16);
    EXPECT_EQ(CurrentBand(), expected[code]) << code;
  }
  // Only the low nibble selects the band.
  CodeplugImage[4] = 0x32;
  ApplyBandLimits();
  EXPECT_EQ(CurrentBand(), expected[2]);
}

TEST(BandLimits, UnknownBandKeepsThePreviousState) {
  ResetModuleState();
  CodeplugImage[4] = 15;
  ApplyBandLimits();
  EXPECT_EQ(CurrentBand(), (BandState{0, 0, false, 0.0}));
  CodeplugImage[4] = 1;
  ApplyBandLimits();
  for (int code : {5, 6, 7, 8, 15}) {
    CodeplugImage[4] = static_cast<uint8_t>(code);
    ApplyBandLimits();
    EXPECT_EQ(CurrentBand(), (BandState{450, 470, true, -45.1})) << code;
  }
}

TEST(BandLimits, ChannelCountComesFromTheRegionCode) {
  ResetModuleState();
  for (int region : {0, 1, 3, 5, 8, 10, 11, 18}) EXPECT_EQ(ChannelCountForRegion(region), 16);
  EXPECT_EQ(ChannelCountForRegion(4), 8);
  EXPECT_EQ(ChannelCountForRegion(9), 8);

  // Band setup writes byte 2 and returns the spinner maximum, but leaves ChannelCountVar.
  CodeplugImage[237] = 9;
  CodeplugImage[4] = 1;
  EXPECT_EQ(ApplyBandLimits(), 8);
  EXPECT_EQ(CodeplugImage[2], 8);
  EXPECT_EQ(ChannelCountVar, 0);

  CodeplugImage[237] = 18;
  EXPECT_EQ(ApplyChannelCount(), 16);
  EXPECT_EQ(ChannelCountVar, 16);
  EXPECT_EQ(CodeplugImage[2], 16);
}

TEST(PriorityChannel, OutOfRangeStoredChannelBecomesOne) {
  ResetModuleState();
  // Stored 0 (never valid) and 12 on an 8-channel radio both come back as channel 1.
  CodeplugImage[14] = 0;
  EXPECT_EQ(CorrectPriorityChannel(CodeplugImage[14], 16), 1);
  EXPECT_EQ(CodeplugImage[14], 1);
  CodeplugImage[14] = 12;
  EXPECT_EQ(CorrectPriorityChannel(CodeplugImage[14], 8), 1);
  EXPECT_EQ(CodeplugImage[14], 1);
  CodeplugImage[14] = 255;
  EXPECT_EQ(CorrectPriorityChannel(CodeplugImage[14], 16), 1);
  EXPECT_EQ(CodeplugImage[14], 1);

  // Values in range are kept and the byte is not touched.
  CodeplugImage[14] = 8;
  EXPECT_EQ(CorrectPriorityChannel(8, 8), 8);
  EXPECT_EQ(CorrectPriorityChannel(12, 16), 12);
  EXPECT_EQ(CodeplugImage[14], 8);
}

TEST(ChannelRecords, ShrinkingToEightChannelsEmptiesTheRest) {
  ResetModuleState();
  CodeplugImage.Fill(16, 207, 0x5A);
  CodeplugImage[237] = 4;
  EXPECT_EQ(ResizeChannelRecords(), 8);
  EXPECT_EQ(ChannelCountVar, 8);
  EXPECT_EQ(CodeplugImage[2], 8);
  // Channels 1..8 and their step flags keep their bytes.
  EXPECT_TRUE(CodeplugImage.AllEqual(16, 95, 0x5A));
  EXPECT_TRUE(CodeplugImage.AllEqual(176, 183, 0x5A));
  EXPECT_TRUE(CodeplugImage.AllEqual(192, 199, 0x5A));
  // Channels 9..16 are empty records with 5 kHz step flags.
  for (int channel = 9; channel <= 16; ++channel) {
    const int base = 16 + 10 * (channel - 1);
    const uint8_t expected[] = {0x00, 0x00, 0xFC, 0x00, 0x00, 0xFC, 0x00, 0x00, 0x81, 0x80};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(CodeplugImage[base + i], expected[i]) << channel;
  }
  EXPECT_TRUE(CodeplugImage.AllEqual(184, 191, 0));
  EXPECT_TRUE(CodeplugImage.AllEqual(200, 207, 0));

  // Back to 16 channels: nothing is cleared.
  CodeplugImage.Fill(16, 207, 0x5A);
  CodeplugImage[237] = 0;
  EXPECT_EQ(ResizeChannelRecords(), 16);
  EXPECT_EQ(CodeplugImage[2], 16);
  EXPECT_TRUE(CodeplugImage.AllEqual(16, 207, 0x5A));
}

TEST(FrequencySegment, EveryEdgeOfEveryBand) {
  struct Case {
    int band;
    double mhz;
    int segment;
  };
  // Each edge from just below (one 6.25 kHz step) and at it.
  // clang-format off
  const Case cases[] = {
      {0, 0.0, 0}, {0, 407.99375, 0}, {0, 408.0, 1}, {0, 412.995, 1}, {0, 413.0, 2},
      {0, 417.99375, 2}, {0, 418.0, 3}, {0, 424.99375, 3}, {0, 425.0, 4}, {0, 500.0, 4},
      {1, 454.99375, 0}, {1, 455.0, 1}, {1, 460.0, 2}, {1, 465.0, 3}, {1, 469.99375, 3},
      {1, 470.0, 4}, {5, 454.99375, 0}, {5, 455.0, 1}, {5, 465.0, 3}, {5, 470.0, 4},
      // Band 2 has no segment 3 and includes 150 in segment 6.
      {2, 135.99375, 0}, {2, 136.0, 1}, {2, 140.0, 2}, {2, 142.99375, 2}, {2, 143.0, 4},
      {2, 146.99375, 4}, {2, 147.0, 6}, {2, 150.0, 6}, {2, 150.00625, 7}, {2, 150.01, 7},
      {3, 149.99375, 0}, {3, 150.0, 1}, {3, 155.0, 2}, {3, 160.0, 3}, {3, 165.0, 4},
      {3, 169.99375, 4}, {3, 170.0, 6}, {3, 174.0, 6}, {3, 174.00625, 7},
      {7, 150.0, 1}, {7, 170.0, 6}, {7, 174.0, 6}, {7, 174.005, 7},
      {4, 494.99375, 0}, {4, 495.0, 1}, {4, 500.0, 2}, {4, 505.0, 3}, {4, 511.99375, 3},
      {4, 512.0, 4},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(FrequencySegmentFor(c.band, c.mhz), c.segment) << c.band << " " << c.mhz;
  }
  // The whole byte's low nibble decides.
  EXPECT_EQ(FrequencySegmentFor(0x23, 174.0), 6);
  for (int band : {6, 8, 9, 12, 15}) EXPECT_EQ(FrequencySegmentFor(band, 150.0), std::nullopt);
}

TEST(FrequencySegment, StoredAtTheChannelsSegmentByte) {
  ResetModuleState();
  CodeplugImage.Fill(319, 345, 0xEE);
  CodeplugImage[4] = 2;
  SetChannelSegment(1, 147.0);
  SetChannelSegment(16, 150.01);
  SetChannelSegment(5, 0.0);  // a cleared channel gets segment 0
  EXPECT_EQ(CodeplugImage[320], 6);
  EXPECT_EQ(CodeplugImage[335], 7);
  EXPECT_EQ(CodeplugImage[324], 0);
  // No band row: nothing written.
  CodeplugImage[4] = 15;
  SetChannelSegment(2, 150.0);
  EXPECT_EQ(CodeplugImage[321], 0xEE);
  // Channel numbers beyond 16 would reach the serial number at 336.
  CodeplugImage[4] = 0;
  SetChannelSegment(17, 403.0);
  SetChannelSegment(0, 403.0);
  EXPECT_EQ(CodeplugImage[336], 0xEE);
  EXPECT_EQ(CodeplugImage[319], 0xEE);
}
