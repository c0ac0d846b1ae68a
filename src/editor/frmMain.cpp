#include "editor/frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>

#include "channels/ChannelGrid.h"
#include "channels/frmChannelToneOption.h"
#include "editor/FillChain.h"
#include "editor/PortFile.h"
#include "editor/StatusHints.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/AppSettings.h"
#include "platform/CheckBox.h"
#include "platform/ComboBox.h"
#include "platform/CommandButton.h"
#include "platform/Dialogs.h"
#include "platform/FlexGrid.h"
#include "platform/Frame.h"
#include "platform/Label.h"
#include "platform/ListBox.h"
#include "platform/StatusBar.h"
#include "platform/TabControl.h"
#include "platform/TextBox.h"
#include "platform/TextConv.h"
#include "platform/UpDown.h"
#include "shell/MDIFormMain.h"

namespace {

QPointer<FrmMain> g_frmMain;
bool g_unloading = false;  // UnloadFrmMain is running Form_Unload
ProgramLeds* g_programLeds = nullptr;

constexpr int kTimerIntervalMs = 200;
constexpr int kStatusPanels = 3;
constexpr int kHintPanel = 1;

// Design of the editor window, in twips.
constexpr int kMargin = 60;
constexpr int kStatusBarHeight = 330;
constexpr int kSideLeft = kMargin + kSstMainWidth + 120;
constexpr int kSideWidth = kFrmMainWidth - kSideLeft - 240;
constexpr int kLabelHeight = 255;
constexpr int kBoxHeight = 315;
constexpr int kSpinWidth = 255;

// The design's placement before Load reads the settings.
constexpr int kDefaultLeft = 1000;
constexpr int kDefaultTop = 2000;
constexpr int kDefaultWidth = 6500;
constexpr int kDefaultHeight = 6400;

struct GridColumn {
  const char* header;
  int width;
};
constexpr std::array<GridColumn, kGridCols> kGridColumns = {{
    {"Ch No", 580},
    {"Rx Freq.", 1260},
    {"KS Option", 1240},
    {"SQ", 725},
    {"Mute", 600},
    {"Tx Freq.", 1260},
    {"KS Option", 1240},
    {"PWR", 600},
    {"TOC", 600},
    {"Rx Only", 740},
    {"Rev Burst", 880},
    {"BCLO", 670},
    {"Band", 590},
    {"TA", 590},
}};

// The short-press entries the window is designed with. Every load replaces them with its own
// list, so "Repeater / Talkaround" is written with blanks here only.
constexpr std::array<const char*, 10> kDesignShortPressEntries = {
    "Hi/Low Power",          "Volume Set", "Monitor",    "Sticky Monitor",    "Scan",
    "Repeater / Talkaround", "KS/DKS",     "Unassigned", "Battery Save Mode", "Squelch"};
constexpr int kDesignButton1ShortEntry = 2;  // "Monitor"
constexpr int kDesignButton2ShortEntry = 0;  // "Hi/Low Power"

// Default button codes: Monitor / Unassigned, Hi/Low Power / Unassigned.
constexpr uint8_t kDefaultButton1Short = 3;
constexpr uint8_t kDefaultButton1Long = 8;
constexpr uint8_t kDefaultButton2Short = 1;
constexpr uint8_t kDefaultButton2Long = 8;
constexpr uint8_t kNoBandYet = 15;
constexpr uint8_t kImageMarkerValue = 0xA5;

// A spin control's design: its range, step and first value (the new-codeplug value).
struct SpinDesign {
  int min;
  int max;
  int increment;
  int value;
};

template <class T>
T* Make(QWidget* parent, const char* name) {
  auto* control = new T(parent);
  control->setObjectName(QString::fromLatin1(name));
  return control;
}

template <class T>
T* MakeCaptioned(QWidget* parent, const char* name, const QString& caption) {
  T* control = Make<T>(parent, name);
  control->SetCaption(caption);
  return control;
}

cps::TextBox* MakeBox(QWidget* parent, const char* name, const QString& text, int maxLength) {
  auto* box = Make<cps::TextBox>(parent, name);
  box->SetMaxLength(maxLength);
  box->SetText(text);
  return box;
}

cps::UpDown* MakeSpin(QWidget* parent, const char* name, cps::TextBox* buddy,
                      const SpinDesign& design) {
  auto* spin = Make<cps::UpDown>(parent, name);
  spin->SetMin(design.min);
  spin->SetMax(design.max);
  spin->SetIncrement(design.increment);
  spin->SetBuddy(buddy);
  spin->SetValue(design.value);
  return spin;
}

// One numeric field: its caption label, its read-only box and the spin control bound to it.
struct NumericRowNames {
  const char* label;
  const char* box;
  const char* spin;
};
struct NumericRow {
  cps::Label*& label;
  cps::TextBox*& box;
  cps::UpDown*& spin;
};

void MakeNumericRow(QWidget* frame, int top, const NumericRowNames& names, const QString& caption,
                    const SpinDesign& design, NumericRow row) {
  row.label = MakeCaptioned<cps::Label>(frame, names.label, caption);
  row.label->Move(120, top + 30, 2460, kLabelHeight);
  row.box = MakeBox(frame, names.box, QString(), 0);
  row.box->SetLocked(true);  // changed only by the arrow keys and the spin control
  row.box->Move(2600, top, 780, kBoxHeight);
  row.spin = MakeSpin(frame, names.spin, row.box, design);
  row.spin->Move(3390, top, kSpinWidth, kBoxHeight);
}

// A box that lies over a label of the same place and size: while the box is disabled the
// pointer reaches the label below it, which then shows the box's hint.
class PassMouseWhileDisabled : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::EnabledChange) {
      auto* widget = static_cast<QWidget*>(watched);
      widget->setAttribute(Qt::WA_TransparentForMouseEvents, !widget->isEnabled());
    }
    return false;
  }
};

