// The functions a programmable button can have and which of them each list offers. Pure data:
// the editor's four button lists are built from it and map their positions back through it.
#pragma once

#include <QString>
#include <array>
#include <vector>

namespace buttons {

// Function codes, as bytes 240..243 store them.
constexpr int kHiLowPower = 1;
constexpr int kVolumeSet = 2;
constexpr int kMonitor = 3;
constexpr int kStickyMonitor = 4;
constexpr int kScan = 5;
constexpr int kUnassigned = 8;
constexpr int kSquelch = 10;
constexpr int kNuisanceChannelDelete = 11;
constexpr int kButtonLock = 12;
constexpr int kLastShortPress = kSquelch;  // 11 and 12 are long-press functions only

// ButtonFunctionList: the text of function code c is entry c - 1.
inline constexpr std::array<const char*, 12> ButtonFunctionList = {"Hi/Low Power",
                                                                   "Volume Set",
                                                                   "Monitor",
                                                                   "Sticky Monitor",
                                                                   "Scan",
                                                                   "Repeater/Talkaround",
                                                                   "KS/DKS",
                                                                   "Unassigned",
                                                                   "Battery Save Mode",
                                                                   "Squelch",
                                                                   "Nuisance Channel Delete",
                                                                   "Button Lock"};

// The text of a function code 1..12; empty for any other code.
QString FunctionText(int code);

// "Hi/Low Power" is offered only while the radio's power is not fixed: byte 396 0 or 255.
bool OffersHiLowPower(int fixedPowerCode);

// The short-press functions in list order: codes 1..10, code 1 only when offered.
std::vector<int> ShortPressCodes(bool offerHiLowPower);

// The long-press functions a short-press code allows, in list order; empty for a code outside
// 1..10. The list of code 1 always starts with "Hi/Low Power" (that choice exists only when it
// is offered); codes 5..10 start with it only when it is offered; 2, 3 and 4 never offer it.
std::vector<int> LongPressCodes(int shortPressCode, bool offerHiLowPower);

}  // namespace buttons
