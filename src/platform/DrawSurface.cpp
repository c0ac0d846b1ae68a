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

void DrawSurface::Box(double x1, double y1, double x2, double y2, uint32_t lineColour,
                      uint32_t fillColour, int fillStyle) {
  PaintBox(QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized(), lineColour, fillColour,
           fillStyle);
  x_ = x2;
  y_ = y2;
}

void DrawSurface::Circle(double x, double y, double radius, double aspect, uint32_t lineColour,
                         uint32_t fillColour, int fillStyle) {
  double across = radius;
  double down = radius * aspect;
  if (aspect > 1) {
    down = radius;
    across = radius / aspect;
  }
  PaintEllipse(QRectF(x - across, y - down, 2 * across, 2 * down), lineColour, fillColour,
               fillStyle);
  x_ = x;
  y_ = y;
}

void DrawSurface::PrintRotated(const QString& text, int angle) {
  SurfaceFont plain = font_;
  plain.bold = plain.italic = plain.underline = plain.strikethru = false;
  PaintRotatedText(x_, y_, text, angle);
  x_ += Measure(plain, text).width();
}

}  // namespace cps
