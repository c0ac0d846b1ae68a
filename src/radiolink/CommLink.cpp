#include "radiolink/CommLink.h"

#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <cstdint>

#include "model/ModuleState.h"
#include "platform/AppSettings.h"
#include "platform/CommPort.h"
#include "platform/Dialogs.h"
#include "platform/Runtime.h"
#include "radiolink/AnswerTiming.h"
#include "radiolink/LinkWait.h"
#include "shell/MDIFormMain.h"

namespace {

using answertiming::AnswerHeard;
using answertiming::Verdict;

QPointer<cps::CommPort> g_comm;
linkwait::Clock g_clock = linkwait::MonotonicMicros;
std::function<void()> g_idle;

// What the line watch knows. The current answer holds every byte heard since the last answer
// was judged.
struct LineWatch {
  answertiming::AnswerTimes times;  // what this transfer learned of the radio and the line
  AnswerHeard current;              // the next answer's bytes so far
  AnswerHeard lastAnswer;           // the answer judged last
  int64_t lastLook = 0;             // when the line was last looked at
  int64_t lastArrival = 0;          // when bytes last came
  qint64 seen = 0;                  // bytes the port had received by then
  int64_t wireFree = 0;             // when the PC's bytes handed over so far have crossed the line
  int64_t requestEnd = 0;           // when the PC's last request had all been handed over
};
LineWatch g_watch;

// Logs the bytes that came since the last look, with the time they came in.
void LookAtLine() {
  const int64_t now = g_clock();
  const qint64 received = MSComm1().ReceivedCount();
  if (received > g_watch.seen) {
    g_watch.current.arrivals.push_back({g_watch.lastLook, now, int(received - g_watch.seen)});
    g_watch.lastArrival = now;
  }
  g_watch.seen = received;
  g_watch.lastLook = now;
}

constexpr char kLineSettings[] = "1200,N,8,2";

QString PortUnavailableText() {
  return QStringLiteral("Comm. Port Unavailable !\r\n\r\nPlease Change the Port selection.");
}

// How long a waiting pass sleeps at most when no event arrives: what a wait tests changes only
// in event handlers, so this bounds no more than how late an expired countdown is seen.
constexpr int kIdlePassMs = 5;

// Waits, yielding, until ended() holds; a port error (CommError set by the event handler) ends
// every wait of the link too.
template <class Ended>
void AwaitLink(Ended ended) {
  linkwait::WaitUntil(
      [&ended] {
        LookAtLine();
        return ended() || CommError;
      },
      LinkYield);
}

// Outputs one byte array and waits for its send event; false when the reply time-out expired
// or the port failed. onSent runs when the event came.
template <class OnSent>
bool OutputAndAwaitSend(const QByteArray& bytes, OnSent onSent) {
  // A send event left from an earlier send that timed out would end this wait at once.
  CommSendEvent = false;
  StartReplyTimeout();
  MSComm1().SetOutBufferCount(0);
  const int64_t handedOver = g_clock();
  MSComm1().Output(bytes);
  // On a wire the bytes leave one by one after being handed over; the radio answers after that.
  g_watch.wireFree =
      std::max(g_watch.wireFree, handedOver) + int64_t(bytes.size()) * answertiming::kByteMicros;
  AwaitLink([] { return ReplyTimedOut || CommSendEvent; });
  if (ReplyTimedOut || CommError) return false;
  CommSendEvent = false;
  StopReplyTimeout();
  g_watch.requestEnd = g_clock();
  onSent();
  return true;
}

void SendBlock(void (*prepare)(), const uint8_t* data, int size) {
  ReceiveArmed = false;
  CommError = false;
  prepare();
  const QByteArray frame(reinterpret_cast<const char*>(data), size);
  if (!OutputAndAwaitSend(frame, ResetCommThresholds)) {
    StopReplyTimeout();
    CommError = true;
    ResetCommThresholds();
  }
}

// A receive event says that bytes wait; a wait still counts them before it takes them, so that
// it never takes fewer than it asked for.
bool ReceiveDue(int bytes) {
  if (CommReceiveEvent && MSComm1().InBufferCount() < bytes) CommReceiveEvent = false;
  return CommReceiveEvent;
}

void ReceiveBlock(void (*prepare)()) {
  ReceiveArmed = true;
  CommReceiveEvent = false;
  RxByte = 0;
  CommError = false;
  prepare();
  StartReplyTimeout();
  const int bytes = MSComm1().RThreshold();
  AwaitLink([bytes] { return ReplyTimedOut || ReceiveDue(bytes); });
  if (!ReplyTimedOut && !CommError) {
    CommReceiveEvent = false;
    StopReplyTimeout();
    LookAtLine();
    RxBuffer = MSComm1().Input();
    ResetCommThresholds();
  } else {
    StopReplyTimeout();
    CommError = true;
    ResetCommThresholds();
  }
  ReceiveArmed = false;
}

// Every clearing of the buffers logs what it throws away first: the link clears only where the
// radio has nothing to say, so whatever is there is judged with the next answer.
void DiscardWaitingBytes() {
  LookAtLine();
  MSComm1().SetInBufferCount(0);
}

void SetThresholds(int receive, int send) {
  ClearCommBuffers();
  MSComm1().SetRThreshold(receive);
  MSComm1().SetSThreshold(send);
}

}  // namespace

