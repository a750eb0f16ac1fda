#include "mapfiletestmaps.h"

#include "board/mapcheck.h"
#include "mapfile/mapfilewriter.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run qzkMap(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(QZK_MAP_PROGRAM), args);
    Run run;
    if (!process.waitForFinished(30000))
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

class TestMapFileCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void resaveKeepsBytes();
    void resaveReportsFault();
    void check_data();
    void check();
    void checkOfUnreadableMap();
    void arguments_data();
    void arguments();
};

void TestMapFileCli::resaveKeepsBytes()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(u"copy"_s);
    const Run run = qzkMap({u"resave"_s, mapFixturePath(u"castle.map"_s), out});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());
    QCOMPARE(readFile(out + u".map"_s), mapFixture(u"castle.map"_s));
    QCOMPARE(readFile(out + u"_2.map"_s), mapFixture(u"castle_2.map"_s));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

void TestMapFileCli::resaveReportsFault()
{
    QTemporaryDir dir;
    const QString bad = dir.filePath(u"bad.map"_s);
    QVERIFY(writeFile(bad, QByteArray(48, ' ').append("\r\n").repeated(10)));

    const Run run = qzkMap({u"resave"_s, bad, dir.filePath(u"out"_s)});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(
        run.err.contains(u"これはQ:zKのマップファイルではありません。\nError No.62\n<11行目>"_s),
        qPrintable(run.err));
    QVERIFY(!QFile::exists(dir.filePath(u"out.map"_s)));
}

void TestMapFileCli::check_data()
{
    QTest::addColumn<QStringList>("cells"); // "x,y,floor,cell"
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("lastLine");
    QTest::newRow("start next to goal")
        << QStringList{u"1,1,1,33_S_"_s, u"2,1,1,34_G_"_s} << 0
        << u"このマップに、特に重大な問題は見つかりませんでした。"_s;
    QTest::newRow("unlinked warp cell")
        << QStringList{u"1,1,1,33_S_"_s, u"2,1,1,34_G_"_s, u"5,7,1,37_W1"_s} << 1
        << u"このマップは、プレイ中にバグる可能性があります。"_s;
    QTest::newRow("no start") << QStringList{u"2,1,1,34_G_"_s} << 2
                              << u"このマップをクリアすることは不可能です。"_s;
}

void TestMapFileCli::check()
{
    QFETCH(QStringList, cells);
    QFETCH(int, exitCode);
    QFETCH(QString, lastLine);
    QTemporaryDir dir;
    MapData map = MapData::resetMap();
    for (const QString &cell : cells) {
        const QStringList f = cell.split(u',');
        map.setCell(f[0].toInt(), f[1].toInt(), f[2].toInt(), f[3]);
    }
    const QString base = dir.filePath(u"checked"_s);
    QVERIFY(!MapFileWriter::save(map, base).fault);

    const Run run = qzkMap({u"check"_s, base + u".map"_s});
    QCOMPARE(run.exitCode, exitCode);
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines, MapCheck::run(map).lines);
    QCOMPARE(lines.last(), lastLine);
}

void TestMapFileCli::checkOfUnreadableMap()
{
    QTemporaryDir dir;
    const Run run = qzkMap({u"check"_s, dir.filePath(u"missing.map"_s)});
    QCOMPARE(run.exitCode, 3);
    QVERIFY2(run.err.contains(u"<0行目>"_s), qPrintable(run.err));
    QCOMPARE(run.out, QString());
}

void TestMapFileCli::arguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stdoutPart");
    QTest::newRow("help") << QStringList{u"--help"_s} << 0 << u"resave IN.map OUTBASE"_s;
    QTest::newRow("help names check") << QStringList{u"--help"_s} << 0 << u"check IN.map"_s;
    QTest::newRow("no command") << QStringList{} << 64 << QString();
    QTest::newRow("unknown command") << QStringList{u"frobnicate"_s} << 64 << QString();
    QTest::newRow("resave without base") << QStringList{u"resave"_s, u"a.map"_s} << 64 << QString();
    QTest::newRow("resave of a non-map file")
        << QStringList{u"resave"_s, u"a.txt"_s, u"b"_s} << 64 << QString();
    QTest::newRow("check without map") << QStringList{u"check"_s} << 64 << QString();
}

void TestMapFileCli::arguments()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, stdoutPart);
    const Run run = qzkMap(args);
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode != 0)
        QVERIFY(!run.err.isEmpty());
    QVERIFY(run.out.contains(stdoutPart));
}

QTEST_GUILESS_MAIN(TestMapFileCli)
#include "tst_mapfilecli.moc"
