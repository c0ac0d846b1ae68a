// The file roads, offscreen, with the dialogs answered by the script: File>Open of a 16-channel
// codeplug (the file read and the whole fill chain into the editor's controls) and File>Save.
// Targets on a desktop machine: an open well under 15 ms, a save well under 5 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "editor/frmMain.h"
#include "model/CodeplugLayout.h"
#include "model/ModuleState.h"
#include "platform/AppSettings.h"
#include "platform/CommandButton.h"
#include "platform/Dialogs.h"
#include "platform/FlexGrid.h"
#include "shell/MDIFormMain.h"
#include "shell/frmSpla.h"

namespace {

// A band-1 codeplug with all sixteen channels on 464.025 MHz, tone 103.5 Hz both ways, in the
// scan list, and the user tones 120.0 Hz; with `sparse`, only channel 1 is used and the options
// and timers differ, so that opening the two files in turn changes every control.
QByteArray CodeplugFile(bool sparse) {
  ByteImage image;
  image[layout::kChannelCount] = 16;
  image[layout::kBandCode] = 1;
  const int header[] = {0xEC, 6, 35, 6, 8, 10, 60, 20, 10, 1};
  for (int i = 0; i < 10; ++i) image[layout::kOptionBits + i] = header[i];
  if (sparse) {
    image[layout::kOptionBits] = 0x05;
    image[layout::kTotTime] = 30;
  }
  const int record[] = {212, 5, 1, 4, 34, 1, 14, 14, 0x8D, 0x80};
  const int empty[] = {0x00, 0x00, 0xFC, 0x00, 0x00, 0xFC, 0x00, 0x00, 0x81, 0x80};
  for (int channel = 1; channel <= 16; ++channel) {
    const int* bytes = sparse && channel > 1 ? empty : record;
    for (int i = 0; i < 10; ++i) image[layout::ChannelOffset(channel) + i] = bytes[i];
    image[layout::RxStepFlag(channel)] = 1;
    image[layout::TxStepFlag(channel)] = 1;
    image[layout::ScanListSlot(channel)] = channel;
  }
  for (int k = 0; k < 3; ++k) {
    image.SetWord(layout::UserToneRx(k), sparse ? 2000 : 1200);
    image.SetWord(layout::UserToneTx(k), sparse ? 2000 : 1200);
  }
  const int buttons[] = {3, 4, 5, 11};
  for (int i = 0; i < 4; ++i) image[layout::kButton1Short + i] = buttons[i];
  image[layout::kRegionCode] = 2;
  image[layout::kFixedBandwidthCode] = 0x20;
  QByteArray text = "Corvana programmer data file extension\r\n";
  for (int i = 0; i < layout::kImageSize; ++i) text += " " + QByteArray::number(image[i]) + " \r\n";
  return text;
}

// The program started from the splash, in a scratch program folder.
class Program {
 public:
  Program() {
    cps::SetProgramFolder(folder_.path());
    qputenv("XDG_DATA_HOME", (folder_.path() + "/share").toLocal8Bit());
    cps::DialogScript::SetScripted(true);
    ResetModuleState();
    frmSpla().show();
    frmSpla().cmdPassOk->Press();
    for (bool sparse : {false, true}) {
      QFile file(Path(sparse ? "sparse.cpg" : "busy.cpg"));
      file.open(QIODevice::WriteOnly);
      file.write(CodeplugFile(sparse));
    }
  }
  ~Program() {
    DestroyMDIFormMainForTests();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    cps::SetProgramFolder(QString());
  }
  QString Path(const QString& name) const { return folder_.path() + "/" + name; }

 private:
  QTemporaryDir folder_;
};

// Each iteration opens the other of the two files.
void BM_FileOpen(benchmark::State& state) {
  Program program;
  const QString paths[] = {program.Path("busy.cpg"), program.Path("sparse.cpg")};
  int next = 0;
  for (auto _ : state) {
    DataModified = false;  // no save question
    cps::DialogScript::Reset();
    cps::DialogScript::ChooseNextFile(paths[next]);
    next = 1 - next;
    MDIFormMain().mnuFileOpen_Click();
    benchmark::DoNotOptimize(CodeplugImage[layout::kOptionBits]);
  }
  if (!cps::DialogScript::Messages().isEmpty()) state.SkipWithError("the open reported a problem");
  const QString lastRow = frmMain().fgChannel->TextMatrix(16, 1);
  if (lastRow != (next == 1 ? "464.02500" : "")) state.SkipWithError("the grid was not filled");
}
BENCHMARK(BM_FileOpen)->Unit(benchmark::kMillisecond);

void BM_FileSave(benchmark::State& state) {
  Program program;
  cps::DialogScript::ChooseNextFile(program.Path("busy.cpg"));
  MDIFormMain().mnuFileOpen_Click();
  const QString path = program.Path("saved.cpg");
  for (auto _ : state) {
    cps::DialogScript::Reset();
    cps::DialogScript::ChooseNextFile(path);
    MDIFormMain().mnuFileSave_Click();
    benchmark::DoNotOptimize(SaveAborted);
  }
  if (SaveAborted) state.SkipWithError("the save did not complete");
}
BENCHMARK(BM_FileSave)->Unit(benchmark::kMillisecond);

}  // namespace
