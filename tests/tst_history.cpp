#include "editorfixture.h"
#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"
#include "mapfiletestmaps.h"

#include <QMenu>
#include <QSignalSpy>
#include <QUndoStack>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Prompter::UnsavedAnswer)

namespace {

// Every floor file the map would be saved as, one after the other.
QByteArray savedBytes(const MapData &map)
{
    QByteArray bytes = QByteArray::number(map.floorCount());
    for (int floor = 1; floor <= map.floorCount(); ++floor)
        bytes += MapFileWriter::encodeFloor(map, floor).bytes;
    return bytes;
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void everyActionIsOneStep_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("caption"); // of the undo item; empty: no step at all
        QTest::newRow("chip") << u""_s << u"mode:1 c:6,6,L"_s << u"チップの配置"_s;
        QTest::newRow("chip already there") << u""_s << u"mode:1 c:10,6,L"_s << QString();
        QTest::newRow("line") << u""_s << u"mode:1 tool:line c:1,4,L c:24,4,L tool:line"_s
                              << u"線の描画"_s;
        QTest::newRow("branch set") << u""_s << u"mode:2 dir:2 c:5,5,L"_s << u"分岐点の設定"_s;
        QTest::newRow("branch clear") << u""_s << u"mode:2 dir:2 c:2,1,R"_s << u"分岐点の解除"_s;
        QTest::newRow("link a pair")
            << u"floor:2"_s << u"mode:3 newpair c:7,7,L c:8,8,L endlink"_s << u"ワープの設定"_s;
        QTest::newRow("half-placed source")
            << u""_s << u"mode:3 newpair c:7,7,L c:7,7,R endlink"_s << QString();
        QTest::newRow("relink") << u""_s << u"mode:3 relink:1 c:6,6,L c:7,7,L endlink"_s
                                << u"ワープの再設定"_s;
        QTest::newRow("delete a pair") << u""_s << u"mode:3 unlink:2"_s << u"ワープの削除"_s;
        QTest::newRow("add a floor") << u""_s << u"addfloor"_s << u"階層の追加"_s;
        QTest::newRow("move a floor") << u""_s << u"movefloor:1"_s << u"階層の移動"_s;
        QTest::newRow("delete a floor with pairs")
            << u"floor:2"_s << u"deletefloor"_s << u"階層の削除"_s;
        QTest::newRow("delete the only floor")
            << u"deletefloor"_s << u"deletefloor"_s << u"階層の削除"_s;
        QTest::newRow("duplicate a floor with pairs")
            << u"floor:1"_s << u"duplicate"_s << u"階層の複製"_s;
        QTest::newRow("properties") << u"floor:2"_s << u"props:塔"_s << u"プロパティの変更"_s;
        // An unfinished pair is no step and never part of another one.
        QTest::newRow("floor added while linking")
            << u"mode:3 newpair c:7,7,L"_s << u"addfloor"_s << u"階層の追加"_s;
    }
    void everyActionIsOneStep()
    {
        QFETCH(QString, before);
        QFETCH(QString, action);
        QFETCH(QString, caption);
        SessionFixture f;
        f.session.takeLoadedMap(castleMap());
        QVERIFY(f.play(u"chip:03_xm "_s + before));
        QUndoStack &history = f.document.undoStack();
        const int steps = history.count();
        const int floorBefore = f.session.currentFloor();
        const QByteArray bytesBefore = savedBytes(f.session.map());

        QVERIFY(f.play(action));
        if (caption.isEmpty()) {
            QCOMPARE(history.count(), steps);
            QCOMPARE(savedBytes(f.session.map()), bytesBefore);
            return;
        }
        QCOMPARE(history.count(), steps + 1);
        QCOMPARE(history.undoText(), caption);
        const int floorAfter = f.session.currentFloor();
        const QByteArray bytesAfter = savedBytes(f.session.map());
        QVERIFY(bytesAfter != bytesBefore);

        // Back and forth: the saved bytes, the floor shown, its tabs and markers follow.
        for (const bool undo : {true, false}) {
            QVERIFY(f.play(undo ? u"undo"_s : u"redo"_s));
            QCOMPARE(savedBytes(f.session.map()), undo ? bytesBefore : bytesAfter);
            QCOMPARE(f.session.currentFloor(), undo ? floorBefore : floorAfter);
            QCOMPARE(f.session.floorTabCaptions().size(), f.session.map().floorCount());
            QCOMPARE(f.session.tools().warps().markers().all().size(),
                     WarpPairs::markersOf(f.session.map()).size());
        }
    }

