#include "support/SimulatedRadio.h"

#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {
constexpr int kIdentityFrameBytes = 32 + 2;  // 16 bytes with zeros, then the sum command
constexpr int kBlockFrameBytes = 16 + 2;     // 8 bytes with zeros, then the sum command
constexpr int kBlocks = 48;
}  // namespace

// The line towards the PC: each of the radio's bytes reaches it when it is due, or at the
// adapter's next tick, and the random interference's bytes come at their own pace between the
// radio's. On the real clock a thread of its own writes them, whatever the program under test
// does meanwhile (a blocking pause included); on a virtual clock Deliver writes them.
class SimulatedRadio::Wire {
 public:
  Wire(PseudoTerminal& line, bool threaded) : line_(line) {
    if (threaded) thread_ = std::thread([this] { Run(); });
  }
  ~Wire() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
  }

  // Bytes in turn on the radio's side of the line, the first no sooner than startUs, each paceUs
  // after the one before (0: all at once), handed over at ticks chunkUs apart (0: as they cross).
  // Returns when the last one is due.
  qint64 Send(const QByteArray& bytes, qint64 startUs, int paceUs, int chunkUs, bool endsAnswer) {
    std::lock_guard<std::mutex> lock(mutex_);
    chunkUs_ = chunkUs;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
      radioFreeUs_ = std::max(radioFreeUs_, startUs) + paceUs;
      due_.emplace(radioFreeUs_, Byte{bytes[i], endsAnswer && i == bytes.size() - 1});
    }
    wake_.notify_all();
    return radioFreeUs_;
  }

  void StartInterference(qint64 nowUs, quint32 seed, int minMs, int maxMs, int minBytes,
                         int maxBytes, int paceUs, int chunkUs) {
    std::lock_guard<std::mutex> lock(mutex_);
    chunkUs_ = chunkUs;
    random_.seed(seed);
    interference_ = {true, minMs, maxMs, minBytes, maxBytes, paceUs};
    nextBurstUs_ = nowUs + random_.bounded(minMs, maxMs + 1) * 1000;
    wake_.notify_all();
  }
  void StopInterference() {
    std::lock_guard<std::mutex> lock(mutex_);
    interference_.active = false;
  }

  // When Deliver next has something to do: a byte reaches the PC or a burst starts.
  std::optional<qint64> NextUs() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return NextLocked();
  }
  // Writes every byte that has reached the PC by nowUs.
  void Deliver(qint64 nowUs) {
    std::unique_lock<std::mutex> lock(mutex_);
    const QByteArray ready = TakeDue(nowUs);
    lock.unlock();
    if (!ready.isEmpty()) line_.Write(ready);
  }

  std::atomic<int> interferenceBytes{0};
  std::atomic<qint64> deliveryDelaysUs{0};

 private:
  struct Byte {
    char value;
    bool endsAnswer;
  };
  struct Interference {
    bool active = false;
    int minMs = 0, maxMs = 0, minBytes = 1, maxBytes = 1, paceUs = 0;
  };

  void Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
      const qint64 now = SteadyUs();
      const QByteArray ready = TakeDue(now);
      if (!ready.isEmpty()) {
        lock.unlock();
        line_.Write(ready);
        lock.lock();
        continue;
      }
      const qint64 next = NextLocked().value_or(now + 100000);
      wake_.wait_for(lock, std::chrono::microseconds(std::max<qint64>(1, next - now)));
    }
  }

  // A burst due by now is made first, its bytes joining the others.
  QByteArray TakeDue(qint64 now) {
    if (interference_.active && nextBurstUs_ <= now) Burst(now);
    QByteArray ready;
    while (!due_.empty() && Tick(due_.begin()->first) <= now) {
      const auto& [dueUs, byte] = *due_.begin();
      ready.append(byte.value);
      if (byte.endsAnswer) deliveryDelaysUs += Tick(dueUs) - dueUs;
      due_.erase(due_.begin());
    }
    return ready;
  }

  std::optional<qint64> NextLocked() const {
    std::optional<qint64> next;
    if (!due_.empty()) next = Tick(due_.begin()->first);
    if (interference_.active) next = std::min(next.value_or(nextBurstUs_), nextBurstUs_);
    return next;
  }

  // When a byte that has crossed at us reaches the PC.
  qint64 Tick(qint64 us) const {
    return chunkUs_ > 0 ? (us + chunkUs_ - 1) / chunkUs_ * chunkUs_ : us;
  }

  void Burst(qint64 now) {
    const Interference& in = interference_;
    const int count = random_.bounded(in.minBytes, in.maxBytes + 1);
    qint64 at = std::max(interferenceFreeUs_, now);
    for (int i = 0; i < count; ++i) {
      at += in.paceUs;
      due_.emplace(at, Byte{static_cast<char>(random_.bounded(256)), false});
    }
    interferenceFreeUs_ = at;
    interferenceBytes += count;
    nextBurstUs_ = now + random_.bounded(in.minMs, in.maxMs + 1) * 1000;
  }

  PseudoTerminal& line_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::multimap<qint64, Byte> due_;  // bytes by when they have crossed the line
  int chunkUs_ = 0;
  qint64 radioFreeUs_ = 0;
  qint64 interferenceFreeUs_ = 0;
  Interference interference_;
  qint64 nextBurstUs_ = 0;
  QRandomGenerator random_;
  bool stop_ = false;
  std::thread thread_;
};

