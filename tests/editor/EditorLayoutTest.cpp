// The editor window as designed and as its Load leaves it: controls, captions, first texts,
// ranges, geometry, the channel grid's layout and the new codeplug in the image.
#include "EditorFixture.h"
#include "platform/CheckBox.h"
#include "platform/ComboBox.h"
#include "platform/CommandButton.h"
#include "platform/FlexGrid.h"
#include "platform/Frame.h"
#include "platform/Label.h"
#include "platform/ListBox.h"
#include "platform/TabControl.h"
#include "platform/TextBox.h"
#include "platform/UpDown.h"

namespace {

QStringList Entries(const cps::ComboBox* list) {
  QStringList entries;
  for (int i = 0; i < list->ListCount(); ++i) entries << list->List(i);
  return entries;
}

struct SpinRange {
  cps::UpDown* spin;
  int min, max, increment;
};

}  // namespace

TEST_F(EditorTest, DesignHasEveryControlWithItsCaptionFirstTextAndRange) {
  FrmMain form;
  EXPECT_EQ(form.windowTitle(), "Corvana CPS");

  // Every control of the hint table is found by its name in the hint test; these have none.
  for (QWidget* control : std::initializer_list<QWidget*>{
           form.cmbButton_S1, form.cmbButton_L1, form.cmbButton_S2, form.cmbButton_L2,
           form.fgChannel, form.txtChannelInput, form.sbStatusBar, form.lblRx, form.lblTx}) {
    ASSERT_NE(control, nullptr);
  }
  EXPECT_EQ(form.findChildren<QWidget*>("txtTKS_RxFrequency").size(), 3);
  EXPECT_EQ(form.findChildren<QWidget*>("txtTKS_TxFrequency").size(), 3);

  EXPECT_EQ(form.sstMain->Tabs(), 2);
  EXPECT_EQ(form.sstMain->TabCaption(0), "&Radio Configuration");
  EXPECT_EQ(form.sstMain->TabCaption(1), "Conventional Personality");
  EXPECT_EQ(form.sbStatusBar->Panels(), 3);
  EXPECT_EQ(form.sbStatusBar->PanelText(1), "Status");

  EXPECT_EQ(form.chkTalkbakScan->Caption(), "Talkback Scan Enable");
  EXPECT_EQ(form.chkPowerSaveEnable->Caption(), "Battery Save Mode Enable");
  EXPECT_EQ(form.chkTotEnable->Caption(), "TOT Enable");
  EXPECT_EQ(form.Frame2->Caption(), "  User Defined TKS ");
  EXPECT_EQ(form.fraTot->Caption(), "Time Out Timer (TOT)");
  EXPECT_EQ(form.CmdAdd->Caption(), "Add >>");
  EXPECT_EQ(form.CmdRemove->Caption(), "<< Remove");
  EXPECT_EQ(form.lblPrioScanChNo->Caption(), " Prio. Scan Ch. No.");
  EXPECT_EQ(form.lblTotTime->Caption(), " Tx Time Out Time (sec)");
  EXPECT_EQ(form.lblTKS3->Caption(), " TKS3 (Hz)");
  EXPECT_EQ(form.lblSuper->Caption(), "Regional Super Morvik");
  EXPECT_EQ(form.lblSerial->Caption(), "Serial Number");
  EXPECT_EQ(form.Label18->Caption(), "Codeplug Version");

  const QStringList shortPress = {
      "Hi/Low Power",          "Volume Set", "Monitor",    "Sticky Monitor",    "Scan",
      "Repeater / Talkaround", "KS/DKS",     "Unassigned", "Battery Save Mode", "Squelch"};
  EXPECT_EQ(Entries(form.cmbButton_S1), shortPress);
  EXPECT_EQ(Entries(form.cmbButton_S2), shortPress);
  EXPECT_EQ(form.cmbButton_S1->ListIndex(), -1);
  EXPECT_EQ(form.cmbButton_L1->ListCount(), 0);
  EXPECT_EQ(form.cmbButton_L2->ListCount(), 0);

  const char* tones[] = {"120.0", "200.0", "255.0"};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(form.txtTKS_RxFrequency[k]->Text(), tones[k]);
    EXPECT_EQ(form.txtTKS_TxFrequency[k]->Text(), tones[k]);
    EXPECT_EQ(form.txtTKS_RxFrequency[k]->MaxLength(), 5);
    EXPECT_EQ(form.txtTKS_TxFrequency[k]->MaxLength(), 5);
  }
  EXPECT_EQ(form.txtPassword->MaxLength(), 8);
  EXPECT_EQ(form.txtPassword->Text(), "");
  EXPECT_EQ(form.txtSerial->MaxLength(), 0);  // limited only from the first key

  EXPECT_EQ(form.txtTotTime->Text(), "180");
  EXPECT_EQ(form.txtTotPenaltyTime->Text(), "5");
  EXPECT_EQ(form.txtScanSpeedTime->Text(), "100");
  EXPECT_EQ(form.txtScanDelayTime->Text(), "4000");
  EXPECT_EQ(form.txtLookBackTime->Text(), "4000");
  EXPECT_EQ(form.txtPrioScanChNo->Text(), "1");
  EXPECT_TRUE(form.txtTotTime->Locked());

  for (const SpinRange& r :
       {SpinRange{form.udTotTime, 10, 600, 10}, SpinRange{form.udTotPenaltyTime, 1, 10, 1},
        SpinRange{form.udScanSpeedTime, 50, 500, 10},
        SpinRange{form.udScanDelayTime, 500, 9500, 500},
        SpinRange{form.udLookBackTime, 750, 5000, 250}, SpinRange{form.udPrioScanChNo, 1, 16, 1}}) {
    EXPECT_EQ(r.spin->Min(), r.min) << r.spin->objectName().toStdString();
    EXPECT_EQ(r.spin->Max(), r.max) << r.spin->objectName().toStdString();
    EXPECT_EQ(r.spin->Increment(), r.increment) << r.spin->objectName().toStdString();
  }
  EXPECT_EQ(form.udTotTime->Buddy(), form.txtTotTime);
  EXPECT_EQ(form.udPrioScanChNo->Buddy(), form.txtPrioScanChNo);

  EXPECT_EQ(form.tmrTimer1->interval(), 200);
  EXPECT_TRUE(form.tmrTimer1->isActive());
  EXPECT_FALSE(form.txtChannelInput->Visible());
}

