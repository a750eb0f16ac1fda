#include "editorfixture.h"
#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"
#include "mapfiletestmaps.h"
#include "model/mapdocument.h"
#include "session/editorsession.h"
#include "toolwindows/toolwindowframe.h"

#include <QAction>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

using namespace Qt::StringLiterals;

namespace {

// Every floor file the map would be saved as, one after the other.
QByteArray savedBytes(const MapData &map)
{
    QByteArray bytes = QByteArray::number(map.floorCount());
    for (int floor = 1; floor <= map.floorCount(); ++floor)
        bytes += MapFileWriter::encodeFloor(map, floor).bytes;
    return bytes;
}

QPoint cellOf(const QString &text)
{
    const QStringList xy = text.split(u',');
    return {xy.value(0).toInt(), xy.value(1).toInt()};
}

// Runs user actions: "chip X,Y", "line X,Y X,Y", "branch X,Y", "unbranch X,Y",
// "link X,Y X,Y", "relink N X,Y X,Y", "back X,Y" (a new pair's source, then a step back),
// "source X,Y" (a new pair waiting for its destination), "source N X,Y" (the same for
// relinking pair N), "unlink N", "floor N", "add", "move D", "delete", "duplicate", "texts NAME".
void run(EditorSession &session, const QString &actions)
{
    for (const QString &action : actions.split(u';', Qt::SkipEmptyParts)) {
        const QStringList w = action.trimmed().split(u' ');
        const QString &verb = w.first();
        if (verb == u"chip") {
            session.setEditMode(EditorSession::ChipMode);
            session.clickCell(cellOf(w.at(1)), Qt::LeftButton);
        } else if (verb == u"line") {
            session.setEditMode(EditorSession::ChipMode);
            session.toggleLineTool();
            session.clickCell(cellOf(w.at(1)), Qt::LeftButton);
            session.clickCell(cellOf(w.at(2)), Qt::LeftButton);
            session.toggleLineTool();
        } else if (verb == u"branch" || verb == u"unbranch") {
            session.setEditMode(EditorSession::BranchMode);
            session.advanceBranchDigit(2);
            session.clickCell(cellOf(w.at(1)),
                              verb == u"branch" ? Qt::LeftButton : Qt::RightButton);
        } else if (verb == u"link" || verb == u"relink" || verb == u"back") {
            session.setEditMode(EditorSession::WarpMode);
            int at = 1;
            if (verb == u"relink")
                session.warps().relinkRow(w.at(at++).toInt() - 1);
            else
                session.warps().startNewPair();
            session.clickCell(cellOf(w.at(at)), Qt::LeftButton);
            if (verb == u"back")
                session.clickCell(cellOf(w.at(at)), Qt::RightButton);
            else
                session.clickCell(cellOf(w.at(at + 1)), Qt::LeftButton);
            session.warps().interrupt();
        } else if (verb == u"source") {
            // A new pair's source, its destination still to come.
            session.setEditMode(EditorSession::WarpMode);
            if (w.size() > 2)
                session.warps().relinkRow(w.at(1).toInt() - 1);
            else
                session.warps().startNewPair();
            session.clickCell(cellOf(w.last()), Qt::LeftButton);
        } else if (verb == u"unlink") {
            session.setEditMode(EditorSession::WarpMode);
            QCOMPARE(session.warps().requestDeletion(w.at(1).toInt() - 1),
                     WarpLinking::Deletion::Ask);
            session.warps().answerDeletion(true);
        } else if (verb == u"floor") {
            session.selectFloorTab(w.at(1).toInt() - 1);
        } else if (verb == u"add") {
            session.addFloor();
        } else if (verb == u"move") {
            session.moveFloor(w.at(1).toInt());
        } else if (verb == u"delete") {
            session.deleteCurrentFloor();
        } else if (verb == u"duplicate") {
            session.duplicateFloor();
        } else if (verb == u"texts") {
            // What OK in the properties dialog does.
            session.document().setFloorTexts(session.currentFloor(), w.at(1), u"bg.bmp"_s,
                                             u"end"_s);
        } else {
            QFAIL(qPrintable(u"unknown action "_s + action));
        }
    }
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void everyActionIsOneStep_data();
    void everyActionIsOneStep();
    void unsavedFollowsTheSavedState();
    void halfPlacedPairIsAllUndoTakes_data();
    void halfPlacedPairIsAllUndoTakes();
    void unsavedChangesAskOneQuestion_data();
    void unsavedChangesAskOneQuestion();
    void keysWorkFromToolWindows();
};

void TestHistory::everyActionIsOneStep_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("caption"); // of the undo item; empty: no step at all
    QTest::newRow("chip") << u""_s << u"chip 6,6"_s << u"チップの配置"_s;
    QTest::newRow("chip already there") << u""_s << u"chip 10,6"_s << QString();
    QTest::newRow("line") << u""_s << u"line 1,4 24,4"_s << u"線の描画"_s;
    QTest::newRow("branch set") << u""_s << u"branch 5,5"_s << u"分岐点の設定"_s;
    QTest::newRow("branch clear") << u""_s << u"unbranch 2,1"_s << u"分岐点の解除"_s;
    QTest::newRow("link a pair") << u"floor 2"_s << u"link 7,7 8,8"_s << u"ワープの設定"_s;
    QTest::newRow("half-placed source") << u""_s << u"back 7,7"_s << QString();
    QTest::newRow("relink") << u""_s << u"relink 1 6,6 7,7"_s << u"ワープの再設定"_s;
    QTest::newRow("delete a pair") << u""_s << u"unlink 2"_s << u"ワープの削除"_s;
    QTest::newRow("add a floor") << u""_s << u"add"_s << u"階層の追加"_s;
    QTest::newRow("move a floor") << u""_s << u"move 1"_s << u"階層の移動"_s;
    QTest::newRow("delete a floor with pairs") << u"floor 2"_s << u"delete"_s << u"階層の削除"_s;
    QTest::newRow("delete the only floor") << u"delete"_s << u"delete"_s << u"階層の削除"_s;
    QTest::newRow("duplicate a floor with pairs")
        << u"floor 1"_s << u"duplicate"_s << u"階層の複製"_s;
    QTest::newRow("properties") << u"floor 2"_s << u"texts 塔"_s << u"プロパティの変更"_s;
    // An unfinished pair is no step and never part of another one.
    QTest::newRow("floor added while linking") << u"source 7,7"_s << u"add"_s << u"階層の追加"_s;
}

