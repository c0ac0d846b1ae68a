#include "platform/CommPort.h"

#include <QFileInfo>
#include <QSerialPort>
#include <QStringList>
#include <algorithm>
#include <utility>

namespace cps {

namespace {

constexpr int kFetchLooks = 16;

std::function<QString(int)>& Resolver() {
  static std::function<QString(int)> resolver;
  return resolver;
}

std::function<void()>& AfterDriverRead() {
  static std::function<void()> hook;
  return hook;
}

struct LineSettings {
  qint32 baud = 0;
  QSerialPort::Parity parity = QSerialPort::NoParity;
  QSerialPort::DataBits dataBits = QSerialPort::Data8;
  QSerialPort::StopBits stopBits = QSerialPort::OneStop;
};

bool ParseParity(const QString& text, QSerialPort::Parity& parity) {
  const QString p = text.trimmed().toUpper();
  if (p == "N")
    parity = QSerialPort::NoParity;
  else if (p == "E")
    parity = QSerialPort::EvenParity;
  else if (p == "O")
    parity = QSerialPort::OddParity;
  else if (p == "M")
    parity = QSerialPort::MarkParity;
  else if (p == "S")
    parity = QSerialPort::SpaceParity;
  else
    return false;
  return true;
}

bool ParseSettings(const QString& text, LineSettings& out) {
  const QStringList parts = text.split(',');
  if (parts.size() != 4) return false;
  bool ok = false;
  out.baud = parts[0].trimmed().toInt(&ok);
  if (!ok || out.baud <= 0) return false;
  if (!ParseParity(parts[1], out.parity)) return false;
  const int bits = parts[2].trimmed().toInt(&ok);
  if (!ok || bits < 5 || bits > 8) return false;
  out.dataBits = static_cast<QSerialPort::DataBits>(bits);
  const QString stop = parts[3].trimmed();
  if (stop == "1")
    out.stopBits = QSerialPort::OneStop;
  else if (stop == "1.5")
    out.stopBits = QSerialPort::OneAndHalfStop;
  else if (stop == "2")
    out.stopBits = QSerialPort::TwoStop;
  else
    return false;
  return true;
}

bool Apply(QSerialPort& serial, const LineSettings& s) {
  return serial.setBaudRate(s.baud) && serial.setParity(s.parity) &&
         serial.setDataBits(s.dataBits) && serial.setStopBits(s.stopBits) &&
         serial.setFlowControl(QSerialPort::NoFlowControl);
}

}  // namespace

QString CommPortDevicePath(int n) {
  if (Resolver()) return Resolver()(n);
  const QString usb = QStringLiteral("/dev/ttyUSB%1").arg(n - 1);
  if (QFileInfo::exists(usb)) return usb;
  return QStringLiteral("/dev/ttyS%1").arg(n - 1);
}

void SetCommPortPathResolver(std::function<QString(int)> resolver) {
  Resolver() = std::move(resolver);
}

void SetAfterDriverReadForTests(std::function<void()> hook) { AfterDriverRead() = std::move(hook); }

CommPort::CommPort(QObject* parent) : QObject(parent), serial_(new QSerialPort(this)) {
  // QSerialPort's own buffer is only a stop on the way to ours: it must not grow either while a
  // handler keeps the event loop from emptying it.
  serial_->setReadBufferSize(kInBufferSize);
  connect(serial_, &QSerialPort::readyRead, this, &CommPort::DataArrived);
  connect(serial_, &QSerialPort::bytesWritten, this, &CommPort::BytesSent);
  connect(serial_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
    if (error == QSerialPort::ReadError || error == QSerialPort::WriteError ||
        error == QSerialPort::ResourceError) {
      DeviceFailed();
    }
  });
}

CommPort::~CommPort() = default;

bool CommPort::SetCommPort(int n) {
  if (PortOpen() || n < 1) return false;
  port_ = n;
  return true;
}

bool CommPort::SetSettings(const QString& settings) {
  LineSettings parsed;
  if (!ParseSettings(settings, parsed)) return false;
  if (DeviceOpen() && !Apply(*serial_, parsed)) return false;
  settings_ = settings;
  return true;
}

bool CommPort::PortOpen() const { return open_; }

bool CommPort::DeviceOpen() const { return serial_->isOpen(); }

bool CommPort::SetPortOpen(bool open) {
  if (!open) {
    if (serial_->isOpen()) serial_->close();
    open_ = false;
    sendArmed_ = false;
    return true;
  }
  if (open_) return true;
  LineSettings parsed;
  ParseSettings(settings_, parsed);
  serial_->setPortName(CommPortDevicePath(port_));
  inBuffer_.clear();
  if (!serial_->open(QIODevice::ReadWrite)) return false;
  if (!Apply(*serial_, parsed)) {
    serial_->close();
    return false;
  }
  open_ = true;
  return true;
}

