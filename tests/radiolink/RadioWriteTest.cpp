#include <QAction>
#include <QProgressBar>
#include <QRandomGenerator>
#include <algorithm>
#include <utility>
#include <vector>

#include "LinkFixture.h"
#include "platform/FlexGrid.h"
#include "platform/TextBox.h"
#include "radiolink/LinkFrames.h"

namespace {

const QByteArray kIdentity = QByteArray("CV450U16-AB1") + QByteArray("\x00\x20\xFF\x07", 4);

// The editor's new codeplug made writable: a band and region (band byte 0x21), tone boxes the
// opener accepts, a password in the box, and bytes the transmit form changes.
void PrepareCodeplug() {
  FrmMain& editor = frmMain();
  for (int k = 0; k < 3; ++k) {
    editor.txtTKS_RxFrequency[k]->SetText(QStringLiteral("100.0"));
    editor.txtTKS_TxFrequency[k]->SetText(QStringLiteral("150.0"));
  }
  editor.txtPassword->SetText(QStringLiteral("pw"));
  CodeplugImage[layout::kChannelCount] = 16;
  CodeplugImage[layout::kBandCode] = 1;
  CodeplugImage[layout::kRegionCode] = 2;
  CodeplugImage[layout::kLookBackTime] = 2;
  CodeplugImage[layout::kSerialWriteGate] = 0;
  CodeplugImage.Fill(layout::kSerialNumber, layout::kSerialNumber + 9, 'S');
  CodeplugImage.Fill(layout::kRegionalNumber, layout::kRegionalNumber + 15, 'K');
  CodeplugImage[layout::ChannelOffset(3) + layout::kRecFlagsB] |= 0x01;
  CodeplugImage[layout::ChannelOffset(16) + layout::kRecFlagsB] = 0x81;
  CodeplugImage[layout::kPrioScanChannel] = 1;
}

void LoadRadioIdentity(SimulatedRadio& radio) {
  for (int i = 0; i < 16; ++i) radio.memory[384 + i] = uint8_t(kIdentity[i]);
  radio.bandByte = 0x21;  // region code 2 over band 1
}

void StartWrite() {
  CheckAndShowWriteInstructions();
  ASSERT_TRUE(IsFrmProgramVisible());
  frmProgram().cmdWrite->Press();
}

// What a label put on screen: its caption at each paint, and how long the last one stayed there
// before the label was hidden, by the test's clock (microseconds).
class PaintedCaptions : public QObject {
 public:
  PaintedCaptions(cps::Label* label, std::function<qint64()> nowUs)
      : label_(label), nowUs_(std::move(nowUs)) {
    label->installEventFilter(this);
  }
  QStringList captions;
  qint64 lastShownMs = -1;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != label_) return false;
    if (event->type() == QEvent::Paint) {
      captions.append(label_->Caption());
      paintedUs_ = nowUs_();
    } else if (event->type() == QEvent::Hide && paintedUs_ >= 0) {
      lastShownMs = (nowUs_() - paintedUs_) / 1000;
    }
    return false;
  }

 private:
  cps::Label* label_;
  std::function<qint64()> nowUs_;
  qint64 paintedUs_ = -1;
};

// Commands of a write without identity exchange problems up to the first data block.
const QByteArray kWriteCommands = QByteArray("VIOP\x0BT\x0BR", 8);

}  // namespace

TEST_F(LinkTest, WritePutsTheTransmitFormOfTheImageIntoTheRadio) {
  PrepareCodeplug();
  LoadRadioIdentity(*radio_);
  PaintedCaptions status(frmProgram().lblProgram, [this] { return NowUs(); });
  StartWrite();

  EXPECT_EQ(radio_->commands.left(8), kWriteCommands);
  EXPECT_EQ(radio_->blocksWritten, 48);
  EXPECT_EQ(radio_->identityWriteBacks, 1);
  // The image took the radio's identity (0x00 as 0xFF) and sent it back so.
  for (int i = 0; i < 16; ++i) {
    const uint8_t sent = i == 12 ? 0xFF : uint8_t(kIdentity[i]);
    EXPECT_EQ(radio_->writtenIdentity[i], sent) << i;
    EXPECT_EQ(CodeplugImage[384 + i], sent) << i;
    EXPECT_EQ(RadioImage[384 + i], uint8_t(kIdentity[i])) << i;
  }
  // The radio holds the image as it is now, the transmit-form changes included.
  for (int a = 0; a < 384; ++a) EXPECT_EQ(radio_->memory[a], CodeplugImage[a]) << a;
  for (int a = 336; a <= 345; ++a) EXPECT_EQ(radio_->memory[a], 0xFF) << a;
  for (int a = 354; a <= 369; ++a) EXPECT_EQ(radio_->memory[a], 0xFF) << a;
  EXPECT_EQ(radio_->memory[layout::kLookBackTime], 3);
  for (int n = 1; n <= 16; ++n) {
    EXPECT_EQ(radio_->memory[layout::ChannelOffset(n) + layout::kRecFlagsB] & 0x01, 0) << n;
  }
  EXPECT_EQ(radio_->memory[layout::ChannelOffset(16) + layout::kRecFlagsB], 0x80);
  // The password box reached the radio; the user tones were encoded from their boxes.
  EXPECT_EQ(radio_->memory[layout::kCodeplugPassword], 'p');
  EXPECT_EQ(radio_->memory[layout::kCodeplugPassword + 1], 'w');
  EXPECT_EQ(radio_->memory[layout::kCodeplugPassword + 2], 0);
  EXPECT_EQ(radio_->memory[layout::kPasswordLength], 2);
  EXPECT_EQ(radio_->memory[layout::kPasswordLength2], 2);
  EXPECT_EQ(radio_->memory[layout::UserToneRx(0)] | radio_->memory[layout::UserToneRx(0) + 1] << 8,
            1000);
  EXPECT_EQ(radio_->memory[layout::UserToneTx(2)] | radio_->memory[layout::UserToneTx(2) + 1] << 8,
            1500);
  EXPECT_EQ(radio_->memory[11], 60);
  EXPECT_EQ(radio_->memory[12], 20);
  EXPECT_FALSE(CodeplugLocked);
  // The success text was painted before the closing pause and stayed on screen through it.
  ASSERT_FALSE(status.captions.isEmpty());
  EXPECT_EQ(status.captions.last(), QLatin1String(kWriteDoneText));
  EXPECT_GE(status.lastShownMs, 500);
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_TRUE(MDIFormMain().isEnabled());
  EXPECT_TRUE(Messages().isEmpty());
  // The radio fixes the bandwidth at 25 kHz (identity byte 397 = 0x20): the Band column says so.
  cps::FlexGrid& grid = *frmMain().fgChannel;
  for (int row = 1; row <= 16; ++row) {
    EXPECT_EQ(grid.TextMatrix(row, 12), QStringLiteral("25")) << row;
    EXPECT_EQ(grid.CellForeColorAt(row, 12), 0x80000011u) << row;
  }
}

