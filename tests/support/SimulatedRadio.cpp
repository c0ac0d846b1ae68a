#include "support/SimulatedRadio.h"

#include <QSocketNotifier>
#include <QTimer>

namespace {
constexpr int kAnswerDelayMs = 3;
constexpr int kIdentityFrameBytes = 32 + 2;  // 16 bytes with zeros, then the sum command
constexpr int kBlockFrameBytes = 16 + 2;     // 8 bytes with zeros, then the sum command
constexpr int kBlocks = 48;
}  // namespace

SimulatedRadio::SimulatedRadio(PseudoTerminal& line)
    : line_(line), notifier_(new QSocketNotifier(line.MasterFd(), QSocketNotifier::Read, this)) {
  connect(notifier_, &QSocketNotifier::activated, this, &SimulatedRadio::OnReadable);
}

SimulatedRadio::~SimulatedRadio() = default;

uint8_t SimulatedRadio::Sum(const uint8_t* data, int count) {
  unsigned sum = 0;
  for (int i = 0; i < count; ++i) sum += data[i];
  return static_cast<uint8_t>(sum);
}

void SimulatedRadio::OnReadable() {
  const QByteArray bytes = line_.ReadAvailable();
  received += bytes;
  if (silent) return;
  for (char c : bytes) Consume(static_cast<uint8_t>(c));
}

void SimulatedRadio::Unplug() {
  notifier_->setEnabled(false);
  line_.Hangup();
}

void SimulatedRadio::Reply(const QByteArray& bytes) {
  const int delay = command_ == slowCommand && slowCommand != 0 ? slowReplyMs : kAnswerDelayMs;
  QTimer::singleShot(delay, this, [this, bytes] { line_.Write(bytes); });
}

void SimulatedRadio::Consume(uint8_t b) {
  pending_.append(static_cast<char>(b));
  if (expect_ == Expect::Command) {
    if (pending_.size() < 2) return;
    const uint8_t c = static_cast<uint8_t>(pending_[0]);
    pending_.clear();
    commands.append(static_cast<char>(c));
    command_ = c;
    Command(c);
    return;
  }
  if (pending_.size() == frameSize_) {
    command_ = 0;
    FrameDone();
  }
}

void SimulatedRadio::Command(uint8_t c) {
  switch (c) {
    case 'V':
      ++wakeUps_;
      Reply(QByteArray(1, (legacy || wakeUps_ <= notReadyWakeUps) ? 'F' : 0x10));
      return;
    case 'I': {
      if (legacy) return;
      QByteArray frame(reinterpret_cast<const char*>(&memory[384]), 16);
      if (identityFrames_++ < badIdentitySums) frame[3] = static_cast<char>(frame[3] ^ 0x20);
      frame.append(static_cast<char>(Sum(&memory[384], 16)));
      Reply(frame);
      return;
    }
    case 'O':
      if (mode_ == Mode::Read && sentFirstBlock_) {
        ++readBlock_;
        if (readBlock_ < kBlocks) ReadBlockReply(false);
        return;
      }
      expect_ = Expect::IdentityFrame;
      frameSize_ = kIdentityFrameBytes;
      return;
    case 'F':
      if (mode_ == Mode::Read && sentFirstBlock_) ReadBlockReply(false);
      return;
    case 'R':
      if (mode_ == Mode::WriteGranted && bandChecks_ > 0) {
        mode_ = Mode::WriteData;
        expect_ = Expect::BlockFrame;
        frameSize_ = kBlockFrameBytes;
        Reply(QByteArray(1, 'O'));
        return;
      }
      [[fallthrough]];
    case 'P':
      if (requests_++ < notReadyRequests) {
        Reply(QByteArray(1, 'F'));
        return;
      }
      mode_ = c == 'R' ? Mode::Read : Mode::WriteGranted;
      sentFirstBlock_ = false;
      bandChecks_ = 0;
      Reply(QByteArray(1, static_cast<char>(regionCode)));
      return;
    case 0x0B:
      if (mode_ == Mode::Read) {
        readBlock_ = 0;
        sentFirstBlock_ = true;
        ReadBlockReply(true);
      } else if (mode_ == Mode::WriteGranted && bandChecks_ == 0) {
        QByteArray reply(1, 'O');
        QByteArray pw = password.left(8);
        pw.append(QByteArray(8 - pw.size(), '\0'));
        reply += pw;
        reply.append('\0');
        Reply(reply);
      }
      return;
    case 'T':
      ++bandChecks_;
      Reply(QByteArray(1, static_cast<char>(bandByte)));
      return;
    default:
      return;
  }
}

void SimulatedRadio::ReadBlockReply(bool first) {
  const uint8_t* data = &memory[8 * readBlock_];
  QByteArray frame = first ? QByteArray(1, 'O') : QByteArray();
  frame.append(reinterpret_cast<const char*>(data), 8);
  uint8_t sum = Sum(data, 8);
  if (readBlock_ == badBlock && blockFrames_++ < badBlockSums) sum ^= 0x5A;
  frame.append(static_cast<char>(sum));
  Reply(frame);
}

void SimulatedRadio::FrameDone() {
  const QByteArray frame = pending_;
  pending_.clear();
  const int dataBytes = (frame.size() - 2) / 2;
  std::array<uint8_t, 16> data{};
  for (int i = 0; i < dataBytes; ++i) data[i] = static_cast<uint8_t>(frame[2 * i]);
  const uint8_t sum = static_cast<uint8_t>(frame[frame.size() - 2]);
  const bool sumOk = sum == Sum(data.data(), dataBytes);

  if (expect_ == Expect::IdentityFrame) {
    expect_ = Expect::Command;
    if (sumOk) {
      writtenIdentity = data;
      ++identityWriteBacks;
    }
    Reply(QByteArray(1, sumOk ? 'K' : 'G'));
    return;
  }
  // A data block of a write: the next frame follows whatever the answer.
  const bool refused = writeBlock_ == refuseBlock && writeFrames_++ < refuseBlockWrites;
  if (sumOk && !refused) {
    for (int i = 0; i < 8; ++i) memory[8 * writeBlock_ + i] = data[i];
    ++writeBlock_;
    ++blocksWritten;
    if (writeBlock_ == kBlocks) expect_ = Expect::Command;
  }
  Reply(QByteArray(1, sumOk && !refused ? 'O' : 'F'));
}
