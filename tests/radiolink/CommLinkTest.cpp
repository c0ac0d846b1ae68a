#include <sys/resource.h>

#include <algorithm>
#include <vector>

#include "LinkFixture.h"

namespace {

double ThreadCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

// The primitives against a line whose far end the test writes itself (the radio stays silent
// but records what the program sends).

TEST_F(LinkTest, CommandBytesGoOutEachFollowedByAZeroByte) {
  radio_->silent = true;
  SendCommandByte('V');
  EXPECT_FALSE(CommError);
  SendCommandByte(0x00);
  EXPECT_FALSE(CommError);
  SendCommandByte(0xFF);
  EXPECT_FALSE(CommError);
  ASSERT_TRUE(ProcessUntil([this] { return radio_->received.size() >= 6; }));
  EXPECT_EQ(radio_->received, QByteArray("V\0\0\0\xFF\0", 6));

  TxBlock16 = {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0};
  SendBlock16();
  EXPECT_FALSE(CommError);
  EXPECT_EQ(MSComm1().RThreshold(), 1);
  EXPECT_EQ(MSComm1().SThreshold(), 1);
  ASSERT_TRUE(ProcessUntil([this] { return radio_->received.size() >= 22; }));
  EXPECT_EQ(radio_->received.mid(6), QByteArray("\1\0\2\0\3\0\4\0\5\0\6\0\7\0\x08\0", 16));

  // A send event left over from an earlier send that timed out does not cut the next one short.
  CommSendEvent = true;
  SendBlock16();
  EXPECT_FALSE(CommError);
  ASSERT_TRUE(ProcessUntil([this] { return radio_->received.size() >= 38; }));
  EXPECT_EQ(radio_->received.mid(22), radio_->received.mid(6, 16));
}

TEST_F(LinkTest, SingleByteReceivesKeepTheFirstByteAndDiscardTheRest) {
  radio_->silent = true;
  When([] { return ReceiveArmed; }, [this] { line_.Write("ABC"); });
  ReceiveReplyByte();
  EXPECT_FALSE(CommError);
  EXPECT_EQ(RxByte, 'A');
  EXPECT_FALSE(ReceiveArmed);
  cps::DoEvents();
  EXPECT_EQ(MSComm1().InBufferCount(), 0);

  // A byte arriving while nothing is armed leaves the receive flag False.
  line_.Write("Z");
  ASSERT_TRUE(ProcessUntil([] { return MSComm1().InBufferCount() > 0; }));
  EXPECT_FALSE(CommReceiveEvent);
}

TEST_F(LinkTest, LineNoiseWhileNothingReadsIsHeldToTheReceiveBuffer) {
  radio_->silent = true;
  const auto noise = [](qsizetype from, int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) bytes[i] = char((from + i) % 253);
    return bytes;
  };
  qsizetype pushed = 0;
  int most = 0;
  ASSERT_TRUE(ProcessUntil(
      [&] {
        pushed += line_.Write(noise(pushed, 1024));
        most = std::max(most, MSComm1().InBufferCount());
        return pushed >= 64 * cps::kInBufferSize;
      },
      10000));
  EXPECT_LE(most, cps::kInBufferSize);
  // The oldest bytes stay, as in a receive buffer that overruns.
  ASSERT_TRUE(ProcessUntil([] { return MSComm1().InBufferCount() == cps::kInBufferSize; }));
  EXPECT_EQ(MSComm1().Input(), noise(0, cps::kInBufferSize));
}

TEST_F(RealTimeLinkTest, BlockReceivesReturnEveryWaitingByte) {
  radio_->silent = true;
  const QByteArray eleven("0123456789X");
  When([] { return ReceiveArmed; }, [this, eleven] { line_.Write(eleven); });
  ReceiveBlock9();
  EXPECT_FALSE(CommError);
  EXPECT_EQ(RxBuffer, eleven);
  EXPECT_EQ(MSComm1().RThreshold(), 1);

  // A block that never comes: CommError after the reply time-out, the old buffer kept. The
  // wait sleeps between events instead of spinning.
  QElapsedTimer clock;
  clock.start();
  const double cpuBefore = ThreadCpuSeconds();
  ReceiveBlock17();
  EXPECT_LT(ThreadCpuSeconds() - cpuBefore, 0.25 * clock.elapsed() / 1000.0);
  EXPECT_TRUE(CommError);
  EXPECT_EQ(RxBuffer, eleven);
  EXPECT_EQ(RxByte, 0);
  // Ten ticks: at least nine whole tick intervals.
  EXPECT_GE(clock.elapsed(), 9 * 200);
  EXPECT_EQ(MSComm1().RThreshold(), 1);
  EXPECT_FALSE(ReplyTimedOut);
}

