#include "board/maproute.h"
#include "mapfile/mapfilewriter.h"
#include "model/cellstring.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// One letter per cell: "." empty, "#" road, "S" start, "G" goal, "W" a warp on its floor,
// "N" a warp to another floor.
QString cellOf(QChar letter)
{
    switch (letter.unicode()) {
    case u'#':
        return u"01_[]"_s;
    case u'S':
        return CellString::start();
    case u'G':
        return CellString::goal();
    case u'W':
        return u"37_W1"_s;
    case u'N':
        return u"36_W4"_s;
    default:
        return CellString::empty();
    }
}

// Floors separated by "|", rows by "/"; branch settings "x,y,f=digits", pairs "x,y,f>x,y,f"
// numbered from 1.
MapData mapOf(const QString &picture, const QStringList &branches = {},
              const QStringList &pairs = {})
{
    MapData map = MapData::resetMap();
    const QStringList floors = picture.split(u'|');
    map.setFloorCount(int(floors.size()));
    for (int f = 0; f < floors.size(); ++f) {
        const QStringList rows = floors[f].split(u'/');
        for (int y = 0; y < rows.size(); ++y) {
            for (int x = 0; x < rows[y].size(); ++x)
                map.setCell(x + 1, y + 1, f + 1, cellOf(rows[y][x]));
        }
    }
    for (const QString &branch : branches) {
        const QStringList at = branch.section(u'=', 0, 0).split(u',');
        map.setBranch(at[0].toInt(), at[1].toInt(), at[2].toInt(), branch.section(u'=', 1));
    }
    for (int i = 0; i < pairs.size(); ++i) {
        const QStringList n = QString(pairs[i]).replace(u'>', u',').split(u',');
        map.setWarp(i + 1, {std::uint8_t(n[0].toInt()), std::uint8_t(n[1].toInt()),
                            std::uint8_t(n[2].toInt()), std::uint8_t(n[3].toInt()),
                            std::uint8_t(n[4].toInt()), std::uint8_t(n[5].toInt())});
    }
    return map;
}

// "f:x,y x,y;f:..." for the floors that have any.
QString unreachableText(const MapRoute &route, int floors)
{
    QStringList parts;
    for (int f = 1; f <= floors; ++f) {
        QStringList cells;
        for (const QPoint &p : route.unreachableOn(f))
            cells << u"%1,%2"_s.arg(p.x()).arg(p.y());
        if (!cells.isEmpty())
            parts << QString::number(f) + u':' + cells.join(u' ');
    }
    return parts.join(u';');
}

} // namespace

class MapRouteTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void route_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QStringList>("branches");
        QTest::addColumn<QStringList>("pairs");
        QTest::addColumn<QString>("expected"); // "steps/jumps: x,y,f ..." or "none"
        QTest::addColumn<QString>("unreachable");
        QTest::newRow("straight road") << u"S##G"_s << QStringList() << QStringList()
                                       << u"3/0: 1,1,1 2,1,1 3,1,1 4,1,1"_s << QString();
        QTest::newRow("a warp shortcut beats the long road")
            << u"SW#######G"_s << QStringList() << QStringList{u"2,1,1>9,1,1"_s}
            << u"2/1: 1,1,1 2,1,1 9,1,1 10,1,1"_s << QString();
        QTest::newRow("of equal steps the fewer jumps")
            << u"S#G/W.#"_s << QStringList() << QStringList{u"1,2,1>3,2,1"_s}
            << u"2/0: 1,1,1 2,1,1 3,1,1"_s << QString();
        QTest::newRow("a one-way digit forbids the short way")
            << u"##./S#G"_s << QStringList{u"1,2,1=1101"_s} << QStringList()
            << u"4/0: 1,2,1 1,1,1 2,1,1 2,2,1 3,2,1"_s << QString();
        QTest::newRow("a goal only through a floor change")
            << u"SN|#G"_s << QStringList() << QStringList{u"2,1,1>1,1,2"_s}
            << u"2/1: 1,1,1 2,1,1 1,1,2 2,1,2"_s << QString();
        QTest::newRow("a broken pair is not followed")
            << u"SN.G"_s << QStringList() << QStringList{u"2,1,1>4,1,1"_s} << u"none"_s
            << u"1:4,1"_s;
        QTest::newRow("no goal") << u"S##"_s << QStringList() << QStringList() << u"none"_s
                                 << QString();
        QTest::newRow("the start walled in")
            << u"S.#G"_s << QStringList() << QStringList() << u"none"_s << u"1:3,1 4,1"_s;
        QTest::newRow("behind a 0 digit")
            << u"S#/#G"_s << QStringList{u"1,1,1=1101"_s} << QStringList()
            << u"2/0: 1,1,1 1,2,1 2,2,1"_s << u"1:2,1"_s;
        QTest::newRow("a floor no pair leads to") << u"SG|##"_s << QStringList() << QStringList()
                                                  << u"1/0: 1,1,1 2,1,1"_s << u"2:1,1 2,1"_s;
        QTest::newRow("nothing leads on from a goal")
            << u"SG#"_s << QStringList() << QStringList() << u"1/0: 1,1,1 2,1,1"_s << u"1:3,1"_s;
    }
    void route()
    {
        QFETCH(QString, picture);
        QFETCH(QStringList, branches);
        QFETCH(QStringList, pairs);
        QFETCH(QString, expected);
        QFETCH(QString, unreachable);
        const MapData map = mapOf(picture, branches, pairs);
        const MapRoute route = MapRoute::compute(map);
        QString text = u"none"_s;
        if (route.isFound()) {
            QStringList cells;
            for (const MapRoute::Place &p : route.cells())
                cells << u"%1,%2,%3"_s.arg(p.x).arg(p.y).arg(p.floor);
            text = u"%1/%2: "_s.arg(route.steps()).arg(route.jumps()) + cells.join(u' ');
        }
        QCOMPARE(text, expected);
        QCOMPARE(unreachableText(route, map.floorCount()), unreachable);
    }

    // The command line's numbers for a small map, worked out by hand.
    void statsAsJson()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        MapData map =
            mapOf(u"SW#/.#G/N..|#.#"_s, {u"3,1,1=0001"_s}, {u"2,1,1>2,2,1"_s, u"1,3,1>1,1,2"_s});
        QVERIFY(!MapFileWriter::save(map, dir.filePath(u"route"_s)).fault);
        QProcess process;
        process.start(QStringLiteral(QZK_MAP_PROGRAM),
                      {u"stats"_s, u"--json"_s, dir.filePath(u"route.map"_s)});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        const QJsonObject root = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        // S(1,1) > W(2,1) jumps to (2,2) > G(3,2): two steps, one jump.
        const QJsonObject route = root[u"route"_s].toObject();
        QCOMPARE(route[u"steps"_s].toInt(), 2);
        QCOMPARE(route[u"warps"_s].toInt(), 1);
        QCOMPARE(route[u"cells"_s].toArray(),
                 (QJsonArray{QJsonArray{1, 1, 1}, QJsonArray{2, 1, 1}, QJsonArray{2, 2, 1},
                             QJsonArray{3, 2, 1}}));
        // No step leads to N(1,3), so neither does its pair to floor 2.
        QCOMPARE(root[u"unreachable"_s].toObject(),
                 (QJsonObject{{u"1"_s, QJsonArray{QJsonArray{1, 3}}},
                              {u"2"_s, QJsonArray{QJsonArray{1, 1}, QJsonArray{3, 1}}}}));
        QCOMPARE(root[u"pairs"_s].toObject(), (QJsonObject{{u"used"_s, 2}, {u"free"_s, 77}}));
        const QJsonObject first = root[u"floors"_s][u"1"_s].toObject();
        QCOMPARE(first[u"branchPoints"_s].toInt(), 1);
        QCOMPARE(first[u"pairs"_s].toInt(), 2);
        QCOMPARE(first[u"unreachable"_s].toInt(), 1);
        QCOMPARE(root[u"whole"_s][u"chips"_s].toArray(),
                 (QJsonArray{QJsonObject{{u"cell"_s, u"01_[]"_s}, {u"count"_s, 4}},
                             QJsonObject{{u"cell"_s, u"33_S_"_s}, {u"count"_s, 1}},
                             QJsonObject{{u"cell"_s, u"34_G_"_s}, {u"count"_s, 1}},
                             QJsonObject{{u"cell"_s, u"36_W4"_s}, {u"count"_s, 1}},
                             QJsonObject{{u"cell"_s, u"37_W1"_s}, {u"count"_s, 1}}}));

        process.start(QStringLiteral(QZK_MAP_PROGRAM),
                      {u"stats"_s, dir.filePath(u"missing.map"_s)});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 3);
        process.setStandardOutputFile(u"/dev/full"_s);
        process.start(QStringLiteral(QZK_MAP_PROGRAM), {u"stats"_s, dir.filePath(u"route.map"_s)});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 4);
    }
};

QTEST_GUILESS_MAIN(MapRouteTest)
#include "tst_maproute.moc"
