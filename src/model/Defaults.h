// New-codeplug defaults: the timer bytes, emptying every channel, and the image side of the
// factory channel 1 that File>Default writes. The programmable-button defaults are list
// positions that the editor's boxes take; they are given here as data.
#pragma once

#include <cstdint>

// Bytes 6..13: time-out 180 s, scan speed 100 ms, scan delay 4000 ms, look-back 4000 ms,
// time-out warning 5 s, and the three fixed bytes 60, 20, 10.
void SetDefaultTimers();

// The empty record into all 16 channel records whatever the channel count, user tone range
// bytes 0x15 and 0x3F, scan-list bitmap 0. Step flags, scan slots and segments keep their values.
void ClearAllChannels();

// List positions (0-based) of the four programmable-button boxes. The short-press boxes are set
// first: their click handling rebuilds the long-press lists that L1 and L2 index.
struct ButtonPositions {
  int s1;
  int s2;
  int l1;
  int l2;
  bool operator==(const ButtonPositions&) const = default;
};

// Default positions for a FixedPowerCode (image byte 396): 1, 3, 0, 6 when it fixes the power
// (16, 32, 48, 64), whose lists lack "Hi/Low Power"; else 2, 4, 0, 7.
ButtonPositions DefaultButtonPositions(uint8_t fixedPowerCode);

// Image side of SetDefaultButtonsAndChannel: channel 1 alone in the scan list; channel 1's
// frequencies and segment preset by the whole byte 4 (none for values other than 0..4); channel 1
// tone 103.5 Hz both ways, high power, reverse burst 240, mute mode 1, wide band; 6.25 kHz step
// flags for channel 1.
void SetDefaultChannelOne();
