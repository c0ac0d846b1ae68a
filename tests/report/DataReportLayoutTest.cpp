// The Data Report's layout on both roads, checked on a recording surface whose metrics are round
// numbers (a line is size / 50 inch high, a character size / 100 inch wide). Expected positions
// are worked out by hand from the report's layout rules with those metrics.
#include <gtest/gtest.h>

#include "RecordingSurface.h"
#include "model/ModuleState.h"
#include "report/DataReport.h"
#include "report/FittedSurface.h"
#include "report/clsMultiPgPreview.h"

namespace {

constexpr double kEps = 1e-9;

// A characteristic codeplug as the editor would show it: defaults for the buttons, two
// programmed channels, channels 1, 3 and 16 in the scan list.
ReportValues SampleValues(int channels = 16) {
  ReportValues v;
  v.date = QStringLiteral("Monday, December 07, 2026");
  v.model = QStringLiteral("CRV-16");
  v.batterySave = 1;
  v.quickKey = 0;
  v.talkbackScan = 2;  // greyed
  v.normalScan = 1;
  v.prioScan = 0;
  v.totEnable = 1;
  v.scanSpeed = "350";
  v.prioChannel = "1";
  v.scanHang = "3000";
  v.scanInterval = "2000";
  v.totTime = "60";
  v.totWarning = "10";
  v.shortPress1 = 2;  // Monitor
  v.longPress1 = 8;
  v.shortPress2 = 0;  // Hi/Lo Power
  v.longPress2 = 8;
  v.rxTones = {"120.0", "200.0", ""};
  v.txTones = {"120.0", "200.0", "255.0"};
  v.grid.append(QStringList(14, QString()));
  for (int n = 1; n <= channels; ++n) {
    QStringList row(14, QString());
    row[0] = QString::number(n);
    if (n <= 2) {
      row[1] = n == 1 ? "464.02500" : "465.00000";
      row[5] = row[1];
      row[12] = "25";
    }
    v.grid.append(row);
  }
  v.channelCount = channels;
  v.channelCountVar = channels;
  v.scanSlots[0] = 1;
  v.scanSlots[2] = 3;
  v.scanSlots[15] = 0x40;  // any non-zero byte lists its channel
  return v;
}

class PreviewLayout : public ::testing::Test {
 protected:
  void SetUp() override { ResetModuleState(); }

  const RecordingSurface& Draw(const ReportValues& values) {
    clsMultiPgPreview preview(host_);
    preview.pStartDoc();
    DrawPreviewReport(preview, values);
    return host_.surface;
  }

  bool HasLine(double x1, double x2, double y) const {
    for (const DrawnLine& l : host_.surface.lines) {
      if (std::abs(l.x1 - x1) < kEps && std::abs(l.x2 - x2) < kEps && std::abs(l.y1 - y) < kEps &&
          std::abs(l.y2 - y) < kEps) {
        return true;
      }
    }
    return false;
  }

  RecordingHost host_;
};

void ExpectTextAt(const RecordingSurface& s, const QString& text, double x, double y) {
  const DrawnText* t = s.Find(text);
  ASSERT_NE(t, nullptr) << text.toStdString();
  EXPECT_NEAR(t->x, x, kEps) << text.toStdString();
  EXPECT_NEAR(t->y, y, kEps) << text.toStdString();
}

}  // namespace

TEST_F(PreviewLayout, PageHeadAndRadioConfigurationStandWhereTheLinesPutThem) {
  const RecordingSurface& s = Draw(SampleValues());
  // A blank 10-point line (0.2), then the 14-point bold title and the date on its line.
  ExpectTextAt(s, "Corvana CPS Data Report", 0.5, 0.2);
  EXPECT_EQ(s.Find("Corvana CPS Data Report")->size, 14);
  EXPECT_TRUE(s.Find("Corvana CPS Data Report")->bold);
  ExpectTextAt(s, "Monday, December 07, 2026", 5.2, 0.2);
  // A blank line down to 0.6, then the double rule across the printer's 8.5-inch page.
  EXPECT_TRUE(HasLine(0, 8.5, 0.63));
  EXPECT_TRUE(HasLine(0, 8.5, 0.66));
  // 0.72 after the rule's space, a blank 12-point line: the model line at 0.96.
  ExpectTextAt(s, "Model Number : ", 0.5, 0.96);
  ExpectTextAt(s, "CRV-16", 0.5 + 12 * 0.12 + 3 * 0.03, 0.96);
  // Heading at 1.4, a half line of 5 points, the table's first rule at 1.73, 9-point rows.
  ExpectTextAt(s, "Radio Configuration", 0.5, 1.4);
  EXPECT_TRUE(HasLine(0.5, 3.5, 1.73));
  ExpectTextAt(s, "Battery Save Mode", 0.6, 1.76);
  ExpectTextAt(s, "On", 2.2, 1.76);
  ExpectTextAt(s, "Quick Key Override  ", 0.6, 2.0);
  ExpectTextAt(s, "Talkback Scan  ", 0.6, 2.24);
  EXPECT_EQ(s.Count("Off"), 3);  // quick key, talkback (greyed) and priority scan
  EXPECT_TRUE(HasLine(0.5, 3.5, 2.45));
}

