// Built with -ffp-contract=off: every count below must follow the written grouping of IEEE double
// operations to the last bit, because that bit decides how ties round. Do not simplify the
// expressions algebraically.
#include "model/UserTones.h"

#include "model/CodeplugLayout.h"
#include "platform/TextConv.h"

namespace {

// One period of 57 600 Hz and one of 921 600 Hz, both from the radio's 7.3728 MHz clock.
const double K = 1 / (7372800.0 / 128);
const double L = 1 / (7372800.0 / 8);

// Receive tones below this use the low decoder range.
constexpr double kRxLowRangeBelowHz = 151.4;
// Transmit tones at or below this use the low encoder range.
constexpr double kTxLowRangeUpToHz = 77.0;

double Round(double x) { return static_cast<double>(cps::RoundHalfEven(x)); }

int Count(double x) { return static_cast<int>(cps::RoundHalfEven(x)); }

bool IsUserTone(int k) { return k >= 0 && k < usertone::kCount; }

bool IsAcceptedFrequency(double f) { return f >= usertone::kLowestHz && f <= usertone::kHighestHz; }

void SetBit(ByteImage& image, int index, int mask, bool on) {
  image[index] = static_cast<uint8_t>(on ? (image[index] | mask) : (image[index] & ~mask));
}

void WriteRxCounts(ByteImage& image, int k, double f) {
  const int block = layout::UserToneBlock(k);
  image.SetWord(block + usertone::kRxPeriodUpper, Count((1 / (f + f * 0.015)) / K));
  image.SetWord(block + usertone::kRxPeriodLower, Count((1 / (f - f * 0.015)) / K));
  image[block + usertone::kRxWindow] = static_cast<uint8_t>(Count(0.07 / (1 / f) + 0.5));

  const double P = Round((1 / f) / K);
  image.SetWord(block + usertone::kRxWord7, Count(((P + P / 2) + P / 12) + P * 2));
  image.SetWord(block + usertone::kRxWord13, Count(((P + P / 3) + P / 12) + P * 2));
  if (f < 200) {
    image.SetWord(block + usertone::kRxWord9, Count(((P + P / 2) - P / 12) + P * 2));
    image.SetWord(block + usertone::kRxWord15, Count(((P + P / 3) - P / 12) + P * 2));
  } else {
    image.SetWord(block + usertone::kRxWord9,
                  Count(((P + P / 2) - (P / 12 + (P / 12) / 2)) + P * 2));
    image.SetWord(block + usertone::kRxWord15,
                  Count(((P + P / 3) - (P / 12 + (P / 12) / 2)) + P * 2));
  }
  image.SetWord(layout::UserToneRxPeriod(k), Count((((1 / f) / 1.5) / 8) / L));
}

void WriteTxCounts(ByteImage& image, int k, double f) {
  const int block = layout::UserToneBlock(k);
  image.SetWord(block + usertone::kTxPeriodA, Count(((1 / f) / 16) / L));
  image.SetWord(block + usertone::kTxPeriodB, Count((((1 / f) / 2) / 8) / L));
  image.SetWord(block + usertone::kTxPeriodC, Count((((1 / f) / 1.5) / 8) / L));
}

// The range bits follow all three boxes of a direction, whichever tone was encoded.
void WriteRxRangeBits(ByteImage& image, const UserToneBoxTexts& boxTexts) {
  for (int j = 0; j < usertone::kCount; ++j) {
    const bool low = cps::NumericPrefix(boxTexts[j]) < kRxLowRangeBelowHz;
    SetBit(image, layout::kUserToneRxRangeBits, 1 << (2 * j), low);
  }
}

void WriteTxRangeBits(ByteImage& image, const UserToneBoxTexts& boxTexts) {
  for (int j = 0; j < usertone::kCount; ++j) {
    const bool low = cps::NumericPrefix(boxTexts[j]) <= kTxLowRangeUpToHz;
    SetBit(image, layout::kUserToneTxRangeBits, 1 << (2 * j + 1), low);
  }
}

}  // namespace

ToneEncodeResult EncodeRxToneFrequency(ByteImage& image, int k, const UserToneBoxTexts& boxTexts) {
  if (!IsUserTone(k)) return ToneEncodeResult::Refused;
  const double f = cps::NumericPrefix(boxTexts[k]);
  if (!IsAcceptedFrequency(f)) return ToneEncodeResult::Refused;

  image.SetWord(layout::UserToneRx(k), Count(f * 10));
  WriteRxCounts(image, k, f);
  WriteRxRangeBits(image, boxTexts);
  return ToneEncodeResult::Stored;
}

ToneEncodeResult EncodeTxToneFrequency(ByteImage& image, int k, const UserToneBoxTexts& boxTexts) {
  if (!IsUserTone(k)) return ToneEncodeResult::Refused;
  const double f = cps::NumericPrefix(boxTexts[k]);
  if (!IsAcceptedFrequency(f)) return ToneEncodeResult::Refused;

  image.SetWord(layout::UserToneTx(k), Count(f * 10));
  WriteTxCounts(image, k, f);
  WriteTxRangeBits(image, boxTexts);
  return ToneEncodeResult::Stored;
}

std::optional<QString> UserToneText(int toneWord) {
  const double t = toneWord / 10.0;
  if (t == 0) return std::nullopt;
  return cps::FormatTone(t);
}

void WriteRxToneDefaultCounts(ByteImage& image, int k) {
  if (!IsUserTone(k)) return;
  const int block = layout::UserToneBlock(k);
  image.SetWord(block + usertone::kRxPeriodUpper, 847);
  image.SetWord(block + usertone::kRxPeriodLower, 873);
  image[block + usertone::kRxWindow] = 5;
  image.SetWord(block + usertone::kRxWord7, 1362);
  image.SetWord(block + usertone::kRxWord9, 1218);
  image.SetWord(block + usertone::kRxWord13, 1505);
  image.SetWord(block + usertone::kRxWord15, 1362);
}

void WriteTxToneDefaultCounts(ByteImage& image, int k) {
  if (!IsUserTone(k)) return;
  const int block = layout::UserToneBlock(k);
  image.SetWord(block + usertone::kTxPeriodA, 860);
  image.SetWord(block + usertone::kTxPeriodB, 860);
  image.SetWord(block + usertone::kTxPeriodC, 1147);
}

UserToneView ShowUserTonesOnImage(ByteImage& image) {
  UserToneView view;
  for (int k = 0; k < usertone::kCount; ++k) {
    view.rx[k] = UserToneText(image.Word(layout::UserToneRx(k)));
    if (!view.rx[k]) WriteRxToneDefaultCounts(image, k);
  }
  for (int k = 0; k < usertone::kCount; ++k) {
    view.tx[k] = UserToneText(image.Word(layout::UserToneTx(k)));
    if (!view.tx[k]) WriteTxToneDefaultCounts(image, k);
  }
  return view;
}
