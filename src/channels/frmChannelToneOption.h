// The tone/code dialog frmChannelToneOption ("Channel Tone Option"): edits the receive or the
// transmit squelch of one channel of the channel grid. Seven options in a row; "TKS" shows the
// 42-tone table, "DKS" and "IDKS" the 85-code table, picked with the mouse or the arrow keys.
// A choice is written into the channel record at once and the dialog closes.
//
// It blocks the other windows while it is open, but its opener returns at once: opening it
// disables the main window, and every road that unloads it enables the main window and the
// editor again. It is a top-level window of its own, so disabling the main window leaves it
// usable.
#pragma once

#include <QWidget>
#include <array>

#include "channels/ToneOptionRules.h"

namespace cps {
class Frame;
class Label;
class OptionButton;
class TextBox;
}  // namespace cps

class FrmChannelToneOption : public QWidget {
  Q_OBJECT

 public:
  FrmChannelToneOption();
  ~FrmChannelToneOption() override;

  // Runs on every unload: the editor and the main window are enabled again.
  void Form_Unload();

  void optChOption_KeyDown(int index, int& keyCode, int shift);
  void optChOption_MouseUp(int index, int button, int shift, double x, double y);
  void txtToneData_Click(int index);
  void txtDcsData_Click(int index);
  void txtToneData_KeyDown(int index, int& keyCode, int shift);
  void txtDcsData_KeyDown(int index, int& keyCode, int shift);
  void txtToneData_GotFocus(int index);
  void txtToneData_LostFocus(int index);
  void txtDcsData_GotFocus(int index);
  void txtDcsData_LostFocus(int index);

  // Shows the frames of a layout and sizes the window for it.
  void ShowLayout(ToneDialogLayout layout);
  ToneDialogLayout Layout() const { return layout_; }

  // Puts the window's top-left corner 3000 twips right of and below the editor window's.
  void PlaceBesideEditor();

  // The window's inside size in twips.
  int Width() const;
  int Height() const;

  cps::Frame* fraChannelToneOption;
  std::array<cps::OptionButton*, kSquelchOptionCount> optChOption;  // "CSQ" .. "TKS3"
  cps::Frame* fraToneData;                                          // "TKS Frequency Table"
  std::array<cps::TextBox*, kToneCount> txtToneData;
  std::array<cps::Label*, 2 * kToneCount> lblToneNo;  // 0..41 byte values, 42..83 maker codes
  cps::Frame* fraDcsData;                             // "DKS Code Table"
  std::array<cps::TextBox*, kSquelchCodeCount> txtDcsData;
  std::array<cps::Label*, kSquelchCodeCount> lblDcsNo;  // "1" .. "85"

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateOptionRow();
  void CreateToneTable();
  void CreateCodeTable();
  void ActOnOption(int index);
  void ApplyChoice(const SquelchEncoding& choice);

  ToneDialogLayout layout_ = ToneDialogLayout::kOptionsOnly;
};

// The one dialog, created on first use.
FrmChannelToneOption& frmChannelToneOption();
bool IsFrmChannelToneOptionLoaded();
// Loaded and shown: the radio read and write refuse to start then.
bool IsFrmChannelToneOptionVisible();
// Runs Form_Unload and closes the dialog (deleted once control returns to the event loop).
// Nothing happens when it is not loaded.
void UnloadFrmChannelToneOption();

// Open the dialog on the receive (grid column 2) or transmit (column 6) squelch of the channel
// in grid row 1..16, on the option and entry its squelch byte decodes to.
void OpenRxToneOptionDialog(int row);
void OpenTxToneOptionDialog(int row);