int CommPort::InBufferCount() {
  if (!DeviceOpen()) return 0;
  // Also the bytes the driver holds while a blocking pause keeps the event loop from them.
  TakeArrivals();
  return static_cast<int>(inBuffer_.size());
}

void CommPort::SetInBufferCount(int count) {
  if (count != 0 || !DeviceOpen()) return;
  TakeArrivals();
  inBuffer_.clear();
}

int CommPort::OutBufferCount() const {
  return DeviceOpen() ? static_cast<int>(serial_->bytesToWrite()) : 0;
}

void CommPort::SetOutBufferCount(int count) {
  // Only what has not yet gone to the driver is discarded: bytes already handed on count as
  // sent (a flush further down would also cut off a byte the other end is just taking).
  if (count != 0 || !DeviceOpen() || serial_->bytesToWrite() == 0) return;
  serial_->clear(QSerialPort::Output);
  sendArmed_ = false;
}

void CommPort::Output(const QByteArray& bytes) {
  if (!DeviceOpen() || bytes.isEmpty()) return;
  serial_->write(bytes);
  sendArmed_ = sThreshold_ > 0 && serial_->bytesToWrite() >= sThreshold_;
}

QByteArray CommPort::Input() {
  if (!DeviceOpen()) return QByteArray();
  TakeArrivals();
  return std::exchange(inBuffer_, QByteArray());
}

qint64 CommPort::ReceivedCount() {
  if (!DeviceOpen()) return received_;
  TakeArrivals();
  return received_;
}

qint64 CommPort::TakenFromDriver() const { return received_ + serial_->bytesAvailable(); }

void CommPort::DataArrived() {
  Keep(serial_->readAll());
  if (!fetching_) RaiseReceiveIfDue();
}

// Bytes the driver holds that the event loop has not fetched yet (a blocking pause keeps it from
// them): a discard then never throws away a byte that nobody counted. The port reads them itself
// and raises nothing meanwhile: what its reading brings is looked at again from the event loop.
void CommPort::FetchFromDriver() {
  if (fetching_) return;
  fetching_ = true;
  // Each look takes one chunk of what the driver holds; a line that never stops talking is
  // looked at again at the next fetch.
  for (int look = 0; look < kFetchLooks && DeviceOpen() && serial_->waitForReadyRead(0); ++look) {
  }
  fetching_ = false;
  // Nothing waiting is no failure of the line.
  if (serial_->error() == QSerialPort::TimeoutError) serial_->clearError();
}

void CommPort::RaiseReceiveIfDue() {
  if (DeviceOpen() && rThreshold_ > 0 && inBuffer_.size() >= rThreshold_) Raise(comEvReceive);
}

// Bytes taken here past the port's own notice still raise their receive event, from the event
// loop as every event.
void CommPort::TakeArrivals() {
  const qint64 before = received_;
  FetchFromDriver();
  Keep(serial_->readAll());
  if (received_ > before) Later(&CommPort::RaiseReceiveIfDue);
  if (AfterDriverRead()) AfterDriverRead()();
}

// A full buffer drops the newest bytes, as a fixed receive buffer overruns: what is waiting stays
// as it was, and every exchange of a transfer clears the buffer before it starts.
void CommPort::Keep(const QByteArray& bytes) {
  received_ += bytes.size();
  inBuffer_.append(bytes.left(kInBufferSize - inBuffer_.size()));
}

// Not before the last byte has gone: the flush that follows a send event must find nothing of
// the frame still waiting.
void CommPort::BytesSent(qint64 bytes) {
  sent_ += bytes;
  if (fetching_) {
    Later(&CommPort::RaiseSendIfDue);
  } else {
    RaiseSendIfDue();
  }
}

void CommPort::RaiseSendIfDue() {
  if (DeviceOpen() && sendArmed_ && serial_->bytesToWrite() == 0) {
    sendArmed_ = false;
    Raise(comEvSend);
  }
}

// A device that is gone keeps reporting its error on every pass of the event loop: it is closed
// at the first report.
void CommPort::DeviceFailed() {
  if (!DeviceOpen()) return;
  serial_->close();
  sendArmed_ = false;
  if (fetching_) {
    Later(&CommPort::RaisePortErrorIfDue);
  } else {
    Raise(comEvPortError);
  }
}

// Only while the port the program opened is still the failed one: opened again since, it works.
void CommPort::RaisePortErrorIfDue() {
  if (open_ && !DeviceOpen()) Raise(comEvPortError);
}

// A check put off to the event loop is made there afresh: an event raised then says what holds
// then, not what held when the bytes were fetched.
void CommPort::Later(void (CommPort::*check)()) {
  QMetaObject::invokeMethod(this, check, Qt::QueuedConnection);
}

void CommPort::Raise(int event) {
  commEvent_ = event;
  emit OnComm();
  commEvent_ = 0;
}

}  // namespace cps
