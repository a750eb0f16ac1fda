#include "board/mapstats.h"
#include "dialogs/chippicker.h"
#include "dialogs/chipreplacedialog.h"
#include "dialogs/comparewindow.h"
#include "dialogs/mapinfowindow.h"
#include "editorfixture.h"
#include "mainwindow/compareactions.h"
#include "mainwindow/mapactions.h"
#include "mainwindow/markerlabel.h"
#include "mainwindow/routeoverlay.h"
#include "mapfile/mapfilewriter.h"
#include "model/cellstring.h"
#include "sessionscript.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// A tool the editor does not have: each click lays one fixed chip.
class StampTool : public BoardTool
{
public:
    using BoardTool::BoardTool;
    bool isOn() const override { return mOn; }
    void setOn(bool on) override
    {
        mOn = on;
        Q_EMIT stateChanged();
    }
    void press(QPoint cell, Qt::MouseButton) override
    {
        mContext.document().layChip(cell.x(), cell.y(), mContext.floor(), u"16_+7"_s);
    }

private:
    bool mOn = false;
};

// The windows that show something of the map, and the ways the map is replaced by another.
enum class MapWindow
{
    StatusBar,
    CheckReport,
    Compare,
    Information,
    Route
};

enum class Replacement
{
    Open,
    New,
    Reload,
    Restore
};

// How one step of a row below reaches the views.
enum class Step
{
    Undo,
    Reload,
    New,
    Open,
    ReplaceDialog,
    AddFloor,
    MoveFloorRight,
    DeleteFloor,
    DuplicateFloor,
    Merge,
    LinkDestination,
    DeletePairInWindow,
    StartUp,
    Save
};

// What reaches the views, from before the main window is built.
struct Told
{
    explicit Told(EditorSession &session)
        : changes(&session.document(), &MapDocument::mapChanged),
          refreshed(&session, &EditorSession::boardRefreshed),
          pictures(&session.tools(), &ToolSwitch::pictureChanged),
          markers(&session.tools().warps(), &WarpLinkTool::markersChanged),
          markerViews(&session, &EditorSession::warpsChanged),
          floors(&session, &EditorSession::floorsChanged),
          modified(&session.document(), &MapDocument::modifiedChanged)
    {
    }
    void clear()
    {
        for (QSignalSpy *spy :
             {&changes, &refreshed, &pictures, &markers, &markerViews, &floors, &modified})
            spy->clear();
    }
    QSignalSpy changes, refreshed, pictures, markers, markerViews, floors, modified;
};

// Counts the unsaved-changes marks the main window is given.
class ModifiedMarks : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ModifiedChange)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

// The first cell the board shows otherwise than a board drawn afresh, empty when none.
QString staleCell(EditorFixture &editor)
{
    const CellComposer composer(editor.pictures);
    const BoardView fresh(editor.session, composer);
    for (int x = 1; x <= MapData::Width; ++x)
        for (int y = 1; y <= MapData::Height; ++y)
            if (editor.window.board()->cellImage(x, y) != fresh.cellImage(x, y))
                return u"(%1,%2)"_s.arg(x).arg(y);
    return {};
}

// The first view that shows something else than the map and the floor shown, empty when none:
// board, floor tabs, caption, the warp window's rows.
QString staleView(EditorFixture &editor)
{
    const QString cell = staleCell(editor);
    if (!cell.isEmpty())
        return u"board cell "_s + cell;
    const EditorSession &session = editor.session;
    const QTabBar *tabs = editor.window.floorTabs();
    QStringList tabTexts;
    for (int i = 0; i < tabs->count(); ++i)
        tabTexts.append(tabs->tabText(i));
    QStringList captions;
    for (int floor = 1; floor <= session.map().floorCount(); ++floor)
        captions.append(EditorSession::floorTabCaption(floor));
    if (tabTexts != captions || tabs->currentIndex() != session.currentFloor() - 1)
        return u"floor tabs "_s + tabTexts.join(u',') + u" on "_s +
               QString::number(tabs->currentIndex());
    if (editor.caption() != session.windowCaption())
        return u"caption "_s + editor.caption();
    if (const WarpWindow *warps = editor.warpWindow()) {
        QStringList rows;
        for (int i = 0; i < warps->list()->count(); ++i)
            rows.append(warps->list()->item(i)->text());
        if (rows != session.warpWindow().rows())
            return u"warp rows "_s + rows.join(u' ');
    }
    return {};
}

