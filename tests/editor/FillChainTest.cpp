// The display routines of the radio-wide settings and the roads into the editor.
#include <QObject>

#include "EditorFixture.h"
#include "editor/FillChain.h"
#include "model/ChannelRowTexts.h"
#include "model/Defaults.h"
#include "platform/CheckBox.h"
#include "platform/ComboBox.h"
#include "platform/CommandButton.h"
#include "platform/FlexGrid.h"
#include "platform/Label.h"
#include "platform/ListBox.h"
#include "platform/TabControl.h"
#include "platform/TextBox.h"
#include "platform/UpDown.h"

namespace {

using namespace gridcol;
using Five = std::array<int, 5>;

QStringList Entries(const cps::ListBox& list) {
  QStringList entries;
  for (int i = 0; i < list.ListCount(); ++i) entries << list.List(i);
  return entries;
}

class FillChainTest : public EditorFixture {
 protected:
  Five TimerSpins() {
    return {f().udScanSpeedTime->Value(), f().udScanDelayTime->Value(), f().udLookBackTime->Value(),
            f().udTotTime->Value(), f().udTotPenaltyTime->Value()};
  }
  static void SetTimerBytes(Five bytes6to10) {
    for (int i = 0; i < 5; ++i) CodeplugImage[6 + i] = static_cast<uint8_t>(bytes6to10[i]);
  }

  // A 16-channel UHF codeplug: channel 1 on 464.025 MHz both ways with tone 103.5 Hz,
  // channel 2 receiving 450.0125 MHz on carrier squelch, channels 1 and 12 scanned.
  static void LoadGoodImage() {
    ClearAllChannels();
    CodeplugImage[layout::kBandCode] = 1;
    CodeplugImage[layout::kRegionCode] = 6;
    CodeplugImage[layout::kOptionBits] = 0x04;
    SetTimerBytes({18, 10, 8, 16, 3});
    CodeplugImage[layout::kPrioScanChannel] = 1;
    SetRecord(1, {212, 5, 1, 4, 34, 1, 14, 14, 0x8D, 0x80});
    SetRecord(2, {18, 253, 0, 0, 0, 0xFC, 0, 0, 0x81, 0x80});
    CodeplugImage.Fill(layout::RxStepFlag(1), layout::RxStepFlag(2), 1);
    CodeplugImage[layout::TxStepFlag(1)] = 1;
    CodeplugImage[layout::ScanListSlot(1)] = 1;
    CodeplugImage[layout::ScanListSlot(12)] = 12;
    CodeplugImage.SetWord(layout::UserToneRx(0), 1200);
    CodeplugImage[layout::kButton1Short] = 3;
    CodeplugImage[layout::kButton2Short] = 5;
  }

  // File>Open around the chain.
  LoadOutcome OpenLoadedImage() {
    CodeplugLoading = true;
    RefillShortPressLists();
    const LoadOutcome outcome = FillLoadedImageChain();
    CodeplugLoading = false;
    return outcome;
  }

