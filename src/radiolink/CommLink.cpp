#include "radiolink/CommLink.h"

#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <algorithm>

#include "model/ModuleState.h"
#include "platform/AppSettings.h"
#include "platform/CommPort.h"
#include "platform/Dialogs.h"
#include "radiolink/LinkWait.h"
#include "shell/MDIFormMain.h"

namespace {

QPointer<cps::CommPort> g_comm;
linkwait::Clock g_clock = linkwait::MonotonicMicros;
QByteArray g_trace;  // the bytes received since StartReceiveTrace

constexpr int kTraceBytes = 64;

void Received(const QByteArray& bytes) { g_trace.append(bytes.left(kTraceBytes - g_trace.size())); }

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
  linkwait::WaitUntil([&ended] { return ended() || CommError; }, LinkYield);
}

// Outputs one byte array and waits for its send event; false when the reply time-out expired
// or the port failed. onSent runs when the event came.
template <class OnSent>
bool OutputAndAwaitSend(const QByteArray& bytes, OnSent onSent) {
  // A send event left from an earlier send that timed out would end this wait at once.
  CommSendEvent = false;
  StartReplyTimeout();
  MSComm1().SetOutBufferCount(0);
  MSComm1().Output(bytes);
  AwaitLink([] { return ReplyTimedOut || CommSendEvent; });
  if (ReplyTimedOut || CommError) return false;
  CommSendEvent = false;
  StopReplyTimeout();
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

void ReceiveBlock(void (*prepare)(), int frameSize) {
  ReceiveArmed = true;
  RxByte = 0;
  CommError = false;
  prepare();
  StartReplyTimeout();
  AwaitLink([] { return ReplyTimedOut || CommReceiveEvent; });
  if (!ReplyTimedOut && !CommError) {
    CommReceiveEvent = false;
    StopReplyTimeout();
    RxBuffer = MSComm1().Input();
    Received(RxBuffer);
    StrayBytes += std::max<int>(0, int(RxBuffer.size()) - frameSize);
    ResetCommThresholds();
  } else {
    StopReplyTimeout();
    CommError = true;
    ResetCommThresholds();
  }
  ReceiveArmed = false;
}

// Every clearing of the buffers counts what it throws away: the link clears only where the radio
// has nothing to say.
void DiscardWaitingBytes() {
  StrayBytes += MSComm1().InBufferCount();
  Received(MSComm1().Input());
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

void MSComm1_OnComm() {
  if (MSComm1().CommEvent() == cps::comEvSend) CommSendEvent = true;
  if (MSComm1().CommEvent() == cps::comEvReceive) CommReceiveEvent = ReceiveArmed;
  // An unplugged cable ends the exchange in progress now, not on its time-out.
  if (MSComm1().CommEvent() == cps::comEvPortError) CommError = true;
}

void LinkYield() {
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
  const QByteArray input = MSComm1().Input();
  Received(input);
  RxByte = input.isEmpty() ? 0 : static_cast<uint8_t>(input[0]);
  StrayBytes += std::max<int>(0, int(input.size()) - 1);
  FlushCommBuffers();
}

}  // namespace

void ReceiveReplyByte() {
  ReceiveArmed = true;
  RxByte = 0;
  CommError = false;
  ClearCommBuffers();
  StartReplyTimeout();
  AwaitLink([] { return ReplyTimedOut || CommReceiveEvent; });
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
  const bool ended =
      linkwait::WaitUntil([] { return TransferAborted || CommReceiveEvent || CommError; },
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

void ReceiveBlock9() { ReceiveBlock(PrepareReceive9, 9); }
void ReceiveBlock10() { ReceiveBlock(PrepareReceive10, 10); }
void ReceiveBlock17() { ReceiveBlock(PrepareReceive17, 17); }

// --- Noise on the line -----------------------------------------------------------------------

bool LineClean() { return StrayBytes == 0 && MSComm1().InBufferCount() == 0; }

void StartReceiveTrace() { g_trace.clear(); }
QByteArray ReceiveTrace() { return g_trace; }

void StartAnswerWindow() {
  ClearCommBuffers();
  StrayBytes = 0;
}

int PurgeLine(int frameBytes) {
  ReceiveArmed = false;
  CommError = false;
  StartReplyTimeout();
  const int64_t quiet = frameBytes * kByteMicros;
  int64_t lastArrival = g_clock();
  int discarded = 0;
  // What arrives is fetched by the port at the yields, and taken here as it comes.
  AwaitLink([&] {
    if (const QByteArray came = MSComm1().Input(); !came.isEmpty()) {
      discarded += int(came.size());
      Received(came);
      lastArrival = g_clock();
    }
    return ReplyTimedOut || g_clock() - lastArrival >= quiet;
  });
  const bool wentQuiet = !ReplyTimedOut && !CommError;
  StopReplyTimeout();
  if (!wentQuiet) {
    CommError = true;
    return discarded;
  }
  discarded += MSComm1().InBufferCount();
  MSComm1().SetInBufferCount(0);
  StrayBytes = 0;
  return discarded;
}

bool LineStaysQuiet(int frameBytes) {
  const int64_t start = g_clock();
  AwaitLink([&] {
    return MSComm1().InBufferCount() > 0 || ReplyTimedOut ||
           g_clock() - start >= frameBytes * kByteMicros;
  });
  // Expired only when the programming window's closing or Esc forced it.
  if (ReplyTimedOut) {
    StopReplyTimeout();
    CommError = true;
  }
  return !CommError && LineClean();
}

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
