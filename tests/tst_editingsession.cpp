#include "codepage932bytes.h"
#include "dialogs/checkreportwindow.h"
#include "dialogs/propertiesdialog.h"
#include "editorfixture.h"
#include "mainwindow/startup.h"
#include "mapfile/mapfilename.h"
#include "mapfiletestmaps.h"
#include "painting/cellcomposer.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString EmptyCell = u"00_  "_s;
const QString Road = u"01_[]"_s;

// What the story paints, per floor in reading order, as "x,y cell", and the branch settings
// it makes, as "x,y +digits".
const QStringList StartFloorChips = {
    u"2,2 33_S_"_s,  u"3,2 01_[]"_s,  u"4,2 01_[]"_s,  u"5,2 01_[]"_s,  u"6,2 01_[]"_s,
    u"7,2 01_[]"_s,  u"8,2 01_[]"_s,  u"9,2 30_tP"_s,  u"10,2 37_W1"_s, u"10,8 01_[]"_s,
    u"11,8 01_[]"_s, u"12,8 01_[]"_s, u"13,8 36_W4"_s,
};
const QStringList GoalFloorChips = {u"5,5 01_[]"_s, u"6,5 34_G_"_s};
const QStringList StartFloor =
    StartFloorChips + QStringList{u"2,2 +0030"_s, u"8,2 +1020"_s, u"10,8 +1022"_s};

const QString GoalFloorName = u"ゴールの階"_s;
const QString GoalFloorComment = u"ゴールおめでとう\r\nまた遊んでね"_s;

// The start is reached from floor 1 only through both pairs, so this verdict needs them.
const QStringList CleanReport = {
    u"ふりだしの数は正常です。"_s,
    u"あがりの数は正常です。"_s,
    u"ワープの設定は正常です。"_s,
    u"あがりまでの道は、きちんとつながっています。"_s,
    QString(45, u'-'),
    u"このマップに、特に重大な問題は見つかりませんでした。"_s,
};

// A floor's chips, then its branch settings, each in reading order.
QStringList cellsOn(const MapData &map, int floor)
{
    QStringList chips, branches;
    for (int y = 1; y <= MapData::Height; ++y) {
        for (int x = 1; x <= MapData::Width; ++x) {
            const QString at = u"%1,%2 "_s.arg(x).arg(y);
            if (map.cell(x, y, floor) != EmptyCell)
                chips.append(at + map.cell(x, y, floor));
            if (!map.branch(x, y, floor).isEmpty())
                branches.append(at + u'+' + map.branch(x, y, floor));
        }
    }
    return chips + branches;
}

// Types text key by key as an input method hands it over; QTest::keyClicks takes Latin-1 only.
void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The editor as the program starts it, with the real chip descriptions, and the gestures
// of a map maker at its windows.
struct Editor : EditorFixture
{
    CellComposer composer{pictures};

    Editor()
    {
        if (!Startup::readChipDescriptions(descriptions, prompter, QStringLiteral(QZK_SOURCE_DATA)))
            qFatal("chip descriptions not readable");
        show();
    }

    void clickBranchArrow(int direction, int times)
    {
        for (int i = 0; i < times; ++i)
            clickButton(u"arrow%1"_s.arg(direction), branchWindow());
    }
    QStringList warpRows() const
    {
        const QListWidget *list = warpWindow()->list();
        QStringList rows;
        for (int i = 0; i < list->count(); ++i)
            rows.append(list->item(i)->text());
        return rows;
    }
    // The markers shown on the current floor, as "caption x,y".
    QStringList visibleMarkers() const
    {
        QStringList shownMarkers;
        for (int index = 1; index <= 2 * MapData::MaxWarps; ++index) {
            const QLabel *label = marker(index);
            if (!label || !label->isVisible())
                continue;
            const QPoint cell = window.board()->cellAt(label->geometry().center());
            shownMarkers.append(u"%1 %2,%3"_s.arg(label->text()).arg(cell.x()).arg(cell.y()));
        }
        return shownMarkers;
    }

