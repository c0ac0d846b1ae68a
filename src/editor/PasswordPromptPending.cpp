// Stands in for the codeplug password prompt until the shell's prompt window exists: the loaded
// codeplug simply stays locked (editor disabled, Write off) and nothing asks for the password.
// Delete this file when the shell defines ShowCodeplugPasswordPrompt.
#include "editor/frmMain.h"

void ShowCodeplugPasswordPrompt() {}
