// What the channel grid explains while the mouse moves over it: a text for panel 1 of the
// editor's status bar and the grid's tooltip, by the column under the pointer.
#pragma once

#include <QString>
#include <optional>

struct GridHint {
  QString status;
  QString tooltip;
};

// The hint of a column 0..13 (row counts for column 0 only: "Ch No : 5"); none for any other
// column. The frequency columns name the band of image byte 4, the power and band columns the
// fixed codes of the identity block unless LegacyLayout is set.
std::optional<GridHint> ChannelGridHint(int row, int column);
