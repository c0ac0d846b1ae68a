// The radio write: wake-up and identity, the identity written back, write request and region
// code, the radio's password (asked of the user when there is one), the band check, then the
// image in its transmit form as 48 blocks of 8 bytes, each with a sum byte and acknowledged.
#include <QAction>
#include <QProgressBar>
#include <utility>

#include "editor/EditorLock.h"
#include "editor/frmMain.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "model/UserTones.h"
#include "platform/CommandButton.h"
#include "platform/FlexGrid.h"
#include "platform/Label.h"
#include "platform/Runtime.h"
#include "platform/TextBox.h"
#include "radiolink/CommLink.h"
#include "radiolink/LinkFrames.h"
#include "radiolink/LinkWait.h"
#include "radiolink/TransferSteps.h"
#include "radiolink/frmPasswordW.h"
#include "radiolink/frmProgram.h"

namespace {

using answertiming::Exchange;
using answertiming::Verdict;

constexpr int kSettleMs = 200;  // the radio's pause after a wake-up or region reply
// The success text stands this long before the window closes.
constexpr int kClosingPauseMs = 500;
// The identity is written back into the radio: it is heard out first.
constexpr WakeUpRules kWriteWakeUp{kSettleMs, false, true};
constexpr int kBandColumn = 12;
constexpr uint32_t kColourButtonText = 0x80000012u;
constexpr uint32_t kColourGreyText = 0x80000011u;

class RadioWrite {
 public:
  explicit RadioWrite(FrmProgram& form) : form_(form) {}

  void Run() {
    OpenCommPort();
    StartLineWatch();
    RadioPasswordAccepted = false;
    RadioPassword.clear();
    form_.cmdWrite->SetEnabled(false);
    StartHandshakeTimeout();
    JudgedAnswer access;
    JudgedAnswer started;
    const char* failure = IdentifyAndWriteBack();
    if (failure == nullptr) failure = RequestWriteAccess(access);
    if (failure == nullptr) failure = TakeRadioPassword(access);
    if (failure == kPasswordNotGiven) return;
    if (failure == nullptr) failure = CheckBand();
    if (failure == nullptr) failure = StartData(started);
    if (failure != nullptr) return ErrorExit(failure);
    PrepareTransmitForm();
    SendBlocks(started);
    if (CommError) return ShowCommError();
    Complete();
  }

 private:
  static constexpr const char* kPasswordNotGiven = "";

  // The wake-up and the radio's identity frame, which is sent back and then goes into the image.
  const char* IdentifyAndWriteBack() {
    int retries = 0;
    for (;;) {
      JudgedAnswer identity;
      switch (WakeUpAndIdentify(form_, kWriteWakeUp, retries, identity)) {
        case Handshake::Failed:
          return kCheckModeText;
        case Handshake::Legacy:
          legacy_ = true;
          return nullptr;
        case Handshake::Identity:
          break;
      }
      for (int i = 0; i < frames::kIdentityBytes; ++i) {
        identity_[i] = frames::IdentityByteForImage(RadioImage[layout::kIdentBlock + i]);
      }
      // No answer of the radio's can be pending behind an identity frame: only its own identity
      // could be that long. The radio owes one from when it heard the request.
      identityShownBy_ = OwnAnswerShownBy();
      bool again = false;
      const char* failure = WriteBackIdentity(retries, identity, again);
      if (!again) return failure;
    }
  }

  // Sends the identity back until the radio takes it; again is set when the wake-up is to start
  // over. The identity reaches the open codeplug only when the whole write has succeeded: a frame
  // of noise that passed for it is shown up by the radio's own answers, and a write that fails
  // leaves the codeplug's identity as it was.
  const char* WriteBackIdentity(int& retries, JudgedAnswer& identity, bool& again) {
    for (;;) {
      SendCommandByte(frames::kOk);
      if (CommError) {
        SendCommandByte(frames::kNotReady);
        again = true;
        return nullptr;
      }
      cps::Sleep(10);
      for (int i = 0; i < frames::kIdentityBytes; ++i) {
        cps::Sleep(10);
        form_.lblProgram->SetCaption(QLatin1String(kWriteWaitText));
        form_.SetProgressValue(i + 1);
      }
      TxBlock32 = frames::Interleave(identity_);
      // The radio stores this frame: nothing may have followed the identity it carries, for as
      // long as any radio takes to send its own had that one been noise. The pauses before it
      // count towards that.
      if (!HearOutUntil(identityShownBy_)) return kCheckCableText;
      identity.Take();
      SendBlock32();
      if (CommError) return kCheckCableText;
      cps::Sleep(10);
      SendCommandByte(frames::SumByte(identity_.data(), frames::kIdentityBytes));
      if (CommError) return kCheckCableText;
      ReceiveReplyByte();
      if (CommError) return kCheckCableText;
      // From here on the radio's answers cannot be asked for again: the write stops rather than
      // act on one that came with noise.
      JudgedAnswer answer;
      if (JudgeReplyByte(Exchange::WriteBack, 2, answer) != Asked::Answered) return kCheckCableText;
      answer.Take();
      if (RxByte != frames::kIdentityAgain) {
        legacy_ = false;
        return nullptr;
      }
      if (retries == kMaxIdentityRetries) {
        CommError = true;
        return kCheckModeText;
      }
      ++retries;
    }
  }

