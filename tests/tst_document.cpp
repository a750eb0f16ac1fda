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
    void startUpState();
    void codeTables();
    void decodeParameter_data();
    void decodeParameter();
    void pictureIndex_data();
    void pictureIndex();
    void caption_data();
    void caption();
    void captionFollowsFloorInBranchMode();
    void floorTabDropsLineStart();
    void floorCommandsDropLineStart_data();
    void floorCommandsDropLineStart();
    void openAndSaveThroughSession();
    void mouseOverBackground_data();
    void mouseOverBackground();
    void linePreviewMarksWithoutChangingMap();
    void lineCommitLaysChipOverBranches();
    void freePairNumbers();
};

void TestDocument::startUpState()
{
    const MapData map;
    for (int x = 1; x <= 24; ++x)
        for (int y = 1; y <= 16; ++y) {
            QCOMPARE(map.cell(x, y, 1), QStringLiteral("00_  "));
            for (int floor = 2; floor <= 9; ++floor)
                QCOMPARE(map.cell(x, y, floor), QString());
            for (int floor = 1; floor <= 9; ++floor)
                QCOMPARE(map.branch(x, y, floor), QString());
        }
    QCOMPARE(map.floorCount(), 1);
    QCOMPARE(map.warpCount(), 0);

    SessionFixture f;
    QCOMPARE(f.session.currentFloor(), 1);
    QCOMPARE(f.session.editMode(), int(EditorSession::ChipMode));
    QCOMPARE(f.session.toolBox().mode(), int(ToolBoxState::Shown));
    QCOMPARE(f.session.choices().chip(), QStringLiteral("01_[]"));
    QCOMPARE(f.session.choices().branch(), QStringLiteral("0000"));
    QCOMPARE(f.session.tools().line().state(), LineTool::Off);
    QCOMPARE(f.session.choices().sampleCode(), QStringLiteral("[]"));
}

void TestDocument::codeTables()
{
    QCOMPARE(CodeTables::sourceLabels().size(), 79);
    QCOMPARE(CodeTables::destinationLabels().size(), 79);
    QCOMPARE(CodeTables::chipCodes().size(), 98);
    QCOMPARE(CodeTables::sourceLabel(27), QStringLiteral("あ"));
    QCOMPARE(CodeTables::destinationLabel(79), QStringLiteral("９"));
    QCOMPARE(CodeTables::chipCode(16), QStringLiteral("+X"));
    QCOMPARE(CodeTables::chipCode(33), QStringLiteral("S_"));
    QCOMPARE(CodeTables::chipCode(40), QStringLiteral("@@"));
    QCOMPARE(CodeTables::chipCode(48), QStringLiteral("  "));
    QCOMPARE(CodeTables::chipCode(49), QString());
}

void TestDocument::decodeParameter_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("value");
    QTest::newRow("Z is 35") << QStringLiteral("16_+Z") << 35;
    QTest::newRow("$ reads back as 99") << QStringLiteral("16_+$") << 99;
    QTest::newRow("! is 100") << QStringLiteral("16_+!") << 100;
    QTest::newRow("never given a number") << QStringLiteral("16_+X") << 33;
    QTest::newRow("digit") << QStringLiteral("24_-7") << 7;
    QTest::newRow("outside the table") << QStringLiteral("30_t_") << -1;
}

void TestDocument::decodeParameter()
{
    QFETCH(QString, cell);
    QFETCH(int, value);
    QCOMPARE(CellString::decodeParameter(cell), value);
}

void TestDocument::pictureIndex_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("picture");
    QTest::newRow("empty cell") << QStringLiteral("00_  ") << 48;
    QTest::newRow("chip 48") << QStringLiteral("48_  ") << 48;
    QTest::newRow("start") << QStringLiteral("33_S_") << 33;
    QTest::newRow("short empty") << QStringLiteral("00_") << 0;
    QTest::newRow("not a number") << QStringLiteral("xx_??") << -1;
}

void TestDocument::pictureIndex()
{
    QFETCH(QString, cell);
    QFETCH(int, picture);
    QCOMPARE(CellString::pictureIndex(cell), picture);
}