qint64 SimulatedRadio::SteadyUs() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

qint64 SimulatedRadio::NowUs() const { return virtualNowUs_ ? virtualNowUs_() : SteadyUs(); }

SimulatedRadio::SimulatedRadio(PseudoTerminal& line, std::function<qint64()> virtualNowUs)
    : hearing_(new QTimer(this)),
      virtualNowUs_(std::move(virtualNowUs)),
      line_(line),
      notifier_(new QSocketNotifier(line.MasterFd(), QSocketNotifier::Read, this)),
      wire_(std::make_unique<Wire>(line, !virtualNowUs_)) {
  connect(notifier_, &QSocketNotifier::activated, this, &SimulatedRadio::OnReadable);
  // On a virtual clock the PC's bytes are taken when the clock says, not when they show.
  notifier_->setEnabled(!virtualNowUs_);
  hearing_->setTimerType(Qt::PreciseTimer);
  hearing_->setSingleShot(true);
  connect(hearing_, &QTimer::timeout, this, &SimulatedRadio::Hear);
}

SimulatedRadio::~SimulatedRadio() = default;

int SimulatedRadio::noiseBytes() const {
  return craftedNoiseBytes_ + (wire_ ? wire_->interferenceBytes.load() : 0);
}

qint64 SimulatedRadio::deliveryDelaysUs() const {
  return wire_ ? wire_->deliveryDelaysUs.load() : 0;
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
  const int command = command_;
  const int nth = ++answers_[command];
  std::optional<Noise> noise;
  for (const Noise& n : noise_) {
    if (n.command == command && n.nth == nth) noise = n;
  }
  const int delayUs = DelayUsFor(command, nth);
  answerDelaysUs += delayUs;
  if (noise && noise->at == NoiseAt::Instead) answerDelaysUs += noise->gapMs * 1000;
  const std::vector<Piece> pieces = Pieces(bytes, noise);
  if (paceUs > 0) {
    // Timed from when the command crossed, however late this runs. The radio takes one command at
    // a time: one that came while it was still sending waits until its answer has gone.
    SendPaced(pieces, heardUs_, std::max(heardUs_, answeredUs_) + delayUs);
    return;
  }
  After(delayUs, [this, pieces] { SendAtOnce(pieces); });
}

int SimulatedRadio::DelayUsFor(int command, int nth) {
  int delayUs = answerDelayUs;
  if (!timing_) timing_.emplace(timingSeed);
  if (answerDelayMaxUs > answerDelayUs)
    delayUs = timing_->bounded(answerDelayUs, answerDelayMaxUs + 1);
  if (habitOneIn > 0 && timing_->bounded(habitOneIn) == 0) delayUs = habitDelayUs;
  if (++answerCount_ <= slowAnswers) delayUs = slowAnswerDelayUs;
  if (command == slowCommand && slowCommand != 0) delayUs = slowReplyMs * 1000;
  const auto set = answerDelays_.find({command, nth});
  return set != answerDelays_.end() ? set->second : delayUs;
}

void SimulatedRadio::SetAnswerDelay(int command, int nth, int delayUs) {
  answerDelays_[{command, nth}] = delayUs;
}

// A burst before the answer delays it, one inside splits it; one Instead comes when the answer
// is due, the answer itself gapMs later.
std::vector<SimulatedRadio::Piece> SimulatedRadio::Pieces(const QByteArray& answer,
                                                          const std::optional<Noise>& noise) {
  const Piece whole{.bytes = answer, .endsAnswer = true};
  if (!noise) return {whole};
  const Piece burst{.bytes = noise->burst, .noise = true};
  const int gapMs = noise->gapMs;
  switch (noise->at) {
    case NoiseAt::Before:
      return {
          burst,
          {.bytes = answer, .endsAnswer = true, .start = Start::GapAfterPrevious, .gapMs = gapMs}};
    case NoiseAt::Inside:
      return {{.bytes = answer.left(answer.size() / 2)},
              burst,
              {.bytes = answer.mid(answer.size() / 2), .endsAnswer = true}};
    case NoiseAt::After:
      return {
          whole,
          {.bytes = noise->burst, .noise = true, .start = Start::GapAfterPrevious, .gapMs = gapMs}};
    case NoiseAt::Instead:
      return {burst,
              {.bytes = answer, .endsAnswer = true, .start = Start::GapAfterDue, .gapMs = gapMs}};
    case NoiseAt::Early:
      return {{.bytes = noise->burst, .noise = true, .start = Start::GapAfterHeard, .gapMs = gapMs},
              whole};
  }
  return {whole};
}

