// What the painting surfaces share: the brush of a fill style and the plain font of turned text.
#pragma once

#include <QBrush>
#include <QColor>
#include <cstdint>

#include "platform/TextConv.h"

namespace cps {

inline QColor ColourOf(uint32_t bgr) { return QColor::fromRgb(BgrToRgb(bgr)); }

// Fill style 0 solid, 1 none, 2..7 the six hatches.
inline QBrush FillBrush(uint32_t fillColour, int fillStyle) {
  static const Qt::BrushStyle kStyles[] = {Qt::SolidPattern, Qt::NoBrush,         Qt::HorPattern,
                                           Qt::VerPattern,   Qt::FDiagPattern,    Qt::BDiagPattern,
                                           Qt::CrossPattern, Qt::DiagCrossPattern};
  if (fillStyle < 0 || fillStyle > 7) return Qt::NoBrush;
  return QBrush(ColourOf(fillColour), kStyles[fillStyle]);
}

}  // namespace cps
