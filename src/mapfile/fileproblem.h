#pragma once

#include <QString>

// Why the file system refused a floor file, in words a map maker can act on.
namespace FileProblem {

enum class Kind
{
    FileMissing,
    NoSuchFolder,
    PermissionDenied,
    DiskFull,
    FolderInTheWay,
    ReadOnlyFileSystem,
    Other,
};

// path: the file concerned. systemError: the errno value the failed call left, 0 when
// unknown. The file system is looked at first, since errno says little on some systems.
Kind classify(const QString &path, int systemError, bool writing);

// One line in Japanese; systemText is used when the kind says nothing more.
QString reason(Kind kind, const QString &systemText);

} // namespace FileProblem
