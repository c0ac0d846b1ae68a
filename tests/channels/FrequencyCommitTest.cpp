#include <gtest/gtest.h>

#include <vector>

#include "channels/FrequencyCommit.h"
#include "model/BandPlan.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "support/QtPrinters.h"

namespace {

// A codeplug on `band` with every channel empty.
void StartOnBand(int band) {
  ResetModuleState();
  CodeplugImage[layout::kBandCode] = static_cast<uint8_t>(band);
  ApplyBandLimits();
  for (int ch = 1; ch <= 16; ++ch) WriteEmptyChannelRecord(ch);
}

std::vector<int> CodeBytes(int channel, FrequencySide side) {
  const int at = layout::ChannelOffset(channel) + (side == FrequencySide::kRx ? 0 : 3);
  return {CodeplugImage[at], CodeplugImage[at + 1], CodeplugImage[at + 2]};
}

int StepFlag(int channel, FrequencySide side) {
  return CodeplugImage[side == FrequencySide::kRx ? 175 + channel : 191 + channel];
}

constexpr auto kRx = FrequencySide::kRx;
constexpr auto kTx = FrequencySide::kTx;

}  // namespace

TEST(FrequencyCommit, ReadsOnlyDigitsWithOnePointAsANumber) {
  EXPECT_EQ(ParseFrequencyText("450"), 450.0);
  EXPECT_EQ(ParseFrequencyText("450."), 450.0);
  EXPECT_EQ(ParseFrequencyText(".5"), 0.5);
  EXPECT_EQ(ParseFrequencyText("450.0125"), 450.0125);
  for (const char* text : {"", ".", "4a", "450.0.1", "-450", "+450", " 450", "450 ", "4.5E2",
                           "450,0125", "\xD9\xA4\xD9\xA5\xD9\xA0"}) {
    EXPECT_FALSE(ParseFrequencyText(QString::fromUtf8(text))) << text;
  }
}

TEST(FrequencyCommit, StoresTheWorkedExamplesOfBandsOneAndThree) {
  StartOnBand(1);
  CommitOutcome out = CommitFrequencyText(2, kRx, "450.00625", false);
  EXPECT_EQ(out.message, "");
  EXPECT_TRUE(out.stored);
  EXPECT_EQ(out.cellText, "450.00625");
  EXPECT_EQ(CodeBytes(2, kRx), (std::vector<int>{0x11, 0xFD, 0x00}));
  EXPECT_EQ(StepFlag(2, kRx), 1);

  // Not on the 6.25 kHz raster but on the 5 kHz one.
  out = CommitFrequencyText(2, kRx, "450.005", false);
  EXPECT_EQ(out.cellText, "450.00500");
  EXPECT_EQ(CodeBytes(2, kRx), (std::vector<int>{0x55, 0x3C, 0x01}));
  EXPECT_EQ(StepFlag(2, kRx), 0);

  // Band 3 adds the offset on the receive side; the transmit side has none.
  StartOnBand(3);
  CommitFrequencyText(5, kRx, "150.0125", false);
  CommitFrequencyText(5, kTx, "150.0125", false);
  EXPECT_EQ(CodeBytes(5, kRx), (std::vector<int>{0xF2, 0x79, 0x00}));
  EXPECT_EQ(CodeBytes(5, kTx), (std::vector<int>{0xC2, 0x5D, 0x00}));
  EXPECT_EQ(StepFlag(5, kRx), 1);
  EXPECT_EQ(StepFlag(5, kTx), 1);

  // 146.52 MHz lies on the 5 kHz raster only, on both sides.
  CommitFrequencyText(6, kRx, "146.52", false);
  EXPECT_EQ(CodeBytes(6, kRx), (std::vector<int>{0, 0, 0xFC})) << "outside band 3";
  StartOnBand(2);
  EXPECT_EQ(CommitFrequencyText(6, kRx, "146.52", false).cellText, "146.52000");
  CommitFrequencyText(6, kTx, "146.52", false);
  EXPECT_EQ(CodeBytes(6, kRx), (std::vector<int>{180, 149, 0}));
  EXPECT_EQ(CodeBytes(6, kTx), (std::vector<int>{120, 114, 0}));
  EXPECT_EQ(StepFlag(6, kRx), 0);
  EXPECT_EQ(StepFlag(6, kTx), 0);
}

