#include <gtest/gtest.h>

#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "radiolink/LinkFrames.h"
#include "radiolink/LinkWait.h"

namespace {

QByteArray Bytes(std::initializer_list<int> values) {
  QByteArray bytes;
  for (int v : values) bytes.append(static_cast<char>(v));
  return bytes;
}

}  // namespace

TEST(LinkFrames, SumByteIsTheLowByteOfTheArithmeticSum) {
  const uint8_t block[8] = {0xFF, 0xFF, 0x01, 0x00, 0x10, 0x20, 0x30, 0x40};
  // 255 + 255 + 1 + 16 + 32 + 48 + 64 = 671 = 0x29F
  EXPECT_EQ(frames::SumByte(block, 8), 0x9F);
  EXPECT_EQ(frames::SumByte(block, 0), 0x00);
  // The first-block reply: 'O', eight bytes, the sum byte of those eight only.
  const QByteArray reply = Bytes({'O', 1, 2, 3, 4, 5, 6, 7, 8, 36});
  EXPECT_TRUE(frames::FrameSumMatches(reply, 1, 8));
  EXPECT_FALSE(frames::FrameSumMatches(reply, 0, 8));
  // A frame cut short never matches, whatever its bytes.
  EXPECT_FALSE(frames::FrameSumMatches(reply.left(9), 1, 8));
}

TEST(LinkFrames, BlocksAreEightBytesAtTheirImageOffset) {
  EXPECT_EQ(frames::BlockAddress(0), 0);
  EXPECT_EQ(frames::BlockAddress(1), 8);
  EXPECT_EQ(frames::BlockAddress(47), 376);
  const std::array<uint8_t, 3> data = {0x41, 0x00, 0xFF};
  const std::array<uint8_t, 6> expected = {0x41, 0, 0x00, 0, 0xFF, 0};
  EXPECT_EQ(frames::Interleave(data), expected);
}

TEST(LinkFrames, RegionRepliesAreClassifiedByCodeAndFamily) {
  using frames::RegionReply;
  for (int code : {0x32, 0x33, 0x80, 0x81, 0x84}) {
    EXPECT_EQ(frames::ClassifyRegionReply(uint8_t(code)), RegionReply::Accepted) << code;
  }
  EXPECT_EQ(frames::ClassifyRegionReply('F'), RegionReply::NotReady);
  // Codes of the other radio families: unsupported region.
  for (int code : {0x10, 0x21, 0x4F, 0x5A, 0x61, 0x70, 0x93, 0xA0}) {
    EXPECT_EQ(frames::ClassifyRegionReply(uint8_t(code)), RegionReply::Unsupported) << code;
  }
  // Unaccepted codes of families 0x00, 0x30, 0x80 and 0xB0..0xF0: a cable fault.
  for (int code : {0x31, 0x34, 0x00, 0x0F, 0x82, 0x85, 0xB0, 0xC4, 0xFF}) {
    EXPECT_EQ(frames::ClassifyRegionReply(uint8_t(code)), RegionReply::BadCable) << code;
  }
}

TEST(LinkFrames, ExpectedBandByteIsRegionNibbleOverBandNibble) {
  ResetModuleState();
  ByteImage image;
  image[layout::kRegionCode] = 2;
  image[layout::kBandCode] = 1;
  EXPECT_EQ(frames::ExpectedBandByte(image), 0x21);
  image[layout::kRegionCode] = 0x18;  // only the low nibble counts
  image[layout::kBandCode] = 0xF3;
  EXPECT_EQ(frames::ExpectedBandByte(image), 0x83);
}

TEST(LinkFrames, RadioPasswordEndsBeforeTheFirstZeroByte) {
  EXPECT_EQ(frames::PasswordFromReply(Bytes({'O', 'a', 'B', '3', 0, 'x', 0, 0, 0, 0})),
            QStringLiteral("aB3"));
  EXPECT_EQ(frames::PasswordFromReply(Bytes({'O', 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'Z'})),
            QStringLiteral("abcdefgh"));
  EXPECT_EQ(frames::PasswordFromReply(Bytes({'O', 0xE9, 0, 0, 0, 0, 0, 0, 0, 0})),
            QString(QChar(0xE9)));
  EXPECT_TRUE(frames::ReplyCarriesPassword(Bytes({'O', 1, 0})));
  EXPECT_TRUE(frames::ReplyCarriesPassword(Bytes({'O', 254, 0})));
  EXPECT_FALSE(frames::ReplyCarriesPassword(Bytes({'O', 0, 'a'})));
  EXPECT_FALSE(frames::ReplyCarriesPassword(Bytes({'O', 255, 'a'})));
  EXPECT_FALSE(frames::ReplyCarriesPassword(Bytes({'O'})));
}