// What the information window shows, row by row.
QStringList infoLines(const MapInfoWindow &window)
{
    QStringList lines{window.routeLabel()->text()};
    const QTreeWidget *chips = window.chipList();
    for (int i = 0; i < chips->topLevelItemCount(); ++i)
        lines.append(chips->topLevelItem(i)->text(0) + u'|' + chips->topLevelItem(i)->text(1));
    return lines;
}

} // namespace

class TestChangeEvent : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyViewFollowsAnEdit_data();
    void everyViewFollowsAnEdit();
    void nothingToReplayLeavesTheTools_data();
    void nothingToReplayLeavesTheTools();
    void selectionComesBackWithItsStep_data();
    void selectionComesBackWithItsStep();
    void everyViewIsToldOnce_data();
    void everyViewIsToldOnce();
    void registeredToolIsEverywhere();
    void noWindowShowsThePreviousMap_data();
    void noWindowShowsThePreviousMap();
};

void TestChangeEvent::everyViewFollowsAnEdit_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<QString>("shown"); // the chip cell (x, y) of floor 1 holds afterwards

    const QPoint c(3, 2);
    QTest::newRow("brush") << u"chip:01_[]"_s << u"p:3,2,L r:3,2"_s << c << u"01_[]"_s;
    QTest::newRow("brush stroke") << u"chip:01_[]"_s << u"p:1,2,L d:3,2 r:3,2"_s << c << u"01_[]"_s;
    QTest::newRow("line") << u"chip:01_[] tool:line"_s << u"c:1,2,L c:5,2,L"_s << c << u"01_[]"_s;
    QTest::newRow("fill") << u"chip:01_[] tool:fill"_s << u"c:3,2,L"_s << c << u"01_[]"_s;
    QTest::newRow("rectangle") << u"chip:01_[] tool:rectangle"_s << u"p:2,1,L d:4,3 r:4,3"_s << c
                               << u"01_[]"_s;
    QTest::newRow("paste") << u"chip:16_+7 c:1,1,L tool:selection p:1,1,L d:2,1 r:2,1 copypaste"_s
                           << u"h:3,2 c:3,2,L"_s << c << u"16_+7"_s;
    QTest::newRow("move") << u"chip:16_+7 c:1,1,L tool:selection p:1,1,L d:2,1 r:2,1"_s
                          << u"p:1,1,L d:3,2 r:3,2"_s << c << u"16_+7"_s;
    QTest::newRow("replace") << u"chip:16_+7 c:3,2,L"_s << u"replace:16_+7,01_[]"_s << c
                             << u"01_[]"_s;
    QTest::newRow("undo") << u"chip:16_+7 c:3,2,L chip:01_[] c:3,2,L"_s << u"undo"_s << c
                          << u"16_+7"_s;
    QTest::newRow("redo") << u"chip:16_+7 c:3,2,L undo"_s << u"redo"_s << c << u"16_+7"_s;
    QTest::newRow("undo on another floor")
        << u"addfloor floor:2 chip:16_+7 c:3,2,L floor:1"_s << u"undo"_s << c << u"00_  "_s;
}

void TestChangeEvent::everyViewFollowsAnEdit()
{
    QFETCH(QString, before);
    QFETCH(QString, edit);
    QFETCH(QPoint, cell);
    EditorFixture editor;
    editor.show();
    QVERIFY(play(editor.session, before));
    editor.session.checks().run();
    QVERIFY(editor.session.checks().hasResult());
    QSignalSpy changes(&editor.document, &MapDocument::mapChanged);

    QVERIFY(play(editor.session, edit));

    QVERIFY(!changes.isEmpty());
    QTEST(editor.session.map().cell(cell.x(), cell.y(), 1), "shown");
    QCOMPARE(staleCell(editor), QString());
    // A check result speaks of the map as it was.
    QVERIFY(!editor.session.checks().hasResult());
}

