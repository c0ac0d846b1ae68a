#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "shell/FileAss.h"
#include "support/QtPrinters.h"

namespace {

struct Shown {
  QString text;
  int buttons;
  QString title;
};

class FileAssociation : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    appPath_ = dir_.path() + "/V07.31";
    QFile marker(appPath_);
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
  }

  AssociationMessage Recorder() {
    return [this](const QString& t, int b, const QString& title) {
      shown_.push_back({t, b, title});
    };
  }

  bool Register(DesktopAssociationRegistry& registry, QString extension, QString params,
                bool setIcon, QString iconPath, bool showErrors, QString appPath = {}) {
    QString verb = "Open";
    return CreateFileAssociation(registry, Recorder(), extension, "Text File", "Corvana CPS File",
                                 verb, appPath.isEmpty() ? appPath_ : appPath, params, setIcon,
                                 iconPath, showErrors);
  }

  QTemporaryDir dir_;
  QString appPath_;
  std::vector<Shown> shown_;
};

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST_F(FileAssociation, WritesTheKeyLayoutWithZeroTerminatedValues) {
  DesktopAssociationRegistry registry(dir_.path() + "/share", "/opt/cps/corvana-cps");
  QString extension = "cpg";
  QString params = "  -x  ";
  QString verb = "Open";
  ASSERT_TRUE(CreateFileAssociation(registry, Recorder(), extension, "Text File",
                                    "Corvana CPS File", verb, appPath_, params, true,
                                    " /opt/cps/Corvana.ico ", true));
  EXPECT_EQ(extension, ".cpg");  // the caller's variables are rewritten
  EXPECT_EQ(verb, "Text File\\shell\\Open\\command");
  EXPECT_EQ(params, " -x");

  EXPECT_EQ(registry.Value(".cpg"), "Text File");
  EXPECT_EQ(registry.Value("Text File"), "Corvana CPS File");
  EXPECT_EQ(registry.Value("Text File\\shell\\Open\\command"), appPath_ + " -x %1");
  EXPECT_EQ(registry.Value("Text File\\DefaultIcon"), "/opt/cps/Corvana.ico");
  EXPECT_TRUE(shown_.empty());
}

TEST_F(FileAssociation, EmptyIconPathStoresTheApplicationWithIndexZero) {
  DesktopAssociationRegistry registry(dir_.path() + "/share", "/p");
  ASSERT_TRUE(Register(registry, ".cpg", "", true, "   ", false));
  EXPECT_EQ(registry.Value("Text File\\DefaultIcon"), appPath_ + ",0");
  EXPECT_EQ(registry.Value("Text File\\shell\\Open\\command"), appPath_ + " %1");
}

TEST_F(FileAssociation, StoredValueCountsItsTerminatingZero) {
  struct Recording : AssociationRegistry {
    QMap<QString, QByteArray> values;
    bool CreateKey(const QString& k) override { return values.insert(k, {}), true; }
    bool SetDefaultValue(const QString& k, const QByteArray& d) override {
      values[k] = d;
      return true;
    }
  } registry;
  QString extension = ".cpg", verb = "Open", params;
  ASSERT_TRUE(CreateFileAssociation(registry, Recorder(), extension, "Text File", "D", verb,
                                    appPath_, params, false, "", false));
  EXPECT_EQ(registry.values.value(".cpg"), QByteArray("Text File\0", 10));
  EXPECT_EQ(registry.values.value("Text File"), QByteArray("D\0", 2));
  EXPECT_FALSE(registry.values.contains("Text File\\DefaultIcon"));
}

