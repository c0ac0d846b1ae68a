#include "platform/DrawSurface.h"

namespace cps {

void DrawSurface::Print(const QString& text, bool endLine) {
  const QSizeF size = Measure(font_, text);
  if (!text.isEmpty()) PaintText(x_, y_, text);
  if (endLine) {
    x_ = 0;
    y_ += size.height();
  } else {
    x_ += size.width();
  }
}

void DrawSurface::Line(double x1, double y1, double x2, double y2) {
  PaintLine(x1, y1, x2, y2);
  x_ = x2;
  y_ = y2;
}

void DrawSurface::Cls() {
  PaintClear();
  x_ = 0;
  y_ = 0;
}

}  // namespace cps
