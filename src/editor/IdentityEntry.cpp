#include "editor/IdentityEntry.h"

#include "platform/TextConv.h"

namespace {
constexpr char16_t kLastLatin1 = 0xFF;
}

QString UpperCaseText(const QString& text) {
  QString upper = text;
  for (QChar& c : upper) {
    const QChar candidate = c.toUpper();
    if (candidate.unicode() <= kLastLatin1) c = candidate;
  }
  return upper;
}

void StoreFieldText(ByteImage& image, int first, int length, const QString& text) {
  const QByteArray bytes = cps::TextToBytes(text).left(length);
  for (int i = 0; i < length; ++i) {
    image[first + i] = i < bytes.size() ? static_cast<uint8_t>(bytes[i]) : 0;
  }
}

FieldBackup::FieldBackup(const ByteImage& image, int first, int length) : first_(first) {
  for (int i = 0; i < length; ++i) bytes_.append(static_cast<char>(image[first + i]));
}

void FieldBackup::Restore(ByteImage& image) const {
  for (int i = 0; i < bytes_.size(); ++i) {
    image[first_ + i] = static_cast<uint8_t>(bytes_[i]);
  }
}
