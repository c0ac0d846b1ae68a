#include "model/Defaults.h"

#include <array>

#include "model/ChannelRecord.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"

namespace {

constexpr std::array<uint8_t, 8> kDefaultTimerBytes = {18, 10, 8, 16, 5, 60, 20, 10};

constexpr uint8_t kClearedRxRangeBits = 0x15;
constexpr uint8_t kClearedTxRangeBits = 0x3F;

// Channel 1 presets by the whole byte 4: receive code, transmit code (low byte first), segment.
struct ChannelOnePreset {
  std::array<uint8_t, 3> rx;
  std::array<uint8_t, 3> tx;
  uint8_t segment;
};
constexpr std::array<ChannelOnePreset, 5> kChannelOnePresets = {{
    {{176, 223, 0}, {224, 251, 0}, 0},  // 403.0 MHz
    {{212, 5, 1}, {4, 34, 1}, 2},       // 464.025 MHz
    {{240, 116, 0}, {192, 88, 0}, 2},   // 142.0 MHz
    {{148, 122, 0}, {100, 94, 0}, 1},   // 151.025 MHz
    {{16, 27, 1}, {64, 55, 1}, 1},      // 498.0 MHz
}};

constexpr uint8_t kToneByte103_5 = 14;
// High power, reverse burst bits 11, mute mode 1.
constexpr uint8_t kChannelOneFlagsA = 0x8D;
constexpr uint8_t kChannelOneFlagsB = layout::kFlagsBWideBand;

bool FixesPower(uint8_t code) { return code == 16 || code == 32 || code == 48 || code == 64; }

void SetScanListToChannelOne() {
  CodeplugImage[layout::ScanListSlot(1)] = 1;
  CodeplugImage.Fill(layout::ScanListSlot(2), layout::ScanListSlot(layout::kMaxChannels), 0);
  CodeplugImage[layout::kScanListBitmap] = 1;
  CodeplugImage[layout::kScanListBitmap + 1] = 0;
}

void WriteChannelOnePreset() {
  const uint8_t band = CodeplugImage[layout::kBandCode];
  if (band >= kChannelOnePresets.size()) return;
  const ChannelOnePreset& preset = kChannelOnePresets[band];
  const int base = layout::ChannelOffset(1);
  for (int i = 0; i < 3; ++i) {
    CodeplugImage[base + layout::kRecRxSteps + i] = preset.rx[i];
    CodeplugImage[base + layout::kRecTxSteps + i] = preset.tx[i];
  }
  CodeplugImage[layout::FrequencySegment(1)] = preset.segment;
}

void WriteChannelOneSquelchAndFlags() {
  const int base = layout::ChannelOffset(1);
  CodeplugImage[base + layout::kRecRxSquelch] = kToneByte103_5;
  CodeplugImage[base + layout::kRecTxSquelch] = kToneByte103_5;
  CodeplugImage[base + layout::kRecFlagsA] = kChannelOneFlagsA;
  CodeplugImage[base + layout::kRecFlagsB] = kChannelOneFlagsB;
}

}  // namespace

void SetDefaultTimers() {
  for (int i = 0; i < static_cast<int>(kDefaultTimerBytes.size()); ++i) {
    CodeplugImage[layout::kTotTime + i] = kDefaultTimerBytes[i];
  }
}

void ClearAllChannels() {
  for (int channel = 1; channel <= layout::kMaxChannels; ++channel) {
    WriteEmptyChannelRecord(channel);
  }
  CodeplugImage[layout::kUserToneRxRangeBits] = kClearedRxRangeBits;
  CodeplugImage[layout::kUserToneTxRangeBits] = kClearedTxRangeBits;
  CodeplugImage.SetWord(layout::kScanListBitmap, 0);
}

ButtonPositions DefaultButtonPositions(uint8_t fixedPowerCode) {
  if (FixesPower(fixedPowerCode)) return {1, 3, 0, 6};
  return {2, 4, 0, 7};
}

void SetDefaultChannelOne() {
  SetScanListToChannelOne();
  WriteChannelOnePreset();
  WriteChannelOneSquelchAndFlags();
  CodeplugImage[layout::RxStepFlag(1)] = 1;
  CodeplugImage[layout::TxStepFlag(1)] = 1;
}
