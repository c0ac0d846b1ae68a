// A drawing surface with a print position, the way a picture box or the printer object works:
// text is drawn with its top left corner at (CurrentX, CurrentY) in the current font; printing
// without ending the line leaves the position right behind the text, ending the line moves it to
// x 0 of the next line. A line leaves the position at its end point. Positions are in the
// surface's own units (inches or twips); a concrete surface measures and paints.
#pragma once

#include <QSizeF>
#include <QString>
#include <cstdint>

namespace cps {

struct SurfaceFont {
  QString name = QStringLiteral("Arial");
  double size = 10;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethru = false;
};

class DrawSurface {
 public:
  virtual ~DrawSurface() = default;

  double CurrentX() const { return x_; }
  double CurrentY() const { return y_; }
  void SetCurrentX(double x) { x_ = x; }
  void SetCurrentY(double y) { y_ = y; }

  SurfaceFont& Font() { return font_; }
  const SurfaceFont& Font() const { return font_; }
  bool FontTransparent = true;
  uint32_t ForeColor = 0;  // &HBBGGRR
  int DrawWidth = 1;       // pen width in pixels

  // Draws text at the print position; see above for where the position goes.
  void Print(const QString& text, bool endLine = true);
  // Draws a line in ForeColor and leaves the position at (x2, y2).
  void Line(double x1, double y1, double x2, double y2);
  // Erases everything drawn; the position returns to (0, 0).
  void Cls();

  double TextWidth(const QString& text) const { return Measure(font_, text).width(); }
  // The height of one line of the current font, whatever the text.
  double TextHeight(const QString& text) const { return Measure(font_, text).height(); }

 protected:
  virtual QSizeF Measure(const SurfaceFont& font, const QString& text) const = 0;
  virtual void PaintText(double x, double y, const QString& text) = 0;
  virtual void PaintLine(double x1, double y1, double x2, double y2) = 0;
  virtual void PaintClear() = 0;

 private:
  double x_ = 0;
  double y_ = 0;
  SurfaceFont font_;
};

}  // namespace cps
