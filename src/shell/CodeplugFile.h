// The codeplug file (*.cpg): one codeplug image stored as text, a header line and then one
// decimal value per image byte. The header alone tells the two layouts apart:
//   "Corvana programmer data file extension"  400 values, bytes 0..399
//   "Corvana programmer data file"            384 values, bytes 0..383 (no identity block)
// The template codeplug files that a regional kit number loads use the same text.
//
// Every reader fills a scratch copy of the image and puts it in place only after its last
// value, so a file that fails part-way leaves the image exactly as it was; the file is closed
// on every path. The writer goes through a temporary file renamed into place, so a failed
// save never destroys the file that was there.
#pragma once

#include <QString>

enum class CodeplugFileStatus {
  kOk,
  kInvalidHeader,    // the first item is neither header: the open is refused
  kCannotOpen,       // the file cannot be opened or read, or is no regular file
  kValueOutOfRange,  // a whole number that does not fit a byte (0..255)
  kValueNotWhole,    // a value that is not a whole number written in digits
  kEndedEarly,       // the file ends before its last value
  kCannotWrite,      // the file cannot be created or written; any old file is intact
};

struct CodeplugFileResult {
  CodeplugFileStatus status = CodeplugFileStatus::kOk;
  // Empty on success. For kInvalidHeader exactly kInvalidDataTypeMessage (shown with a beep,
  // the exclamation icon and the title kOpenFileTitle); otherwise a sentence that names the
  // file and the problem, for the caller to show before it abandons the command.
  QString message;

  bool ok() const { return status == CodeplugFileStatus::kOk; }
};

inline constexpr char kInvalidDataTypeMessage[] = "Error! invalid data type     ";
inline constexpr char kOpenFileTitle[] = "Open File";

// Reads the codeplug file at path into CodeplugImage. A current-layout file replaces bytes
// 0..399 and sets LegacyLayout False; a legacy file replaces bytes 0..383, keeps 384..399 and
// sets LegacyLayout True; both set CodeplugFileInvalid False. An unknown header sets
// CodeplugFileInvalid True and loads nothing. Any other failure changes nothing at all.
CodeplugFileResult CopyToBox(const QString& path);

// Reads a template codeplug file at path: the first item is skipped unchecked, the next 384
// values become bytes 0..383. A whole number that does not fit a byte leaves that one byte as
// it was and the rest still loads. Any other failure changes nothing. LegacyLayout and
// CodeplugFileInvalid are not touched.
CodeplugFileResult ReadTemplateFile(const QString& path);

// The editor's boxes that the writer reads.
struct CopyToFileInputs {
  QString serialText;  // txtSerial, taken unchanged (not upper-cased)
  QString kitText;     // txtSuper
};

// Writes CodeplugImage into the codeplug file at path, replacing any regular file of that name;
// anything else of that name (a pipe, a device, a folder) is refused before anything changes.
//
// The caller runs first, in this order: CodeplugLocked := True exactly when txtPassword is
// disabled, CopyPasswordToImage, and for k = 0, 1, 2 EncodeTxToneFrequency(k) then
// EncodeRxToneFrequency(k). This function then stores 60, 20 and 0 in bytes 11, 12 and 378
// and, once the file is open, takes a blank serial number (bytes 336..345 all 0xFF) from
// inputs.serialText and, only in that case, a blank regional number (354..369 all 0xFF) from
// inputs.kitText, zero-filled. These changes stay in the image. The legacy layout (384 values)
// is written when LegacyLayout is set or byte 397 is none of 0x10, 0x20, 0x30.
CodeplugFileResult CopyToFile(const QString& path, const CopyToFileInputs& inputs);
