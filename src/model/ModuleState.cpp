#include "model/ModuleState.h"

#include <cstdio>

namespace {

int g_indexErrors = 0;

void DefaultIndexErrorHandler(int index) {
  std::fprintf(stderr, "codeplug image: index %d outside 0..399\n", index);
}

ImageIndexErrorHandler& Handler() {
  static ImageIndexErrorHandler handler = DefaultIndexErrorHandler;
  return handler;
}

bool InRange(int index) { return index >= 0 && index < ByteImage::kSize; }

void ReportIndex(int index) {
  ++g_indexErrors;
  if (Handler()) Handler()(index);
}

}  // namespace

uint8_t& ByteImage::operator[](int index) {
  if (InRange(index)) return data_[index];
  ReportIndex(index);
  scratch_ = 0;
  return scratch_;
}

uint8_t ByteImage::operator[](int index) const {
  if (InRange(index)) return data_[index];
  ReportIndex(index);
  return 0;
}

int ByteImage::Word(int index) const { return (*this)[index] | ((*this)[index + 1] << 8); }

void ByteImage::SetWord(int index, int value) {
  (*this)[index] = static_cast<uint8_t>(value & 0xFF);
  (*this)[index + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

bool ByteImage::AllEqual(int first, int last, uint8_t value) const {
  for (int i = first; i <= last; ++i) {
    if ((*this)[i] != value) return false;
  }
  return true;
}

void ByteImage::Fill(int first, int last, uint8_t value) {
  for (int i = first; i <= last; ++i) (*this)[i] = value;
}

void SetImageIndexErrorHandler(ImageIndexErrorHandler handler) {
  Handler() = handler ? std::move(handler) : DefaultIndexErrorHandler;
}

int ImageIndexErrorCount() { return g_indexErrors; }

ByteImage CodeplugImage;
ByteImage RadioImage;
ChannelSideTable RxSquelchListIndex{};
ChannelSideTable TxSquelchListIndex{};
ChannelSideTable RevBurstState{};
ChannelSideTable RxSquelchOption{};
ChannelSideTable TxSquelchOption{};

int FreqCellCleared = 0;
bool GridEditArmed = false;
bool ClipboardKeyPending = false;
int ToneDlgChannel = 0;
bool ToneDlgIsTx = false;

int BandLowMHz = 0;
int BandHighMHz = 0;
bool IsUhfBand = false;
double IfOffsetMHz = 0.0;
int ChannelCountVar = 0;

bool DataModified = false;
bool CodeplugLocked = false;
bool LegacyLayout = false;
bool CodeplugLoading = false;
bool CodeplugFileInvalid = false;
bool ChannelDataInvalid = false;
bool ButtonListFilling = false;
bool PrioScanErrorShown = false;
int ShortPressIndex1 = 0;
int ShortPressIndex2 = 0;
int SkipLeaveCellCommit = 0;
bool CellEditCommitted = false;
int ScanBitmapLow = 0;
int ScanBitmapHigh = 0;

bool SaveAborted = false;
bool ExitRequested = false;
bool AppExiting = false;
bool ToolbarMouseDown = false;
int PasswordAttempts = 0;
bool PrintToPreview = false;
bool TableRowOffset = false;
bool TableRowOffsetUsed = false;
bool ShowErrorsFlag = false;

bool ReadMode = false;
bool CommError = false;
bool TransferAborted = false;
int ReplyTimeoutTicks = 0;
bool ReplyTimerRunning = false;
bool ReplyTimedOut = false;
int HandshakeTimeoutTicks = 0;
bool HandshakeTimerRunning = false;
bool HandshakeTimedOut = false;
int LedBlinkTicks = 0;
bool LedBlinkActive = false;
bool LedBlinkGreen = false;
bool LedLit = false;
bool CommSendEvent = false;
bool ReceiveArmed = false;
bool CommReceiveEvent = false;
double RxCountdown = 0;
uint8_t RxByte = 0;
QByteArray RxBuffer;
std::array<uint8_t, 16> TxBlock16{};
std::array<uint8_t, 32> TxBlock32{};
QString RadioPassword;
bool RadioPasswordAccepted = false;

void ResetModuleState() {
  CodeplugImage = ByteImage{};
  RadioImage = ByteImage{};
  for (auto* table : {&RxSquelchListIndex, &TxSquelchListIndex, &RevBurstState, &RxSquelchOption,
                      &TxSquelchOption}) {
    table->fill(0);
  }
  FreqCellCleared = 0;
  GridEditArmed = ClipboardKeyPending = false;
  ToneDlgChannel = 0;
  ToneDlgIsTx = false;

  BandLowMHz = BandHighMHz = 0;
  IsUhfBand = false;
  IfOffsetMHz = 0.0;
  ChannelCountVar = 0;

  DataModified = CodeplugLocked = LegacyLayout = CodeplugLoading = false;
  CodeplugFileInvalid = ChannelDataInvalid = ButtonListFilling = PrioScanErrorShown = false;
  ShortPressIndex1 = ShortPressIndex2 = 0;
  SkipLeaveCellCommit = 0;
  CellEditCommitted = false;
  ScanBitmapLow = ScanBitmapHigh = 0;

  SaveAborted = ExitRequested = AppExiting = ToolbarMouseDown = false;
  PasswordAttempts = 0;
  PrintToPreview = TableRowOffset = TableRowOffsetUsed = false;
  ShowErrorsFlag = false;

  ReadMode = CommError = TransferAborted = false;
  ReplyTimeoutTicks = HandshakeTimeoutTicks = LedBlinkTicks = 0;
  ReplyTimerRunning = ReplyTimedOut = HandshakeTimerRunning = HandshakeTimedOut = false;
  LedBlinkActive = LedBlinkGreen = LedLit = false;
  CommSendEvent = ReceiveArmed = CommReceiveEvent = false;
  RxCountdown = 0;
  RxByte = 0;
  RxBuffer.clear();
  TxBlock16.fill(0);
  TxBlock32.fill(0);
  RadioPassword.clear();
  RadioPasswordAccepted = false;
}
