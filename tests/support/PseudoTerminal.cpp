#include "support/PseudoTerminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "platform/CommPort.h"

PseudoTerminal::PseudoTerminal() { Open(); }

void PseudoTerminal::Open() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master_ < 0) return;
  if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
    close(master_);
    master_ = -1;
    return;
  }
  slavePath_ = QString::fromLocal8Bit(ptsname(master_));
  keepSlave_ = open(slavePath_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  termios raw{};
  if (tcgetattr(master_, &raw) == 0) {
    cfmakeraw(&raw);
    tcsetattr(master_, TCSANOW, &raw);
  }
  if (keepSlave_ >= 0 && tcgetattr(keepSlave_, &raw) == 0) {
    cfmakeraw(&raw);
    tcsetattr(keepSlave_, TCSANOW, &raw);
  }
}

PseudoTerminal::~PseudoTerminal() { Hangup(); }

void PseudoTerminal::Hangup() {
  if (keepSlave_ >= 0) close(keepSlave_);
  if (master_ >= 0) close(master_);
  keepSlave_ = -1;
  master_ = -1;
}

void PseudoTerminal::Reconnect() {
  Hangup();
  Open();
}

QByteArray PseudoTerminal::ReadAvailable() {
  QByteArray all;
  char buffer[512];
  for (;;) {
    const ssize_t n = read(master_, buffer, sizeof buffer);
    if (n <= 0) break;
    all.append(buffer, static_cast<int>(n));
  }
  bytesRead_ += all.size();
  return all;
}

qint64 PseudoTerminal::WaitingAtSlave() const {
  int waiting = 0;
  if (keepSlave_ < 0 || ioctl(keepSlave_, FIONREAD, &waiting) != 0) return 0;
  return waiting;
}

qsizetype PseudoTerminal::Write(const QByteArray& bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(master_, bytes.constData() + done, bytes.size() - done);
    if (n <= 0) break;
    done += n;
  }
  bytesWritten_ += done;
  return done;
}

void RouteCommPortsTo(const PseudoTerminal& terminal) {
  const QString path = terminal.SlavePath();
  cps::SetCommPortPathResolver([path](int) { return path; });
}

void RouteCommPortsToQuietLine() {
  static PseudoTerminal quietLine;
  RouteCommPortsTo(quietLine);
}
