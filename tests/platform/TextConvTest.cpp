#include "platform/TextConv.h"

#include <gtest/gtest.h>

#include "support/QtPrinters.h"

#include <clocale>

using namespace cps;

TEST(NumericPrefix, ReadsTheNumberAtTheStartOfAText) {
  EXPECT_DOUBLE_EQ(NumericPrefix("120.0"), 120.0);
  EXPECT_DOUBLE_EQ(NumericPrefix("12.5 Hz"), 12.5);
  EXPECT_DOUBLE_EQ(NumericPrefix("  -3.25x"), -3.25);
  EXPECT_DOUBLE_EQ(NumericPrefix("+7"), 7.0);
  EXPECT_DOUBLE_EQ(NumericPrefix(".5"), 0.5);
  EXPECT_DOUBLE_EQ(NumericPrefix("5."), 5.0);
  EXPECT_DOUBLE_EQ(NumericPrefix("1.2.3"), 1.2);
  EXPECT_DOUBLE_EQ(NumericPrefix("1 2"), 1.0);
  EXPECT_DOUBLE_EQ(NumericPrefix("0000"), 0.0);
}

TEST(NumericPrefix, EmptyOrNonNumericTextReadsZero) {
  EXPECT_EQ(NumericPrefix(""), 0.0);
  EXPECT_EQ(NumericPrefix("abc"), 0.0);
  EXPECT_EQ(NumericPrefix("-"), 0.0);
  EXPECT_EQ(NumericPrefix("."), 0.0);
  EXPECT_EQ(NumericPrefix(" . 5"), 0.0);
}

TEST(NumericPrefix, TakesAnExponentOnlyWithDigits) {
  EXPECT_DOUBLE_EQ(NumericPrefix("1e3"), 1000.0);
  EXPECT_DOUBLE_EQ(NumericPrefix("1D-2"), 0.01);
  EXPECT_DOUBLE_EQ(NumericPrefix("2E"), 2.0);
  EXPECT_DOUBLE_EQ(NumericPrefix("2e+"), 2.0);
  EXPECT_TRUE(std::isinf(NumericPrefix("1e999")));
  EXPECT_EQ(NumericPrefix("1e-999"), 0.0);
}

TEST(NumericPrefix, IgnoresTheLocaleDecimalComma) {
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = old ? old : "C";
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) std::setlocale(LC_NUMERIC, "C");
  EXPECT_DOUBLE_EQ(NumericPrefix("403.025"), 403.025);
  EXPECT_DOUBLE_EQ(NumericPrefix("403,025"), 403.0);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(RoundHalfEven, GoesToTheNearestWithHalvesToEven) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(-3.5), -4);
  EXPECT_EQ(RoundHalfEven(2.4999999), 2);
  EXPECT_EQ(RoundHalfEven(64480.5), 64480);
  EXPECT_EQ(RoundHalfEven(64481.5), 64482);
  EXPECT_EQ(RoundHalfEven(1e300), INT64_MAX);
  EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
}

TEST(Formats, FrequencyHasFiveDecimalsAndNoLeadingZero) {
  EXPECT_EQ(FormatFrequency(403.0), "403.00000");
  EXPECT_EQ(FormatFrequency(464.025), "464.02500");
  EXPECT_EQ(FormatFrequency(467.7625), "467.76250");
  EXPECT_EQ(FormatFrequency(136.00625), "136.00625");
  EXPECT_EQ(FormatFrequency(0.5), ".50000");
  EXPECT_EQ(FormatFrequency(0.0), ".00000");
}

TEST(Formats, ToneHasOneDecimalWithTiesToEven) {
  EXPECT_EQ(FormatTone(120.0), "120.0");
  EXPECT_EQ(FormatTone(67.0), "67.0");
  EXPECT_EQ(FormatTone(0.5), ".5");
  EXPECT_EQ(FormatTone(67.25), "67.2");  // exact binary tie: to even
  EXPECT_EQ(FormatTone(67.75), "67.8");  // exact binary tie: to even
  EXPECT_EQ(FormatTone(102.4), "102.4");
  EXPECT_EQ(FormatTone(254.1), "254.1");
}

TEST(Formats, HexAndDecimalTexts) {
  EXPECT_EQ(HexText(0), "0");
  EXPECT_EQ(HexText(0x0A), "A");
  EXPECT_EQ(HexText(0x1F), "1F");
  EXPECT_EQ(HexText(255), "FF");
  EXPECT_EQ(DecimalText(7), "7");
  EXPECT_EQ(DecimalText(255), "255");
}

TEST(Bytes, EveryByteSurvivesARoundTripThroughText) {
  uint8_t bytes[255];
  for (int i = 0; i < 255; ++i) bytes[i] = static_cast<uint8_t>(i + 1);
  const QString text = BytesToText(bytes, 255);
  ASSERT_EQ(text.size(), 255);
  const QByteArray back = TextToBytes(text);
  ASSERT_EQ(back.size(), 255);
  for (int i = 0; i < 255; ++i) EXPECT_EQ(static_cast<uint8_t>(back[i]), bytes[i]) << i;
}

TEST(Bytes, AZeroByteEndsTheText) {
  const uint8_t bytes[] = {'A', 'B', '1', '2', 0, 'X', 0, 0};
  EXPECT_EQ(BytesToText(bytes, 8), "AB12");
  const uint8_t ff[] = {0xFF, 0xFF};
  EXPECT_EQ(BytesToText(ff, 2), QString(2, QChar(0xFF)));
  EXPECT_EQ(TextToBytes(QString(QChar(0x20AC))), QByteArray("?"));
}

TEST(Colours, BgrAndSystemColours) {
  EXPECT_EQ(BgrToRgb(0xFF), 0xFF0000u);    // &HFF is red
  EXPECT_EQ(BgrToRgb(0xFF00), 0x00FF00u);  // &HFF00 is green
  EXPECT_EQ(BgrToRgb(0xC0FFC0), 0xC0FFC0u);
  EXPECT_EQ(BgrToRgb(0xC0C0FF), 0xFFC0C0u);
  EXPECT_TRUE(IsSystemColour(kColourButtonText));
  EXPECT_FALSE(IsSystemColour(0xFF));
}

TEST(Twips, FifteenToAPixel) {
  EXPECT_EQ(TwipsToPixels(15120), 1008);
  EXPECT_EQ(TwipsToPixels(315), 21);
  EXPECT_EQ(TwipsToPixels(7), 0);
  EXPECT_EQ(TwipsToPixels(8), 1);
  EXPECT_EQ(PixelsToTwips(21), 315);
}
