#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "ActiveWindow.h"
#include "platform/Dialogs.h"
#include "platform/WindowOwner.h"
#include "support/QtPrinters.h"

using namespace cps;

class Dialogs : public ::testing::Test {
 protected:
  void SetUp() override { DialogScript::Reset(); }
};

TEST_F(Dialogs, UnderTestEveryDialogIsScriptedAndNeverModal) {
  EXPECT_TRUE(DialogScript::Scripted());
}

// The platform's name decides nothing: switched off, the script lets a real box ask, even here.
TEST_F(Dialogs, WithTheScriptOffARealBoxAsksWhateverThePlatform) {
  QString asked;
  QTimer user;  // answers No in the box once it is up
  QObject::connect(&user, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    asked = box->text();
    box->button(QMessageBox::No)->click();
  });
  user.start(0);
  DialogScript::SetScripted(false);
  const MsgResult answer = MsgBox("Save Current Data to File ?", msgbox::YesNo);
  DialogScript::SetScripted(true);
  EXPECT_EQ(asked, "Save Current Data to File ?");
  EXPECT_EQ(answer, MsgResult::No);
}

// A box stays usable above the window it blocks: it belongs to the modal window in front, else
// to the active window, else to the last window shown owned; never to a disabled window.
TEST_F(Dialogs, ABoxBelongsToTheUsableWindowInFront) {
  ActiveWindow main;
  QWidget first;
  QWidget last;
  // Owned windows that block nothing, so that no modal window decides.
  ShowOwned(first, &main, Placement::kCentreOnOwner, Qt::NonModal);
  ShowOwned(last, &main, Placement::kCentreOnOwner, Qt::NonModal);
  main.setEnabled(false);                // as a window that blocks it does
  QApplication::setActiveWindow(&main);  // a click on it activated it all the same
  MsgBox("Disabled main window active");

  QWidget modal;
  ShowOwned(modal, &last);  // application-modal
  main.setEnabled(true);
  QApplication::setActiveWindow(&main);
  MsgBox("Application-modal window in front");

  const QVector<ShownMessage>& shown = DialogScript::Messages();
  ASSERT_EQ(shown.size(), 2);
  EXPECT_EQ(shown[0].owner, &last);
  EXPECT_EQ(shown[1].owner, &modal);
}

TEST_F(Dialogs, MessageWithoutTitleShowsTheApplicationTitle) {
  EXPECT_EQ(MsgBox("Invalid Frequency"), MsgResult::OK);
  const QString prioMessage =
      "                       Error!  \r\n\r\nPrio. Scan Ch. No. not in active scan list   ";
  MsgBox(prioMessage, msgbox::OKOnly);
  MsgBox("Error! invalid data type     ", msgbox::Exclamation, "Open File");

  const QVector<ShownMessage>& shown = DialogScript::Messages();
  ASSERT_EQ(shown.size(), 3);
  EXPECT_EQ(shown[0].prompt, "Invalid Frequency");
  EXPECT_EQ(shown[0].title, "Corvana CPS");
  EXPECT_EQ(shown[1].prompt, prioMessage);  // blanks and line breaks exactly as given
  EXPECT_EQ(shown[2].title, "Open File");
  EXPECT_EQ(shown[2].buttons, msgbox::Exclamation);
}

