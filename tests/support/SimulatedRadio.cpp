#include "support/SimulatedRadio.h"

#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {
constexpr int kIdentityFrameBytes = 32 + 2;  // 16 bytes with zeros, then the sum command
constexpr int kBlockFrameBytes = 16 + 2;     // 8 bytes with zeros, then the sum command
constexpr int kBlocks = 48;
}  // namespace

// The line towards the PC. On a paced line a thread of its own writes each byte when it is due,
// whatever the program under test does meanwhile (a blocking pause included), and makes the
// random interference, whose bytes come at their own pace between the radio's.
class SimulatedRadio::Wire {
 public:
  explicit Wire(PseudoTerminal& line) : line_(line), thread_([this] { Run(); }) {}
  ~Wire() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

  // Bytes in turn on the radio's side of the line, the first no sooner than startUs, each paceUs
  // after the one before (0: all at once). Returns when the last one is due.
  qint64 Send(const QByteArray& bytes, qint64 startUs, int paceUs) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (char c : bytes) {
      radioFreeUs_ = std::max(radioFreeUs_, startUs) + paceUs;
      due_.emplace(radioFreeUs_, c);
    }
    wake_.notify_all();
    return radioFreeUs_;
  }

  void StartInterference(quint32 seed, int minMs, int maxMs, int minBytes, int maxBytes,
                         int paceUs) {
    std::lock_guard<std::mutex> lock(mutex_);
    random_.seed(seed);
    interference_ = {true, minMs, maxMs, minBytes, maxBytes, paceUs};
    nextBurstUs_ = NowUs() + random_.bounded(minMs, maxMs + 1) * 1000;
    wake_.notify_all();
  }
  void StopInterference() {
    std::lock_guard<std::mutex> lock(mutex_);
    interference_.active = false;
  }

  std::atomic<int> interferenceBytes{0};

 private:
  struct Interference {
    bool active = false;
    int minMs = 0, maxMs = 0, minBytes = 1, maxBytes = 1, paceUs = 0;
  };

  void Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
      const qint64 now = NowUs();
      if (interference_.active && nextBurstUs_ <= now) Burst(now);
      QByteArray ready;
      while (!due_.empty() && due_.begin()->first <= now) {
        ready.append(due_.begin()->second);
        due_.erase(due_.begin());
      }
      if (!ready.isEmpty()) {
        lock.unlock();
        line_.Write(ready);
        lock.lock();
        continue;
      }
      qint64 next = due_.empty() ? now + 100000 : due_.begin()->first;
      if (interference_.active) next = std::min(next, nextBurstUs_);
      wake_.wait_for(lock, std::chrono::microseconds(std::max<qint64>(1, next - now)));
    }
  }

  void Burst(qint64 now) {
    const Interference& in = interference_;
    const int count = random_.bounded(in.minBytes, in.maxBytes + 1);
    qint64 at = std::max(interferenceFreeUs_, now);
    for (int i = 0; i < count; ++i) {
      at += in.paceUs;
      due_.emplace(at, static_cast<char>(random_.bounded(256)));
    }
    interferenceFreeUs_ = at;
    interferenceBytes += count;
    nextBurstUs_ = now + random_.bounded(in.minMs, in.maxMs + 1) * 1000;
  }

  PseudoTerminal& line_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::multimap<qint64, char> due_;  // bytes by when they have crossed the line
  qint64 radioFreeUs_ = 0;
  qint64 interferenceFreeUs_ = 0;
  Interference interference_;
  qint64 nextBurstUs_ = 0;
  QRandomGenerator random_;
  bool stop_ = false;
  std::thread thread_;
};

qint64 SimulatedRadio::NowUs() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

SimulatedRadio::SimulatedRadio(PseudoTerminal& line)
    : hearing_(new QTimer(this)),
      line_(line),
      notifier_(new QSocketNotifier(line.MasterFd(), QSocketNotifier::Read, this)),
      wire_(std::make_unique<Wire>(line)) {
  connect(notifier_, &QSocketNotifier::activated, this, &SimulatedRadio::OnReadable);
  hearing_->setTimerType(Qt::PreciseTimer);
  hearing_->setSingleShot(true);
  connect(hearing_, &QTimer::timeout, this, &SimulatedRadio::Hear);
}

SimulatedRadio::~SimulatedRadio() = default;

int SimulatedRadio::noiseBytes() const {
  return craftedNoiseBytes_ + (wire_ ? wire_->interferenceBytes.load() : 0);
}

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
    in_.push_back({inFreeUs_, static_cast<uint8_t>(c)});
  }
  Hear();
}

