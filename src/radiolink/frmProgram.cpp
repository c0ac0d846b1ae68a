#include "radiolink/frmProgram.h"

#include <QCloseEvent>
#include <QFont>
#include <QProgressBar>
#include <QShortcut>
#include <QWindow>

#include "channels/frmChannelToneOption.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/Colours.h"
#include "platform/CommandButton.h"
#include "platform/FormInstance.h"
#include "platform/KeyCodes.h"
#include "platform/Label.h"
#include "platform/StatusBar.h"
#include "platform/TextConv.h"
#include "radiolink/CommLink.h"
#include "radiolink/frmPasswordW.h"
#include "shell/MDIFormMain.h"

namespace {

cps::FormInstance<FrmProgram> g_program;

constexpr int kClientWidth = 7200;
constexpr int kClientHeight = 4200;
constexpr int kHintPanel = 1;

struct Place {
  int left, top, width, height;
};

template <class Control>
void PlaceControl(Control* control, const Place& place, double points, bool bold) {
  control->Move(place.left, place.top, place.width, place.height);
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(points);
  font.setBold(bold);
  control->setFont(font);
}

void ShowHint(const char* text) {
  if (IsFrmMainLoaded()) frmMain().sbStatusBar->SetPanelText(kHintPanel, QLatin1String(text));
}

void EnableMainWindow() {
  if (IsMDIFormMainLoaded()) MDIFormMain().setEnabled(true);
}

}  // namespace

QString ProgramInstructions(bool read) {
  const QStringList lines = {
      read ? QStringLiteral("  To read codeplug data from radio:")
           : QStringLiteral("  To write codeplug data to radio:"),
      QString(),
      QStringLiteral("  1. Turn off radio."),
      QStringLiteral("  2. Connect programming cable to radio."),
      QStringLiteral("  3. Press and hold Programmable Button 1 while turning on radio."),
      QStringLiteral("  4. Radio will beep once. Release Programmable Button 1."),
      QStringLiteral("      ORANGE LED will be shown on radio."),
      read ? QStringLiteral("  5. Click Read button on CPS.")
           : QStringLiteral("  5. Click Write button on CPS."),
      QStringLiteral(
          "  6. CPS will show reading progress bar. Once completed, it will close by itself."),
  };
  return lines.join(QStringLiteral("\r\n"));
}

FrmProgram::FrmProgram()
    : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("frmProgram"));
  setWindowTitle(QStringLiteral("Program"));
  setFixedSize(cps::TwipsToPixels(kClientWidth), cps::TwipsToPixels(kClientHeight));

  lblProgramHelp = new cps::Label(this);
  PlaceControl(lblProgramHelp, {120, 240, 6915, 2295}, 9.75, false);
  lblProgramHelp->SetBackColor(cps::kColourWindowBackground);
  lblProgramHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblProgram = new cps::Label(this);
  PlaceControl(lblProgram, {120, 2760, 6780, 240}, 9.75, true);
  pgrProgram = new QProgressBar(this);
  pgrProgram->setGeometry(cps::TwipsToPixels(120), cps::TwipsToPixels(3120),
                          cps::TwipsToPixels(6930), cps::TwipsToPixels(255));
  pgrProgram->setRange(0, layout::kImageSize);
  pgrProgram->setValue(0);
  pgrProgram->setTextVisible(false);

  lblGreenLED = new cps::Label(this);
  PlaceControl(lblGreenLED, {120, 3600, 150, 375}, 9, false);
  lblGreenLED->SetBackColor(kGreenLedPale);
  lblGreenLED->SetVisible(false);
  lblRedLED = new cps::Label(this);
  PlaceControl(lblRedLED, {120, 3600, 150, 375}, 9, false);
  lblRedLED->SetBackColor(kRedLedPale);
  lblRedLED->SetVisible(false);

  cmdRead = new cps::CommandButton(QStringLiteral("Read"), this);
  PlaceControl(cmdRead, {360, 3600, 1575, 375}, 9.75, true);
  cmdRead->SetVisible(false);
  cmdWrite = new cps::CommandButton(QStringLiteral("Write"), this);
  PlaceControl(cmdWrite, {360, 3600, 1575, 375}, 9.75, true);
  cmdWrite->SetVisible(false);
  cmdClose = new cps::CommandButton(QStringLiteral("&Cancel"), this);
  PlaceControl(cmdClose, {5470, 3600, 1575, 375}, 9.75, true);

  connect(cmdRead, &cps::CommandButton::Click, this, &FrmProgram::cmdRead_Click);
  connect(cmdWrite, &cps::CommandButton::Click, this, &FrmProgram::cmdWrite_Click);
  connect(cmdClose, &cps::CommandButton::Click, this, &FrmProgram::cmdClose_Click);
  connect(cmdRead, &cps::CommandButton::KeyDown, this, &FrmProgram::cmdRead_KeyDown);
  connect(cmdWrite, &cps::CommandButton::KeyDown, this, &FrmProgram::cmdWrite_KeyDown);
  connect(cmdRead, &cps::CommandButton::MouseMove, this, [] { ShowHint(kReadHintText); });
  connect(cmdWrite, &cps::CommandButton::MouseMove, this, [] { ShowHint(kWriteHintText); });
  connect(cmdClose, &cps::CommandButton::MouseMove, this, [] { ShowHint(kCloseHintText); });

  escDuringTransfer_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escDuringTransfer_->setContext(Qt::WindowShortcut);
  escDuringTransfer_->setEnabled(false);
  connect(escDuringTransfer_, &QShortcut::activated, this, [this] {
    int keyCode = cps::kKeyEscape;
    if (cmdRead->Visible()) {
      cmdRead_KeyDown(keyCode, 0);
    } else {
      cmdWrite_KeyDown(keyCode, 0);
    }
  });

  SetProgramLeds(this);
}