void LayBoxOverLabel(cps::TextBox* box, cps::Label* under) {
  under->Move(box->Left(), box->Top(), box->Width(), box->Height());
  under->lower();
  box->raise();
  box->installEventFilter(new PassMouseWhileDisabled(box));
}

// Toggles the blinking LED: pale when it was lit, bright when it was not.
void ToggleLed() {
  LedLit = !LedLit;
  if (g_programLeds == nullptr) return;
  if (LedBlinkGreen) {
    g_programLeds->SetGreenBackColor(LedLit ? kGreenLedBright : kGreenLedPale);
  } else {
    g_programLeds->SetRedBackColor(LedLit ? kRedLedBright : kRedLedPale);
  }
}

// One tick of a time-out: counts down while running and not yet expired. A count that was
// started at 0 or below expires at once instead of never, so no wait can hang on it.
void CountDown(bool& running, bool& timedOut, int& ticks) {
  if (!running || timedOut) return;
  --ticks;
  if (ticks <= 0) {
    running = false;
    timedOut = true;
  }
}

std::array<QAction*, 8> PortMenuItems() {
  MdiFormMain& main = MDIFormMain();
  return {main.mnuPortCom1, main.mnuPortCom2, main.mnuPortCom3, main.mnuPortCom4,
          main.mnuPortCom5, main.mnuPortCom6, main.mnuPortCom7, main.mnuPortCom8};
}

}  // namespace

// --- LED registration ------------------------------------------------------------------------

void SetProgramLeds(ProgramLeds* leds) { g_programLeds = leds; }
ProgramLeds* GetProgramLeds() { return g_programLeds; }

// --- Construction ------------------------------------------------------------------------------

FrmMain::FrmMain() {
  setObjectName("frmMain");
  setWindowTitle(cps::kAppTitle);
  CreateIdentityControls();
  CreateTabControl();
  CreateStatusBar();
  tmrTimer1 = new QTimer(this);
  tmrTimer1->setInterval(kTimerIntervalMs);
  ConnectHandlers();
  ConnectStatusHints(*this);
  tmrTimer1->start();
  resize(cps::TwipsToPixels(kDefaultWidth), cps::TwipsToPixels(kDefaultHeight));
  move(cps::TwipsToPixels(kDefaultLeft), cps::TwipsToPixels(kDefaultTop));
}