TEST_F(PreviewLayout, ScanTypeTablesShareTheirRulesAndLines) {
  const RecordingSurface& s = Draw(SampleValues());
  // Heading at 2.68; the tables' top at 3.01; each line a rule, 0.03, 0.18 of text, 0.03.
  ExpectTextAt(s, "Scan Type", 0.5, 2.68);
  for (double rule : {3.01, 3.25, 3.49, 3.73}) {
    EXPECT_TRUE(HasLine(0.5, 3.5, rule)) << rule;
    EXPECT_TRUE(HasLine(4.3, 7.25, rule)) << rule;
  }
  ExpectTextAt(s, "Normal Scan Option", 0.6, 3.04);
  ExpectTextAt(s, "Priority Scan Option", 4.4, 3.04);
  ExpectTextAt(s, "350 msec", 2.2, 3.28);
  ExpectTextAt(s, "Priority Scan Channel", 4.4, 3.28);
  ExpectTextAt(s, "1", 6.0, 3.28);
  ExpectTextAt(s, "2000 msec", 6.0, 3.52);
  EXPECT_FALSE(TableRowOffset);
}

TEST_F(PreviewLayout, ButtonAndToneTablesShowLabelsAndTones) {
  const RecordingSurface& s = Draw(SampleValues());
  const DrawnText* heading = s.Find("Programmable Button" + QString(59, ' ') + "User Defined TKS");
  ASSERT_NE(heading, nullptr);
  const double line1 = s.Find("Button 1 Short Press")->y;
  ExpectTextAt(s, "Monitor", 1.9, line1);
  ExpectTextAt(s, "RX", 5.6, line1);
  ExpectTextAt(s, "TX", 6.6, line1);
  const double line2 = s.Find("Button 1 Long Press")->y;
  ExpectTextAt(s, "TKS1", 4.4, line2);
  ExpectTextAt(s, "Hi/Lo Power", 1.9, s.Find("Button 2 Short Press")->y);
  EXPECT_EQ(s.Count("Unassigned"), 2);
  ExpectTextAt(s, "120.0 Hz", 5.6, line2);
  ExpectTextAt(s, " Hz", 5.6, s.Find("TKS3")->y);  // an empty box
  ExpectTextAt(s, "255.0 Hz", 6.6, s.Find("TKS3")->y);
}

TEST_F(PreviewLayout, ChannelTableHasOneBandPerChannelAndTheScanListOnOneLine) {
  const RecordingSurface& s = Draw(SampleValues(16));
  ExpectTextAt(s, " Freq.(MHz)", 0.85, s.Find("Ch No")->y);
  ExpectTextAt(s, "Rx Only", 5.44, s.Find("Ch No")->y);
  // Bands 0.03 + an 8-point line (0.16) + 0.03 apart, the channel number at x 0.6.
  const DrawnText* first = s.Find("464.02500");
  ASSERT_NE(first, nullptr);
  EXPECT_NEAR(first->x, 0.92, kEps);
  for (int n = 1; n <= 16; ++n) {
    bool found = false;
    for (const DrawnText& t : s.texts) {
      if (t.text == QString::number(n) && std::abs(t.x - 0.6) < kEps && t.size == 8) {
        EXPECT_NEAR(t.y, first->y + 0.22 * (n - 1), 1e-6) << n;
        found = true;
      }
    }
    EXPECT_TRUE(found) << n;
  }
  const DrawnText* scan = s.Find("Scan List : ");
  ASSERT_NE(scan, nullptr);
  EXPECT_NEAR(scan->x, 0.5, kEps);
  int members = 0;
  for (const DrawnText& t : s.texts) {
    if (t.y == scan->y && t.text != "Scan List : ") {
      const double expectedX = t.text == "1" ? 1.5 : t.text == "3" ? 1.8 : 2.1;
      EXPECT_NEAR(t.x, expectedX, kEps) << t.text.toStdString();
      ++members;
    }
  }
  EXPECT_EQ(members, 3);
}

