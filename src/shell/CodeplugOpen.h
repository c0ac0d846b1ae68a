// Opening a codeplug file into the editor: what File>Open and the command-line open at start-up
// share once they know which file to read.
#pragma once

#include <QString>

// Reads the codeplug file at path and shows it in the editor: the short-press lists refilled,
// the fill chain of a loaded image, and for a codeplug with a stored password Write disabled
// and the password prompt opened. txtPassword is emptied and txtSerial disabled.
//
// A file the reader refuses (unknown header, open or read error, bad value, short file) is
// reported in a message titled "Open File" and leaves the image and the editor exactly as they
// were. CodeplugLoading is False again on every way out. True when the codeplug was loaded.
bool LoadCodeplugFile(const QString& path);

// The file a command line names. The shell has already removed the quotes around "%1", so one
// surrounding pair is removed only when both are there; the last four characters are then
// replaced by ".cpg". When that file does not exist but the path as given does, the path as
// given is taken.
QString CommandLineCodeplugPath(const QString& commandLine);