FrmMain::~FrmMain() = default;

void FrmMain::CreateIdentityControls() {
  const int left = kSideLeft;
  const int width = kSideWidth;
  lblRadioInfo = MakeCaptioned<cps::Label>(this, "lblRadioInfo", "Radio Information");
  lblRadioInfo->Move(left, 180, width, kLabelHeight);

  // Caption label and value label pairs, one below the other.
  auto pair = [&](int top, cps::Label*& caption, const char* captionName, const QString& text,
                  cps::Label*& value, const char* valueName) {
    caption = MakeCaptioned<cps::Label>(this, captionName, text);
    caption->Move(left, top, width, kLabelHeight);
    value = Make<cps::Label>(this, valueName);
    value->Move(left, top + kLabelHeight, width, kBoxHeight);
  };
  pair(600, lblModel_Num, "lblModel_Num", "Model Number", lblModel, "lblModel");
  pair(1260, lblFirmware, "lblFirmware", "Firmware Version", lblVersion, "lblVersion");
  pair(1920, Label18, "Label18", "Codeplug Version", lblCodeplug, "lblCodeplug");
  pair(2580, lblFreqRange, "lblFreqRange", "Frequency Range [MHz]", lblfrequency_range,
       "lblfrequency_range");

  lblSerial = MakeCaptioned<cps::Label>(this, "lblSerial", "Serial Number");
  lblSerial->Move(left, 3360, width, kLabelHeight);
  lblSerial_Num = Make<cps::Label>(this, "lblSerial_Num");
  txtSerial = MakeBox(this, "txtSerial", QString(), 0);  // no limit until the first key
  txtSerial->Move(left, 3360 + kLabelHeight, width, kBoxHeight);
  LayBoxOverLabel(txtSerial, lblSerial_Num);

  lblSuper = MakeCaptioned<cps::Label>(this, "lblSuper", "Regional Super Morvik");
  lblSuper->Move(left, 4080, width, kLabelHeight);
  txtSuper = MakeBox(this, "txtSuper", QString(), 0);  // limited from the first key
  txtSuper->Move(left, 4080 + kLabelHeight, width, kBoxHeight);

  lblPassWord = MakeCaptioned<cps::Label>(this, "lblPassWord", "Password");
  lblPassWord->Move(left, 4800, width, kLabelHeight);
  Label10 = Make<cps::Label>(this, "Label10");
  txtPassword = MakeBox(this, "txtPassword", QString(), 8);
  txtPassword->Move(left, 4800 + kLabelHeight, width, kBoxHeight);
  LayBoxOverLabel(txtPassword, Label10);
}

void FrmMain::CreateTabControl() {
  sstMain = Make<cps::TabControl>(this, "sstMain");
  QWidget* settings = sstMain->AddTab("&Radio Configuration");
  QWidget* channels = sstMain->AddTab("Conventional Personality");
  sstMain->Move(kMargin, kMargin, kSstMainWidth, kSstMainHeight);
  CreateScanTypeFrame(settings);
  CreateTotFrame(settings);
  CreateOptionBoxes(settings);
  CreateButtonFrame(settings);
  CreateUserToneFrame(settings);
  CreateScanListFrame(settings);
  CreateChannelGrid(channels);
}

