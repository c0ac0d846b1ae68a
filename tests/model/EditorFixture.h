// A fresh editor window over a reset module state for every test, with every dialog scripted.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QStringList>
#include <QTemporaryDir>
#include <initializer_list>

#include "editor/frmMain.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/AppSettings.h"
#include "platform/Dialogs.h"
#include "shell/MDIFormMain.h"
#include "support/AppTestBase.h"
#include "support/QtPrinters.h"

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

 private:
};
