// The programmable-button lists: a short-press choice rebuilds the long-press list it allows,
// and every choice is stored at once as a function code in bytes 240..243.
#include "editor/ProgrammableButtons.h"

#include <vector>

#include "editor/ButtonFunctions.h"
#include "editor/frmMain.h"
#include "model/CodeplugLayout.h"
#include "model/Defaults.h"
#include "model/ModuleState.h"
#include "platform/ComboBox.h"

namespace {

// One button's two lists, its two bytes and its short-press index.
struct Button {
  cps::ComboBox* shortList;
  cps::ComboBox* longList;
  int shortByte;
  int longByte;
  int& shortPressIndex;
};

Button ButtonOne(FrmMain& f) {
  return {f.cmbButton_S1, f.cmbButton_L1, layout::kButton1Short, layout::kButton1Long,
          ShortPressIndex1};
}

Button ButtonTwo(FrmMain& f) {
  return {f.cmbButton_S2, f.cmbButton_L2, layout::kButton2Short, layout::kButton2Long,
          ShortPressIndex2};
}

bool IsShortPressCode(int code) {
  return code >= buttons::kHiLowPower && code <= buttons::kLastShortPress;
}

// The codes of a long-press list's entries, read from what the list actually offers.
std::vector<int> LongPressListCodes(const cps::ComboBox& list, int shortPressCode) {
  return buttons::LongPressCodes(shortPressCode, ListOffersHiLowPower(list));
}

int PositionOf(const std::vector<int>& codes, int code) {
  for (int i = 0; i < static_cast<int>(codes.size()); ++i) {
    if (codes[i] == code) return i;
  }
  return -1;
}

// Fills the long-press list with what the short-press code allows and selects the stored
// long-press code while loading (nothing when the list lacks it; the byte keeps its value), else
// "Unassigned". The selection raises the long-press Click, which stores its code.
void RebuildLongPressList(const Button& b, int shortPressCode) {
  const bool offerHiLowPower = buttons::OffersHiLowPower(CodeplugImage[layout::kFixedPowerCode]);
  const std::vector<int> codes = buttons::LongPressCodes(shortPressCode, offerHiLowPower);
  b.longList->Clear();
  for (int code : codes) b.longList->AddItem(buttons::FunctionText(code));
  const int wanted = CodeplugLoading ? CodeplugImage[b.longByte] : buttons::kUnassigned;
  b.longList->SetListIndex(PositionOf(codes, wanted));
}

void ShortPressClick(const Button& b) {
  const int code = ShortPressCodeAt(*b.shortList, b.shortList->ListIndex());
  b.shortPressIndex = code - 1;
  if (code == 0) {
    // No function chosen: nothing to store, and no long press belongs to it.
    b.longList->SetListIndex(-1);
    return;
  }
  // Both buttons: a changed short press is a change of the codeplug, whatever the long press
  // then stores.
  if (code != CodeplugImage[b.shortByte]) DataModified = true;
  RebuildLongPressList(b, code);
  if (!ButtonListFilling) CodeplugImage[b.shortByte] = static_cast<uint8_t>(code);
}

void LongPressClick(const Button& b) {
  const int shortPressCode = b.shortPressIndex + 1;
  if (!IsShortPressCode(shortPressCode) || b.longList->ListIndex() < 0) return;
  const std::vector<int> codes = LongPressListCodes(*b.longList, shortPressCode);
  const int position = b.longList->ListIndex();
  if (position >= static_cast<int>(codes.size())) return;
  const int code = codes[position];
  // Also the single "Unassigned" of "Volume Set" and "Sticky Monitor": replacing a stored code
  // those do not allow is a change of the codeplug.
  if (code != CodeplugImage[b.longByte]) DataModified = true;
  CodeplugImage[b.longByte] = static_cast<uint8_t>(code);
}

}  // namespace

// --- Positions and codes -------------------------------------------------------------------------

bool ListOffersHiLowPower(const cps::ComboBox& list) {
  return list.ListCount() > 0 && list.List(0) == buttons::FunctionText(buttons::kHiLowPower);
}

int ShortPressPosition(const cps::ComboBox& list, int code) {
  const int firstCode = ListOffersHiLowPower(list) ? buttons::kHiLowPower : buttons::kVolumeSet;
  const int position = code - firstCode;
  return position >= 0 && position < list.ListCount() ? position : -1;
}

int ShortPressCodeAt(const cps::ComboBox& list, int position) {
  if (position < 0 || position >= list.ListCount()) return 0;
  const int firstCode = ListOffersHiLowPower(list) ? buttons::kHiLowPower : buttons::kVolumeSet;
  return position + firstCode;
}

void SetDefaultButtons() {
  FrmMain& f = frmMain();
  // The default positions differ only by whether the lists start with "Hi/Low Power".
  constexpr uint8_t kPowerNotFixed = 0;
  constexpr uint8_t kPowerFixed = 16;
  const ButtonPositions positions =
      DefaultButtonPositions(ListOffersHiLowPower(*f.cmbButton_S1) ? kPowerNotFixed : kPowerFixed);
  // From no selection, so that each short-press handler runs and stores even where its list
  // already shows the default.
  f.cmbButton_S1->SetListIndex(-1);
  f.cmbButton_S1->SetListIndex(positions.s1);
  f.cmbButton_S2->SetListIndex(-1);
  f.cmbButton_S2->SetListIndex(positions.s2);
  f.cmbButton_L1->SetListIndex(positions.l1);
  f.cmbButton_L2->SetListIndex(positions.l2);
}

// --- Handlers ------------------------------------------------------------------------------------

void FrmMain::ConnectButtonHandlers() {
  connect(cmbButton_S1, &cps::ComboBox::Click, this, &FrmMain::cmbButton_S1_Click);
  connect(cmbButton_S2, &cps::ComboBox::Click, this, &FrmMain::cmbButton_S2_Click);
  connect(cmbButton_L1, &cps::ComboBox::Click, this, &FrmMain::cmbButton_L1_Click);
  connect(cmbButton_L2, &cps::ComboBox::Click, this, &FrmMain::cmbButton_L2_Click);
}

void FrmMain::cmbButton_S1_Click() { ShortPressClick(ButtonOne(*this)); }
void FrmMain::cmbButton_S2_Click() { ShortPressClick(ButtonTwo(*this)); }
void FrmMain::cmbButton_L1_Click() { LongPressClick(ButtonOne(*this)); }
void FrmMain::cmbButton_L2_Click() { LongPressClick(ButtonTwo(*this)); }