void FrmMain::CreateScanTypeFrame(QWidget* page) {
  fraScan = MakeCaptioned<cps::Frame>(page, "fraScan", "Scan Type");
  fraScan->Move(120, 120, 3800, 3000);
  chkScanEnable = MakeCaptioned<cps::CheckBox>(fraScan, "chkScanEnable", "Normal Scan Enable");
  chkScanEnable->Move(160, 300, 3400, 285);
  chkPrioScanEnable =
      MakeCaptioned<cps::CheckBox>(fraScan, "chkPrioScanEnable", "Priority Scan Enable");
  chkPrioScanEnable->Move(160, 630, 3400, 285);

  MakeNumericRow(fraScan, 1020, {"lblScanSpeedTime", "txtScanSpeedTime", "udScanSpeedTime"},
                 " Scan Speed (msec)", {50, 500, 10, 100},
                 {lblScanSpeedTime, txtScanSpeedTime, udScanSpeedTime});
  MakeNumericRow(fraScan, 1500, {"lblScanDelayTime", "txtScanDelayTime", "udScanDelayTime"},
                 " Scan Hang Time (msec)", {500, 9500, 500, 4000},
                 {lblScanDelayTime, txtScanDelayTime, udScanDelayTime});
  MakeNumericRow(fraScan, 1980, {"lblPrioScanChNo", "txtPrioScanChNo", "udPrioScanChNo"},
                 " Prio. Scan Ch. No.", {1, 16, 1, 1},
                 {lblPrioScanChNo, txtPrioScanChNo, udPrioScanChNo});
  MakeNumericRow(fraScan, 2460, {"lblLookBackTime", "txtLookBackTime", "udLookBackTime"},
                 " Scan Interval Time (msec)", {750, 5000, 250, 4000},
                 {lblLookBackTime, txtLookBackTime, udLookBackTime});
}

void FrmMain::CreateTotFrame(QWidget* page) {
  fraTot = MakeCaptioned<cps::Frame>(page, "fraTot", "Time Out Timer (TOT)");
  fraTot->Move(120, 3240, 3800, 1620);
  chkTotEnable = MakeCaptioned<cps::CheckBox>(fraTot, "chkTotEnable", "TOT Enable");
  chkTotEnable->Move(160, 300, 3400, 285);

  MakeNumericRow(fraTot, 700, {"lblTotTime", "txtTotTime", "udTotTime"}, " Tx Time Out Time (sec)",
                 {10, 600, 10, 180}, {lblTotTime, txtTotTime, udTotTime});
  MakeNumericRow(fraTot, 1140, {"lblTotPenaltyTime", "txtTotPenaltyTime", "udTotPenaltyTime"},
                 " TOT Warning Time (sec)", {1, 10, 1, 5},
                 {lblTotPenaltyTime, txtTotPenaltyTime, udTotPenaltyTime});
}

void FrmMain::CreateOptionBoxes(QWidget* page) {
  chkPowerSaveEnable =
      MakeCaptioned<cps::CheckBox>(page, "chkPowerSaveEnable", "Battery Save Mode Enable");
  chkPowerSaveEnable->Move(240, 5000, 3600, 285);
  chkQuickKey = MakeCaptioned<cps::CheckBox>(page, "chkQuickKey", "Quick Key Override Enable");
  chkQuickKey->Move(240, 5340, 3600, 285);
  chkTalkbakScan = MakeCaptioned<cps::CheckBox>(page, "chkTalkbakScan", "Talkback Scan Enable");
  chkTalkbakScan->Move(240, 5680, 3600, 285);
}

void FrmMain::CreateButtonFrame(QWidget* page) {
  Frame3 = MakeCaptioned<cps::Frame>(page, "Frame3", "Programmable Button");
  Frame3->Move(4080, 120, 3800, 3000);
  auto row = [&](int top, cps::Label*& label, const char* labelName, const QString& caption,
                 cps::ComboBox*& list, const char* listName) {
    label = MakeCaptioned<cps::Label>(Frame3, labelName, caption);
    label->Move(160, top, 3480, kLabelHeight);
    list = Make<cps::ComboBox>(Frame3, listName);
    list->Move(160, top + kLabelHeight, 3480, kBoxHeight);
  };
  row(300, Label2, "Label2", "Programmable Button 1 Short Press", cmbButton_S1, "cmbButton_S1");
  row(960, Label3, "Label3", "Programmable Button 1 Long Press", cmbButton_L1, "cmbButton_L1");
  row(1620, Label4, "Label4", "Programmable Button 2 Short Press", cmbButton_S2, "cmbButton_S2");
  row(2280, Label5, "Label5", "Programmable Button 2 Long Press", cmbButton_L2, "cmbButton_L2");
  for (const char* entry : kDesignShortPressEntries) {
    cmbButton_S1->AddItem(entry);
    cmbButton_S2->AddItem(entry);
  }
}

