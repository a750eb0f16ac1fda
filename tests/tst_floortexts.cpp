#include "mapfile/floortexts.h"

#include <QTest>

class TestFloorTexts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void storableTexts_data();
    void storableTexts();
    void refusedTexts_data();
    void refusedTexts();
    void firstProblemWins();
};

void TestFloorTexts::storableTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("background");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<bool>("backgroundUsed");

    const QString none;
    QTest::newRow("all empty") << none << none << none << true;
    QTest::newRow("japanese texts")
        << QStringLiteral("城の１階「入口」") << QStringLiteral("img\\城.bmp")
        << QStringLiteral("がんばって！") << true;
    QTest::newRow("code page 932 extras")
        << QStringLiteral("①ｱｲｳ～") << QStringLiteral("img\\№1.bmp") << QStringLiteral("髙﨑")
        << true;
    QTest::newRow("yen sign and overline from an input method")
        << QStringLiteral("¥100‾") << QStringLiteral("img\\¥.bmp") << QStringLiteral("‾¥") << true;
    QTest::newRow("star inside a name")
        << QStringLiteral("a*b") << QStringLiteral("img\\*") << none << true;
    QTest::newRow("comment keeps commas, stars and lines")
        << none << none << QStringLiteral("*END\r\n1,2,3\r\n\r\n*NAME") << true;
    // An unused path is not stored, so it cannot be lost.
    QTest::newRow("unused path with comma")
        << QStringLiteral("Hall") << QStringLiteral("a,b") << none << false;
    QTest::newRow("unused path with star") << none << QStringLiteral("*BG") << none << false;
    QTest::newRow("unused path with emoji")
        << none << QStringLiteral("img\\\U0001F600.bmp") << none << false;
}

void TestFloorTexts::storableTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, background);
    QFETCH(QString, comment);
    QFETCH(bool, backgroundUsed);

    const std::optional<QString> problem =
        FloorTexts::problem(name, background, comment, backgroundUsed);
    QVERIFY2(!problem, qPrintable(problem.value_or(QString())));
}

void TestFloorTexts::refusedTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("background");
    QTest::addColumn<QString>("comment");
    // Pieces the message must hold: which text, and what is wrong with it.
    QTest::addColumn<QStringList>("mentions");

    const QString none;
    const QString name = QStringLiteral("マップ名");
    const QString path = QStringLiteral("背景画のパス");
    const QString comment = QStringLiteral("コメント");
    const QString comma = QStringLiteral("「,」");
    const QString star = QStringLiteral("「*」");

    QTest::newRow("name with comma")
        << QStringLiteral("Hall, east") << none << none << QStringList{name, comma};
    QTest::newRow("name is a comma")
        << QStringLiteral(",") << none << none << QStringList{name, comma};
    QTest::newRow("name begins with star")
        << QStringLiteral("*NAME") << none << none << QStringList{name, star};
    QTest::newRow("name with line break") << QStringLiteral("Hall\nEast") << none << none
                                          << QStringList{name, QStringLiteral("改行")};
    QTest::newRow("path with comma")
        << none << QStringLiteral("img\\a,b.bmp") << none << QStringList{path, comma};
    QTest::newRow("path begins with star")
        << none << QStringLiteral("*img\\a.bmp") << none << QStringList{path, star};
    QTest::newRow("path with line break") << none << QStringLiteral("img\\\r\na.bmp") << none
                                          << QStringList{path, QStringLiteral("改行")};
    QTest::newRow("name with hangul")
        << QStringLiteral("1층") << none << none << QStringList{name, QStringLiteral("「층」")};
    QTest::newRow("name with hangul after kanji")
        << QStringLiteral("城の1층") << none << none << QStringList{name, QStringLiteral("「층」")};
    QTest::newRow("name with emoji") << QStringLiteral("Hall \U0001F600") << none << none
                                     << QStringList{name, QStringLiteral("「\U0001F600」")};
    QTest::newRow("path with accent") << none << QStringLiteral("img\\café.bmp") << none
                                      << QStringList{path, QStringLiteral("「é」")};
    QTest::newRow("comment with hangul on its second line")
        << none << none << QStringLiteral("ok\r\n안녕")
        << QStringList{comment, QStringLiteral("「안」")};
    QTest::newRow("comment with a lone surrogate")
        << none << none << QString(QChar(0xD800)) << QStringList{comment, QStringLiteral("U+D800")};
}

void TestFloorTexts::refusedTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, background);
    QFETCH(QString, comment);
    QFETCH(QStringList, mentions);

    const std::optional<QString> problem = FloorTexts::problem(name, background, comment, true);
    QVERIFY(problem);
    for (const QString &piece : mentions)
        QVERIFY2(problem->contains(piece), qPrintable(*problem + u'/' + piece));
}

void TestFloorTexts::firstProblemWins()
{
    // The user fixes one thing at a time, in the order of the dialog's boxes.
    const QString bad = QStringLiteral("a,b");
    const std::optional<QString> nameFirst =
        FloorTexts::problem(bad, bad, QStringLiteral("층"), true);
    QVERIFY(nameFirst && nameFirst->startsWith(QStringLiteral("マップ名")));
    const std::optional<QString> pathNext =
        FloorTexts::problem(QString(), bad, QStringLiteral("층"), true);
    QVERIFY(pathNext && pathNext->startsWith(QStringLiteral("背景画のパス")));
    const std::optional<QString> commentLast =
        FloorTexts::problem(QString(), bad, QStringLiteral("층"), false);
    QVERIFY(commentLast && commentLast->startsWith(QStringLiteral("コメント")));
}

QTEST_GUILESS_MAIN(TestFloorTexts)
#include "tst_floortexts.moc"