    // The cells whose picture on the board differs from the plain picture of `chips`
    // (empty elsewhere).
    QStringList cellsShownOtherThan(const QStringList &chips) const
    {
        QHash<QString, QString> expected;
        for (const QString &entry : chips)
            expected.insert(entry.section(u' ', 0, 0), entry.section(u' ', 1));
        QStringList wrong;
        for (int y = 1; y <= MapData::Height; ++y) {
            for (int x = 1; x <= MapData::Width; ++x) {
                const QString where = u"%1,%2"_s.arg(x).arg(y);
                const QString cell = expected.value(where, EmptyCell);
                if (window.board()->cellImage(x, y) != composer.chipPicture(cell))
                    wrong.append(where);
            }
        }
        return wrong;
    }
};

// Runs `use` on the properties dialog that the next command opens modally. Should a check
// inside fail, the dialog is still closed so the command returns.
void whenPropertiesOpen(QObject *context, std::function<void(PropertiesDialog &)> use)
{
    QTimer::singleShot(0, context, [use = std::move(use)] {
        auto *dialog = qobject_cast<PropertiesDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        use(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

} // namespace

// One map maker's session, step by step; each step works on what the one before left.
class TestEditingSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(mFolder.isValid());
        mBasePath = mFolder.filePath(u"castle"_s);
        mEditor = std::make_unique<Editor>();
    }

    void init()
    {
        if (mStoryBroken)
            QSKIP("an earlier step failed");
    }

    void cleanup() { mStoryBroken = mStoryBroken || QTest::currentTestFailed(); }

    void cleanupTestCase() { mEditor.reset(); }

    void paintStartFloorWithPalette()
    {
        Editor &e = *mEditor;
        const MapData &map = e.session.map();
        QVERIFY(e.palette());
        QVERIFY(e.palette()->isVisible());

        e.pickChip(33);
        QCOMPARE(e.shown(u"sampleCode"_s), u"S_"_s);
        e.clickCell(2, 2);

        // Two roads with the line tool, one after the other while it stays on.
        e.pickChip(1);
        e.clickButton(u"lineToolButton"_s);
        e.clickCell(3, 2);
        QCOMPARE(e.shown(u"statusPanel"_s), u"終点をクリックして下さい。"_s);
        QCOMPARE(e.window.board()->cellImage(3, 2), e.composer.lineMarkPicture(EmptyCell));
        e.clickCell(8, 2);
        QCOMPARE(e.shown(u"statusPanel"_s), u"始点をクリックして下さい。"_s);
        e.clickCell(10, 8);
        e.clickCell(12, 8);
        e.clickButton(u"lineToolButton"_s);
        QCOMPARE(e.session.tools().line().state(), LineTool::Off);

        // A slip of the hand, taken back with the eraser.
        e.clickCell(6, 3);
        QCOMPARE(map.cell(6, 3, 1), Road);
        e.pickChip(48);
        e.clickCell(6, 3);

        // The toll chip carries its number in the cell.
        e.pickChip(30);
        auto *valueBox = child<QLineEdit>(e.palette(), u"valueBox"_s);
        QVERIFY(valueBox->isEnabled());
        QCOMPARE(valueBox->text(), u"2"_s);
        valueBox->selectAll();
        QTest::keyClicks(valueBox, u"25"_s);
        QCOMPARE(e.shown(u"description"_s, e.palette()), u"通行料：コインを25枚払う"_s);
        QCOMPARE(e.shown(u"sampleCode"_s), u"tP"_s);
        e.clickCell(9, 2);

        e.pickChip(37);
        QVERIFY(!valueBox->isEnabled());
        e.clickCell(10, 2);
        e.pickChip(36);
        e.clickCell(13, 8);

        QCOMPARE(cellsOn(map, 1), StartFloorChips);
        QCOMPARE(e.cellsShownOtherThan(StartFloorChips), QStringList());
        e.hoverCell(9, 2);
        QCOMPARE(e.shown(u"statusPanel"_s), u"通行料：コインを25枚払う"_s);
        QCOMPARE(e.shown(u"positionPanel"_s), u"1階(9,2)"_s);
    }

    void setBranchPoints()
    {
        Editor &e = *mEditor;
        const MapData &map = e.session.map();
        QVERIFY(e.pressKey(Qt::Key_F6));
        QTRY_VERIFY(e.branchWindow());
        QVERIFY(e.branchWindow()->isVisible());
        QVERIFY(!child<QToolButton>(&e.window, u"lineToolButton"_s)->isVisible());

        e.clickBranchArrow(3, 3);
        QCOMPARE(e.shown(u"caption3"_s, e.branchWindow()), u"３：２ｗａｙ"_s);
        e.clickCell(2, 2);
        QCOMPARE(e.window.board()->cellImage(2, 2),
                 e.composer.branchPicture(u"33_S_"_s, u"0030"_s));

        // Set on the wrong cell, then taken off with the right button.
        e.clickBranchArrow(1, 1);
        QCOMPARE(e.shown(u"caption1"_s, e.branchWindow()), u"１：通行禁止"_s);
        e.clickCell(4, 2);
        QCOMPARE(map.branch(4, 2, 1), u"1030"_s);
        e.clickCell(4, 2, Qt::RightButton);
        QCOMPARE(e.window.board()->cellImage(4, 2), e.composer.chipPicture(Road));

        e.clickBranchArrow(3, 3);
        QCOMPARE(e.shown(u"caption3"_s, e.branchWindow()), u"２：一方通行"_s);
        e.clickCell(8, 2);
        e.clickBranchArrow(4, 2);
        QCOMPARE(e.shown(u"caption4"_s, e.branchWindow()), u"２：一方通行"_s);
        e.clickCell(10, 8);

        // Branch mode paints no chips.
        QCOMPARE(cellsOn(map, 1), StartFloor);
        QCOMPARE(e.window.board()->cellImage(10, 8), e.composer.branchPicture(Road, u"1022"_s));
    }

    void addAndPaintGoalFloor()
    {
        Editor &e = *mEditor;
        const MapData &map = e.session.map();
        e.trigger(u"フロアを１つ追加(&A)"_s);
        QCOMPARE(e.tabCaptions(), (QStringList{u"１階"_s, u"2階"_s}));
        QCOMPARE(e.window.floorTabs()->currentIndex(), 0);

        e.clickTab(1);
        QCOMPARE(e.session.currentFloor(), 2);
        QVERIFY(e.action(u"マップ「2階」のプロパティ(&P)"_s));
        QCOMPARE(e.cellsShownOtherThan({}), QStringList());

        e.clickButton(u"modeButton1"_s);
        QVERIFY(e.palette());
        e.pickChip(1);
        e.clickCell(5, 5);
        e.pickChip(34);
        e.clickCell(6, 5);

        QCOMPARE(cellsOn(map, 2), GoalFloorChips);
        QCOMPARE(cellsOn(map, 1), StartFloor);
        QCOMPARE(e.cellsShownOtherThan(GoalFloorChips), QStringList());
        e.clickTab(0);
        QCOMPARE(e.cellsShownOtherThan(StartFloorChips), QStringList());
    }

    void linkWarpPairs()
    {
        Editor &e = *mEditor;
        QVERIFY(e.pressKey(Qt::Key_F7));
        QTRY_VERIFY(e.warpWindow());
        // Scanning column by column, the ordinary warp comes before the NEXT cell.
        QCOMPARE(e.shown(u"statusPanel"_s),
                 u"1階の(10,2)に、設定されていないワープマスがあります。"_s);
        QCOMPARE(e.warpRows(), QStringList());

        // Across the floors: NEXT on floor 1 to the road on floor 2.
        e.clickButton(u"warpButton1"_s, e.warpWindow());
        QCOMPARE(e.shown(u"linkingSample"_s), u"A"_s);
        QCOMPARE(e.shown(u"statusPanel"_s), u"ワープ元をクリックして下さい。"_s);
        e.clickCell(13, 8);
        QCOMPARE(e.shown(u"linkingSample"_s), u"a"_s);
        QCOMPARE(e.shown(u"statusPanel"_s), u"ワープ先をクリックして下さい。"_s);
        e.clickTab(1);
        QCOMPARE(e.visibleMarkers(), QStringList());
        e.clickCell(5, 5);
        QCOMPARE(e.visibleMarkers(), QStringList{u"a 5,5"_s});
        QCOMPARE(e.warpRows(), QStringList{u"A：13,8,1-5,5,2"_s});

        // Within floor 1: the next pair waits for its source at once.
        QCOMPARE(e.shown(u"linkingSample"_s), u"B"_s);
        e.clickTab(0);
        e.clickCell(10, 2);
        e.clickCell(10, 8);
        QCOMPARE(e.warpRows(), (QStringList{u"A：13,8,1-5,5,2"_s, u"B：10,2,1-10,8,1"_s}));
        QCOMPARE(e.shown(u"linkingSample"_s), u"C"_s);
        // A right click ends the linking.
        e.clickCell(1, 16, Qt::RightButton);
        QVERIFY(!child<QLabel>(&e.window, u"linkingSample"_s)->isVisible());
        QCOMPARE(e.session.tools().warps().stage(), int(WarpLinkTool::NotLinking));
        QCOMPARE(e.session.map().warpCount(), 2);

        QCOMPARE(e.visibleMarkers(), (QStringList{u"A 13,8"_s, u"B 10,2"_s, u"b 10,8"_s}));
        QCOMPARE(e.session.map().cell(1, 16, 1), EmptyCell);
    }

    void nameGoalFloor()
    {
        Editor &e = *mEditor;
        e.clickTab(1);
        bool filled = false;
        whenPropertiesOpen(this, [&](PropertiesDialog &dialog) {
            QCOMPARE(dialog.windowTitle(), u"2階のプロパティ"_s);
            QVERIFY(!e.warpWindow()->isVisible());
            QCOMPARE(child<QLineEdit>(&dialog, u"floorCountEdit"_s)->text(), u"2"_s);
            auto *name = child<QLineEdit>(&dialog, u"nameEdit"_s);
            QCOMPARE(name->text(), QString());
            QTest::mouseClick(name, Qt::LeftButton);
            typeText(name, GoalFloorName);
            auto *comment = child<QPlainTextEdit>(&dialog, u"commentEdit"_s);
            QTest::mouseClick(comment->viewport(), Qt::LeftButton);
            typeText(comment, u"ゴールおめでとう"_s);
            QTest::keyClick(comment, Qt::Key_Return);
            typeText(comment, u"また遊んでね"_s);
            filled = true;
            QTest::mouseClick(child<QPushButton>(&dialog, u"okButton"_s), Qt::LeftButton);
        });
        QVERIFY(e.pressKey(Qt::Key_P, Qt::ControlModifier));
        QVERIFY(filled);

        QCOMPARE(e.session.map().floorName(2), GoalFloorName);
        QCOMPARE(e.session.map().floorEndText(2), GoalFloorComment);
        QCOMPARE(e.session.map().floorName(1), QString());
        QCOMPARE(e.caption(), captionWith(GoalFloorName));
        QVERIFY(e.warpWindow()->isVisible());
        QCOMPARE(e.prompter.messages, QStringList());
    }

    void checkMap()
    {
        Editor &e = *mEditor;
        e.trigger(u"マップのチェック(&C)"_s);
        QPointer<CheckReportWindow> report = e.window.checkReport();
        QVERIFY(report);
        QVERIFY(QTest::qWaitForWindowExposed(report));
        QCOMPARE(report->windowTitle(), u"マップチェックの結果報告"_s);
        QCOMPARE(report->lines(), CleanReport);
        report->close();
        QTRY_VERIFY(!report);
    }

    void saveAs()
    {
        Editor &e = *mEditor;
        e.prompter.files = QStringList{mBasePath + u".map"_s};
        e.trigger(u"名前を付けて保存(&A)"_s);

        // The first dialog starts in the working folder the editor was started from.
        QCOMPARE(e.prompter.fileDialogs, QStringList{u"save|"_s + QDir::currentPath()});
        QCOMPARE(e.prompter.messages, QStringList());
        QCOMPARE(e.session.document().fileName(), mBasePath);
        QCOMPARE(QDir(mFolder.path()).entryList(QDir::Files),
                 (QStringList{u"castle.map"_s, u"castle_2.map"_s}));

        // The floor name goes to the file in Shift-JIS, every line ending in CR LF.
        const QByteArray bytes = readFile(MapFileName::floorFilePath(mBasePath, 2));
        const QByteArray name = codePage932Bytes(GoalFloorName);
        QVERIFY(bytes.contains("*NAME\r\n" + name + "\r\n"));
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));

        // A named floor shows its name; floor 1 shows the file.
        QCOMPARE(e.caption(), captionWith(GoalFloorName));
        e.clickTab(0);
        QCOMPARE(e.caption(), captionWith(mBasePath + u".map"_s));
    }

    void startNewMap()
    {
        Editor &e = *mEditor;
        e.prompter.answer = true;
        e.trigger(u"新規作成(&N)"_s);

        QCOMPARE(
            e.prompter.questions,
            QStringList{u"新規マップの作成|マップデータをクリアします。\r\nよろしいですか？"_s});
        const MapData &map = e.session.map();
        for (int floor = 1; floor <= MapData::MaxFloors; ++floor)
            QCOMPARE(cellsOn(map, floor), QStringList());
        QCOMPARE(map.floorCount(), 1);
        QCOMPARE(map.warpCount(), 0);
        QCOMPARE(map.floorName(2), QString());
        QCOMPARE(e.session.document().fileName(), QString());
        QCOMPARE(e.tabCaptions(), QStringList{u"１階"_s});
        QCOMPARE(e.cellsShownOtherThan({}), QStringList());
        QCOMPARE(e.caption(), PlainCaption);
        QVERIFY(!e.marker(1));
        QVERIFY(e.palette());
        QVERIFY(e.palette()->isVisible());
    }

    void openSavedMap()
    {
        Editor &e = *mEditor;
        e.prompter.fileDialogs.clear();
        e.prompter.files = QStringList{mBasePath + u".map"_s};
        e.trigger(u"開く(&O)"_s);

        // The next dialog starts where the map was saved.
        QCOMPARE(e.prompter.fileDialogs,
                 QStringList{u"open|"_s + QFileInfo(mBasePath).absolutePath()});
        QCOMPARE(e.prompter.messages, QStringList());
        const MapData &map = e.session.map();
        QCOMPARE(map.floorCount(), 2);
        QCOMPARE(e.tabCaptions(), (QStringList{u"１階"_s, u"2階"_s}));
        QCOMPARE(cellsOn(map, 1), StartFloor);
        QCOMPARE(cellsOn(map, 2), GoalFloorChips);
        QCOMPARE(map.floorName(2), GoalFloorName);
        QCOMPARE(map.floorEndText(2), GoalFloorComment);
        QCOMPARE(e.caption(), captionWith(mBasePath + u".map"_s));

        QCOMPARE(e.cellsShownOtherThan(StartFloorChips), QStringList());
        e.hoverCell(9, 2);
        QCOMPARE(e.shown(u"statusPanel"_s), u"通行料：コインを25枚払う"_s);
        e.clickButton(u"modeButton2"_s);
        QCOMPARE(e.window.board()->cellImage(8, 2), e.composer.branchPicture(Road, u"1020"_s));

        // Pairs come back numbered in file order: a floor's own pairs before those leaving it.
        e.clickButton(u"modeButton3"_s);
        QVERIFY(e.warpWindow());
        QCOMPARE(e.warpRows(), (QStringList{u"A：10,2,1-10,8,1"_s, u"B：13,8,1-5,5,2"_s}));
        QCOMPARE(e.visibleMarkers(), (QStringList{u"A 10,2"_s, u"a 10,8"_s, u"B 13,8"_s}));
        e.clickTab(1);
        QCOMPARE(e.visibleMarkers(), QStringList{u"b 5,5"_s});
        QCOMPARE(e.cellsShownOtherThan(GoalFloorChips), QStringList());
        QCOMPARE(e.caption(), captionWith(GoalFloorName));

        bool read = false;
        whenPropertiesOpen(this, [&](PropertiesDialog &dialog) {
            QCOMPARE(child<QLineEdit>(&dialog, u"nameEdit"_s)->text(), GoalFloorName);
            QCOMPARE(child<QPlainTextEdit>(&dialog, u"commentEdit"_s)->toPlainText(),
                     u"ゴールおめでとう\nまた遊んでね"_s);
            QVERIFY(child<QCheckBox>(&dialog, u"noBackgroundCheck"_s)->isChecked());
            read = true;
            QTest::mouseClick(child<QPushButton>(&dialog, u"cancelButton"_s), Qt::LeftButton);
        });
        e.trigger(u"マップ「2階」のプロパティ(&P)"_s);
        QVERIFY(read);
    }

    void moveAndDeleteFloors()
    {
        Editor &e = *mEditor;
        const MapData &map = e.session.map();
        QCOMPARE(e.session.editMode(), int(EditorSession::WarpMode));

        // The start floor moves right with its cells, branch points and pairs; the floor texts
        // stay with the position.
        e.clickTab(0);
        e.trigger(u"右に移動(&R)"_s);
        QCOMPARE(e.window.floorTabs()->currentIndex(), 1);
        QCOMPARE(cellsOn(map, 2), StartFloor);
        QCOMPARE(cellsOn(map, 1), GoalFloorChips);
        QCOMPARE(map.floorName(2), GoalFloorName);
        QCOMPARE(map.floorName(1), QString());
        QCOMPARE(e.caption(), captionWith(GoalFloorName));
        QCOMPARE(e.warpRows(), (QStringList{u"A：10,2,2-10,8,2"_s, u"B：13,8,2-5,5,1"_s}));
        QCOMPARE(e.visibleMarkers(), (QStringList{u"A 10,2"_s, u"a 10,8"_s, u"B 13,8"_s}));
        QCOMPARE(e.cellsShownOtherThan(StartFloorChips), QStringList());

        // Deleting the goal floor takes the pair that reaches it; the other follows its floor.
        e.clickTab(0);
        QCOMPARE(e.visibleMarkers(), QStringList{u"b 5,5"_s});
        e.prompter.questions.clear();
        e.prompter.answer = true;
        e.trigger(u"このフロアを削除(&D)"_s);
        QCOMPARE(
            e.prompter.questions,
            QStringList{u"Q:zKエディタ|このフロア「１階」を削除します。\r\nよろしいですか？"_s});
        QCOMPARE(e.tabCaptions(), QStringList{u"１階"_s});
        QCOMPARE(map.floorCount(), 1);
        QCOMPARE(e.session.currentFloor(), 1);
        QCOMPARE(cellsOn(map, 1), StartFloor);
        QCOMPARE(map.warpCount(), 1);
        QCOMPARE(e.warpRows(), QStringList{u"A：10,2,1-10,8,1"_s});
        QVERIFY(!e.marker(3) && !e.marker(4));
        QCOMPARE(e.visibleMarkers(), (QStringList{u"A 10,2"_s, u"a 10,8"_s}));
        QCOMPARE(e.cellsShownOtherThan(StartFloorChips), QStringList());
        QCOMPARE(e.caption(), captionWith(mBasePath + u".map"_s));

        // Without its goal floor the map can no longer be cleared, and its NEXT cell leads nowhere.
        e.trigger(u"マップのチェック(&C)"_s);
        QVERIFY(e.window.checkReport());
        QCOMPARE(e.window.checkReport()->lines(),
                 (QStringList{
                     u"ふりだしの数は正常です。"_s,
                     u"【Error】あがりがありません。"_s,
                     u"【Error】1階の(13,8)に、設定されていないワープマスがあります。"_s,
                     QString(45, u'-'),
                     u"このマップをクリアすることは不可能です。"_s,
                 }));
    }

private:
    std::unique_ptr<Editor> mEditor;
    QTemporaryDir mFolder;
    QString mBasePath;
    bool mStoryBroken = false;
};

QTEST_MAIN(TestEditingSession)
#include "tst_editingsession.moc"
