// The radio link's GUI tests: the common start and end of AppTestBase, plus the main window with
// its editor and every Com port routed to a pseudo-terminal whose far end is a simulated radio.
// The editor's timer ticks faster than 200 ms so that time-outs stay short; each time-out is
// still ten ticks. The reply countdown's clock runs as much faster.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
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

class LinkTest : public AppTestBase {
 protected:
  static constexpr int kTestTickMs = 40;
  static constexpr int kSpeedUp = 200 / kTestTickMs;

  void SetUp() override {
    AppTestBase::SetUp();
    SetLinkClockForTests([] { return kSpeedUp * linkwait::MonotonicMicros(); });
    ASSERT_TRUE(line_.IsValid());
    RouteCommPortsTo(line_);
    radio_ = std::make_unique<SimulatedRadio>(line_);
    MDIFormMain();  // its Load creates the editor and opens the port
    frmMain().tmrTimer1->setInterval(kTestTickMs);
    cps::DialogScript::Reset();
  }

  void TearDown() override {
    for (QTimer* watch : watches_) delete watch;
    DestroyFrmPasswordWForTests();
    DestroyFrmProgramForTests();
    AppTestBase::TearDown();
    DestroyMSComm1ForTests();
    SetLinkClockForTests({});
    radio_.reset();
    RouteCommPortsToQuietLine();
  }

  // Runs action once, from inside whatever wait is then yielding, as soon as cond holds.
  template <class Cond, class Action>
  void When(Cond cond, Action action) {
    auto* watch = new QTimer();
    watch->setInterval(1);
    QObject::connect(watch, &QTimer::timeout, [watch, cond, action] {
      if (!watch->isActive() || !cond()) return;
      watch->stop();
      action();
    });
    watch->start();
    watches_.push_back(watch);
  }

  // Yields until done() holds or ms milliseconds have passed; true when it held.
  template <class Done>
  static bool ProcessUntil(Done done, int ms = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
      if (clock.elapsed() > ms) return false;
      cps::DoEvents();
    }
    return true;
  }

  static QString StatusLine(FrmProgram& program) { return program.lblProgram->Caption(); }

  // The radio's line paced as a 1200-baud wire at the tests' speed: its bytes and its delay
  // before an answer as much shorter as the link's time-outs.
  void PaceAsWire(SimulatedRadio& radio) const {
    radio.paceUs = 11 * 1000000 / 1200 / speedUp_;  // 8 data bits, 2 stop bits
    radio.answerDelayUs = 3000 / speedUp_;
  }
  // A radio on a line paced as the wire whose answers take minMs to maxMs, drawn anew for each
  // answer, at the wire's time scale.
  void VaryAnswerTimes(SimulatedRadio& radio, int minMs, int maxMs, quint32 seed = 1) const {
    PaceAsWire(radio);
    radio.answerDelayUs = minMs * 1000 / speedUp_;
    radio.answerDelayMaxUs = maxMs * 1000 / speedUp_;
    radio.timingSeed = seed;
  }
  int ScaledUs(int ms) const { return ms * 1000 / speedUp_; }
  // Answer times a transfer must take in its stride: drawn anew from 5 to 200 ms, the same
  // handed over every 16 ms as by a USB adapter, and a steady 20 ms radio that takes 1.5 s to
  // wake up (a test adds its odd answers to that one).
  enum class Timing { Drawn, DrawnThroughAdapter, SlowToWake };
  static constexpr Timing kVariedTimings[] = {Timing::Drawn, Timing::DrawnThroughAdapter,
                                              Timing::SlowToWake};
  void ShapeAnswerTimes(SimulatedRadio& radio, Timing timing) const {
    if (timing == Timing::SlowToWake) {
      PaceAsWire(radio);
      radio.answerDelayUs = ScaledUs(20);
      radio.SetAnswerDelay('V', 1, ScaledUs(1500));
      return;
    }
    VaryAnswerTimes(radio, 5, 200);
    if (timing == Timing::DrawnThroughAdapter) radio.adapterChunkUs = ScaledUs(16);
  }
  // Noise just before the radio's identity frame that passes for one: sixteen bytes and their sum
  // byte (16 x 0x21 = 0x210).
  static void AddIdentityLookAlike(SimulatedRadio& radio) {
    radio.AddNoise('I', 1, SimulatedRadio::NoiseAt::Before, QByteArray(16, '\x21') + '\x10');
  }
  // From here on the link, the editor's timer and a paced line run at the wire's own speed, where
  // a byte takes longer than the transfers' shortest pauses.
  void RunAtWireSpeed() {
    speedUp_ = 1;
    SetLinkClockForTests({});
    frmMain().tmrTimer1->setInterval(200);
  }
  PseudoTerminal line_;
  std::unique_ptr<SimulatedRadio> radio_;
  int speedUp_ = kSpeedUp;
  std::vector<QTimer*> watches_;
};
