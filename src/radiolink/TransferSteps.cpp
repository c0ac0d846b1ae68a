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
bool TakeWakeUpAnswer(int settleMs, JudgedAnswer& answer) {
  WaitReplyByteCountdown();
  if (CommError) return false;
  if (JudgeReplyByte(Exchange::WakeUp, settleMs, answer) == Asked::Answered) return true;
  RestartAfterNoise();
  return false;
}

// ready is left with the answer that said so, for the identity's answer to confirm.
WakeUp WakeRadio(const FrmProgram& form, int settleMs, JudgedAnswer& ready) {
  SendCommandByte(frames::kWakeUp);
  if (CommError) return WakeUp::Restart;
  RxCountdown = kRxCountdownPasses;
  JudgedAnswer first;
  if (!TakeWakeUpAnswer(settleMs, first)) return WakeUp::Restart;
  cps::DoEvents();
  // A window closed at that yield ends the transfer at the next test of the loop.
  if (form.Unloaded()) return WakeUp::Restart;
  if (RxByte != frames::kReady && RxByte != frames::kNotReady) return WakeUp::Restart;
  if (RxByte == frames::kReady) {
    ready = std::move(first);
    return WakeUp::Identity;
  }
  // Not ready: one more try, on what is left of the same countdown.
  SendCommandByte(frames::kWakeUp);
  if (CommError) return WakeUp::Restart;
  JudgedAnswer second;
  if (!TakeWakeUpAnswer(0, second)) return WakeUp::Restart;
  first.Take();  // the answer after it came alone, in its time
  if (RxByte == frames::kReady) {
    ready = std::move(second);
    return WakeUp::Identity;
  }
  // Going on without the identity exchange cannot be taken back: only the radio may decide it.
  // A byte of noise taken for its answer shows only by the radio's own coming after it, however
  // slow the radio: it is heard out for as long as any radio takes.
  if (!HearOutUntil(OwnAnswerShownBy())) return RestartAfterNoise();
  second.Take();
  return WakeUp::Legacy;
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

IdentityAnswer AskIdentity(const WakeUpRules& rules, int& retries, JudgedAnswer& wakeUp,
                           JudgedAnswer& identity) {
  SendCommandByte(frames::kIdentity);
  if (CommError) {
    SendCommandByte(frames::kNotReady);
    return IdentityAnswer::WakeAgain;
  }
  ReceiveBlock17();
  if (CommError) return IdentityAnswer::WakeAgain;
  JudgedAnswer answer = JudgeAnswer(Exchange::Identity, frames::kIdentityFrameSize);
  const Verdict heard = answer.Verdict();
  const bool goodSum = TakeIdentityFrame();
  if (CommError) return IdentityAnswer::WakeAgain;
  // The wake-up's answer may not have been the radio's: wake it again.
  if (heard == Verdict::Unasked) {
    PurgeLine(frames::kIdentityFrameSize);
    return IdentityAnswer::WakeAgain;
  }
  wakeUp.Take();
  if (answertiming::IsAlone(heard) && goodSum && (!rules.hearOutIdentity || HearOutAnswer())) {
    retries = 0;
    identity = std::move(answer);
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

Asked JudgeReplyByte(Exchange exchange, int pauseMs, JudgedAnswer& answer) {
  answer = JudgeAnswer(exchange, 1, pauseMs);
  Asked asked = Asked::Answered;
  if (CommError) {
    asked = Asked::Failed;
  } else if (!answertiming::IsAlone(answer.Verdict()) || !AnswerStoodAlone()) {
    asked = Asked::Noisy;
  }
  if (asked != Asked::Answered) answer = JudgedAnswer{};  // nothing of it may teach
  return asked;
}

Handshake WakeUpAndIdentify(const FrmProgram& form, const WakeUpRules& rules, int& retries,
                            JudgedAnswer& identity) {
  JudgedAnswer wakeUp;
  for (bool wake = true;;) {
    if (wake) {
      if (HandshakeTimedOut) {
        StopHandshakeTimeout();
        return Handshake::Failed;
      }
      const WakeUp woken = WakeRadio(form, rules.settleMs, wakeUp);
      if (woken == WakeUp::Legacy) return Handshake::Legacy;
      if (woken == WakeUp::Restart) continue;
      cps::Sleep(kIdentityPauseMs);
    }
    switch (AskIdentity(rules, retries, wakeUp, identity)) {
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

Asked AskRadio(uint8_t command, double countdown, int settleMs, Exchange exchange,
               JudgedAnswer& answer) {
  SendCommandByte(command);
  if (CommError) {
    SendCommandByte(frames::kNotReady);
    return Asked::Failed;
  }
  RxCountdown = countdown;
  WaitReplyByteCountdown();
  if (CommError) return Asked::Failed;
  return JudgeReplyByte(exchange, settleMs, answer);
}

Access RequestAccess(FrmProgram& form, uint8_t request, double countdown, int settleMs,
                     const char*& refusal, JudgedAnswer& granted) {
  for (JudgedAnswer notReady;;) {
    JudgedAnswer answer;
    switch (AskRadio(request, countdown, settleMs, Exchange::Access, answer)) {
      case Asked::Failed:
        refusal = kCheckModeText;
        return Access::Refused;
      case Asked::Noisy:
        return Access::Noisy;
      case Asked::Answered:
        break;
    }
    notReady.Take();  // the answer after it came alone, in its time
    const frames::RegionReply reply = frames::ClassifyRegionReply(RxByte);
    if (reply == frames::RegionReply::NotReady) {
      notReady = std::move(answer);
      continue;
    }
    if (reply == frames::RegionReply::Accepted) {
      granted = std::move(answer);
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

JudgedAnswer RequestFirstBlock(Exchange exchange) {
  cps::Sleep(10);
  SendCommandByte(frames::kFirstBlock);
  if (CommError) {
    SendCommandByte(frames::kNotReady);
    return {};
  }
  ReceiveBlock10();
  if (CommError) return {};
  return JudgeAnswer(exchange, frames::kFirstBlockFrameSize);
}
