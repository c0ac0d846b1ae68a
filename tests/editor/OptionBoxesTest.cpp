// The option check boxes: their bits of byte 5, the controls of each option, the two scan modes
// and the priority channel's warning.
#include "EditorFixture.h"
#include "SettingsFixture.h"
#include "platform/Label.h"

namespace {

const QString kWarningEnd = "Error!  \r\n\r\nPrio. Scan Ch. No. not in active scan list   ";

class OptionBoxes : public SettingsTest {
 protected:
  static bool AllOn(const std::vector<QWidget*>& controls, bool on) {
    return std::all_of(controls.begin(), controls.end(), [on](QWidget* c) { return On(c) == on; });
  }
};

TEST_F(OptionBoxes, BoxesWriteTheirBitsByMouseAndByEnter) {
  CodeplugImage[layout::kOptionBits] = 0x24;  // half a battery save: shown unchecked
  Load();
  Click(f().chkPowerSaveEnable);
  EXPECT_EQ(Byte(layout::kOptionBits), 0x64);
  EXPECT_TRUE(DataModified);
  DataModified = false;
  Key(f().chkPowerSaveEnable, Qt::Key_Return);
  EXPECT_EQ(Byte(layout::kOptionBits), 0x04);  // both bits go
  EXPECT_TRUE(DataModified);

  Click(f().chkQuickKey);
  Key(f().chkTalkbakScan, Qt::Key_Return);
  EXPECT_EQ(Byte(layout::kOptionBits), 0x85);
  Click(f().chkTotEnable);
  EXPECT_EQ(Byte(layout::kOptionBits), 0x81);
  EXPECT_FALSE(On(f().txtTotTime) || On(f().udTotPenaltyTime) || On(f().lblTotTime));
  Key(f().chkTotEnable, Qt::Key_Return);
  EXPECT_TRUE(On(f().txtTotTime) && On(f().udTotPenaltyTime) && On(f().lblTotTime));

  // Other keys leave a box alone; a press that changes nothing still marks the codeplug.
  f().chkQuickKey->SetValue(cps::kGrayed);
  DataModified = false;
  Key(f().chkQuickKey, Qt::Key_A);
  EXPECT_FALSE(DataModified);
  QTest::mouseClick(f().chkQuickKey, Qt::RightButton, Qt::NoModifier, QPoint(6, 6));
  EXPECT_EQ(f().chkQuickKey->Value(), cps::kGrayed);
  EXPECT_TRUE(DataModified);
  Key(f().chkQuickKey, Qt::Key_Return);  // greyed becomes checked
  EXPECT_EQ(f().chkQuickKey->Value(), cps::kChecked);
  EXPECT_EQ(Byte(layout::kOptionBits), 0x85);
}

TEST_F(OptionBoxes, ScanModesExcludeEachOtherAndBothKeepSpeedAndHang) {
  Load();
  Click(f().chkScanEnable);
  EXPECT_EQ(Byte(layout::kOptionBits), 0x0C);
  EXPECT_TRUE(AllOn(SpeedAndHang(f()), true));
  EXPECT_FALSE(On(f().chkPrioScanEnable) || On(f().udPrioScanChNo) || On(f().udLookBackTime));

  // Priority scan switched on by code while normal scan is on takes over from it.
  f().chkPrioScanEnable->SetValue(cps::kChecked);
  EXPECT_EQ(Byte(layout::kOptionBits), 0x06);
  EXPECT_EQ(f().chkScanEnable->Value(), cps::kUnchecked);
  EXPECT_FALSE(On(f().chkScanEnable));
  EXPECT_TRUE(AllOn(SpeedAndHang(f()), true));
  EXPECT_TRUE(AllOn(PriorityAndInterval(f()), true));
  EXPECT_TRUE(Messages().isEmpty());  // channel 1 is in the scan list
  EXPECT_EQ(Byte(layout::kPrioScanChannel), 1);

  Click(f().chkPrioScanEnable);
  EXPECT_EQ(Byte(layout::kOptionBits), 0x04);
  EXPECT_TRUE(AllOn(SpeedAndHang(f()), false));
  EXPECT_TRUE(AllOn(PriorityAndInterval(f()), false));
  Click(f().chkScanEnable);
  EXPECT_TRUE(AllOn(SpeedAndHang(f()), true));
  EXPECT_TRUE(AllOn(PriorityAndInterval(f()), false));
}

TEST_F(OptionBoxes, PriorityScanWarnsOnceForAChannelOutsideTheScanList) {
  SetChannel(5, /*withTx=*/false);
  CodeplugImage[layout::kPrioScanChannel] = 5;
  Load();
  CodeplugImage[layout::kPrioScanChannel] = 7;  // shows whether the box's 5 is stored

  Click(f().chkPrioScanEnable);
  EXPECT_EQ(Messages(), QStringList{QString(25, ' ') + kWarningEnd});
  EXPECT_EQ(cps::DialogScript::Messages()[0].title, "Corvana CPS");
  EXPECT_TRUE(PrioScanErrorShown);
  EXPECT_EQ(Byte(layout::kOptionBits), 0x06);  // the warning does not undo the change
  EXPECT_EQ(Byte(layout::kPrioScanChannel), 7);

  // Channel 6 has both frequencies: the priority box reports it in its own words, once.
  Click(f().chkPrioScanEnable);
  f().txtPrioScanChNo->SetText("6");
  cps::DialogScript::Reset();
  Click(f().chkPrioScanEnable);
  EXPECT_EQ(Messages(), QStringList{QString(23, ' ') + kWarningEnd});
  EXPECT_EQ(Byte(layout::kPrioScanChannel), 6);
}

}  // namespace