void TestHistory::everyActionIsOneStep()
{
    QFETCH(QString, before);
    QFETCH(QString, action);
    QFETCH(QString, caption);
    MapDocument document;
    ChipDescriptions descriptions;
    EditorSession session(document, descriptions);
    session.takeLoadedMap(castleMap());
    session.setSelectedChip(u"03_xm"_s);
    run(session, before);
    QUndoStack &history = document.undoStack();
    const int steps = history.count();
    const int floorBefore = session.currentFloor();
    const QByteArray bytesBefore = savedBytes(session.map());

    run(session, action);
    if (caption.isEmpty()) {
        QCOMPARE(history.count(), steps);
        QCOMPARE(savedBytes(session.map()), bytesBefore);
        return;
    }
    QCOMPARE(history.count(), steps + 1);
    QCOMPARE(history.undoText(), caption);
    const int floorAfter = session.currentFloor();
    const QByteArray bytesAfter = savedBytes(session.map());
    QVERIFY(bytesAfter != bytesBefore);

    // Back and forth: the saved bytes, the floor shown, its tabs and markers follow.
    for (const bool undo : {true, false}) {
        undo ? session.undo() : session.redo();
        QCOMPARE(savedBytes(session.map()), undo ? bytesBefore : bytesAfter);
        QCOMPARE(session.currentFloor(), undo ? floorBefore : floorAfter);
        QCOMPARE(session.floorTabCaptions().size(), session.map().floorCount());
        QCOMPARE(session.warps().markers().size(), WarpLinking::markersOf(session.map()).size());
    }
}

