// The preview class on a recording host: pages and page files, the table-row offset, rules,
// spacing, the word wrap and its page end, and the text helpers.
#include <gtest/gtest.h>

#include "RecordingSurface.h"
#include "model/ModuleState.h"
#include "report/clsMultiPgPreview.h"

namespace {

class PreviewClass : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetModuleState();
    preview_.pStartDoc();
  }

  RecordingHost host_;
  clsMultiPgPreview preview_{host_};
};

}  // namespace

TEST_F(PreviewClass, PagesAreWrittenAsNumberedPageFilesAndShownModally) {
  EXPECT_TRUE(host_.inches);  // the printer is switched to inches for good
  EXPECT_EQ(preview_.GetPage(), 1);
  preview_.pNewPage();
  preview_.pNewPage();
  EXPECT_EQ(preview_.GetPage(), 3);
  preview_.pEndDoc(1);
  // In the folder the window made for them.
  EXPECT_EQ(host_.savedPages,
            QStringList({"/scratch/pages/PPview0.bmp", "/scratch/pages/PPview1.bmp",
                         "/scratch/pages/PPview2.bmp"}));
  EXPECT_EQ(host_.shownLastPage, 2);
  EXPECT_TRUE(host_.shownModal);
  EXPECT_EQ(preview_.GetPaperHeight(), 11);
  EXPECT_EQ(preview_.GetPaperWidth(), 8.0);
}

TEST(PreviewClassPrinter, AnUnusablePrinterIsReportedByTheConstruction) {
  RecordingHost host;
  host.printerUsable = false;
  EXPECT_TRUE(clsMultiPgPreview(host).PrinterUnusable());
  host.printerUsable = true;
  clsMultiPgPreview usable(host);
  EXPECT_FALSE(usable.PrinterUnusable());
  EXPECT_EQ(usable.Orientation(), 1);
  EXPECT_FALSE(usable.SendToPrinter());
  usable.SetSendToPrinter(true);
  EXPECT_FALSE(usable.SendToPrinter());
}

TEST_F(PreviewClass, TableRowOffsetRaisesOnlyTheFirstReadOfARow) {
  preview_.SetCurrentY(2.0);
  TableRowOffset = true;
  EXPECT_DOUBLE_EQ(preview_.CurrentY(), 1.94);
  EXPECT_DOUBLE_EQ(preview_.CurrentY(), 2.0);
  TableRowOffset = false;
  EXPECT_DOUBLE_EQ(preview_.CurrentY(), 2.0);
  EXPECT_FALSE(TableRowOffsetUsed);
  TableRowOffset = true;
  EXPECT_DOUBLE_EQ(preview_.CurrentY(), 1.94);
  // A vertical rule drawn from the current Y in an offset row puts the position back higher.
  TableRowOffset = false;
  preview_.CurrentY();
  TableRowOffset = true;
  preview_.pVerticalLine(1, -1, 3, 0);
  TableRowOffset = false;
  EXPECT_NEAR(preview_.CurrentY(), 1.94, 1e-9);
  const DrawnLine& rule = host_.surface.lines.last();
  EXPECT_NEAR(rule.y1, 2.0, 1e-9);  // drawn from the surface's own position
}

