// The three user-defined squelch tones (k = 0, 1, 2) for receive and transmit. The radio works
// nothing out from a frequency itself: the image carries, beside each tone word, ready-made
// period and window counts. The encoders write them from a box's text; ShowUserTonesOnImage is
// the reverse step of the fill chain.
#pragma once

#include <QString>
#include <array>
#include <optional>

#include "model/ModuleState.h"

// Offsets inside UserToneBlock[k] (19 bytes at layout::UserToneBlock(k)).
namespace usertone {
constexpr int kRxPeriodUpper = 0;  // u16, receive
constexpr int kRxPeriodLower = 2;  // u16, receive
constexpr int kRxWindow = 4;       // u8, receive
constexpr int kTxPeriodA = 5;      // u16, transmit
constexpr int kRxWord7 = 7;        // u16, receive
constexpr int kRxWord9 = 9;        // u16, receive
constexpr int kTxPeriodB = 11;     // u16, transmit
constexpr int kRxWord13 = 13;      // u16, receive
constexpr int kRxWord15 = 15;      // u16, receive
constexpr int kTxPeriodC = 17;     // u16, transmit

constexpr int kCount = 3;
constexpr double kLowestHz = 67.0;
constexpr double kHighestHz = 255.0;
}  // namespace usertone

// The texts of the three boxes of one direction, index = user tone k.
using UserToneBoxTexts = std::array<QString, usertone::kCount>;

enum class ToneEncodeResult {
  Stored,   // the tone word, its counts and the range bits are in the image
  Refused,  // the value is outside 67..255 Hz (or k is not a user tone): the image is unchanged
};

// Encodes receive user tone k from boxTexts[k]. On success also refreshes all three receive range
// bits of byte 238 from all three texts. The transmit bytes are never touched.
ToneEncodeResult EncodeRxToneFrequency(ByteImage& image, int k, const UserToneBoxTexts& boxTexts);

// Encodes transmit user tone k from boxTexts[k]; refreshes all three transmit range bits of byte
// 239. The receive bytes are never touched.
ToneEncodeResult EncodeTxToneFrequency(ByteImage& image, int k, const UserToneBoxTexts& boxTexts);

// The text a user tone box shows for a stored tone word (0.1 Hz), "#.0"; nothing for a zero word,
// whose box keeps the text it has.
std::optional<QString> UserToneText(int toneWord);

// The counts a radio gets for a user tone that was never set (tone word 0), for one side.
void WriteRxToneDefaultCounts(ByteImage& image, int k);
void WriteTxToneDefaultCounts(ByteImage& image, int k);

// New texts for the six boxes (nullopt = keep the box's text).
struct UserToneView {
  std::array<std::optional<QString>, usertone::kCount> rx;
  std::array<std::optional<QString>, usertone::kCount> tx;
};

// The image side of ShowUserTones: the texts for the six stored tone words, and the default
// counts written for every zero word (the tone word, receive period and range bits untouched).
UserToneView ShowUserTonesOnImage(ByteImage& image);
