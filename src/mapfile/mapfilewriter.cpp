#include "mapfile/mapfilewriter.h"

#include "mapfile/cellgroups.h"
#include "mapfile/mapfilename.h"
#include "mapfile/shiftjis.h"
#include "model/mapdata.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

#include <cerrno>
#include <memory>
#include <vector>

namespace {

// Collects the lines of one floor file. A text the code page cannot hold is never written
// with a substitute: the first one found is kept as the reason and the rest is ignored.
class FloorFileBuilder
{
public:
    explicit FloorFileBuilder(int floor) : mFloor(floor) { mBytes.reserve(2048); }

    void line(QStringView text, MapFault::Text what)
    {
        append(text, what);
        mBytes.append("\r\n", 2);
    }
    void line(const char *keyword) { mBytes.append(keyword).append("\r\n", 2); }
    void numbers(std::initializer_list<int> values)
    {
        bool first = true;
        for (int value : values) {
            if (!first)
                mBytes.append(',');
            mBytes.append(QByteArray::number(value));
            first = false;
        }
        mBytes.append("\r\n", 2);
    }

    EncodedFloor result() const
    {
        if (mRefused != MapFault::Text::None)
            return {QByteArray(), MapFault::unencodable(mFloor, mRefused)};
        return {mBytes, std::nullopt};
    }

private:
    void append(QStringView text, MapFault::Text what)
    {
        if (mRefused == MapFault::Text::None && !ShiftJis::encode(text, mBytes))
            mRefused = what;
    }

    int mFloor;
    QByteArray mBytes;
    MapFault::Text mRefused = MapFault::Text::None;
};

// x, y and the branch setting's characters in file order 1, 4, 2, 3.
QString branchLine(int x, int y, const QString &setting)
{
    QString line = QString::number(x) + u',' + QString::number(y);
    for (int i : {0, 3, 1, 2}) {
        line += u',';
        line += QStringView(setting).mid(i, 1);
    }
    return line;
}

MapSaveResult failed(MapFault fault)
{
    MapSaveResult result;
    result.fault = std::move(fault);
    return result;
}

struct OldFile
{
    bool existed = false;
    bool readable = false;
    QByteArray bytes;
};

OldFile readOldFile(const QString &path)
{
    OldFile old;
    QFile file(path);
    old.existed = QFileInfo::exists(path);
    if (old.existed && file.open(QIODevice::ReadOnly)) {
        old.bytes = file.readAll();
        old.readable = file.error() == QFileDevice::NoError;
    }
    return old;
}

// Puts back what a failed replacement already changed; as far as the file system lets it.
void restoreOldFiles(const QStringList &paths, const std::vector<OldFile> &oldFiles, int count)
{
    for (int i = 0; i < count; ++i) {
        if (!oldFiles[i].existed) {
            QFile::remove(paths[i]);
        } else if (oldFiles[i].readable) {
            QSaveFile file(paths[i]);
            if (file.open(QIODevice::WriteOnly) && file.write(oldFiles[i].bytes) >= 0)
                file.commit();
        }
    }
}

} // namespace

EncodedFloor MapFileWriter::encodeFloor(const MapData &map, int floor)
{
    FloorFileBuilder out(floor);

    QString row;
    for (int y = 1; y <= MapData::Height; ++y) {
        row.clear();
        for (int x = 1; x <= MapData::Width; ++x)
            row.append(QStringView(map.cell(x, y, floor)).right(2));
        out.line(row, MapFault::Text::Cells);
    }

    if (!map.floorBackground(floor).isEmpty()) {
        out.line("*BG");
        out.line(map.floorBackground(floor), MapFault::Text::Background);
    }

    out.line("*BRANCH");
    for (int x = 1; x <= MapData::Width; ++x) {
        for (int y = 1; y <= MapData::Height; ++y) {
            const QString &setting = map.branch(x, y, floor);
            if (!setting.isEmpty())
                out.line(branchLine(x, y, setting), MapFault::Text::Branches);
        }
    }

    // Every record is looked at, not only 1..warpCount: a pair keeps its number when
    // lower pairs are deleted.
    out.line("*WARP");
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        const WarpRecord &w = map.warp(pair);
        if (w.isDefined() && w.srcFloor == w.dstFloor && w.srcFloor == floor)
            out.numbers({w.srcX, w.srcY, w.dstX, w.dstY});
    }

    out.line("*TRANSPORT");
    for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
        const WarpRecord &w = map.warp(pair);
        if (w.isDefined() && w.srcFloor != w.dstFloor && w.srcFloor == floor)
            out.numbers({w.srcX, w.srcY, w.dstFloor, w.dstX, w.dstY});
    }

    out.line("*TERMINAL");
    const QList<QPoint> terminals = CellGroups::terminalCells(map, floor);
    for (const QPoint &cell : terminals)
        out.numbers({cell.x(), cell.y()});

    if (!map.floorName(floor).isEmpty()) {
        out.line("*NAME");
        out.line(map.floorName(floor), MapFault::Text::Name);
    }

    out.line("*END");
    out.line(map.floorEndText(floor), MapFault::Text::EndText);
    return out.result();
}

MapSaveResult MapFileWriter::save(const MapData &map, const QString &basePath)
{
    if (basePath.isEmpty()) {
        return failed(MapFault::saveFailure(MapError::AccessError,
                                            QStringLiteral("保存先のファイル名がありません。")));
    }
    const int floorCount = qBound(1, map.floorCount(), MapData::MaxFloors);

    // Everything is encoded before the first file is touched.
    QList<QByteArray> contents;
    for (int floor = 1; floor <= floorCount; ++floor) {
        EncodedFloor encoded = encodeFloor(map, floor);
        if (encoded.fault)
            return failed(*encoded.fault);
        contents.append(encoded.bytes);
    }

    QStringList paths;
    for (int floor = 1; floor <= floorCount; ++floor)
        paths.append(MapFileName::floorFilePath(basePath, floor));

    // An uncommitted QSaveFile removes its temporary file when it is destroyed, so every
    // early return below leaves the folder as it was.
    std::vector<std::unique_ptr<QSaveFile>> files;
    for (int i = 0; i < floorCount; ++i) {
        auto file = std::make_unique<QSaveFile>(paths[i]);
        errno = 0;
        if (!file->open(QIODevice::WriteOnly)) {
            return failed(MapFault::saveFileFailure(MapError::AccessError, paths[i], errno,
                                                    file->errorString()));
        }
        if (file->write(contents[i]) != contents[i].size() || !file->flush()) {
            return failed(
                MapFault::saveFileFailure(MapError::IoError, paths[i], errno, file->errorString()));
        }
        files.push_back(std::move(file));
    }

    std::vector<OldFile> oldFiles;
    for (const QString &path : paths)
        oldFiles.push_back(readOldFile(path));
    for (int i = 0; i < floorCount; ++i) {
        errno = 0;
        if (!files[i]->commit()) {
            // Taken before the restore below can change them.
            const MapFault fault = MapFault::saveFileFailure(MapError::ReplaceFailed, paths[i],
                                                             errno, files[i]->errorString());
            restoreOldFiles(paths, oldFiles, i);
            return failed(fault);
        }
    }

    MapSaveResult result;
    result.written = contents;
    for (int floor = floorCount + 1; floor <= MapData::MaxFloors; ++floor) {
        const QString path = MapFileName::floorFilePath(basePath, floor);
        const QFileInfo info(path);
        if (!info.exists() || info.isDir())
            continue; // a folder is never counted as a floor by the reader
        if (!QFile::remove(path))
            result.staleFilesLeft.append(path);
    }
    return result;
}
