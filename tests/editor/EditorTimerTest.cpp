// The 200 ms tick: the radio link's two time-outs and the programming window's LED blink.
#include "EditorFixture.h"

namespace {

class RecordingLeds : public ProgramLeds {
 public:
  void SetGreenBackColor(uint32_t colour) override { green.push_back(colour); }
  void SetRedBackColor(uint32_t colour) override { red.push_back(colour); }
  std::vector<uint32_t> green;
  std::vector<uint32_t> red;
};

void Tick(int times) {
  for (int i = 0; i < times; ++i) frmMain().tmrTimer1_Timer();
}

}  // namespace

TEST_F(EditorTest, TimeOutsExpireOnTheirTenthTickIndependently) {
  StartEditor();
  // The link's StartReplyTimeout.
  ReplyTimeoutTicks = 10;
  ReplyTimedOut = false;
  ReplyTimerRunning = true;
  Tick(3);
  // The wake-up time-out starts three ticks later.
  HandshakeTimeoutTicks = 10;
  HandshakeTimedOut = false;
  HandshakeTimerRunning = true;

  Tick(6);
  EXPECT_EQ(ReplyTimeoutTicks, 1);
  EXPECT_TRUE(ReplyTimerRunning);
  EXPECT_FALSE(ReplyTimedOut);

  Tick(1);  // the reply time-out's tenth tick
  EXPECT_EQ(ReplyTimeoutTicks, 0);
  EXPECT_FALSE(ReplyTimerRunning);
  EXPECT_TRUE(ReplyTimedOut);
  EXPECT_EQ(HandshakeTimeoutTicks, 3);
  EXPECT_FALSE(HandshakeTimedOut);

  Tick(3);  // the wake-up time-out's tenth tick
  EXPECT_TRUE(HandshakeTimedOut);
  EXPECT_FALSE(HandshakeTimerRunning);

  Tick(5);  // expired time-outs are not counted any further
  EXPECT_EQ(ReplyTimeoutTicks, 0);
  EXPECT_EQ(HandshakeTimeoutTicks, 0);

  // A stopped time-out (StopReplyTimeout) does not count either.
  ReplyTimeoutTicks = 10;
  ReplyTimedOut = false;
  ReplyTimerRunning = false;
  Tick(12);
  EXPECT_EQ(ReplyTimeoutTicks, 10);
  EXPECT_FALSE(ReplyTimedOut);

  // A count started at 0 expires on the next tick rather than running below zero for ever.
  HandshakeTimeoutTicks = 0;
  HandshakeTimedOut = false;
  HandshakeTimerRunning = true;
  Tick(1);
  EXPECT_TRUE(HandshakeTimedOut);
  EXPECT_FALSE(HandshakeTimerRunning);
}

TEST_F(EditorTest, BlinkingLedTogglesEveryTickBetweenPaleAndBright) {
  StartEditor();
  RecordingLeds leds;
  SetProgramLeds(&leds);

  // StartGreenLedBlink: green, lit.
  LedBlinkTicks = 1;
  LedBlinkActive = true;
  LedBlinkGreen = true;
  LedLit = true;
  Tick(3);
  EXPECT_EQ(leds.green, (std::vector<uint32_t>{0xC0FFC0, 0xFF00, 0xC0FFC0}));
  EXPECT_TRUE(leds.red.empty());
  EXPECT_FALSE(LedLit);
  EXPECT_EQ(LedBlinkTicks, 1);

  // StartRedLedBlink: red, lit.
  LedBlinkTicks = 1;
  LedBlinkGreen = false;
  LedLit = true;
  Tick(2);
  EXPECT_EQ(leds.red, (std::vector<uint32_t>{0xC0C0FF, 0xFF}));
  EXPECT_TRUE(LedLit);

  // StopLedBlink: the LED keeps the colour of its last phase.
  LedBlinkActive = false;
  Tick(4);
  EXPECT_EQ(leds.red.size(), 2u);
  EXPECT_EQ(leds.green.size(), 3u);
  EXPECT_TRUE(LedLit);
  SetProgramLeds(nullptr);
}

TEST_F(EditorTest, BlinkPhaseRunsOnWithoutAProgrammingWindow) {
  StartEditor();
  SetProgramLeds(nullptr);
  LedBlinkTicks = 1;
  LedBlinkActive = true;
  LedBlinkGreen = true;
  LedLit = false;
  Tick(1);
  EXPECT_TRUE(LedLit);
  Tick(1);
  EXPECT_FALSE(LedLit);
}

TEST_F(EditorTest, TimerTicksFromCreationUntilUnload) {
  MDIFormMain();
  QTimer* timer = frmMain().tmrTimer1;
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), 200);
  QPointer<QTimer> watched(timer);
  ASSERT_TRUE(UnloadFrmMain());
  EXPECT_TRUE(watched.isNull() || !watched->isActive());
}
