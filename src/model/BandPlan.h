// The band of a codeplug (image byte 4), its channel count (from the region code, byte 237),
// the priority channel's range and the per-channel frequency segment byte. These are the image
// halves of the editor's SetupBandLimits, SetupChannelCount and ResizeChannelGrid; the widget
// halves set the spinner and the grid rows from what these return.
#pragma once

#include <array>
#include <optional>

struct BandLimits {
  int lowMHz;
  int highMHz;
  bool isUhf;
  double ifOffsetMHz;
};

// Indexed by BandCode AND 0x0F; codes 5..15 have no entry.
constexpr std::array<BandLimits, 5> BandLimitTable = {{
    {403, 425, true, -45.1},  // 0: 403-425 MHz
    {450, 470, true, -45.1},  // 1: 450-470 MHz
    {136, 150, false, 45.1},  // 2: 136-150 MHz
    {150, 174, false, 45.1},  // 3: 150-174 MHz
    {490, 512, true, -45.1},  // 4: 490-512 MHz
}};

// The table entry for a band byte (its low nibble), none for codes 5..15.
std::optional<BandLimits> FindBandLimits(int bandByte);

// Channel count of a region code: 8 for region codes 4 and 9, else 16.
int ChannelCountForRegion(int regionCode);
// The same for the region code in the image.
int ImageChannelCount();

// Image side of SetupBandLimits: BandLowMHz, BandHighMHz, IsUhfBand and IfOffsetMHz from image
// byte 4 (a code of 5..15 leaves them as they were), then image byte 2 = the region's channel
// count. Returns that count, the priority spinner's maximum. ChannelCountVar is not changed.
int ApplyBandLimits();

// Sets ChannelCountVar and image byte 2 from the region code; returns the count.
int ApplyChannelCount();

// The priority channel the spinner may show, given its wanted value and the channel count: a
// value of 0 or above the count becomes 1 and image byte 14 is set to 1. A load calls this with
// the stored byte 14 before it sets the spinner, so a bad byte never refuses the load.
int CorrectPriorityChannel(int wanted, int channelCount);

// Image side of ResizeChannelGrid: ApplyChannelCount, then every channel beyond the count gets
// the empty record and both step flags 0. Returns the count.
int ResizeChannelRecords();

// The segment byte (FrequencySegmentTable) for a receive frequency in MHz on a band byte (its
// low nibble); none for band codes 6 and 8..15.
std::optional<int> FrequencySegmentFor(int bandByte, double mhz);

// Stores the segment of `mhz` on the image's band in FrequencySegment[channel]. Band codes 6 and
// 8..15 and channel numbers outside 1..16 write nothing.
void SetChannelSegment(int channel, double mhz);
