#include "radiolink/TransferSteps.h"

#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/Runtime.h"
#include "radiolink/CommLink.h"
#include "radiolink/LinkFrames.h"
#include "radiolink/frmProgram.h"

namespace {

using answertiming::Exchange;
using answertiming::Verdict;

constexpr int kIdentityPauseMs = 10;

enum class WakeUp { Restart, Identity, Legacy };

// A wake-up answer that came with noise decides nothing: the line goes quiet before the wake-up
// starts over.
WakeUp RestartAfterNoise() {
  if (!CommError) PurgeLine(frames::kBlockFrameSize);
  return WakeUp::Restart;
}

// The radio's answer to a wake-up, or false when none came or it came with noise.
bool TakeWakeUpAnswer(int settleMs) {
  WaitReplyByteCountdown();
  if (CommError) return false;
  if (JudgeReplyByte(Exchange::WakeUp, settleMs) == Asked::Answered) return true;
  RestartAfterNoise();
  return false;
}

WakeUp WakeRadio(const FrmProgram& form, int settleMs) {
  SendCommandByte(frames::kWakeUp);
  if (CommError) return WakeUp::Restart;
  RxCountdown = kRxCountdownPasses;
  if (!TakeWakeUpAnswer(settleMs)) return WakeUp::Restart;
  cps::DoEvents();
  // A window closed at that yield ends the transfer at the next test of the loop.
  if (form.Unloaded()) return WakeUp::Restart;
  if (RxByte != frames::kReady && RxByte != frames::kNotReady) return WakeUp::Restart;
  TakeAnswer();
  if (RxByte == frames::kReady) return WakeUp::Identity;
  // Not ready: one more try, on what is left of the same countdown.
  SendCommandByte(frames::kWakeUp);
  if (CommError) return WakeUp::Restart;
  if (!TakeWakeUpAnswer(0)) return WakeUp::Restart;
  // Going on without the identity exchange cannot be taken back: only the radio may decide it.
  if (RxByte != frames::kReady && !HearOutAnswer()) return RestartAfterNoise();
  TakeAnswer();
  return RxByte == frames::kReady ? WakeUp::Identity : WakeUp::Legacy;
}

// The radio image keeps every frame as received; the sum tells whether it may be used.
bool TakeIdentityFrame() {
  for (int i = 0; i < frames::kIdentityBytes; ++i) {
    RadioImage[layout::kIdentBlock + i] = i < RxBuffer.size() ? uint8_t(RxBuffer[i]) : 0;
  }
  return frames::FrameSumMatches(RxBuffer, 0, frames::kIdentityBytes);
}

enum class IdentityAnswer {
  Taken,      // the radio's frame, alone, its sum byte matching
  WakeAgain,  // no frame, or one that came with noise or after a doubtful wake-up
  AskAgain,   // a bad frame: ask for it again
  TooMany,    // the sixth bad frame
};

IdentityAnswer AskIdentity(const WakeUpRules& rules, int& retries) {
  SendCommandByte(frames::kIdentity);
  if (CommError) {
    SendCommandByte(frames::kNotReady);
    return IdentityAnswer::WakeAgain;
  }
  ReceiveBlock17();
  if (CommError) return IdentityAnswer::WakeAgain;
  const Verdict heard = JudgeAnswer(Exchange::Identity, frames::kIdentityFrameSize);
  const bool goodSum = TakeIdentityFrame();
  if (CommError) return IdentityAnswer::WakeAgain;
  // The wake-up's answer may not have been the radio's: wake it again.
  if (heard == Verdict::Unasked) {
    PurgeLine(frames::kIdentityFrameSize);
    return IdentityAnswer::WakeAgain;
  }
  if (answertiming::IsAlone(heard) && goodSum && (!rules.hearOutIdentity || HearOutAnswer())) {
    retries = 0;
    return IdentityAnswer::Taken;
  }
  // Noise with the frame or after it: the line goes quiet before the PC asks again. A frame that
  // came alone with a bad sum byte was changed in flight, and is asked for again at once.
  const bool noise = !answertiming::IsAlone(heard) || goodSum;
  if (CommError || (noise && !PurgeLine(frames::kIdentityFrameSize))) {
    return IdentityAnswer::WakeAgain;
  }
  if (retries == kMaxIdentityRetries) return IdentityAnswer::TooMany;
  ++retries;
  return rules.wakeUpAfterBadIdentity ? IdentityAnswer::WakeAgain : IdentityAnswer::AskAgain;
}

}  // namespace