void TestChangeEvent::nothingToReplayLeavesTheTools_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("replay");
    QTest::addColumn<QString>("after"); // a click that must paint
    QTest::newRow("undo with an empty history") << u"chip:01_[]"_s << u"undo"_s << u"c:4,4,L"_s;
    QTest::newRow("redo with nothing undone")
        << u"chip:01_[] c:1,1,L"_s << u"redo"_s << u"c:4,4,L"_s;
    // The move's step handed its selection back; the user then switched the tool off.
    QTest::newRow("undo past the first step") << u"chip:16_+7 c:1,1,L tool:selection p:1,1,L d:2,1 "
                                                 u"r:2,1 p:1,1,L d:1,3 r:1,3 undo undo chip:01_[] "
                                                 u"tool:selection"_s
                                              << u"undo"_s << u"c:4,4,L"_s;
}

void TestChangeEvent::nothingToReplayLeavesTheTools()
{
    QFETCH(QString, before);
    SessionFixture fixture;
    QVERIFY(fixture.play(before));
    const QRect selection = fixture.session.tools().selection().selection();
    const bool selecting = fixture.session.tools().selection().isOn();
    QSignalSpy changes(&fixture.document, &MapDocument::mapChanged);

    QFETCH(QString, replay);
    QVERIFY(fixture.play(replay));

    QVERIFY(changes.isEmpty());
    QCOMPARE(fixture.session.tools().selection().selection(), selection);
    QCOMPARE(fixture.session.tools().selection().isOn(), selecting);
    QFETCH(QString, after);
    QVERIFY(fixture.play(after));
    QCOMPARE(fixture.session.map().cell(4, 4, 1), u"01_[]"_s);
}

void TestChangeEvent::selectionComesBackWithItsStep_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QRect>("undone");
    QTest::addColumn<QRect>("redone");
    const QString selected = u"chip:16_+7 c:1,1,L c:2,1,L tool:selection p:1,1,L d:2,1 r:2,1 "_s;
    QTest::newRow("move") << selected + u"p:1,1,L d:3,3 r:3,3"_s << QRect(1, 1, 2, 1)
                          << QRect(3, 3, 2, 1);
    QTest::newRow("turn") << selected + u"turn:R"_s << QRect(1, 1, 2, 1) << QRect(1, 1, 1, 2);
    QTest::newRow("delete") << selected + u"del"_s << QRect(1, 1, 2, 1) << QRect(1, 1, 2, 1);
    QTest::newRow("brush stroke without a selection")
        << u"chip:16_+7 c:1,1,L"_s << QRect() << QRect();
}

void TestChangeEvent::selectionComesBackWithItsStep()
{
    SessionFixture fixture;
    QFETCH(QString, steps);
    QVERIFY(fixture.play(steps));
    const SelectionTool &selection = fixture.session.tools().selection();

    QVERIFY(fixture.play(u"undo"_s));
    QTEST(selection.selection(), "undone");
    QCOMPARE(selection.isOn(), !selection.selection().isEmpty());
    QVERIFY(fixture.play(u"redo"_s));
    QTEST(selection.selection(), "redone");
}

