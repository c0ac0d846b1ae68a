#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <cerrno>

#include "ShellFixture.h"
#include "model/CodeplugLayout.h"
#include "platform/CheckBox.h"
#include "platform/FileWrite.h"
#include "platform/ListBox.h"
#include "platform/TabControl.h"
#include "platform/TextBox.h"

namespace {

const char kFilter[] = "Programmer data file (*.cpg)|*.cpg";
const char kPrioError[] =
    "                       Error!  \r\n\r\nPrio. Scan Ch. No. not in active scan list   ";
const char kBadName[] =
    "   The file name, location, or format is not valid. Type the file name and location in the "
    "correct format.";

class FileSave : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    StartUp();
    for (int k = 0; k < 3; ++k) {
      frmMain().txtTKS_RxFrequency[k]->SetText("120.0");
      frmMain().txtTKS_TxFrequency[k]->SetText("120.0");
    }
    frmMain().chkPrioScanEnable->SetValue(0);
    DataModified = true;
  }

  void Save(const QString& path) {
    cps::DialogScript::ChooseNextFile(path);
    MDIFormMain().mnuFileSave_Click();
  }

  // The file's lines without their CR LF ends; the last line must end too.
  static QStringList Lines(const QString& path) {
    const QString text = QString::fromLatin1(ReadFile(path));
    EXPECT_TRUE(text.endsWith("\r\n"));
    QStringList lines = text.split("\r\n");
    lines.removeLast();
    return lines;
  }

  static void SetScanLists(const QStringList& outside, const QStringList& inside) {
    frmMain().LstChannel->Clear();
    for (const QString& channel : outside) frmMain().LstChannel->AddItem(channel);
    frmMain().LstScan->Clear();
    for (const QString& channel : inside) frmMain().LstScan->AddItem(channel);
  }
};

}  // namespace

TEST_F(FileSave, RefusesAUserToneBelow67HzCheckingReceiveThenTransmitPerTone) {
  frmMain().txtTKS_TxFrequency[0]->SetText("66.9");
  frmMain().txtTKS_RxFrequency[1]->SetText("50");
  MDIFormMain().mnuFileSave_Click();
  ASSERT_EQ(Messages().size(), 1);
  EXPECT_EQ(Messages()[0].prompt, "Invalid Frequency");
  EXPECT_EQ(Messages()[0].title, "Corvana CPS");
  EXPECT_EQ(Messages()[0].buttons, 0);
  EXPECT_EQ(frmMain().txtTKS_TxFrequency[0]->Text(), "");  // the first bad box is emptied
  EXPECT_EQ(frmMain().txtTKS_RxFrequency[1]->Text(), "50");
  EXPECT_TRUE(SaveAborted);
  EXPECT_TRUE(FileDialogs().isEmpty());

  // An empty box reads as 0 and is refused the same way; 67 passes.
  MDIFormMain().mnuFileSave_Click();
  EXPECT_EQ(Messages().size(), 2);
  frmMain().txtTKS_TxFrequency[0]->SetText("67");
  frmMain().txtTKS_RxFrequency[1]->SetText("67");
  MDIFormMain().mnuFileSave_Click();
  EXPECT_EQ(Messages().size(), 2);
  EXPECT_EQ(FileDialogs().size(), 1);
}

TEST_F(FileSave, RefusesAPriorityChannelOutsideTheScanList) {
  SetScanLists({"001", "003"}, {"002"});
  frmMain().chkPrioScanEnable->SetValue(1);
  frmMain().txtPrioScanChNo->SetText("3");
  frmMain().sstMain->SetTab(1);
  cps::DialogScript::Reset();  // the priority box has already warned about channel 3
  SaveAborted = false;
  MDIFormMain().mnuFileSave_Click();
  ASSERT_EQ(Messages().size(), 1);
  EXPECT_EQ(Messages()[0].prompt, kPrioError);
  EXPECT_EQ(Messages()[0].title, "Corvana CPS");
  EXPECT_EQ(frmMain().sstMain->Tab(), 0);
  EXPECT_TRUE(SaveAborted);
  EXPECT_TRUE(FileDialogs().isEmpty());

  // A member of the scan list passes, and so does any channel with priority scan off.
  frmMain().txtPrioScanChNo->SetText("2");
  MDIFormMain().mnuFileSave_Click();
  EXPECT_EQ(FileDialogs().size(), 1);
  frmMain().chkPrioScanEnable->SetValue(0);
  frmMain().txtPrioScanChNo->SetText("3");
  MDIFormMain().mnuFileSave_Click();
  EXPECT_EQ(FileDialogs().size(), 2);
  EXPECT_EQ(Messages().size(), 1);
}

