// The port file: read at start-up into the Comm Port menu, written back at every close.
#include <sys/stat.h>

#include <future>
#include <thread>

#include "EditorFixture.h"
#include "editor/PortFile.h"

TEST_F(EditorTest, FirstStartCreatesThePortFileWithCom1) {
  ASSERT_FALSE(QFile::exists(PortFile()));
  StartEditor();
  EXPECT_EQ(ReadFile(PortFile()), QByteArray("\"com1\"\r\n"));
  EXPECT_EQ(CheckedComItem(), 1);
}

TEST_F(EditorTest, PortFileChecksTheNamedItemAloneAndCom8ForAnythingElse) {
  struct Case {
    QByteArray contents;
    int checked;
  };
  const Case cases[] =
      {
          {"\"com5\"\r\n", 5},   {"\"com7\"\r\n", 7},
          {"com2\r\n", 2},        // an unquoted field reads the same
          {"  \"com4\"\r\n", 4},  // blanks before the field are skipped
          {"\"COM5\"\r\n", 8},    // letter case counts
          {"\"com9\"\r\n", 8},   {"\"com8\"\r\n", 8},
          {"\"com\"\r\n", 8},    {"", 8},  // nothing to read
          {"\"com 5\"\r\n", 8},
      };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.contents.toStdString());
    WriteFile(PortFile(), c.contents);
    StartEditor();
    EXPECT_EQ(CheckedComItem(), c.checked);
    EXPECT_EQ(ReadFile(PortFile()), c.contents);  // reading leaves the file as it was
    DestroyMDIFormMainForTests();
  }
}

TEST_F(EditorTest, PortFileWriteNamesTheFirstCheckedOfCom1ToCom7ElseCom8) {
  StartEditor();
  MdiFormMain& main = MDIFormMain();

  for (int n = 1; n <= 8; ++n) main.mnuPortCom(n)->setChecked(n == 6 || n == 2);
  WritePortFile();
  EXPECT_EQ(ReadFile(PortFile()), QByteArray("\"com2\"\r\n"));

  for (int n = 1; n <= 8; ++n) main.mnuPortCom(n)->setChecked(false);
  WritePortFile();
  EXPECT_EQ(ReadFile(PortFile()), QByteArray("\"com8\"\r\n"));

  main.mnuPortCom(7)->setChecked(true);
  WritePortFile();
  EXPECT_EQ(ReadFile(PortFile()), QByteArray("\"com7\"\r\n"));
  EXPECT_TRUE(Messages().isEmpty());

  // A port file that cannot be written is said once, with the reason, and the exit goes on.
  const QString gone = folder_.path() + "/gone";
  cps::SetProgramFolder(gone);
  main.mnuFileExit_Click();
  ASSERT_EQ(Messages().size(), 1);
  EXPECT_EQ(Messages()[0].prompt, "The file \"" + gone +
                                      "/ZEP_port.txt\" could not be written: No such file or "
                                      "directory. The Comm Port choice is not kept.");
  EXPECT_EQ(Messages()[0].title, "Corvana CPS");
  EXPECT_FALSE(IsFrmMainLoaded());
  EXPECT_FALSE(IsMDIFormMainLoaded());
}

TEST(PortFileField, ReadsTheFirstFieldOnly) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/ZEP_port.txt";
  EXPECT_FALSE(ReadPortFileField(path).has_value());  // no file

  auto readBack = [&](const QByteArray& contents) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
    file.close();
    return ReadPortFileField(path).value_or("(none)");
  };
  EXPECT_EQ(readBack("\"com3\",\"com4\"\r\n"), "com3");
  EXPECT_EQ(readBack("com3,com4\r\n"), "com3");
  EXPECT_EQ(readBack("\"com6\"\r\n\"com1\"\r\n"), "com6");
  EXPECT_EQ(readBack("\"com6"), "com6");  // an unclosed quote ends with the line
  EXPECT_EQ(readBack(""), "");

  EXPECT_EQ(WritePortFileField(path, 4), "");
  EXPECT_EQ(ReadPortFileField(path).value_or("(none)"), "com4");

  EXPECT_EQ(WritePortFileField(dir.path() + "/missing/ZEP_port.txt", 1),
            "No such file or directory");

  // A pipe reads as an unreadable file, at once, and is not replaced. A read that waits for a
  // writer fails here instead of holding up the run.
  const QString pipe = dir.path() + "/pipe.txt";
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  std::packaged_task<std::optional<QString>()> read([pipe] { return ReadPortFileField(pipe); });
  std::future<std::optional<QString>> field = read.get_future();
  std::thread(std::move(read)).detach();
  ASSERT_EQ(field.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(field.get(), QString(""));
  EXPECT_EQ(WritePortFileField(pipe, 1), "it is not a regular file");
  struct stat info {};
  ASSERT_EQ(stat(QFile::encodeName(pipe).constData(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}
