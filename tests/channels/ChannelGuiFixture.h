// The main window with an editable editor showing a band-1 codeplug (450 to 470 MHz), its
// channel tab shown and active, every dialog scripted. Each test starts from here.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <initializer_list>

#include "channels/frmChannelToneOption.h"
#include "editor/FillChain.h"
#include "editor/frmMain.h"
#include "model/ChannelRecord.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/AppSettings.h"
#include "platform/Dialogs.h"
#include "platform/FlexGrid.h"
#include "platform/TabControl.h"
#include "platform/TextBox.h"
#include "shell/MDIFormMain.h"
#include "support/AppTestBase.h"
#include "support/QtPrinters.h"

// Until the application itself has taken `window` as its active window (the platform may report
// it active a little earlier), with a bound.
inline bool WaitUntilActive(QWidget* window) {
  return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

class ChannelGuiTest : public AppTestBase {
 protected:
  void SetUp() override {
    AppTestBase::SetUp();
    MDIFormMain().show();
    MDIFormMain().activateWindow();
    ASSERT_TRUE(WaitUntilActive(&MDIFormMain()));
    LoadCodeplug();
    cps::DialogScript::Reset();
  }

  // Band 1, 16 channels, all empty but these: channel 1 receives and sends on 460 MHz with
  // carrier squelch (in the scan list, the priority channel), channel 2 is a repeater pair
  // 455 / 460 MHz, channel 3 has only a receive frequency. The image is shown the way
  // File>Open shows it.
  void LoadCodeplug() {
    CodeplugImage[layout::kBandCode] = 1;
    CodeplugImage[layout::kRegionCode] = 0;
    for (int ch = 1; ch <= 16; ++ch) {
      WriteEmptyChannelRecord(ch);
      CodeplugImage[layout::ScanListSlot(ch)] = 0;
    }
    // 460 MHz: receive (460 - 45.1) / 6.25 kHz = 66384 = 01 03 50, transmit 73600 = 01 1F 80;
    // 455 MHz receive: 65584 = 01 00 30.
    SetRecord(1, {0x50, 0x03, 0x01, 0x80, 0x1F, 0x01, 0, 0, 0x81, 0x80});
    SetRecord(2, {0x30, 0x00, 0x01, 0x80, 0x1F, 0x01, 0, 0, 0x81, 0x80});
    SetRecord(3, {0x50, 0x03, 0x01, 0x00, 0x00, 0xFC, 0, 0, 0x81, 0x80});
    for (int ch = 1; ch <= 3; ++ch) {
      CodeplugImage[layout::RxStepFlag(ch)] = 1;
      CodeplugImage[layout::TxStepFlag(ch)] = 1;
    }
    CodeplugImage[layout::ScanListSlot(1)] = 1;
    CodeplugImage.SetWord(layout::kScanListBitmap, 0x0001);
    CodeplugImage[layout::kPrioScanChannel] = 1;
    CodeplugLoading = true;
    RefillShortPressLists();
    FillLoadedImageChain();
    CodeplugLoading = false;
    f().sstMain->SetTab(1);
    DataModified = false;
  }

  FrmMain& f() { return frmMain(); }
  cps::FlexGrid& grid() { return *f().fgChannel; }
  cps::TextBox& editor() { return *f().txtChannelInput; }
  QString Cell(int row, int col) { return grid().TextMatrix(row, col); }

  static void SetRecord(int channel, std::initializer_list<int> bytes) {
    int i = layout::ChannelOffset(channel);
    for (int b : bytes) CodeplugImage[i++] = static_cast<uint8_t>(b);
  }
  static int Byte(int channel, int field) {
    return CodeplugImage[layout::ChannelOffset(channel) + field];
  }

  static QStringList Messages() {
    QStringList texts;
    for (const cps::ShownMessage& m : cps::DialogScript::Messages()) texts << m.prompt;
    return texts;
  }

  // Makes (row, col) the current cell and gives the grid the focus, as the keyboard would.
  void GoTo(int row, int col) {
    if (QApplication::activeWindow() != &MDIFormMain()) MDIFormMain().activateWindow();
    ASSERT_TRUE(WaitUntilActive(&MDIFormMain()));
    grid().SetRow(row);
    grid().SetCol(col);
    grid().SetFocus();
    QCoreApplication::processEvents();
  }

  // Opens the tone/code dialog by Enter on (row, col) and waits until it has the keyboard.
  void OpenDialogAt(int row, int col) {
    GoTo(row, col);
    Press(Qt::Key_Return);
    ASSERT_TRUE(IsFrmChannelToneOptionVisible());
    ASSERT_TRUE(WaitUntilActive(&frmChannelToneOption()));
  }

  // Key strokes go where the focus is, as on the desktop.
  static QWidget* Focused() { return QApplication::focusWidget(); }
  static void Press(Qt::Key key) { QTest::keyClick(Focused(), key); }
  static void Type(const QString& text) {
    for (QChar c : text) QTest::keyClick(Focused(), c.toLatin1());
  }

  QPoint PixelOf(int row, int col) {
    return grid().visualRect(grid().model()->index(row, col)).center();
  }

 private:
};
