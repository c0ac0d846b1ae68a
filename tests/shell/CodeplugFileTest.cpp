#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <optional>
#include <thread>

#include "model/ModuleState.h"
#include "shell/CodeplugFile.h"
#include "support/QtPrinters.h"

namespace {

const QByteArray kCurrent = "Corvana programmer data file extension";
const QByteArray kLegacy = "Corvana programmer data file";

QString Put(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  const QString path = dir.filePath(name);
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  return path;
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The value line written for image byte `offset` (lines after the header).
QByteArray ValueLine(const QByteArray& file, int offset) {
  return file.split('\n').value(offset + 1) + '\n';
}

// A file of `count` values, value(i) on line i, each line " v " CR LF like a saved file.
QByteArray FileOf(const QByteArray& header, int count,
                  const std::function<QByteArray(int)>& value) {
  QByteArray text = header + "\r\n";
  for (int i = 0; i < count; ++i) text += " " + value(i) + " \r\n";
  return text;
}

QByteArray Num(int v) { return QByteArray::number(v); }
QByteArray ByteNum(int v) { return QByteArray::number(v % 256); }

void FillPattern(uint8_t seed) {
  for (int i = 0; i < 400; ++i) CodeplugImage[i] = static_cast<uint8_t>(i * 37 + seed);
}

int OpenFileCount() {
  int count = 0;
  for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

// What `read` answers for path, or nothing when it has not answered within a few seconds. A
// reader that hangs is left behind on its own thread and ends with the test program.
std::optional<CodeplugFileStatus> StatusWithin(CodeplugFileResult (*read)(const QString&),
                                               const QString& path) {
  std::packaged_task<CodeplugFileStatus()> task([read, path] { return read(path).status; });
  std::future<CodeplugFileStatus> answer = task.get_future();
  std::thread(std::move(task)).detach();
  if (answer.wait_for(std::chrono::seconds(10)) != std::future_status::ready) return std::nullopt;
  return answer.get();
}

}  // namespace

TEST(CopyToFile, WritesHeaderThenOneBlankedValuePerLine) {
  ResetModuleState();
  QTemporaryDir dir;
  CodeplugImage[7] = 7;
  CodeplugImage[100] = 165;
  CodeplugImage[378] = 5;
  CodeplugImage[397] = 0x10;
  const QString path = dir.filePath("a.cpg");
  ASSERT_TRUE(CopyToFile(path, {}).ok());

  const QByteArray file = Contents(path);
  EXPECT_TRUE(file.startsWith(kCurrent + "\r\n"));
  EXPECT_EQ(file.mid(40, 5), QByteArray(" 0 \r\n"));
  EXPECT_EQ(file.mid(75, 5), QByteArray(" 7 \r\n"));  // 40 + 7 lines of five bytes
  EXPECT_EQ(ValueLine(file, 11), QByteArray(" 60 \r\n"));
  EXPECT_EQ(ValueLine(file, 12), QByteArray(" 20 \r\n"));
  EXPECT_EQ(ValueLine(file, 100), QByteArray(" 165 \r\n"));
  EXPECT_TRUE(file.endsWith(" 16 \r\n 0 \r\n 0 \r\n"));
  // 40 + 400 * 5, one more byte for each of 60, 20, 16 and two for 165.
  EXPECT_EQ(file.size(), 2045);
  EXPECT_EQ(file.count("\r\n"), 401);
  EXPECT_EQ(CodeplugImage[11], 60);
  EXPECT_EQ(CodeplugImage[12], 20);
  EXPECT_EQ(CodeplugImage[378], 0);
}

TEST(CopyToFile, ChoosesLayoutFromByte397AndLegacyLayout) {
  QTemporaryDir dir;
  struct Case {
    uint8_t byte397;
    bool legacy;
    QByteArray header;
    int size;  // all bytes 0 but 60, 20 and byte 397
  };
  for (const Case& c :
       {Case{0x40, false, kLegacy, 30 + 384 * 5 + 2}, Case{0x00, false, kLegacy, 30 + 384 * 5 + 2},
        Case{0x30, false, kCurrent, 40 + 400 * 5 + 3},
        Case{0x20, true, kLegacy, 30 + 384 * 5 + 2}}) {
    ResetModuleState();
    CodeplugImage[397] = c.byte397;
    LegacyLayout = c.legacy;
    const QString path = dir.filePath("layout.cpg");
    ASSERT_TRUE(CopyToFile(path, {}).ok());
    const QByteArray file = Contents(path);
    EXPECT_TRUE(file.startsWith(c.header + "\r\n ")) << int(c.byte397);
    EXPECT_EQ(file.size(), c.size) << int(c.byte397);
  }
}

TEST(CopyToFile, TakesSerialAndKitBoxesOnlyIntoBlankFields) {
  QTemporaryDir dir;
  const QString path = dir.filePath("serial.cpg");

  ResetModuleState();
  CodeplugImage.Fill(336, 345, 0xFF);
  CodeplugImage.Fill(354, 369, 0xFF);
  ASSERT_TRUE(CopyToFile(path, {"ab12", "QKLU5204AAK"}).ok());
  const uint8_t serial[10] = {'a', 'b', '1', '2', 0, 0, 0, 0, 0, 0};
  const uint8_t kit[16] = {'Q', 'K', 'L', 'U', '5', '2', '0', '4', 'A', 'A', 'K', 0, 0, 0, 0, 0};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(CodeplugImage[336 + i], serial[i]) << i;
  for (int i = 0; i < 16; ++i) EXPECT_EQ(CodeplugImage[354 + i], kit[i]) << i;
  QByteArray file = Contents(path);
  EXPECT_EQ(ValueLine(file, 336), QByteArray(" 97 \r\n"));
  EXPECT_EQ(ValueLine(file, 345), QByteArray(" 0 \r\n"));
  EXPECT_EQ(ValueLine(file, 354), QByteArray(" 81 \r\n"));

  // A serial number present: the kit box is not consulted, blank bytes are written as 255.
  ResetModuleState();
  CodeplugImage.Fill(336, 345, 0xFF);
  CodeplugImage[336] = 'S';
  CodeplugImage.Fill(354, 369, 0xFF);
  ASSERT_TRUE(CopyToFile(path, {"XYZ", "QKLU5204AAK"}).ok());
  EXPECT_EQ(CodeplugImage[337], 0xFF);
  EXPECT_TRUE(CodeplugImage.AllEqual(354, 369, 0xFF));
  file = Contents(path);
  for (int i = 354; i <= 369; ++i) EXPECT_EQ(ValueLine(file, i), QByteArray(" 255 \r\n")) << i;

  // An empty serial box gives ten zeros; a regional number present stays; an overlong box
  // never runs past its field.
  ResetModuleState();
  CodeplugImage.Fill(336, 345, 0xFF);
  CodeplugImage.Fill(354, 369, 0xFF);
  CodeplugImage[354] = 'Q';
  ASSERT_TRUE(CopyToFile(path, {"", "KIT"}).ok());
  EXPECT_TRUE(CodeplugImage.AllEqual(336, 345, 0));
  EXPECT_EQ(CodeplugImage[354], 'Q');
  EXPECT_EQ(CodeplugImage[355], 0xFF);

  ResetModuleState();
  CodeplugImage.Fill(336, 345, 0xFF);
  CodeplugImage[346] = 9;
  ASSERT_TRUE(CopyToFile(path, {"ABCDEFGHIJKL", ""}).ok());
  EXPECT_EQ(CodeplugImage[345], 'J');
  EXPECT_EQ(CodeplugImage[346], 9);
}

TEST(CopyToBox, ReadsValuesSeveralToALineWithCommasAndLfOnlyLines) {
  ResetModuleState();
  QTemporaryDir dir;
  CodeplugImage.Fill(384, 399, 0xAB);
  CodeplugFileInvalid = true;
  QByteArray text = "  " + kLegacy + "\n0 1 2\n3,4 , 5\n\n   6   \r\n7,\r\n";
  for (int i = 8; i < 384; ++i) text += Num(i % 256) + (i % 2 ? "\n" : "\r\n");
  text += "trailing text is never read, 999\n";
  ASSERT_TRUE(CopyToBox(Put(dir, "legacy.cpg", text)).ok());
  for (int i = 0; i < 384; ++i) ASSERT_EQ(CodeplugImage[i], i % 256) << i;
  EXPECT_TRUE(CodeplugImage.AllEqual(384, 399, 0xAB));
  EXPECT_TRUE(LegacyLayout);
  EXPECT_FALSE(CodeplugFileInvalid);

  // The header item ends at a comma; values may follow on its line.
  text = kCurrent + ",7,8\r\n";
  for (int i = 2; i < 400; ++i) text += " 200 \r\n";
  ASSERT_TRUE(CopyToBox(Put(dir, "current.cpg", text)).ok());
  EXPECT_EQ(CodeplugImage[0], 7);
  EXPECT_EQ(CodeplugImage[1], 8);
  EXPECT_EQ(CodeplugImage[399], 200);
  EXPECT_FALSE(LegacyLayout);
}

TEST(CopyToBox, RefusesHeaderDifferingInCaseOrTrailingBlank) {
  QTemporaryDir dir;
  for (const QByteArray& header :
       {QByteArray("corvana programmer data file extension"),
        QByteArray("Corvana Programmer Data File"), kLegacy + " ", QByteArray()}) {
    ResetModuleState();
    FillPattern(3);
    const ByteImage before = CodeplugImage;
    LegacyLayout = true;
    const auto result = CopyToBox(Put(dir, "case.cpg", FileOf(header, 400, ByteNum)));
    EXPECT_EQ(result.status, CodeplugFileStatus::kInvalidHeader) << header.constData();
    EXPECT_EQ(result.message, QString("Error! invalid data type     "));
    EXPECT_TRUE(CodeplugFileInvalid);
    EXPECT_TRUE(LegacyLayout);
    EXPECT_EQ(CodeplugImage.Bytes(), before.Bytes());
  }
}

TEST(CodeplugFile, RoundTripGivesTheSameImageAndLegacyStaysLegacy) {
  ResetModuleState();
  QTemporaryDir dir;
  FillPattern(11);
  CodeplugImage[397] = 0x20;
  const QString path = dir.filePath("trip.cpg");
  ASSERT_TRUE(CopyToFile(path, {}).ok());
  const ByteImage saved = CodeplugImage;
  ResetModuleState();
  LegacyLayout = true;
  ASSERT_TRUE(CopyToBox(path).ok());
  EXPECT_EQ(CodeplugImage.Bytes(), saved.Bytes());
  EXPECT_FALSE(LegacyLayout);

  // A legacy file read over a valid identity block is saved legacy again.
  ASSERT_TRUE(CopyToBox(Put(dir, "old.cpg", FileOf(kLegacy, 384, ByteNum))).ok());
  EXPECT_EQ(CodeplugImage[397], 0x20);
  ASSERT_TRUE(CopyToFile(path, {}).ok());
  EXPECT_TRUE(Contents(path).startsWith(kLegacy + "\r\n "));
}

TEST(CopyToBox, FailedReadChangesNothingAndClosesTheFile) {
  QTemporaryDir dir;
  const auto withValue = [](int at, const QByteArray& bad) {
    return FileOf(kCurrent, 400, [=](int i) { return i == at ? bad : Num(i % 200); });
  };
  struct Case {
    QByteArray text;
    CodeplugFileStatus status;
    QString mentions;
  };
  for (const Case& c :
       {Case{withValue(199, "300"), CodeplugFileStatus::kValueOutOfRange, "300"},
        Case{withValue(5, "-1"), CodeplugFileStatus::kValueOutOfRange, "-1"},
        Case{withValue(399, "7.5"), CodeplugFileStatus::kValueNotWhole, "7.5"},
        Case{withValue(9, "7,,8"), CodeplugFileStatus::kValueNotWhole, "byte 10"},
        Case{FileOf(kCurrent, 384, ByteNum), CodeplugFileStatus::kEndedEarly, "384"},
        Case{"", CodeplugFileStatus::kEndedEarly, "empty"}}) {
    ResetModuleState();
    FillPattern(5);
    const ByteImage before = CodeplugImage;
    LegacyLayout = true;
    const int filesOpen = OpenFileCount();
    const QString path = Put(dir, "bad%2%3.cpg", c.text);
    const auto result = CopyToBox(path);
    EXPECT_EQ(result.status, c.status) << c.mentions.toStdString();
    EXPECT_TRUE(result.message.contains(path)) << result.message.toStdString();
    EXPECT_TRUE(result.message.contains(c.mentions)) << result.message.toStdString();
    EXPECT_EQ(CodeplugImage.Bytes(), before.Bytes()) << c.mentions.toStdString();
    EXPECT_TRUE(LegacyLayout);
    EXPECT_FALSE(CodeplugFileInvalid);
    EXPECT_EQ(OpenFileCount(), filesOpen);
  }
  const auto missing = CopyToBox(dir.filePath("missing.cpg"));
  EXPECT_EQ(missing.status, CodeplugFileStatus::kCannotOpen);
  EXPECT_TRUE(missing.message.contains(dir.filePath("missing.cpg")));
  EXPECT_EQ(CopyToBox(dir.path()).status, CodeplugFileStatus::kCannotOpen);

  // Only a regular file is read: opening a pipe without a writer would block, and /dev/zero
  // would be read for ever. A reader that hangs fails here instead of holding up the run.
  const QString pipe = dir.filePath("pipe.cpg");
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  const ByteImage before = CodeplugImage;
  for (const QString& path : {pipe, QStringLiteral("/dev/zero"), QStringLiteral("/dev/null")}) {
    EXPECT_EQ(StatusWithin(CopyToBox, path), CodeplugFileStatus::kCannotOpen) << path.toStdString();
    EXPECT_EQ(StatusWithin(ReadTemplateFile, path), CodeplugFileStatus::kCannotOpen)
        << path.toStdString();
  }
  const QString refusal = CopyToBox("/dev/null").message;
  EXPECT_TRUE(refusal.startsWith("The file \"/dev/null\" cannot be opened: "))
      << refusal.toStdString();
  EXPECT_EQ(CodeplugImage.Bytes(), before.Bytes());
}

TEST(CopyToFile, FailedWriteReportsAndLeavesTheOldFile) {
  ResetModuleState();
  QTemporaryDir dir;
  const QString notAFolder = Put(dir, "plain.cpg", "old contents");
  for (const QString& path : {notAFolder + "/x.cpg", dir.filePath("no/such/dir/x.cpg")}) {
    const auto result = CopyToFile(path, {});
    EXPECT_EQ(result.status, CodeplugFileStatus::kCannotWrite);
    EXPECT_TRUE(result.message.contains(path)) << result.message.toStdString();
  }

  // A write that fails part-way (the file size limit) must not touch the existing file.
  struct rlimit old;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  struct rlimit small = old;
  small.rlim_cur = 100;
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const auto result = CopyToFile(notAFolder, {});
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(result.status, CodeplugFileStatus::kCannotWrite);
  EXPECT_TRUE(result.message.contains(": File too large.")) << result.message.toStdString();
  EXPECT_EQ(Contents(notAFolder), QByteArray("old contents"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"plain.cpg"});
}

TEST(ReadTemplateFile, SkipsFirstItemAndKeepsBytesThatDoNotFit) {
  ResetModuleState();
  QTemporaryDir dir;
  CodeplugImage.Fill(0, 399, 0xEE);
  LegacyLayout = CodeplugFileInvalid = true;
  const auto value = [](int i) { return i == 199 ? QByteArray("300") : Num((i + 1) % 256); };
  ASSERT_TRUE(ReadTemplateFile(Put(dir, "t.cpg", FileOf("ANY first LINE", 384, value))).ok());
  for (int i = 0; i < 384; ++i) {
    ASSERT_EQ(CodeplugImage[i], i == 199 ? 0xEE : (i + 1) % 256) << i;
  }
  EXPECT_TRUE(CodeplugImage.AllEqual(384, 399, 0xEE));
  EXPECT_TRUE(LegacyLayout && CodeplugFileInvalid);

  // A short template, a value that is not a number or a missing file loads nothing.
  const ByteImage before = CodeplugImage;
  const auto letters = [](int i) { return i == 50 ? QByteArray("abc") : QByteArray("1"); };
  EXPECT_EQ(ReadTemplateFile(Put(dir, "s.cpg", FileOf(kLegacy, 383, ByteNum))).status,
            CodeplugFileStatus::kEndedEarly);
  EXPECT_EQ(ReadTemplateFile(Put(dir, "n.cpg", FileOf(kLegacy, 384, letters))).status,
            CodeplugFileStatus::kValueNotWhole);
  EXPECT_EQ(ReadTemplateFile(dir.filePath("none.cpg")).status, CodeplugFileStatus::kCannotOpen);
  EXPECT_EQ(CodeplugImage.Bytes(), before.Bytes());
}
