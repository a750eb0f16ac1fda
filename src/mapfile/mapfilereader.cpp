#include "mapfile/mapfilereader.h"

#include "mapfile/gridcode.h"
#include "mapfile/mapfilename.h"
#include "mapfile/shiftjis.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <functional>
#include <system_error>

namespace {

// The bytes of one floor file, read line by line or field by field. A line ends at CR LF,
// CR or LF; a field ends at "," or at the line end, and the one that ends it is consumed.
// Neither byte can be the second byte of a code page 932 character, so splitting before
// decoding is safe.
class FloorFileBytes
{
public:
    explicit FloorFileBytes(QByteArray bytes) : mBytes(std::move(bytes)) {}

    bool atEnd() const { return mPos >= mBytes.size(); }
    QByteArrayView line() { return take(false); }
    QByteArrayView field() { return take(true); }
    // The line of the file the last line or field was taken from, counting from 1.
    int lastLine() const { return mLastLine; }
    // The line the next read starts on; past the end, the line after the last one.
    int nextLine() const
    {
        const bool endsLine = mPos > 0 && (mBytes[mPos - 1] == '\r' || mBytes[mPos - 1] == '\n');
        return atEnd() && !mBytes.isEmpty() && !endsLine ? mLine + 1 : mLine;
    }

private:
    QByteArrayView take(bool stopAtComma)
    {
        const char *data = mBytes.constData();
        const qsizetype size = mBytes.size();
        const qsizetype start = mPos;
        mLastLine = mLine;
        qsizetype end = start;
        while (end < size) {
            const char c = data[end];
            if (c == '\r' || c == '\n' || (stopAtComma && c == ','))
                break;
            ++end;
        }
        mPos = end;
        if (mPos < size) {
            const char c = data[mPos++];
            if (c == '\r' && mPos < size && data[mPos] == '\n')
                ++mPos;
            if (c != ',')
                ++mLine;
        }
        return QByteArrayView(data + start, end - start);
    }

    QByteArray mBytes;
    qsizetype mPos = 0;
    int mLine = 1;
    int mLastLine = 1;
};

// The leading decimal number of a field, rounded half to even; 0 when there is none.
// Leading blanks are skipped; values far beyond every range are capped, so they stay out of
// range. Works on the bytes: digits, blanks and the point are ASCII, and none of them can be
// the second byte of a double-byte character.
int leadingNumber(QByteArrayView field)
{
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    qsizetype i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t'))
        ++i;
    double value = 0;
    for (; i < field.size() && isDigit(field[i]); ++i)
        value = std::min(value * 10 + (field[i] - '0'), 1e9);
    if (i < field.size() && field[i] == '.') {
        double scale = 0.1;
        for (++i; i < field.size() && isDigit(field[i]); ++i) {
            value += (field[i] - '0') * scale;
            scale /= 10;
        }
    }
    return int(std::nearbyint(value));
}

struct OpenedFloor
{
    QByteArray bytes;
    int errorNumber = 0; // 0: opened and read
    int systemError = 0; // errno of the failed call
    QString systemText;
    QString path;
};
using FloorOpener = std::function<OpenedFloor(int floor)>;

class ReadSession
{
public:
    ReadSession(int floorCount, FloorOpener opener)
        : mFloorCount(floorCount), mOpen(std::move(opener))
    {
    }

    MapLoadResult run(const QString &basePath)
    {
        for (int floor = 1; floor <= mFloorCount; ++floor) {
            const OpenedFloor file = mOpen(floor);
            mPath = file.path;
            mFloor = floor;
            if (file.errorNumber != 0) {
                return failed(MapFault::loadFileFailure(file.errorNumber, mLine, mPath,
                                                        file.systemError, file.systemText));
            }
            if (!readFloor(floor, file.bytes))
                return failed(mFault);
        }
        mMap.setFloorCount(mFloorCount);
        return MapLoadResult{std::move(mMap), std::nullopt, mWarpOverflow, mReplaced, basePath};
    }

private:
    enum class State
    {
        Scanning,
        Branches,
        Warps,
        Transports,
        Background,
        Name,
        EndText,
    };

    static State dispatch(const QString &keyword)
    {
        if (keyword == QLatin1String("*BRANCH"))
            return State::Branches;
        if (keyword == QLatin1String("*WARP"))
            return State::Warps;
        if (keyword == QLatin1String("*TRANSPORT"))
            return State::Transports;
        if (keyword == QLatin1String("*BG"))
            return State::Background;
        if (keyword == QLatin1String("*NAME"))
            return State::Name;
        if (keyword == QLatin1String("*END"))
            return State::EndText;
        // Unknown keywords, "*TERMINAL" among them, are skipped with the lines after them.
        return State::Scanning;
    }

    // Whatever was read is dropped: a faulty map leaves the reset map, unnamed.
    static MapLoadResult failed(const MapFault &fault)
    {
        MapLoadResult result;
        result.fault = fault;
        return result;
    }

    FilePlace place(int fileLine) const { return FilePlace{mFloor, mPath, fileLine}; }

