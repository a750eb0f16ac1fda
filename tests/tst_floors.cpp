#include "sessionscript.h"

using namespace Qt::StringLiterals;

namespace {

struct Fixture : SessionFixture
{
    // Cells, branch settings and names that tell the floors apart.
    static QString cellOf(int floor)
    {
        return QStringList{u"33_S_"_s, u"34_G_"_s, u"16_+A"_s, u"24_+3"_s}.at(floor - 1);
    }
    static QString branchOf(int floor) { return QString::number(floor % 4) + u"230"_s; }
    static QString nameOf(int floor) { return u"名前%1"_s.arg(floor); }

    // `floors` floors; floor f has its own cell at (1, 1) and (24, 16), its own branch
    // setting at (2, 2) and its own texts.
    explicit Fixture(int floors)
    {
        QVERIFY(play(u"addfloor "_s.repeated(floors - 1)));
        for (int f = 1; f <= floors; ++f) {
            document.layChip(1, 1, f, cellOf(f));
            document.layChip(24, 16, f, cellOf(f));
            document.setBranch(2, 2, f, branchOf(f));
            document.setFloorTexts(f, nameOf(f), u"bg%1"_s.arg(f), u"end%1"_s.arg(f));
        }
        QVERIFY(play(u"mode:3"_s));
    }

    const MapData &map() const { return session.map(); }

    // Links a pair by clicks: (x, y) on floor `from` to (x, y) on floor `to`.
    void link(int x, int y, int from, int to)
    {
        const QString click = u"c:%1,%2,L"_s.arg(x).arg(y);
        QVERIFY(play((session.tools().warps().stage() == 0 ? u"newpair "_s : QString()) +
                     u"floor:%1 %2 floor:%3 %2"_s.arg(from).arg(click).arg(to)));
    }
    // Floor numbers of pair k as "source-destination".
    QString floorsOf(int pair) const
    {
        const WarpRecord &r = map().warp(pair);
        return u"%1-%2"_s.arg(r.srcFloor).arg(r.dstFloor);
    }
    // "n:source-destination" floors of every pair with both ends.
    QString definedPairs() const
    {
        QStringList pairs;
        for (int pair = 1; pair <= MapData::MaxWarps; ++pair)
            if (map().warp(pair).isDefined())
                pairs << u"%1:"_s.arg(pair) + floorsOf(pair);
        return pairs.join(u' ');
    }
    // Which original floor's cells each position now holds, e.g. "132".
    QString cellOrder() const
    {
        QString order;
        for (int f = 1; f <= map().floorCount(); ++f) {
            for (int original = 1; original <= 4; ++original) {
                if (map().cell(1, 1, f) == cellOf(original) &&
                    map().cell(24, 16, f) == cellOf(original) &&
                    map().branch(2, 2, f) == branchOf(original))
                    order += QString::number(original);
            }
        }
        return order;
    }
};

// Rows with a complete pair by label only, deleted ones in full.
QString rowPattern(const QStringList &rows)
{
    QStringList pattern;
    for (const QString &row : rows)
        pattern.append(row.endsWith(u"削除"_s) ? row : row.left(1));
    return pattern.join(u' ');
}

} // namespace

