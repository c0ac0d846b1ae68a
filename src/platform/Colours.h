// Colours as the program writes them (&HBBGGRR, or &H80000000 + n for system colour n) turned
// into what the screen shows, through the widget's palette for the system colours.
#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace cps {

constexpr uint32_t kColourWindowBackground = 0x80000005u;  // a text box's background
constexpr uint32_t kColourWindowText = 0x80000008u;        // a text box's text
constexpr uint32_t kColourButtonFace = 0x8000000Fu;        // a label's or button's background

// The colour shown for colour value on a widget with this palette. System colours used by the
// program map to their palette roles: window background (5), window text (8), highlight (13),
// highlighted text (14), button face (15), button shadow (16), grey text (17, the disabled text
// colour), button text (18), button highlight (20); any other system colour shows as window text.
QColor ToQColor(uint32_t colour, const QPalette& palette);

}  // namespace cps
