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

// The verdict on an answer to a request of `exchange` on a wire, with what `times` has learned.
Verdict JudgeOn(const AnswerTimes& times, Exchange exchange, std::vector<Arrival> arrivals,
                int answerBytes = 1, bool heardOut = false) {
  AnswerHeard heard;
  heard.requestEnd = kRequestEnd;
  heard.slot = times.SlotOf(exchange, kWire);
  heard.soonestPossible = times.PacedLikeWire() ? kWire + kByteMicros : 0;
  heard.answerBytes = answerBytes;
  heard.arrivals = std::move(arrivals);
  heard.heardOut = heardOut;
  return Judge(heard);
}

// A radio heard on a wire: its identity frame came a byte at a time, 5 ms after crossing.
AnswerTimes RadioOnAWire() {
  AnswerTimes times;
  times.Learn(Exchange::Identity, (25 + 9) * kMs, kWire, Frame(25, 17));
  return times;
}

void LearnBlock(AnswerTimes& times, int64_t ms) {
  times.Learn(Exchange::Block, ms * kMs, kWire, Frame(ms, 9));
}

}  // namespace

TEST(AnswerTiming, AnAnswerIsTakenAtOnceWithinTheSpreadThisRadioHasShown) {
  // A radio whose blocks come anywhere from 5 to 200 ms after the request has crossed.
  AnswerTimes varied = RadioOnAWire();
  for (const int ms : {120, 30, 190, 70, 160, 25, 100, 140}) LearnBlock(varied, 18 + 9 + ms);
  for (const int ms : {5, 60, 200}) {
    EXPECT_EQ(JudgeOn(varied, Exchange::Block, Frame(18 + 9 + ms, 9), 9), Verdict::InStep) << ms;
  }

  // A steady radio that once answered 40 ms late: that answer stays odd, and so would the next
  // one like it; the radio's usual time stays in step.
  AnswerTimes steady = RadioOnAWire();
  for (int n = 0; n < 10; ++n) LearnBlock(steady, 67);
  LearnBlock(steady, 107);
  EXPECT_EQ(JudgeOn(steady, Exchange::Block, Frame(107, 9), 9), Verdict::HearOut);
  EXPECT_EQ(JudgeOn(steady, Exchange::Block, Frame(107, 9), 9, true), Verdict::Late);
  EXPECT_EQ(JudgeOn(steady, Exchange::Block, Frame(67, 9), 9), Verdict::InStep);
  EXPECT_EQ(JudgeOn(steady, Exchange::Block, Frame(35, 9), 9), Verdict::HearOut);
  EXPECT_EQ(JudgeOn(steady, Exchange::Block, Frame(35, 9), 9, true), Verdict::Early);

  // A radio slow to wake up predicts nothing of its other answers: its identity, 5 ms after the
  // request crossed, is in step.
  AnswerTimes slowWake;
  slowWake.Learn(Exchange::WakeUp, 1500 * kMs, kWire, {At(1500)});
  EXPECT_EQ(JudgeOn(slowWake, Exchange::Identity, Frame(18 + 9 + 5, 17), 17), Verdict::InStep);
  EXPECT_EQ(JudgeOn(slowWake, Exchange::WakeUp, {At(1500)}), Verdict::InStep);

  // An exchange not heard yet is expected when the radio's others came.
  EXPECT_EQ(JudgeOn(steady, Exchange::FirstBlock, Frame(67, 10), 10), Verdict::InStep);
  EXPECT_EQ(JudgeOn(steady, Exchange::FirstBlock, Frame(300, 10), 10), Verdict::HearOut);
}