TEST_F(LinkTest, WriteToARadioWhoseAnswerTimesVaryWritesEachBlockOnce) {
  PrepareCodeplug();
  for (const auto [timing, mostOverFloor] : kVariedTimings) {
    NewRadio();
    LoadRadioIdentity(*radio_);
    ShapeAnswerTimes(*radio_, timing);
    // The steady radio answers every eighth frame in 150 ms.
    for (int n = 8; n <= 48 && timing == Timing::SlowToWake; n += 8) {
      radio_->SetAnswerDelay(SimulatedRadio::kWriteFrame, n, 150000);
    }
    const qint64 start = NowUs();
    StartWrite();
    EXPECT_FALSE(IsFrmProgramLoaded()) << int(timing);
    EXPECT_LE(NowUs() - start, mostOverFloor * WireFloorUs(*radio_, false)) << int(timing);
    // Every command and frame went out once: the identity back, then each block.
    EXPECT_EQ(radio_->commands.left(8), kWriteCommands) << int(timing);
    EXPECT_EQ(radio_->received.size(), 2 * 8 + 34 + 48 * 18) << int(timing);
    for (int a = 0; a < 384; ++a) EXPECT_EQ(radio_->memory[a], CodeplugImage[a]) << a;
  }
}

TEST_F(LinkTest, StallsOfTheProgramCostNoMoreThanTheirOwnLength) {
  // The program stops running for a while, as on a loaded desktop: bytes wait in the driver and
  // are seen late, which says nothing of the line or the radio. A write to a 20 ms radio stopped
  // for 250 ms just after the radio began its identity, and again just after the sum byte of
  // block 31 was handed over, so that the radio's answer came before the program saw its request
  // go; a write stopped for 250 ms while the radio's answers to the identity written back and to
  // the write request came, which teach nothing of its times; then a read of a radio drawn from 5
  // to 200 ms, stopped for 250 ms as the zero byte of its read request was handed over, the
  // region code coming meanwhile, and for 150 to 300 ms every 0.3 to 1 s. Each succeeds, in no
  // more than its usual time and the time it was stopped.
  PrepareCodeplug();
  qint64 stoppedUs = 0;
  const auto stop = [this, &stoppedUs](int ms) {
    time_->Sleep(ms);
    stoppedUs += ms * 1000;
  };
  LoadRadioIdentity(*radio_);
  PaceAsWire(*radio_);
  radio_->answerDelayUs = 20000;
  When([this] { return radio_->commands.endsWith('I'); },
       [this, stop] {
         When([this,
               begun = NowUs() + 2 * kWireByteUs + 20000] { return NowUs() >= begun + 100000; },
              [stop] { stop(250); });
       });
  // Every byte before the data, then 32 blocks with their sum bytes: the sum's zero byte.
  qint64 stopAtSent = 50 + 32 * 18;
  QObject stopping;
  QObject::connect(&MSComm1(), &cps::CommPort::OnComm, &stopping, [stop, &stopAtSent] {
    if (MSComm1().CommEvent() == cps::comEvSend && MSComm1().SentCount() == stopAtSent) stop(250);
  });
  qint64 start = NowUs();
  StartWrite();
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_EQ(radio_->blocksWritten, 48);
  EXPECT_LE(NowUs() - start, 1.07 * WireFloorUs(*radio_, false) + stoppedUs);

  // The write's usual time, then the same write stopped while two answers came.
  const auto writeTo20msRadio = [this] {
    NewRadio();
    LoadRadioIdentity(*radio_);
    PaceAsWire(*radio_);
    radio_->answerDelayUs = 20000;
    const qint64 begun = NowUs();
    StartWrite();
    EXPECT_EQ(radio_->blocksWritten, 48);
    return NowUs() - begun;
  };
  const qint64 usualUs = writeTo20msRadio();
  stoppedUs = 0;
  When([this] { return radio_->identityWriteBacks > 0; }, [stop] { stop(250); });
  When([this] { return radio_->commands.endsWith('P'); }, [stop] { stop(250); });
  const qint64 stoppedWriteUs = writeTo20msRadio();
  EXPECT_LE(stoppedWriteUs, usualUs + stoppedUs);

  NewRadio();
  for (int a = 0; a < 384; ++a) radio_->memory[a] = uint8_t(a * 7);
  VaryAnswerTimes(*radio_, 5, 200);
  stoppedUs = 0;
  stopAtSent = MSComm1().SentCount() + 6;  // 'V', 'I' and 'R', each with its zero byte
  QRandomGenerator random(5);
  qint64 next = NowUs() + 300000;
  const auto stopNow = [this, &next, &random, stop] {
    stop(random.bounded(150, 301));
    next = NowUs() + random.bounded(300, 1001) * 1000;
  };
  for (int n = 0; n < 40; ++n) When([this, &next] { return NowUs() >= next; }, stopNow);
  start = NowUs();
  ShowReadInstructions();
  frmProgram().cmdRead->Press();
  EXPECT_FALSE(IsFrmProgramLoaded());
  for (int a = 0; a < 384; ++a) EXPECT_EQ(RadioImage[a], radio_->memory[a]) << a;
  EXPECT_LE(NowUs() - start, 1.10 * WireFloorUs(*radio_, true) + stoppedUs);

  // Stopped while three blocks of a steady 20 ms radio came, the read still expects each block
  // when the radio gives it, not 250 ms late.
  NewRadio();
  PaceAsWire(*radio_);
  radio_->answerDelayUs = 20000;
  for (const int block : {10, 11, 12}) {
    When([this, block] { return radio_->commands.count('O') == block; }, [stop] { stop(250); });
  }
  ShowReadInstructions();
  frmProgram().cmdRead->Press();
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_LT(LastAnswerHeard().slot.latest, 100000);
}

