#include "session/lockfiles.h"

#include <QLockFile>
#include <QString>

bool LockFiles::tryLock(QLockFile &lock)
{
    if (lock.tryLock(0))
        return true;
    if (lock.error() != QLockFile::LockFailedError)
        return false;
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock.getLockInfo(&pid, &host, &application))
        return false;
    // Removing fails while the file is still held open and locked by its owner.
    return lock.removeStaleLockFile() && lock.tryLock(0);
}
