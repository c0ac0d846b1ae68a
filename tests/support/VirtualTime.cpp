#include "support/VirtualTime.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <optional>

#include "editor/frmMain.h"
#include "platform/CommPort.h"
#include "platform/Runtime.h"
#include "radiolink/CommLink.h"
#include "support/PseudoTerminal.h"
#include "support/SimulatedRadio.h"

namespace {

// A clock that has run a while, as a monotonic one has: no link time starts from zero.
constexpr qint64 kStartUs = 1000 * 1000000LL;
constexpr qint64 kTickUs = 200 * 1000;
// The real idle pass sleeps at most this long when nothing arrives.
constexpr qint64 kIdlePassUs = 5 * 1000;
// The editor's own timer is left running on a day-long interval: it never fires during a test,
// yet a stop and start by the program or a test still switch the virtual ticks off and on.
constexpr int kNeverMs = 24 * 3600 * 1000;
// How long the kernel may take to hand a pseudo-terminal's bytes over before the test fails.
constexpr qint64 kSettleBoundMs = 5000;

}  // namespace

VirtualTime::VirtualTime(PseudoTerminal& line, std::function<SimulatedRadio*()> radio)
    : line_(line), radio_(std::move(radio)), nowUs_(kStartUs), nextTickUs_(kStartUs + kTickUs) {
  cps::CommPort& port = MSComm1();
  receivedBase_ = port.TakenFromDriver() + line_.WaitingAtSlave() - line_.BytesWritten();
  sentBase_ = port.SentCount() - line_.BytesRead();
  settledWritten_ = line_.BytesWritten();
  settledRead_ = line_.BytesRead();
  QObject::connect(&port, &cps::CommPort::OnComm, &guard_, [this] { ++portEvents_; });
  SetLinkClockForTests([this] { return nowUs_; });
  SetLinkIdleForTests([this] { IdlePass(); });
  cps::SetSleepForTests([this](int ms) { Sleep(ms); });
  TakeEditorTimer();
}

VirtualTime::~VirtualTime() {
  SetLinkClockForTests({});
  SetLinkIdleForTests({});
  cps::SetSleepForTests({});
  if (IsFrmMainLoaded()) frmMain().tmrTimer1->setInterval(int(kTickUs / 1000));
}

void VirtualTime::IdlePass() {
  TakeEditorTimer();
  if (idleHook_) idleHook_();
  const int events = portEvents_;
  bool moved = Settle(Events::Run);
  moved = TickIfDue() || moved;
  // The link looks at the line again at this very time: each byte is seen when it came.
  if (moved || portEvents_ != events) return;
  qint64 until = std::min(nextTickUs_, nowUs_ + kIdlePassUs);
  if (SimulatedRadio* radio = radio_())
    until = std::min(until, radio->NextEventUs().value_or(until));
  nowUs_ = std::max(nowUs_, until);
  FireRadio();
  TickIfDue();
  Settle(Events::Run);
}

void VirtualTime::Sleep(int ms) {
  const qint64 end = nowUs_ + qint64(ms) * 1000;
  for (;;) {
    SimulatedRadio* radio = radio_();
    const std::optional<qint64> next = radio ? radio->NextEventUs() : std::nullopt;
    if (!next || *next > end) break;
    nowUs_ = std::max(nowUs_, *next);
    FireRadio();
    Settle(Events::Held);
  }
  nowUs_ = std::max(nowUs_, end);
}

void VirtualTime::FireRadio() {
  if (SimulatedRadio* radio = radio_()) radio->FireDue();
}

// Returns whether bytes reached either end since the line last settled. With events run, the
// program's queued writes reach the driver meanwhile, as its event loop would hand them over now.
bool VirtualTime::Settle(Events events) {
  QElapsedTimer bound;
  bound.start();
  for (;;) {
    if (events == Events::Run) QCoreApplication::processEvents();
    if (!line_.IsValid()) break;  // a pulled cable carries nothing
    if (SimulatedRadio* radio = radio_()) radio->Listen();
    const bool queued = events == Events::Run && MSComm1().OutBufferCount() > 0;
    if (!queued && LineCarried()) {
      // The program's event loop takes what has reached the driver, whenever the kernel got it
      // there: the same on every run.
      if (events == Events::Run) QCoreApplication::processEvents();
      break;
    }
    if (bound.elapsed() > kSettleBoundMs) {
      ADD_FAILURE() << "the line did not settle: port took " << MSComm1().TakenFromDriver() << " + "
                    << line_.WaitingAtSlave() << " - " << receivedBase_ << " of "
                    << line_.BytesWritten() << ", sent " << MSComm1().SentCount() << " - "
                    << sentBase_ << " of which the radio read " << line_.BytesRead();
      break;
    }
    QThread::usleep(10);
  }
  const bool moved = line_.BytesWritten() != settledWritten_ || line_.BytesRead() != settledRead_;
  settledWritten_ = line_.BytesWritten();
  settledRead_ = line_.BytesRead();
  return moved;
}

// Every byte written towards the PC waits in the driver for the program or has been taken by the
// port, and every byte the port handed to the driver has been read by the radio. The clock never
// reads the port itself: bytes reach the program only through its own reads, as on a real line.
bool VirtualTime::LineCarried() {
  cps::CommPort& port = MSComm1();
  const bool arrived =
      port.TakenFromDriver() + line_.WaitingAtSlave() - receivedBase_ == line_.BytesWritten();
  return arrived && port.SentCount() - sentBase_ == line_.BytesRead();
}

// A tick overdue after a blocking pause comes once, and the next one a whole period later, as a
// timer that fired late does.
bool VirtualTime::TickIfDue() {
  if (nowUs_ < nextTickUs_) return false;
  nextTickUs_ += kTickUs;
  if (nextTickUs_ <= nowUs_) nextTickUs_ = nowUs_ + kTickUs;
  if (!IsFrmMainLoaded() || !frmMain().tmrTimer1->isActive()) return false;
  frmMain().tmrTimer1_Timer();
  return true;
}

void VirtualTime::TakeEditorTimer() {
  if (!IsFrmMainLoaded()) return;
  QTimer* timer = frmMain().tmrTimer1;
  if (timer->interval() != kNeverMs) timer->setInterval(kNeverMs);
}
