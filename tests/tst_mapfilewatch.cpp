#include "mapfile/mapfilewriter.h"
#include "mapfiletestmaps.h"
#include "session/editorsession.h"

#include <QDir>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

struct Editor
{
    MapDocument document;
    ChipDescriptions descriptions;
    EditorSession session{document, descriptions};
    MapFileWatch &watch = session.fileWatch();
};

// demo.map as another program leaves it: floor 1 renamed, `floors` floors.
MapData outsideMap(const QString &base, int floors)
{
    MapData map = demoMap();
    if (floors == 1) {
        map.clearFloor(2);
        map.setWarp(1, {});
    }
    map.setFloorCount(floors);
    map.setFloorName(1, u"Outside"_s);
    map.setMapFileName(base);
    return map;
}

// Runs "rename", "write", "same", "newfloor", "delete2", "delete", "save", "reload", "look".
void act(Editor &editor, const QString &base, const QString &actions)
{
    const QByteArray outside = MapFileWriter::encodeFloor(outsideMap(base, 2), 1).bytes;
    for (const QString &what : actions.split(u';', Qt::SkipEmptyParts)) {
        if (what == u"rename") {
            QVERIFY(writeFile(base + u".tmp"_s, outside));
            QCOMPARE(std::rename(qPrintable(base + u".tmp"_s), qPrintable(base + u".map"_s)), 0);
        } else if (what == u"write" || what == u"same") {
            QVERIFY(writeFile(base + u".map"_s,
                              what == u"write" ? outside : readFile(base + u".map"_s)));
        } else if (what == u"newfloor") {
            QVERIFY(writeFile(base + u"_3.map"_s, readFile(base + u"_2.map"_s)));
        } else if (what.startsWith(u"delete")) {
            QVERIFY(QFile::remove(base + u"_2.map"_s));
            QVERIFY(what == u"delete2" || QFile::remove(base + u".map"_s));
        } else if (what == u"save") {
            QVERIFY(editor.session.saveMap(base).ok());
        } else if (what == u"reload") {
            QVERIFY(editor.session.reloadMap().ok());
        } else if (what == u"look") {
            editor.watch.compareWithDisk();
        }
    }
}

} // namespace

class TestMapFileWatch : public QObject
{
    Q_OBJECT