TEST_F(PreviewLayout, EightChannelRadioHasEightBandsAndScansOnlyItsChannels) {
  const RecordingSurface& s = Draw(SampleValues(8));
  int numbers = 0;
  for (const DrawnText& t : s.texts) {
    if (std::abs(t.x - 0.6) < kEps && t.size == 8) ++numbers;
  }
  EXPECT_EQ(numbers, 8);
  const DrawnText* scan = s.Find("Scan List : ");
  for (const DrawnText& t : s.texts) {
    if (t.y == scan->y) {
      EXPECT_NE(t.text, "16");
    }
  }
  EXPECT_EQ(s.Find("16"), nullptr);
}

// --- Print road ----------------------------------------------------------------------------------

namespace {

bool HasPrintedLine(const RecordingSurface& s, double x1, double y1, double x2, double y2) {
  for (const DrawnLine& l : s.lines) {
    if (std::abs(l.x1 - x1) < 1e-6 && std::abs(l.y1 - y1) < 1e-6 && std::abs(l.x2 - x2) < 1e-6 &&
        std::abs(l.y2 - y2) < 1e-6) {
      return true;
    }
  }
  return false;
}

QVector<double> RuleHeights(const RecordingSurface& s, double x1, double x2) {
  QVector<double> ys;
  for (const DrawnLine& l : s.lines) {
    if (l.y1 == l.y2 && std::abs(l.x1 - x1) < 1e-6 && std::abs(l.x2 - x2) < 1e-6) {
      ys.append(l.y1);
    }
  }
  return ys;
}

}  // namespace

TEST(PrintedLayout, TwipsBeforeAnyPreviewPlaceTheHeadAndTables) {
  RecordingSurface s(1440);
  DrawPrintedReport(s, SampleValues(), false);
  ExpectTextAt(s, "Corvana CPS Data Report", 800, 400);
  EXPECT_TRUE(HasPrintedLine(s, 450, 820, 11200, 820));
  EXPECT_TRUE(HasPrintedLine(s, 450, 850, 11200, 850));
  ExpectTextAt(s, "Monday, December 07, 2026", 8200, 400);
  // The date's 10-point line (288 twips) and two blank lines.
  ExpectTextAt(s, "Model Number : ", 800, 400 + 3 * 288);
  ExpectTextAt(s, "CRV-16", 3100, 400 + 3 * 288);
  // Scan Type: the right table from 6400 to 11000 with its rules at the left table's heights.
  const QVector<double> left = RuleHeights(s, 800, 5400);
  const QVector<double> right = RuleHeights(s, 6400, 11000).mid(0, 4);  // then the tone table's
  ASSERT_EQ(right.size(), 4);
  for (double y : right) EXPECT_TRUE(left.contains(y)) << y;
  EXPECT_EQ(s.Find("Priority Scan Option")->x, 6600);
  EXPECT_EQ(s.Find("Priority Scan Option")->y, s.Find("Normal Scan Option")->y);
  EXPECT_EQ(s.Find("Quick Key Override")->x, 1000);
  EXPECT_EQ(s.Find("Off")->x, 3500);
  // Buttons and tones: the tone table's heads with their blanks, values at 8300 and 9800.
  EXPECT_EQ(s.Find("  RX")->x, 8300);
  EXPECT_EQ(s.Find("   TX")->x, 9800);
  EXPECT_EQ(s.Find("Monitor")->x, 3200);
  EXPECT_EQ(s.Find("120.0 Hz")->x, 8300);
  // An empty cell still takes its line: the button table's rules (after the three radio-wide
  // tables' twelve) are evenly spaced.
  const QVector<double> buttonRules = RuleHeights(s, 800, 5400).mid(12);
  ASSERT_EQ(buttonRules.size(), 5);
  for (int i = 1; i < 5; ++i) {
    EXPECT_NEAR(buttonRules[i] - buttonRules[i - 1], 100 + 9 * 1440 / 50.0, 1e-6);
  }
}

