#include "model/codetables.h"
#include "session/tools/warplinktool.h"
#include "sessionscript.h"

using namespace Qt::StringLiterals;

namespace {

struct Fixture : SessionFixture
{
    Fixture() { QVERIFY(play(u"mode:3"_s)); }
    WarpLinkTool &warps() { return session.tools().warps(); }
    WarpWindowPresenter &window() { return session.warpWindow(); }
    const WarpMarkers &markers() { return warps().markers(); }
    QString freeHead() const { return session.map().freePairNumbers().mid(0, 3).join(u' '); }

    // Pair n's source lies in column (n-1)%24+1, row (n-1)/24+1, its destination 8 rows
    // lower, both on floor 1.
    static QPoint pairSource(int n) { return {(n - 1) % 24 + 1, (n - 1) / 24 + 1}; }
    void linkPairs(int count)
    {
        QString steps = u"newpair"_s;
        for (int n = 1; n <= count; ++n) {
            const QPoint s = pairSource(n);
            steps += u" c:%1,%2,L c:%1,%3,L"_s.arg(s.x()).arg(s.y()).arg(s.y() + 8);
        }
        QVERIFY(play(steps));
    }
};

QString pairRowOf(int n)
{
    const QPoint s = Fixture::pairSource(n);
    return CodeTables::sourceLabel(n) +
           QString::asprintf("：%d,%d,1-%d,%d,1", s.x(), s.y(), s.x(), s.y() + 8);
}

QString recordText(const WarpRecord &r)
{
    return QString::asprintf("%d,%d,%d-%d,%d,%d", r.srcX, r.srcY, r.srcFloor, r.dstX, r.dstY,
                             r.dstFloor);
}

// The records up to the last one that is not empty: every later one must be untouched.
QString records(const MapData &map)
{
    int last = MapData::MaxWarps;
    while (last > 0 && map.warp(last) == WarpRecord{})
        --last;
    QStringList texts;
    for (int pair = 1; pair <= last; ++pair)
        texts.append(recordText(map.warp(pair)));
    return texts.join(u' ');
}

// The markers that exist, bottom first: "index@x,y,floor", "~" after one without background.
QString markersText(const WarpMarkers &markers)
{
    QStringList texts;
    for (const WarpPairs::Marker &m : markers.all())
        texts.append(u"%1@%2,%3,%4"_s.arg(m.index).arg(m.cell.x()).arg(m.cell.y()).arg(m.floor) +
                     (m.opaque ? u""_s : u"~"_s));
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

} // namespace

class TestWarpLinking : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linking_data()
    {
        // Space-separated: pair records 1.. (later ones untouched), the first free pair
        // numbers, rows, markers.
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("records");
        QTest::addColumn<int>("warpCount");
        QTest::addColumn<QString>("free");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("waitsFor"); // the click asked for: source, destination or none
        QTest::addColumn<QString>("sample");
        QTest::addColumn<QString>("markers");
        const auto row = [](const char *name, const QString &steps, const char *records, int count,
                            const char *free, const char *rows, const char *waitsFor,
                            const char *sample, const char *markers) {
            QTest::newRow(name) << steps << QString::fromUtf8(records) << count
                                << QString::fromUtf8(free) << QString::fromUtf8(rows)
                                << QString::fromUtf8(waitsFor) << QString::fromUtf8(sample)
                                << QString::fromUtf8(markers);
        };
        const QString pairA = u"newpair c:3,5,L c:10,2,L "_s;
        row("new pair, next one offered", pairA, "3,5,1-10,2,1", 1, "02 03 04", "A：3,5,1-10,2,1",
            "source", "B", "2@10,2,1 1@3,5,1");
        row("source placed", u"newpair c:3,5,L"_s, "3,5,1-0,0,0", 0, "01 02 03", "", "destination",
            "a", "1@3,5,1");
        row("right button in the source step ends linking", u"newpair c:3,5,R"_s, "", 0, "01 02 03",
            "", "", "", "");
        row("right button in the destination step: back to the source",
            u"newpair c:3,5,L c:4,4,R"_s, "3,5,1-0,0,0", 0, "01 02 03", "", "source", "A", "");
        row("two right buttons cancel two steps", u"newpair c:3,5,L c:4,4,R c:4,4,R"_s,
            "3,5,1-0,0,0", 0, "01 02 03", "", "", "", "");
        row("right button in the next pair's source step keeps the pair", pairA + u"c:1,1,R"_s,
            "3,5,1-10,2,1", 1, "02 03 04", "A：3,5,1-10,2,1", "", "", "2@10,2,1 1@3,5,1");
        row("middle button places like the left one", u"newpair c:3,5,M c:4,4,M"_s, "3,5,1-4,4,1",
            1, "02 03 04", "A：3,5,1-4,4,1", "source", "B", "2@4,4,1 1@3,5,1");
        row("relink a complete pair: linking ends", pairA + u"relink:1 c:7,7,L c:8,8,L"_s,
            "7,7,1-8,8,1", 1, "02 03 04", "A：7,7,1-8,8,1", "", "", "2@8,8,1 1@7,7,1");
        // The row follows the table, so it shows the new source at once.
        row("relink: right button in the destination step keeps the new source",
            pairA + u"relink:1 c:7,7,L c:8,8,R"_s, "7,7,1-10,2,1", 1, "02 03 04", "A：7,7,1-10,2,1",
            "source", "A", "2@10,2,1 1@7,7,1");
        row("relink: right button in the source step", pairA + u"relink:1 c:8,8,R"_s,
            "3,5,1-10,2,1", 1, "02 03 04", "A：3,5,1-10,2,1", "", "", "2@10,2,1 1@3,5,1");
        row("deleted number linked anew: both markers, count grows, next pair offered",
            u"newpair c:1,1,L c:1,9,L c:2,1,L c:2,9,L c:3,1,L c:3,9,L unlink:2 relink:2 c:5,5,L c:6,6,L"_s,
            "1,1,1-1,9,1 5,5,1-6,6,1 3,1,1-3,9,1", 3, "04 05 06",
            "A：1,1,1-1,9,1 B：5,5,1-6,6,1 C：3,1,1-3,9,1", "source", "D",
            "2@1,9,1 6@3,9,1 4@6,6,1 1@1,1,1 3@5,5,1 5@3,1,1");
        row("source and destination on one cell: source on top", u"newpair c:4,4,L c:4,4,L"_s,
            "4,4,1-4,4,1", 1, "02 03 04", "A：4,4,1-4,4,1", "source", "B", "2@4,4,1 1@4,4,1");
        row("destination on an older pair's source cell: sources stay on top",
            pairA + u"c:4,4,L c:3,5,L"_s, "3,5,1-10,2,1 4,4,1-3,5,1", 2, "03 04 05",
            "A：3,5,1-10,2,1 B：4,4,1-3,5,1", "source", "C", "2@10,2,1 4@3,5,1 1@3,5,1 3@4,4,1");
        row("a source click on an occupied cell is accepted", pairA + u"c:3,5,L c:10,2,L"_s,
            "3,5,1-10,2,1 3,5,1-10,2,1", 2, "03 04 05", "A：3,5,1-10,2,1 B：3,5,1-10,2,1", "source",
            "C", "2@10,2,1 4@10,2,1 1@3,5,1 3@3,5,1");
        row("pair across floors", u"addfloor newpair c:3,5,L floor:2 c:6,7,L"_s, "3,5,1-6,7,2", 1,
            "02 03 04", "A：3,5,1-6,7,2", "source", "B", "2@6,7,2 1@3,5,1");
        row("new during a new pair's destination step drops its source marker",
            u"newpair c:3,5,L newpair"_s, "3,5,1-0,0,0", 0, "01 02 03", "", "source", "A", "");
        row("new during a relinked pair's destination step keeps its marker",
            pairA + u"relink:1 c:7,7,L newpair"_s, "7,7,1-10,2,1", 1, "02 03 04", "A：7,7,1-10,2,1",
            "source", "A", "2@10,2,1 1@7,7,1");
        row("change while a new pair waits for its destination", pairA + u"c:4,4,L relink:1"_s,
            "3,5,1-10,2,1 4,4,1-0,0,0", 1, "02 03 04", "A：3,5,1-10,2,1", "source", "A",
            "2@10,2,1 1@3,5,1");
        row("the next pair's source placed", pairA + u"c:4,4,L"_s, "3,5,1-10,2,1 4,4,1-0,0,0", 1,
            "02 03 04", "A：3,5,1-10,2,1", "destination", "b", "2@10,2,1 1@3,5,1 3@4,4,1");
        // The pair's record is untouched, the half-placed source stays in its record; the
        // markers lose their background, and keep losing it back in warp mode.
        row("leaving warp mode ends linking", pairA + u"c:4,4,L mode:2"_s,
            "3,5,1-10,2,1 4,4,1-0,0,0", 1, "02 03 04", "A：3,5,1-10,2,1", "", "",
            "2@10,2,1~ 1@3,5,1~");
        row("back in warp mode nothing is being linked", pairA + u"c:4,4,L mode:2 mode:3"_s,
            "3,5,1-10,2,1 4,4,1-0,0,0", 1, "02 03 04", "A：3,5,1-10,2,1", "", "",
            "2@10,2,1~ 1@3,5,1~");
        row("delete while a new pair waits for its destination", pairA + u"c:4,4,L unlink:1"_s,
            "3,5,0-10,2,0 4,4,1-0,0,0", 0, "01 02 03", "", "", "", "");
    }
    void linking()
    {
        QFETCH(QString, steps);
        Fixture f;
        QVERIFY(f.play(steps));
        QTEST(records(f.session.map()), "records");
        QTEST(f.session.map().warpCount(), "warpCount");
        QTEST(f.freeHead(), "free");
        QTEST(f.window().rows().join(u' '), "rows");
        QFETCH(QString, waitsFor);
        const bool source = waitsFor == u"source", destination = waitsFor == u"destination";
        QCOMPARE(f.warps().stage(), int(source        ? WarpLinkTool::WaitingSource
                                        : destination ? WarpLinkTool::WaitingDestination
                                                      : WarpLinkTool::NotLinking));
        QCOMPARE(f.session.status().text(), source ? u"ワープ元をクリックして下さい。"_s
                                            : destination ? u"ワープ先をクリックして下さい。"_s
                                                          : QString());
        QTEST(f.warps().sampleCaption(), "sample");
        QTEST(markersText(f.markers()), "markers");
    }

