#include "radiolink/ProgramOpeners.h"

#include <QProgressBar>
#include <array>

#include "channels/frmChannelToneOption.h"
#include "editor/FillChain.h"
#include "editor/frmMain.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "model/UserTones.h"
#include "platform/AppSettings.h"
#include "platform/CheckBox.h"
#include "platform/CommPort.h"
#include "platform/CommandButton.h"
#include "platform/Dialogs.h"
#include "platform/Label.h"
#include "platform/ListBox.h"
#include "platform/TabControl.h"
#include "platform/TextBox.h"
#include "platform/TextConv.h"
#include "platform/WindowOwner.h"
#include "radiolink/CommLink.h"
#include "radiolink/frmProgram.h"
#include "shell/MDIFormMain.h"

namespace {

constexpr int kFixedByte11Value = 60;
constexpr int kFixedByte12Value = 20;

QString CloseWindowFirstText() {
  return QStringLiteral("Please close your window before programming the radio.");
}

QString PrioChannelErrorText() {
  return QStringLiteral("                       Error!  \r\n\r\n") +
         QStringLiteral("Prio. Scan Ch. No. not in active scan list   ");
}

bool PrioChannelOutsideScanList() {
  FrmMain& editor = frmMain();
  if (editor.chkPrioScanEnable->Value() != 1) return false;
  return editor.IsOutsideScanList(cps::NumericPrefix(editor.txtPrioScanChNo->Text()));
}

// The first user tone box reading below 67.0 Hz, in the order Rx 0, Tx 0, Rx 1, ... Tx 2.
cps::TextBox* FirstLowToneBox() {
  FrmMain& editor = frmMain();
  for (int k = 0; k < usertone::kCount; ++k) {
    for (cps::TextBox* box : {editor.txtTKS_RxFrequency[k], editor.txtTKS_TxFrequency[k]}) {
      if (cps::NumericPrefix(box->Text()) < usertone::kLowestHz) return box;
    }
  }
  return nullptr;
}

// Shows the window owned by the main window, which is disabled meanwhile.
void ShowProgramWindow(FrmProgram& program) {
  MdiFormMain& main = MDIFormMain();
  main.setEnabled(false);
  cps::ShowOwned(program, &main);
}

}  // namespace

void ShowReadInstructions() {
  if (!MSComm1().PortOpen()) return;
  ReadMode = true;
  if (IsFrmChannelToneOptionVisible()) {
    cps::MsgBox(CloseWindowFirstText(), cps::msgbox::OKOnly, QLatin1String(cps::kAppTitle));
    return;
  }
  if (IsFrmProgramVisible()) UnloadFrmProgram();
  FrmProgram& program = frmProgram();
  program.lblProgram->SetCaption(QLatin1String(kClickReadText));
  program.lblProgramHelp->SetCaption(ProgramInstructions(true));
  ShowProgramWindow(program);
  program.pgrProgram->setMaximum(layout::kDataBlockBytes);
  program.SetProgressValue(0);
  program.cmdRead->SetVisible(true);
  program.lblRedLED->SetVisible(false);
  program.lblGreenLED->SetVisible(true);
  program.cmdRead->SetFocus();
  PasswordAttempts = 0;
  FrmMain& editor = frmMain();
  editor.setEnabled(true);
  // The password box keeps its text: only a completed read sets it from what it read.
  CodeplugLoading = true;
  program.lblRedLED->SetBackColor(kRedLedPale);
  program.lblGreenLED->SetBackColor(kGreenLedBright);
}

void CheckAndShowWriteInstructions() {
  if (!MSComm1().PortOpen()) return;
  ReadMode = false;
  if (PrioChannelOutsideScanList()) {
    cps::MsgBox(PrioChannelErrorText(), cps::msgbox::OKOnly, QLatin1String(cps::kAppTitle));
    frmMain().sstMain->SetTab(0);
    UnloadFrmProgram();
    frmMain().SetFocus();
    return;
  }
  if (cps::TextBox* box = FirstLowToneBox()) {
    cps::MsgBox(QStringLiteral("Invalid Frequency"), cps::msgbox::OKOnly,
                QLatin1String(cps::kAppTitle));
    box->SetText(QString());
    UnloadFrmProgram();
    return;
  }
  if (IsFrmChannelToneOptionVisible()) {
    cps::MsgBox(CloseWindowFirstText(), cps::msgbox::OKOnly, QLatin1String(cps::kAppTitle));
    return;
  }
  if (IsFrmProgramVisible()) UnloadFrmProgram();
  FrmProgram& program = frmProgram();
  program.lblProgram->SetCaption(QLatin1String(kClickWriteText));
  program.lblProgramHelp->SetCaption(ProgramInstructions(false));
  ShowProgramWindow(program);
  program.pgrProgram->setMaximum(layout::kImageSize);
  program.SetProgressValue(0);
  program.cmdWrite->SetVisible(true);
  program.cmdWrite->SetEnabled(true);
  program.lblGreenLED->SetVisible(false);
  program.lblRedLED->SetVisible(true);
  program.cmdWrite->SetFocus();
  ShowCodeplugVersion();
  CodeplugImage[layout::kFixedByte11] = kFixedByte11Value;
  CodeplugImage[layout::kFixedByte12] = kFixedByte12Value;
  program.lblGreenLED->SetBackColor(kGreenLedPale);
  program.lblRedLED->SetBackColor(kRedLedBright);
}