TEST(PrintedLayout, ChannelTableAndScanListPrintNumbersAsNumbers) {
  RecordingSurface s(1440);
  DrawPrintedReport(s, SampleValues(16), false);
  ExpectTextAt(s, "Conventional Personality", 800, s.Find("Conventional Personality")->y);
  EXPECT_EQ(s.Find("RX DATA")->x, 2520);
  EXPECT_EQ(s.Find("TX DATA")->x, 6720);
  EXPECT_EQ(s.Find("Rx Only ")->x, 8150);
  EXPECT_EQ(s.Find("Freq.(MHz)")->x, 1355);
  EXPECT_EQ(s.Find(" 7 ")->x, 920);
  EXPECT_EQ(s.Find("464.02500")->x, 1410);
  EXPECT_EQ(s.Count(" 16 "), 2);  // its band and the scan list
  const DrawnText* label = s.Find("Scan List : ");
  ASSERT_NE(label, nullptr);
  int k = 0;
  for (const QString n : {" 1 ", " 3 ", " 16 "}) {
    const DrawnText* member = nullptr;
    for (const DrawnText& t : s.texts) {
      if (t.text == n && t.y == label->y) member = &t;
    }
    ASSERT_NE(member, nullptr) << n.toStdString();
    EXPECT_EQ(member->x, 2200 + 450 * k++);
  }

  RecordingSurface eight(1440);
  DrawPrintedReport(eight, SampleValues(8), false);
  EXPECT_NE(eight.Find(" 8 "), nullptr);
  EXPECT_EQ(eight.Find(" 9 "), nullptr);
  EXPECT_EQ(eight.Count(" 16 "), 0);
  // Ten bands (group, heads, eight channels), each ruled twice from 800 to 11300.
  EXPECT_EQ(RuleHeights(eight, 800, 11300).size(), 20);
}

TEST(PrintedLayout, InchesAfterAPreviewPlaceTheHeadWithThreeBlankLines) {
  RecordingSurface s(1);
  DrawPrintedReport(s, SampleValues(), true);
  ExpectTextAt(s, "Corvana CPS Data Report", 0.5, 0.26);
  EXPECT_TRUE(HasPrintedLine(s, 0.1, 0.63, 8.2, 0.63));
  EXPECT_TRUE(HasPrintedLine(s, 0.1, 0.65, 8.2, 0.65));
  ExpectTextAt(s, "Monday, December 07, 2026", 5.7, 0.26);
  ExpectTextAt(s, "Model Number : ", 0.5, 0.26 + 4 * 0.2);
  ExpectTextAt(s, "CRV-16", 2.0, 0.26 + 4 * 0.2);
  EXPECT_NEAR(s.Find("Priority Scan Option")->x, 4.6, kEps);
  EXPECT_NEAR(s.Find(" 7 ")->x, 0.62, kEps);
  EXPECT_NEAR(s.Find("  RX")->x, 5.7, kEps);
}

TEST(PrintedLayout, AChannelCountBeyondTheGridPrintsOnlyTheGridsChannels) {
  ReportValues v = SampleValues(8);
  v.channelCount = 200;  // a damaged count byte
  v.channelCountVar = 200;
  RecordingSurface printed(1440);
  DrawPrintedReport(printed, v, false);
  EXPECT_NE(printed.Find(" 8 "), nullptr);
  EXPECT_EQ(printed.Find(" 9 "), nullptr);
  RecordingHost host;
  clsMultiPgPreview preview(host);
  preview.pStartDoc();
  DrawPreviewReport(preview, v);
  EXPECT_NE(host.surface.Find("8"), nullptr);
  EXPECT_EQ(host.surface.Find("9"), nullptr);
}

// --- On the page the user chose -----------------------------------------------------------------

namespace {

// How far right and down the drawing reaches: text by the recording metrics, rules by their ends.
QSizeF Reach(const RecordingSurface& s, double unitsPerInch) {
  QSizeF reach;
  for (const DrawnText& t : s.texts) {
    const double blanks = t.text.count(QLatin1Char(' '));
    const double chars = t.text.size() - blanks + blanks / 4;
    reach = reach.expandedTo(
        QSizeF(t.x + chars * t.size / 100 * unitsPerInch, t.y + t.size / 50 * unitsPerInch));
  }
  for (const DrawnLine& l : s.lines) {
    reach = reach.expandedTo(QSizeF(std::max(l.x1, l.x2), std::max(l.y1, l.y2)));
  }
  return reach;
}

// Every text and rule drawn, with its place and size, each divided by scale.
QStringList Drawn(const RecordingSurface& s, double scale = 1) {
  QStringList drawn;
  for (const DrawnText& t : s.texts) {
    drawn << QStringLiteral("%1 %2 %3 %4")
                 .arg(t.x / scale)
                 .arg(t.y / scale)
                 .arg(t.size / scale)
                 .arg(t.text);
  }
  for (const DrawnLine& l : s.lines) {
    drawn << QStringLiteral("%1 %2 %3 %4")
                 .arg(l.x1 / scale)
                 .arg(l.y1 / scale)
                 .arg(l.x2 / scale)
                 .arg(l.y2 / scale);
  }
  return drawn;
}

}  // namespace

