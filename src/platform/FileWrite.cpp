#include "platform/FileWrite.h"

#include <QSaveFile>

namespace cps {

QString WriteAll(QFileDevice& device, const QByteArray& bytes) {
  qint64 written = 0;
  while (written < bytes.size()) {
    const qint64 n = device.write(bytes.constData() + written, bytes.size() - written);
    if (n <= 0) return device.errorString();
    written += n;
  }
  return QString();
}

QString ReplaceFile(const QString& path, const std::function<QByteArray()>& compose) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString();
  if (const QString reason = WriteAll(file, compose()); !reason.isEmpty()) {
    file.cancelWriting();
    return reason;
  }
  if (!file.commit()) return file.errorString();
  return QString();
}

}  // namespace cps
