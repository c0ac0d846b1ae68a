#include "report/clsMultiPgPreview.h"

#include <QDateTime>
#include <QLocale>
#include <algorithm>

#include "model/ModuleState.h"
#include "platform/Runtime.h"
#include "platform/TextConv.h"

namespace {

constexpr double kRuleSpace = 0.03;  // the space a rule keeps above and below itself

// The canvas before pStartDoc and after the window is gone: drawing there changes nothing.
class NoSurface : public cps::DrawSurface {
 protected:
  QSizeF Measure(const cps::SurfaceFont&, const QString&) const override { return {}; }
  void PaintText(double, double, const QString&) override {}
  void PaintLine(double, double, double, double) override {}
  void PaintClear() override {}
  void PaintBox(const QRectF&, uint32_t, uint32_t, int) override {}
  void PaintEllipse(const QRectF&, uint32_t, uint32_t, int) override {}
  void PaintRotatedText(double, double, const QString&, int) override {}
};

NoSurface g_noSurface;

// A character the word wrap may break after: the blank and every control character.
bool IsBlankChar(QChar c) { return c.unicode() < '!'; }

bool HasLineBreak(const QString& text) {
  return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// Leading and trailing blanks (only the blank itself) removed.
QString TrimBlanks(const QString& text) {
  int first = 0;
  int last = text.size();
  while (first < last && text[first] == QLatin1Char(' ')) ++first;
  while (last > first && text[last - 1] == QLatin1Char(' ')) --last;
  return text.mid(first, last - first);
}

}  // namespace

clsMultiPgPreview::clsMultiPgPreview(PreviewHost& host) : host_(host), surface_(&g_noSurface) {
  SetOrientation(1);
  TitleItalic = true;
}

// --- Document and pages --------------------------------------------------------------------------

QString clsMultiPgPreview::PageFile(int page) const {
  return TempPath + QStringLiteral("PPview") + QString::number(page) + QStringLiteral(".bmp");
}

void clsMultiPgPreview::pStartDoc() {
  PageNo = 0;
  host_.SetPrinterInches();
  const QSizeF page = host_.PrinterPageInches();
  if (page.width() > 0 && page.height() > 0) {
    PaperWidth = page.width();
    PaperHeight = page.height();
  }
  surface_ = &host_.OpenSurface(PaperWidth, PaperHeight);
  ScaleWidth = PaperWidth;
  ScaleHeight = PaperHeight;
  TempPath = host_.PageFolder();
  surface_->Font() = host_.PrinterFont();
  surface_->ForeColor = host_.PrinterForeColor();
  surface_->Cls();
}

void clsMultiPgPreview::pNewPage() {
  host_.SavePage(PageFile(PageNo));
  surface().Cls();
  ++PageNo;
}

void clsMultiPgPreview::pEndDoc(int modal) {
  host_.SavePage(PageFile(PageNo));
  host_.ShowPages(PageNo, modal == 1);
}

double clsMultiPgPreview::GetPaperWidth() {
  PaperWidth = 8.0;
  return PaperWidth;
}

bool clsMultiPgPreview::pEndOfPage(double extra, bool use10pt) {
  const double h1 = surface().TextHeight(QStringLiteral("TextString"));
  double h2 = h1;
  if (use10pt) {
    const double size = static_cast<double>(cps::RoundHalfEven(surface().Font().size));
    surface().Font().size = 10;
    h2 = 2 * surface().TextHeight(QStringLiteral("TextString"));
    surface().Font().size = size;
  }
  return surface().CurrentY() + h1 + h2 + extra >= PaperHeight;
}

// --- Text ----------------------------------------------------------------------------------------

void clsMultiPgPreview::PrintLine(const QString& text, bool endLine) {
  surface().Print(text, endLine);
}

void clsMultiPgPreview::pPrint(const QString& text, double x, bool sameLine) {
  if (!text.isEmpty()) {
    if (x == -1) x = CurrentX();
    const float right = static_cast<float>(x + GetTextWidth(text));
    if (HasLineBreak(text) || right > static_cast<float>(PaperWidth)) {
      pMultiline(text, x, PaperWidth - 0.1, QString(), sameLine, true);
      return;
    }
  }
  if (x >= 0) surface().SetCurrentX(x);
  PrintLine(text, !sameLine);
}

void clsMultiPgPreview::pMultiline(const QString& text, double left, double right,
                                   const QString& prefix, bool sameLine, bool pageCheck) {
  if (left == -1) left = CurrentX();
  if (PaperWidth - 0.1 < left) left = PaperWidth - 0.5;
  if (right < left) right = PaperWidth - 0.1;
  const double room = right - left;
  if (text.isEmpty()) {
    pPrint(QString(), -1, sameLine);
    return;
  }
  const int n = static_cast<int>(text.size());
  const bool broken = HasLineBreak(text);
  auto shown = [broken](const QString& line) {
    return broken ? TrimBlanks(GetRemoveCRLF(line)) : line;
  };
  int breakAt = n;
  int taken = 0;
  QString prefixInUse;
  for (int i = 1; i <= n; ++i) {
    const int length = i - taken;
    const QChar c = text[i - 1];
    if (IsBlankChar(c)) breakAt = length;
    const float used =
        static_cast<float>(GetTextWidth(text.mid(taken, length)) + GetTextWidth(prefixInUse));
    if (used < static_cast<float>(room) && c != QLatin1Char('\r')) continue;
    if (breakAt > length) breakAt = length - static_cast<int>(prefixInUse.size()) - 1;
    breakAt = std::max(breakAt, 0);  // a prefix wider than the room holds no character
    const QString line = shown(text.mid(taken, breakAt));
    surface().SetCurrentX(left);
    PrintLine(prefixInUse + line, true);
    taken += breakAt;
    breakAt = n;
    prefixInUse = prefix;
    if (pageCheck && pEndOfPage(0, true)) {
      QString footer;
      pFooter(footer);
      pNewPage();
      pHeader(QString());
    }
  }
  surface().SetCurrentX(left);
  PrintLine(prefixInUse + shown(text.mid(taken)), !sameLine);
}

void clsMultiPgPreview::pCenter(const QString& text, bool sameLine, double width, double left) {
  if (width == -1) width = PaperWidth - left;
  const double textWidth = GetTextWidth(text);
  if (textWidth <= PaperWidth) {
    SetCurrentX((width - textWidth) / 2 + left);
    pPrint(text, -1, sameLine);
  } else {
    pCenterMultiline(text, left, left + width, true, sameLine);
  }
}

void clsMultiPgPreview::pCenterMultiline(const QString& text, double left, double right,
                                         bool ignoreBreaks, bool sameLine) {
  if (right == -1) right = PaperWidth;
  const double room = right - left;
  if (text.isEmpty()) {
    pPrint(QString(), -1, false);
    return;
  }
  const int n = static_cast<int>(text.size());
  const bool broken = HasLineBreak(text);
  auto printCentred = [&](const QString& raw, bool endLine) {
    QString line = TrimBlanks(raw);
    if (broken) line = GetRemoveCRLF(line);
    surface().SetCurrentX((room - GetTextWidth(line)) / 2 + left);
    PrintLine(line, endLine);
  };
  int breakAt = n;
  int taken = 0;
  for (int i = 1; i <= n; ++i) {
    const int length = i - taken;
    const QChar c = text[i - 1];
    if (IsBlankChar(c)) breakAt = length;
    const bool overflow = GetTextWidth(text.mid(taken, length)) >= room;
    if (!overflow && (ignoreBreaks || c != QLatin1Char('\r'))) continue;
    if (breakAt > length) breakAt = std::max(length - 1, 0);
    printCentred(text.mid(taken, breakAt), true);
    taken += breakAt;
    breakAt = n;
  }
  printCentred(text.mid(taken), !sameLine);
}

void clsMultiPgPreview::pRightJust(const QString& text, double x, bool sameLine) {
  const double width = GetTextWidth(text);
  if (x == -1) x = CurrentX() + width;
  SetCurrentX(x - width);
  PrintLine(text, !sameLine);
}

void clsMultiPgPreview::pRightTab(const QString& text, double x, bool sameLine) {
  SetCurrentX(PaperWidth - (GetTextWidth(text) + x));
  PrintLine(text, !sameLine);
}

void clsMultiPgPreview::pHalfSpace() {
  const int size = FontSize();
  SetFontSize(std::max(1, size / 2));
  pPrint(QString(), -1, false);
  SetFontSize(size);
}

void clsMultiPgPreview::p15Space() {
  const int size = FontSize();
  pPrint(QString(), -1, false);
  SetFontSize(size / 2);
  pPrint(QString(), -1, false);
  SetFontSize(size);
}

void clsMultiPgPreview::pQuarterSpace() {
  const int size = FontSize();
  SetFontSize(std::max(1, size / 4));
  pPrint(QString(), -1, false);
  SetFontSize(size);
}

void clsMultiPgPreview::pPrintRotate(const QString& text, int angle, double x) {
  if (text.isEmpty()) return;
  angle = std::clamp(angle, 0, 359);
  if (x != -1) SetCurrentX(x);
  // The turned font takes the size as a whole number of points.
  const double size = surface().Font().size;
  surface().Font().size = FontSize();
  surface().PrintRotated(text, angle);
  surface().Font().size = size;
}

void clsMultiPgPreview::pBullet(double x) {
  if (x == -1) x = CurrentX();
  const cps::SurfaceFont saved = surface().Font();
  SetFontName(QStringLiteral("Symbol"));
  surface().Font() = cps::SurfaceFont{QStringLiteral("Symbol"), saved.size};
  pPrint(QString(QChar(183)) + QStringLiteral("  "), x, true);
  SetFontName(saved.name);
  surface().Font() = saved;
}

void clsMultiPgPreview::pSpaces(double toX, double fromX, bool useSymbol) {
  const QString savedName = FontName();
  const uint32_t savedColour = ForeColor();
  if (fromX != -1) SetCurrentX(fromX);
  if (toX == -1) toX = PaperWidth;
  QString fill = QStringLiteral(" ");
  if (useSymbol) {
    SetFontName(QStringLiteral("Symbol"));
    fill = QStringLiteral("\\");
    SetForeColor(65280);
  }
  Fill(fill, toX);
  SetFontName(savedName);
  SetForeColor(savedColour);
}

void clsMultiPgPreview::pDots(double toX, double fromX) {
  if (fromX > 0) SetCurrentX(fromX);
  Fill(QStringLiteral("."), toX);
}

void clsMultiPgPreview::Fill(const QString& fill, double toX) {
  // Only whole characters that end by the target and by the paper's edge: one that would wrap
  // sends the position back to the left margin, and the fill would start over for ever.
  const double width = GetTextWidth(fill);
  if (width <= 0) return;
  const float limit = static_cast<float>(std::min(toX, PaperWidth));
  while (static_cast<float>(CurrentX() + width) <= limit) pPrint(fill, -1, true);
}

// --- Rules ---------------------------------------------------------------------------------------

void clsMultiPgPreview::pLine(double x1, double x2, int penWidth, bool addSpace) {
  if (x1 == -1) x1 = CurrentX();
  if (addSpace) SetCurrentY(CurrentY() + kRuleSpace);
  const int savedWidth = DrawWidth();
  if (penWidth > 0) SetDrawWidth(penWidth);
  const double savedX = surface().CurrentX();
  if (x2 <= x1) x2 = PaperWidth;
  const double y = surface().CurrentY();
  surface().Line(x1, y, x2, y);
  surface().SetCurrentX(savedX);
  if (penWidth > 0) SetDrawWidth(savedWidth);
  if (addSpace) SetCurrentY(CurrentY() + kRuleSpace);
}

void clsMultiPgPreview::pDoubleLine(double x1, double x2, int penWidth, bool addSpace) {
  const int savedWidth = DrawWidth();
  if (penWidth > 0) SetDrawWidth(penWidth);
  const double savedX = surface().CurrentX();
  if (x2 <= x1) x2 = PaperWidth;
  for (int step = 0; step < 3; ++step) {
    const double y = surface().CurrentY() + kRuleSpace;
    surface().SetCurrentY(y);
    if (step < 2) surface().Line(x1, y, x2, y);
  }
  surface().SetCurrentX(savedX);
  if (penWidth > 0) SetDrawWidth(savedWidth);
  if (addSpace) SetCurrentY(CurrentY() + kRuleSpace);
}

void clsMultiPgPreview::pVerticalLine(double x, double y1, double y2, int penWidth) {
  const int savedWidth = DrawWidth();
  const double savedX = CurrentX();
  const double savedY = CurrentY();
  if (penWidth > 0) SetDrawWidth(penWidth);
  if (y2 == -1) {
    const double size = surface().Font().size;
    SetFontSize(10);
    y2 = PaperHeight - 2 * GetTextHeight(QStringLiteral("Sample Text"));
    SetFontSize(size);
  }
  if (x == -1) x = CurrentX();
  if (x > PaperWidth) x = PaperWidth - 0.01;
  if (y1 == -1) y1 = CurrentY();
  surface().Line(x, y1, x, y2);
  SetCurrentX(savedX);
  SetCurrentY(savedY);
  if (penWidth > 0) SetDrawWidth(savedWidth);
}

void clsMultiPgPreview::pBox(double x, double y, double width, double height, int64_t lineColour,
                             int64_t fillColour, int fillStyle) {
  const double savedY = CurrentY();
  const double savedX = CurrentX();
  if (lineColour == -1) lineColour = ForeColor();
  if (fillColour == -1) fillColour = lineColour;
  if (x == -1) x = CurrentX();
  if (y == -1) y = CurrentY();
  if (width == -1) width = PaperWidth;
  if (height == -1) height = GetTextHeight(QStringLiteral("Sample Text"));
  surface().Box(x, y, x + width, y + height, static_cast<uint32_t>(lineColour),
                static_cast<uint32_t>(fillColour), fillStyle);
  SetCurrentX(savedX);
  SetCurrentY(savedY);
}

void clsMultiPgPreview::pCircle(double x, double y, double radius, int64_t lineColour,
                                int64_t fillColour, int fillStyle, double aspect) {
  if (lineColour == -1) lineColour = ForeColor();
  if (fillColour == -1) fillColour = lineColour;
  surface().Circle(x, y, radius, aspect, static_cast<uint32_t>(lineColour),
                   static_cast<uint32_t>(fillColour), fillStyle);
}

void clsMultiPgPreview::pPrintPicture(const QVariant& picture, double x, double y, double& width,
                                      double& height, bool& fit, bool keepAspect) {
  if (width == 0) width = height;
  if (height == 0) height = width;
  if (width == 0 && height == 0) fit = true;
  const QSize size = host_.SetPrintPicture(picture);
  double targetWidth = fit ? ScaleWidth : width;
  double targetHeight = fit ? ScaleHeight : height;
  // A picture or a target without area has no shape to keep and nothing to paint.
  if (!size.isEmpty() && targetWidth > 0 && targetHeight > 0) {
    const double ratio = static_cast<double>(size.height()) / size.width();
    if (keepAspect && targetHeight / targetWidth <= ratio) {
      targetWidth = targetHeight / ratio;
      if (x == -1) x = (ScaleWidth - targetWidth) / 2;
      if (y == -1) y = 0;
    } else {
      if (keepAspect) targetHeight = targetWidth * ratio;
      if (x == -1) x = 0;
      if (y == -1) y = (ScaleHeight - targetHeight) / 2;
    }
    host_.PaintPrintPicture(QRectF(x, y, targetWidth, targetHeight));
  }
  host_.SetPrintPicture(QVariant());
}

// --- Page furniture ------------------------------------------------------------------------------

void clsMultiPgPreview::pHeader(const QString& title, const std::optional<QString>& subTitle,
                                const std::optional<bool>& italic) {
  if (title.isEmpty() && ReportTitle.isEmpty()) return;
  const cps::SurfaceFont saved = surface().Font();
  SetCurrentY(0);
  SetCurrentX(0);
  if (!title.isEmpty()) ReportTitle = title;
  if (subTitle) ReportSubTitle = *subTitle;
  if (italic) TitleItalic = *italic;
  pFontName(QStringLiteral("Times New Roman"));
  SetFontSize(16);
  SetFontBold(true);
  SetFontItalic(TitleItalic);
  pCenter(ReportTitle, false, -1, 0);
  SetFontSize(11);
  SetFontBold(false);
  SetFontItalic(false);
  if (!ReportSubTitle.isEmpty()) pCenter(ReportSubTitle, false, -1, 0);
  pDoubleLine(0, -1, 1, true);
  pHalfSpace();
  SetFontName(saved.name);
  surface().Font() = saved;
}

void clsMultiPgPreview::pFooter(QString& footerText) {
  const cps::SurfaceFont saved = surface().Font();
  pFontName(QStringLiteral("Times New Roman"));
  surface().Font() = cps::SurfaceFont{QStringLiteral("Times New Roman"), 10};
  SetCurrentY(PaperHeight - 2 * GetTextHeight(QStringLiteral("Sample Text")));
  pLine(0, -1, 6, true);
  if (footerText.isEmpty()) {
    footerText = QStringLiteral("Printed: ") +
                 QLocale::system().toString(QDateTime::currentDateTime(),
                                            QStringLiteral("ddd. MMMM d, yyyy @ h:mm AP"));
  }
  pPrint(footerText, 0.5, true);
  pRightJust(QStringLiteral("Pg. ") + QString::number(GetPage()), PaperWidth - 0.5, false);
  SetFontName(saved.name);
  surface().Font() = saved;
}

void clsMultiPgPreview::pPrintedDate(bool centered, double x, bool sameLine) {
  const cps::SurfaceFont saved = surface().Font();
  surface().Font() = cps::SurfaceFont{saved.name, 9};
  const QString text = QStringLiteral("Printed: ") +
                       QLocale::system().toString(QDateTime::currentDateTime(),
                                                  QStringLiteral("ddd. MMM. d, yyyy @ h:mm AP"));
  if (centered) {
    pCenter(text, sameLine, -1, 0);
  } else {
    pPrint(text, x, sameLine);
  }
  surface().Font() = saved;
}

void clsMultiPgPreview::pCancled() {
  SetFontSize(12);
  SetFontBold(true);
  SetForeColor(255);
  pPrint(QString(), -1, false);
  pPrint(QStringLiteral("**** PRINTING CANCLED ****"), 0.5, false);
}

// --- Properties ----------------------------------------------------------------------------------

void clsMultiPgPreview::SetFontName(const QString& name) {
  surface().Font().name = name;
  PrintLine(QString(), false);  // takes effect at once; the position stays
}

int clsMultiPgPreview::FontSize() const {
  return static_cast<int>(cps::RoundHalfEven(surface().Font().size));
}

double clsMultiPgPreview::CurrentY() {
  const double y = surface().CurrentY();
  if (!TableRowOffset) {
    TableRowOffsetUsed = false;
    return y;
  }
  if (!TableRowOffsetUsed) {
    TableRowOffsetUsed = true;
    return y - 0.06;
  }
  return y;
}

void clsMultiPgPreview::SetDrawWidth(int halfPixels) {
  const int value = std::max(halfPixels, 1);
  surface().DrawWidth = std::max(1, static_cast<int>(cps::RoundHalfEven(value / 2.0)));
}

void clsMultiPgPreview::SetBackColor(int64_t colour) {
  surface().FontTransparent = colour == -1;
  surface().TextBackColor = colour == -1 ? 0xFFFFFF : static_cast<uint32_t>(colour);
}

void clsMultiPgPreview::ResetBackColor() {
  const double x = CurrentX();
  const double y = CurrentY();
  cps::Sleep(1);
  SetBackColor(0xFFFFFF);
  cps::Sleep(1);
  pQuarterSpace();
  cps::Sleep(1);
  SetCurrentX(x);
  SetCurrentY(y);
  cps::Sleep(1);
}

void clsMultiPgPreview::SetOrientation(int orientation) {
  printerUnusable_ = !host_.SetPrinterOrientation(orientation);
  PageOrientation = orientation;
}

// --- Text helpers --------------------------------------------------------------------------------

QString clsMultiPgPreview::GetRemoveCRLF(QString text) {
  bool changed = true;
  while (changed) {
    changed = false;
    bool replacedReturn = false;
    const qsizetype cr = text.indexOf(QLatin1Char('\r'));
    if (cr >= 0) {
      text[cr] = QLatin1Char(' ');
      changed = replacedReturn = true;
    }
    const qsizetype lf = text.indexOf(QLatin1Char('\n'));
    if (lf == 0) {
      text.remove(0, 1);
    } else if (lf > 0) {
      if (replacedReturn) {
        text.remove(lf, 1);
      } else {
        text[lf] = QLatin1Char(' ');
      }
      changed = true;
    }
  }
  return text;
}

QString clsMultiPgPreview::GetFormalCase(const QString& text) {
  QString result = text.left(1).toUpper() + text.mid(1).toLower();
  for (const QString& marker : {QStringLiteral(" "), QStringLiteral("."), QStringLiteral("Mc"),
                                QStringLiteral("O'"), QStringLiteral("-")}) {
    qsizetype at = result.indexOf(marker);
    while (at >= 0) {
      const qsizetype next = at + marker.size();
      if (next >= result.size()) break;
      result[next] = result[next].toUpper();
      at = result.indexOf(marker, next);
    }
  }
  qsizetype first = 0;
  while (first < result.size() && result[first] == QLatin1Char(' ')) ++first;
  return result.mid(first);
}

QString clsMultiPgPreview::GetStripQuotes(QString text) {
  if (text.startsWith(QLatin1Char('"'))) text.remove(0, 1);
  if (text.endsWith(QLatin1Char('"'))) text.chop(1);
  return text;
}
