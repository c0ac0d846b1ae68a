#include "radiolink/LinkWait.h"

#include <chrono>

namespace linkwait {

int64_t MonotonicMicros() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace linkwait
