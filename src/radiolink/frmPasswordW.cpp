#include "radiolink/frmPasswordW.h"

#include <QAction>
#include <QCloseEvent>
#include <QFont>
#include <QProgressBar>

#include "model/ModuleState.h"
#include "platform/CommandButton.h"
#include "platform/Dialogs.h"
#include "platform/FormInstance.h"
#include "platform/KeyCodes.h"
#include "platform/Label.h"
#include "platform/TextBox.h"
#include "platform/TextConv.h"
#include "platform/WindowOwner.h"
#include "radiolink/frmProgram.h"
#include "shell/MDIFormMain.h"
#include "shell/frmProtection.h"

namespace {

cps::FormInstance<FrmPasswordW> g_prompt;

constexpr int kClientWidth = 3480;
constexpr int kClientHeight = 2295;
constexpr int kMaxPassword = 8;
constexpr int kTriesBeforeLast = 2;  // the third wrong try ends the prompt
constexpr int kWriteButton = 4;

struct Place {
  int left, top, width, height;
};

template <class Control>
void PlaceControl(Control* control, const Place& place, double points) {
  control->Move(place.left, place.top, place.width, place.height);
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(points);
  font.setBold(true);
  control->setFont(font);
}

QString LockedOutText() {
  return QStringLiteral("                Error!\r\n\r\n") + QLatin1String(kInvalidPasswordText) +
         QStringLiteral("\r\nCodeplug is password protected.");
}

// The programming window the prompt acts on; nothing when it has gone.
FrmProgram* ProgramWindow() { return IsFrmProgramLoaded() ? &frmProgram() : nullptr; }

void SetProgramWriteEnabled(bool enabled) {
  if (FrmProgram* program = ProgramWindow()) program->cmdWrite->SetEnabled(enabled);
}

void EnableMainWrite() {
  if (!IsMDIFormMainLoaded()) return;
  MDIFormMain().mnuWrite->setEnabled(true);
  MDIFormMain().tbToolBarButton(kWriteButton)->setEnabled(true);
}

}  // namespace

FrmPasswordW::FrmPasswordW()
    : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("frmPasswordW"));
  setWindowTitle(QStringLiteral("Password"));
  setFixedSize(cps::TwipsToPixels(kClientWidth), cps::TwipsToPixels(kClientHeight));

  txtPassword = new cps::TextBox(this);
  txtPassword->setObjectName(QStringLiteral("txtPassword"));
  txtPassword->setEchoMode(QLineEdit::Password);
  txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
  txtPassword->SetMaxLength(kMaxPassword);
  PlaceControl(txtPassword, {360, 1080, 2415, 405}, 12);

  cmdPassOk = new cps::CommandButton(QStringLiteral("&OK"), this);
  cmdPassOk->setDefault(true);
  PlaceControl(cmdPassOk, {240, 1680, 1095, 375}, 9.75);
  cmdPassCancel = new cps::CommandButton(QStringLiteral("&Cancel"), this);
  PlaceControl(cmdPassCancel, {1680, 1680, 1095, 375}, 9.75);
  Label1 = new cps::Label(QLatin1String(kCodeplugProtectedText), this);
  PlaceControl(Label1, {360, 240, 3015, 255}, 9.75);
  lblPassWord = new cps::Label(QLatin1String(kEnterPasswordText), this);
  PlaceControl(lblPassWord, {360, 600, 3015, 255}, 9);

  setTabOrder(txtPassword, cmdPassOk);
  setTabOrder(cmdPassOk, cmdPassCancel);
  connect(cmdPassOk, &cps::CommandButton::Click, this, &FrmPasswordW::cmdPassOk_Click);
  connect(cmdPassCancel, &cps::CommandButton::Click, this, &FrmPasswordW::cmdPassCancel_Click);
  connect(txtPassword, &cps::TextBox::KeyDown, this, [this](int& keyCode, int /*shift*/) {
    if (keyCode != cps::kKeyReturn) return;
    keyCode = 0;
    cmdPassOk->Press();
  });
}

FrmPasswordW::~FrmPasswordW() = default;

void FrmPasswordW::cmdPassOk_Click() {
  txtPassword->SetMaxLength(kMaxPassword);
  SetProgramWriteEnabled(true);
  if (txtPassword->Text() == RadioPassword) {
    UnloadFrmPasswordW();
    SetProgramWriteEnabled(false);
    EnableMainWrite();
    RadioPasswordAccepted = true;
    return;
  }
  Label1->SetCaption(QLatin1String(kInvalidPasswordText));
  lblPassWord->SetCaption(QLatin1String(kEnterCorrectPasswordText));
  txtPassword->SetText(QString());
  if (PasswordAttempts < kTriesBeforeLast) {
    SetProgramWriteEnabled(false);
    ++PasswordAttempts;
    return;
  }
  PasswordAttempts = 0;
  UnloadFrmPasswordW();
  cps::MsgBox(LockedOutText(), cps::msgbox::OKOnly, QStringLiteral("Password"));
  if (FrmProgram* program = ProgramWindow()) {
    program->SetProgressValue(0);
    program->lblProgram->SetCaption(QLatin1String(kPasswordErrorText));
    program->cmdWrite->SetEnabled(true);
    program->cmdWrite->SetFocus();
  }
}

void FrmPasswordW::cmdPassCancel_Click() {
  txtPassword->SetText(QString());
  PasswordAttempts = 0;
  UnloadFrmPasswordW();
}

void FrmPasswordW::Form_Unload() {
  txtPassword->SetText(QString());
  PasswordAttempts = 0;
  if (FrmProgram* program = ProgramWindow()) {
    program->setEnabled(true);
    program->SetProgressValue(0);
    program->cmdWrite->SetEnabled(true);
    program->cmdWrite->SetFocus();
  }
}

void FrmPasswordW::closeEvent(QCloseEvent* event) {
  if (g_prompt.Holds(this)) UnloadFrmPasswordW();
  event->accept();
}

void ShowRadioPasswordPrompt() {
  FrmPasswordW& prompt = frmPasswordW();
  // Owned by the window it disables, so that it stays in front of it.
  QWidget* owner = ProgramWindow();
  if (owner == nullptr && IsMDIFormMainLoaded()) owner = &MDIFormMain();
  cps::ShowOwned(prompt, owner);
  if (FrmProgram* program = ProgramWindow()) program->setEnabled(false);
  prompt.txtPassword->SetFocus();
}

FrmPasswordW& frmPasswordW() { return g_prompt.Get(); }

bool IsFrmPasswordWLoaded() { return g_prompt.IsLoaded(); }

void UnloadFrmPasswordW() { g_prompt.Unload(); }

void DestroyFrmPasswordWForTests() { g_prompt.Destroy(); }
