#include <gtest/gtest.h>

#include <QString>

#include "model/ModuleState.h"
#include "model/SquelchTables.h"
#include "support/QtPrinters.h"

TEST(SquelchTables, ContentsMatchTheFixedLists) {
  ASSERT_EQ(ToneFrequencyTable.size(), 42u);
  ASSERT_EQ(SquelchCodeTable.size(), 85u);
  // Spot checks: first, last and the first of every ten.
  const std::pair<int, const char*> tones[] = {
      {0, "67.0"},   {9, "91.5"},   {10, "94.8"},  {11, "97.4"},  {12, "100.0"}, {13, "103.5"},
      {20, "131.8"}, {30, "186.2"}, {32, "203.5"}, {33, "206.5"}, {40, "250.3"}, {41, "254.1"}};
  for (auto [i, text] : tones) EXPECT_STREQ(ToneFrequencyTable[i], text) << i;
  const std::pair<int, const char*> codes[] = {
      {0, "023"},  {9, "065"},  {10, "071"}, {13, "074"}, {14, "114"}, {20, "134"}, {30, "223"},
      {37, "263"}, {40, "306"}, {50, "411"}, {60, "503"}, {70, "627"}, {80, "731"}, {84, "754"}};
  for (auto [i, text] : codes) EXPECT_STREQ(SquelchCodeTable[i], text) << i;

  // Tones rise, each with one decimal; codes rise, three octal digits each.
  for (int i = 0; i < 42; ++i) {
    const QString t = QString::fromLatin1(ToneFrequencyTable[i]);
    EXPECT_EQ(t.indexOf('.'), t.size() - 2) << i;
    if (i > 0) {
      EXPECT_LT(QString::fromLatin1(ToneFrequencyTable[i - 1]).toDouble(), t.toDouble()) << i;
    }
  }
  for (int i = 0; i < 85; ++i) {
    const QString c = QString::fromLatin1(SquelchCodeTable[i]);
    ASSERT_EQ(c.size(), 3) << i;
    for (QChar d : c) EXPECT_TRUE(d >= '0' && d <= '7') << i;
    if (i > 0) {
      EXPECT_LT(QString::fromLatin1(SquelchCodeTable[i - 1]), c) << i;
    }
  }
  EXPECT_STREQ(SquelchOptionCaptions[0], "CSQ");
  EXPECT_STREQ(SquelchOptionCaptions[3], "IDKS");
  EXPECT_STREQ(SquelchOptionCaptions[6], "TKS3");
}

TEST(SquelchByte, DecodesEveryRange) {
  EXPECT_EQ(DecodeSquelch(0, false), (SquelchChoice{kSquelchCsq, -1}));
  EXPECT_EQ(DecodeSquelch(1, false), (SquelchChoice{kSquelchTks, 0}));
  EXPECT_EQ(DecodeSquelch(42, true), (SquelchChoice{kSquelchTks, 41}));
  EXPECT_EQ(DecodeSquelch(43, false), (SquelchChoice{kSquelchDks, 0}));
  EXPECT_EQ(DecodeSquelch(127, false), (SquelchChoice{kSquelchDks, 84}));
  EXPECT_EQ(DecodeSquelch(80, false), (SquelchChoice{1, 37}));
  EXPECT_EQ(DecodeSquelch(80, true), (SquelchChoice{3, 37}));
  for (bool bit : {false, true}) {
    EXPECT_EQ(DecodeSquelch(128, bit), (SquelchChoice{4, -1}));
    EXPECT_EQ(DecodeSquelch(129, bit), (SquelchChoice{5, -1}));
    EXPECT_EQ(DecodeSquelch(130, bit), (SquelchChoice{6, -1}));
    for (int b = 131; b <= 255; ++b) {
      EXPECT_EQ(DecodeSquelch(static_cast<uint8_t>(b), bit), std::nullopt) << b;
    }
  }
}

