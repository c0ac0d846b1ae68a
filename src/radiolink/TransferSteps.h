// The exchanges that open both radio transfers: the wake-up and identity exchange, the request
// for read or write access with the radio's region code, and the first-block exchange. Results
// are left in the link state (RxByte, RxBuffer, RadioImage, CommError); committing what was
// received is each transfer's own affair. Every answer is judged by the line watch of CommLink.h.
#pragma once

#include <cstdint>

#include "radiolink/AnswerTiming.h"
#include "radiolink/CommLink.h"

class FrmProgram;

// The sixth bad identity frame, or the sixth refusal of the identity written back, ends the
// transfer.
constexpr int kMaxIdentityRetries = 5;
// A read asks for a block again, and a write sends one again, at most three times in a row.
constexpr int kMaxBlockRetries = 3;

// How the wake-up and identity exchange ended.
enum class Handshake {
  Identity,  // a frame with a good sum byte, alone, is in RadioImage[384..399]; the caller takes
             // its answer once it has made its own last check of it
  Legacy,    // the radio takes no part in the identity exchange (its answer heard out)
  Failed,    // the handshake time-out expired or the sixth bad frame came: check the mode
};

// Where the read's and the write's wake-ups differ.
struct WakeUpRules {
  int settleMs;                 // pause after the radio's first answer to the wake-up
  bool wakeUpAfterBadIdentity;  // a bad frame starts the wake-up over, not only the frame
  bool hearOutIdentity;         // the frame is acted on before the radio's next answer shows it
};

// Wakes the radio and takes its identity frame, within the handshake time-out the caller has
// started; restarts are ended only by that time-out. An answer that came with noise decides
// nothing: the line goes quiet and the wake-up starts over, or the frame is asked for again.
// retries is the transfer's identity retry counter, 0 after a good frame. The programming window
// gone ends the wake-up at its next test. The wake-up's answer is taken once the identity's shows
// it was the radio's; the identity's is left in identity.
Handshake WakeUpAndIdentify(const FrmProgram& form, const WakeUpRules& rules, int& retries,
                            JudgedAnswer& identity);

// How a request answered by one byte went.
enum class Asked {
  Answered,  // RxByte is the radio's answer, heard in step
  Failed,    // not sent, or no answer in time
  Noisy,     // the answer came with noise: it decides nothing
};
// Judges the one-byte answer a receive primitive just took as an answer of this exchange, with a
// pause of pauseMs: Answered only when it came alone and the line stayed quiet after it. The
// caller takes answer once it has made its own last check of it.
Asked JudgeReplyByte(answertiming::Exchange exchange, int pauseMs, JudgedAnswer& answer);
// Sends command and takes the radio's one-byte answer within countdown passes, judged as an
// answer of this exchange with a pause of settleMs; a command that could not be sent is followed
// by the not-ready byte.
Asked AskRadio(uint8_t command, double countdown, int settleMs, answertiming::Exchange exchange,
               JudgedAnswer& answer);

// How a request for read ('R') or write ('P') access ended.
enum class Access {
  Granted,  // a supported region code
  Refused,  // the status-line text says why (the progress is set back to 0 on a refusal)
  Noisy,    // the answer came with noise: the radio does not answer this request twice
};
// Asks until the radio stops answering "not ready", giving each answer countdown passes and a
// pause of settleMs. refusal is the status-line text of a refusal; granted the answer that granted
// access, for the caller to take once the answer after it has not disproved it.
Access RequestAccess(FrmProgram& form, uint8_t request, double countdown, int settleMs,
                     const char*& refusal, JudgedAnswer& granted);

// 0x0B after a 10 ms pause, then its 10-byte answer into RxBuffer, judged as an answer of this
// exchange. A failed send is answered with the not-ready byte; CommError tells whether the
// exchange failed (nothing judged then).
JudgedAnswer RequestFirstBlock(answertiming::Exchange exchange);
