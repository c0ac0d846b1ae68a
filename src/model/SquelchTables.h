// A channel side's squelch: one SquelchByte in the channel record plus, for digital codes, the
// side's inversion bit in FlagsB. The fixed tone and code tables, the dialog's option numbering
// and the texts by which the channel grid shows a squelch. Other columns compare these texts,
// so every road that shows a squelch takes them from SquelchDisplayText.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

constexpr int kToneCount = 42;
constexpr int kSquelchCodeCount = 85;

// Sub-audible tones in hertz, index 0..41; SquelchByte = index + 1.
extern const std::array<const char*, kToneCount> ToneFrequencyTable;
// Three-digit digital codes, index 0..84; SquelchByte = index + 43. A code is a text, never a
// number.
extern const std::array<const char*, kSquelchCodeCount> SquelchCodeTable;

// Option index of the tone/code dialog, in the order of its option buttons.
enum SquelchOption : int {
  kSquelchCsq = 0,
  kSquelchDks = 1,
  kSquelchTks = 2,
  kSquelchIdks = 3,
  kSquelchTks1 = 4,
  kSquelchTks2 = 5,
  kSquelchTks3 = 6,
};
constexpr int kSquelchOptionCount = 7;
extern const std::array<const char*, kSquelchOptionCount> SquelchOptionCaptions;

// SquelchByte ranges.
constexpr uint8_t kSquelchCarrier = 0;
constexpr uint8_t kSquelchFirstTone = 1;
constexpr uint8_t kSquelchFirstCode = 43;
constexpr uint8_t kSquelchLastCode = 127;
constexpr uint8_t kSquelchUserTone1 = 128;
constexpr uint8_t kSquelchUserTone3 = 130;

enum class SquelchSide { kRx, kTx };

// FlagsB bit that inverts the side's digital code: receive 0x20, transmit 0x40.
uint8_t InversionMask(SquelchSide side);

struct SquelchChoice {
  int option;      // SquelchOption
  int tableIndex;  // tone index for TKS, code index for DKS / IDKS, else -1
  bool operator==(const SquelchChoice&) const = default;
};

// Byte and the side's inversion bit to the dialog's option and table entry; none for 131..255.
// The bit counts only for 43..127.
std::optional<SquelchChoice> DecodeSquelch(uint8_t squelchByte, bool inverted);

struct SquelchEncoding {
  uint8_t squelchByte;
  std::optional<bool> inverted;  // new inversion bit of the side (DKS false, IDKS true), else none
  bool operator==(const SquelchEncoding&) const = default;
};

// Option and table entry to the byte (and for DKS / IDKS the inversion bit). The table index
// counts only for TKS, DKS and IDKS; an option or index outside its table gives none.
std::optional<SquelchEncoding> EncodeSquelch(int option, int tableIndex);

// The grid's "KS Option" text: " CSQ", " TKS: 67.0 Hz", " DKS: 023", " IDKS: 023", " TKS1".."
// TKS3". Bytes 131..255 mean nothing and show an empty text, never the text of an earlier codeplug.
QString SquelchDisplayText(uint8_t squelchByte, bool inverted);

// The side's squelch byte and inversion bit in channel `channel` (1..16) of CodeplugImage.
uint8_t ChannelSquelchByte(int channel, SquelchSide side);
bool ChannelSquelchInverted(int channel, SquelchSide side);

// Dialog labels: tones by their byte in two upper-case hex digits ("01".."2A"), codes by their
// position ("1".."85").
QString ToneDialogLabel(int toneIndex);
QString CodeDialogLabel(int codeIndex);
