#include "board/mapdiff.h"

#include "model/cellstring.h"
#include "model/chipdescriptions.h"
#include "model/codetables.h"
#include "model/mapdata.h"

#include <QBitArray>
#include <QJsonArray>

#include <algorithm>

namespace MapDiff {

namespace {

// Long comments would make one line too wide to read; the JSON keeps them whole.
constexpr int ShownTextLength = 40;

QString cellLine(int floor, int x, int y, const QString &before, const QString &after,
                 const ChipDescriptions &names)
{
    const auto [was, now] = chipNames(before, after, names);
    QString line = placeText(floor, x, y);
    line.reserve(line.size() + was.size() + now.size() + 4);
    line += u'：';
    line += was;
    line += QStringLiteral(" → ");
    line += now;
    return line;
}

QString passageText(QChar digit)
{
    switch (digit.unicode()) {
    case u'0':
        return QStringLiteral("道なし");
    case u'1':
        return QStringLiteral("通行禁止");
    case u'2':
        return QStringLiteral("一方通行");
    case u'3':
        return QStringLiteral("２ｗａｙ");
    default:
        return QString(digit);
    }
}

QString branchLine(int floor, int x, int y, const QString &before, const QString &after)
{
    return placeText(floor, x, y) + QStringLiteral("の分岐点：") + settingText(before, after) +
           QStringLiteral(" → ") + settingText(after, before);
}

} // namespace

QString placeText(int floor, int x, int y)
{
    QString cell = u'(' + QString::number(x) + u',' + QString::number(y) + u')';
    return floor ? QString::number(floor) + u'階' + cell : cell;
}

// The grid holds only the code: the two-digit index is worked out again on reading.
QStringView storedCode(const QString &cell)
{
    return QStringView(cell).mid(std::min<qsizetype>(3, cell.size()));
}

QString quoted(QStringView text)
{
    return u'「' + text.toString() + u'」';
}

// The directions of a setting, in its own order (up, left, right, down); with `other`, only
// those that differ from it.
QString settingText(const QString &setting, const QString &other)
{
    const QString directions = QStringLiteral("上左右下");
    if (setting.isEmpty())
        return QStringLiteral("なし");
    QStringList parts;
    for (int i = 0; i < directions.size() && i < setting.size(); ++i) {
        if (other.size() == setting.size() && other[i] == setting[i])
            continue;
        parts.append(directions[i] + passageText(setting[i]));
    }
    return parts.join(u' ');
}

QString shownText(const QString &text)
{
    if (text.isEmpty())
        return QStringLiteral("なし");
    QString flat = text;
    flat.replace(QStringLiteral("\r\n"), QStringLiteral("↵"));
    if (flat.size() > ShownTextLength)
        flat = flat.left(ShownTextLength) + u'…';
    return quoted(flat);
}

QString pairLabel(int pair)
{
    return QStringLiteral("ワープ[") + CodeTables::sourceLabel(pair) + u']';
}

QString endsText(const WarpRecord &record)
{
    return placeText(record.srcFloor, record.srcX, record.srcY) + QStringLiteral("から") +
           placeText(record.dstFloor, record.dstX, record.dstY) + u'へ';
}

QString chipName(const QString &cell, const ChipDescriptions &names)
{
    return names.describe(CellString::chipIndex(cell),
                          QString::number(CellString::decodeParameter(cell)));
}

std::pair<QString, QString> chipNames(const QString &one, const QString &other,
                                      const ChipDescriptions &names)
{
    std::pair<QString, QString> shown{chipName(one, names), chipName(other, names)};
    // Unknown codes read as plain road: only the code tells them apart.
    if (shown.first.isEmpty() || shown.first == shown.second) {
        shown.first += quoted(storedCode(one));
        shown.second += quoted(storedCode(other));
    }
    return shown;
}

namespace {

QVector<Place> endsOf(const WarpRecord &record)
{
    return {{record.srcFloor, QPoint(record.srcX, record.srcY)},
            {record.dstFloor, QPoint(record.dstX, record.dstY)}};
}

Difference difference(Kind kind, int floor, Place place, QVector<Place> marks = {})
{
    Difference d;
    d.kind = kind;
    d.floor = floor;
    d.place = place;
    d.marks = std::move(marks);
    return d;
}

struct Pair
{
    int number = 0;
    WarpRecord record;
};

QVector<Pair> pairsOf(const MapData &map)
{
    QVector<Pair> pairs;
    for (int n = 1; n <= MapData::MaxWarps; ++n)
        if (map.warp(n).isDefined())
            pairs.append({n, map.warp(n)});
    return pairs;
}

// Pairs are told apart by their two ends: the files keep only their order, so the same
// ends under another number are the same pair. The same number with other ends is a move,
// the rest added or removed.
QVector<Difference> pairDifferences(const MapData &before, const MapData &after)
{
    QVector<Difference> found;
    for (const PairMatch &match : matchPairs(before, after)) {
        const WarpRecord was = match.before ? before.warp(match.before) : WarpRecord();
        const WarpRecord now = match.after ? after.warp(match.after) : WarpRecord();
        if (match.before && match.after && was == now)
            continue;
        const WarpRecord &shown = match.after ? now : was;
        Difference d =
            difference(Kind::PairMoved, shown.srcFloor, endsOf(shown).first(), endsOf(shown));
        d.pairBefore = match.before;
        d.pairAfter = match.after;
        d.endsBefore = was;
        d.endsAfter = now;
        if (!match.before) {
            d.kind = Kind::PairAdded;
        } else if (!match.after) {
            d.kind = Kind::PairRemoved;
        } else {
            for (const Place &end : endsOf(was))
                if (!d.marks.contains(end))
                    d.marks.append(end);
        }
        found.append(d);
    }
    return found;
}

void compareTexts(QVector<Difference> &out, int floor, Kind kind, const QString &before,
                  const QString &after)
{
    if (before == after)
        return;
    Difference d = difference(kind, floor, {floor, QPoint()});
    d.before = before;
    d.after = after;
    out.append(std::move(d));
}

void compareFloor(QVector<Difference> &out, const MapData &before, const MapData &after, int floor)
{
    compareTexts(out, floor, Kind::FloorName, before.floorName(floor), after.floorName(floor));
    compareTexts(out, floor, Kind::FloorBackground, before.floorBackground(floor),
                 after.floorBackground(floor));
    compareTexts(out, floor, Kind::FloorComment, before.floorEndText(floor),
                 after.floorEndText(floor));
    // Row by row, as the grid lines of the file read.
    for (int y = 1; y <= MapData::Height; ++y) {
        for (int x = 1; x <= MapData::Width; ++x) {
            const Place here{floor, QPoint(x, y)};
            const QString &was = before.cell(x, y, floor);
            const QString &now = after.cell(x, y, floor);
            if (storedCode(was) != storedCode(now)) {
                Difference d = difference(Kind::Cell, floor, here, {here});
                d.before = was;
                d.after = now;
                out.append(std::move(d));
            }
            const QString &wasSetting = before.branch(x, y, floor);
            const QString &nowSetting = after.branch(x, y, floor);
            if (wasSetting != nowSetting) {
                Difference d = difference(Kind::Branch, floor, here, {here});
                d.before = wasSetting;
                d.after = nowSetting;
                out.append(std::move(d));
            }
        }
    }
}

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::Cell:
        return QStringLiteral("cell");
    case Kind::Branch:
        return QStringLiteral("branch");
    case Kind::PairAdded:
        return QStringLiteral("pair-added");
    case Kind::PairRemoved:
        return QStringLiteral("pair-removed");
    case Kind::PairMoved:
        return QStringLiteral("pair-moved");
    case Kind::FloorName:
        return QStringLiteral("floor-name");
    case Kind::FloorBackground:
        return QStringLiteral("floor-background");
    case Kind::FloorComment:
        return QStringLiteral("floor-comment");
    case Kind::FloorAdded:
        return QStringLiteral("floor-added");
    case Kind::FloorRemoved:
        break;
    }
    return QStringLiteral("floor-removed");
}