    void unsavedFollowsTheSavedState()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        FileFixture f;
        QSignalSpy marks(&f.document, &MapDocument::modifiedChanged);
        QVERIFY(!f.document.isModified());

        QVERIFY(f.play(u"mode:1 c:3,3,L mode:1 c:4,4,L"_s));
        QVERIFY(f.document.isModified());
        const QString base = folder.filePath(u"saved"_s);
        QVERIFY(!f.files.writeMap(base).fault);
        QVERIFY(!f.document.isModified());
        QVERIFY(f.play(u"undo"_s));
        QVERIFY(f.document.isModified());
        // Back where it was saved: nothing unsaved again.
        QVERIFY(f.play(u"redo"_s));
        QVERIFY(!f.document.isModified());
        QCOMPARE(marks.count(), 4);

        // Saved between a relinked pair's two clicks: the moved source is what was saved.
        f.session.takeLoadedMap(castleMap());
        QVERIFY(f.play(u"mode:3 relink:1 c:7,7,L"_s));
        QVERIFY(!f.files.writeMap(base).fault);
        QVERIFY(f.play(u"c:8,8,L"_s));
        QVERIFY(f.document.isModified());
        QVERIFY(f.play(u"undo"_s));
        QVERIFY(!f.document.isModified());
        QCOMPARE(f.session.map().warp(1).srcX, 7);

