#include "model/Identity.h"

#include <algorithm>

#include "model/CodeplugLayout.h"
#include "platform/TextConv.h"

const std::array<KitRegionEntry, 55> KitRegionTable = {{
    {"QKLV5101AAA", 1},  {"QKLV5101BAA", 1},  {"QKLV5101CAA", 1},  {"QKLV5109AAA", 1},
    {"QKLV5101AAE", 2},  {"QKLV5101BAE", 2},  {"QKLV5101CAE", 2},  {"QKLV5101AAL", 3},
    {"QKLV5101BAL", 3},  {"QKLV5101CAL", 3},  {"QKLV5102AAN", 4},  {"QKLV5102BAN", 4},
    {"QKLV5102CAN", 4},  {"QKLV5106AAN", 4},  {"QKLV5103AAN", 5},  {"QKLV5103BAN", 5},
    {"QKLV5103CAN", 5},  {"QKLV5110AAN", 5},  {"QKLV5107AAN", 5},  {"QKLU5201AAA", 6},
    {"QKLU5201BAA", 6},  {"QKLU5201CAA", 6},  {"QKLU5201AAE", 7},  {"QKLU5201BAE", 7},
    {"QKLU5201CAE", 7},  {"QKLU5201AAL", 8},  {"QKLU5201BAL", 8},  {"QKLU5201CAL", 8},
    {"QKLU5207AAL", 8},  {"QKLU5202AAN", 9},  {"QKLU5202BAN", 9},  {"QKLU5202CAN", 9},
    {"QKLU5205AAN", 9},  {"QKLU5203AAN", 10}, {"QKLU5203BAN", 10}, {"QKLU5203CAN", 10},
    {"QKLU5208AAN", 10}, {"QKLU5206AAN", 10}, {"QKLV5105AAE", 18}, {"QKLV5105BAE", 18},
    {"QKLV5105CAE", 18}, {"QKLV5104AAA", 1},  {"QKLV5104BAA", 1},  {"QKLV5108AAA", 1},
    {"QKLV5104AAE", 2},  {"QKLV5104BAE", 2},  {"QKLV5104AAL", 3},  {"QKLV5104BAL", 3},
    {"QKLU5204AAA", 6},  {"QKLU5204BAA", 6},  {"QKLU5204AAE", 7},  {"QKLU5204BAE", 7},
    {"QKLU5204AAL", 8},  {"QKLU5204BAL", 8},  {"QKLU5204AAK", 11},
}};

namespace {

constexpr ModelNumberCell kNone{nullptr, nullptr};
constexpr ModelNumberCell One(const char* model) { return {model, model}; }

}  // namespace

const std::array<ModelNumberRow, 10> ModelNumberTable = {{
    {{1, 0}, {kNone, kNone, One("GA7101RT0003"), One("GA7102RT0003"), kNone}},
    {{2, 18}, {kNone, kNone, One("GB7101RT0003"), One("GB7102RT0003"), kNone}},
    {{3, 0}, {kNone, kNone, One("GC7101RT04PX"), One("GC7102RT04PX"), kNone}},
    {{4, 0}, {kNone, kNone, kNone, ModelNumberCell{"GC7122RT01PX", "GC7122RT02PX"}, kNone}},
    {{5, 0}, {kNone, kNone, kNone, One("GC7112RT01PX"), kNone}},
    {{6, 11}, {One("GA7103RT0003"), One("GA7104RT0003"), kNone, kNone, kNone}},
    {{7, 0}, {One("GB7103RT0003"), One("GB7104RT0003"), kNone, kNone, kNone}},
    {{8, 0}, {One("GC7103RT04PX"), One("GC7104RT04PX"), kNone, kNone, One("GC7105RT04PX")}},
    {{9, 0}, {kNone, ModelNumberCell{"GC7124RT01PX", "GC7124RT02PX"}, kNone, kNone, kNone}},
    {{10, 0}, {kNone, One("GC7114RT01PX"), kNone, kNone, kNone}},
}};

std::optional<int> KitRegionCode(const QString& kitNumber) {
  for (const KitRegionEntry& entry : KitRegionTable) {
    if (kitNumber == QLatin1String(entry.kitNumber)) return entry.regionCode;
  }
  return std::nullopt;
}

// A cell without a number gives an empty label rather than keeping the previous codeplug's
// model number, which would belong to another radio.
QString ModelNumberFromTable(int regionCode, int bandByte, bool modelVariant) {
  if (regionCode == 0 || bandByte < 0 || bandByte > 4) return QString();
  for (const ModelNumberRow& row : ModelNumberTable) {
    if (row.regionCodes[0] != regionCode && row.regionCodes[1] != regionCode) continue;
    const ModelNumberCell& cell = row.byBandByte[bandByte];
    const char* model = modelVariant ? cell.variantSet : cell.variantClear;
    return model ? QString::fromLatin1(model) : QString();
  }
  return QString();
}

