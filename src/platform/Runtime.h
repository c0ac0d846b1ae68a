// The run-time services a handler calls directly: yield to pending events, pause.
#pragma once

#include <functional>

namespace cps {

// Runs every pending event (timer ticks, input, posted keystrokes) and returns; a wait loop
// calls it so that the program stays responsive and sees its time-outs expire.
void DoEvents();

// Blocks the calling thread for ms milliseconds; no events run meanwhile.
void Sleep(int ms);
// Makes Sleep call sleep instead of blocking (empty function: back to the real pause).
void SetSleepForTests(std::function<void(int)> sleep);

}  // namespace cps
