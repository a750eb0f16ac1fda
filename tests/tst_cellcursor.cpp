#include "sessionscript.h"

using namespace Qt::StringLiterals;

namespace {

// Everything a step on the board can change, as one comparable text.
QString outcome(const EditorSession &session)
{
    const MapData &map = session.map();
    QStringList parts;
    for (int f = 1; f <= map.floorCount(); ++f)
        for (int y = 1; y <= MapData::Height; ++y)
            for (int x = 1; x <= MapData::Width; ++x)
                if (map.cell(x, y, f) != u"00_  "_s || !map.branch(x, y, f).isEmpty())
                    parts << u"%1:%2,%3=%4/%5"_s.arg(f).arg(x).arg(y).arg(map.cell(x, y, f),
                                                                          map.branch(x, y, f));
    for (int n = 1; n <= MapData::MaxWarps; ++n) {
        const WarpRecord &w = map.warp(n);
        if (w.srcFloor || w.dstFloor)
            parts << QString::asprintf("w%d=%d,%d,%d-%d,%d,%d", n, w.srcX, w.srcY, w.srcFloor,
                                       w.dstX, w.dstY, w.dstFloor);
    }
    const SelectionTool &selection = session.tools().selection();
    const QRect s = selection.selection();
    parts << u"sel=%1,%2,%3,%4"_s.arg(s.x()).arg(s.y()).arg(s.width()).arg(s.height());
    if (selection.isFloating())
        parts << u"float@%1,%2"_s.arg(selection.floatingAt().x()).arg(selection.floatingAt().y());
    QStringList marks;
    for (const QPoint &mark : session.tools().picture().marks)
        marks << u"%1,%2"_s.arg(mark.x()).arg(mark.y());
    marks.sort();
    parts << u"marks="_s + marks.join(u' ');
    parts << u"chip="_s + session.choices().chip() << u"status="_s + session.status().text()
          << u"pos="_s + session.status().position();
    return parts.join(u' ');
}

} // namespace

