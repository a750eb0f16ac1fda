#include "board/mapstats.h"
#include "dialogs/chippicker.h"
#include "dialogs/chipreplacedialog.h"
#include "dialogs/comparewindow.h"
#include "dialogs/mapinfowindow.h"
#include "editorfixture.h"
#include "filetestkit.h"
#include "mainwindow/compareactions.h"
#include "mainwindow/mapactions.h"
#include "mainwindow/markerlabel.h"
#include "mainwindow/routeoverlay.h"
#include "mapfile/mapfilewriter.h"
#include "sessionscript.h"

#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTimer>
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

// Puts `other` in place of the map as `how` does: open (beside the map's files at `base`),
// new, reload or restore.
[[nodiscard]] bool replaceMap(EditorFixture &editor, const QString &how, const MapData &other,
                              const QString &base)
{
    if (how == u"reload")
        return MapFileWriter::save(other, base).ok() && editor.files.reloadMap().ok();
    if (how == u"new") {
        editor.prompter.answer = true;
        editor.files.newMap();
    } else if (how == u"restore") {
        editor.files.takeRecoveredMap(other);
    } else if (how == u"open" && MapFileWriter::save(other, base + u"-other"_s).ok()) {
        editor.files.openMapFile(base + u"-other.map"_s);
    } else {
        return false;
    }
    return true;
}