cps::CommPort& MSComm1() {
  if (!g_comm) {
    g_comm = new cps::CommPort();
    QObject::connect(g_comm, &cps::CommPort::OnComm, [] { MSComm1_OnComm(); });
  }
  return *g_comm;
}

void DestroyMSComm1ForTests() { delete g_comm.data(); }

void SetLinkClockForTests(std::function<int64_t()> clock) {
  g_clock = clock ? std::move(clock) : linkwait::MonotonicMicros;
}

void SetLinkIdleForTests(std::function<void()> idle) { g_idle = std::move(idle); }

void MSComm1_OnComm() {
  if (MSComm1().CommEvent() == cps::comEvSend) CommSendEvent = true;
  if (MSComm1().CommEvent() == cps::comEvReceive) CommReceiveEvent = ReceiveArmed;
  // An unplugged cable ends the exchange in progress now, not on its time-out.
  if (MSComm1().CommEvent() == cps::comEvPortError) CommError = true;
}

void LinkYield() {
  if (g_idle) return g_idle();
  if (QCoreApplication::instance() == nullptr) return;
  QTimer wake;
  wake.setSingleShot(true);
  wake.start(kIdlePassMs);
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

int SelectedCommPort() {
  for (int n = 1; n <= 7; ++n) {
    if (MDIFormMain().mnuPortCom(n)->isChecked()) return n;
  }
  return 8;
}

void OpenCommPort() {
  cps::CommPort& port = MSComm1();
  bool ok = port.SetPortOpen(false);
  ok = ok && port.SetCommPort(SelectedCommPort());
  ok = ok && port.SetSettings(QLatin1String(kLineSettings));
  ok = ok && port.SetPortOpen(true);
  if (!ok) {
    cps::MsgBox(PortUnavailableText(), cps::msgbox::OKOnly, QLatin1String(cps::kAppTitle));
  }
}

// --- Presets ---------------------------------------------------------------------------------

void ClearCommBuffers() {
  MSComm1().SetOutBufferCount(0);
  DiscardWaitingBytes();
}

void FlushCommBuffers() { ClearCommBuffers(); }
void PrepareSend16() { SetThresholds(1, 16); }
void PrepareSend32() { SetThresholds(1, 32); }
void PrepareReceive9() { SetThresholds(9, 1); }
void PrepareReceive10() { SetThresholds(10, 1); }
void PrepareReceive17() { SetThresholds(17, 1); }
void ResetCommThresholds() { SetThresholds(1, 1); }

// --- Time-outs -------------------------------------------------------------------------------

void StartReplyTimeout() {
  ReplyTimeoutTicks = kTimeoutTicks;
  ReplyTimedOut = false;
  ReplyTimerRunning = true;
}

void StopReplyTimeout() {
  ReplyTimedOut = false;
  ReplyTimerRunning = false;
}

void StopHandshakeTimeout() {
  HandshakeTimedOut = false;
  HandshakeTimerRunning = false;
}

void StartHandshakeTimeout() {
  StopHandshakeTimeout();
  HandshakeTimerRunning = true;
  HandshakeTimedOut = false;
  HandshakeTimeoutTicks = kTimeoutTicks;
}

void ForceLinkTimeouts() {
  TransferAborted = true;
  HandshakeTimerRunning = false;
  HandshakeTimedOut = true;
  ReplyTimerRunning = false;
  ReplyTimedOut = true;
}

// --- Exchanges -------------------------------------------------------------------------------

void SendCommandByte(uint8_t b) {
  ReceiveArmed = false;
  CommError = false;
  ClearCommBuffers();
  if (!OutputAndAwaitSend(QByteArray(1, static_cast<char>(b)), FlushCommBuffers)) {
    // The command did not go out: the trailing zero byte is not sent either.
    StopReplyTimeout();
    CommError = true;
    return;
  }
  CommError = false;
  ClearCommBuffers();
  if (!OutputAndAwaitSend(QByteArray(1, '\0'), FlushCommBuffers)) {
    StopReplyTimeout();
    CommError = true;
  }
}

namespace {

// A receive event ended the wait: the first byte waiting is the reply.
void TakeReplyByte() {
  CommReceiveEvent = false;
  StopReplyTimeout();
  LookAtLine();
  const QByteArray input = MSComm1().Input();
  RxByte = input.isEmpty() ? 0 : static_cast<uint8_t>(input[0]);
  FlushCommBuffers();
}

}  // namespace

void ReceiveReplyByte() {
  ReceiveArmed = true;
  CommReceiveEvent = false;
  RxByte = 0;
  CommError = false;
  ClearCommBuffers();
  StartReplyTimeout();
  AwaitLink([] { return ReplyTimedOut || ReceiveDue(1); });
  if (!ReplyTimedOut && !CommError) TakeReplyByte();
  if (ReplyTimedOut || CommError) {
    StopReplyTimeout();
    CommError = true;
  }
  ReceiveArmed = false;
}

void WaitReplyByteCountdown() {
  ReceiveArmed = true;
  CommReceiveEvent = false;
  RxByte = 0;
  TransferAborted = false;
  CommError = false;
  ClearCommBuffers();
  StopReplyTimeout();
  const bool ended =
      linkwait::WaitUntil([] { return TransferAborted || ReceiveDue(1) || CommError; }, LinkYield,
                          &RxCountdown, g_clock);
  if (!ended) {
    CommError = true;
  } else if (!TransferAborted && !CommError) {
    TakeReplyByte();
  }
  // Expired only when the programming window's closing or Esc forced it.
  if (ReplyTimedOut) {
    StopReplyTimeout();
    CommError = true;
  }
  ReceiveArmed = false;
}

void SendBlock16() { SendBlock(PrepareSend16, TxBlock16.data(), int(TxBlock16.size())); }
void SendBlock32() { SendBlock(PrepareSend32, TxBlock32.data(), int(TxBlock32.size())); }

void ReceiveBlock9() { ReceiveBlock(PrepareReceive9); }
void ReceiveBlock10() { ReceiveBlock(PrepareReceive10); }
void ReceiveBlock17() { ReceiveBlock(PrepareReceive17); }

// --- Noise on the line -----------------------------------------------------------------------

namespace {

// Listens until `until`, or until more than `heard` looks have brought bytes; the window's
// closing (its forced time-out) or a port failure ends the listening early and sets CommError.
// False when it so ended.
bool ListenUntil(int64_t until, size_t heard) {
  AwaitLink([&] {
    return g_watch.current.arrivals.size() > heard || ReplyTimedOut || g_clock() >= until;
  });
  // The last look is then at `until` or later: a byte seen after it came after `until`.
  LookAtLine();
  // Expired only when the programming window's closing or Esc forced it.
  if (ReplyTimedOut) {
    StopReplyTimeout();
    CommError = true;
  }
  return !CommError;
}

// Listens until `until` and then on while bytes keep coming, until the line has been quiet for a
// byte's time: a frame still arriving is heard whole. False when the listening was cut short.
bool ListenUntilQuiet(int64_t until) {
  for (;;) {
    if (!ListenUntil(until, SIZE_MAX)) return false;
    const int64_t quietFrom = answertiming::LastArrival(g_watch.current) +
                              answertiming::kByteMicros + g_watch.times.DeliverySlack();
    if (g_watch.current.arrivals.empty() || g_clock() >= quietFrom) return true;
    until = quietFrom;
  }
}

// How long the PC's bytes handed over so far still take to cross the line after its last request
// was handed over.
int64_t WireLeft() { return std::max<int64_t>(0, g_watch.wireFree - g_watch.requestEnd); }

// Bytes from here on belong to the next answer.
void StartNextAnswer() { g_watch.current = answertiming::AnswerHeard{}; }

}  // namespace

void StartLineWatch() {
  g_watch = LineWatch{};
  g_watch.seen = MSComm1().ReceivedCount();
  g_watch.lastLook = g_clock();
  g_watch.requestEnd = g_watch.lastLook;
}

Verdict JudgeAnswer(answertiming::Exchange exchange, int answerBytes, int pauseMs) {
  LookAtLine();
  AnswerHeard& heard = g_watch.current;
  const int64_t wireLeft = WireLeft();
  heard.requestEnd = g_watch.requestEnd;
  heard.slot = g_watch.times.SlotOf(exchange, wireLeft);
  heard.soonestPossible = g_watch.times.PacedLikeWire() ? wireLeft + answertiming::kByteMicros : 0;
  heard.answerBytes = answerBytes;
  Verdict verdict = answertiming::Judge(heard);
  if (verdict == Verdict::HearOut) {
    // The pause counts towards the hearing out: the PC sends nothing during either.
    cps::Sleep(pauseMs);
    pauseMs = 0;
    const bool heardOut = ListenUntil(
        answertiming::HearOutEnd(heard, g_watch.times.DeliverySlack()), heard.arrivals.size());
    heard.heardOut = true;
    verdict = heardOut ? answertiming::Judge(heard) : Verdict::Noisy;
  }
  // An answer heard alone teaches when this radio answers, a slow one heard out included.
  if (answertiming::IsAlone(verdict)) {
    g_watch.times.Learn(exchange, answertiming::FirstArrival(heard) - heard.requestEnd, wireLeft,
                        heard.arrivals);
  }
  g_watch.lastAnswer = heard;
  StartNextAnswer();
  cps::Sleep(pauseMs);
  return verdict;
}

bool AnswerAlone() {
  LookAtLine();
  return g_watch.current.arrivals.empty();
}

const AnswerHeard& LastAnswerHeard() { return g_watch.lastAnswer; }
const AnswerHeard& HeardSinceAnswer() { return g_watch.current; }
const answertiming::AnswerTimes& RadioAnswerTimes() { return g_watch.times; }

bool HearOutAnswer() {
  return ListenUntil(answertiming::ListenEnd(g_watch.lastAnswer), 0) &&
         g_watch.current.arrivals.empty();
}

int HearOutForMissedFrame(int frameBytes) {
  const AnswerHeard& answer = g_watch.lastAnswer;
  const int64_t frame = frameBytes * answertiming::kByteMicros;
  if (!ListenUntilQuiet(answertiming::ListenEnd(answer) + frame)) return frameBytes;
  return answertiming::BytesBesidesAnswer(answer) + answertiming::BytesOf(g_watch.current);
}

bool QuietAfterRequest(answertiming::Exchange exchange, int answerBytes) {
  const answertiming::Slot slot = g_watch.times.SlotOf(exchange, WireLeft());
  const int64_t latest = std::clamp<int64_t>(slot.latest, 0, answertiming::kMaxHearOut);
  ListenUntilQuiet(g_watch.requestEnd + latest + answerBytes * answertiming::kByteMicros);
  return !CommError && g_watch.current.arrivals.empty();
}

bool PurgeLine(int frameBytes, int* discarded) {
  ReceiveArmed = false;
  // Expired only when the programming window's closing or Esc forced it: nothing to wait for.
  CommError = ReplyTimedOut;
  if (CommError) return false;
  StartReplyTimeout();
  const int64_t quiet = frameBytes * answertiming::kByteMicros;
  // What arrives is fetched by the port at the yields, and thrown away here as it comes.
  AwaitLink([&] {
    MSComm1().SetInBufferCount(0);
    return ReplyTimedOut || g_clock() - g_watch.lastArrival >= quiet;
  });
  const bool wentQuiet = !ReplyTimedOut && !CommError;
  StopReplyTimeout();
  DiscardWaitingBytes();
  if (discarded != nullptr) *discarded = answertiming::BytesOf(g_watch.current);
  StartNextAnswer();
  if (!wentQuiet) CommError = true;
  return wentQuiet;
}

bool PurgeIfNoise(int frameBytes) { return AnswerAlone() || PurgeLine(frameBytes); }

// --- LED blink -------------------------------------------------------------------------------

void StartGreenLedBlink() {
  LedBlinkTicks = 1;
  LedBlinkGreen = true;
  LedLit = true;
  LedBlinkActive = true;
}

void StartRedLedBlink() {
  LedBlinkTicks = 1;
  LedBlinkGreen = false;
  LedLit = true;
  LedBlinkActive = true;
}

void StopLedBlink() { LedBlinkActive = false; }
