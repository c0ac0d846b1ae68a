// The start-up window. Nothing happens until the user presses OK; OK carries out the start-up
// order: the main window (with the editor inside it), the .cpg association, and the codeplug
// file named on the command line.
#pragma once

#include <QString>
#include <QWidget>

class QLabel;

namespace cps {
class CommandButton;
class Label;
}  // namespace cps

class FrmSpla : public QWidget {
  Q_OBJECT

 public:
  FrmSpla();
  ~FrmSpla() override;

  void cmdPassOk_Click();

  QLabel* imgLogo;
  cps::Label* lblSeries;
  cps::Label* lblProduct;  // "Customer Programming Software"
  cps::Label* lblVersion;  // "Version :           V07.31"
  cps::Label* lblDate;
  cps::CommandButton* cmdPassOk;  // "OK"
};

// The one splash window, created on first use.
FrmSpla& frmSpla();
bool IsFrmSplaLoaded();
// Closes the splash (it is deleted once control returns to the event loop).
void UnloadFrmSpla();
void DestroyFrmSplaForTests();

// The command line the program was started with, kept for the start-up open.
void SetStartupCommandLine(const QString& commandLine);
QString StartupCommandLine();

// Registers the .cpg association, but only when the marker file "V07.31" stands in the program
// folder; silent in every case.
void RegisterCodeplugAssociation();

// Opens the codeplug file that the command line names (CommandLineCodeplugPath), as File>Open
// does but without the save question and the focus moves; DataModified ends False. An empty
// command line opens nothing.
void OpenCommandLineFile(const QString& commandLine);
