#include "editorfixture.h"
#include "mainwindow/fileactions.h"
#include "mapfile/mapfilename.h"
#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"
#include "mapfiletestmaps.h"
#include "prompts/filedetailsmodel.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTreeView>

#include <optional>

Q_DECLARE_METATYPE(MapData)
Q_DECLARE_METATYPE(ToolBoxState::Mode)

using namespace Qt::StringLiterals;

namespace {

struct Editor : EditorFixture
{
    Editor() { show(); }

    // A map with two floors, a chip, a pair, a name and a display option that a reset undoes.
    void fillWith(const QString &name, ToolBoxState::Mode toolBoxMode)
    {
        session.takeLoadedMap(demoMap(), name);
        document.layChip(3, 3, 1, u"33_S_"_s);
        // As if saved: the written questions are the ones without unsaved changes.
        document.markSaved();
        session.toolBox().setMode(toolBoxMode);
    }
};

const QString NewMap = u"新規作成(&N)"_s;
const QString Open = u"開く(&O)"_s;
const QString Overwrite = u"上書き保存(&S)"_s;
const QString SaveAs = u"名前を付けて保存(&A)"_s;
const QString ShownOption = u"表示する(&V)"_s;

// A floor file of warp entries 1..count, each at its own source cell, the destination eight
// rows below.
QByteArray warpFile(int count)
{
    QByteArrayList lines{"*WARP"};
    for (int i = 0; i < count; ++i) {
        const int x = i % 24 + 1;
        const int y = i / 24 + 1;
        lines.append(QByteArray::number(x) + ',' + QByteArray::number(y) + ',' +
                     QByteArray::number(x) + ',' + QByteArray::number(y + 8));
    }
    lines.append("*END");
    return emptyGrid() + fileLines(lines);
}

bool copyFixtures(const QString &folder, const QStringList &names)
{
    for (const QString &name : names)
        if (!QFile::copy(mapFixturePath(name), folder + u'/' + name))
            return false;
    return true;
}

} // namespace

class TestFileCommands : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> mScratch; // a folder of its own for every case
    QString at(const QString &name) const { return mScratch->filePath(name); }

