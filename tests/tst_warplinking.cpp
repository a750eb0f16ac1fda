#include "model/codetables.h"
#include "session/tools/warplinktool.h"
#include "sessionscript.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString AskSource = u"ワープ元をクリックして下さい。"_s;
const QString AskDestination = u"ワープ先をクリックして下さい。"_s;

struct Fixture : SessionFixture
{
    Fixture() { QVERIFY(play(u"mode:3"_s)); }
    WarpLinkTool &warps() { return session.tools().warps(); }
    WarpWindowPresenter &window() { return session.warpWindow(); }
    const WarpMarkers &markers() { return warps().markers(); }
};

// Pair n of `linkPairs`: source in column (n-1)%24+1, row (n-1)/24+1, destination 8 rows
// lower, both on floor 1.
QPoint pairSource(int n)
{
    return {(n - 1) % 24 + 1, (n - 1) / 24 + 1};
}

void linkPairs(Fixture &f, int count)
{
    QString steps = u"newpair"_s;
    for (int n = 1; n <= count; ++n) {
        const QPoint source = pairSource(n);
        steps += u" c:%1,%2,L c:%1,%3,L"_s.arg(source.x()).arg(source.y()).arg(source.y() + 8);
    }
    QVERIFY(f.play(steps));
}

QString pairRowOf(int n)
{
    const QPoint s = pairSource(n);
    return CodeTables::sourceLabel(n) +
           QString::asprintf("：%d,%d,1-%d,%d,1", s.x(), s.y(), s.x(), s.y() + 8);
}

QString recordText(const WarpRecord &r)
{
    return QString::asprintf("%d,%d,%d-%d,%d,%d", r.srcX, r.srcY, r.srcFloor, r.dstX, r.dstY,
                             r.dstFloor);
}

// Pairs 1..n of the table as texts; every later record must be untouched.
QStringList records(const MapData &map, int n)
{
    QStringList texts;
    for (int pair = 1; pair <= n; ++pair)
        texts.append(recordText(map.warp(pair)));
    return texts;
}

bool laterRecordsEmpty(const MapData &map, int from)
{
    for (int pair = from; pair <= MapData::MaxWarps; ++pair)
        if (map.warp(pair) != WarpRecord{})
            return false;
    return true;
}

// The markers that exist, bottom first: "index@x,y,floor".
QString markersText(const WarpMarkers &markers)
{
    QStringList texts;
    for (const WarpPairs::Marker &m : markers.all())
        texts.append(u"%1@%2,%3,%4"_s.arg(m.index).arg(m.cell.x()).arg(m.cell.y()).arg(m.floor));
    return texts.join(u' ');
}

// The indexes of the markers that pass `test`, in text order.
QString indexesOf(const WarpMarkers &markers,
                  bool (*test)(const WarpMarkers &, const WarpPairs::Marker &))
{
    QStringList indexes;
    for (const WarpPairs::Marker &m : markers.all())
        if (test(markers, m))
            indexes.append(QString::number(m.index));
    indexes.sort();
    return indexes.join(u' ');
}

QString freeHead(const MapData &map, int count = 3)
{
    return map.freePairNumbers().mid(0, count).join(u' ');
}

} // namespace

class TestWarpLinking : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linking_data();
    void linking();
    void markerClicks_data();
    void markerClicks();
    void markerListText();
    void markerVisibility_data();
    void markerVisibility();
    void highlighting_data();
    void highlighting();
    void rowsAndFreeNumbers_data();
    void rowsAndFreeNumbers();
    void seventyNinePairs();
    void leavingWarpMode();
    void resetForgetsLinking();
    void loadedMapGetsMarkersInPairOrder();
};

