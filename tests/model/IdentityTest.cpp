#include <gtest/gtest.h>

#include <QStringList>
#include <map>

#include "model/Identity.h"
#include "model/ModuleState.h"
#include "support/QtPrinters.h"

namespace {

void PutText(int offset, int length, const char* text) {
  CodeplugImage.Fill(offset, offset + length - 1, 0);
  for (int i = 0; text[i] != '\0'; ++i) CodeplugImage[offset + i] = text[i];
}

}  // namespace

TEST(IdentityBoxes, SerialAndKitNumberTextsEnabledStateAndRegion) {
  ResetModuleState();
  PutText(336, 10, "AB12");
  EXPECT_EQ(SerialNumberView(CodeplugImage).text, "AB12");
  EXPECT_FALSE(SerialNumberView(CodeplugImage).enabled);
  for (uint8_t fill : {0x00, 0xFF}) {
    CodeplugImage.Fill(336, 345, fill);
    EXPECT_EQ(SerialNumberView(CodeplugImage).text, "");
    EXPECT_TRUE(SerialNumberView(CodeplugImage).enabled);
  }
  CodeplugImage[345] = 'A';  // not all 0xFF: every byte is a character
  EXPECT_EQ(SerialNumberView(CodeplugImage).text, QString(9, QChar(0xFF)) + "A");

  CodeplugImage[237] = 5;
  PutText(354, 16, "qklu5204aak");
  EXPECT_EQ(KitNumberView(CodeplugImage).text, "qklu5204aak");
  EXPECT_EQ(CodeplugImage[237], 5);
  PutText(354, 16, "QKLU5204AAKX");  // only a whole match counts
  EXPECT_FALSE(KitNumberView(CodeplugImage).enabled);
  EXPECT_EQ(CodeplugImage[237], 5);
  CodeplugImage.Fill(354, 369, 0xFF);  // never blank for this box
  EXPECT_EQ(KitNumberView(CodeplugImage).text, QString(16, QChar(0xFF)));
  EXPECT_EQ(CodeplugImage[237], 5);
  PutText(354, 16, "QKLU5204AAK");
  const IdentityBoxView kit = KitNumberView(CodeplugImage);
  EXPECT_EQ(kit.text, "QKLU5204AAK");
  EXPECT_FALSE(kit.enabled);
  EXPECT_EQ(CodeplugImage[237], 11);
  CodeplugImage.Fill(354, 369, 0);
  EXPECT_TRUE(KitNumberView(CodeplugImage).enabled);
}

TEST(KitRegionTable, FiftyFiveRowsInTableOrder) {
  ASSERT_EQ(KitRegionTable.size(), 55u);
  // (row, kit number, region) read off the table by hand.
  const std::tuple<int, const char*, int> rows[] = {
      {1, "QKLV5101AAA", 1},   {5, "QKLV5101AAE", 2},  {14, "QKLV5106AAN", 4},
      {19, "QKLV5107AAN", 5},  {29, "QKLU5207AAL", 8}, {38, "QKLU5206AAN", 10},
      {39, "QKLV5105AAE", 18}, {42, "QKLV5104AAA", 1}, {55, "QKLU5204AAK", 11}};
  for (const auto& [row, kit, region] : rows) {
    EXPECT_STREQ(KitRegionTable[row - 1].kitNumber, kit);
    EXPECT_EQ(KitRegionTable[row - 1].regionCode, region) << kit;
  }
  // Rows per region, counted on the table by hand; every kit number finds its own region.
  const std::map<int, int> expected = {{1, 7}, {2, 5}, {3, 5}, {4, 4},  {5, 5},  {6, 5},
                                       {7, 5}, {8, 6}, {9, 4}, {10, 5}, {11, 1}, {18, 3}};
  std::map<int, int> counted;
  for (const KitRegionEntry& entry : KitRegionTable) {
    ++counted[entry.regionCode];
    EXPECT_EQ(KitRegionCode(entry.kitNumber), entry.regionCode) << entry.kitNumber;
  }
  EXPECT_EQ(counted, expected);
}

