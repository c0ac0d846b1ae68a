#include "radiolink/CommLink.h"

#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "model/ModuleState.h"
#include "platform/AppSettings.h"
#include "platform/CommPort.h"
#include "platform/Dialogs.h"
#include "platform/Runtime.h"
#include "radiolink/AnswerTiming.h"
#include "radiolink/LinkFrames.h"
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
  answertiming::RadioTimes times;  // what this transfer learned of the radio's answer times
  answertiming::Line line;         // and of the line
  AnswerHeard current;             // the next answer's bytes so far
  AnswerHeard lastAnswer;          // the answer judged last
  int64_t lastLook = 0;            // when the line was last looked at
  int64_t lastByteSeen = 0;        // when bytes last came
  qint64 seen = 0;                 // bytes the port had received by then
  // The PC's bytes given to the port so far cannot have crossed the line sooner than wireFree,
  // and have crossed it by wireFreeBy: the port hands them to the driver at some time between the
  // call and its send event.
  int64_t wireFree = 0;
  int64_t wireFreeBy = 0;
  int64_t requestEnd = 0;  // when the PC's last request had all been given to the port
  bool answerDue = false;  // it had, and no receive has taken its answer yet
};
LineWatch g_watch;

// Logs the bytes that came since the last look, with the time they came in, and returns the time
// read before the port: by then everything that came is seen. The program may stop between reading
// its clock and reading the port, or right after: bytes found came after the clock read before the
// last look, and by the clock read after this one, never by a time read before the port was. So a
// wait compares its deadline only with the time a look returned: a time read after the look may
// be past the deadline while bytes that came in time wait unseen.
int64_t LookAtLine() {
  const int64_t before = g_clock();
  const qint64 received = MSComm1().ReceivedCount();
  if (received > g_watch.seen) {
    const int64_t by = g_clock();
    g_watch.current.arrivals.push_back({g_watch.lastLook, by, int(received - g_watch.seen)});
    g_watch.lastByteSeen = by;
  }
  g_watch.seen = received;
  g_watch.lastLook = before;
  return before;
}

constexpr char kLineSettings[] = "1200,N,8,2";

QString PortUnavailableText() {
  return QStringLiteral("Comm. Port Unavailable !\r\n\r\nPlease Change the Port selection.");
}

// How long a waiting pass sleeps at most when no event arrives: what a wait tests changes only
// in event handlers, so this bounds no more than how late an expired countdown is seen.
constexpr int kIdlePassMs = 5;

// Waits, yielding, until ended(lookedAt) holds for the time a look at the line returned; a port
// error (CommError set by the event handler) ends every wait of the link too.
template <class Ended>
void AwaitLink(Ended ended) {
  linkwait::WaitUntil([&ended] { return ended(LookAtLine()) || CommError; }, LinkYield);
}

