#include "codepage932bytes.h"
#include "model/chipdescriptions.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray cp932(const QString &text)
{
    return codePage932Bytes(text);
}

// n unquoted items "d0".."d(n-1)", one per line.
QString numberedItems(int count)
{
    QString text;
    for (int k = 0; k < count; ++k)
        text += QStringLiteral("d%1\r\n").arg(k);
    return text;
}

} // namespace

class TestChipDescriptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
    void tooFewItemsFail_data();
    void tooFewItemsFail();
    void missingFileIsAWarningOnly();
    void locatePrefersProgramFolder();
    void describeReplacesFirstMark_data();
    void describeReplacesFirstMark();
};

void TestChipDescriptions::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("chip");
    QTest::addColumn<QString>("description");

    QTest::newRow("one per line") << numberedItems(49) << 48 << QStringLiteral("d48");
    QTest::newRow("extra items ignored") << numberedItems(60) << 48 << QStringLiteral("d48");
    QTest::newRow("leading blanks skipped")
        << QStringLiteral("   \tfirst\r\n") + numberedItems(48) << 0 << QStringLiteral("first");
    QTest::newRow("quoted keeps commas")
        << QStringLiteral("\"a, b, c\"\r\n") + numberedItems(48) << 0 << QStringLiteral("a, b, c");
    QTest::newRow("quoted keeps later items in place")
        << QStringLiteral("\"a, b\"\r\n") + numberedItems(48) << 1 << QStringLiteral("d0");
    QTest::newRow("unquoted comma shifts items")
        << QStringLiteral("a,b\r\n") + numberedItems(48) << 1 << QStringLiteral("b");
    QTest::newRow("unquoted comma shifts the last one")
        << QStringLiteral("a,b\r\n") + numberedItems(48) << 48 << QStringLiteral("d46");
    QTest::newRow("LF line ends") << numberedItems(49).remove(u'\r') << 12 << QStringLiteral("d12");
    QTest::newRow("no final line end")
        << numberedItems(48) + QStringLiteral("last") << 48 << QStringLiteral("last");
    QTest::newRow("japanese with number mark")
        << numberedItems(16) + QStringLiteral("\"?マス進む\"\r\n") + numberedItems(32) << 16
        << QStringLiteral("?マス進む");
}

void TestChipDescriptions::parse()
{
    QFETCH(QString, text);
    QFETCH(int, chip);
    QFETCH(QString, description);
    ChipDescriptions descriptions;
    const ChipDescriptions::LoadResult result = descriptions.parse(cp932(text));
    QCOMPARE(result.status, ChipDescriptions::Status::Ok);
    QCOMPARE(descriptions.description(chip), description);
}

void TestChipDescriptions::tooFewItemsFail_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("48 items") << numberedItems(48);
    QTest::newRow("empty file") << QString();
    QTest::newRow("49 lines but one quoted pair of lines")
        << QStringLiteral("\"a\r\nb\"\r\n") + numberedItems(47);
}

void TestChipDescriptions::tooFewItemsFail()
{
    QFETCH(QString, text);
    ChipDescriptions descriptions;
    const ChipDescriptions::LoadResult result = descriptions.parse(cp932(text));
    QCOMPARE(result.status, ChipDescriptions::Status::Failed);
    QVERIFY(result.message.startsWith(
        QStringLiteral("Tavolin.datを読み込み中にエラーが発生しました。\r\n")));
    // A failed read leaves no half-filled table behind.
    QCOMPARE(descriptions.description(0), QString());
}

void TestChipDescriptions::missingFileIsAWarningOnly()
{
    QTemporaryDir dir;
    ChipDescriptions descriptions;
    const auto result = descriptions.load(dir.filePath(QStringLiteral("Tavolin.dat")));
    QCOMPARE(result.status, ChipDescriptions::Status::Missing);
    QVERIFY(result.message.startsWith(
        QStringLiteral("Tavolin.datを読み込み中にエラーが発生しました。\r\n")));
    for (int k = 0; k < 49; ++k)
        QCOMPARE(descriptions.description(k), QString());
}

void TestChipDescriptions::locatePrefersProgramFolder()
{
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("bin")));
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("share/qzk-editor")));
    const QString bin = root.filePath(QStringLiteral("bin"));
    const QString installed = root.filePath(QStringLiteral("share/qzk-editor/Tavolin.dat"));
    const QString beside = root.filePath(QStringLiteral("bin/Tavolin.dat"));

    QCOMPARE(ChipDescriptions::locate(bin), beside); // neither exists: report the usual place

    QFile shared(installed);
    QVERIFY(shared.open(QIODevice::WriteOnly));
    shared.close();
    QCOMPARE(ChipDescriptions::locate(bin), installed);

    QFile local(beside);
    QVERIFY(local.open(QIODevice::WriteOnly));
    local.close();
    QCOMPARE(ChipDescriptions::locate(bin), beside);
}

void TestChipDescriptions::describeReplacesFirstMark_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("described");
    QTest::newRow("mark") << QStringLiteral("?マス進む") << QStringLiteral("35マス進む");
    QTest::newRow("only the first mark") << QStringLiteral("a?b?") << QStringLiteral("a35b?");
    QTest::newRow("no mark") << QStringLiteral("道") << QStringLiteral("道");
}

void TestChipDescriptions::describeReplacesFirstMark()
{
    QFETCH(QString, text);
    QFETCH(QString, described);
    ChipDescriptions descriptions;
    const QString file = QStringLiteral("\"") + text + QStringLiteral("\"\r\n") + numberedItems(48);
    QCOMPARE(descriptions.parse(cp932(file)).status, ChipDescriptions::Status::Ok);
    QCOMPARE(descriptions.describe(0, QStringLiteral("35")), described);
}

QTEST_APPLESS_MAIN(TestChipDescriptions)
#include "tst_chipdescriptions.moc"
