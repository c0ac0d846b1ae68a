// The radio's identity as the editor shows it: serial number, regional kit number, codeplug and
// firmware versions and model number. Each routine works on an image and returns what its control
// shows; the editor's fill chain puts the result into the control. Two of them normalise a byte
// of the image on the way (the region code and the codeplug version's last byte).
#pragma once

#include <QString>
#include <array>
#include <optional>

#include "model/ModuleState.h"

// One row of KitRegionTable: an eleven-character regional kit number and its region code.
struct KitRegionEntry {
  const char* kitNumber;
  int regionCode;
};

// The 55 regional kit numbers in the order they are compared; the first whole match wins.
extern const std::array<KitRegionEntry, 55> KitRegionTable;

// One cell of ModelNumberTable: the model number for bit 0 of ModelVariant clear and set
// (the same text twice where the variant does not matter); nullptr where the table has no number.
struct ModelNumberCell {
  const char* variantClear;
  const char* variantSet;
};

// One row of ModelNumberTable: up to two region codes sharing the row (0 = unused slot) and the
// cells for the whole band byte 0..4. Any other band byte has no number.
struct ModelNumberRow {
  std::array<int, 2> regionCodes;
  std::array<ModelNumberCell, 5> byBandByte;
};

extern const std::array<ModelNumberRow, 10> ModelNumberTable;

// What an identity text box shows.
struct IdentityBoxView {
  QString text;
  bool enabled;  // only a blank number may be typed in
};

// Region code of a regional kit number: whole, case-sensitive match in table order.
std::optional<int> KitRegionCode(const QString& kitNumber);

// Model number from ModelNumberTable; an empty text where the table gives none.
QString ModelNumberFromTable(int regionCode, int bandByte, bool modelVariant);

// txtSerial: bytes 336..345, blank when all are 0xFF; enabled only when the text is empty.
IdentityBoxView SerialNumberView(const ByteImage& image);

// txtSuper: bytes 354..369 (never treated as blank). Stores the kit number's region code into
// byte 237 when it is in KitRegionTable; otherwise byte 237 keeps its value.
IdentityBoxView KitNumberView(ByteImage& image);

// lblCodeplug: while byte 349 is below 10 it is first set from the variant letter in byte 362.
QString CodeplugVersionCaption(ByteImage& image);

// lblVersion: the firmware version from the low nibbles of bytes 350..353, with its band suffix.
QString FirmwareVersionCaption(const ByteImage& image);

// lblModel: bytes 384..395 when the identity block is valid and bytes 385..395 hold neither 0
// nor 0xFF, otherwise ModelNumberTable.
QString ModelNumberCaption(const ByteImage& image, bool legacyLayout);