TEST_F(PreviewClass, RulesAndSpacingMoveThePositionByTheirAmounts) {
  preview_.SetCurrentY(1.0);
  preview_.pDoubleLine(0, -1, 1, false);
  EXPECT_NEAR(preview_.CurrentY(), 1.09, 1e-9);
  preview_.pDoubleLine(0, -1, 1, true);
  EXPECT_NEAR(preview_.CurrentY(), 1.21, 1e-9);
  preview_.pLine(0.5, 2, 1, true);
  EXPECT_NEAR(preview_.CurrentY(), 1.27, 1e-9);
  EXPECT_NEAR(host_.surface.lines.last().y1, 1.24, 1e-9);
  preview_.pLine(0.5, 2, 1, false);
  EXPECT_NEAR(preview_.CurrentY(), 1.27, 1e-9);
  // 10 points: a half line is a 5-point line (0.1), one and a half 0.2 + 0.1.
  preview_.pHalfSpace();
  EXPECT_NEAR(preview_.CurrentY(), 1.37, 1e-9);
  preview_.p15Space();
  EXPECT_NEAR(preview_.CurrentY(), 1.67, 1e-9);
  EXPECT_EQ(preview_.FontSize(), 10);
  preview_.SetFontSize(1);
  preview_.pHalfSpace();
  EXPECT_EQ(preview_.FontSize(), 1);
  preview_.SetFontSize(8.5);
  EXPECT_EQ(preview_.FontSize(), 8);
  preview_.SetFontSize(9.5);
  EXPECT_EQ(preview_.FontSize(), 10);
  preview_.SetDrawWidth(0);
  EXPECT_EQ(preview_.DrawWidth(), 2);
  preview_.SetDrawWidth(3);
  EXPECT_EQ(preview_.DrawWidth(), 4);
  preview_.SetDrawWidth(6);
  EXPECT_EQ(preview_.DrawWidth(), 6);
}

TEST_F(PreviewClass, LongAndBrokenTextsWrapAtTheirRoom) {
  preview_.SetCurrentY(1.0);
  preview_.pPrint("AAA\r\nBBB", 0.5, false);
  ASSERT_EQ(host_.surface.texts.size(), 2);
  EXPECT_EQ(host_.surface.texts[0].text, "AAA");
  EXPECT_EQ(host_.surface.texts[1].text, "BBB");
  EXPECT_NEAR(host_.surface.texts[1].y, 1.2, 1e-9);
  EXPECT_NEAR(host_.surface.texts[1].x, 0.5, 1e-9);

  host_.surface.texts.clear();
  preview_.pMultiline("ABCDEFGHIJ", 0, 0.55, QString(), false, false);
  ASSERT_EQ(host_.surface.texts.size(), 2);
  EXPECT_EQ(host_.surface.texts[0].text, "ABCDE");  // cut before the overflowing "F"
  EXPECT_EQ(host_.surface.texts[1].text, "FGHIJ");

  host_.surface.texts.clear();
  preview_.pMultiline("one two three", 0, 0.72, QString(), false, false);
  ASSERT_EQ(host_.surface.texts.size(), 2);
  EXPECT_EQ(host_.surface.texts[0].text, "one two ");
  EXPECT_EQ(host_.surface.texts[1].text, "three");

  // A text past the paper's edge wraps at the edge less 0.1.
  host_.surface.texts.clear();
  preview_.pPrint(QString(90, 'x'), 0, false);
  ASSERT_EQ(host_.surface.texts.size(), 2);
  EXPECT_EQ(host_.surface.texts[0].text.size(), 83);
}

TEST_F(PreviewClass, WrappingAtThePageBottomClosesThePageWithAFooter) {
  preview_.SetCurrentY(10.5);
  preview_.pMultiline("first second", 0, 0.75, QString(), false, true);
  ASSERT_EQ(host_.savedPages.size(), 1);
  const QVector<DrawnText>& page = host_.pageTexts[0];
  bool footerPage = false;
  for (const DrawnText& t : page) {
    if (t.text == "Pg. 1") {
      EXPECT_NEAR(t.x, 8.0 - 0.425, 1e-9);  // ends at 8.5 - 0.5; four characters and a blank
      footerPage = true;
    }
  }
  EXPECT_TRUE(footerPage);
  EXPECT_EQ(preview_.GetPage(), 2);
  ASSERT_EQ(host_.surface.texts.size(), 1);
  EXPECT_EQ(host_.surface.texts[0].text, "second");
}

