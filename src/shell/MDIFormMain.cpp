#include "shell/MDIFormMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QToolBar>

#include "channels/frmChannelToneOption.h"
#include "editor/EditorLock.h"
#include "editor/FillChain.h"
#include "editor/frmMain.h"
#include "model/ModuleState.h"
#include "model/UserTones.h"
#include "platform/AppSettings.h"
#include "platform/CheckBox.h"
#include "platform/Dialogs.h"
#include "platform/FlexGrid.h"
#include "platform/Geometry.h"
#include "platform/KeyCodes.h"
#include "platform/ListBox.h"
#include "platform/StatusBar.h"
#include "platform/TabControl.h"
#include "platform/TextBox.h"
#include "platform/TextConv.h"
#include "platform/WindowOwner.h"
#include "radiolink/CommLink.h"
#include "radiolink/ProgramOpeners.h"
#include "radiolink/frmProgram.h"
#include "report/ReportCommands.h"
#include "report/frmMultiPgPreview.h"
#include "shell/CodeplugFile.h"
#include "shell/CodeplugOpen.h"
#include "shell/CorvanaArt.h"
#include "shell/PendingGridEdit.h"
#include "shell/frmAbout.h"
#include "shell/frmProtection.h"

namespace {

MdiFormMain* g_main = nullptr;
bool g_unloading = false;  // UnloadMDIFormMain is running (the editor's unload calls it again)

// Placement of the main window in twips.
constexpr int kMainLeft = 0;
constexpr int kMainTop = 0;
constexpr int kMainWidth = 15235;
constexpr int kMainHeight = 9050;

constexpr double kLowestUserToneHz = 67.0;
constexpr int kLongestFileName = 127;  // a longer name is refused

const char kCodeplugFilter[] = "Programmer data file (*.cpg)|*.cpg";
const char kCodeplugExtension[] = ".cpg";
const char kInvalidFrequency[] = "Invalid Frequency";
const char kHelpFile[] = "/Help/HelpFile.chm";
const char kSaveQuestion[] = "Save Current Data to File ?";
const char kSaveQuestionTitle[] = "Save ?";
constexpr int kSaveButton = 2;

// The toolbar's buttons by index; an empty key is the separator.
const char* const kToolbarKeys[MdiFormMain::kToolbarButtonCount + 1] = {
    "", "Open", "Save", "Read", "Write", "", "Print Preview", "Print", "Help"};

QString ToolbarImageKey(const QString& key) {
  return key == QLatin1String("Print Preview") ? QStringLiteral("Preview") : key;
}

QString PrioChannelErrorText() {
  return QStringLiteral("                       Error!  ") + QStringLiteral("\r\n\r\n") +
         QStringLiteral("Prio. Scan Ch. No. not in active scan list   ");
}

QString PathTooLongText(const QString& name) {
  return QStringLiteral("The path you entered,\r\n'") + name +
         QStringLiteral("' is too long, Enter a shorter path.");
}

QString BadFileNameText() {
  return QStringLiteral(
      "   The file name, location, or format is not valid. Type the file name and location in "
      "the correct format.");
}

// The user tone boxes in the order File>Save checks them: for each tone receive, then transmit.
std::array<cps::TextBox*, 6> UserToneBoxesInCheckOrder() {
  FrmMain& editor = frmMain();
  std::array<cps::TextBox*, 6> boxes{};
  for (int k = 0; k < usertone::kCount; ++k) {
    boxes[2 * k] = editor.txtTKS_RxFrequency[k];
    boxes[2 * k + 1] = editor.txtTKS_TxFrequency[k];
  }
  return boxes;
}

// The first user tone box reading below 67.0 Hz (an empty box reads 0), or nullptr.
cps::TextBox* FirstToneBoxBelowLowest() {
  for (cps::TextBox* box : UserToneBoxesInCheckOrder()) {
    if (cps::NumericPrefix(box->Text()) < kLowestUserToneHz) return box;
  }
  return nullptr;
}

// True when priority scan is on and the priority channel is one of the channels outside the
// scan list.
bool PrioChannelOutsideScanList() {
  FrmMain& editor = frmMain();
  if (editor.chkPrioScanEnable->Value() != 1) return false;
  return editor.IsOutsideScanList(cps::NumericPrefix(editor.txtPrioScanChNo->Text()));
}

// Offers to save unsaved changes first. False when the open is to end here: the user cancelled,
// or chose to save and the save did not complete.
bool SaveChangesBeforeOpen() {
  if (!DataModified) return true;
  const cps::MsgResult answer = cps::MsgBox(QLatin1String(kSaveQuestion),
                                            cps::msgbox::YesNoCancel + cps::msgbox::DefaultButton3,
                                            QLatin1String(kSaveQuestionTitle));
  if (answer == cps::MsgResult::Yes) {
    MDIFormMain().mnuFileSave_Click();
    return !SaveAborted;
  }
  if (answer == cps::MsgResult::No) return true;
  frmMain().SetFocus();
  return false;
}

// The codeplug file to open; empty when the user cancelled or chose no name.
QString AskOpenFileName() {
  cps::CommonDialog dialog;
  dialog.DialogTitle = QStringLiteral("Open");
  dialog.Flags = cps::kDialogFileMustExist | cps::kDialogHideReadOnly;
  dialog.Filter = QLatin1String(kCodeplugFilter);
  if (!dialog.ShowOpen()) return QString();
  return dialog.FileName;
}

void EnableSaveCommand() {
  MdiFormMain& main = MDIFormMain();
  main.mnuFileSave->setEnabled(true);
  main.tbToolBarButton(kSaveButton)->setEnabled(true);
}

// Asks for a .cpg name until one is accepted. Empty when the user cancelled or chose no name.
QString AskSaveFileName() {
  cps::CommonDialog dialog;
  dialog.DialogTitle = QStringLiteral("Save");
  dialog.Flags = cps::kDialogOverwritePrompt | cps::kDialogHideReadOnly;
  dialog.Filter = QLatin1String(kCodeplugFilter);
  for (;;) {
    if (!dialog.ShowSave() || dialog.FileName.isEmpty()) return QString();
    const QString path = dialog.FileName;
    const QString name = QFileInfo(path).fileName();
    if (name.size() > kLongestFileName) {
      cps::MsgBox(PathTooLongText(name), cps::msgbox::Information, QLatin1String(cps::kAppTitle));
    } else if (!path.endsWith(QLatin1String(kCodeplugExtension), Qt::CaseSensitive)) {
      cps::MsgBox(BadFileNameText(), cps::msgbox::OKOnly, QLatin1String(cps::kAppTitle));
    } else {
      return path;
    }
    dialog.FileName.clear();
  }
}

// What the file writer does before it writes: the password (unless the editor is locked) and
// the user tones from their boxes into the image; then the file itself.
CodeplugFileResult WriteCodeplugFile(const QString& path) {
  FrmMain& editor = frmMain();
  CodeplugLocked = !editor.txtPassword->Enabled();
  CopyPasswordToImage();
  for (int k = 0; k < usertone::kCount; ++k) {
    EncodeTxToneFrequency(k);
    EncodeRxToneFrequency(k);
  }
  return CopyToFile(path, {editor.txtSerial->Text(), editor.txtSuper->Text()});
}

}  // namespace

