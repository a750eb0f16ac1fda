#include "mapfile/cellgroups.h"
#include "mapfile/mapfilename.h"
#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"

#include "mapfiletestmaps.h"

#include <QDir>
#include <QList>
#include <QPoint>
#include <QTemporaryDir>
#include <QTest>

#include <system_error>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(MapFault::Text)

namespace {

using Cells = QList<QPoint>;

QStringList folderEntries(const QString &path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

MapData mapWithFloors(int floors)
{
    MapData map = MapData::resetMap();
    map.setFloorCount(floors);
    for (int floor = 1; floor <= floors; ++floor)
        map.setCell(floor, 1, floor, u"01_[]"_s);
    return map;
}

} // namespace

class TestMapFileWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fileNames_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<int>("floor");
        QTest::addColumn<QString>("path");
        QTest::newRow("floor 1") << "C:\\maps\\demo" << 1 << "C:\\maps\\demo.map";
        QTest::newRow("floor 2") << "C:\\maps\\demo" << 2 << "C:\\maps\\demo_2.map";
        QTest::newRow("floor 9") << "/m/castle" << 9 << "/m/castle_9.map";
    }
    void fileNames()
    {
        QFETCH(QString, base);
        QFETCH(int, floor);
        QFETCH(QString, path);
        QCOMPARE(MapFileName::floorFilePath(base, floor), path);
        if (floor == 1)
            QCOMPARE(MapFileName::basePathOf(path), base);
        // A dot in a folder name is not an extension.
        QCOMPARE(MapFileName::basePathOf(u"/a.b/castle"_s), u"/a.b/castle"_s);
    }

    void encodesFixtures_data()
    {
        QTest::addColumn<MapData>("map");
        QTest::addColumn<int>("floor");
        QTest::addColumn<QString>("fixture");
        QTest::newRow("worked example, floor 1") << demoMap() << 1 << "demo.map";
        QTest::newRow("worked example, floor 2") << demoMap() << 2 << "demo_2.map";
        QTest::newRow("empty floor") << MapData::resetMap() << 1 << "empty.map";
        QTest::newRow("every section") << castleMap() << 1 << "castle.map";
        QTest::newRow("way back") << castleMap() << 2 << "castle_2.map";
    }
    void encodesFixtures()
    {
        QFETCH(MapData, map);
        QFETCH(int, floor);
        QFETCH(QString, fixture);
        const EncodedFloor encoded = MapFileWriter::encodeFloor(map, floor);
        QVERIFY(!encoded.fault);
        const QByteArray expected = mapFixture(fixture);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(encoded.bytes, expected);
        if (fixture == QLatin1String("empty.map"))
            QCOMPARE(encoded.bytes.count("\r\n"), 22);
    }

    void writesOnlyDefinedPairsAndEveryBranch()
    {
        MapData map = mapWithFloors(2);
        map.setWarp(1, {1, 1, 1, 2, 2, 0}); // never completed
        map.setWarp(7, {3, 3, 2, 6, 6, 1}); // numbers need not be consecutive
        map.setWarp(9, {3, 3, 2, 7, 7, 2});
        map.setBranch(24, 16, 2, u"1230"_s); // on an empty cell

        const QByteArray floor1 = MapFileWriter::encodeFloor(map, 1).bytes;
        QVERIFY(floor1.contains("*WARP\r\n*TRANSPORT\r\n*TERMINAL\r\n"));
        const QByteArray floor2 = MapFileWriter::encodeFloor(map, 2).bytes;
        QVERIFY(floor2.contains("*BRANCH\r\n24,16,1,0,2,3\r\n*WARP\r\n3,3,7,7\r\n"
                                "*TRANSPORT\r\n3,3,1,6,6\r\n*TERMINAL\r\n"));
    }

    void textBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("control codes alone")
            << u"\x1a\x1c\x7f"_s << QByteArray("\x1a\x1c\x7f") << u"\x1a\x1c\x7f"_s;
        QTest::newRow("control codes beside kana")
            << u"あ\x1a\x1c\x7f"_s << QByteArray("\x82\xa0\x1a\x1c\x7f") << u"あ\x1a\x1c\x7f"_s;
        QTest::newRow("backslash and tilde beside kanji")
            << u"城\\~"_s << QByteArray("\x8f\xe9\\~") << u"城\\~"_s;
        QTest::newRow("half-width katakana") << u"ｱｲ"_s << QByteArray("\xb1\xb2") << u"ｱｲ"_s;
        QTest::newRow("yen sign and overline as Windows writes them")
            << u"¥100‾城"_s << QByteArray("\\100~\x8f\xe9") << u"\\100~城"_s;
    }
    // The comment goes to the file byte for byte and comes back as the file's characters.
    void textBytes()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        MapData map = MapData::resetMap();
        map.setFloorEndText(1, text);
        const QByteArray file = MapFileWriter::encodeFloor(map, 1).bytes;
        QVERIFY(file.endsWith("*END\r\n" + bytes + "\r\n"));
        QTEST(MapFileReader::loadFromMemory({file}).map.floorEndText(1), "readBack");
    }

    void cellGroups_data()
    {
        QTest::addColumn<int>("floor");
        QTest::addColumn<Cells>("chips");
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<Cells>("recorded");

        const QPoint noStart;
        QTest::newRow("empty floor") << 2 << Cells{} << noStart << Cells{};
        QTest::newRow("two islands in numbering order")
            << 2 << Cells{{10, 2}, {10, 3}, {3, 8}, {4, 8}} << noStart << Cells{{3, 8}, {10, 2}};
        QTest::newRow("merge keeps the later number")
            << 2 << Cells{{1, 1}, {2, 1}, {3, 1}, {3, 2}, {2, 3}, {3, 3}} << noStart
            << Cells{{2, 3}};
        QTest::newRow("merge into the earlier number")
            << 2 << Cells{{1, 1}, {1, 2}, {1, 3}, {2, 3}, {3, 3}, {3, 2}, {3, 1}} << noStart
            << Cells{{1, 1}};
        QTest::newRow("start group left out on floor 1")
            << 1 << Cells{{2, 1}, {5, 5}} << QPoint(1, 1) << Cells{{5, 5}};
        QTest::newRow("start group kept on floor 2")
            << 2 << Cells{{2, 1}, {5, 5}} << QPoint(1, 1) << Cells{{1, 1}, {5, 5}};
        QTest::newRow("lowest rightmost start wins")
            << 1 << Cells{{1, 1}, {2, 1}} << QPoint(10, 10) << Cells{{1, 1}};

        Cells full;
        Cells checkerboard;
        for (int x = 1; x <= MapData::Width; ++x) {
            for (int y = 1; y <= MapData::Height; ++y) {
                full.append({x, y});
                if ((x + y) % 2 == 0)
                    checkerboard.append({x, y});
            }
        }
        QTest::newRow("full board") << 2 << full << noStart << Cells{{1, 1}};
        QTest::newRow("checkerboard, 192 groups") << 2 << checkerboard << noStart << checkerboard;
    }
    void cellGroups()
    {
        QFETCH(int, floor);
        QFETCH(Cells, chips);
        QFETCH(QPoint, start);

        MapData map = MapData::resetMap();
        map.setFloorCount(2);
        for (const QPoint &cell : chips)
            map.setCell(cell.x(), cell.y(), floor, u"01_[]"_s);
        if (!start.isNull()) {
            // The same start stands on floor 1 in every row: only floor 1 leaves its group out.
            map.setCell(start.x(), start.y(), floor, CellString::start());
            map.setCell(1, 1, 1, CellString::start());
        }
        QTEST(CellGroups::terminalCells(map, floor), "recorded");
    }

    void savesEveryFloorUnderBasePath()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString base = dir.filePath(u"demo"_s);
        QVERIFY(MapFileWriter::save(demoMap(), base).ok());
        QCOMPARE(folderEntries(dir.path()), (QStringList{u"demo.map"_s, u"demo_2.map"_s}));
        QCOMPARE(readFile(base + u".map"_s), mapFixture(u"demo.map"_s));
        QCOMPARE(readFile(base + u"_2.map"_s), mapFixture(u"demo_2.map"_s));
    }

    void removesStaleHigherFloors()
    {
        QTemporaryDir dir;
        const QString base = dir.filePath(u"castle"_s);
        QVERIFY(MapFileWriter::save(mapWithFloors(5), base).ok());
        QVERIFY(writeFile(base + u"_10.map"_s, "not a floor"));

        const MapSaveResult result = MapFileWriter::save(mapWithFloors(2), base);
        QVERIFY(result.ok());
        QVERIFY(result.staleFilesLeft.isEmpty());
        // base_10.map is never read as a floor, so it is not ours to remove.
        QCOMPARE(folderEntries(dir.path()),
                 (QStringList{u"castle.map"_s, u"castle_10.map"_s, u"castle_2.map"_s}));
    }

    void failedSaveLeavesFilesAsTheyWere_data()
    {
        QTest::addColumn<QString>("folderInTheWay");
        QTest::addColumn<QString>("baseName");
        QTest::addColumn<QString>("failingFile");
        QTest::addColumn<QString>("why");
        QTest::newRow("a folder where floor 4 goes")
            << u"old_4.map"_s << u"old"_s << u"old_4.map"_s << u"同じ名前のフォルダがあります。"_s;
        QTest::newRow("folder of the base missing")
            << QString() << u"missing/old"_s << u"missing/old.map"_s
            << u"フォルダが見つかりません。"_s;
    }
    void failedSaveLeavesFilesAsTheyWere()
    {
        QFETCH(QString, folderInTheWay);
        QFETCH(QString, baseName);
        QFETCH(QString, failingFile);
        QFETCH(QString, why);

        QTemporaryDir dir;
        const QString oldBase = dir.filePath(u"old"_s);
        QVERIFY(MapFileWriter::save(castleMap(), oldBase).ok());
        QVERIFY(writeFile(oldBase + u"_3.map"_s, "third floor\r\n"));
        if (!folderInTheWay.isEmpty())
            QVERIFY(QDir(dir.path()).mkdir(folderInTheWay));
        const QStringList before = folderEntries(dir.path());

        const MapSaveResult result = MapFileWriter::save(mapWithFloors(4), dir.filePath(baseName));
        QVERIFY(result.fault);
        QCOMPARE(result.fault->errorNumber, 75);
        QCOMPARE(result.fault->title, u"Error No.75"_s);
        QVERIFY2(result.fault->message.contains(why), qPrintable(result.fault->message));
        QVERIFY2(
            result.fault->message.contains(QDir::toNativeSeparators(dir.filePath(failingFile))),
            qPrintable(result.fault->message));

        QCOMPARE(folderEntries(dir.path()), before);
        QCOMPARE(readFile(oldBase + u".map"_s), mapFixture(u"castle.map"_s));
        QCOMPARE(readFile(oldBase + u"_2.map"_s), mapFixture(u"castle_2.map"_s));
        QCOMPARE(readFile(oldBase + u"_3.map"_s), QByteArray("third floor\r\n"));
    }

    // The faults a real folder cannot be made to give (the suite may run as root, and needs no
    // full disk or read-only mount) are told by the errno value the failed call left.
    void fileFaultSaysWhyAndWhere_data()
    {
        QTest::addColumn<QString>("file"); // inside a fresh folder
        QTest::addColumn<bool>("fileIsFolder");
        QTest::addColumn<int>("systemError");
        QTest::addColumn<QString>("why");
        const auto errc = [](std::errc e) { return int(e); };
        QTest::newRow("no such folder")
            << u"gone/map.map"_s << false << errc(std::errc::no_such_file_or_directory)
            << u"フォルダが見つかりません。"_s;
        QTest::newRow("permission denied")
            << u"map.map"_s << false << errc(std::errc::permission_denied)
            << u"アクセスが拒否されました（アクセス権がありません）。"_s;
        QTest::newRow("not permitted")
            << u"map.map"_s << false << errc(std::errc::operation_not_permitted)
            << u"アクセスが拒否されました（アクセス権がありません）。"_s;
        QTest::newRow("disk full") << u"map.map"_s << false << errc(std::errc::no_space_on_device)
                                   << u"ディスクの空き容量が足りません。"_s;
        QTest::newRow("a folder where the file goes")
            << u"map.map"_s << true << errc(std::errc::is_a_directory)
            << u"同じ名前のフォルダがあります。"_s;
        QTest::newRow("read-only file system")
            << u"map.map"_s << false << errc(std::errc::read_only_file_system)
            << u"読み取り専用のドライブには書き込めません。"_s;
        QTest::newRow("anything else: the system's words")
            << u"map.map"_s << false << errc(std::errc::io_error) << u"Input/output error"_s;
    }
    void fileFaultSaysWhyAndWhere()
    {
        QFETCH(QString, file);
        QFETCH(bool, fileIsFolder);
        QFETCH(int, systemError);
        QFETCH(QString, why);
        QTemporaryDir dir;
        const QString path = dir.filePath(file);
        if (fileIsFolder)
            QVERIFY(QDir(dir.path()).mkdir(file));

        const MapFault fault = MapFault::saveFileFailure(MapError::AccessError, path, systemError,
                                                         u"Input/output error"_s);
        QCOMPARE(fault.title, u"Error No.75"_s);
        QCOMPARE(fault.message, u"マップを保存できませんでした。\r\n"_s + why +
                                    u"\r\nファイル："_s + QDir::toNativeSeparators(path));
    }

    void refusesUnencodableText_data()
    {
        QTest::addColumn<MapFault::Text>("what");
        QTest::addColumn<QString>("text");
        using T = MapFault::Text;
        QTest::newRow("name, e acute") << T::Name << u"Caf\u00e9"_s;
        QTest::newRow("background, emoji")
            << T::Background << QString::fromUtf8("img\\\xF0\x9F\x98\x80.bmp");
        QTest::newRow("comment, en dash") << T::EndText << u"a\r\n\u2013"_s;
        QTest::newRow("name, lone surrogate") << T::Name << QString(QChar(0xD800));
    }
    void refusesUnencodableText()
    {
        QFETCH(MapFault::Text, what);
        QFETCH(QString, text);

        QTemporaryDir dir;
        const QString base = dir.filePath(u"map"_s);
        MapData map = mapWithFloors(3);
        QVERIFY(MapFileWriter::save(map, base).ok());
        const QByteArray oldFloor1 = readFile(base + u".map"_s);

        map.setCell(5, 5, 1, CellString::goal());
        const auto set = what == MapFault::Text::Name         ? &MapData::setFloorName
                         : what == MapFault::Text::Background ? &MapData::setFloorBackground
                                                              : &MapData::setFloorEndText;
        (map.*set)(2, text);
        const MapSaveResult result = MapFileWriter::save(map, base);
        QVERIFY(result.fault);
        QCOMPARE(result.fault->errorNumber, 1002);
        QCOMPARE(result.fault->floor, 2);
        QCOMPARE(result.fault->text, what);
        QVERIFY(result.fault->message.startsWith(u"2階の"_s));
        QCOMPARE(readFile(base + u".map"_s), oldFloor1);
        QCOMPARE(folderEntries(dir.path()),
                 (QStringList{u"map.map"_s, u"map_2.map"_s, u"map_3.map"_s}));
    }
};

QTEST_GUILESS_MAIN(TestMapFileWriter)
#include "tst_mapfilewriter.moc"
