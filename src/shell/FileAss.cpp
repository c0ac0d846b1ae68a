#include "shell/FileAss.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <exception>

#include "platform/FileWrite.h"
#include "platform/TextConv.h"

bool ShowRegistryErrors = false;

namespace {

void Report(const AssociationMessage& message, const QString& text) {
  if (ShowRegistryErrors && message) message(text, kRegistryMessageButtons, kRegistryMessageTitle);
}

const QString kIllegalCharacters = QStringLiteral("\\/:*?<>|\"");

// A key name ends at its first zero character, as a C string does: the class name reaches
// the next step with the zero that storing it as a value appended.
QString KeyName(const QString& subKey) { return subKey.left(subKey.indexOf(QChar(u'\0'))); }

}  // namespace

bool CreateRegKey(AssociationRegistry& registry, const AssociationMessage& message,
                  const QString& subKey) {
  if (registry.CreateKey(KeyName(subKey))) return true;
  Report(message,
         QStringLiteral("An error occured while attempting to to create a registery key."));
  return false;
}

bool SetRegKeyDefaultValue(AssociationRegistry& registry, const AssociationMessage& message,
                           const QString& subKey, QString& value) {
  value += QChar(u'\0');
  if (registry.SetDefaultValue(KeyName(subKey), cps::TextToBytes(value))) return true;
  Report(message, QStringLiteral("An error occured while attempting to set key default value."));
  return false;
}

bool CreateFileAssociation(AssociationRegistry& registry, const AssociationMessage& message,
                           QString& extension, QString className, QString description,
                           QString& verb, QString appPath, QString& params, bool setIcon,
                           QString iconPath, bool showErrors) {
  ShowRegistryErrors = showErrors;
  try {
    if (!QFileInfo(appPath).isFile()) {
      Report(message, QStringLiteral("The application path '%1' cannot be found.").arg(appPath));
      return false;
    }
    if (!extension.startsWith(QLatin1Char('.'))) extension.prepend(QLatin1Char('.'));
    for (QChar c : extension) {
      if (kIllegalCharacters.contains(c, Qt::CaseInsensitive)) {
        Report(message, QStringLiteral("The file extension '") + extension +
                            QStringLiteral("' contains an illegal char (\\/:*?<>|\")."));
        return false;
      }
    }
    if (!params.isEmpty()) params = QLatin1Char(' ') + params.trimmed();
    verb = className + QStringLiteral("\\shell\\") + verb + QStringLiteral("\\command");

    CreateRegKey(registry, message, extension);
    CreateRegKey(registry, message, verb);
    if (setIcon) {
      const QString iconKey = className + QStringLiteral("\\DefaultIcon");
      CreateRegKey(registry, message, iconKey);
      QString icon = iconPath.trimmed().isEmpty() ? (appPath + QStringLiteral(",0")).trimmed()
                                                  : iconPath.trimmed();
      SetRegKeyDefaultValue(registry, message, iconKey, icon);
    }
    SetRegKeyDefaultValue(registry, message, extension, className);
    SetRegKeyDefaultValue(registry, message, className, description);
    QString command = appPath + params + QStringLiteral(" %1");
    SetRegKeyDefaultValue(registry, message, verb, command);
    return true;
  } catch (const std::exception&) {
    Report(message, QStringLiteral("An error occured while attempting to create the file "
                                   "extension '") +
                        extension + QStringLiteral("'."));
    return false;
  }
}