TEST_F(LinkTest, AStopAtAnyMomentOfAnExchangeCostsNoMoreThanItsLength) {
  // The program stopped for 250 ms right after it read its clock, at a moment from the last byte
  // of a request to just after the radio's answer to it, for each kind of answer of a write and of
  // a read: it goes on with the time it read and finds what came meanwhile. A 20 ms radio on the
  // wire; every such request of one transfer is stopped at the same moment, so that each stop
  // comes after earlier ones, during the identity and the password reply among them. Each
  // transfer is exact, in no more than its usual time and the time it was stopped.
  // Each request by the count of the transfer's bytes sent with its last: a write's wake-up,
  // identity, identity back, region code, password, band, start of data, blocks 0, 1 and 47; a
  // read's wake-up, identity, region code, blocks 0, 1 and 47, and its end guard.
  const std::vector<qint64> writeRequests{2, 4, 40, 42, 44, 46, 50, 68, 86, 914};
  const std::vector<qint64> readRequests{2, 4, 6, 8, 10, 102, 104};
  PrepareCodeplug();
  // First a write stopped as in a trace taken on a loaded desktop, times from the radio's first
  // answer: as its identity ended, as its password reply came, and while its answer to block 1
  // came.
  NewRadio();
  LoadRadioIdentity(*radio_);
  PaceAsWire(*radio_);
  radio_->answerDelayUs = 20000;
  const qint64 towardsPc = line_.BytesWritten();
  When([this, towardsPc] { return line_.BytesWritten() > towardsPc; },
       [this] {
         for (const auto& [atMs, ms] : {std::pair(457, 293), {1329, 293}, {2493, 294}}) {
           StopAfterClockReadAt(NowUs() + atMs * 1000, ms);
         }
       });
  StartWrite();
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_EQ(radio_->blocksWritten, 48);
  EXPECT_EQ(stoppedUs_, 880000);
  // A radio that answers its wake-up and the write request some 80 ms before their 5 s and 2 s
  // run out, the program stopped for 300 ms right after its first or second look at the line from
  // shortly before each answer: the answers came in time.
  for (const int look : {1, 2}) {
    NewRadio();
    LoadRadioIdentity(*radio_);
    PaceAsWire(*radio_);
    radio_->answerDelayUs = 20000;
    radio_->SetAnswerDelay('V', 1, 4900000);
    radio_->SetAnswerDelay('P', 1, 1900000);
    for (const auto& [command, stopAfterMs] : {std::pair('V', 4850), {'P', 1850}}) {
      When([this, command] { return radio_->commands.endsWith(command); },
           [this, stopAfterMs, look] {
             StopAfterLook([this, look, at = NowUs() + stopAfterMs * 1000,
                            n = 0]() mutable { return NowUs() >= at && ++n == look; },
                           300);
           });
    }
    stoppedUs_ = 0;
    StartWrite();
    EXPECT_FALSE(IsFrmProgramLoaded()) << look;
    EXPECT_EQ(radio_->blocksWritten, 48) << look;
    EXPECT_EQ(stoppedUs_, 600000) << look;
  }

  int offsetMs = 0;
  qint64 base = 0;
  const std::vector<qint64>* requests = &writeRequests;
  QObject stopping;
  QObject::connect(&MSComm1(), &cps::CommPort::OnComm, &stopping, [&, this] {
    if (MSComm1().CommEvent() == cps::comEvSend &&
        std::ranges::count(*requests, MSComm1().SentCount() - base) > 0) {
      StopAfterClockReadAt(NowUs() + offsetMs * 1000, 250);
    }
  });
  const auto transfer = [&, this](bool read) {
    NewRadio();
    LoadRadioIdentity(*radio_);
    for (int a = 0; a < 384 && read; ++a) radio_->memory[a] = uint8_t(a * 7 + offsetMs);
    PaceAsWire(*radio_);
    radio_->answerDelayUs = 20000;
    requests = read ? &readRequests : &writeRequests;
    base = MSComm1().SentCount();
    stoppedUs_ = 0;
    const qint64 start = NowUs();
    if (read) {
      ShowReadInstructions();
      frmProgram().cmdRead->Press();
    } else {
      StartWrite();
    }
    const char* what = read ? " read " : " write ";
    if (IsFrmProgramLoaded()) {
      ADD_FAILURE() << offsetMs << what << qPrintable(StatusLine(frmProgram()));
      frmProgram().cmdClose->Press();
    }
    EXPECT_EQ(stoppedUs_, qint64(requests->size()) * 250000) << offsetMs << what;
    const ByteImage& pc = read ? RadioImage : CodeplugImage;
    for (int a = 0; a < 384; ++a) ASSERT_EQ(pc[a], radio_->memory[a]) << offsetMs << what << a;
    EXPECT_LE(NowUs() - start, (read ? 1.10 : 1.07) * WireFloorUs(*radio_, read) + stoppedUs_)
        << offsetMs << what;
  };
  // The writes first: a read puts the radio's codeplug into the editor.
  for (const bool read : {false, true}) {
    for (const int offset : {0, 30, 45, 60, 120, 190, 205}) {
      offsetMs = offset;
      transfer(read);
    }
  }
}

