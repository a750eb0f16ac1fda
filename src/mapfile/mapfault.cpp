#include "mapfile/mapfault.h"

#include "mapfile/fileproblem.h"

#include <QDir>

namespace {

QString loadTitle()
{
    return QStringLiteral("読み込みに失敗しました。");
}

QString lineSuffix(int lineNumber)
{
    return QStringLiteral("\r\n<%1行目>").arg(lineNumber);
}

QString placeSuffix(const FilePlace &place)
{
    return place.floor > 0 ? QStringLiteral("\r\n") + place.text() : QString();
}

QString saveTitle(int errorNumber)
{
    return QStringLiteral("Error No.%1").arg(errorNumber);
}

QString textName(MapFault::Text text)
{
    switch (text) {
    case MapFault::Text::Cells:
        return QStringLiteral("チップ");
    case MapFault::Text::Branches:
        return QStringLiteral("分岐設定");
    case MapFault::Text::Name:
        return QStringLiteral("フロア名");
    case MapFault::Text::Background:
        return QStringLiteral("背景");
    case MapFault::Text::EndText:
        return QStringLiteral("コメント");
    case MapFault::Text::None:
        break;
    }
    return QString();
}

// What went wrong and the file, one line each.
QString fileProblemText(const QString &path, int systemError, const QString &systemText,
                        bool writing)
{
    const FileProblem::Kind kind = FileProblem::classify(path, systemError, writing);
    return FileProblem::reason(kind, systemText) + QStringLiteral("\r\nファイル：") +
           QDir::toNativeSeparators(path);
}

} // namespace

QString FilePlace::text() const
{
    return text(QString::number(line));
}

QString FilePlace::text(const QString &lines, qsizetype moreLines) const
{
    const QString file = path.isEmpty() ? QStringLiteral("%1階のファイル").arg(floor)
                                        : QDir::toNativeSeparators(path);
    const QString more = moreLines > 0 ? QStringLiteral("ほか%1行").arg(moreLines) : QString();
    return QStringLiteral("ファイル：%1（%2行目%3）").arg(file, lines, more);
}

MapFault MapFault::loadInvalidData(int lineNumber, const FilePlace &place)
{
    MapFault fault;
    fault.path = place.path;
    fault.floor = place.floor;
    fault.fileLine = place.line;
    fault.kind = Kind::InvalidData;
    fault.errorNumber = MapError::InvalidData;
    fault.lineNumber = lineNumber;
    fault.title = loadTitle();
    fault.message = QStringLiteral("ファイル内に不正なデータが入っています。") +
                    lineSuffix(lineNumber) + placeSuffix(place);
    return fault;
}

MapFault MapFault::loadFailure(int errorNumber, int lineNumber, const FilePlace &place)
{
    MapFault fault;
    fault.errorNumber = errorNumber;
    fault.lineNumber = lineNumber;
    fault.path = place.path;
    fault.floor = place.floor;
    fault.fileLine = place.line;
    fault.title = loadTitle();
    fault.message = QStringLiteral("これはQ:zKのマップファイルではありません。\r\nError No.%1")
                        .arg(errorNumber) +
                    lineSuffix(lineNumber) + placeSuffix(place);
    return fault;
}

MapFault MapFault::saveFailure(int errorNumber, const QString &description, const QString &path)
{
    MapFault fault;
    fault.errorNumber = errorNumber;
    fault.path = path;
    fault.title = saveTitle(errorNumber);
    fault.message = description;
    return fault;
}

MapFault MapFault::unencodable(int floor, Text text)
{
    MapFault fault;
    fault.errorNumber = MapError::Unencodable;
    fault.floor = floor;
    fault.text = text;
    fault.title = saveTitle(fault.errorNumber);
    fault.message =
        QStringLiteral("%1階の%2に、マップファイルに書けない文字（シフトJISにない文字）があります。"
                       "\r\nマップは保存されていません。")
            .arg(floor)
            .arg(textName(text));
    return fault;
}

MapFault MapFault::saveFileFailure(int errorNumber, const QString &path, int systemError,
                                   const QString &systemText)
{
    MapFault fault = saveFailure(errorNumber, QString(), path);
    fault.message = QStringLiteral("マップを保存できませんでした。\r\n") +
                    fileProblemText(path, systemError, systemText, true);
    return fault;
}

MapFault MapFault::loadFileFailure(int errorNumber, int lineNumber, const QString &path,
                                   int systemError, const QString &systemText)
{
    MapFault fault = loadFailure(errorNumber, lineNumber);
    fault.path = path;
    fault.message = QStringLiteral("マップを読み込めませんでした。\r\n") +
                    fileProblemText(path, systemError, systemText, false) +
                    QStringLiteral("\r\nError No.%1").arg(errorNumber) + lineSuffix(lineNumber);
    return fault;
}