FrmProgram::~FrmProgram() {
  if (GetProgramLeds() == this) SetProgramLeds(nullptr);
}

void FrmProgram::SetGreenBackColor(uint32_t colour) { lblGreenLED->SetBackColor(colour); }
void FrmProgram::SetRedBackColor(uint32_t colour) { lblRedLED->SetBackColor(colour); }

int FrmProgram::ProgressValue() const { return pgrProgram->value(); }
void FrmProgram::SetProgressValue(int value) { pgrProgram->setValue(value); }

// A transfer runs inside a button handler and yields to the event loop; the window may be
// unloaded meanwhile, so it is deleted only when the transfer has returned.
template <class Transfer>
void FrmProgram::RunTransfer(Transfer transfer) {
  ++running_;
  escDuringTransfer_->setEnabled(true);
  transfer(*this);
  --running_;
  escDuringTransfer_->setEnabled(running_ > 0);
  if (running_ == 0 && deleteWhenIdle_) deleteLater();
}

void FrmProgram::cmdRead_Click() { RunTransfer(RunRadioRead); }
void FrmProgram::cmdWrite_Click() { RunTransfer(RunRadioWrite); }

void FrmProgram::AbortByEsc(cps::Label* led, uint32_t paleColour) {
  ForceLinkTimeouts();
  SetProgressValue(0);
  if (IsFrmMainLoaded()) frmMain().setEnabled(true);
  led->SetBackColor(paleColour);
  UnloadFrmProgram();
}

void FrmProgram::cmdRead_KeyDown(int& keyCode, int /*shift*/) {
  if (keyCode == cps::kKeyEscape) AbortByEsc(lblGreenLED, kGreenLedPale);
}

void FrmProgram::cmdWrite_KeyDown(int& keyCode, int /*shift*/) {
  if (keyCode == cps::kKeyEscape) AbortByEsc(lblRedLED, kRedLedPale);
}

void FrmProgram::cmdClose_Click() {
  RxCountdown = 0;
  PasswordAttempts = 0;
  EnableMainWindow();
  StopHandshakeTimeout();
  if (IsFrmMainLoaded()) frmMain().SetFocus();
  UnloadFrmProgram();
}

void FrmProgram::Form_Unload() {
  unloaded_ = true;
  TransferAborted = true;
  HandshakeTimedOut = true;
  ReplyTimedOut = true;
  CodeplugLoading = false;
  HandshakeTimerRunning = false;
  ReplyTimerRunning = false;
  SetProgressValue(0);
  lblGreenLED->SetBackColor(kGreenLedPale);
  lblRedLED->SetBackColor(kRedLedPale);
  EnableMainWindow();
  ReadMode = false;
  UnloadFrmChannelToneOption();
  UnloadFrmPasswordW();
}

void FrmProgram::closeEvent(QCloseEvent* event) {
  if (g_program.Holds(this)) UnloadFrmProgram();
  event->accept();
}

FrmProgram& frmProgram() {
  return g_program.Get([](FrmProgram&) {
    SetProgramWindowHooks([] { return IsFrmProgramVisible(); }, [] { UnloadFrmProgram(); });
  });
}

bool IsFrmProgramLoaded() { return g_program.IsLoaded(); }
bool IsFrmProgramVisible() { return g_program.IsVisible(); }

void UnloadFrmProgram() {
  FrmProgram* program = g_program.Release();
  if (!program) return;
  SetProgramWindowHooks({}, {});
  program->Form_Unload();
  program->hide();
  // The editor's timer no longer blinks this window's labels.
  if (GetProgramLeds() == program) SetProgramLeds(nullptr);
  if (program->running_ > 0) {
    program->deleteWhenIdle_ = true;
  } else {
    program->deleteLater();
  }
}

void DestroyFrmProgramForTests() {
  if (!g_program.IsLoaded()) return;
  SetProgramWindowHooks({}, {});
  g_program.Destroy();
}
