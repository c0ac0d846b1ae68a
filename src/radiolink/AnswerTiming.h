// When the radio's answers come, and what the bytes around one answer say about the PC and the
// radio being in step. The radio speaks only when asked and says one answer, so the PC is in step
// only while every byte it heard can be placed as the radio's answer to its last request.
//
// Two kinds of evidence, the first always before the second:
//   - the line itself: on a wire nothing the radio sends can arrive before the PC's request has
//     crossed it, and a frame arrives as one run of bytes at the wire's pace;
//   - the radio's habits: when its answers have come so far in this transfer. Real radios vary,
//     and a serial adapter hands bytes over late and in chunks, so this is a spread measured
//     robustly, and an answer outside it is only heard out for a while before it is taken.
//
// Pure: times are microseconds of the link's clock, and nothing here touches a port.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace answertiming {

// One byte on the line at 1200 baud with 8 data bits and 2 stop bits.
constexpr int64_t kByteMicros = 11 * 1000000 / 1200;
// The least half-width of the time in which an answer is taken at once: the radio's and the
// machine's own jitter.
constexpr int64_t kTolerance = 2 * kByteMicros;
// The longest the PC listens for more after an answer: a radio slower than this is not waited for.
constexpr int64_t kMaxHearOut = 500000;

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

// When an answer's first byte is expected, in microseconds after the end of the request.
struct Slot {
  int64_t earliest;
  int64_t latest;
};

// Bytes seen in one look at the line: they were handed over after `after` and by `by`.
struct Arrival {
  int64_t after;
  int64_t by;
  int bytes;
};

// A set of times, read robustly: its median, and a spread that one odd time does not widen.
class TimeSpread {
 public:
  void Add(int64_t time);
  int Count() const { return int(times_.size()); }
  // Median plus or minus four median deviations, and never less than kTolerance.
  Slot Around() const;

 private:
  std::vector<int64_t> times_;  // the latest kKeep
};

// What one transfer has learned of this radio and this line.
class AnswerTimes {
 public:
  // An answer heard in step: its first byte came `latency` after its request ended, while the
  // PC's own bytes still needed `wireLeft` to cross the line. `arrivals` are its bytes.
  void Learn(Exchange exchange, int64_t latency, int64_t wireLeft,
             const std::vector<Arrival>& arrivals);
  // When the answer to a request of this exchange is expected. An exchange heard a few times
  // has its own times; others are predicted from how soon this radio answers once it has heard
  // a request (its wake-up aside, which may be slow while the radio enters programming).
  Slot SlotOf(Exchange exchange, int64_t wireLeft) const;
  // A frame of the radio's came a byte at a time at the wire's pace: the line is a wire, and no
  // answer can start before the PC's request has crossed it. A peer that answers at once (a
  // pseudo-terminal) hands a frame over in one piece.
  bool PacedLikeWire() const { return pacedLikeWire_; }
  // Whether the bytes of `next` can be the ones that followed `prev` in one run of the radio's.
  // Always on a line that does not pace like a wire, where a run cannot be seen.
  bool MayFollow(const Arrival& prev, const Arrival& next) const;
  // How long the line may hand over a byte after it has crossed: learned from the radio's frames
  // (a serial adapter delivers in chunks).
  int64_t DeliverySlack() const;

 private:
  std::array<TimeSpread, kExchangeCount> latency_{};
  TimeSpread turnaround_;  // every exchange but the wake-up
  bool pacedLikeWire_ = false;
  int64_t deliverySlack_ = 0;
};

// Everything heard of one answer: every byte since the answer before it was judged.
struct AnswerHeard {
  int64_t requestEnd = 0;  // the PC's request had all been handed to the line
  Slot slot{0, 0};         // when the radio's answer is expected
  // No answer of the radio can arrive sooner, after requestEnd: on a line paced like a wire,
  // the PC's bytes must cross it and then the answer's first byte (0 elsewhere).
  int64_t soonestPossible = 0;
  int answerBytes = 1;  // 1, or the frame's 9, 10 or 17
  std::vector<Arrival> arrivals;
  bool heardOut = false;  // the line was listened to until HearOutEnd
};

enum class Verdict {
  InStep,   // the answer alone, its first byte in its slot
  Early,    // the answer alone, sooner than the radio answers; nothing more came by HearOutEnd
  Late,     // the answer alone, later than the radio answers; nothing more came by HearOutEnd
  HearOut,  // the answer alone so far, but sooner or later than the radio answers: noise, if
            // anything still comes, or the radio's answer to an earlier request: listen on
  Noisy,    // more bytes than the answer, the first in its slot, or fewer: noise with it
  PreviousSuspect,  // bytes that are no answer to this request, which the answer before may
                    // not have been: more than the answer, the first off its time, or an answer
                    // that started before the radio can have heard the request
};

Verdict Judge(const AnswerHeard& heard);
// The answer came alone: in its slot, or heard out.
constexpr bool IsAlone(Verdict verdict) {
  return verdict == Verdict::InStep || verdict == Verdict::Early || verdict == Verdict::Late;
}

// When the first byte came (the request's end when nothing came).
int64_t FirstArrival(const AnswerHeard& heard);
int64_t LastArrival(const AnswerHeard& heard);
int BytesOf(const AnswerHeard& heard);
// Until when an answer off the radio's time is heard out: until the radio's own answer to the
// request would have shown, had this one been noise, and a byte's time after the answer's last
// byte, so that a run still arriving shows. At most kMaxHearOut.
int64_t HearOutEnd(const AnswerHeard& heard, int64_t deliverySlack);
// Until when a listener hears out an answer that must be the radio's before the PC acts on it:
// one more of the radio's answer times after its last byte, at most kMaxHearOut.
int64_t ListenEnd(const AnswerHeard& heard);
// How many of the bytes heard cannot be the answer: those that came before the radio can have
// heard the request, and those beyond one answer.
int BytesBesidesAnswer(const AnswerHeard& heard);

}  // namespace answertiming