TEST(FrequencyCommit, KeepsEveryBandsEdgesInclusive) {
  struct Case {
    int band;
    const char* low;
    const char* high;
    const char* belowLow;
    const char* aboveHigh;
    std::vector<int> lowRxBytes;
    std::vector<int> highRxBytes;
    std::vector<int> lowTxBytes;
  };
  // Codes worked out by hand: (f -/+ 45.1 MHz) / 6250 Hz on the receive side, f / 6250 Hz on the
  // transmit side, low byte first.
  const std::vector<Case> cases = {
      {0,
       "403",
       "425",
       "402.99375",
       "425.00625",
       {0xB0, 0xDF, 0},
       {0x70, 0xED, 0},
       {0xE0, 0xFB, 0}},
      {1,
       "450",
       "470",
       "449.99375",
       "470.00625",
       {0x10, 0xFD, 0},
       {0x90, 0x09, 1},
       {0x40, 0x19, 1}},
      {2,
       "136",
       "150",
       "135.99375",
       "150.00625",
       {0x30, 0x71, 0},
       {0xF0, 0x79, 0},
       {0x00, 0x55, 0}},
      {3,
       "150",
       "174",
       "149.99375",
       "174.00625",
       {0xF0, 0x79, 0},
       {0xF0, 0x88, 0},
       {0xC0, 0x5D, 0}},
      {4,
       "490",
       "512",
       "489.99375",
       "512.00625",
       {0x10, 0x16, 1},
       {0xD0, 0x23, 1},
       {0x40, 0x32, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.band);
    StartOnBand(c.band);
    EXPECT_EQ(CommitFrequencyText(1, kRx, c.low, false).message, "");
    EXPECT_EQ(CodeBytes(1, kRx), c.lowRxBytes);
    EXPECT_EQ(CommitFrequencyText(2, kRx, c.high, false).message, "");
    EXPECT_EQ(CodeBytes(2, kRx), c.highRxBytes);
    CommitFrequencyText(1, kTx, c.low, false);
    EXPECT_EQ(CodeBytes(1, kTx), c.lowTxBytes);

    for (const char* outside : {c.belowLow, c.aboveHigh}) {
      const CommitOutcome out = CommitFrequencyText(1, kRx, outside, false);
      EXPECT_EQ(out.message, "Out of Frequency Range");
      EXPECT_TRUE(out.hideEditor);
      EXPECT_EQ(out.cellText, QString(c.low) + ".00000") << "the stored value again";
      EXPECT_EQ(CodeBytes(1, kRx), c.lowRxBytes);
    }
  }
}

TEST(FrequencyCommit, TriesTheSixPointTwoFiveRasterFirstAndRoundsTiesToEven) {
  StartOnBand(1);
  // 450.025 MHz lies on both rasters: 6.25 kHz steps win.
  CommitFrequencyText(1, kTx, "450.025", false);
  EXPECT_EQ(StepFlag(1, kTx), 1);
  EXPECT_EQ(CodeBytes(1, kTx), (std::vector<int>{0x44, 0x19, 0x01}));  // 72004

  // Ties: 450 006 250.5 Hz rounds down to the even 450 006 250 (6.25 kHz raster), while
  // 404 904 999.5 Hz (the receive side of 450.0049995) rounds up to the even 404 905 000.
  const CommitOutcome down = CommitFrequencyText(2, kTx, "450.0062505", false);
  EXPECT_EQ(down.message, "");
  EXPECT_EQ(down.cellText, "450.00625");
  EXPECT_EQ(CodeBytes(2, kTx), (std::vector<int>{0x41, 0x19, 0x01}));  // 72001
  EXPECT_EQ(StepFlag(2, kTx), 1);
  const CommitOutcome up = CommitFrequencyText(3, kRx, "450.0049995", false);
  EXPECT_EQ(up.message, "");
  EXPECT_EQ(CodeBytes(3, kRx), (std::vector<int>{0x55, 0x3C, 0x01}));  // 80981 five-kHz steps
  EXPECT_EQ(StepFlag(3, kRx), 0);

  // Five decimals whatever was typed.
  EXPECT_EQ(CommitFrequencyText(4, kTx, "450.1", false).cellText, "450.10000");
  EXPECT_EQ(CommitFrequencyText(4, kTx, "450.", false).cellText, "450.00000");
}

TEST(FrequencyCommit, RefusalsKeepTheStoredFrequencyAndShowItAgain) {
  StartOnBand(1);
  CommitFrequencyText(1, kRx, "460", false);
  CodeplugImage[layout::FrequencySegment(1)] = 0x77;  // so that showing again can be seen

  // On neither raster: the editor stays, the cell shows the stored value.
  CommitOutcome out = CommitFrequencyText(1, kRx, "450.001", false);
  EXPECT_EQ(out.message, "Frequency is not valid");
  EXPECT_FALSE(out.stored);
  EXPECT_FALSE(out.hideEditor);
  EXPECT_FALSE(out.deleted);
  EXPECT_EQ(out.cellText, "460.00000");
  EXPECT_EQ(CodeBytes(1, kRx), (std::vector<int>{0x50, 0x03, 0x01}));  // 66384
  EXPECT_EQ(StepFlag(1, kRx), 1);
  EXPECT_EQ(CodeplugImage[layout::FrequencySegment(1)], 2) << "segment of the stored 460 MHz";

  out = CommitFrequencyText(1, kRx, "4x0", false);
  EXPECT_EQ(out.message, "Invalid Frequency");
  EXPECT_TRUE(out.hideEditor);
  EXPECT_EQ(out.cellText, "460.00000");

  // An empty channel stays empty after a refusal.
  out = CommitFrequencyText(2, kTx, "450.001", false);
  EXPECT_EQ(out.cellText, "");
  EXPECT_EQ(CodeBytes(2, kTx), (std::vector<int>{0, 0, 0xFC}));
}

TEST(FrequencyCommit, StoresTheSegmentOfTheReceiveSideOnly) {
  StartOnBand(1);
  CommitFrequencyText(7, kRx, "465", false);
  EXPECT_EQ(CodeplugImage[layout::FrequencySegment(7)], 3);
  EXPECT_EQ(CodeBytes(7, kRx), (std::vector<int>{0x70, 0x06, 0x01}));
  CommitFrequencyText(8, kTx, "465", false);
  EXPECT_EQ(CodeplugImage[layout::FrequencySegment(8)], 0);
}

TEST(FrequencyCommit, DeletesAnEmptiedFrequencyAndTakesTheChannelOffTheScanList) {
  StartOnBand(1);
  CommitFrequencyText(3, kRx, "460", false);
  CommitFrequencyText(3, kTx, "460", false);
  CodeplugImage[layout::ChannelOffset(3) + 8] = 0x9D;
  CodeplugImage[layout::ChannelOffset(3) + 9] = 0x82;
  CodeplugImage[222] = 3;  // channels 1 and 3 in the scan list
  CodeplugImage[220] = 1;
  CodeplugImage[244] = 0x05;
  CodeplugImage[245] = 0x80;  // and channel 16

  const CommitOutcome out = CommitFrequencyText(3, kRx, "", false);
  EXPECT_EQ(out.message, "");
  EXPECT_TRUE(out.deleted);
  EXPECT_EQ(out.cellText, "");
  EXPECT_EQ(FreqCellCleared, 1);
  EXPECT_EQ(CodeBytes(3, kRx), (std::vector<int>{0x00, 0x00, 0xFC}));
  EXPECT_EQ(CodeBytes(3, kTx), (std::vector<int>{0x80, 0x1F, 0x01})) << "the other side stays";
  EXPECT_EQ(StepFlag(3, kRx), 1) << "the step flag stays";
  EXPECT_EQ(CodeplugImage[layout::ChannelOffset(3) + 8], 0x9D);
  EXPECT_EQ(CodeplugImage[layout::ChannelOffset(3) + 9], 0x82);
  EXPECT_EQ(CodeplugImage[layout::FrequencySegment(3)], 0);

  RemoveChannelFromScanImage(3);
  EXPECT_EQ(CodeplugImage[222], 0);
  EXPECT_EQ(CodeplugImage[220], 1);
  EXPECT_EQ(CodeplugImage[244], 0x01);
  EXPECT_EQ(CodeplugImage[245], 0x80);

  // A bit that is clear already stays clear: no other channel's bit moves.
  RemoveChannelFromScanImage(3);
  EXPECT_EQ(CodeplugImage[244], 0x01);
  EXPECT_EQ(CodeplugImage[245], 0x80);
  RemoveChannelFromScanImage(12);
  EXPECT_EQ(CodeplugImage[244], 0x01);
  EXPECT_EQ(CodeplugImage[245], 0x80);
  RemoveChannelFromScanImage(16);
  EXPECT_EQ(CodeplugImage[245], 0x00);
  EXPECT_EQ(CodeplugImage[235], 0);

  // FreqCellCleared outlives refusals and is cleared by the next store, in any channel.
  CommitFrequencyText(5, kRx, "450.001", false);
  EXPECT_EQ(FreqCellCleared, 1);
  CommitFrequencyText(9, kTx, "455", false);
  EXPECT_EQ(FreqCellCleared, 0);
}

TEST(FrequencyCommit, ProtectsThePriorityChannelFromDeletion) {
  StartOnBand(1);
  CommitFrequencyText(4, kRx, "460", false);

  CommitOutcome out = CommitFrequencyText(4, kRx, "", true);
  EXPECT_EQ(out.message, "Not Allowed To Delete Priority Channel Frequency  ");
  EXPECT_FALSE(out.deleted);
  EXPECT_FALSE(out.stored);
  EXPECT_FALSE(out.hideEditor);
  EXPECT_EQ(out.cellText, "460.00000");
  EXPECT_EQ(CodeBytes(4, kRx), (std::vector<int>{0x50, 0x03, 0x01}));
  EXPECT_EQ(FreqCellCleared, 0);

  // After a priority-scan warning the refusal is silent.
  PrioScanErrorShown = true;
  out = CommitFrequencyText(4, kRx, "", true);
  EXPECT_EQ(out.message, "");
  EXPECT_EQ(out.cellText, "460.00000");

  // Text that is no number is only "Invalid Frequency", on the priority channel too.
  out = CommitFrequencyText(4, kRx, "abc", true);
  EXPECT_EQ(out.message, "Invalid Frequency");
  EXPECT_EQ(CodeBytes(4, kRx), (std::vector<int>{0x50, 0x03, 0x01}));
}

TEST(FrequencyCommit, DecodesWhatTheImageHoldsForDisplay) {
  StartOnBand(3);
  EXPECT_EQ(StoredFrequencyText(1, kRx), "");
  // 5 kHz steps: 38324 x 5000 - 45.1 MHz = 146.52 MHz on VHF.
  CodeplugImage[16] = 180;
  CodeplugImage[17] = 149;
  CodeplugImage[18] = 0;
  EXPECT_EQ(StoredFrequencyText(1, kRx), "146.52000");
  // Any top byte with the bits of 0xFC set means no frequency.
  CodeplugImage[21] = 0xFF;
  EXPECT_EQ(StoredFrequencyText(1, kTx), "");
  EXPECT_FALSE(StoredFrequencyMHz(1, kTx));
}