void TestHistory::unsavedFollowsTheSavedState()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    MapDocument document;
    ChipDescriptions descriptions;
    EditorSession session(document, descriptions);
    QSignalSpy marks(&document, &MapDocument::modifiedChanged);
    QVERIFY(!document.isModified());

    run(session, u"chip 3,3; chip 4,4"_s);
    QVERIFY(document.isModified());
    const QString base = folder.filePath(u"saved"_s);
    QVERIFY(!session.saveMap(base).fault);
    QVERIFY(!document.isModified());
    session.undo();
    QVERIFY(document.isModified());
    // Back where it was saved: nothing unsaved again.
    session.redo();
    QVERIFY(!document.isModified());
    QCOMPARE(marks.count(), 4);

    // Saved between a relinked pair's two clicks: the moved source is what was saved.
    session.takeLoadedMap(castleMap());
    session.setEditMode(EditorSession::WarpMode);
    session.warps().relinkRow(0);
    session.clickCell({7, 7}, Qt::LeftButton);
    QVERIFY(!session.saveMap(base).fault);
    session.clickCell({8, 8}, Qt::LeftButton);
    QVERIFY(document.isModified());
    session.undo();
    QVERIFY(!document.isModified());
    QCOMPARE(session.map().warp(1).srcX, 7);

    // New and open start afresh: nothing to undo, nothing unsaved, after a recovered map too.
    run(session, u"chip 5,5"_s);
    session.resetMap();
    QVERIFY(!document.isModified());
    QCOMPARE(document.undoStack().count(), 0);
    run(session, u"chip 5,5"_s);
    QVERIFY(!session.openMap(base + u".map"_s).fault);
    QVERIFY(!document.isModified());
    QCOMPARE(document.undoStack().count(), 0);
    session.takeRecoveredMap(castleMap());
    session.resetMap();
    QVERIFY(!document.isModified());
    session.takeRecoveredMap(castleMap());
    QVERIFY(!session.openMap(base + u".map"_s).fault);
    QVERIFY(!document.isModified());
}

void TestHistory::halfPlacedPairIsAllUndoTakes_data()
{
    QTest::addColumn<QString>("pending");
    QTest::addColumn<bool>("undo"); // false: redo
    QTest::newRow("new pair, undo") << u"source 7,7"_s << true;
    QTest::newRow("relink, undo") << u"source 1 7,7"_s << true;
    QTest::newRow("relink, redo") << u"source 1 7,7"_s << false;
}

// Undo takes back only the half-placed end; neither key loses what is to be redone.
void TestHistory::halfPlacedPairIsAllUndoTakes()
{
    QFETCH(QString, pending);
    QFETCH(bool, undo);
    MapDocument document;
    ChipDescriptions descriptions;
    EditorSession session(document, descriptions);
    session.takeLoadedMap(castleMap());
    run(session, u"chip 6,6; chip 5,5"_s);
    const QByteArray redone = savedBytes(session.map());
    session.undo();
    const QByteArray before = savedBytes(session.map());
    run(session, pending);
    // Asking changes nothing.
    QVERIFY(session.hasUnsavedChanges());

    undo ? session.undo() : session.redo();
    QCOMPARE(savedBytes(session.map()), undo ? before : redone);
    QCOMPARE(document.undoStack().index(), undo ? 1 : 2);
    // The chip step taken back before the pair is still the one to redo.
    QCOMPARE(document.undoStack().redoText(), undo ? u"チップの配置"_s : QString());
    QCOMPARE(session.warpPickStage(), undo ? int(WarpLinking::WaitingSource) : 0);
}

void TestHistory::unsavedChangesAskOneQuestion_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<int>("answer"); // Prompter::UnsavedAnswer; -1: the written question
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("carriedOut");
    const int save = int(Prompter::UnsavedAnswer::Save);
    const int discard = int(Prompter::UnsavedAnswer::Discard);
    const int cancel = int(Prompter::UnsavedAnswer::Cancel);
    // "recent" and "drop" open the map from the recent list and by dropping its file.
    for (const QString &command :
         {u"新規作成(&N)"_s, u"開く(&O)"_s, u"終了(&X)"_s, u"recent"_s, u"drop"_s}) {
        const QByteArray name = command.toUtf8();
        QTest::addRow("%s unchanged", name.data()) << command << false << -1 << false << true;
        QTest::addRow("%s save", name.data()) << command << true << save << true << true;
        QTest::addRow("%s discard", name.data()) << command << true << discard << false << true;
        QTest::addRow("%s cancel", name.data()) << command << true << cancel << false << false;
    }
}

