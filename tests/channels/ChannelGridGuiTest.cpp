#include <QTest>

#include "ChannelGuiFixture.h"
#include "channels/ChannelGrid.h"
#include "platform/CheckBox.h"
#include "platform/ListBox.h"
#include "platform/StatusBar.h"
#include "platform/TextConv.h"

TEST_F(ChannelGuiTest, TypingADigitOpensTheEditorAndEnterCommitsAndMovesRight) {
  GoTo(4, 1);
  Type("4");
  ASSERT_TRUE(editor().Visible());
  EXPECT_EQ(editor().Text(), "4");
  EXPECT_EQ(editor().SelStart(), 1);
  EXPECT_EQ(Focused(), &editor());
  Type("65.0125");
  Press(Qt::Key_Return);

  EXPECT_FALSE(editor().Visible());
  EXPECT_EQ(Cell(4, 1), "465.01250");
  // (465.0125 - 45.1) MHz / 6.25 kHz = 67186 = 01 06 72.
  EXPECT_EQ(Byte(4, 0), 0x72);
  EXPECT_EQ(Byte(4, 1), 0x06);
  EXPECT_EQ(Byte(4, 2), 0x01);
  EXPECT_EQ(CodeplugImage[layout::RxStepFlag(4)], 1);
  EXPECT_EQ(grid().Row(), 4);
  EXPECT_EQ(grid().Col(), 2);
  EXPECT_EQ(Focused(), &grid());
  // Only a transmit frequency differs: talkaround on, in the normal colour.
  EXPECT_EQ(Cell(4, 13), "On");
  EXPECT_EQ(Byte(4, 9) & 0x02, 0x02);
  EXPECT_EQ(grid().CellForeColorAt(4, 13), cps::kColourButtonText);
  EXPECT_TRUE(DataModified) << "an edit made from the keyboard alone";
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(ChannelGuiTest, CharactersThatAreNoDigitAreRefused) {
  GoTo(4, 1);
  Type(".");
  Type("a");
  EXPECT_FALSE(editor().Visible());
  EXPECT_EQ(Messages(), (QStringList{"Invalid number", "Invalid number"}));
  EXPECT_EQ(cps::DialogScript::Messages()[0].title, "Corvana CPS");

  // Inside the editor only digits, the point and the editing keys pass.
  Type("4");
  Type("5x0");
  EXPECT_EQ(editor().Text(), "450");
  EXPECT_EQ(Messages().size(), 3);
  Press(Qt::Key_Escape);
}

TEST_F(ChannelGuiTest, UpInTheFirstRowCommitsWithoutMovingAndDownMoves) {
  GoTo(1, 5);
  Type("458");
  Press(Qt::Key_Up);
  EXPECT_EQ(Cell(1, 5), "458.00000");
  EXPECT_EQ(grid().Row(), 1);
  EXPECT_EQ(grid().Col(), 5);
  // 458 MHz / 6.25 kHz = 73280 = 01 1E 40.
  EXPECT_EQ(Byte(1, 3), 0x40);
  EXPECT_EQ(Byte(1, 4), 0x1E);

  Type("459");
  Press(Qt::Key_Down);
  EXPECT_EQ(Cell(1, 5), "459.00000");
  EXPECT_EQ(grid().Row(), 2);

  // Down in the last row stays there.
  GoTo(16, 1);
  Type("451");
  Press(Qt::Key_Down);
  EXPECT_EQ(Cell(16, 1), "451.00000");
  EXPECT_EQ(grid().Row(), 16);
}

TEST_F(ChannelGuiTest, TabInTheEditorCommitsAndMovesOneColumnRight) {
  GoTo(5, 5);
  // Tab reaches the grid: on a frequency cell it opens the editor with the cell's text.
  Press(Qt::Key_Tab);
  ASSERT_TRUE(editor().Visible());
  EXPECT_EQ(editor().Text(), "");
  Type("470");
  Press(Qt::Key_Tab);
  EXPECT_FALSE(editor().Visible());
  EXPECT_EQ(Cell(5, 5), "470.00000");
  EXPECT_EQ(grid().Col(), 6);
  EXPECT_EQ(Focused(), &grid());
}

TEST_F(ChannelGuiTest, RefusedFrequenciesShowTheStoredValueAgain) {
  GoTo(1, 1);
  Type("471");
  Press(Qt::Key_Return);
  EXPECT_EQ(Messages(), QStringList{"Out of Frequency Range"});
  EXPECT_EQ(Cell(1, 1), "460.00000");
  EXPECT_FALSE(editor().Visible());
  EXPECT_EQ(grid().Col(), 2) << "the cursor still moves";

  GoTo(3, 5);
  Type("450.001");
  Press(Qt::Key_Return);
  EXPECT_EQ(Messages().last(), "Frequency is not valid");
  EXPECT_EQ(Cell(3, 5), "");
  EXPECT_EQ(Byte(3, 5), 0xFC);
  EXPECT_FALSE(DataModified);
}

TEST_F(ChannelGuiTest, EscInTheEditorCommitsNothing) {
  GoTo(2, 1);
  Type("466");
  Press(Qt::Key_Escape);
  EXPECT_FALSE(editor().Visible());
  EXPECT_EQ(Cell(2, 1), "455.00000");
  EXPECT_EQ(Byte(2, 0), 0x30);
  EXPECT_EQ(Focused(), &grid());
  EXPECT_EQ(grid().Col(), 1);
  // Leaving the cell afterwards commits nothing either.
  Press(Qt::Key_Right);
  EXPECT_EQ(Cell(2, 1), "455.00000");
  EXPECT_FALSE(DataModified);
}

TEST_F(ChannelGuiTest, DoubleClickEditsOnlyAfterALeftPressOnADataCell) {
  QWidget* cells = grid().viewport();
  QTest::mouseClick(cells, Qt::LeftButton, Qt::NoModifier, PixelOf(2, 5));
  EXPECT_TRUE(DataModified);
  QTest::mouseDClick(cells, Qt::LeftButton, Qt::NoModifier, PixelOf(2, 5));
  ASSERT_TRUE(editor().Visible());
  EXPECT_EQ(editor().Text(), "460.00000");
  EXPECT_EQ(editor().SelStart(), 9);
  EXPECT_EQ(editor().MaxLength(), 9);
  Press(Qt::Key_Escape);

  // A right press disarms the double click; the header row and the channel column never edit.
  QTest::mouseClick(cells, Qt::RightButton, Qt::NoModifier, PixelOf(2, 5));
  QTest::mouseDClick(cells, Qt::LeftButton, Qt::NoModifier, PixelOf(2, 5));
  EXPECT_FALSE(editor().Visible());
  QTest::mouseClick(cells, Qt::LeftButton, Qt::NoModifier, PixelOf(0, 3));
  QTest::mouseDClick(cells, Qt::LeftButton, Qt::NoModifier, PixelOf(0, 3));
  QTest::mouseClick(cells, Qt::LeftButton, Qt::NoModifier, PixelOf(2, 0));
  QTest::mouseDClick(cells, Qt::LeftButton, Qt::NoModifier, PixelOf(2, 0));
  EXPECT_FALSE(editor().Visible());
  EXPECT_EQ(Cell(2, 3), "Normal");

  // On a toggle column the double click runs its action.
  QTest::mouseClick(cells, Qt::LeftButton, Qt::NoModifier, PixelOf(2, 3));
  QTest::mouseDClick(cells, Qt::LeftButton, Qt::NoModifier, PixelOf(2, 3));
  EXPECT_EQ(Cell(2, 3), "Tight");
  EXPECT_EQ(Byte(2, 8) & 0x20, 0x20);
}

TEST_F(ChannelGuiTest, HoldingCtrlBlocksTheDoubleClickUntilReleased) {
  QWidget* cells = grid().viewport();
  GoTo(2, 1);
  QTest::keyPress(&grid(), Qt::Key_Control, Qt::ControlModifier);
  EXPECT_TRUE(ClipboardKeyPending);
  QTest::mouseClick(cells, Qt::LeftButton, Qt::ControlModifier, PixelOf(2, 1));
  QTest::mouseDClick(cells, Qt::LeftButton, Qt::ControlModifier, PixelOf(2, 1));
  EXPECT_FALSE(editor().Visible());
  QTest::keyRelease(&grid(), Qt::Key_Control, Qt::NoModifier);
  EXPECT_FALSE(ClipboardKeyPending);
  QTest::mouseDClick(cells, Qt::LeftButton, Qt::NoModifier, PixelOf(2, 1));
  EXPECT_TRUE(editor().Visible());
  Press(Qt::Key_Escape);
}

TEST_F(ChannelGuiTest, DeleteEmptiesAFrequencyAndTakesTheChannelOffTheScanList) {
  // Channel 3 joins the scan list beside channel 1.
  CodeplugImage[layout::ScanListSlot(3)] = 3;
  CodeplugImage.SetWord(layout::kScanListBitmap, 0x0005);
  f().LstChannel->RemoveItem(1);  // "003"
  f().LstScan->AddItem("003");

  GoTo(3, 1);
  Press(Qt::Key_Delete);
  EXPECT_EQ(Cell(3, 1), "");
  EXPECT_EQ(Byte(3, 0), 0x00);
  EXPECT_EQ(Byte(3, 1), 0x00);
  EXPECT_EQ(Byte(3, 2), 0xFC);
  EXPECT_EQ(CodeplugImage[layout::ScanListSlot(3)], 0);
  EXPECT_EQ(CodeplugImage[244], 0x01);
  EXPECT_EQ(f().LstScan->ListCount(), 1);
  EXPECT_EQ(f().LstScan->List(0), "001");
  EXPECT_EQ(f().LstChannel->List(1), "003");
  EXPECT_EQ(Cell(3, 13), "Off") << "a deletion leaves talkaround alone";
  EXPECT_TRUE(DataModified);
  EXPECT_TRUE(Messages().isEmpty());

  // Delete on other columns does nothing.
  GoTo(2, 3);
  Press(Qt::Key_Delete);
  EXPECT_EQ(Cell(2, 3), "Normal");
}

TEST_F(ChannelGuiTest, DeleteOnThePriorityChannelIsRefusedOnItsFrequencyCellsOnly) {
  f().chkPrioScanEnable->SetEnabled(true);
  f().chkPrioScanEnable->SetValue(1);
  cps::DialogScript::Reset();
  GoTo(1, 5);
  Press(Qt::Key_Delete);
  EXPECT_EQ(Messages(), QStringList{"Not Allowed To Delete Priority Channel Frequency  "});
  EXPECT_EQ(Cell(1, 5), "460.00000");
  EXPECT_EQ(Byte(1, 5), 0x01);

  GoTo(1, 4);
  Press(Qt::Key_Delete);
  GoTo(1, 9);
  Press(Qt::Key_Delete);
  EXPECT_EQ(Messages().size(), 1);

  // With priority scan off the same channel's frequency can go.
  f().chkPrioScanEnable->SetValue(0);
  GoTo(1, 5);
  Press(Qt::Key_Delete);
  EXPECT_EQ(Cell(1, 5), "");
}

TEST_F(ChannelGuiTest, EnterRunsTheColumnsActionFromTheKeyboard) {
  GoTo(2, 9);
  Press(Qt::Key_Return);
  EXPECT_EQ(Cell(2, 9), "On");
  EXPECT_EQ(Byte(2, 8) & 0x40, 0x40);
  EXPECT_TRUE(DataModified);

  // Mute on a carrier-squelch channel greys and changes nothing.
  GoTo(2, 4);
  Press(Qt::Key_Return);
  EXPECT_EQ(grid().CellForeColorAt(2, 4), cps::kColourGrayText);
  EXPECT_EQ(Cell(2, 4), "1");

  // Talkaround on the simplex channel 1: grey; on the repeater channel 2 it toggles.
  GoTo(1, 13);
  Press(Qt::Key_Return);
  EXPECT_EQ(grid().CellForeColorAt(1, 13), cps::kColourGrayText);
  EXPECT_EQ(Cell(1, 13), "Off");
  GoTo(2, 13);
  Press(Qt::Key_Return);
  EXPECT_EQ(Cell(2, 13), "On");
  EXPECT_EQ(Byte(2, 9) & 0x02, 0x02);

  // Enter on the channel-number column does nothing.
  GoTo(2, 0);
  const QString before = Cell(2, 0);
  Press(Qt::Key_Return);
  EXPECT_EQ(Cell(2, 0), before);
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(ChannelGuiTest, ReverseBurstAsksForTheUserToneFrequency) {
  SetRecord(2, {0x30, 0x00, 0x01, 0x80, 0x1F, 0x01, 0, 5, 0x81, 0x80});  // transmit tone 5
  grid().SetTextMatrix(2, 6, " TKS: 77.0 Hz");
  f().txtTKS_RxFrequency[0]->SetText("0");
  GoTo(2, 10);
  Press(Qt::Key_Return);
  EXPECT_EQ(Messages(), QStringList{"Input TKS Frequency"});
  EXPECT_EQ(Cell(2, 10), "None");

  f().txtTKS_RxFrequency[0]->SetText("100.0");
  Press(Qt::Key_Return);
  EXPECT_EQ(Cell(2, 10), "180");
  EXPECT_EQ(Byte(2, 8) & 0x0C, 0x08);
}

TEST_F(ChannelGuiTest, SimplexCommitGreysTalkaround) {
  // Channel 2 becomes simplex: both frequencies 460 MHz, both options " CSQ".
  GoTo(2, 13);
  Press(Qt::Key_Return);
  ASSERT_EQ(Cell(2, 13), "On");
  GoTo(2, 1);
  Type("460");
  Press(Qt::Key_Return);
  EXPECT_EQ(Cell(2, 13), "Off");
  EXPECT_EQ(grid().CellForeColorAt(2, 13), cps::kColourGrayText);
  EXPECT_EQ(Byte(2, 9) & 0x02, 0);
}

TEST_F(ChannelGuiTest, MainWindowCommandCommitsThePendingEdit) {
  GoTo(6, 1);
  Type("462.5");
  ASSERT_TRUE(editor().Visible());
  MDIFormMain().mnuContents_Click();  // Help Topics
  EXPECT_FALSE(editor().Visible());
  EXPECT_EQ(Cell(6, 1), "462.50000");
  // (462.5 - 45.1) MHz / 6.25 kHz = 66784 = 01 04 E0.
  EXPECT_EQ(Byte(6, 0), 0xE0);
  EXPECT_EQ(Byte(6, 1), 0x04);
  EXPECT_EQ(Byte(6, 2), 0x01);
  EXPECT_EQ(cps::DialogScript::HelpRequests().size(), 1);

  // An emptied cell committed by a command deletes the frequency.
  GoTo(6, 1);
  Press(Qt::Key_Backspace);  // opens the editor with the cell's text
  editor().SetText("");
  MDIFormMain().mnuContents_Click();
  EXPECT_EQ(Cell(6, 1), "");
  EXPECT_EQ(Byte(6, 2), 0xFC);
  EXPECT_EQ(SkipLeaveCellCommit, 0) << "the move after the deletion used it up";
}

TEST_F(ChannelGuiTest, HintsFollowThePointer) {
  QTest::mouseMove(grid().viewport(), PixelOf(5, 0));
  EXPECT_EQ(grid().ToolTipText(), "Ch No : 5");
  EXPECT_EQ(f().sbStatusBar->PanelText(1), "Channel Number");
  CodeplugImage[layout::kFixedBandwidthCode] = 48;
  QTest::mouseMove(grid().viewport(), PixelOf(3, 12));
  EXPECT_EQ(grid().ToolTipText(), "6.25KHz");
  EXPECT_EQ(f().sbStatusBar->PanelText(1), "Channel Bandwidth Setting");
}

TEST_F(ChannelGuiTest, LeavingTheCellWhileTypingCommitsOnce) {
  // A click on another cell: the editor's focus loss commits, then the click moves the cursor.
  GoTo(7, 1);
  Type("457");
  QTest::mouseClick(grid().viewport(), Qt::LeftButton, Qt::NoModifier, PixelOf(8, 3));
  EXPECT_FALSE(editor().Visible());
  EXPECT_EQ(Cell(7, 1), "457.00000");
  // (457 - 45.1) MHz / 6.25 kHz = 65904 = 01 01 70.
  EXPECT_EQ(Byte(7, 0), 0x70);
  EXPECT_EQ(Byte(7, 1), 0x01);
  EXPECT_EQ(grid().Row(), 8);
  EXPECT_EQ(grid().Col(), 3);

  // The program moving the current cell while the editor is shown commits it as well.
  GoTo(9, 5);
  Type("468");
  grid().SetRow(10);
  EXPECT_FALSE(editor().Visible());
  EXPECT_EQ(Cell(9, 5), "468.00000");
  EXPECT_EQ(Byte(9, 3), 0x80);  // 74880 = 01 24 80
  EXPECT_EQ(Byte(9, 4), 0x24);
  EXPECT_EQ(Byte(9, 5), 0x01);
  EXPECT_EQ(grid().Row(), 10);
  EXPECT_TRUE(Messages().isEmpty());
}
