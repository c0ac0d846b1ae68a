// The per-user settings store and the program folder.
#pragma once

#include <QString>

namespace cps {

// The application title: the default title of every message box and the name under which the
// settings are stored.
inline constexpr char kAppTitle[] = "Corvana CPS";

// Reads key in section of the settings stored under the application title; the default when the
// key has never been written.
QString GetSetting(const QString& section, const QString& key, const QString& defaultValue);

// Writes key in section; the value is kept as text and is on disk when the call returns.
void SaveSetting(const QString& section, const QString& key, const QString& value);

// The folder the program runs from (the executable's folder), without a trailing separator,
// so that a file name is appended as ProgramFolder() + "/name". Tests point it elsewhere;
// an empty folder restores the executable's.
QString ProgramFolder();
void SetProgramFolder(const QString& folder);

}  // namespace cps
