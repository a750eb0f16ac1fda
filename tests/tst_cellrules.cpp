#include "filetestkit.h"
#include "model/cellfill.h"
#include "model/chipfind.h"
#include "model/chipreplace.h"
#include "model/mapdocument.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Scope = ChipReplace::Scope;

Q_DECLARE_METATYPE(ChipReplace::Scope)

namespace {

QString pointsText(const QVector<QPoint> &points)
{
    QStringList texts;
    for (const QPoint &p : points)
        texts << u"%1,%2"_s.arg(p.x()).arg(p.y());
    return texts.join(u' ');
}

} // namespace

class CellRulesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fillArea_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<QRect>("bounds");
        QTest::addColumn<QString>("expected");
        QTest::newRow("same chip, joined by sides")
            << u"##./.##/#..#"_s << QPoint(1, 1) << QRect() << u"1,1 2,1 2,2 3,2"_s;
        QTest::newRow("numbers differ") << u"ppqp"_s << QPoint(1, 1) << QRect() << u"1,1 2,1"_s;
        QTest::newRow("corners do not join") << u"#./.#"_s << QPoint(1, 1) << QRect() << u"1,1"_s;
        QTest::newRow("empty cells fill too")
            << u"#../#.#"_s << QPoint(2, 1) << QRect(1, 1, 3, 2) << u"2,1 3,1 2,2"_s;
        QTest::newRow("selection bounds it")
            << u"####/####"_s << QPoint(2, 1) << QRect(2, 1, 2, 1) << u"2,1 3,1"_s;
        QTest::newRow("start outside the selection")
            << u"####"_s << QPoint(1, 1) << QRect(2, 1, 2, 1) << QString();
    }
    void fillArea()
    {
        QFETCH(QString, picture);
        QFETCH(QPoint, start);
        QFETCH(QRect, bounds);
        // The rest of the board is empty; a bounded test keeps the rows short.
        const QRect limit = bounds.isEmpty() ? QRect(1, 1, 4, 3) : bounds;
        QTEST(pointsText(CellFill::area(pictureMap(picture), 1, start, limit)), "expected");
    }

    void fillWholeEmptyBoard()
    {
        QCOMPARE(CellFill::area(MapData::resetMap(), 1, {24, 16}).size(),
                 MapData::Width * MapData::Height);
    }

    void rectangle_data()
    {
        QTest::addColumn<QPoint>("corner");
        QTest::addColumn<QPoint>("opposite");
        QTest::addColumn<bool>("border");
        QTest::addColumn<QString>("expected");
        QTest::newRow("full") << QPoint(2, 2) << QPoint(3, 3) << false << u"2,2 3,2 2,3 3,3"_s;
        QTest::newRow("corners in any order")
            << QPoint(3, 3) << QPoint(2, 2) << false << u"2,2 3,2 2,3 3,3"_s;
        QTest::newRow("border") << QPoint(1, 1) << QPoint(3, 3) << true
                                << u"1,1 2,1 3,1 1,2 3,2 1,3 2,3 3,3"_s;
        QTest::newRow("one row border") << QPoint(3, 1) << QPoint(1, 1) << true << u"1,1 2,1 3,1"_s;
        QTest::newRow("cut at the board")
            << QPoint(23, 16) << QPoint(26, 18) << false << u"23,16 24,16"_s;
    }
    void rectangle()
    {
        QFETCH(QPoint, corner);
        QFETCH(QPoint, opposite);
        QFETCH(bool, border);
        QTEST(pointsText(CellFill::rectangle(corner, opposite, border)), "expected");
    }

    void replace_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<Scope>("scope");
        QTest::addColumn<QRect>("selection");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("deletedPairs");
        const auto row = [](const char *name, const char *from, const char *to, Scope scope,
                            QRect selection, int count, const char *deletedPairs = "") {
            QTest::newRow(name) << QString::fromUtf8(from) << QString::fromUtf8(to) << scope
                                << selection << count << QString::fromUtf8(deletedPairs);
        };
        // The map: floor 1 "#p/1#", floor 2 "p1/pp", floor 3 "p"; the two warps are paired.
        row("this floor", "16_+7", "16_+A", Scope::Floor, QRect(), 1);
        row("every floor", "16_+7", "16_+A", Scope::EveryFloor, QRect(), 5);
        row("selection", "01_[]", "16_+A", Scope::Selection, QRect(2, 2, 5, 5), 1);
        row("same chip changes nothing", "16_+7", "16_+7", Scope::EveryFloor, QRect(), 0);
        row("warp to road ends its pairs", "37_W1", "01_[]", Scope::EveryFloor, QRect(), 2, "1 2");
        row("warp on one floor ends pairs with an end there", "37_W1", "01_[]", Scope::Floor,
            QRect(), 1, "1 2");
        row("warp to warp keeps them", "37_W1", "36_W4", Scope::EveryFloor, QRect(), 2);
    }
    void replace()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(Scope, scope);
        QFETCH(QRect, selection);
        QFETCH(int, count);
        const MapData map =
            pictureMap(u"#p/1#|p1/pp|p"_s, {}, {u"1,2,1>2,1,2"_s, u"2,1,2>1,2,1"_s});
        const ChipReplace replacement(from, to, scope, 1, selection);
        QCOMPARE(replacement.count(map), count);
        QStringList pairs;
        for (const int pair : replacement.deletedPairs(map))
            pairs << QString::number(pair);
        QTEST(pairs.join(u' '), "deletedPairs");

        // The document replaces in one step, or records none when nothing changes.
        MapDocument document;
        document.replace(map);
        QCOMPARE(document.replaceChips(replacement), count);
        QCOMPARE(document.undoStack().count(), count > 0 ? 1 : 0);
        QCOMPARE(ChipReplace(from, to, scope, 1, selection).count(document.data()), 0);
        QCOMPARE(document.data().warpCount(), 2 - int(pairs.size()));
        document.undo();
        QVERIFY(document.data() == map);
    }

    void layChipsIsOneStep_data()
    {
        QTest::addColumn<QString>("chip");
        QTest::addColumn<int>("steps");
        QTest::newRow("a new chip") << u"16_+A"_s << 1;
        QTest::newRow("the chip the area holds") << u"16_+7"_s << 0;
    }
    void layChipsIsOneStep()
    {
        QFETCH(QString, chip);
        QFETCH(int, steps);
        MapDocument document;
        document.replace(pictureMap(u"ppp/pp"_s));
        const QVector<QPoint> area = CellFill::area(document.data(), 1, {1, 1});
        QCOMPARE(area.size(), 5);
        document.layChips(area, 1, chip, u"塗りつぶし"_s);
        QCOMPARE(document.undoStack().count(), steps);
        document.setBranches(area, 1, u"1010"_s, u"塗りつぶし"_s);
        document.setBranches(area, 1, u"1010"_s, u"塗りつぶし"_s);
        QCOMPARE(document.undoStack().count(), steps + 1);
    }

    void find_data()
    {
        QTest::addColumn<QString>("from"); // x,y,floor
        QTest::addColumn<bool>("forward");
        QTest::addColumn<QString>("expected");
        // Road at (3,1,1), (1,2,1) and (2,1,2): rows before columns, floors before rows.
        QTest::newRow("from the floor's start") << u"0,0,1"_s << true << u"3,1,1"_s;
        QTest::newRow("row before column") << u"3,1,1"_s << true << u"1,2,1"_s;
        QTest::newRow("on to the next floor") << u"1,2,1"_s << true << u"2,1,2"_s;
        QTest::newRow("wraps to the first floor") << u"2,1,2"_s << true << u"3,1,1"_s;
        QTest::newRow("backward wraps to the last") << u"3,1,1"_s << false << u"2,1,2"_s;
        QTest::newRow("backward from a floor's end") << u"0,0,1"_s << false << u"1,2,1"_s;
    }
    void find()
    {
        QFETCH(QString, from);
        QFETCH(bool, forward);
        const QStringList at = from.split(u',');
        const ChipFind::Place start{at[0].toInt(), at[1].toInt(), at[2].toInt()};
        const MapData map = pictureMap(u"..#/#|.#|"_s);
        const ChipFind::Place p = ChipFind::next(map, u"01_[]"_s, start, forward);
        QTEST(u"%1,%2,%3"_s.arg(p.x).arg(p.y).arg(p.floor), "expected");
        QVERIFY(!ChipFind::next(map, u"16_+7"_s, start, forward).isValid());
        const MapData single = pictureMap(u".|..#"_s);
        QCOMPARE(ChipFind::next(single, u"01_[]"_s, {3, 1, 2}, forward),
                 (ChipFind::Place{3, 1, 2}));
    }
};

QTEST_GUILESS_MAIN(CellRulesTest)
#include "tst_cellrules.moc"
