#include <QAction>
#include <QProgressBar>

#include "LinkFixture.h"
#include "channels/frmChannelToneOption.h"
#include "platform/CheckBox.h"
#include "platform/ListBox.h"
#include "platform/StatusBar.h"
#include "platform/TabControl.h"
#include "platform/TextBox.h"

namespace {

const QString kReadInstructions =
    "  To read codeplug data from radio:\r\n"
    "\r\n"
    "  1. Turn off radio.\r\n"
    "  2. Connect programming cable to radio.\r\n"
    "  3. Press and hold Programmable Button 1 while turning on radio.\r\n"
    "  4. Radio will beep once. Release Programmable Button 1.\r\n"
    "      ORANGE LED will be shown on radio.\r\n"
    "  5. Click Read button on CPS.\r\n"
    "  6. CPS will show reading progress bar. Once completed, it will close by itself.";

void SetToneBoxes(const QString& text) {
  for (int k = 0; k < 3; ++k) {
    frmMain().txtTKS_RxFrequency[k]->SetText(text);
    frmMain().txtTKS_TxFrequency[k]->SetText(text);
  }
}

}  // namespace

TEST_F(LinkTest, OpenersPrepareTheWindowForTheirMode) {
  frmMain().txtPassword->SetText(QStringLiteral("old"));
  PasswordAttempts = 2;
  ShowReadInstructions();

  FrmProgram& read = frmProgram();
  EXPECT_TRUE(read.isVisible());
  EXPECT_EQ(read.windowTitle(), QStringLiteral("Program"));
  EXPECT_EQ(read.lblProgramHelp->Caption(), kReadInstructions);
  EXPECT_EQ(StatusLine(read), QStringLiteral("Click Read Button"));
  EXPECT_TRUE(read.cmdRead->Visible());
  EXPECT_FALSE(read.cmdWrite->Visible());
  EXPECT_TRUE(read.lblGreenLED->Visible());
  EXPECT_FALSE(read.lblRedLED->Visible());
  EXPECT_EQ(read.lblGreenLED->BackColor(), 0xFF00u);
  EXPECT_EQ(read.lblRedLED->BackColor(), 0xC0C0FFu);
  EXPECT_FALSE(MDIFormMain().isEnabled());
  EXPECT_TRUE(ReadMode);
  EXPECT_TRUE(CodeplugLoading);
  EXPECT_EQ(PasswordAttempts, 0);
  // Only a completed read sets the password box; a cancelled one leaves it for the next save.
  EXPECT_EQ(frmMain().txtPassword->Text(), QStringLiteral("old"));

  // Cancel, then open for a write: a fresh window with only the Write button and the red LED.
  read.cmdClose->Press();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(frmMain().txtPassword->Text(), QStringLiteral("old"));
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_TRUE(MDIFormMain().isEnabled());
  EXPECT_FALSE(ReadMode);
  SetToneBoxes(QStringLiteral("67.0"));
  CodeplugImage[11] = 0;
  CodeplugImage[12] = 0;
  CheckAndShowWriteInstructions();
  FrmProgram& write = frmProgram();
  QString writeInstructions = kReadInstructions;
  writeInstructions.replace("To read codeplug data from radio:",
                            "To write codeplug data to radio:");
  writeInstructions.replace("Click Read button", "Click Write button");
  EXPECT_EQ(write.lblProgramHelp->Caption(), writeInstructions);
  EXPECT_EQ(StatusLine(write), QStringLiteral("Click Write Button"));
  EXPECT_FALSE(write.cmdRead->Visible());
  EXPECT_TRUE(write.cmdWrite->Visible());
  EXPECT_TRUE(write.lblRedLED->Visible());
  EXPECT_FALSE(write.lblGreenLED->Visible());
  EXPECT_EQ(write.lblRedLED->BackColor(), 0xFFu);
  EXPECT_EQ(write.lblGreenLED->BackColor(), 0xC0FFC0u);
  EXPECT_EQ(CodeplugImage[11], 60);
  EXPECT_EQ(CodeplugImage[12], 20);
  EXPECT_FALSE(ReadMode);
}

TEST_F(LinkTest, WriteOpenerReportsTheFirstLowToneBoxInItsOrder) {
  SetToneBoxes(QStringLiteral("100.0"));
  frmMain().txtTKS_RxFrequency[1]->SetText(QStringLiteral("50"));
  frmMain().txtTKS_TxFrequency[0]->SetText(QStringLiteral("12"));
  cps::DialogScript::Reset();
  const ByteImage before = CodeplugImage;
  CheckAndShowWriteInstructions();

  ASSERT_EQ(Messages().size(), 1);
  EXPECT_EQ(Messages()[0].prompt, QStringLiteral("Invalid Frequency"));
  EXPECT_EQ(Messages()[0].title, QStringLiteral("Corvana CPS"));
  // Tx 0 comes before Rx 1: it alone is reported and emptied.
  EXPECT_EQ(frmMain().txtTKS_TxFrequency[0]->Text(), QString());
  EXPECT_EQ(frmMain().txtTKS_RxFrequency[1]->Text(), QStringLiteral("50"));
  EXPECT_FALSE(IsFrmProgramVisible());
  EXPECT_EQ(CodeplugImage[11], before[11]);

  // An empty box reads as 0 and is refused too.
  SetToneBoxes(QStringLiteral("100.0"));
  frmMain().txtTKS_TxFrequency[2]->SetText(QString());
  cps::DialogScript::Reset();
  CheckAndShowWriteInstructions();
  ASSERT_EQ(Messages().size(), 1);
  EXPECT_FALSE(IsFrmProgramVisible());
}

