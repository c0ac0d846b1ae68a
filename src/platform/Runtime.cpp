#include "platform/Runtime.h"

#include <QCoreApplication>
#include <QThread>

namespace cps {

void DoEvents() {
  if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
}

void Sleep(int ms) {
  if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

}  // namespace cps
