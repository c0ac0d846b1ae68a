// Locking and unlocking the editor, and the password copy into the image.
#include <QAction>
#include <vector>

#include "EditorFixture.h"
#include "editor/EditorLock.h"
#include "platform/CheckBox.h"
#include "platform/ComboBox.h"
#include "platform/CommandButton.h"
#include "platform/FlexGrid.h"
#include "platform/Label.h"
#include "platform/ListBox.h"
#include "platform/TextBox.h"
#include "platform/UpDown.h"

namespace {

class EditorLockTest : public EditorFixture {
 protected:
  // The option boxes as a load left them, then a lock and an unlock.
  void LockThenUnlock(int normalScan, int prioScan) {
    f().chkScanEnable->SetValue(normalScan);
    f().chkPrioScanEnable->SetValue(prioScan);
    DisableEditor();
    EnableEditor();
  }
  void ExpectAll(const std::vector<QWidget*>& controls, bool on) {
    for (QWidget* w : controls) EXPECT_EQ(On(w), on) << w->metaObject()->className();
  }
};

TEST_F(EditorLockTest, UnlockKeepsTheTwoScanModesExclusive) {
  LockThenUnlock(/*normalScan=*/1, /*prioScan=*/0);
  EXPECT_TRUE(On(f().chkScanEnable));
  EXPECT_FALSE(On(f().chkPrioScanEnable));
  ExpectAll(SpeedAndHang(f()), true);
  ExpectAll(PriorityAndInterval(f()), false);

  LockThenUnlock(0, 1);
  EXPECT_FALSE(On(f().chkScanEnable));
  EXPECT_TRUE(On(f().chkPrioScanEnable));
  ExpectAll(SpeedAndHang(f()), true);
  ExpectAll(PriorityAndInterval(f()), true);

  LockThenUnlock(0, 0);
  EXPECT_TRUE(On(f().chkScanEnable));
  EXPECT_TRUE(On(f().chkPrioScanEnable));
  ExpectAll(SpeedAndHang(f()), false);
  ExpectAll(PriorityAndInterval(f()), false);
}

TEST_F(EditorLockTest, LockAndUnlockSwitchTheEditingControlsTheGridAndTheCommands) {
  MdiFormMain& main = MDIFormMain();  // its Load disables the commands and the editor
  const std::vector<QAction*> commands = {main.mnuFileSave,        main.mnuFilePrintPreview,
                                          main.mnuFilePrint,       main.mnuDefault,
                                          main.mnuWrite,           main.tbToolBarButton(2),
                                          main.tbToolBarButton(4), main.tbToolBarButton(6),
                                          main.tbToolBarButton(7)};
  for (QAction* command : commands) ASSERT_FALSE(command->isEnabled());
  EXPECT_FALSE(On(f().txtPassword));
  EXPECT_FALSE(On(f().fgChannel));
  EXPECT_EQ(f().fgChannel->ForeColor(), cps::kColourGrayText);

  f().txtSuper->SetText("QKLV5101AAA");
  f().LstChannel->Clear();
  f().LstScan->Clear();
  f().LstChannel->AddItem("002");
  EnableEditor();
  for (QAction* command : commands) EXPECT_TRUE(command->isEnabled());
  ExpectAll({f().txtPassword, f().lblTKS2, f().txtTKS_TxFrequency[2], f().cmbButton_L2, f().LstScan,
             f().chkTalkbakScan, f().chkTotEnable, f().CmdAdd, f().fgChannel},
            true);
  EXPECT_EQ(f().fgChannel->ForeColor(), cps::kColourButtonText);
  EXPECT_EQ(f().LstChannel->ListIndex(), 0);
  EXPECT_FALSE(On(f().CmdRemove));  // its list is empty
  EXPECT_FALSE(On(f().txtSuper));   // holds a kit number
  EXPECT_FALSE(On(f().txtSerial));  // never opened by the unlock
  f().txtSuper->SetText(QString());
  EnableEditor();
  EXPECT_TRUE(On(f().txtSuper));

  f().txtSuper->SetEnabled(true);
  DisableEditor();
  ExpectAll({f().txtPassword, f().lblTKS2, f().txtTKS_TxFrequency[2], f().cmbButton_L2, f().LstScan,
             f().chkTalkbakScan, f().chkTotEnable, f().CmdAdd, f().fgChannel},
            false);
  EXPECT_TRUE(On(f().txtSuper));
  for (QAction* command : commands) EXPECT_TRUE(command->isEnabled());
}

TEST_F(EditorLockTest, PasswordCopyWritesTheTypedTextAndItsLength) {
  CodeplugImage.Fill(370, 379, 0xEE);
  f().txtPassword->SetText("Ab1z");
  CopyPasswordToImage();
  const std::array<int, 10> fourChars = {'A', 'b', '1', 'z', 0, 0, 0, 0, 0, 4};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(CodeplugImage[370 + i], fourChars[i]) << 370 + i;
  EXPECT_EQ(CodeplugImage[236], 4);

  CodeplugImage[378] = 0x5A;
  f().txtPassword->SetText(QString());
  CopyPasswordToImage();
  for (int i = 370; i <= 377; ++i) EXPECT_EQ(CodeplugImage[i], 0) << i;
  EXPECT_EQ(CodeplugImage[236], 0);
  EXPECT_EQ(CodeplugImage[379], 0);
  EXPECT_EQ(CodeplugImage[378], 0x5A);  // an empty password leaves the gate

  // Text set from code may be longer than the box lets anyone type: eight characters go in,
  // nothing runs past byte 378.
  CodeplugImage[380] = 0x01;
  f().txtPassword->SetText("ABCDEFGHIJKLM");
  CopyPasswordToImage();
  EXPECT_EQ(CodeplugImage[377], 'H');
  EXPECT_EQ(CodeplugImage[378], 0);
  EXPECT_EQ(CodeplugImage[379], 8);
  EXPECT_EQ(CodeplugImage[380], 0x01);

  CodeplugLocked = true;
  f().txtPassword->SetText("other");
  CopyPasswordToImage();
  EXPECT_EQ(CodeplugImage[370], 'A');
  EXPECT_EQ(CodeplugImage[379], 8);
}

}  // namespace