TEST_F(LinkTest, WriteStopsAtNoiseWithAnAnswerItActsOn) {
  PrepareCodeplug();
  CodeplugImage.Fill(384, 399, 0x5A);
  // A byte of noise just before each answer the write acts on (an OK, so that what follows could
  // pass for a password or the radio's OK), handed over with it or, on a wire, a byte's time
  // before it: the write stops there with its error, sends nothing more, and leaves the
  // codeplug's identity as it was. A password prompt would be the write acting on the noise: it
  // is cancelled.
  const struct {
    const char* road;
    int command;
    QByteArray sent;
  } roads[] = {
      {"the identity taken back", SimulatedRadio::kWriteFrame, "VIO"},
      {"the region code", 'P', "VIOP"},
      {"the password", 0x0B, QByteArray("VIOP\x0B")},
      {"the band", 'T', QByteArray("VIOP\x0BT")},
  };
  for (const bool paced : {false, true}) {
    for (const auto& road : roads) {
      NewRadio();
      LoadRadioIdentity(*radio_);
      if (paced) PaceAsWire(*radio_);
      radio_->AddNoise(road.command, 1, SimulatedRadio::NoiseAt::Before, "O");
      When([] { return IsFrmPasswordWLoaded() && frmPasswordW().isVisible(); },
           [] { frmPasswordW().cmdPassCancel->Press(); });
      StartWrite();
      ASSERT_TRUE(IsFrmProgramLoaded()) << road.road << paced;
      EXPECT_TRUE(StatusLine(frmProgram()).startsWith("Communication Error.")) << road.road;
      EXPECT_EQ(radio_->commands, road.sent) << road.road << paced;
      for (int a = 384; a < 400; ++a) EXPECT_EQ(CodeplugImage[a], 0x5A) << road.road << a;
      frmProgram().cmdClose->Press();
    }
  }

  // A radio not ready at first, a noise byte coming just before its second answer: going on
  // without the identity exchange is decided only once that answer has been heard out.
  NewRadio();
  LoadRadioIdentity(*radio_);
  PaceAsWire(*radio_);
  radio_->notReadyWakeUps = 1;
  radio_->AddNoise('V', 2, SimulatedRadio::NoiseAt::Before, "F", 20);
  StartWrite();
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_FALSE(LegacyLayout);
  EXPECT_EQ(radio_->identityWriteBacks, 1);
  EXPECT_EQ(radio_->blocksWritten, 48);

  // A byte after the wake-up's answer and its settling pause, before the radio can have heard the
  // identity request: the wake-up's answer may not have been the radio's, and it is woken again.
  NewRadio();
  LoadRadioIdentity(*radio_);
  PaceAsWire(*radio_);
  radio_->AddNoise('V', 1, SimulatedRadio::NoiseAt::After, "\x10", 200);
  StartWrite();
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_TRUE(radio_->commands.startsWith("VIVIO"));
  EXPECT_EQ(radio_->blocksWritten, 48);
}

