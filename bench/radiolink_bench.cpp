// The radio transfers through the real programming window against the simulated radio, on a
// pseudo-terminal paced as a wire at 1200 baud (8 data bits, 2 stop bits: 11 bits a byte).
//
// Quiet line, at the wire's own speed: reads and writes, each timed against the wire's floor,
// which is every byte of the exchange in both directions plus the pauses the protocol makes
// itself, the radio's own time before each answer as it took it, how much later its adapter, if
// any, handed each answer over, and the guard at the transfer's end (WireFloor.h). Targets, read
// and write: 1.03 and 1.05 x the floor with steady answers; 1.08 and 1.07 with answers drawn from a
// range, with two habits or a slow start; 1.06 and 1.05 with one odd answer; 1.04 and 1.05
// through a slow adapter; 1.08 and 1.08 with the program stopped now and then, the time it was
// stopped counted in; at most 5 % of a core (the simulated radio runs on the same thread and is
// counted in); and no block of a read asked for again. The radio answers
//   Steady3ms                 in 3 ms;
//   Steady20ms                in 20 ms;
//   Drawn5To200ms             in 5 to 200 ms, drawn for each answer (three seeds: the worst
//                             x_floor and the mean);
//   Drawn5To200msAdapter16ms  the same through an adapter that hands bytes over every 16 ms;
//   OneBlockAnswer450ms       in 20 ms, block 10 (of a write, the 10th frame) in 450 ms;
//   FirstWakeUp1500ms         in 20 ms, the first wake-up after 1.5 s;
//   Identity450ms, 600ms      in 20 ms, the identity after 450 or 600 ms;
//   Mostly180msSome10ms       in 180 ms, one answer in five (drawn) in 10 ms (three seeds);
//   Mostly10msSome180ms       the other way round (three seeds);
//   First10Answers200ms       in 200 ms for its first ten answers, then in 20 ms;
//   Steady20msAdapter40ms     in 20 ms, through an adapter that hands bytes over every 40 ms;
//   EveryEighthFrame150ms     in 20 ms, every eighth frame of a write in 150 ms (write only);
//   Stalled                   in 20 ms, the program stopped for 0.15 to 0.3 s every 0.3 to 1 s
//                             (three seeds), as on a loaded desktop.
// --benchmark_filter=Quiet runs only these.
//
// Noisy line, paced as the wire at its own speed, the noise bytes taking their turn on the line
// as the radio's do; about 25 minutes for all. CPS_NOISY_SPEEDUP=5 runs five times faster, as the
// link tests do (the radio's answer delay and every noise interval scaled alike), but there the
// read's fixed 2 ms pause outlasts a byte and catches frame tails by itself. Three shapes:
//   SingleBytes     one random byte every 2 to 8 s;
//   Bursts          bursts of 1 to 64 random bytes 0.2 to 0.5 s apart;
//   MatchingFrames  one crafted road per transfer: a frame of noise whose sum byte matches, just
//                   before a block's frame (block 0's with its OK), before the identity frame,
//                   twelve bytes before a block whose first nine match, or a few bytes inside a
//                   block that with its head make one; for a write a byte other than OK just
//                   before a block's answer, or the codeplug's band byte just before the answer
//                   of a radio of another band; for both a byte before the answer to the second
//                   wake-up of a radio that is not ready at first; and a radio that is once far
//                   slower than usual, the noise coming when it usually answers (a matching
//                   frame for a block of a read, an OK for a write's last block, which it
//                   refuses).
// Each transfer either succeeds with exactly the radio's bytes (read) or leaves exactly the write
// image and the radio's own identity in the radio (write), or ends with its error message and
// the open codeplug unchanged (a write: its identity); anything else is a false success. Target:
// none. CPS_NOISY_RUNS sets the number of each (50 when not set).
//
// The roads that only a transfer's end can show (Road below), on the real clock:
// RoadsEndWithTheirError runs each as the link's end must catch it, and RoadWidth finds from how
// late a radio's own answer each one passes.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "editor/frmMain.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/AppSettings.h"
#include "platform/CommandButton.h"
#include "platform/Dialogs.h"
#include "platform/Label.h"
#include "platform/Runtime.h"
#include "platform/TextBox.h"
#include "radiolink/CommLink.h"
#include "radiolink/LinkFrames.h"
#include "radiolink/LinkWait.h"
#include "radiolink/ProgramOpeners.h"
#include "radiolink/frmProgram.h"
#include "shell/MDIFormMain.h"
#include "support/PseudoTerminal.h"
#include "support/SimulatedRadio.h"
#include "support/WireFloor.h"

