#include <QTest>

#include "ChannelGuiFixture.h"
#include "platform/Frame.h"
#include "platform/Label.h"
#include "platform/OptionButton.h"
#include "platform/TextConv.h"

namespace {

FrmChannelToneOption& Dialog() { return frmChannelToneOption(); }

// The dialog's inside height, as whole pixels can show a height in twips.
int ShownHeight(int twips) { return cps::TwipsToPixels(twips); }

bool BackOnTheMainWindow() { return WaitUntilActive(&MDIFormMain()); }

QPoint EditorTopLeft() {
  QWidget* frame = frmMain().parentWidget();
  return frame->mapToGlobal(QPoint(0, 0));
}

}  // namespace

TEST_F(ChannelGuiTest, EnterOnAnOptionColumnOpensTheDialogAndKeysChooseATone) {
  OpenDialogAt(2, 2);
  EXPECT_FALSE(MDIFormMain().isEnabled());
  EXPECT_TRUE(Dialog().isEnabled()) << "a window of its own stays usable";
  EXPECT_EQ(Dialog().windowTitle(), "Channel Tone Option");
  EXPECT_TRUE(Dialog().optChOption[0]->Value());
  EXPECT_EQ(Dialog().height(), ShownHeight(1100));
  EXPECT_EQ(Dialog().width(), cps::TwipsToPixels(8250));
  EXPECT_FALSE(Dialog().fraToneData->isVisible());
  EXPECT_EQ(Dialog().pos() - EditorTopLeft(), QPoint(200, 200));
  EXPECT_FALSE(ToneDlgIsTx);
  EXPECT_EQ(ToneDlgChannel, 1);

  // "TKS" by Enter: the tone table, focus on its first entry.
  Dialog().optChOption[2]->SetFocus();
  Press(Qt::Key_Return);
  EXPECT_EQ(Dialog().height(), ShownHeight(4500));
  EXPECT_TRUE(Dialog().fraToneData->isVisible());
  EXPECT_FALSE(Dialog().fraDcsData->isVisible());
  ASSERT_EQ(Focused(), Dialog().txtToneData[0]);
  EXPECT_EQ(Dialog().txtToneData[0]->BackColor(), 0xFFC0C0u);
  Press(Qt::Key_Right);
  Press(Qt::Key_Down);
  EXPECT_EQ(Focused(), Dialog().txtToneData[10]);
  EXPECT_EQ(Dialog().txtToneData[0]->BackColor(), cps::kColourWindowBackground);
  Press(Qt::Key_Return);

  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(IsFrmChannelToneOptionLoaded());
  EXPECT_TRUE(MDIFormMain().isEnabled());
  EXPECT_EQ(Byte(2, 6), 11);
  EXPECT_EQ(Cell(2, 2), " TKS: 94.8 Hz");
  EXPECT_EQ(grid().CellForeColorAt(2, 4), cps::kColourButtonText) << "mute applies now";
  EXPECT_EQ(Cell(2, 13), "On");
  EXPECT_EQ(Byte(2, 9) & 0x02, 0x02);
  EXPECT_EQ(grid().Row(), 2);
  EXPECT_EQ(grid().Col(), 2);
  ASSERT_TRUE(BackOnTheMainWindow());
  EXPECT_EQ(Focused(), &grid());
  EXPECT_TRUE(DataModified) << "a choice made from the keyboard alone";
}

TEST_F(ChannelGuiTest, MousePressOpensOnAnInvertedCodeAndAClickAppliesOne) {
  SetRecord(3, {0x50, 0x03, 0x01, 0x00, 0x00, 0xFC, 80, 0, 0x81, 0xA0});  // receive IDKS 263
  grid().SetTextMatrix(3, 2, " IDKS: 263");
  QTest::mouseClick(grid().viewport(), Qt::LeftButton, Qt::NoModifier, PixelOf(3, 2));
  ASSERT_TRUE(IsFrmChannelToneOptionVisible());
  ASSERT_TRUE(WaitUntilActive(&Dialog()));
  EXPECT_TRUE(Dialog().optChOption[3]->Value());
  EXPECT_TRUE(Dialog().fraDcsData->isVisible());
  EXPECT_EQ(Dialog().height(), ShownHeight(5100));
  EXPECT_EQ(Focused(), Dialog().txtDcsData[37]);
  EXPECT_EQ(Dialog().txtDcsData[37]->BackColor(), 0xFFC0C0u);
  EXPECT_EQ(Dialog().txtDcsData[37]->Text(), "263");
  EXPECT_EQ(Dialog().lblDcsNo[37]->Caption(), "38");
  EXPECT_EQ(Dialog().lblToneNo[9]->Caption(), "0A");

  QTest::mouseClick(Dialog().txtDcsData[84], Qt::LeftButton);
  EXPECT_EQ(Byte(3, 6), 127);
  EXPECT_EQ(Byte(3, 9) & 0x20, 0x20);
  EXPECT_EQ(Cell(3, 2), " IDKS: 754");
  EXPECT_FALSE(IsFrmChannelToneOptionVisible());
  EXPECT_TRUE(MDIFormMain().isEnabled());

  // With "DKS" chosen the same box is the plain code.
  OpenDialogAt(3, 2);
  QTest::mouseClick(Dialog().optChOption[1], Qt::LeftButton);
  EXPECT_EQ(Focused(), Dialog().txtDcsData[0]) << "entry 0, not the channel's code";
  QTest::mouseClick(Dialog().txtDcsData[84], Qt::LeftButton);
  EXPECT_EQ(Byte(3, 6), 127);
  EXPECT_EQ(Byte(3, 9) & 0x20, 0);
  EXPECT_EQ(Cell(3, 2), " DKS: 754");
}

