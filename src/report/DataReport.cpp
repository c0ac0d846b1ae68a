#include "report/DataReport.h"

#include <algorithm>

#include "model/ModuleState.h"
#include "report/FittedSurface.h"
#include "report/clsMultiPgPreview.h"

namespace {

const QString kTitle = QStringLiteral("Corvana CPS Data Report");
const QString kModelLabel = QStringLiteral("Model Number : ");
const QString kScanListLabel = QStringLiteral("Scan List : ");
const QString kChannelHeading = QStringLiteral("Conventional Personality");

struct Row {
  QString label;
  QString value;
};

QString ButtonHeading(int blanks) {
  return QStringLiteral("Programmable Button") + QString(blanks, QLatin1Char(' ')) +
         QStringLiteral("User Defined TKS");
}

QString Tone(const QString& text) { return text + QStringLiteral(" Hz"); }

// The button table's rows: label and function label of each press.
std::array<Row, 4> ButtonRows(const ReportValues& v) {
  return {{{QStringLiteral("Button 1 Short Press"), ShortPressLabel(v.shortPress1)},
           {QStringLiteral("Button 1 Long Press"), LongPressLabel(v.shortPress1, v.longPress1)},
           {QStringLiteral("Button 2 Short Press"), ShortPressLabel(v.shortPress2)},
           {QStringLiteral("Button 2 Long Press"), LongPressLabel(v.shortPress2, v.longPress2)}}};
}

// The channels of the scan list in ascending order, among the first channelCount (at most the
// sixteen scan-list bytes there are).
QVector<int> ScanMembers(const ReportValues& v) {
  QVector<int> members;
  const int last = std::min(v.channelCount, static_cast<int>(v.scanSlots.size()));
  for (int n = 1; n <= last; ++n) {
    if (v.scanSlots[n - 1] != 0) members.append(n);
  }
  return members;
}

// Channel bands: count of them, but never more than the grid has channel rows, so a damaged
// channel count cannot run the table off the page.
int BandCount(const ReportValues& v, int count) {
  return std::clamp(count, 0, std::max(0, static_cast<int>(v.grid.size()) - 1));
}

// The heads of the channel table's columns 1..13 on each road.
const std::array<QString, 14> kPreviewHeads = {
    "Ch No", " Freq.(MHz)", "KS Option", "SQ",        "Mute", " Freq.(MHz)", "KS Option",
    "PWR",   "TOC",         "Rx Only",   "Rev Burst", "BCLO", "Band",        "TA"};
const std::array<QString, 14> kPrintHeads = {
    "Ch No", "Freq.(MHz)", "KS Option", "SQ",        "Mute", "Freq.(MHz)", "KS Option",
    "PWR",   "TOC",        "Rx Only ",  "Rev Burst", "BCLO", "Band",       "TA"};

// --- Preview road --------------------------------------------------------------------------------

constexpr std::array<double, 14> kPreviewHeadX = {0.51, 0.85, 1.72, 2.55, 2.9,  3.23, 4.05,
                                                  4.76, 5.11, 5.44, 5.91, 6.48, 6.86, 7.24};
constexpr std::array<double, 14> kPreviewCellX = {0.6,  0.92, 1.57, 2.46, 3.01, 3.28, 3.92,
                                                  4.85, 5.13, 5.56, 6.04, 6.53, 6.88, 7.23};
constexpr std::array<double, 15> kPreviewColumnRules = {
    0.5, 0.8, 1.51, 2.38, 2.86, 3.16, 3.87, 4.72, 5.04, 5.38, 5.87, 6.41, 6.8, 7.15, 7.5};

void PreviewHeading(clsMultiPgPreview& p, const QString& heading) {
  p.SetFontSize(10);
  p.SetFontBold(true);
  p.pPrint(QString(), -1, false);
  p.SetFontName(QStringLiteral("Arial"));
  p.pPrint(heading, 0.5, false);
  p.pHalfSpace();
  p.SetFontBold(false);
  p.SetFontSize(9);
  p.SetFontTransparent(true);
}

void PreviewPageHead(clsMultiPgPreview& p, const ReportValues& v) {
  p.pPrint(QString(), -1, false);
  p.SetFontSize(14);
  p.SetFontBold(true);
  p.SetFontName(QStringLiteral("Arial"));
  p.pPrint(kTitle, 0.5, true);
  p.SetFontSize(10);
  p.pPrint(v.date, 5.2, false);
  p.pPrint(QString(), -1, false);
  p.pDoubleLine(0, -1, 1, true);
  p.SetFontSize(12);
  p.SetFontBold(true);
  p.pPrint(QString(), -1, false);
  p.SetFontName(QStringLiteral("Arial"));
  p.pPrint(kModelLabel, 0.5, true);
  p.pPrint(v.model, -1, false);
}

// A left-hand table of one value column: rules 0.5 to W - 4.5, columns at 0.5, 2.1, W - 4.5.
void PreviewSingleTable(clsMultiPgPreview& p, const std::array<Row, 3>& rows) {
  const double top = p.CurrentY() + 0.03;
  for (const Row& row : rows) {
    p.pLine(0.5, p.GetPaperWidth() - 4.5, 1, true);
    p.pPrint(row.label, 0.6, true);
    p.pPrint(row.value, 2.2, false);
  }
  const double bottom = p.CurrentY() + 0.03;
  p.pLine(0.5, p.GetPaperWidth() - 4.5, 1, true);
  for (double x : {0.5, 2.1, p.GetPaperWidth() - 4.5}) p.pVerticalLine(x, top, bottom, 0);
}

void PreviewScanType(clsMultiPgPreview& p, const ReportValues& v) {
  const std::array<Row, 3> left = {{{"Normal Scan Option", OnOff(v.normalScan)},
                                    {"Scan Speed", v.scanSpeed + " msec"},
                                    {"Scan Hang Time", v.scanHang + " msec"}}};
  const std::array<Row, 3> right = {{{"Priority Scan Option", OnOff(v.prioScan)},
                                     {"Priority Scan Channel", v.prioChannel},
                                     {"Scan Interval Time", v.scanInterval + " msec"}}};
  TableRowOffset = false;
  const double top = p.CurrentY() + 0.03;
  for (int i = 0; i < 3; ++i) {
    p.pLine(0.5, p.GetPaperWidth() - 4.5, 1, true);
    p.pPrint(left[i].label, 0.6, true);
    p.pPrint(left[i].value, 2.2, true);
    TableRowOffset = true;
    p.pLine(4.3, p.GetPaperWidth() - 0.75, 1, true);
    p.pPrint(right[i].label, 4.4, true);
    p.pPrint(right[i].value, 6.0, false);
    TableRowOffset = false;
  }
  const double bottom = p.CurrentY() + 0.03;
  TableRowOffset = false;
  p.pLine(0.5, p.GetPaperWidth() - 4.5, 1, true);
  for (double x : {0.5, 2.1, p.GetPaperWidth() - 4.5}) p.pVerticalLine(x, top, bottom, 0);
  TableRowOffset = true;
  p.pLine(4.3, p.GetPaperWidth() - 0.75, 1, true);
  for (double x : {4.3, 5.9, p.GetPaperWidth() - 0.75}) p.pVerticalLine(x, top, bottom, 0);
}

void PreviewButtonsAndTones(clsMultiPgPreview& p, const ReportValues& v) {
  PreviewHeading(p, ButtonHeading(59));
  const double top = p.CurrentY() + 0.03;
  TableRowOffset = false;
  const std::array<Row, 4> buttons = ButtonRows(v);
  for (int line = 0; line < 4; ++line) {
    TableRowOffset = false;
    p.pLine(0.5, p.GetPaperWidth() - 4.5, 1, true);
    p.pPrint(buttons[line].label, 0.6, true);
    if (!buttons[line].value.isEmpty()) p.pPrint(buttons[line].value, 1.9, true);
    TableRowOffset = true;
    p.pLine(4.3, p.GetPaperWidth() - 0.75, 1, true);
    if (line == 0) {
      p.pPrint(QString(), 4.3, true);
      p.pPrint(QStringLiteral("RX"), 5.6, true);
      p.pPrint(QStringLiteral("TX"), 6.6, false);
    } else {
      p.pPrint(QStringLiteral("TKS%1").arg(line), 4.4, true);
      p.pPrint(Tone(v.rxTones[line - 1]), 5.6, true);
      p.pPrint(Tone(v.txTones[line - 1]), 6.6, false);
    }
  }
  const double bottom = p.CurrentY() + 0.03;
  TableRowOffset = false;
  p.pLine(0.5, p.GetPaperWidth() - 4.5, 1, true);
  for (double x : {0.5, 1.8, p.GetPaperWidth() - 4.5}) p.pVerticalLine(x, top, bottom, 0);
  TableRowOffset = true;
  p.pLine(4.3, p.GetPaperWidth() - 0.75, 1, true);
  for (double x : {4.3, 5.15, 6.19, p.GetPaperWidth() - 0.75}) {
    p.pVerticalLine(x, top, bottom, 0);
  }
  TableRowOffset = false;
  p.p15Space();
}

void PreviewChannelTable(clsMultiPgPreview& p, const ReportValues& v) {
  p.SetFontSize(10);
  p.SetFontBold(true);
  p.SetFontName(QStringLiteral("Arial"));
  p.pPrint(kChannelHeading, 0.5, false);
  p.pHalfSpace();
  p.SetFontSize(10);
  p.SetFontTransparent(true);
  const double top1 = p.CurrentY() + 0.03;
  p.pLine(0.5, p.GetPaperWidth() - 0.5, 1, true);
  p.pPrint(QStringLiteral("CH"), 0.56, true);
  p.pPrint(QStringLiteral("RX DATA"), 1.6, true);
  p.pPrint(QStringLiteral("TX DATA"), 4.6, true);
  p.pPrint(QStringLiteral("OPTION"), 6.66, false);
  p.SetFontBold(false);
  p.SetFontSize(8);
  p.SetFontTransparent(true);
  const double bottom1 = p.CurrentY() + 0.03;
  for (double x : {0.5, 0.8, 3.16, 6.41, p.GetPaperWidth() - 0.5}) {
    p.pVerticalLine(x, top1, bottom1, 0);
  }
  const double top2 = p.CurrentY() + 0.03;
  p.pLine(0.5, p.GetPaperWidth() - 0.5, 1, true);
  for (int c = 0; c <= 13; ++c) p.pPrint(kPreviewHeads[c], kPreviewHeadX[c], c < 13);
  const int bands = BandCount(v, v.channelCount);
  for (int n = 1; n <= bands; ++n) {
    p.pLine(0.5, p.GetPaperWidth() - 0.5, 1, true);
    p.pPrint(QString::number(n), kPreviewCellX[0], true);
    for (int c = 1; c <= 13; ++c) p.pPrint(v.Cell(n, c), kPreviewCellX[c], c < 13);
  }
  const double bottom2 = p.CurrentY() + 0.03;
  p.pLine(0.5, p.GetPaperWidth() - 0.5, 1, true);
  for (double x : kPreviewColumnRules) p.pVerticalLine(x, top2, bottom2, 0);
}

void PreviewScanList(clsMultiPgPreview& p, const ReportValues& v) {
  p.SetFontSize(10);
  p.SetFontBold(true);
  p.pPrint(QString(), -1, false);
  p.SetFontName(QStringLiteral("Arial"));
  p.pPrint(kScanListLabel, 0.5, true);
  int k = 1;
  for (int n : ScanMembers(v)) p.pPrint(QString::number(n), 1.2 + 0.3 * k++, true);
}

// --- Print road ----------------------------------------------------------------------------------

// The printer's coordinates: every constant exists as inches and as twips.
class PrintUnits {
 public:
  explicit PrintUnits(bool inches) : inches_(inches) {}
  double operator()(double inch, double twips) const { return inches_ ? inch : twips; }
  double X0() const { return (*this)(0.5, 800); }
  double Y0() const { return (*this)(0.26, 400); }

