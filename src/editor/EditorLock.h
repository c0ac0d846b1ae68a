// The editor lock: a codeplug that carries a password is shown but cannot be edited until the
// password is given. These routines switch the editor's controls and colour the channel grid;
// the fill chains decide when each runs, the password prompt unlocks.
#pragma once

// Disables every editing control of frmMain (txtPassword and txtSerial included), then greys
// the grid's default text colour and disables the grid. Touches no menu and not txtSuper.
void DisableEditor();

// Enables the editing controls again, each as far as its option allows (the scan modes exclude
// each other; dependent fields only when their option is checked), the scan-list buttons by
// their lists, the main window's Save, Print Preview, Print, Default and Write commands with
// toolbar buttons 2, 4, 6 and 7, and the grid with its normal text colour. Leaves txtSerial
// alone; txtSuper becomes editable only while it is empty.
void EnableEditor();

// CmdAdd and CmdRemove on, with the first entry of their list selected, while that list has
// entries; off when it is empty. EnableEditor ends with it; the unlocked load roads and
// File>Default run it again after their colouring.
void EnableScanListButtons();

// Colours the dependent cells of rows 1 to image byte 2 for the unlocked editor: a cell whose
// setting does not apply to that channel is grey, the others normal. Afterwards the current cell
// is the last row's column 7. A row the grid cannot hold sets ChannelDataInvalid and ends it.
void ColourChannelGridActive();

// Greys the dependent cells of rows 1 to image byte 2 (the other cells grey through the default
// colour DisableEditor sets). Afterwards the current cell is the last row's column 12.
void ColourChannelGridLocked();

// Before a file save or a radio write: the password typed in txtPassword into bytes 370..377
// with its length in 236 and 379, the rest of 370..378 zero. Nothing while CodeplugLocked is
// True, so a locked codeplug keeps its stored password.
void CopyPasswordToImage();