    void markerClicks_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<int>("stage");
        QTest::addColumn<int>("pair");
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("markers");
        // The steps after pair A, 3,5 to 10,2.
        const auto row = [](const char *name, const char *steps, bool taken, int stage, int pair,
                            const char *record, const char *markers) {
            QTest::newRow(name) << u"newpair c:3,5,L c:10,2,L "_s + QString::fromUtf8(steps)
                                << taken << stage << pair << QString::fromUtf8(record)
                                << QString::fromUtf8(markers);
        };
        const int source = WarpLinkTool::WaitingSource;
        const int destination = WarpLinkTool::WaitingDestination;
        row("source marker refused as a new pair's source", "marker:1", false, source, 2,
            "0,0,0-0,0,0", "2@10,2,1 1@3,5,1");
        row("source marker refused with the right button too", "marker:1,R", false, source, 2,
            "0,0,0-0,0,0", "2@10,2,1 1@3,5,1");
        row("destination marker accepted as a new pair's source", "marker:2", true, destination, 2,
            "10,2,1-0,0,0", "2@10,2,1 1@3,5,1 3@10,2,1");
        row("source marker accepted while relinking its pair", "c:1,1,R relink:1 marker:1", true,
            destination, 1, "3,5,1-10,2,1", "2@10,2,1 1@3,5,1");
        row("source marker as a destination", "c:4,4,L marker:1", true, source, 2, "4,4,1-3,5,1",
            "2@10,2,1 4@3,5,1 1@3,5,1 3@4,4,1");
        row("right button on a marker cancels the destination step", "c:4,4,L marker:3,R", true,
            source, 2, "4,4,1-0,0,0", "2@10,2,1 1@3,5,1");
    }
    void markerClicks()
    {
        QFETCH(QString, steps);
        QFETCH(int, pair);
        Fixture f;
        // The last step is the press on a marker; a refused one makes play() false.
        QTEST(f.play(steps), "taken");
        QTEST(f.warps().stage(), "stage");
        QTEST(recordText(f.session.map().warp(pair)), "record");
        QTEST(markersText(f.markers()), "markers");
    }

    void markerListText()
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

    void markerVisibility_data()
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
    void markerVisibility()
    {
        QFETCH(QString, view);
        Fixture f;
        QVERIFY(f.play(u"addfloor newpair c:3,5,L floor:2 c:4,4,L c:6,6,L "_s + view));
        QTEST(indexesOf(f.markers(), [](auto &markers, auto &m) { return markers.isVisible(m); }),
              "visible");
        QTEST(indexesOf(f.markers(), [](auto &, auto &) { return true; }), "existing");
    }

    void highlighting_data()
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
    void highlighting()
    {
        QFETCH(int, row);
        Fixture f;
        f.linkPairs(3);
        QVERIFY(f.play(u"c:1,1,R unlink:2"_s));
        // A first highlight, replaced by the one under test.
        f.window().highlightRow(2);
        f.window().highlightRow(row);
        QTEST(indexesOf(f.markers(), [](auto &, auto &m) { return m.opaque; }), "opaque");
        QStringList order; // bottom first
        for (const WarpPairs::Marker &m : f.markers().all())
            order.append(QString::number(m.index));
        QTEST(order.mid(order.size() - 2).join(u' '), "topTwo");
    }

    void rowsAndFreeNumbers_data()
    {
        QTest::addColumn<int>("pairs");
        QTest::addColumn<QList<int>>("deleted");
        QTest::addColumn<QString>("rows"); // a complete row by its label only
        QTest::addColumn<int>("warpCount");
        QTest::addColumn<QString>("free");
        QTest::newRow("pairs 1-4, pair 2 deleted")
            << 4 << QList<int>{2} << u"A B：削除 C D"_s << 3 << u"02 05 06"_s;
        QTest::newRow("only pair 1 left of three")
            << 3 << QList<int>{2, 3} << u"A"_s << 1 << u"02 03 04"_s;
        QTest::newRow("pair 3 of 1-5 deleted")
            << 5 << QList<int>{3} << u"A B C：削除 D E"_s << 4 << u"03 06 07"_s;
        QTest::newRow("pair 5 deleted after pair 4: both rows go")
            << 5 << QList<int>{4, 5} << u"A B C"_s << 3 << u"04 05 06"_s;
        QTest::newRow("highest pair deleted first, middle one kept as a deleted row")
            << 5 << QList<int>{5, 3} << u"A B C：削除 D"_s << 3 << u"03 05 06"_s;
        QTest::newRow("every pair deleted")
            << 2 << QList<int>{1, 2} << QString() << 0 << u"01 02 03"_s;
    }
    void rowsAndFreeNumbers()
    {
        QFETCH(int, pairs);
        QFETCH(QList<int>, deleted);
        QFETCH(QString, rows);
        QFETCH(int, warpCount);
        QFETCH(QString, free);
        Fixture f;
        f.linkPairs(pairs);
        QVERIFY(f.play(u"c:1,1,R"_s));
        for (int pair : deleted)
            QVERIFY(f.play(u"unlink:"_s + QString::number(pair)));

        QStringList expected = rows.split(u' ', Qt::SkipEmptyParts);
        for (int i = 0; i < expected.size(); ++i)
            expected[i] = expected[i].size() == 1 ? pairRowOf(i + 1) : expected[i];
        QCOMPARE(f.window().rows(), expected);
        QCOMPARE(f.session.map().warpCount(), warpCount);
        QCOMPARE(f.freeHead(), free);
        // A deleted pair's markers go with it.
        for (const WarpPairs::Marker &m : f.markers().all())
            QVERIFY(!deleted.contains(WarpPairs::pairOfMarker(m.index)));
        QCOMPARE(f.markers().all().size(), 2 * warpCount);

        // The next new pair takes the lowest free number.
        QCOMPARE(f.window().startNewPair(), WarpLinkTool::NewPair::Started);
        QCOMPARE(f.warps().selectedWarp(), free.left(2).toInt());
        QCOMPARE(f.warps().sampleCaption(), CodeTables::sourceLabel(free.left(2).toInt()));
    }

    void seventyNinePairs()
    {
        Fixture f;
        f.linkPairs(79);
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

    void resetForgetsLinking()
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

    void loadedMapGetsMarkersInPairOrder()
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
        QCOMPARE(f.freeHead(), u"03 04 05"_s);
        QCOMPARE(f.window().rows(), (QStringList{u"A：2,2,1-5,5,2"_s, u"B：5,5,2-2,2,1"_s}));
        QCOMPARE(f.session.floorTabCaptions(), (QStringList{u"１階"_s, u"2階"_s}));
    }
};

QTEST_GUILESS_MAIN(TestWarpLinking)
#include "tst_warplinking.moc"
