// The least a transfer can take on a line paced as the wire, against which its listening is
// measured: every byte that crossed the line, each in its byte time, the radio's own time before
// each answer as it took it, how much later its adapter handed each answer over, the pauses the
// transfer makes itself, and the guard at its end.
#pragma once

#include "radiolink/AnswerTiming.h"
#include "support/SimulatedRadio.h"

// One byte at 1200 baud with 8 data bits and 2 stop bits.
constexpr qint64 kWireByteUs = 11 * 1000000 / 1200;
// The read's pauses before 'I' and 0x0B and after each block; the write's settles after the
// wake-up and the write request, the identity write-back's, the password request's, the band
// check's, the start of data's, each block's and the closing pause.
constexpr qint64 kReadPausesUs = (10 + 10 + 48 * 2) * 1000;
constexpr qint64 kWritePausesUs =
    (200 + 10 + (10 + 16 * 10 + 10 + 2) + 200 + 10 + 10 + 10 + 10 + 48 * (1 + 2) + 500) * 1000;

// After its last acknowledgement a read listens until any radio's answer to it would have begun
// to show, and after the last block's answer a write until any answer the radio may still owe
// would have: half a second and a byte.
constexpr qint64 kEndGuardUs = answertiming::kLongestAnswerShown;

inline qint64 WireFloorUs(const SimulatedRadio& radio, bool read) {
  return (radio.received.size() + radio.sentBytes) * kWireByteUs + radio.answerDelaysUs +
         radio.deliveryDelaysUs() + (read ? kReadPausesUs : kWritePausesUs) + kEndGuardUs;
}
