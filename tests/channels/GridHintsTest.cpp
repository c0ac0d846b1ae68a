#include <gtest/gtest.h>

#include "channels/GridHints.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "support/QtPrinters.h"

namespace {

QString Tip(int row, int col) { return ChannelGridHint(row, col)->tooltip; }
QString Status(int col) { return ChannelGridHint(1, col)->status; }

}  // namespace

TEST(GridHints, NameTheColumnUnderThePointer) {
  ResetModuleState();
  EXPECT_EQ(Status(0), "Channel Number");
  EXPECT_EQ(Tip(5, 0), "Ch No : 5");
  EXPECT_EQ(Tip(16, 0), "Ch No : 16");
  EXPECT_EQ(Tip(0, 0), "Ch No");
  EXPECT_EQ(Status(2), "Channel Rx KS Option Setting");
  EXPECT_EQ(Tip(3, 6), "CSQ / DKS / TKS / IDKS / TKS1 / TKS2 / TKS3");
  EXPECT_EQ(Status(4),
            "1:Std Unmuting,Std Muting; 2:And Unmuting,Std Muting; 3:And Unmuting,Or Muting");
  EXPECT_EQ(Tip(1, 4), Status(4));
  EXPECT_EQ(Tip(1, 9), " Rx Only Enable or Disable");
  EXPECT_EQ(Status(11), "Busy Channel Lock Out Setting");
  EXPECT_EQ(Tip(1, 13), "Repeater/Talkaround Set");
  EXPECT_FALSE(ChannelGridHint(1, 14));
  EXPECT_FALSE(ChannelGridHint(1, -1));
}

TEST(GridHints, FrequencyColumnsNameTheBand) {
  ResetModuleState();
  const char* ranges[] = {"403 ~ 425 MHz", "450 ~ 470 MHz", "136 ~ 150 MHz", "150 ~ 174 MHz",
                          "490 ~ 512 MHz"};
  for (int band = 0; band < 5; ++band) {
    CodeplugImage[layout::kBandCode] = static_cast<uint8_t>(0xF0 | band);  // the low nibble counts
    EXPECT_EQ(Tip(1, 1), ranges[band]);
    EXPECT_EQ(Tip(1, 5), ranges[band]);
  }
  CodeplugImage[layout::kRegionCode] = 18;
  EXPECT_EQ(Tip(1, 1), "490 ~ 512 MHz");
  CodeplugImage[layout::kBandCode] = 3;
  EXPECT_EQ(Tip(1, 5), "148 ~ 174 MHz");
  CodeplugImage[layout::kBandCode] = 15;
  EXPECT_EQ(Tip(1, 1), "");
  EXPECT_EQ(Status(1), "Channel Rx Frequency Edit");
}

TEST(GridHints, PowerAndBandwidthNameTheFixedCodes) {
  ResetModuleState();
  EXPECT_EQ(Tip(1, 7), "High or Low");
  EXPECT_EQ(Tip(1, 12), "12.5KHz / 25KHz");
  CodeplugImage[layout::kFixedPowerCode] = 64;
  CodeplugImage[layout::kFixedBandwidthCode] = 48;
  EXPECT_EQ(Tip(1, 7), "Fixed 5W");
  EXPECT_EQ(Tip(1, 12), "6.25KHz");
  CodeplugImage[layout::kFixedPowerCode] = 16;
  CodeplugImage[layout::kFixedBandwidthCode] = 32;
  EXPECT_EQ(Tip(1, 7), "Fixed 1W");
  EXPECT_EQ(Tip(1, 12), "25KHz");
  LegacyLayout = true;
  EXPECT_EQ(Tip(1, 7), "High or Low");
  EXPECT_EQ(Tip(1, 12), "12.5KHz / 25KHz");
}
