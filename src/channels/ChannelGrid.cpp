#include "channels/ChannelGrid.h"

#include <QCoreApplication>

#include "channels/ChannelGridFill.h"
#include "channels/ChannelToggles.h"
#include "channels/FrequencyCommit.h"
#include "channels/GridHints.h"
#include "channels/frmChannelToneOption.h"
#include "editor/frmMain.h"
#include "model/ChannelRowTexts.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/CheckBox.h"
#include "platform/Dialogs.h"
#include "platform/FlexGrid.h"
#include "platform/KeyCodes.h"
#include "platform/ListBox.h"
#include "platform/StatusBar.h"
#include "platform/TextBox.h"
#include "platform/TextConv.h"
#include "shell/PendingGridEdit.h"

namespace {

constexpr int kEditorMaxLength = 9;  // "###.#####"
// Key codes HandleGridEditKey acts on besides Enter, Up and Down.
constexpr int kFocusLoss = -1;
// Characters that start an edit with the cell's text (Backspace, Tab and Enter among them).
constexpr int kFirstCopyKey = 4;
constexpr int kLastCopyKey = 16;
constexpr int kDoubleClickKey = 16;
constexpr int kCtrlC = 3;
constexpr int kCtrlV = 22;
constexpr int kCtrlX = 24;
constexpr int kKeyV = 86;
constexpr int kStatusPanel = 1;

bool IsFrequencyColumn(int col) { return col == gridcol::kRxFreq || col == gridcol::kTxFreq; }
bool IsDigit(int keyAscii) { return keyAscii >= '0' && keyAscii <= '9'; }

void ShowMessage(const char* text) { cps::MsgBox(QString::fromLatin1(text), cps::msgbox::OKOnly); }

// What fgChannel_GotFocus does: the typed text stands in the cell and the editor goes away.
void TakeEditorText(cps::FlexGrid& grid, cps::TextBox& editor) {
  if (!editor.Visible()) return;
  grid.SetText(editor.Text());
  editor.SetVisible(false);
}

// The scan list loses a channel whose frequency was deleted: its entry goes back to the list of
// channels not scanned, its slot and bitmap bit are cleared.
void TakeOffScanList(int channel) {
  FrmMain& form = frmMain();
  cps::ListBox& scan = *form.LstScan;
  for (int i = 0; i < scan.ListCount(); ++i) {
    if (cps::NumericPrefix(scan.List(i)) != channel) continue;
    form.LstChannel->AddItem(scan.List(i));
    scan.RemoveItem(i);
    RemoveChannelFromScanImage(channel);
    return;
  }
}

bool IsProtectedPriorityChannel(int row) {
  return frmMain().chkPrioScanEnable->Value() == 1 &&
         row == CodeplugImage[layout::kPrioScanChannel];
}

void CommitFrequency(int row, FrequencySide side) {
  FrmMain& form = frmMain();
  cps::FlexGrid& grid = *form.fgChannel;
  const int col = side == FrequencySide::kRx ? gridcol::kRxFreq : gridcol::kTxFreq;

  const CommitOutcome outcome =
      CommitFrequencyText(row, side, grid.TextMatrix(row, col), IsProtectedPriorityChannel(row));
  if (outcome.deleted) TakeOffScanList(row);
  if (!outcome.message.isEmpty()) cps::MsgBox(outcome.message, cps::msgbox::OKOnly);
  if (outcome.hideEditor) form.txtChannelInput->SetVisible(false);
  grid.SetTextMatrix(row, col, outcome.cellText);
  // Whatever road led here, a stored or deleted frequency is a change of the codeplug.
  if (outcome.stored || outcome.deleted) DataModified = true;

  if (FreqCellCleared != 0) return;
  grid.SetCol(gridcol::kTalkaround);
  UpdateTalkaroundCell(row);
  grid.SetCol(col);
  grid.SetFocus();
}

// Esc in the editor: nothing is committed and the cell keeps what the image holds.
void CancelGridEdit(cps::FlexGrid& grid, cps::TextBox& editor) {
  CellEditCommitted = true;
  editor.SetText(grid.Text());
  grid.SetFocus();
  TakeEditorText(grid, editor);
}

void MoveAfterEdit(cps::FlexGrid& grid, int keyCode) {
  switch (keyCode) {
    case cps::kKeyReturn:
      if (IsFrequencyColumn(grid.Col())) grid.SetCol(grid.Col() + 1);
      break;
    case cps::kKeyUp:
      if (grid.Row() != 1) grid.SetRow(grid.Row() - 1);
      break;
    case cps::kKeyDown:
      if (grid.Row() != grid.Rows() - 1) grid.SetRow(grid.Row() + 1);
      break;
    case kFocusLoss:
      if (grid.Col() != grid.Cols() - 1) grid.SetCol(grid.Col() + 1);
      break;
    default:
      break;
  }
}

bool EndsAnEdit(int keyCode) {
  return keyCode == cps::kKeyReturn || keyCode == cps::kKeyUp || keyCode == cps::kKeyDown ||
         keyCode == kFocusLoss;
}

}  // namespace

