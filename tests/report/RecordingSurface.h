// A drawing surface that records what is drawn, with round-number metrics so that positions can
// be worked out by hand: a line of text is size / 50 inch high, a character size / 100 inch wide
// and a blank a quarter of that, as narrow as in a real proportional font (10 points: 0.2 in a
// line, 0.1 in a character, 0.025 in a blank).
#pragma once

#include <QSizeF>
#include <QString>
#include <QVector>

#include "platform/DrawSurface.h"
#include "report/PreviewHost.h"

struct DrawnText {
  double x;
  double y;
  QString text;
  double size;
  bool bold;
};

struct DrawnLine {
  double x1, y1, x2, y2;
};

struct DrawnShape {
  QRectF bounds;
  uint32_t line;
  uint32_t fill;
  int fillStyle;
};

struct DrawnTurn {
  double x, y;
  QString text;
  int angle;
  double size;
};

class RecordingSurface : public cps::DrawSurface {
 public:
  explicit RecordingSurface(double unitsPerInch = 1) : unitsPerInch_(unitsPerInch) {}
  QVector<DrawnText> texts;
  QVector<DrawnLine> lines;
  QVector<DrawnShape> boxes;
  QVector<DrawnShape> ellipses;
  QVector<DrawnTurn> turned;
  int clears = 0;

  // The first text drawn that reads exactly text; nullptr when there is none.
  const DrawnText* Find(const QString& text) const {
    for (const DrawnText& t : texts) {
      if (t.text == text) return &t;
    }
    return nullptr;
  }
  int Count(const QString& text) const {
    int n = 0;
    for (const DrawnText& t : texts) n += t.text == text ? 1 : 0;
    return n;
  }

 protected:
  QSizeF Measure(const cps::SurfaceFont& font, const QString& text) const override {
    const double blanks = text.count(QLatin1Char(' '));
    const double chars = text.size() - blanks + blanks / 4;
    return {chars * font.size / 100 * unitsPerInch_, font.size / 50 * unitsPerInch_};
  }
  void PaintText(double x, double y, const QString& text) override {
    texts.append({x, y, text, Font().size, Font().bold});
  }
  void PaintLine(double x1, double y1, double x2, double y2) override {
    lines.append({x1, y1, x2, y2});
  }
  void PaintBox(const QRectF& box, uint32_t line, uint32_t fill, int style) override {
    boxes.append({box, line, fill, style});
  }
  void PaintEllipse(const QRectF& bounds, uint32_t line, uint32_t fill, int style) override {
    ellipses.append({bounds, line, fill, style});
  }
  void PaintRotatedText(double x, double y, const QString& text, int angle) override {
    turned.append({x, y, text, angle, Font().size});
  }
  void PaintClear() override {
    texts.clear();
    lines.clear();
    ++clears;
  }

 private:
  double unitsPerInch_;
};

// A preview host on a recording surface: 8.5 by 11 inch paper (or `page`), the printer in
// 10-point Arial. The preview class draws on `opened` when a test sets it.
class RecordingHost : public PreviewHost {
 public:
  RecordingSurface surface;
  cps::DrawSurface* opened = nullptr;
  QSizeF page{8.5, 11};
  bool printerUsable = true;
  bool inches = false;
  QStringList savedPages;
  QVector<QVector<DrawnText>> pageTexts;  // what each saved page held
  QSize printPicture;                     // what picPrintPic holds
  QVector<QRectF> paintedPictures;        // where pictures were painted
  int shownLastPage = -1;
  bool shownModal = false;

  bool SetPrinterOrientation(int) override { return printerUsable; }
  int PrinterCopies() const override { return 1; }
  void SetPrinterCopies(int) override {}
  void SetPrinterInches() override { inches = true; }
  QSizeF PrinterPageInches() const override { return page; }
  cps::SurfaceFont PrinterFont() const override { return {}; }
  uint32_t PrinterForeColor() const override { return 0; }
  cps::DrawSurface& OpenSurface(double, double) override {
    return opened != nullptr ? *opened : surface;
  }
  QString PageFolder() const override { return QStringLiteral("/scratch/pages/"); }
  // A QSize stands for a picture of that many pixels.
  QSize SetPrintPicture(const QVariant& picture) override {
    printPicture = picture.toSize();
    return printPicture;
  }
  void PaintPrintPicture(const QRectF& target) override { paintedPictures.append(target); }
  void SavePage(const QString& path) override {
    savedPages.append(path);
    pageTexts.append(surface.texts);
  }
  void ShowPages(int lastPage, bool modal) override {
    shownLastPage = lastPage;
    shownModal = modal;
  }
};