void TestWarpLinking::linking_data()
{
    // Space-separated: the script, pair records 1.. (later ones untouched), the first free
    // pair numbers, rows, markers.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("records");
    QTest::addColumn<int>("warpCount");
    QTest::addColumn<QString>("free");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<int>("stage");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("markers");

    const QString pairA = u"newpair c:3,5,L c:10,2,L "_s;
    const QString none;
    const int idle = WarpLinkTool::NotLinking;
    const int waitsSource = WarpLinkTool::WaitingSource;
    const int waitsDestination = WarpLinkTool::WaitingDestination;

    QTest::newRow("new pair, next one offered")
        << pairA << u"3,5,1-10,2,1"_s << 1 << u"02 03 04"_s << u"A：3,5,1-10,2,1"_s << waitsSource
        << AskSource << u"B"_s << u"2@10,2,1 1@3,5,1"_s;
    QTest::newRow("source placed")
        << u"newpair c:3,5,L"_s << u"3,5,1-0,0,0"_s << 0 << u"01 02 03"_s << none
        << waitsDestination << AskDestination << u"a"_s << u"1@3,5,1"_s;
    QTest::newRow("right button in the source step ends linking")
        << u"newpair c:3,5,R"_s << none << 0 << u"01 02 03"_s << none << idle << none << none
        << none;
    QTest::newRow("right button in the destination step: back to the source")
        << u"newpair c:3,5,L c:4,4,R"_s << u"3,5,1-0,0,0"_s << 0 << u"01 02 03"_s << none
        << waitsSource << AskSource << u"A"_s << none;
    QTest::newRow("two right buttons cancel two steps")
        << u"newpair c:3,5,L c:4,4,R c:4,4,R"_s << u"3,5,1-0,0,0"_s << 0 << u"01 02 03"_s << none
        << idle << none << none << none;
    QTest::newRow("right button in the next pair's source step keeps the pair")
        << pairA + u"c:1,1,R"_s << u"3,5,1-10,2,1"_s << 1 << u"02 03 04"_s << u"A：3,5,1-10,2,1"_s
        << idle << none << none << u"2@10,2,1 1@3,5,1"_s;
    QTest::newRow("middle button places like the left one")
        << u"newpair c:3,5,M c:4,4,M"_s << u"3,5,1-4,4,1"_s << 1 << u"02 03 04"_s
        << u"A：3,5,1-4,4,1"_s << waitsSource << AskSource << u"B"_s << u"2@4,4,1 1@3,5,1"_s;
    QTest::newRow("relink a complete pair: linking ends")
        << pairA + u"relink:1 c:7,7,L c:8,8,L"_s << u"7,7,1-8,8,1"_s << 1 << u"02 03 04"_s
        << u"A：7,7,1-8,8,1"_s << idle << none << none << u"2@8,8,1 1@7,7,1"_s;
    // The row follows the table, so it shows the new source at once.
    QTest::newRow("relink: right button in the destination step keeps the new source")
        << pairA + u"relink:1 c:7,7,L c:8,8,R"_s << u"7,7,1-10,2,1"_s << 1 << u"02 03 04"_s
        << u"A：7,7,1-10,2,1"_s << waitsSource << AskSource << u"A"_s << u"2@10,2,1 1@7,7,1"_s;
    QTest::newRow("relink: right button in the source step")
        << pairA + u"relink:1 c:8,8,R"_s << u"3,5,1-10,2,1"_s << 1 << u"02 03 04"_s
        << u"A：3,5,1-10,2,1"_s << idle << none << none << u"2@10,2,1 1@3,5,1"_s;
    QTest::newRow("deleted number linked anew: both markers, count grows, next pair offered")
        << u"newpair c:1,1,L c:1,9,L c:2,1,L c:2,9,L c:3,1,L c:3,9,L unlink:2 relink:2 c:5,5,L c:6,6,L"_s
        << u"1,1,1-1,9,1 5,5,1-6,6,1 3,1,1-3,9,1"_s << 3 << u"04 05 06"_s
        << u"A：1,1,1-1,9,1 B：5,5,1-6,6,1 C：3,1,1-3,9,1"_s << waitsSource << AskSource << u"D"_s
        << u"2@1,9,1 6@3,9,1 4@6,6,1 1@1,1,1 3@5,5,1 5@3,1,1"_s;
    QTest::newRow("source and destination on one cell: source on top")
        << u"newpair c:4,4,L c:4,4,L"_s << u"4,4,1-4,4,1"_s << 1 << u"02 03 04"_s
        << u"A：4,4,1-4,4,1"_s << waitsSource << AskSource << u"B"_s << u"2@4,4,1 1@4,4,1"_s;
    QTest::newRow("destination on an older pair's source cell: sources stay on top")
        << pairA + u"c:4,4,L c:3,5,L"_s << u"3,5,1-10,2,1 4,4,1-3,5,1"_s << 2 << u"03 04 05"_s
        << u"A：3,5,1-10,2,1 B：4,4,1-3,5,1"_s << waitsSource << AskSource << u"C"_s
        << u"2@10,2,1 4@3,5,1 1@3,5,1 3@4,4,1"_s;
    QTest::newRow("a source click on an occupied cell is accepted")
        << pairA + u"c:3,5,L c:10,2,L"_s << u"3,5,1-10,2,1 3,5,1-10,2,1"_s << 2 << u"03 04 05"_s
        << u"A：3,5,1-10,2,1 B：3,5,1-10,2,1"_s << waitsSource << AskSource << u"C"_s
        << u"2@10,2,1 4@10,2,1 1@3,5,1 3@3,5,1"_s;
    QTest::newRow("pair across floors")
        << u"addfloor newpair c:3,5,L floor:2 c:6,7,L"_s << u"3,5,1-6,7,2"_s << 1 << u"02 03 04"_s
        << u"A：3,5,1-6,7,2"_s << waitsSource << AskSource << u"B"_s << u"2@6,7,2 1@3,5,1"_s;
    QTest::newRow("new during a new pair's destination step drops its source marker")
        << u"newpair c:3,5,L newpair"_s << u"3,5,1-0,0,0"_s << 0 << u"01 02 03"_s << none
        << waitsSource << AskSource << u"A"_s << none;
    QTest::newRow("new during a relinked pair's destination step keeps its marker")
        << pairA + u"relink:1 c:7,7,L newpair"_s << u"7,7,1-10,2,1"_s << 1 << u"02 03 04"_s
        << u"A：7,7,1-10,2,1"_s << waitsSource << AskSource << u"A"_s << u"2@10,2,1 1@7,7,1"_s;
    QTest::newRow("change while a new pair waits for its destination")
        << pairA + u"c:4,4,L relink:1"_s << u"3,5,1-10,2,1 4,4,1-0,0,0"_s << 1 << u"02 03 04"_s
        << u"A：3,5,1-10,2,1"_s << waitsSource << AskSource << u"A"_s << u"2@10,2,1 1@3,5,1"_s;
    QTest::newRow("delete while a new pair waits for its destination")
        << pairA + u"c:4,4,L unlink:1"_s << u"3,5,0-10,2,0 4,4,1-0,0,0"_s << 0 << u"01 02 03"_s
        << none << idle << none << none << none;
}