TEST_F(FileSave, CancelOrNoNameWritesNothingAndAbortsTheSave) {
  MDIFormMain().mnuFileSave_Click();  // no answer scripted: the dialog is cancelled
  ASSERT_EQ(FileDialogs().size(), 1);
  EXPECT_EQ(FileDialogs()[0].kind, cps::FileDialogKind::Save);
  EXPECT_EQ(FileDialogs()[0].title, "Save");
  EXPECT_EQ(FileDialogs()[0].filter, kFilter);
  EXPECT_EQ(FileDialogs()[0].flags, 6);
  EXPECT_TRUE(SaveAborted);
  EXPECT_TRUE(DataModified);

  SaveAborted = false;
  Save("");
  EXPECT_TRUE(SaveAborted);
  EXPECT_TRUE(DataModified);
  EXPECT_TRUE(QDir(folder_.path()).entryList({"*.cpg"}).isEmpty());
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(FileSave, AsksAgainForAWronglyNamedOrTooLongFile) {
  cps::DialogScript::ChooseNextFile(ProgramFile("UPPER.CPG"));
  Save(ProgramFile("good.cpg"));
  ASSERT_EQ(Messages().size(), 1);
  EXPECT_EQ(Messages()[0].prompt, kBadName);
  EXPECT_EQ(Messages()[0].title, "Corvana CPS");
  ASSERT_EQ(FileDialogs().size(), 2);
  EXPECT_EQ(FileDialogs()[1].fileName, "");  // shown again with the name emptied
  EXPECT_FALSE(QFile::exists(ProgramFile("UPPER.CPG")));
  EXPECT_TRUE(QFile::exists(ProgramFile("good.cpg")));
  EXPECT_FALSE(SaveAborted);

  const QString longest = QString(123, 'n') + ".cpg";  // 127 characters
  const QString tooLong = QString(124, 'n') + ".cpg";  // 128 characters
  cps::DialogScript::ChooseNextFile(ProgramFile(tooLong));
  Save(ProgramFile(longest));
  ASSERT_EQ(Messages().size(), 2);
  EXPECT_EQ(Messages()[1].prompt,
            "The path you entered,\r\n'" + tooLong + "' is too long, Enter a shorter path.");
  EXPECT_EQ(Messages()[1].buttons, 64);
  EXPECT_FALSE(QFile::exists(ProgramFile(tooLong)));
  EXPECT_TRUE(QFile::exists(ProgramFile(longest)));
}

TEST_F(FileSave, WritesTheLegacyLayoutWithTheSaveTimeFields) {
  CodeplugImage[0] = 7;
  CodeplugImage[layout::kFixedByte11] = 1;
  CodeplugImage[layout::kFixedByte12] = 2;
  CodeplugImage[layout::kFixedBandwidthCode] = 0;
  CodeplugImage.Fill(layout::kSerialNumber, layout::kSerialNumber + 9, 0xFF);
  CodeplugImage.Fill(layout::kRegionalNumber, layout::kRegionalNumber + 15, 0xFF);
  frmMain().txtSerial->SetText("ab12");
  frmMain().txtSuper->SetText("K7");
  frmMain().txtTKS_RxFrequency[0]->SetText("67.0");

  Save(ProgramFile("legacy.cpg"));
  EXPECT_FALSE(SaveAborted);
  EXPECT_FALSE(DataModified);
  EXPECT_TRUE(Messages().isEmpty());

  const QStringList lines = Lines(ProgramFile("legacy.cpg"));
  ASSERT_EQ(lines.size(), 1 + 384);
  EXPECT_EQ(lines[0], "Corvana programmer data file");
  auto value = [&lines](int offset) { return lines[1 + offset]; };
  EXPECT_EQ(value(0), " 7 ");
  EXPECT_EQ(value(layout::kFixedByte11), " 60 ");
  EXPECT_EQ(value(layout::kFixedByte12), " 20 ");
  EXPECT_EQ(value(layout::kSerialWriteGate), " 0 ");
  // Receive tone 1 at 67.0 Hz: word 670 = 9E 02; its upper window count 847 = 4F 03.
  EXPECT_EQ(value(layout::UserToneRx(0)), " 158 ");
  EXPECT_EQ(value(layout::UserToneRx(0) + 1), " 2 ");
  EXPECT_EQ(value(layout::UserToneBlock(0)), " 79 ");
  EXPECT_EQ(value(layout::UserToneBlock(0) + 1), " 3 ");
  // The blank serial number from its box as typed, zero-filled; then the regional number.
  const QStringList serial = lines.mid(1 + layout::kSerialNumber, 10);
  EXPECT_EQ(serial, QStringList({" 97 ", " 98 ", " 49 ", " 50 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ",
                                 " 0 "}));
  EXPECT_EQ(value(layout::kRegionalNumber), " 75 ");
  EXPECT_EQ(value(layout::kRegionalNumber + 1), " 55 ");
  EXPECT_EQ(value(layout::kRegionalNumber + 2), " 0 ");
  EXPECT_EQ(CodeplugImage[layout::kSerialNumber], 'a');  // the image keeps what was written
}

TEST_F(FileSave, WritesTheCurrentLayoutForAFixedBandwidthCode) {
  CodeplugImage[layout::kFixedBandwidthCode] = 0x20;
  CodeplugImage[layout::kImageSize - 1] = 200;
  Save(ProgramFile("current.cpg"));
  const QStringList lines = Lines(ProgramFile("current.cpg"));
  ASSERT_EQ(lines.size(), 1 + 400);
  EXPECT_EQ(lines[0], "Corvana programmer data file extension");
  EXPECT_EQ(lines[1 + layout::kFixedBandwidthCode], " 32 ");
  EXPECT_EQ(lines[1 + layout::kImageSize - 1], " 200 ");
}

TEST_F(FileSave, CopiesThePasswordOnlyWhenThePasswordBoxItselfIsEnabled) {
  const QByteArray stored = "OLDPW";
  for (int i = 0; i < stored.size(); ++i) CodeplugImage[layout::kCodeplugPassword + i] = stored[i];
  CodeplugImage[layout::kPasswordLength] = 5;
  CodeplugImage[layout::kPasswordLength2] = 5;

  // At start-up the editor is locked: the stored password stays.
  frmMain().txtPassword->SetText("NEW1");
  Save(ProgramFile("locked.cpg"));
  const int password = layout::kCodeplugPassword;
  EXPECT_EQ(CodeplugImage[password], 'O');
  EXPECT_EQ(CodeplugImage[password + 4], 'W');
  EXPECT_EQ(CodeplugImage[layout::kPasswordLength], 5);

  // The box enabled, even while its windows are disabled: the typed password is copied.
  MDIFormMain().setEnabled(false);
  frmMain().txtPassword->SetEnabled(true);
  Save(ProgramFile("open.cpg"));
  EXPECT_EQ(CodeplugImage[password], 'N');
  EXPECT_EQ(CodeplugImage[password + 3], '1');
  EXPECT_EQ(CodeplugImage[password + 4], 0);
  EXPECT_EQ(CodeplugImage[layout::kPasswordLength], 4);
  EXPECT_EQ(CodeplugImage[layout::kPasswordLength2], 4);
  const QStringList lines = Lines(ProgramFile("open.cpg"));
  EXPECT_EQ(lines[1 + password], " 78 ");
  EXPECT_EQ(lines[1 + layout::kPasswordLength], " 4 ");
}

TEST_F(FileSave, AWriteErrorIsReportedAndKeepsTheDataUnsaved) {
  const QString path = ProgramFile("missing-folder/x.cpg");
  Save(path);
  ASSERT_EQ(Messages().size(), 1);
  EXPECT_EQ(Messages()[0].prompt,
            "The file \"" + path + "\" could not be written: No such file or directory.");
  EXPECT_EQ(Messages()[0].title, "Corvana CPS");
  EXPECT_TRUE(SaveAborted);
  EXPECT_TRUE(DataModified);
  EXPECT_FALSE(QFile::exists(path));

  // A pipe, or a link to one, is refused before anything is written; it stays a pipe.
  const QString pipe = ProgramFile("pipe.cpg");
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  const QString link = ProgramFile("link.cpg");
  ASSERT_TRUE(QFile::link(pipe, link));
  for (const QString& special : {pipe, link}) {
    DataModified = true;
    Save(special);
    ASSERT_EQ(Messages().size(), 1 + (special == pipe ? 1 : 2));
    EXPECT_EQ(Messages().last().prompt,
              "The file \"" + special + "\" cannot be written: it is not a regular file.");
    EXPECT_TRUE(SaveAborted);
    EXPECT_TRUE(DataModified);
  }
  struct stat info {};
  ASSERT_EQ(stat(QFile::encodeName(pipe).constData(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  EXPECT_TRUE(QFileInfo(link).isSymLink());

  // A link to a regular file is saved through and stays a link.
  const QString plain = ProgramFile("plain.cpg");
  WriteFile(plain, "old");
  const QString toPlain = ProgramFile("to-plain.cpg");
  ASSERT_TRUE(QFile::link(plain, toPlain));
  Save(toPlain);
  EXPECT_FALSE(SaveAborted);
  EXPECT_TRUE(QFileInfo(toPlain).isSymLink());
  EXPECT_TRUE(ReadFile(plain).startsWith("Corvana programmer data file"));

  // A sync that fails, as on failing media: the old file stays and the data stays unsaved.
  cps::SetSyncForTests([](int) {
    errno = EIO;
    return -1;
  });
  const auto syncBack = qScopeGuard([] { cps::SetSyncForTests(nullptr); });
  WriteFile(plain, "old");
  DataModified = true;
  Save(plain);
  EXPECT_EQ(Messages().last().prompt, "The file \"" + plain +
                                          "\" could not be written: Input/output error. Any "
                                          "earlier file of that name is unchanged.");
  EXPECT_TRUE(SaveAborted);
  EXPECT_TRUE(DataModified);
  EXPECT_EQ(ReadFile(plain), "old");
}
