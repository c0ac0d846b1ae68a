// The system printer object: a drawing surface on the printer with a print position in the
// printer's current unit (twips or inches), fonts, Print, Line and EndDoc. The first drawing of
// a document starts the print job; EndDoc finishes it, and the next drawing starts a new one.
// A job that cannot be started fails the whole document, and EndDoc reports it.
// With an output file name set, every job is written as a PDF file there instead: made in
// memory and written whole at EndDoc, which reports a file that could not be written.
#pragma once

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <memory>

#include "platform/DrawSurface.h"

namespace cps {

class PrinterObject : public DrawSurface {
 public:
  static constexpr int kScaleTwips = 1;
  static constexpr int kScaleInches = 5;
  static constexpr int kPortrait = 1;
  static constexpr int kLandscape = 2;

  PrinterObject();
  ~PrinterObject() override;

  // The unit of every position and size: kScaleTwips (the start value) or kScaleInches. It
  // stays as set across documents.
  int ScaleMode() const { return scaleMode_; }
  void SetScaleMode(int mode);
  // The printable area in the current unit.
  double ScaleWidth() const;
  double ScaleHeight() const;

  // False when the printer refuses (a job is running); the orientation then stays.
  int Orientation() const;
  bool SetOrientation(int orientation);
  int Copies() const { return printer_->copyCount(); }
  void SetCopies(int copies) { printer_->setCopyCount(copies); }

  // Ends the document: the page goes to the printer (or the PDF file). False when the document
  // failed (its job could not be started, finishing it failed, or the PDF file could not be
  // written whole, in which case any earlier file of that name is left as it was, unless it
  // stands in a folder the user may not write and so was written in place); ErrorText then
  // says why. A failed document is forgotten here, so the next drawing tries a new job.
  bool EndDoc();
  // True when the document's job could not be started (no usable printer): drawing does
  // nothing more until EndDoc.
  bool Failed() const { return failed_; }
  // Why the last document failed, naming the printer or the output file.
  QString ErrorText() const { return errorText_; }

  // "" prints on the system printer; a path writes every job to that PDF file.
  void SetOutputFileName(const QString& path);
  QPrinter& Device() { return *printer_; }

 protected:
  QSizeF Measure(const SurfaceFont& font, const QString& text) const override;
  void PaintText(double x, double y, const QString& text) override;
  void PaintLine(double x1, double y1, double x2, double y2) override;
  void PaintClear() override {}
  void PaintBox(const QRectF& box, uint32_t lineColour, uint32_t fillColour,
                int fillStyle) override;
  void PaintEllipse(const QRectF& bounds, uint32_t lineColour, uint32_t fillColour,
                    int fillStyle) override;
  void PaintRotatedText(double x, double y, const QString& text, int angle) override;

 private:
  double UnitsPerInch() const { return scaleMode_ == kScaleInches ? 1.0 : 1440.0; }
  double ToDevice(double units) const;
  bool WritesPdfFile() const;
  bool EnsureJob();
  QString FileFailureText(const QString& reason) const;
  QString PrinterFailureText() const;
  QFont DeviceFont(const SurfaceFont& font) const;
  QRectF ToDevice(const QRectF& units) const;
  QPen Pen(uint32_t colour) const;

  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QPdfWriter> pdf_;  // the running job when it writes a PDF file
  QBuffer pdfBuffer_;
  QPainter painter_;
  int scaleMode_ = kScaleTwips;
  bool failed_ = false;
  QString errorText_;
};

// The one printer object of the program.
PrinterObject& Printer();
// Forgets the printer object (scale, orientation, output file) so every test starts afresh.
void ResetPrinterForTests();

}  // namespace cps
