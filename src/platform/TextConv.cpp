#include "platform/TextConv.h"

#include <charconv>
#include <cstdio>
#include <cmath>
#include <limits>
#include <string>

namespace cps {

namespace {

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

}  // namespace

double NumericPrefix(const QString& text) {
  int i = 0;
  const int n = static_cast<int>(text.size());
  while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) ++i;

  std::string number;
  if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
    if (text[i] == QLatin1Char('-')) number += '-';
    ++i;
  }
  bool anyDigit = false;
  bool seenPoint = false;
  for (; i < n; ++i) {
    const QChar c = text[i];
    if (IsDigit(c)) {
      number += static_cast<char>(c.unicode());
      anyDigit = true;
    } else if (c == QLatin1Char('.') && !seenPoint) {
      number += '.';
      seenPoint = true;
    } else {
      break;
    }
  }
  if (!anyDigit) return 0.0;

  // An exponent counts only when at least one digit follows its letter and sign.
  if (i < n) {
    const QChar e = text[i].toUpper();
    if (e == QLatin1Char('E') || e == QLatin1Char('D')) {
      int j = i + 1;
      std::string exponent = "e";
      if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-'))) {
        exponent += static_cast<char>(text[j].unicode());
        ++j;
      }
      const size_t before = exponent.size();
      while (j < n && IsDigit(text[j])) exponent += static_cast<char>(text[j++].unicode());
      if (exponent.size() > before) number += exponent;
    }
  }

  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    return number.find("e-") != std::string::npos ? 0.0
           : number[0] == '-' ? -std::numeric_limits<double>::infinity()
                              : std::numeric_limits<double>::infinity();
  }
  return value;
}

int64_t RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kLimit = 9.2233720368547748e18;  // 2^63
  if (value >= kLimit) return std::numeric_limits<int64_t>::max();
  if (value <= -kLimit) return std::numeric_limits<int64_t>::min();
  // nearbyint rounds in the current mode, which this program never changes from to-nearest-even.
  return static_cast<int64_t>(std::nearbyint(value));
}

namespace {

// Fixed-point text without a leading "0" before the point. The C library's printf rounds the
// exact binary value to the nearest, ties to even (Qt's own formatter rounds ties up), and its
// "%f" never uses the locale's decimal comma for the "C" numeric locale we format in.
QString FixedWithoutLeadingZero(double value, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  QString text = QString::fromLatin1(buffer);
  text.replace(QLatin1Char(','), QLatin1Char('.'));
  if (text.startsWith(QLatin1String("0."))) {
    text.remove(0, 1);
  } else if (text.startsWith(QLatin1String("-0."))) {
    text.remove(1, 1);
  }
  return text;
}

}  // namespace

QString FormatFrequency(double mhz) { return FixedWithoutLeadingZero(mhz, 5); }

QString FormatTone(double hz) { return FixedWithoutLeadingZero(hz, 1); }

QString HexText(int64_t value) { return QString::number(value, 16).toUpper(); }

QString DecimalText(int64_t value) { return QString::number(value); }

QString BytesToText(const uint8_t* bytes, int count) {
  QString text;
  for (int i = 0; i < count && bytes[i] != 0; ++i) text += QChar(char16_t(bytes[i]));
  return text;
}

QByteArray TextToBytes(const QString& text) {
  QByteArray bytes;
  bytes.reserve(text.size());
  for (QChar c : text) bytes += c.unicode() <= 0xFF ? static_cast<char>(c.unicode()) : '?';
  return bytes;
}

int TwipsToPixels(int twips) {
  return static_cast<int>(RoundHalfEven(static_cast<double>(twips) / kTwipsPerPixel));
}

int PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

}  // namespace cps