void FrmMain::CreateUserToneFrame(QWidget* page) {
  Frame2 = MakeCaptioned<cps::Frame>(page, "Frame2", "  User Defined TKS ");
  Frame2->Move(4080, 3240, 3800, 1920);
  lblRx = MakeCaptioned<cps::Label>(Frame2, "lblRx", " RX");
  lblRx->Move(1500, 300, 900, kLabelHeight);
  lblTx = MakeCaptioned<cps::Label>(Frame2, "lblTx", " TX");
  lblTx->Move(2600, 300, 900, kLabelHeight);
  const std::array<const char*, 3> designTexts = {"120.0", "200.0", "255.0"};
  const std::array<const char*, 3> captions = {" TKS1 (Hz)", " TKS2 (Hz)", " TKS3 (Hz)"};
  const std::array<const char*, 3> labelNames = {"lblTKS1", "lblTKS2", "lblTKS3"};
  std::array<cps::Label**, 3> labels = {&lblTKS1, &lblTKS2, &lblTKS3};
  for (int k = 0; k < 3; ++k) {
    const int top = 620 + 420 * k;
    *labels[k] = MakeCaptioned<cps::Label>(Frame2, labelNames[k], captions[k]);
    (*labels[k])->Move(120, top + 30, 1300, kLabelHeight);
    txtTKS_RxFrequency[k] = MakeBox(Frame2, "txtTKS_RxFrequency", designTexts[k], 5);
    txtTKS_RxFrequency[k]->Move(1500, top, 900, kBoxHeight);
    txtTKS_TxFrequency[k] = MakeBox(Frame2, "txtTKS_TxFrequency", designTexts[k], 5);
    txtTKS_TxFrequency[k]->Move(2600, top, 900, kBoxHeight);
  }
}

void FrmMain::CreateScanListFrame(QWidget* page) {
  Frame1 = MakeCaptioned<cps::Frame>(page, "Frame1", "Scan List");
  Frame1->Move(8040, 120, 3800, 5040);
  Label1 = MakeCaptioned<cps::Label>(Frame1, "Label1", "Channel");
  Label1->Move(160, 300, 1300, kLabelHeight);
  Label21 = MakeCaptioned<cps::Label>(Frame1, "Label21", "Scan List");
  Label21->Move(2590, 300, 1050, kLabelHeight);
  LstChannel = Make<cps::ListBox>(Frame1, "LstChannel");
  LstChannel->SetSorted(true);
  LstChannel->Move(160, 600, 1050, 4260);
  LstScan = Make<cps::ListBox>(Frame1, "LstScan");
  LstScan->SetSorted(true);
  LstScan->Move(2590, 600, 1050, 4260);
  CmdAdd = MakeCaptioned<cps::CommandButton>(Frame1, "CmdAdd", "Add >>");
  CmdAdd->Move(1280, 2000, 1240, 400);
  CmdRemove = MakeCaptioned<cps::CommandButton>(Frame1, "CmdRemove", "<< Remove");
  CmdRemove->Move(1280, 2600, 1240, 400);
}

void FrmMain::CreateChannelGrid(QWidget* page) {
  fgChannel = Make<cps::FlexGrid>(page, "fgChannel");
  fgChannel->SetRows(kGridRows);
  fgChannel->SetCols(kGridCols);
  fgChannel->Move(120, 120, kGridWidth, kGridHeight);
  // The inline editor lies on the grid's parent, so the grid's position plus a cell's position
  // places it over that cell.
  txtChannelInput = Make<cps::TextBox>(page, "txtChannelInput");
  txtChannelInput->SetVisible(false);
}