// Everything of one answer is put on the wire at once, to the microsecond.
void SimulatedRadio::SendPaced(const std::vector<Piece>& pieces, qint64 heardUs, qint64 dueUs) {
  qint64 previousUs = dueUs;
  for (const Piece& piece : pieces) {
    switch (piece.start) {
      case Start::WhenDue:
        previousUs = Emit(piece, dueUs);
        break;
      case Start::GapAfterPrevious:
        previousUs = Emit(piece, previousUs + piece.gapMs * 1000);
        break;
      case Start::GapAfterDue:
        previousUs = Emit(piece, dueUs + piece.gapMs * 1000);
        break;
      case Start::GapAfterHeard:
        previousUs = Emit(piece, heardUs + piece.gapMs * 1000);
        break;
    }
    if (!piece.noise) answeredUs_ = std::max(answeredUs_, previousUs);
  }
}

// Off a wire each piece crosses as it is written: one that waits goes by a timer.
void SimulatedRadio::SendAtOnce(const std::vector<Piece>& pieces) {
  for (const Piece& piece : pieces) {
    if (piece.start == Start::WhenDue) {
      Emit(piece, NowUs());
    } else {
      After(piece.gapMs * qint64(1000), [this, piece] { Emit(piece, NowUs()); });
    }
  }
}

qint64 SimulatedRadio::Emit(const Piece& piece, qint64 startUs) {
  (piece.noise ? craftedNoiseBytes_ : sentBytes) += piece.bytes.size();
  if (paceUs > 0 && wire_) {
    return wire_->Send(piece.bytes, startUs, paceUs, adapterChunkUs, piece.endsAnswer);
  }
  line_.Write(piece.bytes);
  return startUs;
}

// The PC's bytes cross the line one by one: the radio takes each once it has crossed.
void SimulatedRadio::Hear() {
  const qint64 now = NowUs();
  while (!in_.empty() && in_.front().dueUs <= now) {
    const uint8_t b = in_.front().byte;
    heardUs_ = in_.front().dueUs;
    in_.pop_front();
    Consume(b);
  }
  if (virtualNowUs_) return;  // the queue holds when the next byte is heard
  if (in_.empty()) {
    hearing_->stop();
  } else {
    hearing_->start(int(std::max<qint64>(0, (in_.front().dueUs - NowUs() + 999) / 1000)));
  }
}

void SimulatedRadio::After(qint64 delayUs, std::function<void()> action) {
  if (virtualNowUs_) {
    after_.emplace(NowUs() + delayUs, std::move(action));
  } else {
    QTimer::singleShot(int(delayUs / 1000), this, std::move(action));
  }
}

std::optional<qint64> SimulatedRadio::NextEventUs() const {
  std::optional<qint64> next = wire_ ? wire_->NextUs() : std::nullopt;
  const auto earlier = [&next](qint64 us) { next = std::min(next.value_or(us), us); };
  if (!after_.empty()) earlier(after_.begin()->first);
  if (!in_.empty()) earlier(in_.front().dueUs);
  return next;
}

// One action at a time, the earliest first: each may queue more, sooner than the others.
void SimulatedRadio::FireDue() {
  const qint64 now = NowUs();
  for (std::optional<qint64> next = NextEventUs(); next && *next <= now; next = NextEventUs()) {
    if (!after_.empty() && after_.begin()->first == *next) {
      const std::function<void()> action = std::move(after_.begin()->second);
      after_.erase(after_.begin());
      action();
    } else if (!in_.empty() && in_.front().dueUs == *next) {
      Hear();
    } else if (wire_) {
      wire_->Deliver(*next);
    }
  }
}

void SimulatedRadio::Listen() { OnReadable(); }

void SimulatedRadio::AddNoise(int command, int nth, NoiseAt at, const QByteArray& burst,
                              int gapMs) {
  noise_.push_back({command, nth, at, burst, gapMs});
}

void SimulatedRadio::StartRandomNoise(quint32 seed, int minMs, int maxMs, int minBytes,
                                      int maxBytes) {
  if (wire_) {
    wire_->StartInterference(NowUs(), seed, minMs, maxMs, minBytes, maxBytes, paceUs,
                             paceUs > 0 ? adapterChunkUs : 0);
  }
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
