// Reading and writing whole files so that a failure is known, says why, and harms nothing.
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <functional>

namespace cps {

// Something of that name that is not a regular file, a link followed: a pipe, a device, a
// folder. Such a file is not one to read or replace whole: opening a pipe blocks until the other
// end comes, a device such as /dev/zero never ends, and a rename would put a plain file in its
// place.
bool IsSpecialFile(const QString& path);

// Writes every byte to a device opened Unbuffered. Empty when all were written, else the
// system's reason. A write that fills the disk part-way comes back short without a reason;
// writing on until the write itself fails is what brings the reason out.
QString WriteAll(QFileDevice& device, const QByteArray& bytes);

// What ReplaceFile does where no temporary file can be made beside an existing file that may be
// written (a folder the user may not write): refuse, or write that file in place, where a write
// that fails part-way leaves it cut short.
enum class InPlace { kNever, kWhereNoTemporaryFile };

// Replaces the file at path, or makes it, with what compose returns, through a temporary file
// renamed into place: when anything fails, what was there is left whole and no other file
// remains. The written file is synced before the rename; a file system that cannot sync is
// taken as it is, any other failed sync fails the write. compose runs only once the temporary
// file is open. Empty on success, else the system's reason.
QString ReplaceFile(const QString& path, const std::function<QByteArray()>& compose,
                    InPlace inPlace = InPlace::kNever);

// The call that syncs a written file (fsync's contract: 0, or -1 with errno set). nullptr puts
// fsync back. Lets a test fail the sync as failing media would.
using SyncFunction = int (*)(int fd);
void SetSyncForTests(SyncFunction sync);

}  // namespace cps