void FrmMain::CreateStatusBar() {
  sbStatusBar = new cps::StatusBar(kStatusPanels, this);
  sbStatusBar->setObjectName("sbStatusBar");
  sbStatusBar->SetPanelText(kHintPanel, "Status");
}

void FrmMain::ConnectHandlers() {
  connect(tmrTimer1, &QTimer::timeout, this, &FrmMain::tmrTimer1_Timer);
  connect(sstMain, &cps::TabControl::Click, this, &FrmMain::sstMain_Click);
  connect(sstMain, &cps::TabControl::KeyDown, this, &FrmMain::sstMain_KeyDown);
  ConnectOptionBoxHandlers();
  ConnectButtonHandlers();
  ConnectScanListHandlers();
  ConnectTimerFieldHandlers();
  ConnectPasswordSerialHandlers();
  ConnectKitNumberHandlers();
  ConnectUserToneHandlers();
  channelGridEvents = new ChannelGridEvents(*this);
}

// --- Placement -----------------------------------------------------------------------------

QWidget* FrmMain::FrameWidget() const {
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) return sub;
  return const_cast<FrmMain*>(this);
}

int FrmMain::Left() const { return cps::LeftTwips(*FrameWidget()); }
int FrmMain::Top() const { return cps::TopTwips(*FrameWidget()); }
int FrmMain::Width() const { return cps::WidthTwips(*FrameWidget()); }
int FrmMain::Height() const { return cps::HeightTwips(*FrameWidget()); }
void FrmMain::SetLeft(int twips) { cps::SetLeftTwips(*FrameWidget(), twips); }
void FrmMain::SetTop(int twips) { cps::SetTopTwips(*FrameWidget(), twips); }
void FrmMain::SetWidth(int twips) { cps::SetWidthTwips(*FrameWidget(), twips); }
void FrmMain::SetHeight(int twips) { cps::SetHeightTwips(*FrameWidget(), twips); }
bool FrmMain::IsMinimized() const { return FrameWidget()->isMinimized(); }

void FrmMain::SetFocus() {
  FrameWidget()->activateWindow();
  setFocus(Qt::OtherFocusReason);
}

void FrmMain::ReadPlacementSettings() {
  struct Placement {
    const char* key;
    int defaultTwips;
    void (FrmMain::*apply)(int);
  };
  const std::array<Placement, 4> placements = {{
      {"MainLeft", kDefaultLeft, &FrmMain::SetLeft},
      {"MainTop", kDefaultTop, &FrmMain::SetTop},
      {"MainWidth", kDefaultWidth, &FrmMain::SetWidth},
      {"MainHeight", kDefaultHeight, &FrmMain::SetHeight},
  }};
  for (const Placement& p : placements) {
    const QString text = cps::GetSetting(kSettingsSection, p.key, cps::DecimalText(p.defaultTwips));
    bool isNumber = false;
    const float value = text.trimmed().toFloat(&isNumber);
    // The fixed placement follows at once, so a value that is no number is simply passed over.
    if (isNumber) (this->*p.apply)(static_cast<int>(cps::RoundHalfEven(value)));
  }
}

void FrmMain::WritePlacementSettings() {
  cps::SaveSetting(kSettingsSection, "MainLeft", cps::DecimalText(Left()));
  cps::SaveSetting(kSettingsSection, "MainTop", cps::DecimalText(Top()));
  cps::SaveSetting(kSettingsSection, "MainWidth", cps::DecimalText(Width()));
  cps::SaveSetting(kSettingsSection, "MainHeight", cps::DecimalText(Height()));
}

// --- Load ----------------------------------------------------------------------------------

void FrmMain::LayOutChannelGrid() {
  fgChannel->SetAppearance(cps::kAppearance3D);
  for (int col = 0; col < kGridCols; ++col) {
    fgChannel->SetColWidth(col, kGridColumns[col].width);
  }
  fgChannel->SetWidth(kGridWidth);
  fgChannel->SetHeight(kGridHeight);
  for (int col = 0; col < kGridCols; ++col) {
    fgChannel->SetTextMatrix(0, col, kGridColumns[col].header);
  }
}

