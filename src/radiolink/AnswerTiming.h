// Every rule that decides whether bytes heard on the line are the radio's answer. The radio speaks
// only when asked and says one answer, so the PC is in step only while every byte it heard can be
// placed as the radio's answer to its last request.
//
// Two kinds of evidence, the first always before the second:
//   - the line itself: on a wire nothing the radio sends can arrive before the PC's request has
//     crossed it, and a frame arrives as one run of bytes at the wire's pace (a serial adapter
//     hands them over late and in chunks, which its own frames show);
//   - the radio's habits: how long its answers have taken so far in this transfer. Real radios
//     vary, so this is a spread measured robustly: an answer outside it is heard out for a while
//     before it is taken, and one slow answer predicts nothing.
// The link gathers timestamped bytes and waits until the times given here; the read and the write
// ask these rules what the bytes mean.
//
// Pure: times are microseconds of the link's clock, and nothing here touches a port.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace answertiming {

// --- The wire ----------------------------------------------------------------------------------

// One byte on the line at 1200 baud with 8 data bits and 2 stop bits.
constexpr int64_t kByteMicros = 11 * 1000000 / 1200;
constexpr int64_t FrameMicros(int bytes) { return bytes * kByteMicros; }
// The least half-width of the time in which an answer is taken at once: the radio's and the
// machine's own jitter.
constexpr int64_t kTolerance = 2 * kByteMicros;
// The longest any radio takes to answer once it has heard a request: a slower one is not waited
// for. This bound, not what a radio has shown, guards what cannot be told any other way.
constexpr int64_t kLongestAnswer = 500000;
// By then the first byte of any radio's answer has crossed the line.
constexpr int64_t kLongestAnswerShown = kLongestAnswer + kByteMicros;

// A look at the line that came this long after the one before it says nothing of when its bytes
// came: the program was not looking (its own pause, or the machine did not run it).
constexpr int64_t kPromptLook = 2 * kByteMicros;

// Bytes seen in one look at the line: they were handed over after `after` and by `by`.
struct Arrival {
  int64_t after;
  int64_t by;
  int bytes;
  bool SeenPromptly() const { return by - after <= kPromptLook; }
};

// When the PC's bytes handed over so far will all have crossed the line, once `bytes` more are
// handed over at `handedOver`: they leave one by one, after those before them.
constexpr int64_t CrossedBy(int64_t wireFree, int64_t handedOver, int bytes) {
  return std::max(wireFree, handedOver) + FrameMicros(bytes);
}
// How long the PC's bytes still take to cross after its last request was handed over.
constexpr int64_t WireLeft(int64_t wireFree, int64_t requestEnd) {
  return std::max<int64_t>(0, wireFree - requestEnd);
}

// What a transfer has learned of the line from the radio's own frames.
class Line {
 public:
  // A frame of the radio's that came alone, as it was seen. Only looks that came promptly teach:
  // bytes that waited while the program was not looking say nothing of the line.
  void LearnFrame(const std::vector<Arrival>& arrivals);
  // The frame came a byte at a time at the wire's pace: nothing the radio sends can arrive before
  // the PC's request has crossed the line. A peer that answers at once (a pseudo-terminal) hands
  // a frame over in one piece, and time then says nothing.
  bool PacedLikeWire() const { return pacedLikeWire_; }
  // How much later than it crossed the line a byte may be seen: the adapter's chunks and the
  // PC's own looks.
  int64_t SeenLateBy() const;
  // Whether the bytes of `next` can be those that followed `prev` in one run of the radio's.
  // Always on a line that does not pace like a wire, where a run cannot be seen.
  bool MayFollow(const Arrival& prev, const Arrival& next) const;
  // No answer to a request can arrive sooner than this after the request's end, while its bytes
  // still need wireLeft to cross.
  int64_t SoonestAnswer(int64_t wireLeft) const;

 private:
  bool pacedLikeWire_ = false;
  int64_t adapterLag_ = 0;  // the longest a byte of the radio's frames was handed over late
};

// --- The radio's habits ------------------------------------------------------------------------

// The exchanges of the transfers, each timed apart: what the PC sends differs, and so may what the
// radio does before it answers.
enum class Exchange {
  WakeUp,      // 'V'
  Identity,    // 'I': 17 bytes
  WriteBack,   // the identity written back: 'K' or 'G'
  Access,      // 'R' or 'P': the region code
  Password,    // 0x0B of a write: 10 bytes
  Band,        // 'T'
  StartData,   // 'R' of a write: 'O'
  FirstBlock,  // 0x0B of a read: 10 bytes
  Block,       // the acknowledgement of a read block: the next 9 bytes
  BlockWrite,  // a block of a write and its sum: 'O' or a refusal
};
constexpr int kExchangeCount = static_cast<int>(Exchange::BlockWrite) + 1;

// When an answer's first byte is expected, in microseconds after the end of its request.
struct Slot {
  int64_t earliest;
  int64_t latest;
};

// The times one radio has taken, read robustly.
class AnswerSpread {
 public:
  void Add(int64_t time);
  int Count() const { return int(times_.size()); }
  // The times this radio usually takes, at least kTolerance either side: every time it has shown
  // on the fast side (a fast answer was heard out until the usual one would have come, and
  // nothing else came); on the slow side all but its single slowest, since a late answer is
  // heard out only briefly and one is odd until a second one makes it a habit; and anywhere
  // within four median deviations of the median (times drawn evenly from a range). Says
  // something once it holds three times; with none, it is the tolerance around no time at all.
  Slot Usual() const;

