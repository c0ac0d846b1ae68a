// The editor window frmMain: the one child window of the main window. It shows the codeplug
// image: the radio-wide settings on tab 0 of sstMain, the channel grid on tab 1, the identity
// and password boxes beside the tabs and the hint panel of sbStatusBar below them. Its 200 ms
// timer tmrTimer1 is the only clock of the program (the radio link's time-outs, the LED blink).
//
// One instance for the life of the program, reached through frmMain(): the first call creates
// the window, hands it to the main window's MDI area when the main window exists, and runs
// Form_Load.
//
// Every control is a public member named as the rest of the program names it, so that other
// subsystems (the fill chain, the lock, the file commands, the radio link, the report) set and
// read them directly: frmMain().txtTotTime->Text(). Include the platform header of a control's
// class (platform/TextBox.h, platform/UpDown.h, ...) to use its members.
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

class QTimer;
struct RegionTemplateEntry;
class ChannelGridEvents;

namespace cps {
class CheckBox;
class ComboBox;
class CommandButton;
class FlexGrid;
class Frame;
class Label;
class ListBox;
class StatusBar;
class TabControl;
class TextBox;
class UpDown;
}  // namespace cps

// The programming window's two LED labels, as the editor's timer drives them. The radio link
// implements it and registers its instance while the programming window exists.
class ProgramLeds {
 public:
  virtual ~ProgramLeds() = default;
  virtual void SetGreenBackColor(uint32_t colour) = 0;  // frmProgram.lblGreenLED
  virtual void SetRedBackColor(uint32_t colour) = 0;    // frmProgram.lblRedLED
};

// Registers the LEDs the timer blinks; nullptr when the programming window goes away.
void SetProgramLeds(ProgramLeds* leds);
ProgramLeds* GetProgramLeds();

// LED label colours (&HBBGGRR).
constexpr uint32_t kGreenLedBright = 0xFF00;
constexpr uint32_t kGreenLedPale = 0xC0FFC0;
constexpr uint32_t kRedLedBright = 0xFF;
constexpr uint32_t kRedLedPale = 0xC0C0FF;

// Geometry of the editor window in twips.
constexpr int kFrmMainWidth = 15120;
constexpr int kFrmMainHeight = 7800;
constexpr int kSstMainWidth = 12020;
constexpr int kSstMainHeight = 6800;
constexpr int kGridWidth = 11660;
constexpr int kGridHeight = 5400;
constexpr int kGridRows = 17;  // the header row and 16 channels
constexpr int kGridCols = 14;
constexpr int kGridRowHeight = 315;

// The section of the window-placement settings.
inline constexpr char kSettingsSection[] = "Settings";

class FrmMain : public QWidget {
  Q_OBJECT

 public:
  FrmMain();
  ~FrmMain() override;

  // --- Handlers of the window's lifecycle ---------------------------------------------------
  void Form_Load();
  void Form_Unload(bool& cancel);  // cancel = true keeps the window and stops the closing
  void Form_Resize();
  void sstMain_Click(int previousTab);
  void sstMain_KeyDown(int& keyCode, int shift);
  void tmrTimer1_Timer();

  // Gives the editor window itself the keyboard focus.
  void SetFocus();

  // The window's placement in twips. Inside the main window's MDI area these are the MDI
  // child's frame; before it is embedded, the widget itself.
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetLeft(int twips);
  void SetTop(int twips);
  void SetWidth(int twips);
  void SetHeight(int twips);
  bool IsMinimized() const;

  // --- Beside the tabs: identity, version and password ----------------------------------------
  cps::Label* lblRadioInfo;        // "Radio Information"
  cps::Label* lblModel_Num;        // "Model Number"
  cps::Label* lblModel;            // model number (value)
  cps::Label* lblFirmware;         // "Firmware Version"
  cps::Label* lblVersion;          // firmware version (value)
  cps::Label* Label18;             // "Codeplug Version"
  cps::Label* lblCodeplug;         // codeplug version (value)
  cps::Label* lblFreqRange;        // "Frequency Range [MHz]"
  cps::Label* lblfrequency_range;  // band limits (value)
  cps::Label* lblPassWord;         // "Password"
  cps::Label* Label10;             // lies under txtPassword
  cps::TextBox* txtPassword;       // at most 8 characters
  cps::Label* lblSerial;           // "Serial Number"
  cps::Label* lblSerial_Num;       // lies under txtSerial
  cps::TextBox* txtSerial;
  cps::Label* lblSuper;  // "Regional Super Morvik"
  cps::TextBox* txtSuper;

