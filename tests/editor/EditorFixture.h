// Every editor test starts from reset module state, a scratch program folder and scripted
// dialogs, and ends by deleting the windows it left behind. EditorTest starts with an empty
// settings store and no window; EditorFixture with a fresh editor window showing a new codeplug.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <initializer_list>
#include <vector>

#include "editor/frmMain.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/AppSettings.h"
#include "platform/Dialogs.h"
#include "platform/Label.h"
#include "platform/StatusBar.h"
#include "platform/TextBox.h"
#include "platform/UpDown.h"
#include "shell/MDIFormMain.h"
#include "support/AppTestBase.h"
#include "support/QtPrinters.h"

// The two groups of scan controls that the option boxes and the editor lock switch together.
inline std::vector<QWidget*> SpeedAndHang(FrmMain& f) {
  return {f.lblScanSpeedTime, f.txtScanSpeedTime, f.udScanSpeedTime,
          f.lblScanDelayTime, f.txtScanDelayTime, f.udScanDelayTime};
}
inline std::vector<QWidget*> PriorityAndInterval(FrmMain& f) {
  return {f.lblPrioScanChNo, f.txtPrioScanChNo, f.udPrioScanChNo,
          f.lblLookBackTime, f.txtLookBackTime, f.udLookBackTime};
}

class EditorTest : public AppTestBase {
 protected:
  void SetUp() override {
    AppTestBase::SetUp();
    ClearSettings();
  }

  // The start-up as far as the editor goes: the main window's Load creates the editor, and the
  // main window is shown. The editor's own timer is stopped so that only the tests tick it.
  FrmMain& StartEditor() {
    MDIFormMain().show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&MDIFormMain()));
    frmMain().tmrTimer1->stop();
    return frmMain();
  }

  static void ClearSettings() {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, cps::kAppTitle,
                       cps::kAppTitle);
    settings.clear();
    settings.sync();
  }

  static QString StoredSetting(const char* key) {
    return cps::GetSetting("Settings", key, "(missing)");
  }

  QString PortFile() const { return folder_.path() + "/ZEP_port.txt"; }

  static void WriteFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
  }

  static QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // The Com item that is checked, 1..8; 0 when none or more than one is.
  static int CheckedComItem() {
    int checked = 0;
    for (int n = 1; n <= 8; ++n) {
      if (!MDIFormMain().mnuPortCom(n)->isChecked()) continue;
      if (checked != 0) return 0;
      checked = n;
    }
    return checked;
  }

  static QString HintPanel() { return frmMain().sbStatusBar->PanelText(1); }

  // The pointer moves over a control near its top-left corner, through the window system, so
  // the event reaches whatever lies there (a list's viewport, a spin control's arrow).
  static void MoveMouseOver(QWidget* control) { QTest::mouseMove(control, QPoint(5, 5)); }
};

class EditorFixture : public AppTestBase {
 protected:
  void SetUp() override {
    AppTestBase::SetUp();
    frmMain();  // its Load builds and shows the new codeplug
    cps::DialogScript::Reset();
  }

  FrmMain& f() { return frmMain(); }

  // Whether the control itself is switched on (a disabled parent does not count).
  static bool On(const QWidget* w) { return !w->testAttribute(Qt::WA_ForceDisabled); }

  // Writes the ten record bytes of channel n.
  static void SetRecord(int channel, std::initializer_list<int> bytes) {
    int i = layout::ChannelOffset(channel);
    for (int b : bytes) CodeplugImage[i++] = static_cast<uint8_t>(b);
  }

  static QStringList Messages() {
    QStringList texts;
    for (const cps::ShownMessage& m : cps::DialogScript::Messages()) texts << m.prompt;
    return texts;
  }
};
