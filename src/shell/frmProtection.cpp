#include "shell/frmProtection.h"

#include <QAction>
#include <QCloseEvent>
#include <QFont>
#include <initializer_list>

#include "editor/FillChain.h"
#include "editor/frmMain.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/CommandButton.h"
#include "platform/Dialogs.h"
#include "platform/FormInstance.h"
#include "platform/KeyCodes.h"
#include "platform/Label.h"
#include "platform/TextBox.h"
#include "platform/TextConv.h"
#include "platform/WindowOwner.h"
#include "shell/MDIFormMain.h"

namespace {

cps::FormInstance<FrmProtection> g_prompt;

// Inside size of the window and places of its controls, in twips.
constexpr int kClientWidth = 3480;
constexpr int kClientHeight = 2295;
struct Place {
  int left, top, width, height;
};
constexpr Place kPasswordBoxPlace{360, 1080, 2415, 375};
constexpr Place kOkPlace{240, 1680, 1095, 375};
constexpr Place kCancelPlace{1800, 1680, 1095, 375};
constexpr Place kEnterLabelPlace{360, 600, 3015, 255};
constexpr Place kProtectedLabelPlace{360, 240, 3015, 255};

constexpr int kMaxTypedPassword = 8;
// The third wrong try ends the prompt: the counter holds the wrong tries before this one.
constexpr int kTriesBeforeLast = 2;

// Toolbar buttons of the main window by index.
constexpr int kSaveButton = 2;
constexpr int kWriteButton = 4;
constexpr int kPreviewButton = 6;
constexpr int kPrintButton = 7;

QString LockedOutText() {
  return QStringLiteral("                Error!") + QStringLiteral("\r\n\r\n") +
         QLatin1String(kInvalidPasswordText) + QStringLiteral("\r\n") +
         QStringLiteral("Codeplug is password protected.");
}

QFont PromptFont(double points) {
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(points);
  font.setBold(true);
  return font;
}

template <class Control>
void PlaceControl(Control* control, const Place& place, double points) {
  control->Move(place.left, place.top, place.width, place.height);
  control->setFont(PromptFont(points));
}

// The main window's commands. The prompt only exists next to a main window, except while a test
// drives the editor alone; creating the main window from here would run the program's start-up.
void SetMainWindowEnabled(bool enabled) {
  if (IsMDIFormMainLoaded()) MDIFormMain().setEnabled(enabled);
}

void SetCommands(std::initializer_list<QAction * MdiFormMain::*> items,
                 std::initializer_list<int> buttons, bool enabled) {
  if (!IsMDIFormMainLoaded()) return;
  MdiFormMain& main = MDIFormMain();
  for (QAction* MdiFormMain::*item : items) (main.*item)->setEnabled(enabled);
  for (int index : buttons) main.tbToolBarButton(index)->setEnabled(enabled);
}

void EnableSave() { SetCommands({&MdiFormMain::mnuFileSave}, {kSaveButton}, true); }

void SetReportAndDefaultEnabled(bool enabled) {
  SetCommands(
      {&MdiFormMain::mnuFilePrintPreview, &MdiFormMain::mnuFilePrint, &MdiFormMain::mnuDefault},
      {kPreviewButton, kPrintButton}, enabled);
}

void SetWriteEnabled(bool enabled) {
  SetCommands({&MdiFormMain::mnuWrite}, {kWriteButton}, enabled);
}

}  // namespace

// --- The window -------------------------------------------------------------------------------

FrmProtection::FrmProtection()
    : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("frmProtection"));
  setWindowTitle(QStringLiteral("Password"));
  setFixedSize(cps::TwipsToPixels(kClientWidth), cps::TwipsToPixels(kClientHeight));

  txtPassword = new cps::TextBox(this);
  txtPassword->setObjectName(QStringLiteral("txtPassword"));
  txtPassword->setEchoMode(QLineEdit::Password);
  // Every typed character shows as "*", whatever the style would choose.
  txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
  txtPassword->SetMaxLength(kMaxTypedPassword);
  PlaceControl(txtPassword, kPasswordBoxPlace, 12);

  cmdPassOk = new cps::CommandButton(QStringLiteral("&OK"), this);
  cmdPassOk->setObjectName(QStringLiteral("cmdPassOk"));
  cmdPassOk->setDefault(true);
  PlaceControl(cmdPassOk, kOkPlace, 9.75);

  cmdPassCancel = new cps::CommandButton(QStringLiteral("&Cancel"), this);
  cmdPassCancel->setObjectName(QStringLiteral("cmdPassCancel"));
  PlaceControl(cmdPassCancel, kCancelPlace, 9.75);

  lblPassWord = new cps::Label(QLatin1String(kEnterPasswordText), this);
  lblPassWord->setObjectName(QStringLiteral("lblPassWord"));
  PlaceControl(lblPassWord, kEnterLabelPlace, 9.75);

  Label1 = new cps::Label(QLatin1String(kCodeplugProtectedText), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  PlaceControl(Label1, kProtectedLabelPlace, 9.75);

  setTabOrder(txtPassword, cmdPassOk);
  setTabOrder(cmdPassOk, cmdPassCancel);

  connect(cmdPassOk, &cps::CommandButton::Click, this, &FrmProtection::cmdPassOk_Click);
  connect(cmdPassCancel, &cps::CommandButton::Click, this, &FrmProtection::cmdPassCancel_Click);
  // OK is the default button: Enter in the password box presses it.
  connect(txtPassword, &cps::TextBox::KeyDown, this, [this](int& keyCode, int /*shift*/) {
    if (keyCode != cps::kKeyReturn) return;
    keyCode = 0;
    cmdPassOk->Press();
  });
}