void FrmMain::Form_Load() {
  ReadPlacementSettings();
  SetTop(0);
  SetLeft(0);
  SetHeight(kFrmMainHeight);
  SetWidth(kFrmMainWidth);

  sstMain->SetTab(0);
  sstMain->SetHeight(kSstMainHeight);
  sstMain->SetWidth(kSstMainWidth);

  LayOutChannelGrid();
  CodeplugImage[layout::kButton1Short] = kDefaultButton1Short;
  CodeplugImage[layout::kButton1Long] = kDefaultButton1Long;
  CodeplugImage[layout::kButton2Short] = kDefaultButton2Short;
  CodeplugImage[layout::kButton2Long] = kDefaultButton2Long;
  cmbButton_S1->SetListIndex(kDesignButton1ShortEntry);
  cmbButton_S2->SetListIndex(kDesignButton2ShortEntry);

  for (int col = 0; col < kGridCols; ++col) fgChannel->SetColAlignment(col, Qt::AlignCenter);
  for (int row = 1; row < kGridRows; ++row) {
    fgChannel->SetTextMatrix(row, 0, cps::DecimalText(row));
    fgChannel->SetRowHeight(row, kGridRowHeight);
  }

  CodeplugImage[layout::kBandCode] = kNoBandYet;
  // The new-codeplug chain: ClearAllChannels, ChannelDataInvalid cleared, SetupBandLimits,
  // InitImageHeader, ShowFrequencyRange, ShowUserTones, FillChannelLists, ShowOptionFlags,
  // SetDefaultTimers, ShowTimerValues, SyncTimerTextBoxes, ShowChannelGrid.
  FillNewCodeplugChain();

  // Shown once the main window has taken the editor into its MDI area, and left shown: hidden
  // at the end of Load, it would leave the main window empty after a file open.
  if (parentWidget() != nullptr) show();
  ReadPortFile();
  CodeplugImage[layout::kImageMarker] = kImageMarkerValue;
  ExitRequested = false;
}

// --- Unload --------------------------------------------------------------------------------

void FrmMain::Form_Unload(bool& cancel) {
  // A cancelled unload also ends a File>Exit in progress: without this, a later close of the
  // editor would leave the main window running on its own.
  auto cancelUnload = [&] {
    SetFocus();
    cancel = true;
    ExitRequested = false;
  };

  if (DataModified) {
    const cps::MsgResult answer =
        cps::MsgBox("Save Current Data to File ?",
                    cps::msgbox::YesNoCancel + cps::msgbox::DefaultButton3, "Save ?");
    if (answer == cps::MsgResult::Yes) {
      MDIFormMain().mnuFileSave_Click();
      if (SaveAborted) return cancelUnload();
    } else if (answer != cps::MsgResult::No) {
      return cancelUnload();
    }
  }

  WritePortFile();
  if (!IsMinimized()) WritePlacementSettings();

  if (!ExitRequested) {
    // The editor itself goes when UnloadFrmMain returns; taking it out of the main window
    // first keeps the main window's unloading from deleting it while this handler runs.
    tmrTimer1->stop();
    hide();
    UnloadFrmChannelToneOption();
    setParent(nullptr);
    if (IsMDIFormMainLoaded()) UnloadMDIFormMain();
  }
}

void FrmMain::closeEvent(QCloseEvent* event) {
  if (g_frmMain != this) return event->accept();  // an editor already unloaded
  // The unload decides, and deletes the window itself when it goes on.
  event->ignore();
  if (!g_unloading) UnloadFrmMain();
}

// --- Resize, tabs, timer ------------------------------------------------------------------

void FrmMain::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int statusHeight = cps::TwipsToPixels(kStatusBarHeight);
  sbStatusBar->setGeometry(0, height() - statusHeight, width(), statusHeight);
  Form_Resize();
}

void FrmMain::Form_Resize() {
  // The grid is reached with Tab only while its tab is shown.
  fgChannel->SetTabStop(sstMain->Tab() > 0);
}

