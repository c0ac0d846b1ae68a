// Where the main window hands over to the radio link: opening the serial port on the chosen
// COM item, and the read and write openers (MdiFormMain::ShowReadInstructions and
// MdiFormMain::CheckAndShowWriteInstructions), defined with the radio link in src/radiolink/.
#pragma once

// The port number the COM menu names: n for the first checked item among Com1..Com7, else 8.
int SelectedCommPort();

// Closes the serial port if it is open and opens it on SelectedCommPort() at 1200 baud, no
// parity, 8 data bits, 2 stop bits. A port that cannot be opened is reported with "Comm. Port
// Unavailable !" and left closed.
void OpenCommPort();