namespace {

QString ImageText(const ByteImage& image, int first, int length) {
  return cps::BytesToText(image.Bytes().data() + first, length);
}

int LowNibble(const ByteImage& image, int index) { return image[index] & 0x0F; }

}  // namespace

IdentityBoxView SerialNumberView(const ByteImage& image) {
  const int last = layout::kSerialNumber + layout::kSerialNumberLength - 1;
  QString text;
  if (!image.AllEqual(layout::kSerialNumber, last, 0xFF)) {
    text = ImageText(image, layout::kSerialNumber, layout::kSerialNumberLength);
  }
  return {text, text.isEmpty()};
}

IdentityBoxView KitNumberView(ByteImage& image) {
  const QString text = ImageText(image, layout::kRegionalNumber, layout::kRegionalNumberLength);
  if (const std::optional<int> region = KitRegionCode(text)) {
    image[layout::kRegionCode] = static_cast<uint8_t>(*region);
  }
  return {text, text.isEmpty()};
}

QString CodeplugVersionCaption(ByteImage& image) {
  constexpr int kMajor = layout::kCodeplugVersion;
  constexpr int kMinor = layout::kCodeplugVersion + 1;
  constexpr int kRevision = layout::kCodeplugVersion + 2;
  constexpr int kVariant = layout::kCodeplugVersion + 3;

  QString prefix = QStringLiteral("D");
  if (image[kVariant] < 10) {
    // A released version takes its last digit from the kit number's variant letter.
    const uint8_t letter = image[layout::kVariantLetter];
    if (letter >= 'A' && letter <= 'F') image[kVariant] = static_cast<uint8_t>(letter - 'A');
    prefix = QStringLiteral("R");
  }
  return prefix + cps::DecimalText(image[kMajor]) + cps::DecimalText(image[kMinor]) +
         QLatin1Char('.') + cps::HexText(image[kRevision]) + cps::HexText(image[kVariant]);
}

namespace {

bool IsFixedBandwidth(int code) { return code == 0x10 || code == 0x20 || code == 0x30; }

// On bands 1 and 3 only the "A" variant of the regions below, without a fixed channel spacing,
// goes without a suffix.
QString DualBandSuffix(const ByteImage& image) {
  const int region = image[layout::kRegionCode];
  constexpr std::array<int, 8> kPlainRegions = {1, 2, 3, 4, 6, 7, 8, 9};
  const bool plainRegion =
      std::find(kPlainRegions.begin(), kPlainRegions.end(), region) != kPlainRegions.end();
  if (plainRegion && image[layout::kVariantLetter] == 'A' &&
      !IsFixedBandwidth(image[layout::kFixedBandwidthCode])) {
    return QString();
  }
  return QStringLiteral(".UV2");
}

QString FirmwareSuffix(const ByteImage& image) {
  switch (image[layout::kBandCode]) {
    case 0:
    case 2:
      return QStringLiteral(".UV1");
    case 4:
      return QStringLiteral(".U4");
    case 1:
    case 3:
      return DualBandSuffix(image);
    default:
      return QString();
  }
}

}  // namespace

QString FirmwareVersionCaption(const ByteImage& image) {
  const int a = LowNibble(image, layout::kFirmwareVersion);
  const int b = LowNibble(image, layout::kFirmwareVersion + 1);
  const int c = LowNibble(image, layout::kFirmwareVersion + 2);
  const int d = LowNibble(image, layout::kFirmwareVersion + 3);
  const QString digits = cps::DecimalText(a) + cps::DecimalText(b) + QLatin1Char('.') +
                         cps::DecimalText(c) + cps::HexText(d);
  if (d > 10) return QStringLiteral("D") + digits;
  return QStringLiteral("R") + digits + FirmwareSuffix(image);
}

QString ModelNumberCaption(const ByteImage& image, bool legacyLayout) {
  const int last = layout::kModelNumber + layout::kModelNumberLength - 1;
  bool reported = !legacyLayout;
  for (int i = layout::kModelNumber + 1; reported && i <= last; ++i) {
    reported = image[i] != 0 && image[i] != 0xFF;
  }
  if (reported) return ImageText(image, layout::kModelNumber, layout::kModelNumberLength);
  return ModelNumberFromTable(image[layout::kRegionCode], image[layout::kBandCode],
                              (image[layout::kModelVariant] & 0x01) != 0);
}
