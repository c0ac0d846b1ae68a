#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/ModuleState.h"
#include "model/UserTones.h"
#include "support/QtPrinters.h"

namespace {

// What a radio reads for user tone k: receive tone word, +0, +2, +4 (one byte), +7, +9, +13, +15,
// the receive period at 313 + 2k; then transmit tone word, +5, +11, +17.
std::vector<int> Counts(int k) {
  const ByteImage& m = CodeplugImage;
  const int b = 256 + 19 * k;
  return {m.Word(208 + 2 * k), m.Word(b),           m.Word(b + 2),  m[b + 4],
          m.Word(b + 7),       m.Word(b + 9),       m.Word(b + 13), m.Word(b + 15),
          m.Word(313 + 2 * k), m.Word(214 + 2 * k), m.Word(b + 5),  m.Word(b + 11),
          m.Word(b + 17)};
}

ToneEncodeResult EncodeBoth(int k, const UserToneBoxTexts& boxes) {
  const ToneEncodeResult rx = EncodeRxToneFrequency(CodeplugImage, k, boxes);
  const ToneEncodeResult tx = EncodeTxToneFrequency(CodeplugImage, k, boxes);
  return rx == tx ? rx : ToneEncodeResult::Refused;
}

void FillPattern() {
  for (int i = 0; i < 400; ++i) CodeplugImage[i] = static_cast<uint8_t>(i * 7 + 3);
}

}  // namespace

TEST(UserToneEncoders, WorkedExamplesAndTies) {
  // 67.0 .. 255.0: the table of worked values. 102.4 Hz by hand: 1/102.4 is exactly 5/512 in
  // double and (1/f)/K exactly 562.5, so P and +5/+11 are the even 562; then +15 =
  // (562 + 562/3 - 562/12) + 1124 evaluates to exactly 1826.5 -> 1826. 199.9 Hz still takes the
  // forms below 200 (P = 288: +9 = 3.5 P - P/12 = 984, +15 = 10P/3 - P/12 = 936).
  const std::pair<const char*, std::vector<int>> examples[] = {
      {"67.0", {670, 847, 873, 5, 3082, 2938, 2938, 2795, 1146, 670, 860, 860, 1146}},
      {"120.0", {1200, 473, 487, 9, 1720, 1640, 1640, 1560, 640, 1200, 480, 480, 640}},
      {"200.0", {2000, 284, 292, 15, 1032, 972, 984, 924, 384, 2000, 288, 288, 384}},
      {"255.0", {2550, 223, 229, 18, 810, 763, 772, 725, 301, 2550, 226, 226, 301}},
      {"102.4", {1024, 554, 571, 8, 2014, 1920, 1920, 1826, 750, 1024, 562, 562, 750}},
      {"199.9", {1999, 284, 293, 14, 1032, 984, 984, 936, 384, 1999, 288, 288, 384}},
      {"67.25", {672, 844, 870, 5, 3071, 2928, 2928, 2785, 1142, 672, 857, 857, 1142}},
      {"67.75", {678, 838, 863, 5, 3046, 2904, 2904, 2762, 1134, 678, 850, 850, 1134}}};
  for (int k = 0; k < 3; ++k) {
    for (const auto& [text, expected] : examples) {
      ResetModuleState();
      UserToneBoxTexts boxes = {"100", "100", "100"};
      boxes[k] = text;
      EXPECT_EQ(EncodeBoth(k, boxes), ToneEncodeResult::Stored) << text;
      EXPECT_EQ(Counts(k), expected) << text << " tone " << k;
    }
  }
}

// Every tenth of a hertz against the plain formulas (57600/(1.015 f), 76800/f, ...) worked in
// long double, skipping values within 1e-6 of a tie, where only the double grouping decides.
TEST(UserToneEncoders, FollowPlainFormulasAcrossTheRange) {
  auto round = [](long double x) -> int {
    return std::fabs(x - std::floor(x) - 0.5L) < 1e-6L ? -1 : static_cast<int>(std::llround(x));
  };
  for (int tenths = 670; tenths <= 2550; ++tenths) {
    const QString text = QString::number(tenths / 10.0, 'f', 1);
    const long double f = tenths / 10.0L;
    const int p = round(57600 / f);
    const long double cut = f < 200 ? p / 12.0L : p / 8.0L;
    const int plain[] = {tenths,
                         round(57600 / (1.015L * f)),
                         round(57600 / (0.985L * f)),
                         round(0.07L * f + 0.5L),
                         round(3.5L * p + p / 12.0L),
                         round(3.5L * p - cut),
                         round(p * 10 / 3.0L + p / 12.0L),
                         round(p * 10 / 3.0L - cut),
                         round(76800 / f),
                         tenths,
                         p,
                         p,
                         round(76800 / f)};
    ResetModuleState();
    ASSERT_EQ(EncodeBoth(0, {text, "", ""}), ToneEncodeResult::Stored) << text.toStdString();
    const std::vector<int> counts = Counts(0);
    for (int i = 0; i < 13; ++i) {
      if (plain[i] >= 0 && p >= 0) {
        EXPECT_EQ(counts[i], plain[i]) << text.toStdString() << " #" << i;
      }
    }
  }
}

