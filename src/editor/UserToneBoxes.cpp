// The six user tone boxes: txtTKS_RxFrequency(0..2) and txtTKS_TxFrequency(0..2). A box's text
// is the working copy of its user tone; the image follows it only through the encoders, at
// Enter and when the box loses the focus. Both arrays behave alike; only the encoder differs.
#include <QList>
#include <QPointer>
#include <QRegularExpression>
#include <functional>
#include <utility>

#include "editor/frmMain.h"
#include "model/ModuleState.h"
#include "model/UserTones.h"
#include "platform/AppSettings.h"
#include "platform/Colours.h"
#include "platform/Dialogs.h"
#include "platform/KeyCodes.h"
#include "platform/TabControl.h"
#include "platform/TextBox.h"
#include "platform/TextConv.h"
#include "shell/MDIFormMain.h"
#include "shell/frmAbout.h"

namespace {

const char kInvalidFrequency[] = "Invalid Frequency";
constexpr uint32_t kFocusColour = 0xC0FFFF;
constexpr int kMaxToneTextLength = 5;
constexpr int kSettingsTab = 0;
constexpr int kChannelTab = 1;

using ToneBoxes = std::array<cps::TextBox*, usertone::kCount>;
using ToneEncoder = ToneEncodeResult (*)(ByteImage&, int, const UserToneBoxTexts&);

std::function<bool()> g_previewVisible;
std::function<bool()> g_programVisible;
std::function<void()> g_unloadProgram;

// A refusal is sending the focus back to its box: the box that loses the focus on the way is
// not checked, or two boxes holding refused values would pull the focus back and forth forever.
bool g_returningFocus = false;
// A user tone message is on screen: the focus it takes is no focus loss of a box.
bool g_messageOpen = false;
// Boxes whose check waits for a change of tab or a mouse press to finish. The focus may leave a
// box twice on the way (the click, then the page change); it is checked once.
QList<QPointer<cps::TextBox>> g_checksWaiting;

// Plain decimal numbers with at most one point, blanks around them allowed. Anything that passes
// still goes through the encoder's 67..255 check.
bool IsNumberText(const QString& text) {
  static const QRegularExpression kNumber(QStringLiteral("^ *([0-9]+\\.?[0-9]*|\\.[0-9]+) *$"));
  return kNumber.match(text).hasMatch();
}

// Digits, the point, and the codes 1..32 (control keys such as Backspace, Enter, Ctrl+V, and
// the blank).
bool IsToneCharacter(int code) {
  return (code >= '0' && code <= '9') || code == cps::kAsciiPoint || (code >= 1 && code <= 32);
}

bool IsZeroesLeftUnformatted(const QString& text) {
  return text == QLatin1String("0") || text == QLatin1String("00") || text == QLatin1String("000");
}

// The messages appear only while the main window shows and neither the print preview nor the
// about window does; the rest of a refusal happens regardless.
bool ToneMessagesAllowed() {
  const bool mainShown = IsMDIFormMainLoaded() && MDIFormMain().isVisible();
  const bool aboutShown = IsFrmAboutLoaded() && frmAbout().isVisible();
  const bool previewShown = g_previewVisible && g_previewVisible();
  return mainShown && !aboutShown && !previewShown;
}

void ShowToneMessage() {
  const bool wasOpen = std::exchange(g_messageOpen, true);
  cps::MsgBox(QString::fromLatin1(kInvalidFrequency), cps::msgbox::OKOnly,
              QString::fromLatin1(cps::kAppTitle));
  g_messageOpen = wasOpen;
}

void ReturnFocus(cps::TextBox* box) {
  const bool wasReturning = std::exchange(g_returningFocus, true);
  box->SetFocus();
  g_returningFocus = wasReturning;
}

void ShowSettingsTab(FrmMain& form) {
  if (form.sstMain->Tab() == kChannelTab) form.sstMain->SetTab(kSettingsTab);
}

UserToneBoxTexts BoxTexts(const ToneBoxes& boxes) {
  UserToneBoxTexts texts;
  for (int k = 0; k < usertone::kCount; ++k) texts[k] = boxes[k]->Text();
  return texts;
}

// Runs the box's encoder; a refused value is reported (when messages may show), the settings tab
// brought forward, the focus sent back, and the box emptied.
void EncodeToneBox(FrmMain& form, const ToneBoxes& boxes, int index, ToneEncoder encoder) {
  if (encoder(CodeplugImage, index, BoxTexts(boxes)) == ToneEncodeResult::Stored) return;
  cps::TextBox* box = boxes[index];
  if (ToneMessagesAllowed()) {
    ShowToneMessage();
    ShowSettingsTab(form);
    ReturnFocus(box);
  }
  box->SetText(QString());
}

void ToneBoxChange(cps::TextBox* box) {
  const QString text = box->Text();
  if (text.isEmpty()) return;
  if (!IsNumberText(text) || cps::NumericPrefix(text) > usertone::kHighestHz ||
      text == QLatin1String("0000")) {
    ShowToneMessage();
    box->SetText(QString());
  }
}

void ToneBoxKeyPress(int& keyAscii) {
  if (IsToneCharacter(keyAscii)) return;
  ShowToneMessage();
  keyAscii = 0;
}

void ToneBoxKeyDown(FrmMain& form, const ToneBoxes& boxes, int index, int keyCode,
                    ToneEncoder encoder) {
  DataModified = true;
  cps::TextBox* box = boxes[index];
  box->SetMaxLength(kMaxToneTextLength);
  if (keyCode != cps::kKeyReturn) return;
  const QString text = box->Text();
  if (!IsZeroesLeftUnformatted(text) && IsNumberText(text)) {
    box->SetText(cps::FormatTone(cps::NumericPrefix(text)));
  }
  EncodeToneBox(form, boxes, index, encoder);
}

// Checks a box the user has left: formats and encodes a number, and sends the focus back to a
// box left empty or with a refused value.
void CheckLeftToneBox(FrmMain& form, const ToneBoxes& boxes, int index, ToneEncoder encoder) {
  cps::TextBox* box = boxes[index];
  const QString text = box->Text();
  if (IsNumberText(text)) {
    box->SetText(cps::FormatTone(cps::NumericPrefix(text)));
    EncodeToneBox(form, boxes, index, encoder);
    const double value = cps::NumericPrefix(box->Text());
    if (value < usertone::kLowestHz || value > usertone::kHighestHz) {
      ReturnFocus(box);
      return;
    }
  }

  if (box->Text().isEmpty() && ToneMessagesAllowed()) {
    if (!ReadMode) {
      if (g_programVisible && g_programVisible() && g_unloadProgram) g_unloadProgram();
      ShowToneMessage();
      ShowSettingsTab(form);
    }
    // Coloured before the focus returns, so the box shows the focus colour again.
    box->SetBackColor(cps::kColourWindowBackground);
    ReturnFocus(box);
    return;
  }
  box->SetBackColor(cps::kColourWindowBackground);
}

void ToneBoxLostFocus(FrmMain& form, const ToneBoxes& boxes, int index, ToneEncoder encoder) {
  if (g_messageOpen) return;
  if (g_returningFocus) {
    boxes[index]->SetBackColor(cps::kColourWindowBackground);
    return;
  }
  if (boxes[index]->isVisible() && !boxes[index]->FocusTakenByMouse()) {
    CheckLeftToneBox(form, boxes, index, encoder);
    return;
  }
  // The box's page is being hidden by a change of tab, or a mouse press took the focus and has
  // yet to do its work (a click on the other tab shows that tab). The box is checked once the
  // change is done, so that a refusal can bring the settings tab back.
  if (g_checksWaiting.contains(boxes[index])) return;
  g_checksWaiting.append(boxes[index]);
  QMetaObject::invokeMethod(
      &form,
      [&form, &boxes, index, encoder] {
        g_checksWaiting.removeAll(boxes[index]);
        CheckLeftToneBox(form, boxes, index, encoder);
      },
      Qt::QueuedConnection);
}

}  // namespace

