// The start and end every test of the program's windows shares: module state reset, dialogs
// scripted and their records emptied, a scratch program folder (port file, templates, help);
// at the end every window the test left behind is deleted.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QVector>

#include "platform/Dialogs.h"

class AppTestBase : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  static const QVector<cps::ShownMessage>& Messages() { return cps::DialogScript::Messages(); }

  QTemporaryDir folder_;
};
