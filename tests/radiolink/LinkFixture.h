// The radio link's GUI tests: the common start and end of AppTestBase, plus the main window with
// its editor and every Com port routed to a pseudo-terminal whose far end is a simulated radio.
// The link, the editor's timer and the radio run on one virtual clock (VirtualTime.h), so tests
// state the wire's own times and every verdict is the same on any machine. RealTimeLinkTest runs
// them on the real clocks instead, for a test that measures real time or processor use.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "editor/frmMain.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/AppSettings.h"
#include "platform/CommPort.h"
#include "platform/CommandButton.h"
#include "platform/Dialogs.h"
#include "platform/Label.h"
#include "platform/Runtime.h"
#include "radiolink/CommLink.h"
#include "radiolink/LinkWait.h"
#include "radiolink/ProgramOpeners.h"
#include "radiolink/frmPasswordW.h"
#include "radiolink/frmProgram.h"
#include "shell/MDIFormMain.h"
#include "shell/frmProtection.h"
#include "support/AppTestBase.h"
#include "support/PseudoTerminal.h"
#include "support/QtPrinters.h"
#include "support/SimulatedRadio.h"
#include "support/VirtualTime.h"
#include "support/WireFloor.h"

class LinkTest : public AppTestBase {
 protected:
  void SetUp() override {
    AppTestBase::SetUp();
    ASSERT_TRUE(line_.IsValid());
    RouteCommPortsTo(line_);
    MDIFormMain();  // its Load creates the editor and opens the port
    if (realTime_) {
      QObject::connect(&watchTimer_, &QTimer::timeout, [this] { RunWatches(); });
      watchTimer_.start(1);
    } else {
      time_ = std::make_unique<VirtualTime>(line_, [this] { return radio_.get(); });
      time_->SetIdleHook([this] { RunWatches(); });
      SetLinkClockForTests([this] { return ReadLinkClock(); });
      cps::SetAfterDriverReadForTests([this] { StopIfDue(lookStops_); });
    }
    NewRadio();
    cps::DialogScript::Reset();
  }

  void TearDown() override {
    watchTimer_.stop();
    cps::SetAfterDriverReadForTests({});
    radio_.reset();  // before the clock it may run on
    time_.reset();
    DestroyFrmPasswordWForTests();
    DestroyFrmProgramForTests();
    AppTestBase::TearDown();
    DestroyMSComm1ForTests();
    RouteCommPortsToQuietLine();
  }

  // A fresh radio on the line, in place of the one there, on the test's clock.
  void NewRadio() {
    radio_ = std::make_unique<SimulatedRadio>(line_, time_ ? time_->Clock() : nullptr);
  }

  // Runs an action once, from inside whatever wait is then yielding, as soon as cond holds:
  // evaluated at every idle pass of the virtual clock, every millisecond on the real one.
  struct Watch {
    std::function<bool()> cond;
    std::function<void()> action;
    bool armed = true;
  };
  Watch& When(std::function<bool()> cond, std::function<void()> action) {
    watches_.push_back(std::make_unique<Watch>(Watch{std::move(cond), std::move(action)}));
    return *watches_.back();
  }
  void RunWatches() {
    // An action may wait in its turn, and so come back here.
    for (size_t i = 0; i < watches_.size(); ++i) {
      Watch& watch = *watches_[i];
      if (!watch.armed || !watch.cond()) continue;
      watch.armed = false;
      watch.action();
    }
  }

  // Stops the program for ms milliseconds right after it reads the link's clock once due() holds
  // there (at atUs or later): it goes on with the time it read, as a program stopped between two
  // of its steps does, and may find bytes that came meanwhile. stoppedUs_ adds up the stops.
  void StopAfterClockRead(std::function<bool()> due, int ms) {
    clockStops_.push_back({std::move(due), ms});
  }
  void StopAfterClockReadAt(qint64 atUs, int ms) {
    StopAfterClockRead([this, atUs] { return NowUs() >= atUs; }, ms);
  }
  qint64 ReadLinkClock() {
    const qint64 now = time_->NowUs();
    StopIfDue(clockStops_);
    return now;
  }
  // Stops the program for ms milliseconds right after a look at the line (a read of the port)
  // once due() holds there: what came meanwhile waits for its next look, and its next clock read
  // tells the time after the stop.
  void StopAfterLook(std::function<bool()> due, int ms) {
    lookStops_.push_back({std::move(due), ms});
  }
  struct Stop {
    std::function<bool()> due;
    int ms;  // 0 once made
  };
  void StopIfDue(std::vector<Stop>& stops) {
    for (Stop& stop : stops) {
      if (stop.ms == 0 || !stop.due()) continue;
      const int ms = std::exchange(stop.ms, 0);
      time_->Sleep(ms);
      stoppedUs_ += ms * 1000;
      break;
    }
  }