// --- Construction ----------------------------------------------------------------------------

MdiFormMain::MdiFormMain(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QLatin1String(cps::kAppTitle));
  setWindowIcon(CorvanaWindowIcon());
  mdiArea = new QMdiArea(this);
  // A window made smaller than the editor scrolls to the parts it hides.
  mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdiArea);
  BuildMenus();
  BuildToolbar();
}

MdiFormMain::~MdiFormMain() = default;

void MdiFormMain::BuildMenus() {
  auto item = [this](QMenu* menu, const char* name, const QString& caption, auto handler) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
  };
  auto separator = [](QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QLatin1String(name));
    return action;
  };

  mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  mnuFileOpen = item(mnuFile, "mnuFileOpen", "&Open..", &MdiFormMain::mnuFileOpen_Click);
  mnuFileBar0 = separator(mnuFile, "mnuFileBar0");
  mnuFileSave = item(mnuFile, "mnuFileSave", "&Save", &MdiFormMain::mnuFileSave_Click);
  mnuFileBar1 = separator(mnuFile, "mnuFileBar1");
  mnuFilePrintPreview = item(mnuFile, "mnuFilePrintPreview", "Print Pre&view",
                             &MdiFormMain::mnuFilePrintPreview_Click);
  mnuFilePrint = item(mnuFile, "mnuFilePrint", "&Print..", &MdiFormMain::mnuFilePrint_Click);
  mnuFileBar2 = separator(mnuFile, "mnuFileBar2");
  mnuDefault = item(mnuFile, "mnuDefault", "Default", &MdiFormMain::mnuDefault_Click);
  mnuFileBar3 = separator(mnuFile, "mnuFileBar3");
  mnuFileExit = item(mnuFile, "mnuFileExit", "E&xit", &MdiFormMain::mnuFileExit_Click);

  mnuDevice = menuBar()->addMenu(QStringLiteral("&Device"));
  mnuDevice->setObjectName(QStringLiteral("mnuDevice"));
  mnuRead = item(mnuDevice, "mnuRead", "&Read", &MdiFormMain::mnuRead_Click);
  mnuWrite = item(mnuDevice, "mnuWrite", "&Write", &MdiFormMain::mnuWrite_Click);

  mnuPort = menuBar()->addMenu(QStringLiteral("&Comm Port"));
  mnuPort->setObjectName(QStringLiteral("mnuPort"));
  mnuPortCom1 = item(mnuPort, "mnuPortCom1", "Com1", &MdiFormMain::mnuPortCom1_Click);
  mnuPortCom2 = item(mnuPort, "mnuPortCom2", "Com2", &MdiFormMain::mnuPortCom2_Click);
  mnuPortCom3 = item(mnuPort, "mnuPortCom3", "Com3", &MdiFormMain::mnuPortCom3_Click);
  mnuPortCom4 = item(mnuPort, "mnuPortCom4", "Com4", &MdiFormMain::mnuPortCom4_Click);
  mnuPortCom5 = item(mnuPort, "mnuPortCom5", "Com5", &MdiFormMain::mnuPortCom5_Click);
  mnuPortCom6 = item(mnuPort, "mnuPortCom6", "Com6", &MdiFormMain::mnuPortCom6_Click);
  mnuPortCom7 = item(mnuPort, "mnuPortCom7", "Com7", &MdiFormMain::mnuPortCom7_Click);
  mnuPortCom8 = item(mnuPort, "mnuPortCom8", "Com8", &MdiFormMain::mnuPortCom8_Click);
  for (int n = 1; n <= 8; ++n) mnuPortCom(n)->setCheckable(true);
  mnuPortCom1->setChecked(true);

  mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
  mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
  mnuContents = item(mnuHelp, "mnuContents", "&Help Topics", &MdiFormMain::mnuContents_Click);
  mnuHelpBar2 = separator(mnuHelp, "mnuHelpBar2");
  mnuHelpAbout =
      item(mnuHelp, "mnuHelpAbout", "&About Corvana CPS...", &MdiFormMain::mnuHelpAbout_Click);
}

