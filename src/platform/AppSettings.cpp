#include "platform/AppSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>

namespace cps {
namespace {

QString& ProgramFolderOverride() {
  static QString folder;
  return folder;
}

QString SettingsKey(const QString& section, const QString& key) { return section + "/" + key; }

}  // namespace

QString GetSetting(const QString& section, const QString& key, const QString& defaultValue) {
  QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kAppTitle, kAppTitle);
  return settings.value(SettingsKey(section, key), defaultValue).toString();
}

void SaveSetting(const QString& section, const QString& key, const QString& value) {
  QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kAppTitle, kAppTitle);
  settings.setValue(SettingsKey(section, key), value);
  settings.sync();
}

QString ProgramFolder() {
  if (!ProgramFolderOverride().isEmpty()) return ProgramFolderOverride();
  return QDir::cleanPath(QCoreApplication::applicationDirPath());
}

void SetProgramFolder(const QString& folder) {
  ProgramFolderOverride() = folder.isEmpty() ? QString() : QDir::cleanPath(folder);
}

}  // namespace cps
