#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"
#include "mapfiletestmaps.h"
#include "session/editorsession.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Editor
{
    MapDocument document;
    ChipDescriptions descriptions;
    EditorSession session{document, descriptions};
    MapFileWatch &watch = session.fileWatch();
};

} // namespace

// The open map is demo.map and demo_2.map; other programs are shell commands run beside them.
class TestMapFileWatch : public QObject
{
    Q_OBJECT

    QTemporaryDir mFolder;
    const QString mBase = mFolder.filePath(u"demo"_s);
    const QString mFile = mBase + u".map"_s;

    bool outside(const QString &command)
    {
        return QProcess::execute(u"sh"_s,
                                 {u"-c"_s, u"cd '%1' && %2"_s.arg(mFolder.path(), command)}) == 0;
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        MapData map = demoMap();
        map.setWarp(1, {}); // floor 1 alone is a map too
        QVERIFY(outside(u"rm -f demo_3.map"_s) && MapFileWriter::save(map, mBase).ok());
    }

    void filesAreComparedByContent_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("asked"); // the reload question
        QTest::addColumn<bool>("gone");
        QTest::addColumn<bool>("guard"); // 上書き保存 asks first
        const QString rename = u"sed s/Hall/Outside/ demo.map >new && mv new demo.map"_s;
        QTest::newRow("renamed over") << rename << 1 << false << true;
        QTest::newRow("written in place") << u"echo >>demo.map"_s << 1 << false << true;
        QTest::newRow("touched, same bytes") << u"touch demo.map"_s << 0 << false << false;
        QTest::newRow("own save") << u"true #save"_s << 0 << false << false;
        QTest::newRow("new floor file") << u"cp demo_2.map demo_3.map"_s << 1 << false << true;
        QTest::newRow("floor 2 deleted") << u"rm demo_2.map"_s << 1 << false << true;
        QTest::newRow("all deleted") << u"rm demo*.map"_s << 0 << true << false;
        QTest::newRow("reloaded before settling") << rename + u" #reload"_s << 0 << false << false;
    }
    void filesAreComparedByContent()
    {
        QFETCH(QString, command);
        QFETCH(bool, gone);
        Editor editor;
        QVERIFY(editor.session.openMap(mFile).ok());
        QSignalSpy changed(&editor.watch, &MapFileWatch::changedOutside);
        QSignalSpy vanished(&editor.watch, &MapFileWatch::filesVanished);
        QVERIFY(outside(command));
        QVERIFY(!command.endsWith(u"#save") || editor.session.saveMap(mBase).ok());
        QVERIFY(!command.endsWith(u"#reload") || editor.session.reloadMap().ok());
        // Settled within about a second; the rest of the wait would show a second question.
        QTest::qWait(1200);
        QTEST(int(changed.count()), "asked");
        QCOMPARE(vanished.count(), int(gone));
        QCOMPARE(editor.session.hasUnsavedChanges(), gone);
        QCOMPARE(editor.session.status().text() == editor.watch.vanishedText(), gone);
        QTEST(editor.watch.changedSinceReadOrWritten(), "guard");
    }

    void reloadQuestionAnswered_data()
    {
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("shownAfter"); // 0: the map in memory stays
        const QString rename = u"sed -i s/Hall/Out/ demo.map"_s;
        QTest::newRow("no unsaved changes") << false << 2 << rename << true << 2;
        QTest::newRow("unsaved changes") << true << 1 << rename << true << 1;
        QTest::newRow("shown floor gone") << false << 2 << u"rm demo_2.map"_s << true << 1;
        QTest::newRow("faulty file") << true << 2 << u"echo '*END' >demo.map"_s << true << 0;
        QTest::newRow("answered no") << false << 2 << rename << false << 0;
    }
    void reloadQuestionAnswered()
    {
        QFETCH(bool, unsaved);
        QFETCH(int, shown);
        QFETCH(QString, command);
        QFETCH(bool, yes);
        QFETCH(int, shownAfter);
        Editor editor;
        QVERIFY(editor.session.openMap(mFile).ok());
        if (unsaved)
            editor.session.tools().click({9, 9}, Qt::LeftButton);
        editor.session.selectFloorTab(shown - 1);
        const MapData before = editor.session.map();
        QVERIFY(outside(command));
        if (!yes)
            editor.watch.keepMapInMemory();
        const bool read = yes && editor.session.reloadMap().ok();
        QCOMPARE(read, shownAfter > 0);
        QCOMPARE(editor.session.map(), read ? MapFileReader::load(mBase).map : before);
        QCOMPARE(editor.session.currentFloor(), read ? shownAfter : shown);
        QCOMPARE(editor.session.hasUnsavedChanges(), !read && (unsaved || !yes));
        if (!read)
            return;
        QCOMPARE(editor.document.undoStack().undoText(), u"読み込み直し"_s);
        editor.session.undo();
        QCOMPARE(editor.session.map(), before);
        QCOMPARE(editor.session.currentFloor(), shown);
        QVERIFY(editor.session.hasUnsavedChanges());
    }

    void secondEditorIsTold_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("told");
        QTest::newRow("first holds it, second opens") << u"open"_s << 1;
        QTest::newRow("first holds it, second saves") << u"save"_s << 1;
        QTest::newRow("first closed it") << u"closed"_s << 0;
        QTest::newRow("first was killed") << u"killed"_s << 0;
        QTest::newRow("first died before its record was written") << u"empty"_s << 0;
    }
    void secondEditorIsTold()
    {
        QFETCH(QString, how);
        Editor one;
        QVERIFY(one.session.openMap(mFile).ok());
        QDir markers(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
        QVERIFY(markers.cd(u"open-maps"_s));
        const QString marker =
            markers.entryInfoList({u"*.lock"_s}, QDir::Files, QDir::Time).value(0).filePath();
        const QByteArray record = readFile(marker);
        if (how == u"closed" || how == u"killed" || how == u"empty")
            one.session.resetMap();
        // What a killed editor leaves: its record, naming a process that is gone.
        if (how == u"killed")
            QVERIFY(writeFile(marker, "2147483646" + record.mid(record.indexOf('\n'))));
        if (how == u"empty")
            QVERIFY(writeFile(marker, QByteArray()));
        Editor two;
        QSignalSpy spy(&two.watch, &MapFileWatch::openElsewhere);
        QVERIFY(how == u"save" ? two.session.saveMap(mBase).ok() : two.session.openMap(mFile).ok());
        QTEST(int(spy.count()), "told");
    }
};

QTEST_GUILESS_MAIN(TestMapFileWatch)
#include "tst_mapfilewatch.moc"
