#include "board/mapstats.h"

#include "model/cellstring.h"
#include "model/chipdescriptions.h"
#include "model/mapdata.h"

#include <QMap>

#include <algorithm>

namespace {

QVector<MapStats::ChipCount> sorted(const QMap<QString, int> &counts)
{
    QVector<MapStats::ChipCount> chips;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        chips.append({it.key(), it.value()});
    return chips;
}

} // namespace

MapStats MapStats::compute(const MapData &map)
{
    MapStats stats;
    const int floorCount = std::clamp(map.floorCount(), 1, int(MapData::MaxFloors));
    stats.mRoute = MapRoute::compute(map);
    QMap<QString, int> whole;
    const QString empty = CellString::empty();
    for (int f = 1; f <= floorCount; ++f) {
        Counts counts;
        QMap<QString, int> chips;
        for (int y = 1; y <= MapData::Height; ++y) {
            for (int x = 1; x <= MapData::Width; ++x) {
                const QString &cell = map.cell(x, y, f);
                if (cell != empty) {
                    ++chips[cell];
                    ++whole[cell];
                }
                if (!map.branch(x, y, f).isEmpty())
                    ++counts.branchPoints;
            }
        }
        for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
            if (map.warp(pair).isDefined() && map.warp(pair).srcFloor == f)
                ++counts.pairs;
        }
        counts.chips = sorted(chips);
        counts.unreachable = int(stats.mRoute.unreachableOn(f).size());
        stats.mWhole.branchPoints += counts.branchPoints;
        stats.mWhole.unreachable += counts.unreachable;
        stats.mFloors.append(counts);
    }
    stats.mWhole.chips = sorted(whole);
    stats.mWhole.pairs = map.warpCount();
    return stats;
}

int MapStats::pairsFree() const
{
    return MapData::MaxWarps - mWhole.pairs;
}

QString MapStats::routeText() const
{
    if (!mRoute.isFound())
        return QStringLiteral("あがりまで行けません。");
    return QStringLiteral("あがりまで %1 マス（ワープ %2 回）")
        .arg(mRoute.steps())
        .arg(mRoute.jumps());
}

QString MapStats::pairsText() const
{
    return QStringLiteral("ワープ %1 組（空き %2 / %3）")
        .arg(pairsUsed())
        .arg(pairsFree())
        .arg(MapData::MaxWarps);
}

QString MapStats::floorSummaryText(const Counts &counts)
{
    return QStringLiteral("分岐点 %1 か所　ワープ %2 組　行けないマス %3")
        .arg(counts.branchPoints)
        .arg(counts.pairs)
        .arg(counts.unreachable);
}

QString MapStats::chipLineText(const ChipDescriptions &descriptions, const ChipCount &chip)
{
    const QString name = descriptions.describe(
        CellString::chipIndex(chip.cell), QString::number(CellString::decodeParameter(chip.cell)));
    return QStringLiteral("%1  %2").arg(name.isEmpty() ? chip.cell : name).arg(chip.count);
}

QString MapStats::floorTitle(int floor)
{
    return QString::number(floor) + QStringLiteral("階");
}

QString MapStats::wholeTitle()
{
    return QStringLiteral("マップ全体");
}

QStringList MapStats::textLines(const ChipDescriptions &descriptions) const
{
    QStringList lines{routeText(), pairsText()};
    const auto addCounts = [&](const QString &title, const Counts &counts) {
        lines.append(QString());
        lines.append(QStringLiteral("[") + title + QStringLiteral("] ") + floorSummaryText(counts));
        for (const ChipCount &chip : counts.chips)
            lines.append(QStringLiteral("  ") + chip.cell + u' ' +
                         chipLineText(descriptions, chip));
    };
    for (int f = 1; f <= floorCount(); ++f)
        addCounts(floorTitle(f), floor(f));
    addCounts(wholeTitle(), mWhole);
    return lines;
}