 private:
  bool inches_;
};

void SetFont(cps::DrawSurface& printer, double size, bool bold) {
  printer.Font().name = QStringLiteral("Arial");
  printer.Font().size = size;
  printer.Font().bold = bold;
}

// A number as the printer prints it: a blank for the sign before it and a blank after it.
QString NumberText(int n) { return QStringLiteral(" %1 ").arg(n); }

void PrintPageHead(cps::DrawSurface& printer, const ReportValues& v, const PrintUnits& u) {
  const double x0 = u.X0();
  const double y0 = u.Y0();
  printer.SetCurrentX(x0);
  printer.SetCurrentY(y0);
  SetFont(printer, 14, true);
  printer.Print(kTitle);
  printer.Line(u(0.1, 450), y0 + u(0.37, 420), u(8.2, 11200), y0 + u(0.37, 420));
  printer.Line(u(0.1, 450), y0 + u(0.39, 450), u(8.2, 11200), y0 + u(0.39, 450));
  printer.Font().size = 10;
  printer.SetCurrentX(x0 + u(5.2, 7400));
  printer.SetCurrentY(y0);
  printer.Print(v.date);
  const int blankLines = static_cast<int>(u(3, 2));
  for (int i = 0; i < blankLines; ++i) printer.Print(QStringLiteral(" "));
  SetFont(printer, 12, true);
  const double y = printer.CurrentY();
  printer.SetCurrentX(x0);
  printer.Print(kModelLabel);
  printer.SetCurrentX(x0 + u(1.5, 2300));
  printer.SetCurrentY(y);
  printer.Print(v.model);
  printer.Print(QString());
  printer.SetCurrentX(x0);
  printer.SetCurrentY(printer.CurrentY() + u(0, 120));
}

// Rows of a boxed table from top: a rule, the texts of a row, the next rule; then one vertical
// rule per column offset. valueX are the value columns' x offsets from the table's left edge.
// Returns the closing rule's y.
double PrintTableRows(cps::DrawSurface& printer, const PrintUnits& u, double left, double top,
                      const QVector<double>& col, const QVector<QStringList>& rows,
                      const QVector<double>& valueX, bool fontPerRow) {
  const double step = u(0.03, 50);
  double y = top;
  double bottom = top;
  for (int i = 0; i <= rows.size(); ++i) {
    printer.Line(left, y, left + col.last(), y);
    bottom = y;
    printer.SetCurrentY(printer.CurrentY() + step);
    if (i < rows.size()) {
      if (fontPerRow) SetFont(printer, 9, false);
      printer.SetCurrentX(left + u(0.1, 200));
      const double lineY = printer.CurrentY();
      printer.Print(rows[i][0]);
      for (int c = 1; c < rows[i].size(); ++c) {
        printer.SetCurrentY(lineY);
        printer.SetCurrentX(left + valueX[c - 1]);
        printer.Print(rows[i][c]);
      }
    }
    printer.SetCurrentY(printer.CurrentY() + step);
    y = printer.CurrentY();
  }
  for (double offset : col) printer.Line(left + offset, top, left + offset, bottom);
  return bottom;
}

void PrintHeading(cps::DrawSurface& printer, const PrintUnits& u, const QString& heading) {
  SetFont(printer, 10, true);
  printer.Print(QString());
  printer.SetCurrentX(u.X0());
  printer.Print(heading);
}

double TableTop(cps::DrawSurface& printer, const PrintUnits& u) {
  const double top = printer.CurrentY() + u(0.07, 120);
  printer.SetCurrentX(u.X0());
  printer.SetCurrentY(top);
  return top;
}

void PrintRadioSections(cps::DrawSurface& printer, const ReportValues& v, const PrintUnits& u) {
  const double x0 = u.X0();
  const QVector<double> col = {0, u(1.7, 2500), u(3.2, 4600)};
  const QVector<double> valueX = {u(0.1, 200) + col[1]};
  SetFont(printer, 10, true);
  printer.SetCurrentX(x0);
  printer.Print(QStringLiteral("Radio Configuration"));
  double top = TableTop(printer, u);
  PrintTableRows(printer, u, x0, top, col,
                 {{"Battery Save Mode", OnOff(v.batterySave)},
                  {"Quick Key Override", OnOff(v.quickKey)},
                  {"Talkback Scan", OnOff(v.talkbackScan)}},
                 valueX, true);

  PrintHeading(printer, u, QStringLiteral("Scan Type"));
  top = TableTop(printer, u);
  SetFont(printer, 9, false);
  PrintTableRows(printer, u, x0, top, col,
                 {{"Normal Scan Option", OnOff(v.normalScan)},
                  {"Scan Speed", v.scanSpeed + " msec"},
                  {"Scan Hang Time", v.scanHang + " msec"}},
                 valueX, false);
  const double right = x0 + u(4, 5600);
  printer.SetCurrentX(right);
  PrintTableRows(printer, u, right, top, col,
                 {{"Priority Scan Option", OnOff(v.prioScan)},
                  {"Priority Scan Channel", v.prioChannel},
                  {"Scan Interval Time", v.scanInterval + " msec"}},
                 valueX, false);

  PrintHeading(printer, u, QStringLiteral("Time Out Timer (TOT)"));
  top = TableTop(printer, u);
  SetFont(printer, 9, false);
  PrintTableRows(printer, u, x0, top, col,
                 {{"TOT Enable", OnOff(v.totEnable)},
                  {"TX Time Out Time", v.totTime + " sec"},
                  {"TOT Warning Time", v.totWarning + " sec"}},
                 valueX, false);
}

void PrintButtonsAndTones(cps::DrawSurface& printer, const ReportValues& v, const PrintUnits& u) {
  const double x0 = u.X0();
  PrintHeading(printer, u, ButtonHeading(66));
  const double top = TableTop(printer, u);
  const QVector<double> buttonCol = {0, u(1.5, 2200), u(3.2, 4600)};
  QVector<QStringList> buttonRows;
  for (const Row& row : ButtonRows(v)) buttonRows.append({row.label, row.value});
  PrintTableRows(printer, u, x0, top, buttonCol, buttonRows, {u(0.1, 200) + buttonCol[1]}, true);

  const QVector<double> toneCol = {0, u(0.8, 1500), u(2, 3000), u(3.2, 4600)};
  const double left = x0 + u(4, 5600);
  printer.SetCurrentX(left);
  QVector<QStringList> toneRows = {{QString(), "  RX", "   TX"}};
  for (int k = 0; k < 3; ++k) {
    toneRows.append({QStringLiteral("TKS%1").arg(k + 1), Tone(v.rxTones[k]), Tone(v.txTones[k])});
  }
  // The header row keeps the button table's font; the tone rows set theirs.
  const double valueIndent = u(0.4, 400);
  const double bottom = PrintTableRows(printer, u, left, top, toneCol, toneRows,
                                       {valueIndent + toneCol[1], valueIndent + toneCol[2]}, true);
  printer.SetCurrentX(x0);
  printer.SetCurrentY(bottom + u(0.3, 400));
}

struct BandText {
  double x;
  QString text;
};

// One band of the channel table: a rule, the texts, the next rule, then its vertical rules.
// Returns the band's bottom.
double PrintBand(cps::DrawSurface& printer, const PrintUnits& u, double top, double space,
                 const QVector<double>& stops, double fontSize, bool bold,
                 const QVector<BandText>& texts) {
  const double x0 = u.X0();
  double y = top;
  double bottom = top;
  for (int pass = 0; pass < 2; ++pass) {
    printer.Line(x0, y, x0 + stops.last(), y);
    bottom = y;
    printer.SetCurrentY(printer.CurrentY() + space);
    if (pass == 0) {
      SetFont(printer, fontSize, bold);
      const double textY = printer.CurrentY();
      for (const BandText& t : texts) {
        printer.SetCurrentX(t.x);
        printer.SetCurrentY(textY);
        printer.Print(t.text);
      }
    }
    printer.SetCurrentY(printer.CurrentY() + u(0.03, 50));
    y = printer.CurrentY();
  }
  for (double stop : stops) printer.Line(x0 + stop, top, x0 + stop, bottom);
  return bottom;
}

constexpr std::array<double, 14> kHeadNudgeInch = {0.03, 0.08, 0.16, 0.17, 0.07, 0.08, 0.17,
                                                   0.04, 0.05, 0.1,  0.06, 0.06, 0.08, 0.09};
constexpr std::array<double, 14> kHeadNudgeTwips = {30, 85,  200, 250, 70, 85,  200,
                                                    80, 115, 130, 70,  80, 100, 150};
constexpr std::array<double, 14> kCellNudgeInch = {0.12, 0.12, 0.08, 0.08, 0.14, 0.12, 0.08,
                                                   0.15, 0.09, 0.16, 0.17, 0.14, 0.08, 0.06};
constexpr std::array<double, 14> kCellNudgeTwips = {120, 140, 110, 160, 150, 150, 130,
                                                    200, 170, 200, 200, 150, 130, 100};
constexpr std::array<double, 15> kColumnStopsInch = {0,    0.35, 1.05, 1.92, 2.41, 2.76, 3.46, 4.34,
                                                     4.68, 5.05, 5.62, 6.2,  6.6,  7,    7.3};
constexpr std::array<double, 15> kColumnStopsTwips = {
    0, 470, 1500, 2720, 3470, 3920, 4950, 6200, 6710, 7220, 8020, 8850, 9450, 10050, 10500};

void PrintChannelTable(cps::DrawSurface& printer, const ReportValues& v, const PrintUnits& u) {
  const double x0 = u.X0();
  printer.SetCurrentX(x0);
  SetFont(printer, 10, true);
  printer.Print(kChannelHeading);
  double y = printer.CurrentY() + u(0.07, 120);
  printer.SetCurrentX(x0);
  const QVector<double> groupStops = {0, u(0.35, 470), u(2.76, 3920), u(6.2, 8850), u(7.3, 10500)};
  y = PrintBand(printer, u, y, u(0.03, 50), groupStops, 10, true,
                {{x0 + u(0.07, 110), "CH"},
                 {x0 + u(0.9, 1250) + groupStops[1], "RX DATA"},
                 {x0 + u(1.5, 2000) + groupStops[2], "TX DATA"},
                 {x0 + u(0.3, 420) + groupStops[3], "OPTION"}});
  printer.SetCurrentX(x0);
  printer.SetCurrentY(y);
  QVector<double> stops;
  for (int i = 0; i < 15; ++i) stops.append(u(kColumnStopsInch[i], kColumnStopsTwips[i]));
  auto columnX = [&](int c, bool head) {
    const double nudge =
        head ? u(kHeadNudgeInch[c], kHeadNudgeTwips[c]) : u(kCellNudgeInch[c], kCellNudgeTwips[c]);
    return x0 + nudge + (c == 0 ? 0 : stops[c]);
  };
  QVector<BandText> heads;
  for (int c = 0; c <= 13; ++c) heads.append({columnX(c, true), kPrintHeads[c]});
  const double space = u(0.045, 50);
  y = PrintBand(printer, u, y, space, stops, 8, false, heads);
  const int bands = BandCount(v, v.channelCountVar);
  for (int n = 1; n <= bands; ++n) {
    printer.SetCurrentX(x0);
    printer.SetCurrentY(y);
    QVector<BandText> cells = {{columnX(0, false), NumberText(n)}};
    for (int c = 1; c <= 13; ++c) cells.append({columnX(c, false), v.Cell(n, c)});
    y = PrintBand(printer, u, y, space, stops, 8, false, cells);
  }
}

void PrintScanList(cps::DrawSurface& printer, const ReportValues& v, const PrintUnits& u) {
  printer.Font().size = 10;
  printer.Font().bold = true;
  printer.Font().name = QStringLiteral("Arial");
  printer.Print(QString());
  printer.SetCurrentX(u.X0());
  const double ys = printer.CurrentY();
  printer.Print(kScanListLabel);
  const double start = u.X0() + u(1, 1400);
  int k = 0;
  for (int n : ScanMembers(v)) {
    printer.SetCurrentY(ys);
    printer.SetCurrentX(start + u(0.3, 450) * k++);
    printer.Print(NumberText(n));
  }
}

}  // namespace

