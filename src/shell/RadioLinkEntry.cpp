// The port number the Com menu names. OpenCommPort and the transfer openers are the radio
// link's own (src/radiolink/).
#include "shell/RadioLinkEntry.h"

#include <QAction>

#include "shell/MDIFormMain.h"

int SelectedCommPort() {
  for (int n = 1; n <= 7; ++n) {
    if (MDIFormMain().mnuPortCom(n)->isChecked()) return n;
  }
  return 8;
}
