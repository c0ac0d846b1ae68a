#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <QWindow>
#include <functional>

#include "CodeplugFiles.h"
#include "ShellFixture.h"
#include "channels/frmChannelToneOption.h"
#include "model/CodeplugLayout.h"
#include "platform/CommandButton.h"
#include "platform/Label.h"
#include "platform/StatusBar.h"
#include "platform/TextBox.h"
#include "platform/WindowOwner.h"
#include "radiolink/CommLink.h"
#include "shell/PendingGridEdit.h"
#include "shell/frmProtection.h"

namespace {

QStringList Captions(const QMenu* menu) {
  QStringList captions;
  for (const QAction* action : menu->actions()) {
    captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
  }
  return captions;
}

QStringList CheckedPorts(const MdiFormMain& main) {
  QStringList checked;
  for (int n = 1; n <= 8; ++n) {
    if (main.mnuPortCom(n)->isChecked()) checked << main.mnuPortCom(n)->text();
  }
  return checked;
}

void SendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button) {
  const QPointF local(widget->width() / 2.0, widget->height() / 2.0);
  const Qt::MouseButtons held =
      type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::MouseButtons();
  QMouseEvent event(type, local, widget->mapToGlobal(local), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &event);
}

void SetUserTones(const QString& text) {
  for (int k = 0; k < 3; ++k) {
    frmMain().txtTKS_RxFrequency[k]->SetText(text);
    frmMain().txtTKS_TxFrequency[k]->SetText(text);
  }
}

}  // namespace

TEST_F(ShellTest, MenusCarryTheirCaptionsAndComOneIsCheckedByDesign) {
  MdiFormMain main;  // the window as designed, before its Load
  EXPECT_EQ(main.windowTitle(), "Corvana CPS");
  QStringList titles;
  for (const QAction* menu : main.menuBar()->actions()) titles << menu->text();
  EXPECT_EQ(titles, QStringList({"&File", "&Device", "&Comm Port", "&Help"}));
  EXPECT_EQ(Captions(main.mnuFile), QStringList({"&Open..", "-", "&Save", "-", "Print Pre&view",
                                                 "&Print..", "-", "Default", "-", "E&xit"}));
  EXPECT_EQ(Captions(main.mnuDevice), QStringList({"&Read", "&Write"}));
  EXPECT_EQ(Captions(main.mnuPort),
            QStringList({"Com1", "Com2", "Com3", "Com4", "Com5", "Com6", "Com7", "Com8"}));
  EXPECT_EQ(Captions(main.mnuHelp), QStringList({"&Help Topics", "-", "&About Corvana CPS..."}));
  for (int n = 1; n <= 8; ++n) EXPECT_TRUE(main.mnuPortCom(n)->isCheckable()) << n;
  EXPECT_EQ(CheckedPorts(main), QStringList({"Com1"}));

  QStringList keys;
  for (int index = 1; index <= MdiFormMain::kToolbarButtonCount; ++index) {
    QAction* button = main.tbToolBarButton(index);
    keys << (button->isSeparator() ? QStringLiteral("-") : button->data().toString());
  }
  EXPECT_EQ(keys,
            QStringList({"Open", "Save", "Read", "Write", "-", "Print Preview", "Print", "Help"}));
  EXPECT_EQ(main.tbToolBar->actions().size(), 8);
}

