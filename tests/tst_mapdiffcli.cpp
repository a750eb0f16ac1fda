#include "filetestkit.h"
#include "mapfile/mapfilewriter.h"
#include "mapfiletestmaps.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A scratch git repository; repo(args) runs git in it. Its git is empty when git is not
// installed.
struct GitRepo
{
    QString git = QStandardPaths::findExecutable(u"git"_s);
    QTemporaryDir dir;

    ProgramRun operator()(const QStringList &args) const
    {
        // A git of the test's own: no user or system settings.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"HOME"_s, dir.path());
        environment.insert(u"GIT_CONFIG_NOSYSTEM"_s, u"1"_s);
        return runProgram(git, args, environment, {}, dir.path());
    }
    QString filePath(const QString &name) const { return dir.filePath(name); }
    // Made on branch main with an identity of its own and `attributes` as .gitattributes.
    bool init(const QByteArray &attributes) const
    {
        QFile file(filePath(u".gitattributes"_s));
        return (*this)({u"init"_s, u"-q"_s, u"-b"_s, u"main"_s}).exitCode == 0 &&
               (*this)({u"config"_s, u"user.name"_s, u"Map Maker"_s}).exitCode == 0 &&
               (*this)({u"config"_s, u"user.email"_s, u"maker@example.org"_s}).exitCode == 0 &&
               file.open(QIODevice::WriteOnly) && file.write(attributes) == attributes.size();
    }
    // Saved as "meadow" and committed.
    bool commit(const MapData &map, const QString &message) const
    {
        return MapFileWriter::save(map, filePath(u"meadow"_s)).ok() &&
               (*this)({u"add"_s, u"."_s}).exitCode == 0 &&
               (*this)({u"commit"_s, u"-q"_s, u"-m"_s, message}).exitCode == 0;
    }
};

// The map as its files read back: pairs numbered in reading order.
QList<QByteArray> readBack(const MapData &map)
{
    return floorFiles(MapFileReader::loadFromMemory(floorFiles(map)).map);
}

} // namespace

class TestMapDiffCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(mDir.isValid());
        QVERIFY(MapFileWriter::save(meadow(), mDir.filePath(u"same"_s)).ok());
        MapData changed = meadow();
        changed.setCell(5, 3, 1, u"12_+3"_s);
        QVERIFY(MapFileWriter::save(changed, mDir.filePath(u"changed"_s)).ok());
        // Two sides of one row: the ninth cell, and the fifth two ways.
        changed.setCell(9, 3, 1, u"02_DB"_s);
        QVERIFY(MapFileWriter::save(changed, mDir.filePath(u"both"_s)).ok());
        MapData other = meadow();
        other.setCell(9, 3, 1, u"02_DB"_s);
        QVERIFY(MapFileWriter::save(other, mDir.filePath(u"ninth"_s)).ok());
        other.setCell(5, 3, 1, u"41_H_"_s);
        QVERIFY(MapFileWriter::save(other, mDir.filePath(u"twoways"_s)).ok());
        // The same map as another program may write it, its transports listed before its
        // warps: read, its pairs are numbered in another order.
        const QByteArray bytes = readFile(mDir.filePath(u"same.map"_s));
        const qsizetype warps = bytes.indexOf("*WARP\r\n");
        const qsizetype transports = bytes.indexOf("*TRANSPORT\r\n");
        const qsizetype terminals = bytes.indexOf("*TERMINAL\r\n");
        QVERIFY(warps > 0 && transports > warps && terminals > transports);
        QVERIFY(writeFile(mDir.filePath(u"reordered.map"_s),
                          bytes.left(warps) + bytes.mid(transports, terminals - transports) +
                              bytes.mid(warps, transports - warps) + bytes.mid(terminals)));
        QVERIFY(QFile::copy(mDir.filePath(u"same_2.map"_s), mDir.filePath(u"reordered_2.map"_s)));
        QVERIFY(MapFileReader::load(mDir.filePath(u"reordered"_s)).map.warp(1) != meadow().warp(1));
    }

    void exitStatus_data()
    {
        QTest::addColumn<QString>("other");
        QTest::addColumn<QString>("outputFile");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("output");

        QTest::newRow("same") << u"same.map"_s << QString() << 0 << QByteArray();
        QTest::newRow("differ") << u"changed.map"_s << QString() << 1
                                << u"1階(5,3)：普通の道 → 3マス進む\n"_s.toUtf8();
        QTest::newRow("pairs in another order")
            << u"reordered.map"_s << QString() << 0 << QByteArray();
        QTest::newRow("unreadable") << u"missing.map"_s << QString() << 3 << QByteArray();
        QTest::newRow("not written") << u"changed.map"_s << u"/dev/full"_s << 4 << QByteArray();
    }
    void exitStatus()
    {
        QFETCH(QString, other);
        QFETCH(QString, outputFile);
        if (!outputFile.isEmpty() && !QFile::exists(outputFile))
            QSKIP("no /dev/full here");
        const ProgramRun result =
            qzkMap({u"diff"_s, mDir.filePath(u"same.map"_s), mDir.filePath(other)}, outputFile);
        QTEST(result.exitCode, "status");
        QTEST(result.out, "output");
    }

    // The report's fields, apart from the merged map's check, are compared whole.
    void jsonReports_data()
    {
        QTest::addColumn<QStringList>("args"); // after --json, files of the scratch folder
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("report");
        QTest::addColumn<bool>("checked");
        QTest::newRow("diff")
            << QStringList{u"diff"_s, u"same.map"_s, u"changed.map"_s} << 1
            << QByteArray(R"({"same": false, "differences": [{"kind": "cell", "floor": 1, "x": 5,
                "y": 3, "before": "[]", "after": "+3", "text": "1階(5,3)：普通の道 → 3マス進む"}]})")
            << false;
        QTest::newRow("merge")
            << QStringList{u"merge"_s, u"same.map"_s, u"changed.map"_s, u"twoways.map"_s,
                           u"json.map"_s}
            << 1
            << QByteArray(R"({"clean": false, "taken": 1, "conflicts": [{"kind": "cell", "floor": 1,
                "x": 5, "y": 3, "ours": "+3", "theirs": "H_",
                "text": "1階(5,3)：3マス進む（こちら） / 回復（あちら）"}]})")
            << true;
    }
    void jsonReports()
    {
        QFETCH(QStringList, args);
        for (int i = 1; i < args.size(); ++i)
            args[i] = mDir.filePath(args[i]);
        const ProgramRun result = qzkMap(args.mid(0, 1) + QStringList{u"--json"_s} + args.mid(1));
        QTEST(result.exitCode, "status");
        QJsonObject root = QJsonDocument::fromJson(result.out).object();
        QTEST(!root.take(u"check"_s).toObject().value(u"verdict"_s).toString().isEmpty(),
              "checked");
        QFETCH(QByteArray, report);
        QCOMPARE(QJsonDocument(root).toJson(QJsonDocument::Compact),
                 QJsonDocument::fromJson(report).toJson(QJsonDocument::Compact));
    }

    void textconvKeepsLines()
    {
        // CR LF, a lone CR and a lone LF each end a line, as the reader counts them; a byte
        // that is no code page 932 reads as the reader reads it.
        const QString path = mDir.filePath(u"lines.map"_s);
        QVERIFY(writeFile(path, "*NAME\r\n\x82\xCD\x82\xB6\x82\xDC\x82\xE8\rA\nB\x81\r\n"));
        const ProgramRun result = qzkMap({u"textconv"_s, path});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.text(), u"*NAME\nはじまり\nA\nB・\n"_s);
    }

    void gitDiffReadsMaps()
    {
        const GitRepo repo;
        if (repo.git.isEmpty())
            QSKIP("git is not installed (scripts/setup.sh installs it)");
        // The two lines the README gives.
        QVERIFY(repo.init("*.map diff=qzkmap\n"));
        QCOMPARE(repo({u"config"_s, u"diff.qzkmap.textconv"_s,
                       QStringLiteral(QZK_MAP_PROGRAM) + u" textconv"_s})
                     .exitCode,
                 0);

        MapData map = meadow();
        QVERIFY(repo.commit(map, u"meadow"_s));
        map.setCell(5, 3, 1, u"12_+3"_s);
        map.setFloorName(1, u"はじまりの森"_s);
        QVERIFY(MapFileWriter::save(map, repo.filePath(u"meadow"_s)).ok());
        const QString shown = repo({u"diff"_s}).text();
        for (const QString &line : {u"\n-はじまりの草原\n"_s, u"\n+はじまりの森\n"_s,
                                    u"\n+    S_[]+3+2[]W1it[][]DB[][]xm[][]??[][][][]    \n"_s,
                                    u"\n-    S_[][]+2[]W1it[][]DB[][]xm[][]??[][][][]    \n"_s})
            QVERIFY2(shown.contains(line), qPrintable(shown));
        // Without the textconv git sees bytes it cannot show.
        const QString raw = repo({u"diff"_s, u"--no-textconv"_s}).text();
        QVERIFY2(!raw.contains(u"はじまりの森"_s), qPrintable(raw));
    }

    void mergeStatus_data()
    {
        QTest::addColumn<QString>("theirs");
        QTest::addColumn<QString>("out");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("firstLines");
        QTest::addColumn<QString>("merged");

        QTest::newRow("clean")
            << u"ninth.map"_s << u"clean.map"_s << 0
            << u"マージしました：あちらの変更 1 件を取り込み、衝突はありません。\n"
               "マップチェック：\n"_s
            << u"both.map"_s;
        QTest::newRow("conflict")
            << u"twoways.map"_s << u"conflict.map"_s << 1
            << u"1階(5,3)：3マス進む（こちら） / 回復（あちら）\n"
               "マージしました：あちらの変更 1 件を取り込み、衝突が 1 件あります（こちらの内容のままです）。\n"_s
            << u"both.map"_s;
        QTest::newRow("unreadable")
            << u"missing.map"_s << u"none.map"_s << 3 << QString() << QString();
        QTest::newRow("not written")
            << u"ninth.map"_s << u"no/such/folder/out.map"_s << 4 << QString() << QString();
    }
    void mergeStatus()
    {
        QFETCH(QString, theirs);
        QFETCH(QString, out);
        QFETCH(QString, firstLines);
        QFETCH(QString, merged);
        const ProgramRun result =
            qzkMap({u"merge"_s, mDir.filePath(u"same.map"_s), mDir.filePath(u"changed.map"_s),
                    mDir.filePath(theirs), mDir.filePath(out)});
        QTEST(result.exitCode, "status");
        QVERIFY2(result.text().startsWith(firstLines), result.out.constData());
        if (merged.isEmpty())
            return;
        const MapLoadResult written = MapFileReader::load(mDir.filePath(out).chopped(4));
        QVERIFY(written.ok());
        QCOMPARE(floorFiles(written.map),
                 floorFiles(MapFileReader::load(mDir.filePath(merged).chopped(4)).map));
    }

    void gitMergesThroughDriver()
    {
        const GitRepo repo;
        if (repo.git.isEmpty())
            QSKIP("git is not installed (scripts/setup.sh installs it)");
        QVERIFY(repo.init("*.map merge=qzkmap\n"));
        QVERIFY(repo.commit(meadow(), u"meadow"_s));
        QCOMPARE(repo({u"checkout"_s, u"-q"_s, u"-b"_s, u"theirs"_s}).exitCode, 0);
        MapData theirs = meadow();
        theirs.setCell(9, 3, 1, u"02_DB"_s);
        theirs.setWarp(5, {2, 2, 2, 4, 4, 2});
        QVERIFY(repo.commit(theirs, u"ninth cell, a pair"_s));
        QCOMPARE(repo({u"checkout"_s, u"-q"_s, u"main"_s}).exitCode, 0);
        MapData ours = meadow();
        ours.setCell(5, 3, 1, u"12_+3"_s);
        ours.setWarp(5, {5, 5, 2, 6, 6, 2});
        QVERIFY(repo.commit(ours, u"fifth cell, another pair"_s));

        // Both changed row 3 of floor 1 and added a pair to floor 2's file: git alone gives up.
        QCOMPARE(repo({u"merge"_s, u"-q"_s, u"theirs"_s}).exitCode, 1);
        QCOMPARE(repo({u"merge"_s, u"--abort"_s}).exitCode, 0);

        QCOMPARE(repo({u"config"_s, u"merge.qzkmap.driver"_s,
                       QStringLiteral(QZK_MAP_PROGRAM) + u" merge-file %O %A %B"_s})
                     .exitCode,
                 0);
        QCOMPARE(repo({u"merge"_s, u"-q"_s, u"--no-edit"_s, u"theirs"_s}).exitCode, 0);
        MapData expected = ours;
        expected.setCell(9, 3, 1, u"02_DB"_s);
        expected.setWarp(6, {2, 2, 2, 4, 4, 2});
        const MapLoadResult merged = MapFileReader::load(repo.filePath(u"meadow"_s));
        QVERIFY(merged.ok());
        QCOMPARE(floorFiles(merged.map), readBack(expected));
    }

private:
    QTemporaryDir mDir;
};

QTEST_GUILESS_MAIN(TestMapDiffCli)
#include "tst_mapdiffcli.moc"
