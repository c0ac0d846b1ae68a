#include "channels/frmChannelToneOption.h"

#include <QCloseEvent>

#include "channels/ChannelToggles.h"
#include "editor/frmMain.h"
#include "model/ChannelRowTexts.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/Colours.h"
#include "platform/FlexGrid.h"
#include "platform/FormInstance.h"
#include "platform/Frame.h"
#include "platform/Geometry.h"
#include "platform/KeyCodes.h"
#include "platform/Label.h"
#include "platform/OptionButton.h"
#include "platform/TextBox.h"
#include "platform/TextConv.h"
#include "platform/WindowOwner.h"
#include "shell/MDIFormMain.h"

namespace {

cps::FormInstance<FrmChannelToneOption> g_dialog;

constexpr int kOffsetFromEditor = 3000;  // twips right of and below the editor window
constexpr uint32_t kFocusedBoxColour = 0xFFC0C0;
constexpr uint32_t kToneNumberColour = 0xFFC0FF;
constexpr uint32_t kToneCodeColour = 0xC0FFFF;
constexpr uint32_t kCodeNumberColour = 0xFFFFC0;

// Option buttons: Left, Top, Width (Height 225), in the option frame.
struct OptionPlace {
  int left;
  int top;
  int width;
};
constexpr std::array<OptionPlace, kSquelchOptionCount> kOptionPlaces = {{
    {240, 210, 795},
    {1440, 240, 675},
    {2490, 240, 660},
    {3600, 240, 780},
    {4680, 240, 900},
    {5880, 240, 780},
    {6960, 240, 780},
}};
constexpr int kOptionHeight = 225;

// The tables: boxes and labels 330 twips high, row r at Top 360 + 315 r inside the frame.
constexpr int kTableRowHeight = 330;
constexpr int TableTop(int row) { return 360 + 315 * row; }
constexpr int kTonesPerColumn = 9;
constexpr std::array<int, 5> kToneBoxLeft = {515, 2040, 3575, 5100, 6635};
constexpr std::array<int, 5> kToneNumberLeft = {120, 1650, 3180, 4705, 6245};
constexpr std::array<int, 5> kToneCodeLeft = {1260, 2790, 4320, 5855, 7385};
constexpr int kToneBoxWidth = 770;
constexpr int kToneLabelWidth = 410;
constexpr int kCodesPerColumn = 11;
constexpr std::array<int, 8> kCodeBoxLeft = {515, 1470, 2430, 3390, 4350, 5310, 6270, 7230};
constexpr std::array<int, 8> kCodeNumberLeft = {120, 1080, 2040, 3000, 3960, 4920, 5880, 6840};
constexpr int kCodeBoxWidth = 590;
constexpr int kCodeLabelWidth = 400;

QFont DialogFont(bool bold) {
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(9);
  font.setBold(bold);
  return font;
}

cps::TextBox* MakeTableBox(QWidget* frame, const char* text, int left, int top, int width) {
  auto* box = new cps::TextBox(frame);
  box->SetText(QString::fromLatin1(text));
  box->SetLocked(true);
  box->setAlignment(Qt::AlignCenter);
  box->setFont(DialogFont(true));
  box->Move(left, top, width, kTableRowHeight);
  return box;
}

cps::Label* MakeTableLabel(QWidget* frame, const QString& caption, uint32_t back, int left, int top,
                           int width) {
  auto* label = new cps::Label(caption, frame);
  label->setFont(DialogFont(false));
  label->setAlignment(Qt::AlignCenter);
  label->SetBackColor(back);
  label->Move(left, top, width, kTableRowHeight);
  return label;
}

// The editor window's top-left corner on the screen: its frame inside the main window, or the
// window itself when it stands alone.
QPoint EditorScreenTopLeft() {
  QWidget& editor = frmMain();
  QWidget* frame = editor.parentWidget() != nullptr ? editor.parentWidget() : &editor;
  return frame->isWindow() ? frame->frameGeometry().topLeft() : frame->mapToGlobal(QPoint(0, 0));
}

void SetCellColour(cps::FlexGrid& grid, int row, int col, CellColour colour) {
  if (colour == CellColour::kNormal) grid.SetCellForeColorAt(row, col, cps::kColourButtonText);
  if (colour == CellColour::kGrey) grid.SetCellForeColorAt(row, col, cps::kColourGrayText);
}

void ShowDependent(cps::FlexGrid& grid, int row, int col,
                   const std::optional<DependentCell>& cell) {
  if (!cell) return;
  SetCellColour(grid, row, col, cell->colour);
  if (cell->text) grid.SetTextMatrix(row, col, *cell->text);
}

// The grid takes the keyboard when its window does: ShowOwned gives the keyboard back to the
// main window once this dialog has closed.
void FocusChannelGrid() { frmMain().fgChannel->SetFocus(); }

// Esc, and Enter in a table after its choice: back to the grid.
void CloseToGrid() {
  frmMain().setEnabled(true);
  UnloadFrmChannelToneOption();
  FocusChannelGrid();
}

void OpenToneOptionDialog(int row, SquelchSide side) {
  if (row < 1 || row > layout::kMaxChannels) return;
  ToneDlgIsTx = side == SquelchSide::kTx;
  ToneDlgChannel = row - 1;
  const ToneDialogStart start = StartToneDialog(row - 1, side);

  FrmChannelToneOption& dialog = frmChannelToneOption();
  dialog.PlaceBesideEditor();
  if (IsMDIFormMainLoaded()) MDIFormMain().setEnabled(false);
  dialog.optChOption[start.option]->SetValue(true);
  dialog.ShowLayout(LayoutForOption(start.option));
  cps::ShowOwned(dialog, IsMDIFormMainLoaded() ? &MDIFormMain() : nullptr,
                 cps::Placement::kKeepPlace);

  switch (LayoutForOption(start.option)) {
    case ToneDialogLayout::kToneTable:
      dialog.txtToneData[start.entry]->SetFocus();
      break;
    case ToneDialogLayout::kCodeTable:
      dialog.txtDcsData[start.entry]->SetFocus();
      break;
    default:
      dialog.optChOption[start.option]->SetFocus();
      break;
  }
}

}  // namespace

