// The byte layout of the 400-byte codeplug image. A radio address is the image offset; every
// multi-byte number is little-endian; text fields hold one byte per character, zero-filled, and
// a text field whose bytes are all 0xFF is blank. Bytes the program never interprets keep
// whatever a radio, file or template gave them.
#pragma once

namespace layout {

constexpr int kImageSize = 400;
constexpr int kDataBlockBytes = 384;  // 48 data blocks of 8 bytes; the older layout has only these
constexpr int kBlockSize = 8;
constexpr int kDataBlockCount = 48;

// Header
constexpr int kChannelCount = 2;        // 16, or 8 when the region code is 4 or 9
constexpr int kImageMarker = 3;         // 0xA5 from the editor's start-up; never read
constexpr int kBandCode = 4;            // low nibble 0..4 selects the band; 15 = new, no band
constexpr int kOptionBits = 5;
constexpr int kTotTime = 6;             // transmit time-out, seconds / 10
constexpr int kScanSpeedTime = 7;       // ms / 10
constexpr int kScanDelayTime = 8;       // ms / 500
constexpr int kLookBackTime = 9;        // ms / 250
constexpr int kTotPenaltyTime = 10;     // seconds
constexpr int kFixedByte11 = 11;        // 60 before every save and write
constexpr int kFixedByte12 = 12;        // 20 before every save and write
constexpr int kFixedByte13 = 13;        // 10 from the defaults
constexpr int kPrioScanChannel = 14;    // 1..channel count

// Option bits of byte 5
constexpr int kOptQuickKey = 0x01;
constexpr int kOptPrioScan = 0x02;
constexpr int kOptTot = 0x04;
constexpr int kOptNormalScan = 0x08;
constexpr int kOptBatterySave = 0x60;   // both bits set and cleared together
constexpr int kOptBatterySaveShown = 0x40;
constexpr int kOptTalkbackScan = 0x80;

// Channel records: channel n (1..16) at 16 + 10 * (n - 1)
constexpr int kMaxChannels = 16;
constexpr int kChannelBase = 16;
constexpr int kChannelRecordSize = 10;
constexpr int kRecRxSteps = 0;   // u24
constexpr int kRecTxSteps = 3;   // u24
constexpr int kRecRxSquelch = 6;
constexpr int kRecTxSquelch = 7;
constexpr int kRecFlagsA = 8;
constexpr int kRecFlagsB = 9;
constexpr int ChannelOffset(int channel) { return kChannelBase + kChannelRecordSize * (channel - 1); }

// FlagsA bits
constexpr int kFlagsAMuteMode = 0x03;
constexpr int kFlagsARevBurst = 0x0C;
constexpr int kFlagsATurnOffCode = 0x10;
constexpr int kFlagsATightSquelch = 0x20;
constexpr int kFlagsARxOnly = 0x40;
constexpr int kFlagsAHighPower = 0x80;
// FlagsB bits
constexpr int kFlagsBTalkaround = 0x02;
constexpr int kFlagsBBusyLockout = 0x10;
constexpr int kFlagsBRxInvert = 0x20;
constexpr int kFlagsBTxInvert = 0x40;
constexpr int kFlagsBWideBand = 0x80;
// A top frequency byte with all of these bits set marks a channel without that frequency.
constexpr int kEmptyFrequencyMask = 0xFC;

constexpr int kRxStepFlagBase = 175;  // RxStepFlag[n] at 175 + n
constexpr int kTxStepFlagBase = 191;  // TxStepFlag[n] at 191 + n
constexpr int RxStepFlag(int channel) { return kRxStepFlagBase + channel; }
constexpr int TxStepFlag(int channel) { return kTxStepFlagBase + channel; }

// User tones k = 0..2
constexpr int kUserToneRx = 208;  // u16 at 208 + 2k, 0.1 Hz
constexpr int kUserToneTx = 214;  // u16 at 214 + 2k, 0.1 Hz
constexpr int UserToneRx(int k) { return kUserToneRx + 2 * k; }
constexpr int UserToneTx(int k) { return kUserToneTx + 2 * k; }

// Scan list
constexpr int kScanListSlotBase = 219;  // ScanListSlot[n] at 219 + n: n when in the list, else 0
constexpr int ScanListSlot(int channel) { return kScanListSlotBase + channel; }
constexpr int kScanListBitmap = 244;    // u16: bit n - 1 = channel n (244 channels 1..8)

constexpr int kPasswordLength = 236;
constexpr int kRegionCode = 237;
constexpr int kUserToneRxRangeBits = 238;
constexpr int kUserToneTxRangeBits = 239;
constexpr int kButton1Short = 240;
constexpr int kButton1Long = 241;
constexpr int kButton2Short = 242;
constexpr int kButton2Long = 243;

constexpr int kUserToneBlockBase = 256;  // 19 bytes at 256 + 19k
constexpr int kUserToneBlockSize = 19;
constexpr int UserToneBlock(int k) { return kUserToneBlockBase + kUserToneBlockSize * k; }
constexpr int kUserToneRxPeriod = 313;   // u16 at 313 + 2k
constexpr int UserToneRxPeriod(int k) { return kUserToneRxPeriod + 2 * k; }

constexpr int kFrequencySegmentBase = 319;  // FrequencySegment[n] at 319 + n
constexpr int FrequencySegment(int channel) { return kFrequencySegmentBase + channel; }

// Identity and text fields
constexpr int kSerialNumber = 336;  // 10 characters, 336..345
constexpr int kSerialNumberLength = 10;
constexpr int kCodeplugVersion = 346;  // 346..349
constexpr int kFirmwareVersion = 350;  // 350..353
constexpr int kRegionalNumber = 354;   // 16 characters, 354..369
constexpr int kRegionalNumberLength = 16;
constexpr int kVariantLetter = 362;    // the 9th character of the regional number
constexpr int kCodeplugPassword = 370;  // 8 characters, 370..377
constexpr int kCodeplugPasswordLength = 8;
constexpr int kSerialWriteGate = 378;
constexpr int kPasswordLength2 = 379;
constexpr int kModelVariant = 380;     // bit 0: second model variant

// Identity block (exchanged with the radio separately)
constexpr int kIdentBlock = 384;
constexpr int kModelNumber = 384;      // 12 characters, 384..395
constexpr int kModelNumberLength = 12;
constexpr int kFixedPowerCode = 396;
constexpr int kFixedBandwidthCode = 397;

}  // namespace layout