void TestHistory::unsavedChangesAskOneQuestion()
{
    QFETCH(QString, command);
    QFETCH(bool, changed);
    QFETCH(int, answer);
    QFETCH(bool, saved);
    QFETCH(bool, carriedOut);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString base = folder.filePath(u"castle"_s);
    EditorFixture editor;
    editor.show();
    MapData castle = castleMap();
    castle.setMapFileName(base);
    QVERIFY(!MapFileWriter::save(castle, base).fault);
    // Opened once, so it is on the recent list.
    editor.window.openMapFile(base + u".map"_s);
    QVERIFY(editor.session.map() == castle);
    if (changed)
        run(editor.session, u"chip 9,9"_s);
    QCOMPARE(editor.window.isWindowModified(), changed);
    editor.prompter.answer = true;
    if (answer >= 0)
        editor.prompter.unsavedAnswers = {Prompter::UnsavedAnswer(answer)};
    editor.prompter.files = {base + u".map"_s};
    QSignalSpy quits(&editor.window, &MainWindow::quitRequested);

    const QString recentItem = u"castle.map"_s;
    if (command == u"drop"_s) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(base + u"_2.map"_s)});
        const QPoint where = editor.window.rect().center();
        QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&editor.window, &enter);
        QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&editor.window, &drop);
        // The question comes once the drop is over.
        QVERIFY(editor.prompter.questions.isEmpty());
        QCoreApplication::processEvents();
    }
    // The recent list is filled as its menu opens.
    for (QMenu *menu : editor.window.findChildren<QMenu *>())
        Q_EMIT menu->aboutToShow();
    // One item only: a command may rebuild menus under a list taken before it ran.
    for (QAction *action : editor.window.findChildren<QAction *>()) {
        if (action->text() == (command == u"recent"_s ? recentItem : command)) {
            action->trigger();
            break;
        }
    }

    // Opening asks nothing unless there are unsaved changes.
    const bool opening = command != u"新規作成(&N)"_s && command != u"終了(&X)"_s;
    QCOMPARE(editor.prompter.questions.size(), changed || !opening ? 1 : 0);
    if (!editor.prompter.questions.isEmpty())
        QCOMPARE(editor.prompter.questions.first().contains(u"保存されていない変更"_s), changed);
    const bool quitting = command == u"終了(&X)"_s;
    QCOMPARE(quits.count(), quitting && carriedOut ? 1 : 0);
    // A carried-out new or open leaves the map without unsaved changes.
    if (!quitting)
        QCOMPARE(editor.document.isModified(), changed && !carriedOut);
    QCOMPARE(editor.prompter.fileDialogs.size(), command == u"開く(&O)"_s && carriedOut ? 1 : 0);
    const MapLoadResult onDisk = MapFileReader::load(base);
    QVERIFY(!onDisk.fault);
    QCOMPARE(onDisk.map.cell(9, 9, 1) != castle.cell(9, 9, 1), saved);
}

void TestHistory::keysWorkFromToolWindows()
{
    EditorFixture editor;
    editor.show();
    editor.window.board()->setFocus();
    QTest::mouseClick(editor.window.board(), Qt::LeftButton, {}, cellCentre(4, 4));
    const QString painted = editor.session.map().cell(4, 4, 1);
    QCOMPARE(editor.window.undoAction()->text(), u"元に戻す: チップの配置(&U)"_s);
    QVERIFY(!editor.window.redoAction()->isEnabled());

    QWidget *palette = editor.window.toolWindow();
    palette->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(palette));
    QTest::keyClick(palette, Qt::Key_Z, Qt::ControlModifier);
    QTRY_VERIFY(editor.session.map().cell(4, 4, 1) != painted);
    QCOMPARE(editor.window.undoAction()->text(), u"元に戻す(&U)"_s);
    QVERIFY(!editor.window.undoAction()->isEnabled());
    QCOMPARE(editor.window.redoAction()->text(), u"やり直し: チップの配置(&R)"_s);
    QTest::keyClick(palette, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_COMPARE(editor.session.map().cell(4, 4, 1), painted);
    QTest::keyClick(palette, Qt::Key_Z, Qt::ControlModifier);
    QTRY_VERIFY(editor.session.map().cell(4, 4, 1) != painted);
    QTest::keyClick(palette, Qt::Key_Y, Qt::ControlModifier);
    QTRY_COMPARE(editor.session.map().cell(4, 4, 1), painted);
    // The block commands come over the same way.
    QTest::keyClick(palette, Qt::Key_A, Qt::ControlModifier);
    QTRY_COMPARE(editor.session.blocks().selection(), CellBlock::board());
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
