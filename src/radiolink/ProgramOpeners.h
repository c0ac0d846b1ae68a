// The transfer openers behind Device>Read and Device>Write (menu and toolbar): each prepares the
// programming window frmProgram for its mode and shows it; the transfer starts from the window's
// own button. Both do nothing while the serial port is closed.
#pragma once

// Read mode: the numbered read instructions, the green LED and the Read button. Refuses while the
// tone/code dialog is open.
void ShowReadInstructions();

// Write mode, after checking the edited codeplug: a priority channel outside the scan list or a
// user tone below 67.0 Hz is reported and nothing opens. Refuses while the tone/code dialog is
// open.
void CheckAndShowWriteInstructions();
