// The main window: a multiple-document frame holding the editor window, with the program's
// menus and toolbar. It starts every command. One instance, reached through MDIFormMain().
//
// Enabled state of the commands (menu item and toolbar button share it):
//   Open, Exit, Read, Com1..Com8, Help Topics, About, buttons Open/Read/Help: always enabled
//   Save (button 2): disabled at start-up; enabled by a file open and EnableEditor
//   Print Preview (6), Print (7), Default: disabled at start-up; enabled by EnableEditor
//   Write (4): disabled at start-up; enabled by EnableEditor
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

class MdiFormMain : public QMainWindow {
  Q_OBJECT

 public:
  explicit MdiFormMain(QWidget* parent = nullptr);
  ~MdiFormMain() override;

  // --- Menus (captions as shown; "&" marks the access key) ---------------------------------
  QMenu* mnuFile = nullptr;                // "&File"
  QAction* mnuFileOpen = nullptr;          // "&Open.."
  QAction* mnuFileBar0 = nullptr;          // separator
  QAction* mnuFileSave = nullptr;          // "&Save"
  QAction* mnuFileBar1 = nullptr;          // separator
  QAction* mnuFilePrintPreview = nullptr;  // "Print Pre&view"
  QAction* mnuFilePrint = nullptr;         // "&Print.."
  QAction* mnuFileBar2 = nullptr;          // separator
  QAction* mnuDefault = nullptr;           // "Default"
  QAction* mnuFileBar3 = nullptr;          // separator
  QAction* mnuFileExit = nullptr;          // "E&xit"

  QMenu* mnuDevice = nullptr;   // "&Device"
  QAction* mnuRead = nullptr;   // "&Read"
  QAction* mnuWrite = nullptr;  // "&Write"

  QMenu* mnuPort = nullptr;  // "&Comm Port": "Com1".."Com8", checkable, Com1 checked by design
  QAction* mnuPortCom1 = nullptr;
  QAction* mnuPortCom2 = nullptr;
  QAction* mnuPortCom3 = nullptr;
  QAction* mnuPortCom4 = nullptr;
  QAction* mnuPortCom5 = nullptr;
  QAction* mnuPortCom6 = nullptr;
  QAction* mnuPortCom7 = nullptr;
  QAction* mnuPortCom8 = nullptr;
  // mnuPortCom1..mnuPortCom8 by number n = 1..8 (nullptr outside).
  QAction* mnuPortCom(int n) const;

  QMenu* mnuHelp = nullptr;         // "&Help"
  QAction* mnuContents = nullptr;   // "&Help Topics"
  QAction* mnuHelpBar2 = nullptr;   // separator
  QAction* mnuHelpAbout = nullptr;  // "&About Corvana CPS..."

  // --- Toolbar ----------------------------------------------------------------------------------
  // Buttons by index 1..8 with their keys: 1 "Open", 2 "Save", 3 "Read", 4 "Write",
  // 5 a separator, 6 "Print Preview", 7 "Print", 8 "Help". The key is the action's data().
  QToolBar* tbToolBar = nullptr;
  static constexpr int kToolbarButtonCount = 8;
  QAction* tbToolBarButton(int index) const;  // nullptr outside 1..8

  // The client area holding the editor window.
  QMdiArea* mdiArea = nullptr;

  // Puts the editor window into the client area as its child window (once; later calls return
  // the same child window). The editor calls it when it is created while the main window exists.
  QMdiSubWindow* AdoptEditor(QWidget* editor);

  // --- Handlers ----------------------------------------------------------------------------------
  // Runs once when the window is created (the accessor calls it): placement, the start-up
  // enabled state, DisableEditor (which creates the editor window) and then OpenCommPort.
  void MDIForm_Load();
  // Runs when the window is unloaded, after its child, the editor window, has agreed to close.
  // Never sets cancel.
  void MDIForm_Unload(int& cancel);

  // File>Open: the save question, the open dialog and the load; DataModified ends True.
  void mnuFileOpen_Click();
  // File>Save. Its outcome is in SaveAborted (see there); also run by the editor's unload.
  void mnuFileSave_Click();
  // File>Print Preview: composes the Data Report and shows it (returns when the preview closes).
  void mnuFilePrintPreview_Click();
  // File>Print: the printer dialog, then the Data Report once per copy.
  void mnuFilePrint_Click();
  void BuildDataReportPreview();
  void mnuDefault_Click();  // File>Default: factory settings for the loaded codeplug
  void mnuFileExit_Click();
  void mnuRead_Click();
  void mnuWrite_Click();
  void mnuPortCom1_Click();
  void mnuPortCom2_Click();
  void mnuPortCom3_Click();
  void mnuPortCom4_Click();
  void mnuPortCom5_Click();
  void mnuPortCom6_Click();
  void mnuPortCom7_Click();
  void mnuPortCom8_Click();
  void mnuContents_Click();
  void mnuHelpAbout_Click();

  // The toolbar: a button by its key; the mouse events with the button (1 left, 2 right,
  // 4 middle), the shift state and the position in twips on the toolbar.
  void tbToolBar_ButtonClick(const QString& key);
  void tbToolBar_MouseDown(int button, int shift, double x, double y);
  void tbToolBar_MouseMove(int button, int shift, double x, double y);
  void tbToolBar_MouseUp(int button, int shift, double x, double y);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolbar();
  void SelectCommPort(int n);
  QAction* AddToolbarButton(const QString& key);

  std::array<QAction*, kToolbarButtonCount + 1> toolbarButtons_{};  // index 0 unused
  QPointer<QMdiSubWindow> editorWindow_;
};

// The one main window, created (and its MDIForm_Load run) on first use.
MdiFormMain& MDIFormMain();
bool IsMDIFormMainLoaded();
// Unloads the main window: first its child, the editor window, whose unload may refuse (then
// nothing else happens and the result is false), then MDIForm_Unload and the window itself.
// Closing the main window ends the program. True when the window is gone (or was not loaded).
bool UnloadMDIFormMain();
// Deletes the main window (and the editor window inside it) without any unload handler, so that
// every test starts without one.
void DestroyMDIFormMainForTests();
