// The multi-page print preview: printer-like drawing in inches on a page-sized canvas, every
// finished page written as a page file "PPview<n>.bmp" in the preview window's own folder inside
// TEMP, and the pages shown in the preview window at the end. Positions and sizes are in inches of
// the page; -1 for a position or size means the current position or the default where a member says
// so.
#pragma once

#include <QSizeF>
#include <QString>
#include <optional>

#include "platform/DrawSurface.h"
#include "report/PreviewHost.h"

class clsMultiPgPreview {
 public:
  // Sets the printer to portrait; PrinterUnusable() tells whether the printer refused.
  explicit clsMultiPgPreview(PreviewHost& host);

  bool PrinterUnusable() const { return printerUnusable_; }

  // --- Document and pages ---
  void pStartDoc();
  void pNewPage();
  void pEndDoc(int modal);
  int GetPage() const { return PageNo + 1; }
  double GetPaperWidth();
  double GetPaperHeight() const { return PaperHeight; }
  // The printer's page as pStartDoc took it, in inches.
  QSizeF PageSize() const { return {ScaleWidth, ScaleHeight}; }
  // True when a line of the current font, a second one (two 10-point lines with use10pt) and
  // extra no longer fit above the paper's bottom.
  bool pEndOfPage(double extra, bool use10pt);
  // The page file of page n.
  QString PageFile(int page) const;

  // --- Text ---
  void pPrint(const QString& text, double x = -1, bool sameLine = false);
  void pMultiline(const QString& text, double left, double right, const QString& prefix,
                  bool sameLine, bool pageCheck);
  void pCenter(const QString& text, bool sameLine = false, double width = -1, double left = 0);
  void pCenterMultiline(const QString& text, double left, double right, bool ignoreBreaks,
                        bool sameLine);
  void pRightJust(const QString& text, double x = -1, bool sameLine = false);
  void pRightTab(const QString& text, double x, bool sameLine = false);
  void pHalfSpace();
  void p15Space();
  void pQuarterSpace();
  // Text turned counter-clockwise by angle degrees (0..359), in the plain current font.
  void pPrintRotate(const QString& text, int angle, double x = -1);
  // A bullet and two blanks in the Symbol font.
  void pBullet(double x = -1);
  // Blanks (or green Symbol fill characters) from fromX up to toX (-1: the paper's width); the
  // fill stops where the next character would pass toX or the paper's edge.
  void pSpaces(double toX = -1, double fromX = -1, bool useSymbol = false);
  // Leader dots up to toX, as far as whole dots fit before it and the paper's edge.
  void pDots(double toX, double fromX = -1);

  // --- Rules ---
  void pLine(double x1, double x2, int penWidth, bool addSpace);
  void pDoubleLine(double x1, double x2, int penWidth, bool addSpace);
  void pVerticalLine(double x, double y1, double y2, int penWidth);
  // Colours -1: the fore colour (line) and the line colour (fill); sizes -1: the paper's width
  // and one line. Fill style 1 draws the outline only.
  void pBox(double x = -1, double y = -1, double width = -1, double height = -1,
            int64_t lineColour = -1, int64_t fillColour = -1, int fillStyle = 1);
  void pCircle(double x, double y, double radius, int64_t lineColour = -1, int64_t fillColour = -1,
               int fillStyle = 1, double aspect = 1);
  // Paints picture (a QImage or QPixmap) at (x, y) in width by height. A zero width takes the
  // height and a zero height the width; both zero mean fit (these three are written back). Fit
  // fills the whole surface; keepAspect keeps the picture's shape inside the target. x or y -1
  // centres the picture across or down the surface, or puts it at the surface's left or top edge.
  void pPrintPicture(const QVariant& picture, double x, double y, double& width, double& height,
                     bool& fit, bool keepAspect);

  // --- Page furniture ---
  void pHeader(const QString& title, const std::optional<QString>& subTitle = {},
               const std::optional<bool>& italic = {});
  void pFooter(QString& footerText);
  // "Printed: " and the date and time, in 9 points.
  void pPrintedDate(bool centered = false, double x = -1, bool sameLine = false);
  // The red cancel notice.
  void pCancled();

  // --- Properties ---
  QString FontName() const { return surface().Font().name; }
  void SetFontName(const QString& name);
  void pFontName(const QString& name) { SetFontName(name); }
  int FontSize() const;
  void SetFontSize(double size) { surface().Font().size = size; }
  bool FontBold() const { return surface().Font().bold; }
  void SetFontBold(bool on) { surface().Font().bold = on; }
  bool FontItalic() const { return surface().Font().italic; }
  void SetFontItalic(bool on) { surface().Font().italic = on; }
  bool FontUnderline() const { return surface().Font().underline; }
  void SetFontUnderline(bool on) { surface().Font().underline = on; }
  bool FontStrikethru() const { return surface().Font().strikethru; }
  void SetFontStrikethru(bool on) { surface().Font().strikethru = on; }
  bool FontTransparent() const { return surface().FontTransparent; }
  void SetFontTransparent(bool on) { surface().FontTransparent = on; }
  uint32_t ForeColor() const { return surface().ForeColor; }
  void SetForeColor(uint32_t colour) { surface().ForeColor = colour; }
  double CurrentX() const { return surface().CurrentX(); }
  void SetCurrentX(double x) { surface().SetCurrentX(x); }
  // The first read of a table row answers 0.06 higher while TableRowOffset is on.
  double CurrentY();
  void SetCurrentY(double y) { surface().SetCurrentY(y); }
  int DrawWidth() const { return surface().DrawWidth * 2; }  // in half pixels
  // -1: transparent text; any other colour: text on that colour. The get answers the surface's
  // own colour.
  uint32_t BackColor() const { return surface().BackColor; }
  void SetBackColor(int64_t colour);
  void SetDrawWidth(int halfPixels);
  int Orientation() const { return PageOrientation; }
  void SetOrientation(int orientation);
  int PrintCopies() const { return host_.PrinterCopies(); }
  void SetPrintCopies(int copies) { host_.SetPrinterCopies(copies); }
  bool SendToPrinter() const { return false; }
  void SetSendToPrinter(bool) {}
  QString ReportTitle;
  QString ReportSubTitle;

  double GetTextWidth(const QString& text) const { return surface().TextWidth(text); }
  double GetTextHeight(const QString& text) const { return surface().TextHeight(text); }

  // --- Text helpers ---
  static QString GetRemoveCRLF(QString text);
  static QString GetFormalCase(const QString& text);
  static QString GetStripQuotes(QString text);

 private:
  cps::DrawSurface& surface() const { return *surface_; }
  void PrintLine(const QString& text, bool endLine);
  // Text from here on is drawn on opaque white; the position is put back after the quarter line
  // this prints.
  void ResetBackColor();
  // Prints fill without ending the line for as long as a whole one fits before toX.
  void Fill(const QString& fill, double toX);

  PreviewHost& host_;
  cps::DrawSurface* surface_;
  bool printerUnusable_ = false;
  double PaperWidth = 0;
  double PaperHeight = 0;
  // The surface's scale: its whole area spans these user units from (0, 0), set by pStartDoc
  // from the printer's paper (GetPaperWidth does not change it).
  double ScaleWidth = 0;
  double ScaleHeight = 0;
  int PageOrientation = 1;
  bool TitleItalic = true;
  int PageNo = 0;
  QString TempPath;  // the page folder, ending in "/"
};