void TestWarpLinking::linking()
{
    QFETCH(QString, steps);
    QFETCH(QString, records);
    QFETCH(int, warpCount);
    QFETCH(QString, free);
    QFETCH(QString, rows);
    QFETCH(int, stage);
    QFETCH(QString, status);
    QFETCH(QString, sample);
    QFETCH(QString, markers);

    Fixture f;
    QVERIFY(f.play(steps));
    const MapData &map = f.session.map();
    const QStringList expectedRecords = records.split(u' ', Qt::SkipEmptyParts);
    QCOMPARE(::records(map, expectedRecords.size()), expectedRecords);
    QVERIFY(laterRecordsEmpty(map, expectedRecords.size() + 1));
    QCOMPARE(map.warpCount(), warpCount);
    QCOMPARE(freeHead(map), free);
    QCOMPARE(f.window().rows().join(u' '), rows);
    QCOMPARE(f.warps().stage(), stage);
    QCOMPARE(f.session.status().text(), status);
    QCOMPARE(f.warps().sampleCaption(), sample);
    QCOMPARE(markersText(f.markers()), markers);
}

void TestWarpLinking::markerClicks_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<int>("stage");
    QTest::addColumn<int>("pair");
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("markers");

    const int waitsSource = WarpLinkTool::WaitingSource;
    const int waitsDestination = WarpLinkTool::WaitingDestination;
    const QString pairA = u"newpair c:3,5,L c:10,2,L "_s;
    QTest::newRow("source marker refused as a new pair's source")
        << pairA + u"marker:1"_s << false << waitsSource << 2 << u"0,0,0-0,0,0"_s
        << u"2@10,2,1 1@3,5,1"_s;
    QTest::newRow("source marker refused with the right button too")
        << pairA + u"marker:1,R"_s << false << waitsSource << 2 << u"0,0,0-0,0,0"_s
        << u"2@10,2,1 1@3,5,1"_s;
    QTest::newRow("destination marker accepted as a new pair's source")
        << pairA + u"marker:2"_s << true << waitsDestination << 2 << u"10,2,1-0,0,0"_s
        << u"2@10,2,1 1@3,5,1 3@10,2,1"_s;
    QTest::newRow("source marker accepted while relinking its pair")
        << pairA + u"c:1,1,R relink:1 marker:1"_s << true << waitsDestination << 1
        << u"3,5,1-10,2,1"_s << u"2@10,2,1 1@3,5,1"_s;
    QTest::newRow("source marker as a destination")
        << pairA + u"c:4,4,L marker:1"_s << true << waitsSource << 2 << u"4,4,1-3,5,1"_s
        << u"2@10,2,1 4@3,5,1 1@3,5,1 3@4,4,1"_s;
    QTest::newRow("right button on a marker cancels the destination step")
        << pairA + u"c:4,4,L marker:3,R"_s << true << waitsSource << 2 << u"4,4,1-0,0,0"_s
        << u"2@10,2,1 1@3,5,1"_s;
}

