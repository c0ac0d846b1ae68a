#include "report/PageCanvas.h"

#include <QFontMetricsF>
#include <QPainter>

#include "platform/TextConv.h"

void PageCanvas::Open(double paperWidth, double paperHeight) {
  const int width = static_cast<int>(cps::RoundHalfEven((paperWidth + 0.25) * kDotsPerInch));
  const int height = static_cast<int>(cps::RoundHalfEven((paperHeight + 0.25) * kDotsPerInch));
  image_ = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
  // 96 dots per inch, so point sizes measure as on the screen.
  image_.setDotsPerMeterX(3780);
  image_.setDotsPerMeterY(3780);
  unitX_ = paperWidth > 0 ? image_.width() / paperWidth : kDotsPerInch;
  unitY_ = paperHeight > 0 ? image_.height() / paperHeight : kDotsPerInch;
  Cls();
}

QFont PageCanvas::PixelFont(const cps::SurfaceFont& font) const {
  QFont f(font.name);
  f.setPixelSize(std::max(1, static_cast<int>(cps::RoundHalfEven(font.size * kDotsPerInch / 72))));
  f.setBold(font.bold);
  f.setItalic(font.italic);
  f.setUnderline(font.underline);
  f.setStrikeOut(font.strikethru);
  return f;
}

QSizeF PageCanvas::Measure(const cps::SurfaceFont& font, const QString& text) const {
  if (font.size <= 0) return {0, 0};
  const QFontMetricsF metrics(PixelFont(font));
  return {metrics.horizontalAdvance(text) / unitX_, metrics.lineSpacing() / unitY_};
}

void PageCanvas::PaintText(double x, double y, const QString& text) {
  if (image_.isNull() || Font().size <= 0) return;
  QPainter painter(&image_);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setFont(PixelFont(Font()));
  painter.setPen(QColor::fromRgb(cps::BgrToRgb(ForeColor)));
  const QFontMetricsF metrics(painter.font());
  const QPointF at(x * unitX_, y * unitY_);
  if (!FontTransparent) {
    painter.fillRect(QRectF(at, QSizeF(metrics.horizontalAdvance(text), metrics.lineSpacing())),
                     Qt::white);
  }
  painter.drawText(at + QPointF(0, metrics.ascent()), text);
}

void PageCanvas::PaintLine(double x1, double y1, double x2, double y2) {
  if (image_.isNull()) return;
  QPainter painter(&image_);
  QPen pen(QColor::fromRgb(cps::BgrToRgb(ForeColor)));
  pen.setWidth(DrawWidth);
  painter.setPen(pen);
  painter.drawLine(QPointF(x1 * unitX_, y1 * unitY_), QPointF(x2 * unitX_, y2 * unitY_));
}

void PageCanvas::PaintClear() {
  if (!image_.isNull()) image_.fill(Qt::white);
}