TEST_F(ShellTest, StartUpLeavesOnlyOpenReadAndTheAlwaysAvailableCommandsEnabled) {
  StartUp();
  EXPECT_FALSE(IsFrmSplaLoaded());
  ASSERT_TRUE(IsMDIFormMainLoaded());
  MdiFormMain& main = MDIFormMain();
  EXPECT_TRUE(main.isVisible());

  for (QAction* command :
       {main.mnuFileOpen, main.mnuFileExit, main.mnuRead, main.mnuContents, main.mnuHelpAbout}) {
    EXPECT_TRUE(command->isEnabled()) << command->objectName().toStdString();
  }
  for (int n = 1; n <= 8; ++n) EXPECT_TRUE(main.mnuPortCom(n)->isEnabled()) << n;
  for (QAction* command : {main.mnuFileSave, main.mnuFilePrintPreview, main.mnuFilePrint,
                           main.mnuDefault, main.mnuWrite}) {
    EXPECT_FALSE(command->isEnabled()) << command->objectName().toStdString();
  }
  for (int index : {1, 3, 8}) EXPECT_TRUE(main.tbToolBarButton(index)->isEnabled()) << index;
  for (int index : {2, 4, 6, 7}) EXPECT_FALSE(main.tbToolBarButton(index)->isEnabled()) << index;

  // The editor sits in the main window, on screen and enabled as a window, its controls not.
  ASSERT_TRUE(IsFrmMainLoaded());
  ASSERT_EQ(main.mdiArea->subWindowList().size(), 1);
  EXPECT_EQ(main.mdiArea->subWindowList().first()->widget(), &frmMain());
  EXPECT_TRUE(frmMain().isVisible());
  EXPECT_TRUE(frmMain().isEnabled());
  EXPECT_FALSE(frmMain().txtPassword->Enabled());
  EXPECT_EQ(CodeplugImage[layout::kImageMarker], 0xA5);  // the editor's Load ran to its end
  EXPECT_EQ(CheckedPorts(main), QStringList({"Com1"}));
  EXPECT_EQ(SelectedCommPort(), 1);
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(ShellTest, AMainWindowSmallerThanTheEditorScrollsToIt) {
  StartUp();
  MdiFormMain& main = MDIFormMain();
  main.resize(500, 300);
  QCoreApplication::processEvents();
  QScrollBar* across = main.mdiArea->horizontalScrollBar();
  QScrollBar* down = main.mdiArea->verticalScrollBar();
  EXPECT_TRUE(across->isVisible());  // a user scrolls with bars that are shown
  EXPECT_TRUE(down->isVisible());
  across->setValue(across->maximum());
  down->setValue(down->maximum());
  const QRect shown = main.mdiArea->viewport()->rect();
  const QWidget* editor = main.mdiArea->subWindowList().first();
  const QPoint editorEnd = editor->mapTo(main.mdiArea->viewport(), editor->rect().bottomRight());
  EXPECT_TRUE(shown.contains(editorEnd));
}

TEST_F(ShellTest, AssociationIsRegisteredOnlyWithTheVersionMarkerInTheProgramFolder) {
  const QString desktopFile = DataHome() + "/applications/corvana-cps.desktop";
  const QString mimeFile = DataHome() + "/mime/packages/corvana-cps.xml";

  StartUp();
  EXPECT_FALSE(QFile::exists(desktopFile));
  EXPECT_FALSE(QFile::exists(mimeFile));
  DestroyMDIFormMainForTests();

  WriteFile(ProgramFile("V07.31"), "");
  StartUp();
  const QString desktop = QString::fromUtf8(ReadFile(desktopFile));
  EXPECT_TRUE(desktop.contains("Icon=" + ProgramFile("Corvana.ico") + "\n"))
      << desktop.toStdString();
  EXPECT_TRUE(desktop.contains("MimeType=application/x-corvana-codeplug;"));
  const QString mime = QString::fromUtf8(ReadFile(mimeFile));
  EXPECT_TRUE(mime.contains("<glob pattern=\"*.cpg\"/>")) << mime.toStdString();
  EXPECT_TRUE(mime.contains("<comment>Corvana CPS File</comment>"));
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(ShellTest, ToolbarCommandRunsOnReleaseWithTheMouseFlagAlreadyCleared) {
  StartUp();
  MdiFormMain& main = MDIFormMain();
  SetUserTones("120.0");
  main.tbToolBarButton(2)->setEnabled(true);
  QWidget* save = main.tbToolBar->widgetForAction(main.tbToolBarButton(2));

  SendMouse(save, QEvent::MouseButtonPress, Qt::LeftButton);
  EXPECT_TRUE(ToolbarMouseDown);
  EXPECT_TRUE(FileDialogs().isEmpty());
  SendMouse(save, QEvent::MouseButtonRelease, Qt::LeftButton);
  EXPECT_FALSE(ToolbarMouseDown);
  ASSERT_EQ(FileDialogs().size(), 1);  // File>Save got as far as its dialog
  EXPECT_EQ(FileDialogs()[0].title, "Save");

  // Only the left button marks the toolbar as held.
  SendMouse(save, QEvent::MouseButtonPress, Qt::RightButton);
  EXPECT_FALSE(ToolbarMouseDown);
  SendMouse(save, QEvent::MouseButtonRelease, Qt::RightButton);
  EXPECT_FALSE(ToolbarMouseDown);

  // A move over the toolbar puts the hint into the editor's status bar.
  frmMain().sbStatusBar->SetPanelText(1, "something else");
  SendMouse(save, QEvent::MouseMove, Qt::NoButton);
  EXPECT_EQ(frmMain().sbStatusBar->PanelText(1), "Status");
}

TEST_F(ShellTest, SaveStopsAfterItsToneCheckWhileTheToolbarIsHeld) {
  StartUp();
  MdiFormMain& main = MDIFormMain();
  SetUserTones("120.0");
  ToolbarMouseDown = true;
  main.mnuFileSave_Click();
  EXPECT_TRUE(FileDialogs().isEmpty());
  EXPECT_TRUE(Messages().isEmpty());
  EXPECT_FALSE(SaveAborted);

  // The tone check still comes first.
  frmMain().txtTKS_TxFrequency[2]->SetText("12.5");
  main.mnuFileSave_Click();
  ASSERT_EQ(Messages().size(), 1);
  EXPECT_EQ(Messages()[0].prompt, "Invalid Frequency");
  EXPECT_EQ(frmMain().txtTKS_TxFrequency[2]->Text(), "");
  EXPECT_TRUE(SaveAborted);
  EXPECT_TRUE(FileDialogs().isEmpty());
}

TEST_F(ShellTest, MenuCommandsCommitAPendingGridEditButToolbarReadWriteDefaultAndExitDoNot) {
  StartUp();
  MdiFormMain& main = MDIFormMain();
  int commits = 0;
  SetGridEditCommit([&commits] { ++commits; });
  cps::TextBox& input = *frmMain().txtChannelInput;

  input.SetVisible(true);
  main.mnuRead_Click();
  EXPECT_EQ(commits, 1);
  EXPECT_FALSE(input.Visible());

  input.SetVisible(true);
  main.mnuPortCom2_Click();
  EXPECT_EQ(commits, 2);
  EXPECT_FALSE(input.Visible());

  for (const char* key : {"Read", "Write"}) {
    input.SetVisible(true);
    main.tbToolBar_ButtonClick(key);
    EXPECT_EQ(commits, 2) << key;
    EXPECT_TRUE(input.Visible()) << key;
  }
  main.mnuDefault_Click();
  EXPECT_EQ(commits, 2);
  EXPECT_TRUE(input.Visible());

  // With no edit open the commit is skipped and the leave-cell guard is reset.
  input.SetVisible(false);
  SkipLeaveCellCommit = 1;
  main.mnuWrite_Click();
  EXPECT_EQ(commits, 2);
  EXPECT_EQ(SkipLeaveCellCommit, 0);
  SetGridEditCommit(nullptr);
}

TEST_F(ShellTest, ComItemsAreExclusiveAndChooseThePort) {
  StartUp();
  MdiFormMain& main = MDIFormMain();
  main.mnuPortCom3->trigger();
  EXPECT_EQ(CheckedPorts(main), QStringList({"Com3"}));
  EXPECT_EQ(SelectedCommPort(), 3);
  main.mnuPortCom3->trigger();  // choosing the checked item again keeps it checked
  EXPECT_EQ(CheckedPorts(main), QStringList({"Com3"}));
  main.mnuPortCom8->trigger();
  EXPECT_EQ(CheckedPorts(main), QStringList({"Com8"}));
  EXPECT_EQ(SelectedCommPort(), 8);
  main.mnuPortCom7->trigger();
  EXPECT_EQ(SelectedCommPort(), 7);
}

TEST_F(ShellTest, HelpTopicsOpensTheHelpFileFromMenuAndToolbar) {
  StartUp();
  MdiFormMain& main = MDIFormMain();
  main.mnuContents->trigger();
  QWidget* help = main.tbToolBar->widgetForAction(main.tbToolBarButton(8));
  QTest::mouseClick(help, Qt::LeftButton);
  const QString helpFile = ProgramFile("Help/HelpFile.chm");
  EXPECT_EQ(cps::DialogScript::HelpRequests(), QStringList({helpFile, helpFile}));
  // None is beside the program: each request says so, with the path looked at.
  ASSERT_EQ(Messages().size(), 2);
  EXPECT_EQ(Messages()[0].prompt,
            "The help file is missing. It was looked for here:\r\n" + helpFile);
  EXPECT_EQ(Messages()[1].title, "Corvana CPS");

  QDir(folder_.path()).mkpath("Help");
  WriteFile(helpFile, "");
  main.mnuContents->trigger();
  EXPECT_EQ(cps::DialogScript::HelpRequests().size(), 3);
  EXPECT_EQ(Messages().size(), 2);

  // Present, but no program on the desktop opens it: that is said, with the path.
  cps::DialogScript::FailNextHelpOpening();
  main.mnuContents->trigger();
  ASSERT_EQ(Messages().size(), 3);
  EXPECT_EQ(Messages()[2].prompt, "No program could open the help file:\r\n" + helpFile);
  EXPECT_EQ(Messages()[2].title, "Corvana CPS");
}

TEST_F(ShellTest, AboutDisablesTheMainWindowUntilClosedByOkOrEsc) {
  StartUp();
  MdiFormMain& main = MDIFormMain();

  main.mnuHelpAbout->trigger();
  EXPECT_FALSE(main.isEnabled());
  ASSERT_TRUE(IsFrmAboutLoaded());
  EXPECT_TRUE(frmAbout().isVisible());
  EXPECT_TRUE(frmAbout().isEnabled());  // its own window, not disabled with the main window
  EXPECT_EQ(frmAbout().windowTitle(), "Corvana CPS");
  EXPECT_EQ(frmAbout().lblVersion->Caption(), "Version : V07.31");
  EXPECT_EQ(frmAbout().Command1->Caption(), "OK");
  frmAbout().Command1->Press();
  EXPECT_FALSE(IsFrmAboutLoaded());
  EXPECT_TRUE(main.isEnabled());

  main.mnuHelpAbout_Click();
  EXPECT_FALSE(main.isEnabled());
  QTest::keyClick(frmAbout().Command1, Qt::Key_Escape);
  EXPECT_FALSE(IsFrmAboutLoaded());
  EXPECT_TRUE(main.isEnabled());

  // Another key leaves it open.
  main.mnuHelpAbout_Click();
  QTest::keyClick(frmAbout().Command1, Qt::Key_A);
  EXPECT_TRUE(IsFrmAboutLoaded());
  EXPECT_FALSE(main.isEnabled());
}

// What a window manager keeps in front of what: every window that disables another belongs to
// it and blocks it (shown modal, so the keyboard stays with it), and every box or dialog belongs
// to the window in front.
TEST_F(ShellTest, EachDialogAndBoxBelongsToTheWindowItDisables) {
  StartUp();
  MdiFormMain& main = MDIFormMain();
  auto ownerOf = [](QWidget& window) { return window.windowHandle()->transientParent(); };
  auto shownBlocking = [](QWidget& window) {
    return QGuiApplication::modalWindow() == window.windowHandle() ? window.windowModality()
                                                                   : Qt::NonModal;
  };

  main.mnuHelpAbout->trigger();
  EXPECT_EQ(ownerOf(frmAbout()), main.windowHandle());
  EXPECT_EQ(shownBlocking(frmAbout()), Qt::ApplicationModal);
  const QPoint offCentre = frmAbout().frameGeometry().center() - main.frameGeometry().center();
  EXPECT_LE(offCentre.manhattanLength(), 4);
  frmAbout().Command1->Press();
  // Over a main window partly off the screen, it still opens wholly on the screen.
  const QRect screen = main.screen()->availableGeometry();
  for (const QPoint mainAt : {screen.bottomRight() - QPoint(100, 100), QPoint(-1000, -1000)}) {
    main.move(mainAt);
    main.mnuHelpAbout->trigger();
    EXPECT_TRUE(screen.contains(frmAbout().frameGeometry())) << mainAt.x() << "," << mainAt.y();
    frmAbout().Command1->Press();
  }

  DataModified = true;
  cps::DialogScript::AnswerNextMessage(cps::MsgResult::No);
  main.mnuFileOpen->trigger();
  ASSERT_EQ(Messages().size(), 1);
  EXPECT_EQ(Messages()[0].title, "Save ?");
  EXPECT_EQ(Messages()[0].owner, &main);
  ASSERT_EQ(FileDialogs().size(), 1);
  EXPECT_EQ(FileDialogs()[0].owner, &main);

  OpenRxToneOptionDialog(1);
  EXPECT_EQ(ownerOf(frmChannelToneOption()), main.windowHandle());
  EXPECT_EQ(shownBlocking(frmChannelToneOption()), Qt::ApplicationModal);
  UnloadFrmChannelToneOption();

  main.mnuRead->trigger();
  ASSERT_TRUE(IsFrmProgramVisible());
  EXPECT_EQ(ownerOf(frmProgram()), main.windowHandle());
  EXPECT_EQ(shownBlocking(frmProgram()), Qt::ApplicationModal);
  ShowRadioPasswordPrompt();
  EXPECT_EQ(ownerOf(frmPasswordW()), frmProgram().windowHandle());
  EXPECT_EQ(shownBlocking(frmPasswordW()), Qt::ApplicationModal);
  // A third wrong password closes the prompt; its message belongs to the programming window.
  RadioPassword = "secret";
  for (int attempt = 0; attempt < 3; ++attempt) frmPasswordW().cmdPassOk->Press();
  EXPECT_EQ(Messages().back().title, "Password");
  EXPECT_EQ(Messages().back().owner, &frmProgram());
}

// The offscreen platform has no window manager: only the program gives the keyboard back. Alt+H
// is the main window's own shortcut, which works only while that window has the keyboard.
TEST_F(ShellTest, AfterABlockingWindowClosesTheMainWindowHasTheKeyboardAgain) {
  StartUp();
  MdiFormMain& main = MDIFormMain();
  const QString locked = ProgramFile("locked.cpg");
  WriteFile(locked, testfiles::FileText(testfiles::LockedImage()));
  QMessageBox* box = nullptr;
  const struct {
    const char* what;
    std::function<void()> open;
    std::function<void()> close;
  } cases[] = {
      {"the About", [&] { main.mnuHelpAbout->trigger(); }, [] { frmAbout().Command1->Press(); }},
      {"the codeplug's Password prompt",
       [&] {
         DataModified = false;
         cps::DialogScript::ChooseNextFile(locked);
         main.mnuFileOpen->trigger();
       },
       [] { frmProtection().cmdPassCancel->Press(); }},
      {"the Programming window", [&] { main.mnuRead->trigger(); },
       [] { QTest::keyClick(frmProgram().cmdRead, Qt::Key_Escape); }},
      // A message box made for the main window, as a box that is not answered by a test is.
      {"a message box",
       [&] {
         cps::WindowOpenings::Instance().Announce();
         box = new QMessageBox(QMessageBox::Warning, "Corvana CPS", "?", QMessageBox::Ok, &main);
         box->setAttribute(Qt::WA_DeleteOnClose);
         box->setWindowModality(Qt::ApplicationModal);
         box->show();
       },
       [&] { box->button(QMessageBox::Ok)->click(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    c.open();
    QWidget* blocking = QApplication::activeModalWidget();
    ASSERT_NE(blocking, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == blocking; }));
    c.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &main; }));
    QTest::keyClick(&main, Qt::Key_H, Qt::AltModifier);
    EXPECT_EQ(QApplication::activePopupWidget(), main.mnuHelp);
    main.mnuHelp->close();
  }
}

