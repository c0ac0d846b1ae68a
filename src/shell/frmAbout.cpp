#include "shell/frmAbout.h"

#include <QCloseEvent>
#include <QStringList>
#include <QVBoxLayout>

#include "platform/AppSettings.h"
#include "platform/CommandButton.h"
#include "platform/FormInstance.h"
#include "platform/KeyCodes.h"
#include "platform/Label.h"
#include "shell/CorvanaArt.h"
#include "shell/MDIFormMain.h"

namespace {
cps::FormInstance<FrmAbout> g_about;
}

QString AboutWarningText() {
  const QStringList lines = {
      QStringLiteral(" Notice: this software and its documentation are protected by copyright"),
      QStringLiteral("  law and by international agreements."),
      QString(),
      QStringLiteral("  Copying, lending or passing on this program, in whole or in part,"),
      QStringLiteral("  without the written consent of the maker is not permitted and may"),
      QStringLiteral("  lead to claims for damages and to criminal charges."),
  };
  return lines.join(QStringLiteral("\r\n"));
}

FrmAbout::FrmAbout() : QWidget(nullptr, Qt::Dialog) {
  setWindowTitle(QLatin1String(cps::kAppTitle));
  setWindowIcon(CorvanaWindowIcon());
  lblRegion = new cps::Label(QStringLiteral("Region : Asia Pacific"), this);
  lblProduct = new cps::Label(QStringLiteral("Corvana Customer Programming Software"), this);
  lblVersion = new cps::Label(QStringLiteral("Version : ") + QLatin1String(kVersionText), this);
  lblDate = new cps::Label(QLatin1String(kReleaseDateText), this);
  Label1 = new cps::Label(this);
  Command1 = new cps::CommandButton(QStringLiteral("OK"), this);

  QFont bold = lblProduct->font();
  bold.setBold(true);
  lblProduct->setFont(bold);
  Label1->setWordWrap(false);

  auto* layout = new QVBoxLayout(this);
  for (QWidget* w : {static_cast<QWidget*>(lblProduct), static_cast<QWidget*>(lblRegion),
                     static_cast<QWidget*>(lblVersion), static_cast<QWidget*>(lblDate)}) {
    layout->addWidget(w);
  }
  layout->addSpacing(12);
  layout->addWidget(Label1);
  layout->addSpacing(12);
  layout->addWidget(Command1, 0, Qt::AlignRight);

  connect(Command1, &cps::CommandButton::Click, this, &FrmAbout::Command1_Click);
  connect(Command1, &cps::CommandButton::KeyDown, this, &FrmAbout::Command1_KeyDown);
}

FrmAbout::~FrmAbout() = default;

void FrmAbout::Form_Load() {
  Label1->SetCaption(AboutWarningText());
  Command1->setDefault(true);
  Command1->SetFocus();
}

void FrmAbout::Form_Unload() {
  if (IsMDIFormMainLoaded()) MDIFormMain().setEnabled(true);
}

void FrmAbout::Command1_Click() { UnloadFrmAbout(); }

void FrmAbout::Command1_KeyDown(int& keyCode, int /*shift*/) {
  if (keyCode == cps::kKeyEscape) UnloadFrmAbout();
}

void FrmAbout::closeEvent(QCloseEvent* event) {
  if (g_about.Holds(this)) UnloadFrmAbout();
  event->accept();
}

FrmAbout& frmAbout() {
  return g_about.Get([](FrmAbout& about) { about.Form_Load(); });
}

bool IsFrmAboutLoaded() { return g_about.IsLoaded(); }

void UnloadFrmAbout() { g_about.Unload(); }

void DestroyFrmAboutForTests() { g_about.Destroy(); }