void SetPreviewVisibleHook(std::function<bool()> isVisible) {
  g_previewVisible = std::move(isVisible);
}

void EncodeTxToneFrequency(int k) {
  FrmMain& form = frmMain();
  EncodeToneBox(form, form.txtTKS_TxFrequency, k, &EncodeTxToneFrequency);
}

void EncodeRxToneFrequency(int k) {
  FrmMain& form = frmMain();
  EncodeToneBox(form, form.txtTKS_RxFrequency, k, &EncodeRxToneFrequency);
}

void SetProgramWindowHooks(std::function<bool()> isVisible, std::function<void()> unload) {
  g_programVisible = std::move(isVisible);
  g_unloadProgram = std::move(unload);
}

void FrmMain::ConnectUserToneHandlers() {
  for (int k = 0; k < usertone::kCount; ++k) {
    cps::TextBox* rx = txtTKS_RxFrequency[k];
    connect(rx, &cps::TextBox::Change, this, [this, k] { txtTKS_RxFrequency_Change(k); });
    connect(rx, &cps::TextBox::GotFocus, this, [this, k] { txtTKS_RxFrequency_GotFocus(k); });
    connect(rx, &cps::TextBox::KeyDown, this,
            [this, k](int& keyCode, int shift) { txtTKS_RxFrequency_KeyDown(k, keyCode, shift); });
    connect(rx, &cps::TextBox::KeyPress, this,
            [this, k](int& keyAscii) { txtTKS_RxFrequency_KeyPress(k, keyAscii); });
    connect(rx, &cps::TextBox::LostFocus, this, [this, k] { txtTKS_RxFrequency_LostFocus(k); });

    cps::TextBox* tx = txtTKS_TxFrequency[k];
    connect(tx, &cps::TextBox::Change, this, [this, k] { txtTKS_TxFrequency_Change(k); });
    connect(tx, &cps::TextBox::GotFocus, this, [this, k] { txtTKS_TxFrequency_GotFocus(k); });
    connect(tx, &cps::TextBox::KeyDown, this,
            [this, k](int& keyCode, int shift) { txtTKS_TxFrequency_KeyDown(k, keyCode, shift); });
    connect(tx, &cps::TextBox::KeyPress, this,
            [this, k](int& keyAscii) { txtTKS_TxFrequency_KeyPress(k, keyAscii); });
    connect(tx, &cps::TextBox::LostFocus, this, [this, k] { txtTKS_TxFrequency_LostFocus(k); });
  }
}

