#include "platform/Geometry.h"

#include <QWidget>

#include "platform/TextConv.h"

namespace cps {

int LeftTwips(const QWidget& widget) { return PixelsToTwips(widget.x()); }
int TopTwips(const QWidget& widget) { return PixelsToTwips(widget.y()); }
int WidthTwips(const QWidget& widget) { return PixelsToTwips(widget.width()); }
int HeightTwips(const QWidget& widget) { return PixelsToTwips(widget.height()); }

void SetLeftTwips(QWidget& widget, int left) { widget.move(TwipsToPixels(left), widget.y()); }
void SetTopTwips(QWidget& widget, int top) { widget.move(widget.x(), TwipsToPixels(top)); }
void SetWidthTwips(QWidget& widget, int width) {
  widget.resize(TwipsToPixels(width), widget.height());
}
void SetHeightTwips(QWidget& widget, int height) {
  widget.resize(widget.width(), TwipsToPixels(height));
}

// move, not setGeometry: for a window, setGeometry would place the inside at left, top and push
// the title bar above it, off the screen at the top.
void MoveTwips(QWidget& widget, int left, int top, int width, int height) {
  widget.move(TwipsToPixels(left), TwipsToPixels(top));
  widget.resize(TwipsToPixels(width), TwipsToPixels(height));
}

}  // namespace cps