        // New and open start afresh: nothing to undo, nothing unsaved, after a recovered map too.
        QVERIFY(f.play(u"mode:1 c:5,5,L"_s));
        f.session.resetMap();
        QVERIFY(!f.document.isModified());
        QCOMPARE(f.document.undoStack().count(), 0);
        QVERIFY(f.play(u"mode:1 c:5,5,L"_s));
        QVERIFY(!f.files.loadMap(base + u".map"_s).fault);
        QVERIFY(!f.document.isModified());
        QCOMPARE(f.document.undoStack().count(), 0);
        f.files.takeRecoveredMap(castleMap());
        f.session.resetMap();
        QVERIFY(!f.document.isModified());
        f.files.takeRecoveredMap(castleMap());
        QVERIFY(!f.files.loadMap(base + u".map"_s).fault);
        QVERIFY(!f.document.isModified());
    }

    void halfPlacedPairIsAllUndoTakes_data()
    {
        QTest::addColumn<QString>("pending");
        QTest::addColumn<QString>("key");
        QTest::newRow("new pair, undo") << u"mode:3 newpair c:7,7,L"_s << u"undo"_s;
        QTest::newRow("relink, undo") << u"mode:3 relink:1 c:7,7,L"_s << u"undo"_s;
        QTest::newRow("relink, redo") << u"mode:3 relink:1 c:7,7,L"_s << u"redo"_s;
    }
    // Undo takes back only the half-placed end; neither key loses what is to be redone.
    void halfPlacedPairIsAllUndoTakes()
    {
        QFETCH(QString, pending);
        QFETCH(QString, key);
        const bool undo = key == u"undo";
        SessionFixture f;
        f.session.takeLoadedMap(castleMap());
        QVERIFY(f.play(u"mode:1 c:6,6,L mode:1 c:5,5,L"_s));
        const QByteArray redone = savedBytes(f.session.map());
        QVERIFY(f.play(u"undo"_s));
        const QByteArray before = savedBytes(f.session.map());
        QVERIFY(f.play(pending));
        // Asking changes nothing.
        QVERIFY(f.session.hasUnsavedChanges());

        QVERIFY(f.play(key));
        QCOMPARE(savedBytes(f.session.map()), undo ? before : redone);
        QCOMPARE(f.document.undoStack().index(), undo ? 1 : 2);
        // The chip step taken back before the pair is still the one to redo.
        QCOMPARE(f.document.undoStack().redoText(), undo ? u"チップの配置"_s : QString());
        QCOMPARE(f.session.tools().warps().stage(), undo ? int(WarpLinkTool::WaitingSource) : 0);
    }

    void unsavedChangesAskOneQuestion_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QList<Prompter::UnsavedAnswer>>("answer"); // none: the map is unchanged
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("carriedOut");
        using A = Prompter::UnsavedAnswer;
        // "recent" and "drop" open the map from the recent list and by dropping its file.
        for (const QString &command :
             {u"新規作成(&N)"_s, u"開く(&O)"_s, u"終了(&X)"_s, u"recent"_s, u"drop"_s}) {
            const QByteArray name = command.toUtf8();
            QTest::addRow("%s unchanged", name.data()) << command << QList<A>() << false << true;
            QTest::addRow("%s save", name.data()) << command << QList{A::Save} << true << true;
            QTest::addRow("%s discard", name.data())
                << command << QList{A::Discard} << false << true;
            QTest::addRow("%s cancel", name.data())
                << command << QList{A::Cancel} << false << false;
        }
    }
    void unsavedChangesAskOneQuestion()
    {
        QFETCH(QString, command);
        QFETCH(QList<Prompter::UnsavedAnswer>, answer);
        QFETCH(bool, saved);
        QFETCH(bool, carriedOut);
        const bool changed = !answer.isEmpty();
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString base = folder.filePath(u"castle"_s);
        EditorFixture editor;
        editor.show();
        MapData castle = castleMap();
        QVERIFY(!MapFileWriter::save(castle, base).fault);
        // Opened once, so it is on the recent list.
        editor.files.openMapFile(base + u".map"_s);
        QVERIFY(editor.session.map() == castle);
        if (changed)
            QVERIFY(editor.play(u"mode:1 c:9,9,L"_s));
        QCOMPARE(editor.window.isWindowModified(), changed);
        editor.prompter.answer = true;
        editor.prompter.unsavedAnswers = answer;
        editor.prompter.files = {base + u".map"_s};
        QSignalSpy quits(&editor.files, &MapFileWorkflow::quitRequested);

        if (command == u"drop"_s) {
            QVERIFY(editor.dropFile(base + u"_2.map"_s));
            // The question comes once the drop is over.
            QVERIFY(editor.prompter.questions.isEmpty());
            QCoreApplication::processEvents();
        } else {
            // The recent list is filled as its menu opens; its item is numbered as its access key.
            for (QMenu *menu : editor.window.findChildren<QMenu *>())
                Q_EMIT menu->aboutToShow();
            editor.trigger(command == u"recent"_s ? u"&1 castle.map"_s : command);
        }

        // Opening asks nothing unless there are unsaved changes.
        const bool opening = command != u"新規作成(&N)"_s && command != u"終了(&X)"_s;
        QCOMPARE(editor.prompter.questions.size(), changed || !opening ? 1 : 0);
        if (!editor.prompter.questions.isEmpty())
            QCOMPARE(editor.prompter.questions.first().contains(u"保存されていない変更"_s),
                     changed);
        const bool quitting = command == u"終了(&X)"_s;
        QCOMPARE(quits.count(), quitting && carriedOut ? 1 : 0);
        // A carried-out new or open leaves the map without unsaved changes.
        if (!quitting)
            QCOMPARE(editor.document.isModified(), changed && !carriedOut);
        QCOMPARE(editor.prompter.fileDialogs.size(),
                 command == u"開く(&O)"_s && carriedOut ? 1 : 0);
        const MapLoadResult onDisk = MapFileReader::load(base);
        QVERIFY(!onDisk.fault);
        QCOMPARE(onDisk.map.cell(9, 9, 1) != castle.cell(9, 9, 1), saved);
    }

    void keysWorkFromToolWindows()
    {
        EditorFixture editor;
        editor.show();
        editor.window.board()->setFocus();
        editor.clickCell(4, 4);
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
        QTRY_COMPARE(editor.session.tools().selection().selection(), CellBlock::board());
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