Asked JudgeReplyByte(Exchange exchange, int pauseMs) {
  const Verdict heard = JudgeAnswer(exchange, 1, pauseMs);
  if (CommError) return Asked::Failed;
  if (!answertiming::IsAlone(heard) || !AnswerStoodAlone()) return Asked::Noisy;
  return Asked::Answered;
}

Handshake WakeUpAndIdentify(const FrmProgram& form, const WakeUpRules& rules, int& retries) {
  for (bool wake = true;;) {
    if (wake) {
      if (HandshakeTimedOut) {
        StopHandshakeTimeout();
        return Handshake::Failed;
      }
      const WakeUp woken = WakeRadio(form, rules.settleMs);
      if (woken == WakeUp::Legacy) return Handshake::Legacy;
      if (woken == WakeUp::Restart) continue;
      cps::Sleep(kIdentityPauseMs);
    }
    switch (AskIdentity(rules, retries)) {
      case IdentityAnswer::Taken:
        return Handshake::Identity;
      case IdentityAnswer::TooMany:
        CommError = true;
        return Handshake::Failed;
      case IdentityAnswer::WakeAgain:
        wake = true;
        break;
      case IdentityAnswer::AskAgain:
        wake = false;
        break;
    }
  }
}

Asked AskRadio(uint8_t command, double countdown, int settleMs, Exchange exchange) {
  SendCommandByte(command);
  if (CommError) {
    SendCommandByte(frames::kNotReady);
    return Asked::Failed;
  }
  RxCountdown = countdown;
  WaitReplyByteCountdown();
  if (CommError) return Asked::Failed;
  return JudgeReplyByte(exchange, settleMs);
}

Access RequestAccess(FrmProgram& form, uint8_t request, double countdown, int settleMs,
                     const char*& refusal) {
  for (;;) {
    switch (AskRadio(request, countdown, settleMs, Exchange::Access)) {
      case Asked::Failed:
        refusal = kCheckModeText;
        return Access::Refused;
      case Asked::Noisy:
        return Access::Noisy;
      case Asked::Answered:
        break;
    }
    const frames::RegionReply reply = frames::ClassifyRegionReply(RxByte);
    if (reply == frames::RegionReply::NotReady) {
      TakeAnswer();
      continue;
    }
    if (reply == frames::RegionReply::Accepted) {
      TakeAnswer();
      return Access::Granted;
    }
    // A refusal ends the transfer: it must be the radio's, and not noise just before its answer.
    if (!HearOutAnswer()) {
      if (!CommError) return Access::Noisy;
      refusal = kCheckModeText;
      return Access::Refused;
    }
    form.SetProgressValue(0);
    if (reply == frames::RegionReply::Unsupported) {
      SendCommandByte(frames::kNotReady);
      refusal = kUnsupportedRegionText;
    } else {
      refusal = kCheckCableText;
    }
    return Access::Refused;
  }
}

Verdict RequestFirstBlock(Exchange exchange) {
  cps::Sleep(10);
  SendCommandByte(frames::kFirstBlock);
  if (CommError) {
    SendCommandByte(frames::kNotReady);
    return Verdict::Noisy;
  }
  ReceiveBlock10();
  if (CommError) return Verdict::Noisy;
  return JudgeAnswer(exchange, frames::kFirstBlockFrameSize);
}
