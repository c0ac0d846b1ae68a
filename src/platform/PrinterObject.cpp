#include "platform/PrinterObject.h"

#include <sys/stat.h>

#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <utility>

#include "platform/FileWrite.h"
#include "platform/PaintHelpers.h"
#include "platform/TextConv.h"

namespace cps {

namespace {

// Why a PDF document failed before any file was touched: the PDF writer refused to work.
constexpr char kPdfNotMade[] = "the document could not be made";

// Writes bytes as the whole of the file at path; the system's reason when that failed, else
// empty. A regular file is replaced through a temporary file, so a failed write leaves what
// was there; where no temporary file can be made beside a file the user may write (a shared
// reports folder), that file is written in place rather than refused. A device takes the bytes
// as they come (/dev/null, /dev/full); any other special file is refused, since a pipe without a
// reader would block for ever.
QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
    if (!S_ISCHR(info.st_mode)) return QStringLiteral("it is not a regular file");
    QFile device(path);
    if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return device.errorString();
    return WriteAll(device, bytes);
  }
  return ReplaceFile(
      path, [&bytes] { return bytes; }, InPlace::kWhereNoTemporaryFile);
}

}  // namespace

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
  if (!painter_.isActive()) return true;
  const bool ended = painter_.end();
  if (pdf_) {
    pdf_.reset();
    pdfBuffer_.close();
    const QByteArray document = std::exchange(pdfBuffer_.buffer(), QByteArray());
    if (!ended) {
      errorText_ = FileFailureText(QLatin1String(kPdfNotMade));
      return false;
    }
    const QString reason = WriteWholeFile(printer_->outputFileName(), document);
    if (reason.isEmpty()) return true;
    errorText_ = FileFailureText(reason);
    return false;
  }
  if (ended) return true;
  errorText_ = PrinterFailureText();
  return false;
}

double PrinterObject::ToDevice(double units) const {
  return units / UnitsPerInch() * printer_->resolution();
}

bool PrinterObject::WritesPdfFile() const {
  return printer_->outputFormat() == QPrinter::PdfFormat && !printer_->outputFileName().isEmpty();
}

bool PrinterObject::EnsureJob() {
  if (painter_.isActive()) return true;
  // One failure ends the document: no new attempt at every drawing.
  if (failed_) return false;
  if (WritesPdfFile()) {
    // The document is made in memory and written out whole when it ends: a file that cannot be
    // written is then known (the PDF writer itself ignores failed writes), and what the user
    // named is never left empty or cut short.
    pdfBuffer_.setData(QByteArray());
    pdfBuffer_.open(QIODevice::WriteOnly);
    pdf_ = std::make_unique<QPdfWriter>(&pdfBuffer_);
    pdf_->setResolution(printer_->resolution());
    pdf_->setPageLayout(printer_->pageLayout());
    pdf_->setTitle(printer_->docName());
    pdf_->setCreator(printer_->creator());
    if (painter_.begin(pdf_.get())) return true;
    pdf_.reset();
    pdfBuffer_.close();
    errorText_ = FileFailureText(QLatin1String(kPdfNotMade));
  } else {
    if (painter_.begin(printer_.get())) return true;
    errorText_ = PrinterFailureText();
  }
  failed_ = true;
  return false;
}

QString PrinterObject::FileFailureText(const QString& reason) const {
  return QStringLiteral("The file \"%1\" could not be written: %2.")
      .arg(printer_->outputFileName(), reason);
}

QString PrinterObject::PrinterFailureText() const {
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
