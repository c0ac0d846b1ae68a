// Where the main window hands over to the radio link: opening the serial port on the chosen
// COM item, and the read and write openers (MdiFormMain::ShowReadInstructions and
// MdiFormMain::CheckAndShowWriteInstructions). The serial control itself comes with the radio
// link; until it does, the port is chosen but not opened and the openers start nothing.
#pragma once

// The port number the COM menu names: n for the first checked item among Com1..Com7, else 8.
int SelectedCommPort();

// Closes the serial port if it is open and opens it on SelectedCommPort() at 1200 baud, no
// parity, 8 data bits, 2 stop bits. Reports nothing.
void OpenCommPort();
