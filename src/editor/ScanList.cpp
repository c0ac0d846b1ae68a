// The scan list: LstChannel holds the channels outside it, LstScan those in it. Moving a channel
// writes its slot (bytes 220..235) and its bit of the bitmap (bytes 244/245) together.
#include "editor/frmMain.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/CheckBox.h"
#include "platform/CommandButton.h"
#include "platform/Dialogs.h"
#include "platform/FlexGrid.h"
#include "platform/KeyCodes.h"
#include "platform/ListBox.h"
#include "platform/TextConv.h"

namespace {

constexpr int kRxFreqColumn = 1;
constexpr int kTxFreqColumn = 5;

int ChannelOf(const QString& entry) {
  return static_cast<int>(cps::RoundHalfEven(cps::NumericPrefix(entry)));
}

// Only a real channel number touches the image: an entry shown from a damaged slot byte must
// not write outside the scan-list fields.
bool IsChannel(int channel) { return channel >= 1 && channel <= layout::kMaxChannels; }

void SetScanListMember(int channel, bool member) {
  if (!IsChannel(channel)) return;
  CodeplugImage[layout::ScanListSlot(channel)] = member ? static_cast<uint8_t>(channel) : 0;
  // Both bitmap bytes are read afresh, so the other channels' bits keep what the image holds.
  int bitmap = CodeplugImage.Word(layout::kScanListBitmap);
  const int bit = 1 << (channel - 1);
  bitmap = member ? (bitmap | bit) : (bitmap & ~bit);
  CodeplugImage.SetWord(layout::kScanListBitmap, bitmap);
}

bool HasBothFrequencies(const cps::FlexGrid& grid, int channel) {
  return !grid.TextMatrix(channel, kRxFreqColumn).isEmpty() &&
         !grid.TextMatrix(channel, kTxFreqColumn).isEmpty();
}

// CmdAdd on with LstChannel's first entry selected while that list has entries, else off.
void OfferFirstFreeChannel(FrmMain& f) {
  const bool any = f.LstChannel->ListCount() > 0;
  f.CmdAdd->SetEnabled(any);
  if (any) f.LstChannel->SetListIndex(0);
}

}  // namespace

void FrmMain::ConnectScanListHandlers() {
  connect(CmdAdd, &cps::CommandButton::Click, this, &FrmMain::CmdAdd_Click);
  connect(CmdRemove, &cps::CommandButton::Click, this, &FrmMain::CmdRemove_Click);
  connect(LstChannel, &cps::ListBox::KeyDown, this, &FrmMain::LstChannel_KeyDown);
  connect(LstChannel, &cps::ListBox::MouseDown, this, &FrmMain::LstChannel_MouseDown);
  connect(LstScan, &cps::ListBox::KeyDown, this, &FrmMain::LstScan_KeyDown);
  connect(LstScan, &cps::ListBox::MouseDown, this, &FrmMain::LstScan_MouseDown);
}

bool FrmMain::IsOutsideScanList(double channel) const {
  for (int i = 0; i < LstChannel->ListCount(); ++i) {
    if (cps::NumericPrefix(LstChannel->List(i)) == channel) return true;
  }
  return false;
}

void FrmMain::CmdAdd_Click() {
  DataModified = true;
  const int selected = LstChannel->ListIndex();
  if (selected >= 0) {
    const QString entry = LstChannel->List(selected);
    const int channel = ChannelOf(entry);
    if (!HasBothFrequencies(*fgChannel, channel)) {
      cps::MsgBox(QStringLiteral("Empty Channel  "), cps::msgbox::OKOnly);
      return;
    }
    LstScan->AddItem(entry);
    PrioScanErrorShown = false;
    LstChannel->RemoveItem(selected);
    SetScanListMember(channel, true);
  }
  if (LstChannel->ListCount() == 0) {
    CmdAdd->SetEnabled(false);
  } else {
    LstChannel->SetListIndex(0);
  }
  if (LstScan->ListCount() > 0) {
    CmdRemove->SetEnabled(true);
    LstScan->SetListIndex(LstScan->ListCount() - 1);
  }
}

void FrmMain::CmdRemove_Click() {
  DataModified = true;
  const int selected = LstScan->ListIndex();
  bool refused = false;
  if (selected >= 0) {
    const QString entry = LstScan->List(selected);
    const int channel = ChannelOf(entry);
    if (chkPrioScanEnable->Value() == cps::kChecked &&
        channel == CodeplugImage[layout::kPrioScanChannel]) {
      cps::MsgBox(QStringLiteral("Not Allowed To Remove Priority Channel  "), cps::msgbox::OKOnly);
      refused = true;
    } else {
      LstChannel->AddItem(entry);
      LstScan->RemoveItem(selected);
      SetScanListMember(channel, false);
    }
  }
  // After a refusal the entry above the priority channel's (none when it is the first).
  LstScan->SetListIndex(refused ? selected - 1 : LstScan->ListCount() - 1);
  CmdRemove->SetEnabled(LstScan->ListCount() > 0);
  OfferFirstFreeChannel(*this);
}

// A press into one list leaves a selection in that list only.
void FrmMain::LstChannel_KeyDown(int& keyCode, int) {
  if (keyCode != cps::kKeyReturn) LstScan->SetListIndex(-1);
}
void FrmMain::LstChannel_MouseDown(int, int, double, double) { LstScan->SetListIndex(-1); }
void FrmMain::LstScan_KeyDown(int& keyCode, int) {
  if (keyCode != cps::kKeyReturn) LstChannel->SetListIndex(-1);
}
void FrmMain::LstScan_MouseDown(int, int, double, double) { LstChannel->SetListIndex(-1); }
