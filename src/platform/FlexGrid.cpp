#include "platform/FlexGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

namespace cps {
namespace {

constexpr int kOwnColourRole = Qt::UserRole;

// Draws the fixed row and column as header sections and every cell in its column's alignment.
class FlexGridDelegate : public QStyledItemDelegate {
 public:
  explicit FlexGridDelegate(FlexGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    if (index.row() > 0 && index.column() > 0) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    QStyleOptionHeader header;
    header.initFrom(grid_);
    header.rect = option.rect;
    header.text = index.data().toString();
    header.textAlignment = grid_->ColAlignment(index.column());
    header.state |= QStyle::State_Raised;
    // The header drawing leaves its clip on the painter; the data cells after it need their own.
    painter->save();
    // The section with the grid's own palette: the style keeps drawn sections in its pixmap cache
    // under the palette's key, and a palette changed for each cell would add a pixmap at every
    // paint, up to the whole cache.
    QStyle* style = grid_->style();
    style->drawControl(QStyle::CE_HeaderSection, &header, painter, grid_);
    header.palette.setColor(QPalette::ButtonText,
                            grid_->ShownCellColour(index.row(), index.column()));
    header.rect = style->subElementRect(QStyle::SE_HeaderLabel, &header, grid_);
    if (header.rect.isValid()) style->drawControl(QStyle::CE_HeaderLabel, &header, painter, grid_);
    painter->restore();
  }

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->displayAlignment = grid_->ColAlignment(index.column());
  }

 private:
  FlexGrid* grid_;
};

}  // namespace

FlexGrid::FlexGrid(QWidget* parent) : ControlBase<FlexGrid, QTableWidget>(parent) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  horizontalHeader()->setMinimumSectionSize(0);
  verticalHeader()->setMinimumSectionSize(0);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::NoSelection);
  setTabKeyNavigation(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setItemDelegate(new FlexGridDelegate(this));
  viewport()->setMouseTracking(true);
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { emit Scroll(); });
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { emit Scroll(); });
  SetCols(2);
  SetRows(2);
  row_ = 1;
  col_ = 1;
  ShowCurrentCell();
  ApplyFrame();
}

FlexGrid::~FlexGrid() {
  // The scroll bars outlive this part of the grid: their moves are no Scroll any more.
  verticalScrollBar()->disconnect(this);
  horizontalScrollBar()->disconnect(this);
}

bool FlexGrid::SetRows(int rows) {
  if (rows < 1) return false;
  int old = rowCount();
  setRowCount(rows);
  rowTwips_.resize(rows);
  for (int r = old; r < rows; ++r) SetRowHeight(r, kDefaultRowHeight);
  row_ = std::min(row_, rows - 1);
  ShowCurrentCell();
  return true;
}

bool FlexGrid::SetCols(int cols) {
  if (cols < 1) return false;
  int old = columnCount();
  setColumnCount(cols);
  colTwips_.resize(cols);
  colAlignment_.resize(cols);
  for (int c = old; c < cols; ++c) {
    colAlignment_[c] = Qt::AlignLeft | Qt::AlignVCenter;
    SetColWidth(c, kDefaultColWidth);
  }
  col_ = std::min(col_, cols - 1);
  ShowCurrentCell();
  return true;
}

bool FlexGrid::RemoveItem(int row) {
  if (row < 1 || row >= rowCount()) return false;
  removeRow(row);
  rowTwips_.remove(row);
  if (row_ > row) --row_;
  row_ = std::min(row_, rowCount() - 1);
  ShowCurrentCell();
  return true;
}

bool FlexGrid::Contains(int row, int col) const {
  return row >= 0 && row < rowCount() && col >= 0 && col < columnCount();
}

QString FlexGrid::TextMatrix(int row, int col) const {
  if (!Contains(row, col)) return QString();
  const QTableWidgetItem* cell = item(row, col);
  return cell == nullptr ? QString() : cell->text();
}

bool FlexGrid::SetTextMatrix(int row, int col, const QString& text) {
  if (!Contains(row, col)) return false;
  QTableWidgetItem* cell = item(row, col);
  if (cell == nullptr) {
    cell = new QTableWidgetItem;
    cell->setFlags(Qt::ItemIsEnabled);
    setItem(row, col, cell);
  }
  cell->setText(text);
  return true;
}

int FlexGrid::RowHeight(int row) const {
  return (row >= 0 && row < rowTwips_.size()) ? rowTwips_[row] : 0;
}

bool FlexGrid::SetRowHeight(int row, int twips) {
  if (row < 0 || row >= rowCount() || twips < 0) return false;
  rowTwips_[row] = twips;
  setRowHeight(row, TwipsToPixels(twips));
  return true;
}

int FlexGrid::ColWidth(int col) const {
  return (col >= 0 && col < colTwips_.size()) ? colTwips_[col] : 0;
}

bool FlexGrid::SetColWidth(int col, int twips) {
  if (col < 0 || col >= columnCount() || twips < 0) return false;
  colTwips_[col] = twips;
  setColumnWidth(col, TwipsToPixels(twips));
  return true;
}

Qt::Alignment FlexGrid::ColAlignment(int col) const {
  if (col < 0 || col >= colAlignment_.size()) return Qt::AlignLeft | Qt::AlignVCenter;
  return colAlignment_[col];
}

bool FlexGrid::SetColAlignment(int col, Qt::Alignment alignment) {
  if (col < 0 || col >= columnCount()) return false;
  colAlignment_[col] = alignment;
  viewport()->update();
  return true;
}

uint32_t FlexGrid::CellForeColorAt(int row, int col) const {
  if (!Contains(row, col)) return 0;
  const QTableWidgetItem* cell = item(row, col);
  if (cell == nullptr) return 0;
  return cell->data(kOwnColourRole).toUInt();
}

