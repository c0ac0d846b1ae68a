#include "channels/GridHints.h"

#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/TextConv.h"

namespace {

constexpr int kRegionWideVhf = 18;  // region whose VHF band starts at 148 MHz

QString BandRangeText() {
  switch (CodeplugImage[layout::kBandCode] & 0x0F) {
    case 0:
      return QStringLiteral("403 ~ 425 MHz");
    case 1:
      return QStringLiteral("450 ~ 470 MHz");
    case 2:
      return QStringLiteral("136 ~ 150 MHz");
    case 3:
      return CodeplugImage[layout::kRegionCode] == kRegionWideVhf ? QStringLiteral("148 ~ 174 MHz")
                                                                  : QStringLiteral("150 ~ 174 MHz");
    case 4:
      return QStringLiteral("490 ~ 512 MHz");
    default:
      return QString();
  }
}

QString PowerText() {
  switch (LegacyLayout ? 0 : CodeplugImage[layout::kFixedPowerCode]) {
    case 16:
      return QStringLiteral("Fixed 1W");
    case 32:
      return QStringLiteral("Fixed 2W");
    case 48:
      return QStringLiteral("Fixed 4W");
    case 64:
      return QStringLiteral("Fixed 5W");
    default:
      return QStringLiteral("High or Low");
  }
}

QString BandwidthText() {
  switch (LegacyLayout ? 0 : CodeplugImage[layout::kFixedBandwidthCode]) {
    case 16:
      return QStringLiteral("12.5KHz");
    case 32:
      return QStringLiteral("25KHz");
    case 48:
      return QStringLiteral("6.25KHz");
    default:
      return QStringLiteral("12.5KHz / 25KHz");
  }
}

QString ChannelNumberText(int row) {
  return row <= 0 ? QStringLiteral("Ch No") : QStringLiteral("Ch No : ") + cps::DecimalText(row);
}

const char kOptionList[] = "CSQ / DKS / TKS / IDKS / TKS1 / TKS2 / TKS3";
const char kMuteModes[] =
    "1:Std Unmuting,Std Muting; 2:And Unmuting,Std Muting; 3:And Unmuting,Or Muting";

GridHint Hint(const char* status, const QString& tooltip) {
  return {QString::fromLatin1(status), tooltip};
}
GridHint Hint(const char* status, const char* tooltip) {
  return Hint(status, QString::fromLatin1(tooltip));
}

}  // namespace

std::optional<GridHint> ChannelGridHint(int row, int column) {
  switch (column) {
    case 0:
      return Hint("Channel Number", ChannelNumberText(row));
    case 1:
      return Hint("Channel Rx Frequency Edit", BandRangeText());
    case 2:
      return Hint("Channel Rx KS Option Setting", kOptionList);
    case 3:
      return Hint("Squelch Setting", "Normal or Tight");
    case 4:
      return Hint(kMuteModes, kMuteModes);
    case 5:
      return Hint("Channel Tx Frequency Edit", BandRangeText());
    case 6:
      return Hint("Channel Tx KS Option Setting", kOptionList);
    case 7:
      return Hint("Power Level Setting", PowerText());
    case 8:
      return Hint("DKS Turn Off Code Setting", "DKS Turn Off Code Enable or Disable");
    case 9:
      return Hint("Rx Only Setting", " Rx Only Enable or Disable");
    case 10:
      return Hint("TKS Reverse Burst Setting", "None / 180 / 240");
    case 11:
      return Hint("Busy Channel Lock Out Setting", "BCLO Enable or Disable");
    case 12:
      return Hint("Channel Bandwidth Setting", BandwidthText());
    case 13:
      return Hint("Talkaround Setting", "Repeater/Talkaround Set");
    default:
      return std::nullopt;
  }
}
