#include "model/ModuleState.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ByteImage, OutOfRangeIndexIsReportedAndHarmless) {
  ResetModuleState();
  std::vector<int> reported;
  SetImageIndexErrorHandler([&](int index) { reported.push_back(index); });
  const int before = ImageIndexErrorCount();

  CodeplugImage[400] = 0x55;
  CodeplugImage[-1] = 0x66;
  EXPECT_EQ(CodeplugImage[400], 0);
  const ByteImage& constImage = CodeplugImage;
  EXPECT_EQ(constImage[1000], 0);

  EXPECT_EQ(reported, (std::vector<int>{400, -1, 400, 1000}));
  EXPECT_EQ(ImageIndexErrorCount() - before, 4);
  EXPECT_EQ(CodeplugImage[399], 0);
  EXPECT_EQ(CodeplugImage[0], 0);
  SetImageIndexErrorHandler(nullptr);
}

TEST(ByteImage, WordsAreLittleEndian) {
  ResetModuleState();
  CodeplugImage.SetWord(208, 1200);
  EXPECT_EQ(CodeplugImage[208], 0xB0);
  EXPECT_EQ(CodeplugImage[209], 0x04);
  EXPECT_EQ(CodeplugImage.Word(208), 1200);
  CodeplugImage.Fill(336, 345, 0xFF);
  EXPECT_TRUE(CodeplugImage.AllEqual(336, 345, 0xFF));
  CodeplugImage[340] = 0;
  EXPECT_FALSE(CodeplugImage.AllEqual(336, 345, 0xFF));
}

TEST(ModuleState, ResetRestoresProgramStartValues) {
  CodeplugImage[5] = 1;
  RadioImage[7] = 2;
  RevBurstState[3] = 2;
  IfOffsetMHz = 45.1;
  ChannelCountVar = 16;
  DataModified = LegacyLayout = ExitRequested = true;
  ShortPressIndex2 = 4;
  ResetModuleState();
  EXPECT_EQ(CodeplugImage[5], 0);
  EXPECT_EQ(RadioImage[7], 0);
  EXPECT_EQ(RevBurstState[3], 0);
  EXPECT_EQ(IfOffsetMHz, 0.0);
  EXPECT_EQ(ChannelCountVar, 0);
  EXPECT_FALSE(DataModified || LegacyLayout || ExitRequested);
  EXPECT_EQ(ShortPressIndex2, 0);
}
