// The channel grid as the fill and the two colourings leave it.
#include "channels/ChannelGridFill.h"
#include "editor/EditorFixture.h"
#include "editor/EditorLock.h"
#include "model/ChannelRowTexts.h"
#include "model/Defaults.h"
#include "platform/FlexGrid.h"

namespace {

using namespace gridcol;
constexpr uint32_t kGrey = cps::kColourGrayText;
constexpr uint32_t kNormal = cps::kColourButtonText;

class ChannelGridTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    ClearAllChannels();
  }
  cps::FlexGrid& grid() { return *f().fgChannel; }
  uint32_t Colour(int row, int col) { return grid().CellForeColorAt(row, col); }
};

TEST_F(ChannelGridTest, FillWritesRowsUpToTheChannelCountAndFlagsRowsItCannotHold) {
  for (int row = 1; row <= 16; ++row) {
    for (int col = 1; col < kCount; ++col) grid().SetTextMatrix(row, col, "old");
  }
  CodeplugImage[layout::kBandCode] = 3;
  CodeplugImage[layout::kChannelCount] = 8;
  SetRecord(1, {180, 149, 0, 120, 114, 0, 14, 43, 0x8D, 0x80});
  SetRecord(2, {0, 0, 0xFC, 0, 0, 0xFC, 200, 0, 0x81, 0x80});
  ShowChannelGrid();

  const QStringList row1 = {"146.52000", " TKS: 103.5 Hz",
                            "Normal",    "1",
                            "146.52000", " DKS: 023",
                            "H",         "Off",
                            "Off",       "240",
                            "Off",       "25",
                            "Off"};
  for (int col = 1; col < kCount; ++col) EXPECT_EQ(grid().TextMatrix(1, col), row1[col - 1]);
  EXPECT_EQ(grid().TextMatrix(2, kRxOption), "");  // squelch 200 has no text, nor keeps one
  EXPECT_EQ(grid().TextMatrix(2, kTxOption), " CSQ");
  EXPECT_EQ(grid().TextMatrix(9, kRxOption), "old");  // beyond the count
  EXPECT_FALSE(ChannelDataInvalid);

  CodeplugImage[layout::kChannelCount] = 17;  // one row beyond the grid
  ShowChannelGrid();
  EXPECT_TRUE(ChannelDataInvalid);
  EXPECT_TRUE(grid().Redraw());
  EXPECT_EQ(grid().TextMatrix(16, kRxOption), " CSQ");  // written before the failure
}

TEST_F(ChannelGridTest, ActiveColouringGreysWhatDoesNotApplyToEachChannel) {
  CodeplugImage[layout::kChannelCount] = 5;
  SetRecord(1, {0, 0, 0xFC, 0, 0, 0xFC, 0, 43, 0x81, 0x80});   // CSQ / DKS 023
  SetRecord(2, {180, 149, 0, 120, 114, 0, 1, 1, 0x81, 0x80});  // both sides alike
  SetRecord(3, {0, 0, 0xFC, 0, 0, 0xFC, 5, 129, 0x81, 0x80});  // tone / TKS2
  SetRecord(4, {0, 0, 0xFC, 0, 0, 0xFC, 0, 0, 0x81, 0x80});    // CSQ both ways
  SetRecord(5, {0, 0, 0xFC, 0, 0, 0xFC, 0, 20, 0x81, 0x80});   // tone, later 200
  CodeplugImage[layout::kBandCode] = 3;
  CodeplugImage[layout::kFixedBandwidthCode] = 32;
  ShowChannelGrid();
  ColourChannelGridActive();

  // Per row: Mute, TOC, Rev Burst, TA.
  const std::array<std::array<uint32_t, 4>, 4> expected = {{{kGrey, kNormal, kGrey, kNormal},
                                                            {kNormal, kGrey, kNormal, kGrey},
                                                            {kNormal, kGrey, kNormal, kNormal},
                                                            {kGrey, kGrey, kGrey, kGrey}}};
  for (int row = 1; row <= 4; ++row) {
    const int cols[] = {kMute, kTurnOffCode, kRevBurst, kTalkaround};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Colour(row, cols[i]), expected[row - 1][i]) << row;
    EXPECT_EQ(Colour(row, kBand), kGrey);
    EXPECT_EQ(Colour(row, kPower), kNormal);
    EXPECT_EQ(Colour(row, kRxOption), 0u);  // no colour of its own
  }
  EXPECT_EQ(Colour(6, kMute), 0u);
  EXPECT_EQ(grid().Row(), 5);
  EXPECT_EQ(grid().Col(), kPower);

  // A transmit byte without meaning keeps its cells' colours; another transmit tone makes
  // talkaround meaningful; the older layout ignores the fixed bandwidth.
  CodeplugImage[layout::ChannelOffset(5) + layout::kRecTxSquelch] = 200;
  CodeplugImage[layout::ChannelOffset(2) + layout::kRecTxSquelch] = 2;
  LegacyLayout = true;
  ShowChannelGrid();
  ColourChannelGridActive();
  EXPECT_EQ(Colour(5, kTurnOffCode), kGrey);
  EXPECT_EQ(Colour(5, kRevBurst), kNormal);
  EXPECT_EQ(Colour(2, kTalkaround), kNormal);
  EXPECT_EQ(Colour(1, kBand), kNormal);
}

TEST_F(ChannelGridTest, LockedColouringGreysTheSixDependentColumnsOfEveryRow) {
  CodeplugImage[layout::kChannelCount] = 16;
  SetRecord(7, {0, 0, 0xFC, 0, 0, 0xFC, 14, 43, 0x81, 0x80});
  ShowChannelGrid();
  ColourChannelGridActive();
  ASSERT_EQ(Colour(7, kMute), kNormal);
  ColourChannelGridLocked();
  for (int row = 1; row <= 16; ++row) {
    for (int col : {kMute, kPower, kTurnOffCode, kRevBurst, kBand, kTalkaround}) {
      EXPECT_EQ(Colour(row, col), kGrey) << row << "," << col;
    }
  }
  EXPECT_EQ(grid().Row(), 16);
  EXPECT_EQ(grid().Col(), kBand);

  CodeplugImage[layout::kChannelCount] = 17;
  ColourChannelGridActive();
  EXPECT_TRUE(ChannelDataInvalid);
  EXPECT_TRUE(grid().Redraw());
}

}  // namespace
