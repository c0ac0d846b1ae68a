#include <gtest/gtest.h>

#include "radiolink/AnswerTiming.h"

using namespace answertiming;

namespace {

constexpr int64_t kMs = 1000;
constexpr int64_t kRequestEnd = 1000 * kMs;
constexpr int64_t kWire = 2 * kByteMicros;  // a command byte and its zero still crossing

Arrival At(int64_t msAfterRequest, int bytes = 1) {
  const int64_t at = kRequestEnd + msAfterRequest * kMs;
  return {at - 1 * kMs, at, bytes};
}

// A frame of `bytes` whose first byte arrives msAfterRequest after the request, the rest at the
// wire's pace, handed over every `tickUs` (a serial adapter hands over what has crossed at each
// of its ticks) and seen by the PC, which looks at the line every 5 ms while it waits.
std::vector<Arrival> Frame(int64_t msAfterRequest, int bytes, int64_t tickUs = kByteMicros) {
  std::vector<Arrival> arrivals;
  const int64_t first = kRequestEnd + msAfterRequest * kMs;
  int64_t handed = 0;
  for (int64_t at = first; handed < bytes; at += tickUs) {
    const int due = std::min<int64_t>(bytes, 1 + (at - first) / kByteMicros);
    if (due > handed)
      arrivals.push_back({at - std::min<int64_t>(tickUs, 5 * kMs), at, int(due - handed)});
    handed = due;
  }
  return arrivals;
}

// What one transfer has learned: the radio's answer times and the line.
struct Learned {
  RadioTimes times;
  Line line;

  void Answer(Exchange exchange, int64_t ms, int bytes = 1) {
    times.Learn(exchange, ms * kMs, kWire);
    line.LearnFrame(Frame(ms, bytes));
  }
  AnswerHeard Heard(Exchange exchange, std::vector<Arrival> arrivals, int answerBytes) const {
    AnswerHeard heard;
    heard.requestEnd = kRequestEnd;
    heard.slot = times.Expected(exchange, kWire, line);
    heard.soonestPossible = line.SoonestAnswer(kWire);
    heard.answerBytes = answerBytes;
    heard.arrivals = std::move(arrivals);
    return heard;
  }
  // The verdict on an answer to a request of `exchange`.
  Verdict Judge(Exchange exchange, std::vector<Arrival> arrivals, int answerBytes = 1) const {
    return answertiming::Judge(Heard(exchange, std::move(arrivals), answerBytes));
  }
  Verdict JudgeBlock(int64_t ms) const { return Judge(Exchange::Block, Frame(ms, 9), 9); }
};

// A radio heard on a wire: its identity frame came a byte at a time, 5 ms after crossing.
Learned RadioOnAWire() {
  Learned learned;
  learned.Answer(Exchange::Identity, 18 + 9 + 5, 17);
  return learned;
}

}  // namespace

TEST(AnswerTiming, AnAnswerIsTakenAtOnceWithinTheSpreadThisRadioHasShown) {
  // A radio whose blocks come anywhere from 5 to 200 ms after the request has crossed.
  Learned varied = RadioOnAWire();
  for (const int ms : {120, 30, 190, 70, 160, 25, 100, 140}) {
    varied.Answer(Exchange::Block, 18 + 9 + ms, 9);
  }
  for (const int ms : {5, 60, 200}) EXPECT_EQ(varied.JudgeBlock(18 + 9 + ms), Verdict::InStep);
  // Even while only three times are known, if they spread evenly.
  Learned few = RadioOnAWire();
  for (const int ms : {120, 30, 190}) few.Answer(Exchange::Block, 18 + 9 + ms, 9);
  EXPECT_EQ(few.JudgeBlock(18 + 9 + 5), Verdict::InStep);

  // A steady radio that once answered 40 ms late: that answer stays off its time, and so would
  // the next one like it; the radio's usual time stays in step, a sooner one is off it.
  Learned steady = RadioOnAWire();
  for (int n = 0; n < 10; ++n) steady.Answer(Exchange::Block, 67, 9);
  steady.Answer(Exchange::Block, 107, 9);
  EXPECT_EQ(steady.JudgeBlock(107), Verdict::OffTime);
  EXPECT_EQ(steady.JudgeBlock(67), Verdict::InStep);
  EXPECT_EQ(steady.JudgeBlock(35), Verdict::OffTime);
  // A few milliseconds sooner than it has ever answered is the machine's jitter, not noise.
  EXPECT_EQ(steady.JudgeBlock(60), Verdict::InStep);

  // A radio slow to wake up predicts nothing of its other answers, however often it wakes slowly:
  // its identity, 5 ms after the request crossed, is in step.
  Learned slowWake;
  for (int n = 0; n < 3; ++n) slowWake.Answer(Exchange::WakeUp, 1500);
  EXPECT_EQ(slowWake.Judge(Exchange::Identity, Frame(18 + 9 + 5, 17), 17), Verdict::InStep);
}

