// The regional kit number box txtSuper. A kit number typed into a blank box and confirmed loads
// the template codeplug of that kit from the program folder and shows it as a file open would.
#include "editor/FillChain.h"
#include "editor/IdentityEntry.h"
#include "editor/KitNumber.h"
#include "editor/frmMain.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/AppSettings.h"
#include "platform/Dialogs.h"
#include "platform/KeyCodes.h"
#include "platform/Label.h"
#include "platform/TextBox.h"
#include "platform/TextConv.h"
#include "shell/CodeplugFile.h"
#include "shell/MDIFormMain.h"
#include "shell/frmProtection.h"

namespace {

constexpr uint32_t kPromptColour = 0xFF;  // red
constexpr int kWriteToolbarButton = 4;
const char kEnterPrompt[] = "Please Press the 'Enter' Key";
const char kKitCaption[] = "Regional Super Morvik";
const char kKitQuestion[] = "Enter Current Regional Super Morvik Number to Radio ?";
const char kQuestionTitle[] = "Save ?";
const char kRegionNotValid[] = "Region Code is not valid...";

void ShowMessage(const QString& text, int icon = 0) {
  cps::MsgBox(text, cps::msgbox::OKOnly | icon, QString::fromLatin1(cps::kAppTitle));
}

// The loaded codeplug is locked until its password is given: Write stays off meanwhile.
void AskForCodeplugPassword() {
  if (IsMDIFormMainLoaded()) {
    MdiFormMain& main = MDIFormMain();
    main.mnuWrite->setEnabled(false);
    main.tbToolBarButton(kWriteToolbarButton)->setEnabled(false);
  }
  ShowCodeplugPasswordPrompt();
}

QString TemplateNotLoadedText(const QString& reason) {
  return reason + QStringLiteral("\r\nThe template was not loaded; the codeplug is unchanged.");
}

}  // namespace

void FrmMain::ConnectKitNumberHandlers() {
  connect(txtSuper, &cps::TextBox::KeyDown, this, &FrmMain::txtSuper_KeyDown);
  connect(txtSuper, &cps::TextBox::LostFocus, this, &FrmMain::txtSuper_LostFocus);
}

void FrmMain::txtSuper_KeyDown(int& keyCode, int /*shift*/) {
  lblSuper->SetForeColor(kPromptColour);
  lblSuper->SetCaption(QString::fromLatin1(kEnterPrompt));
  txtSuper->SetMaxLength(layout::kRegionalNumberLength);
  if (keyCode != cps::kKeyReturn) return;

  lblSuper->SetForeColor(cps::kColourButtonText);
  lblSuper->SetCaption(QString::fromLatin1(kKitCaption));
  txtSuper->SetText(UpperCaseText(txtSuper->Text()));

  // A withdrawn or refused kit number must not stay in the image, where a save would keep it.
  const FieldBackup before(CodeplugImage, layout::kRegionalNumber, layout::kRegionalNumberLength);
  StoreFieldText(CodeplugImage, layout::kRegionalNumber, layout::kRegionalNumberLength,
                 txtSuper->Text());
  const cps::MsgResult answer = cps::MsgBox(QString::fromLatin1(kKitQuestion), cps::msgbox::YesNo,
                                            QString::fromLatin1(kQuestionTitle));
  if (answer != cps::MsgResult::Yes) {
    before.Restore(CodeplugImage);
    ReopenKitNumberBox();
    return;
  }

  txtSuper->SetEnabled(false);
  CodeplugLoading = true;
  const RegionTemplateEntry* entry = FindRegionTemplate(txtSuper->Text());
  if (entry == nullptr) {
    ShowMessage(QString::fromLatin1(kRegionNotValid));
    before.Restore(CodeplugImage);
    ReopenKitNumberBox();
    CodeplugLoading = false;
    return;
  }
  if (!LoadRegionTemplate(*entry)) {
    before.Restore(CodeplugImage);
    ReopenKitNumberBox();
    CodeplugLoading = false;
  }
}

void FrmMain::txtSuper_LostFocus() {
  lblSuper->SetForeColor(cps::kColourButtonText);
  lblSuper->SetCaption(QString::fromLatin1(kKitCaption));
}

void FrmMain::ReopenKitNumberBox() {
  txtSuper->SetText(QString());
  txtSuper->SetEnabled(true);
}

bool FrmMain::LoadRegionTemplate(const RegionTemplateEntry& entry) {
  // The reader takes all 384 values before it changes a byte, so a missing, unreadable or short
  // file leaves the image as it was.
  const CodeplugFileResult read = ReadTemplateFile(RegionTemplatePath(entry));
  if (!read.ok()) {
    ShowMessage(TemplateNotLoadedText(read.message), cps::msgbox::Exclamation);
    return false;
  }
  CodeplugImage[layout::kRegionCode] = static_cast<uint8_t>(entry.regionCode);

  RefillShortPressLists();
  if (FillLoadedImageChain() == LoadOutcome::PasswordRequired) AskForCodeplugPassword();
  CodeplugLoading = false;
  // The template replaced the codeplug, which has not been saved since.
  DataModified = true;
  return true;
}