    bool readPastEnd(const FloorFileBytes &in)
    {
        mFault = MapFault::loadFailure(MapError::ReadPastEnd, mLine, place(in.nextLine()));
        return false;
    }
    bool invalid(const FloorFileBytes &in)
    {
        mFault = MapFault::loadInvalidData(mLine, place(in.lastLine()));
        return false;
    }

    // Bytes that are not code page 932 do not stop the load; the line is noted once.
    void decode(const FloorFileBytes &in, QByteArrayView bytes, QString &text)
    {
        if (ShiftJis::decodeReplacing(bytes, text) &&
            (mReplaced.isEmpty() || mReplaced.last().floor != mFloor ||
             mReplaced.last().line != in.lastLine())) {
            mReplaced.append(place(in.lastLine()));
        }
    }

    bool read(FloorFileBytes &in, bool field, QString &text)
    {
        if (in.atEnd())
            return readPastEnd(in);
        decode(in, field ? in.field() : in.line(), text);
        return true;
    }

    // A field of an entry, left as bytes: most are short numbers.
    bool readField(FloorFileBytes &in, QByteArrayView &bytes)
    {
        if (in.atEnd())
            return readPastEnd(in);
        bytes = in.field();
        if (!ShiftJis::isAscii(bytes)) {
            QString text;
            decode(in, bytes, text);
        }
        return true;
    }

    bool readFloor(int floor, const QByteArray &bytes)
    {
        FloorFileBytes in(bytes);
        QString text;
        for (int y = 1; y <= MapData::Height; ++y) {
            ++mLine;
            if (!read(in, false, text))
                return false;
            storeRow(text, y, floor);
        }

        State state = State::Scanning;
        for (;;) {
            switch (state) {
            case State::Scanning:
                if (in.atEnd())
                    return true;
                ++mLine;
                if (!read(in, false, text))
                    return false;
                if (text.startsWith(u'*'))
                    state = dispatch(text);
                break;
            case State::Branches:
            case State::Warps:
            case State::Transports: {
                ++mLine;
                QByteArrayView first;
                if (!readField(in, first))
                    return false;
                if (first.startsWith('*')) {
                    decode(in, first, text);
                    state = dispatch(text);
                } else if (!readEntry(state, first, in, floor)) {
                    return false;
                }
                break;
            }
            case State::Background:
            case State::Name:
                ++mLine;
                if (!read(in, true, text))
                    return false;
                if (text.startsWith(u'*')) {
                    state = dispatch(text);
                    break;
                }
                if (state == State::Background)
                    mMap.setFloorBackground(floor, text);
                else
                    mMap.setFloorName(floor, text);
                state = State::Scanning;
                break;
            case State::EndText:
                return readEndText(in, floor);
            }
        }
    }

    // A line shorter than 48 characters reads as if padded with blanks, so its missing
    // cells are empty cells that save back as blanks.
    void storeRow(const QString &line, int y, int floor)
    {
        const QString row =
            line.size() >= 2 * MapData::Width ? line : line.leftJustified(2 * MapData::Width, u' ');
        for (int x = 1; x <= MapData::Width; ++x) {
            const QStringView code = QStringView(row).mid(2 * (x - 1), 2);
            // A map repeats few codes: equal cells share one string.
            const quint32 key = quint32(code[0].unicode()) << 16 | code[1].unicode();
            auto cell = mCellOfCode.constFind(key);
            if (cell == mCellOfCode.constEnd())
                cell = mCellOfCode.insert(key, GridCode::cellOf(code));
            mMap.setCell(x, y, floor, *cell);
        }
    }

    bool readEntry(State kind, QByteArrayView firstField, FloorFileBytes &in, int floor)
    {
        struct Range
        {
            int low;
            int high;
        };
        const Range x{1, MapData::Width};
        const Range y{1, MapData::Height};
        const Range digit{0, 3};
        const Range destinationFloor{1, mFloorCount};
        const Range branchFields[] = {x, y, digit, digit, digit, digit};
        const Range warpFields[] = {x, y, x, y};
        const Range transportFields[] = {x, y, destinationFloor, x, y};
        const Range *ranges = kind == State::Branches ? branchFields
                              : kind == State::Warps  ? warpFields
                                                      : transportFields;
        const int fieldCount = kind == State::Branches ? 6 : kind == State::Warps ? 4 : 5;

        int v[6] = {};
        QByteArrayView field = firstField;
        for (int i = 0; i < fieldCount; ++i) {
            // Later fields of an entry are not counted as lines.
            if (i > 0 && !readField(in, field))
                return false;
            v[i] = leadingNumber(field);
            if (v[i] < ranges[i].low || v[i] > ranges[i].high)
                return invalid(in);
        }

        const auto byte = [](int value) { return std::uint8_t(value); };
        switch (kind) {
        case State::Branches:
            // File order up, down, left, right; the setting's order up, left, right, down.
            mMap.setBranch(v[0], v[1], floor,
                           QString::number(v[2]) + QString::number(v[4]) + QString::number(v[5]) +
                               QString::number(v[3]));
            break;
        case State::Warps:
            addWarp({byte(v[0]), byte(v[1]), byte(floor), byte(v[2]), byte(v[3]), byte(floor)});
            break;
        default:
            addWarp({byte(v[0]), byte(v[1]), byte(floor), byte(v[3]), byte(v[4]), byte(v[2])});
            break;
        }
        return true;
    }

