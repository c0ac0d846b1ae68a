// Add and Remove move a channel between the two lists and keep its slot (bytes 220..235) and its
// bit (bytes 244/245) together.
#include "SettingsFixture.h"

namespace {

class ScanList : public SettingsTest {
 protected:
  static void Add(const QString& entry) {
    ClickEntry(f().LstChannel, entry);
    Click(f().CmdAdd);
  }
  static void Remove(const QString& entry) {
    ClickEntry(f().LstScan, entry);
    Click(f().CmdRemove);
  }
};

TEST_F(ScanList, AddAndRemoveKeepSlotAndBitTogetherOnBothBitmapBytes) {
  SetScanList({1, 9});
  CodeplugImage[244] = 0x05;  // channel 3's bit set without its slot
  CodeplugImage[245] = 0x80;  // channel 9's bit clear; channel 16's set without its slot
  Load();
  PrioScanErrorShown = true;

  Add("003");
  EXPECT_EQ(Byte(222), 3);
  EXPECT_EQ(Entries(*f().LstScan), (QStringList{"001", "003", "009"}));
  EXPECT_FALSE(PrioScanErrorShown);
  EXPECT_TRUE(DataModified);
  EXPECT_EQ(f().LstChannel->Text(), "002");  // the first free channel
  EXPECT_EQ(f().LstScan->Text(), "009");     // the last scan-list channel
  Add("012");
  EXPECT_EQ(Byte(231), 12);
  EXPECT_EQ(Byte(244), 0x05);
  EXPECT_EQ(Byte(245), 0x88);

  Remove("009");
  EXPECT_EQ(Byte(228), 0);
  EXPECT_EQ(Byte(245), 0x88);
  Remove("001");
  EXPECT_EQ(Byte(220), 0);
  EXPECT_EQ(Byte(244), 0x04);
  EXPECT_EQ(Entries(*f().LstScan), (QStringList{"003", "012"}));
  EXPECT_EQ(f().LstScan->Text(), "012");
  EXPECT_TRUE(Entries(*f().LstChannel).contains("001"));

  // A press into one list leaves a selection in that list only.
  ClickEntry(f().LstChannel, "004");
  EXPECT_EQ(f().LstScan->ListIndex(), -1);
}

TEST_F(ScanList, RefusesAnEmptyChannelAndThePriorityChannel) {
  SetChannel(4, /*withTx=*/false);
  SetScanList({1, 5, 9});
  CodeplugImage[layout::kOptionBits] = layout::kOptPrioScan;
  CodeplugImage[layout::kPrioScanChannel] = 5;
  Load();
  Add("004");
  EXPECT_EQ(Messages(), QStringList{"Empty Channel  "});
  EXPECT_TRUE(Entries(*f().LstChannel).contains("004"));
  EXPECT_EQ(Byte(223), 0);
  EXPECT_EQ(Byte(244), 0x11);
  EXPECT_TRUE(DataModified);

  cps::DialogScript::Reset();
  Remove("005");
  EXPECT_EQ(Messages(), QStringList{"Not Allowed To Remove Priority Channel  "});
  EXPECT_EQ(Entries(*f().LstScan), (QStringList{"001", "005", "009"}));
  EXPECT_EQ(Byte(224), 5);
  EXPECT_EQ(Byte(244), 0x11);
  EXPECT_EQ(f().LstScan->Text(), "001");  // the entry above the priority channel's

  // With priority scan off it leaves like any other channel.
  Click(f().chkPrioScanEnable);
  Remove("005");
  EXPECT_EQ(Byte(224), 0);
  EXPECT_EQ(Byte(244), 0x01);
}

TEST_F(ScanList, ButtonsFollowTheListsOnAnEightChannelRadio) {
  CodeplugImage[layout::kRegionCode] = 4;
  SetScanList({1, 2, 3, 4, 5, 6, 7});
  Load();
  ASSERT_EQ(Entries(*f().LstChannel), QStringList{"008"});
  f().LstChannel->SetListIndex(-1);
  Click(f().CmdAdd);  // nothing selected: nothing moves
  EXPECT_EQ(Byte(244), 0x7F);
  EXPECT_EQ(f().LstChannel->Text(), "008");

  Click(f().CmdAdd);
  EXPECT_EQ(Byte(227), 8);
  EXPECT_EQ(Byte(244), 0xFF);
  EXPECT_FALSE(On(f().CmdAdd));
  for (int left = 8; left > 0; --left) Click(f().CmdRemove);  // always the last entry
  EXPECT_FALSE(On(f().CmdRemove));
  EXPECT_TRUE(On(f().CmdAdd));
  EXPECT_EQ(Byte(244), 0x00);
  EXPECT_TRUE(CodeplugImage.AllEqual(220, 235, 0));
}

}  // namespace