  // --- The tab control ------------------------------------------------------------------------
  cps::TabControl* sstMain;  // tab 0 "&Radio Configuration", tab 1 "Conventional Personality"

  // Tab 0, frame "Scan Type"
  cps::Frame* fraScan;
  cps::CheckBox* chkScanEnable;      // "Normal Scan Enable"
  cps::CheckBox* chkPrioScanEnable;  // "Priority Scan Enable"
  cps::Label* lblScanSpeedTime;      // " Scan Speed (msec)"
  cps::TextBox* txtScanSpeedTime;
  cps::UpDown* udScanSpeedTime;  // 50..500 step 10
  cps::Label* lblScanDelayTime;  // " Scan Hang Time (msec)"
  cps::TextBox* txtScanDelayTime;
  cps::UpDown* udScanDelayTime;  // 500..9500 step 500
  cps::Label* lblPrioScanChNo;   // " Prio. Scan Ch. No."
  cps::TextBox* txtPrioScanChNo;
  cps::UpDown* udPrioScanChNo;  // 1..16 step 1
  cps::Label* lblLookBackTime;  // " Scan Interval Time (msec)"
  cps::TextBox* txtLookBackTime;
  cps::UpDown* udLookBackTime;  // 750..5000 step 250

  // Tab 0, frame "Time Out Timer (TOT)"
  cps::Frame* fraTot;
  cps::CheckBox* chkTotEnable;  // "TOT Enable"
  cps::Label* lblTotTime;       // " Tx Time Out Time (sec)"
  cps::TextBox* txtTotTime;
  cps::UpDown* udTotTime;         // 10..600 step 10
  cps::Label* lblTotPenaltyTime;  // " TOT Warning Time (sec)"
  cps::TextBox* txtTotPenaltyTime;
  cps::UpDown* udTotPenaltyTime;  // 1..10 step 1

  // Tab 0, frame "Programmable Button"
  cps::Frame* Frame3;
  cps::Label* Label2;  // "Programmable Button 1 Short Press"
  cps::ComboBox* cmbButton_S1;
  cps::Label* Label3;  // "Programmable Button 1 Long Press"
  cps::ComboBox* cmbButton_L1;
  cps::Label* Label4;  // "Programmable Button 2 Short Press"
  cps::ComboBox* cmbButton_S2;
  cps::Label* Label5;  // "Programmable Button 2 Long Press"
  cps::ComboBox* cmbButton_L2;

  // Tab 0, the three options outside the frames
  cps::CheckBox* chkPowerSaveEnable;  // "Battery Save Mode Enable"
  cps::CheckBox* chkQuickKey;         // "Quick Key Override Enable"
  cps::CheckBox* chkTalkbakScan;      // "Talkback Scan Enable"

  // Tab 0, frame "Scan List"
  cps::Frame* Frame1;
  cps::Label* Label1;             // "Channel"
  cps::Label* Label21;            // "Scan List"
  cps::ListBox* LstChannel;       // channels outside the scan list, "001".."016", sorted
  cps::ListBox* LstScan;          // channels in the scan list, sorted
  cps::CommandButton* CmdAdd;     // "Add >>"
  cps::CommandButton* CmdRemove;  // "<< Remove"

  // Tab 0, frame "  User Defined TKS "
  cps::Frame* Frame2;
  cps::Label* lblRx;                                // " RX"
  cps::Label* lblTx;                                // " TX"
  cps::Label* lblTKS1;                              // " TKS1 (Hz)"
  cps::Label* lblTKS2;                              // " TKS2 (Hz)"
  cps::Label* lblTKS3;                              // " TKS3 (Hz)"
  std::array<cps::TextBox*, 3> txtTKS_RxFrequency;  // index k = user tone k, at most 5 chars
  std::array<cps::TextBox*, 3> txtTKS_TxFrequency;