TEST_F(LinkTest, PortEventsSayWhatHoldsWhenTheyAreRaised) {
  radio_->silent = true;
  struct Raised {
    int event;
    int waiting;
    int toSend;
    bool insideCall;
  };
  std::vector<Raised> raised;
  bool inCall = false;
  QObject watching;
  QObject::connect(&MSComm1(), &cps::CommPort::OnComm, &watching, [&] {
    raised.push_back(
        {MSComm1().CommEvent(), MSComm1().InBufferCount(), MSComm1().OutBufferCount(), inCall});
  });
  // Bytes the port takes from the driver itself, the event loop held up (as a blocking pause
  // does), with nothing raised from inside the call.
  const auto fetchFromDriver = [&] {
    QElapsedTimer bound;
    bound.start();
    inCall = true;
    while (MSComm1().InBufferCount() == 0 && bound.elapsed() < 5000) {
    }
    inCall = false;
  };
  const auto raisedOnce = [&](int event) {
    return ProcessUntil([&] {
      return std::count_if(raised.begin(), raised.end(),
                           [event](const Raised& r) { return r.event == event; }) > 0;
    });
  };

  // Fetched, then thrown away before the event loop ran: no receive event says they wait.
  line_.Write("Z");
  fetchFromDriver();
  MSComm1().SetInBufferCount(0);
  EXPECT_FALSE(raisedOnce(cps::comEvReceive));
  // Fetched and left waiting: their receive event comes from the event loop.
  line_.Write("Y");
  fetchFromDriver();
  ASSERT_TRUE(raisedOnce(cps::comEvReceive));
  MSComm1().SetInBufferCount(0);
  // More than the driver takes at once: the send event comes when nothing is left to send.
  MSComm1().SetSThreshold(1);
  inCall = true;
  MSComm1().Output(QByteArray(1 << 20, 'x'));
  MSComm1().InBufferCount();
  inCall = false;
  ASSERT_TRUE(raisedOnce(cps::comEvSend));
  for (const Raised& r : raised) {
    EXPECT_FALSE(r.insideCall) << r.event;
    if (r.event == cps::comEvReceive) {
      EXPECT_EQ(r.waiting, 1);
    }
    if (r.event == cps::comEvSend) {
      EXPECT_EQ(r.toSend, 0);
    }
  }

  // A receive flag left from an earlier receive, or a byte fetched just before a block receive
  // cleared the buffer, wakes nothing: the receive waits for its own nine bytes, up to its
  // time-out.
  RxBuffer = "kept";
  CommReceiveEvent = true;
  ReceiveBlock9();
  EXPECT_TRUE(CommError);
  line_.Write("Z");
  fetchFromDriver();
  ReceiveBlock9();
  EXPECT_TRUE(CommError);
  EXPECT_EQ(RxBuffer, "kept");

  // The cable pulled while the port reads the driver itself: its error comes from the event loop,
  // and only while the port is still failed. One opened again meanwhile hears nothing of it.
  raised.clear();
  line_.Hangup();
  inCall = true;
  MSComm1().InBufferCount();
  inCall = false;
  line_.Reconnect();
  RouteCommPortsTo(line_);
  MSComm1().SetPortOpen(false);
  ASSERT_TRUE(MSComm1().SetPortOpen(true));
  ProcessUntil([] { return false; }, 50);
  EXPECT_TRUE(raised.empty());
}

TEST_F(RealTimeLinkTest, CountdownWaitIsBoundedByTime) {
  // 200000 passes give a radio 2 s to answer the write request, on any machine.
  radio_->slowCommand = 'P';
  radio_->slowReplyMs = 300;
  SendCommandByte('P');
  RxCountdown = kRxCountdownAfterWriteRequest;
  WaitReplyByteCountdown();
  EXPECT_FALSE(CommError);
  EXPECT_EQ(RxByte, radio_->regionCode);

  radio_->silent = true;
  RxCountdown = 1000;
  WaitReplyByteCountdown();
  EXPECT_TRUE(CommError);
  EXPECT_EQ(RxCountdown, 0);

  // A budget of 0 or less never runs out: the window's closing ends the wait.
  RxCountdown = -1;
  When([] { return ReceiveArmed; }, [] { ForceLinkTimeouts(); });
  WaitReplyByteCountdown();
  EXPECT_TRUE(CommError);
  EXPECT_EQ(RxByte, 0);
}
