// The radio read: wake-up and identity, read request and region code, then 48 blocks of 8
// bytes, each checked by its sum byte and acknowledged; the received image then goes into the
// editor through the radio-read fill chain.
#include <QAction>
#include <QProgressBar>
#include <utility>

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

using answertiming::Exchange;
using answertiming::Verdict;

constexpr int kSaveButton = 2;
constexpr int kWriteButton = 4;
constexpr int kMaxBlockRetries = 3;  // at most four bad copies of a block
constexpr int kMaxCopiesOnNoisyLine = 16;
// The identity need not be heard out: noise after it shows in the answer to the read request,
// and the wake-up starts over.
constexpr WakeUpRules kReadWakeUp{0, true, false};

// What the read does with one copy of a block.
enum class CopyVerdict {
  Take,       // the radio's frame: acknowledge it
  Hold,       // a good copy on a line that has shown noise: ask for a second one to agree
  BadSum,     // the radio's own frame with a bad sum byte: ask for it again
  Noise,      // noise with the copy or after it: let the line go quiet, then ask again
  OutOfStep,  // bytes that may be the rest of the block acknowledged last, or the radio's own
              // frame for it: the read can no longer tell which block it took
};

class RadioRead {
 public:
  explicit RadioRead(FrmProgram& form) : form_(form) {}

  void Run() {
    OpenCommPort();
    StartLineWatch();
    form_.cmdRead->SetEnabled(false);
    StartHandshakeTimeout();
    if (const char* failure = OpenTransfer()) return ErrorExit(failure);
    ReceiveBlocks();
    if (!CommError && !QuietAtTheEnd()) CommError = true;
    Complete();
  }

 private:
  // The wake-up and identity, the read request and block 0's answer. An answer that came with
  // noise cannot be asked for again, since the radio does not answer those requests twice: the
  // wake-up then starts over, as long as the handshake time-out allows.
  const char* OpenTransfer() {
    int retries = 0;
    for (;;) {
      if (const char* failure = TakeIdentity(retries)) return failure;
      const char* refusal = nullptr;
      switch (RequestAccess(form_, frames::kReadRequest, kRxCountdownPasses, 0, refusal)) {
        case Access::Granted:
          break;
        case Access::Refused:
          return refusal;
        case Access::Noisy:
          if (!PurgeLine(frames::kBlockFrameSize)) return kCheckModeText;
          continue;
      }
      firstCopy_ = RequestFirstBlock(Exchange::FirstBlock);
      if (CommError) return kCheckVersionText;
      // Bytes before the answer that may be the rest of the region answer: it decided nothing.
      if (firstCopy_ == Verdict::PreviousSuspect) {
        if (!PurgeLine(frames::kFirstBlockFrameSize)) return kCheckVersionText;
        continue;
      }
      // Noise with the answer is asked for again by the block loop. The radio's own answer must
      // start with its OK: one without it is noise when more follows.
      if (answertiming::IsAlone(firstCopy_) && uint8_t(RxBuffer[0]) != frames::kOk) {
        if (HearOutAnswer() || CommError) return kCheckVersionText;
        firstCopy_ = Verdict::Noisy;
      }
      form_.lblProgram->SetCaption(QLatin1String(kReadWaitText));
      StartGreenLedBlink();
      return nullptr;
    }
  }

