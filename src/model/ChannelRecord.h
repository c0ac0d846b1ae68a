// A channel's frequency codes: 24-bit counts of channel steps in the channel record, the step
// flags that choose 6.25 kHz or 5 kHz steps, and the 45.1 MHz receive offset. Frequencies are
// handled in whole hertz so that every decoded value shows exactly in "###.####0".
#pragma once

#include <array>
#include <cstdint>
#include <optional>

// Reference oscillator and the two channel steps derived from it.
constexpr int64_t kReferenceHz = 12'800'000;
constexpr int64_t kStep625Hz = kReferenceHz / 2048;  // 6250 Hz
constexpr int64_t kStep5Hz = kReferenceHz / 2560;    // 5000 Hz
// The receiver's intermediate frequency: the receive code counts the local oscillator, which
// sits 45.1 MHz below the receive frequency on UHF and above it on VHF.
constexpr int64_t kIfOffsetHz = 45'100'000;
constexpr int64_t kHzPerMHz = 1'000'000;

// Highest code a record can hold as a frequency: a top byte with all bits of 0xFC set reads as
// "no frequency".
constexpr int kMaxFrequencyCode = 0xFBFFFF;

// No frequencies, carrier squelch both ways, mute mode 1, high power, wide band.
constexpr std::array<uint8_t, 10> kEmptyChannelRecord = {0x00, 0x00, 0xFC, 0x00, 0x00,
                                                         0xFC, 0x00, 0x00, 0x81, 0x80};

// A code with its step flag (1 = 6.25 kHz steps, 0 = 5 kHz steps).
struct FrequencyCode {
  int steps = 0;
  uint8_t stepFlag = 0;
  bool operator==(const FrequencyCode&) const = default;
};

// --- Pure arithmetic --------------------------------------------------------------------------

// Step of a code in hertz: 6250 when the step flag is non-zero, else 5000.
int64_t StepHz(uint8_t stepFlag);

// True when a top code byte marks a missing frequency ((byte AND 0xFC) = 0xFC).
bool IsEmptyTopByte(uint8_t topByte);

// Transmit frequency in hertz: code x step.
int64_t TxFrequencyHz(int steps, uint8_t stepFlag);
// Receive frequency in hertz: code x step + 45.1 MHz on UHF, - 45.1 MHz on VHF.
int64_t RxFrequencyHz(int steps, uint8_t stepFlag, bool uhf);
// Hertz to the megahertz value shown in the grid.
double HzToMHz(int64_t hz);

// The code of a frequency given in whole hertz as the code counts it (the receive side has the
// offset applied already): 6.25 kHz steps when it lies on that raster (checked first, so a
// multiple of 25 kHz uses 6.25 kHz), else 5 kHz steps, else none. A frequency that is negative
// or too high for a 24-bit code also has none.
std::optional<FrequencyCode> EncodeFrequencyHz(int64_t hz);
// The receive code of a receive frequency: the offset goes the other way from the decode.
std::optional<FrequencyCode> EncodeRxFrequencyHz(int64_t hz, bool uhf);

// A write for a channel number outside 1..16 would land in the step flags or fields beyond.
constexpr bool IsChannelNumber(int channel) { return channel >= 1 && channel <= 16; }

// --- Channel records in CodeplugImage (channel 1..16; writes to other numbers do nothing) ----

int ReadRxSteps(int channel);
int ReadTxSteps(int channel);
// Writes the low 24 bits of code, low byte first.
void WriteRxSteps(int channel, int code);
void WriteTxSteps(int channel, int code);

bool RxFrequencyEmpty(int channel);
bool TxFrequencyEmpty(int channel);

// Decoded frequencies in MHz, none when the channel has no such frequency. The receive side
// takes its offset sign from IsUhfBand, as the grid does.
std::optional<double> DecodeRxFrequencyMHz(int channel);
std::optional<double> DecodeTxFrequencyMHz(int channel);

// Writes the ten bytes of kEmptyChannelRecord into the channel's record (step flags untouched).
void WriteEmptyChannelRecord(int channel);

// New-codeplug header: byte 2 = low byte of ChannelCountVar, byte 14 = 1.
void InitImageHeader();
