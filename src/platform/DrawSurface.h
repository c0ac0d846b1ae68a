// A drawing surface with a print position, the way a picture box or the printer object works:
// text is drawn with its top left corner at (CurrentX, CurrentY) in the current font; printing
// without ending the line leaves the position right behind the text, ending the line moves it to
// x 0 of the next line. A line leaves the position at its end point. Positions are in the
// surface's own units (inches or twips); a concrete surface measures and paints.
#pragma once

#include <QRectF>
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
  uint32_t ForeColor = 0;             // &HBBGGRR
  uint32_t TextBackColor = 0xFFFFFF;  // behind text that is not transparent
  uint32_t BackColor = 0xFFFFFF;      // the surface's own colour, which Cls paints
  int DrawWidth = 1;                  // pen width in pixels

  // Fill styles of boxes and circles.
  static constexpr int kFillSolid = 0;
  static constexpr int kFillTransparent = 1;  // 2..7: hatches (horizontal, vertical, down and up
                                              // diagonal, cross, diagonal cross)

  // Draws text at the print position; see above for where the position goes.
  void Print(const QString& text, bool endLine = true);
  // Draws a line in ForeColor and leaves the position at (x2, y2).
  void Line(double x1, double y1, double x2, double y2);
  // Erases everything drawn; the position returns to (0, 0).
  void Cls();
  // A rectangle with corners (x1, y1) and (x2, y2), outlined in lineColour and filled as
  // fillStyle says; the position goes to (x2, y2).
  void Box(double x1, double y1, double x2, double y2, uint32_t lineColour, uint32_t fillColour,
           int fillStyle);
  // An ellipse around (x, y): radius across, radius x aspect down (aspect above 1: radius down,
  // radius / aspect across); the position goes to the centre.
  void Circle(double x, double y, double radius, double aspect, uint32_t lineColour,
              uint32_t fillColour, int fillStyle);
  // Text turned counter-clockwise by angle degrees about its start, in the plain (not bold,
  // italic, underlined or struck) current font; the position moves on as for unturned text.
  void PrintRotated(const QString& text, int angle);

  double TextWidth(const QString& text) const { return Measure(font_, text).width(); }
  // The height of one line of the current font, whatever the text.
  double TextHeight(const QString& text) const { return Measure(font_, text).height(); }

 protected:
  virtual QSizeF Measure(const SurfaceFont& font, const QString& text) const = 0;
  virtual void PaintText(double x, double y, const QString& text) = 0;
  virtual void PaintLine(double x1, double y1, double x2, double y2) = 0;
  virtual void PaintClear() = 0;
  virtual void PaintBox(const QRectF& box, uint32_t lineColour, uint32_t fillColour,
                        int fillStyle) = 0;
  virtual void PaintEllipse(const QRectF& bounds, uint32_t lineColour, uint32_t fillColour,
                            int fillStyle) = 0;
  virtual void PaintRotatedText(double x, double y, const QString& text, int angle) = 0;

 private:
  double x_ = 0;
  double y_ = 0;
  SurfaceFont font_;
};

}  // namespace cps