  // Yields until done() holds or ms milliseconds have passed; true when it held.
  template <class Done>
  bool ProcessUntil(Done done, int ms = 3000) {
    const qint64 start = NowUs();
    while (!done()) {
      if (NowUs() - start > qint64(ms) * 1000) return false;
      if (time_) {
        time_->IdlePass();
      } else {
        cps::DoEvents();
      }
    }
    return true;
  }

  // The test's clock in microseconds: the virtual one, or the link's real clock.
  qint64 NowUs() const { return time_ ? time_->NowUs() : linkwait::MonotonicMicros(); }

  static QString StatusLine(FrmProgram& program) { return program.lblProgram->Caption(); }

  // The radio's line paced as a 1200-baud wire: 11 bits a byte (8 data bits, 2 stop bits), and
  // 3 ms before each answer.
  static void PaceAsWire(SimulatedRadio& radio) {
    radio.paceUs = 11 * 1000000 / 1200;
    radio.answerDelayUs = 3000;
  }
  // A radio on a line paced as the wire whose answers take minMs to maxMs, drawn anew for each
  // answer.
  static void VaryAnswerTimes(SimulatedRadio& radio, int minMs, int maxMs, quint32 seed = 1) {
    PaceAsWire(radio);
    radio.answerDelayUs = minMs * 1000;
    radio.answerDelayMaxUs = maxMs * 1000;
    radio.timingSeed = seed;
  }
  // Answer times a transfer must take in its stride, each with the most it may then take over
  // the wire's floor (WireFloor.h): drawn anew from 5 to 200 ms, the same handed over every 16 ms
  // as by a USB adapter; a steady 20 ms radio that takes 1.5 s to wake up (a test adds its odd
  // answers to that one), or 600 ms for its identity; two habits, 180 ms and one answer in five
  // in 10 ms, or the other way round; 200 ms for its first ten answers, then 20 ms; 20 ms through
  // an adapter that hands bytes over every 40 ms; at once, the moment it has heard a request.
  enum class Timing {
    Drawn,
    DrawnThroughAdapter,
    SlowToWake,
    SlowIdentity,
    MostlySlow,
    MostlyFast,
    SlowStart,
    SlowAdapter,
    Instant
  };
  struct TimingLimit {
    Timing timing;
    double mostOverFloor;
  };
  static constexpr TimingLimit kVariedTimings[] = {
      {Timing::Drawn, 1.10},        {Timing::DrawnThroughAdapter, 1.10}, {Timing::SlowToWake, 1.07},
      {Timing::SlowIdentity, 1.07}, {Timing::MostlySlow, 1.10},          {Timing::MostlyFast, 1.10},
      {Timing::SlowStart, 1.10},    {Timing::SlowAdapter, 1.07},         {Timing::Instant, 1.07}};
  static void ShapeAnswerTimes(SimulatedRadio& radio, Timing timing) {
    PaceAsWire(radio);
    radio.answerDelayUs = 20000;
    switch (timing) {
      case Timing::Drawn:
      case Timing::DrawnThroughAdapter:
        VaryAnswerTimes(radio, 5, 200);
        if (timing == Timing::DrawnThroughAdapter) radio.adapterChunkUs = 16000;
        break;
      case Timing::SlowToWake:
        radio.SetAnswerDelay('V', 1, 1500000);
        break;
      case Timing::SlowIdentity:
        radio.SetAnswerDelay('I', 1, 600000);
        break;
      case Timing::MostlySlow:
      case Timing::MostlyFast:
        radio.answerDelayUs = timing == Timing::MostlySlow ? 180000 : 10000;
        radio.habitDelayUs = timing == Timing::MostlySlow ? 10000 : 180000;
        radio.habitOneIn = 5;
        break;
      case Timing::SlowStart:
        radio.slowAnswers = 10;
        radio.slowAnswerDelayUs = 200000;
        break;
      case Timing::SlowAdapter:
        radio.adapterChunkUs = 40000;
        break;
      case Timing::Instant:
        radio.answerDelayUs = 0;
        break;
    }
  }
  // Noise just before the radio's identity frame that passes for one: sixteen bytes and their sum
  // byte (16 x 0x21 = 0x210).
  static void AddIdentityLookAlike(SimulatedRadio& radio) {
    radio.AddNoise('I', 1, SimulatedRadio::NoiseAt::Before, QByteArray(16, '\x21') + '\x10');
  }

  bool realTime_ = false;
  PseudoTerminal line_;
  std::unique_ptr<VirtualTime> time_;
  std::unique_ptr<SimulatedRadio> radio_;
  std::vector<std::unique_ptr<Watch>> watches_;
  QTimer watchTimer_;
  std::vector<Stop> clockStops_;
  std::vector<Stop> lookStops_;
  qint64 stoppedUs_ = 0;
};

// The same on the real clocks: the link's, the editor's 200 ms timer and the radio's thread.
class RealTimeLinkTest : public LinkTest {
 protected:
  RealTimeLinkTest() { realTime_ = true; }
};
