#include "shell/CodeplugFile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>

#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/FileWrite.h"
#include "platform/TextConv.h"

namespace {

constexpr char kCurrentHeader[] = "Corvana programmer data file extension";
constexpr char kLegacyHeader[] = "Corvana programmer data file";
constexpr char kLineEnd[] = "\r\n";

// Values of byte 397 that mark a valid identity block worth saving.
constexpr std::array<uint8_t, 3> kCurrentLayoutBandwidthCodes = {0x10, 0x20, 0x30};

// Bytes 11 and 12 as every saved file carries them.
constexpr uint8_t kSavedByte11 = 60;
constexpr uint8_t kSavedByte12 = 20;

// No header is longer than this; a longer first item is kept only this far, which is enough
// to tell it is no header.
constexpr int kMaxTextFieldKept = 64;
// How much of a bad value a message quotes. (Messages fill in all their parts in one arg()
// call, so a "%1" in a file name is never taken for a place-holder.)
constexpr int kMaxValueQuoted = 20;

// Characters of a text file, read in chunks so that a file of any size costs little memory.
class CharSource {
 public:
  explicit CharSource(QFile& file) : file_(file) {}

  // The next character without taking it; false at the end of the data or after a read error.
  bool Peek(char* c) {
    if (pos_ == length_ && !Refill()) return false;
    *c = buffer_[pos_];
    return true;
  }
  void Take() { ++pos_; }
  bool ReadFailed() const { return failed_; }

 private:
  bool Refill() {
    if (failed_) return false;
    const qint64 got = file_.read(buffer_.data(), buffer_.size());
    if (got < 0) failed_ = true;
    pos_ = 0;
    length_ = std::max<qint64>(got, 0);
    return length_ > 0;
  }

