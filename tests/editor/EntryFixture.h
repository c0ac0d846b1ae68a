// The entry box tests start from reset module state, a scratch program folder and scripted
// dialogs, with the main window shown and active (so focus moves as on a desktop) and the
// editor's controls enabled as after a load without password. They end without any window.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "editor/EditorLock.h"
#include "editor/frmMain.h"
#include "model/ModuleState.h"
#include "platform/AppSettings.h"
#include "platform/Dialogs.h"
#include "platform/TextBox.h"
#include "shell/MDIFormMain.h"
#include "support/AppTestBase.h"
#include "support/QtPrinters.h"

class EntryTest : public AppTestBase {
 protected:
  void SetUp() override {
    AppTestBase::SetUp();

    MDIFormMain().show();
    MDIFormMain().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&MDIFormMain()));
    frmMain().tmrTimer1->stop();
    EnableEditor();
    frmMain().txtSerial->SetEnabled(true);
    cps::DialogScript::Reset();  // only what the test itself causes is looked at
    DataModified = false;
  }

  static FrmMain& Editor() { return frmMain(); }

  // The prompts of the messages shown so far, in order.
  static QStringList Prompts() {
    QStringList prompts;
    for (const cps::ShownMessage& m : Messages()) prompts << m.prompt;
    return prompts;
  }

  static void Type(cps::TextBox* box, const QString& text) { QTest::keyClicks(box, text); }
  static void PressEnter(cps::TextBox* box) { QTest::keyClick(box, Qt::Key_Return); }

  // Moves the focus from where it is to `control`, as a click or the Tab key would.
  static void FocusOn(QWidget* control) {
    control->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
  }

  static std::array<uint8_t, 400> ImageBytes() { return CodeplugImage.Bytes(); }

  void WriteProgramFile(const QString& name, const QByteArray& contents) {
    QFile file(folder_.path() + "/" + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
  }

  QString ProgramFolderPath() const { return folder_.path(); }
};
