// The hand-over points as they stand before the radio link exists: the port number is chosen
// from the menu, nothing is opened, and Read and Write start no transfer.
#include "shell/RadioLinkEntry.h"

#include <QAction>

#include "shell/MDIFormMain.h"

int SelectedCommPort() {
  for (int n = 1; n <= 7; ++n) {
    if (MDIFormMain().mnuPortCom(n)->isChecked()) return n;
  }
  return 8;
}

void OpenCommPort() { SelectedCommPort(); }

void MdiFormMain::ShowReadInstructions() {}

void MdiFormMain::CheckAndShowWriteInstructions() {}
