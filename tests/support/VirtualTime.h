// One clock, in microseconds, for the program's radio link and the simulated radio at the far
// end of its pseudo-terminal. It moves only when the program waits, so every byte reaches the
// other end at its own time on the line, however fast or busy the machine is.
//
// Made, it stands in for the link's clock, its idle pass and the program's blocking pause, and
// ticks the editor's 200 ms timer itself; destroyed, it puts the real ones back.
//   - An idle pass runs the pending events and lets the line settle. Only when nothing reached
//     either end and the port raised nothing does the clock move, to the radio's next action,
//     the editor's next tick or 5 ms on, whichever comes first; what is due then happens.
//   - A blocking pause moves the clock on by its length, the radio's actions happening each at
//     its time meanwhile; no event is run, as none runs while the program sleeps.
//   - The line has settled when every byte written into one end has been taken at the other:
//     the kernel hands a pseudo-terminal's bytes over a little later, in real time.
#pragma once

#include <QObject>
#include <QtGlobal>
#include <functional>
#include <utility>

class PseudoTerminal;
class SimulatedRadio;

class VirtualTime {
 public:
  // The radio is asked for anew each time: a test may put another one on the line.
  VirtualTime(PseudoTerminal& line, std::function<SimulatedRadio*()> radio);
  ~VirtualTime();
  VirtualTime(const VirtualTime&) = delete;
  VirtualTime& operator=(const VirtualTime&) = delete;

  qint64 NowUs() const { return nowUs_; }
  // The clock as a function, for a simulated radio made to run on it.
  std::function<qint64()> Clock() const {
    return [this] { return nowUs_; };
  }
  // Runs at the start of every idle pass, before its events.
  void SetIdleHook(std::function<void()> hook) { idleHook_ = std::move(hook); }

  // One idle pass of a wait.
  void IdlePass();
  // A blocking pause of ms milliseconds.
  void Sleep(int ms);

 private:
  enum class Events { Run, Held };
  bool Settle(Events events);
  bool LineCarried();
  void FireRadio();
  bool TickIfDue();
  void TakeEditorTimer();

  PseudoTerminal& line_;
  std::function<SimulatedRadio*()> radio_;
  std::function<void()> idleHook_;
  qint64 nowUs_;
  qint64 nextTickUs_;
  qint64 receivedBase_ = 0;  // the port's received count less what the line had carried
  qint64 sentBase_ = 0;      // the port's sent count less what the line had given up
  qint64 settledWritten_ = 0;
  qint64 settledRead_ = 0;
  int portEvents_ = 0;
  QObject guard_;  // ends the connection to the port's events with this clock
};