void TestDocument::caption_data()
{
    QTest::addColumn<QString>("floorName");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("caption");
    QTest::newRow("neither") << QString() << QString() << QStringLiteral("Q;zKマップエディタ");
    QTest::newRow("file only") << QString() << QStringLiteral("/maps/demo")
                               << QStringLiteral("Q;zKマップエディタ － /maps/demo.map");
    QTest::newRow("floor name wins")
        << QStringLiteral("はじまりの森") << QStringLiteral("/maps/demo")
        << QStringLiteral("Q;zKマップエディタ － はじまりの森");
}

void TestDocument::caption()
{
    QFETCH(QString, floorName);
    QFETCH(QString, fileName);
    QFETCH(QString, caption);
    MapData map;
    map.setFloorName(1, floorName);
    SessionFixture f;
    f.document.replace(map, fileName);
    QCOMPARE(f.session.windowCaption(), caption);
    // The separator is a full-width hyphen-minus between blanks.
    if (caption.size() > 11)
        QCOMPARE(caption.mid(11, 3), QString::fromUtf16(u" \uFF0D "));
    QCOMPARE(f.session.propertyMenuCaption(), QStringLiteral("マップ「1階」のプロパティ"));
}

void TestDocument::captionFollowsFloorInBranchMode()
{
    MapData map = MapData::resetMap();
    map.setFloorCount(2);
    map.setFloorName(2, QStringLiteral("二階"));
    SessionFixture f;
    f.document.replace(map);
    QVERIFY(f.play(u"mode:2 floor:2"_s));
    QCOMPARE(f.session.windowCaption(), QStringLiteral("Q;zKマップエディタ － 二階"));
    QCOMPARE(f.session.propertyMenuCaption(), QStringLiteral("マップ「2階」のプロパティ"));
}

void TestDocument::floorCommandsDropLineStart_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("move right") << u"movefloor:1"_s;
    QTest::newRow("move left") << u"movefloor:-1"_s;
    QTest::newRow("delete") << u"deletefloor"_s;
}

void TestDocument::floorCommandsDropLineStart()
{
    QFETCH(QString, command);
    MapData map = MapData::resetMap();
    map.setFloorCount(3);
    SessionFixture f;
    f.document.replace(map);
    QVERIFY(f.play(u"floor:2 tool:line c:3,3,L"_s));
    QCOMPARE(f.session.tools().line().state(), LineTool::WaitingEnd);
    QVERIFY(f.play(command));
    QVERIFY(f.session.currentFloor() != 2 || command == u"deletefloor");
    QCOMPARE(f.session.tools().line().state(), LineTool::WaitingStart);
    QCOMPARE(f.session.status().text(), QStringLiteral("始点をクリックして下さい。"));
    // The next click is a new start, not the end of a line from another floor.
    QVERIFY(f.play(u"c:6,3,L"_s));
    QCOMPARE(f.document.data().cell(4, 3, f.session.currentFloor()), QStringLiteral("00_  "));
    QCOMPARE(f.session.tools().line().state(), LineTool::WaitingEnd);
}

void TestDocument::openAndSaveThroughSession()
{
    QTemporaryDir dir;
    FileFixture f;
    f.document.layChip(2, 2, 1, QStringLiteral("33_S_"));

    // A save that fails keeps the map unnamed.
    const QString nowhere = dir.filePath(QStringLiteral("missing/folder/map"));
    QVERIFY(f.files.writeMap(nowhere).fault);
    QCOMPARE(f.document.fileName(), QString());

    const QString base = dir.filePath(QStringLiteral("first"));
    QVERIFY(!f.files.writeMap(base).fault);
    QCOMPARE(f.document.fileName(), base);

    f.session.resetMap();
    const MapLoadResult loaded = f.files.loadMap(base + QStringLiteral(".map"));
    QVERIFY(!loaded.fault);
    QCOMPARE(f.document.data().cell(2, 2, 1), QStringLiteral("33_S_"));
    QCOMPARE(f.document.fileName(), base);
    QCOMPARE(f.session.floorTabCaptions(), QStringList{QStringLiteral("１階")});

    // A faulty open leaves the open map as it was.
    const MapLoadResult failed = f.files.loadMap(dir.filePath(QStringLiteral("none.map")));
    QVERIFY(failed.fault);
    QCOMPARE(f.document.data().cell(2, 2, 1), QStringLiteral("33_S_"));
    QCOMPARE(f.document.fileName(), base);
}