void TestWarpLinking::markerClicks()
{
    QFETCH(QString, steps);
    QFETCH(bool, taken);
    QFETCH(int, stage);
    QFETCH(int, pair);
    QFETCH(QString, record);
    QFETCH(QString, markers);

    Fixture f;
    // The last step is the press on a marker; a refused one makes play() false.
    QCOMPARE(f.play(steps), taken);
    QCOMPARE(f.warps().stage(), stage);
    QCOMPARE(recordText(f.session.map().warp(pair)), record);
    QCOMPARE(markersText(f.markers()), markers);
}

void TestWarpLinking::markerListText()
{
    Fixture f;
    // A 3,5 -> 8,8; B 8,8 -> 3,5; C 3,5 -> 3,5 of floor 2; D 3,5 -> 9,9, deleted again.
    QVERIFY(f.play(
        u"addfloor newpair c:3,5,L c:8,8,L c:8,8,L c:3,5,L c:3,5,L floor:2 c:3,5,L floor:1 c:3,5,L c:9,9,L c:1,1,R unlink:4"_s));
    QCOMPARE(f.warps().stage(), 0);

    // Marker order, not stacking order; the clicked marker included; other floors left out.
    const QString onFloor1 = u"\r\nA\r\nb\r\nC"_s;
    for (int marker : {1, 4, 5}) {
        QVERIFY(f.play(u"marker:%1"_s.arg(marker)));
        QCOMPARE(f.markers().listText(), onFloor1);
        QCOMPARE(f.warps().stage(), 0);
    }
    QVERIFY(f.play(u"marker:2"_s));
    QCOMPARE(f.markers().listText(), u"\r\na\r\nB"_s);

    QVERIFY(f.play(u"c:3,5,L"_s));
    QCOMPARE(f.markers().listText(), QString());

    QVERIFY(f.play(u"floor:2 marker:6"_s));
    QCOMPARE(f.markers().listText(), u"\r\nc"_s);
    // Leaving warp mode clears the list.
    QVERIFY(f.play(u"mode:1"_s));
    QCOMPARE(f.markers().listText(), QString());
}

void TestWarpLinking::markerVisibility_data()
{
    QTest::addColumn<QString>("view"); // the floor and mode looked at
    QTest::addColumn<QString>("visible");
    QTest::addColumn<QString>("existing");

    // Pair A from floor 1 to floor 2, pair B's source placed on floor 2.
    QTest::newRow("warp mode, floor 1") << u"floor:1"_s << u"1"_s << u"1 2 3"_s;
    QTest::newRow("warp mode, floor 2") << u"floor:2"_s << u"2 3"_s << u"1 2 3"_s;
    QTest::newRow("map editing, floor 2") << u"floor:2 mode:1"_s << QString() << u"1 2"_s;
    QTest::newRow("branch mode, floor 1") << u"floor:1 mode:2"_s << QString() << u"1 2"_s;
}

void TestWarpLinking::markerVisibility()
{
    QFETCH(QString, view);
    QFETCH(QString, visible);
    QFETCH(QString, existing);

    Fixture f;
    QVERIFY(f.play(u"addfloor newpair c:3,5,L floor:2 c:4,4,L c:6,6,L "_s + view));
    QCOMPARE(indexesOf(f.markers(), [](auto &markers, auto &m) { return markers.isVisible(m); }),
             visible);
    QCOMPARE(indexesOf(f.markers(), [](auto &, auto &) { return true; }), existing);
}

void TestWarpLinking::highlighting_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("opaque");
    QTest::addColumn<QString>("topTwo");

    // Pairs A and C exist, B is deleted.
    QTest::newRow("row of pair A") << 0 << u"1 2"_s << u"2 1"_s;
    QTest::newRow("row of pair C") << 2 << u"5 6"_s << u"6 5"_s;
    QTest::newRow("deleted row") << 1 << QString() << u"6 5"_s;
    QTest::newRow("no row (the × button)") << -1 << QString() << u"6 5"_s;
}

