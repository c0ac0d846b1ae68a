#include "radiolink/TransferSteps.h"

#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/Runtime.h"
#include "radiolink/CommLink.h"
#include "radiolink/LinkFrames.h"
#include "radiolink/frmProgram.h"

namespace {

constexpr int kMaxIdentityRetries = 5;  // the sixth bad identity frame ends the transfer
constexpr int kIdentityPauseMs = 10;

enum class WakeUp { Restart, Identity, Legacy };

// A reply byte that came with noise may not be the radio's: the line goes quiet before the
// wake-up starts over.
bool ReplyWasNoisy() {
  if (LineClean()) return false;
  PurgeLine(frames::kBlockFrameSize);
  return true;
}

WakeUp WakeRadio(const FrmProgram& form, int settleMs) {
  SendCommandByte(frames::kWakeUp);
  if (CommError) return WakeUp::Restart;
  RxCountdown = kRxCountdownPasses;
  WaitReplyByteCountdown();
  if (CommError || ReplyWasNoisy()) return WakeUp::Restart;
  cps::DoEvents();
  // A window closed at that yield ends the transfer at the next test of the loop.
  if (form.Unloaded()) return WakeUp::Restart;
  if (RxByte != frames::kReady && RxByte != frames::kNotReady) return WakeUp::Restart;
  cps::Sleep(settleMs);
  if (RxByte == frames::kReady) return WakeUp::Identity;
  // Not ready: one more try, on what is left of the same countdown.
  SendCommandByte(frames::kWakeUp);
  if (CommError) return WakeUp::Restart;
  WaitReplyByteCountdown();
  if (CommError || ReplyWasNoisy()) return WakeUp::Restart;
  return RxByte == frames::kReady ? WakeUp::Identity : WakeUp::Legacy;
}

// The radio image keeps every frame as received; the sum tells whether it may be used.
bool TakeIdentityFrame() {
  for (int i = 0; i < frames::kIdentityBytes; ++i) {
    RadioImage[layout::kIdentBlock + i] = i < RxBuffer.size() ? uint8_t(RxBuffer[i]) : 0;
  }
  return frames::FrameSumMatches(RxBuffer, 0, frames::kIdentityBytes);
}

}  // namespace

Handshake WakeUpAndIdentify(const FrmProgram& form, const WakeUpRules& rules, int& retries) {
  for (;;) {
    if (HandshakeTimedOut) {
      StopHandshakeTimeout();
      return Handshake::Failed;
    }
    const WakeUp wake = WakeRadio(form, rules.settleMs);
    if (wake == WakeUp::Legacy) return Handshake::Legacy;
    if (wake == WakeUp::Restart) continue;
    cps::Sleep(kIdentityPauseMs);
    for (;;) {
      StartAnswerWindow();
      SendCommandByte(frames::kIdentity);
      if (CommError) {
        SendCommandByte(frames::kNotReady);
        break;
      }
      ReceiveBlock17();
      if (CommError) break;
      if (TakeIdentityFrame() && LineClean()) {
        retries = 0;
        return Handshake::Identity;
      }
      // Whatever of the frame is still on its way must not meet the next request.
      PurgeLine(frames::kIdentityFrameSize);
      if (CommError) break;
      if (retries == kMaxIdentityRetries) {
        CommError = true;
        return Handshake::Failed;
      }
      ++retries;
      if (rules.wakeUpAfterBadIdentity) break;
    }
  }
}

bool AskRadio(uint8_t command, double countdown, int settleMs) {
  SendCommandByte(command);
  if (CommError) {
    SendCommandByte(frames::kNotReady);
    return false;
  }
  RxCountdown = countdown;
  WaitReplyByteCountdown();
  if (CommError) return false;
  cps::Sleep(settleMs);
  return true;
}

const char* RequestAccess(FrmProgram& form, uint8_t request, double countdown, int settleMs,
                          bool askAgainAfterNoise) {
  for (;;) {
    if (!AskRadio(request, countdown, settleMs)) return kCheckModeText;
    // With noise on the line the byte taken may not be the radio's answer.
    if (!LineClean()) {
      if (!askAgainAfterNoise) return kCheckModeText;
      PurgeLine(frames::kBlockFrameSize);
      if (CommError) return kCheckModeText;
      continue;
    }
    switch (frames::ClassifyRegionReply(RxByte)) {
      case frames::RegionReply::Accepted:
        return nullptr;
      case frames::RegionReply::NotReady:
        continue;
      case frames::RegionReply::Unsupported:
        form.SetProgressValue(0);
        SendCommandByte(frames::kNotReady);
        return kUnsupportedRegionText;
      case frames::RegionReply::BadCable:
        form.SetProgressValue(0);
        return kCheckCableText;
    }
  }
}

bool RequestFirstBlock() {
  cps::Sleep(10);
  StartAnswerWindow();
  SendCommandByte(frames::kFirstBlock);
  if (CommError) {
    SendCommandByte(frames::kNotReady);
    return false;
  }
  ReceiveBlock10();
  if (CommError) return false;
  // A reply that came with noise is judged by the caller, as a bad frame.
  return !LineClean() || (!RxBuffer.isEmpty() && uint8_t(RxBuffer[0]) == frames::kOk);
}
