// The Data Report's layout: what each road draws, from a snapshot of what the editor shows.
// The preview road draws through the preview class in inches; the print road draws one copy on
// the printer in the printer's current unit (inches after a preview, twips before).
#pragma once

#include <QDate>
#include <QLocale>
#include <QSizeF>
#include <QString>
#include <QVector>
#include <array>
#include <cstdint>

#include "platform/DrawSurface.h"

class clsMultiPgPreview;
class FittedSurface;

// What the report prints, read from the editor window when the report starts.
struct ReportValues {
  QString date;   // ReportDateText of today
  QString model;  // lblModel's caption
  // Check box values (1 checked): printed "On" for 1, "Off" otherwise.
  int batterySave = 0;
  int quickKey = 0;
  int talkbackScan = 0;
  int normalScan = 0;
  int prioScan = 0;
  int totEnable = 0;
  // Text box texts, printed unchanged.
  QString scanSpeed;
  QString prioChannel;
  QString scanHang;
  QString scanInterval;
  QString totTime;
  QString totWarning;
  int shortPress1 = -1;                 // ShortPressIndex1
  int shortPress2 = -1;                 // ShortPressIndex2
  int longPress1 = 0;                   // image byte 241 as stored
  int longPress2 = 0;                   // image byte 243 as stored
  std::array<QString, 3> rxTones;       // user tone boxes, receive
  std::array<QString, 3> txTones;       // user tone boxes, transmit
  QVector<QStringList> grid;            // fgChannel's TextMatrix, by row and column
  int channelCount = 16;                // image byte 2: bands of the preview, scan-list reach
  int channelCountVar = 16;             // bands of the print road
  std::array<uint8_t, 16> scanSlots{};  // image bytes 220..235: non-zero = in the scan list

  // The grid text at row n, column c; "" outside the grid.
  QString Cell(int n, int c) const;
};

// "dddd, mmmm dd, yyyy" in the system's language: "Monday, December 07, 2026".
QString ReportDateText(const QDate& date, const QLocale& locale = QLocale::system());
// "On" for a check box value of 1, "Off" for any other.
QString OnOff(int checkValue);
// The report label of a button's short press (function code index + 1); "" outside 0..11.
QString ShortPressLabel(int index);
// The report label of a long-press code as the short-press choice allows it; "" when it does not.
QString LongPressLabel(int shortIndex, int longCode);

// Draws the whole report on an open preview document (after pStartDoc, before pEndDoc).
void DrawPreviewReport(clsMultiPgPreview& preview, const ReportValues& values);
// Draws one copy of the report on the printer, in inches or twips; the caller ends the copy.
void DrawPrintedReport(cps::DrawSurface& printer, const ReportValues& values, bool inches);

// The report is laid out for one portrait page. On the page the user chose (its printable area
// in the road's unit) it is drawn as laid out where its text fits, else scaled down as a whole
// until all of it does, so a turned or smaller page never cuts it short.
void DrawPrintedReportToFit(cps::DrawSurface& printer, const ReportValues& values, bool inches,
                            const QSizeF& page);
// The same on a new preview document: opens it (pStartDoc) on a host that opens `surface`, and
// draws the whole report on its page; the caller ends the document.
void DrawPreviewReportToFit(clsMultiPgPreview& preview, FittedSurface& surface,
                            const ReportValues& values);
