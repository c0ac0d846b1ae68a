// The numeric fields: key and spin steps at both ends of every range, the bytes they store, the
// walk back while a user tone box is empty, and the priority channel's checks.
#include "SettingsFixture.h"

namespace {

// One field's range worked out by hand: shown value and stored byte at each end and one step in.
struct Range {
  cps::TextBox* FrmMain::*box;
  int byte;
  int low, lowByte, aboveLow, aboveLowByte;
  int high, highByte, belowHigh, belowHighByte;
};

const Range kRanges[] = {
    {&FrmMain::txtTotTime, 6, 10, 1, 20, 2, 600, 60, 590, 59},
    {&FrmMain::txtTotPenaltyTime, 10, 1, 1, 2, 2, 10, 10, 9, 9},
    {&FrmMain::txtScanSpeedTime, 7, 50, 5, 60, 6, 500, 50, 490, 49},
    {&FrmMain::txtScanDelayTime, 8, 500, 1, 1000, 2, 9500, 19, 9000, 18},
    {&FrmMain::txtLookBackTime, 9, 750, 3, 1000, 4, 5000, 20, 4750, 19},
};

class TimerFields : public SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    CodeplugImage[layout::kOptionBits] = layout::kOptTot | layout::kOptPrioScan;
  }
};

TEST_F(TimerFields, KeysStepWithinEveryRangeAndStopAtItsEnds) {
  for (const Range& r : kRanges) CodeplugImage[r.byte] = static_cast<uint8_t>(r.highByte);
  Load();
  for (const Range& r : kRanges) {
    cps::TextBox* box = f().*r.box;
    ASSERT_EQ(box->Text(), cps::DecimalText(r.high));
    box->SetSelStart(0);
    Key(box, Qt::Key_Up);
    QApplication::processEvents();  // the caret move queued behind the handler
    EXPECT_EQ(box->SelStart(), box->Text().size());
    EXPECT_EQ(Byte(r.byte), r.highByte);
    EXPECT_FALSE(DataModified);  // nothing changed
    Key(box, Qt::Key_Down);
    EXPECT_EQ(box->Text(), cps::DecimalText(r.belowHigh));
    EXPECT_EQ(Byte(r.byte), r.belowHighByte);
    EXPECT_TRUE(DataModified);  // a key step is a change of the codeplug
    DataModified = false;
  }

  for (const Range& r : kRanges) CodeplugImage[r.byte] = static_cast<uint8_t>(r.lowByte);
  Load();
  for (const Range& r : kRanges) {
    Key(f().*r.box, Qt::Key_Down);
    EXPECT_EQ(Byte(r.byte), r.lowByte);
    Key(f().*r.box, Qt::Key_Up);
    EXPECT_EQ((f().*r.box)->Text(), cps::DecimalText(r.aboveLow));
    EXPECT_EQ(Byte(r.byte), r.aboveLowByte);
  }

  // A stored scan interval of 500 ms (below the minimum) steps to 750 downwards too.
  CodeplugImage[layout::kLookBackTime] = 2;
  Load();
  EXPECT_EQ(f().udLookBackTime->Min(), 250);
  Key(f().txtLookBackTime, Qt::Key_Down);
  EXPECT_EQ(f().txtLookBackTime->Text(), "750");
  EXPECT_EQ(Byte(layout::kLookBackTime), 3);
}

TEST_F(TimerFields, SpinPressesMarkTheCodeplugAndAnEmptyToneBoxUndoesSteps) {
  Load();
  ClickArrow(f().udScanDelayTime, -1);
  EXPECT_EQ(f().txtScanDelayTime->Text(), "3500");
  EXPECT_EQ(Byte(layout::kScanDelayTime), 7);
  EXPECT_TRUE(DataModified);

  f().txtTKS_TxFrequency[1]->SetText("");
  DataModified = false;
  ClickArrow(f().udTotTime, +1);
  EXPECT_TRUE(DataModified);  // the press alone
  EXPECT_EQ(f().txtTotTime->Text(), "180");
  EXPECT_EQ(Byte(layout::kTotTime), 18);
  Key(f().txtScanSpeedTime, Qt::Key_Up);
  EXPECT_EQ(f().txtScanSpeedTime->Text(), "100");
  EXPECT_EQ(Byte(layout::kScanSpeedTime), 10);
}

TEST_F(TimerFields, PriorityChannelStaysWithinTheCountAndWarnsOutsideTheScanList) {
  CodeplugImage[layout::kRegionCode] = 9;
  CodeplugImage[layout::kPrioScanChannel] = 8;
  SetScanList({7, 8});
  Load();
  Key(f().txtPrioScanChNo, Qt::Key_Up);  // 9 is beyond the eight channels
  EXPECT_EQ(f().txtPrioScanChNo->Text(), "8");
  EXPECT_EQ(Byte(layout::kPrioScanChannel), 8);
  Key(f().txtPrioScanChNo, Qt::Key_Down);
  EXPECT_TRUE(Messages().isEmpty());
  EXPECT_EQ(Byte(layout::kPrioScanChannel), 7);

  Key(f().txtPrioScanChNo, Qt::Key_Down);  // channel 6 is outside the scan list
  EXPECT_EQ(Messages(), QStringList{QString(23, ' ') + "Error!  \r\n\r\nPrio. Scan Ch. No. not in "
                                                       "active scan list   "});
  EXPECT_EQ(f().udPrioScanChNo->Value(), 6);
  EXPECT_EQ(Byte(layout::kPrioScanChannel), 6);
  EXPECT_TRUE(PrioScanErrorShown);

  cps::DialogScript::Reset();
  CodeplugLoading = true;  // a load compares nothing
  Key(f().txtPrioScanChNo, Qt::Key_Down);
  EXPECT_TRUE(Messages().isEmpty());
  EXPECT_EQ(Byte(layout::kPrioScanChannel), 5);
}

}  // namespace