// Outputs one byte array and waits for its send event; false when the reply time-out expired
// or the port failed. onSent runs when the event came.
template <class OnSent>
bool OutputAndAwaitSend(const QByteArray& bytes, OnSent onSent) {
  // A send event left from an earlier send that timed out would end this wait at once.
  CommSendEvent = false;
  StartReplyTimeout();
  MSComm1().SetOutBufferCount(0);
  const int64_t given = g_clock();
  g_watch.answerDue = false;
  MSComm1().Output(bytes);
  AwaitLink([](int64_t) { return ReplyTimedOut || CommSendEvent; });
  if (ReplyTimedOut || CommError) return false;
  CommSendEvent = false;
  StopReplyTimeout();
  // A stall of the program before the send event was seen moves only the upper bound: a byte
  // that came meanwhile is never taken to have come before the request could be heard.
  g_watch.wireFree = answertiming::CrossedBy(g_watch.wireFree, given, int(bytes.size()));
  g_watch.wireFreeBy = answertiming::CrossedBy(g_watch.wireFreeBy, g_clock(), int(bytes.size()));
  g_watch.requestEnd = given;
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
// neither a flag left from an earlier receive nor an event that came too soon ends it with fewer
// than it asked for.
bool ReceiveDue(int bytes) {
  if (CommReceiveEvent && MSComm1().InBufferCount() < bytes) CommReceiveEvent = false;
  return CommReceiveEvent;
}

// Bytes that came after the request and before the receive was armed raised their receive event
// while nothing was armed: they are the receive's all the same.
void TakeNoticeOfWaiting(int bytes) {
  if (MSComm1().InBufferCount() >= bytes) CommReceiveEvent = true;
}

// The receive has taken its answer: from here on a clearing throws away what waits.
void AnswerTaken() { g_watch.answerDue = false; }

void ReceiveBlock(void (*prepare)()) {
  ReceiveArmed = true;
  RxByte = 0;
  CommError = false;
  prepare();
  StartReplyTimeout();
  const int bytes = MSComm1().RThreshold();
  TakeNoticeOfWaiting(bytes);
  AwaitLink([bytes](int64_t) { return ReplyTimedOut || ReceiveDue(bytes); });
  if (!ReplyTimedOut && !CommError) {
    CommReceiveEvent = false;
    StopReplyTimeout();
    LookAtLine();
    RxBuffer = MSComm1().Input();
    AnswerTaken();
    ResetCommThresholds();
  } else {
    StopReplyTimeout();
    CommError = true;
    ResetCommThresholds();
  }
  ReceiveArmed = false;
}

// Every clearing of the buffers logs what it throws away first: the link clears only where the
// radio has nothing to say, so whatever is there is judged with the next answer. Once a request
// has gone, nothing is thrown away until its answer is taken: what waits may be that answer, come
// before the program, stopped for a while, saw its request go.
void DiscardWaitingBytes() {
  LookAtLine();
  if (!g_watch.answerDue) MSComm1().SetInBufferCount(0);
}

// A purge throws away whatever waits, an answer included: none is due any more.
void ThrowAwayWaiting() {
  g_watch.answerDue = false;
  DiscardWaitingBytes();
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
  if (!OutputAndAwaitSend(QByteArray(1, static_cast<char>(b)), ClearCommBuffers)) {
    // The command did not go out: the trailing zero byte is not sent either.
    StopReplyTimeout();
    CommError = true;
    return;
  }
  CommError = false;
  ClearCommBuffers();
  const auto requestGone = [] {
    g_watch.answerDue = true;
    ClearCommBuffers();
  };
  if (!OutputAndAwaitSend(QByteArray(1, '\0'), requestGone)) {
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
  AnswerTaken();
  ClearCommBuffers();
}

}  // namespace

void ReceiveReplyByte() {
  ReceiveArmed = true;
  RxByte = 0;
  CommError = false;
  ClearCommBuffers();
  StartReplyTimeout();
  TakeNoticeOfWaiting(1);
  AwaitLink([](int64_t) { return ReplyTimedOut || ReceiveDue(1); });
  if (!ReplyTimedOut && !CommError) TakeReplyByte();
  if (ReplyTimedOut || CommError) {
    StopReplyTimeout();
    CommError = true;
  }
  ReceiveArmed = false;
}

void WaitReplyByteCountdown() {
  ReceiveArmed = true;
  RxByte = 0;
  TransferAborted = false;
  CommError = false;
  ClearCommBuffers();
  StopReplyTimeout();
  TakeNoticeOfWaiting(1);
  // Every pass looks at the line, as the other waits do: the answer's time is then its own. The
  // countdown runs out only at a look after it did, and what that look found is waiting, whether
  // or not its receive event has been raised yet.
  const bool ended = linkwait::WaitUntil(
      [] {
        LookAtLine();
        TakeNoticeOfWaiting(1);
        return TransferAborted || ReceiveDue(1) || CommError;
      },
      LinkYield, &RxCountdown, g_clock);
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

// Listens until `until`, or until more than `heard` looks have brought bytes since the last
// answer was judged. The last look is then at `until` or later: a byte seen after it came after
// `until`. False when the listening was cut short: the reply time-out expires only when the
// programming window's closing or Esc forced it, and CommError then says so (as after a port
// failure).
bool ListenUntil(int64_t until, size_t heard) {
  AwaitLink([&](int64_t lookedAt) {
    return g_watch.current.arrivals.size() > heard || ReplyTimedOut || lookedAt >= until;
  });
  LookAtLine();
  if (ReplyTimedOut) {
    StopReplyTimeout();
    CommError = true;
  }
  return !CommError;
}

int64_t WireLeft() { return answertiming::WireLeft(g_watch.wireFree, g_watch.requestEnd); }

// Bytes from here on belong to the next answer.
void StartNextAnswer() { g_watch.current = AnswerHeard{}; }

// Hears out an answer that came off the radio's time; afterwards the verdict on it is final.
Verdict HearOutOffTime(AnswerHeard& heard) {
  const bool heardOut =
      ListenUntil(answertiming::HearOutEnd(heard, g_watch.line), heard.arrivals.size());
  return answertiming::JudgeHeardOut(heard, heardOut);
}

}  // namespace

void StartLineWatch() {
  g_watch = LineWatch{};
  g_watch.seen = MSComm1().ReceivedCount();
  g_watch.lastLook = g_clock();
  g_watch.requestEnd = g_watch.lastLook;
  g_watch.wireFree = g_watch.lastLook;
  g_watch.wireFreeBy = g_watch.lastLook;
}

JudgedAnswer JudgeAnswer(answertiming::Exchange exchange, int answerBytes, int pauseMs) {
  LookAtLine();
  AnswerHeard& heard = g_watch.current;
  const int64_t wireLeft = WireLeft();
  heard.requestEnd = g_watch.requestEnd;
  heard.heardAfter = g_watch.wireFree;
  heard.heardBy = g_watch.wireFreeBy;
  heard.slot = g_watch.times.Expected(exchange, wireLeft, g_watch.line);
  heard.soonestPossible = g_watch.line.SoonestAnswer(wireLeft);
  heard.answerBytes = answerBytes;
  Verdict verdict = answertiming::Judge(heard);
  if (verdict == Verdict::OffTime) {
    // The pause counts towards the hearing out: the PC sends nothing during either.
    cps::Sleep(std::exchange(pauseMs, 0));
    verdict = HearOutOffTime(heard);
  }
  g_watch.lastAnswer = heard;
  StartNextAnswer();
  cps::Sleep(pauseMs);
  return JudgedAnswer(exchange, g_watch.lastAnswer, verdict);
}

void JudgedAnswer::Take() {
  if (!heard_) return;
  if (answertiming::TeachesTime(*heard_)) {
    g_watch.times.Learn(exchange_, answertiming::Latency(*heard_),
                        answertiming::WireLeft(heard_->heardAfter, heard_->requestEnd));
  }
  g_watch.line.LearnFrame(heard_->arrivals);
  heard_.reset();
}

bool NothingSinceAnswer() {
  LookAtLine();
  return g_watch.current.arrivals.empty();
}

bool HearOutUntil(int64_t until) {
  return ListenUntil(until, 0) && g_watch.current.arrivals.empty();
}

bool AnswerStoodAlone() {
  return HearOutUntil(answertiming::QuietAfter(g_watch.lastAnswer, g_watch.line));
}

bool HearOutAnswer() {
  return HearOutUntil(answertiming::OneMoreAnswerEnd(g_watch.lastAnswer, g_watch.line));
}

int HearWholeUntil(int64_t until) {
  // A run that started by `until` is heard to its end, however long the line keeps talking:
  // at most a frame of the longest kind more.
  const int64_t bound = answertiming::HearWholeBound(until, frames::kIdentityFrameSize);
  for (;;) {
    // Cut short, the listening can tell nothing: as if a whole frame had come.
    if (!ListenUntil(until, SIZE_MAX)) return std::numeric_limits<int>::max();
    const int64_t quiet = answertiming::QuietAfter(g_watch.current, g_watch.line);
    const int64_t lookedAt = g_watch.lastLook;
    if (g_watch.current.arrivals.empty() || lookedAt >= quiet || lookedAt >= bound) break;
    until = std::min(quiet, bound);
  }
  return answertiming::BytesBesidesAnswer(g_watch.lastAnswer, g_watch.line) +
         answertiming::BytesOf(g_watch.current);
}

const AnswerHeard& LastAnswerHeard() { return g_watch.lastAnswer; }
const AnswerHeard& HeardSinceAnswer() { return g_watch.current; }
const answertiming::Line& LineLearned() { return g_watch.line; }
int64_t UnansweredRequestShownBy() {
  return answertiming::AnswerShownBy(g_watch.wireFreeBy, g_watch.line);
}
int64_t OwnAnswerShownBy() {
  return answertiming::OwnAnswerShownBy(g_watch.lastAnswer, g_watch.line);
}
int64_t OwedAnswerShownBy() {
  return answertiming::OwedAnswerShownBy(g_watch.lastAnswer, g_watch.line);
}

bool PurgeLine(int frameBytes, int* discarded) {
  ReceiveArmed = false;
  // Expired only when the programming window's closing or Esc forced it: nothing to wait for.
  CommError = ReplyTimedOut;
  if (CommError) return false;
  StartReplyTimeout();
  // Every pass looks at the line: the quiet is counted from the last byte that came.
  AwaitLink([&](int64_t lookedAt) {
    return ReplyTimedOut ||
           lookedAt >= answertiming::PurgeQuietEnd(g_watch.lastByteSeen, frameBytes, g_watch.line);
  });
  const bool wentQuiet = !ReplyTimedOut && !CommError;
  StopReplyTimeout();
  ThrowAwayWaiting();
  if (discarded != nullptr) *discarded = answertiming::BytesOf(g_watch.current);
  StartNextAnswer();
  if (!wentQuiet) CommError = true;
  return wentQuiet;
}

bool PurgeIfNoise(int frameBytes) { return NothingSinceAnswer() || PurgeLine(frameBytes); }

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
