// Start-up from the splash's OK to the main window with the filled, disabled editor, offscreen.
// Target: well under 100 ms per start-up.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "editor/frmMain.h"
#include "model/ModuleState.h"
#include "platform/AppSettings.h"
#include "platform/CommandButton.h"
#include "platform/Dialogs.h"
#include "shell/MDIFormMain.h"
#include "shell/frmSpla.h"

static void BM_StartUpFromSplashOk(benchmark::State& state) {
  QTemporaryDir folder;
  cps::SetProgramFolder(folder.path());
  qputenv("XDG_DATA_HOME", (folder.path() + "/share").toLocal8Bit());
  cps::DialogScript::SetScripted(true);
  for (auto _ : state) {
    state.PauseTiming();
    ResetModuleState();
    frmSpla().show();
    state.ResumeTiming();

    frmSpla().cmdPassOk->Press();
    benchmark::DoNotOptimize(CodeplugImage[3]);

    state.PauseTiming();
    DestroyMDIFormMainForTests();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
  }
  cps::SetProgramFolder(QString());
}
BENCHMARK(BM_StartUpFromSplashOk)->Unit(benchmark::kMillisecond);
