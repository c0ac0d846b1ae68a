#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTest>

#include "ActiveWindow.h"
#include "platform/AppSettings.h"
#include "platform/Runtime.h"
#include "platform/SendKeys.h"
#include "platform/TextBox.h"
#include "support/QtPrinters.h"

using namespace cps;

namespace {

// Every settings test starts from an empty store and leaves none behind.
class Settings : public ::testing::Test {
 protected:
  void SetUp() override { Clear(); }
  void TearDown() override { Clear(); }
  static void Clear() {
    QSettings stored(QSettings::NativeFormat, QSettings::UserScope, "Corvana CPS", "Corvana CPS");
    stored.clear();
    stored.sync();
  }
};

}  // namespace

TEST_F(Settings, StoredUnderTheApplicationTitleInTheUsersConfiguration) {
  EXPECT_EQ(GetSetting("Settings", "MainLeft", "1000"), "1000");  // never written
  SaveSetting("Settings", "MainLeft", "1500");
  SaveSetting("Settings", "MainHeight", "7800");
  EXPECT_EQ(GetSetting("Settings", "MainLeft", "1000"), "1500");
  EXPECT_EQ(GetSetting("Settings", "MainHeight", "6400"), "7800");
  EXPECT_EQ(GetSetting("Other", "MainLeft", "1000"), "1000");

  // On disk in the user's (here the scratch) home, under "Corvana CPS", section "Settings".
  QSettings stored(QSettings::NativeFormat, QSettings::UserScope, "Corvana CPS", "Corvana CPS");
  stored.sync();
  EXPECT_TRUE(stored.fileName().startsWith(qEnvironmentVariable("HOME") + "/"));
  EXPECT_TRUE(QFile::exists(stored.fileName()));
  EXPECT_EQ(stored.value("Settings/MainLeft").toString(), "1500");
}

TEST_F(Settings, ProgramFolderIsTheExecutablesUnlessATestMovesIt) {
  EXPECT_EQ(ProgramFolder(), QDir::cleanPath(QCoreApplication::applicationDirPath()));
  SetProgramFolder("/tmp/cps-program/");
  EXPECT_EQ(ProgramFolder() + "/ZEP_port.txt", "/tmp/cps-program/ZEP_port.txt");
  SetProgramFolder("");
  EXPECT_EQ(ProgramFolder(), QDir::cleanPath(QCoreApplication::applicationDirPath()));
}

TEST(Runtime, SendKeysTakesEffectAfterTheHandlerReturns) {
  ActiveWindow window;
  ASSERT_TRUE(window.active);
  TextBox box(&window);
  box.show();
  box.SetFocus();
  QList<int> keys;
  int caretWhenHandlerEnded = -1;
  QObject::connect(&box, &TextBox::KeyDown, [&](int& code, int) {
    keys << code;
    if (code != kKeyUp) return;
    box.SetText("600");
    box.SetSelStart(0);
    EXPECT_TRUE(SendKeys("{END}"));
    caretWhenHandlerEnded = box.SelStart();
  });

  QTest::keyClick(&box, Qt::Key_Up);
  EXPECT_EQ(caretWhenHandlerEnded, 0);  // queued, not typed inside the handler
  DoEvents();
  EXPECT_EQ(box.SelStart(), 3);
  EXPECT_EQ(keys, (QList<int>{kKeyUp, kKeyEnd}));  // the sent key is a key like any other

  box.SetMaxLength(5);
  EXPECT_TRUE(SendKeys("7."));
  DoEvents();
  EXPECT_EQ(box.Text(), "6007.");
  EXPECT_FALSE(SendKeys("{NOSUCHKEY}"));
  EXPECT_FALSE(SendKeys("{END"));
}

TEST(Runtime, DoEventsRunsPendingWorkAndSleepPauses) {
  bool ran = false;
  QMetaObject::invokeMethod(
      qApp, [&] { ran = true; }, Qt::QueuedConnection);
  EXPECT_FALSE(ran);
  DoEvents();
  EXPECT_TRUE(ran);

  QElapsedTimer clock;
  clock.start();
  Sleep(20);
  EXPECT_GE(clock.elapsed(), 20);
}
