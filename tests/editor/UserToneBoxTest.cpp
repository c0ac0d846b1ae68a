// The six user tone boxes: what typing lets through, what Enter and leaving a box encode into
// the image, and how a refused value is reported and sends the focus back.
#include <QClipboard>
#include <QTabBar>

#include "EntryFixture.h"
#include "platform/TabControl.h"
#include "shell/frmAbout.h"

namespace {

constexpr uint32_t kFocusColour = 0xC0FFFF;
constexpr uint32_t kWindowColour = 0x80000005u;
const char kInvalid[] = "Invalid Frequency";

using ToneBox = EntryTest;

cps::TextBox* Rx(int k) { return frmMain().txtTKS_RxFrequency[k]; }
cps::TextBox* Tx(int k) { return frmMain().txtTKS_TxFrequency[k]; }

QWidget* Focused() { return QApplication::focusWidget(); }

// The boxes as a user would find them: valid tones, the settings tab in front.
void SetBoxes(const QString& rx0, const QString& rx1, const QString& rx2) {
  Rx(0)->SetText(rx0);
  Rx(1)->SetText(rx1);
  Rx(2)->SetText(rx2);
  for (int k = 0; k < 3; ++k) Tx(k)->SetText("120.0");
  frmMain().sstMain->SetTab(0);
  cps::DialogScript::Reset();
}

TEST_F(ToneBox, TypingLetsThroughDigitsThePointAndControlKeysOnly) {
  SetBoxes("", "200.0", "255.0");
  const auto before = ImageBytes();
  Type(Rx(0), "1a2");
  EXPECT_EQ(Rx(0)->Text(), "12");
  EXPECT_EQ(Prompts(), QStringList{kInvalid});
  EXPECT_EQ(Messages()[0].title, "Corvana CPS");
  Type(Rx(0), " ");
  QTest::keyClick(Rx(0), Qt::Key_Backspace);
  Type(Rx(0), ".5");
  EXPECT_EQ(Rx(0)->Text(), "12.5");
  EXPECT_EQ(Messages().size(), 1);
  // Typing alone stores nothing.
  EXPECT_EQ(ImageBytes(), before);
}

TEST_F(ToneBox, EachTextChangeRefusesNonNumbersValuesAbove255AndFourZeroes) {
  SetBoxes("", "200.0", "255.0");
  Tx(1)->SetText("");
  Type(Tx(1), "25");
  EXPECT_TRUE(Messages().isEmpty());
  Type(Tx(1), "6");
  EXPECT_EQ(Prompts(), QStringList{kInvalid});
  EXPECT_EQ(Tx(1)->Text(), "");

  Type(Tx(1), "255");
  EXPECT_EQ(Tx(1)->Text(), "255");
  EXPECT_EQ(Messages().size(), 1);
  // A number with a blank inside is no number.
  Type(Tx(1), " ");
  EXPECT_EQ(Tx(1)->Text(), "255 ");
  Type(Tx(1), "1");
  EXPECT_EQ(Tx(1)->Text(), "");
  EXPECT_EQ(Messages().size(), 2);

  Tx(1)->SetText("");
  Type(Tx(1), "000");
  EXPECT_EQ(Tx(1)->Text(), "000");
  EXPECT_EQ(Messages().size(), 2);
  Type(Tx(1), "0");
  EXPECT_EQ(Tx(1)->Text(), "");
  EXPECT_EQ(Messages().size(), 3);

  // Ctrl+V passes the character filter; the pasted text then meets the text check.
  QApplication::clipboard()->setText("abc");
  QTest::keyClick(Tx(1), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Tx(1)->Text(), "");
  EXPECT_EQ(Messages().size(), 4);
  QApplication::clipboard()->setText("1.2.3");
  QTest::keyClick(Tx(1), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Tx(1)->Text(), "");
  EXPECT_EQ(Messages().size(), 5);
  QApplication::clipboard()->setText("88.5");
  QTest::keyClick(Tx(1), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Tx(1)->Text(), "88.5");
  EXPECT_EQ(Messages().size(), 5);
}

TEST_F(ToneBox, EnterFormatsTheTextAndEncodesTheReceiveTone) {
  SetBoxes("", "200.0", "255.0");
  const auto before = ImageBytes();
  Type(Rx(0), "120");
  PressEnter(Rx(0));

  EXPECT_EQ(Rx(0)->Text(), "120.0");
  EXPECT_TRUE(Messages().isEmpty());
  EXPECT_TRUE(DataModified);
  // 120 Hz: P = 57600 / 120 = 480.
  EXPECT_EQ(CodeplugImage.Word(208), 1200);
  EXPECT_EQ(CodeplugImage[208], 0xB0);
  EXPECT_EQ(CodeplugImage[209], 0x04);
  EXPECT_EQ(CodeplugImage.Word(256 + 0), 473);    // 57600 / 121.8
  EXPECT_EQ(CodeplugImage.Word(256 + 2), 487);    // 57600 / 118.2
  EXPECT_EQ(CodeplugImage[256 + 4], 9);           // 0.07 * 120 + 0.5
  EXPECT_EQ(CodeplugImage.Word(256 + 7), 1720);   // 480 + 240 + 40 + 960
  EXPECT_EQ(CodeplugImage.Word(256 + 9), 1640);   // 480 + 240 - 40 + 960
  EXPECT_EQ(CodeplugImage.Word(256 + 13), 1640);  // 480 + 160 + 40 + 960
  EXPECT_EQ(CodeplugImage.Word(256 + 15), 1560);  // 480 + 160 - 40 + 960
  EXPECT_EQ(CodeplugImage.Word(313), 640);        // 76800 / 120
  // Receive tone 0 (120.0) is below 151.4 Hz, tones 1 (200.0) and 2 (255.0) are not.
  EXPECT_EQ(CodeplugImage[238] & 0x15, 0x01);
  // The transmit side of the block is not touched.
  for (int offset : {5, 6, 11, 12, 17, 18}) {
    EXPECT_EQ(CodeplugImage[256 + offset], before[256 + offset]) << offset;
  }
}

TEST_F(ToneBox, EnterEncodesTheTransmitTone) {
  SetBoxes("120.0", "200.0", "255.0");
  const auto before = ImageBytes();
  Tx(0)->SetText("70");
  Tx(2)->SetText("");
  Type(Tx(2), "100");
  PressEnter(Tx(2));

  EXPECT_EQ(Tx(2)->Text(), "100.0");
  const int block = 256 + 2 * 19;
  EXPECT_EQ(CodeplugImage.Word(218), 1000);
  EXPECT_EQ(CodeplugImage.Word(block + 5), 576);  // 57600 / 100
  EXPECT_EQ(CodeplugImage.Word(block + 11), 576);
  EXPECT_EQ(CodeplugImage.Word(block + 17), 768);  // 76800 / 100
  // Transmit tone 0 reads 70 (at most 77.0 Hz), tones 1 and 2 read above it.
  EXPECT_EQ(CodeplugImage[239] & 0x2A, 0x02);
  // Nothing of the receive side changes.
  for (int offset : {0, 1, 2, 3, 4, 7, 8, 9, 10, 13, 14, 15, 16}) {
    EXPECT_EQ(CodeplugImage[block + offset], before[block + offset]) << offset;
  }
  EXPECT_EQ(CodeplugImage.Word(317), before[317] | before[318] << 8);
  EXPECT_EQ(CodeplugImage[238], before[238]);
}

TEST_F(ToneBox, LeavingABoxEncodesItsValue) {
  SetBoxes("120.0", "", "255.0");
  FocusOn(Rx(1));
  EXPECT_EQ(Rx(1)->BackColor(), kFocusColour);
  Type(Rx(1), "67");
  FocusOn(Tx(0));

  EXPECT_EQ(Rx(1)->Text(), "67.0");
  EXPECT_EQ(Rx(1)->BackColor(), kWindowColour);
  EXPECT_EQ(Focused(), Tx(0));
  EXPECT_TRUE(Messages().isEmpty());
  const int block = 256 + 19;
  EXPECT_EQ(CodeplugImage.Word(210), 670);
  EXPECT_EQ(CodeplugImage.Word(block + 0), 847);   // 57600 / 68.005
  EXPECT_EQ(CodeplugImage.Word(block + 2), 873);   // 57600 / 65.995
  EXPECT_EQ(CodeplugImage[block + 4], 5);          // 0.07 * 67 + 0.5
  EXPECT_EQ(CodeplugImage.Word(block + 7), 3082);  // P = 860: 860 + 430 + 71.67 + 1720
  EXPECT_EQ(CodeplugImage.Word(block + 9), 2938);
  EXPECT_EQ(CodeplugImage.Word(block + 13), 2938);
  EXPECT_EQ(CodeplugImage.Word(block + 15), 2795);
  EXPECT_EQ(CodeplugImage.Word(315), 1146);  // 76800 / 67
  EXPECT_EQ(CodeplugImage[238] & 0x15, 0x05);
}

TEST_F(ToneBox, ZeroesAtEnterStayUnformattedAndAreRefused) {
  SetBoxes("", "200.0", "255.0");
  const auto before = ImageBytes();
  for (const char* zeroes : {"0", "00", "000"}) {
    cps::DialogScript::Reset();
    Type(Rx(0), zeroes);
    EXPECT_TRUE(Messages().isEmpty()) << zeroes;
    PressEnter(Rx(0));
    EXPECT_EQ(Prompts(), QStringList{kInvalid}) << zeroes;
    EXPECT_EQ(Rx(0)->Text(), "") << zeroes;
  }
  EXPECT_EQ(ImageBytes(), before);
}

TEST_F(ToneBox, AnyKeyMarksTheDataModified) {
  SetBoxes("120.0", "200.0", "255.0");
  const auto before = ImageBytes();
  QTest::keyClick(Rx(2), Qt::Key_Left);
  EXPECT_TRUE(DataModified);
  EXPECT_EQ(Rx(2)->MaxLength(), 5);
  EXPECT_EQ(ImageBytes(), before);
}

TEST_F(ToneBox, LeavingARefusedValueReportsItAndTakesTheFocusBack) {
  SetBoxes("120.0", "200.0", "255.0");
  const auto before = ImageBytes();
  FocusOn(Rx(0));
  Rx(0)->SetText("50");
  FocusOn(Rx(1));

  EXPECT_EQ(Prompts(), QStringList{kInvalid});
  EXPECT_EQ(Rx(0)->Text(), "");
  EXPECT_EQ(Focused(), Rx(0));
  EXPECT_EQ(Rx(0)->BackColor(), kFocusColour);
  EXPECT_EQ(ImageBytes(), before);
}

TEST_F(ToneBox, ARefusalOnTheChannelTabBringsTheSettingsTabBack) {
  SetBoxes("120.0", "200.0", "255.0");
  FocusOn(Tx(1));
  Tx(1)->SetText("66.9");
  Editor().sstMain->SetTab(1);  // hides the box that has the focus
  QCoreApplication::processEvents();

  EXPECT_EQ(Prompts(), QStringList{kInvalid});
  EXPECT_EQ(Editor().sstMain->Tab(), 0);
  EXPECT_EQ(Tx(1)->Text(), "");
  EXPECT_EQ(Focused(), Tx(1));

  // The same with the mouse: the click takes the focus while the tabs still show the old tab.
  cps::DialogScript::Reset();
  Type(Tx(1), "66");
  QTabBar* tabs = Editor().sstMain->tabBar();
  QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(1).center());
  QCoreApplication::processEvents();
  EXPECT_EQ(Prompts(), QStringList{kInvalid});
  EXPECT_EQ(Editor().sstMain->Tab(), 0);
  EXPECT_EQ(Editor().sstMain->currentIndex(), 0);
  EXPECT_EQ(Focused(), Tx(1));
}

