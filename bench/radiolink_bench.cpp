// The radio transfers through the real programming window against the simulated radio, on a
// pseudo-terminal paced as a wire at 1200 baud (8 data bits, 2 stop bits: 11 bits a byte).
//
// Quiet line, at the wire's own speed: one read and one write, each timed against the wire's
// floor, which is every byte of the exchange in both directions plus the pauses the protocol
// makes itself and the radio's own 3 ms before each answer. Targets: at most 1.05 x the floor,
// and at most 5 % of a core (the simulated radio runs on the same thread and is counted in).
//
// Noisy line, five times faster as in the link tests: reads and writes under bursts of 1 to 64
// random bytes a few tenths of a second apart (scaled alike). Each transfer either succeeds with
// exactly the radio's bytes (read) or leaves exactly the write image in the radio (write), or
// ends with its error message; a success with other bytes is counted as false. Target: none.
// CPS_NOISY_RUNS sets the number of each (50 when not set).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

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
#include "radiolink/LinkWait.h"
#include "radiolink/ProgramOpeners.h"
#include "radiolink/frmProgram.h"
#include "shell/MDIFormMain.h"
#include "support/PseudoTerminal.h"
#include "support/SimulatedRadio.h"

namespace {

constexpr int kByteUs = 11 * 1000000 / 1200;
constexpr int kAnswerDelayMs = 3;  // the simulated radio's pause before each answer
// The pauses the transfers make on a quiet line (ms): the read's before 'I' and 0x0B and after
// each block; the write's settles after the wake-up and the write request, the identity
// write-back's, the password request's, the band check's, the start of data's, each block's and
// the closing pause.
constexpr int kReadPausesMs = 10 + 10 + 48 * 2;
constexpr int kWritePausesMs =
    200 + 10 + (10 + 16 * 10 + 10 + 2) + 200 + 10 + 10 + 10 + 10 + 48 * (1 + 2) + 500;

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
    radio_->paceUs = kByteUs / speedUp_;
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
    while (clock.elapsed() < ms) cps::DoEvents();
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

void QuietTransfer(benchmark::State& state, bool read) {
  for (auto _ : state) {
    Bench bench(1);
    SimulatedRadio& radio = bench.NewRadio(7);
    if (!read) bench.PrepareWrite();
    QElapsedTimer clock;
    clock.start();
    const double cpu = CpuSeconds();
    const bool ok = read ? bench.Read() : bench.Write();
    const double seconds = clock.nsecsElapsed() / 1e9;
    const double used = CpuSeconds() - cpu;
    bench.Settle(100);
    if (!ok) state.SkipWithError("the transfer failed");
    const qint64 bytes = radio.received.size() + radio.sentBytes;
    const int answers = radio.commands.size() + radio.blocksWritten + radio.identityWriteBacks;
    const double floor =
        (bytes * double(kByteUs) +
         (answers * kAnswerDelayMs + (read ? kReadPausesMs : kWritePausesMs)) * 1000.0) /
        1e6;
    state.counters["seconds"] = seconds;
    state.counters["floor_s"] = floor;
    state.counters["x_floor"] = seconds / floor;
    state.counters["core_pct"] = 100 * used / seconds;
  }
}

void BM_QuietPacedRead(benchmark::State& state) { QuietTransfer(state, true); }
void BM_QuietPacedWrite(benchmark::State& state) { QuietTransfer(state, false); }
BENCHMARK(BM_QuietPacedRead)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_QuietPacedWrite)->Iterations(1)->Unit(benchmark::kSecond);

int NoisyRuns() {
  const int runs = qEnvironmentVariableIntValue("CPS_NOISY_RUNS");
  return runs > 0 ? runs : 50;
}

void NoisyTransfers(benchmark::State& state, bool read) {
  // CPS_NOISY_SPEEDUP=1 runs them at the wire's own speed.
  const int speedUp = qEnvironmentVariableIsSet("CPS_NOISY_SPEEDUP")
                          ? std::max(1, qEnvironmentVariableIntValue("CPS_NOISY_SPEEDUP"))
                          : 5;
  for (auto _ : state) {
    int good = 0;
    int failed = 0;
    int falseSuccesses = 0;
    int noiseBytes = 0;
    Bench bench(speedUp);
    // CPS_NOISY_SEED starts the runs at another seed, so that several programs can share them.
    const int seed = qEnvironmentVariableIntValue("CPS_NOISY_SEED");
    for (int run = 0; run < NoisyRuns(); ++run) {
      SimulatedRadio& radio = bench.NewRadio(1000 + seed + run);
      if (!read) bench.PrepareWrite();
      const ByteImage before = CodeplugImage;
      if (!qEnvironmentVariableIsSet("CPS_NO_NOISE"))
        radio.StartRandomNoise(seed + run, 200 / speedUp, 500 / speedUp);
      const bool ok = read ? bench.Read() : bench.Write();
      radio.StopNoise();
      bench.Settle(50);
      if (qEnvironmentVariableIsSet("CPS_BENCH_TRACE")) {
        std::fprintf(stderr, "run %d: %s\n", run, radio.commands.toHex().constData());
      }
      noiseBytes += radio.noiseBytes;
      bool exact = true;
      if (read) {
        // What the read took; the fill that follows may still mend channels in the editor's copy.
        for (int a = 0; a < 400; ++a) exact = exact && RadioImage[a] == radio.memory[a];
        for (int a = 384; a < 400; ++a) exact = exact && CodeplugImage[a] == radio.memory[a];
        exact = exact && !LegacyLayout;
      } else {
        for (int a = 0; a < 384; ++a) exact = exact && radio.memory[a] == CodeplugImage[a];
      }
      if (ok && exact) {
        ++good;
      } else if (ok) {
        ++falseSuccesses;
      } else {
        ++failed;
        // A failed read leaves the open codeplug exactly as it was.
        for (int a = 0; read && a < 400; ++a) {
          if (CodeplugImage[a] != before[a]) {
            ++falseSuccesses;
            break;
          }
        }
      }
    }
    state.counters["runs"] = NoisyRuns();
    state.counters["succeeded"] = good;
    state.counters["failed_cleanly"] = failed;
    state.counters["false_successes"] = falseSuccesses;
    state.counters["noise_bytes"] = noiseBytes;
    if (falseSuccesses > 0) state.SkipWithError("a noisy transfer passed for a good one");
  }
}

void BM_NoisyReads(benchmark::State& state) { NoisyTransfers(state, true); }
void BM_NoisyWrites(benchmark::State& state) { NoisyTransfers(state, false); }
BENCHMARK(BM_NoisyReads)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_NoisyWrites)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