TEST(VersionCaptions, CodeplugAndFirmwareVersions) {
  ResetModuleState();
  PutText(346, 4, "\x01\x02\x0A\x03");
  CodeplugImage[362] = 'B';
  EXPECT_EQ(CodeplugVersionCaption(CodeplugImage), "R12.A1");
  EXPECT_EQ(CodeplugImage[349], 1);
  CodeplugImage[362] = 'G';  // no variant letter: the byte stays
  EXPECT_EQ(CodeplugVersionCaption(CodeplugImage), "R12.A1");
  CodeplugImage[349] = 0x1F;
  CodeplugImage[362] = 'A';
  EXPECT_EQ(CodeplugVersionCaption(CodeplugImage), "D12.A1F");
  EXPECT_EQ(CodeplugImage[349], 0x1F);

  PutText(350, 4, "\x31\xF0\x42\x65");  // only low nibbles count: 1, 0, 2, 5
  for (int band : {0, 2}) {
    CodeplugImage[4] = band;
    EXPECT_EQ(FirmwareVersionCaption(CodeplugImage), "R10.25.UV1");
  }
  CodeplugImage[4] = 1;
  CodeplugImage[237] = 5;
  EXPECT_EQ(FirmwareVersionCaption(CodeplugImage), "R10.25.UV2");
  CodeplugImage[237] = 9;  // variant A of a listed region without fixed spacing: no suffix
  EXPECT_EQ(FirmwareVersionCaption(CodeplugImage), "R10.25");
  CodeplugImage[397] = 0x30;
  EXPECT_EQ(FirmwareVersionCaption(CodeplugImage), "R10.25.UV2");
  CodeplugImage[4] = 0x12;  // the whole byte is compared
  EXPECT_EQ(FirmwareVersionCaption(CodeplugImage), "R10.25");
  CodeplugImage[4] = 4;
  EXPECT_EQ(FirmwareVersionCaption(CodeplugImage), "R10.25.U4");
  CodeplugImage[353] = 9;
  EXPECT_EQ(FirmwareVersionCaption(CodeplugImage), "R10.29.U4");
  CodeplugImage[353] = 10;  // the highest last digit of a release
  EXPECT_EQ(FirmwareVersionCaption(CodeplugImage), "R10.2A.U4");
  CodeplugImage[353] = 12;
  EXPECT_EQ(FirmwareVersionCaption(CodeplugImage), "D10.2C");
}

TEST(ModelNumberCaption, ReportedNumberOrEveryTableCell) {
  ResetModuleState();
  PutText(384, 12, "ZZ9999RT0001");
  CodeplugImage[237] = 3;
  CodeplugImage[4] = 3;
  EXPECT_EQ(ModelNumberCaption(CodeplugImage, false), "ZZ9999RT0001");
  EXPECT_EQ(ModelNumberCaption(CodeplugImage, true), "GC7102RT04PX");
  CodeplugImage[390] = 0;
  EXPECT_EQ(ModelNumberCaption(CodeplugImage, false), "GC7102RT04PX");
  CodeplugImage[237] = 12;
  EXPECT_EQ(ModelNumberCaption(CodeplugImage, false), "");

  // The table by hand, byte 4 = 0..4; "|" separates cells, "/" the variants of bit 0 of byte 380.
  // A cell without a number must give "", never the previous codeplug's model.
  const std::map<int, QString> table = {{1, "||GA7101RT0003|GA7102RT0003|"},
                                        {2, "||GB7101RT0003|GB7102RT0003|"},
                                        {18, "||GB7101RT0003|GB7102RT0003|"},
                                        {3, "||GC7101RT04PX|GC7102RT04PX|"},
                                        {4, "|||GC7122RT01PX/GC7122RT02PX|"},
                                        {5, "|||GC7112RT01PX|"},
                                        {6, "GA7103RT0003|GA7104RT0003|||"},
                                        {11, "GA7103RT0003|GA7104RT0003|||"},
                                        {7, "GB7103RT0003|GB7104RT0003|||"},
                                        {8, "GC7103RT04PX|GC7104RT04PX|||GC7105RT04PX"},
                                        {9, "|GC7124RT01PX/GC7124RT02PX|||"},
                                        {10, "|GC7114RT01PX|||"},
                                        {0, "||||"},
                                        {17, "||||"}};
  for (const auto& [region, cells] : table) {
    CodeplugImage[237] = region;
    for (int band = 0; band <= 5; ++band) {
      const QStringList variants = band < 5 ? cells.split('|')[band].split('/') : QStringList{""};
      for (int bit : {0, 1}) {
        CodeplugImage[4] = band;
        CodeplugImage[380] = 0xFE | bit;
        EXPECT_EQ(ModelNumberCaption(CodeplugImage, true), variants.value(bit, variants[0]))
            << region << " " << band << " " << bit;
      }
    }
    CodeplugImage[4] = 0x13;
    EXPECT_EQ(ModelNumberCaption(CodeplugImage, true), "") << region;
  }
}