class TestFloors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addRefusedAtNine()
    {
        Fixture f(1);
        for (int floor = 2; floor <= 9; ++floor)
            QVERIFY(f.session.addFloor());
        QCOMPARE(f.session.floorTabCaptions().size(), 9);
        QCOMPARE(f.session.floorTabCaptions().last(), u"9階"_s);
        QVERIFY(f.play(u"floor:5"_s));
        const MapData before = f.map();
        QVERIFY(!f.session.addFloor());
        QVERIFY(f.map() == before);
        QCOMPARE(f.session.floorTabCaptions().size(), 9);
        QCOMPARE(f.session.currentFloor(), 5);
    }

    void addedFloorKeepsPositionTexts_data()
    {
        QTest::addColumn<bool>("afterDeletion");
        QTest::addColumn<QString>("branch");
        QTest::newRow("position used before: its branch settings stay") << false << u"3230"_s;
        QTest::newRow("position emptied by a deletion") << true << QString();
    }
    void addedFloorKeepsPositionTexts()
    {
        QFETCH(bool, afterDeletion);
        Fixture f(3);
        if (afterDeletion) {
            QVERIFY(f.play(u"floor:3 deletefloor"_s));
        } else {
            // Shrink without clearing, as a loaded two-floor map over an older third floor.
            MapData map = f.map();
            map.setFloorCount(2);
            f.session.takeLoadedMap(map);
        }
        QCOMPARE(f.map().floorCount(), 2);
        QVERIFY(f.play(u"floor:1"_s));
        QVERIFY(f.session.addFloor());
        QCOMPARE(f.map().floorCount(), 3);
        // Adding neither switches nor redraws the floor.
        QCOMPARE(f.session.currentFloor(), 1);
        QCOMPARE(f.map().cell(1, 1, 3), u"00_  "_s);
        QCOMPARE(f.map().cell(24, 16, 3), u"00_  "_s);
        QTEST(f.map().branch(2, 2, 3), "branch");
        QCOMPARE(f.map().floorName(3), Fixture::nameOf(3));
        QCOMPARE(f.map().floorBackground(3), u"bg3"_s);
        QCOMPARE(f.map().floorEndText(3), u"end3"_s);
        QCOMPARE(f.session.floorTabCaptions().last(), u"3階"_s);
    }

    void moveFloor_data()
    {
        QTest::addColumn<int>("floor");
        QTest::addColumn<int>("delta");
        QTest::addColumn<bool>("moved");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("cells");
        QTest::addColumn<QString>("pairFloors");
        QTest::addColumn<QString>("firstRow");
        // Pairs: 1 from floor 1 to 2, 2 from 2 to 3, 3 within 3.
        QTest::newRow("floor 2 right")
            << 2 << 1 << true << 3 << u"132"_s << u"1-3 3-2 2-2"_s << u"A：5,5,1-5,5,3"_s;
        QTest::newRow("floor 2 left")
            << 2 << -1 << true << 1 << u"213"_s << u"2-1 1-3 3-3"_s << u"A：5,5,2-5,5,1"_s;
        QTest::newRow("floor 3 left")
            << 3 << -1 << true << 2 << u"132"_s << u"1-3 3-2 2-2"_s << u"A：5,5,1-5,5,3"_s;
        QTest::newRow("last floor right is refused")
            << 3 << 1 << false << 3 << u"123"_s << u"1-2 2-3 3-3"_s << u"A：5,5,1-5,5,2"_s;
        QTest::newRow("first floor left is refused")
            << 1 << -1 << false << 1 << u"123"_s << u"1-2 2-3 3-3"_s << u"A：5,5,1-5,5,2"_s;
    }
    void moveFloor()
    {
        QFETCH(int, floor);
        QFETCH(int, delta);
        QFETCH(bool, moved);
        Fixture f(3);
        f.link(5, 5, 1, 2);
        f.link(6, 6, 2, 3);
        f.link(7, 7, 3, 3);
        // A fourth pair's source waits on floor 2: unfinished records are not renumbered.
        QVERIFY(f.play(u"floor:2 c:8,8,L"_s));
        QCOMPARE(f.session.tools().warps().stage(), 2);

        QVERIFY(f.play(u"floor:%1"_s.arg(floor)));
        f.session.status().tellText(QString());
        QCOMPARE(f.session.moveFloor(delta), moved);
        QTEST(f.session.currentFloor(), "current");
        QCOMPARE(f.session.status().text(), moved ? QString() : u"動かせません。"_s);
        QTEST(f.cellOrder(), "cells");
        QTEST(QStringList({f.floorsOf(1), f.floorsOf(2), f.floorsOf(3)}).join(u' '), "pairFloors");
        QCOMPARE(f.floorsOf(4), u"2-0"_s);
        // Rows follow the table at once.
        QTEST(f.session.warpWindow().rows().first(), "firstRow");
        // Names and tab captions stay with the positions.
        for (int position = 1; position <= 3; ++position)
            QCOMPARE(f.map().floorName(position), Fixture::nameOf(position));
        QCOMPARE(f.session.floorTabCaptions(), (QStringList{u"１階"_s, u"2階"_s, u"3階"_s}));
        QCOMPARE(f.map().warpCount(), 3);
    }

    void deleteFloorKeepsPositionsAndRenumbers()
    {
        Fixture f(3);
        f.link(1, 1, 1, 2); // A touches floor 2
        f.link(2, 2, 3, 3); // B within floor 3
        f.link(3, 3, 1, 3); // C floors 1 and 3
        f.link(4, 4, 2, 2); // D within floor 2
        f.link(5, 5, 3, 1); // E floor 3 to 1
        f.link(6, 6, 1, 1); // F within floor 1
        QVERIFY(f.play(u"floor:2 deletefloor"_s));

        QCOMPARE(f.map().floorCount(), 2);
        QCOMPARE(f.session.currentFloor(), 2);
        QCOMPARE(f.cellOrder(), u"13"_s);
        // The vacated position is empty, its texts stay.
        QCOMPARE(f.map().cell(1, 1, 3), u"00_  "_s);
        QCOMPARE(f.map().branch(2, 2, 3), QString());
        for (int position = 1; position <= 3; ++position) {
            QCOMPARE(f.map().floorName(position), Fixture::nameOf(position));
            QCOMPARE(f.map().floorBackground(position), u"bg%1"_s.arg(position));
        }
        QCOMPARE(f.session.floorTabCaptions(), (QStringList{u"１階"_s, u"2階"_s}));

        QCOMPARE(f.map().warpCount(), 4);
        QCOMPARE(f.definedPairs(), u"2:2-2 3:1-2 5:2-1 6:1-1"_s);
        QCOMPARE(f.session.warpWindow().rows(),
                 (QStringList{u"A：削除"_s, u"B：2,2,2-2,2,2"_s, u"C：3,3,1-3,3,2"_s, u"D：削除"_s,
                              u"E：5,5,2-5,5,1"_s, u"F：6,6,1-6,6,1"_s}));
        QStringList markers;
        for (const WarpPairs::Marker &m : f.session.tools().warps().markers().all())
            markers.append(QString::number(m.index));
        markers.sort();
        QCOMPARE(markers.join(u' '), u"10 11 12 3 4 5 6 9"_s);
    }

    void deleteFloorSelection_data()
    {
        QTest::addColumn<int>("floors");
        QTest::addColumn<int>("doomed");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("cells");
        QTest::newRow("middle floor") << 3 << 2 << 2 << u"13"_s;
        QTest::newRow("last floor: the new last one is shown") << 3 << 3 << 2 << u"12"_s;
        QTest::newRow("first floor") << 2 << 1 << 1 << u"2"_s;
        QTest::newRow("first of four") << 4 << 1 << 1 << u"234"_s;
    }
    void deleteFloorSelection()
    {
        QFETCH(int, floors);
        QFETCH(int, doomed);
        Fixture f(floors);
        QVERIFY(f.play(u"floor:%1 deletefloor"_s.arg(doomed)));
        QCOMPARE(f.map().floorCount(), floors - 1);
        QCOMPARE(f.session.floorTabCaptions().size(), floors - 1);
        QTEST(f.session.currentFloor(), "current");
        QTEST(f.cellOrder(), "cells");
    }

    void deletedPairsFreeTheirNumbers_data()
    {
        QTest::addColumn<QList<int>>("onFloor2");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("free");
        QTest::newRow("pairs 3 and 7 of 1-10")
            << QList<int>{3, 7} << u"A B C：削除 D E F G：削除 H I J"_s << u"03,07,11"_s;
        QTest::newRow("highest pairs: their rows go")
            << QList<int>{9, 10} << u"A B C D E F G H"_s << u"09,10,11"_s;
        QTest::newRow("highest pair and one below a kept pair")
            << QList<int>{8, 10} << u"A B C D E F G H：削除 I"_s << u"08,10,11"_s;
    }
    void deletedPairsFreeTheirNumbers()
    {
        QFETCH(QList<int>, onFloor2);
        QFETCH(QString, free);
        Fixture f(2);
        for (int pair = 1; pair <= 10; ++pair)
            f.link(pair, 3, 1, onFloor2.contains(pair) ? 2 : 1);
        QVERIFY(f.play(u"floor:2 deletefloor"_s));

        QCOMPARE(f.map().warpCount(), 10 - onFloor2.size());
        QCOMPARE(f.map().freePairNumbers().mid(0, 3).join(u','), free);
        QTEST(rowPattern(f.session.warpWindow().rows()), "rows");
        QVERIFY(f.play(u"newpair"_s));
        QCOMPARE(f.session.tools().warps().selectedWarp(), free.left(2).toInt());
    }

    void floorCommandsEndLinking_data()
    {
        QTest::addColumn<QString>("steps"); // on three floors in warp mode
        QTest::addColumn<int>("stage");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("markers");
        QTest::addColumn<int>("pairs"); // with both ends placed
        const int idle = WarpLinkTool::NotLinking;
        const int waiting = WarpLinkTool::WaitingSource;
        const QString askSource = u"ワープ元をクリックして下さい。"_s;
        const QString pairWithin1 = u"newpair floor:1 c:1,1,L c:1,1,L "_s;
        const QString pairTo3 = u"newpair floor:1 c:1,1,L floor:3 c:1,1,L "_s;
        QTest::newRow("deletion waiting for a source, no pair deleted")
            << pairWithin1 + u"floor:3 deletefloor"_s << waiting << askSource << 2 << 1;
        QTest::newRow("deletion of a floor below a kept pair, waiting for a source")
            << u"newpair floor:2 c:1,1,L c:1,1,L floor:1 deletefloor"_s << waiting << askSource << 2
            << 1;
        QTest::newRow("deletion waiting for a source, a pair deleted")
            << pairTo3 + u"floor:1 floor:3 deletefloor"_s << idle << QString() << 0 << 0;
        QTest::newRow("deletion with a source placed, no pair deleted")
            << pairWithin1 + u"c:9,9,L floor:3 deletefloor"_s << idle << QString() << 2 << 1;
        QTest::newRow("deletion with a source placed, a pair deleted")
            << pairTo3 + u"floor:1 c:9,9,L floor:3 deletefloor"_s << idle << QString() << 0 << 0;
        // A floor command while a new pair waits for its destination ends the pair: its source
        // is never left behind on a floor that now holds other cells.
        const QString halfPlaced = u"floor:2 newpair c:5,5,L "_s;
        for (const QString &command :
             {u"movefloor:-1"_s, u"movefloor:1"_s, u"duplicate"_s, u"deletefloor"_s})
            QTest::addRow("%s with a source placed", qPrintable(command))
                << halfPlaced + command + u" c:6,6,L"_s << idle << QString() << 0 << 0;
    }
    void floorCommandsEndLinking()
    {
        QFETCH(QString, steps);
        QFETCH(int, stage);
        Fixture f(3);
        QVERIFY(f.play(steps));
        QCOMPARE(f.session.tools().warps().stage(), stage);
        QTEST(f.session.status().text(), "status");
        QCOMPARE(f.session.tools().warps().sampleCaption().isEmpty(),
                 stage == WarpLinkTool::NotLinking);
        QTEST(int(f.session.tools().warps().markers().all().size()), "markers");
        QTEST(int(f.definedPairs().split(u' ', Qt::SkipEmptyParts).size()), "pairs");
    }

    void deletingOnlyFloorResetsMap()
    {
        Fixture f(1);
        f.link(1, 1, 1, 1);
        f.document.setFileName(u"/tmp/castle"_s);
        QVERIFY(f.play(u"deletefloor"_s));

        QCOMPARE(f.map().floorCount(), 1);
        QCOMPARE(f.map().cell(1, 1, 1), u"00_  "_s);
        QCOMPARE(f.map().branch(2, 2, 1), QString());
        QCOMPARE(f.map().floorName(1), QString());
        QCOMPARE(f.document.fileName(), QString());
        QCOMPARE(f.map().warpCount(), 0);
        QCOMPARE(f.map().freePairNumbers().size(), 79);
        QVERIFY(f.session.tools().warps().markers().all().isEmpty());
        QCOMPARE(f.session.editMode(), int(EditorSession::ChipMode));
        QCOMPARE(f.session.floorTabCaptions(), QStringList{u"１階"_s});
    }

    void duplicateFloor_data()
    {
        QTest::addColumn<int>("floors");
        QTest::addColumn<int>("floor");
        QTest::addColumn<int>("filledPairs"); // pairs within floor 1 taken before
        QTest::addColumn<QString>("cells");
        QTest::addColumn<QString>("pairs"); // "x:floors" of pairs 1-4, then of the ones after them
        QTest::addColumn<QString>("status");
        // Pairs: 1 from floor 1 to 2, 2 within 2, 3 within 3, 4 from 2 to 3.
        QTest::newRow("floor 2 of 3: later floors move up, the pair within it is copied")
            << 3 << 2 << 0 << u"1223"_s << u"5:1-2 6:2-2 7:4-4 8:2-4 6:3-3"_s << QString();
        QTest::newRow("last floor")
            << 3 << 3 << 0 << u"1233"_s << u"5:1-2 6:2-2 7:3-3 8:2-3 7:4-4"_s << QString();
        QTest::newRow("too few free numbers: the cells are copied all the same")
            << 3 << 2 << 75 << u"1223"_s << u"5:1-2 6:2-2 7:4-4 8:2-4"_s
            << u"ワープの空き番号が足りないため、1組のワープを複製できませんでした。"_s;
        QTest::newRow("nine floors are refused")
            << 9 << 2 << 0 << u"123"_s << u"5:1-2 6:2-2 7:3-3 8:2-3"_s << QString();
    }
    void duplicateFloor()
    {
        QFETCH(int, floors);
        QFETCH(int, floor);
        QFETCH(int, filledPairs);
        Fixture f(3);
        f.link(5, 5, 1, 2);
        f.link(6, 6, 2, 2);
        f.link(7, 7, 3, 3);
        f.link(8, 8, 2, 3);
        MapData map = f.map();
        for (int pair = 5; pair < 5 + filledPairs; ++pair)
            map.setWarp(pair, WarpRecord{1, 9, 1, 2, 9, 1});
        map.setFloorCount(floors);
        f.session.takeLoadedMap(map);
        QVERIFY(f.play(u"floor:%1"_s.arg(floor)));
        f.session.status().tellText(QString());
        const int steps = f.document.undoStack().count();

        const bool done = floors < MapData::MaxFloors;
        QCOMPARE(f.session.duplicateFloor(), done);
        QCOMPARE(f.document.undoStack().count(), steps + (done ? 1 : 0));
        QCOMPARE(f.map().floorCount(), done ? floors + 1 : floors);
        QCOMPARE(f.session.currentFloor(), done ? floor + 1 : floor);
        QTEST(f.cellOrder(), "cells");
        QStringList made;
        for (int pair = 1; pair <= MapData::MaxWarps; ++pair) {
            if (f.map().warp(pair).isDefined() && (pair <= 4 || pair >= 5 + filledPairs))
                made.append(u"%1:"_s.arg(f.map().warp(pair).srcX) + f.floorsOf(pair));
        }
        QTEST(made.join(u' '), "pairs");
        QTEST(f.session.status().text(), "status");
        if (!done)
            return;
        // The texts go with their floors.
        QCOMPARE(f.map().floorName(floor + 1) + f.map().floorName(4),
                 Fixture::nameOf(floor) + Fixture::nameOf(3));
        QCOMPARE(f.session.tools().warps().markers().all().size(), 2 * f.map().warpCount());
    }
};

QTEST_GUILESS_MAIN(TestFloors)
#include "tst_floors.moc"
