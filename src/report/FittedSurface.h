// Draws on another surface with every position and font size multiplied by one scale, so that a
// report laid out for a portrait page fits whole on a smaller or turned one. Text is measured as
// the target measures it at full size, so what is composed on this surface is laid out the same
// at every scale. While it measures, it draws nothing and only notes how far the drawing reaches.
#pragma once

#include <QRectF>
#include <QSizeF>

#include "platform/DrawSurface.h"

class FittedSurface : public cps::DrawSurface {
 public:
  FittedSurface() = default;
  explicit FittedSurface(cps::DrawSurface& target) { Retarget(target); }

  // Draws on target from here on, starting from its font and colours.
  void Retarget(cps::DrawSurface& target);
  // Draws nothing from here on; the reach starts again from the page's corner.
  void StartMeasuring();
  // Draws on the target from here on, at scale.
  void StartDrawing(double scale);
  // The scale for what was composed since StartMeasuring on a page of this size (its unit): 1
  // where all its text fits, so a rule that runs past the page's edge is only shortened as
  // ever; else the largest at which all of it, rules included, fits.
  double ScaleToFit(const QSizeF& page) const;
  // A rectangle at full size as it lands on the target.
  QRectF Scaled(const QRectF& units) const;

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
  // Notes how far the drawing reaches; text also how far the text does.
  void Note(double x, double y, bool text);
  // The target takes this surface's colours and pen, and font at scale, at (x, y) at scale.
  void Prepare(double x, double y);

  cps::DrawSurface* target_ = nullptr;
  bool measuring_ = false;
  double scale_ = 1;
  QSizeF reach_;      // of everything drawn, at full size
  QSizeF textReach_;  // of the text alone
};
