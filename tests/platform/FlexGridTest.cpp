#include <gtest/gtest.h>

#include <QProxyStyle>
#include <QScrollBar>
#include <QSet>
#include <QTest>

#include "ActiveWindow.h"
#include "platform/FlexGrid.h"
#include "support/QtPrinters.h"

using namespace cps;

namespace {

// A channel grid laid out with whole-pixel sizes (columns 600 twips = 40 px, rows 300 twips =
// 20 px, no border) and a record of its cell events with the current cell they saw.
struct ChannelGrid {
  explicit ChannelGrid(QWidget* parent = nullptr) : grid(parent) {
    grid.SetBorderStyle(kBorderNone);
    grid.SetRows(17);
    grid.SetCols(14);
    for (int c = 0; c < 14; ++c) grid.SetColWidth(c, 600);
    for (int r = 0; r < 17; ++r) grid.SetRowHeight(r, 300);
    grid.resize(14 * 40 + 20, 17 * 20 + 20);
    QObject::connect(&grid, &FlexGrid::LeaveCell, [this] { events << "leave " + Cell(); });
    QObject::connect(&grid, &FlexGrid::RowColChange, [this] { events << "change " + Cell(); });
    QObject::connect(&grid, &FlexGrid::MouseDown, [this](int button, int, double x, double y) {
      events << QString("down %1 at %2,%3 in %4").arg(button).arg(x).arg(y).arg(Cell());
    });
    QObject::connect(&grid, &FlexGrid::Click, [this] { events << "click"; });
    QObject::connect(&grid, &FlexGrid::DblClick, [this] { events << "dblclick"; });
  }

  QString Cell() const { return QString("%1,%2").arg(grid.Row()).arg(grid.Col()); }
  QPoint PixelOf(int row, int col) const { return QPoint(col * 40 + 20, row * 20 + 10); }

  FlexGrid grid;
  QStringList events;
};

}  // namespace

TEST(FlexGrid, TextsOfFixedAndDataCellsSurviveResizing) {
  ChannelGrid channels;
  FlexGrid& grid = channels.grid;
  EXPECT_TRUE(grid.SetTextMatrix(0, 1, "Rx Freq."));
  EXPECT_TRUE(grid.SetTextMatrix(16, 0, "16"));
  for (int r = 1; r <= 16; ++r) grid.SetTextMatrix(r, 1, QString("ch%1").arg(r));
  EXPECT_EQ(grid.TextMatrix(0, 1), "Rx Freq.");
  EXPECT_FALSE(grid.SetTextMatrix(17, 1, "x"));
  EXPECT_FALSE(grid.SetTextMatrix(1, 14, "x"));
  EXPECT_EQ(grid.TextMatrix(17, 1), "");

  grid.SetRows(9);  // an 8-channel radio: rows 9..16 and their texts go
  grid.SetRows(17);
  EXPECT_EQ(grid.TextMatrix(8, 1), "ch8");
  EXPECT_EQ(grid.TextMatrix(9, 1), "");
  EXPECT_EQ(grid.TextMatrix(16, 0), "");
  EXPECT_EQ(grid.RowHeight(16), FlexGrid::kDefaultRowHeight);

  EXPECT_TRUE(grid.RemoveItem(3));
  EXPECT_EQ(grid.Rows(), 16);
  EXPECT_EQ(grid.TextMatrix(3, 1), "ch4");
  EXPECT_FALSE(grid.RemoveItem(0));
  EXPECT_FALSE(grid.RemoveItem(16));
  EXPECT_EQ(grid.TextMatrix(0, 1), "Rx Freq.");
}

TEST(FlexGrid, CodeMovesRaiseLeaveCellBeforeAndRowColChangeAfter) {
  ChannelGrid channels;
  FlexGrid& grid = channels.grid;
  EXPECT_EQ(channels.Cell(), "1,1");

  EXPECT_TRUE(grid.SetRow(5));
  EXPECT_TRUE(grid.SetCol(7));
  EXPECT_TRUE(grid.SetCol(7));
  EXPECT_FALSE(grid.SetRow(17));
  EXPECT_EQ(channels.events, (QStringList{"leave 1,1", "change 5,1", "leave 5,1", "change 5,7"}));

  // Shrinking the grid keeps the current cell inside it without cell events.
  channels.events.clear();
  grid.SetRows(4);
  EXPECT_EQ(channels.Cell(), "3,7");
  EXPECT_TRUE(channels.events.isEmpty());
}