// --- Receive boxes ---------------------------------------------------------------------------

void FrmMain::txtTKS_RxFrequency_Change(int index) { ToneBoxChange(txtTKS_RxFrequency[index]); }

void FrmMain::txtTKS_RxFrequency_GotFocus(int index) {
  txtTKS_RxFrequency[index]->SetBackColor(kFocusColour);
}

void FrmMain::txtTKS_RxFrequency_KeyDown(int index, int& keyCode, int /*shift*/) {
  ToneBoxKeyDown(*this, txtTKS_RxFrequency, index, keyCode, EncodeRxToneFrequency);
}

void FrmMain::txtTKS_RxFrequency_KeyPress(int /*index*/, int& keyAscii) {
  ToneBoxKeyPress(keyAscii);
}

void FrmMain::txtTKS_RxFrequency_LostFocus(int index) {
  ToneBoxLostFocus(*this, txtTKS_RxFrequency, index, EncodeRxToneFrequency);
}

// --- Transmit boxes --------------------------------------------------------------------------

void FrmMain::txtTKS_TxFrequency_Change(int index) { ToneBoxChange(txtTKS_TxFrequency[index]); }

void FrmMain::txtTKS_TxFrequency_GotFocus(int index) {
  txtTKS_TxFrequency[index]->SetBackColor(kFocusColour);
}

void FrmMain::txtTKS_TxFrequency_KeyDown(int index, int& keyCode, int /*shift*/) {
  ToneBoxKeyDown(*this, txtTKS_TxFrequency, index, keyCode, EncodeTxToneFrequency);
}

void FrmMain::txtTKS_TxFrequency_KeyPress(int /*index*/, int& keyAscii) {
  ToneBoxKeyPress(keyAscii);
}

void FrmMain::txtTKS_TxFrequency_LostFocus(int index) {
  ToneBoxLostFocus(*this, txtTKS_TxFrequency, index, EncodeTxToneFrequency);
}