void TestDocument::floorTabDropsLineStart()
{
    MapData map = MapData::resetMap();
    map.setFloorCount(2);
    SessionFixture f;
    f.document.replace(map);
    QVERIFY(f.play(u"tool:line c:3,3,L"_s));
    QCOMPARE(f.session.tools().line().state(), LineTool::WaitingEnd);
    QCOMPARE(f.session.tools().line().marks(), QVector<QPoint>{QPoint(3, 3)});
    QCOMPARE(f.session.status().text(), QStringLiteral("終点をクリックして下さい。"));

    QSignalSpy refreshed(&f.session, &EditorSession::boardRefreshed);
    QVERIFY(f.play(u"floor:2"_s));
    QCOMPARE(f.session.currentFloor(), 2);
    QCOMPARE(refreshed.count(), 1);
    QVERIFY(f.session.tools().line().marks().isEmpty());
    QCOMPARE(f.session.tools().line().state(), LineTool::WaitingStart);
    QCOMPARE(f.session.status().text(), QStringLiteral("始点をクリックして下さい。"));
}

void TestDocument::mouseOverBackground_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("plain text cleared") << QString() << u"道マス"_s << QString();
    QTest::newRow("warp warning kept") << QString() << u"unlinked warp 3041"_s
                                       << u"1階の(3,4)に、設定されていないワープマスがあります。"_s;
    QTest::newRow("line prompt kept")
        << u"tool:line"_s << u"始点をクリックして下さい。"_s << u"始点をクリックして下さい。"_s;
}

void TestDocument::mouseOverBackground()
{
    QFETCH(QString, tool);
    QFETCH(QString, before);
    QFETCH(QString, after);
    SessionFixture f;
    QVERIFY(f.play(tool));
    // The unlinked-warp warning is told by its position code, as warp mode tells it.
    if (before.startsWith(QStringLiteral("unlinked warp ")))
        f.session.status().tell(StatusLine::Kind::UnlinkedWarp, before.section(u' ', 2).toInt());
    else
        f.session.status().tellText(before);
    f.session.status().setPosition(QStringLiteral("1階(3,4)"));
    QVERIFY(f.play(u"leave"_s));
    QCOMPARE(f.session.status().position(), QString());
    QCOMPARE(f.session.status().text(), after);
}

void TestDocument::linePreviewMarksWithoutChangingMap()
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

void TestDocument::lineCommitLaysChipOverBranches()
{
    SessionFixture f;
    f.document.setBranch(4, 2, 1, QStringLiteral("3210"));
    QVERIFY(f.play(u"tool:line c:1,1,L c:7,3,L"_s));
    QCOMPARE(f.session.tools().line().state(), LineTool::WaitingStart);
    const MapData &map = f.document.data();
    int laid = 0;
    for (int x = 1; x <= 24; ++x)
        for (int y = 1; y <= 16; ++y)
            laid += map.cell(x, y, 1) == QStringLiteral("01_[]");
    QCOMPARE(laid, 9);
    QCOMPARE(map.cell(4, 2, 1), QStringLiteral("01_[]"));
    QCOMPARE(map.branch(4, 2, 1), QStringLiteral("3210"));
    QVERIFY(f.session.tools().line().marks().isEmpty());
}

void TestDocument::freePairNumbers()
{
    MapData map;
    QCOMPARE(map.freePairNumbers().size(), 79);
    QCOMPARE(map.freePairNumbers().first(), QStringLiteral("01"));
    WarpRecord record;
    record.srcX = 1, record.srcY = 1, record.srcFloor = 1;
    record.dstX = 2, record.dstY = 2, record.dstFloor = 1;
    map.setWarp(1, record);
    map.setWarp(10, record);
    const QStringList free = map.freePairNumbers();
    QCOMPARE(free.size(), 77);
    QCOMPARE(free.first(), QStringLiteral("02"));
    QVERIFY(!free.contains(QStringLiteral("10")));
    QCOMPARE(free.last(), QStringLiteral("79"));
}

QTEST_APPLESS_MAIN(TestDocument)
#include "tst_document.moc"
