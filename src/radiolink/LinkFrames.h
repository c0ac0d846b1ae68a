// The bytes of the radio programming protocol, without any port: command bytes, sum bytes,
// frame layouts, block addressing, the classification of the radio's replies, and the transmit
// form of the image bytes a write sends.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

#include "model/ModuleState.h"

namespace frames {

// Command and reply bytes.
constexpr uint8_t kWakeUp = 'V';
constexpr uint8_t kReady = 0x10;
constexpr uint8_t kNotReady = 'F';  // also the PC's refusal of a bad block
constexpr uint8_t kIdentity = 'I';
constexpr uint8_t kReadRequest = 'R';
constexpr uint8_t kWriteRequest = 'P';
constexpr uint8_t kBandCheck = 'T';
constexpr uint8_t kFirstBlock = 0x0B;  // the read's first block; the write's password request
constexpr uint8_t kOk = 'O';
constexpr uint8_t kIdentityTaken = 'K';
constexpr uint8_t kIdentityAgain = 'G';
constexpr uint8_t kCommandTrailer = 0x00;  // follows every byte the PC sends on its own

constexpr int kIdentityBytes = 16;
constexpr int kIdentityFrameSize = 17;    // the identity bytes and their sum byte
constexpr int kFirstBlockFrameSize = 10;  // 'O', block 0, its sum byte
constexpr int kBlockFrameSize = 9;        // a block and its sum byte
constexpr int kPasswordBytes = 8;

// The low byte of the arithmetic sum of bytes [first, first + count) of data.
uint8_t SumByte(const uint8_t* data, int count);
uint8_t SumByte(const QByteArray& data, int first, int count);

// Image offset of the first byte of data block b (0..47).
constexpr int BlockAddress(int b) { return 8 * b; }

// True when a frame of count bytes starting at data[first] holds the data bytes followed by
// their sum byte (frame is long enough and the sum matches).
bool FrameSumMatches(const QByteArray& frame, int first, int dataBytes);

// A frame the PC sends: every data byte followed by a zero byte.
template <size_t N>
std::array<uint8_t, 2 * N> Interleave(const std::array<uint8_t, N>& data) {
  std::array<uint8_t, 2 * N> frame{};
  for (size_t i = 0; i < N; ++i) frame[2 * i] = data[i];
  return frame;
}

// How a read or write request's reply byte is taken.
enum class RegionReply {
  Accepted,     // 0x32, 0x33, 0x80, 0x81, 0x84
  NotReady,     // 'F': ask again
  Unsupported,  // a region code of another family
  BadCable,     // anything else
};
RegionReply ClassifyRegionReply(uint8_t reply);

// The band byte the radio must report for this codeplug: the low nibble of the region code
// (byte 237) over the band code (low nibble of byte 4).
uint8_t ExpectedBandByte(const ByteImage& image);

// The radio's password from the reply to 0x0B: bytes 1..8, one Latin-1 character each, ending
// before the first zero byte. A short reply gives what it holds.
QString PasswordFromReply(const QByteArray& reply);
// True when the reply says the radio holds a password (byte 1 is 1..254).
bool ReplyCarriesPassword(const QByteArray& reply);

// The identity byte as the write keeps it in the codeplug image: 0x00 and 0xFF become 0xFF.
constexpr uint8_t IdentityByteForImage(uint8_t b) { return (b == 0x00) ? 0xFF : b; }

// Brings image byte a into the form the write sends and returns it; the image keeps the change.
// A blank serial number while the serial write gate (byte 378) is 0; the regional number blanked
// or, in the older layout, taken from regionalText (Latin-1, zero-filled); a scan interval of 1
// or 2 raised to 3.
uint8_t TransmitByte(ByteImage& image, int a, bool legacyLayout, const QString& regionalText);

}  // namespace frames