namespace {

constexpr int kAnswerDelayMs = 3;  // the simulated radio's pause before each answer

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The program with its main window and editor, every port routed to one pseudo-terminal.
class Bench {
 public:
  explicit Bench(int speedUp) : speedUp_(speedUp) {
    ResetModuleState();
    cps::DialogScript::SetScripted(true);
    cps::SetProgramFolder(folder_.path());
    RouteCommPortsTo(line_);
    if (speedUp_ > 1) {
      SetLinkClockForTests([speedUp] { return speedUp * linkwait::MonotonicMicros(); });
    }
    MDIFormMain();
    frmMain().tmrTimer1->setInterval(200 / speedUp_);
  }
  ~Bench() {
    radio_.reset();
    DestroyFrmProgramForTests();
    DestroyMDIFormMainForTests();
    if (IsFrmMainLoaded()) DestroyFrmMainForTests();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    DestroyMSComm1ForTests();
    SetLinkClockForTests({});
    cps::SetProgramFolder(QString());
  }

  // A fresh radio on the line, holding a codeplug of its own that the editor's can be written to.
  SimulatedRadio& NewRadio(quint32 seed) {
    radio_.reset();
    radio_ = std::make_unique<SimulatedRadio>(line_);
    radio_->paceUs = int(kWireByteUs) / speedUp_;
    radio_->answerDelayUs = kAnswerDelayMs * 1000 / speedUp_;
    QRandomGenerator random(seed);
    for (int a = 0; a < 384; ++a) radio_->memory[a] = uint8_t(random.bounded(256));
    for (int a = layout::kCodeplugPassword; a < layout::kCodeplugPassword + 8; ++a) {
      radio_->memory[a] = 0;
    }
    const QByteArray identity = QByteArray("CV450U16-AB1") + QByteArray("\x01\x20\x30\x07", 4);
    for (int i = 0; i < 16; ++i) radio_->memory[384 + i] = uint8_t(identity[i]);
    radio_->bandByte = 0x21;  // region code 2 over band 1
    return *radio_;
  }

  void PrepareWrite() {
    FrmMain& editor = frmMain();
    for (int k = 0; k < 3; ++k) {
      editor.txtTKS_RxFrequency[k]->SetText(QStringLiteral("100.0"));
      editor.txtTKS_TxFrequency[k]->SetText(QStringLiteral("150.0"));
    }
    CodeplugImage[layout::kChannelCount] = 16;
    CodeplugImage[layout::kBandCode] = 1;
    CodeplugImage[layout::kRegionCode] = 2;
  }

  // Runs a read; true when the program took it as a success.
  bool Read() {
    ShowReadInstructions();
    frmProgram().cmdRead->Press();
    return Ended();
  }
  bool Write() {
    CheckAndShowWriteInstructions();
    frmProgram().cmdWrite->Press();
    return Ended();
  }

  // Lets the last bytes of the exchange cross the line.
  void Settle(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
      cps::DoEvents();
      QThread::msleep(1);
    }
  }

  PseudoTerminal line_;
  std::unique_ptr<SimulatedRadio> radio_;

 private:
  // The window closes on success; on failure it stays with its message and Cancel closes it.
  bool Ended() {
    if (!IsFrmProgramLoaded()) return true;
    const QString status = frmProgram().lblProgram->Caption();
    if (qEnvironmentVariableIsSet("CPS_BENCH_TRACE") ||
        !status.startsWith(QLatin1String("Communication Error"))) {
      std::fprintf(stderr, "unexpected end: %s\n", qPrintable(status));
    }
    frmProgram().cmdClose->Press();
    return false;
  }

  int speedUp_;
  QTemporaryDir folder_;
};

// How the radio answers in a quiet transfer, set on a fresh radio.
struct Timing {
  const char* name;
  int runs;  // each with its own timing seed
  bool writeOnly;
  void (*set)(SimulatedRadio& radio, bool read);
  bool stalled = false;  // the program stops now and then
};

