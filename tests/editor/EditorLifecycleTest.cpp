// Closing the editor (the save question, the port file and placement it writes, the main window
// it takes along) and the tab control's handlers.
#include <QApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QTabBar>

#include "EditorFixture.h"
#include "channels/frmChannelToneOption.h"
#include "platform/FlexGrid.h"
#include "platform/TabControl.h"
#include "platform/TextBox.h"

namespace {

constexpr int kYesNoCancelThirdDefault = 3 + 512;  // Yes/No/Cancel, Cancel the default, no icon

}  // namespace

TEST_F(EditorTest, CloseWithoutChangesWritesPortFileAndPlacementAndEndsTheProgram) {
  StartEditor();
  MDIFormMain().mnuPortCom(3)->trigger();  // the Com3 command checks Com3 alone
  frmChannelToneOption();

  EXPECT_TRUE(UnloadFrmMain());

  EXPECT_TRUE(Messages().isEmpty());  // nothing changed: no question
  EXPECT_EQ(ReadFile(PortFile()), QByteArray("\"com3\"\r\n"));
  EXPECT_EQ(StoredSetting("MainLeft"), "0");
  EXPECT_EQ(StoredSetting("MainTop"), "0");
  EXPECT_EQ(StoredSetting("MainWidth"), "15120");
  EXPECT_EQ(StoredSetting("MainHeight"), "7800");
  EXPECT_FALSE(IsFrmChannelToneOptionLoaded());
  EXPECT_FALSE(IsFrmMainLoaded());
  EXPECT_FALSE(IsMDIFormMainLoaded());  // closing the editor itself closes the main window
}

TEST_F(EditorTest, CloseWhileMinimisedKeepsTheStoredPlacement) {
  cps::SaveSetting("Settings", "MainLeft", "1234");
  cps::SaveSetting("Settings", "MainWidth", "4321");
  FrmMain& form = StartEditor();
  auto* frame = qobject_cast<QMdiSubWindow*>(form.parentWidget());
  ASSERT_NE(frame, nullptr);
  frame->showMinimized();
  ASSERT_TRUE(form.IsMinimized());

  EXPECT_TRUE(UnloadFrmMain());

  EXPECT_EQ(StoredSetting("MainLeft"), "1234");
  EXPECT_EQ(StoredSetting("MainWidth"), "4321");
  EXPECT_EQ(StoredSetting("MainTop"), "(missing)");
  EXPECT_EQ(ReadFile(PortFile()), QByteArray("\"com1\"\r\n"));  // the port file all the same
}

TEST_F(EditorTest, SaveQuestionNoClosesWithoutSaving) {
  StartEditor();
  DataModified = true;
  cps::DialogScript::AnswerNextMessage(cps::MsgResult::No);
  QFile::remove(PortFile());

  EXPECT_TRUE(UnloadFrmMain());

  ASSERT_EQ(Messages().size(), 1);
  EXPECT_EQ(Messages()[0].prompt, "Save Current Data to File ?");
  EXPECT_EQ(Messages()[0].title, "Save ?");
  EXPECT_EQ(Messages()[0].buttons, kYesNoCancelThirdDefault);
  EXPECT_TRUE(cps::DialogScript::FileDialogs().isEmpty());  // no save
  EXPECT_EQ(ReadFile(PortFile()), QByteArray("\"com1\"\r\n"));
  EXPECT_EQ(StoredSetting("MainWidth"), "15120");
  EXPECT_FALSE(IsFrmMainLoaded());
  EXPECT_FALSE(IsMDIFormMainLoaded());
}

TEST_F(EditorTest, SaveQuestionCancelKeepsEverythingOpenAndWritesNothing) {
  StartEditor();
  DataModified = true;
  QFile::remove(PortFile());
  // No scripted answer: the box gives its default button, Cancel.

  EXPECT_FALSE(UnloadFrmMain());

  ASSERT_EQ(Messages().size(), 1);
  EXPECT_EQ(Messages()[0].answer, cps::MsgResult::Cancel);
  EXPECT_TRUE(IsFrmMainLoaded());
  EXPECT_TRUE(IsMDIFormMainLoaded());
  EXPECT_FALSE(QFile::exists(PortFile()));
  EXPECT_EQ(StoredSetting("MainWidth"), "(missing)");
  EXPECT_TRUE(DataModified);
}

TEST_F(EditorTest, SaveQuestionYesSavesOrStaysOpenWhenTheSaveIsAbandoned) {
  StartEditor();
  DataModified = true;

  // Yes, then the save dialog is cancelled: the program stays open.
  cps::DialogScript::AnswerNextMessage(cps::MsgResult::Yes);
  cps::DialogScript::CancelNextFileDialog();
  EXPECT_FALSE(UnloadFrmMain());
  EXPECT_TRUE(SaveAborted);
  EXPECT_TRUE(IsFrmMainLoaded());
  EXPECT_TRUE(IsMDIFormMainLoaded());
  EXPECT_EQ(cps::DialogScript::FileDialogs().size(), 1);

  // Yes, and a name: the codeplug is written, then the editor and the main window close.
  const QString saved = folder_.path() + "/saved.cpg";
  cps::DialogScript::AnswerNextMessage(cps::MsgResult::Yes);
  cps::DialogScript::ChooseNextFile(saved);
  EXPECT_TRUE(UnloadFrmMain());
  EXPECT_FALSE(SaveAborted);
  const QByteArray file = ReadFile(saved);
  EXPECT_TRUE(file.startsWith("Corvana programmer data file")) << file.left(60).toStdString();
  EXPECT_FALSE(IsFrmMainLoaded());
  EXPECT_FALSE(IsMDIFormMainLoaded());
}