void TestChangeEvent::everyViewIsToldOnce_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<Step>("step");
    const QString laid = u"chip:16_+7 c:3,2,L"_s;
    // A pair from (3,5) to (10,2), both warp chips.
    const QString paired = u"chip:37_W1 c:3,5,L c:10,2,L mode:3 newpair c:3,5,L c:10,2,L mode:1 "_s;
    // Two chips on one cell: the board showed the second before the undo.
    QTest::newRow("a view is told of an undo") << laid + u" chip:01_[] c:3,2,L"_s << Step::Undo;
    QTest::newRow("undo handing a selection back")
        << laid + u" tool:selection p:3,2,L d:3,2 r:3,2 p:3,2,L d:4,3 r:4,3"_s << Step::Undo;
    QTest::newRow("reload") << laid << Step::Reload;
    QTest::newRow("reload to fewer floors") << u"addfloor floor:2 "_s + laid << Step::Reload;
    QTest::newRow("new map") << paired + laid << Step::New;
    QTest::newRow("new map from branch mode") << paired + laid + u" mode:2"_s << Step::New;
    QTest::newRow("open") << paired + laid << Step::Open;
    QTest::newRow("replace deleting a pair") << paired + laid << Step::ReplaceDialog;
    QTest::newRow("replace deleting a pair in warp mode")
        << paired + laid + u" mode:3"_s << Step::ReplaceDialog;
    // The floor menu; the pair stands on floor 1, a selection on the floor shown.
    const QString selected = u" tool:selection p:2,2,L d:4,3 r:4,3"_s;
    QTest::newRow("add a floor") << paired + laid + selected << Step::AddFloor;
    QTest::newRow("move a floor") << u"addfloor "_s + paired + laid + selected
                                  << Step::MoveFloorRight;
    QTest::newRow("move a floor in warp mode")
        << u"addfloor "_s + paired + laid + u" mode:3"_s << Step::MoveFloorRight;
    QTest::newRow("delete the floor of a pair")
        << u"addfloor "_s + paired + laid + selected << Step::DeleteFloor;
    QTest::newRow("delete the floor of a pair in warp mode")
        << u"addfloor "_s + paired + laid + u" mode:3"_s << Step::DeleteFloor;
    QTest::newRow("delete the last floor")
        << paired + u"addfloor floor:2 "_s + laid + selected << Step::DeleteFloor;
    QTest::newRow("duplicate a floor") << paired + laid + selected << Step::DuplicateFloor;
    QTest::newRow("duplicate a floor in warp mode")
        << paired + laid + u" mode:3"_s << Step::DuplicateFloor;
    // The other side changed (3,2) and linked a pair of its own.
    QTest::newRow("merge") << paired + laid + selected << Step::Merge;
    QTest::newRow("merge in warp mode") << paired + laid + u" mode:3"_s << Step::Merge;
    QTest::newRow("merge shown on the second floor")
        << u"addfloor "_s + paired + laid + u" floor:2"_s << Step::Merge;
    // The warp window's rows.
    QTest::newRow("a pair linked in the warp window")
        << u"chip:37_W1 c:3,5,L c:10,2,L mode:3 newpair c:3,5,L"_s << Step::LinkDestination;
    QTest::newRow("a pair deleted in the warp window")
        << paired + laid + u" mode:3"_s << Step::DeletePairInWindow;
    QTest::newRow("start-up with a map") << QString() << Step::StartUp;
    QTest::newRow("save keeping the name") << paired + laid << Step::Save;
}