  QFile& file_;
  std::array<char, 4096> buffer_{};
  qint64 pos_ = 0;
  qint64 length_ = 0;
  bool failed_ = false;
};

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

void SkipBlanks(CharSource& in) {
  char c;
  while (in.Peek(&c) && c == ' ') in.Take();
}

void SkipBlanksAndLineEnds(CharSource& in) {
  char c;
  while (in.Peek(&c) && (c == ' ' || IsLineEnd(c))) in.Take();
}

// Takes the comma or the line end (CR LF, LF or a lone CR) that ends a text item.
void TakeItemEnd(CharSource& in) {
  char c;
  if (!in.Peek(&c)) return;
  if (c == ',' || c == '\n') {
    in.Take();
  } else if (c == '\r') {
    in.Take();
    if (in.Peek(&c) && c == '\n') in.Take();
  }
}

// A text item (the header): blanks before it are skipped and it ends at the first comma or
// line end, so the blanks inside a header belong to it. False when the data has ended.
bool ReadTextItem(CharSource& in, QByteArray* item) {
  item->clear();
  SkipBlanks(in);
  char c;
  if (!in.Peek(&c)) return false;
  while (in.Peek(&c) && c != ',' && !IsLineEnd(c)) {
    in.Take();
    if (item->size() < kMaxTextFieldKept) item->append(c);
  }
  TakeItemEnd(in);
  return true;
}

enum class FieldKind { kByte, kOutOfRange, kNotWhole, kEnd };

struct NumberField {
  FieldKind kind = FieldKind::kEnd;
  int value = 0;      // the byte for kByte, the whole number (capped) for kOutOfRange
  QByteArray quoted;  // the start of the field as written, for messages
};

// A numeric item: blanks and line ends before it are skipped; it ends at a blank, a comma or
// a line end. Blanks after it and one comma belong to it, so "7 , 8" reads as two values.
NumberField ReadNumberItem(CharSource& in) {
  constexpr int kCap = 100000;  // beyond any byte; keeps long digit strings from overflowing
  SkipBlanksAndLineEnds(in);
  NumberField field;
  char c;
  if (!in.Peek(&c)) return field;
  bool negative = false;
  bool digitsOnly = true;
  int digits = 0;
  int length = 0;
  while (in.Peek(&c) && c != ' ' && c != ',' && !IsLineEnd(c)) {
    in.Take();
    if (field.quoted.size() < kMaxValueQuoted) field.quoted.append(c);
    if (length++ == 0 && (c == '+' || c == '-')) {
      negative = c == '-';
    } else if (c >= '0' && c <= '9') {
      ++digits;
      field.value = std::min(field.value * 10 + (c - '0'), kCap);
    } else {
      digitsOnly = false;
    }
  }
  SkipBlanks(in);
  if (in.Peek(&c) && c == ',') in.Take();

  if (!digitsOnly || digits == 0) {
    field.kind = FieldKind::kNotWhole;
  } else {
    if (negative) field.value = -field.value;
    field.kind = field.value >= 0 && field.value <= 255 ? FieldKind::kByte : FieldKind::kOutOfRange;
  }
  return field;
}

CodeplugFileResult Failure(CodeplugFileStatus status, const QString& message) {
  return {status, message};
}

QString Quoted(const QString& path) { return QStringLiteral("\"%1\"").arg(path); }

CodeplugFileResult OpenFailure(const QString& path, const QFile& file) {
  return Failure(
      CodeplugFileStatus::kCannotOpen,
      QStringLiteral("The file %1 cannot be opened: %2.").arg(Quoted(path), file.errorString()));
}

CodeplugFileResult ReadFailure(const QString& path, const QFile& file) {
  return Failure(
      CodeplugFileStatus::kCannotOpen,
      QStringLiteral("The file %1 cannot be read: %2.").arg(Quoted(path), file.errorString()));
}

CodeplugFileResult EndedEarly(const QString& path, int valuesRead, int valuesNeeded) {
  return Failure(
      CodeplugFileStatus::kEndedEarly,
      QStringLiteral("The file %1 ends after %2 of its %3 values.")
          .arg(Quoted(path), QString::number(valuesRead), QString::number(valuesNeeded)));
}

CodeplugFileResult BadValue(const QString& path, int offset, const NumberField& field) {
  const QString text = QString::fromLatin1(field.quoted);
  if (field.kind == FieldKind::kOutOfRange) {
    return Failure(CodeplugFileStatus::kValueOutOfRange,
                   QStringLiteral("The file %1 holds the value %2 for byte %3; a byte holds 0 to "
                                  "255.")
                       .arg(Quoted(path), text, QString::number(offset)));
  }
  return Failure(
      CodeplugFileStatus::kValueNotWhole,
      QStringLiteral("The file %1 holds \"%2\" for byte %3, which is not a whole number.")
          .arg(Quoted(path), text, QString::number(offset)));
}

// What a reader does with a whole number that does not fit a byte.
enum class OutOfRangeRule { kFail, kKeepByte };

// Reads `count` values into bytes 0..count-1 of scratch.
CodeplugFileResult ReadValues(CharSource& in, const QString& path, const QFile& file, int count,
                              OutOfRangeRule rule, ByteImage& scratch) {
  for (int offset = 0; offset < count; ++offset) {
    const NumberField field = ReadNumberItem(in);
    if (in.ReadFailed()) return ReadFailure(path, file);
    switch (field.kind) {
      case FieldKind::kByte:
        scratch[offset] = static_cast<uint8_t>(field.value);
        break;
      case FieldKind::kOutOfRange:
        if (rule == OutOfRangeRule::kKeepByte) break;
        return BadValue(path, offset, field);
      case FieldKind::kNotWhole:
        return BadValue(path, offset, field);
      case FieldKind::kEnd:
        return EndedEarly(path, offset, count);
    }
  }
  return {};
}

// Only a regular file is read. Asked before the opening: opening a named pipe blocks until a
// writer comes, and a device such as /dev/zero never ends.
CodeplugFileResult OpenForReading(const QString& path, QFile& file) {
  if (cps::IsSpecialFile(path)) {
    return Failure(CodeplugFileStatus::kCannotOpen,
                   QStringLiteral("The file %1 cannot be opened: it is not a regular file.")
                       .arg(Quoted(path)));
  }
  if (!file.open(QIODevice::ReadOnly)) return OpenFailure(path, file);
  return {};
}

// The first item of a file; a file without one (nothing but blanks) is empty.
CodeplugFileResult ReadFirstItem(CharSource& in, const QString& path, const QFile& file,
                                 QByteArray* item) {
  if (ReadTextItem(in, item)) return {};
  if (in.ReadFailed()) return ReadFailure(path, file);
  return Failure(CodeplugFileStatus::kEndedEarly,
                 QStringLiteral("The file %1 is empty.").arg(Quoted(path)));
}

// --- Writing ---------------------------------------------------------------------------------

bool WritesLegacyLayout() {
  const uint8_t code = CodeplugImage[layout::kFixedBandwidthCode];
  const bool validIdentity =
      std::find(kCurrentLayoutBandwidthCodes.begin(), kCurrentLayoutBandwidthCodes.end(), code) !=
      kCurrentLayoutBandwidthCodes.end();
  return LegacyLayout || !validIdentity;
}

bool IsBlankText(int first, int length) {
  return CodeplugImage.AllEqual(first, first + length - 1, 0xFF);
}

// One byte per character, zeros after; never longer than the field, whatever the box holds.
void StoreText(int first, int length, const QString& text) {
  const QByteArray bytes = cps::TextToBytes(text).left(length);
  for (int i = 0; i < length; ++i) {
    CodeplugImage[first + i] = i < bytes.size() ? static_cast<uint8_t>(bytes[i]) : 0;
  }
}

// A blank serial number comes from its box, and only then a blank regional number from its.
void FillBlankIdentityTexts(const CopyToFileInputs& inputs) {
  if (!IsBlankText(layout::kSerialNumber, layout::kSerialNumberLength)) return;
  StoreText(layout::kSerialNumber, layout::kSerialNumberLength, inputs.serialText);
  if (!IsBlankText(layout::kRegionalNumber, layout::kRegionalNumberLength)) return;
  StoreText(layout::kRegionalNumber, layout::kRegionalNumberLength, inputs.kitText);
}

// The header line and one " value " line per byte of the chosen layout.
QByteArray FileText(bool legacy) {
  const int count = legacy ? layout::kDataBlockBytes : layout::kImageSize;
  QByteArray text(legacy ? kLegacyHeader : kCurrentHeader);
  text += kLineEnd;
  for (int offset = 0; offset < count; ++offset) {
    text += ' ';
    text += QByteArray::number(CodeplugImage[offset]);
    text += ' ';
    text += kLineEnd;
  }
  return text;
}

// existed: a file of that name was there before the write, and so is still there unchanged.
CodeplugFileResult WriteFailure(const QString& path, const QString& reason, bool existed) {
  QString message =
      QStringLiteral("The file %1 could not be written: %2.").arg(Quoted(path), reason);
  if (existed) message += QStringLiteral(" Any earlier file of that name is unchanged.");
  return Failure(CodeplugFileStatus::kCannotWrite, message);
}

}  // namespace