TEST(FlexGrid, MoveFromInsideLeaveCellStillEndsOnTheOuterTarget) {
  // Leaving a cell being edited commits the edit, which moves the cursor one column right;
  // the user's own move then goes on to where the user went.
  ChannelGrid channels;
  FlexGrid& grid = channels.grid;
  grid.SetRow(2);
  channels.events.clear();
  bool committing = false;
  QObject::connect(&grid, &FlexGrid::LeaveCell, [&] {
    if (committing) return;
    committing = true;
    grid.SetCol(2);
  });

  grid.SetRow(5);
  EXPECT_EQ(channels.Cell(), "5,1");
  EXPECT_EQ(channels.events, (QStringList{"leave 2,1", "leave 2,1", "change 2,2", "change 5,1"}));
}

TEST(FlexGrid, MouseMovesTheCurrentCellBeforeMouseDown) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  ChannelGrid channels(&window);
  FlexGrid& grid = channels.grid;
  grid.show();
  QWidget* cells = grid.viewport();

  QTest::mouseClick(cells, Qt::LeftButton, Qt::NoModifier, channels.PixelOf(3, 6));
  EXPECT_EQ(channels.events,
            (QStringList{"leave 1,1", "change 3,6", "down 1 at 3900,1050 in 3,6", "click"}));
  EXPECT_EQ(grid.MouseRow(), 3);
  EXPECT_EQ(grid.MouseCol(), 6);

  // The fixed column and row, and the right button, leave the current cell where it is.
  channels.events.clear();
  QTest::mouseClick(cells, Qt::LeftButton, Qt::NoModifier, QPoint(5, 50));
  QTest::mouseClick(cells, Qt::LeftButton, Qt::NoModifier, QPoint(100, 5));
  QTest::mouseClick(cells, Qt::RightButton, Qt::NoModifier, channels.PixelOf(8, 8));
  EXPECT_EQ(channels.events,
            (QStringList{"down 1 at 75,750 in 3,6", "click", "down 1 at 1500,75 in 3,6", "click",
                         "down 2 at 5100,2550 in 3,6"}));

  // A double click: press, release, double-click press, release.
  channels.events.clear();
  QTest::mouseClick(cells, Qt::LeftButton, Qt::NoModifier, channels.PixelOf(3, 6));
  QTest::mouseDClick(cells, Qt::LeftButton, Qt::NoModifier, channels.PixelOf(3, 6));
  QTest::mouseRelease(cells, Qt::LeftButton, Qt::NoModifier, channels.PixelOf(3, 6));
  EXPECT_EQ(channels.events, (QStringList{"down 1 at 3900,1050 in 3,6", "click", "dblclick"}));
}

TEST(FlexGrid, ArrowKeysMoveAndTabAndEnterReachTheGrid) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  ChannelGrid channels(&window);
  FlexGrid& grid = channels.grid;
  grid.show();
  grid.SetFocus();
  QList<int> keyDowns;
  QList<int> keyPresses;
  QObject::connect(&grid, &FlexGrid::KeyDown, [&](int& code, int) {
    keyDowns << code;
    if (code == kKeyLeft) code = 0;  // a swallowed arrow moves nothing
  });
  QObject::connect(&grid, &FlexGrid::KeyPress, [&](int& ascii) { keyPresses << ascii; });

  QTest::keyClick(&grid, Qt::Key_Down);
  QTest::keyClick(&grid, Qt::Key_Right);
  QTest::keyClick(&grid, Qt::Key_Up);
  QTest::keyClick(&grid, Qt::Key_Up);  // row 1 is the top of the data rows
  QTest::keyClick(&grid, Qt::Key_Left);
  EXPECT_EQ(channels.events, (QStringList{"leave 1,1", "change 2,1", "leave 2,1", "change 2,2",
                                          "leave 2,2", "change 1,2"}));

  channels.events.clear();
  QTest::keyClick(&grid, Qt::Key_Tab);
  QTest::keyClick(&grid, Qt::Key_Return);
  QTest::keyClick(&grid, '4');
  EXPECT_EQ(QApplication::focusWidget(), &grid);
  EXPECT_TRUE(channels.events.isEmpty());
  EXPECT_EQ(keyDowns, (QList<int>{40, 39, 38, 38, 37, 9, 13, 52}));
  EXPECT_EQ(keyPresses, (QList<int>{9, 13, 52}));
}