    void addWarp(const WarpRecord &record)
    {
        if (mWarpCount < MapData::MaxWarps) {
            ++mWarpCount;
            mMap.setWarp(mWarpCount, record);
        } else {
            mWarpOverflow = true;
        }
    }

    // Everything after "*END" is the end text, lines joined by CR LF; it never starts with
    // an empty line.
    bool readEndText(FloorFileBytes &in, int floor)
    {
        QString endText;
        QString text;
        while (!in.atEnd()) {
            ++mLine;
            if (!read(in, false, text))
                return false;
            if (endText.isEmpty())
                endText = text;
            else
                endText += QStringLiteral("\r\n") + text;
        }
        mMap.setFloorEndText(floor, endText);
        return true;
    }

    const int mFloorCount;
    const FloorOpener mOpen;
    MapData mMap = MapData::resetMap();
    QString mPath;
    int mFloor = 0;
    QList<FilePlace> mReplaced;
    // Runs on across the floor files. Wider than 16 bits, so a long file cannot overflow it.
    int mLine = 0;
    int mWarpCount = 0;
    bool mWarpOverflow = false;
    MapFault mFault;
    QHash<quint32, QString> mCellOfCode;
};

bool isFloorFile(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

} // namespace

QString MapLoadResult::replacedTitle()
{
    return QStringLiteral("Q:zKエディタ");
}

QString MapLoadResult::replacedText() const
{
    QString text =
        QStringLiteral("シフトJISとして読めないバイトを「%1」に置き換えて読み込みました。")
            .arg(QChar(ShiftJis::Replacement));
    // One line per file, naming its first lines only: a file that is no map at all has
    // thousands, and a message naming them all would not fit on the screen.
    constexpr qsizetype NamedLines = 10;
    for (qsizetype i = 0; i < replaced.size();) {
        const FilePlace &first = replaced[i];
        QStringList lines;
        qsizetype count = 0;
        for (; i < replaced.size() && replaced[i].floor == first.floor; ++i, ++count)
            if (count < NamedLines)
                lines.append(QString::number(replaced[i].line));
        text += QStringLiteral("\r\n") +
                first.text(lines.join(u'、'), std::max<qsizetype>(0, count - NamedLines));
    }
    return text + QStringLiteral("\r\n保存すると、置き換えた文字のまま書き込まれます。");
}

QString MapLoadResult::warpOverflowTitle()
{
    return QStringLiteral("Q:zK Editor");
}

QString MapLoadResult::warpOverflowText()
{
    return QStringLiteral("ワープ数が79を超えたため、読み込まれなかったワープがあります。");
}

int MapFileReader::countFloors(const QString &basePath)
{
    for (int floor = 2; floor <= MapData::MaxFloors; ++floor) {
        if (!isFloorFile(MapFileName::floorFilePath(basePath, floor)))
            return floor - 1;
    }
    return MapData::MaxFloors;
}

MapLoadResult MapFileReader::load(const QString &basePath)
{
    const auto open = [&basePath](int floor) {
        OpenedFloor opened;
        opened.path = MapFileName::floorFilePath(basePath, floor);
        if (!QFileInfo::exists(opened.path)) {
            opened.errorNumber = MapError::FileNotFound;
            opened.systemError = int(std::errc::no_such_file_or_directory);
            return opened;
        }
        // The whole file is taken at once and closed here, whatever follows.
        QFile file(opened.path);
        errno = 0;
        if (!file.open(QIODevice::ReadOnly)) {
            opened.errorNumber = MapError::AccessError;
            opened.systemError = errno;
            opened.systemText = file.errorString();
            return opened;
        }
        opened.bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            opened.errorNumber = MapError::IoError;
            opened.systemError = errno;
            opened.systemText = file.errorString();
        }
        return opened;
    };
    const int floorCount = countFloors(basePath);
    MapLoadResult result = ReadSession(floorCount, open).run(basePath);
    // A folder under the next floor's name ends the count early. When what was read then
    // fails (a transport to that floor, say), the folder is the cause to name.
    const QString next = MapFileName::floorFilePath(basePath, floorCount + 1);
    if (result.fault && floorCount < MapData::MaxFloors && QFileInfo(next).isDir())
        result.fault = MapFault::loadFileFailure(MapError::AccessError, result.fault->lineNumber,
                                                 next, EISDIR, QString());
    return result;
}

MapLoadResult MapFileReader::loadFromMemory(const QList<QByteArray> &floorFiles,
                                            const QString &basePath)
{
    const int floorCount = int(std::min<qsizetype>(floorFiles.size(), MapData::MaxFloors));
    if (floorCount == 0) {
        MapLoadResult result;
        result.fault = MapFault::loadFailure(MapError::FileNotFound, 0);
        return result;
    }
    const auto open = [&floorFiles](int floor) {
        OpenedFloor opened;
        opened.bytes = floorFiles.at(floor - 1);
        return opened;
    };
    return ReadSession(floorCount, open).run(basePath);
}
