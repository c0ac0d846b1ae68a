// A pseudo-terminal pair: the program opens the slave path as its serial port, a test (or the
// simulated radio) holds the master end. Raw mode, non-blocking master.
#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>

class PseudoTerminal {
 public:
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  bool IsValid() const { return master_ >= 0; }
  int MasterFd() const { return master_; }
  QString SlavePath() const { return slavePath_; }

  // Every byte the program has written so far (non-blocking).
  QByteArray ReadAvailable();
  // Returns how many bytes the line took (fewer when its buffer is full).
  qsizetype Write(const QByteArray& bytes);
  // Bytes read from and written to the master end since the terminal was made, over every
  // Reconnect: what has gone into the line, to be matched with what its far end has taken.
  qint64 BytesRead() const { return bytesRead_; }
  qint64 BytesWritten() const { return bytesWritten_; }
  // Bytes written into the master end that wait at the slave end, read by nobody yet.
  qint64 WaitingAtSlave() const;

  // The line goes away, as when the cable is pulled: both ends close.
  void Hangup();
  // A fresh line after Hangup, on a new slave path.
  void Reconnect();

 private:
  void Open();

  int master_ = -1;
  int keepSlave_ = -1;  // keeps the line up between the program's closes and opens
  QString slavePath_;
  std::atomic<qint64> bytesRead_ = 0;
  std::atomic<qint64> bytesWritten_ = 0;  // also by the simulated radio's wire thread
};

// Maps every Com port of the program to this terminal's slave.
void RouteCommPortsTo(const PseudoTerminal& terminal);
// Maps every Com port to one quiet line that lives as long as the test program: opening a port
// then succeeds, nothing ever answers, and no real serial device is touched.
void RouteCommPortsToQuietLine();