void FrmMain::sstMain_Click(int /*previousTab*/) {
  if (sstMain->Tab() == 0) {
    txtChannelInput->SetVisible(false);
    SetHeight(kFrmMainHeight);
    SetWidth(kFrmMainWidth);
    sstMain->SetHeight(kSstMainHeight);
    sstMain->SetWidth(kSstMainWidth);
  } else if (sstMain->Tab() == 1) {
    SetHeight(kFrmMainHeight);
    sstMain->SetHeight(kSstMainHeight);
    ResizeChannelGrid();
  }
}

void FrmMain::sstMain_KeyDown(int& keyCode, int /*shift*/) {
  if (keyCode != cps::kKeyTab) return;
  if (sstMain->Tab() == 0) {
    SetFocus();
  } else if (sstMain->Tab() == 1) {
    // The receive frequency of channel 1 becomes the current cell.
    fgChannel->SetCol(1);
    fgChannel->SetRow(1);
    fgChannel->SetFocus();
  }
}

void FrmMain::tmrTimer1_Timer() {
  CountDown(ReplyTimerRunning, ReplyTimedOut, ReplyTimeoutTicks);
  CountDown(HandshakeTimerRunning, HandshakeTimedOut, HandshakeTimeoutTicks);
  if (LedBlinkActive) {
    --LedBlinkTicks;
    if (LedBlinkTicks <= 0) {
      LedBlinkTicks = 1;
      ToggleLed();
    }
  }
}

// --- Port file -----------------------------------------------------------------------------

QString PortFilePath() { return cps::ProgramFolder() + "/" + kPortFileName; }

void ReadPortFile() {
  const std::optional<QString> field = ReadPortFileField(PortFilePath());
  if (!field) {
    // First start: the menu keeps its designed Com1. A file that cannot be made loses nothing,
    // since the next start checks Com1 again; the close says so if the choice cannot be kept.
    WritePortFileField(PortFilePath(), 1);
    return;
  }
  const int port = PortNumberFromField(*field);
  const std::array<QAction*, 8> items = PortMenuItems();
  for (int i = 0; i < 8; ++i) items[i]->setChecked(i + 1 == port);
}

void WritePortFile() {
  const std::array<QAction*, 8> items = PortMenuItems();
  int port = 8;
  for (int i = 0; i < 7; ++i) {
    if (items[i]->isChecked()) {
      port = i + 1;
      break;
    }
  }
  // Said once, with the system's reason, and the close goes on: the choice is only lost.
  const QString reason = WritePortFileField(PortFilePath(), port);
  if (reason.isEmpty()) return;
  cps::MsgBox(QStringLiteral("The file \"%1\" could not be written: %2. The Comm Port choice is "
                             "not kept.")
                  .arg(PortFilePath(), reason),
              cps::msgbox::Exclamation, QLatin1String(cps::kAppTitle));
}

// --- The one instance ----------------------------------------------------------------------

FrmMain& frmMain() {
  if (g_frmMain.isNull()) {
    // The instance exists before Load runs, so that what Load touches may reach it again.
    g_frmMain = new FrmMain();
    if (IsMDIFormMainLoaded()) MDIFormMain().AdoptEditor(g_frmMain);
    g_frmMain->Form_Load();
  }
  return *g_frmMain;
}

bool IsFrmMainLoaded() { return !g_frmMain.isNull(); }

bool UnloadFrmMain() {
  if (g_frmMain.isNull() || g_unloading) return true;
  g_unloading = true;
  bool cancel = false;
  g_frmMain->Form_Unload(cancel);
  g_unloading = false;
  if (cancel) return false;
  FrmMain* form = g_frmMain.data();
  g_frmMain.clear();
  if (form != nullptr) {
    form->tmrTimer1->stop();
    form->hide();
    form->deleteLater();
  }
  return true;
}

void DestroyFrmMainForTests() {
  delete g_frmMain.data();
  g_frmMain.clear();
  g_unloading = false;
}