 private:
  std::vector<int64_t> times_;  // the latest ones, a transfer's worth
};

// What one transfer has learned of the radio's answer times.
class RadioTimes {
 public:
  // An answer taken as the radio's: its first byte came `latency` after its request ended, while
  // the PC's own bytes still needed `wireLeft` to cross the line.
  void Learn(Exchange exchange, int64_t latency, int64_t wireLeft);
  // When the answer to a request of this exchange is expected: from the exchange's own answers
  // once it has a few, else from the radio's usual answers to its other requests (its wake-up
  // aside, slow while the radio enters programming), else as from a radio that answers at once,
  // so that nothing is early until the radio has shown its habits. Never later than the longest
  // any radio takes: this is where the radio's habits meet that bound.
  Slot Expected(Exchange exchange, int64_t wireLeft, const Line& line) const;

 private:
  std::array<AnswerSpread, kExchangeCount> own_{};
  AnswerSpread turnaround_;  // every exchange but the wake-up, less the request's wire time
};

// --- One answer --------------------------------------------------------------------------------

// Everything heard of one answer: every byte since the answer before it was judged.
struct AnswerHeard {
  int64_t requestEnd = 0;       // the PC's request had all been given to the port, no sooner
  int64_t heardAfter = 0;       // the radio cannot have heard the whole request sooner
  int64_t heardBy = 0;          // and has heard it by then
  Slot slot{0, 0};              // when the radio's answer is expected, after requestEnd
  int64_t soonestPossible = 0;  // no answer of the radio can arrive sooner, after requestEnd
  int answerBytes = 1;          // 1, or the frame's 9, 10 or 17
  std::vector<Arrival> arrivals;
};

enum class Verdict {
  InStep,   // the answer alone, its first byte in its slot
  OffTime,  // the answer alone, sooner or later than this radio answers: once heard out without
            // anything more coming, it is the radio's
  Noisy,    // fewer bytes than the answer, or more with the first in its slot: noise came with it
  Unasked,  // bytes that answer nothing asked: some came before the radio can have heard the
            // request, or more than the answer came with the first off its time. The answer
            // taken before them may not have been the radio's.
};

// The verdict on what has been heard so far.
Verdict Judge(const AnswerHeard& heard);
// The verdict once an answer off its time has been heard out: a listening cut short (the window
// closed, the port failed) tells nothing, and nothing is taken on it.
Verdict JudgeHeardOut(const AnswerHeard& heard, bool heardToTheEnd);
constexpr bool IsAlone(Verdict verdict) {
  return verdict == Verdict::InStep || verdict == Verdict::OffTime;
}
// Whether the answer's time is the radio's: its first bytes and the request's hand-over were both
// seen promptly. After a stall of the program its time teaches nothing.
bool TeachesTime(const AnswerHeard& heard);

// When the first / last byte came (the request's end when nothing came).
int64_t FirstArrival(const AnswerHeard& heard);
// How long after its request's end the answer's first byte came.
inline int64_t Latency(const AnswerHeard& heard) { return FirstArrival(heard) - heard.requestEnd; }
int64_t LastArrival(const AnswerHeard& heard);
int BytesOf(const AnswerHeard& heard);
// How many of the bytes heard cannot be the answer: those that came before the radio can have
// heard the request, with the rest of their run unless it holds a whole answer, and those beyond
// one answer.
int BytesBesidesAnswer(const AnswerHeard& heard, const Line& line);
// Whether the bytes heard in `next` may be the rest of the run that ended with `end`.
bool MayBeRestOf(const Arrival& end, const AnswerHeard& next, const Line& line);

// --- How long the PC listens -------------------------------------------------------------------

// A byte still on its way in the answer's run would have shown by then.
int64_t QuietAfter(const AnswerHeard& heard, const Line& line);
// An answer off its time is heard out until the radio's own answer would have come, had this one
// been noise that came early, and until its run would have shown.
int64_t HearOutEnd(const AnswerHeard& heard, const Line& line);
// Before the PC acts on an answer in a way it cannot take back: one more of the radio's answer
// times after its last byte, and at least until its run would have shown.
int64_t OneMoreAnswerEnd(const AnswerHeard& heard, const Line& line);
// The guards of what timing cannot tell otherwise. The radio answers a request at most the longest
// any radio takes after it has heard it and finished what it was sending, so by these times the
// first byte of an answer it owes has been seen, however slow the radio. The protocol has no
// addresses: an answer taken from noise, or from the radio's answer to the request before, shows
// only by the radio's own one coming after it. This is what proves a transfer's end, and what the
// PC hears out before it throws bytes away or stores what it cannot take back.
//   An answer the radio owes since `radioFreeBy`:
int64_t AnswerShownBy(int64_t radioFreeBy, const Line& line);
//   The radio's own answer to the request `heard` was judged for, had that been noise, where
//   nothing of the radio's can have been on its way before it: from when it heard the request.
int64_t OwnAnswerShownBy(const AnswerHeard& heard, const Line& line);
//   Any answer the radio may still owe after `heard`: from when it had heard the request and sent
//   whatever was heard of it, which may have been its answer to an earlier request.
int64_t OwedAnswerShownBy(const AnswerHeard& heard, const Line& line);
// A run still going at `until` is heard to its end, but never past this: a line that keeps
// talking is not waited out.
int64_t HearWholeBound(int64_t until, int longestFrameBytes);
// Noise is let die down until nothing has come for a frame's time after the last byte seen, the
// adapter's lateness included.
int64_t PurgeQuietEnd(int64_t lastByteSeen, int frameBytes, const Line& line);

}  // namespace answertiming