TEST(PreviewTextHelpers, RemoveBreaksFormalCaseAndStripQuotes) {
  EXPECT_EQ(clsMultiPgPreview::GetRemoveCRLF("AAA\r\nBBB"), "AAA BBB");
  EXPECT_EQ(clsMultiPgPreview::GetRemoveCRLF("A\rB"), "A B");
  EXPECT_EQ(clsMultiPgPreview::GetRemoveCRLF("A\nB"), "A B");
  // A line feed in the round that replaced a carriage return is dropped, wherever it stands.
  EXPECT_EQ(clsMultiPgPreview::GetRemoveCRLF("A\rB\nC"), "A BC");
  EXPECT_EQ(clsMultiPgPreview::GetRemoveCRLF("\nA\nB"), "A\nB");
  EXPECT_EQ(clsMultiPgPreview::GetFormalCase("john mcdonald"), "John McDonald");
  EXPECT_EQ(clsMultiPgPreview::GetFormalCase("o'brien-smith"), "O'Brien-Smith");
  EXPECT_EQ(clsMultiPgPreview::GetFormalCase("j.r. smith"), "J.R. Smith");
  EXPECT_EQ(clsMultiPgPreview::GetFormalCase("ANNE-MARIE"), "Anne-Marie");
  EXPECT_EQ(clsMultiPgPreview::GetFormalCase("  mary o'neil"), "Mary O'Neil");
  EXPECT_EQ(clsMultiPgPreview::GetStripQuotes("\""), "");
  EXPECT_EQ(clsMultiPgPreview::GetStripQuotes("\"abc"), "abc");
  EXPECT_EQ(clsMultiPgPreview::GetStripQuotes("\"abc\""), "abc");
}

TEST_F(PreviewClass, BoxesCirclesAndTurnedTextTakeTheirDefaults) {
  RecordingSurface& s = host_.surface;
  preview_.SetCurrentX(1.0);
  preview_.SetCurrentY(2.0);
  preview_.SetForeColor(0x0000FF);
  preview_.pBox();
  ASSERT_EQ(s.boxes.size(), 1);
  // From the position across the 8.5-inch paper, one 10-point line high, red outline only.
  EXPECT_EQ(s.boxes[0].bounds, QRectF(1.0, 2.0, 8.5, 0.2));
  EXPECT_EQ(s.boxes[0].line, 0x0000FFu);
  EXPECT_EQ(s.boxes[0].fillStyle, 1);
  EXPECT_DOUBLE_EQ(preview_.CurrentX(), 1.0);  // the position is put back
  EXPECT_DOUBLE_EQ(preview_.CurrentY(), 2.0);
  preview_.pBox(0.5, 0.5, 1, 1, 0xFF0000, -1, 0);
  EXPECT_EQ(s.boxes[1].fill, 0xFF0000u);  // the fill takes the line's colour
  EXPECT_EQ(s.boxes[1].fillStyle, 0);

  preview_.pCircle(3, 4, 0.5, -1, 0x00FF00, 0, 2);
  ASSERT_EQ(s.ellipses.size(), 1);
  EXPECT_EQ(s.ellipses[0].bounds, QRectF(2.75, 3.5, 0.5, 1.0));  // aspect 2: radius down
  EXPECT_EQ(s.ellipses[0].line, 0x0000FFu);
  EXPECT_DOUBLE_EQ(preview_.CurrentX(), 3);  // left at the centre
  EXPECT_DOUBLE_EQ(preview_.CurrentY(), 4);

  preview_.SetFontSize(9.5);
  preview_.pPrintRotate("up", 400, 2);
  preview_.pPrintRotate("flat", -10);
  preview_.pPrintRotate("", 90);
  ASSERT_EQ(s.turned.size(), 2);
  EXPECT_EQ(s.turned[0].angle, 359);
  EXPECT_EQ(s.turned[0].x, 2);
  EXPECT_EQ(s.turned[0].size, 10);  // whole points
  EXPECT_EQ(s.turned[1].angle, 0);
  EXPECT_NEAR(s.turned[1].x, 2 + 2 * 0.1, 1e-9);  // after "up" in the whole-point 10
}

