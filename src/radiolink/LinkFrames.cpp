#include "radiolink/LinkFrames.h"

#include "model/CodeplugLayout.h"

namespace frames {

uint8_t SumByte(const uint8_t* data, int count) {
  unsigned sum = 0;
  for (int i = 0; i < count; ++i) sum += data[i];
  return static_cast<uint8_t>(sum & 0xFF);
}

uint8_t SumByte(const QByteArray& data, int first, int count) {
  unsigned sum = 0;
  for (int i = first; i < first + count && i < data.size(); ++i) {
    sum += static_cast<uint8_t>(data[i]);
  }
  return static_cast<uint8_t>(sum & 0xFF);
}

bool FrameSumMatches(const QByteArray& frame, int first, int dataBytes) {
  if (first < 0 || frame.size() < first + dataBytes + 1) return false;
  return static_cast<uint8_t>(frame[first + dataBytes]) == SumByte(frame, first, dataBytes);
}

RegionReply ClassifyRegionReply(uint8_t reply) {
  switch (reply) {
    case 0x32:
    case 0x33:
    case 0x80:
    case 0x81:
    case 0x84:
      return RegionReply::Accepted;
    case kNotReady:
      return RegionReply::NotReady;
    default:
      break;
  }
  switch (reply & 0xF0) {
    case 0x10:
    case 0x20:
    case 0x40:
    case 0x50:
    case 0x60:
    case 0x70:
    case 0x90:
    case 0xA0:
      return RegionReply::Unsupported;
    default:
      return RegionReply::BadCable;
  }
}

uint8_t ExpectedBandByte(const ByteImage& image) {
  const int region = image[layout::kRegionCode] & 0x0F;
  const int band = image[layout::kBandCode] & 0x0F;
  return static_cast<uint8_t>((region * 16 + band) & 0xFF);
}

QString PasswordFromReply(const QByteArray& reply) {
  QString password;
  for (int i = 1; i <= kPasswordBytes && i < reply.size(); ++i) {
    const uint8_t b = static_cast<uint8_t>(reply[i]);
    if (b == 0) break;
    password += QChar(static_cast<char16_t>(b));
  }
  return password;
}

bool ReplyCarriesPassword(const QByteArray& reply) {
  if (reply.size() < 2) return false;
  const uint8_t first = static_cast<uint8_t>(reply[1]);
  return first >= 1 && first <= 254;
}

uint8_t TransmitByte(ByteImage& image, int a, bool legacyLayout, const QString& regionalText) {
  const int serialEnd = layout::kSerialNumber + layout::kSerialNumberLength - 1;
  if (image[layout::kSerialWriteGate] == 0 && a >= layout::kSerialNumber && a <= serialEnd) {
    image[a] = 0xFF;
  }
  const int regionalEnd = layout::kRegionalNumber + layout::kRegionalNumberLength - 1;
  if (a >= layout::kRegionalNumber && a <= regionalEnd) {
    if (!legacyLayout) {
      image[a] = 0xFF;
    } else {
      // The whole field from the box, so every byte of it sends the same text.
      for (int i = 0; i < layout::kRegionalNumberLength; ++i) {
        const int c = i < regionalText.size() ? regionalText[i].unicode() : 0;
        image[layout::kRegionalNumber + i] = static_cast<uint8_t>(c & 0xFF);
      }
    }
  }
  if (image[layout::kLookBackTime] == 1 || image[layout::kLookBackTime] == 2) {
    image[layout::kLookBackTime] = 3;
  }
  return image[a];
}

}  // namespace frames
