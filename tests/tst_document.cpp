#include "model/cellstring.h"
#include "model/codetables.h"
#include "session/editorsession.h"
#include "sessionscript.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startUpState()
    {
        const MapData map;
        for (int x = 1; x <= 24; ++x)
            for (int y = 1; y <= 16; ++y)
                for (int floor = 1; floor <= 9; ++floor) {
                    QCOMPARE(map.cell(x, y, floor), floor == 1 ? u"00_  "_s : QString());
                    QCOMPARE(map.branch(x, y, floor), QString());
                }
        QCOMPARE(map.floorCount(), 1);
        QCOMPARE(map.warpCount(), 0);

        SessionFixture f;
        QCOMPARE(f.session.currentFloor(), 1);
        QCOMPARE(f.session.editMode(), int(EditorSession::ChipMode));
        QCOMPARE(f.session.toolBox().mode(), int(ToolBoxState::Shown));
        QCOMPARE(f.session.choices().chip(), u"01_[]"_s);
        QCOMPARE(f.session.choices().branch(), u"0000"_s);
        QCOMPARE(f.session.tools().line().state(), LineTool::Off);
        QCOMPARE(f.session.choices().sampleCode(), u"[]"_s);
    }

    void codeTables()
    {
        QCOMPARE(CodeTables::sourceLabels().size(), 79);
        QCOMPARE(CodeTables::destinationLabels().size(), 79);
        QCOMPARE(CodeTables::chipCodes().size(), 98);
        QCOMPARE(CodeTables::sourceLabel(27), u"あ"_s);
        QCOMPARE(CodeTables::destinationLabel(79), u"９"_s);
        QCOMPARE(CodeTables::chipCode(16), u"+X"_s);
        QCOMPARE(CodeTables::chipCode(33), u"S_"_s);
        QCOMPARE(CodeTables::chipCode(40), u"@@"_s);
        QCOMPARE(CodeTables::chipCode(48), u"  "_s);
        QCOMPARE(CodeTables::chipCode(49), QString());
    }

    void decodeParameter_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("value");
        QTest::newRow("Z is 35") << u"16_+Z"_s << 35;
        QTest::newRow("$ reads back as 99") << u"16_+$"_s << 99;
        QTest::newRow("! is 100") << u"16_+!"_s << 100;
        QTest::newRow("never given a number") << u"16_+X"_s << 33;
        QTest::newRow("digit") << u"24_-7"_s << 7;
        QTest::newRow("outside the table") << u"30_t_"_s << -1;
    }
    void decodeParameter()
    {
        QFETCH(QString, cell);
        QTEST(CellString::decodeParameter(cell), "value");
    }

    void pictureIndex_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("picture");
        QTest::newRow("empty cell") << u"00_  "_s << 48;
        QTest::newRow("chip 48") << u"48_  "_s << 48;
        QTest::newRow("start") << u"33_S_"_s << 33;
        QTest::newRow("short empty") << u"00_"_s << 0;
        QTest::newRow("not a number") << u"xx_??"_s << -1;
    }
    void pictureIndex()
    {
        QFETCH(QString, cell);
        QTEST(CellString::pictureIndex(cell), "picture");
    }

    void caption_data()
    {
        QTest::addColumn<QStringList>("floorNames");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("menuCaption");
        const QString floor1Menu = u"マップ「1階」のプロパティ"_s;
        QTest::newRow("neither") << QStringList{QString()} << QString() << QString()
                                 << u"Q;zKマップエディタ"_s << floor1Menu;
        QTest::newRow("file only") << QStringList{QString()} << u"/maps/demo"_s << QString()
                                   << u"Q;zKマップエディタ － /maps/demo.map"_s << floor1Menu;
        QTest::newRow("floor name wins")
            << QStringList{u"はじまりの森"_s} << u"/maps/demo"_s << QString()
            << u"Q;zKマップエディタ － はじまりの森"_s << floor1Menu;
        QTest::newRow("floor shown in branch mode")
            << QStringList{QString(), u"二階"_s} << QString() << u"mode:2 floor:2"_s
            << u"Q;zKマップエディタ － 二階"_s << u"マップ「2階」のプロパティ"_s;
    }
    void caption()
    {
        QFETCH(QStringList, floorNames);
        QFETCH(QString, fileName);
        QFETCH(QString, caption);
        MapData map = MapData::resetMap();
        map.setFloorCount(int(floorNames.size()));
        for (int floor = 1; floor <= floorNames.size(); ++floor)
            map.setFloorName(floor, floorNames[floor - 1]);
        SessionFixture f;
        f.document.replace(map, fileName);
        QFETCH(QString, script);
        QVERIFY(f.play(script));
        QCOMPARE(f.session.windowCaption(), caption);
        // The separator is a full-width hyphen-minus between blanks.
        if (caption.size() > 11)
            QCOMPARE(caption.mid(11, 3), QString::fromUtf16(u" \uFF0D "));
        QTEST(f.session.propertyMenuCaption(), "menuCaption");
    }

    // A line's start belongs to its floor: another floor shown, the next click starts anew.
    void floorCommandsDropLineStart_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("floor tab") << u"floor:1"_s;
        QTest::newRow("move right") << u"movefloor:1"_s;
        QTest::newRow("move left") << u"movefloor:-1"_s;
        QTest::newRow("delete") << u"deletefloor"_s;
    }
    void floorCommandsDropLineStart()
    {
        QFETCH(QString, command);
        MapData map = MapData::resetMap();
        map.setFloorCount(3);
        SessionFixture f;
        f.document.replace(map);
        QVERIFY(f.play(u"floor:2 tool:line c:3,3,L"_s));
        QCOMPARE(f.session.tools().line().state(), LineTool::WaitingEnd);
        QCOMPARE(f.session.tools().line().marks(), QVector<QPoint>{QPoint(3, 3)});
        QCOMPARE(f.session.status().text(), u"終点をクリックして下さい。"_s);
        QSignalSpy refreshed(&f.session, &EditorSession::boardRefreshed);
        QSignalSpy changes(&f.document, &MapDocument::mapChanged);
        QVERIFY(f.play(command));
        QVERIFY(f.session.currentFloor() != 2 || command == u"deletefloor");
        // A tab chosen is drawn by hand, a floor command through its change event.
        QCOMPARE(refreshed.count() + changes.count(), 1);
        QVERIFY(f.session.tools().line().marks().isEmpty());
        QCOMPARE(f.session.tools().line().state(), LineTool::WaitingStart);
        QCOMPARE(f.session.status().text(), u"始点をクリックして下さい。"_s);
        QVERIFY(f.play(u"c:6,3,L"_s));
        QCOMPARE(f.document.data().cell(4, 3, f.session.currentFloor()), u"00_  "_s);
        QCOMPARE(f.session.tools().line().state(), LineTool::WaitingEnd);
    }

    void openAndSaveThroughSession()
    {
        QTemporaryDir dir;
        FileFixture f;
        f.document.layChip(2, 2, 1, u"33_S_"_s);

        // A save that fails keeps the map unnamed.
        const QString nowhere = dir.filePath(u"missing/folder/map"_s);
        QVERIFY(f.files.writeMap(nowhere).fault);
        QCOMPARE(f.document.fileName(), QString());

        const QString base = dir.filePath(u"first"_s);
        QVERIFY(!f.files.writeMap(base).fault);
        QCOMPARE(f.document.fileName(), base);

        f.session.resetMap();
        const MapLoadResult loaded = f.files.loadMap(base + u".map"_s);
        QVERIFY(!loaded.fault);
        QCOMPARE(f.document.data().cell(2, 2, 1), u"33_S_"_s);
        QCOMPARE(f.document.fileName(), base);
        QCOMPARE(f.session.floorTabCaptions(), QStringList{u"１階"_s});

        // A faulty open leaves the open map as it was.
        const MapLoadResult failed = f.files.loadMap(dir.filePath(u"none.map"_s));
        QVERIFY(failed.fault);
        QCOMPARE(f.document.data().cell(2, 2, 1), u"33_S_"_s);
        QCOMPARE(f.document.fileName(), base);
    }

    void mouseOverBackground_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("plain text cleared") << QString() << u"道マス"_s << QString();
        QTest::newRow("warp warning kept")
            << QString() << u"unlinked warp 3041"_s
            << u"1階の(3,4)に、設定されていないワープマスがあります。"_s;
        QTest::newRow("line prompt kept")
            << u"tool:line"_s << u"始点をクリックして下さい。"_s << u"始点をクリックして下さい。"_s;
    }
    void mouseOverBackground()
    {
        QFETCH(QString, tool);
        QFETCH(QString, before);
        SessionFixture f;
        QVERIFY(f.play(tool));
        // The unlinked-warp warning is told by its position code, as warp mode tells it.
        if (before.startsWith(u"unlinked warp "_s))
            f.session.status().tell(StatusLine::Kind::UnlinkedWarp,
                                    before.section(u' ', 2).toInt());
        else
            f.session.status().tellText(before);
        f.session.status().setPosition(u"1階(3,4)"_s);
        QVERIFY(f.play(u"leave"_s));
        QCOMPARE(f.session.status().position(), QString());
        QTEST(f.session.status().text(), "after");
    }

    void linePreviewMarksWithoutChangingMap()
    {
        SessionFixture f;
        const MapData before = f.document.data();
        QVERIFY(f.play(u"tool:line c:1,1,L h:7,3"_s));
        QCOMPARE(f.session.tools().line().marks().size(), 9);
        QVERIFY(f.session.tools().line().marks().contains(QPoint(3, 2)));
        QVERIFY(f.document.data() == before);
        f.session.refreshBoard();
        QVERIFY(f.session.tools().line().marks().isEmpty());
    }

    void lineCommitLaysChipOverBranches()
    {
        SessionFixture f;
        f.document.setBranch(4, 2, 1, u"3210"_s);
        QVERIFY(f.play(u"tool:line c:1,1,L c:7,3,L"_s));
        QCOMPARE(f.session.tools().line().state(), LineTool::WaitingStart);
        const MapData &map = f.document.data();
        int laid = 0;
        for (int x = 1; x <= 24; ++x)
            for (int y = 1; y <= 16; ++y)
                laid += map.cell(x, y, 1) == u"01_[]"_s;
        QCOMPARE(laid, 9);
        QCOMPARE(map.cell(4, 2, 1), u"01_[]"_s);
        QCOMPARE(map.branch(4, 2, 1), u"3210"_s);
        QVERIFY(f.session.tools().line().marks().isEmpty());
    }

    void freePairNumbers()
    {
        MapData map;
        QCOMPARE(map.freePairNumbers().size(), 79);
        QCOMPARE(map.freePairNumbers().first(), u"01"_s);
        map.setWarp(1, {1, 1, 1, 2, 2, 1});
        map.setWarp(10, {1, 1, 1, 2, 2, 1});
        const QStringList free = map.freePairNumbers();
        QCOMPARE(free.size(), 77);
        QCOMPARE(free.first(), u"02"_s);
        QVERIFY(!free.contains(u"10"_s));
        QCOMPARE(free.last(), u"79"_s);
    }
};

QTEST_APPLESS_MAIN(TestDocument)
#include "tst_document.moc"