void BeginGridCellEdit(cps::FlexGrid& grid, cps::TextBox& editor, int& keyAscii) {
  editor.Move(grid.Left() + grid.CellLeft(), grid.Top() + grid.CellTop(), grid.CellWidth(),
              grid.CellHeight());
  const auto open = [&](const QString& text) {
    editor.SetText(text);
    editor.SetSelStart(static_cast<int>(text.size()));
    editor.SetVisible(true);
    editor.raise();
    editor.SetFocus();
  };
  if (keyAscii >= kFirstCopyKey && keyAscii <= kLastCopyKey) {
    open(grid.Text());
  } else if (IsDigit(keyAscii)) {
    open(QString(QChar(keyAscii)));
  } else if (keyAscii == kCtrlC || keyAscii == kCtrlV) {
    ClipboardKeyPending = true;
    if (editor.Visible()) editor.SetFocus();
  } else {
    ShowMessage(kInvalidNumberMessage);
    editor.SetText(grid.Text());
  }
}

void HandleGridEditKey(cps::FlexGrid& grid, cps::TextBox& editor, int keyCode, int /*shift*/) {
  if (keyCode == cps::kKeyEscape) {
    CancelGridEdit(grid, editor);
  } else if (EndsAnEdit(keyCode)) {
    grid.SetFocus();
    QCoreApplication::processEvents();
    // Without an active window the grid's focus event does not come: do its work here.
    TakeEditorText(grid, editor);

    const int col = grid.Col();
    if (IsFrequencyColumn(col)) {
      grid.SetText(editor.Text());
      if (col == gridcol::kRxFreq) {
        CommitRxFrequency(grid.Row());
      } else {
        CommitTxFrequency(grid.Row());
      }
      if (FreqCellCleared == 1) SkipLeaveCellCommit = 1;
    }
    MoveAfterEdit(grid, keyCode);
    CellEditCommitted = true;
  }
  grid.SetRedraw(true);
}

void CommitRxFrequency(int row) { CommitFrequency(row, FrequencySide::kRx); }
void CommitTxFrequency(int row) { CommitFrequency(row, FrequencySide::kTx); }

// --- ChannelGridEvents ------------------------------------------------------------------------

ChannelGridEvents::ChannelGridEvents(FrmMain& form) : QObject(&form), form_(form) {
  cps::FlexGrid* grid = form.fgChannel;
  cps::TextBox* editor = form.txtChannelInput;
  connect(grid, &cps::FlexGrid::MouseDown, this, &ChannelGridEvents::fgChannel_MouseDown);
  connect(grid, &cps::FlexGrid::DblClick, this, &ChannelGridEvents::fgChannel_DblClick);
  connect(grid, &cps::FlexGrid::KeyDown, this, &ChannelGridEvents::fgChannel_KeyDown);
  connect(grid, &cps::FlexGrid::KeyPress, this, &ChannelGridEvents::fgChannel_KeyPress);
  connect(grid, &cps::FlexGrid::KeyUp, this, &ChannelGridEvents::fgChannel_KeyUp);
  connect(grid, &cps::FlexGrid::GotFocus, this, &ChannelGridEvents::fgChannel_GotFocus);
  connect(grid, &cps::FlexGrid::LeaveCell, this, &ChannelGridEvents::fgChannel_LeaveCell);
  connect(grid, &cps::FlexGrid::MouseMove, this, &ChannelGridEvents::fgChannel_MouseMove);
  connect(editor, &cps::TextBox::KeyDown, this, &ChannelGridEvents::txtChannelInput_KeyDown);
  connect(editor, &cps::TextBox::KeyPress, this, &ChannelGridEvents::txtChannelInput_KeyPress);
  connect(editor, &cps::TextBox::LostFocus, this, &ChannelGridEvents::txtChannelInput_LostFocus);

  SetGridEditCommit([] {
    FrmMain& f = frmMain();
    HandleGridEditKey(*f.fgChannel, *f.txtChannelInput, cps::kKeyReturn, 0);
  });
}

ChannelGridEvents::~ChannelGridEvents() { SetGridEditCommit(nullptr); }

void ChannelGridEvents::OpenEditorFor(int keyAscii) {
  form_.txtChannelInput->SetMaxLength(kEditorMaxLength);
  BeginGridCellEdit(*form_.fgChannel, *form_.txtChannelInput, keyAscii);
}

void ChannelGridEvents::fgChannel_MouseDown(int button, int /*shift*/, double /*x*/, double /*y*/) {
  // Asked of the cell under the pointer rather than of fixed twips, so that a scrolled grid
  // still tells its header row and channel column from the channel cells.
  const cps::FlexGrid& grid = *form_.fgChannel;
  MouseOnFixedCell = grid.MouseRow() == 0 || grid.MouseCol() == 0;
  if (MouseOnFixedCell) return;
  if (button != cps::kLeftButton) {
    GridEditArmed = false;
    return;
  }
  DataModified = true;
  const int row = form_.fgChannel->Row();
  switch (form_.fgChannel->Col()) {
    case gridcol::kRxOption:
      OpenRxToneOptionDialog(row);
      break;
    case gridcol::kTxOption:
      OpenTxToneOptionDialog(row);
      break;
    default:
      GridEditArmed = true;
      break;
  }
}

