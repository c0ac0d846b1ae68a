// Leaving the program with a loaded codeplug: the save question's answers, and the tone/code
// dialog that every way out takes down with it.
#include <QDir>

#include "CodeplugFiles.h"
#include "ShellFixture.h"
#include "channels/frmChannelToneOption.h"
#include "platform/CheckBox.h"
#include "platform/ListBox.h"
#include "platform/TextBox.h"

namespace {

class FileExit : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    StartUp();
    WriteFile(ProgramFile("radio.cpg"), testfiles::FileText(testfiles::RoundTripImage()));
    cps::DialogScript::ChooseNextFile(ProgramFile("radio.cpg"));
    MDIFormMain().mnuFileOpen_Click();
    cps::DialogScript::Reset();
  }

  void TearDown() override {
    UnloadFrmChannelToneOption();
    ShellTest::TearDown();
  }

  static bool ProgramOpen() { return IsMDIFormMainLoaded() && IsFrmMainLoaded(); }
};

}  // namespace

TEST_F(FileExit, YesSavesBeforeLeavingAndNoLeavesWithoutAFile) {
  ASSERT_TRUE(DataModified);
  cps::DialogScript::AnswerNextMessage(cps::MsgResult::Yes);
  cps::DialogScript::ChooseNextFile(ProgramFile("on-exit.cpg"));
  MDIFormMain().mnuFileExit_Click();
  ASSERT_EQ(Messages().size(), 1);
  EXPECT_EQ(Messages()[0].prompt, "Save Current Data to File ?");
  EXPECT_FALSE(ProgramOpen());
  EXPECT_EQ(ReadFile(ProgramFile("on-exit.cpg")), testfiles::FileText(testfiles::RoundTripImage()));

  // Started again, changed, and left with No.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  StartUp();
  DataModified = true;
  cps::DialogScript::AnswerNextMessage(cps::MsgResult::No);
  MDIFormMain().mnuFileExit_Click();
  EXPECT_FALSE(ProgramOpen());
  EXPECT_EQ(QDir(folder_.path()).entryList({"*.cpg"}).size(), 2);  // radio.cpg, on-exit.cpg
}

TEST_F(FileExit, EveryWayOutTakesTheToneDialogDown) {
  // File>Exit, even when the save question then keeps the program open: the main window is
  // usable again.
  OpenRxToneOptionDialog(1);
  ASSERT_TRUE(IsFrmChannelToneOptionVisible());
  ASSERT_FALSE(MDIFormMain().isEnabled());
  cps::DialogScript::AnswerNextMessage(cps::MsgResult::Cancel);
  MDIFormMain().mnuFileExit_Click();
  EXPECT_FALSE(IsFrmChannelToneOptionLoaded());
  EXPECT_TRUE(ProgramOpen());
  EXPECT_TRUE(MDIFormMain().isEnabled());

  // File>Save refusing a priority channel outside the scan list.
  OpenTxToneOptionDialog(1);
  ASSERT_TRUE(IsFrmChannelToneOptionLoaded());
  frmMain().chkPrioScanEnable->SetValue(1);
  frmMain().txtPrioScanChNo->SetText(frmMain().LstChannel->List(0));
  MDIFormMain().mnuFileSave_Click();
  EXPECT_EQ(Messages().last().prompt,
            "                       Error!  \r\n\r\nPrio. Scan Ch. No. not in active scan list   ");
  EXPECT_FALSE(IsFrmChannelToneOptionLoaded());
  EXPECT_TRUE(SaveAborted);

  // Closing the editor window itself.
  OpenRxToneOptionDialog(1);
  ASSERT_TRUE(IsFrmChannelToneOptionLoaded());
  DataModified = false;
  ASSERT_TRUE(UnloadFrmMain());
  EXPECT_FALSE(IsFrmChannelToneOptionLoaded());
  EXPECT_FALSE(IsMDIFormMainLoaded());
}
