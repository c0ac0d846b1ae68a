#include "channels/FrequencyCommit.h"

#include "model/BandPlan.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/TextConv.h"

namespace {

bool IsAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

int CodeOffset(int channel, FrequencySide side) {
  return layout::ChannelOffset(channel) +
         (side == FrequencySide::kRx ? layout::kRecRxSteps : layout::kRecTxSteps);
}

int StepFlagOffset(int channel, FrequencySide side) {
  return side == FrequencySide::kRx ? layout::RxStepFlag(channel) : layout::TxStepFlag(channel);
}

// The offset added before the raster test: the receive code counts the local oscillator.
double OffsetHz(FrequencySide side) {
  return side == FrequencySide::kRx ? IfOffsetMHz * static_cast<double>(kHzPerMHz) : 0.0;
}

// The segment byte follows the receive frequency only.
void FollowSegment(int channel, FrequencySide side, double mhz) {
  if (side == FrequencySide::kRx) SetChannelSegment(channel, mhz);
}

// The cell after a refusal or a deletion: what the image holds.
QString ShowStoredAgain(int channel, FrequencySide side) {
  const auto mhz = StoredFrequencyMHz(channel, side);
  if (!mhz) return QString();
  FollowSegment(channel, side, *mhz);
  return cps::FormatFrequency(*mhz);
}

void DeleteFrequency(int channel, FrequencySide side) {
  FreqCellCleared = 1;
  FollowSegment(channel, side, 0.0);
  ClearFrequencyCode(channel, side);
}

}  // namespace

std::optional<double> ParseFrequencyText(const QString& text) {
  bool anyDigit = false;
  bool seenPoint = false;
  for (const QChar c : text) {
    if (IsAsciiDigit(c)) {
      anyDigit = true;
    } else if (c == QLatin1Char('.') && !seenPoint) {
      seenPoint = true;
    } else {
      return std::nullopt;
    }
  }
  if (!anyDigit) return std::nullopt;
  return cps::NumericPrefix(text);
}

FrequencyDecision DecideFrequency(const QString& text, FrequencySide side) {
  FrequencyDecision decision;
  const auto mhz = ParseFrequencyText(text);
  if (!mhz) {
    decision.verdict = text.isEmpty() ? FrequencyVerdict::kDelete : FrequencyVerdict::kInvalidText;
    return decision;
  }
  decision.mhz = *mhz;
  if (*mhz < BandLowMHz || *mhz > BandHighMHz) {
    decision.verdict = FrequencyVerdict::kOutOfRange;
    return decision;
  }
  const int64_t hz = cps::RoundHalfEven(*mhz * static_cast<double>(kHzPerMHz) + OffsetHz(side));
  const auto code = EncodeFrequencyHz(hz);
  if (!code) {
    decision.verdict = FrequencyVerdict::kNotOnRaster;
    return decision;
  }
  decision.verdict = FrequencyVerdict::kStore;
  decision.code = *code;
  return decision;
}

void StoreFrequencyCode(int channel, FrequencySide side, const FrequencyCode& code) {
  if (!IsChannelNumber(channel)) return;
  CodeplugImage[StepFlagOffset(channel, side)] = code.stepFlag;
  if (side == FrequencySide::kRx) {
    WriteRxSteps(channel, code.steps);
  } else {
    WriteTxSteps(channel, code.steps);
  }
}

void ClearFrequencyCode(int channel, FrequencySide side) {
  if (!IsChannelNumber(channel)) return;
  const int offset = CodeOffset(channel, side);
  CodeplugImage[offset] = 0x00;
  CodeplugImage[offset + 1] = 0x00;
  CodeplugImage[offset + 2] = layout::kEmptyFrequencyMask;
}

std::optional<double> StoredFrequencyMHz(int channel, FrequencySide side) {
  if (!IsChannelNumber(channel)) return std::nullopt;
  return side == FrequencySide::kRx ? DecodeRxFrequencyMHz(channel) : DecodeTxFrequencyMHz(channel);
}

QString StoredFrequencyText(int channel, FrequencySide side) {
  const auto mhz = StoredFrequencyMHz(channel, side);
  return mhz ? cps::FormatFrequency(*mhz) : QString();
}

void RemoveChannelFromScanImage(int channel) {
  if (!IsChannelNumber(channel)) return;
  CodeplugImage[layout::ScanListSlot(channel)] = 0;
  const int bitmap = CodeplugImage.Word(layout::kScanListBitmap);
  CodeplugImage.SetWord(layout::kScanListBitmap, bitmap & ~(1 << (channel - 1)));
}

CommitOutcome CommitFrequencyText(int channel, FrequencySide side, const QString& text,
                                  bool priorityProtected) {
  CommitOutcome outcome;
  if (!IsChannelNumber(channel)) return outcome;

  const FrequencyDecision decision = DecideFrequency(text, side);
  switch (decision.verdict) {
    case FrequencyVerdict::kStore:
      FollowSegment(channel, side, decision.mhz);
      StoreFrequencyCode(channel, side, decision.code);
      outcome.cellText = cps::FormatFrequency(decision.mhz);
      outcome.stored = true;
      FreqCellCleared = 0;
      return outcome;
    case FrequencyVerdict::kDelete:
      if (priorityProtected) {
        if (!PrioScanErrorShown) outcome.message = kPriorityDeleteMessage;
      } else {
        DeleteFrequency(channel, side);
        outcome.deleted = true;
      }
      break;
    case FrequencyVerdict::kInvalidText:
      outcome.message = kInvalidFrequencyMessage;
      outcome.hideEditor = true;
      break;
    case FrequencyVerdict::kOutOfRange:
      outcome.message = kOutOfRangeMessage;
      outcome.hideEditor = true;
      break;
    case FrequencyVerdict::kNotOnRaster:
      outcome.message = kNotOnRasterMessage;
      break;
  }
  outcome.cellText = ShowStoredAgain(channel, side);
  return outcome;
}

bool TalkaroundApplies(const QString& rxFreq, const QString& txFreq, const QString& rxOption,
                       const QString& txOption) {
  return rxFreq != txFreq || rxOption != txOption;
}

void SetTalkaroundBit(int channel, bool on) {
  if (!IsChannelNumber(channel)) return;
  uint8_t& flagsB = CodeplugImage[layout::ChannelOffset(channel) + layout::kRecFlagsB];
  flagsB = on ? (flagsB | layout::kFlagsBTalkaround) : (flagsB & ~layout::kFlagsBTalkaround);
}
