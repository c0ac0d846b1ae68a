// main() of every GUI test binary: one QApplication, offscreen, with HOME, TEMP and the
// settings store in a scratch folder so no test touches the user's files, and every dialog
// answered by the script so that no test can wait for a user.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/Dialogs.h"
#include "support/PseudoTerminal.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QTemporaryDir home;
  qputenv("HOME", home.path().toLocal8Bit());
  qputenv("TEMP", home.path().toLocal8Bit());
  qputenv("XDG_DATA_HOME", (home.path() + "/.local/share").toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());
  QStandardPaths::setTestModeEnabled(true);

  QApplication app(argc, argv);
  cps::DialogScript::SetScripted(true);
  // Every Com port is a quiet line: the program's start-up opens its port without touching a
  // real serial device. The radio link's tests route the ports to their own simulated radio.
  RouteCommPortsToQuietLine();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
