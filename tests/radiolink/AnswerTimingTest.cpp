#include <gtest/gtest.h>

#include "radiolink/AnswerTiming.h"

using namespace answertiming;

namespace {

constexpr int64_t kMs = 1000;

// A one-byte answer window whose request ended at 1 s, the radio answering from 30 ms on.
AnswerWindow OneByteWindow(std::vector<Arrival> arrivals) {
  AnswerWindow window;
  window.requestEnd = 1000 * kMs;
  window.slot = {30 * kMs - kEarlyTolerance, 30 * kMs + kLateMargin};
  window.arrivals = std::move(arrivals);
  return window;
}

Arrival At(int64_t msAfterRequest, int bytes = 1) {
  const int64_t at = 1000 * kMs + msAfterRequest * kMs;
  return {at - 1 * kMs, at, bytes};
}

}  // namespace

TEST(AnswerTiming, SlotsComeFromTheLineUntilTheRadioIsHeardThenFromItsAnswers) {
  AnswerTimes times;
  // Nothing heard: the PC's bytes still on the line, then a radio that answers at once.
  EXPECT_FALSE(times.Heard(Exchange::WakeUp));
  EXPECT_EQ(times.SlotOf(Exchange::WakeUp, 18 * kMs).earliest,
            18 * kMs + kByteMicros - kEarlyTolerance);
  EXPECT_EQ(times.SlotOf(Exchange::WakeUp, 18 * kMs).latest,
            18 * kMs + kByteMicros + 2 * kLateMargin);

  // The wake-up answered 30 ms after its request, 18 ms of which its bytes needed to cross.
  times.Learn(Exchange::WakeUp, 30 * kMs, 18 * kMs);
  EXPECT_TRUE(times.Heard(Exchange::WakeUp));
  const Slot wakeUp = times.SlotOf(Exchange::WakeUp, 18 * kMs);
  EXPECT_EQ(wakeUp.earliest, 30 * kMs - kEarlyTolerance);
  EXPECT_EQ(wakeUp.latest, 30 * kMs + kLateMargin);
  // A block not yet heard: its own bytes on the line, then that radio's 12 ms.
  const Slot block = times.SlotOf(Exchange::BlockWrite, 165 * kMs);
  EXPECT_EQ(block.earliest, 177 * kMs - kEarlyTolerance);
  EXPECT_EQ(block.latest, 177 * kMs + 2 * kLateMargin);

  // A frame handed over in one piece tells nothing; one that came a byte at a time shows a wire.
  times.SawFrame(17, 0);
  EXPECT_FALSE(times.PacedLikeWire());
  times.SawFrame(17, 15 * kByteMicros);
  EXPECT_TRUE(times.PacedLikeWire());

  // A slower answer widens the slot; the soonest stays.
  times.Learn(Exchange::WakeUp, 45 * kMs, 18 * kMs);
  EXPECT_EQ(times.SlotOf(Exchange::WakeUp, 0).earliest, 30 * kMs - kEarlyTolerance);
  EXPECT_EQ(times.SlotOf(Exchange::WakeUp, 0).latest, 45 * kMs + kLateMargin);
}

TEST(AnswerTiming, AnAnswerIsInStepOnlyAloneAndInTheRadiosTime) {
  EXPECT_EQ(Judge(OneByteWindow({At(31)})), Verdict::InStep);
  // A radio a little quicker or slower than before: still its time.
  EXPECT_EQ(Judge(OneByteWindow({At(25)})), Verdict::InStep);
  EXPECT_EQ(Judge(OneByteWindow({At(45)})), Verdict::InStep);

  // Sooner than predicted for a request not yet answered, or later than the radio answers:
  // noise, or a leftover answer, if anything else comes.
  for (const int64_t ms : {5, 200}) {
    AnswerWindow off = OneByteWindow({At(ms)});
    EXPECT_EQ(CameEarly(off), ms == 5) << ms;
    EXPECT_EQ(CameLate(off), ms == 200) << ms;
    EXPECT_EQ(Judge(off), Verdict::HearOut) << ms;
    off.heardOut = true;
    EXPECT_EQ(Judge(off), ms == 5 ? Verdict::Early : Verdict::Late) << ms;
    EXPECT_TRUE(IsAlone(Judge(off))) << ms;
    off.arrivals.push_back(At(ms + 20));
    EXPECT_EQ(Judge(off), Verdict::PreviousSuspect) << ms;
  }
  // Before the radio can have heard the request, on a line paced like a wire: no answer to it,
  // alone or not.
  AnswerWindow leftover = OneByteWindow({At(5)});
  leftover.soonestPossible = 18 * kMs;
  EXPECT_EQ(Judge(leftover), Verdict::PreviousSuspect);
  // More than the answer, the first byte in its time: noise with it or after it.
  EXPECT_EQ(Judge(OneByteWindow({At(31), At(33)})), Verdict::Noisy);
  EXPECT_EQ(Judge(OneByteWindow({At(3), At(31)})), Verdict::PreviousSuspect);
  // Bytes seen together at one look may have come before the slot or in it: not early.
  EXPECT_EQ(Judge(OneByteWindow({{1000 * kMs, 1031 * kMs, 2}})), Verdict::Noisy);
  EXPECT_EQ(Judge(OneByteWindow({})), Verdict::Noisy);

  // A frame: its bytes over several looks, the first on time.
  AnswerWindow frame = OneByteWindow({At(31, 3), At(40, 4), At(50, 2)});
  frame.answerBytes = 9;
  EXPECT_EQ(Judge(frame), Verdict::InStep);
  frame.arrivals.push_back(At(55));
  EXPECT_EQ(Judge(frame), Verdict::Noisy);
}

TEST(AnswerTiming, AnAnswerIsWatchedForOneMoreAnswerTime) {
  // Taken at once: its next byte would follow within the margin.
  AnswerWindow taken = OneByteWindow({At(31)});
  EXPECT_EQ(WatchEnd(taken), 1031 * kMs + kLateMargin);
  EXPECT_EQ(FirstArrival(taken), 1031 * kMs);
  // Heard out: until a whole answer time of the radio after it.
  AnswerWindow heard = OneByteWindow({At(5)});
  heard.heardOut = true;
  EXPECT_EQ(HearOutEnd(heard), 1005 * kMs + 30 * kMs + kLateMargin);
  EXPECT_EQ(WatchEnd(heard), HearOutEnd(heard));
  // A frame that ends late is heard out past its last byte.
  AnswerWindow late = OneByteWindow({At(31), At(90)});
  EXPECT_EQ(HearOutEnd(late), 1090 * kMs + 30 * kMs + kLateMargin);
}
