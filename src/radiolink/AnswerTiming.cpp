#include "radiolink/AnswerTiming.h"

#include <algorithm>

namespace answertiming {

namespace {

// Times kept per spread: more than the answers of one transfer to one exchange.
constexpr size_t kKeep = 64;
// An exchange heard this often is timed by its own answers rather than by the radio's others.
constexpr int kOwnAnswers = 3;
// Median deviations on either side of the median within which an answer is taken at once: wide
// enough for times drawn evenly from a range, so that only a time apart from the rest is odd.
constexpr int64_t kDeviations = 4;
// How late the machine may look at a byte that the line has handed over while it waited.
constexpr int64_t kLookSlack = kByteMicros / 4;

int64_t MedianOf(std::vector<int64_t> values) {
  const auto middle = values.begin() + values.size() / 2;
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

}  // namespace

void TimeSpread::Add(int64_t time) {
  if (times_.size() == kKeep) times_.erase(times_.begin());
  times_.push_back(time);
}

Slot TimeSpread::Around() const {
  const int64_t median = MedianOf(times_);
  std::vector<int64_t> deviations;
  deviations.reserve(times_.size());
  for (const int64_t t : times_) deviations.push_back(t > median ? t - median : median - t);
  const int64_t width = std::max(kTolerance, kDeviations * MedianOf(deviations));
  return {median - width, median + width};
}

void AnswerTimes::Learn(Exchange exchange, int64_t latency, int64_t wireLeft,
                        const std::vector<Arrival>& arrivals) {
  latency_[static_cast<int>(exchange)].Add(std::max<int64_t>(0, latency));
  if (exchange != Exchange::WakeUp) turnaround_.Add(std::max<int64_t>(0, latency - wireLeft));
  if (arrivals.size() < 2) return;
  int bytes = 0;
  for (const Arrival& arrival : arrivals) bytes += arrival.bytes;
  // One byte of slack: the first and the last byte may each be seen a little late.
  const int64_t firstToLast = arrivals.back().by - arrivals.front().by;
  pacedLikeWire_ = pacedLikeWire_ || (bytes > 2 && firstToLast >= (bytes - 2) * kByteMicros);
  // The radio's bytes follow one another without a gap: any later look than that is the line's.
  for (size_t k = 1; k < arrivals.size(); ++k) {
    deliverySlack_ = std::max(deliverySlack_, arrivals[k].after - arrivals[k - 1].by - kByteMicros);
  }
}

Slot AnswerTimes::SlotOf(Exchange exchange, int64_t wireLeft) const {
  const TimeSpread& own = latency_[static_cast<int>(exchange)];
  if (own.Count() >= kOwnAnswers) return own.Around();
  if (exchange != Exchange::WakeUp && turnaround_.Count() > 0) {
    // A guess from the radio's other answers: later by one more tolerance.
    const Slot usual = turnaround_.Around();
    return {wireLeft + usual.earliest, wireLeft + usual.latest + kTolerance};
  }
  if (own.Count() > 0) return own.Around();
  // A radio that answers at once still needs its answer's first byte to cross the line.
  return {wireLeft + kByteMicros - kTolerance, wireLeft + kByteMicros + 2 * kTolerance};
}

int64_t AnswerTimes::DeliverySlack() const { return deliverySlack_ + kLookSlack; }

bool AnswerTimes::MayFollow(const Arrival& prev, const Arrival& next) const {
  if (!pacedLikeWire_) return true;
  // The byte after prev's last crossed one byte time after it, and was handed over at most the
  // slack later: not seen after `next.after`, or sooner than the line can carry it.
  const int64_t slack = DeliverySlack();
  return next.after < prev.by + kByteMicros + slack && next.by >= prev.after - slack + kByteMicros;
}

int64_t FirstArrival(const AnswerHeard& heard) {
  return heard.arrivals.empty() ? heard.requestEnd : heard.arrivals.front().by;
}

int64_t LastArrival(const AnswerHeard& heard) {
  return heard.arrivals.empty() ? heard.requestEnd : heard.arrivals.back().by;
}

int BytesOf(const AnswerHeard& heard) {
  int bytes = 0;
  for (const Arrival& arrival : heard.arrivals) bytes += arrival.bytes;
  return bytes;
}

Verdict Judge(const AnswerHeard& heard) {
  const int bytes = BytesOf(heard);
  // Fewer bytes than the answer cannot be judged as one: only noise leaves an answer so.
  if (bytes < heard.answerBytes) return Verdict::Noisy;
  // Before the radio can have heard the request: the radio's answer to the request before, late,
  // or noise. Nothing more need come, when the radio had nothing more to say.
  if (FirstArrival(heard) < heard.requestEnd + heard.soonestPossible) {
    return Verdict::PreviousSuspect;
  }
  const bool early = FirstArrival(heard) < heard.requestEnd + heard.slot.earliest;
  const bool late = FirstArrival(heard) > heard.requestEnd + heard.slot.latest;
  if (bytes > heard.answerBytes) return early || late ? Verdict::PreviousSuspect : Verdict::Noisy;
  // Alone but off its time: it is noise only if something else still comes.
  if ((early || late) && !heard.heardOut) return Verdict::HearOut;
  if (early) return Verdict::Early;
  return late ? Verdict::Late : Verdict::InStep;
}

int64_t HearOutEnd(const AnswerHeard& heard, int64_t deliverySlack) {
  const int64_t last = LastArrival(heard);
  const int64_t radiosOwn = heard.requestEnd + heard.slot.latest;
  return std::min(last + kMaxHearOut, std::max(radiosOwn, last + kByteMicros + deliverySlack));
}

int64_t ListenEnd(const AnswerHeard& heard) {
  return LastArrival(heard) + std::clamp<int64_t>(heard.slot.latest, 0, kMaxHearOut);
}

int BytesBesidesAnswer(const AnswerHeard& heard) {
  int before = 0;
  int after = 0;
  for (const Arrival& arrival : heard.arrivals) {
    (arrival.by < heard.requestEnd + heard.soonestPossible ? before : after) += arrival.bytes;
  }
  return before + std::max(0, after - heard.answerBytes);
}

}  // namespace answertiming