// Stops the program for 150 to 300 ms every 300 to 1000 ms, from its own event loop: bytes wait in
// the driver meanwhile, as when a loaded desktop does not run it.
class Stalls {
 public:
  explicit Stalls(quint32 seed) : random_(seed) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const int ms = random_.bounded(150, 301);
      QThread::msleep(ms);
      stoppedUs += ms * 1000;
      Next();
    });
    Next();
  }
  qint64 stoppedUs = 0;

 private:
  void Next() { timer_.start(random_.bounded(300, 1001)); }
  QRandomGenerator random_;
  QTimer timer_;
};

void Steady(SimulatedRadio& radio, int ms) { radio.answerDelayUs = ms * 1000; }
// Usually in usualMs, one answer in five in otherMs.
void TwoHabits(SimulatedRadio& radio, int usualMs, int otherMs) {
  radio.answerDelayUs = usualMs * 1000;
  radio.habitOneIn = 5;
  radio.habitDelayUs = otherMs * 1000;
}
void Drawn5To200ms(SimulatedRadio& radio) {
  radio.answerDelayUs = 5000;
  radio.answerDelayMaxUs = 200000;
}

const Timing kTimings[] = {
    {"Steady3ms", 1, false, [](SimulatedRadio& radio, bool) { Steady(radio, 3); }},
    {"Steady20ms", 1, false, [](SimulatedRadio& radio, bool) { Steady(radio, 20); }},
    {"Drawn5To200ms", 3, false, [](SimulatedRadio& radio, bool) { Drawn5To200ms(radio); }},
    {"Drawn5To200msAdapter16ms", 3, false,
     [](SimulatedRadio& radio, bool) {
       Drawn5To200ms(radio);
       radio.adapterChunkUs = 16000;
     }},
    // Block 10 of a read (the 10th answer to 'O'), the 10th frame of a write.
    {"OneBlockAnswer450ms", 1, false,
     [](SimulatedRadio& radio, bool read) {
       Steady(radio, 20);
       radio.SetAnswerDelay(read ? 'O' : SimulatedRadio::kWriteFrame, 10, 450000);
     }},
    {"FirstWakeUp1500ms", 1, false,
     [](SimulatedRadio& radio, bool) {
       Steady(radio, 20);
       radio.SetAnswerDelay('V', 1, 1500000);
     }},
    {"Identity450ms", 1, false,
     [](SimulatedRadio& radio, bool) {
       Steady(radio, 20);
       radio.SetAnswerDelay('I', 1, 450000);
     }},
    {"Identity600ms", 1, false,
     [](SimulatedRadio& radio, bool) {
       Steady(radio, 20);
       radio.SetAnswerDelay('I', 1, 600000);
     }},
    {"Mostly180msSome10ms", 3, false,
     [](SimulatedRadio& radio, bool) { TwoHabits(radio, 180, 10); }},
    {"Mostly10msSome180ms", 3, false,
     [](SimulatedRadio& radio, bool) { TwoHabits(radio, 10, 180); }},
    {"First10Answers200ms", 1, false,
     [](SimulatedRadio& radio, bool) {
       Steady(radio, 20);
       radio.slowAnswers = 10;
       radio.slowAnswerDelayUs = 200000;
     }},
    {"Steady20msAdapter40ms", 1, false,
     [](SimulatedRadio& radio, bool) {
       Steady(radio, 20);
       radio.adapterChunkUs = 40000;
     }},
    // The write's frames are answered in turn, the identity write-back first and block b as the
    // (b + 2)th: the 8th, 16th, ... 48th.
    {"EveryEighthFrame150ms", 1, true,
     [](SimulatedRadio& radio, bool) {
       Steady(radio, 20);
       for (int nth = 8; nth <= 2 + 47; nth += 8) {
         radio.SetAnswerDelay(SimulatedRadio::kWriteFrame, nth, 150000);
       }
     }},
    {"Stalled", 3, false, [](SimulatedRadio& radio, bool) { Steady(radio, 20); }, true},
};