TEST(UserToneEncoders, RefuseOutsideRangeAndWriteNothing) {
  for (const char* text : {"66.9", "255.1", "", "abc"}) {
    ResetModuleState();
    FillPattern();
    const ByteImage before = CodeplugImage;
    EXPECT_EQ(EncodeRxToneFrequency(CodeplugImage, 0, {text, "100", "200"}),
              ToneEncodeResult::Refused);
    EXPECT_EQ(EncodeTxToneFrequency(CodeplugImage, 0, {text, "100", "200"}),
              ToneEncodeResult::Refused);
    EXPECT_EQ(EncodeRxToneFrequency(CodeplugImage, 3, {"100", "100", "100"}),
              ToneEncodeResult::Refused);
    EXPECT_EQ(CodeplugImage.Bytes(), before.Bytes()) << text;
  }
}

TEST(UserToneEncoders, RangeBitsAndOwnedBytesOnly) {
  ResetModuleState();
  FillPattern();
  const ByteImage before = CodeplugImage;
  CodeplugImage[238] = 0xAA;
  CodeplugImage[239] = 0x55;
  // Receive bits 0/2/4: 151.3 and an empty box are below 151.4; transmit bits 1/3/5: 77.0 or less.
  EncodeRxToneFrequency(CodeplugImage, 1, {"151.3", "151.4", ""});
  EXPECT_EQ(CodeplugImage[238], 0xAA | 0x01 | 0x10);
  EncodeTxToneFrequency(CodeplugImage, 1, {"77.0", "77.1", ""});
  EXPECT_EQ(CodeplugImage[239], 0x55 | 0x02 | 0x20);
  EncodeRxToneFrequency(CodeplugImage, 1, {"200", "100", "250"});
  EXPECT_EQ(CodeplugImage[238], 0xAA | 0x04);

  // Tone 1 owns its words, block bytes 275..293 and the receive period 315..316; no other byte.
  for (int i = 0; i < 400; ++i) {
    const bool owned = i == 210 || i == 211 || i == 216 || i == 217 || (i >= 275 && i <= 293) ||
                       i == 315 || i == 316 || i == 238 || i == 239;
    if (!owned) {
      EXPECT_EQ(CodeplugImage[i], before[i]) << "byte " << i;
    }
  }
  // Each side keeps the other's counts: receive leaves +5, +11, +17, transmit the receive ones.
  std::vector<int> before1 = Counts(1);
  EncodeRxToneFrequency(CodeplugImage, 1, {"", "67", ""});
  std::vector<int> after1 = Counts(1);
  EXPECT_EQ(std::vector<int>(after1.begin() + 9, after1.end()),
            std::vector<int>(before1.begin() + 9, before1.end()));
  before1 = after1;
  EncodeTxToneFrequency(CodeplugImage, 1, {"", "255", ""});
  after1 = Counts(1);
  EXPECT_EQ(std::vector<int>(after1.begin(), after1.begin() + 9),
            std::vector<int>(before1.begin(), before1.begin() + 9));
}

TEST(ShowUserTones, TextsForStoredTonesDefaultsForZeroOnes) {
  ResetModuleState();
  FillPattern();
  const int words[] = {1200, 0, 675, 0, 2550, 1999};
  for (int i = 0; i < 6; ++i) CodeplugImage.SetWord(208 + 2 * i, words[i]);
  ByteImage expected = CodeplugImage;
  // Receive defaults of tone 1 and transmit defaults of tone 0, byte by byte.
  const int rx[] = {79, 3, 105, 3, 5, -1, -1, 82, 5, 194, 4, -1, -1, 225, 5, 82, 5};
  for (int i = 0; i < 17; ++i) {
    if (rx[i] >= 0) expected[275 + i] = rx[i];
  }
  const int tx[][2] = {{5, 92}, {6, 3}, {11, 92}, {12, 3}, {17, 123}, {18, 4}};
  for (const auto& [offset, value] : tx) expected[256 + offset] = value;

  const UserToneView view = ShowUserTonesOnImage(CodeplugImage);
  EXPECT_EQ(view.rx[0], "120.0");
  EXPECT_EQ(view.rx[1], std::nullopt);
  EXPECT_EQ(view.rx[2], "67.5");
  EXPECT_EQ(view.tx[0], std::nullopt);
  EXPECT_EQ(view.tx[1], "255.0");
  EXPECT_EQ(view.tx[2], "199.9");
  EXPECT_EQ(CodeplugImage.Bytes(), expected.Bytes());
}
