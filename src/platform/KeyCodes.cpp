#include "platform/KeyCodes.h"

namespace cps {
namespace {

struct KeyPair {
  int qtKey;
  int keyCode;
};

// Keys whose code does not follow from a range. The shifted symbols of the US layout, which Qt
// reports as keys of their own, carry the code of the key that types them.
constexpr KeyPair kKeyTable[] = {
    {Qt::Key_Backspace, 8},    {Qt::Key_Tab, 9},
    {Qt::Key_Backtab, 9},      {Qt::Key_Clear, 12},
    {Qt::Key_Return, 13},      {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},       {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18},         {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},    {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},       {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},        {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},          {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},        {Qt::Key_Print, 44},
    {Qt::Key_Insert, 45},      {Qt::Key_Delete, 46},
    {Qt::Key_Help, 47},        {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145}, {Qt::Key_Semicolon, 186},
    {Qt::Key_Colon, 186},      {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},       {Qt::Key_Comma, 188},
    {Qt::Key_Less, 188},       {Qt::Key_Minus, 189},
    {Qt::Key_Underscore, 189}, {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},    {Qt::Key_Slash, 191},
    {Qt::Key_Question, 191},   {Qt::Key_QuoteLeft, 192},
    {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},  {Qt::Key_Backslash, 220},
    {Qt::Key_Bar, 220},        {Qt::Key_BracketRight, 221},
    {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},   {Qt::Key_Exclam, 49},
    {Qt::Key_At, 50},          {Qt::Key_NumberSign, 51},
    {Qt::Key_Dollar, 52},      {Qt::Key_Percent, 53},
    {Qt::Key_AsciiCircum, 54}, {Qt::Key_Ampersand, 55},
    {Qt::Key_Asterisk, 56},    {Qt::Key_ParenLeft, 57},
    {Qt::Key_ParenRight, 48},
};

// Keys of the numeric keypad that have codes of their own there.
int KeypadCode(int qtKey) {
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return kKeyNumpad0 + (qtKey - Qt::Key_0);
  switch (qtKey) {
    case Qt::Key_Asterisk:
      return 106;
    case Qt::Key_Plus:
      return 107;
    case Qt::Key_Minus:
      return 109;
    case Qt::Key_Period:
      return kKeyDecimal;
    case Qt::Key_Comma:
      return kKeyDecimal;
    case Qt::Key_Slash:
      return 111;
    default:
      return 0;
  }
}

}  // namespace

int KeyCodeFromQt(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) {
    if (int code = KeypadCode(qtKey)) return code;
  }
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return kKey0 + (qtKey - Qt::Key_0);
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return kKeyA + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return kKeyF1 + (qtKey - Qt::Key_F1);
  for (const KeyPair& pair : kKeyTable) {
    if (pair.qtKey == qtKey) return pair.keyCode;
  }
  return 0;
}

int KeyAsciiFromQt(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
  if (modifiers & Qt::AltModifier) return 0;
  if (modifiers & Qt::ControlModifier) {
    // Ctrl with a letter types the control character of that letter (Ctrl+C is 3).
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 1 + (qtKey - Qt::Key_A);
    return 0;
  }
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kAsciiReturn;
    case Qt::Key_Escape:
      return kAsciiEscape;
    case Qt::Key_Backspace:
      return kAsciiBackspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return kAsciiTab;
    default:
      break;
  }
  if (text.isEmpty()) return 0;
  char16_t c = text.at(0).unicode();
  if (c < 32 || c == 127) return 0;  // Delete and other non-printing keys type nothing
  return c;
}

int ShiftStateFromQt(Qt::KeyboardModifiers modifiers) {
  int shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= kShiftMask;
  if (modifiers & Qt::ControlModifier) shift |= kCtrlMask;
  if (modifiers & Qt::AltModifier) shift |= kAltMask;
  return shift;
}

int KeyShiftState(int qtKey, Qt::KeyboardModifiers modifiers, bool pressed) {
  int own = 0;
  if (qtKey == Qt::Key_Shift) own = kShiftMask;
  if (qtKey == Qt::Key_Control) own = kCtrlMask;
  if (qtKey == Qt::Key_Alt) own = kAltMask;
  int shift = ShiftStateFromQt(modifiers);
  return pressed ? (shift | own) : (shift & ~own);
}

int MouseButtonsFromQt(Qt::MouseButtons buttons) {
  int result = 0;
  if (buttons & Qt::LeftButton) result |= kLeftButton;
  if (buttons & Qt::RightButton) result |= kRightButton;
  if (buttons & Qt::MiddleButton) result |= kMiddleButton;
  return result;
}

}  // namespace cps
