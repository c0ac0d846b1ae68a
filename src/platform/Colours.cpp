#include "platform/Colours.h"

#include "platform/TextConv.h"

namespace cps {
namespace {

// The palette entry that shows system colour n.
QColor SystemColour(uint32_t n, const QPalette& palette) {
  switch (n) {
    case 5:
      return palette.color(QPalette::Active, QPalette::Base);
    case 13:
      return palette.color(QPalette::Active, QPalette::Highlight);
    case 14:
      return palette.color(QPalette::Active, QPalette::HighlightedText);
    case 15:
      return palette.color(QPalette::Active, QPalette::Button);
    case 16:
      return palette.color(QPalette::Active, QPalette::Dark);
    case 17:
      return palette.color(QPalette::Disabled, QPalette::Text);
    case 18:
      return palette.color(QPalette::Active, QPalette::ButtonText);
    case 20:
      return palette.color(QPalette::Active, QPalette::Light);
    default:
      return palette.color(QPalette::Active, QPalette::Text);
  }
}

}  // namespace

QColor ToQColor(uint32_t colour, const QPalette& palette) {
  if (IsSystemColour(colour)) return SystemColour(colour & 0xFFu, palette);
  return QColor::fromRgb(BgrToRgb(colour & 0xFFFFFFu));
}

}  // namespace cps