TEST(FlexGrid, CellColoursOwnOrTheGridsForeColor) {
  ChannelGrid channels;
  FlexGrid& grid = channels.grid;
  grid.SetRow(4);
  grid.SetCol(7);
  channels.events.clear();

  EXPECT_EQ(grid.CellForeColor(), 0u);  // no colour of its own yet
  grid.SetCellForeColor(kColourGrayText);
  EXPECT_TRUE(grid.SetCellForeColorAt(4, 13, kColourButtonText));
  EXPECT_FALSE(grid.SetCellForeColorAt(17, 13, kColourButtonText));
  grid.SetCellForeColorAt(5, 8, 0x0000FF);  // &HBBGGRR: red
  EXPECT_TRUE(channels.events.isEmpty());   // colouring any cell moves nothing
  EXPECT_EQ(grid.CellForeColorAt(4, 7), kColourGrayText);
  EXPECT_EQ(grid.CellForeColorAt(4, 13), kColourButtonText);

  const QPalette& system = QApplication::palette(&grid);
  EXPECT_EQ(grid.ShownCellColour(4, 7), system.color(QPalette::Disabled, QPalette::Text));
  EXPECT_EQ(grid.ShownCellColour(4, 13), system.color(QPalette::Active, QPalette::ButtonText));
  EXPECT_EQ(grid.ShownCellColour(5, 8), QColor(255, 0, 0));

  // Without a colour of its own a cell shows the grid's ForeColor, also while disabled.
  grid.SetForeColor(0x00FF00);
  grid.SetEnabled(false);
  EXPECT_EQ(grid.ShownCellColour(6, 6), QColor(0, 255, 0));
  EXPECT_EQ(grid.palette().color(QPalette::Disabled, QPalette::Text), QColor(0, 255, 0));
}

TEST(FlexGrid, GeometryInTwipsForTheInlineEditor) {
  ChannelGrid channels;
  FlexGrid& grid = channels.grid;
  grid.SetColWidth(0, 580);
  EXPECT_EQ(grid.ColWidth(0), 580);  // kept as set, though 580 twips is no whole pixel count
  EXPECT_EQ(grid.columnWidth(0), 39);
  grid.SetColWidth(0, 600);
  grid.SetRow(2);
  grid.SetCol(3);
  grid.show();
  EXPECT_EQ(grid.CellLeft(), 1800);
  EXPECT_EQ(grid.CellTop(), 600);
  EXPECT_EQ(grid.CellWidth(), 600);
  EXPECT_EQ(grid.CellHeight(), 300);

  // With a border the cell lies further in by the border's width.
  grid.SetBorderStyle(kBorderSingle);
  grid.SetAppearance(kAppearanceFlat);
  QApplication::processEvents();
  EXPECT_EQ(grid.CellLeft(), 1800 + 15 * grid.frameWidth());
}

TEST(FlexGrid, RedrawSuspendsPaintingAndScrollIsRaised) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  ChannelGrid channels(&window);
  FlexGrid& grid = channels.grid;
  grid.resize(200, 100);
  grid.show();
  int scrolls = 0;
  QObject::connect(&grid, &FlexGrid::Scroll, [&] { ++scrolls; });

  grid.SetRedraw(false);
  EXPECT_FALSE(grid.updatesEnabled());
  grid.SetRedraw(true);
  EXPECT_TRUE(grid.updatesEnabled());

  grid.verticalScrollBar()->setValue(3);
  EXPECT_EQ(scrolls, 1);
}

// Counts the pixels of a cell that differ clearly from its background.
static int InkInCell(const QImage& image, const QRect& cell) {
  const QRgb background = image.pixel(cell.left() + 2, cell.top() + 2);
  int ink = 0;
  for (int y = cell.top() + 1; y < cell.bottom(); ++y) {
    for (int x = cell.left() + 1; x < cell.right(); ++x) {
      if (qAbs(qGray(image.pixel(x, y)) - qGray(background)) > 60) ++ink;
    }
  }
  return ink;
}

TEST(FlexGrid, DataCellTextsArePaintedBesideTheFixedCells) {
  ChannelGrid g;
  g.grid.SetTextMatrix(0, 1, "Head");
  g.grid.SetTextMatrix(1, 0, "1");
  g.grid.SetTextMatrix(2, 2, "WWWW");
  g.grid.show();
  const QImage image = g.grid.viewport()->grab().toImage();
  EXPECT_GT(InkInCell(image, QRect(80, 40, 40, 20)), 10);
  EXPECT_EQ(InkInCell(image, QRect(120, 40, 40, 20)), 0);  // an empty cell stays blank

  // The fixed cells' sections are drawn with one palette, whatever their text colours, so that
  // the style finds its cached pixmaps again instead of adding new ones at every paint.
  struct Sections : QProxyStyle {
    mutable QSet<qint64> palettes;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
      if (element == CE_HeaderSection) palettes.insert(option->palette.cacheKey());
      QProxyStyle::drawControl(element, option, painter, widget);
    }
  };
  Sections sections;
  g.grid.setStyle(&sections);
  g.grid.SetCellForeColorAt(1, 0, 0x0000FF);
  g.grid.viewport()->grab();
  g.grid.viewport()->grab();
  EXPECT_EQ(sections.palettes.size(), 1);
  g.grid.setStyle(nullptr);
}