  // The radio refuses a write request only with 'F'; an answer that came with noise cannot be
  // asked for again.
  const char* RequestWriteAccess(JudgedAnswer& granted) {
    const char* refusal = nullptr;
    switch (RequestAccess(form_, frames::kWriteRequest, kRxCountdownAfterWriteRequest, kSettleMs,
                          refusal, granted)) {
      case Access::Granted:
        return nullptr;
      case Access::Refused:
        return refusal;
      case Access::Noisy:
        break;
    }
    return kCheckModeText;
  }

  // The radio's own password, from the reply to the first block request: when it has one, the
  // user must give it. kPasswordNotGiven when the prompt closed without it. The access answer
  // before it is taken once this one came alone.
  const char* TakeRadioPassword(JudgedAnswer& access) {
    JudgedAnswer reply = RequestFirstBlock(Exchange::Password);
    if (CommError || !answertiming::IsAlone(reply.Verdict()) ||
        uint8_t(RxBuffer[0]) != frames::kOk) {
      return kCheckVersionText;
    }
    // Whether the user is asked cannot be taken back: the frame must be the radio's.
    if (!HearOutAnswer()) return kCheckVersionText;
    access.Take();
    reply.Take();
    RadioPassword = frames::PasswordFromReply(RxBuffer);
    if (frames::ReplyCarriesPassword(RxBuffer) && !AwaitPassword()) return kPasswordNotGiven;
    // Noise while the user typed answers nothing: the line goes quiet before the band check.
    if (!PurgeIfNoise(frames::kFirstBlockFrameSize)) return kCheckModeText;
    CodeplugLocked = false;
    if (IsFrmMainLoaded()) CopyPasswordToImage();
    return nullptr;
  }

  bool AwaitPassword() {
    ShowRadioPasswordPrompt();
    linkwait::WaitUntil(
        [] { return RadioPasswordAccepted || !IsFrmPasswordWLoaded() || AppExiting; }, LinkYield);
    return RadioPasswordAccepted;
  }

  // The radio's band byte must match the codeplug's band and region.
  const char* CheckBand() {
    for (;;) {
      JudgedAnswer answer;
      if (AskRadio(frames::kBandCheck, kRxCountdownPasses, 10, Exchange::Band, answer) !=
          Asked::Answered) {
        return kCheckModeText;
      }
      answer.Take();
      if (RxByte == frames::ExpectedBandByte(CodeplugImage)) return nullptr;
      if (RxByte == frames::kNotReady) continue;
      form_.SetProgressValue(0);
      SendCommandByte(frames::kNotReady);
      return kUnsupportedRegionText;
    }
  }

  // Asks the radio to take the data; then the red LED blinks. Its answer is taken once the line
  // has stayed quiet after it, just before the first block's sum byte.
  const char* StartData(JudgedAnswer& started) {
    // The radio leaves this 0x0B unanswered: whatever comes before the answer to 'R' is judged
    // with that answer. A radio that did not get it is not asked to take data.
    SendCommandByte(frames::kFirstBlock);
    if (CommError) return kCheckVersionText;
    cps::Sleep(10);
    SendCommandByte(frames::kReadRequest);
    if (CommError) return kCheckVersionText;
    ReceiveReplyByte();
    if (CommError || JudgeReplyByte(Exchange::StartData, 10, started) != Asked::Answered ||
        RxByte != frames::kOk) {
      return kCheckVersionText;
    }
    form_.lblProgram->SetCaption(QLatin1String(kWriteWaitText));
    StartRedLedBlink();
    return nullptr;
  }

  // The image as the radio takes it: the user tones encoded, bit 0 of each channel's second
  // flag byte cleared, and on the older layout each channel's bandwidth from the grid.
  void PrepareTransmitForm() {
    if (IsFrmMainLoaded()) {
      for (int k = 0; k < usertone::kCount; ++k) {
        EncodeTxToneFrequency(k);
        EncodeRxToneFrequency(k);
      }
      regionalText_ = frmMain().txtSuper->Text();
    }
    for (int n = 1; n <= layout::kMaxChannels; ++n) {
      CodeplugImage[layout::ChannelOffset(n) + layout::kRecFlagsB] &= 0xFE;
    }
    if (legacy_ && IsFrmMainLoaded()) TakeBandColumn();
  }

  void TakeBandColumn() {
    cps::FlexGrid& grid = *frmMain().fgChannel;
    for (int n = 1; n <= CodeplugImage[layout::kChannelCount] && n <= layout::kMaxChannels; ++n) {
      uint8_t& flags = CodeplugImage[layout::ChannelOffset(n) + layout::kRecFlagsB];
      const QString band = grid.TextMatrix(n, kBandColumn);
      if (band == QLatin1String("12.5")) flags &= ~layout::kFlagsBWideBand;
      if (band == QLatin1String("25")) flags |= layout::kFlagsBWideBand;
    }
  }