// Over the runs: mean times, the worst x_floor and core share, every block a read asked again.
void QuietTransfers(benchmark::State& state, bool read, const Timing& timing) {
  for (auto _ : state) {
    double seconds = 0, floor = 0, xFloor = 0, worstXFloor = 0, worstCorePct = 0;
    int askedAgain = 0;
    for (int run = 0; run < timing.runs; ++run) {
      Bench bench(1);
      SimulatedRadio& radio = bench.NewRadio(7);
      radio.timingSeed = quint32(1 + run);
      timing.set(radio, read);
      if (!read) bench.PrepareWrite();
      std::optional<Stalls> stalls;
      if (timing.stalled) stalls.emplace(quint32(11 + run));
      QElapsedTimer clock;
      clock.start();
      const double cpu = CpuSeconds();
      const bool ok = read ? bench.Read() : bench.Write();
      const double runSeconds = clock.nsecsElapsed() / 1e9;
      const double used = CpuSeconds() - cpu;
      const qint64 stoppedUs = stalls ? stalls->stoppedUs : 0;
      stalls.reset();
      bench.Settle(100);
      if (!ok) {
        state.SkipWithError("the transfer failed");
        break;
      }
      const double runFloor = (WireFloorUs(radio, read) + stoppedUs) / 1e6;
      seconds += runSeconds / timing.runs;
      floor += runFloor / timing.runs;
      xFloor += runSeconds / runFloor / timing.runs;
      worstXFloor = std::max(worstXFloor, runSeconds / runFloor);
      worstCorePct = std::max(worstCorePct, 100 * used / runSeconds);
      askedAgain += radio.commands.count('F');
    }
    state.counters["seconds"] = seconds;
    state.counters["floor_s"] = floor;
    state.counters["x_floor"] = worstXFloor;
    if (timing.runs > 1) state.counters["x_floor_mean"] = xFloor;
    state.counters["core_pct"] = worstCorePct;
    if (read) state.counters["asked_again"] = askedAgain;
  }
}

const bool kQuietRegistered = [] {
  for (const Timing& timing : kTimings) {
    for (const bool read : {true, false}) {
      if (read && timing.writeOnly) continue;
      const std::string name =
          std::string(read ? "BM_QuietPacedRead/" : "BM_QuietPacedWrite/") + timing.name;
      benchmark::RegisterBenchmark(
          name.c_str(),
          [read, &timing](benchmark::State& state) { QuietTransfers(state, read, timing); })
          ->Iterations(1)
          ->Unit(benchmark::kSecond);
    }
  }
  return true;
}();

int NoisyRuns() {
  const int runs = qEnvironmentVariableIntValue("CPS_NOISY_RUNS");
  return runs > 0 ? runs : 50;
}

enum class Shape { SingleBytes, Bursts, MatchingFrames };

QByteArray RandomBytes(QRandomGenerator& random, int count) {
  QByteArray bytes(count, '\0');
  for (char& c : bytes) c = static_cast<char>(random.bounded(256));
  return bytes;
}

// Random data bytes followed by their sum byte.
QByteArray MatchingFrame(QRandomGenerator& random, int dataBytes) {
  QByteArray frame = RandomBytes(random, dataBytes);
  frame.append(char(frames::SumByte(frame, 0, dataBytes)));
  return frame;
}

// One crafted road of noise for this run, chosen by the seed. True when the radio must refuse
// the transfer whatever it hears (a radio of another band).
bool AddCraftedNoise(SimulatedRadio& radio, quint32 seed, bool read, int speedUp) {
  using At = SimulatedRadio::NoiseAt;
  QRandomGenerator random(seed * 7919u + 17u);
  const int block = random.bounded(1, 48);  // the nth answer to 'O' is block n
  if (read) {
    switch (seed % 7) {
      case 0:
        radio.AddNoise('O', block, At::Before, MatchingFrame(random, 8));
        return false;
      case 1:
        radio.AddNoise(0x0B, 1, At::Before, QByteArray(1, 'O') + MatchingFrame(random, 8));
        return false;
      case 2:
        radio.AddNoise('I', 1, At::Before, MatchingFrame(random, 16));
        return false;
      case 3:
        radio.AddNoise('O', block, At::Before, MatchingFrame(random, 8) + RandomBytes(random, 3));
        return false;
      case 5:
        // A radio that takes 10 ms to answer, 100 ms more with this block, the noise coming
        // when it usually answers.
        radio.answerDelayUs = 10000 / speedUp;
        radio.AddNoise('O', block, At::Instead, MatchingFrame(random, 8), 100 / speedUp);
        return false;
      case 4: {
        // The sim puts a burst inside after the frame's first four bytes.
        const uint8_t* head = &radio.memory[frames::BlockAddress(block)];
        QByteArray inside = RandomBytes(random, 4);
        const QByteArray made = QByteArray(reinterpret_cast<const char*>(head), 4) + inside;
        inside.append(char(frames::SumByte(made, 0, 8)));
        radio.AddNoise('O', block, At::Inside, inside);
        return false;
      }
      default:
        radio.notReadyWakeUps = 1;
        radio.AddNoise('V', 2, At::Before, RandomBytes(random, 1));
        return false;
    }
  }
  switch (seed % 5) {
    case 0:
      radio.AddNoise('I', 1, At::Before, MatchingFrame(random, 16));
      return false;
    case 1: {
      QByteArray refusal = RandomBytes(random, 1);
      if (refusal[0] == 'O') refusal[0] = 'X';
      // The write's frames are the radio's answers from the third on (the identity write-back
      // is the first): block n's answer is the (n + 2)th.
      radio.AddNoise(SimulatedRadio::kWriteFrame, block + 2, At::Before, refusal);
      return false;
    }
    case 2:
      radio.bandByte = 0x11;  // the codeplug's is 0x21
      radio.AddNoise('T', 1, At::Before, QByteArray(1, '\x21'));
      return true;
    case 3:
      // The radio refuses the last block 30 ms later than it usually answers, an OK of noise
      // coming when it usually would.
      radio.refuseBlock = 47;
      radio.refuseBlockWrites = 1;
      radio.AddNoise(SimulatedRadio::kWriteFrame, 49, At::Instead, "O", 30 / speedUp);
      return false;
    default:
      radio.notReadyWakeUps = 1;
      radio.AddNoise('V', 2, At::Before, RandomBytes(random, 1));
      return false;
  }
}

