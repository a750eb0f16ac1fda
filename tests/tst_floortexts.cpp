#include "mapfile/floortexts.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestFloorTexts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void texts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("background");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<bool>("backgroundUsed");
        // The text the message starts with, then the pieces it must hold; none: stored.
        QTest::addColumn<QStringList>("problem");

        const QString none;
        const QStringList stored;
        QTest::newRow("all empty") << none << none << none << true << stored;
        QTest::newRow("japanese texts")
            << u"城の１階「入口」"_s << u"img\\城.bmp"_s << u"がんばって！"_s << true << stored;
        QTest::newRow("code page 932 extras")
            << u"①ｱｲｳ～"_s << u"img\\№1.bmp"_s << u"髙﨑"_s << true << stored;
        QTest::newRow("yen sign and overline from an input method")
            << u"¥100‾"_s << u"img\\¥.bmp"_s << u"‾¥"_s << true << stored;
        QTest::newRow("star inside a name") << u"a*b"_s << u"img\\*"_s << none << true << stored;
        QTest::newRow("comment keeps commas, stars and lines")
            << none << none << u"*END\r\n1,2,3\r\n\r\n*NAME"_s << true << stored;
        // An unused path is not stored, so it cannot be lost.
        QTest::newRow("unused path with comma") << u"Hall"_s << u"a,b"_s << none << false << stored;
        QTest::newRow("unused path with star") << none << u"*BG"_s << none << false << stored;
        QTest::newRow("unused path with emoji")
            << none << u"img\\\U0001F600.bmp"_s << none << false << stored;

        const QString name = u"マップ名"_s;
        const QString path = u"背景画のパス"_s;
        const QString comment = u"コメント"_s;
        const QString comma = u"「,」"_s;
        const QString star = u"「*」"_s;
        QTest::newRow("name with comma")
            << u"Hall, east"_s << none << none << true << QStringList{name, comma};
        QTest::newRow("name is a comma")
            << u","_s << none << none << true << QStringList{name, comma};
        QTest::newRow("name begins with star")
            << u"*NAME"_s << none << none << true << QStringList{name, star};
        QTest::newRow("name with line break")
            << u"Hall\nEast"_s << none << none << true << QStringList{name, u"改行"_s};
        QTest::newRow("path with comma")
            << none << u"img\\a,b.bmp"_s << none << true << QStringList{path, comma};
        QTest::newRow("path begins with star")
            << none << u"*img\\a.bmp"_s << none << true << QStringList{path, star};
        QTest::newRow("path with line break")
            << none << u"img\\\r\na.bmp"_s << none << true << QStringList{path, u"改行"_s};
        QTest::newRow("name with hangul")
            << u"1층"_s << none << none << true << QStringList{name, u"「층」"_s};
        QTest::newRow("name with hangul after kanji")
            << u"城の1층"_s << none << none << true << QStringList{name, u"「층」"_s};
        QTest::newRow("name with emoji") << u"Hall \U0001F600"_s << none << none << true
                                         << QStringList{name, u"「\U0001F600」"_s};
        QTest::newRow("path with accent")
            << none << u"img\\café.bmp"_s << none << true << QStringList{path, u"「é」"_s};
        QTest::newRow("comment with hangul on its second line")
            << none << none << u"ok\r\n안녕"_s << true << QStringList{comment, u"「안」"_s};
        QTest::newRow("comment with a lone surrogate")
            << none << none << QString(QChar(0xD800)) << true << QStringList{comment, u"U+D800"_s};

        // The user fixes one thing at a time, in the order of the dialog's boxes.
        const QString bad = u"a,b"_s;
        QTest::newRow("the name's problem first")
            << bad << bad << u"층"_s << true << QStringList{name};
        QTest::newRow("the path's problem next")
            << none << bad << u"층"_s << true << QStringList{path};
        QTest::newRow("the comment's problem last, the path unused")
            << none << bad << u"층"_s << false << QStringList{comment};
    }
    void texts()
    {
        QFETCH(QString, name);
        QFETCH(QString, background);
        QFETCH(QString, comment);
        QFETCH(bool, backgroundUsed);
        QFETCH(QStringList, problem);

        const std::optional<QString> found =
            FloorTexts::problem(name, background, comment, backgroundUsed);
        if (problem.isEmpty()) {
            QVERIFY2(!found, qPrintable(found.value_or(QString())));
            return;
        }
        QVERIFY(found);
        QVERIFY2(found->startsWith(problem.first()), qPrintable(*found));
        for (const QString &piece : problem)
            QVERIFY2(found->contains(piece), qPrintable(*found + u'/' + piece));
    }
};

QTEST_GUILESS_MAIN(TestFloorTexts)
#include "tst_floortexts.moc"