TEST_F(LinkTest, WriteAsksForTheRadiosPasswordAndGoesOnWithTheRightOne) {
  PrepareCodeplug();
  LoadRadioIdentity(*radio_);
  radio_->password = "Sec1";
  QStringList labelsAfterTries;
  When([] { return IsFrmPasswordWLoaded() && frmPasswordW().isVisible(); },
       [this, &labelsAfterTries] {
         FrmPasswordW& prompt = frmPasswordW();
         EXPECT_FALSE(frmProgram().isEnabled());
         prompt.txtPassword->SetText(QStringLiteral("sec1"));  // case counts
         prompt.cmdPassOk->Press();
         labelsAfterTries << prompt.Label1->Caption() << prompt.lblPassWord->Caption();
         prompt.txtPassword->SetText(QString());  // empty never matches
         prompt.cmdPassOk->Press();
         // Noise while the user types answers nothing: the line goes quiet before the write goes
         // on.
         line_.Write("\x55\x55");
         prompt.txtPassword->SetText(QStringLiteral("Sec1"));
         prompt.cmdPassOk->Press();
       });
  StartWrite();

  EXPECT_EQ(labelsAfterTries, QStringList({QStringLiteral("Invalid password."),
                                           QStringLiteral("Please enter correct password.")}));
  EXPECT_EQ(RadioPassword, QStringLiteral("Sec1"));
  EXPECT_TRUE(RadioPasswordAccepted);
  EXPECT_EQ(radio_->blocksWritten, 48);
  EXPECT_EQ(PasswordAttempts, 0);
  EXPECT_TRUE(Messages().isEmpty());
  EXPECT_FALSE(IsFrmPasswordWLoaded());

  // Noise on a wire still coming when the password is given, and the program stopped for 250 ms
  // right after a look at the line while it waits for the quiet: the line goes quiet all the same
  // before the write goes on.
  NewRadio();
  LoadRadioIdentity(*radio_);
  PaceAsWire(*radio_);
  radio_->password = "Sec1";
  radio_->AddNoise(0x0B, 1, SimulatedRadio::NoiseAt::After, QByteArray(48, '\x55'), 100);
  // The wake-up's answer, the identity, the answer to it written back, the region code and the
  // password reply come before the noise.
  const qint64 towardsPc = line_.BytesWritten() + 1 + 17 + 1 + 1 + 10;
  When([this, towardsPc] { return line_.BytesWritten() > towardsPc; },
       [] {
         frmPasswordW().txtPassword->SetText(QStringLiteral("Sec1"));
         frmPasswordW().cmdPassOk->Press();
       });
  StopAfterLook(
      [this, towardsPc, n = 0]() mutable {
        return line_.BytesWritten() > towardsPc && RadioPasswordAccepted && ++n == 2;
      },
      250);
  stoppedUs_ = 0;
  StartWrite();
  EXPECT_EQ(stoppedUs_, 250000);
  EXPECT_EQ(radio_->blocksWritten, 48);
}

TEST_F(LinkTest, ThreeWrongRadioPasswordsStopTheWriteBeforeAnyData) {
  PrepareCodeplug();
  LoadRadioIdentity(*radio_);
  radio_->password = "Sec1";
  When([] { return IsFrmPasswordWLoaded() && frmPasswordW().isVisible(); },
       [] {
         for (const char* guess : {"a", "b", "c"}) {
           frmPasswordW().txtPassword->SetText(QLatin1String(guess));
           frmPasswordW().cmdPassOk->Press();
         }
       });
  StartWrite();

  EXPECT_EQ(radio_->blocksWritten, 0);
  EXPECT_EQ(radio_->commands, QByteArray("VIOP\x0B"));
  ASSERT_EQ(Messages().size(), 1);
  EXPECT_EQ(Messages()[0].title, QStringLiteral("Password"));
  EXPECT_EQ(Messages()[0].prompt,
            QStringLiteral("                Error!\r\n\r\nInvalid password.\r\n"
                           "Codeplug is password protected."));
  ASSERT_TRUE(IsFrmProgramLoaded());
  FrmProgram& program = frmProgram();
  EXPECT_EQ(StatusLine(program), QStringLiteral("Password Error."));
  EXPECT_EQ(program.ProgressValue(), 0);
  EXPECT_TRUE(program.isEnabled());
  EXPECT_TRUE(program.cmdWrite->Enabled());
  EXPECT_FALSE(IsFrmPasswordWLoaded());
  EXPECT_EQ(PasswordAttempts, 0);

  // Cancel on the next write's prompt ends it silently with the wait text left standing.
  NewRadio();
  LoadRadioIdentity(*radio_);
  radio_->password = "Sec1";
  When([] { return IsFrmPasswordWLoaded() && frmPasswordW().isVisible(); },
       [] { frmPasswordW().cmdPassCancel->Press(); });
  program.cmdWrite->Press();
  EXPECT_EQ(radio_->blocksWritten, 0);
  EXPECT_EQ(StatusLine(program), QStringLiteral("Please wait a moment......."));
  EXPECT_EQ(Messages().size(), 1);
  EXPECT_TRUE(program.cmdWrite->Enabled());
}