TEST_F(ShellTest, AboutWarningHasTwoLinesABlankLineAndThreeLinesIndentedAsDesigned) {
  const QStringList lines = frmAbout().Label1->Caption().split("\r\n");
  ASSERT_EQ(lines.size(), 6);
  EXPECT_TRUE(lines[0].startsWith(" ") && !lines[0].startsWith("  "));
  EXPECT_TRUE(lines[2].isEmpty());
  for (int i : {1, 3, 4, 5}) {
    EXPECT_TRUE(lines[i].startsWith("  ") && lines[i][2] != ' ') << i;
  }
  EXPECT_FALSE(frmAbout().Label1->Caption().contains(QRegularExpression("[^\r]\n")));
}

TEST_F(ShellTest, ExitWithoutChangesUnloadsEverything) {
  StartUp();
  MDIFormMain().mnuHelpAbout_Click();
  DataModified = false;
  MDIFormMain().mnuFileExit_Click();
  EXPECT_TRUE(ExitRequested);
  EXPECT_TRUE(AppExiting);
  EXPECT_FALSE(IsMDIFormMainLoaded());
  EXPECT_FALSE(IsFrmMainLoaded());
  EXPECT_FALSE(IsFrmAboutLoaded());
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(ShellTest, ExitCancelledAtTheSaveQuestionKeepsTheProgramOpen) {
  StartUp();
  DataModified = true;
  cps::DialogScript::AnswerNextMessage(cps::MsgResult::Cancel);
  MDIFormMain().mnuFileExit_Click();
  ASSERT_EQ(Messages().size(), 1);
  EXPECT_EQ(Messages()[0].prompt, "Save Current Data to File ?");
  EXPECT_EQ(Messages()[0].title, "Save ?");
  ASSERT_TRUE(IsMDIFormMainLoaded());
  EXPECT_TRUE(IsFrmMainLoaded());
  EXPECT_TRUE(MDIFormMain().isVisible());
  EXPECT_FALSE(AppExiting);

  // Yes, and then the save dialog cancelled: still open.
  SetUserTones("120.0");
  cps::DialogScript::AnswerNextMessage(cps::MsgResult::Yes);
  MDIFormMain().mnuFileExit_Click();
  EXPECT_EQ(FileDialogs().size(), 1);
  EXPECT_TRUE(SaveAborted);
  EXPECT_TRUE(IsMDIFormMainLoaded());
  EXPECT_TRUE(IsFrmMainLoaded());

  // The main window's close box asks the same question.
  cps::DialogScript::AnswerNextMessage(cps::MsgResult::Cancel);
  EXPECT_FALSE(MDIFormMain().close());
  EXPECT_TRUE(IsMDIFormMainLoaded());
  EXPECT_TRUE(MDIFormMain().isVisible());
}
