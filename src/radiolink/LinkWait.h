// The one loop shape of every wait of the radio link, and the time rule of the reply countdown.
// The countdown (RxCountdown) keeps its unit of waiting passes, but a pass is measured by a
// monotonic clock as 10 µs, so that 500000 passes last 5 s and 200000 last 2 s on any machine.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>

namespace linkwait {

// Microseconds of a clock that never goes back.
using Clock = std::function<int64_t()>;
int64_t MonotonicMicros();

constexpr double kMicrosPerPass = 10;

// Calls yield() until ended() holds (true). With a countdown, the time the clock shows passing
// is also spent from *passesLeft while it is above 0, and the wait fails (false) when it reaches
// exactly 0. A count of 0 or less never fails, also one set from outside during a yield (Cancel).
// Each pass reads the clock before it calls ended(): the wait fails only when what ended() found
// after the countdown ran out did not end it, however long the program stopped in between.
template <class Ended, class Yield>
bool WaitUntil(Ended ended, Yield yield, double* passesLeft = nullptr,
               const Clock& clock = MonotonicMicros) {
  int64_t last = clock();
  for (;;) {
    const int64_t now = clock();
    if (ended()) return true;
    if (passesLeft != nullptr && *passesLeft > 0) {
      *passesLeft = std::max(0.0, *passesLeft - static_cast<double>(now - last) / kMicrosPerPass);
      if (*passesLeft == 0) return false;
    }
    last = now;
    yield();
  }
}

}  // namespace linkwait