QString ReportValues::Cell(int n, int c) const {
  if (n < 0 || n >= grid.size() || c < 0 || c >= grid[n].size()) return QString();
  return grid[n][c];
}

QString ReportDateText(const QDate& date, const QLocale& locale) {
  return locale.toString(date, QStringLiteral("dddd, MMMM dd, yyyy"));
}

QString OnOff(int checkValue) {
  return checkValue == 1 ? QStringLiteral("On") : QStringLiteral("Off");
}

QString ShortPressLabel(int index) {
  static const std::array<QString, 12> kLabels = {"Hi/Lo Power",
                                                  "Volume Set",
                                                  "Monitor",
                                                  "Sticky Monitor",
                                                  "Scan",
                                                  "Repeater/Talkaround",
                                                  "KS/DKS",
                                                  "Unassigned",
                                                  "Battery Save Mode",
                                                  "Squelch",
                                                  "Nuisance Channel Delete",
                                                  "Button Lock"};
  if (index < 0 || index >= static_cast<int>(kLabels.size())) return QString();
  return kLabels[index];
}

QString LongPressLabel(int shortIndex, int longCode) {
  static const QVector<int> kCommon = {1, 2, 6, 7, 8, 9, 10, 12};
  QVector<int> allowed;
  switch (shortIndex + 1) {
    case 1:
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
      allowed = kCommon;
      break;
    case 2:
    case 4:
      allowed = {8};
      break;
    case 3:
      allowed = {4, 8};
      break;
    case 5:
      allowed = {1, 2, 6, 7, 8, 9, 10, 11, 12};
      break;
    default:
      break;
  }
  return allowed.contains(longCode) ? ShortPressLabel(longCode - 1) : QString();
}