TEST_F(EditorTest, LoadPlacesTheWindowAndLaysOutTabsAndGrid) {
  cps::SaveSetting("Settings", "MainLeft", "500");
  cps::SaveSetting("Settings", "MainTop", "700");
  cps::SaveSetting("Settings", "MainWidth", "9000");
  cps::SaveSetting("Settings", "MainHeight", "abc");
  FrmMain& form = StartEditor();

  // Stored placement is read but the fixed placement wins.
  EXPECT_EQ(form.Left(), 0);
  EXPECT_EQ(form.Top(), 0);
  EXPECT_EQ(form.Width(), 15120);
  EXPECT_EQ(form.Height(), 7800);
  EXPECT_EQ(form.sstMain->Tab(), 0);
  // Sizes are pixels on screen: a length in twips shows at its nearest whole pixel.
  EXPECT_EQ(form.sstMain->width(), cps::TwipsToPixels(12020));
  EXPECT_EQ(form.sstMain->height(), cps::TwipsToPixels(6800));

  cps::FlexGrid* grid = form.fgChannel;
  EXPECT_EQ(grid->Rows(), 17);
  EXPECT_EQ(grid->Cols(), 14);
  EXPECT_EQ(grid->width(), cps::TwipsToPixels(11660));
  EXPECT_EQ(grid->height(), cps::TwipsToPixels(5400));
  EXPECT_EQ(grid->Appearance(), cps::kAppearance3D);
  const QStringList headers = {"Ch No",     "Rx Freq.",  "KS Option", "SQ",  "Mute",
                               "Tx Freq.",  "KS Option", "PWR",       "TOC", "Rx Only",
                               "Rev Burst", "BCLO",      "Band",      "TA"};
  const int widths[] = {580, 1260, 1240, 725, 600, 1260, 1240, 600, 600, 740, 880, 670, 590, 590};
  for (int col = 0; col < 14; ++col) {
    EXPECT_EQ(grid->TextMatrix(0, col), headers[col]) << col;
    EXPECT_EQ(grid->ColWidth(col), widths[col]) << col;
  }
  for (int row = 1; row <= 16; ++row) {
    EXPECT_EQ(grid->TextMatrix(row, 0), QString::number(row));
    EXPECT_EQ(grid->RowHeight(row), 315);
  }

  EXPECT_EQ(form.cmbButton_S1->Text(), "Monitor");
  EXPECT_EQ(form.cmbButton_S2->Text(), "Hi/Low Power");
  EXPECT_EQ(HintPanel(), "Status");
}