TEST(LinkFrames, IdentityBytesZeroAndFFBothBecomeFF) {
  EXPECT_EQ(frames::IdentityByteForImage(0x00), 0xFF);
  EXPECT_EQ(frames::IdentityByteForImage(0xFF), 0xFF);
  EXPECT_EQ(frames::IdentityByteForImage(0x01), 0x01);
  EXPECT_EQ(frames::IdentityByteForImage(0xFE), 0xFE);
}

TEST(LinkFrames, TransmitFormBlanksSerialAndRegionalNumbersAndRaisesScanInterval) {
  ByteImage image;
  for (int a = 0; a < 400; ++a) image[a] = uint8_t(0x30 + a % 10);
  image[layout::kSerialWriteGate] = 0;
  image[layout::kLookBackTime] = 2;
  for (int a = 0; a < 384; ++a) frames::TransmitByte(image, a, false, QString());
  for (int a = 336; a <= 345; ++a) EXPECT_EQ(image[a], 0xFF) << a;
  for (int a = 354; a <= 369; ++a) EXPECT_EQ(image[a], 0xFF) << a;
  EXPECT_EQ(image[9], 3);
  EXPECT_EQ(image[335], 0x30 + 335 % 10);
  EXPECT_EQ(image[346], 0x30 + 346 % 10);
  EXPECT_EQ(image[370], 0x30 + 370 % 10);

  // An open serial gate keeps the serial number; 0 and 3 are sent as they are.
  ByteImage kept;
  kept[layout::kSerialWriteGate] = 1;
  kept[336] = 'S';
  kept[layout::kLookBackTime] = 0;
  EXPECT_EQ(frames::TransmitByte(kept, 336, false, QString()), 'S');
  EXPECT_EQ(kept[9], 0);
  kept[layout::kLookBackTime] = 1;
  EXPECT_EQ(frames::TransmitByte(kept, 9, false, QString()), 3);

  // The older layout sends the regional number from the box, zero-filled.
  ByteImage legacy;
  legacy.Fill(354, 369, 0xFF);
  EXPECT_EQ(frames::TransmitByte(legacy, 354, true, QStringLiteral("KIT9")), 'K');
  const uint8_t expected[16] = {'K', 'I', 'T', '9', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(legacy[354 + i], expected[i]) << i;
}

TEST(LinkWait, CountdownSpendsOnePassForEveryTenMicroseconds) {
  int64_t now = 0;
  const linkwait::Clock clock = [&now] { return now; };
  const auto oneMs = [&now] { now += 1000; };
  const auto never = [] { return false; };

  double left = 500000;
  EXPECT_FALSE(linkwait::WaitUntil(never, oneMs, &left, clock));
  EXPECT_EQ(left, 0);
  EXPECT_EQ(now, 5000000);

  // The next wait goes on with what one left; its condition may end it first, and the pass that
  // finds the condition is not spent.
  now = 0;
  left = 200000;
  EXPECT_TRUE(linkwait::WaitUntil([&now] { return now == 1500000; }, oneMs, &left, clock));
  EXPECT_EQ(left, 50100);
  EXPECT_FALSE(linkwait::WaitUntil(never, oneMs, &left, clock));
  EXPECT_EQ(now, 2001000);

  // 0 or less never runs out, nor a count that Cancel sets to 0 during a wait.
  for (double start : {0.0, -1.0, 500000.0}) {
    now = 0;
    left = start;
    const auto cancelled = [&] {
      now += 1000;
      if (left > 0) left = 0;
    };
    EXPECT_TRUE(linkwait::WaitUntil([&now] { return now == 60000000; }, cancelled, &left, clock));
    EXPECT_EQ(left, std::min(start, 0.0));
  }
}