TEST_F(ChannelGuiTest, TransmitToneTurnsTurnOffCodeOffAndFreesReverseBurst) {
  // Channel 2 sends DKS 023 with the turn-off code on.
  SetRecord(2, {0x30, 0x00, 0x01, 0x80, 0x1F, 0x01, 0, 43, 0x91, 0x80});
  grid().SetTextMatrix(2, 6, " DKS: 023");
  grid().SetTextMatrix(2, 8, "On");
  OpenDialogAt(2, 6);
  EXPECT_TRUE(ToneDlgIsTx);
  EXPECT_EQ(Focused(), Dialog().txtDcsData[0]);

  QTest::mouseClick(Dialog().optChOption[2], Qt::LeftButton);
  QTest::mouseClick(Dialog().txtToneData[0], Qt::LeftButton);
  EXPECT_EQ(Byte(2, 7), 1);
  EXPECT_EQ(Cell(2, 6), " TKS: 67.0 Hz");
  EXPECT_EQ(Cell(2, 8), "Off");
  EXPECT_EQ(grid().CellForeColorAt(2, 8), cps::kColourGrayText);
  EXPECT_EQ(Byte(2, 8) & 0x10, 0);
  EXPECT_EQ(Cell(2, 10), "None");
  EXPECT_EQ(grid().CellForeColorAt(2, 10), cps::kColourButtonText);
  EXPECT_EQ(grid().Col(), 6);
}

TEST_F(ChannelGuiTest, EscWritesNothingAndEnablesBothWindows) {
  const auto before = CodeplugImage.Bytes();
  OpenDialogAt(1, 6);
  Dialog().optChOption[2]->SetFocus();
  Press(Qt::Key_Return);  // the tone table
  Dialog().optChOption[2]->SetFocus();
  Press(Qt::Key_Escape);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(IsFrmChannelToneOptionLoaded());
  EXPECT_TRUE(MDIFormMain().isEnabled());
  EXPECT_TRUE(frmMain().isEnabled());
  ASSERT_TRUE(BackOnTheMainWindow());
  EXPECT_EQ(Focused(), &grid());
  EXPECT_EQ(CodeplugImage.Bytes(), before);
  EXPECT_EQ(Cell(1, 6), " CSQ");

  // Esc in a table does the same.
  OpenDialogAt(1, 6);
  Dialog().optChOption[1]->SetFocus();
  Press(Qt::Key_Return);
  Press(Qt::Key_Down);
  Press(Qt::Key_Escape);
  EXPECT_FALSE(IsFrmChannelToneOptionVisible());
  EXPECT_EQ(CodeplugImage.Bytes(), before);
}

TEST_F(ChannelGuiTest, UserToneByAnyMouseButtonAndTalkaroundFromTheTexts) {
  // Channel 2 is a repeater: any choice turns talkaround on.
  OpenDialogAt(2, 6);
  QTest::mouseClick(Dialog().optChOption[5], Qt::RightButton);
  EXPECT_EQ(Byte(2, 7), 129);
  EXPECT_EQ(Cell(2, 6), " TKS2");
  EXPECT_EQ(Cell(2, 13), "On");
  EXPECT_EQ(TxSquelchOption[1], 5);
  // Reopened, it shows TKS2 with both tables hidden.
  OpenDialogAt(2, 6);
  EXPECT_TRUE(Dialog().optChOption[5]->Value());
  EXPECT_EQ(Dialog().height(), ShownHeight(1100));
  Press(Qt::Key_Escape);

  // Channel 1 is simplex; its receive side gets tone 100.0 Hz.
  OpenDialogAt(1, 2);
  QTest::mouseClick(Dialog().optChOption[2], Qt::LeftButton);
  QTest::mouseClick(Dialog().txtToneData[12], Qt::LeftButton);
  EXPECT_EQ(Cell(1, 2), " TKS: 100.0 Hz");
  EXPECT_EQ(Cell(1, 13), "On");
  // The same tone on the transmit side: the same both ways, talkaround greyed off.
  OpenDialogAt(1, 6);
  QTest::mouseClick(Dialog().optChOption[2], Qt::LeftButton);
  QTest::mouseClick(Dialog().txtToneData[12], Qt::LeftButton);
  EXPECT_EQ(Cell(1, 13), "Off");
  EXPECT_EQ(grid().CellForeColorAt(1, 13), cps::kColourGrayText);
  EXPECT_EQ(Byte(1, 9) & 0x02, 0);
  // Tone 13 differs again.
  OpenDialogAt(1, 6);
  QTest::mouseClick(Dialog().txtToneData[13], Qt::LeftButton);
  EXPECT_EQ(Cell(1, 13), "On");
  EXPECT_EQ(Byte(1, 9) & 0x02, 0x02);
}

TEST_F(ChannelGuiTest, UnloadingFromElsewhereEnablesTheMainWindow) {
  OpenRxToneOptionDialog(4);
  EXPECT_FALSE(MDIFormMain().isEnabled());
  UnloadFrmChannelToneOption();
  EXPECT_TRUE(MDIFormMain().isEnabled());
  EXPECT_FALSE(IsFrmChannelToneOptionVisible());
}
