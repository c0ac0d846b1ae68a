#include "platform/FileWrite.h"

#include <unistd.h>

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

namespace cps {

namespace {

SyncFunction g_sync = &::fsync;

// Empty when the written data reached the disk, or when this file system cannot sync at all;
// else the system's reason.
QString SyncReason(QFileDevice& file) {
  if (g_sync(file.handle()) == 0) return QString();
  const int error = errno;
  if (error == EINVAL || error == ENOTSUP) return QString();
  return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

void SetSyncForTests(SyncFunction sync) { g_sync = sync != nullptr ? sync : &::fsync; }

bool IsSpecialFile(const QString& path) {
  const QFileInfo info(path);
  return info.exists() && !info.isFile();
}

QString WriteAll(QFileDevice& device, const QByteArray& bytes) {
  qint64 written = 0;
  while (written < bytes.size()) {
    const qint64 n = device.write(bytes.constData() + written, bytes.size() - written);
    if (n <= 0) return device.errorString();
    written += n;
  }
  return QString();
}

QString ReplaceFile(const QString& path, const std::function<QByteArray()>& compose,
                    InPlace inPlace) {
  QSaveFile file(path);
  file.setDirectWriteFallback(inPlace == InPlace::kWhereNoTemporaryFile);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString();
  QString reason = WriteAll(file, compose());
  // The commit syncs too, but takes no notice of a failed sync.
  if (reason.isEmpty()) reason = SyncReason(file);
  if (!reason.isEmpty()) {
    file.cancelWriting();
    return reason;
  }
  if (!file.commit()) return file.errorString();
  return QString();
}

}  // namespace cps
