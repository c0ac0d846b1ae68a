// The codeplug password box and the radio serial number box beside the editor's tabs. The
// password box only filters what reaches it; its text goes into the image at save or write
// time. The serial number is typed once into a blank serial and stored at Enter.
#include "editor/IdentityEntry.h"
#include "editor/frmMain.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/AppSettings.h"
#include "platform/Dialogs.h"
#include "platform/KeyCodes.h"
#include "platform/Label.h"
#include "platform/TextBox.h"
#include "platform/TextConv.h"
#include "shell/MDIFormMain.h"

namespace {

constexpr uint32_t kPromptColour = 0xFF;  // red
const char kEnterPrompt[] = "Please Press the 'Enter' Key";
const char kSerialCaption[] = "Serial Number";
const char kInvalidPassword[] = "Invalid Password";
const char kInvalidSerial[] = "Invalid Serial Number";
const char kSerialQuestion[] = "Enter Current Serial Number to Radio ?";
const char kQuestionTitle[] = "Save ?";

bool IsPasswordCharacter(int code) {
  return (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') ||
         (code >= 'a' && code <= 'z');
}

// Backspace, Enter, Esc, Ctrl+C, Ctrl+V, Ctrl+X and the other control keys.
bool IsControlCharacter(int code) { return code >= 1 && code <= 27; }

void ShowMessage(const char* text) {
  cps::MsgBox(QString::fromLatin1(text), cps::msgbox::OKOnly, QString::fromLatin1(cps::kAppTitle));
}

void FocusMainWindow() {
  if (!IsMDIFormMainLoaded()) return;
  MDIFormMain().activateWindow();
  MDIFormMain().setFocus(Qt::OtherFocusReason);
}

}  // namespace

void FrmMain::ConnectPasswordSerialHandlers() {
  connect(txtPassword, &cps::TextBox::KeyDown, this, &FrmMain::txtPassword_KeyDown);
  connect(txtPassword, &cps::TextBox::KeyPress, this, &FrmMain::txtPassword_KeyPress);
  connect(txtPassword, &cps::TextBox::Change, this, &FrmMain::txtPassword_Change);
  connect(txtPassword, &cps::TextBox::Click, this, &FrmMain::txtPassword_Click);
  connect(txtSerial, &cps::TextBox::KeyDown, this, &FrmMain::txtSerial_KeyDown);
  connect(txtSerial, &cps::TextBox::LostFocus, this, &FrmMain::txtSerial_LostFocus);
}

// Delete, Shift+Insert and Ctrl+Backspace change the text without typing a character, so no
// KeyPress marks the change; the next save takes the password all the same.
void FrmMain::txtPassword_KeyDown(int& /*keyCode*/, int /*shift*/) { DataModified = true; }

void FrmMain::txtPassword_KeyPress(int& keyAscii) {
  DataModified = true;
  if (IsControlCharacter(keyAscii) || IsPasswordCharacter(keyAscii)) return;
  ShowMessage(kInvalidPassword);
  txtPassword->SetFocus();
  keyAscii = 0;
}

// Catches what the character filter cannot see, such as pasted text.
void FrmMain::txtPassword_Change() {
  ToolbarMouseDown = false;
  const QString text = txtPassword->Text();
  for (const QChar c : text) {
    if (IsPasswordCharacter(c.unicode())) continue;
    ShowMessage(kInvalidPassword);
    txtPassword->SetFocus();
    txtPassword->SetText(QString());
    return;
  }
}

void FrmMain::txtPassword_Click() { DataModified = true; }

void FrmMain::txtSerial_KeyDown(int& keyCode, int /*shift*/) {
  lblSerial->SetForeColor(kPromptColour);
  lblSerial->SetCaption(QString::fromLatin1(kEnterPrompt));
  txtSerial->SetMaxLength(layout::kSerialNumberLength);
  if (keyCode != cps::kKeyReturn) return;

  lblSerial->SetForeColor(cps::kColourButtonText);
  lblSerial->SetCaption(QString::fromLatin1(kSerialCaption));
  // Only a text pasted before the first key can be longer than the limit.
  const bool tooLong = txtSerial->Text().size() > layout::kSerialNumberLength;
  txtSerial->SetText(UpperCaseText(txtSerial->Text()));
  if (tooLong) {
    ShowMessage(kInvalidSerial);
    txtSerial->SetEnabled(true);
    txtSerial->SetText(QString());
    FocusMainWindow();
    return;
  }

  // A declined entry must not stay in the image: a save would write it and the reloaded
  // serial box could no longer be corrected.
  const FieldBackup before(CodeplugImage, layout::kSerialNumber, layout::kSerialNumberLength);
  StoreFieldText(CodeplugImage, layout::kSerialNumber, layout::kSerialNumberLength,
                 txtSerial->Text());
  const cps::MsgResult answer =
      cps::MsgBox(QString::fromLatin1(kSerialQuestion), cps::msgbox::YesNo,
                  QString::fromLatin1(kQuestionTitle));
  if (answer == cps::MsgResult::Yes) {
    // The serial number stays in the image and goes into the next saved file: a change.
    DataModified = true;
    txtSerial->SetEnabled(false);
    FocusMainWindow();
  } else {
    before.Restore(CodeplugImage);
    txtSerial->SetText(QString());
    txtSerial->SetEnabled(true);
  }
}

void FrmMain::txtSerial_LostFocus() {
  lblSerial->SetForeColor(cps::kColourButtonText);
  lblSerial->SetCaption(QString::fromLatin1(kSerialCaption));
}