CodeplugFileResult CopyToBox(const QString& path) {
  QFile file(path);
  if (auto opened = OpenForReading(path, file); !opened.ok()) return opened;
  CharSource in(file);

  QByteArray header;
  if (auto result = ReadFirstItem(in, path, file, &header); !result.ok()) {
    return result;
  }
  // Case matters: a header differing only in letter case is no header.
  const bool legacy = header == kLegacyHeader;
  if (!legacy && header != kCurrentHeader) {
    CodeplugFileInvalid = true;
    return Failure(CodeplugFileStatus::kInvalidHeader,
                   QString::fromLatin1(kInvalidDataTypeMessage));
  }

  ByteImage scratch = CodeplugImage;  // a legacy file keeps the identity block it finds
  const int count = legacy ? layout::kDataBlockBytes : layout::kImageSize;
  auto result = ReadValues(in, path, file, count, OutOfRangeRule::kFail, scratch);
  if (!result.ok()) return result;

  CodeplugImage = scratch;
  CodeplugFileInvalid = false;
  LegacyLayout = legacy;
  return {};
}

CodeplugFileResult ReadTemplateFile(const QString& path) {
  QFile file(path);
  if (auto opened = OpenForReading(path, file); !opened.ok()) return opened;
  CharSource in(file);

  QByteArray ignored;
  if (auto result = ReadFirstItem(in, path, file, &ignored); !result.ok()) {
    return result;
  }
  ByteImage scratch = CodeplugImage;
  auto result =
      ReadValues(in, path, file, layout::kDataBlockBytes, OutOfRangeRule::kKeepByte, scratch);
  if (!result.ok()) return result;

  CodeplugImage = scratch;
  return {};
}

CodeplugFileResult CopyToFile(const QString& path, const CopyToFileInputs& inputs) {
  // The new file is renamed into place, which would replace a pipe or a device node (even one
  // reached through a link) by a plain file. A link to a regular file is written through.
  if (cps::IsSpecialFile(path)) {
    return Failure(CodeplugFileStatus::kCannotWrite,
                   QStringLiteral("The file %1 cannot be written: it is not a regular file.")
                       .arg(Quoted(path)));
  }
  CodeplugImage[layout::kFixedByte11] = kSavedByte11;
  CodeplugImage[layout::kFixedByte12] = kSavedByte12;
  CodeplugImage[layout::kSerialWriteGate] = 0;

  const bool existed = QFileInfo::exists(path);
  const QString reason = cps::ReplaceFile(path, [&inputs] {
    const bool legacy = WritesLegacyLayout();
    FillBlankIdentityTexts(inputs);
    return FileText(legacy);
  });
  if (!reason.isEmpty()) return WriteFailure(path, reason, existed);
  return {};
}
