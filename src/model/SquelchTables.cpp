#include "model/SquelchTables.h"

#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/TextConv.h"

// Ten entries a line: the first entry of line k has index 10k.
// clang-format off
const std::array<const char*, kToneCount> ToneFrequencyTable = {
    "67.0", "69.3", "71.9", "74.4", "77.0", "79.7", "82.5", "85.4", "88.5", "91.5",
    "94.8", "97.4", "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
    "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "162.2", "167.9", "173.8", "179.9",
    "186.2", "192.8", "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8",
    "250.3", "254.1",
};

const std::array<const char*, kSquelchCodeCount> SquelchCodeTable = {
    "023", "025", "026", "031", "032", "043", "047", "051", "054", "065",
    "071", "072", "073", "074", "114", "115", "116", "125", "131", "132",
    "134", "143", "152", "155", "156", "162", "165", "172", "174", "205",
    "223", "226", "243", "244", "245", "251", "261", "263", "265", "271",
    "306", "311", "315", "331", "343", "346", "351", "364", "365", "371",
    "411", "412", "413", "423", "431", "432", "445", "464", "465", "466",
    "503", "506", "516", "525", "532", "546", "565", "606", "612", "624",
    "627", "631", "632", "645", "654", "662", "664", "703", "712", "723",
    "731", "732", "734", "743", "754",
};
// clang-format on

const std::array<const char*, kSquelchOptionCount> SquelchOptionCaptions = {
    "CSQ", "DKS", "TKS", "IDKS", "TKS1", "TKS2", "TKS3"};

namespace {

bool IsToneByte(uint8_t b) { return b >= kSquelchFirstTone && b < kSquelchFirstCode; }
bool IsCodeByte(uint8_t b) { return b >= kSquelchFirstCode && b <= kSquelchLastCode; }
bool IsUserToneByte(uint8_t b) { return b >= kSquelchUserTone1 && b <= kSquelchUserTone3; }

bool InTable(int index, int size) { return index >= 0 && index < size; }

int SquelchByteOffset(int channel, SquelchSide side) {
  const int field = side == SquelchSide::kRx ? layout::kRecRxSquelch : layout::kRecTxSquelch;
  return layout::ChannelOffset(channel) + field;
}

}  // namespace

uint8_t InversionMask(SquelchSide side) {
  return side == SquelchSide::kRx ? layout::kFlagsBRxInvert : layout::kFlagsBTxInvert;
}

std::optional<SquelchChoice> DecodeSquelch(uint8_t b, bool inverted) {
  if (b == kSquelchCarrier) return SquelchChoice{kSquelchCsq, -1};
  if (IsToneByte(b)) return SquelchChoice{kSquelchTks, b - kSquelchFirstTone};
  if (IsCodeByte(b)) {
    return SquelchChoice{inverted ? kSquelchIdks : kSquelchDks, b - kSquelchFirstCode};
  }
  if (IsUserToneByte(b)) return SquelchChoice{kSquelchTks1 + (b - kSquelchUserTone1), -1};
  return std::nullopt;
}

std::optional<SquelchEncoding> EncodeSquelch(int option, int tableIndex) {
  switch (option) {
    case kSquelchCsq:
      return SquelchEncoding{kSquelchCarrier, std::nullopt};
    case kSquelchTks:
      if (!InTable(tableIndex, kToneCount)) return std::nullopt;
      return SquelchEncoding{static_cast<uint8_t>(kSquelchFirstTone + tableIndex), std::nullopt};
    case kSquelchDks:
    case kSquelchIdks:
      if (!InTable(tableIndex, kSquelchCodeCount)) return std::nullopt;
      return SquelchEncoding{static_cast<uint8_t>(kSquelchFirstCode + tableIndex),
                             option == kSquelchIdks};
    case kSquelchTks1:
    case kSquelchTks2:
    case kSquelchTks3:
      return SquelchEncoding{static_cast<uint8_t>(kSquelchUserTone1 + option - kSquelchTks1),
                             std::nullopt};
    default:
      return std::nullopt;
  }
}

QString SquelchDisplayText(uint8_t b, bool inverted) {
  const auto choice = DecodeSquelch(b, inverted);
  if (!choice) return QString();
  switch (choice->option) {
    case kSquelchTks:
      return QStringLiteral(" TKS: ") + QLatin1String(ToneFrequencyTable[choice->tableIndex]) +
             QStringLiteral(" Hz");
    case kSquelchDks:
      return QStringLiteral(" DKS: ") + QLatin1String(SquelchCodeTable[choice->tableIndex]);
    case kSquelchIdks:
      return QStringLiteral(" IDKS: ") + QLatin1String(SquelchCodeTable[choice->tableIndex]);
    default:
      return QLatin1Char(' ') + QLatin1String(SquelchOptionCaptions[choice->option]);
  }
}

uint8_t ChannelSquelchByte(int channel, SquelchSide side) {
  return CodeplugImage[SquelchByteOffset(channel, side)];
}

bool ChannelSquelchInverted(int channel, SquelchSide side) {
  const int flagsB = layout::ChannelOffset(channel) + layout::kRecFlagsB;
  return (CodeplugImage[flagsB] & InversionMask(side)) != 0;
}

QString ToneDialogLabel(int toneIndex) {
  return cps::HexText(toneIndex + kSquelchFirstTone).rightJustified(2, QLatin1Char('0'));
}

QString CodeDialogLabel(int codeIndex) { return cps::DecimalText(codeIndex + 1); }