TEST(ReportOnThePage, ALandscapePageTakesTheWholeReportScaledDownAPortraitOneAsLaidOut) {
  // A4's printable area turned, in inches; in these metrics the report is 11.6 inches tall.
  const QSizeF landscape(11.41, 7.99);
  RecordingSurface printed(1440);
  DrawPrintedReportToFit(printed, SampleValues(), false, landscape * 1440);
  EXPECT_NEAR(Reach(printed, 1440).height(), landscape.height() * 1440, 1e-6);
  EXPECT_LE(Reach(printed, 1440).width(), landscape.width() * 1440);
  EXPECT_EQ(printed.Count(" 16 "), 2);  // the last channel's band and the scan list
  // The turned page, and paper narrower than the report (on the twips road its text reaches
  // furthest right, on the inch road the rule under the title): each gets the laid-out report,
  // every text and rule in its place and size, at the largest scale at which all of it fits.
  for (const auto& [page, inches] : {std::pair(landscape, false), std::pair(QSizeF(5, 11), false),
                                     std::pair(QSizeF(5, 11), true)}) {
    const double unit = inches ? 1 : 1440;
    RecordingSurface fitted(unit);
    DrawPrintedReportToFit(fitted, SampleValues(), inches, page * unit);
    RecordingSurface laidOut(unit);
    DrawPrintedReport(laidOut, SampleValues(), inches);
    const QSizeF reach = Reach(laidOut, unit) / unit;
    const double scale = std::min(page.width() / reach.width(), page.height() / reach.height());
    EXPECT_EQ(Drawn(fitted, scale), Drawn(laidOut)) << page.width() << (inches ? " in" : " tw");
  }

  RecordingHost host;
  host.page = landscape;
  FittedSurface fitted(host.surface);
  host.opened = &fitted;
  clsMultiPgPreview preview(host);
  DrawPreviewReportToFit(preview, fitted, SampleValues());
  EXPECT_NEAR(Reach(host.surface, 1).height(), landscape.height(), 1e-6);
  EXPECT_EQ(host.surface.Count("16"), 2);
  // The next preview, of a shorter report, is measured anew: as large as its own length allows.
  clsMultiPgPreview next(host);
  DrawPreviewReportToFit(next, fitted, SampleValues(8));
  EXPECT_NEAR(Reach(host.surface, 1).height(), landscape.height(), 1e-6);

  // A portrait page that holds all the text but not the whole rule under the title: as laid out.
  RecordingSurface portrait(1);
  DrawPrintedReportToFit(portrait, SampleValues(), true, QSizeF(7.99, 12));
  RecordingSurface laidOut(1);
  DrawPrintedReport(laidOut, SampleValues(), true);
  EXPECT_EQ(Drawn(portrait), Drawn(laidOut));
  // So does a page of unknown size (no printable area known), rather than a blank page.
  for (const QSizeF& unknown : {QSizeF(), QSizeF(0, 0)}) {
    RecordingSurface unknownPage(1);
    DrawPrintedReportToFit(unknownPage, SampleValues(), true, unknown);
    EXPECT_EQ(Drawn(unknownPage), Drawn(laidOut)) << unknown.width();
  }
}

TEST(ReportLabels, ButtonPressesFollowTheShortPressChoice) {
  // New-codeplug defaults: 3, 8, 1, 8.
  EXPECT_EQ(ShortPressLabel(2), "Monitor");
  EXPECT_EQ(LongPressLabel(2, 8), "Unassigned");
  EXPECT_EQ(ShortPressLabel(0), "Hi/Lo Power");
  EXPECT_EQ(LongPressLabel(0, 8), "Unassigned");
  EXPECT_EQ(LongPressLabel(4, 11), "Nuisance Channel Delete");
  EXPECT_EQ(LongPressLabel(0, 11), "");
  EXPECT_EQ(LongPressLabel(1, 4), "");
  EXPECT_EQ(LongPressLabel(3, 4), "");
  EXPECT_EQ(LongPressLabel(1, 8), "Unassigned");
  EXPECT_EQ(LongPressLabel(2, 4), "Sticky Monitor");
  EXPECT_EQ(LongPressLabel(9, 12), "Button Lock");
  EXPECT_EQ(LongPressLabel(10, 8), "");
  EXPECT_EQ(ShortPressLabel(-1), "");
  EXPECT_EQ(LongPressLabel(-1, 8), "");
  EXPECT_EQ(ShortPressLabel(12), "");
  EXPECT_EQ(OnOff(1), "On");
  EXPECT_EQ(OnOff(2), "Off");
  EXPECT_EQ(OnOff(0), "Off");
  EXPECT_EQ(ReportDateText(QDate(2026, 12, 7), QLocale(QLocale::English)),
            "Monday, December 07, 2026");
}