TEST(SquelchByte, EveryToneAndCodeRoundTrips) {
  for (int i = 0; i < 42; ++i) {
    const auto enc = EncodeSquelch(kSquelchTks, i);
    ASSERT_TRUE(enc);
    EXPECT_EQ(enc->squelchByte, i + 1);
    EXPECT_EQ(enc->inverted, std::nullopt);  // a tone leaves the inversion bit alone
    EXPECT_EQ(DecodeSquelch(enc->squelchByte, false), (SquelchChoice{kSquelchTks, i}));
    EXPECT_EQ(DecodeSquelch(enc->squelchByte, true), (SquelchChoice{kSquelchTks, i}));
  }
  for (int i = 0; i < 85; ++i) {
    const auto plain = EncodeSquelch(kSquelchDks, i);
    const auto inverted = EncodeSquelch(kSquelchIdks, i);
    ASSERT_TRUE(plain && inverted);
    EXPECT_EQ(plain->squelchByte, i + 43);
    EXPECT_EQ(inverted->squelchByte, i + 43);
    EXPECT_EQ(plain->inverted, false);
    EXPECT_EQ(inverted->inverted, true);
    EXPECT_EQ(DecodeSquelch(plain->squelchByte, *plain->inverted), (SquelchChoice{1, i}));
    EXPECT_EQ(DecodeSquelch(inverted->squelchByte, *inverted->inverted), (SquelchChoice{3, i}));
  }
  EXPECT_EQ(EncodeSquelch(kSquelchCsq, 7), (SquelchEncoding{0, std::nullopt}));
  EXPECT_EQ(EncodeSquelch(kSquelchTks1, -1), (SquelchEncoding{128, std::nullopt}));
  EXPECT_EQ(EncodeSquelch(kSquelchTks2, -1), (SquelchEncoding{129, std::nullopt}));
  EXPECT_EQ(EncodeSquelch(kSquelchTks3, -1), (SquelchEncoding{130, std::nullopt}));
  // Nothing outside the option row or a table.
  EXPECT_EQ(EncodeSquelch(7, 0), std::nullopt);
  EXPECT_EQ(EncodeSquelch(-1, 0), std::nullopt);
  EXPECT_EQ(EncodeSquelch(kSquelchTks, 42), std::nullopt);
  EXPECT_EQ(EncodeSquelch(kSquelchDks, 85), std::nullopt);
  EXPECT_EQ(EncodeSquelch(kSquelchIdks, -1), std::nullopt);
}

TEST(SquelchText, GridTextsForEveryKind) {
  EXPECT_EQ(SquelchDisplayText(0, false), " CSQ");
  EXPECT_EQ(SquelchDisplayText(1, false), " TKS: 67.0 Hz");
  EXPECT_EQ(SquelchDisplayText(12, false), " TKS: 97.4 Hz");
  EXPECT_EQ(SquelchDisplayText(13, true), " TKS: 100.0 Hz");
  EXPECT_EQ(SquelchDisplayText(14, false), " TKS: 103.5 Hz");
  EXPECT_EQ(SquelchDisplayText(42, false), " TKS: 254.1 Hz");
  EXPECT_EQ(SquelchDisplayText(43, false), " DKS: 023");
  EXPECT_EQ(SquelchDisplayText(80, false), " DKS: 263");
  EXPECT_EQ(SquelchDisplayText(80, true), " IDKS: 263");
  EXPECT_EQ(SquelchDisplayText(127, true), " IDKS: 754");
  EXPECT_EQ(SquelchDisplayText(128, true), " TKS1");
  EXPECT_EQ(SquelchDisplayText(129, false), " TKS2");
  EXPECT_EQ(SquelchDisplayText(130, false), " TKS3");
  // Meaningless bytes show nothing rather than an earlier text.
  for (int b : {131, 200, 255}) {
    EXPECT_TRUE(SquelchDisplayText(static_cast<uint8_t>(b), false).isEmpty()) << b;
  }
}

TEST(SquelchText, EachSideReadsOnlyItsOwnInversionBit) {
  ResetModuleState();
  EXPECT_EQ(InversionMask(SquelchSide::kRx), 0x20);
  EXPECT_EQ(InversionMask(SquelchSide::kTx), 0x40);
  // Channel 3: both bytes 80, FlagsB with only the receive bit.
  CodeplugImage[42] = 80;
  CodeplugImage[43] = 80;
  CodeplugImage[45] = 0x20;
  auto text = [](SquelchSide side) {
    return SquelchDisplayText(ChannelSquelchByte(3, side), ChannelSquelchInverted(3, side));
  };
  EXPECT_EQ(text(SquelchSide::kRx), " IDKS: 263");
  EXPECT_EQ(text(SquelchSide::kTx), " DKS: 263");
  CodeplugImage[45] = 0xDF;  // every bit but the receive one
  EXPECT_EQ(text(SquelchSide::kRx), " DKS: 263");
  EXPECT_EQ(text(SquelchSide::kTx), " IDKS: 263");
}

TEST(SquelchText, DialogLabels) {
  EXPECT_EQ(ToneDialogLabel(0), "01");
  EXPECT_EQ(ToneDialogLabel(9), "0A");
  EXPECT_EQ(ToneDialogLabel(15), "10");
  EXPECT_EQ(ToneDialogLabel(41), "2A");
  EXPECT_EQ(CodeDialogLabel(0), "1");
  EXPECT_EQ(CodeDialogLabel(84), "85");
}
