#include "mapfile/fileproblem.h"

#include <QFileInfo>
#include <QStorageInfo>

#include <system_error>

namespace FileProblem {

Kind classify(const QString &path, int systemError, bool writing)
{
    const QFileInfo file(path);
    if (file.isDir())
        return Kind::FolderInTheWay;
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        return Kind::NoSuchFolder;

    const std::errc error{systemError};
    if (error == std::errc::read_only_file_system ||
        (writing && QStorageInfo(folder.absoluteFilePath()).isReadOnly()))
        return Kind::ReadOnlyFileSystem;
    if (error == std::errc::no_space_on_device)
        return Kind::DiskFull;
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted)
        return Kind::PermissionDenied;
    // Where errno is not set, the permissions still tell.
    if (systemError == 0) {
        if (writing && !(file.exists() ? file : folder).isWritable())
            return Kind::PermissionDenied;
        if (!writing && file.exists() && !file.isReadable())
            return Kind::PermissionDenied;
    }
    if (!writing && !file.exists())
        return Kind::FileMissing;
    return Kind::Other;
}

QString reason(Kind kind, const QString &systemText)
{
    switch (kind) {
    case Kind::FileMissing:
        return QStringLiteral("ファイルが見つかりません。");
    case Kind::NoSuchFolder:
        return QStringLiteral("フォルダが見つかりません。");
    case Kind::PermissionDenied:
        return QStringLiteral("アクセスが拒否されました（アクセス権がありません）。");
    case Kind::DiskFull:
        return QStringLiteral("ディスクの空き容量が足りません。");
    case Kind::FolderInTheWay:
        return QStringLiteral("同じ名前のフォルダがあります。");
    case Kind::ReadOnlyFileSystem:
        return QStringLiteral("読み取り専用のドライブには書き込めません。");
    case Kind::Other:
        break;
    }
    return systemText.isEmpty() ? QStringLiteral("原因のわからないエラーです。") : systemText;
}

} // namespace FileProblem
