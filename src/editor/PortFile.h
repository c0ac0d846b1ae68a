// The port file "ZEP_port.txt" in the program folder: the serial port chosen in the main
// window's Comm Port menu, kept between runs as one quoted field on one line ("com3" CR LF).
#pragma once

#include <QString>
#include <optional>

inline constexpr char kPortFileName[] = "ZEP_port.txt";

// The first field of the port file at path: a quoted field without its quotation marks, an
// unquoted one up to a comma or the line's end. None when the file does not exist; an empty
// text when it exists but holds no field, cannot be read or is not a regular file.
std::optional<QString> ReadPortFileField(const QString& path);

// Writes the one field "com<port>" to the file at path, replacing a regular file of that name.
// Empty on success; else why it cannot be written: the system's reason, or that something
// else of that name is there (any old file is then left as it was).
QString WritePortFileField(const QString& path, int port);

// The port number 1..8 a field names: exactly "com1".."com7" (lower case) give 1..7, any other
// text 8.
int PortNumberFromField(const QString& field);
