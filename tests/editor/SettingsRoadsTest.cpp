// The fill chain's roads into the settings panes: what a loaded or read codeplug shows and what
// the handlers store back on the way; and the keyboard's roads out of them into the image.
#include "SettingsFixture.h"

namespace {

using SettingsRoads = SettingsTest;

TEST_F(SettingsRoads, EightChannelRadioLooksAtItsOwnChannelsOnly) {
  CodeplugImage[layout::kRegionCode] = 4;
  SetScanList({1, 3, 12});
  CodeplugImage[layout::kPrioScanChannel] = 12;
  Load();
  EXPECT_EQ(Entries(*f().LstScan), (QStringList{"001", "003"}));
  EXPECT_EQ(Entries(*f().LstChannel), (QStringList{"002", "004", "005", "006", "007", "008"}));
  EXPECT_EQ(f().udPrioScanChNo->Max(), 8);
  EXPECT_EQ(f().txtPrioScanChNo->Text(), "1");
  EXPECT_EQ(Byte(layout::kPrioScanChannel), 1);
  EXPECT_EQ(Byte(231), 12);  // beyond the radio's channels: left as it was

  CodeplugImage[layout::kPrioScanChannel] = 0;
  Load();
  EXPECT_EQ(Byte(layout::kPrioScanChannel), 1);
}

TEST_F(SettingsRoads, RadioReadShowsBothBitmapBytesAndWritesOptionsBack) {
  SetScanList({3, 12});
  CodeplugImage[layout::kOptionBits] = 0x44;  // battery save shown from 0x40 alone
  CodeplugImage[layout::kFixedPowerCode] = 0x05;
  SetBytes(layout::kButton1Short, {9, 12, 6, 1});  // 1: no long press without "Hi/Low Power"
  ASSERT_EQ(FillRadioReadChain(), LoadOutcome::Editable);
  CodeplugLoading = false;
  EXPECT_EQ(Entries(*f().LstScan), (QStringList{"003", "012"}));
  EXPECT_EQ(Byte(244), 0x04);
  EXPECT_EQ(Byte(245), 0x08);
  EXPECT_EQ(Byte(layout::kOptionBits), 0x64);
  EXPECT_EQ(f().cmbButton_S1->Text(), "Battery Save Mode");
  EXPECT_EQ(f().cmbButton_L1->Text(), "Button Lock");
  EXPECT_EQ(f().cmbButton_S2->Text(), "Repeater/Talkaround");
  EXPECT_EQ(f().cmbButton_L2->ListIndex(), -1);
  EXPECT_EQ(ShortPressIndex2, 5);
  EXPECT_EQ(Byte(layout::kButton2Long), 1);
}

TEST_F(SettingsRoads, TimerByteOutOfRangeFallsBackToTheDefaults) {
  SetBytes(layout::kTotTime, {30, 20, 66, 8, 7});  // 66 x 500 ms does not fit
  CodeplugLoading = true;
  RefillShortPressLists();
  FillLoadedImageChain();
  EXPECT_EQ(Messages(), QStringList{"Time Option value is Invalid"});
  EXPECT_TRUE(CodeplugImage.AllEqual(6, 6, 18) && CodeplugImage.AllEqual(7, 7, 10) &&
              CodeplugImage.AllEqual(8, 8, 8) && CodeplugImage.AllEqual(9, 9, 16) &&
              CodeplugImage.AllEqual(10, 10, 5));
  EXPECT_EQ(f().txtTotTime->Text(), "180");
  EXPECT_EQ(f().txtScanDelayTime->Text(), "4000");
  EXPECT_EQ(f().txtTotPenaltyTime->Text(), "5");
}

TEST_F(SettingsRoads, FileDefaultSetsTheButtonsThroughTheLists) {
  CodeplugImage[layout::kFixedPowerCode] = 0x05;
  SetBytes(layout::kButton1Short, {10, 12, 10, 12});
  Load();
  FillDefaultChain();
  EXPECT_EQ(Byte(layout::kButton1Short), 3);
  EXPECT_EQ(Byte(layout::kButton1Long), 4);
  EXPECT_EQ(Byte(layout::kButton2Short), 5);
  EXPECT_EQ(Byte(layout::kButton2Long), 11);
}

// Whatever key changes the codeplug marks it as changed, so that the save question is asked
// before the change could be lost.
TEST_F(SettingsRoads, EveryKeyThatChangesTheCodeplugMarksIt) {
  CodeplugImage[layout::kOptionBits] = layout::kOptTot | layout::kOptPrioScan;
  Load();
  const std::pair<QWidget*, Qt::Key> roads[] = {
      {f().udTotTime, Qt::Key_Up},         {f().udPrioScanChNo, Qt::Key_Up},
      {f().txtScanSpeedTime, Qt::Key_Up},  {f().chkQuickKey, Qt::Key_Space},
      {f().chkTotEnable, Qt::Key_Space},   {f().chkPowerSaveEnable, Qt::Key_Space},
      {f().chkTalkbakScan, Qt::Key_Space}, {f().chkPrioScanEnable, Qt::Key_Space},
      {f().chkScanEnable, Qt::Key_Space},  {f().cmbButton_L1, Qt::Key_Down},
      {f().cmbButton_S1, Qt::Key_Down},    {f().cmbButton_L2, Qt::Key_Down},
      {f().cmbButton_S2, Qt::Key_Down},    {f().CmdAdd, Qt::Key_Space},
      {f().CmdRemove, Qt::Key_Space},      {f().txtTKS_RxFrequency[0], Qt::Key_Return}};
  f().txtTKS_RxFrequency[0]->SetText("100");
  for (const auto& [control, key] : roads) {
    const auto before = CodeplugImage.Bytes();
    DataModified = false;
    Key(control, key);
    ASSERT_TRUE(CodeplugImage.Bytes() != before) << control->objectName().toStdString();
    EXPECT_TRUE(DataModified) << control->objectName().toStdString();
  }
}

}  // namespace
