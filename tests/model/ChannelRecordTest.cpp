#include <gtest/gtest.h>

#include "model/ChannelRecord.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/TextConv.h"
#include "support/QtPrinters.h"

namespace {

void SetBytes(int first, std::initializer_list<uint8_t> bytes) {
  for (uint8_t b : bytes) CodeplugImage[first++] = b;
}

QString RxText(int channel) { return cps::FormatFrequency(*DecodeRxFrequencyMHz(channel)); }
QString TxText(int channel) { return cps::FormatFrequency(*DecodeTxFrequencyMHz(channel)); }

}  // namespace

TEST(FrequencyCode, DecodesStoredCodesOnBothStepsAndOffsets) {
  ResetModuleState();
  // Band 0, 6.25 kHz both ways: B0 DF 00 = 57264 steps = 357.9 MHz, received at 403.0 MHz.
  IsUhfBand = true;
  SetBytes(16, {0xB0, 0xDF, 0x00, 0xE0, 0xFB, 0x00});
  CodeplugImage[176] = 1;
  CodeplugImage[192] = 1;
  EXPECT_EQ(ReadRxSteps(1), 57264);
  EXPECT_EQ(TxFrequencyHz(57264, 1), 357'900'000);
  EXPECT_EQ(RxText(1), "403.00000");
  EXPECT_EQ(TxText(1), "403.00000");

  // Band 1, channel 2: receive bytes 18, 253, 0 decode to 450.0125 MHz.
  // Any non-zero step flag means 6.25 kHz steps.
  SetBytes(26, {18, 253, 0});
  CodeplugImage[177] = 0xFF;
  EXPECT_EQ(RxText(2), "450.01250");

  // Band 3 (VHF), channel 16 on 5 kHz steps: both sides 146.52 MHz.
  IsUhfBand = false;
  SetBytes(166, {180, 149, 0, 120, 114, 0});
  EXPECT_EQ(RxText(16), "146.52000");
  EXPECT_EQ(TxText(16), "146.52000");

  // The receive offset follows IsUhfBand: the same code read on VHF is 90.2 MHz lower.
  EXPECT_EQ(RxText(2), "359.81250");
}

TEST(FrequencyCode, EncodesOnTheFinerRasterFirst) {
  // Band 1 receive side: 450.00625 MHz lies on 6.25 kHz steps only.
  EXPECT_EQ(EncodeRxFrequencyHz(450'006'250, true), (FrequencyCode{64785, 1}));
  // 450.005 MHz lies on 5 kHz steps only.
  EXPECT_EQ(EncodeRxFrequencyHz(450'005'000, true), (FrequencyCode{80981, 0}));
  // 450.025 MHz lies on both: 6.25 kHz wins.
  EXPECT_EQ(EncodeRxFrequencyHz(450'025'000, true), (FrequencyCode{64788, 1}));
  // On neither raster.
  EXPECT_EQ(EncodeRxFrequencyHz(450'001'000, true), std::nullopt);
  // Band 3: 150.0125 MHz received (offset added) and transmitted.
  EXPECT_EQ(EncodeRxFrequencyHz(150'012'500, false), (FrequencyCode{31218, 1}));
  EXPECT_EQ(EncodeFrequencyHz(150'012'500), (FrequencyCode{24002, 1}));
  // No code below zero, nor one whose top byte would read as "no frequency".
  EXPECT_EQ(EncodeFrequencyHz(-5000), std::nullopt);
  EXPECT_EQ(EncodeFrequencyHz(int64_t{0xFC0000} * 5000), std::nullopt);
  EXPECT_EQ(EncodeFrequencyHz(int64_t{0xFBFFFF} * 6250), (FrequencyCode{0xFBFFFF, 1}));
}

TEST(FrequencyCode, WrittenCodesAreLittleEndianAndReadBack) {
  ResetModuleState();
  IsUhfBand = true;
  WriteRxSteps(3, 64785);
  WriteTxSteps(3, 80981);
  EXPECT_EQ(CodeplugImage[36], 0x11);
  EXPECT_EQ(CodeplugImage[37], 0xFD);
  EXPECT_EQ(CodeplugImage[38], 0x00);
  EXPECT_EQ(CodeplugImage[39], 0x55);
  EXPECT_EQ(CodeplugImage[40], 0x3C);
  EXPECT_EQ(CodeplugImage[41], 0x01);
  CodeplugImage[178] = 1;  // receive on 6.25 kHz, transmit on 5 kHz
  EXPECT_EQ(RxText(3), "450.00625");
  EXPECT_EQ(TxText(3), "404.90500");

  // A channel number outside 1..16 writes nothing (17 would hit the step flags).
  WriteRxSteps(17, 0x123456);
  WriteTxSteps(0, 0x123456);
  EXPECT_TRUE(CodeplugImage.AllEqual(176, 177, 0));
  EXPECT_TRUE(CodeplugImage.AllEqual(179, 185, 0));
  EXPECT_TRUE(CodeplugImage.AllEqual(6, 15, 0));
}

TEST(FrequencyCode, TopByteWithMaskBitsSetMeansNoFrequency) {
  ResetModuleState();
  for (uint8_t top : {0xFC, 0xFD, 0xFE, 0xFF}) {
    CodeplugImage[18] = top;
    CodeplugImage[21] = top;
    EXPECT_TRUE(RxFrequencyEmpty(1)) << int(top);
    EXPECT_TRUE(TxFrequencyEmpty(1)) << int(top);
    EXPECT_EQ(DecodeRxFrequencyMHz(1), std::nullopt);
    EXPECT_EQ(DecodeTxFrequencyMHz(1), std::nullopt);
  }
  CodeplugImage[21] = 0xFB;
  EXPECT_FALSE(TxFrequencyEmpty(1));
  EXPECT_EQ(TxText(1), "82247.68000");  // 0xFB0000 x 5000 Hz
}

TEST(ChannelRecord, EmptyRecordAndHeader) {
  ResetModuleState();
  CodeplugImage.Fill(0, 399, 0x33);
  WriteEmptyChannelRecord(16);
  const uint8_t expected[] = {0x00, 0x00, 0xFC, 0x00, 0x00, 0xFC, 0x00, 0x00, 0x81, 0x80};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(CodeplugImage[166 + i], expected[i]) << i;
  EXPECT_EQ(CodeplugImage[165], 0x33);
  EXPECT_EQ(CodeplugImage[176], 0x33);  // step flags are not part of the record
  WriteEmptyChannelRecord(17);
  EXPECT_TRUE(CodeplugImage.AllEqual(176, 185, 0x33));

  // At program start ChannelCountVar is 0, so the new codeplug's byte 2 is 0.
  CodeplugImage[2] = 16;
  InitImageHeader();
  EXPECT_EQ(CodeplugImage[2], 0);
  EXPECT_EQ(CodeplugImage[14], 1);
  ChannelCountVar = 8;
  InitImageHeader();
  EXPECT_EQ(CodeplugImage[2], 8);
  EXPECT_TRUE(CodeplugImage.AllEqual(3, 13, 0x33));
}