TEST_F(LinkTest, WriteOpenerRefusesAPriorityChannelOutsideTheScanList) {
  SetToneBoxes(QStringLiteral("100.0"));
  FrmMain& editor = frmMain();
  editor.sstMain->SetTab(1);
  editor.chkPrioScanEnable->SetValue(1);
  ASSERT_GT(editor.LstChannel->ListCount(), 0);
  editor.txtPrioScanChNo->SetText(
      QString::number(int(cps::NumericPrefix(editor.LstChannel->List(0)))));
  cps::DialogScript::Reset();
  CheckAndShowWriteInstructions();

  ASSERT_EQ(Messages().size(), 1);
  EXPECT_EQ(Messages()[0].prompt, QStringLiteral("                       Error!  \r\n\r\n"
                                                 "Prio. Scan Ch. No. not in active scan list   "));
  EXPECT_EQ(editor.sstMain->Tab(), 0);
  EXPECT_FALSE(IsFrmProgramVisible());
}

TEST_F(LinkTest, OpenersStartNothingWhileTheToneDialogIsOpenOrThePortIsClosed) {
  SetToneBoxes(QStringLiteral("100.0"));
  OpenRxToneOptionDialog(1);
  ASSERT_TRUE(IsFrmChannelToneOptionVisible());
  cps::DialogScript::Reset();
  ShowReadInstructions();
  CheckAndShowWriteInstructions();
  ASSERT_EQ(Messages().size(), 2);
  for (const cps::ShownMessage& shown : Messages()) {
    EXPECT_EQ(shown.prompt,
              QStringLiteral("Please close your window before programming the radio."));
  }
  EXPECT_FALSE(IsFrmProgramVisible());
  UnloadFrmChannelToneOption();

  MSComm1().SetPortOpen(false);
  cps::DialogScript::Reset();
  ShowReadInstructions();
  CheckAndShowWriteInstructions();
  EXPECT_FALSE(IsFrmProgramVisible());
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(LinkTest, PortMenuOpensTheCheckedPortAndReportsAnUnavailableOne) {
  QList<int> asked;
  const QString path = line_.SlavePath();
  cps::SetCommPortPathResolver([&asked, path](int n) {
    asked << n;
    return path;
  });
  MDIFormMain().mnuPortCom3_Click();
  for (int n = 1; n <= 8; ++n) EXPECT_EQ(MDIFormMain().mnuPortCom(n)->isChecked(), n == 3) << n;
  EXPECT_EQ(asked, QList<int>({3}));
  EXPECT_TRUE(MSComm1().PortOpen());
  EXPECT_EQ(MSComm1().Settings(), QStringLiteral("1200,N,8,2"));

  // No item checked: Com8.
  MDIFormMain().mnuPortCom3->setChecked(false);
  OpenCommPort();
  EXPECT_EQ(asked.last(), 8);

  cps::SetCommPortPathResolver([](int) { return QStringLiteral("/nonexistent/ttyCPS"); });
  cps::DialogScript::Reset();
  MDIFormMain().mnuPortCom5_Click();
  ASSERT_EQ(Messages().size(), 1);
  EXPECT_EQ(Messages()[0].prompt,
            QStringLiteral("Comm. Port Unavailable !\r\n\r\nPlease Change the Port selection."));
  EXPECT_EQ(Messages()[0].title, QStringLiteral("Corvana CPS"));
  EXPECT_FALSE(MSComm1().PortOpen());
}

TEST_F(LinkTest, TimerBlinksTheLedOfTheTransferAndHintsNameTheButtons) {
  ShowReadInstructions();
  FrmProgram& program = frmProgram();
  frmMain().tmrTimer1->stop();  // the ticks below are the only ones
  StartGreenLedBlink();
  frmMain().tmrTimer1_Timer();
  EXPECT_EQ(program.lblGreenLED->BackColor(), kGreenLedPale);
  frmMain().tmrTimer1_Timer();
  EXPECT_EQ(program.lblGreenLED->BackColor(), kGreenLedBright);
  StopLedBlink();
  frmMain().tmrTimer1_Timer();
  EXPECT_EQ(program.lblGreenLED->BackColor(), kGreenLedBright);
  StartRedLedBlink();
  frmMain().tmrTimer1_Timer();
  frmMain().tmrTimer1_Timer();
  frmMain().tmrTimer1_Timer();
  EXPECT_EQ(program.lblRedLED->BackColor(), kRedLedPale);

  emit program.cmdRead->MouseMove(0, 0, 10, 10);
  EXPECT_EQ(frmMain().sbStatusBar->PanelText(1),
            QStringLiteral("Read Codeplug Data From Radio To PC"));
  emit program.cmdWrite->MouseMove(0, 0, 10, 10);
  EXPECT_EQ(frmMain().sbStatusBar->PanelText(1),
            QStringLiteral("Write Radio Codeplug Data PC To Radio"));
  emit program.cmdClose->MouseMove(0, 0, 10, 10);
  EXPECT_EQ(frmMain().sbStatusBar->PanelText(1), QStringLiteral("Close Program"));
}