TEST_F(EditorTest, LoadBuildsTheNewCodeplugImage) {
  ExitRequested = true;  // only the editor's Load clears it
  StartEditor();

  EXPECT_EQ(CodeplugImage[2], 0);  // the channel count stays 0 until the first load
  EXPECT_EQ(CodeplugImage[3], 0xA5);
  EXPECT_EQ(CodeplugImage[4], 0x0F);
  // Timers: 180 s, 100 ms, 4000 ms, 4000 ms, 5 s, then 60, 20, 10; priority channel 1.
  const int timers[] = {18, 10, 8, 16, 5, 60, 20, 10, 1};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(CodeplugImage[6 + i], timers[i]) << 6 + i;
  // Buttons: Monitor / Unassigned, Hi/Low Power / Unassigned.
  EXPECT_EQ(CodeplugImage[240], 3);
  EXPECT_EQ(CodeplugImage[241], 8);
  EXPECT_EQ(CodeplugImage[242], 1);
  EXPECT_EQ(CodeplugImage[243], 8);
  // User tone range bits and sixteen empty channel records.
  EXPECT_EQ(CodeplugImage[238], 0x15);
  EXPECT_EQ(CodeplugImage[239], 0x3F);
  const uint8_t empty[] = {0x00, 0x00, 0xFC, 0x00, 0x00, 0xFC, 0x00, 0x00, 0x81, 0x80};
  for (int channel = 1; channel <= 16; ++channel) {
    for (int i = 0; i < 10; ++i) {
      EXPECT_EQ(CodeplugImage[16 + 10 * (channel - 1) + i], empty[i]) << channel << "/" << i;
    }
  }
  EXPECT_FALSE(ExitRequested);
}

TEST_F(EditorTest, StartUpLeavesEveryEditingControlDisabled) {
  FrmMain& form = StartEditor();
  std::vector<QWidget*> controls = {
      form.txtPassword,       form.txtSerial,        form.chkScanEnable,
      form.chkPrioScanEnable, form.chkTotEnable,     form.chkPowerSaveEnable,
      form.chkQuickKey,       form.chkTalkbakScan,   form.txtScanSpeedTime,
      form.udScanDelayTime,   form.txtPrioScanChNo,  form.udLookBackTime,
      form.txtTotTime,        form.udTotPenaltyTime, form.Label2,
      form.cmbButton_S1,      form.cmbButton_L2,     form.LstChannel,
      form.LstScan,           form.CmdAdd,           form.CmdRemove,
      form.lblTKS2,           form.fgChannel};
  for (int k = 0; k < 3; ++k) {
    controls.push_back(form.txtTKS_RxFrequency[k]);
    controls.push_back(form.txtTKS_TxFrequency[k]);
  }
  // Each control's own flag, not the window's.
  for (QWidget* control : controls) {
    EXPECT_TRUE(control->testAttribute(Qt::WA_ForceDisabled))
        << control->objectName().toStdString();
  }
}