TEST_F(LinkTest, WriteRefusesARadioOfAnotherBand) {
  PrepareCodeplug();
  LoadRadioIdentity(*radio_);
  radio_->bandByte = 0x22;
  // A radio without the identity exchange: the codeplug's layout changes only with a write that
  // succeeds.
  radio_->legacy = true;
  LegacyLayout = false;
  StartWrite();
  EXPECT_EQ(StatusLine(frmProgram()),
            QStringLiteral("Communication Error. Unsupported radio codeplug region."));
  EXPECT_EQ(radio_->commands, QByteArray("VVP\x0BTF"));
  EXPECT_FALSE(LegacyLayout);
  EXPECT_EQ(radio_->blocksWritten, 0);
  EXPECT_EQ(frmProgram().lblRedLED->BackColor(), kRedLedPale);
  EXPECT_FALSE(frmProgram().cmdWrite->Enabled());
  frmProgram().cmdClose->Press();

  // The codeplug's own band byte as noise just before the radio's answer, which comes during the
  // pause after the next 0x0B: it is counted there, and the write stops before any data.
  NewRadio();
  LoadRadioIdentity(*radio_);
  PaceAsWire(*radio_);
  radio_->bandByte = 0x11;
  radio_->AddNoise('T', 1, SimulatedRadio::NoiseAt::Before, "\x21", 13);
  StartWrite();
  ASSERT_TRUE(IsFrmProgramLoaded());
  EXPECT_TRUE(StatusLine(frmProgram()).startsWith("Communication Error."));
  EXPECT_EQ(radio_->blocksWritten, 0);
}

TEST_F(LinkTest, NoisyIdentityFramesNeverReachTheImage) {
  PrepareCodeplug();
  LoadRadioIdentity(*radio_);
  radio_->badIdentitySums = 6;
  CodeplugImage.Fill(384, 399, 0x5A);
  StartWrite();

  EXPECT_EQ(StatusLine(frmProgram()),
            QStringLiteral("Communication Error. Please check Programming mode."));
  EXPECT_EQ(radio_->commands, QByteArray("VIIIIII"));
  for (int a = 384; a < 400; ++a) EXPECT_EQ(CodeplugImage[a], 0x5A) << a;
  frmProgram().cmdClose->Press();

  // A frame of noise that passes for the identity, when the radio usually answers, the radio's
  // own frame coming 300 ms later; or 20 ms after the radio heard the request, the radio's own
  // frame coming 450 to 499 ms after it heard it, or 750 ms, while the identity written back is
  // answered; also with the program stopped for 250 ms just as it hands the request's last byte to
  // the port, after it read its clock. The write ends with its error, and the open codeplug keeps
  // its identity and layout. The radio's own frame within half a second keeps the noise out of
  // the radio too.
  LegacyLayout = true;
  const QByteArray lookAlike = QByteArray(16, '\x21') + '\x10';
  const struct {
    SimulatedRadio::NoiseAt at;
    int noiseMs;
    int ownMs;
    int stopMs = 0;
  } lateIdentities[] = {{SimulatedRadio::NoiseAt::Instead, 300, 0},
                        {SimulatedRadio::NoiseAt::Early, 20, 450},
                        {SimulatedRadio::NoiseAt::Early, 20, 490},
                        {SimulatedRadio::NoiseAt::Early, 20, 495},
                        {SimulatedRadio::NoiseAt::Early, 20, 499},
                        {SimulatedRadio::NoiseAt::Early, 20, 750},
                        {SimulatedRadio::NoiseAt::Early, 20, 450, 250},
                        {SimulatedRadio::NoiseAt::Early, 20, 499, 250}};
  for (const auto& road : lateIdentities) {
    NewRadio();
    LoadRadioIdentity(*radio_);
    PaceAsWire(*radio_);
    radio_->AddNoise('I', 1, road.at, lookAlike, road.noiseMs);
    if (road.ownMs > 0) radio_->SetAnswerDelay('I', 1, road.ownMs * 1000);
    // 'V', its zero byte and 'I' have gone; the zero byte after 'I' waits in the port.
    const qint64 sent = MSComm1().SentCount() + 3;
    const qint64 stopped = stoppedUs_ + road.stopMs * 1000;
    if (road.stopMs > 0) {
      StopAfterClockRead(
          [sent] { return MSComm1().SentCount() == sent && MSComm1().OutBufferCount() > 0; },
          road.stopMs);
    }
    StartWrite();
    EXPECT_EQ(stoppedUs_, stopped) << road.ownMs;
    ProcessUntil([] { return false; }, 1000);
    ASSERT_TRUE(IsFrmProgramLoaded()) << road.ownMs;
    EXPECT_TRUE(StatusLine(frmProgram()).startsWith("Communication Error.")) << road.ownMs;
    for (int a = 384; a < 400; ++a) EXPECT_EQ(CodeplugImage[a], 0x5A) << a;
    EXPECT_TRUE(LegacyLayout);
    EXPECT_EQ(radio_->blocksWritten, 0);
    if (road.ownMs < 500) {
      EXPECT_EQ(radio_->identityWriteBacks, 0) << road.ownMs;
    }
    frmProgram().cmdClose->Press();
  }

  // Noise whose sum byte matches, just before the radio's frame on a line paced as the wire: the
  // radio's frame that follows makes it suspect, so it is asked for again rather than written
  // back into the radio or kept in the image.
  NewRadio();
  LoadRadioIdentity(*radio_);
  PaceAsWire(*radio_);
  AddIdentityLookAlike(*radio_);
  StartWrite();
  EXPECT_FALSE(IsFrmProgramLoaded());
  for (int i = 0; i < 16; ++i) {
    const uint8_t own = frames::IdentityByteForImage(uint8_t(kIdentity[i]));
    EXPECT_EQ(CodeplugImage[384 + i], own) << i;
    EXPECT_EQ(radio_->writtenIdentity[i], own) << i;
  }
  EXPECT_EQ(radio_->identityWriteBacks, 1);
}