  // Every block with its sum byte, sent again up to three times until the radio answers 'O'. The
  // radio takes blocks in order, without addresses: an answer that came with noise could have
  // been noise or the radio's, so the write stops there rather than send a block the radio may
  // already hold. The radio stores a block when its sum byte comes: the answer before it is
  // acted on only once the line stayed quiet after it, which the block's own bytes give time for,
  // and only then taken. pending starts with the answer that let the data start.
  void SendBlocks(JudgedAnswer& pending) {
    int retries = 0;
    int x = 0;
    for (int b = 0; b < layout::kDataBlockCount;) {
      std::array<uint8_t, layout::kBlockSize> data{};
      for (int j = 0; j < layout::kBlockSize; ++j) {
        data[j] = frames::TransmitByte(CodeplugImage, x, legacy_, regionalText_);
        ++x;
        form_.SetProgressValue(x + frames::kIdentityBytes);
      }
      TxBlock16 = frames::Interleave(data);
      SendBlock16();
      if (CommError) break;
      cps::Sleep(1);
      if (!AnswerStoodAlone()) {
        CommError = true;
        break;
      }
      pending.Take();
      SendCommandByte(frames::SumByte(data.data(), layout::kBlockSize));
      if (CommError) break;
      ReceiveReplyByte();
      if (CommError) break;
      pending = JudgeAnswer(Exchange::BlockWrite, 1, 2);
      if (!answertiming::IsAlone(pending.Verdict())) {
        CommError = true;
        break;
      }
      if (RxByte == frames::kOk) {
        retries = 0;
        ++b;
        continue;
      }
      if (retries == kMaxBlockRetries) {
        CommError = true;
        break;
      }
      ++retries;
      x -= layout::kBlockSize;
    }
    StopLedBlink();
  }

  // The guard of the write's end: the radio says nothing more after the last block's answer, so a
  // byte now may be its own answer to that block, whose answer was taken from noise. The write
  // succeeds only once the line has stayed quiet until any radio's answer would have shown: then
  // its success text stands for half a second, the codeplug takes the radio's identity, the grid's
  // bandwidth column shows what was written, and the window closes.
  void Complete() {
    if (!HearOutUntil(OwedAnswerShownBy())) return ShowCommError();
    form_.lblProgram->SetCaption(QLatin1String(kWriteDoneText));
    // The pause blocks the event loop: paint the text now, or the user never sees it.
    form_.lblProgram->repaint();
    cps::Sleep(kClosingPauseMs);
    if (!legacy_) {
      for (int i = 0; i < frames::kIdentityBytes; ++i) {
        CodeplugImage[layout::kIdentBlock + i] = identity_[i];
      }
    }
    LegacyLayout = legacy_;
    CodeplugImage[layout::kSerialWriteGate] = 0;
    if (IsFrmMainLoaded()) ShowBandColumn();
    StopHandshakeTimeout();
    UnloadFrmProgram();
    if (IsFrmMainLoaded()) frmMain().txtPassword->SetFocus();
  }

  void ShowCommError() {
    CommError = true;
    form_.lblProgram->SetCaption(QLatin1String(kCommErrorText));
  }

  void ShowBandColumn() {
    cps::FlexGrid& grid = *frmMain().fgChannel;
    grid.SetRedraw(false);
    grid.SetCol(kBandColumn);
    const int fixed = CodeplugImage[layout::kFixedBandwidthCode];
    const int count = CodeplugImage[layout::kChannelCount];
    for (int n = 1; n <= count && n < grid.Rows(); ++n) {
      if (LegacyLayout) {
        grid.SetCellForeColorAt(n, kBandColumn, kColourButtonText);
      } else if (fixed == 0x10 || fixed == 0x20 || fixed == 0x30) {
        const char* text = fixed == 0x10 ? "12.5" : (fixed == 0x20 ? "25" : "6.25");
        grid.SetTextMatrix(n, kBandColumn, QLatin1String(text));
        grid.SetCellForeColorAt(n, kBandColumn, kColourGreyText);
      } else {
        grid.SetCellForeColorAt(n, kBandColumn, kColourButtonText);
      }
    }
    grid.SetRedraw(true);
  }

  void ErrorExit(const char* message) {
    form_.lblProgram->SetCaption(QLatin1String(message));
    form_.lblRedLED->SetBackColor(kRedLedPale);
    form_.cmdClose->SetFocus();
  }

  FrmProgram& form_;
  QString regionalText_;
  std::array<uint8_t, frames::kIdentityBytes> identity_{};  // as the image keeps it
  bool legacy_ = false;          // the radio takes no part in the identity exchange
  int64_t identityShownBy_ = 0;  // until when the identity is heard out before it goes back
};

}  // namespace

void RunRadioWrite(FrmProgram& form) { RadioWrite(form).Run(); }
