#include "model/BandPlan.h"

#include "model/ChannelRecord.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"

namespace {

constexpr int kEightChannelRegionA = 4;
constexpr int kEightChannelRegionB = 9;
constexpr int kFullChannelCount = 16;
constexpr int kSmallChannelCount = 8;

// One row of FrequencySegmentTable: the intervals from the lowest up, each ending below `upper`
// (or at it when `upperIncluded`), and the segment above the last one.
struct SegmentInterval {
  double upper;
  bool upperIncluded;
  int segment;
};
struct SegmentRow {
  std::array<SegmentInterval, 6> intervals;
  int count;
  int topSegment;
};

// Rows for band codes 0..4; codes 5 and 7 use the rows of 1 and 3. Segment 5 is never produced,
// band 2 has no segment 3, and the top interval of the VHF rows includes its upper edge.
constexpr std::array<SegmentRow, 5> FrequencySegmentTable = {{
    {{{{408, false, 0}, {413, false, 1}, {418, false, 2}, {425, false, 3}}}, 4, 4},
    {{{{455, false, 0}, {460, false, 1}, {465, false, 2}, {470, false, 3}}}, 4, 4},
    {{{{136, false, 0}, {140, false, 1}, {143, false, 2}, {147, false, 4}, {150, true, 6}}}, 5, 7},
    {{{{150, false, 0},
       {155, false, 1},
       {160, false, 2},
       {165, false, 3},
       {170, false, 4},
       {174, true, 6}}},
     6,
     7},
    {{{{495, false, 0}, {500, false, 1}, {505, false, 2}, {512, false, 3}}}, 4, 4},
}};

// Bands 1 and 5 share a row, as do 3 and 7; 6 and 8..15 have none.
const SegmentRow* SegmentRowFor(int band) {
  switch (band) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
      return &FrequencySegmentTable[band];
    case 5:
      return &FrequencySegmentTable[1];
    case 7:
      return &FrequencySegmentTable[3];
    default:
      return nullptr;
  }
}

bool Below(const SegmentInterval& interval, double mhz) {
  return interval.upperIncluded ? mhz <= interval.upper : mhz < interval.upper;
}

}  // namespace

std::optional<BandLimits> FindBandLimits(int bandByte) {
  const int code = bandByte & 0x0F;
  if (code >= static_cast<int>(BandLimitTable.size())) return std::nullopt;
  return BandLimitTable[code];
}

int ChannelCountForRegion(int regionCode) {
  const bool small = regionCode == kEightChannelRegionA || regionCode == kEightChannelRegionB;
  return small ? kSmallChannelCount : kFullChannelCount;
}

int ImageChannelCount() { return ChannelCountForRegion(CodeplugImage[layout::kRegionCode]); }

int ApplyBandLimits() {
  if (const auto limits = FindBandLimits(CodeplugImage[layout::kBandCode])) {
    BandLowMHz = limits->lowMHz;
    BandHighMHz = limits->highMHz;
    IsUhfBand = limits->isUhf;
    IfOffsetMHz = limits->ifOffsetMHz;
  }
  const int count = ImageChannelCount();
  CodeplugImage[layout::kChannelCount] = static_cast<uint8_t>(count);
  return count;
}

int ApplyChannelCount() {
  ChannelCountVar = ImageChannelCount();
  CodeplugImage[layout::kChannelCount] = static_cast<uint8_t>(ChannelCountVar);
  return ChannelCountVar;
}

int CorrectPriorityChannel(int wanted, int channelCount) {
  if (wanted >= 1 && wanted <= channelCount) return wanted;
  CodeplugImage[layout::kPrioScanChannel] = 1;
  return 1;
}

int ResizeChannelRecords() {
  const int count = ApplyChannelCount();
  for (int channel = count + 1; channel <= layout::kMaxChannels; ++channel) {
    WriteEmptyChannelRecord(channel);
    CodeplugImage[layout::RxStepFlag(channel)] = 0;
    CodeplugImage[layout::TxStepFlag(channel)] = 0;
  }
  return count;
}

std::optional<int> FrequencySegmentFor(int bandByte, double mhz) {
  const SegmentRow* row = SegmentRowFor(bandByte & 0x0F);
  if (row == nullptr) return std::nullopt;
  for (int i = 0; i < row->count; ++i) {
    if (Below(row->intervals[i], mhz)) return row->intervals[i].segment;
  }
  return row->topSegment;
}

void SetChannelSegment(int channel, double mhz) {
  if (!IsChannelNumber(channel)) return;
  const auto segment = FrequencySegmentFor(CodeplugImage[layout::kBandCode], mhz);
  if (segment) CodeplugImage[layout::FrequencySegment(channel)] = static_cast<uint8_t>(*segment);
}