TEST_F(LinkTest, WriteSendsARefusedBlockAtMostFourTimes) {
  PrepareCodeplug();
  LoadRadioIdentity(*radio_);
  radio_->refuseBlock = 7;
  radio_->refuseBlockWrites = 3;
  StartWrite();
  EXPECT_EQ(radio_->blocksWritten, 48);
  EXPECT_FALSE(IsFrmProgramLoaded());
  // The resends carried the refused block itself: the radio holds the image, nothing shifted.
  for (int a = 0; a < 384; ++a) EXPECT_EQ(radio_->memory[a], CodeplugImage[a]) << a;

  NewRadio();
  LoadRadioIdentity(*radio_);
  radio_->refuseBlock = 7;
  radio_->refuseBlockWrites = 4;
  StartWrite();
  EXPECT_EQ(radio_->blocksWritten, 7);
  EXPECT_EQ(StatusLine(frmProgram()), QStringLiteral("Communication Error."));
  EXPECT_FALSE(LedBlinkActive);
  frmProgram().cmdClose->Press();

  // A 3 ms or a 20 ms radio refuses the last block 200 to 450 ms later than it usually answers,
  // or 505 ms, just before any radio's answer would have begun, and a noise 'O' comes when it
  // usually would: the write hears its last answer out that long, and the refusal ends it, the
  // success text never shown. The codeplug keeps its identity.
  for (const auto& [radioMs, lateMs] :
       {std::pair{3, 450}, std::pair{20, 300}, std::pair{20, 200}, std::pair{3, 505}}) {
    PaintedCaptions status(frmProgram().lblProgram, [this] { return NowUs(); });
    NewRadio();
    LoadRadioIdentity(*radio_);
    PaceAsWire(*radio_);
    radio_->answerDelayUs = radioMs * 1000;
    radio_->refuseBlock = 47;
    radio_->refuseBlockWrites = 1;
    radio_->AddNoise(SimulatedRadio::kWriteFrame, 49, SimulatedRadio::NoiseAt::Instead, "O",
                     lateMs);
    CodeplugImage.Fill(384, 399, 0x5A);
    StartWrite();
    ASSERT_TRUE(IsFrmProgramLoaded()) << lateMs;
    EXPECT_EQ(StatusLine(frmProgram()), QStringLiteral("Communication Error.")) << lateMs;
    EXPECT_FALSE(status.captions.contains(QLatin1String(kWriteDoneText))) << lateMs;
    EXPECT_EQ(radio_->blocksWritten, 47) << lateMs;
    for (int a = 384; a < 400; ++a) EXPECT_EQ(CodeplugImage[a], 0x5A) << a;
    frmProgram().cmdClose->Press();
  }

  // An OK of noise before the radio's refusal of block 5: sooner than this radio answers, the
  // refusal coming at its usual time, or a byte's time before the refusal. The answer is heard
  // out, and the write stops before the radio can take block 6 as block 5: its sum never goes.
  for (const bool early : {true, false}) {
    NewRadio();
    LoadRadioIdentity(*radio_);
    PaceAsWire(*radio_);
    if (early) radio_->answerDelayUs = 60000;
    radio_->refuseBlock = 5;
    radio_->refuseBlockWrites = 1;
    radio_->AddNoise(SimulatedRadio::kWriteFrame, 7,
                     early ? SimulatedRadio::NoiseAt::Early : SimulatedRadio::NoiseAt::Before, "O",
                     early ? 10 : 0);
    StartWrite();
    ProcessUntil([] { return false; }, 500);
    ASSERT_TRUE(IsFrmProgramLoaded()) << early;
    EXPECT_EQ(StatusLine(frmProgram()), QStringLiteral("Communication Error.")) << early;
    EXPECT_EQ(radio_->blocksWritten, 5) << early;
    frmProgram().cmdClose->Press();
  }

  // A noise byte ahead of the radio's 'O' for block 4: sending the block again would put it into
  // the radio as block 5. The answer cannot be told from noise, so the write stops. And on a line
  // paced as the wire, the same byte while block 5 is still crossing it, long before the radio
  // can have heard the block: taken as a refusal, the resend would go into the radio as block 6,
  // and every later answer would be one block late.
  for (const bool paced : {false, true}) {
    NewRadio();
    LoadRadioIdentity(*radio_);
    if (paced) PaceAsWire(*radio_);
    const auto at = paced ? SimulatedRadio::NoiseAt::After : SimulatedRadio::NoiseAt::Before;
    radio_->AddNoise(SimulatedRadio::kWriteFrame, 6, at, "X", paced ? 15 : 8);
    StartWrite();
    ASSERT_TRUE(IsFrmProgramLoaded()) << paced;
    EXPECT_EQ(StatusLine(frmProgram()), QStringLiteral("Communication Error.")) << paced;
    EXPECT_LT(radio_->blocksWritten, 48) << paced;
    frmProgram().cmdClose->Press();
  }
}

