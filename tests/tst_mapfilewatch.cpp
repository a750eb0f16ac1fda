#include "board/mapdiff.h"
#include "mapfile/mapfileform.h"
#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"
#include "mapfiletestmaps.h"
#include "sessionscript.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

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

    // A map shown as saved holds what its files hold: it saves as they read.
    bool savedMeansAsOnDisk(FileFixture &editor) const
    {
        if (editor.session.hasUnsavedChanges())
            return true;
        const MapLoadResult disk = MapFileReader::load(mBase);
        return disk.ok() && MapDiff::compare(MapFileForm::of(disk.map),
                                             MapFileForm::of(editor.session.map()), {})
                                .isSame();
    }

    // The reload question comes once the outside change has settled; it is answered as
    // the prompter is told to.
    bool answerReloadQuestion(FileFixture &editor)
    {
        const qsizetype before = editor.prompter.questions.size();
        QSignalSpy changed(&editor.files.watch(), &MapFileWatch::changedOutside);
        return changed.wait(5000) &&
               QTest::qWaitFor([&] { return editor.prompter.questions.size() > before; }, 5000);
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
        // Between the save's rename and whatever comes after it: not the editor's own bytes.
        QTest::newRow("written during our save")
            << u"sed -i s/Hall/Out/ demo.map #raced"_s << 1 << false << true;
    }
    void filesAreComparedByContent()
    {
        QFETCH(QString, command);
        QFETCH(bool, gone);
        FileFixture editor;
        QVERIFY(editor.files.loadMap(mFile).ok());
        QSignalSpy changed(&editor.files.watch(), &MapFileWatch::changedOutside);
        QSignalSpy vanished(&editor.files.watch(), &MapFileWatch::filesVanished);
        QSignalSpy compared(&editor.files.watch(), &MapFileWatch::compared);
        if (command.endsWith(u"#raced")) {
            QVERIFY(editor.play(u"c:9,9,L"_s));
            const QMetaObject::Connection saved =
                connect(&editor.document, &MapDocument::modifiedChanged, this,
                        [&](bool modified) { QVERIFY(modified || outside(command)); });
            QVERIFY(editor.files.writeMap(mBase).ok());
            disconnect(saved);
        } else {
            QVERIFY(outside(command));
        }
        QVERIFY(!command.endsWith(u"#save") || editor.files.writeMap(mBase).ok());
        QVERIFY(!command.endsWith(u"#reload") || editor.files.reloadMap().ok());
        // The watch looks at the files once the change has settled; a save or a reload
        // takes the bytes on disk as known and starts watching afresh.
        if (command.contains(u'#'))
            editor.files.watch().compareWithDisk();
        else
            QVERIFY(compared.wait(5000));
        // Looked at again, the same files ask nothing more.
        editor.files.watch().compareWithDisk();
        QTEST(int(changed.count()), "asked");
        QCOMPARE(vanished.count(), int(gone));
        QCOMPARE(editor.session.hasUnsavedChanges(), gone);
        QCOMPARE(editor.session.status().text() == editor.files.watch().vanishedText(), gone);
        QTEST(editor.files.watch().changedSinceReadOrWritten(), "guard");
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
        // The map no longer matches its files: quitting asks to save, the copy is kept.
        QTest::newRow("faulty file, no unsaved changes")
            << false << 2 << u"echo '*END' >demo.map"_s << true << 0;
        QTest::newRow("answered no") << false << 2 << rename << false << 0;
    }
    void reloadQuestionAnswered()
    {
        QFETCH(bool, unsaved);
        QFETCH(int, shown);
        QFETCH(QString, command);
        QFETCH(bool, yes);
        QFETCH(int, shownAfter);
        FileFixture editor;
        QVERIFY(editor.files.loadMap(mFile).ok());
        QVERIFY(editor.play((unsaved ? u"c:9,9,L floor:%1"_s : u"floor:%1"_s).arg(shown)));
        const MapData before = editor.session.map();
        QVERIFY(outside(command));
        if (!yes)
            editor.files.watch().keepMapInMemory();
        const bool read = yes && editor.files.reloadMap().ok();
        QCOMPARE(read, shownAfter > 0);
        QCOMPARE(editor.session.map(), read ? MapFileReader::load(mBase).map : before);
        QCOMPARE(editor.session.currentFloor(), read ? shownAfter : shown);
        QCOMPARE(editor.session.hasUnsavedChanges(), !read);
        if (!read) {
            QVERIFY(!editor.files.quit());
            QVERIFY(editor.prompter.questions.last().contains(u"保存されていない変更"_s));
            return;
        }
        QCOMPARE(editor.document.undoStack().undoText(), u"読み込み直し"_s);
        QVERIFY(editor.play(u"undo"_s));
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
        FileFixture one;
        QVERIFY(one.files.loadMap(mFile).ok());
        QDir markers(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
        QVERIFY(markers.cd(u"open-maps"_s));
        const QString marker =
            markers.entryInfoList({u"*.lock"_s}, QDir::Files, QDir::Time).value(0).filePath();
        const QByteArray record = readFile(marker);
        one.prompter.answer = true;
        if (how == u"closed" || how == u"killed" || how == u"empty")
            one.files.newMap();
        // What a killed editor leaves: its record, naming a process that is gone.
        if (how == u"killed")
            QVERIFY(writeFile(marker, "2147483646" + record.mid(record.indexOf('\n'))));
        if (how == u"empty")
            QVERIFY(writeFile(marker, QByteArray()));
        FileFixture two;
        QSignalSpy spy(&two.files.watch(), &MapFileWatch::openElsewhere);
        QVERIFY(how == u"save" ? two.files.writeMap(mBase).ok() : two.files.loadMap(mFile).ok());
        QTEST(int(spy.count()), "told");
    }

    // A folder for the markers that cannot be written is told once, however many maps are
    // opened and saved after, and never stops the editing.
    void lockFolderProblemToldOnce_data()
    {
        QTest::addColumn<QString>("folder"); // under the scratch folder
        QTest::addColumn<int>("told");
        QTest::newRow("writable") << u"markers"_s << 0;
        QTest::newRow("under a regular file") << u"demo.map/markers"_s << 1;
        QTest::newRow("a regular file") << u"demo_2.map"_s << 1;
    }
    void lockFolderProblemToldOnce()
    {
        QFETCH(QString, folder);
        QFETCH(int, told);
        FileFixture editor(mFolder.filePath(folder));
        editor.prompter.answer = true;
        QVERIFY(editor.files.loadMap(mFile).ok());
        QVERIFY(editor.play(u"c:3,3,L save"_s));
        editor.files.openMapFile(mFile);
        QVERIFY(editor.files.writeMap(mFolder.filePath(u"other"_s)).ok());
        QCOMPARE(editor.session.document().fileName(), mFolder.filePath(u"other"_s));
        QTRY_COMPARE_WITH_TIMEOUT(editor.prompter.messages.size(), told, 2000);
        QTest::qWait(50);
        QCOMPARE(editor.prompter.messages.size(), told);
        if (told)
            QVERIFY(editor.prompter.messages.first().contains(
                u"開いているマップを記録するフォルダに書き込めません。"_s));
    }

    // Open and reload tell a load's result alike, warnings included.
    void loadIsToldAlike_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("undecodable bytes") << u"printf '\\200\\r\\n' >>demo.map"_s;
        QTest::newRow("faulty file") << u"echo '*END' >demo.map"_s;
    }
    void loadIsToldAlike()
    {
        QFETCH(QString, command);
        FileFixture reloading;
        QVERIFY(reloading.files.loadMap(mFile).ok());
        reloading.prompter.answer = true;
        QVERIFY(outside(command));
        QVERIFY(answerReloadQuestion(reloading));
        FileFixture opening;
        opening.files.openMapFile(mFile);
        QVERIFY(!opening.prompter.messages.isEmpty());
        QCOMPARE(reloading.prompter.messages, opening.prompter.messages);
        QCOMPARE(reloading.prompter.messageIcons, opening.prompter.messageIcons);
    }

    // A stroke held on the board is one step: a reload waits for its release, a save ends
    // it first; either way the map never shows as saved while it differs from its files.
    void heldStrokeNeverJoinsReloadOrSave_data()
    {
        QTest::addColumn<QString>("during"); // the file step while the stroke is held
        QTest::addColumn<QString>("release");
        QTest::addColumn<QString>("after");
        QTest::newRow("reload question") << u"question"_s << u"d:8,5 r:8,5"_s << u"undo"_s;
        QTest::newRow("reload question, undo twice")
            << u"question"_s << u"r:7,5"_s << u"undo undo redo"_s;
        QTest::newRow("save") << u"save"_s << u"d:8,5 r:8,5"_s << u"undo"_s;
        QTest::newRow("save, undo, redo") << u"save"_s << u"r:7,5"_s << u"undo redo undo"_s;
        QTest::newRow("reload") << u"reload"_s << u"d:8,5 r:8,5"_s << u"undo"_s;
    }
    void heldStrokeNeverJoinsReloadOrSave()
    {
        QFETCH(QString, during);
        QFETCH(QString, release);
        QFETCH(QString, after);
        FileFixture editor;
        QVERIFY(editor.files.loadMap(mFile).ok());
        editor.prompter.answer = true;
        QVERIFY(editor.play(u"chip:33_S_ p:5,5,L d:7,5"_s));
        QVERIFY(during == u"save" || outside(u"sed -i s/Hall/Out/ demo.map"_s));
        if (during != u"question") {
            QVERIFY(editor.play(during + u' ' + release));
        } else {
            QSignalSpy changed(&editor.files.watch(), &MapFileWatch::changedOutside);
            QVERIFY(changed.wait(5000));
            // Not while the button is held ...
            QCoreApplication::processEvents();
            QCOMPARE(editor.prompter.questions.size(), 0);
            QVERIFY(editor.play(release));
            // ... but once it is up.
            QTRY_COMPARE_WITH_TIMEOUT(editor.prompter.questions.size(), 1, 5000);
        }
        QVERIFY(savedMeansAsOnDisk(editor));
        for (const QString &step : after.split(u' ')) {
            QVERIFY(editor.play(step));
            QVERIFY2(savedMeansAsOnDisk(editor), qPrintable(step));
        }
    }

    // Deleting the only floor takes the map's name with it, for as long as the step stands;
    // a save since then keeps the name.
    void onlyFloorDeletionAndTheFiles_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("named");
        // The map has two floors.
        const QString deleted = u"deletefloor deletefloor "_s;
        QTest::newRow("outside change, undo") << deleted + u"outside undo"_s << true << true;
        QTest::newRow("undo, save, redo") << deleted + u"undo save redo"_s << false << true;
        QTest::newRow("deleted") << deleted << false << false;
    }
    void onlyFloorDeletionAndTheFiles()
    {
        QFETCH(QString, script);
        QFETCH(bool, asked);
        QFETCH(bool, named);
        FileFixture editor;
        QVERIFY(editor.files.loadMap(mFile).ok());
        QSignalSpy compared(&editor.files.watch(), &MapFileWatch::compared);
        for (const QString &step : script.split(u' ', Qt::SkipEmptyParts)) {
            if (step != u"outside") {
                QVERIFY(editor.play(step));
                continue;
            }
            // Settled while the map has no name.
            QVERIFY(outside(u"sed -i s/Hall/Out/ demo.map"_s));
            QVERIFY(compared.wait(5000));
        }
        if (asked)
            QTRY_COMPARE_WITH_TIMEOUT(editor.prompter.questions.size(), 1, 5000);
        QCOMPARE(editor.prompter.questions.size(), int(asked));
        QCOMPARE(editor.session.document().fileName() == mBase, named);
        // Answered no, the question leaves the map unsaved.
        QVERIFY(!named || savedMeansAsOnDisk(editor));
    }

    // Thousands of writes by another program, in bursts that settle and while the question
    // is open, answered yes and no in turn: the map is read again only after a yes, and
    // shown as saved only as its files are.
    void manyOutsideWrites()
    {
        FileFixture editor;
        QVERIFY(editor.files.loadMap(mFile).ok());
        for (int i = 0; i < 1000; ++i)
            editor.prompter.yesNoAnswers.append(i % 2 == 0);
        const QByteArray versions[3] = {readFile(mFile), readFile(mFile).replace("Hall", "Out"),
                                        readFile(mFile).replace("Hall", "In")};
        int write = 0;
        const auto writeSome = [&](int count) {
            for (int i = 0; i < count; ++i, ++write) {
                QFile file(mFile);
                // In place, as an editor that does not rename writes.
                if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                    file.write(versions[(write / 7 + write / 11) % 3]) <= 0)
                    qFatal("cannot write %s", qPrintable(mFile));
                file.close();
                if (i % 3 == 0)
                    QCoreApplication::processEvents();
            }
        };
        // As a message box does, the question lets events through while it is open.
        editor.prompter.duringQuestion = [&] { writeSome(5); };
        QSignalSpy compared(&editor.files.watch(), &MapFileWatch::compared);
        for (int burst = 0; burst < 20; ++burst) {
            writeSome(100 + burst);
            QVERIFY(compared.wait(5000));
            QCoreApplication::processEvents();
            QVERIFY(savedMeansAsOnDisk(editor) || editor.files.watch().takePendingChange());
        }
        const int asked = int(editor.prompter.questions.size());
        const int yes = (asked + 1) / 2;
        int reloads = 0;
        for (int i = 0; i < editor.document.undoStack().count(); ++i)
            reloads += editor.document.undoStack().text(i) == u"読み込み直し"_s;
        QVERIFY(write >= 2000);
        QVERIFY(asked >= 10);
        QVERIFY2(reloads <= yes, qPrintable(u"%1 reloads, %2 yes"_s.arg(reloads).arg(yes)));
    }

    // Random steps of a user and another program: clicks, strokes held over other steps,
    // undo and redo, saves, reloads, and outside writes the reader takes or refuses, every
    // question answered yes or no at random. After every step, a map shown as saved equals
    // its files. QZK_SEQUENCES sets how many sequences a seed runs (a longer run).
    void interleavedSequences_data()
    {
        QTest::addColumn<quint32>("seed");
        for (const quint32 seed : {1u, 2u, 3u})
            QTest::addRow("seed %u", seed) << seed;
    }
    void interleavedSequences()
    {
        QFETCH(quint32, seed);
        const int sequences = qEnvironmentVariableIsSet("QZK_SEQUENCES")
                                  ? qEnvironmentVariableIntValue("QZK_SEQUENCES")
                                  : 3;
        QRandomGenerator random(seed);
        const QByteArray good = readFile(mFile);
        QByteArray otherStart = good;
        otherStart.replace(0, 2, "G_");
        const QByteArray readable[] = {good, QByteArray(good).replace("Hall", "Out"), otherStart};
        const QByteArray unreadable("*END\r\n");
        const QString chips[] = {u"01_[]"_s, u"33_S_"_s, u"34_G_"_s, u"00_  "_s};
        const auto cell = [&] {
            return u"%1,%2"_s.arg(random.bounded(1, 7)).arg(random.bounded(1, 4));
        };
        for (int sequence = 0; sequence < sequences; ++sequence) {
            QVERIFY(writeFile(mFile, good));
            FileFixture editor;
            QVERIFY(editor.files.loadMap(mFile).ok());
            // The reload question is owed from the moment the watch saw a change until it
            // is asked, after a held stroke at the latest.
            bool owed = false;
            connect(&editor.files.watch(), &MapFileWatch::changedOutside, this,
                    [&] { owed = true; });
            editor.prompter.duringQuestion = [&] {
                if (editor.prompter.questions.last().contains(u"読み込み直しますか"_s))
                    owed = false;
            };
            bool held = false;
            QString done;
            for (int step = 0; step < 40; ++step) {
                editor.prompter.answer = random.bounded(2) == 0;
                const int what = random.bounded(10);
                QString did;
                if (what == 0) {
                    did = u"chip:%1 c:%2,L"_s.arg(chips[random.bounded(4)], cell());
                } else if (what == 1) {
                    did = held ? u"d:"_s + cell() : u"p:%1,L"_s.arg(cell());
                    held = true;
                } else if (what == 2 && held) {
                    did = u"r:"_s + cell();
                    held = false;
                } else if (what == 3 || what == 2) {
                    did = u"undo"_s;
                } else if (what == 4) {
                    did = u"redo"_s;
                }
                if (!did.isEmpty()) {
                    QVERIFY(editor.play(did));
                } else if (what == 5 || what == 6) {
                    did = what == 5 ? u"save"_s : u"reload"_s;
                    if (what == 5 ? editor.files.overwriteMap() : editor.files.reloadMap().ok())
                        owed = false;
                    held = false;
                } else {
                    const bool refused = what == 9;
                    did = refused ? u"outside:refused"_s : u"outside"_s;
                    QVERIFY(writeFile(mFile, refused ? unreadable : readable[random.bounded(3)]));
                    editor.files.watch().compareWithDisk();
                }
                done += did + u' ';
                QCoreApplication::processEvents();
                if (editor.document.isStepOpen())
                    continue;
                const QString steps =
                    u"seed %1, sequence %2: %3"_s.arg(seed).arg(sequence).arg(done);
                // Not asked while a stroke was held: asked once it is released.
                QVERIFY2(!owed || QTest::qWaitFor([&] { return !owed; }, 5000), qPrintable(steps));
                QVERIFY2(savedMeansAsOnDisk(editor), qPrintable(steps));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestMapFileWatch)
#include "tst_mapfilewatch.moc"