TEST_F(EditorTest, ExitCancelledAtTheSaveQuestionDoesNotStrandTheMainWindow) {
  StartEditor();
  DataModified = true;

  // File>Exit, Cancel at the question: the whole exit stops.
  cps::DialogScript::AnswerNextMessage(cps::MsgResult::Cancel);
  MDIFormMain().mnuFileExit_Click();
  EXPECT_TRUE(IsFrmMainLoaded());
  EXPECT_TRUE(IsMDIFormMainLoaded());
  EXPECT_FALSE(ExitRequested);

  // Closing the editor later ends the program instead of leaving an empty main window.
  cps::DialogScript::AnswerNextMessage(cps::MsgResult::No);
  EXPECT_TRUE(UnloadFrmMain());
  EXPECT_FALSE(IsFrmMainLoaded());
  EXPECT_FALSE(IsMDIFormMainLoaded());
}

TEST_F(EditorTest, ExitUnloadsTheEditorOnceAndWritesItsFiles) {
  StartEditor();
  MDIFormMain().mnuPortCom(8)->trigger();
  DataModified = true;
  cps::DialogScript::AnswerNextMessage(cps::MsgResult::No);

  MDIFormMain().mnuFileExit_Click();

  EXPECT_EQ(Messages().size(), 1);  // one question, however the windows unload each other
  EXPECT_FALSE(IsFrmMainLoaded());
  EXPECT_FALSE(IsMDIFormMainLoaded());
  EXPECT_EQ(ReadFile(PortFile()), QByteArray("\"com8\"\r\n"));
  EXPECT_EQ(StoredSetting("MainHeight"), "7800");
}

TEST_F(EditorTest, SwitchingTabsHidesTheInlineEditorAndRestoresTheSize) {
  FrmMain& form = StartEditor();
  form.sstMain->SetTab(1);
  form.txtChannelInput->SetVisible(true);
  form.SetWidth(9000);
  form.sstMain->SetWidth(5000);
  form.sstMain->SetHeight(3000);
  QCoreApplication::processEvents();
  EXPECT_TRUE(form.fgChannel->TabStop());  // the grid is a tab stop while its tab shows

  form.sstMain->SetTab(0);

  QCoreApplication::processEvents();
  EXPECT_FALSE(form.txtChannelInput->Visible());
  EXPECT_FALSE(form.fgChannel->TabStop());
  EXPECT_EQ(form.Width(), 15120);
  EXPECT_EQ(form.Height(), 7800);
  EXPECT_EQ(form.sstMain->width(), cps::TwipsToPixels(12020));
  EXPECT_EQ(form.sstMain->height(), cps::TwipsToPixels(6800));
}

TEST_F(EditorTest, TabKeyOnTheTabControlGoesToTheGridOnlyOnTheChannelTab) {
  FrmMain& form = StartEditor();
  QApplication::setActiveWindow(&MDIFormMain());
  form.fgChannel->SetEnabled(true);  // the start-up lock would keep the focus off the grid
  form.sstMain->SetTab(1);
  form.fgChannel->SetRow(5);
  form.fgChannel->SetCol(7);
  QWidget* tabs = form.sstMain->tabBar();
  tabs->setFocus();

  // Keys other than Tab leave the grid alone.
  int f5 = 116;
  form.sstMain_KeyDown(f5, 0);
  EXPECT_EQ(form.fgChannel->Row(), 5);

  QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
  QCoreApplication::sendEvent(tabs, &tab);

  EXPECT_EQ(form.fgChannel->Row(), 1);
  EXPECT_EQ(form.fgChannel->Col(), 1);
  EXPECT_TRUE(form.fgChannel->hasFocus());

  // On the settings tab the focus goes to the editor window, not to the grid.
  form.sstMain->SetTab(0);
  form.fgChannel->SetRow(3);
  tabs->setFocus();
  QKeyEvent tabAgain(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
  QCoreApplication::sendEvent(tabs, &tabAgain);
  EXPECT_EQ(form.fgChannel->Row(), 3);
  EXPECT_FALSE(form.fgChannel->hasFocus());
}

TEST_F(EditorTest, TheEditorsCloseBoxRunsTheUnload) {
  FrmMain& form = StartEditor();
  auto* frame = qobject_cast<QMdiSubWindow*>(form.parentWidget());
  ASSERT_NE(frame, nullptr);
  DataModified = true;

  EXPECT_FALSE(frame->close());  // Cancel, the default answer, keeps it open
  EXPECT_EQ(Messages().size(), 1);
  EXPECT_TRUE(IsFrmMainLoaded());
  EXPECT_TRUE(form.isVisible());

  cps::DialogScript::AnswerNextMessage(cps::MsgResult::No);
  frame->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(Messages().size(), 2);
  EXPECT_FALSE(IsFrmMainLoaded());
  EXPECT_FALSE(IsMDIFormMainLoaded());
  EXPECT_EQ(ReadFile(PortFile()), QByteArray("\"com1\"\r\n"));
}