TEST(AnswerTiming, OneSlowAnswerPredictsNothingAndTwoHabitsAreBothUsual) {
  // An identity that took 450 ms, then two answers of a radio that takes 20 ms: the exchanges
  // that follow are expected when the radio usually answers, not 450 ms after their requests.
  Learned slowIdentity;
  slowIdentity.Answer(Exchange::WakeUp, 47);
  slowIdentity.Answer(Exchange::Identity, 450, 17);
  EXPECT_EQ(slowIdentity.Judge(Exchange::Access, {At(47)}), Verdict::InStep);
  slowIdentity.Answer(Exchange::Access, 47);
  EXPECT_EQ(slowIdentity.Judge(Exchange::FirstBlock, Frame(47, 10), 10), Verdict::InStep);
  slowIdentity.Answer(Exchange::FirstBlock, 47, 10);
  EXPECT_EQ(slowIdentity.JudgeBlock(47), Verdict::InStep);
  EXPECT_EQ(slowIdentity.JudgeBlock(120), Verdict::OffTime);
  // The guess from the radio's other answers is a tolerance wider than one from its own; one or
  // two answers of this exchange do not narrow it yet.
  EXPECT_EQ(slowIdentity.JudgeBlock(80), Verdict::InStep);
  slowIdentity.Answer(Exchange::Block, 47, 9);
  EXPECT_EQ(slowIdentity.JudgeBlock(80), Verdict::InStep);

  // A radio that answers in 180 ms, now and then in 10: its first fast answer is off its time;
  // heard out alone, it shows the radio can answer so fast, and the next is in step.
  Learned slowMostly = RadioOnAWire();
  for (int n = 0; n < 8; ++n) slowMostly.Answer(Exchange::Block, 207, 9);
  EXPECT_EQ(slowMostly.JudgeBlock(37), Verdict::OffTime);
  slowMostly.Answer(Exchange::Block, 37, 9);
  EXPECT_EQ(slowMostly.JudgeBlock(37), Verdict::InStep);
  EXPECT_EQ(slowMostly.JudgeBlock(207), Verdict::InStep);

  // The other way round: one slow answer is odd, a second one makes it a habit.
  Learned fastMostly = RadioOnAWire();
  for (int n = 0; n < 8; ++n) fastMostly.Answer(Exchange::Block, 37, 9);
  fastMostly.Answer(Exchange::Block, 207, 9);
  EXPECT_EQ(fastMostly.JudgeBlock(207), Verdict::OffTime);
  fastMostly.Answer(Exchange::Block, 207, 9);
  EXPECT_EQ(fastMostly.JudgeBlock(207), Verdict::InStep);
  EXPECT_EQ(fastMostly.JudgeBlock(37), Verdict::InStep);

  // No answer at all predicts no time: only the tolerance around none.
  EXPECT_EQ(AnswerSpread().Usual().earliest, -kTolerance);
  EXPECT_EQ(AnswerSpread().Usual().latest, kTolerance);
}

TEST(AnswerTiming, WhatTheLineAllowsComesBeforeWhatTheRadioUsuallyDoes) {
  // A radio whose answers have come anywhere from 0 to 200 ms: nothing it sends can arrive
  // before the request has crossed the wire and its own first byte after it.
  Learned wire = RadioOnAWire();
  for (const int ms : {10, 200, 100, 20, 150, 60}) wire.Answer(Exchange::Block, ms, 9);
  EXPECT_EQ(wire.JudgeBlock(10), Verdict::Unasked);
  EXPECT_EQ(wire.JudgeBlock(28), Verdict::InStep);
  // Where the line hands frames over whole, time says nothing of that.
  Learned instant;
  for (const int ms : {10, 200, 100, 20, 150, 60})
    instant.times.Learn(Exchange::Block, ms * kMs, 0);
  EXPECT_FALSE(instant.line.PacedLikeWire());
  EXPECT_EQ(instant.Judge(Exchange::Block, {At(10, 9)}, 9), Verdict::InStep);
  // Nor is anything early before the radio has shown its habits.
  EXPECT_EQ(Learned().Judge(Exchange::Block, {At(20, 9)}, 9), Verdict::InStep);

  // More bytes than the answer: noise with it when the first came in time, else bytes that
  // answer nothing; fewer: noise.
  EXPECT_EQ(wire.Judge(Exchange::Block, {At(60), At(100, 9)}, 9), Verdict::Noisy);
  EXPECT_EQ(wire.Judge(Exchange::Block, {At(20), At(100, 9)}, 9), Verdict::Unasked);
  EXPECT_EQ(wire.Judge(Exchange::Block, {At(60, 8)}, 9), Verdict::Noisy);
}

