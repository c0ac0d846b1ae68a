#include "radiolink/AnswerTiming.h"

namespace answertiming {

namespace {

// Times kept per spread: more than the answers of one transfer to one exchange.
constexpr size_t kKeep = 64;
// A spread says something once it holds this many times: then one odd time is outvoted.
constexpr int kEnoughTimes = 3;
// Median deviations on either side of the median within which an answer is taken at once: wide
// enough for times drawn evenly from a range.
constexpr int64_t kDeviations = 4;
// How late the PC may look at a byte that the line has handed over while it waited.
constexpr int64_t kLookSlack = kByteMicros / 4;

int64_t MedianOf(std::vector<int64_t> values) {
  const auto middle = values.begin() + values.size() / 2;
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

}  // namespace

// --- The wire ----------------------------------------------------------------------------------

void Line::LearnFrame(const std::vector<Arrival>& arrivals) {
  if (arrivals.size() < 2) return;
  for (const Arrival& arrival : arrivals) {
    if (!arrival.SeenPromptly()) return;
  }
  int bytes = 0;
  for (const Arrival& arrival : arrivals) bytes += arrival.bytes;
  // One byte of slack: the first and the last byte may each be seen a little late.
  const int64_t firstToLast = arrivals.back().by - arrivals.front().by;
  pacedLikeWire_ = pacedLikeWire_ || firstToLast >= FrameMicros(bytes - 2);
  // The radio's bytes follow one another without a gap: a longer one between two looks that
  // brought them is the line's.
  for (size_t k = 1; k < arrivals.size(); ++k) {
    adapterLag_ = std::max(adapterLag_, arrivals[k].by - arrivals[k - 1].by - kByteMicros);
  }
}

int64_t Line::SeenLateBy() const { return adapterLag_ + kLookSlack; }

bool Line::MayFollow(const Arrival& prev, const Arrival& next) const {
  if (!pacedLikeWire_) return true;
  // The byte after prev's last crossed one byte time after it, and was handed over at most
  // SeenLateBy later: not seen after `next.after`, nor sooner than the line can carry it.
  const int64_t late = SeenLateBy();
  return next.after < prev.by + kByteMicros + late && next.by >= prev.after - late + kByteMicros;
}

int64_t Line::SoonestAnswer(int64_t wireLeft) const {
  return pacedLikeWire_ ? wireLeft + kByteMicros : 0;
}

// --- The radio's habits ------------------------------------------------------------------------

void AnswerSpread::Add(int64_t time) {
  if (times_.size() == kKeep) times_.erase(times_.begin());
  times_.push_back(time);
}

Slot AnswerSpread::Usual() const {
  if (times_.empty()) return {-kTolerance, kTolerance};
  std::vector<int64_t> sorted = times_;
  std::sort(sorted.begin(), sorted.end());
  const int64_t median = MedianOf(sorted);
  std::vector<int64_t> deviations;
  deviations.reserve(sorted.size());
  for (const int64_t t : sorted) deviations.push_back(t > median ? t - median : median - t);
  const int64_t width = kDeviations * MedianOf(deviations);
  const int64_t fastest = std::min(sorted.front(), median - width);
  const int64_t slowestButOne = sorted[std::max<size_t>(sorted.size(), 2) - 2];
  const int64_t slowest = std::max(slowestButOne, median + width);
  return {fastest - kTolerance, slowest + kTolerance};
}

void RadioTimes::Learn(Exchange exchange, int64_t latency, int64_t wireLeft) {
  own_[static_cast<int>(exchange)].Add(std::max<int64_t>(0, latency));
  if (exchange != Exchange::WakeUp) turnaround_.Add(std::max<int64_t>(0, latency - wireLeft));
}

Slot RadioTimes::Expected(Exchange exchange, int64_t wireLeft, const Line& line) const {
  const AnswerSpread& own = own_[static_cast<int>(exchange)];
  Slot slot{};
  if (own.Count() >= kEnoughTimes) {
    slot = own.Usual();
  } else if (exchange != Exchange::WakeUp && turnaround_.Count() >= kEnoughTimes) {
    // A guess from the radio's other answers: later by one more tolerance.
    const Slot usual = turnaround_.Usual();
    slot = {wireLeft + usual.earliest, wireLeft + usual.latest + kTolerance};
  } else {
    // A radio that answers at once still needs its answer's first byte to cross the line.
    slot = {wireLeft + kByteMicros - kTolerance, wireLeft + kByteMicros + 2 * kTolerance};
  }
  // An adapter may hand the first byte over that much later. No habit waits longer than any
  // radio takes, its request's own time on the wire and its first byte included.
  const int64_t longest = wireLeft + kLongestAnswerShown;
  slot.latest = std::min(slot.latest, longest) + line.SeenLateBy();
  slot.earliest = std::min(slot.earliest, slot.latest);
  return slot;
}

// --- One answer --------------------------------------------------------------------------------

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
  if (FirstArrival(heard) < heard.requestEnd + heard.soonestPossible) return Verdict::Unasked;
  const bool offTime = FirstArrival(heard) < heard.requestEnd + heard.slot.earliest ||
                       FirstArrival(heard) > heard.requestEnd + heard.slot.latest;
  if (bytes > heard.answerBytes) return offTime ? Verdict::Unasked : Verdict::Noisy;
  return offTime ? Verdict::OffTime : Verdict::InStep;
}

Verdict JudgeHeardOut(const AnswerHeard& heard, bool heardToTheEnd) {
  return heardToTheEnd ? Judge(heard) : Verdict::Noisy;
}

bool TeachesTime(const AnswerHeard& heard) {
  return !heard.arrivals.empty() && heard.arrivals.front().SeenPromptly() &&
         heard.heardBy - heard.heardAfter <= kPromptLook;
}

int BytesBesidesAnswer(const AnswerHeard& heard, const Line& line) {
  // A run that started before the radio can have heard the request answers nothing, and neither
  // does its continuation unless that holds a whole answer: a stray byte just before the radio's
  // answer is one byte besides it, a frame that began too soon is a frame besides it.
  int unasked = 0;
  int after = 0;
  const Arrival* run = nullptr;  // the last bytes of a run that began too soon
  int runAfter = 0;              // bytes of that run that came once the request could be heard
  const auto endRun = [&] {
    (runAfter < heard.answerBytes ? unasked : after) += runAfter;
    run = nullptr;
    runAfter = 0;
  };
  for (const Arrival& arrival : heard.arrivals) {
    if (arrival.by < heard.requestEnd + heard.soonestPossible) {
      unasked += arrival.bytes;
      run = &arrival;
    } else if (run != nullptr && line.MayFollow(*run, arrival)) {
      runAfter += arrival.bytes;
      run = &arrival;
    } else {
      endRun();
      after += arrival.bytes;
    }
  }
  endRun();
  return unasked + std::max(0, after - heard.answerBytes);
}

bool MayBeRestOf(const Arrival& end, const AnswerHeard& next, const Line& line) {
  return !next.arrivals.empty() && line.MayFollow(end, next.arrivals.front());
}

// --- How long the PC listens -------------------------------------------------------------------

int64_t QuietAfter(const AnswerHeard& heard, const Line& line) {
  return LastArrival(heard) + kByteMicros + line.SeenLateBy();
}

int64_t HearOutEnd(const AnswerHeard& heard, const Line& line) {
  return std::max(QuietAfter(heard, line), heard.requestEnd + heard.slot.latest);
}

int64_t OneMoreAnswerEnd(const AnswerHeard& heard, const Line& line) {
  return std::max(QuietAfter(heard, line), LastArrival(heard) + heard.slot.latest);
}

int64_t AnswerShownBy(int64_t radioFreeBy, const Line& line) {
  return radioFreeBy + kLongestAnswerShown + line.SeenLateBy();
}

int64_t OwnAnswerShownBy(const AnswerHeard& heard, const Line& line) {
  return AnswerShownBy(heard.heardBy, line);
}

int64_t OwedAnswerShownBy(const AnswerHeard& heard, const Line& line) {
  return AnswerShownBy(std::max(heard.heardBy, LastArrival(heard)), line);
}

int64_t HearWholeBound(int64_t until, int longestFrameBytes) {
  return until + FrameMicros(longestFrameBytes);
}

int64_t PurgeQuietEnd(int64_t lastByteSeen, int frameBytes, const Line& line) {
  return lastByteSeen + FrameMicros(frameBytes) + line.SeenLateBy();
}

}  // namespace answertiming
