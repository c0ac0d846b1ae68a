#include "model/ChannelRowTexts.h"

#include <optional>

#include "model/ChannelRecord.h"
#include "model/CodeplugLayout.h"
#include "model/SquelchTables.h"
#include "platform/TextConv.h"

namespace {

int Code24(const ByteImage& image, int first) {
  return image[first] | (image[first + 1] << 8) | (image[first + 2] << 16);
}

// Empty when the top byte marks a missing frequency.
QString FrequencyText(const ByteImage& image, int first, uint8_t stepFlag,
                      std::optional<bool> rxUhf) {
  if (IsEmptyTopByte(image[first + 2])) return QString();
  const int steps = Code24(image, first);
  const int64_t hz =
      rxUhf ? RxFrequencyHz(steps, stepFlag, *rxUhf) : TxFrequencyHz(steps, stepFlag);
  return cps::FormatFrequency(HzToMHz(hz));
}

QString OnOff(bool on) { return on ? QStringLiteral("On") : QStringLiteral("Off"); }

QString MuteText(int flagsA) {
  if ((flagsA & layout::kFlagsAMuteMode) == 3) return QStringLiteral("3");
  if (flagsA & 0x02) return QStringLiteral("2");
  return QStringLiteral("1");
}

QString PowerText(int flagsA, int fixedPowerCode, bool legacyLayout) {
  if (!legacyLayout) {
    switch (fixedPowerCode) {
      case 16:
        return QStringLiteral("1W");
      case 32:
        return QStringLiteral("2W");
      case 48:
        return QStringLiteral("4W");
      case 64:
        return QStringLiteral("5W");
      default:
        break;
    }
  }
  return (flagsA & layout::kFlagsAHighPower) ? QStringLiteral("H") : QStringLiteral("L");
}

// Bit 3 decides whether a burst is sent; bits 3..2 = 01 is never written and shows "None".
QString RevBurstText(int flagsA) {
  if (!(flagsA & 0x08)) return QStringLiteral("None");
  return (flagsA & layout::kFlagsARevBurst) == layout::kFlagsARevBurst ? QStringLiteral("240")
                                                                       : QStringLiteral("180");
}

QString BandText(int flagsB, int fixedBandwidthCode, bool legacyLayout) {
  if (!legacyLayout) {
    switch (fixedBandwidthCode) {
      case 16:
        return QStringLiteral("12.5");
      case 32:
        return QStringLiteral("25");
      case 48:
        return QStringLiteral("6.25");
      default:
        break;
    }
  }
  return (flagsB & layout::kFlagsBWideBand) ? QStringLiteral("25") : QStringLiteral("12.5");
}

}  // namespace

ChannelRowCells ChannelRowTexts(const ByteImage& image, int channel, bool uhf, bool legacyLayout) {
  const int base = layout::ChannelOffset(channel);
  const int flagsA = image[base + layout::kRecFlagsA];
  const int flagsB = image[base + layout::kRecFlagsB];

  ChannelRowCells cells;
  cells[gridcol::kRxFreq] =
      FrequencyText(image, base + layout::kRecRxSteps, image[layout::RxStepFlag(channel)], uhf);
  cells[gridcol::kTxFreq] = FrequencyText(image, base + layout::kRecTxSteps,
                                          image[layout::TxStepFlag(channel)], std::nullopt);
  cells[gridcol::kRxOption] = SquelchDisplayText(image[base + layout::kRecRxSquelch],
                                                 (flagsB & layout::kFlagsBRxInvert) != 0);
  cells[gridcol::kTxOption] = SquelchDisplayText(image[base + layout::kRecTxSquelch],
                                                 (flagsB & layout::kFlagsBTxInvert) != 0);
  cells[gridcol::kSquelch] =
      (flagsA & layout::kFlagsATightSquelch) ? QStringLiteral("Tight") : QStringLiteral("Normal");
  cells[gridcol::kMute] = MuteText(flagsA);
  cells[gridcol::kPower] = PowerText(flagsA, image[layout::kFixedPowerCode], legacyLayout);
  cells[gridcol::kRxOnly] = OnOff(flagsA & layout::kFlagsARxOnly);
  cells[gridcol::kTurnOffCode] = OnOff(flagsA & layout::kFlagsATurnOffCode);
  cells[gridcol::kRevBurst] = RevBurstText(flagsA);
  cells[gridcol::kBusyLockout] = OnOff(flagsB & layout::kFlagsBBusyLockout);
  cells[gridcol::kBand] = BandText(flagsB, image[layout::kFixedBandwidthCode], legacyLayout);
  cells[gridcol::kTalkaround] = OnOff(flagsB & layout::kFlagsBTalkaround);
  return cells;
}
