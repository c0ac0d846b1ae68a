// The radio read: wake-up and identity, read request and region code, then 48 blocks of 8
// bytes, each checked by its sum byte and acknowledged; the received image then goes into the
// editor through the radio-read fill chain.
#include <QAction>
#include <QProgressBar>
#include <algorithm>
#include <optional>
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
constexpr int kMaxCopiesOnNoisyLine = 16;
// The identity need not be heard out: noise after it shows in the answer to the read request,
// and the wake-up starts over.
constexpr WakeUpRules kReadWakeUp{0, true, false};

// What the read does with one copy of a block.
enum class CopyVerdict {
  Take,       // the radio's frame: acknowledge it
  Hold,       // a good copy on a line that has shown noise: ask for a second one to agree
  BadSum,     // nine bytes alone whose sum byte does not match: the radio's frame changed in
              // flight, or a stray byte just ahead of it, its last byte still on the way (that
              // byte then comes with the next copy, and costs a second 'F'): ask for it again
  Noise,      // noise with the copy or after it: let the line go quiet, then ask again
  OutOfStep,  // bytes that may be the rest of the block acknowledged last, or the radio's own
              // frame for it: the read can no longer tell which block it took
};

// One copy of a block as it was heard: block 0's first copy came in the answer to 0x0B, after its
// OK; every other copy, block 0's included, comes in a 9-byte frame.
struct Copy {
  JudgedAnswer answer;
  int offset;      // where its data start in RxBuffer
  int frameBytes;  // the frame it came in
  Verdict heard() const { return answer.Verdict(); }
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
      JudgedAnswer identity;
      if (const char* failure = TakeIdentity(retries, identity)) return failure;
      const char* refusal = nullptr;
      JudgedAnswer access;
      switch (RequestAccess(form_, frames::kReadRequest, kRxCountdownPasses, 0, refusal, access)) {
        case Access::Granted:
          identity.Take();  // the answer after it came alone, in its time
          break;
        case Access::Refused:
          return refusal;
        case Access::Noisy:
          if (!PurgeLine(frames::kBlockFrameSize)) return kCheckModeText;
          continue;
      }
      JudgedAnswer first = RequestFirstBlock(Exchange::FirstBlock);
      if (CommError) return kCheckVersionText;
      // Bytes before the answer that may be the rest of the region answer: it decided nothing.
      if (first.Verdict() == Verdict::Unasked) {
        if (!PurgeLine(frames::kFirstBlockFrameSize)) return kCheckVersionText;
        continue;
      }
      access.Take();  // nothing came before the radio can have heard 0x0B
      // Noise with the answer is asked for again by the block loop. The radio's own answer must
      // start with its OK: one without it is noise when more follows.
      if (answertiming::IsAlone(first.Verdict()) && uint8_t(RxBuffer[0]) != frames::kOk) {
        if (HearOutAnswer() || CommError) return kCheckVersionText;
        first = JudgedAnswer{};  // noise: nothing of it is taken
      }
      firstCopy_ = std::move(first);
      form_.lblProgram->SetCaption(QLatin1String(kReadWaitText));
      StartGreenLedBlink();
      return nullptr;
    }
  }

  // The wake-up and the radio's identity frame. The identity and the layout are only held here:
  // they reach the open codeplug together with the data, so that a read that fails leaves it as
  // it was.
  const char* TakeIdentity(int& retries, JudgedAnswer& identity) {
    switch (WakeUpAndIdentify(form_, kReadWakeUp, retries, identity)) {
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
      Copy copy = ReceiveCopy();
      if (CommError) break;
      const QByteArray bytes = StoreCopy(b, copy);
      const CopyVerdict verdict = JudgeCopy(copy, bytes);
      if (verdict == CopyVerdict::Take) {
        if (!Acknowledge(copy.answer)) break;
        ++b;
      } else if (!AskForTheBlockAgain(verdict, copy, bytes)) {
        break;
      }
    }
    StopLedBlink();
  }

  Copy ReceiveCopy() {
    if (firstCopy_) {
      return {*std::exchange(firstCopy_, std::nullopt), 1, frames::kFirstBlockFrameSize};
    }
    ReceiveBlock9();
    if (CommError) return {JudgedAnswer{}, 0, frames::kBlockFrameSize};
    return {JudgeAnswer(Exchange::Block, frames::kBlockFrameSize), 0, frames::kBlockFrameSize};
  }

  // Stores the copy's data bytes as block b, counting them on the progress bar; returns them with
  // their sum byte.
  QByteArray StoreCopy(int b, const Copy& copy) {
    ++copies_;
    for (int j = 0; j < layout::kBlockSize; ++j) {
      const int at = copy.offset + j;
      RadioImage[frames::BlockAddress(b) + j] = at < RxBuffer.size() ? uint8_t(RxBuffer[at]) : 0;
      form_.SetProgressValue(++stored_);
    }
    return RxBuffer.mid(copy.offset, layout::kBlockSize + 1);
  }

  // Takes the copy: the radio goes on with the next block. False when the read ends.
  bool Acknowledge(JudgedAnswer& copy) {
    copy.Take();
    badCopies_ = 0;
    copies_ = 0;
    held_.clear();
    // Until the line has been heard whole, the radio may still owe frames: had this copy, or both
    // of two agreeing copies, been noise or its frames for earlier requests, its own would still
    // come. One copy is not proven yet either: bytes right after it may be its rest.
    radioMayOwe_ = true;
    unconfirmed_.reset();
    if (!noisyLine_) unconfirmed_ = LastAnswerHeard().arrivals.back();
    SendCommandByte(frames::kOk);
    return !CommError;
  }

  // Asks for the same block again ('F'), once the line has gone quiet where noise came. False
  // when the read ends: out of step, the purge or the request failed, or too many copies.
  bool AskForTheBlockAgain(CopyVerdict verdict, const Copy& copy, const QByteArray& bytes) {
    if (verdict == CopyVerdict::OutOfStep) {
      CommError = true;
      return false;
    }
    if (verdict == CopyVerdict::Hold) {
      badCopies_ = 0;
      held_ = bytes;
    } else {
      if (verdict == CopyVerdict::Noise) {
        int discarded = 0;
        if (!PurgeLine(copy.frameBytes, &discarded)) return false;
        // Noise that could have made up a frame: a sum byte no longer tells.
        const int noise =
            answertiming::BytesBesidesAnswer(LastAnswerHeard(), LineLearned()) + discarded;
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
  CopyVerdict JudgeCopy(const Copy& copy, const QByteArray& bytes) {
    if (!answertiming::IsAlone(copy.heard())) return NoiseWithCopy();
    if (!frames::FrameSumMatches(bytes, 0, layout::kBlockSize)) return CopyVerdict::BadSum;
    cps::Sleep(2);
    if (!NothingSinceAnswer()) return NoiseWithCopy();
    if (noisyLine_ && bytes != held_) return CopyVerdict::Hold;
    return CopyVerdict::Take;
  }

  // Noise came with the copy or after it. The protocol has no addresses: since the last block was
  // taken the radio may still owe frames, had its copies been noise or its frames for earlier
  // requests (a read that runs behind the radio, on a quiet line or a noisy one). Nothing else
  // shows that, and the guard at the read's end sees it only while the difference lasts: a purge
  // here would swallow those frames along with the noise, and the read would go on in step with
  // the radio, the wrong blocks kept. So bytes that follow a block taken from one copy end the
  // read (they may be its rest), and before anything is thrown away the read hears the line whole
  // until any radio's answer to the requests it may still owe has shown: a whole frame besides the
  // copy ends the read. Bytes that could not hold one then cost only an 'F'; the block before is
  // confirmed, and the radio owes nothing but its answer to the request that 'F' repeats.
  CopyVerdict NoiseWithCopy() {
    if (unconfirmed_ &&
        answertiming::MayBeRestOf(*unconfirmed_, LastAnswerHeard(), LineLearned())) {
      return CopyVerdict::OutOfStep;
    }
    if (std::exchange(radioMayOwe_, false) &&
        HearWholeUntil(OwedAnswerShownBy()) >= frames::kBlockFrameSize) {
      return CopyVerdict::OutOfStep;
    }
    unconfirmed_.reset();
    return CopyVerdict::Noise;
  }

  // The guard of the read's end. The radio says nothing after the last acknowledgement: a frame
  // now would answer it, the read having been a frame behind the radio, and bytes right after the
  // last copy may be its rest. A stray byte of noise later than that is neither. The read listens
  // until any radio's answer to that acknowledgement would have shown, whatever this one's habits.
  bool QuietAtTheEnd() {
    HearWholeUntil(UnansweredRequestShownBy());
    if (CommError) return false;
    const answertiming::AnswerHeard& after = HeardSinceAnswer();
    const int bytes = answertiming::BytesOf(after);
    if (bytes == 0) return true;
    if (bytes >= frames::kBlockFrameSize) return false;
    return !(unconfirmed_ && answertiming::MayBeRestOf(*unconfirmed_, after, LineLearned()));
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
  // Block 0's copy in the answer to 0x0B, until the block loop takes it.
  std::optional<JudgedAnswer> firstCopy_;
  int copies_ = 0;          // copies of this block so far
  int badCopies_ = 0;       // bad copies of this block in a row
  int stored_ = 0;          // data bytes stored, as the progress bar counts them
  bool noisyLine_ = false;  // noise that could hold a frame came: blocks need two copies
  // A block was taken since the line was last heard whole: the radio may still owe frames.
  bool radioMayOwe_ = false;
  // While the block acknowledged last stands on one copy only: the last bytes of that copy.
  std::optional<answertiming::Arrival> unconfirmed_;
  QByteArray held_;  // a good copy of this block, waiting for a second one to agree
  bool legacy_ = false;
  std::array<uint8_t, frames::kIdentityBytes> identity_{};
};

}  // namespace

void RunRadioRead(FrmProgram& form) { RadioRead(form).Run(); }