TEST_F(ToneBox, LeavingAnEmptyBoxOutsideARadioReadIsReported) {
  SetBoxes("120.0", "200.0", "255.0");
  QStringList events;
  SetProgramWindowHooks(
      [] { return true; },
      [&] { events << QString("unloaded after %1 messages").arg(Messages().size()); });
  FocusOn(Rx(2));
  Rx(2)->SetText("");
  Editor().sstMain->SetTab(1);
  QCoreApplication::processEvents();

  EXPECT_EQ(events, QStringList{"unloaded after 0 messages"});
  EXPECT_EQ(Prompts(), QStringList{kInvalid});
  EXPECT_EQ(Editor().sstMain->Tab(), 0);
  EXPECT_EQ(Focused(), Rx(2));
}

TEST_F(ToneBox, LeavingAnEmptyBoxDuringARadioReadOnlyTakesTheFocusBack) {
  SetBoxes("120.0", "200.0", "255.0");
  bool unloaded = false;
  SetProgramWindowHooks([] { return true; }, [&] { unloaded = true; });
  ReadMode = true;
  FocusOn(Rx(2));
  Rx(2)->SetText("");
  FocusOn(Tx(2));

  EXPECT_TRUE(Messages().isEmpty());
  EXPECT_FALSE(unloaded);
  EXPECT_EQ(Focused(), Rx(2));
}

