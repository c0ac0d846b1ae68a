// The serial communications control: a thin layer over QSerialPort with the members the radio
// link uses. Received bytes are raw; Input returns all of them at once. At most kInBufferSize of
// them wait, however long the line talks while nobody reads.
//
// Events (OnComm, with CommEvent telling which):
//   comEvSend (1)    every byte of an Output that filled the queue to SThreshold or more has
//                    been handed to the line (SThreshold 0: no send events)
//   comEvReceive (2) RThreshold or more bytes are waiting, raised on every arrival while that
//                    holds (RThreshold 0: no receive events)
//   comEvPortError   the device failed (gone, or a read or write error). The port stops using
//                    it at once but stays open in the program's eyes, so the next closing and
//                    opening starts afresh; until then nothing is sent or received.
// Events are raised from the event loop only, so a handler sees them at a DoEvents, and each says
// what holds when it is raised: a receive event finds its bytes waiting, a send event finds
// nothing left to send.
//
// Port numbers name devices through CommPortDevicePath: port n is /dev/ttyUSB{n-1} when that
// device exists (the usual USB programming cable), else /dev/ttyS{n-1}. Tests map ports to a
// pseudo-terminal with SetCommPortPathResolver.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

class QSerialPort;

namespace cps {

constexpr int comEvSend = 1;
constexpr int comEvReceive = 2;
constexpr int comEvPortError = 1000;

// The receive buffer holds at most this many bytes, as a serial control's fixed buffer does: what
// arrives while it is full is lost.
constexpr int kInBufferSize = 4096;

// The device path of port number n; the resolver replaces the default mapping (empty function:
// back to the default).
QString CommPortDevicePath(int n);
void SetCommPortPathResolver(std::function<QString(int)> resolver);
// Runs right after each read of the driver (a look at the line), so that a test can stop the
// program there (empty function: nothing).
void SetAfterDriverReadForTests(std::function<void()> hook);

class CommPort : public QObject {
  Q_OBJECT

 public:
  explicit CommPort(QObject* parent = nullptr);
  ~CommPort() override;

  // Port number 1..; changing it while the port is open fails (returns false).
  bool SetCommPort(int n);
  // "baud,parity,data bits,stop bits", such as "1200,N,8,2". False for a text it cannot apply;
  // the settings then stay as they were.
  QString Settings() const { return settings_; }
  bool SetSettings(const QString& settings);

  bool PortOpen() const;
  // Opens (true) or closes (false) the port. False when the port could not be opened.
  bool SetPortOpen(bool open);

  // Bytes waiting to be read / to be sent. Setting either to 0 discards those bytes; received
  // bytes are taken from the driver first, so none is discarded without being counted.
  int InBufferCount();
  void SetInBufferCount(int count);
  int OutBufferCount() const;
  void SetOutBufferCount(int count);

  int RThreshold() const { return rThreshold_; }
  void SetRThreshold(int count) { rThreshold_ = count; }
  int SThreshold() const { return sThreshold_; }
  void SetSThreshold(int count) { sThreshold_ = count; }

  // Queues bytes for sending (nothing while the port is closed).
  void Output(const QByteArray& bytes);
  // Takes every byte waiting in the receive buffer.
  QByteArray Input();
  // Every byte received since the control was made, whether taken, discarded or still waiting
  // (those the full buffer dropped included).
  qint64 ReceivedCount();
  // The same without reading the driver: only what the port has taken from it so far.
  qint64 TakenFromDriver() const;
  // Every byte handed to the line since the control was made.
  qint64 SentCount() const { return sent_; }

  // The event being raised, valid inside an OnComm handler.
  int CommEvent() const { return commEvent_; }

 signals:
  void OnComm();

 private:
  void DataArrived();
  void RaiseReceiveIfDue();
  void TakeArrivals();
  void FetchFromDriver();
  void Keep(const QByteArray& bytes);
  void BytesSent(qint64 bytes);
  void RaiseSendIfDue();
  void DeviceFailed();
  void RaisePortErrorIfDue();
  void Later(void (CommPort::*check)());
  void Raise(int event);
  bool DeviceOpen() const;

  QSerialPort* serial_;
  QByteArray inBuffer_;  // received and not yet taken, at most kInBufferSize bytes
  qint64 received_ = 0;  // bytes that reached inBuffer_ or were dropped by it
  qint64 sent_ = 0;      // bytes the driver has taken
  bool open_ = false;    // as the program set it; the device may have failed meanwhile
  int port_ = 1;
  QString settings_ = QStringLiteral("9600,N,8,1");
  int rThreshold_ = 1;  // the link needs 1 and 1 before its first block exchange
  int sThreshold_ = 1;
  bool sendArmed_ = false;  // an Output filled the queue to SThreshold or more
  bool fetching_ = false;   // the port is reading the driver on the program's behalf
  int commEvent_ = 0;
};

}  // namespace cps
