#include "report/ReportCommands.h"

#include <QDate>

#include "editor/frmMain.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/CheckBox.h"
#include "platform/Dialogs.h"
#include "platform/FlexGrid.h"
#include "platform/Label.h"
#include "platform/PrinterObject.h"
#include "platform/TextBox.h"
#include "report/FittedSurface.h"
#include "report/frmMultiPgPreview.h"

std::unique_ptr<clsMultiPgPreview> ReportPreview;

namespace {

// The preview class's surroundings: the printer object and the preview window.
class PreviewWindowHost : public PreviewHost {
 public:
  bool SetPrinterOrientation(int orientation) override {
    cps::PrinterObject& printer = cps::Printer();
    printer.SetOrientation(orientation);
    return PrinterUsable();
  }
  int PrinterCopies() const override { return cps::Printer().Copies(); }
  void SetPrinterCopies(int copies) override { cps::Printer().SetCopies(copies); }
  void SetPrinterInches() override {
    cps::Printer().SetScaleMode(cps::PrinterObject::kScaleInches);
  }
  QSizeF PrinterPageInches() const override {
    return {cps::Printer().ScaleWidth(), cps::Printer().ScaleHeight()};
  }
  cps::SurfaceFont PrinterFont() const override { return cps::Printer().Font(); }
  uint32_t PrinterForeColor() const override { return cps::Printer().ForeColor; }
  // The report draws on the page canvas through `fitted`, which scales it to fit the page. It
  // is pointed at the canvas of the window loaded now, before anything is drawn.
  cps::DrawSurface& OpenSurface(double paperWidth, double paperHeight) override {
    FrmMultiPgPreview& window = frmMultiPgPreview();
    window.SizePage(paperWidth, paperHeight);
    fitted.Retarget(window.canvas);
    return fitted;
  }
  QSize SetPrintPicture(const QVariant& picture) override {
    return frmMultiPgPreview().LoadPrintPicture(picture);
  }
  void PaintPrintPicture(const QRectF& target) override {
    FrmMultiPgPreview& window = frmMultiPgPreview();
    window.canvas.PaintPicture(window.picPrintPic->pixmap().toImage(), fitted.Scaled(target));
  }
  QString PageFolder() const override { return frmMultiPgPreview().TempPath; }
  void SavePage(const QString& path) override { frmMultiPgPreview().SavePage(path); }
  void ShowPages(int lastPage, bool modal) override {
    FrmMultiPgPreview& window = frmMultiPgPreview();
    window.PageCount = lastPage;
    window.LoadPageFile(0);
    window.Form_Resize();
    ShowFrmMultiPgPreview(modal);
  }

  FittedSurface fitted;

 private:
  // A named PDF file, or a printer the system knows (where the platform cannot print, the
  // printer writes PDF and needs a file name).
  static bool PrinterUsable() {
    const QPrinter& device = cps::Printer().Device();
    if (device.outputFormat() == QPrinter::PdfFormat) return !device.outputFileName().isEmpty();
    return device.isValid() && !device.printerName().isEmpty();
  }
};

PreviewWindowHost g_host;

}  // namespace

ReportValues ReadReportValues() {
  FrmMain& form = frmMain();
  ReportValues v;
  v.date = ReportDateText(QDate::currentDate());
  v.model = form.lblModel->Caption();
  v.batterySave = form.chkPowerSaveEnable->Value();
  v.quickKey = form.chkQuickKey->Value();
  v.talkbackScan = form.chkTalkbakScan->Value();
  v.normalScan = form.chkScanEnable->Value();
  v.prioScan = form.chkPrioScanEnable->Value();
  v.totEnable = form.chkTotEnable->Value();
  v.scanSpeed = form.txtScanSpeedTime->Text();
  v.prioChannel = form.txtPrioScanChNo->Text();
  v.scanHang = form.txtScanDelayTime->Text();
  v.scanInterval = form.txtLookBackTime->Text();
  v.totTime = form.txtTotTime->Text();
  v.totWarning = form.txtTotPenaltyTime->Text();
  v.shortPress1 = ShortPressIndex1;
  v.shortPress2 = ShortPressIndex2;
  v.longPress1 = CodeplugImage[layout::kButton1Long];
  v.longPress2 = CodeplugImage[layout::kButton2Long];
  for (int k = 0; k < 3; ++k) {
    v.rxTones[k] = form.txtTKS_RxFrequency[k]->Text();
    v.txTones[k] = form.txtTKS_TxFrequency[k]->Text();
  }
  const cps::FlexGrid& grid = *form.fgChannel;
  for (int row = 0; row < grid.Rows(); ++row) {
    QStringList cells;
    for (int col = 0; col < grid.Cols(); ++col) cells.append(grid.TextMatrix(row, col));
    v.grid.append(cells);
  }
  v.channelCount = CodeplugImage[layout::kChannelCount];
  v.channelCountVar = ChannelCountVar;
  for (int n = 1; n <= 16; ++n) v.scanSlots[n - 1] = CodeplugImage[layout::ScanListSlot(n)];
  return v;
}

void BuildDataReportPreview() {
  ReportPreview = std::make_unique<clsMultiPgPreview>(g_host);
  if (ReportPreview->PrinterUnusable()) {
    cps::CommonDialog dlgPrinter;
    dlgPrinter.Printer = &cps::Printer().Device();
    if (!dlgPrinter.ShowPrinter()) return;
  }
  // Pages that cannot be written cannot be shown: say why once and open no window.
  if (frmMultiPgPreview().TempPath.isEmpty()) {
    cps::MsgBox(QStringLiteral("The print preview cannot be shown.\r\n") +
                    frmMultiPgPreview().PageFolderError,
                cps::msgbox::OKOnly | cps::msgbox::Exclamation);
    UnloadFrmMultiPgPreview();
    ReportPreview.reset();
    return;
  }
  DrawPreviewReportToFit(*ReportPreview, g_host.fitted, ReadReportValues());
  ReportPreview->pEndDoc(1);
  ReportPreview.reset();
}

void PrintDataReport() {
  cps::PrinterObject& printer = cps::Printer();
  cps::CommonDialog dlgPrinter;
  dlgPrinter.Printer = &printer.Device();
  if (!dlgPrinter.ShowPrinter()) return;
  const int copies = dlgPrinter.Copies;
  // Each copy is its own print job, so the printer itself must not multiply them again.
  printer.SetCopies(1);
  // The constants follow the unit the printer is really in: a preview that ended before it
  // switched the printer to inches has set PrintToPreview all the same.
  const bool inches = printer.ScaleMode() == cps::PrinterObject::kScaleInches;
  // The page and orientation the user chose in the dialog.
  const QSizeF page(printer.ScaleWidth(), printer.ScaleHeight());
  for (int copy = 1; copy <= copies; ++copy) {
    DrawPrintedReportToFit(printer, ReadReportValues(), inches, page);
    // A printer that cannot be opened or a file that cannot be written ends the print here,
    // the remaining copies included, and the user is told once.
    if (!printer.EndDoc()) {
      cps::MsgBox(QStringLiteral("The Data Report was not printed.\r\n") + printer.ErrorText(),
                  cps::msgbox::OKOnly | cps::msgbox::Exclamation);
      return;
    }
  }
}
