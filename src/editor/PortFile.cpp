#include "editor/PortFile.h"

#include <QFile>

#include "platform/FileWrite.h"

namespace {

constexpr int kLastNamedPort = 7;  // com8 is also what any unknown text selects
constexpr int kFallbackPort = 8;

// The first field of a sequential text file: blanks before it are skipped; a field opened by a
// quotation mark runs to the next one, any other to a comma or the line's end.
QString FirstField(const QByteArray& content) {
  const QString text = QString::fromLatin1(content);
  int i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && text[i] == '"') {
    int end = i + 1;
    while (end < text.size() && text[end] != '"' && text[end] != '\r' && text[end] != '\n') ++end;
    return text.mid(i + 1, end - i - 1);
  }
  int end = i;
  while (end < text.size() && text[end] != ',' && text[end] != '\r' && text[end] != '\n') ++end;
  return text.mid(i, end - i).trimmed();
}

}  // namespace

std::optional<QString> ReadPortFileField(const QString& path) {
  QFile file(path);
  if (!file.exists()) return std::nullopt;
  // A pipe would hold up the start until something writes to it: read as unreadable.
  if (cps::IsSpecialFile(path) || !file.open(QIODevice::ReadOnly)) return QString();
  return FirstField(file.readAll());
}

QString WritePortFileField(const QString& path, int port) {
  // The rename would replace it by a plain file.
  if (cps::IsSpecialFile(path)) return QStringLiteral("it is not a regular file");
  const QByteArray line = "\"com" + QByteArray::number(port) + "\"\r\n";
  return cps::ReplaceFile(path, [&line] { return line; });
}

int PortNumberFromField(const QString& field) {
  for (int port = 1; port <= kLastNamedPort; ++port) {
    if (field == QString("com%1").arg(port)) return port;
  }
  return kFallbackPort;
}