  // The wake-up and the radio's identity frame. The identity and the layout are only held here:
  // they reach the open codeplug together with the data, so that a read that fails leaves it as
  // it was.
  const char* TakeIdentity(int& retries) {
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

  // Every block checked by its sum byte and acknowledged, or asked for again ('F'), up to three
  // times in a row after a bad copy; CommError tells how the blocks went.
  void ReceiveBlocks() {
    for (int b = 0; b < layout::kDataBlockCount;) {
      const Verdict heard = ReceiveCopy();
      if (CommError) break;
      const QByteArray copy = StoreCopy(b);
      const CopyVerdict verdict = JudgeCopy(heard, copy);
      if (verdict == CopyVerdict::Take) {
        if (!Acknowledge()) break;
        ++b;
      } else if (!AskForTheBlockAgain(verdict, copy)) {
        break;
      }
    }
    StopLedBlink();
  }

  // The next copy of the block, as it was heard: block 0's first copy came in the answer to
  // 0x0B, after its OK; every other copy, block 0's included, comes in a 9-byte frame.
  Verdict ReceiveCopy() {
    if (std::exchange(firstCopyPending_, false)) return firstCopy_;
    ReceiveBlock9();
    if (CommError) return Verdict::Noisy;
    frameOffset_ = 0;
    frameSize_ = frames::kBlockFrameSize;
    return JudgeAnswer(Exchange::Block, frames::kBlockFrameSize);
  }

  // Stores the copy's data bytes as block b, counting them on the progress bar; returns them with
  // their sum byte.
  QByteArray StoreCopy(int b) {
    ++copies_;
    for (int j = 0; j < layout::kBlockSize; ++j) {
      const int at = frameOffset_ + j;
      RadioImage[frames::BlockAddress(b) + j] = at < RxBuffer.size() ? uint8_t(RxBuffer[at]) : 0;
      form_.SetProgressValue(++stored_);
    }
    return RxBuffer.mid(frameOffset_, layout::kBlockSize + 1);
  }

  // Takes the copy: the radio goes on with the next block. False when the read ends.
  bool Acknowledge() {
    badCopies_ = 0;
    copies_ = 0;
    held_.clear();
    // Two agreeing copies are the radio's whatever follows them. One copy is not confirmed yet:
    // had it been noise, the radio's own frame for the block would still come.
    unconfirmed_ = !noisyLine_;
    takenCopyEnd_ = LastAnswerHeard().arrivals.back();
    SendCommandByte(frames::kOk);
    return !CommError;
  }

  // Asks for the same block again ('F'), once the line has gone quiet where noise came. False
  // when the read ends: out of step, the purge or the request failed, or too many copies.
  bool AskForTheBlockAgain(CopyVerdict verdict, const QByteArray& copy) {
    if (verdict == CopyVerdict::OutOfStep) {
      CommError = true;
      return false;
    }
    if (verdict == CopyVerdict::Hold) {
      badCopies_ = 0;
      held_ = copy;
    } else {
      if (verdict == CopyVerdict::Noise) {
        int discarded = 0;
        if (!PurgeLine(frameSize_, &discarded)) return false;
        // Noise that could have made up a frame: a sum byte no longer tells.
        const int noise = answertiming::BytesBesidesAnswer(LastAnswerHeard()) + discarded;
        noisyLine_ = noisyLine_ || noise >= frames::kBlockFrameSize;
      }
      ++badCopies_;
    }
    SendCommandByte(frames::kNotReady);
    if (CommError) return false;
    if (badCopies_ > kMaxBlockRetries || copies_ == kMaxCopiesOnNoisyLine) {
      CommError = true;
      return false;
    }
    stored_ -= layout::kBlockSize;
    form_.SetProgressValue(stored_);
    return true;
  }

  // A copy is taken only when it is exactly the radio's frame: alone, its sum byte matching, and
  // nothing after it in the pause before the acknowledgement. Once the line has shown noise that
  // could have made up a frame, a sum byte of 8 bits no longer tells the radio's frame from noise
  // that matched it by chance: a block is then taken only when two good copies agree.
  CopyVerdict JudgeCopy(Verdict heard, const QByteArray& copy) {
    if (!answertiming::IsAlone(heard)) return NoiseWithCopy();
    if (!frames::FrameSumMatches(copy, 0, layout::kBlockSize)) return CopyVerdict::BadSum;
    cps::Sleep(2);
    if (!AnswerAlone()) return NoiseWithCopy();
    if (noisyLine_ && copy != held_) return CopyVerdict::Hold;
    return CopyVerdict::Take;
  }

  // Noise came with the copy or after it. The protocol has no addresses: had the block taken last
  // from one copy been noise, the radio's own frame for it may still come, and would be taken for
  // the next block if a purge or a second copy swallowed the difference. So while that block is
  // unconfirmed, bytes that follow its copy end the read (they may be its rest), and the read
  // hears the line out until the radio's own frame would have come. Bytes that could not hold it
  // then cost only an 'F'; the block is confirmed.
  CopyVerdict NoiseWithCopy() {
    if (!unconfirmed_) return CopyVerdict::Noise;
    const std::vector<answertiming::Arrival>& heard = LastAnswerHeard().arrivals;
    // The first copy since the acknowledgement: what comes first may be that block's rest.
    if (copies_ == 1 && !heard.empty() &&
        RadioAnswerTimes().MayFollow(takenCopyEnd_, heard.front())) {
      return CopyVerdict::OutOfStep;
    }
    if (HearOutForMissedFrame(frames::kBlockFrameSize) >= frames::kBlockFrameSize) {
      return CopyVerdict::OutOfStep;
    }
    unconfirmed_ = false;
    return CopyVerdict::Noise;
  }

  // The radio says nothing after the last acknowledgement: a frame now would answer it, the read
  // having been a frame behind the radio, and bytes right after the last copy may be its rest. A
  // stray byte of noise later than that is neither.
  bool QuietAtTheEnd() {
    if (QuietAfterRequest(Exchange::Block, frames::kBlockFrameSize)) return true;
    const answertiming::AnswerHeard& after = HeardSinceAnswer();
    if (CommError || answertiming::BytesOf(after) >= frames::kBlockFrameSize) return false;
    return !(unconfirmed_ && RadioAnswerTimes().MayFollow(takenCopyEnd_, after.arrivals.front()));
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
  Verdict firstCopy_ = Verdict::Noisy;  // how block 0's answer to 0x0B was heard
  bool firstCopyPending_ = true;        // that answer is the block loop's first copy
  int frameOffset_ = 1;                 // where the copy's data start: after the OK of 0x0B's
  int frameSize_ = frames::kFirstBlockFrameSize;
  int copies_ = 0;            // copies of this block so far
  int badCopies_ = 0;         // bad copies of this block in a row
  int stored_ = 0;            // data bytes stored, as the progress bar counts them
  bool noisyLine_ = false;    // noise that could hold a frame came: blocks need two copies
  bool unconfirmed_ = false;  // the block acknowledged last stands on one copy only
  answertiming::Arrival takenCopyEnd_{};  // the last bytes of that copy
  QByteArray held_;  // a good copy of this block, waiting for a second one to agree
  bool legacy_ = false;
  std::array<uint8_t, frames::kIdentityBytes> identity_{};
};

}  // namespace

void RunRadioRead(FrmProgram& form) { RadioRead(form).Run(); }
