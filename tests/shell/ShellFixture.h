// Every shell GUI test starts with reset module state, a scratch program folder and data home,
// scripted dialogs, and no window; it ends by deleting whatever windows it left behind.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>

#include "editor/frmMain.h"
#include "model/ModuleState.h"
#include "platform/AppSettings.h"
#include "platform/CommandButton.h"
#include "platform/Dialogs.h"
#include "radiolink/frmPasswordW.h"
#include "radiolink/frmProgram.h"
#include "shell/MDIFormMain.h"
#include "shell/frmAbout.h"
#include "shell/frmSpla.h"
#include "support/AppTestBase.h"
#include "support/QtPrinters.h"

class ShellTest : public AppTestBase {
 protected:
  void SetUp() override {
    AppTestBase::SetUp();
    savedDataHome_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", DataHome().toLocal8Bit());
  }

  void TearDown() override {
    // Menu commands open the programming window; none is left for the next test to meet.
    DestroyFrmPasswordWForTests();
    DestroyFrmProgramForTests();
    AppTestBase::TearDown();
    qputenv("XDG_DATA_HOME", savedDataHome_);
  }

  // The start-up as the user sees it: the splash, then its OK button.
  void StartUp() {
    frmSpla().show();
    frmSpla().cmdPassOk->Press();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  QString ProgramFile(const QString& name) const { return folder_.path() + "/" + name; }
  QString DataHome() const { return folder_.path() + "/share"; }

  static void WriteFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
  }

  static QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  static const QVector<cps::ShownFileDialog>& FileDialogs() {
    return cps::DialogScript::FileDialogs();
  }

  QByteArray savedDataHome_;
};
