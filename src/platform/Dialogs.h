// Message boxes, the file and printer dialogs, the beep and the help viewer, all through one
// seam: DialogScript. While the script is on, nothing modal is ever shown: every dialog is
// answered from a queue that a test fills beforehand (or with its default answer when the
// queue is empty) and recorded, so a test can see what the user would have seen.
// The script is off unless a test (or a benchmark) switches it on: the program always asks the
// user, however and wherever it runs. Every test program switches it on before its first test,
// so no test can block in a modal loop.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>

class QPrinter;
class QWidget;

namespace cps {

// Buttons, icon and default button of a message box, added together.
namespace msgbox {
constexpr int OKOnly = 0;
constexpr int OKCancel = 1;
constexpr int AbortRetryIgnore = 2;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;
constexpr int RetryCancel = 5;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int DefaultButton1 = 0;
constexpr int DefaultButton2 = 256;
constexpr int DefaultButton3 = 512;
}  // namespace msgbox

// The button that closed a message box.
enum class MsgResult { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// Shows prompt with the buttons, icon and default button of `buttons`, titled `title` (the
// application title "Corvana CPS" when no title is given), and returns the button chosen. The
// text is shown exactly, blanks included; CR LF breaks a line. Esc answers Cancel where there
// is a Cancel button, OK in an OK-only box. The box, like the file and printer dialogs, belongs
// to the window in front (CurrentOwner, WindowOwner.h) and opens over it.
MsgResult MsgBox(const QString& prompt, int buttons = msgbox::OKOnly);
MsgResult MsgBox(const QString& prompt, int buttons, const QString& title);

// The answer a box gives when the user just presses Enter: its default button.
MsgResult DefaultAnswer(int buttons);

// The system's warning sound.
void Beep();

// Flags of the file dialogs.
constexpr int kDialogOverwritePrompt = 0x2;   // save: confirm replacing an existing file
constexpr int kDialogHideReadOnly = 0x4;      // no read-only check box (ours never has one)
constexpr int kDialogFileMustExist = 0x1000;  // open: only an existing file can be chosen

// The open, save and printer dialogs. Set the fields, call Show...; true when the user chose
// (FileName or Copies then hold the choice), false when the user cancelled.
struct CommonDialog {
  QString DialogTitle;
  QString
      Filter;  // "description|pattern" pairs joined by "|": "Programmer data file (*.cpg)|*.cpg"
  QString FileName;  // the name shown first; the chosen path afterwards
  int Flags = 0;
  int Copies = 1;               // the printer dialog's number of copies
  QPrinter* Printer = nullptr;  // the printer the printer dialog sets up, when there is one

  bool ShowOpen();
  bool ShowSave();
  bool ShowPrinter();
};

// Opens a help file in the desktop's viewer for its type. A missing file, or one the desktop
// finds no program for, is reported in a message box that names the path.
void OpenHelpFile(const QString& path);

// What a scripted run recorded. owner is the window the dialog would have belonged to (see
// CurrentOwner); it reads nullptr once that window is gone.
struct ShownMessage {
  QString prompt;
  int buttons = 0;
  QString title;
  MsgResult answer = MsgResult::OK;
  QPointer<QWidget> owner;
};
enum class FileDialogKind { Open, Save };
struct ShownFileDialog {
  FileDialogKind kind = FileDialogKind::Open;
  QString title;
  QString filter;
  QString fileName;  // the name the dialog was opened with
  int flags = 0;
  QPointer<QWidget> owner;
};

// The test seam of every dialog above.
class DialogScript {
 public:
  // Switches the script on (true) or off (false); Reset leaves it as it is.
  static void SetScripted(bool scripted);
  static bool Scripted();

  // Empties every queue and every record.
  static void Reset();

  // Answers for the next dialogs, used in order. Without one a message box gives its default
  // answer and a file or printer dialog is cancelled.
  static void AnswerNextMessage(MsgResult answer);
  static void ChooseNextFile(const QString& path);  // may be "" (OK with no name)
  static void CancelNextFileDialog();
  static void ChooseNextPrinter(int copies);
  static void CancelNextPrinterDialog();
  // The next help file that exists is found to have no program to open it (else it opens).
  static void FailNextHelpOpening();

  static const QVector<ShownMessage>& Messages();
  static const QVector<ShownFileDialog>& FileDialogs();
  static int PrinterDialogs();
  static int Beeps();
  static const QStringList& HelpRequests();  // the paths OpenHelpFile was asked to open
};

}  // namespace cps