TEST(AnswerTiming, WhatTheLineAllowsComesBeforeWhatTheRadioUsuallyDoes) {
  // A radio whose answers have come anywhere from 0 to 200 ms: nothing it sends can arrive
  // before the request has crossed the wire and its own first byte after it.
  AnswerTimes times = RadioOnAWire();
  for (const int ms : {10, 200, 100, 20, 150, 60}) LearnBlock(times, ms);
  EXPECT_EQ(JudgeOn(times, Exchange::Block, Frame(10, 9), 9), Verdict::PreviousSuspect);
  EXPECT_EQ(JudgeOn(times, Exchange::Block, Frame(28, 9), 9), Verdict::InStep);
  // Where the line hands frames over whole, time says nothing of that.
  AnswerTimes instant;
  for (const int ms : {10, 200, 100, 20, 150, 60}) instant.Learn(Exchange::Block, ms * kMs, 0, {});
  EXPECT_FALSE(instant.PacedLikeWire());
  EXPECT_EQ(JudgeOn(instant, Exchange::Block, {At(10, 9)}, 9), Verdict::InStep);

  // More bytes than the answer: noise with it when the first came in time, else bytes that
  // answer nothing; fewer: noise.
  EXPECT_EQ(JudgeOn(times, Exchange::Block, {At(60), At(100, 9)}, 9), Verdict::Noisy);
  EXPECT_EQ(JudgeOn(times, Exchange::Block, {At(20), At(100, 9)}, 9), Verdict::PreviousSuspect);
  EXPECT_EQ(JudgeOn(times, Exchange::Block, {At(60, 8)}, 9), Verdict::Noisy);
}

TEST(AnswerTiming, HearingOutHasABound) {
  AnswerTimes times;
  for (int n = 0; n < 5; ++n) times.Learn(Exchange::BlockWrite, 3000 * kMs, kWire, {});
  AnswerHeard heard;
  heard.requestEnd = kRequestEnd;
  heard.slot = times.SlotOf(Exchange::BlockWrite, kWire);
  heard.arrivals = {At(10)};
  EXPECT_EQ(HearOutEnd(heard, 0) - LastArrival(heard), kMaxHearOut);
  EXPECT_EQ(ListenEnd(heard) - LastArrival(heard), kMaxHearOut);
  // An early answer is heard out until the radio's own would have come; a late one only until a
  // byte still on its way would have.
  AnswerTimes steady;
  for (int n = 0; n < 5; ++n) steady.Learn(Exchange::BlockWrite, 40 * kMs, kWire, {});
  heard.slot = steady.SlotOf(Exchange::BlockWrite, kWire);
  EXPECT_GT(HearOutEnd(heard, 0), kRequestEnd + 40 * kMs);
  heard.arrivals = {At(300)};
  EXPECT_LT(HearOutEnd(heard, 0), kRequestEnd + 300 * kMs + 2 * kByteMicros);
}

TEST(AnswerTiming, ARunOfTheRadiosBytesIsToldFromAStrayByte) {
  AnswerTimes times = RadioOnAWire();
  const Arrival last = At(100);
  // The byte after the last one of a run comes one byte time later; a byte sooner than the line
  // can carry it, or well after, is not its next.
  EXPECT_TRUE(times.MayFollow(last, {last.by + 8 * kMs, last.by + 9 * kMs + 200, 1}));
  EXPECT_FALSE(times.MayFollow(last, {last.by + 40 * kMs, last.by + 50 * kMs, 1}));
  EXPECT_FALSE(times.MayFollow(last, {last.by, last.by + 1 * kMs, 1}));
  EXPECT_TRUE(AnswerTimes().MayFollow(last, {last.by + 40 * kMs, last.by + 50 * kMs, 1}));

  // Through a serial adapter that hands over what has crossed every 40 ms, the next byte may come
  // a whole tick later: learned from the radio's frames.
  AnswerTimes adapter;
  adapter.Learn(Exchange::Identity, 34 * kMs, kWire, Frame(25, 17, 40 * kMs));
  EXPECT_TRUE(adapter.MayFollow(last, {last.by + 35 * kMs, last.by + 40 * kMs, 1}));
  EXPECT_FALSE(times.MayFollow(last, {last.by + 35 * kMs, last.by + 40 * kMs, 1}));
  EXPECT_FALSE(adapter.MayFollow(last, {last.by + 75 * kMs, last.by + 80 * kMs, 1}));

  // Of a stray byte before the request crossed and the answer after it, one byte is not the
  // answer; of two frames, a whole frame.
  AnswerHeard heard;
  heard.requestEnd = kRequestEnd;
  heard.soonestPossible = kWire + kByteMicros;
  heard.answerBytes = 9;
  heard.arrivals = {At(5)};
  for (const Arrival& a : Frame(40, 9)) heard.arrivals.push_back(a);
  EXPECT_EQ(BytesBesidesAnswer(heard), 1);
  for (const Arrival& a : Frame(140, 9)) heard.arrivals.push_back(a);
  EXPECT_EQ(BytesBesidesAnswer(heard), 10);
}
