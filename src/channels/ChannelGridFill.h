// ShowChannelGrid: the channel records of the codeplug image shown as the texts of the editor's
// channel grid fgChannel, one row per channel. It writes texts only; which cells look editable
// is the editor lock's colouring.
#pragma once

// Rows 1 to image byte 2 (ChannelCount), columns 1..13, written with the grid's redrawing
// suspended. Sets IsUhfBand from the band byte first (codes 5..15 leave it). A row the grid or
// the image cannot hold ends the fill: ChannelDataInvalid := True, redrawing resumed; the rows
// written so far keep their new texts. Never clears ChannelDataInvalid.
void ShowChannelGrid();