FrmChannelToneOption::FrmChannelToneOption() : QWidget(nullptr, Qt::Dialog) {
  setObjectName(QStringLiteral("frmChannelToneOption"));
  setWindowTitle(QStringLiteral("Channel Tone Option"));
  CreateOptionRow();
  CreateToneTable();
  CreateCodeTable();
  ShowLayout(ToneDialogLayout::kOptionsOnly);
}

FrmChannelToneOption::~FrmChannelToneOption() = default;

void FrmChannelToneOption::CreateOptionRow() {
  fraChannelToneOption = new cps::Frame(QStringLiteral("Channel Tone Option"), this);
  fraChannelToneOption->setFont(DialogFont(true));
  fraChannelToneOption->Move(120, 120, 7905, 540);
  for (int i = 0; i < kSquelchOptionCount; ++i) {
    auto* option =
        new cps::OptionButton(QLatin1String(SquelchOptionCaptions[i]), fraChannelToneOption);
    option->setFont(DialogFont(true));
    option->Move(kOptionPlaces[i].left, kOptionPlaces[i].top, kOptionPlaces[i].width,
                 kOptionHeight);
    connect(option, &cps::OptionButton::KeyDown, this,
            [this, i](int& keyCode, int shift) { optChOption_KeyDown(i, keyCode, shift); });
    connect(option, &cps::OptionButton::MouseUp, this,
            [this, i](int button, int shift, double x, double y) {
              optChOption_MouseUp(i, button, shift, x, y);
            });
    optChOption[i] = option;
  }
  optChOption[kSquelchCsq]->SetValue(true);
}