  // Tab 1: the channel grid and its inline frequency editor (a sibling laid over a cell)
  cps::FlexGrid* fgChannel;
  cps::TextBox* txtChannelInput;

  // Below the tabs
  cps::StatusBar* sbStatusBar;  // three panels; panel 1 carries the hints

  QTimer* tmrTimer1;  // 200 ms, from creation to unloading

  // --- Option check boxes: the bits of image byte 5 and the controls of each option -----------
  void chkQuickKey_Click();
  void chkQuickKey_KeyDown(int& keyCode, int shift);
  void chkQuickKey_MouseDown(int button, int shift, double x, double y);
  void chkPrioScanEnable_Click();
  void chkPrioScanEnable_KeyDown(int& keyCode, int shift);
  void chkPrioScanEnable_MouseDown(int button, int shift, double x, double y);
  void chkTotEnable_Click();
  void chkTotEnable_KeyDown(int& keyCode, int shift);
  void chkTotEnable_MouseDown(int button, int shift, double x, double y);
  void chkScanEnable_Click();
  void chkScanEnable_KeyDown(int& keyCode, int shift);
  void chkScanEnable_MouseDown(int button, int shift, double x, double y);
  void chkPowerSaveEnable_Click();
  void chkPowerSaveEnable_KeyDown(int& keyCode, int shift);
  void chkPowerSaveEnable_MouseDown(int button, int shift, double x, double y);
  void chkTalkbakScan_Click();
  void chkTalkbakScan_KeyDown(int& keyCode, int shift);
  void chkTalkbakScan_MouseDown(int button, int shift, double x, double y);
  // The end of chkPrioScanEnable_Click: warns once when the priority channel is outside the
  // scan list, and stores byte 14 through txtPrioScanChNo_Change.
  void CheckPriorityChannelInScanList();
  void ConnectOptionBoxHandlers();

  // --- Programmable buttons: bytes 240..243 (editor/ProgrammableButtons.h) -------------------
  void cmbButton_S1_Click();
  void cmbButton_S2_Click();
  void cmbButton_L1_Click();
  void cmbButton_L2_Click();
  void ConnectButtonHandlers();

  // --- Scan list: slots 220..235 and bitmap 244/245 ----------------------------------------
  void CmdAdd_Click();
  void CmdRemove_Click();
  void LstChannel_KeyDown(int& keyCode, int shift);
  void LstChannel_MouseDown(int button, int shift, double x, double y);
  void LstScan_KeyDown(int& keyCode, int shift);
  void LstScan_MouseDown(int button, int shift, double x, double y);
  void ConnectScanListHandlers();
  // True when `channel` is one of LstChannel's entries, the channels outside the scan list.
  bool IsOutsideScanList(double channel) const;

  // --- Numeric timer fields: bytes 6..10 and the priority channel, byte 14 -------------------
  void txtTotTime_Change();
  void txtTotTime_KeyDown(int& keyCode, int shift);
  void txtTotPenaltyTime_Change();
  void txtTotPenaltyTime_KeyDown(int& keyCode, int shift);
  void txtScanSpeedTime_Change();
  void txtScanSpeedTime_KeyDown(int& keyCode, int shift);
  void txtScanDelayTime_Change();
  void txtScanDelayTime_KeyDown(int& keyCode, int shift);
  void txtLookBackTime_Change();
  void txtLookBackTime_KeyDown(int& keyCode, int shift);
  void txtPrioScanChNo_Change();
  void txtPrioScanChNo_KeyDown(int& keyCode, int shift);
  void udTotTime_Change();
  void udTotTime_MouseDown(int button, int shift, double x, double y);
  void udTotPenaltyTime_Change();
  void udTotPenaltyTime_MouseDown(int button, int shift, double x, double y);
  void udScanSpeedTime_Change();
  void udScanSpeedTime_MouseDown(int button, int shift, double x, double y);
  void udScanDelayTime_Change();
  void udScanDelayTime_MouseDown(int button, int shift, double x, double y);
  void udLookBackTime_Change();
  void udLookBackTime_MouseDown(int button, int shift, double x, double y);
  void udPrioScanChNo_MouseDown(int button, int shift, double x, double y);
  void ConnectTimerFieldHandlers();

