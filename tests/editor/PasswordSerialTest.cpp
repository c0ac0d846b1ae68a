// The codeplug password box and the serial number box, driven by keys and the clipboard.
#include <QClipboard>

#include "EntryFixture.h"
#include "platform/Label.h"

namespace {

constexpr int kSerialFirst = 336;
constexpr uint32_t kRed = 0xFF;
constexpr uint32_t kButtonText = 0x80000012u;

using PasswordBox = EntryTest;
using SerialBox = EntryTest;

std::array<uint8_t, 10> SerialBytes() {
  std::array<uint8_t, 10> bytes{};
  for (int i = 0; i < 10; ++i) bytes[i] = CodeplugImage[kSerialFirst + i];
  return bytes;
}

void SetSerialBytes(uint8_t value) {
  for (int i = 0; i < 10; ++i) CodeplugImage[kSerialFirst + i] = value;
}

TEST_F(PasswordBox, TypedCharactersOutsideLettersAndDigitsAreRefused) {
  cps::TextBox* box = Editor().txtPassword;
  Type(box, "ab -1");
  EXPECT_EQ(box->Text(), "ab1");
  ASSERT_EQ(Messages().size(), 2);
  for (const cps::ShownMessage& m : Messages()) {
    EXPECT_EQ(m.prompt, "Invalid Password");
    EXPECT_EQ(m.title, "Corvana CPS");
    EXPECT_EQ(m.buttons, cps::msgbox::OKOnly);
  }
  EXPECT_TRUE(DataModified);

  // Eight characters at most; Backspace still works.
  Type(box, "cdefghij");
  EXPECT_EQ(box->Text(), "ab1cdefg");
  QTest::keyClick(box, Qt::Key_Backspace);
  EXPECT_EQ(box->Text(), "ab1cdef");
  EXPECT_EQ(Messages().size(), 2);
}

TEST_F(PasswordBox, EveryKeyAndClickMarkTheDataModified) {
  cps::TextBox* box = Editor().txtPassword;
  QTest::keyClick(box, Qt::Key_Minus);  // refused, and still a change of data
  EXPECT_TRUE(DataModified);
  // Delete types no character, yet changes the password the next save takes.
  box->SetText("ab");
  box->SetSelStart(0);
  DataModified = false;
  QTest::keyClick(box, Qt::Key_Delete);
  EXPECT_EQ(box->Text(), "b");
  EXPECT_TRUE(DataModified);
  DataModified = false;
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_TRUE(DataModified);
}

TEST_F(PasswordBox, PastedTextWithAForeignCharacterEmptiesTheBox) {
  cps::TextBox* box = Editor().txtPassword;
  Type(box, "ok");
  ToolbarMouseDown = true;
  QApplication::clipboard()->setText("ab-cd");
  QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(box->Text(), "");
  EXPECT_EQ(Prompts(), QStringList{"Invalid Password"});
  EXPECT_FALSE(ToolbarMouseDown);

  QApplication::clipboard()->setText("Pw42");
  QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(box->Text(), "Pw42");
  EXPECT_EQ(Messages().size(), 1);
}

TEST_F(PasswordBox, WritesNothingIntoTheImage) {
  const auto before = ImageBytes();
  Type(Editor().txtPassword, "secret1");
  EXPECT_EQ(ImageBytes(), before);
}

TEST_F(SerialBox, EnterStoresTheUpperCaseSerialAndYesDisablesTheBox) {
  SetSerialBytes(0xFF);
  cps::TextBox* box = Editor().txtSerial;
  Type(box, "abc");
  cps::DialogScript::AnswerNextMessage(cps::MsgResult::Yes);
  PressEnter(box);

  ASSERT_EQ(Messages().size(), 1);
  EXPECT_EQ(Messages()[0].prompt, "Enter Current Serial Number to Radio ?");
  EXPECT_EQ(Messages()[0].title, "Save ?");
  EXPECT_EQ(Messages()[0].buttons, cps::msgbox::YesNo);
  EXPECT_EQ(box->Text(), "ABC");
  EXPECT_FALSE(box->Enabled());
  EXPECT_EQ(SerialBytes(), (std::array<uint8_t, 10>{65, 66, 67, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(DataModified);  // an accepted serial number is a change of the codeplug
}

TEST_F(SerialBox, NoEmptiesTheBoxAndPutsTheFormerBytesBack) {
  SetSerialBytes(0xFF);
  cps::TextBox* box = Editor().txtSerial;
  Type(box, "x12");
  cps::DialogScript::AnswerNextMessage(cps::MsgResult::No);
  PressEnter(box);

  EXPECT_EQ(Prompts(), QStringList{"Enter Current Serial Number to Radio ?"});
  EXPECT_EQ(box->Text(), "");
  EXPECT_TRUE(box->Enabled());
  // Still blank, so a save takes the box's text and a reload leaves the box editable.
  std::array<uint8_t, 10> blank;
  blank.fill(0xFF);
  EXPECT_EQ(SerialBytes(), blank);
  EXPECT_FALSE(DataModified);

  // Another entry with the default answer (Yes) is stored.
  Type(box, "z9");
  PressEnter(box);
  EXPECT_EQ(SerialBytes(), (std::array<uint8_t, 10>{90, 57, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(box->Enabled());
}

TEST_F(SerialBox, EnterOnAnEmptyBoxStoresTenZeroBytes) {
  SetSerialBytes(0xFF);
  cps::DialogScript::AnswerNextMessage(cps::MsgResult::Yes);
  PressEnter(Editor().txtSerial);
  EXPECT_EQ(Prompts(), QStringList{"Enter Current Serial Number to Radio ?"});
  EXPECT_EQ(SerialBytes(), (std::array<uint8_t, 10>{}));
}

TEST_F(SerialBox, AnyKeyPromptsForEnterAndLeavingTheBoxRestoresTheLabel) {
  FrmMain& f = Editor();
  const auto before = ImageBytes();
  FocusOn(f.txtSerial);
  QTest::keyClick(f.txtSerial, Qt::Key_Left);
  EXPECT_EQ(f.lblSerial->Caption(), "Please Press the 'Enter' Key");
  EXPECT_EQ(f.lblSerial->ForeColor(), kRed);
  EXPECT_EQ(f.txtSerial->MaxLength(), 10);

  Type(f.txtSerial, "ab");
  FocusOn(f.txtPassword);
  EXPECT_EQ(f.lblSerial->Caption(), "Serial Number");
  EXPECT_EQ(f.lblSerial->ForeColor(), kButtonText);
  EXPECT_EQ(f.txtSerial->Text(), "ab");  // kept for a save, not stored
  EXPECT_EQ(ImageBytes(), before);
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(SerialBox, ASerialLongerThanTenCharactersIsRefused) {
  SetSerialBytes(0xFF);
  FrmMain& f = Editor();
  // Only a text pasted before the first key can be this long.
  f.txtSerial->SetText("abcdefghijk");
  const auto before = ImageBytes();
  PressEnter(f.txtSerial);
  EXPECT_EQ(Prompts(), QStringList{"Invalid Serial Number"});
  EXPECT_EQ(Messages()[0].title, "Corvana CPS");
  EXPECT_EQ(f.txtSerial->Text(), "");
  EXPECT_TRUE(f.txtSerial->Enabled());
  EXPECT_EQ(ImageBytes(), before);
  EXPECT_EQ(f.lblSerial->Caption(), "Serial Number");
}

}  // namespace