void ChannelGridEvents::fgChannel_DblClick() {
  if (MouseOnFixedCell || !GridEditArmed) return;
  const int col = form_.fgChannel->Col();
  if (IsFrequencyColumn(col)) {
    if (!ClipboardKeyPending) OpenEditorFor(kDoubleClickKey);
  } else {
    RunColumnToggle(col, form_.fgChannel->Row());
  }
  CellEditCommitted = false;
}

void ChannelGridEvents::fgChannel_KeyPress(int& keyAscii) {
  cps::FlexGrid& grid = *form_.fgChannel;
  const int col = grid.Col();
  if (IsFrequencyColumn(col)) {
    if (keyAscii != cps::kAsciiEscape) OpenEditorFor(keyAscii);
  } else if (keyAscii == cps::kAsciiReturn) {
    if (col == gridcol::kRxOption) {
      OpenRxToneOptionDialog(grid.Row());
    } else if (col == gridcol::kTxOption) {
      OpenTxToneOptionDialog(grid.Row());
    } else {
      RunColumnToggle(col, grid.Row());
    }
  }
  CellEditCommitted = false;
}

void ChannelGridEvents::fgChannel_KeyDown(int& keyCode, int /*shift*/) {
  cps::FlexGrid& grid = *form_.fgChannel;
  const int col = grid.Col();
  if (keyCode == cps::kKeyDelete && IsFrequencyColumn(col)) {
    // Delete acts on the frequency cells only, so only there is the priority channel refused.
    if (IsProtectedPriorityChannel(grid.Row())) {
      ShowMessage(kPriorityDeleteMessage);
    } else {
      grid.SetText(QString());
      if (col == gridcol::kRxFreq) {
        CommitRxFrequency(grid.Row());
      } else {
        CommitTxFrequency(grid.Row());
      }
    }
  } else if (keyCode == cps::kKeyControl && IsFrequencyColumn(col)) {
    OpenEditorFor(kCtrlC);
  }
  CellEditCommitted = false;
}

void ChannelGridEvents::fgChannel_KeyUp(int& keyCode, int /*shift*/) {
  if (keyCode == cps::kKeyControl || keyCode == kKeyV) ClipboardKeyPending = false;
}

void ChannelGridEvents::fgChannel_GotFocus() {
  TakeEditorText(*form_.fgChannel, *form_.txtChannelInput);
}

void ChannelGridEvents::fgChannel_LeaveCell() {
  cps::FlexGrid& grid = *form_.fgChannel;
  cps::TextBox& editor = *form_.txtChannelInput;
  if (SkipLeaveCellCommit == 0 && editor.Visible()) {
    // The commit below is this edit's one commit: the editor's focus loss must not add another.
    CellEditCommitted = true;
    TakeEditorText(grid, editor);
    if (IsFrequencyColumn(grid.Col())) {
      HandleGridEditKey(grid, editor, cps::kKeyReturn, 0);
      ShowChannelGrid();
    }
    CellEditCommitted = true;
  }
  SkipLeaveCellCommit = 0;
  ClipboardKeyPending = false;
}

void ChannelGridEvents::fgChannel_MouseMove(int /*button*/, int /*shift*/, double /*x*/,
                                            double /*y*/) {
  cps::FlexGrid& grid = *form_.fgChannel;
  const auto hint = ChannelGridHint(grid.MouseRow(), grid.MouseCol());
  if (!hint) return;
  form_.sbStatusBar->SetPanelText(kStatusPanel, hint->status);
  grid.SetToolTipText(hint->tooltip);
}

void ChannelGridEvents::txtChannelInput_KeyDown(int& keyCode, int shift) {
  if (keyCode == cps::kKeyReturn || keyCode == cps::kKeyUp || keyCode == cps::kKeyDown) {
    CellEditCommitted = true;
    HandleGridEditKey(*form_.fgChannel, *form_.txtChannelInput, keyCode, shift);
  } else if (keyCode == cps::kKeyEscape) {
    HandleGridEditKey(*form_.fgChannel, *form_.txtChannelInput, keyCode, shift);
  }
}

void ChannelGridEvents::txtChannelInput_KeyPress(int& keyAscii) {
  if (keyAscii == cps::kAsciiReturn) {
    keyAscii = 0;
    return;
  }
  const bool allowed = keyAscii == kCtrlC || keyAscii == cps::kAsciiBackspace ||
                       keyAscii == cps::kAsciiTab || keyAscii == kCtrlV || keyAscii == kCtrlX ||
                       keyAscii == cps::kAsciiEscape || keyAscii == cps::kAsciiPoint ||
                       IsDigit(keyAscii);
  if (allowed) return;
  ShowMessage(kInvalidNumberMessage);
  keyAscii = 0;
}

void ChannelGridEvents::txtChannelInput_LostFocus() {
  if (!CellEditCommitted) {
    HandleGridEditKey(*form_.fgChannel, *form_.txtChannelInput, kFocusLoss, 1);
  }
}