TEST_F(PreviewClass, PicturesTakeTheirSizeShapeAndPlace) {
  const QVariant wide = QSize(200, 100);  // a picture twice as wide as high
  double width = 0;
  double height = 2;
  bool fit = false;
  preview_.pPrintPicture(wide, 1, 1, width, height, fit, false);
  EXPECT_EQ(width, 2);  // written back: the zero width took the height
  EXPECT_EQ(host_.paintedPictures.last(), QRectF(1, 1, 2, 2));
  EXPECT_TRUE(host_.printPicture.isEmpty());  // the helper box is cleared afterwards
  // No size: fit on the whole 8.5 by 11 surface; its shape kept, centred down the page.
  width = 0;
  height = 0;
  preview_.pPrintPicture(wide, -1, -1, width, height, fit, true);
  EXPECT_TRUE(fit);
  EXPECT_EQ(host_.paintedPictures.last(), QRectF(0, 3.375, 8.5, 4.25));
  // A target wider than the picture's shape: narrowed, centred across, at the top.
  fit = false;
  width = 4;
  height = 1;
  preview_.pPrintPicture(wide, -1, -1, width, height, fit, true);
  EXPECT_EQ(host_.paintedPictures.last(), QRectF(3.25, 0, 2, 1));
  // An empty picture paints nothing.
  preview_.pPrintPicture(QVariant(), 1, 1, width, height, fit, true);
  EXPECT_EQ(host_.paintedPictures.size(), 3);
}

TEST_F(PreviewClass, FillersNoticesAndTextBackground) {
  RecordingSurface& s = host_.surface;
  preview_.SetCurrentX(1.0);
  preview_.pDots(1.5);
  EXPECT_EQ(s.Count("."), 5);  // 0.1 inch apiece from 1.0 up to 1.5
  s.texts.clear();
  preview_.pSpaces(1.0, 0.9, false);
  EXPECT_EQ(s.Count(" "), 4);  // 0.025 inch apiece
  const uint32_t colour = preview_.ForeColor();
  preview_.pSpaces(1.0, 0.8, true);
  EXPECT_EQ(s.Count("\\"), 2);
  EXPECT_EQ(preview_.ForeColor(), colour);
  EXPECT_EQ(preview_.FontName(), "Arial");
  // A target past the paper's edge: the fill stops where the next character would wrap.
  s.texts.clear();
  preview_.pDots(9, 8.0);
  EXPECT_EQ(s.Count("."), 5);  // up to 8.5
  preview_.pSpaces(-1, 8.4);
  EXPECT_EQ(s.Count(" "), 4);
  EXPECT_NEAR(preview_.CurrentX(), 8.5, 1e-9);

  preview_.pBullet(0.5);
  const DrawnText* bullet = s.Find(QString(QChar(183)) + "  ");
  ASSERT_NE(bullet, nullptr);
  EXPECT_EQ(bullet->x, 0.5);
  EXPECT_EQ(preview_.FontName(), "Arial");

  preview_.SetCurrentY(1);
  preview_.pCancled();
  const DrawnText* notice = s.Find("**** PRINTING CANCLED ****");
  ASSERT_NE(notice, nullptr);
  EXPECT_NEAR(notice->y, 1.24, 1e-9);  // after an empty 12-point line
  EXPECT_EQ(notice->x, 0.5);
  EXPECT_EQ(preview_.ForeColor(), 255u);

  preview_.SetBackColor(0x00FFFF);
  EXPECT_FALSE(preview_.FontTransparent());
  EXPECT_EQ(s.TextBackColor, 0x00FFFFu);
  EXPECT_EQ(preview_.BackColor(), 0xFFFFFFu);
  preview_.SetBackColor(-1);
  EXPECT_TRUE(preview_.FontTransparent());
  EXPECT_EQ(s.TextBackColor, 0xFFFFFFu);
}

TEST_F(PreviewClass, HeaderTakesTitleSubtitleAndItalic) {
  preview_.pHeader("Channels", QString("Site A"), false);
  const DrawnText* title = host_.surface.Find("Channels");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->size, 16);
  EXPECT_EQ(title->y, 0);
  EXPECT_NEAR(title->x, (8.5 - 8 * 0.16) / 2, 1e-9);  // centred on the paper
  const DrawnText* sub = host_.surface.Find("Site A");
  ASSERT_NE(sub, nullptr);
  EXPECT_NEAR(sub->y, 16 / 50.0, 1e-9);
  EXPECT_EQ(preview_.ReportTitle, "Channels");
  EXPECT_EQ(preview_.FontSize(), 10);  // the caller's font comes back
}
