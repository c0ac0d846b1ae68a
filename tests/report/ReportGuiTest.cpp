// The two report roads through the real windows: File>Print Preview writes its page files and
// shows them, the preview window's navigation and its Exit and Print buttons, and File>Print on
// the printer object, written to a PDF file that pdftotext reads back.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <QWindow>
#include <csignal>

#include "model/CodeplugLayout.h"
#include "platform/Label.h"
#include "platform/PrinterObject.h"
#include "report/ReportCommands.h"
#include "report/frmMultiPgPreview.h"
#include "shell/CodeplugFiles.h"
#include "shell/ShellFixture.h"

namespace {

class ReportRoads : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    cps::ResetPrinterForTests();
    StartUp();
    const QString path = ProgramFile("radio.cpg");
    WriteFile(path, testfiles::FileText(testfiles::RoundTripImage()));
    cps::DialogScript::ChooseNextFile(path);
    MDIFormMain().mnuFileOpen_Click();
    cps::Printer().SetOutputFileName(PdfPath());
  }

  void TearDown() override {
    UnloadFrmMultiPgPreview();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Page files a test wrote itself, which no preview deletes.
    QDirIterator it(TempFolder(), {"PPview*.bmp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) QFile::remove(it.next());
    ShellTest::TearDown();
    cps::ResetPrinterForTests();
  }

  QString PdfPath() const { return ProgramFile("report.pdf"); }
  static QString TempFolder() { return qEnvironmentVariable("TEMP"); }
  // The page files in TEMP and in any folder inside it.
  static QStringList PageFiles() {
    QStringList names;
    QDirIterator it(TempFolder(), {"PPview*.bmp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) names.append(it.nextFileInfo().fileName());
    names.sort();
    return names;
  }

  // The text of the PDF as pdftotext lays it out.
  QString PdfText() const {
    QProcess tool;
    tool.start("pdftotext", {"-layout", PdfPath(), "-"});
    if (!tool.waitForFinished(30000)) return QString();
    return QString::fromUtf8(tool.readAllStandardOutput());
  }
};

void WritePage(const QString& folder, int n, int width, int height) {
  QImage page(width, height, QImage::Format_RGB32);
  page.fill(Qt::white);
  ASSERT_TRUE(page.save(QDir(folder).filePath(QStringLiteral("PPview%1.bmp").arg(n))));
}

}  // namespace

TEST_F(ReportRoads, PreviewKeepsItsPagesInAFolderOfItsOwnAndExitDeletesOnlyThose) {
  // Page files of another running copy, or the user's: neither overwritten nor deleted.
  WritePage(TempFolder(), 0, 10, 10);
  WritePage(TempFolder(), 7, 10, 10);
  MDIFormMain().mnuFilePrintPreview_Click();
  EXPECT_TRUE(PrintToPreview);
  EXPECT_EQ(cps::Printer().ScaleMode(), cps::PrinterObject::kScaleInches);
  EXPECT_EQ(ReportPreview, nullptr);  // released once the window is up
  ASSERT_TRUE(IsFrmMultiPgPreviewLoaded());
  FrmMultiPgPreview& preview = frmMultiPgPreview();
  EXPECT_TRUE(preview.isVisible());
  EXPECT_EQ(preview.windowHandle()->transientParent(), MDIFormMain().windowHandle());
  // Shown modal, it blocks every other window, so the keyboard stays with it.
  EXPECT_EQ(QGuiApplication::modalWindow(), preview.windowHandle());
  EXPECT_EQ(preview.windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(preview.PageCount, 0);
  const QString folder = preview.TempPath;
  EXPECT_EQ(QFileInfo(QDir(folder).absolutePath()).absolutePath(),
            QDir(TempFolder()).absolutePath());
  EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({"PPview0.bmp"}));
  EXPECT_EQ(QImage(QDir(TempFolder()).filePath("PPview0.bmp")).size(), QSize(10, 10));
  // The page at 96 dots per inch, a quarter inch larger than the paper each way.
  const QImage page(folder + "PPview0.bmp");
  const double paperWidth = cps::Printer().ScaleWidth();
  EXPECT_NEAR(page.width(), (paperWidth + 0.25) * 96, 1);
  EXPECT_EQ(preview.Picture1->pixmap().size(), page.size());
  // Centred when narrower than the room beside the button bar, else at the left edge.
  const int room = preview.width() - preview.Picture2->width();
  EXPECT_EQ(preview.Picture1->x(), std::max(0, (room - preview.Picture1->width()) / 2));
  // Something was drawn: the page is not all white.
  EXPECT_LT(page.convertToFormat(QImage::Format_Grayscale8)
                .scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .pixelColor(0, 0)
                .value(),
            255);

  QTest::keyClick(preview.Picture1, Qt::Key_Escape);
  EXPECT_FALSE(IsFrmMultiPgPreviewLoaded());
  EXPECT_FALSE(QFileInfo::exists(folder));
  EXPECT_EQ(PageFiles(), QStringList({"PPview0.bmp", "PPview7.bmp"}));
}

TEST_F(ReportRoads, WithoutTempThePageFolderIsMadeInTheSystemTemporaryFolder) {
  const QByteArray saved = qgetenv("TEMP");
  qunsetenv("TEMP");
  const QString folder = frmMultiPgPreview().TempPath;
  qputenv("TEMP", saved);
  EXPECT_EQ(QFileInfo(QDir(folder).absolutePath()).absolutePath(), QDir::temp().absolutePath());
  UnloadFrmMultiPgPreview();
  EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(ReportRoads, AnUnusableTempFallsBackToTheSystemFolderAndWithoutEitherNoPreviewOpens) {
  // A picture named like a page file in the working folder, which no preview may show.
  const QString working = ProgramFile("working");
  const QString system = ProgramFile("system");
  ASSERT_TRUE(QDir().mkpath(working) && QDir().mkpath(system));
  WritePage(working, 0, 10, 10);
  const QString savedCurrent = QDir::currentPath();
  const QByteArray savedTemp = qgetenv("TEMP");
  const bool hadTmpDir = qEnvironmentVariableIsSet("TMPDIR");
  const QByteArray savedTmpDir = qgetenv("TMPDIR");
  const auto restore = qScopeGuard([&] {
    QDir::setCurrent(savedCurrent);
    qputenv("TEMP", savedTemp);
    if (hadTmpDir)
      qputenv("TMPDIR", savedTmpDir);
    else
      qunsetenv("TMPDIR");
  });
  QDir::setCurrent(working);
  qputenv("TEMP", ProgramFile("no such folder").toLocal8Bit());
  // The system's temporary folder follows TMPDIR.
  qputenv("TMPDIR", ProgramFile("no such system folder").toLocal8Bit());
  const qsizetype before = Messages().size();
  MDIFormMain().mnuFilePrintPreview_Click();
  ASSERT_EQ(Messages().size(), before + 1);
  EXPECT_EQ(Messages().last().title, "Corvana CPS");
  EXPECT_TRUE(Messages().last().prompt.startsWith("The print preview cannot be shown."));
  EXPECT_TRUE(Messages().last().prompt.contains(ProgramFile("no such folder") +
                                                "\": No such file or directory"))
      << Messages().last().prompt.toStdString();
  EXPECT_FALSE(IsFrmMultiPgPreviewLoaded());
  EXPECT_EQ(ReportPreview, nullptr);
  EXPECT_EQ(QDir(working).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList({"PPview0.bmp"}));  // no folder made here either

  // TEMP still missing, the system's folder usable: the pages go there.
  qputenv("TMPDIR", system.toLocal8Bit());
  MDIFormMain().mnuFilePrintPreview_Click();
  EXPECT_EQ(Messages().size(), before + 1);
  ASSERT_TRUE(IsFrmMultiPgPreviewLoaded());
  const QString folder = frmMultiPgPreview().TempPath;
  EXPECT_EQ(QFileInfo(QDir(folder).absolutePath()).absolutePath(), QDir(system).canonicalPath());
  EXPECT_EQ(frmMultiPgPreview().Picture1->pixmap().size(), QImage(folder + "PPview0.bmp").size());
  UnloadFrmMultiPgPreview();
  EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(ReportRoads, WithoutAUsablePrinterThePreviewAsksForOneFirst) {
  if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "this system has printers";
  cps::Printer().SetOutputFileName(QString());  // the system printer, and there is none
  cps::DialogScript::CancelNextPrinterDialog();
  MDIFormMain().mnuFilePrintPreview_Click();
  EXPECT_EQ(cps::DialogScript::PrinterDialogs(), 1);
  EXPECT_FALSE(IsFrmMultiPgPreviewLoaded());  // cancelled: nothing drawn, nothing shown
  EXPECT_TRUE(PageFiles().isEmpty());
  cps::DialogScript::ChooseNextPrinter(1);
  MDIFormMain().mnuFilePrintPreview_Click();
  EXPECT_EQ(cps::DialogScript::PrinterDialogs(), 2);
  EXPECT_TRUE(IsFrmMultiPgPreviewLoaded());
  EXPECT_EQ(PageFiles(), QStringList({"PPview0.bmp"}));
}

TEST_F(ReportRoads, HomeAndEndShowTheFirstAndLastPageAndArrowsScroll) {
  FrmMultiPgPreview& preview = frmMultiPgPreview();
  preview.SizePage(8.5, 11);
  WritePage(preview.TempPath, 0, 100, 100);
  WritePage(preview.TempPath, 1, 200, 150);
  WritePage(preview.TempPath, 2, 300, 120);
  preview.PageCount = 2;
  ASSERT_TRUE(preview.LoadPageFile(0));
  preview.show();

  QTest::keyRelease(preview.Picture1, Qt::Key_End);
  EXPECT_EQ(preview.CurrentPage, 2);
  EXPECT_EQ(preview.Picture1->pixmap().size(), QSize(300, 120));
  QTest::keyRelease(preview.Picture1, Qt::Key_Home);
  EXPECT_EQ(preview.CurrentPage, 0);
  EXPECT_EQ(preview.Picture1->pixmap().size(), QSize(100, 100));

  // The bars' ranges come from the 8.75 by 11.25 inch canvas (in twips); a step is a tenth.
  preview.SizePage(8.5, 11);
  EXPECT_EQ(preview.VScroll1->maximum(), 8100);
  EXPECT_EQ(preview.VScroll1->minimum(), -500);
  EXPECT_EQ(preview.HScroll1->maximum(), 3150);
  QTest::keyRelease(preview.Picture1, Qt::Key_Down);
  EXPECT_EQ(preview.VScroll1->value(), 810);
  // A held key's repeated releases do not scroll on.
  QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), true);
  QCoreApplication::sendEvent(preview.Picture1, &repeated);
  EXPECT_EQ(preview.VScroll1->value(), 810);
  EXPECT_EQ(preview.Picture1->y(), -54);
  QTest::keyRelease(preview.Picture1, Qt::Key_Right);
  EXPECT_EQ(preview.HScroll1->value(), 315);
  QTest::keyRelease(preview.Picture1, Qt::Key_Up);
  QTest::keyRelease(preview.Picture1, Qt::Key_Up);  // would pass the top: not made
  EXPECT_EQ(preview.VScroll1->value(), 0);
  QTest::keyRelease(preview.Picture1, Qt::Key_End);
  EXPECT_EQ(preview.VScroll1->value(), 0);
  EXPECT_EQ(preview.HScroll1->value(), 0);

  // Dragging moves the page one twip per pixel of pointer movement; the bars follow on release.
  auto mouse = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, at, preview.Picture1->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(preview.Picture1, &event);
  };
  preview.SizePage(8.5, 11);  // a page taller than the window again
  preview.LayoutPreview();
  ASSERT_TRUE(preview.VScroll1->isVisible());
  ASSERT_EQ(preview.Picture1->pos(), QPoint(0, 0));
  mouse(QEvent::MouseButtonPress, {400, 400}, Qt::LeftButton, Qt::LeftButton);
  mouse(QEvent::MouseMove, {100, 100}, Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(preview.Picture1->pos(), QPoint(-20, -20));  // 300 twips
  EXPECT_EQ(preview.VScroll1->value(), 0);
  mouse(QEvent::MouseButtonRelease, {100, 100}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(preview.HScroll1->value(), 300);
  EXPECT_EQ(preview.VScroll1->value(), 300);

  // Fit shows the thumbnail of the page and the picture of that view; End there redraws the
  // thumbnail from the last page.
  auto fitPicture = [&] { return preview.cmdFullPage->icon().pixmap(16).toImage(); };
  EXPECT_FALSE(preview.cmd_quit->icon().isNull());
  EXPECT_FALSE(preview.cmd_print->icon().isNull());
  EXPECT_NE(preview.imgFit[0].toImage(), preview.imgFit[1].toImage());
  EXPECT_EQ(fitPicture(), preview.imgFit[0].toImage());
  QTest::keyRelease(preview.Picture1, Qt::Key_Home);
  preview.cmdFullPage->click();
  EXPECT_EQ(fitPicture(), preview.imgFit[1].toImage());
  EXPECT_TRUE(preview.picFullPage->isVisible());
  EXPECT_FALSE(preview.Picture1->isVisible());
  const QImage first = preview.picFullPage->pixmap().toImage();
  EXPECT_FALSE(first.isNull());
  QTest::keyRelease(preview.picFullPage, Qt::Key_End);
  EXPECT_EQ(preview.CurrentPage, 2);
  EXPECT_TRUE(preview.picFullPage->isVisible());
  EXPECT_NE(preview.picFullPage->pixmap().toImage(), first);  // 300 x 120 is a wider shape
  // The box as wide as the room beside the button bar, where that fits the window's height; on a
  // wide window, where it would not, it shrinks in its shape until it does, also on a resize.
  preview.resize(1000, 1000);
  const int room = 1000 - preview.Picture2->width();  // margins of 50 twips, 3 pixels
  EXPECT_EQ(preview.picFullPage->geometry(), QRect(3, 3, room - 7, qRound((room - 7) * 0.773)));
  preview.resize(1600, 1000);
  const QRect box = preview.picFullPage->geometry();
  const int wide = 1600 - preview.Picture2->width();
  EXPECT_TRUE(QRect(0, 0, wide, 1000).contains(box)) << box.height();
  EXPECT_NEAR(box.height(), box.width() * 0.773, 1);
  EXPECT_NEAR(box.height(), 1000 - 2 * 3, 1);       // as tall as the margins leave room for
  EXPECT_EQ(box.left(), (wide - box.width()) / 2);  // centred beside the button bar
  // Narrower than the page, the strip shows; a very small window shows a very small page.
  for (const int tiny : {30, 20, 7}) {
    preview.resize(300, tiny);
    ASSERT_TRUE(preview.picHScroll->isVisible());
    const QRect small = preview.picFullPage->geometry();
    EXPECT_GE(small.width(), 0) << tiny;
    EXPECT_GE(small.height(), 0) << tiny;
  }
  preview.cmdFullPage->click();
  EXPECT_EQ(fitPicture(), preview.imgFit[0].toImage());
  EXPECT_TRUE(preview.Picture1->isVisible());
  EXPECT_FALSE(preview.picFullPage->isVisible());
}

TEST_F(ReportRoads, PrintWritesTheReportOnceAskedForCopies) {
  frmMain().lblModel->SetCaption("CRV-16");  // printed as the label shows it
  cps::DialogScript::ChooseNextPrinter(1);
  MDIFormMain().mnuFilePrint_Click();
  EXPECT_EQ(cps::DialogScript::PrinterDialogs(), 1);
  ASSERT_TRUE(QFile::exists(PdfPath()));
  const QString text = PdfText();
  EXPECT_TRUE(text.contains("Corvana CPS Data Report")) << text.toStdString();
  EXPECT_TRUE(text.contains("Model Number :"));
  EXPECT_TRUE(text.contains("CRV-16"));
  EXPECT_TRUE(text.contains("Battery Save Mode"));
  EXPECT_TRUE(text.contains("350 msec"));
  EXPECT_TRUE(text.contains("Sticky Monitor"));
  EXPECT_TRUE(text.contains("Nuisance Channel Delete"));
  EXPECT_TRUE(text.contains("120.0 Hz"));
  EXPECT_TRUE(text.contains("464.02500"));
  EXPECT_TRUE(text.contains("Scan List :"));
  EXPECT_FALSE(PrintToPreview);
}

// Where pdftotext puts the first word `word` on the page: its top, in points from the page's top.
double WordTop(const QString& pdf, const QString& word) {
  QProcess tool;
  tool.start("pdftotext", {"-bbox", pdf, "-"});
  if (!tool.waitForFinished(30000)) return -1;
  const QString html = QString::fromUtf8(tool.readAllStandardOutput());
  const QRegularExpression re(R"re(<word xMin="[0-9.]+" yMin="([0-9.]+)"[^>]*>)re" +
                              QRegularExpression::escape(word) + "</word>");
  const QRegularExpressionMatch match = re.match(html);
  return match.hasMatch() ? match.captured(1).toDouble() : -1;
}

TEST_F(ReportRoads, PrintUsesTheUnitThePrinterIsInAfterAnyPreview) {
  // Before any preview: twips. "Scan List :" stands far down the page.
  cps::DialogScript::ChooseNextPrinter(1);
  MDIFormMain().mnuFilePrint_Click();
  const double twipsTop = WordTop(PdfPath(), "List");
  EXPECT_GT(twipsTop, 500);
  // A preview whose printer dialog was cancelled never switched the printer to inches.
  QFile::remove(PdfPath());
  PrintToPreview = true;
  cps::DialogScript::ChooseNextPrinter(1);
  MDIFormMain().mnuFilePrint_Click();
  EXPECT_NEAR(WordTop(PdfPath(), "List"), twipsTop, 0.5);
  // After a real preview the printer is in inches and the inch set places the same report.
  MDIFormMain().mnuFilePrintPreview_Click();
  UnloadFrmMultiPgPreview();
  QFile::remove(PdfPath());
  cps::DialogScript::ChooseNextPrinter(1);
  MDIFormMain().mnuFilePrint_Click();
  EXPECT_NEAR(WordTop(PdfPath(), "List"), twipsTop, 40);
  EXPECT_GT(WordTop(PdfPath(), "List"), 500);
  // On the page turned, the whole report is scaled down to fit: its last line is on the paper.
  QFile::remove(PdfPath());
  ASSERT_TRUE(cps::Printer().SetOrientation(cps::PrinterObject::kLandscape));
  cps::DialogScript::ChooseNextPrinter(1);
  MDIFormMain().mnuFilePrint_Click();
  // The printable area on the paper, in points from the paper's top.
  const QRectF paper = cps::Printer().Device().pageLayout().paintRect(QPageLayout::Point);
  const double turnedTop = WordTop(PdfPath(), "List");
  EXPECT_GT(turnedTop, paper.top());
  EXPECT_LT(turnedTop, paper.bottom());
}

TEST_F(ReportRoads, CancelNoCopiesAndAHeldToolbarPrintNothing) {
  cps::DialogScript::CancelNextPrinterDialog();
  MDIFormMain().mnuFilePrint_Click();
  EXPECT_FALSE(QFile::exists(PdfPath()));
  cps::DialogScript::ChooseNextPrinter(0);
  MDIFormMain().mnuFilePrint_Click();
  EXPECT_FALSE(QFile::exists(PdfPath()));
  EXPECT_EQ(cps::DialogScript::PrinterDialogs(), 2);
  ToolbarMouseDown = true;
  cps::DialogScript::ChooseNextPrinter(1);
  MDIFormMain().mnuFilePrint_Click();
  ToolbarMouseDown = false;
  EXPECT_EQ(cps::DialogScript::PrinterDialogs(), 2);
  EXPECT_FALSE(QFile::exists(PdfPath()));
}

TEST_F(ReportRoads, AFailedPrintSaysWhyOnceAndSkipsTheRemainingCopies) {
  const QString path = ProgramFile("no such folder/report.pdf");
  cps::Printer().SetOutputFileName(path);
  const qsizetype before = Messages().size();
  cps::DialogScript::ChooseNextPrinter(3);
  MDIFormMain().mnuFilePrint_Click();
  ASSERT_EQ(Messages().size(), before + 1);
  const cps::ShownMessage& shown = Messages().last();
  EXPECT_EQ(shown.title, "Corvana CPS");
  EXPECT_TRUE(shown.prompt.startsWith("The Data Report was not printed."))
      << shown.prompt.toStdString();
  EXPECT_TRUE(shown.prompt.contains(path + "\" could not be written: No such file or directory"))
      << shown.prompt.toStdString();

  // Writes that fail part-way (a full device, a file size limit like a full disk) and a file
  // that may only be appended to: the system's own reason, and the earlier file is kept.
  cps::Printer().SetOutputFileName(PdfPath());
  WriteFile(PdfPath(), "old report");
  const bool appendOnly = QProcess::execute("chattr", {"+a", PdfPath()}) == 0;
  auto printFails = [&](const QString& file, const QString& reason) {
    cps::Printer().SetOutputFileName(file);
    const qsizetype shownBefore = Messages().size();
    cps::DialogScript::ChooseNextPrinter(2);
    MDIFormMain().mnuFilePrint_Click();
    ASSERT_EQ(Messages().size(), shownBefore + 1) << file.toStdString();
    EXPECT_EQ(Messages().last().prompt, "The Data Report was not printed.\r\nThe file \"" + file +
                                            "\" could not be written: " + reason + ".");
  };
  if (appendOnly) printFails(PdfPath(), "Operation not permitted");
  QProcess::execute("chattr", {"-a", PdfPath()});
  printFails("/dev/full", "No space left on device");
  // A pipe is refused and stays a pipe. Its reading end is held open here, so that a print that
  // wrote into it would not wait for a reader.
  const QString pipe = ProgramFile("pipe.pdf");
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  const int reader = open(QFile::encodeName(pipe).constData(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  printFails(pipe, "it is not a regular file");
  close(reader);
  struct stat info {};
  ASSERT_EQ(stat(QFile::encodeName(pipe).constData(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  struct rlimit old {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  struct rlimit small = old;
  small.rlim_cur = 4096;
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  printFails(PdfPath(), "File too large");
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(ReadFile(PdfPath()), "old report");
  EXPECT_EQ(QDir(ProgramFile("")).entryList({"report*"}, QDir::Files | QDir::Hidden),
            QStringList{"report.pdf"});

  // A report the user may write in a shared folder the user may not: no temporary file can be
  // made beside it, so it is written in place. Root may write any folder: it prints as nobody.
  const QString report = ProgramFile("shared/report.pdf");
  const QByteArray shared = QFile::encodeName(ProgramFile("shared"));
  ASSERT_EQ(mkdir(shared.constData(), 0755), 0);
  WriteFile(report, "old report");
  ASSERT_EQ(chmod(QFile::encodeName(report).constData(), 0666), 0);
  ASSERT_EQ(chmod(QFile::encodeName(ProgramFile("")).constData(), 0755), 0);
  ASSERT_EQ(chmod(shared.constData(), 0555), 0);
  const bool asNobody = geteuid() == 0 && seteuid(65534) == 0;
  const auto back = qScopeGuard([&] {
    if (asNobody) {
      EXPECT_EQ(seteuid(0), 0);
    }
    chmod(shared.constData(), 0755);
  });
  const qsizetype shownBefore = Messages().size();
  cps::Printer().SetOutputFileName(report);
  cps::DialogScript::ChooseNextPrinter(1);
  MDIFormMain().mnuFilePrint_Click();
  EXPECT_EQ(Messages().size(), shownBefore) << Messages().last().prompt.toStdString();
  EXPECT_TRUE(ReadFile(report).startsWith("%PDF"));
}

TEST_F(ReportRoads, PreviewPrintButtonClosesThePreviewFirstThenPrints) {
  MDIFormMain().mnuFilePrintPreview_Click();
  ASSERT_TRUE(IsFrmMultiPgPreviewLoaded());
  cps::DialogScript::ChooseNextPrinter(1);
  frmMultiPgPreview().cmd_print->click();
  EXPECT_FALSE(IsFrmMultiPgPreviewLoaded());
  EXPECT_TRUE(PageFiles().isEmpty());
  EXPECT_EQ(cps::DialogScript::PrinterDialogs(), 1);
  EXPECT_TRUE(PdfText().contains("Conventional Personality"));
}

TEST_F(ReportRoads, UnloadingTheMainWindowClosesThePreview) {
  MDIFormMain().mnuFilePrintPreview_Click();
  ASSERT_TRUE(IsFrmMultiPgPreviewLoaded());
  DataModified = false;
  EXPECT_TRUE(UnloadMDIFormMain());
  EXPECT_FALSE(IsFrmMultiPgPreviewLoaded());
  EXPECT_TRUE(PageFiles().isEmpty());
}
