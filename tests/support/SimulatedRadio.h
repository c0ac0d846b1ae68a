// A radio on the far end of a pseudo-terminal, speaking the programming protocol from the
// radio's side. Every answer goes out a few milliseconds after the command that asked for it, as
// a radio's would, once the command's trailing zero byte has arrived; on a paced line a command
// that came while the radio was still sending is taken up once that answer has gone.
//
// It keeps one of two clocks. On the real clock it runs on the test's own thread through a socket
// notifier, so it answers while the program under test yields to the event loop, and a thread of
// its own puts a paced line's bytes on it when they are due. On a virtual clock nothing happens by
// itself: the PC's bytes are taken by Listen, and every timed action (a byte due on the line or
// at the adapter's tick, a byte from the PC heard once it has crossed, a delayed answer, a burst
// of interference) waits in a queue until FireDue runs it at its time.
//
//   'V'  wake-up: 0x10 (or 'F' while not ready; a legacy radio answers 'F' every time)
//   'I'  identity: its 16 identity bytes and their sum byte (no answer from a legacy radio)
//   'O'  after the identity: a 32-byte frame (16 bytes with zeros) and a sum command follow;
//        answer 'K' when the sum is right, 'G' otherwise
//   'R'  read request: the region code, then 0x0B gives 'O', block 0 and its sum; 'O' asks for
//        the next block, 'F' for the same block again (9-byte frames)
//   'P'  write request: the region code, then 0x0B gives 'O', the 8 password bytes and one
//        more byte; 'T' gives the band byte; 0x0B again (no answer) and 'R' gives 'O'; then
//        each block is 16 bytes (data with zeros) and a sum command, answered 'O' or 'F'
//
// Its line can be made to behave as a wire (each byte after the one before, noise as much as
// answers) and to carry noise towards the PC: bursts of bytes before, inside or after given
// answers, or random bursts. Its answer times can vary (drawn at random, or set for one answer),
// and on a wire its bytes can reach the PC in chunks at fixed ticks, as a USB adapter hands them
// over.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QRandomGenerator>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "support/PseudoTerminal.h"

class QSocketNotifier;
class QTimer;

class SimulatedRadio : public QObject {
  Q_OBJECT

 public:
  // On the real clock, or on the virtual one whose time virtualNowUs tells (microseconds).
  explicit SimulatedRadio(PseudoTerminal& line, std::function<qint64()> virtualNowUs = {});
  ~SimulatedRadio() override;

  // --- What the radio holds ---------------------------------------------------------------
  std::array<uint8_t, 400> memory{};  // 0..383 codeplug data, 384..399 identity
  uint8_t regionCode = 0x80;          // reply to 'R' and 'P'
  uint8_t bandByte = 0x00;            // reply to 'T'
  QByteArray password;                // up to 8 bytes, zero-filled in the reply

  // --- Behaviour and faults ---------------------------------------------------------------
  bool legacy = false;      // takes no part in the identity exchange
  bool silent = false;      // answers nothing at all
  int notReadyWakeUps = 0;  // the first n wake-ups are answered 'F'
  // The first n identity frames arrive with a byte altered by line noise: their sum byte, that of
  // the true bytes, no longer matches.
  int badIdentitySums = 0;
  int badBlockSums = 0;  // the first n read frames of badBlock carry a wrong sum byte
  int badBlock = -1;
  int refuseBlockWrites = 0;  // the first n write frames of refuseBlock are answered 'F'
  int refuseBlock = -1;
  int notReadyRequests = 0;  // the first n 'R' / 'P' requests are answered 'F'
  uint8_t slowCommand = 0;   // the reply to this command comes only after slowReplyMs
  int slowReplyMs = 0;
  int answerDelayUs = 3000;  // how long the radio takes before it answers
  // When above answerDelayUs, each answer's delay is drawn from answerDelayUs to this, by a
  // generator seeded with timingSeed at the first answer. A delay is drawn for every answer, so
  // that one set otherwise leaves the others' as they were.
  int answerDelayMaxUs = 0;
  quint32 timingSeed = 1;
  // A second habit: one answer in habitOneIn, drawn by the same generator, takes habitDelayUs.
  int habitOneIn = 0;
  int habitDelayUs = 0;
  // The radio's first slowAnswers answers, whatever they answer, take slowAnswerDelayUs.
  int slowAnswers = 0;
  int slowAnswerDelayUs = 0;
  // The radio's nth answer (from 1) to command waits exactly delayUs, whatever else is set.
  void SetAnswerDelay(int command, int nth, int delayUs);
  // What the radio has waited before its answers so far, an Instead road's extra time included.
  qint64 answerDelaysUs = 0;

  // The cable is pulled: the radio stops listening and the line goes away.
  void Unplug();

