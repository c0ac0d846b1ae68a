// The four programmable-button lists of the editor (cmbButton_S1/L1, cmbButton_S2/L2) as the
// rest of the program reaches them: where a stored function sits in a list, and the button
// defaults. A list's positions follow its actual entries: one that starts with "Hi/Low Power"
// counts from code 1, one without it from code 2, whatever image byte 396 holds.
#pragma once

namespace cps {
class ComboBox;
}

// True when the list's first entry is "Hi/Low Power".
bool ListOffersHiLowPower(const cps::ComboBox& list);

// The position of a stored short-press code in a short-press list; -1 when the list has no
// entry for it.
int ShortPressPosition(const cps::ComboBox& list, int code);

// The short-press code a short-press list position stands for; 0 for no position.
int ShortPressCodeAt(const cps::ComboBox& list, int position);

// The button defaults of MDIFormMain.SetDefaultButtonsAndChannel: button 1 "Monitor" with
// "Sticky Monitor", button 2 "Scan" with "Nuisance Channel Delete", chosen through the four lists
// (the short presses first, whose handlers rebuild the long-press lists), whose handlers store
// the codes into bytes 240..243. The lists must have been filled for the codeplug.
void SetDefaultButtons();
