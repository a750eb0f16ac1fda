#include "board/maproute.h"
#include "filetestkit.h"
#include "mapfile/mapfilewriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

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
        const auto row = [](const char *name, const char *picture, const QStringList &branches,
                            const QStringList &pairs, const char *expected,
                            const char *unreachable = "") {
            QTest::newRow(name) << QString::fromUtf8(picture) << branches << pairs
                                << QString::fromUtf8(expected) << QString::fromUtf8(unreachable);
        };
        row("straight road", "S##G", {}, {}, "3/0: 1,1,1 2,1,1 3,1,1 4,1,1");
        row("a warp shortcut beats the long road", "S1#######G", {}, {u"2,1,1>9,1,1"_s},
            "2/1: 1,1,1 2,1,1 9,1,1 10,1,1");
        row("of equal steps the fewer jumps", "S#G/1.#", {}, {u"1,2,1>3,2,1"_s},
            "2/0: 1,1,1 2,1,1 3,1,1");
        row("a one-way digit forbids the short way", "##./S#G", {u"1,2,1=1101"_s}, {},
            "4/0: 1,2,1 1,1,1 2,1,1 2,2,1 3,2,1");
        row("a goal only through a floor change", "S4|#G", {}, {u"2,1,1>1,1,2"_s},
            "2/1: 1,1,1 2,1,1 1,1,2 2,1,2");
        row("a broken pair is not followed", "S4.G", {}, {u"2,1,1>4,1,1"_s}, "none", "1:4,1");
        row("no goal", "S##", {}, {}, "none");
        row("the start walled in", "S.#G", {}, {}, "none", "1:3,1 4,1");
        row("behind a 0 digit", "S#/#G", {u"1,1,1=1101"_s}, {}, "2/0: 1,1,1 1,2,1 2,2,1", "1:2,1");
        row("a floor no pair leads to", "SG|##", {}, {}, "1/0: 1,1,1 2,1,1", "2:1,1 2,1");
        row("nothing leads on from a goal", "SG#", {}, {}, "1/0: 1,1,1 2,1,1", "1:3,1");
    }
    void route()
    {
        QFETCH(QString, picture);
        QFETCH(QStringList, branches);
        QFETCH(QStringList, pairs);
        const MapData map = pictureMap(picture, branches, pairs);
        const MapRoute route = MapRoute::compute(map);
        QString text = u"none"_s;
        if (route.isFound()) {
            QStringList cells;
            for (const MapRoute::Place &p : route.cells())
                cells << u"%1,%2,%3"_s.arg(p.x).arg(p.y).arg(p.floor);
            text = u"%1/%2: "_s.arg(route.steps()).arg(route.jumps()) + cells.join(u' ');
        }
        QTEST(text, "expected");
        QTEST(unreachableText(route, map.floorCount()), "unreachable");
    }

    // The command line's numbers for a small map, worked out by hand.
    void statsAsJson()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        MapData map = pictureMap(u"S1#/.#G/4..|#.#"_s, {u"3,1,1=0001"_s},
                                 {u"2,1,1>2,2,1"_s, u"1,3,1>1,1,2"_s});
        QVERIFY(!MapFileWriter::save(map, dir.filePath(u"route"_s)).fault);
        const ProgramRun run = qzkMap({u"stats"_s, u"--json"_s, dir.filePath(u"route.map"_s)});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject root = QJsonDocument::fromJson(run.out).object();
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

        QCOMPARE(qzkMap({u"stats"_s, dir.filePath(u"missing.map"_s)}).exitCode, 3);
        QCOMPARE(qzkMap({u"stats"_s, dir.filePath(u"route.map"_s)}, u"/dev/full"_s).exitCode, 4);
    }
};

QTEST_GUILESS_MAIN(MapRouteTest)
#include "tst_maproute.moc"
