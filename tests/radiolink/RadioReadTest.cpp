#include <QAction>
#include <QProgressBar>
#include <QTest>
#include <utility>

#include "LinkFixture.h"
#include "model/UserTones.h"
#include "platform/FlexGrid.h"
#include "platform/TextBox.h"
#include "radiolink/LinkFrames.h"

namespace {

const QByteArray kModel = "CV450U16-AB1";

// A radio holding the editor's new codeplug with a band, a channel count, a serial number, a
// firmware version and a model number of its own. A different serial digit keeps a radio's image
// apart from the codeplug read from the radio before it. Where the new codeplug holds zeros, the
// radio's bytes differ from their neighbours, so that a block taken a byte out of place shows;
// the channels, the user tones and the password stay as they are, for the editor checks them.
void LoadRadio(SimulatedRadio& radio, char serialDigit = '8') {
  const auto checked = [](int a) {
    return a < layout::ChannelOffset(layout::kMaxChannels + 1) ||
           (a >= layout::kUserToneRx && a < layout::UserToneTx(usertone::kCount)) ||
           a == layout::kPasswordLength ||
           (a >= layout::kCodeplugPassword && a <= layout::kPasswordLength2);
  };
  for (int a = 0; a < 384; ++a) {
    const bool free = CodeplugImage[a] == 0 && !checked(a);
    radio.memory[a] = free ? uint8_t(a * 7 + 1) : CodeplugImage[a];
  }
  radio.memory[layout::kChannelCount] = 16;
  radio.memory[layout::kBandCode] = 0x01;  // 450 to 470 MHz
  const QByteArray serial = QByteArray("SN1234567") + serialDigit;
  for (int i = 0; i < 10; ++i) radio.memory[layout::kSerialNumber + i] = uint8_t(serial[i]);
  for (int i = 0; i < 4; ++i) radio.memory[layout::kFirmwareVersion + i] = uint8_t(0x31 + i);
  for (int i = 0; i < 12; ++i) radio.memory[384 + i] = uint8_t(kModel[i]);
  radio.memory[396] = 0x00;
  radio.memory[397] = 0x20;
  radio.memory[398] = 0x07;
  radio.memory[399] = 0xFE;
}

void StartRead() {
  ShowReadInstructions();
  frmProgram().cmdRead->Press();
}

// count noise bytes that, followed by the head of block b, make a frame whose sum byte matches.
QByteArray MatchingHead(const SimulatedRadio& radio, int b, int count) {
  const uint8_t* block = &radio.memory[frames::BlockAddress(b)];
  QByteArray head(count, '\0');
  const int taken = layout::kBlockSize - count;  // the block's bytes in the made frame's data
  head[count - 1] =
      char(block[taken] - frames::SumByte(block, taken) - frames::SumByte(head, 0, count - 1));
  return head;
}

// The read ended with its error and left the open codeplug as it was.
void ExpectReadFailed(const ByteImage& before) {
  ASSERT_TRUE(IsFrmProgramLoaded());
  EXPECT_EQ(frmProgram().lblProgram->Caption(), QStringLiteral("Communication Error."));
  EXPECT_EQ(CodeplugImage.Bytes(), before.Bytes());
}

QByteArray Commands(const char* text, int acks) { return QByteArray(text) + QByteArray(acks, 'O'); }

}  // namespace

