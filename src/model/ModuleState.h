// The program's module-level state: the codeplug image, the radio image, the per-channel side
// tables, the band state and every shared flag. One UI thread touches it, one handler at a time.
// ResetModuleState() puts all of it back to its program-start values (tests start from there).
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

// A 400-byte memory image whose every index is checked. An index outside 0..399 is reported
// through the image error hook and reads 0 / writes into a scratch byte, so a bad index can
// never touch memory outside the image.
class ByteImage {
 public:
  static constexpr int kSize = 400;

  uint8_t& operator[](int index);
  uint8_t operator[](int index) const;

  // Little-endian 16-bit word at index, index + 1.
  int Word(int index) const;
  void SetWord(int index, int value);

  // True when every byte of [first, last] holds value.
  bool AllEqual(int first, int last, uint8_t value) const;
  void Fill(int first, int last, uint8_t value);

  std::array<uint8_t, kSize>& Bytes() { return data_; }
  const std::array<uint8_t, kSize>& Bytes() const { return data_; }

 private:
  std::array<uint8_t, kSize> data_{};
  uint8_t scratch_ = 0;
};

// Called with the offending index whenever an image is indexed outside 0..399. The default
// handler counts the error and writes a warning to the log; tests may replace it.
using ImageIndexErrorHandler = std::function<void(int index)>;
void SetImageIndexErrorHandler(ImageIndexErrorHandler handler);
int ImageIndexErrorCount();

constexpr int kChannelSideTableSize = 17;  // index = channel - 1, used 0..15
using ChannelSideTable = std::array<uint8_t, kChannelSideTableSize>;

// --- Images and per-channel side tables -------------------------------------------------------
extern ByteImage CodeplugImage;  // the codeplug: the record of every setting
extern ByteImage RadioImage;     // bytes exactly as received from the radio during a transfer
extern ChannelSideTable RxSquelchListIndex;  // receive tone/code list position from the dialog
extern ChannelSideTable TxSquelchListIndex;  // the same for transmit
extern ChannelSideTable RevBurstState;       // 0 "None", 1 "180", 2 "240"
extern ChannelSideTable RxSquelchOption;     // 0 CSQ, 1 DKS, 2 TKS, 3 IDKS, 4..6 user tone 1..3
extern ChannelSideTable TxSquelchOption;     // the same for transmit

// --- Channel grid editing and the tone/code dialog ---------------------------------------------
extern int FreqCellCleared;       // 1 after a frequency commit deleted its channel's frequency
extern bool GridEditArmed;        // the last grid press was a left press on an ordinary data cell
extern bool ClipboardKeyPending;  // Ctrl (or Ctrl+C / Ctrl+V) is held on a frequency cell
extern int ToneDlgChannel;        // channel index 0..15 the tone/code dialog edits
extern bool ToneDlgIsTx;          // the dialog edits the transmit side (else the receive side)

// --- Band state (set from image byte 4 by SetupBandLimits) ------------------------------------
extern int BandLowMHz;       // lower band edge in MHz
extern int BandHighMHz;      // upper band edge in MHz
extern bool IsUhfBand;       // True on the UHF bands
extern double IfOffsetMHz;   // receive offset: -45.1 on UHF, +45.1 on VHF, 0 before any band
extern int ChannelCountVar;  // channels of the radio, 16 or 8; 0 until the first load sets it

// --- Editor and load flags ---------------------------------------------------------------------
extern bool DataModified;         // the codeplug has changed since it was last saved
extern bool CodeplugLocked;       // the editor shows a codeplug whose password was not given
extern bool LegacyLayout;         // the image has no valid identity block (384-value layout)
extern bool CodeplugLoading;      // a load is filling the editor: handlers take stored values
extern bool CodeplugFileInvalid;  // the last file read had an unknown header
extern bool ChannelDataInvalid;   // a grid fill or grid colouring could not show a record
extern bool ButtonListFilling;    // a load selects short-press entries: handlers do not store
extern bool PrioScanErrorShown;   // a priority-scan warning has been shown
extern int ShortPressIndex1;      // short-press function code - 1 of programmable button 1
extern int ShortPressIndex2;      // the same for button 2
extern int SkipLeaveCellCommit;   // 1 when a commit has just emptied a cell, else 0
extern bool CellEditCommitted;    // the inline editor's text has been committed already
extern int ScanBitmapLow;         // working copy of scan bitmap byte 244 taken by the fill chain
extern int ScanBitmapHigh;        // working copy of scan bitmap byte 245 taken by the fill chain

// --- Application shell flags -------------------------------------------------------------------
extern bool SaveAborted;       // the last File>Save did not complete
extern bool ExitRequested;     // File>Exit is closing the program
extern bool AppExiting;        // the main window is unloading
extern bool ToolbarMouseDown;  // the left button is held down on the main window's toolbar
extern int PasswordAttempts;   // wrong password tries in the current prompt
extern bool ShowErrorsFlag;    // copy of the last ShowErrors argument of the file association

// --- Data Report -------------------------------------------------------------------------------
extern bool PrintToPreview;      // a preview has switched the printer to inches in this run
extern bool TableRowOffset;      // the next position read of a table row answers 0.06 in higher
extern bool TableRowOffsetUsed;  // that higher answer has been given in the current row

// --- Radio link state --------------------------------------------------------------------------
extern bool ReadMode;  // the programming window is open for a radio read
extern bool CommError;
extern bool TransferAborted;
extern int ReplyTimeoutTicks;
extern bool ReplyTimerRunning;
extern bool ReplyTimedOut;
extern int HandshakeTimeoutTicks;
extern bool HandshakeTimerRunning;
extern bool HandshakeTimedOut;
extern int LedBlinkTicks;
extern bool LedBlinkActive;
extern bool LedBlinkGreen;
extern bool LedLit;
// The serial exchanges' flags and buffers (the serial event handler and the link primitives).
extern bool CommSendEvent;     // a send event arrived and no send primitive has consumed it
extern bool ReceiveArmed;      // a receive primitive is waiting
extern bool CommReceiveEvent;  // a receive event arrived while a receive was armed
extern double RxCountdown;     // loop passes left to WaitReplyByteCountdown
extern uint8_t RxByte;         // the single reply byte taken last; 0 after a failed receive
extern QByteArray RxBuffer;    // the last multi-byte reply, every byte that was waiting
extern std::array<uint8_t, 16> TxBlock16;  // a data block frame: 8 bytes, each followed by 0
extern std::array<uint8_t, 32> TxBlock32;  // the identity write-back frame: 16 bytes and zeros
extern QString RadioPassword;              // the password the radio reported during a write
extern bool RadioPasswordAccepted;         // the radio password prompt accepted the typed password

// Puts every variable above back to its program-start value: both images and the side tables
// all zero, the band state 0 / False, every flag False.
void ResetModuleState();