// What one noisy transfer did.
struct Outcome {
  bool ok = false;           // the program took it as a success
  bool exact = false;        // with exactly the radio's bytes (a write: the radio holds the image)
  bool keptCodeplug = true;  // a failed transfer left the open codeplug's identity as it was (a
                             // read: the whole codeplug)
  bool damagedIdentity = false;  // a write left another identity in the radio
};

Outcome RunTransfer(Bench& bench, SimulatedRadio& radio, bool read, bool mustFail) {
  const ByteImage before = CodeplugImage;
  const std::array<uint8_t, 400> radioBefore = radio.memory;
  Outcome outcome;
  outcome.ok = read ? bench.Read() : bench.Write();
  radio.StopNoise();
  // Until the radio has heard every byte sent: a frame still on the wire may yet be stored.
  bench.Settle(400);
  if (qEnvironmentVariableIsSet("CPS_BENCH_TRACE")) {
    std::fprintf(stderr, "%s %s\n", outcome.ok ? "ok" : "failed",
                 radio.commands.toHex().constData());
  }
  bool exact = !mustFail;
  if (read) {
    // What the read took; the fill that follows may still mend channels in the editor's copy.
    for (int a = 0; a < 400; ++a) exact = exact && RadioImage[a] == radio.memory[a];
    for (int a = 384; a < 400; ++a) exact = exact && CodeplugImage[a] == radio.memory[a];
    exact = exact && !LegacyLayout;
  } else {
    for (int a = 0; a < 384; ++a) exact = exact && radio.memory[a] == CodeplugImage[a];
    // The identity the radio holds is its own (as the image keeps it, 0x00 as 0xFF).
    for (int a = 384; a < 400; ++a) {
      const uint8_t own = frames::IdentityByteForImage(radioBefore[a]);
      exact = exact && CodeplugImage[a] == own && radio.writtenIdentity[a - 384] == own;
    }
  }
  outcome.exact = exact;
  for (int a = 0; !read && radio.identityWriteBacks > 0 && a < 16; ++a) {
    if (radio.writtenIdentity[a] != frames::IdentityByteForImage(radioBefore[384 + a])) {
      outcome.damagedIdentity = true;
    }
  }
  for (int a = read ? 0 : 384; !outcome.ok && a < 400; ++a) {
    outcome.keptCodeplug = outcome.keptCodeplug && CodeplugImage[a] == before[a];
  }
  return outcome;
}

