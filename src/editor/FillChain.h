// The fill chain: the routines that set the editor window frmMain's controls from the codeplug
// image, and the fixed order in which each road into the editor runs them. The image is the
// record; these routines only show it. Assigning a control's value runs that control's own
// change handler at once, nested, and several steps rely on the bytes those handlers store.
#pragma once

#include "editor/EditorLock.h"  // EnableScanListButtons, which the load roads' callers also use

// --- Band, channel count and priority channel -------------------------------------------------

// Band limits, IsUhfBand and IfOffsetMHz from byte 4 (codes 5..15 keep them), image byte 2 and
// the maximum of udPrioScanChNo from the region's channel count. ChannelCountVar is not changed.
void SetupBandLimits();
// ChannelCountVar and byte 2 from the region code; a priority channel beyond the count goes back
// to 1 (spinner, box and byte 14); the grid's rows, row heights and height follow the count.
void SetupChannelCount();
// The same at edit time without the priority check; channels beyond the count are emptied and
// the grid is filled again.
void ResizeChannelGrid();
// udPrioScanChNo shows byte 14. A stored channel of 0 or beyond the spinner's maximum shows 1
// and stores 1 instead of stopping the load.
void ShowPriorityChannel();

// --- Identity ---------------------------------------------------------------------------------

void ShowSerialNumber();     // txtSerial, editable only while blank
void ShowKitNumber();        // txtSuper, editable only while empty; sets the region code (237)
void ShowCodeplugVersion();  // lblCodeplug; may rewrite byte 349 from the variant letter
void ShowFirmwareVersion();  // lblVersion
void ShowModelNumber();      // lblModel

// The six user tone boxes from the stored tone words; a zero word keeps its box's text and gets
// its side's default counts written into the image.
void ShowUserTones();

// --- The display routines of the radio-wide settings ------------------------------------------

// txtPrioScanChNo from udPrioScanChNo; lblfrequency_range from the band (and region 18).
void ShowFrequencyRange();
// Selects the stored short-press codes (bytes 240, 242) in cmbButton_S1 and cmbButton_S2, whose
// handlers rebuild the long-press lists; then shows tab 1. A code with no entry in the list
// leaves that list without a selection. Callers hold ButtonListFilling True around it.
void ShowButtonAssignments();
// Empties LstScan and LstChannel and puts "001".."016" ("001".."008" on the 8-channel radios)
// into LstChannel.
void FillChannelLists();
// Distributes the radio's channels between LstScan (scan slot non-zero) and LstChannel. Runs
// after FillChannelLists.
void ShowScanList();
// The six option check boxes and their dependent controls from byte 5.
void ShowOptionFlags();
// The five timer spin controls from bytes 6..10. A byte that cannot be shown reports "Time
// Option value is Invalid", writes the default timer bytes and shows those.
void ShowTimerValues();
// The five timer text boxes from their spin controls; their change handlers store the bytes.
void SyncTimerTextBoxes();

// --- Helpers the load roads share with their callers ------------------------------------------

// Clears the two short-press lists and fills them with the functions the radio offers ("Hi/Low
// Power" only when byte 396 is 0 or 255).
void RefillShortPressLists();
// The button defaults through the four programmable-button lists (their handlers store the
// codes), then channel 1 alone in the scan list with the band's preset frequencies.
void SetDefaultButtonsAndChannel();

// --- The roads into the editor ----------------------------------------------------------------

// How a load left the editor.
enum class LoadOutcome {
  Editable,          // unlocked: the caller finishes its load
  PasswordRequired,  // locked and greyed: the caller disables Write and the main window and
                     // opens the codeplug password prompt
};

// Editor Load: builds a new codeplug (empty channels, header, default timers) and shows it.
void FillNewCodeplugChain();

// File>Open, the start-up open and the template load, after the caller has set CodeplugLoading,
// filled the image and refilled the short-press lists (RefillShortPressLists): shows the image,
// repairs channel data the grid cannot show ("Channel data is not valid..."), and colours and
// unlocks the editor, or greys and locks it when the image carries a password.
LoadOutcome FillLoadedImageChain();

// Radio read, after the received image has been copied into the codeplug image: the same with
// the read's own order. Sets CodeplugLoading True; the caller clears it when it finishes.
LoadOutcome FillRadioReadChain();

// File>Default as a whole: tab 0, the password, firmware and serial boxes emptied, the factory
// options, timers and user tones, empty channels with the band's default channel 1, the lists,
// the grid and its colours.
void FillDefaultChain();

// The codeplug password was accepted: the editor unlocked and the grid coloured as editable.
void FillPasswordAcceptedChain();
