// The regional kit number box and the template load, with template files written into a
// temporary program folder.
#include <QDir>
#include <functional>

#include "EntryFixture.h"
#include "editor/KitNumber.h"
#include "platform/Label.h"
#include "platform/TabControl.h"

namespace {

constexpr int kKitFirst = 354;
constexpr int kRegionCode = 237;
constexpr uint32_t kRed = 0xFF;
constexpr uint32_t kButtonText = 0x80000012u;
const char kKitQuestion[] = "Enter Current Regional Super Morvik Number to Radio ?";
const char kNotValid[] = "Region Code is not valid...";

using RegionTemplates = ::testing::Test;
using KitNumberBox = EntryTest;
using TemplateLoad = EntryTest;

TEST(RegionTemplates, HoldTheKitsWithATemplateInTableOrder) {
  ASSERT_EQ(RegionTemplateTable.size(), 49u);
  struct Row {
    int number;
    const char* kit;
    const char* file;
    int region;
  };
  const Row rows[] = {
      {1, "QKLV5101AAA", "V2_APAC.cpg", 1},    {4, "QKLV5109AAA", "V2_APAC_I.cpg", 1},
      {5, "QKLV5101AAE", "V2_EMEA.cpg", 18},   {13, "QKLV5102CAN", "V2_NAG1_C.cpg", 4},
      {25, "QKLU5201CAL", "U2_LACR_C.cpg", 8}, {26, "QKLU5207AAL", "U4_LACR.cpg", 8},
      {27, "QKLU5202AAN", "U2_NAG1.cpg", 9},   {32, "QKLU5203CAN", "U2_NAG_C.cpg", 10},
      {36, "QKLV5104AAE", "V1_EMEA.cpg", 2},   {46, "QKLU5204AAK", "U1_KOR.cpg", 11},
      {47, "QKLV5105AAE", "V2_EMEA1.cpg", 2},  {49, "QKLV5105CAE", "V2_EMEA1_C.cpg", 2},
  };
  for (const Row& row : rows) {
    const RegionTemplateEntry& entry = RegionTemplateTable[row.number - 1];
    EXPECT_STREQ(entry.kitNumber, row.kit) << "row " << row.number;
    EXPECT_STREQ(entry.templateFile, row.file) << "row " << row.number;
    EXPECT_EQ(entry.regionCode, row.region) << "row " << row.number;
  }

  QStringList kits;
  for (const RegionTemplateEntry& entry : RegionTemplateTable) {
    EXPECT_EQ(QString(entry.kitNumber).size(), 11) << entry.kitNumber;
    EXPECT_TRUE(QString(entry.templateFile).endsWith(".cpg")) << entry.templateFile;
    kits << entry.kitNumber;
  }
  kits.removeDuplicates();
  EXPECT_EQ(kits.size(), 49);
}

TEST(RegionTemplates, MatchWholeAndCaseSensitive) {
  const RegionTemplateEntry* kor = FindRegionTemplate("QKLU5204AAK");
  ASSERT_NE(kor, nullptr);
  EXPECT_STREQ(kor->templateFile, "U1_KOR.cpg");
  EXPECT_EQ(FindRegionTemplate("qklu5204aak"), nullptr);
  EXPECT_EQ(FindRegionTemplate("QKLU5204AAK "), nullptr);
  EXPECT_EQ(FindRegionTemplate(""), nullptr);
  // In the kit table, but without a template.
  for (const char* kit :
       {"QKLV5106AAN", "QKLV5107AAN", "QKLV5110AAN", "QKLU5205AAN", "QKLU5206AAN", "QKLU5208AAN"}) {
    EXPECT_EQ(FindRegionTemplate(kit), nullptr) << kit;
  }

  cps::SetProgramFolder("/opt/cps");
  EXPECT_EQ(RegionTemplatePath(*kor), "/opt/cps/U1_KOR.cpg");
  cps::SetProgramFolder(QString());
}

std::array<uint8_t, 16> KitBytes() {
  std::array<uint8_t, 16> bytes{};
  for (int i = 0; i < 16; ++i) bytes[i] = CodeplugImage[kKitFirst + i];
  return bytes;
}

std::array<uint8_t, 16> BlankKit() {
  std::array<uint8_t, 16> blank;
  blank.fill(0xFF);
  return blank;
}

void SetKitBytesBlank() {
  for (int i = 0; i < 16; ++i) CodeplugImage[kKitFirst + i] = 0xFF;
}

TEST_F(KitNumberBox, AnyKeyPromptsForEnterAndLeavingRestoresTheLabel) {
  FrmMain& f = Editor();
  FocusOn(f.txtSuper);
  QTest::keyClick(f.txtSuper, Qt::Key_Q);
  EXPECT_EQ(f.lblSuper->Caption(), "Please Press the 'Enter' Key");
  EXPECT_EQ(f.lblSuper->ForeColor(), kRed);
  EXPECT_EQ(f.txtSuper->MaxLength(), 16);
  FocusOn(f.txtPassword);
  EXPECT_EQ(f.lblSuper->Caption(), "Regional Super Morvik");
  EXPECT_EQ(f.lblSuper->ForeColor(), kButtonText);
  EXPECT_EQ(f.txtSuper->Text(), "q");
}

TEST_F(KitNumberBox, NoPutsTheFormerBytesBackAndReopensTheBox) {
  SetKitBytesBlank();
  FrmMain& f = Editor();
  Type(f.txtSuper, "qklu5204aak");
  cps::DialogScript::AnswerNextMessage(cps::MsgResult::No);
  PressEnter(f.txtSuper);

  ASSERT_EQ(Messages().size(), 1);
  EXPECT_EQ(Messages()[0].prompt, kKitQuestion);
  EXPECT_EQ(Messages()[0].title, "Save ?");
  EXPECT_EQ(Messages()[0].buttons, cps::msgbox::YesNo);
  EXPECT_EQ(f.lblSuper->Caption(), "Regional Super Morvik");
  EXPECT_EQ(f.lblSuper->ForeColor(), kButtonText);
  EXPECT_EQ(f.txtSuper->Text(), "");
  EXPECT_TRUE(f.txtSuper->Enabled());
  EXPECT_EQ(KitBytes(), BlankKit());
  EXPECT_FALSE(CodeplugLoading);
}

TEST_F(KitNumberBox, AKitWithoutTemplateIsNotAValidRegion) {
  SetKitBytesBlank();
  FrmMain& f = Editor();
  const auto before = ImageBytes();
  for (const char* typed : {"QKLV5106AAN", ""}) {
    cps::DialogScript::Reset();
    f.txtSuper->SetText(typed);
    cps::DialogScript::AnswerNextMessage(cps::MsgResult::Yes);
    PressEnter(f.txtSuper);

    EXPECT_EQ(Prompts(), (QStringList{kKitQuestion, kNotValid})) << typed;
    EXPECT_EQ(Messages().last().title, "Corvana CPS");
    EXPECT_EQ(f.txtSuper->Text(), "");
    EXPECT_TRUE(f.txtSuper->Enabled());
    EXPECT_FALSE(CodeplugLoading);
    EXPECT_EQ(ImageBytes(), before) << typed;
  }
}

// A template file as the program writes codeplug files: a header line, then one value a line.
QByteArray TemplateText(const std::array<int, 384>& values, int count = 384) {
  QByteArray text = "Corvana programmer data file\r\n";
  for (int i = 0; i < count; ++i) text += " " + QByteArray::number(values[i]) + " \r\n";
  return text;
}

void PutText(std::array<int, 384>& values, int first, int length, const char* text) {
  const QByteArray bytes(text);
  for (int i = 0; i < length; ++i) values[first + i] = i < bytes.size() ? bytes[i] : 0;
}

// A template built on the new codeplug the editor starts with: band 150..174 MHz, serial "T123",
// no regional number, receive user tone 1 at 100.0 Hz, and 300 for byte 199 (no byte value).
std::array<int, 384> SampleTemplate() {
  std::array<int, 384> values{};
  for (int i = 0; i < 384; ++i) values[i] = CodeplugImage[i];
  values[4] = 3;
  PutText(values, 336, 10, "T123");
  PutText(values, kKitFirst, 16, "");
  values[208] = 0xE8;  // 1000 = 100.0 Hz
  values[209] = 0x03;
  values[199] = 300;
  return values;
}

void ExpectBytesLoaded(const std::array<int, 384>& values, int first, int last) {
  for (int i = first; i <= last; ++i) EXPECT_EQ(CodeplugImage[i], values[i]) << "byte " << i;
}

TEST_F(TemplateLoad, AConfirmedKitNumberLoadsItsTemplateAndShowsIt) {
  FrmMain& f = Editor();
  std::array<int, 384> values = SampleTemplate();
  PutText(values, kKitFirst, 16, "QKLU5204AAK");
  values[16] = 0x12;  // channel 1's receive code, low byte: loaded like every other byte
  WriteProgramFile("U1_KOR.cpg", TemplateText(values));
  CodeplugImage[199] = 0x5A;
  SetKitBytesBlank();

  Type(f.txtSuper, "qklu5204aak");
  cps::DialogScript::AnswerNextMessage(cps::MsgResult::Yes);
  PressEnter(f.txtSuper);

  EXPECT_EQ(Prompts().first(), kKitQuestion);
  EXPECT_FALSE(Prompts().contains(kNotValid));
  ExpectBytesLoaded(values, 16, 175);   // the channel records
  ExpectBytesLoaded(values, 208, 219);  // the user tone words
  ExpectBytesLoaded(values, 336, 345);  // the serial number
  ExpectBytesLoaded(values, 354, 369);  // the regional number
  EXPECT_EQ(CodeplugImage[4], 3);
  EXPECT_EQ(CodeplugImage[199], 0x5A);  // 300 fits no byte: kept
  EXPECT_EQ(CodeplugImage[kRegionCode], 11);

  EXPECT_EQ(f.txtSuper->Text(), "QKLU5204AAK");
  EXPECT_FALSE(f.txtSuper->Enabled());
  EXPECT_EQ(f.txtSerial->Text(), "T123");
  EXPECT_FALSE(f.txtSerial->Enabled());
  EXPECT_EQ(f.txtTKS_RxFrequency[0]->Text(), "100.0");
  EXPECT_EQ(f.sstMain->Tab(), 1);
  EXPECT_TRUE(f.txtPassword->Enabled());  // no password: the editor is unlocked
  EXPECT_FALSE(CodeplugLoading);
  EXPECT_TRUE(DataModified);
}

TEST_F(TemplateLoad, TheTemplatesRegionCodeShowsTheBandBeforeTheKitTableDecides) {
  FrmMain& f = Editor();
  // QKLV5101AAE: region 18 by its template row, 2 by the kit table.
  std::array<int, 384> values = SampleTemplate();
  WriteProgramFile("V2_EMEA.cpg", TemplateText(values));
  Type(f.txtSuper, "QKLV5101AAE");
  PressEnter(f.txtSuper);  // the question's default answer: Yes

  EXPECT_EQ(CodeplugImage[kRegionCode], 18);
  EXPECT_EQ(f.lblfrequency_range->Caption(), "148.00000 ~ 174.00000 MHz");
  EXPECT_EQ(f.txtSuper->Text(), "");  // the template's regional number is empty
  EXPECT_TRUE(f.txtSuper->Enabled());

  // The same template holding its kit number: the kit table sets the region code last.
  PutText(values, kKitFirst, 16, "QKLV5101AAE");
  WriteProgramFile("V2_EMEA.cpg", TemplateText(values));
  Type(f.txtSuper, "QKLV5101AAE");
  PressEnter(f.txtSuper);

  EXPECT_EQ(CodeplugImage[kRegionCode], 2);
  EXPECT_EQ(f.lblfrequency_range->Caption(), "148.00000 ~ 174.00000 MHz");
  EXPECT_EQ(f.txtSuper->Text(), "QKLV5101AAE");
  EXPECT_FALSE(f.txtSuper->Enabled());
}

TEST_F(TemplateLoad, ATemplateWithAPasswordIsShownLockedWithWriteOff) {
  FrmMain& f = Editor();
  std::array<int, 384> values = SampleTemplate();
  PutText(values, 370, 8, "pw");
  values[236] = 2;
  values[379] = 0;  // an older image: the second length byte is taken from the first
  WriteProgramFile("U2_NAG.cpg", TemplateText(values));
  ASSERT_TRUE(MDIFormMain().mnuWrite->isEnabled());

  Type(f.txtSuper, "QKLU5203AAN");
  PressEnter(f.txtSuper);

  EXPECT_EQ(CodeplugImage[370], 'p');
  EXPECT_EQ(CodeplugImage[371], 'w');
  EXPECT_EQ(CodeplugImage[379], 2);
  EXPECT_EQ(CodeplugImage[kRegionCode], 10);
  EXPECT_FALSE(f.txtPassword->Enabled());
  EXPECT_FALSE(f.txtTKS_RxFrequency[0]->Enabled());
  EXPECT_EQ(f.txtTKS_RxFrequency[0]->Text(), "100.0");  // shown, greyed
  EXPECT_EQ(f.txtSerial->Text(), "T123");
  EXPECT_FALSE(MDIFormMain().mnuWrite->isEnabled());
  EXPECT_FALSE(MDIFormMain().tbToolBarButton(4)->isEnabled());
  EXPECT_EQ(f.sstMain->Tab(), 1);
  EXPECT_FALSE(CodeplugLoading);
  EXPECT_TRUE(DataModified);
}

// Every template that cannot be read whole: a clear message naming the file, and the codeplug,
// the editor's tab and the flags exactly as before the Enter.
TEST_F(TemplateLoad, ATemplateThatCannotBeReadWholeChangesNothing) {
  FrmMain& f = Editor();
  const std::array<int, 384> values = SampleTemplate();
  const QString path = ProgramFolderPath() + "/U1_KOR.cpg";

  struct Case {
    const char* name;
    std::function<void()> prepare;
  };
  const Case cases[] = {
      {"missing", [] {}},
      {"named in other letter case", [&] { WriteProgramFile("u1_kor.cpg", TemplateText(values)); }},
      {"short", [&] { WriteProgramFile("U1_KOR.cpg", TemplateText(values, 383)); }},
      {"not a number",
       [&] {
         QByteArray text = TemplateText(values);
         text.replace(" 3 \r\n", " x3 \r\n");  // byte 4's value
         WriteProgramFile("U1_KOR.cpg", text);
       }},
      {"a folder", [&] { ASSERT_TRUE(QDir(ProgramFolderPath()).mkdir("U1_KOR.cpg")); }},
  };
  for (const Case& c : cases) {
    QFile::remove(path);
    QFile::remove(ProgramFolderPath() + "/u1_kor.cpg");
    QDir(ProgramFolderPath()).rmdir("U1_KOR.cpg");
    c.prepare();
    cps::DialogScript::Reset();
    f.sstMain->SetTab(0);
    SetKitBytesBlank();
    DataModified = false;
    const auto before = ImageBytes();

    Type(f.txtSuper, "QKLU5204AAK");
    PressEnter(f.txtSuper);

    ASSERT_EQ(Messages().size(), 2) << c.name;
    EXPECT_EQ(Messages()[0].prompt, kKitQuestion);
    EXPECT_TRUE(Messages()[1].prompt.contains(path))
        << c.name << ": " << Messages()[1].prompt.toStdString();
    EXPECT_EQ(Messages()[1].title, "Corvana CPS");
    EXPECT_EQ(ImageBytes(), before) << c.name;
    EXPECT_FALSE(CodeplugLoading) << c.name;
    EXPECT_FALSE(DataModified) << c.name;
    EXPECT_EQ(f.sstMain->Tab(), 0) << c.name;
    EXPECT_EQ(f.txtSuper->Text(), "") << c.name;
    EXPECT_TRUE(f.txtSuper->Enabled()) << c.name;
  }
}

}  // namespace