TEST_F(FileAssociation, RefusalsWriteNothingAndReportOnlyWhenAsked) {
  DesktopAssociationRegistry registry(dir_.path() + "/share", "/p");
  EXPECT_FALSE(Register(registry, ".c*g", "", true, "", true));
  EXPECT_FALSE(Register(registry, ".c\"g", "", true, "", false));
  EXPECT_FALSE(Register(registry, ".cpg", "", true, "", true, dir_.path() + "/missing"));
  EXPECT_FALSE(Register(registry, ".cpg", "", true, "", false, dir_.path() + "/missing"));
  EXPECT_FALSE(registry.HasKey(".cpg"));
  EXPECT_FALSE(registry.HasKey(".c*g"));

  ASSERT_EQ(shown_.size(), 2u);
  EXPECT_EQ(shown_[0].text, "The file extension '.c*g' contains an illegal char (\\/:*?<>|\").");
  EXPECT_EQ(shown_[0].buttons, 16);
  EXPECT_EQ(shown_[0].title, "DLL/OCX Register");
  EXPECT_EQ(shown_[1].text, "The application path '" + dir_.path() + "/missing' cannot be found.");
}

TEST_F(FileAssociation, RegistryFailuresAreReportedAndTheRestStillRuns) {
  struct Failing : AssociationRegistry {
    int sets = 0;
    bool CreateKey(const QString&) override { return false; }
    bool SetDefaultValue(const QString&, const QByteArray&) override { return ++sets, false; }
  } registry;
  QString extension = ".cpg", verb = "Open", params;
  EXPECT_TRUE(CreateFileAssociation(registry, Recorder(), extension, "Text File", "D", verb,
                                    appPath_, params, true, "", true));
  EXPECT_EQ(registry.sets, 4);
  ASSERT_EQ(shown_.size(), 7u);  // three keys, four values
  EXPECT_EQ(shown_[0].text, "An error occured while attempting to to create a registery key.");
  EXPECT_EQ(shown_[6].text, "An error occured while attempting to set key default value.");
}

TEST_F(FileAssociation, DesktopRegistrationNamesTheProgramAndTheIconAndRefreshesTheCaches) {
  struct Recording : DesktopTools {
    QStringList runs;
    bool Run(const QString& program, const QStringList& arguments) override {
      runs.append(program + " " + arguments.join(" "));
      return false;  // as when the tool is not installed
    }
  } tools;
  const QString share = dir_.path() + "/share";
  DesktopAssociationRegistry registry(share, "/opt/cps dir/corvana-cps", &tools);
  ASSERT_TRUE(Register(registry, ".cpg", "", true, "/opt/cps/Corvana.ico", false));
  ASSERT_TRUE(registry.Apply(".cpg"));
  EXPECT_EQ(tools.runs, QStringList({"update-mime-database " + share + "/mime",
                                     "update-desktop-database " + share + "/applications"}));
  // A tool that is missing or does not end in its time answers false and holds nothing up.
  EXPECT_FALSE(ProcessDesktopTools().Run("corvana-no-such-tool", {}));
  EXPECT_FALSE(ProcessDesktopTools(100).Run("sleep", {"10"}));

  const QString mime = QString::fromUtf8(ReadAll(share + "/mime/packages/corvana-cps.xml"));
  EXPECT_TRUE(mime.contains("<glob pattern=\"*.cpg\"/>")) << mime.toStdString();
  EXPECT_TRUE(mime.contains("<comment>Corvana CPS File</comment>"));
  const QString desktop = QString::fromUtf8(ReadAll(share + "/applications/corvana-cps.desktop"));
  EXPECT_TRUE(desktop.contains("Exec=\"/opt/cps dir/corvana-cps\" %f\n")) << desktop.toStdString();
  EXPECT_TRUE(desktop.contains("Icon=/opt/cps/Corvana.ico\n"));
  EXPECT_TRUE(desktop.contains("MimeType=application/x-corvana-codeplug;\n"));

  DesktopAssociationRegistry empty(dir_.path() + "/other", "/p", &tools);
  EXPECT_FALSE(empty.Apply(".cpg"));
  EXPECT_FALSE(QDir(dir_.path() + "/other").exists());
  EXPECT_EQ(tools.runs.size(), 2);  // nothing written, nothing to refresh
}