TEST_F(LinkTest, ReadTakesTheRadiosWholeImageIntoTheEditor) {
  LoadRadio(*radio_);
  frmMain().txtPassword->SetText(QStringLiteral("old"));
  StartRead();

  for (int a = 0; a < 400; ++a) {
    EXPECT_EQ(CodeplugImage[a], radio_->memory[a]) << "offset " << a;
    EXPECT_EQ(RadioImage[a], radio_->memory[a]) << "offset " << a;
  }
  // Wake-up, identity, read request, first block, then one 'O' per good block.
  EXPECT_EQ(radio_->commands, Commands("VIR\x0B", 48));
  // Every command byte went out followed by its zero byte.
  EXPECT_EQ(radio_->received.size(), 2 * radio_->commands.size());
  EXPECT_FALSE(LegacyLayout);
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_TRUE(MDIFormMain().isEnabled());
  EXPECT_TRUE(MDIFormMain().mnuFileSave->isEnabled());
  EXPECT_TRUE(MDIFormMain().mnuWrite->isEnabled());
  EXPECT_EQ(frmMain().txtSerial->Text(), QStringLiteral("SN12345678"));
  EXPECT_FALSE(frmMain().txtSerial->Enabled());
  EXPECT_EQ(frmMain().txtPassword->Text(), QString());  // the radio's codeplug has none
  EXPECT_TRUE(DataModified);
  EXPECT_FALSE(CodeplugLoading);
  EXPECT_FALSE(LedBlinkActive);
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(LinkTest, ReadAsksAgainForABlockWithABadSumByte) {
  LoadRadio(*radio_);
  radio_->badBlock = 5;
  radio_->badBlockSums = 3;  // the fourth copy is good
  StartRead();

  EXPECT_EQ(radio_->commands, Commands("VIR\x0B", 5) + "FFF" + QByteArray(43, 'O'));
  for (int a = 0; a < 384; ++a) EXPECT_EQ(CodeplugImage[a], radio_->memory[a]) << a;
  EXPECT_FALSE(IsFrmProgramLoaded());

  // Block 0 arrives in the reply to 0x0B; a bad copy of it comes again as a 9-byte frame.
  NewRadio();
  LoadRadio(*radio_);
  radio_->badBlock = 0;
  radio_->badBlockSums = 1;
  StartRead();
  EXPECT_EQ(radio_->commands, QByteArray("VIR\x0B") + "F" + QByteArray(48, 'O'));
  for (int a = 0; a < 8; ++a) EXPECT_EQ(CodeplugImage[a], radio_->memory[a]) << a;

  // A line that hands each frame over whole says nothing of when the radio answers (a busy
  // machine delays what it sees): a block 40 ms late leaves the next ones taken from one copy.
  NewRadio();
  LoadRadio(*radio_);
  radio_->SetAnswerDelay('O', 1, 40000);
  StartRead();
  EXPECT_EQ(radio_->commands, Commands("VIR\x0B", 48));
}

TEST_F(LinkTest, ReadOfARadioWhoseAnswerTimesVaryTakesEachBlockOnce) {
  char digit = '0';
  for (const auto [timing, mostOverFloor] : kVariedTimings) {
    NewRadio();
    LoadRadio(*radio_, ++digit);
    ShapeAnswerTimes(*radio_, timing);
    // The steady radio answers one block 40 ms late.
    if (timing == Timing::SlowToWake) radio_->SetAnswerDelay('O', 10, 60000);
    const qint64 start = NowUs();
    StartRead();
    EXPECT_EQ(radio_->commands, Commands("VIR\x0B", 48)) << int(timing);
    EXPECT_EQ(CodeplugImage.Bytes(), radio_->memory) << int(timing);
    EXPECT_FALSE(IsFrmProgramLoaded()) << int(timing);
    EXPECT_LE(NowUs() - start, mostOverFloor * WireFloorUs(*radio_, true)) << int(timing);
  }
}

TEST_F(LinkTest, ReadRecoversFromNoiseThatCannotBeAFrame) {
  // A stray byte, not next to a frame of the radio's, cannot make the block before it doubtful:
  // it costs the read an 'F', or two when it comes just ahead of a frame whose last byte then
  // comes with the next copy, and the read takes exactly the radio's image; so do eight, short
  // of a frame. One with the region code, or between it and block 0, makes the access doubtful:
  // the wake-up starts over. A radio without the identity exchange sends no frame but its blocks:
  // they teach the read the line's pace, by which the byte is not the rest of a block.
  using At = SimulatedRadio::NoiseAt;
  const struct {
    const char* road;
    int command;
    int nth;
    At at;
    int gapMs;
    QByteArray burst = "\x5A";
    bool legacy = false;
    bool paced = true;
  } roads[] = {
      {"a byte 50 ms after block 10", 'O', 10, At::After, 50},
      {"eight bytes 50 ms after block 10", 'O', 10, At::After, 50, QByteArray(8, '\x5A')},
      {"a byte 50 ms after block 10 of a legacy radio", 'O', 10, At::After, 50, "\x5A", true},
      {"a byte two byte times before block 20", 'O', 20, At::Before, 18},
      {"a byte 30 ms after the last block", 'O', 47, At::After, 30},
      {"a byte 9 ms before the region code", 'R', 1, At::Before, 9},
      {"a byte 30 ms after the region code", 'R', 1, At::After, 30},
  };
  char digit = '0';
  for (const auto& road : roads) {
    NewRadio();
    LoadRadio(*radio_, ++digit);
    if (road.paced) PaceAsWire(*radio_);
    radio_->legacy = road.legacy;
    // The legacy radio's identity bytes are those the codeplug keeps.
    for (int a = 384; a < 400 && road.legacy; ++a) radio_->memory[a] = CodeplugImage[a];
    radio_->AddNoise(road.command, road.nth, road.at, road.burst, road.gapMs);
    StartRead();
    EXPECT_FALSE(IsFrmProgramLoaded()) << road.road;
    EXPECT_EQ(CodeplugImage.Bytes(), radio_->memory) << road.road;
    EXPECT_LE(radio_->commands.count('F'), 2) << road.road;
    EXPECT_EQ(radio_->commands.count('V'), (road.command == 'R' ? 2 : 1) * (road.legacy ? 2 : 1))
        << road.road;
  }

  // Once noise came that could have made up a frame, a block is taken only when two copies agree,
  // and a frame besides them is one the radio may still owe: a frame of noise whose sum matches,
  // just before the radio's first copy of block 4, is not taken for it, and the read ends rather
  // than purge what may be the radio's.
  NewRadio();
  LoadRadio(*radio_, ++digit);
  PaceAsWire(*radio_);
  // Noise before block 0 that could have made up a frame.
  radio_->AddNoise(0x0B, 1, At::Before, QByteArray(12, '\x11'));
  const QByteArray frame = QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08") + '\x24';
  radio_->AddNoise('O', 4, At::Before, frame);
  const ByteImage before = CodeplugImage;
  StartRead();
  ExpectReadFailed(before);
  frmProgram().cmdClose->Press();
  // Noise of just a frame's nine bytes, come right after a copy of block 6 that was asked for
  // again after a stray byte, both seen at once by a program that did not run meanwhile: the read
  // had heard the line out after the stray byte, so the radio owes it nothing; from here on it
  // asks for every block twice ('F' for each of those copies, then one for each block's first copy
  // from block 6 on) and takes exactly the radio's image.
  NewRadio();
  LoadRadio(*radio_, ++digit);
  PaceAsWire(*radio_);
  radio_->answerDelayUs = 40000;
  radio_->AddNoise('O', 5, At::After, "\x5A", 12);
  radio_->AddNoise('F', 1, At::After, QByteArray(9, '\x11'));
  When([this] { return radio_->commands.count('F') == 1; }, [this] { time_->Sleep(300); });
  StartRead();
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_EQ(CodeplugImage.Bytes(), radio_->memory);
  EXPECT_EQ(radio_->commands.count('F'), 2 + 48 - 6);
  // A block taken from two agreeing copies is confirmed: a stray byte right after the second copy
  // of block 9 (the eleventh 'F' asks for it) cannot be its rest, and costs an 'F'.
  NewRadio();
  LoadRadio(*radio_, ++digit);
  PaceAsWire(*radio_);
  radio_->AddNoise(0x0B, 1, At::Before, QByteArray(12, '\x11'));
  radio_->AddNoise('F', 11, At::After, "\x5A");
  StartRead();
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_EQ(CodeplugImage.Bytes(), radio_->memory);

  // Such a frame after a byte other than the OK, in place of block 0's answer: the radio's own
  // answer starts with its OK, so this one is heard out, and the radio's answer that follows 150 ms
  // later shows it up as noise.
  NewRadio();
  LoadRadio(*radio_, ++digit);
  PaceAsWire(*radio_);
  radio_->AddNoise(0x0B, 1, At::Instead, 'X' + frame, 150);
  StartRead();
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_EQ(CodeplugImage.Bytes(), radio_->memory);
}

TEST_F(LinkTest, ReadEndsRatherThanTakeNoiseForABlock) {
  // Noise that the PC takes for a block, the radio's own frame coming after it: the radio is then
  // a frame ahead, and every later frame would be taken for the block after it. The read must end
  // with its error and leave the open codeplug as it was. A frame of noise whose sum matches in
  // place of the last block, a 3 ms or a 20 ms radio answering 450 or 300 ms late: the read
  // listens after its last acknowledgement until any radio's answer would have shown. At 605 ms
  // the radio's frame begins just before that: it is heard to its end.
  const QByteArray frame = QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08") + '\x24';
  const ByteImage before = CodeplugImage;
  for (const auto& [radioMs, lateMs] : {std::pair{3, 450}, std::pair{20, 300}, std::pair{3, 605}}) {
    NewRadio();
    LoadRadio(*radio_);
    PaceAsWire(*radio_);
    radio_->answerDelayUs = radioMs * 1000;
    radio_->AddNoise('O', 47, SimulatedRadio::NoiseAt::Instead, frame, lateMs);
    StartRead();
    ASSERT_TRUE(IsFrmProgramLoaded()) << lateMs;
    EXPECT_EQ(StatusLine(frmProgram()), QStringLiteral("Communication Error.")) << lateMs;
    EXPECT_EQ(CodeplugImage.Bytes(), before.Bytes()) << lateMs;
    frmProgram().cmdClose->Press();
  }
  // The same noise, the radio's frame 400 to 600 ms late, the program stopped for 250 ms right
  // after each of its first looks at the line in turn once that frame has begun: a listening that
  // ends during the stop has not heard what came meanwhile, and the read still ends with its error.
  for (const int lateMs : {400, 568, 600}) {
    for (int look = 1; look <= 12; ++look) {
      NewRadio();
      LoadRadio(*radio_);
      PaceAsWire(*radio_);
      radio_->AddNoise('O', 47, SimulatedRadio::NoiseAt::Instead, frame, lateMs);
      // The wake-up's answer, the identity, the region code, block 0's answer, 46 blocks and the
      // noise come before it.
      const qint64 towardsPc = line_.BytesWritten() + 1 + 17 + 1 + 10 + 46 * 9 + 9;
      StopAfterLook([this, look, towardsPc,
                     n = 0]() mutable { return line_.BytesWritten() > towardsPc && ++n == look; },
                    250);
      const qint64 stopped = stoppedUs_;
      StartRead();
      ASSERT_TRUE(IsFrmProgramLoaded()) << lateMs << " " << look;
      EXPECT_EQ(StatusLine(frmProgram()), QStringLiteral("Communication Error.")) << lateMs;
      EXPECT_EQ(stoppedUs_, stopped + 250000) << lateMs << " " << look;
      EXPECT_EQ(CodeplugImage.Bytes(), before.Bytes()) << lateMs << " " << look;
      frmProgram().cmdClose->Press();
    }
  }

  // A radio whose answers vary from 5 to 200 ms, so that its time says little; a frame of noise
  // that passes for block 10, its own frame coming 10 ms after the noise has ended. That frame
  // arrives before the acknowledgement can have crossed the wire: it cannot answer it, and the
  // read ends there rather than take it for block 11.
  NewRadio();
  LoadRadio(*radio_);
  VaryAnswerTimes(*radio_, 5, 200);
  radio_->AddNoise('O', 10, SimulatedRadio::NoiseAt::Instead, frame, 83 + 10);
  StartRead();
  ASSERT_TRUE(IsFrmProgramLoaded());
  EXPECT_EQ(StatusLine(frmProgram()), QStringLiteral("Communication Error."));
  EXPECT_LE(radio_->commands.count('O'), 11);
  EXPECT_EQ(CodeplugImage.Bytes(), before.Bytes());
  frmProgram().cmdClose->Press();

  // Such noise arriving when the radio's frame would: the read must tell it by the bytes that
  // follow, which come later than the pause before the acknowledgement.
  using At = SimulatedRadio::NoiseAt;
  const struct {
    const char* road;
    int command;
    QByteArray burst;
    At at = At::Before;
    int nth = 2;
    int slowMs = 0;
    int headBytes = 3;
  } roads[] = {
      {"a frame with a matching sum before block 2", 'O', frame},
      {"OK and such a frame before block 0", 0x0B, 'O' + frame, At::Before, 1},
      {"twelve bytes whose first nine match", 'O', frame + "\x5A\x5A\x5A"},
      {"three bytes that make one with the last block's head", 'O', QByteArray(), At::Before, 47},
      {"a byte that makes one with the last block's head", 'O', {}, At::Before, 47, 0, 1},
      {"such a frame before the last block", 'O', frame, At::Before, 47},
      {"a byte right after block 10", 'O', "\x5A", At::After, 10},
      // A radio that takes 10 ms to answer, 100 ms more with block 2, the noise coming when it
      // usually answers.
      {"such a frame while the radio is slow", 'O', frame, At::Instead, 2, 100},
  };
  for (const auto& road : roads) {
    NewRadio();
    LoadRadio(*radio_);
    PaceAsWire(*radio_);
    radio_->memory[frames::BlockAddress(2)] = 0x42;
    if (road.slowMs > 0) radio_->answerDelayUs = 10000;
    const QByteArray burst =
        road.burst.isEmpty() ? MatchingHead(*radio_, road.nth, road.headBytes) : road.burst;
    radio_->AddNoise(road.command, road.nth, road.at, burst, road.slowMs);
    const ByteImage before = CodeplugImage;
    StartRead();
    ASSERT_TRUE(IsFrmProgramLoaded()) << road.road;
    EXPECT_EQ(StatusLine(frmProgram()), QStringLiteral("Communication Error.")) << road.road;
    EXPECT_EQ(CodeplugImage.Bytes(), before.Bytes()) << road.road;
    frmProgram().cmdClose->Press();
  }

  // A radio that turns slow just as noise is taken for one of its blocks, its own frame coming
  // later than usual and its answers from then on slower than it ever took: the noise comes
  // 10 ms after a 3 ms radio heard the request, its own frame 100 or 130 ms late and then 200 ms
  // for every answer; or when a 100 ms radio usually answers, its own frame 130 ms later and its
  // next answer after 400 ms. Or noise taken for block 46 or 20 when it came, the radio's own
  // frame coming 110 ms later, in step with the next acknowledgement, and taken for the next
  // block: the read runs a frame behind the radio from there on. Only a frame of the radio's
  // after the last acknowledgement shows that, however late it comes (450 ms); and noise in the
  // frame after, the radio slow to send it and the next, must not let a purge swallow the frame
  // the radio still owes: the read hears the line out before it throws anything away.
  const struct {
    int radioMs;
    int block;
    At at;
    int noiseMs;
    int ownMs;
    int laterMs;
    int lastMs = 0;
    int purgeAt = 0;
  } slowAfterNoise[] = {{3, 46, At::Early, 10, 103, 200},
                        {3, 40, At::Early, 10, 133, 200},
                        {100, 46, At::Instead, 130, 0, 400},
                        {3, 46, At::Instead, 110, 0, 3, 450},
                        {3, 20, At::Instead, 110, 0, 3, 0, 21}};
  for (const auto& road : slowAfterNoise) {
    NewRadio();
    LoadRadio(*radio_);
    PaceAsWire(*radio_);
    radio_->answerDelayUs = road.radioMs * 1000;
    radio_->AddNoise('O', road.block, road.at, frame, road.noiseMs);
    if (road.ownMs > 0) radio_->SetAnswerDelay('O', road.block, road.ownMs * 1000);
    for (int n = road.block + 1; n <= 47; ++n) radio_->SetAnswerDelay('O', n, road.laterMs * 1000);
    if (road.lastMs > 0) radio_->SetAnswerDelay('O', 47, road.lastMs * 1000);
    if (road.purgeAt > 0) {
      radio_->AddNoise('O', road.purgeAt, At::Inside, "\x5A\x33\x44");
      for (const int n : {road.purgeAt, road.purgeAt + 1}) radio_->SetAnswerDelay('O', n, 250000);
    }
    StartRead();
    ASSERT_TRUE(IsFrmProgramLoaded()) << road.block;
    EXPECT_EQ(StatusLine(frmProgram()), QStringLiteral("Communication Error.")) << road.block;
    EXPECT_EQ(CodeplugImage.Bytes(), before.Bytes()) << road.block;
    frmProgram().cmdClose->Press();
  }

  // On a line that has shown noise, so that blocks need two agreeing copies: the same frame of
  // noise, passing its sum, comes in step after the acknowledgement of block 29 and, handed over
  // whole, after the 'F' for block 30; the radio's own frame comes 230 ms late. Block 30 is taken
  // from the noise and the radio runs two answers behind, each pair of agreeing copies its block
  // before. Three bytes inside a later frame make the read purge: it first hears the line whole,
  // hears the frames the radio still owes, and ends.
  for (const int radioMs : {3, 20}) {
    NewRadio();
    LoadRadio(*radio_);
    PaceAsWire(*radio_);
    radio_->answerDelayUs = radioMs * 1000;
    radio_->AddNoise(0x0B, 1, At::Before, QByteArray(12, '\x11'));
    radio_->AddNoise('O', 30, At::Instead, frame, 230);
    When([this] { return radio_->commands.count('F') == 32; },
         [this, frame] {
           When([this, heard = NowUs()] { return NowUs() >= heard + 12000; },
                [this, frame] { line_.Write(frame); });
         });
    radio_->AddNoise('O', 40, At::Inside, "\x5A\x33\x44");
    StartRead();
    ExpectReadFailed(before);
    frmProgram().cmdClose->Press();
  }

  // A frame of noise taken for block 6 just after the radio was asked for it again, its own copy
  // coming with a bad sum once more and then its next frames two at once through a 40 ms adapter
  // (a radio that usually takes 180 ms, one answer in five 10 ms): the bytes heard with the copy
  // count towards the frame the radio sent unasked, and the read ends.
  NewRadio();
  LoadRadio(*radio_);
  PaceAsWire(*radio_);
  radio_->answerDelayUs = 180000;
  radio_->habitOneIn = 5;
  radio_->habitDelayUs = 10000;
  radio_->adapterChunkUs = 40000;
  radio_->badBlock = 6;
  radio_->badBlockSums = 2;
  radio_->AddNoise('F', 1, At::Early, QByteArray("\xD6\xD7\xD8\xD9\xDA\xDB\xDC\xDD\xCC"), 11);
  StartRead();
  ExpectReadFailed(before);
}

TEST_F(RealTimeLinkTest, ReadsOnTheRealClockTakeTheRadiosImageAndNoNoise) {
  // The machine's own time, load and stalls included: a radio whose answers are drawn from 5 to
  // 60 ms is read exactly, each block once; noise taken for block 46 while the radio's own frame
  // comes 110 ms later, its last answer 450 ms late, ends the read and changes nothing.
  LoadRadio(*radio_);
  VaryAnswerTimes(*radio_, 5, 60);
  StartRead();
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_EQ(radio_->commands, Commands("VIR\x0B", 48));
  EXPECT_EQ(CodeplugImage.Bytes(), radio_->memory);

  NewRadio();
  LoadRadio(*radio_, '9');
  PaceAsWire(*radio_);
  const QByteArray frame = QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08") + '\x24';
  radio_->AddNoise('O', 46, SimulatedRadio::NoiseAt::Instead, frame, 110);
  radio_->SetAnswerDelay('O', 47, 450000);
  const ByteImage before = CodeplugImage;
  StartRead();
  ExpectReadFailed(before);
}

TEST_F(LinkTest, ReadEndsAfterTheFourthBadCopyOfABlockAndKeepsTheImage) {
  LoadRadio(*radio_);
  radio_->badBlock = 2;
  radio_->badBlockSums = 4;
  CodeplugImage[layout::kSerialWriteGate] = 1;
  DataModified = false;
  const ByteImage before = CodeplugImage;
  const bool serialBoxEnabled = frmMain().txtSerial->Enabled();
  StartRead();

  ASSERT_TRUE(IsFrmProgramLoaded());
  FrmProgram& program = frmProgram();
  EXPECT_EQ(StatusLine(program), QStringLiteral("Communication Error."));
  EXPECT_EQ(program.lblProgram->ForeColor(), 0x80000008u);
  // 'F' went out for the fourth bad copy too.
  EXPECT_EQ(radio_->commands, Commands("VIR\x0B", 2) + "FFFF");
  // Nothing of the other radio reached the open codeplug, its identity included.
  for (int a = 0; a < 400; ++a) EXPECT_EQ(CodeplugImage[a], before[a]) << a;
  EXPECT_FALSE(LegacyLayout);
  EXPECT_FALSE(DataModified);
  EXPECT_EQ(frmMain().txtSerial->Enabled(), serialBoxEnabled);
  EXPECT_FALSE(program.cmdRead->Enabled());
  EXPECT_FALSE(LedBlinkActive);
  EXPECT_FALSE(MDIFormMain().isEnabled());  // until the window goes
  program.cmdClose->Press();
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_TRUE(MDIFormMain().isEnabled());

  // Nor the layout of a radio without identity exchange.
  NewRadio();
  LoadRadio(*radio_);
  radio_->legacy = true;
  radio_->badBlock = 0;
  radio_->badBlockSums = 4;
  StartRead();
  EXPECT_EQ(StatusLine(frmProgram()), QStringLiteral("Communication Error."));
  EXPECT_FALSE(LegacyLayout);
}

TEST_F(LinkTest, ReadOfASilentRadioEndsOnTheHandshakeTimeout) {
  radio_->silent = true;
  const qint64 start = NowUs();
  StartRead();
  // Ten ticks of the timer, plus the pass budget of the wait in progress.
  EXPECT_LT(NowUs() - start, 8000000);
  ASSERT_TRUE(IsFrmProgramLoaded());
  EXPECT_EQ(StatusLine(frmProgram()),
            QStringLiteral("Communication Error. Please check Programming mode."));
  EXPECT_EQ(frmProgram().lblGreenLED->BackColor(), kGreenLedPale);
  EXPECT_TRUE(radio_->received.startsWith(QByteArray("V\0", 2)));
  EXPECT_FALSE(radio_->received.contains('R'));
  EXPECT_FALSE(DataModified);
}

TEST_F(LinkTest, ReadOfALegacyRadioKeepsTheIdentityBytes) {
  LoadRadio(*radio_);
  radio_->legacy = true;
  for (int a = 384; a < 400; ++a) CodeplugImage[a] = uint8_t(a - 300);
  for (int a = 384; a < 400; ++a) RadioImage[a] = 0x5A;
  StartRead();

  EXPECT_TRUE(LegacyLayout);
  // 'V' answered 'F' twice: no identity exchange, straight to the read request.
  EXPECT_EQ(radio_->commands, Commands("VVR\x0B", 48));
  for (int a = 0; a < 384; ++a) EXPECT_EQ(CodeplugImage[a], radio_->memory[a]) << a;
  for (int a = 384; a < 400; ++a) {
    EXPECT_EQ(CodeplugImage[a], uint8_t(a - 300)) << a;
    EXPECT_EQ(RadioImage[a], 0x5A) << a;
  }

  // A radio only slow to be ready, ready at the second wake-up, has an identity: it is asked for
  // it. A noise byte just before that second answer decides nothing either.
  for (const bool noise : {false, true}) {
    NewRadio();
    LoadRadio(*radio_);
    PaceAsWire(*radio_);
    radio_->notReadyWakeUps = 1;
    if (noise) radio_->AddNoise('V', 2, SimulatedRadio::NoiseAt::Before, "\x33");
    StartRead();
    EXPECT_FALSE(IsFrmProgramLoaded()) << noise;
    EXPECT_FALSE(LegacyLayout) << noise;
    EXPECT_EQ(radio_->commands.count('I'), 1) << noise;
    EXPECT_EQ(CodeplugImage.Bytes(), radio_->memory) << noise;
  }
}

TEST_F(LinkTest, ReadRetriesBadIdentityFramesFromTheWakeUp) {
  LoadRadio(*radio_);
  radio_->badIdentitySums = 2;
  StartRead();
  EXPECT_EQ(radio_->commands, Commands("VIVIVIR\x0B", 48));
  for (int a = 384; a < 400; ++a) EXPECT_EQ(CodeplugImage[a], radio_->memory[a]) << a;

  // Five bad frames in a row at the wire's pace: the sixth still comes within the handshake's
  // two seconds, a bad frame that came alone being asked for again at once.
  NewRadio();
  LoadRadio(*radio_);
  PaceAsWire(*radio_);
  radio_->badIdentitySums = 5;
  StartRead();
  EXPECT_EQ(radio_->commands, Commands("VIVIVIVIVIVIR\x0B", 48));
  EXPECT_FALSE(IsFrmProgramLoaded());

  // Noise whose sum byte matches, taken for the identity frame just before the radio's own: the
  // radio's frame that follows it makes it suspect, and the wake-up starts over.
  NewRadio();
  LoadRadio(*radio_);
  PaceAsWire(*radio_);
  AddIdentityLookAlike(*radio_);
  StartRead();
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_EQ(CodeplugImage.Bytes(), radio_->memory);
  // Nine bytes of noise inside the radio's frame that, with its first eight bytes, make a frame
  // whose sum matches, all seen at once by a program stopped while they came: a frame that did
  // not come alone is not taken, whatever its sum, and the radio is woken again.
  NewRadio();
  LoadRadio(*radio_);
  PaceAsWire(*radio_);
  QByteArray inside(8, '\x21');
  inside += char(frames::SumByte(&radio_->memory[384], 8) + frames::SumByte(inside, 0, 8));
  radio_->AddNoise('I', 1, SimulatedRadio::NoiseAt::Inside, inside);
  When([this] { return radio_->commands.endsWith('I'); },
       [this] {
         When([this, at = NowUs() + 40000] { return NowUs() >= at; },
              [this] { time_->Sleep(300); });
       });
  StartRead();
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_TRUE(radio_->commands.startsWith("VIVI"));
  EXPECT_EQ(CodeplugImage.Bytes(), radio_->memory);

  // The sixth bad frame of one read ends it.
  NewRadio();
  LoadRadio(*radio_);
  radio_->badIdentitySums = 6;
  StartRead();
  EXPECT_EQ(radio_->commands, QByteArray("VIVIVIVIVIVI"));
  EXPECT_EQ(StatusLine(frmProgram()),
            QStringLiteral("Communication Error. Please check Programming mode."));
}

TEST_F(LinkTest, ReadRefusesRegionCodesOfOtherRadios) {
  radio_->regionCode = 0x21;
  StartRead();
  EXPECT_EQ(StatusLine(frmProgram()),
            QStringLiteral("Communication Error. Unsupported radio codeplug region."));
  EXPECT_EQ(radio_->commands, QByteArray("VIRF"));
  frmProgram().cmdClose->Press();

  NewRadio();
  radio_->regionCode = 0x05;
  StartRead();
  EXPECT_EQ(StatusLine(frmProgram()),
            QStringLiteral("Communication Error. Please check Programming cable."));
  EXPECT_EQ(radio_->commands, QByteArray("VIR"));
}

TEST_F(LinkTest, ReadOfAPasswordProtectedCodeplugLocksTheEditorAndAsks) {
  LoadRadio(*radio_);
  const QByteArray password = "ab12";
  for (int i = 0; i < 4; ++i) radio_->memory[layout::kCodeplugPassword + i] = uint8_t(password[i]);
  radio_->memory[layout::kPasswordLength] = 4;
  radio_->memory[layout::kPasswordLength2] = 0;  // never written: takes byte 236
  StartRead();

  EXPECT_EQ(CodeplugImage[layout::kPasswordLength2], 4);
  ASSERT_TRUE(IsFrmProtectionLoaded());
  EXPECT_TRUE(frmProtection().isVisible());
  EXPECT_EQ(frmProtection().Label1->Caption(), QStringLiteral("Codeplug is protected."));
  EXPECT_FALSE(MDIFormMain().mnuWrite->isEnabled());
  EXPECT_FALSE(MDIFormMain().tbToolBarButton(4)->isEnabled());
  EXPECT_FALSE(MDIFormMain().isEnabled());
}

TEST_F(LinkTest, EscDuringTheBlocksAbortsTheRead) {
  LoadRadio(*radio_);
  DataModified = false;
  const ByteImage before = CodeplugImage;
  // Block 11 comes 300 ms late: Esc lands while the read waits for it, and nothing is sent after
  // it.
  PaceAsWire(*radio_);
  radio_->SetAnswerDelay('O', 11, 300000);
  // Esc pressed `ms` after the radio heard the 11th 'O'.
  qsizetype sentAtEsc = -1;
  const auto escAfter = [this, &sentAtEsc](int ms) {
    When([this] { return radio_->commands.count('O') >= 11; },
         [this, &sentAtEsc, ms] {
           When([this, heard = NowUs(), ms] { return NowUs() >= heard + ms * 1000; },
                [this, &sentAtEsc] {
                  sentAtEsc = radio_->received.size();
                  int key = 27;
                  frmProgram().cmdRead_KeyDown(key, 0);
                });
         });
  };
  escAfter(200);
  StartRead();
  ProcessUntil([] { return false; }, 500);

  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_EQ(radio_->received.size(), sentAtEsc);
  EXPECT_EQ(radio_->commands.count('O'), 11);
  for (int a = 0; a < 400; ++a) EXPECT_EQ(CodeplugImage[a], before[a]) << a;
  EXPECT_FALSE(DataModified);
  EXPECT_TRUE(MDIFormMain().isEnabled());
  EXPECT_FALSE(ReadMode);

  // A stray byte 50 ms after block 10 comes with the next copy: before the line is purged, it is
  // heard whole until any radio's answer would have shown. Esc 200 ms into that listening ends
  // the read there too.
  NewRadio();
  LoadRadio(*radio_);
  PaceAsWire(*radio_);
  radio_->AddNoise('O', 10, SimulatedRadio::NoiseAt::After, "\x5A", 50);
  escAfter(300);
  StartRead();
  ProcessUntil([] { return false; }, 500);
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_EQ(radio_->received.size(), sentAtEsc);
  EXPECT_EQ(CodeplugImage.Bytes(), before.Bytes());
}

TEST_F(LinkTest, EscPressedInTheWindowReachesTheDisabledReadButton) {
  LoadRadio(*radio_);
  When([this] { return radio_->commands.count('O') >= 3; },
       [] {
         FrmProgram& program = frmProgram();
         EXPECT_FALSE(program.cmdRead->Enabled());
         QTest::keyClick(program.cmdClose, Qt::Key_Escape);
       });
  StartRead();
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_LT(radio_->commands.count('O'), 48);
  EXPECT_TRUE(MDIFormMain().isEnabled());
}

TEST_F(LinkTest, ClosingTheWindowOrTheProgramDuringAReadEndsIt) {
  LoadRadio(*radio_);
  When([this] { return radio_->commands.count('O') >= 4; }, [] { frmProgram().close(); });
  StartRead();
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_LT(radio_->commands.count('O'), 48);
  EXPECT_TRUE(MDIFormMain().isEnabled());

  // File>Exit in the middle of a read: the editor and the main window go, and the read ends
  // on its error road without bringing the editor back.
  NewRadio();
  LoadRadio(*radio_);
  DataModified = false;
  When([this] { return radio_->commands.count('O') >= 4; },
       [] { MDIFormMain().mnuFileExit_Click(); });
  StartRead();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_FALSE(IsFrmMainLoaded());
  EXPECT_FALSE(IsMDIFormMainLoaded());
  EXPECT_LT(radio_->commands.count('O'), 48);
}

TEST_F(LinkTest, PulledCableEndsTheReadAtOnceAndTheNextReadOpensThePortAgain) {
  LoadRadio(*radio_);
  When([this] { return radio_->commands.count('O') >= 10; },
       [this] {
         frmMain().tmrTimer1->stop();  // no time-out can end the read now, only the port error
         radio_->Unplug();
       });
  // A read that misses the error would wait for ever: Cancel bounds the test.
  const qint64 start = NowUs();
  Watch& bound = When([this, start] { return NowUs() - start > 3000000; },
                      [] { frmProgram().cmdClose->Press(); });
  StartRead();
  bound.armed = false;

  ASSERT_TRUE(IsFrmProgramLoaded());
  EXPECT_EQ(StatusLine(frmProgram()), QStringLiteral("Communication Error."));
  frmProgram().cmdClose->Press();
  frmMain().tmrTimer1->start();

  line_.Reconnect();
  RouteCommPortsTo(line_);
  NewRadio();
  LoadRadio(*radio_);
  StartRead();
  EXPECT_EQ(radio_->commands, Commands("VIR\x0B", 48));
  EXPECT_FALSE(IsFrmProgramLoaded());
}

TEST_F(LinkTest, CancelEndsAReadOfARadioThatIsNeverReady) {
  radio_->notReadyRequests = 1 << 30;  // every 'R' answered 'F'
  When([this] { return radio_->commands.count('R') >= 20; },
       [] { frmProgram().cmdClose->Press(); });
  const qint64 start = NowUs();
  StartRead();
  EXPECT_LT(NowUs() - start, 5000000);
  EXPECT_FALSE(IsFrmProgramLoaded());
  EXPECT_TRUE(MDIFormMain().isEnabled());
  EXPECT_FALSE(HandshakeTimerRunning);
}