void NoisyTransfers(benchmark::State& state, bool read, Shape shape) {
  const int speedUp = std::max(1, qEnvironmentVariableIntValue("CPS_NOISY_SPEEDUP"));
  for (auto _ : state) {
    int good = 0;
    int failed = 0;
    int falseSuccesses = 0;
    int damagedIdentities = 0;
    int noiseBytes = 0;
    Bench bench(speedUp);
    // CPS_NOISY_SEED starts the runs at another seed, so that several programs can share them.
    const int seed = qEnvironmentVariableIntValue("CPS_NOISY_SEED");
    for (int run = 0; run < NoisyRuns(); ++run) {
      const quint32 runSeed = quint32(seed + run);
      SimulatedRadio& radio = bench.NewRadio(1000 + runSeed);
      if (!read) bench.PrepareWrite();
      bool mustFail = false;
      switch (shape) {
        case Shape::SingleBytes:
          radio.StartRandomNoise(runSeed, 2000 / speedUp, 8000 / speedUp, 1, 1);
          break;
        case Shape::Bursts:
          radio.StartRandomNoise(runSeed, 200 / speedUp, 500 / speedUp);
          break;
        case Shape::MatchingFrames:
          mustFail = AddCraftedNoise(radio, runSeed, read, speedUp);
          break;
      }
      const Outcome outcome = RunTransfer(bench, radio, read, mustFail);
      noiseBytes += radio.noiseBytes();
      damagedIdentities += outcome.damagedIdentity;
      if (outcome.ok && outcome.exact) {
        ++good;
      } else if (outcome.ok) {
        ++falseSuccesses;
        std::fprintf(stderr, "false success: run %d, seed %u\n", run, runSeed);
      } else {
        ++failed;
        if (!outcome.keptCodeplug) {
          ++falseSuccesses;
          std::fprintf(stderr, "failed transfer changed the codeplug: run %d\n", run);
        }
      }
    }
    state.counters["runs"] = NoisyRuns();
    state.counters["succeeded"] = good;
    state.counters["failed_cleanly"] = failed;
    state.counters["false_successes"] = falseSuccesses;
    state.counters["identity_damaged"] = damagedIdentities;
    state.counters["noise_bytes"] = noiseBytes;
    if (falseSuccesses > 0) state.SkipWithError("a noisy transfer passed for a good one");
  }
}

// The roads where only the end of a transfer can show that noise was taken for the radio's
// answer, each on a radio that usually answers in radioMs and is lateMs late where it matters:
//   InStepShift      a frame of noise whose sum matches comes when block `block` is due, the
//                    radio's own frame 110 ms later, in step with the next acknowledgement; the
//                    radio's last answer lateMs late;
//   ShiftThenPurge   the same, then three bytes of noise inside the next block's frame, the radio
//                    250 ms slow with that frame and the one after, so that a purge could swallow
//                    the frame it owes;
//   LastReadBlock    such a frame in place of the read's last block, the radio's own lateMs late;
//   LastWriteAnswer  an OK of noise where the radio, lateMs late, refuses the write's last block;
//   Identity         a frame of noise that passes for the identity 20 ms after the radio heard
//                    'I', its own identity lateMs after it heard it (a write).
enum class Road { InStepShift, ShiftThenPurge, LastReadBlock, LastWriteAnswer, Identity };

bool IsRead(Road road) { return road != Road::LastWriteAnswer && road != Road::Identity; }

void SetRoad(SimulatedRadio& radio, Road road, int radioMs, int lateMs, int block,
             QRandomGenerator& random) {
  using At = SimulatedRadio::NoiseAt;
  radio.answerDelayUs = radioMs * 1000;
  switch (road) {
    case Road::InStepShift:
    case Road::ShiftThenPurge:
      radio.AddNoise('O', block, At::Instead, MatchingFrame(random, 8), 110);
      if (lateMs > 0) radio.SetAnswerDelay('O', 47, lateMs * 1000);
      if (road == Road::ShiftThenPurge && block < 47) {
        radio.AddNoise('O', block + 1, At::Inside, "\x5A\x33\x44");
        for (int n = block + 1; n <= std::min(block + 2, 46); ++n) {
          radio.SetAnswerDelay('O', n, 250000);
        }
      }
      break;
    case Road::LastReadBlock:
      radio.AddNoise('O', 47, At::Instead, MatchingFrame(random, 8), lateMs);
      break;
    case Road::LastWriteAnswer:
      radio.refuseBlock = 47;
      radio.refuseBlockWrites = 1;
      radio.AddNoise(SimulatedRadio::kWriteFrame, 49, At::Instead, "O", lateMs);
      break;
    case Road::Identity:
      radio.AddNoise('I', 1, At::Early, MatchingFrame(random, 16), 20);
      radio.SetAnswerDelay('I', 1, lateMs * 1000);
      break;
  }
}

