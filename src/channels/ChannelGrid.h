// The editor's channel grid frmMain.fgChannel and its inline frequency editor
// frmMain.txtChannelInput: the grid's event handlers, the column dispatch, opening the editor
// over a cell (BeginGridCellEdit), committing what was typed and moving the cursor
// (HandleGridEditKey), and the frequency commits of the two frequency columns.
//
// The grid never takes typed text. Columns 1 and 5 are edited in the inline editor and
// committed by CommitRxFrequency / CommitTxFrequency; columns 2 and 6 open the tone/code dialog;
// the other data columns run a one-step toggle (ChannelToggles.h).
#pragma once

#include <QObject>

class FrmMain;

namespace cps {
class FlexGrid;
class TextBox;
}  // namespace cps

// Texts shown by the grid's handlers.
inline constexpr char kInvalidNumberMessage[] = "Invalid number";

// Opens the inline editor over the grid's current cell. keyAscii is the character that started
// the edit, or 16 for a double click, 3 for the Ctrl key: 4..16 open the editor with the cell's
// text, a digit opens it holding that digit, 3 and 22 (Ctrl+C, Ctrl+V) set ClipboardKeyPending,
// anything else shows "Invalid number" and leaves the editor hidden.
void BeginGridCellEdit(cps::FlexGrid& grid, cps::TextBox& editor, int& keyAscii);

// Acts on a key that ends an edit: 13 Enter, 38 Up, 40 Down, -1 the editor's focus loss. The
// editor's text goes into the current frequency cell and is committed, then the current cell
// moves (Enter: 1 -> 2 and 5 -> 6; Up and Down one row inside the grid; focus loss one column
// right). 27 Esc hides the editor and commits nothing. Other key codes only switch the grid's
// redrawing on.
void HandleGridEditKey(cps::FlexGrid& grid, cps::TextBox& editor, int keyCode, int shift);

// Commit the text of cell (row, 1) or (row, 5) into channel `row`: store the frequency, refuse
// it with a message, or delete it for an empty text (and take the channel off the scan list).
// The cell then shows what the image holds, and talkaround is brought up to date.
void CommitRxFrequency(int row);
void CommitTxFrequency(int row);

// The handlers of fgChannel and txtChannelInput. frmMain owns one instance; building it
// connects the two controls' events and registers the main window's pending-edit commit.
class ChannelGridEvents : public QObject {
  Q_OBJECT

 public:
  explicit ChannelGridEvents(FrmMain& form);
  ~ChannelGridEvents() override;

  void fgChannel_MouseDown(int button, int shift, double x, double y);
  void fgChannel_DblClick();
  void fgChannel_KeyDown(int& keyCode, int shift);
  void fgChannel_KeyPress(int& keyAscii);
  void fgChannel_KeyUp(int& keyCode, int shift);
  void fgChannel_GotFocus();
  void fgChannel_LeaveCell();
  void fgChannel_MouseMove(int button, int shift, double x, double y);

  void txtChannelInput_KeyDown(int& keyCode, int shift);
  void txtChannelInput_KeyPress(int& keyAscii);
  void txtChannelInput_LostFocus();

  // The last mouse press on the grid hit the fixed column or the header row.
  bool MouseOnFixedCell = false;

 private:
  void OpenEditorFor(int keyAscii);

  FrmMain& form_;
};
