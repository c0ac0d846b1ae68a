// Text and number conversions the whole program shares. Each rule is written once, here.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace cps {

// The number at the start of a text, "." as the decimal point whatever the locale. Leading
// blanks (spaces and tabs) are skipped; then an optional sign, digits with at most one ".", and
// an optional exponent ("E" or "D", either case, optional sign, at least one digit). Reading
// stops at the first character that does not fit, so "12.5 Hz" reads 12.5 and "1 2" reads 1.
// An empty text, or one without a numeric prefix, reads 0.
double NumericPrefix(const QString& text);

// Nearest integer with halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). Values beyond the
// 64-bit range saturate.
int64_t RoundHalfEven(double value);

// "###.####0": whole megahertz without leading zeros, a point and five decimal places
// (403.0 -> "403.00000", 0.5 -> ".50000").
QString FormatFrequency(double mhz);

// "#.0": one decimal place, no leading zero (120 -> "120.0", 0.5 -> ".5"). The value is rounded
// to one place from its exact binary value with halves to even, so the tie 67.25 gives "67.2"
// and 67.35 (binary just below) gives "67.3".
QString FormatTone(double hz);

// Upper-case hexadecimal without leading zeros (0 -> "0", 0x1F -> "1F").
QString HexText(int64_t value);

// Decimal text of a byte or any integer (7 -> "7").
QString DecimalText(int64_t value);

// One byte per character (Latin-1, a bijection on 0..255), ending at the first zero byte as a
// text box would show it.
QString BytesToText(const uint8_t* bytes, int count);

// One byte per character of the text, without the zero fill. A character above 255 (which no
// Latin-1 byte can hold) becomes "?".
QByteArray TextToBytes(const QString& text);

// Colours are written &HBBGGRR; &H80000000 + n names system colour n.
constexpr uint32_t kSystemColourBase = 0x80000000u;
constexpr uint32_t kColourButtonText = 0x80000012u;  // a setting that applies
constexpr uint32_t kColourGrayText = 0x80000011u;    // a setting that does not apply
constexpr bool IsSystemColour(uint32_t colour) { return (colour & kSystemColourBase) != 0; }
// &HBBGGRR to 0xRRGGBB; meaningless for a system colour.
constexpr uint32_t BgrToRgb(uint32_t bgr) {
  return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

// Twips to pixels at 96 dots per inch: 15 twips a pixel, halves to even.
constexpr int kTwipsPerPixel = 15;
int TwipsToPixels(int twips);
int PixelsToTwips(int pixels);

}  // namespace cps
