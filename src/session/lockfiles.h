#pragma once

class QLockFile;

namespace LockFiles {

// Takes `lock` now or not at all. A lock file that is there but names no owner (empty or
// unreadable: its editor stopped before the record reached the disk) counts as stale
// unless a running process still holds the file, so a crash at the wrong moment does not
// keep a map or a recovery copy taken for ever.
bool tryLock(QLockFile &lock);

} // namespace LockFiles