// Each road ends with its error and changes nothing of the open codeplug: InStepShift and
// ShiftThenPurge with the noise at blocks 2, 20, 40 and 46 and the radio's last answer on time or
// 450 ms late, LastReadBlock and LastWriteAnswer with the radio's own answer 300 and 450 ms late,
// on a 3 ms and a 20 ms radio.
void BM_RoadsEndWithTheirError(benchmark::State& state) {
  for (auto _ : state) {
    int runs = 0;
    int passed = 0;
    Bench bench(1);
    QRandomGenerator random(77);
    const auto run = [&](Road road, int radioMs, int lateMs, int block) {
      SimulatedRadio& radio = bench.NewRadio(quint32(500 + runs));
      radio.paceUs = int(kWireByteUs);
      if (!IsRead(road)) bench.PrepareWrite();
      SetRoad(radio, road, radioMs, lateMs, block, random);
      const Outcome outcome = RunTransfer(bench, radio, IsRead(road), false);
      ++runs;
      if (outcome.ok || !outcome.keptCodeplug) {
        ++passed;
        std::fprintf(stderr, "road %d, radio %d ms, late %d ms, block %d did not end cleanly\n",
                     int(road), radioMs, lateMs, block);
      }
    };
    for (const int radioMs : {3, 20}) {
      for (const Road road : {Road::InStepShift, Road::ShiftThenPurge}) {
        for (const int block : {2, 20, 40, 46}) {
          for (const int lateMs : {0, 450}) run(road, radioMs, lateMs, block);
        }
      }
      for (const Road road : {Road::LastReadBlock, Road::LastWriteAnswer}) {
        for (const int lateMs : {300, 450}) run(road, radioMs, lateMs, 47);
      }
    }
    state.counters["runs"] = runs;
    state.counters["not_ended_with_error"] = passed;
    if (passed > 0) state.SkipWithError("a road passed");
  }
}
BENCHMARK(BM_RoadsEndWithTheirError)->Iterations(1)->Unit(benchmark::kSecond);

// From how late the radio's own answer lets each road pass, on the real clock: the least lateMs,
// to 5 ms, at which the transfer succeeds (the identity: at which the noise reaches the radio),
// found by halving between 250 and 800 ms. Arguments: the road, the radio's usual time in ms.
void BM_RoadWidth(benchmark::State& state) {
  const Road road = static_cast<Road>(state.range(0));
  const int radioMs = int(state.range(1));
  for (auto _ : state) {
    Bench bench(1);
    QRandomGenerator random(91);
    int runs = 0;
    const auto passes = [&](int lateMs) {
      SimulatedRadio& radio = bench.NewRadio(quint32(700 + runs++));
      radio.paceUs = int(kWireByteUs);
      if (!IsRead(road)) bench.PrepareWrite();
      SetRoad(radio, road, radioMs, lateMs, 46, random);
      const Outcome outcome = RunTransfer(bench, radio, IsRead(road), false);
      if (!outcome.keptCodeplug || (road == Road::Identity && outcome.ok)) {
        std::fprintf(stderr, "late %d ms: the identity road passed for a good write\n", lateMs);
      }
      return road == Road::Identity ? outcome.damagedIdentity : outcome.ok;
    };
    int lo = 250;
    int hi = 800;
    if (passes(lo)) {
      state.counters["passes_from_ms"] = lo;
      state.SkipWithError("passes at the low end");
      break;
    }
    if (!passes(hi)) {
      state.counters["passes_from_ms"] = -1;  // not within the range
      break;
    }
    while (hi - lo > 5) {
      const int mid = (lo + hi) / 2;
      (passes(mid) ? hi : lo) = mid;
    }
    state.counters["passes_from_ms"] = hi;
    state.counters["runs"] = runs;
  }
}
BENCHMARK(BM_RoadWidth)
    ->ArgsProduct({{int(Road::InStepShift), int(Road::LastReadBlock), int(Road::LastWriteAnswer),
                    int(Road::Identity)},
                   {3, 20}})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

void BM_NoisyReads(benchmark::State& state) {
  NoisyTransfers(state, true, static_cast<Shape>(state.range(0)));
}
void BM_NoisyWrites(benchmark::State& state) {
  NoisyTransfers(state, false, static_cast<Shape>(state.range(0)));
}
// Arguments: 0 single bytes, 1 bursts, 2 matching frames.
BENCHMARK(BM_NoisyReads)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_NoisyWrites)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