class TestCellCursor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void moves_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QPoint>("cursor");
        QTest::newRow("starts top left") << u""_s << QPoint(1, 1);
        QTest::newRow("arrows one cell") << u"key:Right key:Right key:Down"_s << QPoint(3, 2);
        QTest::newRow("stops at the edge") << u"key:Left key:Up"_s << QPoint(1, 1);
        QTest::newRow("ctrl to the edges") << u"key:Ctrl+Right key:Ctrl+Down"_s << QPoint(24, 16);
        QTest::newRow("ctrl back")
            << u"key:Ctrl+Right key:Ctrl+Down key:Ctrl+Left key:Ctrl+Up"_s << QPoint(1, 1);
        QTest::newRow("end and home keep the row") << u"key:Down key:End"_s << QPoint(24, 2);
        QTest::newRow("home") << u"key:Ctrl+Down key:Ctrl+Right key:Home"_s << QPoint(1, 16);
        QTest::newRow("right at the far edge stays") << u"key:End key:Right"_s << QPoint(24, 1);
        QTest::newRow("a click takes the cursor along") << u"c:7,9,L key:Right"_s << QPoint(8, 9);
        QTest::newRow("a right click too") << u"c:7,9,R key:Up"_s << QPoint(7, 8);
        QTest::newRow("a floor change keeps the cell")
            << u"key:Right addfloor floor:2"_s << QPoint(2, 1);
    }
    void moves()
    {
        QFETCH(QString, script);
        SessionFixture f;
        QVERIFY(f.play(script));
        QTEST(f.session.cursor().cell(), "cursor");
    }

    void keysActAsPointer_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("pointer");
        const auto row = [](const char *name, const char *setup, const char *keys,
                            const char *pointer) {
            QTest::newRow(name) << QString::fromUtf8(setup) << QString::fromUtf8(keys)
                                << QString::fromUtf8(pointer);
        };
        // The keyboard's steps end where the pointer's would, status bar included.
        row("chips: space lays the chip", "chip:01_[]", "key:Right key:Down key:Space",
            "h:2,2 c:2,2,L");
        row("chips: enter lays the chip", "chip:01_[]", "key:Down key:Return", "h:1,2 c:1,2,L");
        row("chips: backspace picks up", "chip:16_+7 c:3,1,L chip:01_[]", "key:Backspace",
            "h:3,1 c:3,1,R");
        row("line: start, preview, end", "chip:01_[] tool:line",
            "key:Space key:Right key:Right key:Right key:Space",
            "h:1,1 c:1,1,L h:2,1 h:3,1 h:4,1 c:4,1,L");
        row("line: start shown while moving", "tool:line", "key:Space key:Down",
            "h:1,1 c:1,1,L h:1,2");
        row("branches: space sets", "mode:2 dir:1 dir:3", "key:Down key:Space", "h:1,2 c:1,2,L");
        row("branches: backspace clears", "mode:2 dir:2 c:4,4,L", "key:Backspace", "h:4,4 c:4,4,R");
        row("warps: source and destination", "mode:3 newpair", "key:Space key:Ctrl+Right key:Space",
            "h:1,1 c:1,1,L h:24,1 c:24,1,L");
        row("warps: backspace steps back", "mode:3 newpair", "key:Space key:Down key:Backspace",
            "h:1,1 c:1,1,L h:1,2 c:1,2,R");
        row("selection: shift grows from the cursor", "tool:selection c:2,2,L",
            "key:Shift+Right key:Shift+Down key:Shift+Down", "p:2,2,L d:3,4 r:3,4 h:3,4");
        row("selection: shift back over the anchor", "tool:selection c:5,5,L",
            "key:Shift+Left key:Shift+Left key:Shift+Up", "p:5,5,L d:3,4 r:3,4 h:3,4");
        row("selection: a plain move ends growing", "tool:selection c:5,5,L",
            "key:Shift+Right key:Right key:Shift+Right",
            "p:5,5,L d:6,5 r:6,5 p:7,5,L d:8,5 r:8,5 h:8,5");
        row("floating block follows the cursor and is laid",
            "chip:01_[] c:1,1,L c:2,1,L tool:selection p:1,1,L d:2,1 r:2,1 copypaste",
            "key:Down key:Down key:Right key:Space", "h:2,3 c:2,3,L");
        row("rectangle: space anchors, arrows stretch, space lays", "chip:01_[] tool:rectangle",
            "key:Space key:Right key:Right key:Down key:Space",
            "h:1,1 p:1,1,L h:2,1 d:2,1 h:3,1 d:3,1 h:3,2 d:3,2 r:3,2");
        row("rectangle: the preview follows the arrows", "chip:01_[] tool:rectangle",
            "key:Space key:Right key:Down", "h:1,1 p:1,1,L h:2,1 d:2,1 h:2,2 d:2,2");
        row("rectangle: shift lays the border", "chip:01_[] tool:rectangle",
            "key:Space key:Right key:Right key:Down key:Down key:Shift+Space",
            "p:1,1,L d:3,3 shift r:3,3 h:3,3");
        row("rectangle: esc drops it, the next space anchors again", "chip:01_[] tool:rectangle",
            "key:Space key:Right key:Esc key:Down key:Space key:Space", "h:2,2 c:2,2,L");
        row("rectangle: backspace clears branch points",
            "mode:2 dir:1 tool:rectangle p:1,1,L d:3,3 r:3,3",
            "key:Backspace key:Right key:Down key:Backspace", "p:1,1,R d:2,2 r:2,2 h:2,2");
        row("floating block: backspace drops it",
            "chip:01_[] c:1,1,L tool:selection p:1,1,L d:2,1 r:2,1 copypaste",
            "key:Down key:Backspace", "h:1,2 c:1,2,R");
    }
    void keysActAsPointer()
    {
        QFETCH(QString, setup);
        QFETCH(QString, keys);
        QFETCH(QString, pointer);
        SessionFixture byKeys, byPointer;
        QVERIFY(byKeys.play(setup));
        QVERIFY(byPointer.play(setup));
        const QString before = outcome(byKeys.session);
        QVERIFY(byKeys.play(keys));
        QVERIFY(byPointer.play(pointer));
        QCOMPARE(outcome(byKeys.session), outcome(byPointer.session));
        // A row where neither does anything would prove nothing.
        QVERIFY(outcome(byKeys.session) != before);
    }

    void cellNames_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QPoint>("cell");
        QTest::addColumn<QString>("name");
        QTest::newRow("empty cell") << u""_s << QPoint(5, 12) << u"(5,12) 何もないマス（空白）"_s;
        QTest::newRow("chip on the second floor")
            << u"addfloor floor:2 chip:01_[] c:5,12,L"_s << QPoint(5, 12) << u"(5,12) 普通の道"_s;
        QTest::newRow("numbered chip")
            << u"chip:16_+7 c:3,3,L"_s << QPoint(3, 3) << u"(3,3) 7マス進む"_s;
        QTest::newRow("branch setting")
            << u"mode:2 dir:1 dir:3 dir:3 dir:4 dir:4 dir:4 c:2,2,L"_s << QPoint(2, 2)
            << u"(2,2) 何もないマス（空白） 分岐(上通行禁止、左道なし、右一方通行、下２ｗａｙ)"_s;
        QTest::newRow("warp ends") << u"mode:3 newpair c:4,4,L c:6,6,L"_s << QPoint(4, 4)
                                   << u"(4,4) 何もないマス（空白） ワープ[A]の入口"_s;
        QTest::newRow("warp destination") << u"mode:3 newpair c:4,4,L c:6,6,L"_s << QPoint(6, 6)
                                          << u"(6,6) 何もないマス（空白） ワープ[A]の出口"_s;
        QTest::newRow("both ends on one cell")
            << u"mode:3 newpair c:4,4,L c:4,4,L"_s << QPoint(4, 4)
            << u"(4,4) 何もないマス（空白） ワープ[A]の入口 ワープ[A]の出口"_s;
    }
    void cellNames()
    {
        QFETCH(QString, script);
        QFETCH(QPoint, cell);
        SessionFixture f;
        QCOMPARE(f.descriptions.load(QStringLiteral(QZK_SOURCE_DATA "/Tavolin.dat")).status,
                 ChipDescriptions::Status::Ok);
        QVERIFY(f.play(script));
        QTEST(f.session.cursor().cellName(cell), "name");
    }
};

QTEST_GUILESS_MAIN(TestCellCursor)
#include "tst_cellcursor.moc"
