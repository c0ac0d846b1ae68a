// Keystrokes sent to the focused control, as if typed.
#pragma once

#include <QString>

namespace cps {

// Queues keys for whichever control has the focus when the queue is next processed (after the
// running handler has returned and the program waits for events or calls DoEvents). keys holds
// characters, typed as such, and named keys in braces: {END}, {HOME}, {LEFT}, {RIGHT}, {UP},
// {DOWN}, {ENTER}, {TAB}, {ESC}, {DEL}, {BS}. Returns false, queuing nothing, when keys holds an
// unknown name.
bool SendKeys(const QString& keys);

}  // namespace cps