// What reaches the views, from when it is made.
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
    QStringList captions;
    for (int floor = 1; floor <= session.map().floorCount(); ++floor)
        captions.append(EditorSession::floorTabCaption(floor));
    if (editor.tabCaptions() != captions || tabs->currentIndex() != session.currentFloor() - 1)
        return u"floor tabs "_s + editor.tabCaptions().join(u',') + u" on "_s +
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
    void everyViewFollowsAnEdit_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("shown"); // the chip (3,2) of floor 1 holds afterwards
        const QString copied = u"chip:16_+7 c:1,1,L tool:selection p:1,1,L d:2,1 r:2,1"_s;
        QTest::newRow("brush") << u"chip:01_[]"_s << u"p:3,2,L r:3,2"_s << u"01_[]"_s;
        QTest::newRow("brush stroke") << u"chip:01_[]"_s << u"p:1,2,L d:3,2 r:3,2"_s << u"01_[]"_s;
        QTest::newRow("line") << u"chip:01_[] tool:line"_s << u"c:1,2,L c:5,2,L"_s << u"01_[]"_s;
        QTest::newRow("fill") << u"chip:01_[] tool:fill"_s << u"c:3,2,L"_s << u"01_[]"_s;
        QTest::newRow("rectangle")
            << u"chip:01_[] tool:rectangle"_s << u"p:2,1,L d:4,3 r:4,3"_s << u"01_[]"_s;
        QTest::newRow("paste") << copied + u" copypaste"_s << u"h:3,2 c:3,2,L"_s << u"16_+7"_s;
        QTest::newRow("move") << copied << u"p:1,1,L d:3,2 r:3,2"_s << u"16_+7"_s;
        QTest::newRow("replace") << u"chip:16_+7 c:3,2,L"_s << u"replace:16_+7,01_[]"_s
                                 << u"01_[]"_s;
        QTest::newRow("undo") << u"chip:16_+7 c:3,2,L chip:01_[] c:3,2,L"_s << u"undo"_s
                              << u"16_+7"_s;
        QTest::newRow("redo") << u"chip:16_+7 c:3,2,L undo"_s << u"redo"_s << u"16_+7"_s;
        QTest::newRow("undo on another floor")
            << u"addfloor floor:2 chip:16_+7 c:3,2,L floor:1"_s << u"undo"_s << u"00_  "_s;
    }
    void everyViewFollowsAnEdit()
    {
        QFETCH(QString, before);
        QFETCH(QString, edit);
        EditorFixture editor;
        editor.show();
        QVERIFY(editor.play(before));
        editor.session.checks().run();
        QVERIFY(editor.session.checks().hasResult());
        QSignalSpy changes(&editor.document, &MapDocument::mapChanged);

        QVERIFY(editor.play(edit));

        QVERIFY(!changes.isEmpty());
        QTEST(editor.session.map().cell(3, 2, 1), "shown");
        QCOMPARE(staleCell(editor), QString());
        // A check result speaks of the map as it was.
        QVERIFY(!editor.session.checks().hasResult());
    }

    void nothingToReplayLeavesTheTools_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("replay"); // then a click at (4,4) must paint
        QTest::newRow("undo with an empty history") << u"chip:01_[]"_s << u"undo"_s;
        QTest::newRow("redo with nothing undone") << u"chip:01_[] c:1,1,L"_s << u"redo"_s;
        // The move's step handed its selection back; the user then switched the tool off.
        QTest::newRow("undo past the first step")
            << u"chip:16_+7 c:1,1,L tool:selection p:1,1,L d:2,1 r:2,1 p:1,1,L d:1,3 r:1,3 undo "
               u"undo chip:01_[] tool:selection"_s
            << u"undo"_s;
    }
    void nothingToReplayLeavesTheTools()
    {
        QFETCH(QString, before);
        QFETCH(QString, replay);
        SessionFixture fixture;
        QVERIFY(fixture.play(before));
        const SelectionTool &tool = fixture.session.tools().selection();
        const QRect selection = tool.selection();
        const bool selecting = tool.isOn();
        QSignalSpy changes(&fixture.document, &MapDocument::mapChanged);

        QVERIFY(fixture.play(replay));

        QVERIFY(changes.isEmpty());
        QCOMPARE(tool.selection(), selection);
        QCOMPARE(tool.isOn(), selecting);
        QVERIFY(fixture.play(u"c:4,4,L"_s));
        QCOMPARE(fixture.session.map().cell(4, 4, 1), u"01_[]"_s);
    }

    void selectionComesBackWithItsStep_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QRect>("undone");
        QTest::addColumn<QRect>("redone");
        const QString selected =
            u"chip:16_+7 c:1,1,L c:2,1,L tool:selection p:1,1,L d:2,1 r:2,1 "_s;
        const QRect two(1, 1, 2, 1);
        QTest::newRow("move") << selected + u"p:1,1,L d:3,3 r:3,3"_s << two << QRect(3, 3, 2, 1);
        QTest::newRow("turn") << selected + u"turn:R"_s << two << QRect(1, 1, 1, 2);
        QTest::newRow("delete") << selected + u"del"_s << two << two;
        QTest::newRow("brush stroke without a selection")
            << u"chip:16_+7 c:1,1,L"_s << QRect() << QRect();
    }
    void selectionComesBackWithItsStep()
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

    void everyViewIsToldOnce_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("step");
        const auto row = [](const char *name, const QString &before, const char *step) {
            QTest::newRow(name) << before << QString::fromUtf8(step);
        };
        const QString laid = u"chip:16_+7 c:3,2,L"_s;
        // A pair from (3,5) to (10,2), both warp chips.
        const QString paired = u"chip:37_W1 c:3,5,L c:10,2,L mode:3 newpair c:3,5,L c:10,2,L "_s;
        const QString both = paired + u"mode:1 "_s + laid, warpMode = u" mode:3"_s;
        // The floor menu; the pair stands on floor 1, a selection on the floor shown.
        const QString selected = u" tool:selection p:2,2,L d:4,3 r:4,3"_s;
        // Two chips on one cell: the board showed the second before the undo.
        row("a view is told of an undo", laid + u" chip:01_[] c:3,2,L"_s, "undo");
        row("undo handing a selection back",
            laid + u" tool:selection p:3,2,L d:3,2 r:3,2 p:3,2,L d:4,3 r:4,3"_s, "undo");
        row("reload", laid, "reload");
        row("reload to fewer floors", u"addfloor floor:2 "_s + laid, "reload");
        row("new map", both, "new");
        row("new map from branch mode", both + u" mode:2"_s, "new");
        row("open", both, "open");
        row("replace deleting a pair", both, "replace dialog");
        row("replace deleting a pair in warp mode", both + warpMode, "replace dialog");
        row("add a floor", both + selected, "add floor");
        row("move a floor", u"addfloor "_s + both + selected, "move floor right");
        row("move a floor in warp mode", u"addfloor "_s + both + warpMode, "move floor right");
        row("delete the floor of a pair", u"addfloor "_s + both + selected, "delete floor");
        row("delete the floor of a pair in warp mode", u"addfloor "_s + both + warpMode,
            "delete floor");
        row("delete the last floor", paired + u"mode:1 addfloor floor:2 "_s + laid + selected,
            "delete floor");
        row("duplicate a floor", both + selected, "duplicate floor");
        row("duplicate a floor in warp mode", both + warpMode, "duplicate floor");
        // The other side changed (3,2) and linked a pair of its own.
        row("merge", both + selected, "merge");
        row("merge in warp mode", both + warpMode, "merge");
        row("merge shown on the second floor", u"addfloor "_s + both + u" floor:2"_s, "merge");
        row("a pair linked in the warp window",
            u"chip:37_W1 c:3,5,L c:10,2,L mode:3 newpair c:3,5,L"_s, "link destination");
        row("a pair deleted in the warp window", both + warpMode, "delete pair in window");
        row("start-up with a map", QString(), "start-up");
        row("save keeping the name", both, "save");
    }
    // Each view follows one change of the map once, from the change event alone: nothing else
    // asks the board to draw, the markers are made once, and by the time the event has gone
    // round, board, tabs, caption and the warp window's rows show the map on the floor shown.
    void everyViewIsToldOnce()
    {
        QFETCH(QString, before);
        QFETCH(QString, step);
        QTemporaryDir folder;
        std::optional<Told> told;
        EditorFixture editor([&told](EditorSession &session) { told.emplace(session); });
        editor.show();
        QVERIFY(editor.play(before));
        const QString base = folder.filePath(u"map"_s);
        // Another map with (3,2) changed and a pair of its own.
        const MapData other = pictureMap(u"/..#/////......1/.......1"_s, {}, {u"7,7,1>8,8,1"_s});
        // At start-up the map opened is the first the views are told of; otherwise the map
        // has its files.
        if (step != u"start-up")
            QVERIFY(editor.files.writeMap(base).ok());
        // Something for the save to save.
        if (step == u"save")
            QVERIFY(editor.play(u"chip:01_[] c:5,5,L"_s));
        if (step == u"delete pair in window") {
            QVERIFY(editor.warpWindow());
            editor.warpWindow()->list()->setCurrentRow(0);
            editor.warpWindow()->deleteSelected();
            QVERIFY(editor.warpWindow()->isAskingDeletion());
        }
        if (step != u"start-up")
            told.emplace(editor.session);
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
        if (step == u"undo") {
            QVERIFY(editor.play(u"undo"_s));
        } else if (step == u"replace dialog") {
            QTimer::singleShot(0, [] {
                auto *dialog = qobject_cast<ChipReplaceDialog *>(QApplication::activeModalWidget());
                if (!dialog)
                    return;
                dialog->fromPicker()->setCell(u"37_W1"_s);
                dialog->toPicker()->setCell(u"01_[]"_s);
                dialog->accept();
            });
            editor.window.mapActions()->replaceChips();
        } else if (step == u"add floor") {
            editor.trigger(u"フロアを１つ追加(&A)"_s);
        } else if (step == u"move floor right") {
            editor.trigger(u"右に移動(&R)"_s);
            QCOMPARE(editor.session.currentFloor(), 2);
        } else if (step == u"delete floor") {
            editor.prompter.answer = true;
            editor.trigger(u"このフロアを削除(&D)"_s);
            QCOMPARE(editor.session.map().floorCount(), 1);
        } else if (step == u"duplicate floor") {
            editor.trigger(u"このフロアを複製(&C)"_s);
            QCOMPARE(editor.session.currentFloor(), 2);
        } else if (step == u"merge") {
            MapData theirs = map;
            theirs.setCell(3, 2, 1, u"01_[]"_s);
            theirs.setCell(7, 7, 1, u"37_W1"_s);
            theirs.setCell(8, 8, 1, u"37_W1"_s);
            theirs.setWarp(2, {7, 7, 1, 8, 8, 1});
            editor.session.merge().start(map, theirs, u"theirs.map"_s);
            QCOMPARE(editor.session.map().cell(3, 2, 1), u"01_[]"_s);
        } else if (step == u"link destination") {
            QVERIFY(editor.play(u"c:10,2,L"_s));
            QVERIFY(editor.session.map().warp(1).isDefined());
        } else if (step == u"delete pair in window") {
            editor.warpWindow()->answerDeletion(true);
            QVERIFY(!editor.session.map().warp(1).isDefined());
        } else if (step == u"save") {
            QVERIFY(editor.files.overwriteMap());
            QVERIFY(!editor.document.isModified());
        } else if (step == u"start-up") {
            QVERIFY(replaceMap(editor, u"open"_s, other, base));
            // Longer than any redraw left for after the window opened.
            QTest::qWait(600);
        } else {
            QVERIFY(replaceMap(editor, step, other, base));
        }
        disconnect(looking);

        // A save keeping the name changes no map.
        const int changed = step == u"save" ? 0 : 1;
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

    void registeredToolIsEverywhere()
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

        auto *action = child<QAction>(&editor.window, u"stampTool"_s);
        QVERIFY(editor.window.menuBar()->actions().at(1)->menu()->actions().contains(action));
        auto *button = child<QToolButton>(&editor.window, u"stampToolButton"_s);
        QVERIFY(button->isVisible());
        QVERIFY(editor.play(u"tool:line tool:stamp c:5,5,L"_s));
        QCOMPARE(editor.session.map().cell(5, 5, 1), u"16_+7"_s);
        QVERIFY(button->isChecked());
        QVERIFY(!editor.session.tools().line().isOn());
        QVERIFY(editor.play(u"mode:3"_s));
        QVERIFY(!button->isVisible());
        QVERIFY(!action->isEnabled());
    }

    void noWindowShowsThePreviousMap_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("replacement");
        for (const char *window : {"status bar", "check report", "compare", "information", "route"})
            for (const char *replacement : {"open", "new", "reload", "restore"})
                QTest::addRow("%s after %s", window, replacement)
                    << QString::fromUtf8(window) << QString::fromUtf8(replacement);
    }
    void noWindowShowsThePreviousMap()
    {
        QFETCH(QString, window);
        QFETCH(QString, replacement);
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
        const StatusLine &status = editor.session.status();

        if (window == u"status bar") {
            QCOMPARE(status.position(), u"2階(3,1)"_s);
        } else if (window == u"check report") {
            editor.window.checkMap();
            QVERIFY(editor.window.checkReport()->isVisible());
        } else if (window == u"compare") {
            editor.window.compareActions()->compareWithSaved();
            QVERIFY(editor.window.findChild<CompareWindow *>());
        } else {
            editor.window.mapActions()->showMapInfo();
            editor.window.findChild<MapInfoWindow *>()->routeButton()->setChecked(true);
        }

        // The other map: the same cells elsewhere.
        QVERIFY(replaceMap(editor, replacement, pictureMap(u"..#////SG"_s), base));
        QCOMPARE(editor.session.map().cell(3, 1, 1),
                 replacement == u"new" ? CellString::empty() : u"01_[]"_s);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        if (window == u"status bar") {
            // What the pointer, still on (3,1), is told of the map as it is now.
            const QStringList shown{status.position(), status.text()};
            QVERIFY(editor.play(u"leave h:3,1"_s));
            QCOMPARE(shown, QStringList({status.position(), status.text()}));
        } else if (window == u"check report") {
            const CheckReportWindow *report = editor.window.checkReport();
            QVERIFY(!report || !report->isVisible());
        } else if (window == u"compare") {
            // Either gone with the map it compared, or comparing the files the map has now.
            if (const CompareWindow *compare = editor.window.findChild<CompareWindow *>()) {
                const QStringList shown = compare->lines();
                QVERIFY(editor.session.comparison().startWithSaved().ok());
                QCOMPARE(shown, compare->lines());
            }
        } else if (window == u"information") {
            MapInfoWindow fresh(editor.pictures, editor.descriptions);
            fresh.showStats(MapStats::compute(editor.session.map()));
            QCOMPARE(infoLines(*child<MapInfoWindow>(&editor.window, {})), infoLines(fresh));
        } else {
            const auto *overlay = editor.window.board()->findChild<RouteOverlay *>();
            QVERIFY(overlay);
            const MapRoute route = MapRoute::compute(editor.session.map());
            QCOMPARE(overlay->route().routeOn(1), route.routeOn(1));
            QCOMPARE(overlay->route().unreachableOn(1), route.unreachableOn(1));
        }
    }
};

QTEST_MAIN(TestChangeEvent)
#include "tst_changeevent.moc"
