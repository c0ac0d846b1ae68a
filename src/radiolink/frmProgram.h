// The programming window frmProgram ("Program"): the small window in which a radio transfer
// runs. The openers of the main window fill it for a read or a write; its Read and Write buttons
// run the transfers; Cancel, Esc on Read/Write and the close box abort them. Its two LED labels
// blink under the editor's timer (it registers itself as the timer's ProgramLeds).
//
// One instance, created on first use. Unloading it while a transfer runs inside one of its
// handlers takes it off screen at once; the window object itself goes only when that handler
// has returned, so the transfer finishes its error road on a window that is no longer shown.
#pragma once

#include <QString>
#include <QWidget>

#include "editor/frmMain.h"

class QProgressBar;
class QShortcut;

namespace cps {
class CommandButton;
class Label;
}  // namespace cps

// Texts of the window.
inline constexpr char kClickReadText[] = "Click Read Button";
inline constexpr char kClickWriteText[] = "Click Write Button";
inline constexpr char kReadHintText[] = "Read Codeplug Data From Radio To PC";
inline constexpr char kWriteHintText[] = "Write Radio Codeplug Data PC To Radio";
inline constexpr char kCloseHintText[] = "Close Program";

// Status line texts of the transfers.
inline constexpr char kCheckModeText[] = "Communication Error. Please check Programming mode.";
inline constexpr char kUnsupportedRegionText[] =
    "Communication Error. Unsupported radio codeplug region.";
inline constexpr char kCheckCableText[] = "Communication Error. Please check Programming cable.";
inline constexpr char kCheckVersionText[] = "Communication Error. Please check codeplug version.";
inline constexpr char kCommErrorText[] = "Communication Error.";
inline constexpr char kReadWaitText[] = "Please wait a moment......";    // six dots
inline constexpr char kWriteWaitText[] = "Please wait a moment.......";  // seven dots
inline constexpr char kReadDoneText[] = "Successfully Reading End.";
inline constexpr char kWriteDoneText[] = "Successfully Writing End.";
inline constexpr char kPasswordErrorText[] = "Password Error.";

// The nine-line instruction text for a read (true) or a write (false).
QString ProgramInstructions(bool read);

class FrmProgram : public QWidget, public ProgramLeds {
  Q_OBJECT

 public:
  FrmProgram();
  ~FrmProgram() override;

  void cmdRead_Click();   // the radio read
  void cmdWrite_Click();  // the radio write
  void cmdRead_KeyDown(int& keyCode, int shift);
  void cmdWrite_KeyDown(int& keyCode, int shift);
  void cmdClose_Click();
  void Form_Unload();

  // ProgramLeds: the editor's timer sets the LED colours.
  void SetGreenBackColor(uint32_t colour) override;
  void SetRedBackColor(uint32_t colour) override;

  // Progress: the bytes moved so far.
  int ProgressValue() const;
  void SetProgressValue(int value);

  cps::Label* lblProgramHelp;
  cps::Label* lblProgram;
  QProgressBar* pgrProgram;
  cps::Label* lblGreenLED;
  cps::Label* lblRedLED;
  cps::CommandButton* cmdRead;
  cps::CommandButton* cmdWrite;
  cps::CommandButton* cmdClose;

  // True once this window has been unloaded (a transfer still running in it then ends).
  bool Unloaded() const { return unloaded_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  friend void UnloadFrmProgram();
  void AbortByEsc(cps::Label* led, uint32_t paleColour);
  template <class Transfer>
  void RunTransfer(Transfer transfer);

  // Esc while a transfer runs: the Read or Write button is disabled then and cannot take the
  // key itself, so the window hands it to that button's key handler.
  QShortcut* escDuringTransfer_;
  int running_ = 0;  // transfers running in this window's handlers
  bool unloaded_ = false;
  bool deleteWhenIdle_ = false;
};

FrmProgram& frmProgram();
bool IsFrmProgramLoaded();
bool IsFrmProgramVisible();
// Runs Form_Unload and takes the window away (see above).
void UnloadFrmProgram();
void DestroyFrmProgramForTests();

// The transfers, run by the Read and Write buttons of the window given.
void RunRadioRead(FrmProgram& form);
void RunRadioWrite(FrmProgram& form);