void TestWarpLinking::highlighting()
{
    QFETCH(int, row);
    QFETCH(QString, opaque);
    QFETCH(QString, topTwo);

    Fixture f;
    linkPairs(f, 3);
    QVERIFY(f.play(u"c:1,1,R unlink:2"_s));
    // A first highlight, replaced by the one under test.
    f.window().highlightRow(2);
    f.window().highlightRow(row);
    QCOMPARE(indexesOf(f.markers(), [](auto &, auto &m) { return m.opaque; }), opaque);
    QStringList order; // bottom first
    for (const WarpPairs::Marker &m : f.markers().all())
        order.append(QString::number(m.index));
    QCOMPARE(order.mid(order.size() - 2).join(u' '), topTwo);
}

void TestWarpLinking::rowsAndFreeNumbers_data()
{
    QTest::addColumn<int>("pairs");
    QTest::addColumn<QList<int>>("deleted");
    QTest::addColumn<QStringList>("rows"); // a complete row by its label only
    QTest::addColumn<int>("warpCount");
    QTest::addColumn<QString>("free");

    QTest::newRow("pairs 1-4, pair 2 deleted")
        << 4 << QList<int>{2} << QStringList{u"A"_s, u"B：削除"_s, u"C"_s, u"D"_s} << 3
        << u"02 05 06"_s;
    QTest::newRow("only pair 1 left of three")
        << 3 << QList<int>{2, 3} << QStringList{u"A"_s} << 1 << u"02 03 04"_s;
    QTest::newRow("pair 3 of 1-5 deleted")
        << 5 << QList<int>{3} << QStringList{u"A"_s, u"B"_s, u"C：削除"_s, u"D"_s, u"E"_s} << 4
        << u"03 06 07"_s;
    QTest::newRow("pair 5 deleted after pair 4: both rows go")
        << 5 << QList<int>{4, 5} << QStringList{u"A"_s, u"B"_s, u"C"_s} << 3 << u"04 05 06"_s;
    QTest::newRow("highest pair deleted first, middle one kept as a deleted row")
        << 5 << QList<int>{5, 3} << QStringList{u"A"_s, u"B"_s, u"C：削除"_s, u"D"_s} << 3
        << u"03 05 06"_s;
    QTest::newRow("every pair deleted")
        << 2 << QList<int>{1, 2} << QStringList{} << 0 << u"01 02 03"_s;
}

void TestWarpLinking::rowsAndFreeNumbers()
{
    QFETCH(int, pairs);
    QFETCH(QList<int>, deleted);
    QFETCH(QStringList, rows);
    QFETCH(int, warpCount);
    QFETCH(QString, free);

    Fixture f;
    linkPairs(f, pairs);
    QVERIFY(f.play(u"c:1,1,R"_s));
    for (int pair : deleted)
        QVERIFY(f.play(u"unlink:"_s + QString::number(pair)));

    QStringList expected;
    for (int i = 0; i < rows.size(); ++i)
        expected.append(rows[i].size() == 1 ? pairRowOf(i + 1) : rows[i]);
    QCOMPARE(f.window().rows(), expected);
    QCOMPARE(f.session.map().warpCount(), warpCount);
    QCOMPARE(freeHead(f.session.map()), free);
    // A deleted pair's markers go with it.
    for (const WarpPairs::Marker &m : f.markers().all())
        QVERIFY(!deleted.contains(WarpPairs::pairOfMarker(m.index)));
    QCOMPARE(f.markers().all().size(), 2 * warpCount);

    // The next new pair takes the lowest free number.
    QCOMPARE(f.window().startNewPair(), WarpLinkTool::NewPair::Started);
    QCOMPARE(f.warps().selectedWarp(), free.left(2).toInt());
    QCOMPARE(f.warps().sampleCaption(), CodeTables::sourceLabel(free.left(2).toInt()));
}