void MdiFormMain::BuildToolbar() {
  tbToolBar = addToolBar(QStringLiteral("tbToolBar"));
  tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
  tbToolBar->setMovable(false);
  tbToolBar->setFloatable(false);
  tbToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
  tbToolBar->setMouseTracking(true);
  tbToolBar->installEventFilter(this);
  for (int index = 1; index <= kToolbarButtonCount; ++index) {
    const QString key = QLatin1String(kToolbarKeys[index]);
    toolbarButtons_[index] = key.isEmpty() ? tbToolBar->addSeparator() : AddToolbarButton(key);
  }
}

QAction* MdiFormMain::AddToolbarButton(const QString& key) {
  QAction* button = tbToolBar->addAction(ToolbarIcon(ToolbarImageKey(key)), key);
  button->setData(key);
  connect(button, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
  // The toolbar's mouse events come from its buttons as well as from the bar between them.
  QWidget* widget = tbToolBar->widgetForAction(button);
  widget->setMouseTracking(true);
  widget->installEventFilter(this);
  return button;
}

QAction* MdiFormMain::mnuPortCom(int n) const {
  const std::array<QAction*, 8> items = {mnuPortCom1, mnuPortCom2, mnuPortCom3, mnuPortCom4,
                                         mnuPortCom5, mnuPortCom6, mnuPortCom7, mnuPortCom8};
  return n >= 1 && n <= 8 ? items[n - 1] : nullptr;
}

QAction* MdiFormMain::tbToolBarButton(int index) const {
  return index >= 1 && index <= kToolbarButtonCount ? toolbarButtons_[index] : nullptr;
}

QMdiSubWindow* MdiFormMain::AdoptEditor(QWidget* editor) {
  if (editorWindow_ && editorWindow_->widget() == editor) return editorWindow_;
  editorWindow_ = mdiArea->addSubWindow(editor);
  editorWindow_->show();
  return editorWindow_;
}

// --- Load and unload ---------------------------------------------------------------------------

void MdiFormMain::MDIForm_Load() {
  AppExiting = false;
  cps::MoveTwips(*this, kMainLeft, kMainTop, kMainWidth, kMainHeight);
  for (QAction* command : {mnuFileSave, mnuFilePrintPreview, mnuFilePrint, mnuDefault, mnuWrite}) {
    command->setEnabled(false);
  }
  for (int index : {2, 4, 6, 7}) tbToolBarButton(index)->setEnabled(false);
  // The first touch of the editor creates it; its Load checks the COM item from the port file.
  DisableEditor();
  AdoptEditor(&frmMain());
  OpenCommPort();
}

void MdiFormMain::MDIForm_Unload(int& /*cancel*/) {
  AppExiting = true;
  if (IsFrmMultiPgPreviewLoaded()) UnloadFrmMultiPgPreview();
  if (IsFrmProgramLoaded()) UnloadFrmProgram();
  if (IsFrmAboutLoaded()) UnloadFrmAbout();
  // The password prompt belongs to this window and goes with it.
  if (IsFrmProtectionLoaded()) UnloadFrmProtection();
}

void MdiFormMain::closeEvent(QCloseEvent* event) {
  // Closed from UnloadMDIFormMain itself, or by the user (then the editor may refuse).
  if (g_main != this || UnloadMDIFormMain()) {
    event->accept();
  } else {
    event->ignore();
  }
}

// --- File menu ---------------------------------------------------------------------------------

void MdiFormMain::mnuFileOpen_Click() {
  CommitPendingGridEdit();
  if (!ToolbarMouseDown) {
    if (!SaveChangesBeforeOpen()) return;
    PasswordAttempts = 0;
    const QString path = AskOpenFileName();
    if (path.isEmpty()) return;
    EnableSaveCommand();
    if (!LoadCodeplugFile(path)) return;
  }
  FrmMain& editor = frmMain();
  editor.fgChannel->SetFocus();
  editor.sstMain->SetFocus();
  DataModified = true;
}

void MdiFormMain::mnuFileSave_Click() {
  CommitPendingGridEdit();
  if (cps::TextBox* box = FirstToneBoxBelowLowest()) {
    cps::MsgBox(QLatin1String(kInvalidFrequency), cps::msgbox::OKOnly,
                QLatin1String(cps::kAppTitle));
    box->SetText(QString());
    SaveAborted = true;
    return;
  }
  if (ToolbarMouseDown) return;
  if (PrioChannelOutsideScanList()) {
    cps::MsgBox(PrioChannelErrorText(), cps::msgbox::OKOnly);
    frmMain().sstMain->SetTab(0);
    // What unloading the programming window brings with it.
    UnloadFrmChannelToneOption();
    frmMain().setFocus();
    SaveAborted = true;
    return;
  }
  const QString path = AskSaveFileName();
  if (path.isEmpty()) {
    SaveAborted = true;
    return;
  }
  const bool wasModified = DataModified;
  SaveAborted = false;
  DataModified = false;
  const CodeplugFileResult result = WriteCodeplugFile(path);
  if (!result.ok()) {
    // The codeplug is not on disk: say so, and keep it marked as unsaved.
    cps::MsgBox(result.message, cps::msgbox::Exclamation, QLatin1String(cps::kAppTitle));
    SaveAborted = true;
    DataModified = wasModified;
  }
}

void MdiFormMain::mnuFilePrintPreview_Click() {
  CommitPendingGridEdit();
  PrintToPreview = true;
  BuildDataReportPreview();
}

void MdiFormMain::BuildDataReportPreview() { ::BuildDataReportPreview(); }

void MdiFormMain::mnuFilePrint_Click() {
  CommitPendingGridEdit();
  if (ToolbarMouseDown) return;
  PrintDataReport();
}

// No pending grid edit is committed first: the defaults replace the channels anyway.
void MdiFormMain::mnuDefault_Click() { FillDefaultChain(); }

void MdiFormMain::mnuFileExit_Click() {
  ExitRequested = true;
  UnloadFrmChannelToneOption();
  UnloadFrmProgram();
  UnloadMDIFormMain();
}

// --- Device and port menus ---------------------------------------------------------------------

void MdiFormMain::mnuRead_Click() {
  CommitPendingGridEdit();
  if (!ToolbarMouseDown) ShowReadInstructions();
}

void MdiFormMain::mnuWrite_Click() {
  CommitPendingGridEdit();
  if (!ToolbarMouseDown) CheckAndShowWriteInstructions();
}

void MdiFormMain::SelectCommPort(int n) {
  CommitPendingGridEdit();
  for (int item = 1; item <= 8; ++item) mnuPortCom(item)->setChecked(item == n);
  OpenCommPort();
}

void MdiFormMain::mnuPortCom1_Click() { SelectCommPort(1); }
void MdiFormMain::mnuPortCom2_Click() { SelectCommPort(2); }
void MdiFormMain::mnuPortCom3_Click() { SelectCommPort(3); }
void MdiFormMain::mnuPortCom4_Click() { SelectCommPort(4); }
void MdiFormMain::mnuPortCom5_Click() { SelectCommPort(5); }
void MdiFormMain::mnuPortCom6_Click() { SelectCommPort(6); }
void MdiFormMain::mnuPortCom7_Click() { SelectCommPort(7); }
void MdiFormMain::mnuPortCom8_Click() { SelectCommPort(8); }

// --- Help menu ---------------------------------------------------------------------------------

void MdiFormMain::mnuContents_Click() {
  CommitPendingGridEdit();
  cps::OpenHelpFile(cps::ProgramFolder() + QLatin1String(kHelpFile));
}

void MdiFormMain::mnuHelpAbout_Click() {
  CommitPendingGridEdit();
  setEnabled(false);
  cps::ShowOwned(frmAbout(), this);
}

// --- Toolbar -----------------------------------------------------------------------------------

void MdiFormMain::tbToolBar_ButtonClick(const QString& key) {
  if (key == QLatin1String("Open")) mnuFileOpen_Click();
  if (key == QLatin1String("Save")) mnuFileSave_Click();
  if (key == QLatin1String("Print")) mnuFilePrint_Click();
  if (key == QLatin1String("Print Preview")) mnuFilePrintPreview_Click();
  // Read and Write go to the openers directly: no pending grid edit, no toolbar flag test.
  if (key == QLatin1String("Read")) ShowReadInstructions();
  if (key == QLatin1String("Write")) CheckAndShowWriteInstructions();
  if (key == QLatin1String("Help")) mnuContents_Click();
}

void MdiFormMain::tbToolBar_MouseDown(int button, int /*shift*/, double /*x*/, double /*y*/) {
  if (button == cps::kLeftButton) ToolbarMouseDown = true;
}

void MdiFormMain::tbToolBar_MouseMove(int /*button*/, int /*shift*/, double /*x*/, double /*y*/) {
  if (IsFrmMainLoaded()) frmMain().sbStatusBar->SetPanelText(1, QStringLiteral("Status"));
}

void MdiFormMain::tbToolBar_MouseUp(int /*button*/, int /*shift*/, double /*x*/, double /*y*/) {
  ToolbarMouseDown = false;
}

bool MdiFormMain::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
      type != QEvent::MouseMove) {
    return QMainWindow::eventFilter(watched, event);
  }
  // This filter sees a button's release before the button does, and a tool button runs its
  // command on release: so MouseUp has cleared ToolbarMouseDown when the command runs.
  auto* mouse = static_cast<QMouseEvent*>(event);
  const QPointF pos = tbToolBar->mapFromGlobal(mouse->globalPosition());
  const double x = pos.x() * cps::kTwipsPerPixel;
  const double y = pos.y() * cps::kTwipsPerPixel;
  const int shift = cps::ShiftStateFromQt(mouse->modifiers());
  if (type == QEvent::MouseButtonPress) {
    tbToolBar_MouseDown(cps::MouseButtonsFromQt(mouse->button()), shift, x, y);
  } else if (type == QEvent::MouseButtonRelease) {
    tbToolBar_MouseUp(cps::MouseButtonsFromQt(mouse->button()), shift, x, y);
  } else {
    tbToolBar_MouseMove(cps::MouseButtonsFromQt(mouse->buttons()), shift, x, y);
  }
  return QMainWindow::eventFilter(watched, event);
}

// --- Accessor ----------------------------------------------------------------------------------

MdiFormMain& MDIFormMain() {
  if (!g_main) {
    g_main = new MdiFormMain();
    g_main->MDIForm_Load();
  }
  return *g_main;
}

bool IsMDIFormMainLoaded() { return g_main != nullptr; }

bool UnloadMDIFormMain() {
  if (!g_main || g_unloading) return true;
  g_unloading = true;
  // The child first: the editor's unload asks the save question and may refuse.
  if (IsFrmMainLoaded() && !UnloadFrmMain()) {
    g_unloading = false;
    return false;
  }
  MdiFormMain* main = g_main;
  int cancel = 0;
  main->MDIForm_Unload(cancel);
  g_main = nullptr;
  g_unloading = false;
  // Closing the last window ends the program; deletion waits for the event loop because the
  // unload may come from one of the window's own handlers.
  main->setAttribute(Qt::WA_DeleteOnClose);
  main->close();
  return true;
}

void DestroyMDIFormMainForTests() {
  DestroyFrmProtectionForTests();
  if (IsFrmMainLoaded()) DestroyFrmMainForTests();
  delete g_main;
  g_main = nullptr;
  g_unloading = false;
}
