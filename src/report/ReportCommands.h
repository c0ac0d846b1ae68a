// The two roads of the Data Report: the preview (drawn page by page into the preview window)
// and the print on the printer, once per copy chosen in the printer dialog.
#pragma once

#include <memory>

#include "report/DataReport.h"
#include "report/clsMultiPgPreview.h"

// The preview object while the report is composed for the preview.
extern std::unique_ptr<clsMultiPgPreview> ReportPreview;

// What the editor window shows now, as the report prints it.
ReportValues ReadReportValues();
// Composes the report on a new preview object and shows the preview window (returns when it
// has closed; under a test script at once).
void BuildDataReportPreview();
// Asks for the printer and the copies, then prints the report once per copy.
void PrintDataReport();