  // Sets byte 2 beyond the grid once the chain fills its last timer box, right before its grid
  // fill: the grid then cannot show the channels.
  void BreakChannelCountBeforeTheGridFill() {
    QObject::connect(f().txtTotPenaltyTime, &cps::TextBox::Change,
                     [] { CodeplugImage[layout::kChannelCount] = 17; });
  }
};

TEST_F(FillChainTest, FrequencyRangeLabelFollowsTheBandAndRegion18) {
  const std::pair<int, const char*> bands[] = {
      {0, "403.00000 ~ 425.00000 MHz"}, {1, "450.00000 ~ 470.00000 MHz"},
      {2, "136.00000 ~ 150.00000 MHz"}, {0x23, "150.00000 ~ 174.00000 MHz"},
      {4, "490.00000 ~ 512.00000 MHz"}, {15, ""}};
  for (auto [band, text] : bands) {
    CodeplugImage[layout::kBandCode] = static_cast<uint8_t>(band);
    ShowFrequencyRange();
    EXPECT_EQ(f().lblfrequency_range->Caption(), text) << band;
  }
  CodeplugImage[layout::kRegionCode] = 18;
  CodeplugImage[layout::kBandCode] = 3;
  f().udPrioScanChNo->SetValue(7);
  ShowFrequencyRange();
  EXPECT_EQ(f().lblfrequency_range->Caption(), "148.00000 ~ 174.00000 MHz");
  EXPECT_EQ(f().txtPrioScanChNo->Text(), "7");
}

TEST_F(FillChainTest, ScanListReadsTheSlotsOfTheRadiosChannelsOnly) {
  for (int n : {1, 3, 12, 16}) CodeplugImage[layout::ScanListSlot(n)] = static_cast<uint8_t>(n);
  CodeplugImage[layout::kScanListBitmap] = 0x05;
  CodeplugImage[layout::kScanListBitmap + 1] = 0x88;
  FillChannelLists();
  ShowScanList();
  EXPECT_EQ(Entries(*f().LstScan), QStringList({"001", "003", "012", "016"}));
  EXPECT_EQ(f().LstChannel->ListCount(), 12);
  EXPECT_EQ(f().LstChannel->List(7), "010");
  EXPECT_EQ(ScanBitmapHigh, 0x88);

  CodeplugImage[layout::kRegionCode] = 9;  // eight channels: slots 228..235 are not looked at
  FillChannelLists();
  ShowScanList();
  EXPECT_EQ(Entries(*f().LstScan), QStringList({"001", "003"}));
  EXPECT_EQ(Entries(*f().LstChannel), QStringList({"002", "004", "005", "006", "007", "008"}));
}

TEST_F(FillChainTest, AnUnshowableTimerByteReportsAndShowsTheDefaults) {
  SetTimerBytes({30, 25, 3, 6, 7});
  ShowTimerValues();
  EXPECT_EQ(TimerSpins(), (Five{250, 1500, 1500, 300, 7}));

  SetTimerBytes({30, 20, 66, 6, 7});  // 66 x 500 = 33000 does not fit 16 bits
  ShowTimerValues();
  EXPECT_EQ(Messages(), QStringList({"Time Option value is Invalid"}));
  EXPECT_EQ(cps::DialogScript::Messages().front().title, "Corvana CPS");
  const std::array<int, 8> defaults = {18, 10, 8, 16, 5, 60, 20, 10};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(CodeplugImage[6 + i], defaults[i]) << 6 + i;
  EXPECT_EQ(TimerSpins(), (Five{100, 4000, 4000, 180, 5}));
  SyncTimerTextBoxes();
  EXPECT_EQ(f().txtScanSpeedTime->Text(), "100");
  EXPECT_EQ(f().txtTotTime->Text(), "180");
  EXPECT_EQ(CodeplugImage[layout::kScanSpeedTime], 10);  // the boxes agree with the image

  // Beyond a spin control's range counts the same; so does a scan interval of 0.
  SetTimerBytes({30, 25, 3, 6, 11});
  ShowTimerValues();
  SetTimerBytes({30, 25, 3, 0, 5});
  ShowTimerValues();
  EXPECT_EQ(Messages().size(), 3);
}

TEST_F(FillChainTest, AShortScanIntervalLowersTheSpinMinimumUntilALongerOneComes) {
  SetTimerBytes({18, 10, 8, 1, 5});
  ShowTimerValues();
  EXPECT_EQ(f().udLookBackTime->Value(), 250);
  SetTimerBytes({18, 10, 8, 4, 5});
  ShowTimerValues();
  EXPECT_EQ(f().udLookBackTime->Value(), 1000);
  EXPECT_EQ(f().udLookBackTime->Min(), 750);
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(FillChainTest, ButtonAssignmentsSelectStoredCodesAndSkipThoseWithoutAnEntry) {
  CodeplugImage[layout::kFixedPowerCode] = 0x20;  // the lists lack "Hi/Low Power"
  RefillShortPressLists();
  ASSERT_EQ(f().cmbButton_S1->List(0), "Volume Set");
  CodeplugImage[layout::kButton1Short] = 1;
  CodeplugImage[layout::kButton2Short] = 5;
  ShowButtonAssignments();
  EXPECT_EQ(f().cmbButton_S1->ListIndex(), -1);
  EXPECT_EQ(f().cmbButton_S2->Text(), "Scan");
  EXPECT_EQ(f().sstMain->Tab(), 1);

  CodeplugImage[layout::kFixedPowerCode] = 0;
  RefillShortPressLists();
  CodeplugImage[layout::kButton1Short] = 12;  // a long-press code: beyond the list
  ShowButtonAssignments();
  EXPECT_EQ(f().cmbButton_S1->ListIndex(), -1);
  EXPECT_EQ(f().cmbButton_S2->Text(), "Scan");
}

TEST_F(FillChainTest, ChannelCountSetsTheGridRowsAndThePriorityChannel) {
  LoadGoodImage();
  CodeplugImage[layout::kRegionCode] = 4;
  CodeplugImage[layout::kPrioScanChannel] = 12;
  ASSERT_EQ(OpenLoadedImage(), LoadOutcome::Editable);
  cps::FlexGrid& grid = *f().fgChannel;
  EXPECT_EQ(grid.Rows(), 9);
  EXPECT_EQ(grid.TextMatrix(8, 0), "8");
  EXPECT_NEAR(grid.Height(), 5400 - 8 * 315, 8);  // to within a pixel
  EXPECT_EQ(f().udPrioScanChNo->Max(), 8);
  EXPECT_EQ(f().udPrioScanChNo->Value(), 1);
  EXPECT_EQ(f().txtPrioScanChNo->Text(), "1");
  EXPECT_EQ(CodeplugImage[layout::kPrioScanChannel], 1);
  EXPECT_EQ(grid.TextMatrix(1, kRxFreq), "464.02500");  // the load went on

  CodeplugImage[layout::kRegionCode] = 6;
  CodeplugImage[layout::kPrioScanChannel] = 0;
  OpenLoadedImage();
  EXPECT_EQ(grid.Rows(), 17);
  EXPECT_EQ(grid.TextMatrix(16, 0), "16");
  EXPECT_EQ(grid.RowHeight(16), 315);
  EXPECT_EQ(CodeplugImage[layout::kPrioScanChannel], 1);
}

TEST_F(FillChainTest, LoadShowsTheImageEditableOrLockedByItsPassword) {
  LoadGoodImage();
  ASSERT_EQ(OpenLoadedImage(), LoadOutcome::Editable);
  cps::FlexGrid& grid = *f().fgChannel;
  EXPECT_EQ(grid.TextMatrix(1, kTxOption), " TKS: 103.5 Hz");
  EXPECT_EQ(grid.TextMatrix(2, kRxFreq), "450.01250");
  EXPECT_EQ(grid.CellForeColorAt(2, kMute), cps::kColourGrayText);
  EXPECT_TRUE(On(&grid));
  EXPECT_TRUE(On(f().txtPassword));
  EXPECT_EQ(f().cmbButton_S1->Text(), "Monitor");
  EXPECT_EQ(Entries(*f().LstScan), QStringList({"001", "012"}));
  EXPECT_EQ(f().LstScan->ListIndex(), 0);
  EXPECT_TRUE(On(f().CmdRemove));
  EXPECT_EQ(f().txtTotPenaltyTime->Text(), "3");
  EXPECT_TRUE(Messages().isEmpty());

  CodeplugImage[370] = 'a';
  CodeplugImage[layout::kPasswordLength] = 1;
  CodeplugImage[layout::kPasswordLength2] = 0;
  ASSERT_EQ(OpenLoadedImage(), LoadOutcome::PasswordRequired);
  EXPECT_EQ(CodeplugImage[layout::kPasswordLength2], 1);
  EXPECT_EQ(grid.TextMatrix(1, kRxFreq), "464.02500");  // shown, greyed
  EXPECT_EQ(grid.CellForeColorAt(1, kMute), cps::kColourGrayText);
  EXPECT_FALSE(On(&grid));
  EXPECT_FALSE(On(f().txtPassword));
  EXPECT_FALSE(On(f().chkTotEnable));

  CodeplugLocked = true;
  FillPasswordAcceptedChain();
  EXPECT_FALSE(CodeplugLocked);
  EXPECT_TRUE(On(&grid));
  EXPECT_EQ(grid.CellForeColorAt(1, kMute), cps::kColourButtonText);
}

TEST_F(FillChainTest, ChannelDataTheGridCannotShowIsReportedAndEmptiedBeforeColouring) {
  LoadGoodImage();
  BreakChannelCountBeforeTheGridFill();
  ASSERT_EQ(OpenLoadedImage(), LoadOutcome::Editable);
  EXPECT_EQ(Messages(), QStringList({"Channel data is not valid..."}));
  for (int n = 1; n <= 16; ++n) EXPECT_EQ(CodeplugImage[layout::ChannelOffset(n)], 0) << n;
  EXPECT_EQ(f().fgChannel->TextMatrix(2, kRxFreq), "");
  // Channel 2 received without transmitting; emptied, its talkaround is grey, so the colouring
  // saw the repaired rows.
  EXPECT_EQ(f().fgChannel->CellForeColorAt(2, kTalkaround), cps::kColourGrayText);

  // The same on the locked side: the message comes before the grid is greyed.
  LoadGoodImage();
  CodeplugImage[370] = 'a';
  CodeplugImage[layout::kTotPenaltyTime] = 4;  // so that the box changes again
  cps::DialogScript::Reset();
  ASSERT_EQ(OpenLoadedImage(), LoadOutcome::PasswordRequired);
  EXPECT_EQ(Messages(), QStringList({"Channel data is not valid..."}));
  EXPECT_EQ(CodeplugImage[layout::ChannelOffset(1)], 0);
  EXPECT_FALSE(On(f().fgChannel));
}

TEST_F(FillChainTest, AFlagLeftFromEarlierDoesNotWipeTheNextGoodLoad) {
  LoadGoodImage();
  ChannelDataInvalid = true;  // say a colouring failed after an edit
  OpenLoadedImage();
  EXPECT_TRUE(Messages().isEmpty());
  EXPECT_EQ(CodeplugImage[layout::ChannelOffset(1)], 212);
  EXPECT_EQ(f().fgChannel->TextMatrix(1, kRxFreq), "464.02500");
}

}  // namespace
