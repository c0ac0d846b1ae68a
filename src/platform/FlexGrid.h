// A grid of text cells with one fixed header row (row 0) and one fixed column (column 0), its
// own current cell, per-cell text colours and the cell events.
#pragma once

#include <QTableWidget>
#include <QVector>

#include "platform/ControlBase.h"

namespace cps {

constexpr int kAppearanceFlat = 0;
constexpr int kAppearance3D = 1;
constexpr int kBorderNone = 0;
constexpr int kBorderSingle = 1;

// Promises:
// - Rows and Cols count the fixed row and column too. Row 0 and column 0 are drawn as headers
//   but are ordinary cells for TextMatrix. Adding rows or columns keeps every text; removing
//   them drops the texts of what goes.
// - The current cell is (Row, Col); a new grid starts at (1, 1) when it has such a cell. Every
//   change of the current cell, whether code sets Row or Col, the user clicks a data cell with
//   the left button or moves with an arrow key, raises LeaveCell BEFORE the change (Row and Col
//   still name the old cell) and RowColChange after it, at once and nested. Setting the cell
//   that is already current raises neither. A handler may move the current cell again from
//   LeaveCell; the outer change still ends on its own target.
// - A click moves the current cell before MouseDown is raised, so Row and Col name the clicked
//   cell in MouseDown. Clicks on the fixed row or column and with other buttons move nothing.
// - Row and column changes by structure (RemoveItem, fewer Rows or Cols) keep the current cell
//   inside the grid without raising LeaveCell or RowColChange.
// - Every setter that takes a row or column refuses an index outside the grid: it returns false
//   and changes nothing; TextMatrix reads "" there.
// - The Tab key and Enter reach KeyDown and KeyPress (Tab does not move the focus); the grid
//   takes no typed text itself.
// - Mouse coordinates are twips from the top-left corner of the grid's inside, where the first
//   cell starts while the grid is not scrolled: the fixed column is 0 <= x < ColWidth(0). MouseRow
//   and MouseCol name the cell under the pointer at the last mouse event, -1 beyond the cells.
//   CellLeft, CellTop, CellWidth and CellHeight give the current cell in twips from the grid's
//   outer top-left corner, so a box placed at grid Left + CellLeft, grid Top + CellTop covers the
//   cell exactly.
// - Colours: ForeColor is the text colour of cells without one of their own, also while the grid
//   is disabled. CellForeColor is the current cell's own colour (0 for none), set with
//   SetCellForeColor; CellForeColorAt/SetCellForeColorAt do the same for any cell without moving
//   the current cell.
// - Redraw False suspends painting until it is set True again.
// - Row heights and column widths are kept in twips exactly as set.
class FlexGrid : public ControlBase<FlexGrid, QTableWidget> {
  Q_OBJECT

 public:
  static constexpr ControlColours kColours{QPalette::Text, QPalette::Base, kColourWindowText,
                                           kColourWindowBackground};
  static constexpr bool kClickOnMouseUp = true;
  static constexpr int kDefaultRowHeight = 240;
  static constexpr int kDefaultColWidth = 960;

  explicit FlexGrid(QWidget* parent = nullptr);
  ~FlexGrid() override;

  int Rows() const { return rowCount(); }
  bool SetRows(int rows);  // refuses fewer than 1
  int Cols() const { return columnCount(); }
  bool SetCols(int cols);    // refuses fewer than 1
  bool RemoveItem(int row);  // refuses the fixed row and rows outside the grid

  QString TextMatrix(int row, int col) const;
  bool SetTextMatrix(int row, int col, const QString& text);
  QString Text() const { return TextMatrix(row_, col_); }  // the current cell's text
  bool SetText(const QString& text) { return SetTextMatrix(row_, col_, text); }

  int Row() const { return row_; }
  bool SetRow(int row) { return MoveCurrentCell(row, col_); }
  int Col() const { return col_; }
  bool SetCol(int col) { return MoveCurrentCell(row_, col); }

  int RowHeight(int row) const;
  bool SetRowHeight(int row, int twips);
  int ColWidth(int col) const;
  bool SetColWidth(int col, int twips);
  Qt::Alignment ColAlignment(int col) const;
  bool SetColAlignment(int col, Qt::Alignment alignment);

  uint32_t CellForeColor() const { return CellForeColorAt(row_, col_); }
  bool SetCellForeColor(uint32_t colour) { return SetCellForeColorAt(row_, col_, colour); }
  uint32_t CellForeColorAt(int row, int col) const;
  bool SetCellForeColorAt(int row, int col, uint32_t colour);
  // The colour a cell's text is drawn in: its own, else ForeColor, through the palette.
  QColor ShownCellColour(int row, int col) const;

  bool Redraw() const { return redraw_; }
  void SetRedraw(bool redraw);

  int Appearance() const { return appearance_; }
  void SetAppearance(int appearance);
  int BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int borderStyle);

  int MouseRow() const { return mouseRow_; }
  int MouseCol() const { return mouseCol_; }

  int CellLeft() const;
  int CellTop() const;
  int CellWidth() const;
  int CellHeight() const;

  // ForeColor here also colours cells without their own colour while the grid is disabled.
  void SetForeColor(uint32_t colour);
  // The tooltip shows over the cells too.
  void SetToolTipText(const QString& text);

 signals:
  void Click();
  void DblClick();
  void KeyDown(int& keyCode, int shift);
  void KeyPress(int& keyAscii);
  void KeyUp(int& keyCode, int shift);
  void GotFocus();
  void LostFocus();
  void MouseDown(int button, int shift, double x, double y);
  void MouseUp(int button, int shift, double x, double y);
  void MouseMove(int button, int shift, double x, double y);
  void Scroll();
  void LeaveCell();
  void RowColChange();

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;

 private:
  bool Contains(int row, int col) const;
  bool MoveCurrentCell(int row, int col);
  void ShowCurrentCell();
  void TrackMouse(QPointF pos);
  void ApplyFrame();
  void MoveByArrow(int keyCode);

  int row_ = 0;
  int col_ = 0;
  bool redraw_ = true;
  int appearance_ = kAppearance3D;
  int borderStyle_ = kBorderSingle;
  int mouseRow_ = -1;
  int mouseCol_ = -1;
  bool clickPending_ = false;
  QVector<int> rowTwips_;
  QVector<int> colTwips_;
  QVector<Qt::Alignment> colAlignment_;
};

}  // namespace cps
