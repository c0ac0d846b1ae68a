#include "model/ChannelRecord.h"

#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"

namespace {

int ReadCode(int offset) {
  return CodeplugImage[offset] | (CodeplugImage[offset + 1] << 8) |
         (CodeplugImage[offset + 2] << 16);
}

void WriteCode(int offset, int code) {
  CodeplugImage[offset] = static_cast<uint8_t>(code & 0xFF);
  CodeplugImage[offset + 1] = static_cast<uint8_t>((code >> 8) & 0xFF);
  CodeplugImage[offset + 2] = static_cast<uint8_t>((code >> 16) & 0xFF);
}

int RxOffset(int channel) { return layout::ChannelOffset(channel) + layout::kRecRxSteps; }
int TxOffset(int channel) { return layout::ChannelOffset(channel) + layout::kRecTxSteps; }

}  // namespace

int64_t StepHz(uint8_t stepFlag) { return stepFlag != 0 ? kStep625Hz : kStep5Hz; }

bool IsEmptyTopByte(uint8_t topByte) {
  return (topByte & layout::kEmptyFrequencyMask) == layout::kEmptyFrequencyMask;
}

int64_t TxFrequencyHz(int steps, uint8_t stepFlag) { return steps * StepHz(stepFlag); }

int64_t RxFrequencyHz(int steps, uint8_t stepFlag, bool uhf) {
  return TxFrequencyHz(steps, stepFlag) + (uhf ? kIfOffsetHz : -kIfOffsetHz);
}

double HzToMHz(int64_t hz) { return static_cast<double>(hz) / kHzPerMHz; }

std::optional<FrequencyCode> EncodeFrequencyHz(int64_t hz) {
  if (hz < 0) return std::nullopt;
  for (uint8_t flag : {uint8_t{1}, uint8_t{0}}) {
    const int64_t step = StepHz(flag);
    if (hz % step != 0) continue;
    if (hz / step > kMaxFrequencyCode) return std::nullopt;
    return FrequencyCode{static_cast<int>(hz / step), flag};
  }
  return std::nullopt;
}

std::optional<FrequencyCode> EncodeRxFrequencyHz(int64_t hz, bool uhf) {
  return EncodeFrequencyHz(uhf ? hz - kIfOffsetHz : hz + kIfOffsetHz);
}

int ReadRxSteps(int channel) { return ReadCode(RxOffset(channel)); }
int ReadTxSteps(int channel) { return ReadCode(TxOffset(channel)); }
void WriteRxSteps(int channel, int code) {
  if (IsChannelNumber(channel)) WriteCode(RxOffset(channel), code);
}

void WriteTxSteps(int channel, int code) {
  if (IsChannelNumber(channel)) WriteCode(TxOffset(channel), code);
}

bool RxFrequencyEmpty(int channel) { return IsEmptyTopByte(CodeplugImage[RxOffset(channel) + 2]); }
bool TxFrequencyEmpty(int channel) { return IsEmptyTopByte(CodeplugImage[TxOffset(channel) + 2]); }

std::optional<double> DecodeRxFrequencyMHz(int channel) {
  if (RxFrequencyEmpty(channel)) return std::nullopt;
  const uint8_t flag = CodeplugImage[layout::RxStepFlag(channel)];
  return HzToMHz(RxFrequencyHz(ReadRxSteps(channel), flag, IsUhfBand));
}

std::optional<double> DecodeTxFrequencyMHz(int channel) {
  if (TxFrequencyEmpty(channel)) return std::nullopt;
  const uint8_t flag = CodeplugImage[layout::TxStepFlag(channel)];
  return HzToMHz(TxFrequencyHz(ReadTxSteps(channel), flag));
}

void WriteEmptyChannelRecord(int channel) {
  if (!IsChannelNumber(channel)) return;
  const int base = layout::ChannelOffset(channel);
  for (int i = 0; i < layout::kChannelRecordSize; ++i) {
    CodeplugImage[base + i] = kEmptyChannelRecord[i];
  }
}

void InitImageHeader() {
  CodeplugImage[layout::kChannelCount] = static_cast<uint8_t>(ChannelCountVar & 0xFF);
  CodeplugImage[layout::kPrioScanChannel] = 1;
}
