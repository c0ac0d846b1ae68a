#include "platform/Dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QQueue>
#include <QUrl>
#include <optional>

#include "platform/AppSettings.h"
#include "platform/WindowOwner.h"

namespace cps {
namespace {

// Everything the seam holds: the queued answers and the record of what was shown.
struct ScriptState {
  bool scripted = false;
  QQueue<MsgResult> messageAnswers;
  QQueue<std::optional<QString>> fileAnswers;  // nullopt: cancel
  QQueue<std::optional<int>> printerAnswers;   // nullopt: cancel
  QVector<ShownMessage> messages;
  QVector<ShownFileDialog> fileDialogs;
  int printerDialogs = 0;
  int beeps = 0;
  QStringList helpRequests;
  int helpOpeningsToFail = 0;  // the next help files no program opens
};

ScriptState& State() {
  static ScriptState state;
  return state;
}

// The buttons of each button set, in order, and the answer Esc gives (none: Esc does nothing).
struct ButtonSet {
  QVector<MsgResult> buttons;
  std::optional<MsgResult> escape;
};

ButtonSet ButtonsOf(int style) {
  switch (style & 0xF) {
    case msgbox::OKCancel:
      return {{MsgResult::OK, MsgResult::Cancel}, MsgResult::Cancel};
    case msgbox::AbortRetryIgnore:
      return {{MsgResult::Abort, MsgResult::Retry, MsgResult::Ignore}, std::nullopt};
    case msgbox::YesNoCancel:
      return {{MsgResult::Yes, MsgResult::No, MsgResult::Cancel}, MsgResult::Cancel};
    case msgbox::YesNo:
      return {{MsgResult::Yes, MsgResult::No}, std::nullopt};
    case msgbox::RetryCancel:
      return {{MsgResult::Retry, MsgResult::Cancel}, MsgResult::Cancel};
    default:
      return {{MsgResult::OK}, MsgResult::OK};
  }
}

QMessageBox::StandardButton StandardButtonOf(MsgResult result) {
  switch (result) {
    case MsgResult::OK:
      return QMessageBox::Ok;
    case MsgResult::Cancel:
      return QMessageBox::Cancel;
    case MsgResult::Abort:
      return QMessageBox::Abort;
    case MsgResult::Retry:
      return QMessageBox::Retry;
    case MsgResult::Ignore:
      return QMessageBox::Ignore;
    case MsgResult::Yes:
      return QMessageBox::Yes;
    case MsgResult::No:
      return QMessageBox::No;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(int style) {
  switch (style & 0x70) {
    case msgbox::Critical:
      return QMessageBox::Critical;
    case msgbox::Question:
      return QMessageBox::Question;
    case msgbox::Exclamation:
      return QMessageBox::Warning;
    case msgbox::Information:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

// Runs a dialog that belongs to its owner (its parent: Qt makes the owner its transient parent
// and centres it there). The owner may close while the dialog is open and take the dialog with
// it; false then, as if the dialog had been cancelled.
template <class Dialog>
bool ExecOwned(Dialog* dialog, int& result) {
  QPointer<Dialog> alive(dialog);
  result = dialog->exec();
  return !alive.isNull();
}

MsgResult ShowMessageBox(const QString& prompt, int style, const QString& title, QWidget* owner) {
  ButtonSet set = ButtonsOf(style);
  auto* box = new QMessageBox(IconOf(style), title, QString(prompt).replace("\r\n", "\n"),
                              QMessageBox::NoButton, owner);
  box->setTextFormat(Qt::PlainText);
  QVector<QAbstractButton*> buttons;
  for (MsgResult result : set.buttons) buttons.append(box->addButton(StandardButtonOf(result)));
  int defaultIndex = (style >> 8) & 0x3;
  if (defaultIndex < buttons.size()) {
    box->setDefaultButton(static_cast<QPushButton*>(buttons[defaultIndex]));
  }
  if (set.escape) box->setEscapeButton(box->button(StandardButtonOf(*set.escape)));
  int result = 0;
  if (!ExecOwned(box, result)) return set.escape.value_or(DefaultAnswer(style));
  int chosen = buttons.indexOf(box->clickedButton());
  delete box;
  if (chosen >= 0) return set.buttons[chosen];
  return set.escape.value_or(DefaultAnswer(style));
}

// "description|pattern|description|pattern" as Qt's "description (pattern);;..." filter.
QString QtFilter(const QString& filter) {
  QStringList parts = filter.split('|');
  QStringList qtFilters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    QString patterns = QString(parts[i + 1]).replace(';', ' ');
    if (!description.contains("(" + parts[i + 1] + ")")) description += " (" + patterns + ")";
    qtFilters.append(description);
  }
  return qtFilters.join(";;");
}

bool ShowFileDialog(CommonDialog& dialog, FileDialogKind kind) {
  WindowOpenings::Instance().Announce();
  QWidget* owner = CurrentOwner();
  if (DialogScript::Scripted()) {
    State().fileDialogs.append(
        {kind, dialog.DialogTitle, dialog.Filter, dialog.FileName, dialog.Flags, owner});
    if (State().fileAnswers.isEmpty()) return false;
    std::optional<QString> answer = State().fileAnswers.dequeue();
    if (!answer) return false;
    dialog.FileName = *answer;
    return true;
  }
  auto* box = new QFileDialog(owner, dialog.DialogTitle, dialog.FileName, QtFilter(dialog.Filter));
  if (kind == FileDialogKind::Save) {
    box->setAcceptMode(QFileDialog::AcceptSave);
    box->setFileMode(QFileDialog::AnyFile);
    if (!(dialog.Flags & kDialogOverwritePrompt)) box->setOption(QFileDialog::DontConfirmOverwrite);
  } else {
    box->setAcceptMode(QFileDialog::AcceptOpen);
    box->setFileMode((dialog.Flags & kDialogFileMustExist) ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
  }
  int result = 0;
  if (!ExecOwned(box, result)) return false;
  const QStringList chosen = box->selectedFiles();
  delete box;
  if (result != QDialog::Accepted || chosen.isEmpty()) return false;
  dialog.FileName = chosen.first();
  return true;
}

// False when the desktop found no program to open the file with.
bool OpenInViewer(const QString& path) {
  if (!DialogScript::Scripted()) return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
  if (State().helpOpeningsToFail == 0) return true;
  --State().helpOpeningsToFail;
  return false;
}

}  // namespace

MsgResult DefaultAnswer(int buttons) {
  ButtonSet set = ButtonsOf(buttons);
  int defaultIndex = (buttons >> 8) & 0x3;
  return defaultIndex < set.buttons.size() ? set.buttons[defaultIndex] : set.buttons.first();
}

MsgResult MsgBox(const QString& prompt, int buttons) {
  return MsgBox(prompt, buttons, QString::fromLatin1(kAppTitle));
}

MsgResult MsgBox(const QString& prompt, int buttons, const QString& title) {
  WindowOpenings::Instance().Announce();
  QWidget* owner = CurrentOwner();
  MsgResult answer;
  if (DialogScript::Scripted()) {
    answer = State().messageAnswers.isEmpty() ? DefaultAnswer(buttons)
                                              : State().messageAnswers.dequeue();
  } else {
    answer = ShowMessageBox(prompt, buttons, title, owner);
  }
  State().messages.append({prompt, buttons, title, answer, owner});
  return answer;
}

void Beep() {
  if (DialogScript::Scripted()) {
    ++State().beeps;
    return;
  }
  QApplication::beep();
}

bool CommonDialog::ShowOpen() { return ShowFileDialog(*this, FileDialogKind::Open); }

bool CommonDialog::ShowSave() { return ShowFileDialog(*this, FileDialogKind::Save); }

bool CommonDialog::ShowPrinter() {
  WindowOpenings::Instance().Announce();
  if (DialogScript::Scripted()) {
    ++State().printerDialogs;
    if (State().printerAnswers.isEmpty()) return false;
    std::optional<int> copies = State().printerAnswers.dequeue();
    if (!copies) return false;
    Copies = *copies;
    if (Printer != nullptr) Printer->setCopyCount(*copies);
    return true;
  }
  QPrinter fallback;
  QPrinter* printer = Printer != nullptr ? Printer : &fallback;
  printer->setCopyCount(Copies);
  int result = 0;
  auto* box = new QPrintDialog(printer, CurrentOwner());
  if (!ExecOwned(box, result)) return false;
  delete box;
  if (result != QDialog::Accepted) return false;
  Copies = printer->copyCount();
  return true;
}

void OpenHelpFile(const QString& path) {
  if (DialogScript::Scripted()) State().helpRequests.append(path);
  if (!QFileInfo::exists(path)) {
    MsgBox(QStringLiteral("The help file is missing. It was looked for here:\r\n") +
               QDir::toNativeSeparators(path),
           msgbox::Exclamation);
    return;
  }
  if (!OpenInViewer(path)) {
    MsgBox(
        QStringLiteral("No program could open the help file:\r\n") + QDir::toNativeSeparators(path),
        msgbox::Exclamation);
  }
}

void DialogScript::SetScripted(bool scripted) { State().scripted = scripted; }

bool DialogScript::Scripted() { return State().scripted; }

void DialogScript::Reset() {
  const bool scripted = State().scripted;
  State() = ScriptState{};
  State().scripted = scripted;
}

void DialogScript::AnswerNextMessage(MsgResult answer) { State().messageAnswers.enqueue(answer); }
void DialogScript::ChooseNextFile(const QString& path) { State().fileAnswers.enqueue(path); }
void DialogScript::CancelNextFileDialog() { State().fileAnswers.enqueue(std::nullopt); }
void DialogScript::ChooseNextPrinter(int copies) { State().printerAnswers.enqueue(copies); }
void DialogScript::CancelNextPrinterDialog() { State().printerAnswers.enqueue(std::nullopt); }
void DialogScript::FailNextHelpOpening() { ++State().helpOpeningsToFail; }

const QVector<ShownMessage>& DialogScript::Messages() { return State().messages; }
const QVector<ShownFileDialog>& DialogScript::FileDialogs() { return State().fileDialogs; }
int DialogScript::PrinterDialogs() { return State().printerDialogs; }
int DialogScript::Beeps() { return State().beeps; }
const QStringList& DialogScript::HelpRequests() { return State().helpRequests; }

}  // namespace cps
