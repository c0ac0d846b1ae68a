#include "report/FittedSurface.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

void FittedSurface::Retarget(cps::DrawSurface& target) {
  target_ = &target;
  Font() = target.Font();
  FontTransparent = target.FontTransparent;
  ForeColor = target.ForeColor;
  TextBackColor = target.TextBackColor;
  BackColor = target.BackColor;
  DrawWidth = target.DrawWidth;
}

void FittedSurface::StartMeasuring() {
  measuring_ = true;
  reach_ = textReach_ = QSizeF();
}

void FittedSurface::StartDrawing(double scale) {
  measuring_ = false;
  scale_ = scale;
}

QRectF FittedSurface::Scaled(const QRectF& units) const {
  return {units.x() * scale_, units.y() * scale_, units.width() * scale_, units.height() * scale_};
}

void FittedSurface::Note(double x, double y, bool text) {
  reach_ = reach_.expandedTo(QSizeF(x, y));
  if (text) textReach_ = textReach_.expandedTo(QSizeF(x, y));
}

namespace {

// The largest scale, at most 1, at which what reaches `reach` fits `page`.
double FitScale(const QSizeF& reach, const QSizeF& page) {
  double scale = 1;
  if (reach.width() > page.width()) scale = std::min(scale, page.width() / reach.width());
  if (reach.height() > page.height()) scale = std::min(scale, page.height() / reach.height());
  return scale;
}

}  // namespace

double FittedSurface::ScaleToFit(const QSizeF& page) const {
  if (page.width() <= 0 || page.height() <= 0) return 1;  // a page of unknown size
  return FitScale(textReach_, page) < 1 ? FitScale(reach_, page) : 1;
}

void FittedSurface::Prepare(double x, double y) {
  target_->Font() = Font();
  target_->Font().size = Font().size * scale_;
  target_->FontTransparent = FontTransparent;
  target_->ForeColor = ForeColor;
  target_->TextBackColor = TextBackColor;
  target_->BackColor = BackColor;
  target_->DrawWidth = DrawWidth;
  target_->SetCurrentX(x * scale_);
  target_->SetCurrentY(y * scale_);
}

QSizeF FittedSurface::Measure(const cps::SurfaceFont& font, const QString& text) const {
  if (target_ == nullptr) return {};
  const cps::SurfaceFont saved = target_->Font();
  target_->Font() = font;
  const QSizeF size(target_->TextWidth(text), target_->TextHeight(text));
  target_->Font() = saved;
  return size;
}

void FittedSurface::PaintText(double x, double y, const QString& text) {
  if (measuring_) {
    const QSizeF size = Measure(Font(), text);
    Note(x + size.width(), y + size.height(), true);
  } else if (target_ != nullptr) {
    Prepare(x, y);
    target_->Print(text, false);
  }
}

void FittedSurface::PaintLine(double x1, double y1, double x2, double y2) {
  if (measuring_) {
    Note(std::max(x1, x2), std::max(y1, y2), false);
  } else if (target_ != nullptr) {
    Prepare(x1, y1);
    target_->Line(x1 * scale_, y1 * scale_, x2 * scale_, y2 * scale_);
  }
}

void FittedSurface::PaintClear() {
  if (measuring_ || target_ == nullptr) return;
  target_->BackColor = BackColor;
  target_->Cls();
}

void FittedSurface::PaintBox(const QRectF& box, uint32_t lineColour, uint32_t fillColour,
                             int fillStyle) {
  if (measuring_) {
    Note(box.right(), box.bottom(), false);
  } else if (target_ != nullptr) {
    Prepare(box.left(), box.top());
    const QRectF at = Scaled(box);
    target_->Box(at.left(), at.top(), at.right(), at.bottom(), lineColour, fillColour, fillStyle);
  }
}

void FittedSurface::PaintEllipse(const QRectF& bounds, uint32_t lineColour, uint32_t fillColour,
                                 int fillStyle) {
  if (measuring_) {
    Note(bounds.right(), bounds.bottom(), false);
  } else if (target_ != nullptr) {
    const QRectF at = Scaled(bounds);
    const double across = at.width() / 2;
    const double down = at.height() / 2;
    // The target's circle takes the larger half-axis as its radius and their ratio as aspect.
    const double aspect = across > 0 ? down / across : std::numeric_limits<double>::infinity();
    Prepare(bounds.center().x(), bounds.center().y());
    target_->Circle(at.center().x(), at.center().y(), std::max(across, down), aspect, lineColour,
                    fillColour, fillStyle);
  }
}

void FittedSurface::PaintRotatedText(double x, double y, const QString& text, int angle) {
  if (measuring_) {
    // The corners of the text's box, turned counter-clockwise about its start.
    const QSizeF size = Measure(Font(), text);
    const double turn = -angle * std::numbers::pi / 180;
    for (const QPointF& corner : {QPointF(size.width(), 0), QPointF(0, size.height()),
                                  QPointF(size.width(), size.height()), QPointF(0, 0)}) {
      Note(x + corner.x() * std::cos(turn) - corner.y() * std::sin(turn),
           y + corner.x() * std::sin(turn) + corner.y() * std::cos(turn), true);
    }
  } else if (target_ != nullptr) {
    Prepare(x, y);
    target_->PrintRotated(text, angle);
  }
}
