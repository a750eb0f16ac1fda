#include "mapfile/gridcode.h"
#include "mapfile/mapfilename.h"
#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"

#include "mapfiletestmaps.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Files = QList<QByteArray>; // floor 1 first; a null entry: no file for that floor

QByteArray floorWith(const QList<QByteArray> &texts)
{
    return emptyGrid() + fileLines(texts);
}

QByteArray warpEntries(int count, const char *keyword, const char *entry)
{
    QList<QByteArray> texts{keyword};
    for (int i = 0; i < count; ++i)
        texts.append(entry);
    texts.append("*END");
    return floorWith(texts);
}

// Writes the files under a fresh base path and loads them.
MapLoadResult loadFiles(const QTemporaryDir &dir, const Files &files)
{
    const QString base = dir.filePath(u"map"_s);
    if (!writeFloorFiles(base, files))
        qFatal("cannot write a test map");
    return MapFileReader::load(base);
}

// The line naming the floor file; "<dir>" stands for the folder's full path.
QString place(int line, const char *file)
{
    return u"\r\nファイル：<dir>/%1（%2行目）"_s.arg(QLatin1String(file)).arg(line);
}

// fileLine: the line within the file, when it is not the running line.
QString otherFault(int number, int line, int fileLine = 0, const char *file = "map.map")
{
    return u"これはQ:zKのマップファイルではありません。\r\nError No.%1\r\n<%2行目>"_s.arg(number)
               .arg(line) +
           place(fileLine > 0 ? fileLine : line, file);
}

// A file the file system refused; "<file>" stands for the floor-1 file's full path.
QString fileFault(const QString &reason, int number)
{
    return u"マップを読み込めませんでした。\r\n"_s + reason +
           u"\r\nファイル：<file>\r\nError No.%1\r\n<0行目>"_s.arg(number);
}

QString invalidData(int line, int fileLine = 0)
{
    return u"ファイル内に不正なデータが入っています。\r\n<%1行目>"_s.arg(line) +
           place(fileLine > 0 ? fileLine : line, "map.map");
}

} // namespace

class TestMapFileReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void codeToCell_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("cell");
        QTest::newRow("t1 is chip 29") << u"t1"_s << u"29_t1"_s;
        QTest::newRow("t with another digit") << u"t2"_s << u"30_t2"_s;
        QTest::newRow("tX") << u"tX"_s << u"30_tX"_s;
        QTest::newRow("+3 is chip 12") << u"+3"_s << u"12_+3"_s;
        QTest::newRow("+7 keeps its characters") << u"+7"_s << u"16_+7"_s;
        QTest::newRow("+0") << u"+0"_s << u"16_+0"_s;
        QTest::newRow("+ with a letter") << u"+A"_s << u"16_+A"_s;
        QTest::newRow("-1 is chip 18") << u"-1"_s << u"18_-1"_s;
        QTest::newRow("-6 is chip 23") << u"-6"_s << u"23_-6"_s;
        QTest::newRow("-$") << u"-$"_s << u"24_-$"_s;
        QTest::newRow("g with any second") << u"g1"_s << u"32_g1"_s;
        QTest::newRow("across two entries") << u"]D"_s << u"02_]D"_s;
        QTest::newRow("S_G_ boundary") << u"_G"_s << u"34__G"_s;
        QTest::newRow("??") << u"??"_s << u"47_??"_s;
        QTest::newRow("start") << u"S_"_s << u"33_S_"_s;
        QTest::newRow("W5") << u"W5"_s << u"35_W5"_s;
        QTest::newRow("blank") << u"  "_s << u"00_  "_s;
        QTest::newRow("unknown code") << u"ZZ"_s << u"01_ZZ"_s;
        QTest::newRow("lower case is unknown") << u"xM"_s << u"01_xM"_s;
        QTest::newRow("double-width characters") << u"あい"_s << u"01_あい"_s;
        QTest::newRow("empty code") << QString() << u"00_"_s;
    }
    void codeToCell()
    {
        QFETCH(QString, code);
        QTEST(GridCode::cellOf(code), "cell");
    }

    void shortGridLines_data()
    {
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<int>("x");
        QTest::addColumn<QString>("cell");
        QTest::newRow("four characters, first cell") << QByteArray("S_[]") << 1 << u"33_S_"_s;
        QTest::newRow("four characters, missing cell") << QByteArray("S_[]") << 3 << u"00_  "_s;
        QTest::newRow("odd length") << QByteArray("S_[") << 2 << u"01_[ "_s;
        QTest::newRow("empty line") << QByteArray() << 24 << u"00_  "_s;
        QTest::newRow("longer line") << QByteArray(48, ' ') + "W1" << 24 << u"00_  "_s;
    }
    void shortGridLines()
    {
        QFETCH(QByteArray, row);
        QFETCH(int, x);
        QFETCH(QString, cell);
        const MapLoadResult result =
            MapFileReader::loadFromMemory({fileLines({row}) + emptyGrid(15)});
        QVERIFY(result.ok());
        QCOMPARE(result.map.cell(x, 1, 1), cell);
    }

    void loadsFixtures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<MapData>("expected");
        QTest::newRow("worked example") << u"demo"_s << demoMap();
        QTest::newRow("every section") << u"castle"_s << castleMap();
    }
    void loadsFixtures()
    {
        QFETCH(QString, name);
        QFETCH(MapData, expected);
        const QString base = mapFixturePath(name);
        const MapLoadResult result = MapFileReader::load(base);
        QVERIFY(result.ok());
        QCOMPARE(result.fileName, base);
        QVERIFY(!result.warpOverflow);
        QVERIFY(result.map == expected);
    }

    void faults_data()
    {
        QTest::addColumn<Files>("files");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("line");

        QTest::newRow("floor-1 file missing")
            << Files{} << fileFault(u"ファイルが見つかりません。"_s, 53) << 0;
        QTest::newRow("fewer than 16 lines") << Files{emptyGrid(10)} << otherFault(62, 11) << 11;
        for (const char *keyword : {"*BRANCH", "*WARP", "*TRANSPORT", "*BG", "*NAME"}) {
            QTest::addRow("ends after %s", keyword)
                << Files{floorWith({keyword})} << otherFault(62, 18) << 18;
        }
        QTest::newRow("ends after branch entries")
            << Files{floorWith({"*BRANCH", "1,1,0,0,0,0"})} << otherFault(62, 19) << 19;
        QTest::newRow("entry cut short")
            << Files{floorWith({"*WARP", "1,1,2"})} << otherFault(62, 18, 19) << 18;
        QTest::newRow("empty line in a section")
            << Files{floorWith({"*BRANCH", "", "*END"})} << invalidData(18) << 18;
        QTest::newRow("branch y 20")
            << Files{floorWith({"*BRANCH", "5,20,0,0,0,0", "*END"})} << invalidData(18) << 18;
        QTest::newRow("branch x 25")
            << Files{floorWith({"*BRANCH", "25,1,0,0,0,0", "*END"})} << invalidData(18) << 18;
        QTest::newRow("branch digit 4")
            << Files{floorWith({"*BRANCH", "1,1,0,0,0,4", "*END"})} << invalidData(18) << 18;
        QTest::newRow("warp x2 0")
            << Files{floorWith({"*WARP", "1,1,0,1", "*END"})} << invalidData(18) << 18;
        QTest::newRow("warp y1 17, second entry")
            << Files{floorWith({"*WARP", "1,1,2,2", "1,17,2,2", "*END"})} << invalidData(19) << 19;
        QTest::newRow("transport floor above the floor count")
            << Files{floorWith({"*TRANSPORT", "1,1,2,1,1", "*END"})} << invalidData(18) << 18;
        QTest::newRow("transport floor 0")
            << Files{floorWith({"*TRANSPORT", "1,1,0,1,1", "*END"}), emptyGrid()} << invalidData(18)
            << 18;
        QTest::newRow("range fault before a later early end")
            << Files{floorWith({"*TRANSPORT", "1,99"})} << invalidData(18) << 18;
        // The entry "1,1" / "2,2" spreads over two lines; its later fields are not counted.
        QTest::newRow("later fields are not lines")
            << Files{floorWith({"*WARP", "1,1", "2,2", "0,1,1,1"})} << invalidData(19, 20) << 19;
        QTest::newRow("rest of a value line is scanned")
            << Files{floorWith({"*BG", "a.bmp,*WARP"})} << otherFault(62, 20, 19) << 20;

        QList<QByteArray> thirtyLines{"*BRANCH"};
        for (int i = 1; i <= 12; ++i)
            thirtyLines.append(QByteArray::number(i) + ",1,0,0,0,0");
        thirtyLines.append("*END");
        QTest::newRow("line 3 of floor 2 after 30 lines")
            << Files{floorWith(thirtyLines), emptyGrid(2)} << otherFault(62, 33, 3, "map_2.map")
            << 33;
    }
    void faults()
    {
        QFETCH(Files, files);
        QFETCH(QString, message);

        QTemporaryDir dir;
        const MapLoadResult result = loadFiles(dir, files);
        QVERIFY(result.fault);
        QCOMPARE(result.fault->message,
                 QString(message)
                     .replace(u"<file>"_s, QDir::toNativeSeparators(dir.filePath(u"map.map"_s)))
                     .replace(u"<dir>/"_s, QDir::toNativeSeparators(dir.path() + u'/')));
        QTEST(result.fault->lineNumber, "line");
        QCOMPARE(result.fault->title, u"読み込みに失敗しました。"_s);
        QCOMPARE(result.fault->kind == MapFault::Kind::InvalidData,
                 message.startsWith(u"ファイル内"_s));
        QVERIFY(result.map == MapData::resetMap());
    }

    void floorFileIsAFolder_data()
    {
        QTest::addColumn<Files>("files");
        QTest::addColumn<int>("folderFloor");
        QTest::addColumn<QString>("message"); // "<dir>" stands for the folder's full path
        const QString fault = u"マップを読み込めませんでした。\r\n同じ名前のフォルダがあります。"
                              u"\r\nファイル：<dir>/%1\r\nError No.75\r\n<%2行目>"_s;
        QTest::newRow("floor 1") << Files{} << 1 << fault.arg(u"map.map"_s).arg(0);
        // Floor 1 alone is read, and its transport to floor 2 is out of range: the folder is
        // named, not that line.
        QTest::newRow("floor 2, which floor 1 leads to")
            << Files{floorWith({"*TRANSPORT", "1,1,2,1,1", "*END"})} << 2
            << fault.arg(u"map_2.map"_s).arg(18);
    }
    void floorFileIsAFolder()
    {
        QFETCH(Files, files);
        QFETCH(int, folderFloor);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QVERIFY(QDir().mkdir(MapFileName::floorFilePath(dir.filePath(u"map"_s), folderFloor)));
        const MapLoadResult result = loadFiles(dir, files);
        QVERIFY(result.fault);
        QCOMPARE(result.fault->message,
                 message.replace(u"<dir>/"_s, QDir::toNativeSeparators(dir.path() + u'/')));
    }

    void undecodableBytesReplaced_data()
    {
        QTest::addColumn<Files>("files");
        QTest::addColumn<QString>("text");   // floor 1's name, end text and first cell
        QTest::addColumn<QString>("places"); // the message's lines naming them, "|" between

        QTest::newRow("stray byte in a name")
            << Files{floorWith({"*NAME", "\x82"})} << u"・||00_  "_s << u"map.map（18行目）"_s;
        QTest::newRow("lead byte before a blank keeps the blank")
            << Files{floorWith({"*END", "\x82 x"})} << u"|・ x|00_  "_s << u"map.map（18行目）"_s;
        // "あ" in UTF-8: a lead/trail pair, then a lead byte without its trail.
        QTest::newRow("comment saved as UTF-8") << Files{floorWith({"*END", "a", "\xe3\x81\x82"})}
                                                << u"|a\r\n縺・|00_  "_s << u"map.map（19行目）"_s;
        QTest::newRow("grid line decoded before its cells")
            << Files{"\xff\xfdS_\r\n" + emptyGrid(15)} << u"||01_・・"_s << u"map.map（1行目）"_s;
        QTest::newRow("each floor file named once with its lines")
            << Files{floorWith({"*END", "\x80", "\xa0"}), emptyGrid(), "\xfd\r\n" + emptyGrid(15)}
            << u"|・\r\n・|00_  "_s << u"map.map（18、19行目）|map_3.map（1行目）"_s;
        const QList<QByteArray> twelve(12, "\x80");
        QTest::newRow("a file's first ten lines named, the rest counted")
            << Files{floorWith(QList<QByteArray>{"*END"} + twelve)}
            << u"|"_s + QStringList(12, u"・"_s).join(u"\r\n"_s) + u"|00_  "_s
            << u"map.map（18、19、20、21、22、23、24、25、26、27行目ほか2行）"_s;
    }
    void undecodableBytesReplaced()
    {
        QFETCH(Files, files);
        QFETCH(QString, places);
        QTemporaryDir dir;
        const MapLoadResult result = loadFiles(dir, files);
        QVERIFY(result.ok());
        QTEST(result.map.floorName(1) + u'|' + result.map.floorEndText(1) + u'|' +
                  result.map.cell(1, 1, 1),
              "text");
        const QStringList lines = result.replacedText().split(u"\r\n"_s);
        const QString prefix = u"|ファイル："_s + QDir::toNativeSeparators(dir.path() + u'/');
        QCOMPARE(lines.mid(1, lines.size() - 2).join(u'|'),
                 QString(u'|' + places).replace(u"|"_s, prefix).mid(1));
        // What replaced them can be stored, so the map saves again.
        QVERIFY(!MapFileWriter::encodeFloor(result.map, 1).fault);
    }

    void accepted_data()
    {
        QTest::addColumn<Files>("files");
        QTest::addColumn<int>("floors");
        QTest::addColumn<int>("warps");
        QTest::addColumn<bool>("overflow");
        QTest::addColumn<QString>("texts"); // cell (5,2)'s branch, floor 1's name and end text

        QTest::newRow("only the grid") << Files{emptyGrid()} << 1 << 0 << false << u"||"_s;
        QTest::newRow("branch digit order") << Files{floorWith({"*BRANCH", "5,2,1,0,2,3", "*END"})}
                                            << 1 << 0 << false << u"1230||"_s;
        QTest::newRow("keyword with a trailing space")
            << Files{floorWith({"*BRANCH ", "5,2,9,9,9,9", "*NAME", "Hall"})} << 1 << 0 << false
            << u"|Hall|"_s;
        QTest::newRow("lower-case keyword")
            << Files{floorWith({"*branch", "5,2,1,0,2,3"})} << 1 << 0 << false << u"||"_s;
        QTest::newRow("ignored keyword, then lines")
            << Files{floorWith({"*TERMINAL", "1,1"})} << 1 << 0 << false << u"||"_s;
        QTest::newRow("name without a line end")
            << Files{emptyGrid() + "*NAME\r\nHall"} << 1 << 0 << false << u"|Hall|"_s;
        QTest::newRow("name up to the comma")
            << Files{floorWith({"*NAME", "Big, Hall"})} << 1 << 0 << false << u"|Big|"_s;
        QTest::newRow("name that is a keyword")
            << Files{floorWith({"*NAME", "*END", "x"})} << 1 << 0 << false << u"||x"_s;
        QTest::newRow("end text: leading empty line dropped, trailing kept")
            << Files{floorWith({"*END", "", "a", "*WARP", ""})} << 1 << 0 << false
            << u"||a\r\n*WARP\r\n"_s;
        QTest::newRow("LF line ends")
            << Files{(QByteArray(48, ' ') + '\n').repeated(16) + "*NAME\nHall\n"} << 1 << 0 << false
            << u"|Hall|"_s;
        QTest::newRow("rounded fields") << Files{floorWith({"*BRANCH", "5.4, 2,0.6,0,2,3", "*END"})}
                                        << 1 << 0 << false << u"1230||"_s;
        QTest::newRow("floor 3 without floor 2")
            << Files{emptyGrid(), QByteArray(), QByteArray("x")} << 1 << 0 << false << u"||"_s;
        QTest::newRow("floor 10 never read")
            << Files(9, emptyGrid()) + Files{"x"} << 9 << 0 << false << u"||"_s;
        QTest::newRow("79 warps") << Files{warpEntries(79, "*WARP", "1,1,2,2")} << 1 << 79 << false
                                  << u"||"_s;
        QTest::newRow("80 warps") << Files{warpEntries(80, "*WARP", "1,1,2,2")} << 1 << 79 << true
                                  << u"||"_s;
        QTest::newRow("80 pairs, the last ones in transport sections")
            << Files{warpEntries(40, "*TRANSPORT", "1,1,2,2,2"),
                     warpEntries(40, "*TRANSPORT", "1,1,1,2,2")}
            << 2 << 79 << true << u"||"_s;
    }
    void accepted()
    {
        QFETCH(Files, files);
        QFETCH(int, floors);
        QFETCH(int, warps);
        QTemporaryDir dir;
        const MapLoadResult result = loadFiles(dir, files);
        QVERIFY2(result.ok(), qPrintable(result.fault ? result.fault->message : QString()));
        QCOMPARE(result.map.floorCount(), floors);
        QCOMPARE(result.map.warpCount(), warps);
        QTEST(result.warpOverflow, "overflow");
        QTEST(result.map.branch(5, 2, 1) + u'|' + result.map.floorName(1) + u'|' +
                  result.map.floorEndText(1),
              "texts");
        QCOMPARE(result.fileName, dir.filePath(u"map"_s));
        if (warps > 0) {
            QCOMPARE(result.map.warp(warps).srcFloor, std::uint8_t(floors));
            QCOMPARE(result.map.freePairNumbers().size(), 79 - warps);
        }
    }
};

QTEST_GUILESS_MAIN(TestMapFileReader)
#include "tst_mapfilereader.moc"
