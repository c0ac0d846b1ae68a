#include "support/AppTestBase.h"

#include <QCoreApplication>
#include <QEvent>

#include "channels/frmChannelToneOption.h"
#include "editor/frmMain.h"
#include "model/ModuleState.h"
#include "platform/AppSettings.h"
#include "shell/MDIFormMain.h"
#include "shell/frmAbout.h"
#include "shell/frmProtection.h"
#include "shell/frmSpla.h"

void AppTestBase::SetUp() {
  ASSERT_TRUE(folder_.isValid());
  ResetModuleState();
  cps::DialogScript::SetScripted(true);
  cps::DialogScript::Reset();
  cps::SetProgramFolder(folder_.path());
}

void AppTestBase::TearDown() {
  UnloadFrmChannelToneOption();
  SetPreviewVisibleHook({});
  SetProgramWindowHooks({}, {});
  DestroyFrmProtectionForTests();
  DestroyFrmAboutForTests();
  DestroyFrmSplaForTests();
  DestroyMDIFormMainForTests();
  if (IsFrmMainLoaded()) DestroyFrmMainForTests();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  cps::DialogScript::Reset();
  cps::SetProgramFolder(QString());
}
