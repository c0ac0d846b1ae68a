// The platform's key codes (KeyDown/KeyUp), character codes (KeyPress), shift states and mouse
// buttons, and their translation from Qt's. A key and a character are different things: 46 is
// the Delete key as a key code and the point "." as a character code.
#pragma once

#include <QString>
#include <Qt>

namespace cps {

// Key codes, as KeyDown and KeyUp report them.
constexpr int kKeyBack = 8;
constexpr int kKeyTab = 9;
constexpr int kKeyReturn = 13;
constexpr int kKeyShift = 16;
constexpr int kKeyControl = 17;
constexpr int kKeyMenu = 18;  // Alt
constexpr int kKeyEscape = 27;
constexpr int kKeySpace = 32;
constexpr int kKeyPageUp = 33;
constexpr int kKeyPageDown = 34;
constexpr int kKeyEnd = 35;
constexpr int kKeyHome = 36;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
constexpr int kKeyInsert = 45;
constexpr int kKeyDelete = 46;
constexpr int kKey0 = 48;         // digits 48..57
constexpr int kKeyA = 65;         // letters 65..90
constexpr int kKeyNumpad0 = 96;   // keypad digits 96..105
constexpr int kKeyDecimal = 110;  // keypad point
constexpr int kKeyF1 = 112;       // F1..F24: 112..135
constexpr int kKeyPeriod = 190;   // the "." key of the main keyboard

// Character codes, as KeyPress reports them.
constexpr int kAsciiBackspace = 8;
constexpr int kAsciiTab = 9;
constexpr int kAsciiReturn = 13;
constexpr int kAsciiEscape = 27;
constexpr int kAsciiPoint = 46;

// Shift state bits and mouse buttons, as the key and mouse events report them.
constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;
constexpr int kAltMask = 4;
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

// The key code of a Qt key; 0 for a key the platform has no code for (such a key raises no
// KeyDown). Keypad digits and operators are told apart by Qt::KeypadModifier.
int KeyCodeFromQt(int qtKey, Qt::KeyboardModifiers modifiers);

// The character code that a key press types, or 0 when it types none (arrows, Delete, function
// keys, Alt combinations). Enter 13, Esc 27, Backspace 8, Tab 9, Ctrl+A..Ctrl+Z 1..26; otherwise
// the code of the typed character (Latin-1 for 0..255).
int KeyAsciiFromQt(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);

// Shift 1, Ctrl 2, Alt 4, added together.
int ShiftStateFromQt(Qt::KeyboardModifiers modifiers);

// The shift state a key event reports: a Shift, Ctrl or Alt key counts itself while it goes
// down (Ctrl's own KeyDown has shift 2) and no longer once it is released.
int KeyShiftState(int qtKey, Qt::KeyboardModifiers modifiers, bool pressed);

// Left 1, right 2, middle 4, added together for a set of buttons.
int MouseButtonsFromQt(Qt::MouseButtons buttons);

}  // namespace cps