// Each view follows one change of the map once, from the change event alone: nothing else
// asks the board to draw, the markers are made once, and by the time the event has gone
// round, board, tabs, caption and the warp window's rows show the map on the floor shown.
void TestChangeEvent::everyViewIsToldOnce()
{
    QFETCH(QString, before);
    QFETCH(Step, step);
    QTemporaryDir folder;
    std::optional<Told> told;
    EditorFixture editor([&told](EditorSession &session) { told.emplace(session); });
    editor.show();
    QVERIFY(editor.play(before));
    const QString base = folder.filePath(u"map"_s);
    // Another map with (3,2) changed and a pair of its own.
    MapData other = MapData::resetMap();
    other.setCell(3, 2, 1, u"01_[]"_s);
    other.setCell(7, 7, 1, u"37_W1"_s);
    other.setCell(8, 8, 1, u"37_W1"_s);
    other.setWarp(1, {7, 7, 1, 8, 8, 1});
    const QString otherBase = folder.filePath(u"other"_s);
    QVERIFY(MapFileWriter::save(other, otherBase).ok());
    // At start-up the map opened is the first the views are told of; otherwise the map
    // has its files.
    if (step != Step::StartUp)
        QVERIFY(editor.files.writeMap(base).ok());
    // Something for the save to save.
    if (step == Step::Save)
        QVERIFY(editor.play(u"chip:01_[] c:5,5,L"_s));
    if (step == Step::DeletePairInWindow) {
        QVERIFY(editor.warpWindow());
        editor.warpWindow()->list()->setCurrentRow(0);
        editor.warpWindow()->deleteSelected();
        QVERIFY(editor.warpWindow()->isAskingDeletion());
    }
    if (step != Step::StartUp)
        told->clear();
    ModifiedMarks marks;
    editor.window.installEventFilter(&marks);
    QString staleAtEvent;
    int floorAtEvent = editor.session.currentFloor();
    // Connected after every view: it looks at them as the event leaves them.
    const QMetaObject::Connection looking =
        connect(&editor.document, &MapDocument::mapChanged, this, [&] {
            if (staleAtEvent.isEmpty())
                staleAtEvent = staleView(editor);
            floorAtEvent = editor.session.currentFloor();
        });

    const MapData map = editor.session.map();
    switch (step) {
    case Step::Undo:
        QVERIFY(editor.play(u"undo"_s));
        break;
    case Step::Reload:
        QVERIFY(MapFileWriter::save(other, base).ok());
        QVERIFY(editor.files.reloadMap().ok());
        break;
    case Step::New:
        editor.prompter.answer = true;
        editor.files.newMap();
        break;
    case Step::Open:
        editor.files.openMapFile(otherBase + u".map"_s);
        break;
    case Step::ReplaceDialog:
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<ChipReplaceDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->fromPicker()->setCell(u"37_W1"_s);
            dialog->toPicker()->setCell(u"01_[]"_s);
            dialog->accept();
        });
        editor.window.mapActions()->replaceChips();
        break;
    case Step::AddFloor:
        editor.trigger(u"フロアを１つ追加(&A)"_s);
        break;
    case Step::MoveFloorRight:
        editor.trigger(u"右に移動(&R)"_s);
        QCOMPARE(editor.session.currentFloor(), 2);
        break;
    case Step::DeleteFloor:
        editor.prompter.answer = true;
        editor.trigger(u"このフロアを削除(&D)"_s);
        QCOMPARE(editor.session.map().floorCount(), 1);
        break;
    case Step::DuplicateFloor:
        editor.trigger(u"このフロアを複製(&C)"_s);
        QCOMPARE(editor.session.currentFloor(), 2);
        break;
    case Step::Merge: {
        MapData theirs = map;
        theirs.setCell(3, 2, 1, u"01_[]"_s);
        theirs.setCell(7, 7, 1, u"37_W1"_s);
        theirs.setCell(8, 8, 1, u"37_W1"_s);
        theirs.setWarp(2, {7, 7, 1, 8, 8, 1});
        editor.session.merge().start(map, theirs, u"theirs.map"_s);
        QCOMPARE(editor.session.map().cell(3, 2, 1), u"01_[]"_s);
        break;
    }
    case Step::LinkDestination:
        QVERIFY(editor.play(u"c:10,2,L"_s));
        QVERIFY(editor.session.map().warp(1).isDefined());
        break;
    case Step::DeletePairInWindow:
        editor.warpWindow()->answerDeletion(true);
        QVERIFY(!editor.session.map().warp(1).isDefined());
        break;
    case Step::StartUp:
        editor.files.openMapFile(otherBase + u".map"_s);
        // Longer than any redraw left for after the window opened.
        QTest::qWait(600);
        break;
    case Step::Save:
        QVERIFY(editor.files.overwriteMap());
        QVERIFY(!editor.document.isModified());
        break;
    }
    disconnect(looking);

    // A save keeping the name changes no map.
    const int changed = step == Step::Save ? 0 : 1;
    QCOMPARE(told->changes.count(), changed);
    QCOMPARE(told->refreshed.count(), 0);
    QCOMPARE(told->pictures.count(), 0);
    QCOMPARE(told->markers.count(), changed);
    // The marker views hear of the markers alone.
    QCOMPARE(told->markerViews.count(), told->markers.count());
    QVERIFY(told->floors.count() <= 1);
    // The unsaved-changes mark follows the document's own signal alone.
    QCOMPARE(marks.count, told->modified.count());
    QCOMPARE(staleAtEvent, QString());
    QCOMPARE(floorAtEvent, editor.session.currentFloor());
    QCOMPARE(staleView(editor), QString());
    const BoardView *board = editor.window.board();
    const WarpMarkers &markers = editor.session.tools().warps().markers();
    const QVector<WarpMarkers::Marker> shown = markers.all();
    QCOMPARE(shown.size(), 2 * editor.session.map().warpCount());
    for (const WarpMarkers::Marker &marker : shown) {
        const MarkerLabel *label = board->markerLabel(marker.index);
        QVERIFY(label);
        QCOMPARE(label->pos(), board->cellRect(marker.cell.x(), marker.cell.y()).topLeft());
        QCOMPARE(label->isVisibleTo(board), markers.isVisible(marker));
    }
}

