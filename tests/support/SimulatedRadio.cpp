#include "support/SimulatedRadio.h"

#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>

namespace {
constexpr int kAnswerDelayMs = 3;
constexpr int kIdentityFrameBytes = 32 + 2;  // 16 bytes with zeros, then the sum command
constexpr int kBlockFrameBytes = 16 + 2;     // 8 bytes with zeros, then the sum command
constexpr int kBlocks = 48;
}  // namespace

SimulatedRadio::SimulatedRadio(PseudoTerminal& line)
    : line_(line),
      notifier_(new QSocketNotifier(line.MasterFd(), QSocketNotifier::Read, this)),
      wire_(new QTimer(this)),
      noiseTimer_(new QTimer(this)) {
  connect(notifier_, &QSocketNotifier::activated, this, &SimulatedRadio::OnReadable);
  wire_->setTimerType(Qt::PreciseTimer);
  wire_->setSingleShot(true);
  connect(wire_, &QTimer::timeout, this, &SimulatedRadio::Drain);
  clock_.start();
  noiseTimer_->setSingleShot(true);
  connect(noiseTimer_, &QTimer::timeout, this, &SimulatedRadio::RandomBurst);
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
  if (paceUs <= 0) {
    for (char c : bytes) Consume(static_cast<uint8_t>(c));
    return;
  }
  for (char c : bytes) {
    inFreeUs_ = std::max(inFreeUs_, NowUs()) + paceUs;
    in_.push_back({inFreeUs_, QByteArray(1, c)});
  }
  Drain();
}

void SimulatedRadio::Unplug() {
  notifier_->setEnabled(false);
  line_.Hangup();
}

void SimulatedRadio::Reply(const QByteArray& bytes) {
  const int delay = command_ == slowCommand && slowCommand != 0 ? slowReplyMs : kAnswerDelayMs;
  const int command = command_;
  const int nth = ++answers_[command];
  for (const Noise& n : noise_) {
    if (n.command != command || n.nth != nth) continue;
    switch (n.at) {
      case NoiseAt::Before:
        QTimer::singleShot(delay, this, [this, n, bytes] {
          Emit(n.burst, true);
          QTimer::singleShot(n.gapMs, this, [this, bytes] { Answer(bytes); });
        });
        return;
      case NoiseAt::Inside:
        QTimer::singleShot(delay, this, [this, n, bytes] {
          Answer(bytes.left(bytes.size() / 2));
          Emit(n.burst, true);
          Answer(bytes.mid(bytes.size() / 2));
        });
        return;
      case NoiseAt::After:
        QTimer::singleShot(delay, this, [this, n, bytes] {
          Answer(bytes);
          Emit(n.burst, true);
        });
        return;
    }
  }
  QTimer::singleShot(delay, this, [this, bytes] { Answer(bytes); });
}

void SimulatedRadio::Answer(const QByteArray& bytes) { Emit(bytes, false); }

// Answer bytes wait for the wire when it is paced; a burst of noise keeps its place among them.
void SimulatedRadio::Emit(const QByteArray& bytes, bool noise) {
  (noise ? noiseBytes : sentBytes) += bytes.size();
  if (paceUs <= 0) {
    line_.Write(bytes);
    return;
  }
  if (noise) {
    out_.push_back({std::max(outFreeUs_, NowUs()), bytes});
  } else {
    for (char c : bytes) {
      outFreeUs_ = std::max(outFreeUs_, NowUs()) + paceUs;
      out_.push_back({outFreeUs_, QByteArray(1, c)});
    }
  }
  Drain();
}

void SimulatedRadio::Drain() {
  const qint64 now = NowUs();
  while (!out_.empty() && out_.front().dueUs <= now) {
    line_.Write(out_.front().bytes);
    out_.pop_front();
  }
  while (!in_.empty() && in_.front().dueUs <= now) {
    const uint8_t b = static_cast<uint8_t>(in_.front().bytes[0]);
    in_.pop_front();
    Consume(b);
  }
  // Wake when the next byte has crossed, not before.
  qint64 next = -1;
  if (!out_.empty()) next = out_.front().dueUs;
  if (!in_.empty() && (next < 0 || in_.front().dueUs < next)) next = in_.front().dueUs;
  if (next < 0) {
    wire_->stop();
  } else {
    wire_->start(int(std::max<qint64>(0, (next - now + 999) / 1000)));
  }
}

void SimulatedRadio::AddNoise(int command, int nth, NoiseAt at, const QByteArray& burst,
                              int gapMs) {
  noise_.push_back({command, nth, at, burst, gapMs});
}

void SimulatedRadio::StartRandomNoise(quint32 seed, int minMs, int maxMs) {
  random_.seed(seed);
  noiseMinMs_ = minMs;
  noiseMaxMs_ = maxMs;
  noiseTimer_->start(random_.bounded(minMs, maxMs + 1));
}

void SimulatedRadio::StopNoise() { noiseTimer_->stop(); }

void SimulatedRadio::RandomBurst() {
  QByteArray burst(random_.bounded(1, 65), '\0');
  for (char& c : burst) c = static_cast<char>(random_.bounded(256));
  // Interference, not the radio: it takes no turn on the radio's line.
  noiseBytes += burst.size();
  line_.Write(burst);
  noiseTimer_->start(random_.bounded(noiseMinMs_, noiseMaxMs_ + 1));
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
    command_ = kWriteFrame;
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
