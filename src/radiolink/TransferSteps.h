// The exchanges that open both radio transfers: the wake-up and identity exchange, the request
// for read or write access with the radio's region code, and the first-block exchange. Results
// are left in the link state (RxByte, RxBuffer, RadioImage, CommError); committing what was
// received is each transfer's own affair.
#pragma once

#include <cstdint>

class FrmProgram;

// How the wake-up and identity exchange ended.
enum class Handshake {
  Identity,  // a frame with a good sum byte is in RadioImage[384..399]
  Legacy,    // the radio takes no part in the identity exchange
  Failed,    // the handshake time-out expired or the sixth bad frame came: check the mode
};

// Where the read's and the write's wake-ups differ.
struct WakeUpRules {
  int settleMs;                 // pause after the radio's first answer to the wake-up
  bool wakeUpAfterBadIdentity;  // a bad frame starts the wake-up over, not only the frame
};

// Wakes the radio and takes its identity frame, within the handshake time-out the caller has
// started; restarts are ended only by that time-out. A reply or frame that came with noise is
// bad, and the line is purged before the PC asks again. retries is the transfer's identity retry
// counter, 0 after a good frame. The programming window gone ends the wake-up at its next test.
Handshake WakeUpAndIdentify(const FrmProgram& form, const WakeUpRules& rules, int& retries);

// Sends command and takes the radio's one-byte answer into RxByte within countdown passes, after
// settleMs more; a command that could not be sent is followed by the not-ready byte. False when
// either failed: the transfer then ends with the check-the-mode text. Whether the answer came
// with noise (LineClean()) is the caller's to judge.
bool AskRadio(uint8_t command, double countdown, int settleMs);

// Asks for read ('R') or write ('P') access until the radio stops answering "not ready", giving
// each reply countdown passes and a pause of settleMs. An answer that came with noise is asked
// again once the line is quiet (askAgainAfterNoise), or ends the request. nullptr when a supported
// region code came, else the status-line text of the failure (the progress is set back to 0 on a
// refusal).
const char* RequestAccess(FrmProgram& form, uint8_t request, double countdown, int settleMs,
                          bool askAgainAfterNoise);

// 0x0B after a 10 ms pause, its answer window starting with it, then the 10-byte reply, which must
// start with OK unless it came with noise (LineClean() false: the caller treats it as a bad frame).
// A failed send is answered with the not-ready byte. False when the exchange failed; RxBuffer then
// holds whatever arrived.
bool RequestFirstBlock();