void TestChangeEvent::registeredToolIsEverywhere()
{
    std::unique_ptr<StampTool> stamp;
    EditorFixture editor([&stamp](EditorSession &session) {
        stamp = std::make_unique<StampTool>(session.choices());
        session.tools().registerTool(*stamp, {u"stamp"_s,
                                              u"スタンプ(&Z)"_s,
                                              QString(),
                                              u"一つのチップを押します"_s,
                                              QKeySequence(Qt::Key_F10),
                                              {EditModes::ChipMode}});
    });
    editor.show();

    auto *action = editor.window.findChild<QAction *>(u"stampTool"_s);
    QVERIFY(action);
    QVERIFY(editor.window.menuBar()->actions().at(1)->menu()->actions().contains(action));
    auto *button = editor.window.findChild<QToolButton *>(u"stampToolButton"_s);
    QVERIFY(button);
    QVERIFY(button->isVisible());
    QVERIFY(play(editor.session, u"tool:line tool:stamp c:5,5,L"_s));
    QCOMPARE(editor.session.map().cell(5, 5, 1), u"16_+7"_s);
    QVERIFY(button->isChecked());
    QVERIFY(!editor.session.tools().line().isOn());
    QVERIFY(play(editor.session, u"mode:3"_s));
    QVERIFY(!button->isVisible());
    QVERIFY(!action->isEnabled());
}

void TestChangeEvent::noWindowShowsThePreviousMap_data()
{
    QTest::addColumn<MapWindow>("window");
    QTest::addColumn<Replacement>("replacement");
    const std::pair<MapWindow, const char *> windows[] = {{MapWindow::StatusBar, "status bar"},
                                                          {MapWindow::CheckReport, "check report"},
                                                          {MapWindow::Compare, "compare"},
                                                          {MapWindow::Information, "information"},
                                                          {MapWindow::Route, "route"}};
    const std::pair<Replacement, const char *> replacements[] = {{Replacement::Open, "open"},
                                                                 {Replacement::New, "new"},
                                                                 {Replacement::Reload, "reload"},
                                                                 {Replacement::Restore, "restore"}};
    for (const auto &[window, windowName] : windows)
        for (const auto &[replacement, replacementName] : replacements)
            QTest::addRow("%s after %s", windowName, replacementName) << window << replacement;
}

