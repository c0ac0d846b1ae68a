// When the radio's answers come, and what the bytes around one answer say about the PC and the
// radio being in step. The radio speaks only when asked and says one answer, so the PC is in step
// only while every byte it heard can be placed as the radio's answer to its last request: a byte
// that comes before the radio can usually answer, or more bytes than the answer, is noise, or the
// late answer to an earlier request.
//
// Pure: times are microseconds of the link's clock, and nothing here touches a port.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace answertiming {

// One byte on the line at 1200 baud with 8 data bits and 2 stop bits.
constexpr int64_t kByteMicros = 11 * 1000000 / 1200;
// An answer this much sooner than this radio's soonest is still taken at once: the radio's and
// the machine's own jitter, a serial adapter's delivery of received bytes included.
constexpr int64_t kEarlyTolerance = 2 * kByteMicros;
// The radio may still be answering this much after its latest answer so far, and a frame's next
// byte follows its last one within this time.
constexpr int64_t kLateMargin = 2 * kByteMicros;

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

// When an answer may start, in microseconds after the end of the request it answers.
struct Slot {
  int64_t earliest;
  int64_t latest;
};

// What one transfer has learned of when this radio's answers start: per exchange the soonest and
// latest first byte, and for exchanges not yet heard the radio's turnaround, the time between the
// PC's last byte leaving the line and the radio's first byte arriving.
class AnswerTimes {
 public:
  // An answer heard in step: its first byte came latency after its request ended, while the
  // PC's own bytes still needed wireLeft to cross the line.
  void Learn(Exchange exchange, int64_t latency, int64_t wireLeft);
  // When the answer to a request of this exchange may start. One not yet heard is predicted
  // from the bytes still on the line and the turnaround seen so far (at first that of a radio
  // that answers at once), with twice the margin.
  Slot SlotOf(Exchange exchange, int64_t wireLeft) const;
  bool Heard(Exchange exchange) const;
  // A frame of the radio's came a byte at a time at the wire's pace: the line is a wire, and no
  // answer can start before the PC's request has crossed it. A peer that answers at once (a
  // pseudo-terminal) hands a frame over in one piece.
  void SawFrame(int bytes, int64_t firstToLast);
  bool PacedLikeWire() const { return pacedLikeWire_; }

 private:
  struct Range {
    int64_t low = -1;  // -1: nothing heard yet
    int64_t high = -1;
    void Add(int64_t value);
  };
  std::array<Range, kExchangeCount> latency_{};
  Range turnaround_;
  bool pacedLikeWire_ = false;
};

// Bytes seen in one look at the line: they came after `after` and by `by`.
struct Arrival {
  int64_t after;
  int64_t by;
  int bytes;
};

// Everything heard of one answer: every byte since the answer before it was taken.
struct AnswerWindow {
  int64_t requestEnd = 0;  // the PC's request had all gone to the line
  Slot slot{0, 0};         // when the radio's answer may start
  // No answer of the radio can start sooner, after requestEnd: on a line paced like a wire, the
  // PC's own bytes are still crossing it (0 where the line does not pace like one).
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
  Noisy,    // more bytes than the answer, the first in its slot: noise with it or after it
  PreviousSuspect,  // bytes that are no answer to this request, which the answer before may
                    // not have been: more than the answer, the first off its time, or an answer
                    // that started before the radio can have heard the request
};

Verdict Judge(const AnswerWindow& window);
// The answer came alone: in its slot, or heard out.
constexpr bool IsAlone(Verdict verdict) {
  return verdict == Verdict::InStep || verdict == Verdict::Early || verdict == Verdict::Late;
}

// Whether the window's first byte came certainly before its slot, or was seen after it.
bool CameEarly(const AnswerWindow& window);
bool CameLate(const AnswerWindow& window);
// Until when a listener hears an answer out: one more of the radio's answer times after the
// answer's last byte. By then the radio's own answer has come if this one was noise, and so has
// its next one if this answer was left over from an earlier request.
int64_t HearOutEnd(const AnswerWindow& window);
// Until when later bytes count against this answer once it was taken: a margin after its last
// byte, or HearOutEnd when it was heard out.
int64_t WatchEnd(const AnswerWindow& window);
// When the first byte of the window came (the answer's first byte in a window judged in step).
int64_t FirstArrival(const AnswerWindow& window);

}  // namespace answertiming