TEST_F(Dialogs, ScriptedAnswersComeInOrderThenTheDefaultButton) {
  const int saveQuestion = msgbox::YesNoCancel | msgbox::DefaultButton3;
  DialogScript::AnswerNextMessage(MsgResult::Yes);
  DialogScript::AnswerNextMessage(MsgResult::No);
  EXPECT_EQ(MsgBox("Save Current Data to File ?", saveQuestion, "Save ?"), MsgResult::Yes);
  EXPECT_EQ(MsgBox("Save Current Data to File ?", saveQuestion, "Save ?"), MsgResult::No);
  EXPECT_EQ(MsgBox("Save Current Data to File ?", saveQuestion, "Save ?"), MsgResult::Cancel);
  ASSERT_EQ(DialogScript::Messages().size(), 3);
  EXPECT_EQ(DialogScript::Messages()[2].answer, MsgResult::Cancel);
  EXPECT_EQ(DialogScript::Messages()[2].title, "Save ?");

  EXPECT_EQ(DefaultAnswer(msgbox::YesNo), MsgResult::Yes);
  EXPECT_EQ(DefaultAnswer(msgbox::YesNo | msgbox::DefaultButton2), MsgResult::No);
  EXPECT_EQ(DefaultAnswer(msgbox::OKCancel | msgbox::Question), MsgResult::OK);
  EXPECT_EQ(DefaultAnswer(msgbox::RetryCancel | msgbox::DefaultButton2), MsgResult::Cancel);
  EXPECT_EQ(DefaultAnswer(msgbox::AbortRetryIgnore | msgbox::DefaultButton3), MsgResult::Ignore);
  // A default button the box does not have falls back to its first.
  EXPECT_EQ(DefaultAnswer(msgbox::YesNo | msgbox::DefaultButton3), MsgResult::Yes);
}

TEST_F(Dialogs, FileDialogsReturnTheChoiceOrCancel) {
  CommonDialog dialog;
  dialog.Filter = "Programmer data file (*.cpg)|*.cpg";
  dialog.DialogTitle = "Save";
  dialog.Flags = kDialogOverwritePrompt | kDialogHideReadOnly;
  dialog.FileName = "old.cpg";

  EXPECT_FALSE(dialog.ShowSave());  // nothing scripted: the user cancels
  EXPECT_EQ(dialog.FileName, "old.cpg");

  DialogScript::ChooseNextFile("/data/radio.cpg");
  DialogScript::CancelNextFileDialog();
  DialogScript::ChooseNextFile("");
  EXPECT_TRUE(dialog.ShowSave());
  EXPECT_EQ(dialog.FileName, "/data/radio.cpg");
  dialog.DialogTitle = "Open";
  dialog.Flags = kDialogFileMustExist | kDialogHideReadOnly;
  EXPECT_FALSE(dialog.ShowOpen());
  EXPECT_EQ(dialog.FileName, "/data/radio.cpg");
  EXPECT_TRUE(dialog.ShowOpen());  // OK with an empty name
  EXPECT_EQ(dialog.FileName, "");

  const QVector<ShownFileDialog>& shown = DialogScript::FileDialogs();
  ASSERT_EQ(shown.size(), 4);
  EXPECT_EQ(shown[0].kind, FileDialogKind::Save);
  EXPECT_EQ(shown[0].title, "Save");
  EXPECT_EQ(shown[0].fileName, "old.cpg");
  EXPECT_EQ(shown[1].flags, 6);
  EXPECT_EQ(shown[2].kind, FileDialogKind::Open);
  EXPECT_EQ(shown[2].flags, 4100);
  EXPECT_EQ(shown[3].filter, "Programmer data file (*.cpg)|*.cpg");
}

TEST_F(Dialogs, PrinterDialogBeepAndHelpAreRecorded) {
  CommonDialog printer;
  EXPECT_FALSE(printer.ShowPrinter());
  DialogScript::ChooseNextPrinter(3);
  EXPECT_TRUE(printer.ShowPrinter());
  EXPECT_EQ(printer.Copies, 3);
  DialogScript::CancelNextPrinterDialog();
  EXPECT_FALSE(printer.ShowPrinter());
  EXPECT_EQ(DialogScript::PrinterDialogs(), 3);

  Beep();
  Beep();
  EXPECT_EQ(DialogScript::Beeps(), 2);
  OpenHelpFile("/opt/cps/Help/HelpFile.chm");
  EXPECT_EQ(DialogScript::HelpRequests(), QStringList{"/opt/cps/Help/HelpFile.chm"});

  DialogScript::Reset();
  EXPECT_EQ(DialogScript::Beeps(), 0);
  EXPECT_TRUE(DialogScript::HelpRequests().isEmpty());
  EXPECT_TRUE(DialogScript::Messages().isEmpty());
}
