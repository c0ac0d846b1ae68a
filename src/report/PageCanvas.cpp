#include "report/PageCanvas.h"

#include <QFontMetricsF>
#include <QPainter>

#include "platform/PaintHelpers.h"
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
  painter.setPen(cps::ColourOf(ForeColor));
  const QFontMetricsF metrics(painter.font());
  const QPointF at(x * unitX_, y * unitY_);
  if (!FontTransparent) {
    painter.fillRect(QRectF(at, QSizeF(metrics.horizontalAdvance(text), metrics.lineSpacing())),
                     cps::ColourOf(TextBackColor));
  }
  painter.drawText(at + QPointF(0, metrics.ascent()), text);
}

QRectF PageCanvas::ToPixels(const QRectF& units) const {
  return {units.x() * unitX_, units.y() * unitY_, units.width() * unitX_, units.height() * unitY_};
}

QPen PageCanvas::Pen(uint32_t colour) const {
  QPen pen(cps::ColourOf(colour));
  pen.setWidth(DrawWidth);
  return pen;
}

void PageCanvas::PaintBox(const QRectF& box, uint32_t lineColour, uint32_t fillColour,
                          int fillStyle) {
  if (image_.isNull()) return;
  QPainter painter(&image_);
  painter.setPen(Pen(lineColour));
  painter.setBrush(cps::FillBrush(fillColour, fillStyle));
  painter.drawRect(ToPixels(box));
}

void PageCanvas::PaintEllipse(const QRectF& bounds, uint32_t lineColour, uint32_t fillColour,
                              int fillStyle) {
  if (image_.isNull()) return;
  QPainter painter(&image_);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Pen(lineColour));
  painter.setBrush(cps::FillBrush(fillColour, fillStyle));
  painter.drawEllipse(ToPixels(bounds));
}

void PageCanvas::PaintRotatedText(double x, double y, const QString& text, int angle) {
  if (image_.isNull() || Font().size <= 0) return;
  cps::SurfaceFont plain = Font();
  plain.bold = plain.italic = plain.underline = plain.strikethru = false;
  QPainter painter(&image_);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setFont(PixelFont(plain));
  painter.setPen(cps::ColourOf(ForeColor));
  painter.translate(x * unitX_, y * unitY_);
  painter.rotate(-angle);
  painter.drawText(QPointF(0, QFontMetricsF(painter.font()).ascent()), text);
}

void PageCanvas::PaintPicture(const QImage& picture, const QRectF& target) {
  if (image_.isNull() || picture.isNull()) return;
  QPainter painter(&image_);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(ToPixels(target), picture);
}

void PageCanvas::PaintLine(double x1, double y1, double x2, double y2) {
  if (image_.isNull()) return;
  QPainter painter(&image_);
  painter.setPen(Pen(ForeColor));
  painter.drawLine(QPointF(x1 * unitX_, y1 * unitY_), QPointF(x2 * unitX_, y2 * unitY_));
}

void PageCanvas::PaintClear() {
  if (!image_.isNull()) image_.fill(cps::ColourOf(BackColor));
}
