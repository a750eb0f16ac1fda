#include "codepage932bytes.h"
#include "editorfixture.h"
#include "model/cellstring.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {

// Floor 1 holds a chip and pair 1; every other pair number is taken on floor 2.
MapData crowdedMap()
{
    MapData map = MapData::resetMap();
    map.setFloorCount(2);
    map.setCell(1, 1, 1, u"01_[]"_s);
    for (int n = 1; n <= MapData::MaxWarps; ++n)
        map.setWarp(n, WarpRecord{1, 1, std::uint8_t(n == 1 ? 1 : 2), 2, 1, 1});
    return map;
}

QString descriptionsFile()
{
    QString file;
    for (int k = 0; k < 49; ++k)
        file += k == 16 ? u"\"?マス進む\"\r\n"_s : u"chip%1\r\n"_s.arg(k);
    return file;
}

} // namespace

class TestCellEditing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clicks_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QStringList>("cellsAfter"); // "x,y,cell"
        // The line tool's next point, "" when it is off; the status bar asks for it.
        QTest::addColumn<QString>("lineWaitsFor");
        QTest::addColumn<QString>("selectedChip");
        const auto row = [](const char *name, const QString &actions, const QStringList &cells,
                            const char *lineWaitsFor = "", const char *chip = "01_[]") {
            QTest::newRow(name) << actions << cells << QString::fromUtf8(lineWaitsFor)
                                << QString::fromUtf8(chip);
        };
        // A chip laid with another one chosen before the click under test.
        const QString laid = u"chip:16_+7 c:9,9,L chip:01_[] "_s;
        row("left lays the chip", u"c:3,4,L"_s, {u"3,4,01_[]"_s});
        row("right picks the chip up", laid + u"c:9,9,R"_s, {u"9,9,16_+7"_s}, "", "16_+7");
        row("middle lays nothing", u"c:3,4,M"_s, {u"3,4,00_  "_s});
        row("line start", u"tool:line c:2,2,L"_s, {u"2,2,00_  "_s}, "end");
        row("line commit", u"tool:line c:2,2,L c:4,2,L"_s,
            {u"2,2,01_[]"_s, u"3,2,01_[]"_s, u"4,2,01_[]"_s}, "start");
        row("right while waiting for the end", u"tool:line c:2,2,L c:4,2,R"_s,
            {u"2,2,00_  "_s, u"4,2,00_  "_s}, "start");
        row("middle while waiting for the end", u"tool:line c:2,2,L c:4,2,M"_s, {u"4,2,00_  "_s},
            "start");
        row("right while waiting for the start switches off", u"tool:line c:2,2,R"_s,
            {u"2,2,00_  "_s});
        row("second line after a commit", u"tool:line c:1,1,L c:1,3,L c:5,5,L c:5,6,L"_s,
            {u"1,2,01_[]"_s, u"5,6,01_[]"_s, u"4,5,00_  "_s}, "start");
        row("branch mode does not paint", u"mode:2 c:3,3,L"_s, {u"3,3,00_  "_s});
        row("warp mode right click picks the chip", laid + u"mode:3 c:9,9,R"_s, {u"9,9,16_+7"_s},
            "", "16_+7");
        row("warp mode left click changes nothing", u"mode:3 c:6,6,L"_s, {u"6,6,00_  "_s});
    }
    void clicks()
    {
        QFETCH(QString, actions);
        QFETCH(QStringList, cellsAfter);
        QFETCH(QString, lineWaitsFor);
        SessionFixture f;
        QVERIFY(f.play(actions));
        for (const QString &entry : cellsAfter) {
            const QStringList x = entry.split(u',');
            QCOMPARE(f.document.data().cell(x[0].toInt(), x[1].toInt(), 1), x[2]);
        }
        const LineTool::State line = f.session.tools().line().state();
        QCOMPARE(line == LineTool::Off            ? u""_s
                 : line == LineTool::WaitingStart ? u"start"_s
                                                  : u"end"_s,
                 lineWaitsFor);
        const QMap<QString, QString> prompts{{u"start"_s, u"始点をクリックして下さい。"_s},
                                             {u"end"_s, u"終点をクリックして下さい。"_s}};
        QCOMPARE(f.session.status().text(), prompts.value(lineWaitsFor));
        QTEST(f.session.choices().chip(), "selectedChip");
    }

    void hoverTexts_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("floor");
        // What happens after hovering (5,12) with 16_+A chosen.
        QTest::addColumn<QString>("then");
        QTest::addColumn<QString>("position");
        QTest::addColumn<QString>("status");
        const auto row = [](const char *name, const char *cell, int floor, const char *then,
                            const char *position, const QString &status) {
            QTest::newRow(name) << QString::fromUtf8(cell) << floor << QString::fromUtf8(then)
                                << QString::fromUtf8(position) << status;
        };
        row("floor 2", "01_[]", 2, "", "2階(5,12)", u"chip1"_s);
        row("$ shows 99", "16_+$", 1, "", "1階(5,12)", u"99マス進む"_s);
        row("Z shows 35", "16_+Z", 1, "", "1階(5,12)", u"35マス進む"_s);
        row("! shows 100", "16_+!", 1, "", "1階(5,12)", u"100マス進む"_s);
        row("never numbered", "16_+X", 1, "", "1階(5,12)", u"33マス進む"_s);
        row("painted", "01_[]", 1, "c:5,12,L", "1階(5,12)", u"10マス進む"_s);
        row("tab switch", "01_[]", 2, "floor:1", "1階(5,12)", u"chip0"_s);
        row("tab switch, not on the board", "01_[]", 2, "off floor:1", "", QString());
        const QString unlinked = u"階の(5,12)に、設定されていないワープマスがあります。"_s;
        row("floor moved", "37_W1", 1, "off mode:3 movefloor:1", "", u'2' + unlinked);
        row("a floor before it deleted", "37_W1", 2, "off mode:3 floor:1 deletefloor", "",
            u'1' + unlinked);
    }
    void hoverTexts()
    {
        QFETCH(QString, cell);
        QFETCH(int, floor);
        QFETCH(QString, then);
        SessionFixture f;
        MapData map = MapData::resetMap();
        map.setFloorCount(2);
        map.setCell(5, 12, floor, cell);
        f.document.replace(map);
        QCOMPARE(f.descriptions.parse(codePage932Bytes(descriptionsFile())).status,
                 ChipDescriptions::Status::Ok);
        QVERIFY(f.play(u"floor:%1 h:5,12 chip:16_+A "_s.arg(floor) + then));
        QTEST(f.session.status().position(), "position");
        QTEST(f.session.status().text(), "status");
    }

    void previewRedrawnOnlyForNewCell()
    {
        SessionFixture f;
        QVERIFY(f.play(u"tool:line c:1,1,L"_s));
        QSignalSpy refreshed(&f.session.tools(), &ToolSwitch::pictureChanged);
        QVERIFY(f.play(u"h:4,1"_s));
        const int afterFirst = refreshed.count();
        QVERIFY(afterFirst > 0);
        QVERIFY(f.play(u"h:4,1"_s));
        QCOMPARE(refreshed.count(), afterFirst);
        QCOMPARE(f.session.tools().line().marks().size(), 4);
        // The line prompt stays while the preview follows the mouse.
        QCOMPARE(f.session.status().text(), u"終点をクリックして下さい。"_s);
    }

    void pointerGestures_data()
    {
        QTest::addColumn<QString>("actions");
        // Floor 1 row by row: "x,y" a chip, "x,y=setting" a branch.
        QTest::addColumn<QString>("cells");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("status");
        const auto row = [](const char *name, const QString &actions, const char *cells, int steps,
                            const QString &status = {}) {
            QTest::newRow(name) << actions << QString::fromUtf8(cells) << steps << status;
        };
        const QString refused = u"回転すると盤面に収まりません。"_s;
        row("a fast stroke leaves no gaps and is one step", u"p:2,3,L d:6,3 r:6,3"_s,
            "2,3 3,3 4,3 5,3 6,3", 1);
        row("a click is one cell", u"p:4,4,L r:4,4"_s, "4,4", 1);
        row("branch strokes: left sets, right clears",
            u"mode:2 p:1,1,L d:3,1 r:3,1 p:2,1,R d:2,2 r:2,2"_s, "1,1=0000 3,1=0000", 2);
        row("dragging the selection moves it",
            u"p:1,1,L r:1,1 tool:selection p:1,1,L d:2,2 r:2,2 p:1,1,L d:5,1 r:5,1"_s, "5,1", 2);
        row("a pasted block lays where it is clicked",
            u"p:1,1,L d:2,1 r:2,1 tool:selection p:1,1,L d:2,1 r:2,1 copypaste h:10,9 p:10,9,L"_s,
            "1,1 2,1 10,9 11,9", 2);
        row("Esc drops the pasted block",
            u"p:1,1,L d:2,1 r:2,1 all copypaste h:10,9 esc p:10,9,L r:10,9"_s, "1,1 2,1", 1);
        row("a quarter turn that leaves the board is refused",
            u"p:1,10,L r:1,10 tool:selection p:1,10,L d:8,16 r:8,16 turn:R"_s, "1,10", 1, refused);
        row("a quarter turn in place",
            u"p:1,1,L d:3,1 r:3,1 tool:selection p:1,1,L d:3,1 r:3,1 turn:R"_s, "1,1 1,2 1,3", 2);
        row("a floating block too wide to turn is refused", u"p:1,1,L r:1,1 all copypaste turn:R"_s,
            "1,1", 1, refused);
        row("a paste short of free pair numbers lays its cells and says so",
            u"crowd all copypaste h:3,2 p:3,2,L"_s, "1,1 3,2", 1,
            u"空き番号が足りず、ワープのペアを1組作れませんでした。"_s);
        row("a selection dragged up and left holds both corners",
            u"p:1,1,L d:4,1 r:4,1 tool:selection p:4,2,L d:2,1 r:2,1 del"_s, "1,1", 2);
        const QString pair = u"c:1,1,L mode:3 newpair c:7,7,L c:8,8,L endlink mode:1 "_s;
        const QString covered = u"重なったワープのペアを1組削除しました。"_s;
        row("a paste over a pair's end deletes the pair in its own step",
            pair + u"tool:selection p:1,1,L d:2,1 r:2,1 copypaste h:7,7 p:7,7,L"_s, "1,1 7,7", 3,
            covered);
        row("a move over a pair's end deletes the pair in its own step",
            pair + u"tool:selection p:1,1,L d:2,1 r:2,1 p:1,1,L d:7,7 r:7,7"_s, "7,7", 3, covered);
        row("delete empties the selection",
            u"p:1,1,L d:3,1 r:3,1 tool:selection p:2,1,L d:5,5 r:5,5 del"_s, "1,1", 2);
        // Fill and rectangle; c:10,10,R picks up the empty chip.
        row("a fill lays the chosen chip on the joined area only",
            u"p:1,1,L d:3,1 r:3,1 c:5,1,L tool:fill c:10,10,R c:2,1,L"_s, "5,1", 3);
        row("a selection bounds the fill",
            u"p:1,1,L d:5,1 r:5,1 tool:selection p:1,1,L d:2,1 r:2,1 tool:fill c:10,10,R c:1,1,L"_s,
            "3,1 4,1 5,1", 2);
        row("a fill in branch mode sets the setting, the right button clears it",
            u"c:1,1,L c:2,1,L mode:2 tool:fill c:1,1,L c:5,5,R"_s, "1,1 1,1=0000 2,1 2,1=0000", 3);
        row("a rectangle lays every cell on release as one step",
            u"tool:rectangle p:3,2,L d:2,1 r:1,1"_s, "1,1 2,1 3,1 1,2 2,2 3,2", 1);
        row("a rectangle with Shift lays its border", u"tool:rectangle shift p:1,1,L d:3,3 r:3,3"_s,
            "1,1 2,1 3,1 1,2 3,2 1,3 2,3 3,3", 1);
        row("a rectangle in branch mode sets and clears the setting",
            u"mode:2 tool:rectangle p:1,1,L r:2,1 p:2,1,R r:2,1"_s, "1,1=0000", 2);
        row("a mode change drops a rectangle being dragged",
            u"tool:rectangle p:1,1,L d:3,3 mode:2 r:3,3"_s, "", 0);
        row("the selection tool takes over from the fill tool",
            u"tool:fill tool:selection p:1,1,L d:2,1 r:2,1 c:1,1,L"_s, "", 0);
    }
    void pointerGestures()
    {
        QFETCH(QString, actions);
        SessionFixture f;
        if (actions.startsWith(u"crowd"))
            f.session.takeLoadedMap(crowdedMap());
        QVERIFY(f.play(actions.mid(actions.startsWith(u"crowd") ? 5 : 0)));
        const MapData &map = f.session.map();
        QStringList cells;
        for (int y = 1; y <= MapData::Height; ++y) {
            for (int x = 1; x <= MapData::Width; ++x) {
                if (map.cell(x, y, 1) != CellString::empty())
                    cells << u"%1,%2"_s.arg(x).arg(y);
                if (!map.branch(x, y, 1).isEmpty())
                    cells << u"%1,%2=%3"_s.arg(x).arg(y).arg(map.branch(x, y, 1));
            }
        }
        QTEST(cells.join(u' '), "cells");
        QTEST(f.document.undoStack().count(), "steps");
        QTEST(f.session.status().text(), "status");
    }

    void selectionFollowsHistory_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QRect>("selection");
        const QString selected =
            u"c:1,1,L chip:16_+A c:2,1,L tool:selection p:1,1,L d:2,1 r:2,1 "_s;
        QTest::newRow("a turn undone") << selected + u"turn:R undo"_s << QRect(1, 1, 2, 1);
        QTest::newRow("a turn undone and redone")
            << selected + u"turn:R undo redo"_s << QRect(1, 1, 1, 2);
        QTest::newRow("a flip undone") << selected + u"turn:H undo"_s << QRect(1, 1, 2, 1);
        QTest::newRow("a move undone")
            << selected + u"p:1,1,L d:1,5 r:1,5 undo"_s << QRect(1, 1, 2, 1);
        QTest::newRow("a chip undone selects nothing") << u"c:1,1,L undo"_s << QRect();
        QTest::newRow("a line undone after a turn selects nothing")
            << selected + u"turn:R tool:line c:5,5,L c:5,5,L undo"_s << QRect();
    }
    void selectionFollowsHistory()
    {
        QFETCH(QString, actions);
        SessionFixture f;
        QVERIFY(f.play(actions));
        QTEST(f.session.tools().selection().selection(), "selection");
    }

    void paletteAndBoardWithMouse()
    {
        EditorFixture editor;
        editor.descriptions.parse(codePage932Bytes(descriptionsFile()));
        editor.show();
        const ToolContext &choices = editor.session.choices();
        ChipPalette *palette = editor.palette();
        QVERIFY(palette);

        editor.pickChip(16, Qt::RightButton);
        QCOMPARE(choices.chip(), u"16_+7"_s);
        auto *valueBox = child<QLineEdit>(palette, u"valueBox"_s);
        QVERIFY(valueBox->isEnabled());
        // Each key is normalised at once: the 5 turns into 7 before the 0 arrives.
        valueBox->selectAll();
        QTest::keyClicks(valueBox, u"50"_s);
        QCOMPARE(valueBox->text(), u"100"_s);
        QCOMPARE(choices.chip(), u"16_+!"_s);
        valueBox->selectAll();
        QTest::keyClicks(valueBox, u"9"_s);
        QTest::mouseClick(child<QPushButton>(palette, u"step4"_s), Qt::LeftButton);
        QCOMPARE(valueBox->text(), u"19"_s);
        QCOMPARE(choices.chip(), u"16_+J"_s);
        QCOMPARE(child<QLabel>(palette, u"description"_s)->text(), u"19マス進む"_s);
        QCOMPARE(editor.shown(u"sampleCode"_s), u"+J"_s);
        QCOMPARE(child<QLabel>(&editor.window, u"sample"_s)->pixmap().toImage(),
                 editor.pictures.chip(16));
        QTest::mouseClick(child<QPushButton>(palette, u"step8"_s), Qt::LeftButton);
        QCOMPARE(choices.chip(), u"16_+$"_s);

        editor.clickCell(5, 12);
        QCOMPARE(editor.document.data().cell(5, 12, 1), u"16_+$"_s);
        editor.hoverCell(5, 12);
        QCOMPARE(editor.shown(u"statusPanel"_s), u"99マス進む"_s);

        // The eraser is the last palette cell.
        editor.pickChip(48);
        QCOMPARE(choices.chip(), u"00_  "_s);
        QVERIFY(!valueBox->isEnabled());
        editor.clickCell(5, 12);
        QCOMPARE(editor.document.data().cell(5, 12, 1), u"00_  "_s);
    }
};

QTEST_MAIN(TestCellEditing)
#include "tst_cellediting.moc"
