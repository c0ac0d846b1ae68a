#include "channels/ChannelGridFill.h"

#include "editor/frmMain.h"
#include "model/BandPlan.h"
#include "model/ChannelRowTexts.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/FlexGrid.h"

namespace {

// Writes one row; false when the grid has no such row or the image no such channel.
bool WriteChannelRow(cps::FlexGrid& grid, int channel) {
  if (channel < 1 || channel > layout::kMaxChannels || channel >= grid.Rows()) return false;
  const ChannelRowCells cells = ChannelRowTexts(CodeplugImage, channel, IsUhfBand, LegacyLayout);
  for (int col : kChannelRowWriteOrder) {
    if (!grid.SetTextMatrix(channel, col, cells[col])) return false;
  }
  return true;
}

}  // namespace

void ShowChannelGrid() {
  cps::FlexGrid& grid = *frmMain().fgChannel;
  grid.SetRedraw(false);
  if (const auto band = FindBandLimits(CodeplugImage[layout::kBandCode])) IsUhfBand = band->isUhf;
  const int rows = CodeplugImage[layout::kChannelCount];
  for (int channel = 1; channel <= rows; ++channel) {
    if (!WriteChannelRow(grid, channel)) {
      ChannelDataInvalid = true;
      break;
    }
  }
  grid.SetRedraw(true);
}