TEST(AnswerTiming, ListeningEndsWhenTheRadiosAnswerWouldHaveShown) {
  // A radio that answers in 3 s is not waited for: no habit counts for more than the longest any
  // radio takes, which the guards wait for whatever the radio has shown.
  Learned slow;
  for (int n = 0; n < 5; ++n) slow.Answer(Exchange::BlockWrite, 3000);
  AnswerHeard heard = slow.Heard(Exchange::BlockWrite, {At(10)}, 1);
  heard.heardBy = kRequestEnd + kWire;
  const int64_t shown = AnswerShownBy(heard.heardBy, slow.line);
  EXPECT_EQ(shown - heard.heardBy, kLongestAnswer + kByteMicros + slow.line.SeenLateBy());
  EXPECT_EQ(HearOutEnd(heard, slow.line), shown);
  EXPECT_EQ(OneMoreAnswerEnd(heard, slow.line) - LastArrival(heard), shown - kRequestEnd);

  // An early answer is heard out until the radio's own would have come; a late one only until a
  // byte still on its way would have.
  Learned steady = RadioOnAWire();
  for (int n = 0; n < 5; ++n) steady.Answer(Exchange::BlockWrite, 40);
  heard = steady.Heard(Exchange::BlockWrite, {At(10)}, 1);
  EXPECT_GT(HearOutEnd(heard, steady.line), kRequestEnd + 40 * kMs);
  heard.arrivals = {At(300)};
  EXPECT_EQ(HearOutEnd(heard, steady.line), QuietAfter(heard, steady.line));
  EXPECT_LT(QuietAfter(heard, steady.line), kRequestEnd + 300 * kMs + 2 * kByteMicros);
}

TEST(AnswerTiming, OnlyWhatWasSeenPromptlyTeachesTime) {
  // Bytes seen by a look that came long after the one before, or an answer to a request whose
  // send was seen long after the port was given it: the program did not run meanwhile, and the
  // answer's time says nothing of the radio.
  AnswerHeard heard = RadioOnAWire().Heard(Exchange::Block, Frame(40, 9), 9);
  heard.heardAfter = heard.heardBy = kRequestEnd + kWire;
  EXPECT_TRUE(TeachesTime(heard));
  heard.heardBy += 250 * kMs;
  EXPECT_FALSE(TeachesTime(heard));
  heard.heardBy = heard.heardAfter;
  heard.arrivals.front().after -= 250 * kMs;
  EXPECT_FALSE(TeachesTime(heard));
}

TEST(AnswerTiming, ARunOfTheRadiosBytesIsToldFromAStrayByte) {
  const Line wire = RadioOnAWire().line;
  const Arrival last = At(100);
  // The byte after the last one of a run comes one byte time later; a byte sooner than the line
  // can carry it, or well after, is not its next.
  EXPECT_TRUE(wire.MayFollow(last, {last.by + 8 * kMs, last.by + 9 * kMs + 200, 1}));
  EXPECT_FALSE(wire.MayFollow(last, {last.by + 40 * kMs, last.by + 50 * kMs, 1}));
  EXPECT_FALSE(wire.MayFollow(last, {last.by, last.by + 1 * kMs, 1}));
  EXPECT_TRUE(Line().MayFollow(last, {last.by + 40 * kMs, last.by + 50 * kMs, 1}));

  // Through a serial adapter that hands over what has crossed every 40 ms, the next byte may come
  // a whole tick later: learned from the radio's frames.
  Line adapter;
  adapter.LearnFrame(Frame(25, 17, 40 * kMs));
  EXPECT_TRUE(adapter.MayFollow(last, {last.by + 35 * kMs, last.by + 40 * kMs, 1}));
  EXPECT_FALSE(wire.MayFollow(last, {last.by + 35 * kMs, last.by + 40 * kMs, 1}));
  EXPECT_FALSE(adapter.MayFollow(last, {last.by + 75 * kMs, last.by + 80 * kMs, 1}));
  AnswerHeard one;
  one.arrivals = {last};
  EXPECT_GT(QuietAfter(one, adapter), last.by + 40 * kMs);

  // Of a stray byte before the request crossed and the answer after it, one byte is not the
  // answer; of two frames, a whole frame. A frame that started before the request crossed
  // answers nothing, the bytes that came after the crossing included.
  AnswerHeard heard;
  heard.requestEnd = kRequestEnd;
  heard.soonestPossible = kWire + kByteMicros;
  heard.answerBytes = 9;
  heard.arrivals = {At(5)};
  for (const Arrival& a : Frame(40, 9)) heard.arrivals.push_back(a);
  EXPECT_EQ(BytesBesidesAnswer(heard, wire), 1);
  EXPECT_FALSE(MayBeRestOf(At(-20), heard, wire));
  EXPECT_TRUE(MayBeRestOf(At(-4), heard, wire));
  for (const Arrival& a : Frame(140, 9)) heard.arrivals.push_back(a);
  EXPECT_EQ(BytesBesidesAnswer(heard, wire), 10);
  heard.arrivals = Frame(10, 9);
  EXPECT_EQ(BytesBesidesAnswer(heard, wire), 9);
  // A stray byte just before the request crossed, the whole answer right after it: one byte.
  heard.arrivals = {At(20)};
  for (const Arrival& a : Frame(29, 9)) heard.arrivals.push_back(a);
  EXPECT_EQ(BytesBesidesAnswer(heard, wire), 1);
}
