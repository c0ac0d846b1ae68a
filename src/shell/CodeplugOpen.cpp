#include "shell/CodeplugOpen.h"

#include <QAction>
#include <QFileInfo>
#include <algorithm>

#include "editor/FillChain.h"
#include "editor/frmMain.h"
#include "model/ModuleState.h"
#include "platform/Dialogs.h"
#include "platform/TextBox.h"
#include "shell/CodeplugFile.h"
#include "shell/MDIFormMain.h"
#include "shell/frmProtection.h"

namespace {

constexpr int kWriteButton = 4;
const char kCodeplugExtension[] = ".cpg";

void ReportUnreadableFile(const CodeplugFileResult& read) {
  if (read.status == CodeplugFileStatus::kInvalidHeader) cps::Beep();
  cps::MsgBox(read.message, cps::msgbox::Exclamation, QLatin1String(kOpenFileTitle));
}

// The codeplug stays locked until its password is given: Write is off meanwhile.
void AskForPassword() {
  if (IsMDIFormMainLoaded()) {
    MdiFormMain& main = MDIFormMain();
    main.mnuWrite->setEnabled(false);
    main.tbToolBarButton(kWriteButton)->setEnabled(false);
  }
  ShowCodeplugPasswordPrompt();
}

}  // namespace

bool LoadCodeplugFile(const QString& path) {
  CodeplugLoading = true;
  // The reader changes the image only once the whole file has been read.
  const CodeplugFileResult read = CopyToBox(path);
  if (!read.ok()) {
    CodeplugLoading = false;
    ReportUnreadableFile(read);
    return false;
  }

  FrmMain& editor = frmMain();
  // Emptied only now: a refused file must not cost the password typed for the codeplug shown.
  editor.txtPassword->SetText(QString());
  RefillShortPressLists();
  const LoadOutcome outcome = FillLoadedImageChain();
  CodeplugLocked = outcome == LoadOutcome::PasswordRequired;
  if (outcome == LoadOutcome::PasswordRequired) AskForPassword();
  editor.txtSerial->SetEnabled(false);
  CodeplugLoading = false;
  return true;
}

QString CommandLineCodeplugPath(const QString& commandLine) {
  QString given = commandLine;
  const QChar quote = QLatin1Char('"');
  if (given.size() >= 2 && given.startsWith(quote) && given.endsWith(quote)) {
    given = given.mid(1, given.size() - 2);
  }
  const QString withExtension =
      given.left(std::max<qsizetype>(given.size() - 4, 0)) + QLatin1String(kCodeplugExtension);
  if (!QFileInfo::exists(withExtension) && QFileInfo::exists(given)) return given;
  return withExtension;
}
