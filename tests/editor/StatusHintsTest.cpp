// The status-bar hints: the mouse over a control writes its text into panel 1.
#include "EditorFixture.h"
#include "editor/StatusHints.h"
#include "platform/CheckBox.h"
#include "platform/ComboBox.h"
#include "platform/Frame.h"
#include "platform/Label.h"
#include "platform/ListBox.h"
#include "platform/TabControl.h"
#include "platform/TextBox.h"
#include "platform/UpDown.h"

namespace {

// Hints whose control is enabled at start-up, so the pointer reaches it.
void EnableAll(FrmMain& form) {
  for (QWidget* widget : form.findChildren<QWidget*>()) widget->setEnabled(true);
}

}  // namespace

TEST_F(EditorTest, HintStaysUntilAnotherControlWithAHintReplacesIt) {
  FrmMain& form = StartEditor();
  EnableAll(form);

  MoveMouseOver(form.chkQuickKey);
  EXPECT_EQ(HintPanel(), "Quick Key Override Enable Option");
  MoveMouseOver(form.cmbButton_S1);  // the button boxes have no hint of their own
  MoveMouseOver(form.cmbButton_L2);
  EXPECT_EQ(HintPanel(), "Quick Key Override Enable Option");

  MoveMouseOver(form.txtSuper);
  EXPECT_EQ(HintPanel(), "Input Regional Super Morvik Number 16 Characters");
  MoveMouseOver(form.udLookBackTime);
  EXPECT_EQ(HintPanel(), "Scan Interval Time : 750 to 5000msec");
  MoveMouseOver(form.lblTotTime);
  EXPECT_EQ(HintPanel(), "TX Time Out Time (sec)");
  MoveMouseOver(form.LstScan);
  EXPECT_EQ(HintPanel(), "Scan List Channel");
  MoveMouseOver(form.lblSerial_Num);
  EXPECT_EQ(HintPanel(), "Serial Number (Read Only)");
  MoveMouseOver(form.Frame3);
  EXPECT_EQ(HintPanel(), "Programmable Button Selection");
  MoveMouseOver(form.sstMain);
  EXPECT_EQ(HintPanel(), "Status");
}

TEST_F(EditorTest, TwoHintsKeepTheirTrailingBlank) {
  FrmMain& form = StartEditor();
  EnableAll(form);
  MoveMouseOver(form.chkTalkbakScan);
  EXPECT_EQ(HintPanel(), "Talkback Scan Enable Option ");
  MoveMouseOver(form.Frame2);
  EXPECT_EQ(HintPanel(), "User Defined TKS ");
}

TEST_F(EditorTest, PriorityChannelHintFollowsTheChannelCount) {
  FrmMain& form = StartEditor();
  EnableAll(form);
  CodeplugImage[2] = 8;
  MoveMouseOver(form.txtPrioScanChNo);
  EXPECT_EQ(HintPanel(), "Priority Scan Channel Number : 1 to 8Ch");
  CodeplugImage[2] = 16;
  MoveMouseOver(form.udPrioScanChNo);
  EXPECT_EQ(HintPanel(), "Priority Scan Channel Number : 1 to 16Ch");
  MoveMouseOver(form.lblPrioScanChNo);
  EXPECT_EQ(HintPanel(), "Prio. Scan Ch. No.");
}

TEST_F(EditorTest, EveryControlOfTheHintTableIsWiredAndNothingElseChanges) {
  FrmMain& form = StartEditor();
  EnableAll(form);
  CodeplugImage[2] = 16;
  const auto imageBefore = CodeplugImage.Bytes();
  const bool modifiedBefore = DataModified;
  for (const StatusHint& hint : kStatusHints) {
    const QList<QWidget*> controls = form.findChildren<QWidget*>(hint.control);
    ASSERT_FALSE(controls.isEmpty()) << hint.control;
    for (QWidget* control : controls) {
      MoveMouseOver(form.cmbButton_L1);  // away first: a label may lie under its box
      form.sbStatusBar->SetPanelText(1, "x");
      MoveMouseOver(control);
      const QString expected = hint.text == kComputedHint
                                   ? QString("Priority Scan Channel Number : 1 to 16Ch")
                                   : QString::fromLatin1(hint.text);
      EXPECT_EQ(HintPanel(), expected) << hint.control;
    }
  }
  EXPECT_EQ(CodeplugImage.Bytes(), imageBefore);
  EXPECT_EQ(DataModified, modifiedBefore);
}

TEST_F(EditorTest, DisabledPasswordAndSerialBoxesShowTheirHintThroughTheLabelBeneath) {
  FrmMain& form = StartEditor();  // both boxes are disabled at start-up
  ASSERT_FALSE(form.txtPassword->Enabled());
  ASSERT_FALSE(form.txtSerial->Enabled());
  MoveMouseOver(form.txtPassword);
  EXPECT_EQ(HintPanel(), "Input Password 8 Characters");
  MoveMouseOver(form.txtSerial);
  EXPECT_EQ(HintPanel(), "Serial Number (Read Only)");
}