bool ProcessDesktopTools::Run(const QString& program, const QStringList& arguments) {
  const QString path = QStandardPaths::findExecutable(program);
  if (path.isEmpty()) return false;
  QProcess tool;
  tool.setStandardOutputFile(QProcess::nullDevice());
  tool.setStandardErrorFile(QProcess::nullDevice());
  tool.start(path, arguments);
  if (!tool.waitForFinished(waitMs_)) {
    tool.kill();
    tool.waitForFinished();
    return false;
  }
  return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

DesktopAssociationRegistry::DesktopAssociationRegistry(QString dataHome, QString programPath,
                                                       DesktopTools* tools)
    : dataHome_(std::move(dataHome)), programPath_(std::move(programPath)), tools_(tools) {}

bool DesktopAssociationRegistry::CreateKey(const QString& subKey) {
  if (subKey.isEmpty()) return false;
  // Creating a key creates its parents, as the key store does.
  const QStringList parts = subKey.toLower().split(QLatin1Char('\\'));
  QString path;
  for (const QString& part : parts) {
    path = path.isEmpty() ? part : path + QLatin1Char('\\') + part;
    if (!keys_.contains(path)) keys_.insert(path, QByteArray());
  }
  return true;
}

bool DesktopAssociationRegistry::SetDefaultValue(const QString& subKey, const QByteArray& data) {
  const QString key = subKey.toLower();
  if (!keys_.contains(key)) return false;
  keys_[key] = data;
  return true;
}

QString DesktopAssociationRegistry::Value(const QString& subKey) const {
  QByteArray data = keys_.value(subKey.toLower());
  if (data.endsWith('\0')) data.chop(1);
  return QString::fromLatin1(data);
}

namespace {

bool WriteFile(const QString& path, const QByteArray& contents) {
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
  return cps::ReplaceFile(path, [&contents] { return contents; }).isEmpty();
}

QString XmlEscaped(const QString& text) { return text.toHtmlEscaped(); }

// A .desktop value may not hold line ends; a path with blanks is quoted in Exec.
QString DesktopValue(QString text) { return text.replace(QLatin1Char('\n'), QLatin1Char(' ')); }

}  // namespace

bool DesktopAssociationRegistry::Apply(const QString& extension) const {
  const QString className = Value(extension);
  if (className.isEmpty()) return false;
  const QString description = Value(className);
  const QString icon = Value(className + QStringLiteral("\\DefaultIcon"));

  const QString mime =
      QStringLiteral(
          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
          "<mime-info xmlns=\"http://www.freedesktop.org/standards/"
          "shared-mime-info\">\n"
          "  <mime-type type=\"%1\">\n"
          "    <comment>%2</comment>\n"
          "    <glob pattern=\"*%3\"/>\n"
          "  </mime-type>\n"
          "</mime-info>\n")
          .arg(QLatin1String(kMimeType), XmlEscaped(description), XmlEscaped(extension));

  QString desktop = QStringLiteral("[Desktop Entry]\nType=Application\nName=Corvana CPS\n");
  desktop += QStringLiteral("Comment=") + DesktopValue(description) + QLatin1Char('\n');
  desktop += QStringLiteral("Exec=\"") + DesktopValue(programPath_) + QStringLiteral("\" %f\n");
  if (!icon.isEmpty()) desktop += QStringLiteral("Icon=") + DesktopValue(icon) + QLatin1Char('\n');
  desktop += QStringLiteral("MimeType=") + QLatin1String(kMimeType) + QStringLiteral(";\n");
  desktop += QStringLiteral("Terminal=false\nCategories=Utility;\n");

  const QString mimeFolder = dataHome_ + QStringLiteral("/mime");
  const QString applications = dataHome_ + QStringLiteral("/applications");
  if (!WriteFile(mimeFolder + QStringLiteral("/packages/corvana-cps.xml"), mime.toUtf8()) ||
      !WriteFile(applications + QStringLiteral("/corvana-cps.desktop"), desktop.toUtf8())) {
    return false;
  }
  // The desktop reads types and programs from caches built from these files; without the tools
  // it picks the files up the next time anything rebuilds them.
  ProcessDesktopTools installed;
  DesktopTools& tools = tools_ != nullptr ? *tools_ : installed;
  tools.Run(QStringLiteral("update-mime-database"), {mimeFolder});
  tools.Run(QStringLiteral("update-desktop-database"), {applications});
  return true;
}

QString DesktopAssociationRegistry::DefaultDataHome() {
  const QByteArray xdg = qgetenv("XDG_DATA_HOME");
  if (!xdg.isEmpty()) return QString::fromLocal8Bit(xdg);
  return QDir::homePath() + QStringLiteral("/.local/share");
}