void TestWarpLinking::seventyNinePairs()
{
    Fixture f;
    linkPairs(f, 79);
    const MapData &map = f.session.map();
    QCOMPARE(map.warpCount(), 79);
    QCOMPARE(f.warps().stage(), 0);
    QCOMPARE(f.session.status().text(), QString());
    QCOMPARE(f.warps().sampleCaption(), QString());
    QVERIFY(map.freePairNumbers().isEmpty());
    QCOMPARE(f.window().rows().size(), 79);
    QCOMPARE(f.window().rows().last(), u"九：7,4,1-7,12,1"_s);
    QCOMPARE(f.markers().all().size(), 158);

    QCOMPARE(f.window().startNewPair(), WarpLinkTool::NewPair::Full);
    QCOMPARE(f.warps().stage(), 0);
    QCOMPARE(f.session.status().text(), QString());

    // "new" while a full table's pair is linked again leaves that linking as it was.
    QVERIFY(f.window().relinkRow(78));
    QCOMPARE(f.window().startNewPair(), WarpLinkTool::NewPair::Full);
    QCOMPARE(f.warps().stage(), 1);
    QVERIFY(f.warps().relinking());
    QCOMPARE(f.warps().selectedWarp(), 79);
    QVERIFY(f.play(u"c:24,16,L c:23,16,L"_s));
    QCOMPARE(map.warpCount(), 79);
    QCOMPARE(f.window().rows().last(), u"九：24,16,1-23,16,1"_s);
    QCOMPARE(f.warps().stage(), 0);

    // A freed number is handed out again.
    QVERIFY(f.play(u"unlink:40"_s));
    QCOMPARE(map.freePairNumbers(), QStringList{u"40"_s});
    QCOMPARE(f.window().startNewPair(), WarpLinkTool::NewPair::Started);
    QCOMPARE(f.warps().selectedWarp(), 40);
    QVERIFY(f.play(u"c:1,16,L c:2,16,L"_s));
    QCOMPARE(map.warpCount(), 79);
    QCOMPARE(f.warps().stage(), 0);
}

void TestWarpLinking::leavingWarpMode()
{
    Fixture f;
    QVERIFY(f.play(u"newpair c:3,5,L c:10,2,L c:4,4,L"_s));
    QCOMPARE(markersText(f.markers()), u"2@10,2,1 1@3,5,1 3@4,4,1"_s);
    QVERIFY(f.play(u"mode:2"_s));
    QCOMPARE(f.warps().stage(), 0);
    QCOMPARE(f.session.status().text(), QString());
    QCOMPARE(f.warps().sampleCaption(), QString());
    QCOMPARE(markersText(f.markers()), u"2@10,2,1 1@3,5,1"_s);
    // Markers lose their background, and keep losing it back in warp mode.
    QVERIFY(f.play(u"mode:3"_s));
    for (const WarpPairs::Marker &m : f.markers().all())
        QVERIFY(!m.opaque);
    QCOMPARE(f.warps().stage(), 0);
    // The pair's record is untouched, the half-placed source stays in its record.
    QCOMPARE(recordText(f.session.map().warp(1)), u"3,5,1-10,2,1"_s);
    QCOMPARE(recordText(f.session.map().warp(2)), u"4,4,1-0,0,0"_s);
}

void TestWarpLinking::resetForgetsLinking()
{
    Fixture f;
    QVERIFY(f.play(u"newpair c:3,5,L c:10,2,L c:4,4,L"_s));
    f.session.resetMap();
    QCOMPARE(f.session.map().warpCount(), 0);
    QCOMPARE(f.session.map().freePairNumbers().size(), 79);
    QCOMPARE(f.warps().stage(), 0);
    QCOMPARE(f.warps().selectedWarp(), 0);
    QVERIFY(!f.warps().relinking());
    QVERIFY(f.markers().all().isEmpty());
    QVERIFY(f.window().rows().isEmpty());
    QCOMPARE(f.session.editMode(), int(EditorSession::ChipMode));
}

void TestWarpLinking::loadedMapGetsMarkersInPairOrder()
{
    Fixture f;
    MapData loaded;
    loaded.setFloorCount(2);
    loaded.setWarp(1, {2, 2, 1, 5, 5, 2});
    loaded.setWarp(2, {5, 5, 2, 2, 2, 1});
    QVERIFY(f.play(u"newpair c:3,5,L"_s));
    f.session.takeLoadedMap(loaded);
    // A later marker lies above an earlier one on a shared cell.
    QCOMPARE(markersText(f.markers()), u"1@2,2,1 2@5,5,2 3@5,5,2 4@2,2,1"_s);
    QCOMPARE(f.warps().stage(), 0);
    QCOMPARE(freeHead(f.session.map()), u"03 04 05"_s);
    QCOMPARE(f.window().rows(), (QStringList{u"A：2,2,1-5,5,2"_s, u"B：5,5,2-2,2,1"_s}));
    QCOMPARE(f.session.floorTabCaptions(), (QStringList{u"１階"_s, u"2階"_s}));
}

QTEST_GUILESS_MAIN(TestWarpLinking)
#include "tst_warplinking.moc"
