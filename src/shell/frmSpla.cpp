#include "shell/frmSpla.h"

#include <QAction>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "editor/frmMain.h"
#include "model/ModuleState.h"
#include "platform/AppSettings.h"
#include "platform/CommandButton.h"
#include "platform/Dialogs.h"
#include "platform/FormInstance.h"
#include "platform/Label.h"
#include "shell/CodeplugOpen.h"
#include "shell/CorvanaArt.h"
#include "shell/FileAss.h"
#include "shell/MDIFormMain.h"
#include "shell/frmAbout.h"

namespace {
cps::FormInstance<FrmSpla> g_splash;
constexpr int kSaveButton = 2;  // the main window's toolbar button

QString& CommandLineStore() {
  static QString commandLine;
  return commandLine;
}
}  // namespace

FrmSpla::FrmSpla() : QWidget(nullptr) {
  setWindowTitle(QLatin1String(cps::kAppTitle));
  setWindowIcon(CorvanaWindowIcon());
  imgLogo = new QLabel(this);
  imgLogo->setPixmap(DrawCorvanaLogo(300, 64));
  lblSeries = new cps::Label(QStringLiteral("Corvana CR Series Portable Radios"), this);
  lblProduct = new cps::Label(QStringLiteral("Customer Programming Software"), this);
  lblVersion =
      new cps::Label(QStringLiteral("Version :           ") + QLatin1String(kVersionText), this);
  lblDate = new cps::Label(QLatin1String(kReleaseDateText), this);
  cmdPassOk = new cps::CommandButton(QStringLiteral("OK"), this);
  cmdPassOk->setDefault(true);

  QFont large = lblSeries->font();
  large.setBold(true);
  large.setPointSizeF(large.pointSizeF() * 1.3);
  lblSeries->setFont(large);
  lblProduct->setFont(large);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(imgLogo, 0, Qt::AlignHCenter);
  layout->addSpacing(10);
  layout->addWidget(lblSeries, 0, Qt::AlignHCenter);
  layout->addWidget(lblProduct, 0, Qt::AlignHCenter);
  layout->addSpacing(10);
  layout->addWidget(lblVersion, 0, Qt::AlignHCenter);
  layout->addWidget(lblDate, 0, Qt::AlignHCenter);
  layout->addSpacing(10);
  layout->addWidget(cmdPassOk, 0, Qt::AlignHCenter);

  connect(cmdPassOk, &cps::CommandButton::Click, this, &FrmSpla::cmdPassOk_Click);
}

FrmSpla::~FrmSpla() = default;

void FrmSpla::cmdPassOk_Click() {
  UnloadFrmSpla();
  // Creating the main window runs its Load, which creates the editor and opens the port.
  MdiFormMain& main = MDIFormMain();
  main.show();
  FrmMain& editor = frmMain();
  editor.setEnabled(true);  // the window as a whole; its controls stay disabled
  editor.show();            // the editor stays on screen, disabled, until a codeplug is loaded
  RegisterCodeplugAssociation();
  OpenCommandLineFile(StartupCommandLine());
}

FrmSpla& frmSpla() { return g_splash.Get(); }

bool IsFrmSplaLoaded() { return g_splash.IsLoaded(); }

void UnloadFrmSpla() {
  FrmSpla* splash = g_splash.Release();
  if (!splash) return;
  // Deferred: the unload comes from the splash's own OK button.
  splash->hide();
  splash->deleteLater();
}

void DestroyFrmSplaForTests() { g_splash.Destroy(); }

void SetStartupCommandLine(const QString& commandLine) { CommandLineStore() = commandLine; }

QString StartupCommandLine() { return CommandLineStore(); }

void RegisterCodeplugAssociation() {
  const QString folder = cps::ProgramFolder();
  QString extension = QStringLiteral(".cpg");
  QString verb = QStringLiteral("Open");
  QString params;
  const QString appPath = folder + QLatin1Char('/') + QLatin1String(kVersionText);
  const QString iconPath = folder + QLatin1Char('/') + QLatin1String(kIconFileName);

  DesktopAssociationRegistry registry(DesktopAssociationRegistry::DefaultDataHome(),
                                      QCoreApplication::applicationFilePath());
  const AssociationMessage message = [](const QString& text, int buttons, const QString& title) {
    cps::MsgBox(text, buttons, title);
  };
  if (CreateFileAssociation(registry, message, extension, QStringLiteral("Text File"),
                            QStringLiteral("Corvana CPS File"), verb, appPath, params,
                            /*setIcon=*/true, iconPath, /*showErrors=*/false)) {
    registry.Apply(extension);
  }
}

void OpenCommandLineFile(const QString& commandLine) {
  if (commandLine.isEmpty()) return;
  const QString path = CommandLineCodeplugPath(commandLine);
  MdiFormMain& main = MDIFormMain();
  main.mnuFileSave->setEnabled(true);
  main.tbToolBarButton(kSaveButton)->setEnabled(true);
  // A file that cannot be read has been reported; the program goes on with the editor as it was.
  if (!LoadCodeplugFile(path)) return;
  DataModified = false;
}