bool FlexGrid::SetCellForeColorAt(int row, int col, uint32_t colour) {
  if (!Contains(row, col)) return false;
  if (item(row, col) == nullptr) SetTextMatrix(row, col, QString());
  QTableWidgetItem* cell = item(row, col);
  cell->setData(kOwnColourRole, colour);
  cell->setForeground(ToQColor(colour, QApplication::palette(this)));
  return true;
}

QColor FlexGrid::ShownCellColour(int row, int col) const {
  const QTableWidgetItem* cell = Contains(row, col) ? item(row, col) : nullptr;
  bool own = cell != nullptr && cell->data(kOwnColourRole).isValid();
  return ToQColor(own ? CellForeColorAt(row, col) : ForeColor(), QApplication::palette(this));
}

void FlexGrid::SetForeColor(uint32_t colour) {
  ControlBase::SetForeColor(colour);
  QPalette shown = palette();
  shown.setColor(QPalette::Disabled, QPalette::Text, ToQColor(colour, QApplication::palette(this)));
  setPalette(shown);
}

void FlexGrid::SetToolTipText(const QString& text) {
  setToolTip(text);
  viewport()->setToolTip(text);
}

void FlexGrid::SetRedraw(bool redraw) {
  redraw_ = redraw;
  setUpdatesEnabled(redraw);
  if (redraw) viewport()->update();
}

void FlexGrid::SetAppearance(int appearance) {
  appearance_ = appearance;
  ApplyFrame();
}

void FlexGrid::SetBorderStyle(int borderStyle) {
  borderStyle_ = borderStyle;
  ApplyFrame();
}

void FlexGrid::ApplyFrame() {
  if (borderStyle_ == kBorderNone) {
    setFrameStyle(QFrame::NoFrame);
  } else if (appearance_ == kAppearance3D) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  } else {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
  }
}

int FlexGrid::CellLeft() const {
  return PixelsToTwips(viewport()->x() + columnViewportPosition(col_));
}

int FlexGrid::CellTop() const { return PixelsToTwips(viewport()->y() + rowViewportPosition(row_)); }

int FlexGrid::CellWidth() const { return PixelsToTwips(columnWidth(col_)); }

int FlexGrid::CellHeight() const { return PixelsToTwips(rowHeight(row_)); }

bool FlexGrid::MoveCurrentCell(int row, int col) {
  if (!Contains(row, col)) return false;
  if (row == row_ && col == col_) return true;
  QPointer<FlexGrid> alive(this);
  emit LeaveCell();  // Row and Col still name the cell being left
  if (!alive) return true;
  if (row == row_ && col == col_) return true;  // a nested move got here already
  if (!Contains(row, col)) return false;        // the handler shrank the grid meanwhile
  row_ = row;
  col_ = col;
  ShowCurrentCell();
  emit RowColChange();
  return true;
}

void FlexGrid::ShowCurrentCell() {
  if (!Contains(row_, col_) || selectionModel() == nullptr) return;
  selectionModel()->setCurrentIndex(model()->index(row_, col_), QItemSelectionModel::NoUpdate);
}

void FlexGrid::TrackMouse(QPointF pos) {
  mouseRow_ = rowAt(static_cast<int>(pos.y()));
  mouseCol_ = columnAt(static_cast<int>(pos.x()));
}

bool FlexGrid::event(QEvent* e) {
  // Tab is one of the grid's keys, not a move to the next control.
  if (e->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(e);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      keyPressEvent(key);
      return true;
    }
  }
  return ControlBase::event(e);
}

void FlexGrid::keyPressEvent(QKeyEvent* e) {
  QPointer<FlexGrid> alive(this);
  e->accept();
  if (!RaiseKeyDown(e) || !alive) return;
  MoveByArrow(KeyCodeFromQt(e->key(), e->modifiers()));
  if (!alive) return;
  RaiseKeyPress(e);
}

void FlexGrid::MoveByArrow(int keyCode) {
  switch (keyCode) {
    case kKeyUp:
      if (row_ > 1) SetRow(row_ - 1);
      break;
    case kKeyDown:
      if (row_ + 1 < rowCount()) SetRow(row_ + 1);
      break;
    case kKeyLeft:
      if (col_ > 1) SetCol(col_ - 1);
      break;
    case kKeyRight:
      if (col_ + 1 < columnCount()) SetCol(col_ + 1);
      break;
    default:
      break;
  }
}

void FlexGrid::mousePressEvent(QMouseEvent* e) {
  QPointer<FlexGrid> alive(this);
  e->accept();
  TrackMouse(e->position());
  if (e->button() == Qt::LeftButton) {
    if (mouseRow_ >= 1 && mouseCol_ >= 1) MoveCurrentCell(mouseRow_, mouseCol_);
    if (!alive) return;
    clickPending_ = true;
  }
  RaiseMouse(MouseKind::Down, *e, e->position());
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* e) {
  QPointer<FlexGrid> alive(this);
  e->accept();
  TrackMouse(e->position());
  bool click = clickPending_ && e->button() == Qt::LeftButton &&
               viewport()->rect().contains(e->position().toPoint());
  clickPending_ = false;
  RaiseMouse(MouseKind::Up, *e, e->position());
  if (alive && click) RaiseClick();
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* e) {
  e->accept();
  TrackMouse(e->position());
  clickPending_ = false;  // the release that ends a double click is no click
  RaiseDblClick();
}

void FlexGrid::mouseMoveEvent(QMouseEvent* e) {
  e->accept();
  TrackMouse(e->position());
  RaiseMouse(MouseKind::Move, *e, e->position());
}

}  // namespace cps