QJsonObject pairJson(int number, const WarpRecord &ends)
{
    const auto place = [](int floor, int x, int y) {
        return QJsonObject{
            {QStringLiteral("floor"), floor}, {QStringLiteral("x"), x}, {QStringLiteral("y"), y}};
    };
    return {{QStringLiteral("pair"), number},
            {QStringLiteral("label"), CodeTables::sourceLabel(number)},
            {QStringLiteral("from"), place(ends.srcFloor, ends.srcX, ends.srcY)},
            {QStringLiteral("to"), place(ends.dstFloor, ends.dstX, ends.dstY)}};
}

bool isPair(Kind kind)
{
    return kind == Kind::PairAdded || kind == Kind::PairRemoved || kind == Kind::PairMoved;
}

} // namespace

QVector<PairMatch> matchPairs(const MapData &before, const MapData &after)
{
    QVector<Pair> was = pairsOf(before);
    QVector<Pair> now = pairsOf(after);
    QVector<PairMatch> matches;
    const auto pass = [&](auto same) {
        for (auto pair = now.begin(); pair != now.end();) {
            const auto old =
                std::find_if(was.begin(), was.end(), [&](const Pair &p) { return same(p, *pair); });
            if (old == was.end()) {
                ++pair;
                continue;
            }
            matches.append({old->number, pair->number});
            was.erase(old);
            pair = now.erase(pair);
        }
    };
    const auto shareAnEnd = [](const WarpRecord &a, const WarpRecord &b) {
        return (a.srcFloor == b.srcFloor && a.srcX == b.srcX && a.srcY == b.srcY) ||
               (a.dstFloor == b.dstFloor && a.dstX == b.dstX && a.dstY == b.dstY);
    };
    pass([](const Pair &a, const Pair &b) { return a.number == b.number && a.record == b.record; });
    pass([](const Pair &a, const Pair &b) { return a.record == b.record; });
    // A pair moved keeps one end where it was; its number may have changed with pairs added
    // or removed before it in the files.
    pass([&](const Pair &a, const Pair &b) {
        return a.number == b.number && shareAnEnd(a.record, b.record);
    });
    pass([&](const Pair &a, const Pair &b) { return shareAnEnd(a.record, b.record); });
    pass([](const Pair &a, const Pair &b) { return a.number == b.number; });
    for (const Pair &pair : std::as_const(now))
        matches.append({0, pair.number});
    for (const Pair &pair : std::as_const(was))
        matches.append({pair.number, 0});
    return matches;
}