private Q_SLOTS:
    void init()
    {
        mScratch.emplace();
        QVERIFY(mScratch->isValid());
    }

    void newMapAsksFirst_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("No") << false;
        QTest::newRow("Yes") << true;
    }
    void newMapAsksFirst()
    {
        QFETCH(bool, answer);
        Editor editor;
        editor.fillWith(u"/maps/old"_s, ToolBoxState::Hidden);
        const MapData before = editor.session.map();
        editor.prompter.answer = answer;

        editor.trigger(NewMap);

        QCOMPARE(editor.prompter.questions,
                 QStringList{QStringLiteral(
                     "新規マップの作成|マップデータをクリアします。\r\nよろしいですか？")});
        if (!answer) {
            QVERIFY(editor.session.map() == before);
            QCOMPARE(editor.window.floorTabs()->count(), 2);
            QCOMPARE(editor.session.toolBox().mode(), int(ToolBoxState::Hidden));
            QVERIFY(!editor.window.toolWindow()->isVisible());
            QVERIFY(editor.marker(1));
            return;
        }
        const MapData &map = editor.session.map();
        QCOMPARE(map.floorCount(), 1);
        QCOMPARE(map.cell(3, 3, 1), u"00_  "_s);
        QCOMPARE(map.cell(5, 6, 2), u"00_  "_s);
        QCOMPARE(editor.session.document().fileName(), QString());
        QCOMPARE(map.floorName(1), QString());
        QCOMPARE(map.warpCount(), 0);
        QCOMPARE(map.freePairNumbers().size(), MapData::MaxWarps);
        QCOMPARE(editor.tabCaptions(), QStringList{u"１階"_s});
        QVERIFY(!editor.marker(1));
        QCOMPARE(editor.caption(), PlainCaption);
        QCOMPARE(editor.session.toolBox().mode(), int(ToolBoxState::Shown));
        QVERIFY(editor.action(ShownOption)->isChecked());
        QVERIFY(qobject_cast<ChipPalette *>(editor.window.toolWindow()));
        QVERIFY(editor.window.toolWindow()->isVisible());
    }

    void saveAsWritesEachFloorUnderTheBasePath_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("base");
        QTest::newRow("demo.map") << u"demo.map"_s << u"demo"_s;
        QTest::newRow("floor-2 name as floor 1") << u"demo_2.map"_s << u"demo_2"_s;
        QTest::newRow("no extension") << u"new"_s << u"new"_s;
        QTest::newRow("dotted folder, no extension") << u"my.maps/new"_s << u"my.maps/new"_s;
        QTest::newRow("dotted folder with .map") << u"my.maps/new.map"_s << u"my.maps/new"_s;
        QTest::newRow("two dots in the name") << u"my.maps/new.v2.map"_s << u"my.maps/new.v2"_s;
        QTest::newRow("writer's bytes, no older third floor") << u"saved.map"_s << u"saved"_s;
    }
    void saveAsWritesEachFloorUnderTheBasePath()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, base);
        QVERIFY(QDir(mScratch->path()).mkdir(u"my.maps"_s));
        // A third floor file from an older save must not survive: the map has two floors.
        QVERIFY(writeFile(at(base + u"_3.map"_s), emptyGrid() + fileLines({"*END"})));
        Editor editor;
        MapData map = castleMap();
        map.setFloorName(1, QString());
        editor.session.takeLoadedMap(map);
        editor.prompter.files = QStringList{at(chosen)};

        QVERIFY(editor.files.saveMapAs());

        QCOMPARE(editor.prompter.messages, QStringList());
        QCOMPARE(editor.session.document().fileName(), at(base));
        QCOMPARE(editor.caption(), captionWith(at(base) + u".map"_s));
        QStringList written;
        QDirIterator files(mScratch->path(), QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext())
            written.append(QDir(mScratch->path()).relativeFilePath(files.next()));
        written.sort();
        QCOMPARE(written, (QStringList{base + u".map"_s, base + u"_2.map"_s}));
        for (int floor = 1; floor <= 2; ++floor)
            QCOMPARE(readFile(MapFileName::floorFilePath(at(base), floor)),
                     MapFileWriter::encodeFloor(editor.session.map(), floor).bytes);
        // The files read back as the map that was saved.
        MapLoadResult reread = MapFileReader::load(at(base));
        QVERIFY(reread.ok());
        QVERIFY(reread.map == editor.session.map());
    }

    void basePathOfWindowsPaths_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("base");
        QTest::newRow("slashes, dotted folder") << u"C:/my.maps/new"_s << u"C:/my.maps/new"_s;
        QTest::newRow("backslashes, dotted folder")
            << u"C:\\my.maps\\new"_s << u"C:\\my.maps\\new"_s;
        QTest::newRow("backslashes, .map") << u"C:\\maps\\demo_2.map"_s << u"C:\\maps\\demo_2"_s;
        QTest::newRow("slashes, .map") << u"C:/maps/demo.map"_s << u"C:/maps/demo"_s;
        QTest::newRow("dotted folder, other extension")
            << u"C:/my.maps/new.txt"_s << u"C:/my.maps/new"_s;
    }
    void basePathOfWindowsPaths()
    {
        QFETCH(QString, chosen);
        QTEST(MapFileName::basePathOf(chosen), "base");
    }

    void overwriteAsksForNameOnlyWhenUnnamed_data()
    {
        QTest::addColumn<QString>("before");
        QTest::newRow("after start-up") << QString();
        QTest::newRow("after new map") << NewMap;
    }
    void overwriteAsksForNameOnlyWhenUnnamed()
    {
        QFETCH(QString, before);
        Editor editor;
        if (!before.isEmpty()) {
            editor.fillWith(at(u"old"_s), ToolBoxState::Shown);
            editor.prompter.answer = true;
            editor.prompter.files = QStringList{at(u"missing.map"_s)};
            editor.trigger(before);
            QCOMPARE(editor.session.document().fileName(), QString());
        }
        editor.prompter.fileDialogs.clear();
        editor.prompter.messages.clear();
        editor.document.layChip(2, 2, 1, u"34_G_"_s);
        const QString chosen = at(u"named.map"_s);
        editor.prompter.files = QStringList{chosen};

        editor.trigger(Overwrite);
        QCOMPARE(editor.prompter.fileDialogs.size(), 1);
        QVERIFY(editor.prompter.fileDialogs.first().startsWith(u"save|"_s));
        QCOMPARE(editor.session.document().fileName(), at(u"named"_s));
        const QByteArray first = readFile(chosen);
        QVERIFY(!first.isEmpty());

        // Named now: the second overwrite writes at once, with the change.
        editor.document.layChip(3, 2, 1, u"33_S_"_s);
        editor.trigger(Overwrite);
        QCOMPARE(editor.prompter.fileDialogs.size(), 1);
        const QByteArray second = readFile(chosen);
        QVERIFY(second != first);
        QCOMPARE(second, MapFileWriter::encodeFloor(editor.session.map(), 1).bytes);
        QCOMPARE(editor.prompter.messages, QStringList());
    }

    void failedOrCancelledCommandKeepsEverything_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("oldName");  // empty: the map has no name yet
        QTest::addColumn<QString>("chosen");   // the file dialog's answer; empty: cancelled
        QTest::addColumn<QString>("folderAt"); // a folder made where a floor file would go
        QTest::addColumn<QString>("floorTwoName");
        QTest::addColumn<QString>("title"); // of the error shown; empty: none
        const QString cannotCreate = u"Error No.75"_s;
        const QString none;
        QTest::newRow("open cancelled") << Open << u"old"_s << none << none << none << none;
        QTest::newRow("open cancelled, unnamed map")
            << Open << none << none << none << none << none;
        QTest::newRow("save as cancelled") << SaveAs << u"old"_s << none << none << none << none;
        QTest::newRow("overwrite unnamed cancelled")
            << Overwrite << none << none << none << none << none;
        QTest::newRow("save as into a missing folder")
            << SaveAs << u"old"_s << u"nowhere/new.map"_s << none << none << cannotCreate;
        QTest::newRow("save as, folder where floor 2 goes")
            << SaveAs << none << u"old.map"_s << u"old_2.map"_s << none << cannotCreate;
        QTest::newRow("overwrite, folder where floor 2 goes")
            << Overwrite << u"old"_s << none << u"old_2.map"_s << none << cannotCreate;
        QTest::newRow("overwrite, folder where floor 1 goes")
            << Overwrite << u"other"_s << none << u"other.map"_s << none << cannotCreate;
        // Hangul has no code page 932 form.
        QTest::newRow("save as, floor name code page 932 cannot hold")
            << SaveAs << none << u"old.map"_s << none << u"\uD55C"_s << u"Error No.1002"_s;
    }
    void failedOrCancelledCommandKeepsEverything()
    {
        QFETCH(QString, command);
        QFETCH(QString, oldName);
        QFETCH(QString, chosen);
        QFETCH(QString, folderAt);
        QFETCH(QString, floorTwoName);
        QFETCH(QString, title);
        // An earlier save of another map lies where the new one would go.
        const QByteArray oldFloor = emptyGrid() + fileLines({"*NAME", "earlier", "*END"});
        QVERIFY(writeFile(at(u"old.map"_s), oldFloor));
        if (!folderAt.isEmpty())
            QVERIFY(QDir(mScratch->path()).mkdir(folderAt));
        const QStringList filesBefore =
            QDir(mScratch->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);

        Editor editor;
        editor.fillWith(oldName.isEmpty() ? QString() : at(oldName), ToolBoxState::RolledUp);
        if (!floorTwoName.isEmpty())
            editor.document.setFloorTexts(2, floorTwoName, QString(), QString());
        const MapData before = editor.session.map();
        const QString caption = editor.caption();
        QPointer<ToolWindowFrame> toolWindow = editor.window.toolWindow();
        editor.prompter.files = QStringList{chosen.isEmpty() ? QString() : at(chosen)};
        QSignalSpy quitting(&editor.files, &MapFileWorkflow::quitRequested);

        editor.trigger(command);

        // A named map is overwritten without a dialog.
        const bool named = command == Overwrite && !oldName.isEmpty();
        QCOMPARE(editor.prompter.fileDialogs.size(), named ? 0 : 1);
        if (title.isEmpty()) {
            QCOMPARE(editor.prompter.messages, QStringList());
        } else {
            QCOMPARE(editor.prompter.messages.size(), 1);
            const QStringList message = editor.prompter.messages.first().split(u'|');
            QCOMPARE(message.first(), title);
            QVERIFY(!message.last().isEmpty()); // what went wrong, in the file system's words
            QCOMPARE(editor.prompter.messageIcons, QList<Prompter::Icon>{Prompter::Icon::Critical});
        }
        // The editor goes on with the document as it was.
        QCOMPARE(quitting.count(), 0);
        QVERIFY(editor.window.isVisible());
        QVERIFY(editor.session.map() == before);
        QCOMPARE(editor.document.fileName(), oldName.isEmpty() ? QString() : at(oldName));
        QCOMPARE(editor.window.floorTabs()->count(), 2);
        QCOMPARE(editor.caption(), caption);
        QVERIFY(editor.marker(1) && editor.marker(2));
        QCOMPARE(editor.session.toolBox().mode(), int(ToolBoxState::RolledUp));
        QCOMPARE(editor.window.toolWindow(), toolWindow.data());
        QVERIFY(toolWindow->isVisible());
        QCOMPARE(readFile(at(u"old.map"_s)), oldFloor);
        QCOMPARE(QDir(mScratch->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 filesBefore);
    }

    void toolWindowHiddenDuringDialog_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("mode"); // the script step that chooses it
        QTest::addColumn<ToolBoxState::Mode>("option");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("shownAfter");
        const QString chips = u"mode:1"_s;
        const QString branches = u"mode:2"_s;
        const ToolBoxState::Mode shown = ToolBoxState::Shown;
        const ToolBoxState::Mode rolledUp = ToolBoxState::RolledUp;
        const ToolBoxState::Mode hidden = ToolBoxState::Hidden;
        QTest::newRow("open cancelled, shown") << Open << chips << shown << false << true;
        QTest::newRow("open cancelled, rolled up") << Open << chips << rolledUp << false << true;
        QTest::newRow("open cancelled, hidden") << Open << chips << hidden << false << false;
        QTest::newRow("open cancelled, branch mode") << Open << branches << shown << false << true;
        // The reset shows the tool window again.
        QTest::newRow("open confirmed, hidden") << Open << branches << hidden << true << true;
        QTest::newRow("save as cancelled, hidden") << SaveAs << chips << hidden << false << false;
        QTest::newRow("save as confirmed, shown") << SaveAs << chips << shown << true << true;
        QTest::newRow("save as confirmed, hidden") << SaveAs << chips << hidden << true << false;
        QTest::newRow("save as confirmed, branch mode")
            << SaveAs << branches << rolledUp << true << true;
        QTest::newRow("overwrite unnamed, rolled up")
            << Overwrite << chips << rolledUp << true << true;
    }
    void toolWindowHiddenDuringDialog()
    {
        QFETCH(QString, command);
        QFETCH(QString, mode);
        QFETCH(ToolBoxState::Mode, option);
        QFETCH(bool, confirm);
        QFETCH(bool, shownAfter);
        QVERIFY(copyFixtures(mScratch->path(), {u"demo.map"_s, u"demo_2.map"_s}));
        Editor editor;
        QVERIFY(editor.play(mode));
        const int modeBefore = editor.session.editMode();
        editor.session.toolBox().setMode(option);
        QVERIFY(editor.window.toolWindow());
        QCOMPARE(editor.window.toolWindow()->isVisible(), option != ToolBoxState::Hidden);
        if (confirm)
            editor.prompter.files = QStringList{at(u"demo.map"_s)};
        int dialogs = 0;
        bool shownDuringDialog = true;
        editor.prompter.duringFileDialog = [&] {
            ++dialogs;
            shownDuringDialog =
                editor.window.toolWindow() && editor.window.toolWindow()->isVisible();
        };

        editor.trigger(command);

        QCOMPARE(dialogs, 1);
        QVERIFY(!shownDuringDialog);
        QCOMPARE(editor.prompter.messages, QStringList());
        QVERIFY(editor.window.toolWindow());
        QCOMPARE(editor.window.toolWindow()->isVisible(), shownAfter);
        // The window that comes back is the current mode's.
        const bool palette = qobject_cast<ChipPalette *>(editor.window.toolWindow());
        QCOMPARE(palette, editor.session.editMode() == EditorSession::ChipMode);
        if (confirm && command == Open) {
            QCOMPARE(editor.session.editMode(), int(EditorSession::ChipMode));
            QCOMPARE(editor.session.toolBox().mode(), int(ToolBoxState::Shown));
            QVERIFY(editor.action(ShownOption)->isChecked());
        } else {
            QCOMPARE(editor.session.editMode(), modeBefore);
            QCOMPARE(editor.session.toolBox().mode(), option);
        }
    }

    void dialogStartsInLastFolder_data()
    {
        // "command line" opens a map as the program's argument does; the other steps are menu
        // commands whose dialog answers the file given (empty: cancelled). Folders are
        // relative to a scratch folder, "." the working folder at start.
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("dialogs");
        QTest::newRow("working folder, then the one used last")
            << QStringList{Open, SaveAs, Open} << QStringList{u"a/x.map"_s, u"b/y.map"_s, QString()}
            << QStringList{u"open|."_s, u"save|a"_s, u"open|b"_s};
        QTest::newRow("a cancelled dialog changes nothing")
            << QStringList{SaveAs, Overwrite, Open} << QStringList{QString(), QString(), QString()}
            << QStringList{u"save|."_s, u"save|."_s, u"open|."_s};
        QTest::newRow("the map given at start")
            << QStringList{u"command line"_s, SaveAs, Open}
            << QStringList{u"a/x.map"_s, u"b/y.map"_s, QString()}
            << QStringList{u"save|a"_s, u"open|b"_s};
    }
    void dialogStartsInLastFolder()
    {
        QFETCH(QStringList, commands);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, dialogs);
        QVERIFY(QDir().mkpath(at(u"a"_s)) && QDir().mkpath(at(u"b"_s)));
        const QString workingFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(mScratch->path()));
        FileFixture editor;
        for (int i = 0; i < commands.size(); ++i) {
            const QString answer = answers[i].isEmpty() ? QString() : at(answers[i]);
            editor.prompter.files = QStringList{answer};
            if (commands[i] == u"command line"_s)
                editor.files.openMapFile(answer);
            else if (commands[i] == Open)
                editor.files.openMap();
            else if (commands[i] == SaveAs)
                editor.files.saveMapAs();
            else
                editor.files.overwriteMap();
        }
        QVERIFY(QDir::setCurrent(workingFolder));
        QStringList expected;
        for (const QString &dialog : dialogs) {
            const QStringList parts = dialog.split(u'|');
            expected.append(parts[0] + u'|' + QDir::cleanPath(at(parts[1])));
        }
        QCOMPARE(editor.prompter.fileDialogs, expected);
    }

    void openLoadsFloorsTabsAndWarps_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("dropped"); // on the window, instead of chosen in the open dialog
        QTest::addColumn<MapData>("expected");

        QTest::newRow("demo") << u"demo.map"_s << false << demoMap();
        QTest::newRow("castle") << u"castle.map"_s << false << castleMap();
        QTest::newRow("dotted folder") << u"my.maps/castle.map"_s << false << castleMap();
        // Floor 2's file opens the map from its floor-1 file.
        QTest::newRow("demo_2 opens demo") << u"demo_2.map"_s << false << demoMap();
        QTest::newRow("castle dropped") << u"castle.map"_s << true << castleMap();
        QTest::newRow("demo dropped") << u"demo.map"_s << true << demoMap();
        QTest::newRow("dropped castle_2 opens castle") << u"castle_2.map"_s << true << castleMap();
    }
    void openLoadsFloorsTabsAndWarps()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, dropped);
        QFETCH(MapData, expected);
        const QStringList fixtures{u"demo.map"_s, u"demo_2.map"_s, u"castle.map"_s,
                                   u"castle_2.map"_s};
        QVERIFY(QDir(mScratch->path()).mkdir(u"my.maps"_s));
        QVERIFY(copyFixtures(mScratch->path(), fixtures));
        QVERIFY(copyFixtures(at(u"my.maps"_s), fixtures));
        Editor editor;
        editor.fillWith(QString(), ToolBoxState::Hidden);
        QVERIFY(editor.play(u"mode:2"_s));
        editor.window.floorTabs()->setCurrentIndex(1);
        QCOMPARE(editor.session.currentFloor(), 2);
        // First start: nothing to choose yet.
        QVERIFY(!editor.window.fileActions()->recentMenu()->isEnabled());
        editor.prompter.files = QStringList{at(chosen)};

        if (dropped)
            QVERIFY(editor.dropFile(at(chosen)));
        else
            editor.trigger(Open);

        const QString base = MapFileName::basePathOf(at(QString(chosen).remove(u"_2"_s)));
        // A drop opens the map once it is over.
        QTRY_COMPARE(editor.session.document().fileName(), base);
        QCOMPARE(editor.prompter.messages, QStringList());
        QCOMPARE(editor.prompter.fileDialogs.size(), dropped ? 0 : 1);
        QVERIFY(editor.session.map() == expected);
        QCOMPARE(editor.recentMaps.files(), QStringList{base + u".map"_s});
        QVERIFY(editor.window.fileActions()->recentMenu()->isEnabled());
        QCOMPARE(editor.tabCaptions(), (QStringList{u"１階"_s, u"2階"_s})); // both maps
        QCOMPARE(editor.window.floorTabs()->currentIndex(), 0);
        QCOMPARE(editor.session.currentFloor(), 1);

        // The reset ran: map editing with option 1 and its check mark.
        QCOMPARE(editor.session.editMode(), int(EditorSession::ChipMode));
        QCOMPARE(editor.session.toolBox().mode(), int(ToolBoxState::Shown));
        QVERIFY(editor.action(ShownOption)->isChecked());
        QVERIFY(editor.window.toolWindow()->isVisible());

        const int pairs = expected.warpCount();
        QVERIFY(!editor.marker(2 * pairs + 1));
        for (int marker = 1; marker <= 2 * pairs; ++marker) {
            QVERIFY2(editor.marker(marker), qPrintable(QString::number(marker)));
            QVERIFY(!editor.marker(marker)->isVisible()); // shown in warp mode only
        }
        // In warp mode a pair's source marker stands on its cell on its floor.
        QVERIFY(editor.play(u"mode:3"_s));
        const WarpRecord &first = expected.warp(1);
        QCOMPARE(int(first.srcFloor), 1);
        QVERIFY(editor.marker(1)->isVisible());
        QCOMPARE(editor.marker(1)->pos(), BoardPainter::cellRect(first.srcX, first.srcY).topLeft());
        QCOMPARE(editor.marker(2)->isVisible(), first.dstFloor == 1);

        // A floor without a name shows the file name in the caption.
        const QString firstName = expected.floorName(1);
        QCOMPARE(editor.caption(), captionWith(firstName.isEmpty() ? base + u".map"_s : firstName));
        editor.window.floorTabs()->setCurrentIndex(1);
        QCOMPARE(editor.caption(), captionWith(base + u".map"_s));
    }

    void openOfFaultyFileKeepsTheMap_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file")
            << QByteArray()
            << QStringLiteral("マップを読み込めませんでした。\r\n"
                              "ファイルが見つかりません。\r\n"
                              "ファイル：<file>\r\nError No.53\r\n<0行目>");
        QTest::newRow("too few grid lines")
            << QByteArray("S_\r\n\r\n\r\n")
            << QStringLiteral("これはQ:zKのマップファイルではありません。\r\nError No.62\r\n<4行目>"
                              "\r\nファイル：<file>（4行目）");
        QTest::newRow("branch row out of range")
            << emptyGrid() + fileLines({"*BRANCH", "5,20,1,0,2,3", "*END"})
            << QStringLiteral("ファイル内に不正なデータが入っています。\r\n<18行目>\r\n"
                              "ファイル：<file>（18行目）");
    }
    void openOfFaultyFileKeepsTheMap()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        const QString chosen = at(u"faulty.map"_s);
        if (!content.isEmpty())
            QVERIFY(writeFile(chosen, content));
        Editor editor;
        const QString oldName = at(u"old"_s);
        editor.fillWith(oldName, ToolBoxState::Hidden);
        editor.document.layChip(5, 5, 1, u"34_G_"_s);
        const MapData before = editor.session.map();
        const int steps = editor.document.undoStack().count();
        const QString caption = editor.caption();
        editor.prompter.files = QStringList{chosen};
        // The map has unsaved changes: the open command first asks about them.
        editor.prompter.unsavedAnswers = {Prompter::UnsavedAnswer::Discard};

        editor.trigger(Open);

        QCOMPARE(
            editor.prompter.messages,
            QStringList{u"読み込みに失敗しました。|"_s +
                        QString(message).replace(u"<file>"_s, QDir::toNativeSeparators(chosen))});
        QCOMPARE(editor.prompter.messageIcons, QList<Prompter::Icon>{Prompter::Icon::Warning});
        QVERIFY(editor.session.map() == before);
        QCOMPARE(editor.document.undoStack().count(), steps);
        QVERIFY(editor.document.isModified());
        QCOMPARE(editor.window.floorTabs()->count(), before.floorCount());
        QCOMPARE(editor.caption(), caption);
        QCOMPARE(editor.session.toolBox().mode(), ToolBoxState::Hidden);

        // Still named: the next overwrite writes without asking.
        editor.trigger(Overwrite);
        QCOMPARE(editor.prompter.fileDialogs.size(), 1);
        QVERIFY(QFile::exists(oldName + u".map"_s));
    }

    void openWarnsOfDroppedWarps_data()
    {
        QTest::addColumn<QList<QByteArray>>("floors");
        QTest::addColumn<bool>("warned");
        const QByteArray full = warpFile(79);
        QTest::newRow("79 pairs") << QList<QByteArray>{full} << false;
        QTest::newRow("80 pairs on one floor") << QList<QByteArray>{warpFile(80)} << true;
        // Two dropped pairs still give one warning.
        QTest::newRow("80th and 81st pairs in a transport section")
            << QList<QByteArray>{full, emptyGrid() + fileLines({"*TRANSPORT", "1,1,1,2,2",
                                                                "3,3,1,4,4", "*END"})}
            << true;
    }
    void openWarnsOfDroppedWarps()
    {
        QFETCH(QList<QByteArray>, floors);
        QFETCH(bool, warned);
        const QString base = at(u"many"_s);
        QVERIFY(writeFloorFiles(base, floors));
        Editor editor;
        editor.prompter.files = QStringList{base + u".map"_s};

        editor.trigger(Open);

        const QStringList warning{QStringLiteral(
            "Q:zK Editor|ワープ数が79を超えたため、読み込まれなかったワープがあります。")};
        QCOMPARE(editor.prompter.messages, warned ? warning : QStringList());
        if (warned)
            QCOMPARE(editor.prompter.messageIcons, QList<Prompter::Icon>{Prompter::Icon::Warning});
        // The load still succeeds with the first 79 pairs in reading order.
        const MapData &map = editor.session.map();
        QCOMPARE(editor.session.document().fileName(), base);
        QCOMPARE(map.floorCount(), int(floors.size()));
        QCOMPARE(map.warpCount(), MapData::MaxWarps);
        QCOMPARE(map.freePairNumbers(), QStringList());
        const WarpRecord last{7, 4, 1, 7, 12, 1}; // entry 79: x 78 % 24 + 1, y 78 / 24 + 1
        QVERIFY(map.warp(MapData::MaxWarps) == last);
        QVERIFY(editor.marker(2 * MapData::MaxWarps));
        QVERIFY(!editor.marker(2 * MapData::MaxWarps + 1));
    }

    void fileDialogWritesJapanese_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::newRow("size") << u"castle.map"_s << 1 << u"852 バイト"_s;
        QTest::newRow("date") << u"castle.map"_s << 3 << u"2026/12/07 9:05"_s;
        QTest::newRow("type of a map") << u"castle.map"_s << 2 << u"map ファイル"_s;
        QTest::newRow("type of a folder") << u"maps"_s << 2 << u"フォルダー"_s;
    }
    void fileDialogWritesJapanese()
    {
        QFETCH(QString, entry);
        QFETCH(int, column);
        QFETCH(QString, text);
        // As the editor starts, in a system whose language is not Japanese.
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        QVERIFY(QDir().mkdir(at(u"maps"_s)));
        QFile file(at(u"castle.map"_s));
        QVERIFY(writeFile(file.fileName(), QByteArray(852, 'x')) &&
                file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate(2026, 12, 7), QTime(9, 5)),
                                 QFileDevice::FileModificationTime));
        file.close();

        QFileDialog dialog(nullptr, QString(), mScratch->path());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        FileDetailsModel::install(dialog);
        dialog.setViewMode(QFileDialog::Detail);
        dialog.show();
        auto *details = dialog.findChild<QTreeView *>(u"treeView"_s);
        QVERIFY(details);
        QModelIndex name;
        const auto find = [&] {
            const QAbstractItemModel *model = details->model();
            for (int row = 0; row < model->rowCount(details->rootIndex()); ++row)
                if ((name = model->index(row, 0, details->rootIndex())).data() == entry)
                    return true;
            return false;
        };
        QTRY_VERIFY(find());
        QTRY_COMPARE(name.siblingAtColumn(column).data().toString(), text);
        // A text that comes after the rows were laid out is fitted a moment later.
        QTRY_VERIFY(details->header()->sectionSize(column) >=
                    details->sizeHintForIndex(name.siblingAtColumn(column)).width());
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
