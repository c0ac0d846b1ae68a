// The preview window's page canvas: a white picture at the screen's 96 dots per inch, a quarter
// inch larger than the paper each way, whose whole area spans the paper's width and height in
// user units (so one unit is slightly more than an inch on screen).
#pragma once

#include <QImage>

#include "platform/DrawSurface.h"

class PageCanvas : public cps::DrawSurface {
 public:
  static constexpr double kDotsPerInch = 96;

  // Sizes the canvas for paper of paperWidth by paperHeight inches and clears it.
  void Open(double paperWidth, double paperHeight);
  const QImage& Image() const { return image_; }
  // Copies picture's pixels, stretched, into target (user units), replacing what is there.
  void PaintPicture(const QImage& picture, const QRectF& target);

 protected:
  QSizeF Measure(const cps::SurfaceFont& font, const QString& text) const override;
  void PaintText(double x, double y, const QString& text) override;
  void PaintLine(double x1, double y1, double x2, double y2) override;
  void PaintClear() override;
  void PaintBox(const QRectF& box, uint32_t lineColour, uint32_t fillColour,
                int fillStyle) override;
  void PaintEllipse(const QRectF& bounds, uint32_t lineColour, uint32_t fillColour,
                    int fillStyle) override;
  void PaintRotatedText(double x, double y, const QString& text, int angle) override;

 private:
  QFont PixelFont(const cps::SurfaceFont& font) const;
  QRectF ToPixels(const QRectF& units) const;
  QPen Pen(uint32_t colour) const;

  QImage image_;
  double unitX_ = kDotsPerInch;  // pixels per user unit
  double unitY_ = kDotsPerInch;
};