void SimulatedRadio::Unplug() {
  notifier_->setEnabled(false);
  wire_.reset();
  line_.Hangup();
}

void SimulatedRadio::Reply(const QByteArray& bytes) {
  const int delayUs =
      command_ == slowCommand && slowCommand != 0 ? slowReplyMs * 1000 : answerDelayUs;
  const int command = command_;
  const int nth = ++answers_[command];
  std::optional<Noise> noise;
  for (const Noise& n : noise_) {
    if (n.command == command && n.nth == nth) noise = n;
  }
  if (paceUs > 0) {
    SendPaced(bytes, noise, NowUs() + delayUs);
    return;
  }
  QTimer::singleShot(delayUs / 1000, this, [this, bytes, noise] { SendAtOnce(bytes, noise); });
}

// Everything of one answer is put on the wire at once, to the microsecond: a burst before the
// answer delays it, one inside splits it.
void SimulatedRadio::SendPaced(const QByteArray& bytes, const std::optional<Noise>& noise,
                               qint64 startUs) {
  if (!noise) {
    Emit(bytes, false, startUs);
    return;
  }
  switch (noise->at) {
    case NoiseAt::Before:
      Emit(bytes, false, Emit(noise->burst, true, startUs) + noise->gapMs * 1000);
      return;
    case NoiseAt::Inside:
      Emit(bytes.left(bytes.size() / 2), false, startUs);
      Emit(noise->burst, true, startUs);
      Emit(bytes.mid(bytes.size() / 2), false, startUs);
      return;
    case NoiseAt::After:
      Emit(noise->burst, true, Emit(bytes, false, startUs) + noise->gapMs * 1000);
      return;
    case NoiseAt::Instead:
      Emit(noise->burst, true, startUs);
      Emit(bytes, false, startUs + noise->gapMs * 1000);
      return;
  }
}

void SimulatedRadio::SendAtOnce(const QByteArray& bytes, const std::optional<Noise>& noise) {
  const qint64 now = NowUs();
  if (!noise) {
    Emit(bytes, false, now);
    return;
  }
  const Noise n = *noise;
  switch (n.at) {
    case NoiseAt::Before:
      Emit(n.burst, true, now);
      QTimer::singleShot(n.gapMs, this, [this, bytes] { Emit(bytes, false, NowUs()); });
      return;
    case NoiseAt::Inside:
      Emit(bytes.left(bytes.size() / 2), false, now);
      Emit(n.burst, true, now);
      Emit(bytes.mid(bytes.size() / 2), false, now);
      return;
    case NoiseAt::After:
      Emit(bytes, false, now);
      QTimer::singleShot(n.gapMs, this, [this, n] { Emit(n.burst, true, NowUs()); });
      return;
    case NoiseAt::Instead:
      Emit(n.burst, true, now);
      QTimer::singleShot(n.gapMs, this, [this, bytes] { Emit(bytes, false, NowUs()); });
      return;
  }
}

qint64 SimulatedRadio::Emit(const QByteArray& bytes, bool noise, qint64 startUs) {
  (noise ? craftedNoiseBytes_ : sentBytes) += bytes.size();
  if (paceUs > 0 && wire_) return wire_->Send(bytes, startUs, paceUs);
  line_.Write(bytes);
  return startUs;
}

// The PC's bytes cross the line one by one: the radio takes each once it has crossed.
void SimulatedRadio::Hear() {
  const qint64 now = NowUs();
  while (!in_.empty() && in_.front().dueUs <= now) {
    const uint8_t b = in_.front().byte;
    in_.pop_front();
    Consume(b);
  }
  if (in_.empty()) {
    hearing_->stop();
  } else {
    hearing_->start(int(std::max<qint64>(0, (in_.front().dueUs - NowUs() + 999) / 1000)));
  }
}

void SimulatedRadio::AddNoise(int command, int nth, NoiseAt at, const QByteArray& burst,
                              int gapMs) {
  noise_.push_back({command, nth, at, burst, gapMs});
}

void SimulatedRadio::StartRandomNoise(quint32 seed, int minMs, int maxMs, int minBytes,
                                      int maxBytes) {
  if (wire_) wire_->StartInterference(seed, minMs, maxMs, minBytes, maxBytes, paceUs);
}

void SimulatedRadio::StopNoise() {
  if (wire_) wire_->StopInterference();
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