Result compare(const MapData &before, const MapData &after, const ChipDescriptions &names)
{
    QVector<Difference> pairs = pairDifferences(before, after);
    // Each floor's pairs by number, after its cells.
    const auto number = [](const Difference &d) {
        return d.pairAfter ? d.pairAfter : d.pairBefore;
    };
    std::stable_sort(pairs.begin(), pairs.end(), [&](const Difference &a, const Difference &b) {
        return number(a) < number(b);
    });
    Result result;
    result.names = names;
    QVector<Difference> &out = result.differences;
    const int common = std::min(before.floorCount(), after.floorCount());
    for (int floor = 1; floor <= MapData::MaxFloors; ++floor) {
        if (floor <= common) {
            compareFloor(out, before, after, floor);
        } else if (floor <= std::max(before.floorCount(), after.floorCount())) {
            const bool added = floor > before.floorCount();
            Difference d =
                difference(added ? Kind::FloorAdded : Kind::FloorRemoved, floor, {floor, QPoint()});
            out.append(std::move(d));
        }
        for (Difference &d : pairs)
            if (std::clamp(d.floor, 1, MapData::MaxFloors) == floor)
                out.append(std::move(d));
    }
    return result;
}

QString Result::line(int index) const
{
    const Difference &d = differences.at(index);
    const QPoint &cell = d.place.cell;
    const auto floorText = [&](const QString &part) {
        return QString::number(d.floor) + u'階' + part + u'：' + shownText(d.before) +
               QStringLiteral(" → ") + shownText(d.after);
    };
    switch (d.kind) {
    case Kind::Cell:
        return cellLine(d.floor, cell.x(), cell.y(), d.before, d.after, names);
    case Kind::Branch:
        return branchLine(d.floor, cell.x(), cell.y(), d.before, d.after);
    case Kind::PairAdded:
        return pairLabel(d.pairAfter) + QStringLiteral("の追加：") + endsText(d.endsAfter);
    case Kind::PairRemoved:
        return pairLabel(d.pairBefore) + QStringLiteral("の削除：") + endsText(d.endsBefore);
    case Kind::PairMoved:
        return pairLabel(d.pairAfter) + QStringLiteral("の移動：") + endsText(d.endsBefore) +
               QStringLiteral(" → ") + endsText(d.endsAfter);
    case Kind::FloorName:
        return floorText(QStringLiteral("のマップ名"));
    case Kind::FloorBackground:
        return floorText(QStringLiteral("の背景画"));
    case Kind::FloorComment:
        return floorText(QStringLiteral("のコメント"));
    case Kind::FloorAdded:
        return QString::number(d.floor) + QStringLiteral("階の追加");
    case Kind::FloorRemoved:
        break;
    }
    return QString::number(d.floor) + QStringLiteral("階の削除");
}

