// The editor's status-bar hints: moving the mouse over most of the editor's controls writes one
// help text into panel 1 of frmMain.sbStatusBar, where it stays until another hint replaces it.
#pragma once

#include <QString>
#include <array>

class FrmMain;

// One row of the hint table: a control of frmMain (its name; a control array's rows all carry
// the array's name) and the text it writes. A null text marks the priority-channel hint, which
// is computed anew on every mouse move.
struct StatusHint {
  const char* control;
  const char* text;
};

inline constexpr const char* kComputedHint = nullptr;

// Two texts end with a blank: "Talkback Scan Enable Option " and "User Defined TKS ".
inline constexpr auto kStatusHints = std::to_array<StatusHint>({
    {"chkPowerSaveEnable", "Battery Save Mode Enable Option"},
    {"chkPrioScanEnable", "Priority Scan Enable Option"},
    {"chkQuickKey", "Quick Key Override Enable Option"},
    {"chkScanEnable", "Normal Scan Enable Option"},
    {"chkTotEnable", "TOT (Time Out Timer) Enable Option"},
    {"chkTalkbakScan", "Talkback Scan Enable Option "},
    {"CmdAdd", "Scan List Add Button"},
    {"CmdRemove", "Scan List Remove Button"},
    {"Frame1", "Scan List"},
    {"Frame2", "User Defined TKS "},
    {"Frame3", "Programmable Button Selection"},
    {"fraScan", "Scan Type Selection"},
    {"fraTot", "Time Out Timer (TOT) Selection"},
    {"Label1", "Channel"},
    {"Label21", "Scan List"},
    {"Label2", "Programmable Button 1 Short Press"},
    {"Label3", "Programmable Button 1 Long Press"},
    {"Label4", "Programmable Button 2 Short Press"},
    {"Label5", "Programmable Button 2 Long Press"},
    {"lblPassWord", "Input Password 8 Characters"},
    {"Label10", "Input Password 8 Characters"},
    {"txtPassword", "Input Password 8 Characters"},
    {"lblSerial", "Serial Number (Read Only)"},
    {"lblSerial_Num", "Serial Number (Read Only)"},
    {"txtSerial", "Serial Number (Read Only)"},
    {"lblSuper", "Input Regional Super Morvik Number 16 Characters"},
    {"txtSuper", "Input Regional Super Morvik Number 16 Characters"},
    {"lblModel_Num", "Model Number (Read Only)"},
    {"lblModel", "Model Number (Read Only)"},
    {"lblFirmware", "Firmware Version (Read Only)"},
    {"lblVersion", "Firmware Version (Read Only)"},
    {"Label18", "Codeplug Version (Read Only)"},
    {"lblCodeplug", "Codeplug Version (Read Only)"},
    {"lblFreqRange", "Frequency Range [MHz] (Read Only)"},
    {"lblfrequency_range", "Frequency Range [MHz] (Read Only)"},
    {"lblPrioScanChNo", "Prio. Scan Ch. No."},
    {"txtPrioScanChNo", kComputedHint},
    {"udPrioScanChNo", kComputedHint},
    {"lblLookBackTime", "Scan Interval Time (msec)"},
    {"txtLookBackTime", "Scan Interval Time : 750 to 5000msec"},
    {"udLookBackTime", "Scan Interval Time : 750 to 5000msec"},
    {"lblScanDelayTime", "Scan Hang Time (msec)"},
    {"txtScanDelayTime", "Scan Hang Time : 500 to 9500msec"},
    {"udScanDelayTime", "Scan Hang Time : 500 to 9500msec"},
    {"lblScanSpeedTime", "Scan Speed (msec)"},
    {"txtScanSpeedTime", "Scan Speed Time : 50 to 500msec"},
    {"udScanSpeedTime", "Scan Speed Time : 50 to 500msec"},
    {"lblTotTime", "TX Time Out Time (sec)"},
    {"txtTotTime", "TX Time Out Time : 10 to 600sec"},
    {"udTotTime", "TX Time Out Time : 10 to 600sec"},
    {"lblTotPenaltyTime", "TOT Warning Time (sec)"},
    {"txtTotPenaltyTime", "TOT Warning Time : 1 to 10sec"},
    {"udTotPenaltyTime", "TOT Warning Time : 1 to 10sec"},
    {"lblTKS1", "TKS1 (Hz)"},
    {"lblTKS2", "TKS2 (Hz)"},
    {"lblTKS3", "TKS3 (Hz)"},
    {"txtTKS_RxFrequency", "TKS Frequency : 67 to 255Hz"},
    {"txtTKS_TxFrequency", "TKS Frequency : 67 to 255Hz"},
    {"LstChannel", "Channel List"},
    {"LstScan", "Scan List Channel"},
    {"sstMain", "Status"},
});

// "Priority Scan Channel Number : 1 to " + the channel count (image byte 2) + "Ch".
QString PriorityChannelHint();

// The hint of a control named in the table; empty for a control without one.
QString StatusHintFor(const QString& controlName);

// Writes the hint of controlName into panel 1 of the editor's status bar.
void ShowStatusHint(const QString& controlName);

// Connects the MouseMove event of every control of the table (each element of a control array)
// to ShowStatusHint. Called once when the editor window is built.
void ConnectStatusHints(FrmMain& form);