void FrmChannelToneOption::CreateToneTable() {
  fraToneData = new cps::Frame(QStringLiteral("TKS Frequency Table"), this);
  fraToneData->setFont(DialogFont(true));
  fraToneData->Move(120, 720, 7905, 3305);
  for (int i = 0; i < kToneCount; ++i) {
    const int col = i / kTonesPerColumn;
    const int top = TableTop(i % kTonesPerColumn);
    txtToneData[i] =
        MakeTableBox(fraToneData, ToneFrequencyTable[i], kToneBoxLeft[col], top, kToneBoxWidth);
    lblToneNo[i] = MakeTableLabel(fraToneData, ToneDialogLabel(i), kToneNumberColour,
                                  kToneNumberLeft[col], top, kToneLabelWidth);
    // The maker's own two-character tone codes are not shown; their column stays blank.
    lblToneNo[kToneCount + i] = MakeTableLabel(fraToneData, QString(), kToneCodeColour,
                                               kToneCodeLeft[col], top, kToneLabelWidth);
    cps::TextBox* box = txtToneData[i];
    connect(box, &cps::TextBox::Click, this, [this, i] { txtToneData_Click(i); });
    connect(box, &cps::TextBox::KeyDown, this,
            [this, i](int& keyCode, int shift) { txtToneData_KeyDown(i, keyCode, shift); });
    connect(box, &cps::TextBox::GotFocus, this, [this, i] { txtToneData_GotFocus(i); });
    connect(box, &cps::TextBox::LostFocus, this, [this, i] { txtToneData_LostFocus(i); });
  }
}

void FrmChannelToneOption::CreateCodeTable() {
  fraDcsData = new cps::Frame(QStringLiteral("DKS Code Table"), this);
  fraDcsData->setFont(DialogFont(true));
  fraDcsData->Move(120, 720, 7905, 3930);
  for (int i = 0; i < kSquelchCodeCount; ++i) {
    const int col = i / kCodesPerColumn;
    const int top = TableTop(i % kCodesPerColumn);
    txtDcsData[i] =
        MakeTableBox(fraDcsData, SquelchCodeTable[i], kCodeBoxLeft[col], top, kCodeBoxWidth);
    lblDcsNo[i] = MakeTableLabel(fraDcsData, CodeDialogLabel(i), kCodeNumberColour,
                                 kCodeNumberLeft[col], top, kCodeLabelWidth);
    cps::TextBox* box = txtDcsData[i];
    connect(box, &cps::TextBox::Click, this, [this, i] { txtDcsData_Click(i); });
    connect(box, &cps::TextBox::KeyDown, this,
            [this, i](int& keyCode, int shift) { txtDcsData_KeyDown(i, keyCode, shift); });
    connect(box, &cps::TextBox::GotFocus, this, [this, i] { txtDcsData_GotFocus(i); });
    connect(box, &cps::TextBox::LostFocus, this, [this, i] { txtDcsData_LostFocus(i); });
  }
}

void FrmChannelToneOption::ShowLayout(ToneDialogLayout layout) {
  layout_ = layout;
  fraToneData->SetVisible(layout == ToneDialogLayout::kToneTable);
  fraDcsData->SetVisible(layout == ToneDialogLayout::kCodeTable);
  const QSize size(cps::TwipsToPixels(kToneDialogWidth),
                   cps::TwipsToPixels(ToneDialogHeight(layout)));
  setFixedSize(size);
}

int FrmChannelToneOption::Width() const { return cps::WidthTwips(*this); }
int FrmChannelToneOption::Height() const { return cps::HeightTwips(*this); }

void FrmChannelToneOption::PlaceBesideEditor() {
  const QPoint offset(cps::TwipsToPixels(kOffsetFromEditor), cps::TwipsToPixels(kOffsetFromEditor));
  move(EditorScreenTopLeft() + offset);
}

void FrmChannelToneOption::Form_Unload() {
  if (IsFrmMainLoaded()) frmMain().setEnabled(true);
  if (IsMDIFormMainLoaded()) MDIFormMain().setEnabled(true);
}

void FrmChannelToneOption::closeEvent(QCloseEvent* event) {
  if (g_dialog.Holds(this)) UnloadFrmChannelToneOption();
  event->accept();
}

// --- Option row ---------------------------------------------------------------------------------

void FrmChannelToneOption::optChOption_KeyDown(int index, int& keyCode, int /*shift*/) {
  if (keyCode == cps::kKeyEscape) {
    CloseToGrid();
  } else if (keyCode == cps::kKeyReturn) {
    ActOnOption(index);
  }
}

void FrmChannelToneOption::optChOption_MouseUp(int index, int /*button*/, int /*shift*/,
                                               double /*x*/, double /*y*/) {
  optChOption[index]->SetValue(true);
  ActOnOption(index);
}

