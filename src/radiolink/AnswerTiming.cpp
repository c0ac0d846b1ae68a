#include "radiolink/AnswerTiming.h"

#include <algorithm>

namespace answertiming {

void AnswerTimes::Range::Add(int64_t value) {
  low = low < 0 ? value : std::min(low, value);
  high = std::max(high, value);
}

void AnswerTimes::Learn(Exchange exchange, int64_t latency, int64_t wireLeft) {
  latency_[static_cast<int>(exchange)].Add(std::max<int64_t>(0, latency));
  turnaround_.Add(std::max<int64_t>(0, latency - wireLeft));
}

void AnswerTimes::SawFrame(int bytes, int64_t firstToLast) {
  // One byte of slack: the first and the last byte may each be seen a little late.
  pacedLikeWire_ = pacedLikeWire_ || (bytes > 2 && firstToLast >= (bytes - 2) * kByteMicros);
}

Slot AnswerTimes::SlotOf(Exchange exchange, int64_t wireLeft) const {
  const Range& heard = latency_[static_cast<int>(exchange)];
  if (heard.low >= 0) return {heard.low - kEarlyTolerance, heard.high + kLateMargin};
  // A radio that answers at once still needs its answer's first byte to cross the line.
  const int64_t soonest = turnaround_.low >= 0 ? turnaround_.low : kByteMicros;
  const int64_t latest = turnaround_.high >= 0 ? turnaround_.high : kByteMicros;
  return {wireLeft + soonest - kEarlyTolerance, wireLeft + latest + 2 * kLateMargin};
}

bool AnswerTimes::Heard(Exchange exchange) const {
  return latency_[static_cast<int>(exchange)].low >= 0;
}

bool CameEarly(const AnswerWindow& window) {
  return !window.arrivals.empty() &&
         window.arrivals.front().by < window.requestEnd + window.slot.earliest;
}

bool CameLate(const AnswerWindow& window) {
  return !window.arrivals.empty() &&
         window.arrivals.front().by > window.requestEnd + window.slot.latest;
}

Verdict Judge(const AnswerWindow& window) {
  int bytes = 0;
  for (const Arrival& arrival : window.arrivals) bytes += arrival.bytes;
  // Fewer bytes than the answer cannot be judged as one: only noise leaves a window so.
  if (bytes < window.answerBytes) return Verdict::Noisy;
  const bool early = CameEarly(window);
  const bool late = CameLate(window);
  if (bytes > window.answerBytes) {
    return early || late ? Verdict::PreviousSuspect : Verdict::Noisy;
  }
  // Before the radio can have heard the request: the radio's answer to the request before, late,
  // or noise. Nothing more need come, when the radio had nothing more to say.
  if (FirstArrival(window) < window.requestEnd + window.soonestPossible) {
    return Verdict::PreviousSuspect;
  }
  // Alone but off its time: it is noise only if something else still comes.
  if ((early || late) && !window.heardOut) return Verdict::HearOut;
  if (early) return Verdict::Early;
  return late ? Verdict::Late : Verdict::InStep;
}

int64_t HearOutEnd(const AnswerWindow& window) {
  const int64_t last = window.arrivals.empty() ? window.requestEnd : window.arrivals.back().by;
  return last + window.slot.latest;
}

int64_t WatchEnd(const AnswerWindow& window) {
  if (window.heardOut) return HearOutEnd(window);
  if (window.arrivals.empty()) return window.requestEnd;
  return window.arrivals.back().by + kLateMargin;
}

int64_t FirstArrival(const AnswerWindow& window) {
  return window.arrivals.empty() ? window.requestEnd : window.arrivals.front().by;
}

}  // namespace answertiming