void DrawPreviewReport(clsMultiPgPreview& p, const ReportValues& v) {
  PreviewPageHead(p, v);
  PreviewHeading(p, QStringLiteral("Radio Configuration"));
  PreviewSingleTable(p, {{{"Battery Save Mode", OnOff(v.batterySave)},
                          {"Quick Key Override  ", OnOff(v.quickKey)},
                          {"Talkback Scan  ", OnOff(v.talkbackScan)}}});
  PreviewHeading(p, QStringLiteral("Scan Type"));
  PreviewScanType(p, v);
  PreviewHeading(p, QStringLiteral("Time Out Timer (TOT)"));
  TableRowOffset = false;
  PreviewSingleTable(p, {{{"TOT Enable", OnOff(v.totEnable)},
                          {"TX Time Out Time", v.totTime + " sec"},
                          {"TOT Warning Time", v.totWarning + " sec"}}});
  PreviewButtonsAndTones(p, v);
  PreviewChannelTable(p, v);
  PreviewScanList(p, v);
}

void DrawPrintedReport(cps::DrawSurface& printer, const ReportValues& v, bool inches) {
  const PrintUnits u(inches);
  PrintPageHead(printer, v, u);
  PrintRadioSections(printer, v, u);
  PrintButtonsAndTones(printer, v, u);
  PrintChannelTable(printer, v, u);
  PrintScanList(printer, v, u);
}

void DrawPrintedReportToFit(cps::DrawSurface& printer, const ReportValues& values, bool inches,
                            const QSizeF& page) {
  FittedSurface measured(printer);
  measured.StartMeasuring();
  DrawPrintedReport(measured, values, inches);
  const double scale = measured.ScaleToFit(page);
  if (scale == 1) {
    DrawPrintedReport(printer, values, inches);
    return;
  }
  FittedSurface scaled(printer);
  scaled.StartDrawing(scale);
  DrawPrintedReport(scaled, values, inches);
  // The printer keeps its font between documents: leave it as the report set it.
  printer.Font() = scaled.Font();
}

void DrawPreviewReportToFit(clsMultiPgPreview& preview, FittedSurface& surface,
                            const ReportValues& values) {
  surface.StartMeasuring();
  preview.pStartDoc();
  DrawPreviewReport(preview, values);
  surface.StartDrawing(surface.ScaleToFit(preview.PageSize()));
  preview.pStartDoc();
  DrawPreviewReport(preview, values);
}