void FrmChannelToneOption::ActOnOption(int index) {
  switch (LayoutForOption(index)) {
    case ToneDialogLayout::kCodeTable:
      ShowLayout(ToneDialogLayout::kCodeTable);
      txtDcsData[0]->SetFocus();
      break;
    case ToneDialogLayout::kToneTable:
      ShowLayout(ToneDialogLayout::kToneTable);
      txtToneData[0]->SetFocus();
      break;
    default:
      if (const auto choice = EncodeSquelch(index, -1)) ApplyChoice(*choice);
      break;
  }
}

// --- Tables
// ---------------------------------------------------------------------------------------

void FrmChannelToneOption::txtToneData_Click(int index) {
  if (const auto choice = EncodeSquelch(kSquelchTks, index)) ApplyChoice(*choice);
}

void FrmChannelToneOption::txtDcsData_Click(int index) {
  const int option = optChOption[kSquelchDks]->Value() ? kSquelchDks : kSquelchIdks;
  if (const auto choice = EncodeSquelch(option, index)) ApplyChoice(*choice);
}

void FrmChannelToneOption::txtToneData_KeyDown(int index, int& keyCode, int /*shift*/) {
  if (keyCode == cps::kKeyReturn) {
    txtToneData_Click(index);
    CloseToGrid();
  } else if (keyCode == cps::kKeyEscape) {
    CloseToGrid();
  } else {
    const int next = MoveInToneTable(index, keyCode);
    if (next != index) txtToneData[next]->SetFocus();
  }
}

void FrmChannelToneOption::txtDcsData_KeyDown(int index, int& keyCode, int /*shift*/) {
  if (keyCode == cps::kKeyReturn) {
    txtDcsData_Click(index);
    CloseToGrid();
  } else if (keyCode == cps::kKeyEscape) {
    CloseToGrid();
  } else {
    const int next = MoveInCodeTable(index, keyCode);
    if (next != index) txtDcsData[next]->SetFocus();
  }
}

void FrmChannelToneOption::txtToneData_GotFocus(int index) {
  txtToneData[index]->SetBackColor(kFocusedBoxColour);
}
void FrmChannelToneOption::txtToneData_LostFocus(int index) {
  txtToneData[index]->SetBackColor(cps::kColourWindowBackground);
}
void FrmChannelToneOption::txtDcsData_GotFocus(int index) {
  txtDcsData[index]->SetBackColor(kFocusedBoxColour);
}
void FrmChannelToneOption::txtDcsData_LostFocus(int index) {
  txtDcsData[index]->SetBackColor(cps::kColourWindowBackground);
}

// --- Applying a choice
// ----------------------------------------------------------------------------

void FrmChannelToneOption::ApplyChoice(const SquelchEncoding& choice) {
  const SquelchSide side = ToneDlgIsTx ? SquelchSide::kTx : SquelchSide::kRx;
  const int row = ToneDlgChannel + 1;
  const int col = ToneDlgIsTx ? gridcol::kTxOption : gridcol::kRxOption;
  const SquelchApplyOutcome outcome = ApplySquelchChoice(ToneDlgChannel, side, choice);
  // A choice made from the keyboard alone changes the codeplug as much as one by mouse.
  DataModified = true;

  FrmMain& editor = frmMain();
  cps::FlexGrid& grid = *editor.fgChannel;
  grid.SetTextMatrix(row, col, outcome.optionText);
  UnloadFrmChannelToneOption();

  ShowDependent(grid, row, gridcol::kMute, outcome.mute);
  ShowDependent(grid, row, gridcol::kTurnOffCode, outcome.turnOffCode);
  ShowDependent(grid, row, gridcol::kRevBurst, outcome.reverseBurst);
  UpdateTalkaroundCell(row);

  grid.SetBorderStyle(cps::kBorderSingle);
  editor.update();
  grid.update();
  grid.SetRow(row);
  grid.SetCol(col);
  FocusChannelGrid();
}

// --- The one instance
// -------------------------------------------------------------------------------

FrmChannelToneOption& frmChannelToneOption() { return g_dialog.Get(); }

bool IsFrmChannelToneOptionLoaded() { return g_dialog.IsLoaded(); }

bool IsFrmChannelToneOptionVisible() { return g_dialog.IsVisible(); }

void UnloadFrmChannelToneOption() { g_dialog.Unload(); }

void OpenRxToneOptionDialog(int row) { OpenToneOptionDialog(row, SquelchSide::kRx); }
void OpenTxToneOptionDialog(int row) { OpenToneOptionDialog(row, SquelchSide::kTx); }