  // --- Password and serial number boxes ------------------------------------------------------
  void txtPassword_KeyDown(int& keyCode, int shift);
  void txtPassword_KeyPress(int& keyAscii);
  void txtPassword_Change();
  void txtPassword_Click();
  void txtSerial_KeyDown(int& keyCode, int shift);
  void txtSerial_LostFocus();
  void ConnectPasswordSerialHandlers();

  // --- Regional kit number and templates ------------------------------------------------------
  void txtSuper_KeyDown(int& keyCode, int shift);
  void txtSuper_LostFocus();
  void ConnectKitNumberHandlers();
  // The kit's template into the image and the editor, as a file open would show it. False (and
  // the reason shown) when the file cannot be read whole; the image is then unchanged.
  bool LoadRegionTemplate(const RegionTemplateEntry& entry);
  void ReopenKitNumberBox();  // emptied and enabled for another entry

  // --- User tone frequency boxes (index = user tone 0..2) -------------------------------------
  void txtTKS_RxFrequency_Change(int index);
  void txtTKS_RxFrequency_GotFocus(int index);
  void txtTKS_RxFrequency_KeyDown(int index, int& keyCode, int shift);
  void txtTKS_RxFrequency_KeyPress(int index, int& keyAscii);
  void txtTKS_RxFrequency_LostFocus(int index);
  void txtTKS_TxFrequency_Change(int index);
  void txtTKS_TxFrequency_GotFocus(int index);
  void txtTKS_TxFrequency_KeyDown(int index, int& keyCode, int shift);
  void txtTKS_TxFrequency_KeyPress(int index, int& keyAscii);
  void txtTKS_TxFrequency_LostFocus(int index);
  void ConnectUserToneHandlers();

  // --- Channel grid handlers: fgChannel_*, txtChannelInput_* (channels/ChannelGrid.h) --------
  ChannelGridEvents* channelGridEvents = nullptr;  // owned; built with the window
  // --- end of channel grid handlers -----------------------------------------------------------

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void CreateIdentityControls();
  void CreateTabControl();
  void CreateScanTypeFrame(QWidget* page);
  void CreateTotFrame(QWidget* page);
  void CreateButtonFrame(QWidget* page);
  void CreateOptionBoxes(QWidget* page);
  void CreateScanListFrame(QWidget* page);
  void CreateUserToneFrame(QWidget* page);
  void CreateChannelGrid(QWidget* page);
  void CreateStatusBar();
  void ConnectHandlers();

  void ReadPlacementSettings();
  void WritePlacementSettings();
  void LayOutChannelGrid();
  QWidget* FrameWidget() const;
};

// The one editor window, created (and its Form_Load run) on first use.
FrmMain& frmMain();
bool IsFrmMainLoaded();
// Runs Form_Unload and, unless it was cancelled, deletes the window. False when cancelled.
// Called again while its own Form_Unload runs (the main window unloading its child), it does
// nothing and returns true.
bool UnloadFrmMain();
// Deletes the window without Form_Unload: tests start from a fresh editor.
void DestroyFrmMainForTests();

// The port file (editor/PortFile.h) in the program folder: ProgramFolder() + "/ZEP_port.txt".
// ReadPortFile checks one of the main window's Com1..Com8 items from it, creating the file
// with "com1" when it is missing; WritePortFile writes the checked item back and says in a
// message box when it cannot.
QString PortFilePath();
void ReadPortFile();
void WritePortFile();

// --- User tone frequency boxes ---------------------------------------------------------------
// The windows of the report and the radio link that a user tone refusal looks at. Each registers
// its hooks while its window exists (empty hooks when it goes); unregistered counts as not shown.
void SetPreviewVisibleHook(std::function<bool()> isVisible);  // frmMultiPgPreview shown
void SetProgramWindowHooks(std::function<bool()> isVisible,   // frmProgram shown
                           std::function<void()> unload);     // unloads frmProgram

// Encodes user tone k (0..2) from its transmit or receive box into the image, as a file save and
// a radio write do before they read the image. A refused value is handled as the boxes handle
// it: the message (when it may show), the settings tab brought forward, the box emptied.
void EncodeTxToneFrequency(int k);
void EncodeRxToneFrequency(int k);