TEST_F(LinkTest, WriteToALegacyRadioSendsTheRegionalNumberFromItsBox) {
  PrepareCodeplug();
  LoadRadioIdentity(*radio_);
  radio_->legacy = true;
  frmMain().txtSuper->SetText(QStringLiteral("KIT42"));
  // Without an identity block the wide-band bits come from the grid's Band column.
  frmMain().fgChannel->SetTextMatrix(2, 12, QStringLiteral("25"));
  frmMain().fgChannel->SetTextMatrix(16, 12, QStringLiteral("12.5"));
  CodeplugImage[layout::ChannelOffset(2) + layout::kRecFlagsB] = 0x00;
  StartWrite();

  EXPECT_TRUE(LegacyLayout);
  EXPECT_EQ(radio_->commands.left(7), QByteArray("VVP\x0BT\x0BR", 7));
  EXPECT_EQ(radio_->identityWriteBacks, 0);
  EXPECT_EQ(radio_->blocksWritten, 48);
  const uint8_t regional[16] = {'K', 'I', 'T', '4', '2', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(radio_->memory[354 + i], regional[i]) << i;
  EXPECT_EQ(radio_->memory[layout::ChannelOffset(2) + layout::kRecFlagsB], 0x80);
  EXPECT_EQ(radio_->memory[layout::ChannelOffset(16) + layout::kRecFlagsB], 0x00);

  // A 100 ms radio that was only slow to be ready, ready at the second wake-up, goes on with the
  // identity exchange. A byte of noise right after that wake-up decides nothing either: the
  // radio's own answer shows it up.
  for (const bool noise : {false, true}) {
    NewRadio();
    LoadRadioIdentity(*radio_);
    PaceAsWire(*radio_);
    radio_->answerDelayUs = 100000;
    radio_->notReadyWakeUps = 1;
    if (noise) radio_->AddNoise('V', 2, SimulatedRadio::NoiseAt::Early, "\x33", 1);
    StartWrite();
    EXPECT_FALSE(IsFrmProgramLoaded()) << noise;
    EXPECT_FALSE(LegacyLayout) << noise;
    EXPECT_EQ(radio_->identityWriteBacks, 1) << noise;
    EXPECT_EQ(radio_->blocksWritten, 48) << noise;
  }
}

TEST_F(LinkTest, EscDuringTheBlocksAbortsTheWrite) {
  PrepareCodeplug();
  LoadRadioIdentity(*radio_);
  When([this] { return radio_->blocksWritten >= 5; },
       [] {
         int key = 27;
         frmProgram().cmdWrite_KeyDown(key, 0);
       });
  StartWrite();
  EXPECT_LT(radio_->blocksWritten, 48);
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_FALSE(LedBlinkActive);
  EXPECT_TRUE(MDIFormMain().isEnabled());

  // Esc while a request is handed over: the one before the data goes out and nothing after it;
  // the band check is followed only by the not-ready byte that the radio is told.
  const struct {
    char answered;  // the request before the one Esc lands in
    QByteArray lastSent;
  } escapes[] = {{'T', "\x0B"}, {'\x0B', QByteArray("TF\0", 3)}};
  for (const auto& escape : escapes) {
    NewRadio();
    LoadRadioIdentity(*radio_);
    When(
        [this, escape] {
          return radio_->commands.endsWith(escape.answered) && ReplyTimerRunning && !ReceiveArmed;
        },
        [] {
          int key = 27;
          frmProgram().cmdWrite_KeyDown(key, 0);
        });
    StartWrite();
    ProcessUntil([] { return false; }, 500);
    EXPECT_FALSE(IsFrmProgramLoaded());
    EXPECT_TRUE(radio_->received.endsWith(escape.lastSent)) << escape.answered;
    EXPECT_EQ(radio_->blocksWritten, 0);
  }

  // Esc while the answer to block 10, come far sooner than this 60 ms radio answers, is heard out:
  // nothing more goes to the radio.
  NewRadio();
  LoadRadioIdentity(*radio_);
  PaceAsWire(*radio_);
  radio_->answerDelayUs = 60000;
  radio_->SetAnswerDelay(SimulatedRadio::kWriteFrame, 2 + 10, 5000);
  qsizetype sentAtEsc = -1;
  When([this] { return radio_->blocksWritten > 10; },
       [this, &sentAtEsc] {
         When([this, at = NowUs() + 30000] { return NowUs() >= at; },
              [this, &sentAtEsc] {
                sentAtEsc = radio_->received.size();
                int key = 27;
                frmProgram().cmdWrite_KeyDown(key, 0);
              });
       });
  StartWrite();
  ProcessUntil([] { return false; }, 500);
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_EQ(radio_->received.size(), sentAtEsc);
  EXPECT_EQ(radio_->blocksWritten, 11);
}
