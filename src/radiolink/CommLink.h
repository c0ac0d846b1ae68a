// The link layer between the radio transfers and the serial port: the port itself (MSComm1),
// its event handler, the buffer and threshold presets, the two time-outs that the editor's
// 200 ms timer counts down, the elementary exchanges and the LED blink state.
//
// Every wait yields to the event loop on each pass and sleeps there until an event arrives:
// serial events, timer ticks, key presses and the closing of the programming window all run
// inside these loops and end a wait only through the flags of ModuleState.h. The exchanges leave
// their results in that state (RxByte, RxBuffer, CommError); the line watch below logs what came.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "radiolink/AnswerTiming.h"

namespace cps {
class CommPort;
}

// The serial control of the main window, created on first use with thresholds 1 and 1.
cps::CommPort& MSComm1();
// Closes the port and forgets the control, so the next test starts with a fresh one.
void DestroyMSComm1ForTests();
// The clock of the reply countdown (LinkWait.h); an empty one puts back the monotonic clock.
// Tests that speed up the editor's timer speed it up as much.
void SetLinkClockForTests(std::function<int64_t()> clock);

// The port number the Comm Port menu names: n for the first checked item among Com1..Com7,
// else 8.
int SelectedCommPort();
// Closes the serial port if it is open and opens it on SelectedCommPort() at 1200 baud, no
// parity, 8 data bits, 2 stop bits. A port that cannot be opened is reported with "Comm. Port
// Unavailable !" and left closed.
void OpenCommPort();

// The serial control's event handler: a send event sets CommSendEvent; a receive event sets
// CommReceiveEvent to whether a receive is armed; a port error sets CommError, which ends the
// wait in progress.
void MSComm1_OnComm();

// One pass of a wait: runs the pending events, then sleeps until the next one arrives or a few
// milliseconds pass, so that waiting costs next to no processor time.
void LinkYield();
// Makes LinkYield call idle instead (empty function: back to the real pass).
void SetLinkIdleForTests(std::function<void()> idle);

// The countdown wait's budget, in passes of 10 µs (LinkWait.h): 5 s for the wake-up and the read
// and band requests, 2 s after 'P'.
constexpr double kRxCountdownPasses = 500000;
constexpr double kRxCountdownAfterWriteRequest = 200000;
// A time-out's length in ticks of the editor's timer (10 x 200 ms).
constexpr int kTimeoutTicks = 10;

// --- Buffer and threshold presets ----------------------------------------------------------
void ClearCommBuffers();
void PrepareSend16();
void PrepareSend32();
void PrepareReceive9();
void PrepareReceive10();
void PrepareReceive17();
void ResetCommThresholds();

// --- Time-outs -------------------------------------------------------------------------------
void StartReplyTimeout();
void StopReplyTimeout();
void StopHandshakeTimeout();
// What both transfers do before their wake-up loop: stop, then start the 2 s handshake time-out.
void StartHandshakeTimeout();
// The abort of Esc and of the programming window's closing: both time-outs forced to expired.
void ForceLinkTimeouts();

// --- Exchanges ---------------------------------------------------------------------------------
// Sends b and then 0x00, each as its own write awaited through its own send event.
void SendCommandByte(uint8_t b);
// One reply byte into RxByte within the reply time-out; further bytes are discarded.
void ReceiveReplyByte();
// One reply byte into RxByte before RxCountdown passes of 10 µs are spent (or until
// TransferAborted). A count of 0 or less never runs out.
void WaitReplyByteCountdown();
void SendBlock16();  // TxBlock16, whole
void SendBlock32();  // TxBlock32, whole
// Every waiting byte into RxBuffer once at least 9 / 10 / 17 are there.
void ReceiveBlock9();
void ReceiveBlock10();
void ReceiveBlock17();

// --- Noise on the line ------------------------------------------------------------------------
// The link looks at the line at every pass of its waits and at every buffer clearing, and logs
// when each byte came; nothing is discarded unseen. What the bytes mean is AnswerTiming's to say:
// the transfers ask it, with what this transfer has learned, and the link waits until the times
// it gives. Three kinds of wait besides the exchanges above: hearing out (listening, sending
// nothing, until a time or until something comes), hearing whole (until a time, and on until a
// run that started by then has ended) and purging (until the line goes quiet, discarding). The
// programming window closed meanwhile, or a port failure, cuts each short and sets CommError.