    QTemporaryDir mFolder;
    QString mBase;

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        mBase = mFolder.filePath(u"demo"_s);
        QVERIFY(MapFileWriter::save(demoMap(), mBase).ok());
        QFile::remove(mBase + u"_3.map"_s);
    }

    void outsideChangeIsToldOnce_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<int>("changes");
        QTest::addColumn<bool>("vanished");
        QTest::newRow("renamed over") << u"rename"_s << 1 << false;
        QTest::newRow("written in place") << u"write"_s << 1 << false;
        QTest::newRow("touched, same bytes") << u"same"_s << 0 << false;
        QTest::newRow("own save") << u"save"_s << 0 << false;
        QTest::newRow("new floor file") << u"newfloor"_s << 1 << false;
        QTest::newRow("files deleted") << u"delete"_s << 0 << true;
    }
    void outsideChangeIsToldOnce()
    {
        QFETCH(QString, actions);
        QFETCH(int, changes);
        QFETCH(bool, vanished);
        Editor editor;
        QVERIFY(editor.session.openMap(mBase + u".map"_s).ok());
        QSignalSpy changed(&editor.watch, &MapFileWatch::changedOutside);
        QSignalSpy gone(&editor.watch, &MapFileWatch::filesVanished);
        act(editor, mBase, actions);
        // Settled within about a second; the rest of the wait would show a second word.
        QTest::qWait(1200);
        QCOMPARE(changed.count(), changes);
        QCOMPARE(gone.count(), int(vanished));
        QCOMPARE(editor.session.hasUnsavedChanges(), vanished);
        QCOMPARE(editor.session.statusText() == editor.watch.vanishedText(), vanished);
    }

    void reloadIsOneStep_data()
    {
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("outsideFloors");
        QTest::addColumn<int>("shownAfter");
        QTest::newRow("no unsaved changes") << false << 2 << 2 << 2;
        QTest::newRow("unsaved changes") << true << 1 << 2 << 1;
        QTest::newRow("shown floor gone") << false << 2 << 1 << 1;
        QTest::newRow("faulty file") << true << 2 << 0 << 2;
    }
    void reloadIsOneStep()
    {
        QFETCH(bool, unsaved);
        QFETCH(int, shown);
        QFETCH(int, outsideFloors);
        QFETCH(int, shownAfter);
        Editor editor;
        QVERIFY(editor.session.openMap(mBase + u".map"_s).ok());
        if (unsaved)
            editor.session.clickCell({9, 9}, Qt::LeftButton);
        editor.session.selectFloorTab(shown - 1);
        const MapData before = editor.session.map();
        const MapData outside = outsideMap(mBase, std::max(outsideFloors, 1));
        if (outsideFloors > 0)
            QVERIFY(MapFileWriter::save(outside, mBase).ok());
        else
            QVERIFY(writeFile(mBase + u".map"_s, "*END\r\n"));
        editor.watch.compareWithDisk();
        QVERIFY(editor.watch.takePendingChange());
        QCOMPARE(editor.watch.reloadQuestion(editor.session.hasUnsavedChanges()),
                 u"マップ「demo.map」が他のプログラムで変更されました。読み込み直しますか？"_s +
                     (unsaved ? u"\r\n読み込み直すと、保存されていない変更は置き換えられます。"_s
                              : QString()));

        const bool ok = editor.session.reloadMap().ok();
        QCOMPARE(ok, outsideFloors > 0);
        QCOMPARE(editor.session.map(), ok ? outside : before);
        QCOMPARE(editor.session.currentFloor(), shownAfter);
        QCOMPARE(editor.session.hasUnsavedChanges(), !ok && unsaved);
        if (!ok)
            return;
        QCOMPARE(editor.document.undoStack().undoText(), u"読み込み直し"_s);
        editor.session.undo();
        QCOMPARE(editor.session.map(), before);
        QCOMPARE(editor.session.currentFloor(), shown);
        QVERIFY(editor.session.hasUnsavedChanges());
    }

    void saveGuardAsksWhenFilesDiffer_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<bool>("asks");
        QTest::newRow("changed") << u"write"_s << true;
        QTest::newRow("touched, same bytes") << u"same"_s << false;
        QTest::newRow("floor file deleted") << u"delete2"_s << true;
        QTest::newRow("new floor file") << u"newfloor"_s << true;
        QTest::newRow("own save") << u"save"_s << false;
        QTest::newRow("changed, then reloaded") << u"write;look;reload"_s << false;
        QTest::newRow("changed, reload declined") << u"write;look"_s << true;
        QTest::newRow("vanished and told") << u"delete;look"_s << false;
    }
    void saveGuardAsksWhenFilesDiffer()
    {
        QFETCH(QString, actions);
        QFETCH(bool, asks);
        Editor editor;
        QVERIFY(editor.session.openMap(mBase + u".map"_s).ok());
        act(editor, mBase, actions);
        QCOMPARE(editor.watch.changedSinceReadOrWritten(), asks);
    }

    void secondEditorIsTold_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<bool>("saves");
        QTest::addColumn<int>("told");
        QTest::newRow("first holds it, open") << u"holds"_s << false << 1;
        QTest::newRow("first holds it, save") << u"holds"_s << true << 1;
        QTest::newRow("first closed it") << u"closed"_s << false << 0;
        QTest::newRow("first was killed") << u"killed"_s << false << 0;
    }
    void secondEditorIsTold()
    {
        QFETCH(QString, first);
        QFETCH(bool, saves);
        QFETCH(int, told);
        Editor one;
        QVERIFY(one.session.openMap(mBase + u".map"_s).ok());
        const QDir markers(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
                           u"/open-maps"_s);
        const QString marker =
            markers.filePath(markers.entryList({u"*.lock"_s}, QDir::Files, QDir::Time).value(0));
        QByteArray record = readFile(marker);
        if (first != u"holds")
            one.session.resetMap();
        // What a killed editor leaves: its record, naming a process that is gone.
        if (first == u"killed")
            QVERIFY(writeFile(marker, "2147483646" + record.mid(record.indexOf('\n'))));
        Editor two;
        QSignalSpy spy(&two.watch, &MapFileWatch::openElsewhere);
        QVERIFY(saves ? two.session.saveMap(mBase).ok()
                      : two.session.openMap(mBase + u".map"_s).ok());
        QCOMPARE(spy.count(), told);
        QVERIFY(!record.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMapFileWatch)
#include "tst_mapfilewatch.moc"
