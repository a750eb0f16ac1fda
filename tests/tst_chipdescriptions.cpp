#include "codepage932bytes.h"
#include "mapfiletestmaps.h"
#include "model/chipdescriptions.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ChipDescriptions::Status)

namespace {

// n unquoted items "d0".."d(n-1)", one per line.
QString numberedItems(int count)
{
    QString text;
    for (int k = 0; k < count; ++k)
        text += u"d%1\r\n"_s.arg(k);
    return text;
}

} // namespace

class TestChipDescriptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("chip");
        QTest::addColumn<QString>("description");

        QTest::newRow("one per line") << numberedItems(49) << 48 << u"d48"_s;
        QTest::newRow("extra items ignored") << numberedItems(60) << 48 << u"d48"_s;
        QTest::newRow("leading blanks skipped")
            << u"   \tfirst\r\n"_s + numberedItems(48) << 0 << u"first"_s;
        QTest::newRow("quoted keeps commas")
            << u"\"a, b, c\"\r\n"_s + numberedItems(48) << 0 << u"a, b, c"_s;
        QTest::newRow("quoted keeps later items in place")
            << u"\"a, b\"\r\n"_s + numberedItems(48) << 1 << u"d0"_s;
        QTest::newRow("unquoted comma shifts items")
            << u"a,b\r\n"_s + numberedItems(48) << 1 << u"b"_s;
        QTest::newRow("unquoted comma shifts the last one")
            << u"a,b\r\n"_s + numberedItems(48) << 48 << u"d46"_s;
        QTest::newRow("LF line ends") << numberedItems(49).remove(u'\r') << 12 << u"d12"_s;
        QTest::newRow("no final line end") << numberedItems(48) + u"last"_s << 48 << u"last"_s;
        QTest::newRow("japanese with number mark")
            << numberedItems(16) + u"\"?マス進む\"\r\n"_s + numberedItems(32) << 16
            << u"?マス進む"_s;
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(int, chip);
        ChipDescriptions descriptions;
        const ChipDescriptions::LoadResult result = descriptions.parse(codePage932Bytes(text));
        QCOMPARE(result.status, ChipDescriptions::Status::Ok);
        QTEST(descriptions.description(chip), "description");
    }

    // A file that is missing or holds too few items leaves no half-filled table behind.
    void unreadFiles_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("text");
        QTest::addColumn<ChipDescriptions::Status>("status");
        using S = ChipDescriptions::Status;
        QTest::newRow("48 items") << true << numberedItems(48) << S::Failed;
        QTest::newRow("empty file") << true << QString() << S::Failed;
        QTest::newRow("49 lines but one quoted pair of lines")
            << true << u"\"a\r\nb\"\r\n"_s + numberedItems(47) << S::Failed;
        QTest::newRow("missing file, a warning only") << false << QString() << S::Missing;
    }
    void unreadFiles()
    {
        QFETCH(bool, exists);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Tavolin.dat"_s);
        QVERIFY(!exists || writeFile(path, codePage932Bytes(text)));
        ChipDescriptions descriptions;
        const ChipDescriptions::LoadResult result = descriptions.load(path);
        QTEST(result.status, "status");
        QVERIFY(
            result.message.startsWith(u"Tavolin.datを読み込み中にエラーが発生しました。\r\n"_s));
        for (int k = 0; k < 49; ++k)
            QCOMPARE(descriptions.description(k), QString());
    }

    // Beside the program first, then the installed one; neither there: the usual place.
    void locatePrefersProgramFolder_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("found");
        const QString beside = u"bin/Tavolin.dat"_s;
        const QString installed = u"share/qzk-editor/Tavolin.dat"_s;
        QTest::newRow("neither") << QStringList() << beside;
        QTest::newRow("installed only") << QStringList{installed} << installed;
        QTest::newRow("both") << QStringList{installed, beside} << beside;
    }
    void locatePrefersProgramFolder()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, found);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(u"bin"_s));
        QVERIFY(QDir(root.path()).mkpath(u"share/qzk-editor"_s));
        for (const QString &name : files)
            QVERIFY(QFile(root.filePath(name)).open(QIODevice::WriteOnly));
        QCOMPARE(ChipDescriptions::locate(root.filePath(u"bin"_s)), root.filePath(found));
    }

    void describeReplacesFirstMark_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("described");
        QTest::newRow("mark") << u"?マス進む"_s << u"35マス進む"_s;
        QTest::newRow("only the first mark") << u"a?b?"_s << u"a35b?"_s;
        QTest::newRow("no mark") << u"道"_s << u"道"_s;
    }
    void describeReplacesFirstMark()
    {
        QFETCH(QString, text);
        ChipDescriptions descriptions;
        const QString file = u"\""_s + text + u"\"\r\n"_s + numberedItems(48);
        QCOMPARE(descriptions.parse(codePage932Bytes(file)).status, ChipDescriptions::Status::Ok);
        QTEST(descriptions.describe(0, u"35"_s), "described");
    }
};

QTEST_APPLESS_MAIN(TestChipDescriptions)
#include "tst_chipdescriptions.moc"