  // --- The line towards the PC ---------------------------------------------------------------
  // Each byte takes paceUs microseconds on the line, both ways, as on a wire: the radio hears a
  // command only once its bytes have crossed, and its answer bytes and the noise arrive one by
  // one, in turn (0: every byte at once).
  int paceUs = 0;
  // On a paced line, its bytes reach the PC only at the ticks of this period on its clock,
  // all that have crossed by then in one write, as an adapter's latency timer hands them over
  // (0: each as it crosses).
  int adapterChunkUs = 0;
  // How much later than they crossed the last bytes of the answers so far reached the PC.
  qint64 deliveryDelaysUs() const;
  // The frames of a write (identity write-back, data blocks), answered as if they were this
  // command.
  static constexpr int kWriteFrame = 0x100;
  enum class NoiseAt { Before, Inside, After, Instead, Early };
  // A burst of noise around the radio's nth answer (from 1) to command: just before it (the
  // answer then follows gapMs later), in its middle, gapMs after it, when the radio usually
  // answers while the radio itself is gapMs slower with this answer, or (on a paced line) gapMs
  // after the radio heard the command, sooner than it answers.
  void AddNoise(int command, int nth, NoiseAt at, const QByteArray& burst, int gapMs = 0);
  // Bursts of minBytes to maxBytes random bytes, minMs to maxMs apart, until StopNoise: on a
  // paced line each at its own pace, its bytes coming between the radio's.
  void StartRandomNoise(quint32 seed, int minMs, int maxMs, int minBytes = 1, int maxBytes = 64);
  void StopNoise();
  int noiseBytes() const;  // noise bytes put on the line so far
  int sentBytes = 0;       // answer bytes put on the line so far

  // --- On a virtual clock ---------------------------------------------------------------------
  // When its next timed action is due; none while nothing waits.
  std::optional<qint64> NextEventUs() const;
  // Runs every timed action due by the clock's time, each in its turn.
  void FireDue();
  // Takes whatever the PC has sent by now off the line.
  void Listen();

  // --- What it saw ----------------------------------------------------------------------------
  QByteArray received;         // every byte from the PC, in order
  int blocksWritten = 0;       // blocks accepted from a write
  int identityWriteBacks = 0;  // identity frames accepted from a write
  std::array<uint8_t, 16> writtenIdentity{};
  // Commands the PC sent (the byte before each trailing zero at a command position).
  QByteArray commands;

 private:
  enum class Mode { Idle, Read, WriteGranted, WriteData };
  enum class Expect { Command, IdentityFrame, BlockFrame };
  struct Noise {
    int command;
    int nth;
    NoiseAt at;
    QByteArray burst;
    int gapMs;
  };
  // One piece of what goes on the line for an answer: it starts when the answer is due (on a wire
  // in turn after the pieces before it), or gapMs after the piece before it has crossed, or gapMs
  // after the answer is due.
  enum class Start { WhenDue, GapAfterPrevious, GapAfterDue, GapAfterHeard };
  struct Piece {
    QByteArray bytes;
    bool noise = false;
    bool endsAnswer = false;
    Start start = Start::WhenDue;
    int gapMs = 0;
  };
  class Wire;

  static qint64 SteadyUs();
  qint64 NowUs() const;
  // Runs action delayUs from now: by a timer on the real clock, from the queue on a virtual one.
  void After(qint64 delayUs, std::function<void()> action);
  void OnReadable();
  void Hear();
  void Consume(uint8_t b);
  void Command(uint8_t c);
  void ReadBlockReply(bool first);
  void FrameDone();
  void Reply(const QByteArray& bytes);
  int DelayUsFor(int command, int nth);  // before the nth answer to command
  static std::vector<Piece> Pieces(const QByteArray& answer, const std::optional<Noise>& noise);
  void SendPaced(const std::vector<Piece>& pieces, qint64 heardUs, qint64 dueUs);
  void SendAtOnce(const std::vector<Piece>& pieces);
  // Returns when the last byte has crossed the line.
  qint64 Emit(const Piece& piece, qint64 startUs);
  static uint8_t Sum(const uint8_t* data, int count);

  std::vector<Noise> noise_;
  std::array<int, 0x101> answers_{};  // answers given so far, per command
  int answerCount_ = 0;               // and in all
  qint64 heardUs_ = 0;     // when the byte that completed the last command crossed the line
  qint64 answeredUs_ = 0;  // when the last byte of its latest answer has crossed
  std::map<std::pair<int, int>, int> answerDelays_;  // by command and nth answer
  std::optional<QRandomGenerator> timing_;
  struct Crossing {
    qint64 dueUs;  // when it has crossed the line
    uint8_t byte;
  };
  std::deque<Crossing> in_;  // from the PC, one byte each
  qint64 inFreeUs_ = 0;
  QTimer* hearing_;
  int craftedNoiseBytes_ = 0;
  std::function<qint64()> virtualNowUs_;                // empty on the real clock
  std::multimap<qint64, std::function<void()>> after_;  // a virtual clock's delayed actions

  PseudoTerminal& line_;
  QSocketNotifier* notifier_;
  std::unique_ptr<Wire> wire_;
  Mode mode_ = Mode::Idle;
  Expect expect_ = Expect::Command;
  QByteArray pending_;  // bytes of the command or frame being taken
  int command_ = 0;     // the command being answered (kWriteFrame for a write's data frame)
  int frameSize_ = 0;   // bytes the current frame needs, sum command included
  int readBlock_ = 0;   // next block of a read
  int writeBlock_ = 0;  // next block of a write
  int zeroBlockSent_ = 0;
  bool sentFirstBlock_ = false;
  int wakeUps_ = 0;
  int requests_ = 0;
  int identityFrames_ = 0;
  int blockFrames_ = 0;
  int writeFrames_ = 0;
  int bandChecks_ = 0;
};
