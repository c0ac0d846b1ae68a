// The programmable-button lists and the codes they store in bytes 240..243.
#include "SettingsFixture.h"
#include "editor/ProgrammableButtons.h"

namespace {

const QStringList kShortPress = {
    "Hi/Low Power",        "Volume Set", "Monitor",    "Sticky Monitor",    "Scan",
    "Repeater/Talkaround", "KS/DKS",     "Unassigned", "Battery Save Mode", "Squelch"};

class ProgrammableButtons : public SettingsTest {
 protected:
  static std::vector<int> Codes() {
    return {Byte(layout::kButton1Short), Byte(layout::kButton1Long), Byte(layout::kButton2Short),
            Byte(layout::kButton2Long)};
  }
  const std::vector<int> kDefaults = {3, 4, 5, 11};
};

TEST_F(ProgrammableButtons, PowerNotFixedOffersHiLowPowerEverywhere) {
  Load();
  EXPECT_EQ(Entries(*f().cmbButton_S1), kShortPress);
  EXPECT_EQ(f().cmbButton_L2->Text(), "Nuisance Channel Delete");

  // "Scan" for button 1 with the keyboard: two steps down from "Monitor".
  Key(f().cmbButton_S1, Qt::Key_Down);
  Key(f().cmbButton_S1, Qt::Key_Down);
  EXPECT_EQ(ShortPressIndex1, 4);
  EXPECT_EQ(f().cmbButton_L1->ListCount(), 9);
  EXPECT_EQ(f().cmbButton_L1->List(0), "Hi/Low Power");
  EXPECT_EQ(f().cmbButton_L1->Text(), "Unassigned");
  EXPECT_EQ(Codes(), (std::vector<int>{5, 8, 5, 11}));
  EXPECT_TRUE(DataModified);
  f().cmbButton_L1->SetListIndex(7);
  EXPECT_EQ(Byte(layout::kButton1Long), 11);
}

TEST_F(ProgrammableButtons, PositionsFollowTheListsOwnEntries) {
  // 0x20 fixes the power; 0x05 does not, yet its lists lack "Hi/Low Power" too.
  for (int power : {0x20, 0x05}) {
    CodeplugImage[layout::kFixedPowerCode] = static_cast<uint8_t>(power);
    SetBytes(layout::kButton1Short, {3, 4, 5, 11});
    Load();
    EXPECT_EQ(Entries(*f().cmbButton_S1), kShortPress.mid(1)) << power;
    EXPECT_EQ(f().cmbButton_S2->Text(), "Scan") << power;
    EXPECT_EQ(
        Entries(*f().cmbButton_L2),
        (QStringList{"Volume Set", "Repeater/Talkaround", "KS/DKS", "Unassigned",
                     "Battery Save Mode", "Squelch", "Nuisance Channel Delete", "Button Lock"}))
        << power;
    EXPECT_EQ(f().cmbButton_L2->Text(), "Nuisance Channel Delete") << power;
    EXPECT_EQ(Codes(), kDefaults) << power;

    f().cmbButton_S1->SetListIndex(0);
    EXPECT_EQ(Byte(layout::kButton1Short), 2) << power;
    f().cmbButton_S1->SetListIndex(3);
    EXPECT_EQ(f().cmbButton_L1->ListIndex(), 3) << power;  // "Unassigned"
    f().cmbButton_L1->SetListIndex(0);
    EXPECT_EQ(Codes(), (std::vector<int>{5, 2, 5, 11})) << power;

    SetDefaultButtons();
    EXPECT_EQ(Codes(), kDefaults) << power;
  }
}

TEST_F(ProgrammableButtons, AShortPressChangeOfEitherButtonMarksTheCodeplugChanged) {
  SetBytes(layout::kButton1Short, {3, 8, 5, 2});
  Load();
  f().cmbButton_S2->SetListIndex(2);  // "Monitor"
  EXPECT_EQ(Entries(*f().cmbButton_L2), (QStringList{"Sticky Monitor", "Unassigned"}));
  EXPECT_EQ(f().cmbButton_L2->Text(), "Unassigned");
  EXPECT_EQ(Codes(), (std::vector<int>{3, 8, 3, 8}));
  EXPECT_TRUE(DataModified);

  // Long press already "Unassigned": the short press alone is still a change.
  SetBytes(layout::kButton1Short, {3, 8, 5, 8});
  Load();
  f().cmbButton_S2->SetListIndex(2);
  EXPECT_TRUE(DataModified);
}

TEST_F(ProgrammableButtons, LoadShowsStoredCodesAndLeavesUnlistedOnesAlone) {
  SetBytes(layout::kButton1Short, {3, 4, 2, 9});  // 9 is no long press of "Volume Set"
  Load();
  EXPECT_EQ(f().cmbButton_L1->Text(), "Sticky Monitor");
  EXPECT_EQ(f().cmbButton_S2->Text(), "Volume Set");
  EXPECT_EQ(Entries(*f().cmbButton_L2), QStringList{"Unassigned"});
  EXPECT_EQ(f().cmbButton_L2->ListIndex(), -1);
  EXPECT_EQ(Codes(), (std::vector<int>{3, 4, 2, 9}));

  // Codes the fixed-power lists cannot show: no selection, and the load goes on.
  CodeplugImage[layout::kFixedPowerCode] = 0x20;
  SetBytes(layout::kButton1Short, {1, 8, 12, 8});
  CodeplugImage[layout::kTotTime] = 30;
  Load();
  EXPECT_EQ(f().cmbButton_S1->ListIndex(), -1);
  EXPECT_EQ(f().cmbButton_S2->ListIndex(), -1);
  EXPECT_EQ(Codes(), (std::vector<int>{1, 8, 12, 8}));
  EXPECT_EQ(f().txtTotTime->Text(), "300");
}

}  // namespace