// Forgets what an earlier transfer learned of the radio, and every byte heard so far.
void StartLineWatch();
// An answer judged, as its transfer holds it until it has made its last check of it. Taking it is
// the only way a transfer learns from an answer: when this radio answers and how the line hands
// its bytes over. The transfer takes it only once nothing can disprove it any more (an answer to a
// later request can: bytes that came before the radio can have heard that request may be the rest
// of this one), and only what was seen promptly teaches: a bad frame may be noise joined to the
// radio's bytes, and bytes that waited while the program did not run say nothing of either.
class JudgedAnswer {
 public:
  JudgedAnswer() = default;  // holds nothing: taking it teaches nothing
  JudgedAnswer(answertiming::Exchange exchange, answertiming::AnswerHeard heard,
               answertiming::Verdict verdict)
      : exchange_(exchange), heard_(std::move(heard)), verdict_(verdict) {}

  answertiming::Verdict Verdict() const { return verdict_; }
  // The transfer takes it as the radio's answer. Once: a second take teaches nothing.
  void Take();

 private:
  answertiming::Exchange exchange_ = answertiming::Exchange::WakeUp;
  std::optional<answertiming::AnswerHeard> heard_;
  answertiming::Verdict verdict_ = answertiming::Verdict::Noisy;
};

// Judges the answer a receive primitive just took (RxByte or RxBuffer) to the request that ended
// last, then pauses pauseMs. An answer off this radio's time is heard out first (the pause
// counting towards it) and is Noisy or Unasked when anything more came. Bytes from here on
// belong to the next answer.
[[nodiscard]] JudgedAnswer JudgeAnswer(answertiming::Exchange exchange, int answerBytes,
                                       int pauseMs = 0);
// Nothing has come since the last answer was judged (a look at the line, no wait).
bool NothingSinceAnswer();
// Hears out the last answer judged until `until`; true when nothing came since it.
bool HearOutUntil(int64_t until);
// A one-byte answer is the radio's only once the line has stayed quiet for a byte's time after
// it: hears it out that long; true when nothing came.
bool AnswerStoodAlone();
// Hears out one more of the radio's answer times after the last answer judged, before the PC acts
// on it in a way it cannot take back; true when nothing came.
bool HearOutAnswer();
// Hears the line whole until `until`; returns how many bytes heard since the last answer's
// request cannot be its answer (the most an int holds when the listening was cut short).
int HearWholeUntil(int64_t until);
// The last answer judged, what has come since, and what the transfer has learned of the line.
const answertiming::AnswerHeard& LastAnswerHeard();
const answertiming::AnswerHeard& HeardSinceAnswer();
const answertiming::Line& LineLearned();
// The guards (answertiming::AnswerShownBy), each counted from its own point: any radio's answer
// to the request that went last, not judged yet, has shown by UnansweredRequestShownBy(); its own
// answer to the request the last answer judged was taken for, had that been noise, by
// OwnAnswerShownBy(); and any frame it may still owe after that answer by OwedAnswerShownBy().
int64_t UnansweredRequestShownBy();
int64_t OwnAnswerShownBy();
int64_t OwedAnswerShownBy();
// Lets the line go quiet once noise was seen: waits until nothing has arrived for the time
// frameBytes take on the line (PurgeQuietEnd), discarding it all, within the reply time-out;
// afterwards no byte counts against any answer. A copy of a frame still on its way is so never
// taken for the next one. False (and CommError) when the line never went quiet, the window went or
// the port failed. discarded, when given, counts the bytes thrown away that no answer was judged
// with.
bool PurgeLine(int frameBytes, int* discarded = nullptr);
// Bytes that came since the last answer was judged answer nothing: the line is purged of them.
bool PurgeIfNoise(int frameBytes);

// --- LED blink -----------------------------------------------------------------------------
void StartGreenLedBlink();
void StartRedLedBlink();
void StopLedBlink();