TEST_F(ToneBox, MessagesShowOnlyWhileTheMainWindowShowsAndNoPreviewOrAboutDoes) {
  SetBoxes("120.0", "200.0", "255.0");
  FrmMain& f = Editor();
  // Refuses "50" at Enter in transmit box 0 from the channel tab; the number of messages.
  auto refuse = [&] {
    cps::DialogScript::Reset();
    f.sstMain->SetTab(1);
    Tx(0)->SetText("50");
    PressEnter(Tx(0));
    EXPECT_EQ(Tx(0)->Text(), "");  // emptied whether reported or not
    return Messages().size();
  };

  bool previewShown = true;
  SetPreviewVisibleHook([&] { return previewShown; });
  EXPECT_EQ(refuse(), 0);
  EXPECT_EQ(f.sstMain->Tab(), 1);  // the tab stays too
  previewShown = false;

  frmAbout().show();
  EXPECT_EQ(refuse(), 0);
  UnloadFrmAbout();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  MDIFormMain().hide();
  EXPECT_EQ(refuse(), 0);
  MDIFormMain().show();

  EXPECT_EQ(refuse(), 1);
  EXPECT_EQ(f.sstMain->Tab(), 0);
}

// Two boxes both holding refused values: the focus goes back to the first one once, the second
// one is not checked on the way, and each attempt to leave shows one message only.
TEST_F(ToneBox, TwoRefusedBoxesDoNotPassTheFocusBackAndForth) {
  SetBoxes("120.0", "200.0", "255.0");
  const auto before = ImageBytes();
  Rx(0)->SetText("50");
  Rx(1)->SetText("60");
  FocusOn(Rx(0));
  FocusOn(Rx(1));

  EXPECT_EQ(Prompts(), QStringList{kInvalid});
  EXPECT_EQ(Focused(), Rx(0));
  EXPECT_EQ(Rx(0)->Text(), "");
  EXPECT_EQ(Rx(1)->Text(), "60");
  EXPECT_EQ(Rx(1)->BackColor(), kWindowColour);

  FocusOn(Rx(1));  // the first box is empty now
  EXPECT_EQ(Messages().size(), 2);
  EXPECT_EQ(Focused(), Rx(0));
  EXPECT_EQ(Rx(1)->Text(), "60");
  EXPECT_EQ(ImageBytes(), before);

  // A valid value lets the focus go; the second box is checked when it is left itself.
  Type(Rx(0), "88");
  FocusOn(Rx(1));
  EXPECT_EQ(Focused(), Rx(1));
  EXPECT_EQ(CodeplugImage.Word(208), 880);
  FocusOn(Tx(0));
  EXPECT_EQ(Messages().size(), 3);
  EXPECT_EQ(Focused(), Rx(1));
  EXPECT_EQ(Rx(1)->Text(), "");
}

}  // namespace
