// What the print preview class needs around it: the printer's settings and the preview window's
// page canvas, page files and showing. The program's host is the preview window; a test's host
// records pages instead.
#pragma once

#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QVariant>
#include <cstdint>

#include "platform/DrawSurface.h"

class PreviewHost {
 public:
  virtual ~PreviewHost() = default;

  // --- The printer ---
  // False when the printer cannot be used (no printer): the orientation then stays.
  virtual bool SetPrinterOrientation(int orientation) = 0;
  virtual int PrinterCopies() const = 0;  // 0 when the printer cannot tell
  virtual void SetPrinterCopies(int copies) = 0;
  // Switches the printer's unit to inches; it stays so for the rest of the run.
  virtual void SetPrinterInches() = 0;
  virtual QSizeF PrinterPageInches() const = 0;  // the printer's scale width and height
  virtual cps::SurfaceFont PrinterFont() const = 0;
  virtual uint32_t PrinterForeColor() const = 0;

  // --- The preview window ---
  // Loads the window hidden and sizes its page canvas a quarter inch larger than the paper in
  // each direction, scaled so that the whole canvas spans paperWidth by paperHeight units.
  virtual cps::DrawSurface& OpenSurface(double paperWidth, double paperHeight) = 0;
  // The folder the page files go to, ending in "/": the preview window's own folder, made for
  // it inside TEMP, so that its pages never meet another preview's files or the user's.
  virtual QString PageFolder() const = 0;
  // The window's hidden picture box picPrintPic, where a picture is measured before it is
  // painted: takes the picture (a QImage or QPixmap; anything else, or an empty variant, clears
  // the box) and answers its size in pixels (empty without a picture).
  virtual QSize SetPrintPicture(const QVariant& picture) = 0;
  // Paints the picture held by picPrintPic on the canvas into target (user units), copying its
  // pixels over what is there.
  virtual void PaintPrintPicture(const QRectF& target) = 0;
  // Writes the canvas as a page file; a file that cannot be written is skipped.
  virtual void SavePage(const QString& path) = 0;
  // Hands the window the number of the last page file, shows page file 0 and shows the window
  // (modal: returns when it has closed).
  virtual void ShowPages(int lastPage, bool modal) = 0;
};
