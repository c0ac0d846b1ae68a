// The radio read: wake-up and identity, read request and region code, then 48 blocks of 8
// bytes, each checked by its sum byte and acknowledged; the received image then goes into the
// editor through the radio-read fill chain.
#include <QAction>
#include <QProgressBar>

#include "editor/FillChain.h"
#include "editor/frmMain.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/Colours.h"
#include "platform/CommandButton.h"
#include "platform/FlexGrid.h"
#include "platform/Label.h"
#include "platform/Runtime.h"
#include "platform/TextBox.h"
#include "radiolink/CommLink.h"
#include "radiolink/LinkFrames.h"
#include "radiolink/TransferSteps.h"
#include "radiolink/frmProgram.h"
#include "shell/MDIFormMain.h"
#include "shell/frmProtection.h"

namespace {

constexpr int kSaveButton = 2;
constexpr int kWriteButton = 4;
constexpr int kMaxBlockRetries = 3;  // at most four bad copies of a block
constexpr int kMaxCopiesOnNoisyLine = 16;
constexpr WakeUpRules kReadWakeUp{0, true};

class RadioRead {
 public:
  explicit RadioRead(FrmProgram& form) : form_(form) {}

  void Run() {
    OpenCommPort();
    StrayBytes = 0;
    form_.cmdRead->SetEnabled(false);
    StartHandshakeTimeout();
    const char* failure = TakeIdentity();
    if (failure == nullptr) {
      failure = RequestAccess(form_, frames::kReadRequest, kRxCountdownPasses, 0, true);
    }
    if (failure == nullptr) failure = TakeFirstBlock();
    if (failure != nullptr) return ErrorExit(failure);
    ReceiveBlocks();
    Complete();
  }

 private:
  // The wake-up and the radio's identity frame. The identity and the layout are only held here:
  // they reach the open codeplug together with the data, so that a read that fails leaves it as
  // it was.
  const char* TakeIdentity() {
    int retries = 0;
    switch (WakeUpAndIdentify(form_, kReadWakeUp, retries)) {
      case Handshake::Failed:
        return kCheckModeText;
      case Handshake::Legacy:
        legacy_ = true;
        return nullptr;
      case Handshake::Identity:
        legacy_ = false;
        for (int i = 0; i < frames::kIdentityBytes; ++i) {
          identity_[i] = RadioImage[layout::kIdentBlock + i];
        }
        return nullptr;
    }
    return kCheckModeText;
  }

  // Block 0 comes with the reply to the first block request; then the green LED blinks.
  const char* TakeFirstBlock() {
    if (!RequestFirstBlock()) {
      // An answer without its 'O' whose rest is still coming was noise before the radio's
      // frame: the block loop asks for block 0 again.
      if (CommError || PurgeLine(frames::kFirstBlockFrameSize) == 0 || CommError) {
        return kCheckVersionText;
      }
      firstCopyNoisy_ = true;
    }
    form_.lblProgram->SetCaption(QLatin1String(kReadWaitText));
    StartGreenLedBlink();
    return nullptr;
  }

  // Every block checked by its sum byte and acknowledged, or asked for again ('F'), up to three
  // times in a row after a bad copy; CommError tells how the blocks went. A copy is taken only when
  // it is exactly the radio's frame: one that came with noise (a stray byte, more bytes than the
  // frame, a byte in the pause before the acknowledgement) is a bad copy, and the line goes quiet
  // before the PC asks again. Once the line has shown noise, a sum byte of 8 bits no longer tells
  // the radio's frame from noise that matched it by chance: a block is then taken only when two
  // good copies agree, and the block taken just before the first noise must not be explained by
  // it.
  void ReceiveBlocks() {
    int badCopies = 0;
    int copies = 0;
    int stored = 0;
    bool firstPass = true;
    bool noisy = false;
    QByteArray held;   // a good copy of this block, waiting for a second one to agree
    QByteArray acked;  // the copy of the block before, as it was acknowledged
    for (int b = 0; b < layout::kDataBlockCount;) {
      int first = 1;  // block 0 comes inside the reply to 0x0B, after its 'O'
      int frameSize = frames::kFirstBlockFrameSize;
      const bool purged = firstPass && firstCopyNoisy_;
      if (!firstPass) {
        ReceiveBlock9();
        if (CommError) break;
        first = 0;
        frameSize = frames::kBlockFrameSize;
      }
      firstPass = false;
      ++copies;
      for (int j = 0; j < layout::kBlockSize; ++j) {
        const int at = first + j;
        RadioImage[frames::BlockAddress(b) + j] = at < RxBuffer.size() ? uint8_t(RxBuffer[at]) : 0;
        form_.SetProgressValue(++stored);
      }
      const QByteArray copy = RxBuffer.mid(first, layout::kBlockSize + 1);
      bool clean = false;
      if (!purged && IsGoodCopy(first, clean)) {
        badCopies = 0;
        if (!noisy || copy == held) {
          copies = 0;
          held.clear();
          acked = copy;
          StartReceiveTrace();
          SendCommandByte(frames::kOk);
          if (CommError) break;
          ++b;
          continue;
        }
        held = copy;
      } else {
        // Noise with the copy, or more of a frame still on its way behind it: a noisy line.
        const bool noise = purged || PurgeLine(frameSize) > 0 || !clean;
        if (CommError) break;
        // The first noise, right after a block was acknowledged, may be the rest of that block's
        // frame, whose head came after noise that made up a matching sum byte by chance.
        if (noise && !noisy && copies == 1 && b > 0 &&
            frames::AckedFrameMayBeNoise(acked, ReceiveTrace())) {
          CommError = true;
          break;
        }
        noisy = noisy || noise;
        ++badCopies;
      }
      SendCommandByte(frames::kNotReady);
      if (CommError) break;
      if (badCopies > kMaxBlockRetries || copies == kMaxCopiesOnNoisyLine) {
        CommError = true;
        break;
      }
      stored -= layout::kBlockSize;
      form_.SetProgressValue(stored);
    }
    StopLedBlink();
  }