FrmProtection::~FrmProtection() = default;

// --- Handlers ---------------------------------------------------------------------------------

void FrmProtection::cmdPassOk_Click() {
  SetMainWindowEnabled(true);
  txtPassword->SetMaxLength(kMaxTypedPassword);
  const QString stored = StoredCodeplugPassword();
  const bool matches = txtPassword->Text() == stored;

  if (PasswordAttempts < kTriesBeforeLast) {
    if (matches) return Unlock(stored);
    ++PasswordAttempts;
    ShowWrongTryTexts();
    txtPassword->SetText(QString());
    SetMainWindowEnabled(false);
    SetWriteEnabled(false);
    SetReportAndDefaultEnabled(false);
    return;
  }

  if (matches) {
    PasswordAttempts = 0;
    return Unlock(stored);
  }
  ShowWrongTryTexts();
  txtPassword->SetText(QString());
  PasswordAttempts = 0;
  UnloadFrmProtection();  // this window is deleted only once control returns to the event loop
  SetWriteEnabled(false);
  SetReportAndDefaultEnabled(false);
  cps::MsgBox(LockedOutText(), cps::msgbox::OKOnly, QStringLiteral("Password"));
  frmMain().SetFocus();
}

void FrmProtection::Unlock(const QString& stored) {
  // EnableEditor, the codeplug marked as unlocked, and the grid coloured as editable.
  FillPasswordAcceptedChain();
  FrmMain& editor = frmMain();
  editor.txtPassword->SetEnabled(true);
  UnloadFrmProtection();  // its closing disables Print Preview, Print and Default again
  // A later save or write keeps the password that was given.
  editor.txtPassword->SetText(stored);
  CodeplugLocked = false;
  SetWriteEnabled(true);
  SetReportAndDefaultEnabled(true);
}

void FrmProtection::ShowWrongTryTexts() {
  Label1->SetCaption(QLatin1String(kInvalidPasswordText));
  lblPassWord->SetCaption(QLatin1String(kEnterCorrectPasswordText));
}

void FrmProtection::cmdPassCancel_Click() {
  txtPassword->SetText(QString());
  PasswordAttempts = 0;
  // Hidden, not closed: the next loader shows it again.
  hide();

  FrmMain& editor = frmMain();
  editor.setEnabled(true);
  editor.txtPassword->SetEnabled(false);
  editor.CmdRemove->SetEnabled(false);
  editor.CmdAdd->SetEnabled(false);
  CodeplugLocked = true;

  SetMainWindowEnabled(true);  // which then takes the keyboard back (ShowOwned)
  EnableSave();
  SetReportAndDefaultEnabled(false);
}

void FrmProtection::Form_Unload() {
  txtPassword->SetText(QString());
  PasswordAttempts = 0;
  // An unlock marks the codeplug unlocked again after this closing.
  CodeplugLocked = true;
  SetMainWindowEnabled(true);
  EnableSave();
  SetReportAndDefaultEnabled(false);
}

void FrmProtection::closeEvent(QCloseEvent* event) {
  if (g_prompt.Holds(this)) UnloadFrmProtection();
  event->accept();
}

// --- Module functions -------------------------------------------------------------------------

QString StoredCodeplugPassword() {
  const int length = CodeplugImage[layout::kPasswordLength2];
  const int available = layout::kImageSize - layout::kCodeplugPassword;
  QString password;
  for (int i = 0; i < length && i < available; ++i) {
    password += QChar(static_cast<char16_t>(CodeplugImage[layout::kCodeplugPassword + i]));
  }
  return password;
}

void ShowCodeplugPasswordPrompt() {
  SetMainWindowEnabled(false);
  FrmProtection& prompt = frmProtection();
  // Owned by the main window, not its child: disabling the main window leaves it usable.
  cps::ShowOwned(prompt, IsMDIFormMainLoaded() ? &MDIFormMain() : nullptr);
  prompt.Label1->SetCaption(QLatin1String(kCodeplugProtectedText));
  prompt.lblPassWord->SetCaption(QLatin1String(kEnterPasswordText));
  prompt.txtPassword->SetFocus();
}

FrmProtection& frmProtection() { return g_prompt.Get(); }

bool IsFrmProtectionLoaded() { return g_prompt.IsLoaded(); }

void UnloadFrmProtection() { g_prompt.Unload(); }

void DestroyFrmProtectionForTests() { g_prompt.Destroy(); }