void TestChangeEvent::noWindowShowsThePreviousMap()
{
    QFETCH(MapWindow, window);
    QFETCH(Replacement, replacement);
    QTemporaryDir folder;
    EditorFixture editor;
    editor.show();
    // A saved map with a route from its start to a goal.
    QVERIFY(editor.play(u"chip:33_S_ c:1,1,L chip:01_[] c:2,1,L chip:16_+7 c:3,1,L "
                        u"chip:34_G_ c:4,1,L addfloor"_s));
    const QString base = folder.filePath(u"old"_s);
    QVERIFY(editor.files.writeMap(base).ok());
    // The pointer over a cell of floor 2, which the other map does not have.
    QVERIFY(editor.play(u"floor:2 leave h:3,1"_s));
    // The other map: the same cells elsewhere.
    MapData other = MapData::resetMap();
    other.setCell(1, 5, 1, CellString::start());
    other.setCell(2, 5, 1, u"34_G_"_s);
    other.setCell(3, 1, 1, u"01_[]"_s);
    const QString otherBase = folder.filePath(u"other"_s);
    QVERIFY(MapFileWriter::save(other, otherBase).ok());

    switch (window) {
    case MapWindow::StatusBar:
        QCOMPARE(editor.session.status().position(), u"2階(3,1)"_s);
        break;
    case MapWindow::CheckReport:
        editor.window.checkMap();
        QVERIFY(editor.window.checkReport()->isVisible());
        break;
    case MapWindow::Compare:
        editor.window.compareActions()->compareWithSaved();
        QVERIFY(editor.window.findChild<CompareWindow *>());
        break;
    case MapWindow::Information:
    case MapWindow::Route:
        editor.window.mapActions()->showMapInfo();
        editor.window.findChild<MapInfoWindow *>()->routeButton()->setChecked(true);
        break;
    }

    switch (replacement) {
    case Replacement::Open:
        editor.files.openMapFile(otherBase + u".map"_s);
        break;
    case Replacement::New:
        editor.prompter.answer = true;
        editor.files.newMap();
        break;
    case Replacement::Reload:
        QVERIFY(MapFileWriter::save(other, base).ok());
        QVERIFY(editor.files.reloadMap().ok());
        break;
    case Replacement::Restore:
        editor.files.takeRecoveredMap(other);
        break;
    }
    QCOMPARE(editor.session.map().cell(3, 1, 1),
             replacement == Replacement::New ? CellString::empty() : u"01_[]"_s);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    switch (window) {
    case MapWindow::StatusBar: {
        // What the pointer, still on (3,1), is told of the map as it is now.
        const QStringList shown{editor.session.status().position(), editor.session.status().text()};
        QVERIFY(editor.play(u"leave h:3,1"_s));
        QCOMPARE(shown,
                 QStringList({editor.session.status().position(), editor.session.status().text()}));
        break;
    }
    case MapWindow::CheckReport: {
        const CheckReportWindow *report = editor.window.checkReport();
        QVERIFY(!report || !report->isVisible());
        break;
    }
    case MapWindow::Compare:
        // Either gone with the map it compared, or comparing the files the map has now.
        if (const CompareWindow *compare = editor.window.findChild<CompareWindow *>()) {
            const QStringList shown = compare->lines();
            QVERIFY(editor.session.comparison().startWithSaved().ok());
            QCOMPARE(shown, compare->lines());
        }
        break;
    case MapWindow::Information: {
        const auto *info = editor.window.findChild<MapInfoWindow *>();
        QVERIFY(info);
        MapInfoWindow fresh(editor.pictures, editor.descriptions);
        fresh.showStats(MapStats::compute(editor.session.map()));
        QCOMPARE(infoLines(*info), infoLines(fresh));
        break;
    }
    case MapWindow::Route: {
        const auto *overlay = editor.window.board()->findChild<RouteOverlay *>();
        QVERIFY(overlay);
        const MapRoute route = MapRoute::compute(editor.session.map());
        QCOMPARE(overlay->route().routeOn(1), route.routeOn(1));
        QCOMPARE(overlay->route().unreachableOn(1), route.unreachableOn(1));
        break;
    }
    }
}

QTEST_MAIN(TestChangeEvent)
#include "tst_changeevent.moc"