  // The copy just taken came alone on a clean line, its sum byte matches, and nothing followed
  // it in the pause before the answer. clean tells whether the line stayed clean as far as the
  // copy was looked at.
  bool IsGoodCopy(int first, bool& clean) {
    clean = LineClean();
    if (!clean || !frames::FrameSumMatches(RxBuffer, first, layout::kBlockSize)) return false;
    cps::Sleep(2);
    clean = LineClean();
    return clean;
  }

  // A read that failed or was cancelled only says so in the window: it changes nothing of the
  // open codeplug or the editor, so a save or write after it gives what was there before.
  void Complete() {
    if (CommError) {
      form_.lblProgram->SetForeColor(cps::kColourWindowText);
      form_.lblProgram->SetCaption(QLatin1String(kCommErrorText));
      return;
    }
    ShowReadImage();
    DataModified = true;
    CodeplugImage[layout::kSerialWriteGate] = 0;
    // The editor is gone when the program closed during the read.
    if (!IsFrmMainLoaded()) return;
    frmMain().txtSerial->SetEnabled(false);
    frmMain().fgChannel->SetAppearance(cps::kAppearance3D);
  }

  void ShowReadImage() {
    for (int a = 0; a < layout::kDataBlockBytes; ++a) CodeplugImage[a] = RadioImage[a];
    if (!legacy_) {
      for (int i = 0; i < frames::kIdentityBytes; ++i) {
        CodeplugImage[layout::kIdentBlock + i] = identity_[i];
      }
    }
    LegacyLayout = legacy_;
    form_.lblProgram->SetCaption(QLatin1String(kReadDoneText));
    StopHandshakeTimeout();
    UnloadFrmProgram();
    if (!IsFrmMainLoaded() || !IsMDIFormMainLoaded()) return;
    FrmMain& editor = frmMain();
    // The box shows the password of the codeplug just read: none until its prompt accepts it.
    editor.txtPassword->SetText(QString());
    editor.show();
    MdiFormMain& main = MDIFormMain();
    main.mnuFileSave->setEnabled(true);
    main.tbToolBarButton(kSaveButton)->setEnabled(true);
    if (FillRadioReadChain() == LoadOutcome::PasswordRequired) {
      main.mnuWrite->setEnabled(false);
      main.tbToolBarButton(kWriteButton)->setEnabled(false);
      ShowCodeplugPasswordPrompt();
    }
    form_.lblGreenLED->SetBackColor(kGreenLedPale);
    CodeplugLoading = false;
    editor.SetFocus();
  }

  void ErrorExit(const char* message) {
    form_.lblProgram->SetCaption(QLatin1String(message));
    form_.lblGreenLED->SetBackColor(kGreenLedPale);
    form_.cmdClose->SetFocus();
  }

  FrmProgram& form_;
  bool firstCopyNoisy_ = false;  // block 0's first copy was noise, and the line was purged
  bool legacy_ = false;
  std::array<uint8_t, frames::kIdentityBytes> identity_{};
};

}  // namespace

void RunRadioRead(FrmProgram& form) { RadioRead(form).Run(); }