QStringList Result::lines() const
{
    QStringList lines;
    lines.reserve(differences.size());
    for (int i = 0; i < differences.size(); ++i)
        lines.append(line(i));
    return lines;
}

QVector<QPoint> Result::markedOn(int floor) const
{
    QBitArray marked(MapData::Width * MapData::Height);
    for (const Difference &d : differences) {
        for (const Place &mark : d.marks) {
            if (mark.floor == floor && MapData::isOnBoard(mark.cell.x(), mark.cell.y()))
                marked.setBit((mark.cell.y() - 1) * MapData::Width + mark.cell.x() - 1);
        }
    }
    QVector<QPoint> cells;
    for (int i = 0; i < marked.size(); ++i)
        if (marked.testBit(i))
            cells.append(QPoint(i % MapData::Width + 1, i / MapData::Width + 1));
    return cells;
}

QJsonObject Result::toJson() const
{
    QJsonArray list;
    for (int i = 0; i < differences.size(); ++i) {
        const Difference &d = differences[i];
        QJsonObject entry{{QStringLiteral("kind"), kindName(d.kind)},
                          {QStringLiteral("floor"), d.floor},
                          {QStringLiteral("text"), line(i)}};
        if (!d.place.cell.isNull()) {
            entry.insert(QStringLiteral("x"), d.place.cell.x());
            entry.insert(QStringLiteral("y"), d.place.cell.y());
        }
        if (isPair(d.kind)) {
            if (d.pairBefore)
                entry.insert(QStringLiteral("before"), pairJson(d.pairBefore, d.endsBefore));
            if (d.pairAfter)
                entry.insert(QStringLiteral("after"), pairJson(d.pairAfter, d.endsAfter));
        } else if (d.kind == Kind::Cell) {
            entry.insert(QStringLiteral("before"), storedCode(d.before).toString());
            entry.insert(QStringLiteral("after"), storedCode(d.after).toString());
        } else if (d.kind != Kind::FloorAdded && d.kind != Kind::FloorRemoved) {
            entry.insert(QStringLiteral("before"), d.before);
            entry.insert(QStringLiteral("after"), d.after);
        }
        list.append(entry);
    }
    return {{QStringLiteral("same"), isSame()}, {QStringLiteral("differences"), list}};
}

} // namespace MapDiff
