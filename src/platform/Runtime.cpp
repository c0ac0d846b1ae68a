#include "platform/Runtime.h"

#include <QCoreApplication>
#include <QThread>
#include <utility>

namespace cps {

namespace {
std::function<void(int)> g_sleep;
}  // namespace

void DoEvents() {
  if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
}

void Sleep(int ms) {
  if (ms <= 0) return;
  if (g_sleep) return g_sleep(ms);
  QThread::msleep(static_cast<unsigned long>(ms));
}

void SetSleepForTests(std::function<void(int)> sleep) { g_sleep = std::move(sleep); }

}  // namespace cps
