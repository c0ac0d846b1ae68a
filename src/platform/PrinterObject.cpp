#include "platform/PrinterObject.h"

#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>

#include "platform/PaintHelpers.h"
#include "platform/TextConv.h"

namespace cps {

PrinterObject::PrinterObject() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

PrinterObject::~PrinterObject() {
  if (painter_.isActive()) painter_.end();
}

void PrinterObject::SetScaleMode(int mode) {
  if (mode == kScaleTwips || mode == kScaleInches) scaleMode_ = mode;
}

double PrinterObject::ScaleWidth() const {
  return printer_->pageRect(QPrinter::Inch).width() * UnitsPerInch();
}

double PrinterObject::ScaleHeight() const {
  return printer_->pageRect(QPrinter::Inch).height() * UnitsPerInch();
}

int PrinterObject::Orientation() const {
  return printer_->pageLayout().orientation() == QPageLayout::Landscape ? kLandscape : kPortrait;
}

bool PrinterObject::SetOrientation(int orientation) {
  if (painter_.isActive()) return false;
  if (orientation != kPortrait && orientation != kLandscape) return false;
  return printer_->setPageOrientation(orientation == kLandscape ? QPageLayout::Landscape
                                                                : QPageLayout::Portrait);
}

void PrinterObject::SetOutputFileName(const QString& path) {
  printer_->setOutputFormat(path.isEmpty() ? QPrinter::NativeFormat : QPrinter::PdfFormat);
  printer_->setOutputFileName(path);
}

bool PrinterObject::EndDoc() {
  if (failed_) {
    failed_ = false;
    return false;
  }
  if (!painter_.isActive() || painter_.end()) return true;
  errorText_ = FailureText();
  return false;
}

double PrinterObject::ToDevice(double units) const {
  return units / UnitsPerInch() * printer_->resolution();
}

bool PrinterObject::EnsureJob() {
  if (painter_.isActive()) return true;
  // One failure ends the document: no new attempt at every drawing.
  if (failed_) return false;
  if (painter_.begin(printer_.get())) return true;
  failed_ = true;
  errorText_ = FailureText();
  return false;
}

namespace {

// The system's reason why path cannot be written, found without harming what is there: an
// existing file is only opened for appending, and a file the probe creates is removed again.
QString WriteError(const QString& path) {
  const bool existed = QFileInfo::exists(path);
  QFile probe(path);
  if (!probe.open(QIODevice::WriteOnly | QIODevice::Append)) return probe.errorString();
  probe.close();
  if (!existed) probe.remove();
  return QStringLiteral("the file could not be written");
}

}  // namespace

QString PrinterObject::FailureText() const {
  const QString file = printer_->outputFileName();
  if (printer_->outputFormat() == QPrinter::PdfFormat && !file.isEmpty()) {
    return QStringLiteral("The file \"%1\" could not be written: %2.").arg(file, WriteError(file));
  }
  const QString name = printer_->printerName();
  if (name.isEmpty()) return QStringLiteral("No printer is set up.");
  if (!printer_->isValid()) return QStringLiteral("The printer \"%1\" is not available.").arg(name);
  return QStringLiteral("The printer \"%1\" could not be opened.").arg(name);
}

QFont PrinterObject::DeviceFont(const SurfaceFont& font) const {
  QFont f(font.name);
  f.setPointSizeF(font.size > 0 ? font.size : 1);
  f.setBold(font.bold);
  f.setItalic(font.italic);
  f.setUnderline(font.underline);
  f.setStrikeOut(font.strikethru);
  return f;
}

QSizeF PrinterObject::Measure(const SurfaceFont& font, const QString& text) const {
  // Measured at the printer's resolution, so the layout matches what lands on paper.
  const QFontMetricsF metrics(DeviceFont(font), printer_.get());
  const double perUnit = printer_->resolution() / UnitsPerInch();
  return {metrics.horizontalAdvance(text) / perUnit, metrics.lineSpacing() / perUnit};
}

QRectF PrinterObject::ToDevice(const QRectF& units) const {
  return {ToDevice(units.x()), ToDevice(units.y()), ToDevice(units.width()),
          ToDevice(units.height())};
}

QPen PrinterObject::Pen(uint32_t colour) const {
  // DrawWidth counts screen pixels; the printer has its own resolution.
  QPen pen(ColourOf(colour));
  pen.setWidthF(DrawWidth * printer_->resolution() / 96.0);
  return pen;
}

void PrinterObject::PaintText(double x, double y, const QString& text) {
  if (!EnsureJob()) return;
  painter_.setFont(DeviceFont(Font()));
  const QFontMetricsF metrics(painter_.font(), printer_.get());
  const QPointF at(ToDevice(x), ToDevice(y));
  if (!FontTransparent) {
    painter_.fillRect(QRectF(at, QSizeF(metrics.horizontalAdvance(text), metrics.lineSpacing())),
                      ColourOf(TextBackColor));
  }
  painter_.setPen(ColourOf(ForeColor));
  painter_.drawText(at + QPointF(0, metrics.ascent()), text);
}

void PrinterObject::PaintLine(double x1, double y1, double x2, double y2) {
  if (!EnsureJob()) return;
  painter_.setPen(Pen(ForeColor));
  painter_.drawLine(QPointF(ToDevice(x1), ToDevice(y1)), QPointF(ToDevice(x2), ToDevice(y2)));
}

void PrinterObject::PaintBox(const QRectF& box, uint32_t lineColour, uint32_t fillColour,
                             int fillStyle) {
  if (!EnsureJob()) return;
  painter_.setPen(Pen(lineColour));
  painter_.setBrush(FillBrush(fillColour, fillStyle));
  painter_.drawRect(ToDevice(box));
  painter_.setBrush(Qt::NoBrush);
}

void PrinterObject::PaintEllipse(const QRectF& bounds, uint32_t lineColour, uint32_t fillColour,
                                 int fillStyle) {
  if (!EnsureJob()) return;
  painter_.setPen(Pen(lineColour));
  painter_.setBrush(FillBrush(fillColour, fillStyle));
  painter_.drawEllipse(ToDevice(bounds));
  painter_.setBrush(Qt::NoBrush);
}

void PrinterObject::PaintRotatedText(double x, double y, const QString& text, int angle) {
  if (!EnsureJob()) return;
  SurfaceFont plain = Font();
  plain.bold = plain.italic = plain.underline = plain.strikethru = false;
  painter_.save();
  painter_.setFont(DeviceFont(plain));
  painter_.setPen(ColourOf(ForeColor));
  painter_.translate(ToDevice(x), ToDevice(y));
  painter_.rotate(-angle);
  painter_.drawText(QPointF(0, QFontMetricsF(painter_.font(), printer_.get()).ascent()), text);
  painter_.restore();
}

namespace {
std::unique_ptr<PrinterObject> g_printer;
}

PrinterObject& Printer() {
  if (!g_printer) g_printer = std::make_unique<PrinterObject>();
  return *g_printer;
}

void ResetPrinterForTests() { g_printer.reset(); }

}  // namespace cps
