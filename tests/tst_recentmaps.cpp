#include "session/recentmaps.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRecentMaps : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void list_data();
    void list();
};

void TestRecentMaps::list_data()
{
    QTest::addColumn<QStringList>("added");    // in this order, each file made first
    QTest::addColumn<QStringList>("deleted");  // files gone before the prune
    QTest::addColumn<QStringList>("expected"); // the list after the prune, newest first
    QTest::addColumn<QStringList>("pruned");

    QTest::newRow("newest first") << QStringList{u"a"_s, u"b"_s, u"c"_s} << QStringList{}
                                  << QStringList{u"c"_s, u"b"_s, u"a"_s} << QStringList{};
    QTest::newRow("opening again moves it up, once")
        << QStringList{u"a"_s, u"b"_s, u"a"_s} << QStringList{} << QStringList{u"a"_s, u"b"_s}
        << QStringList{};
    QTest::newRow("the ninth pushes the oldest out")
        << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"7"_s, u"8"_s, u"9"_s}
        << QStringList{}
        << QStringList{u"9"_s, u"8"_s, u"7"_s, u"6"_s, u"5"_s, u"4"_s, u"3"_s, u"2"_s}
        << QStringList{};
    QTest::newRow("missing files go, the order stays")
        << QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s} << QStringList{u"a"_s, u"c"_s}
        << QStringList{u"d"_s, u"b"_s} << QStringList{u"c"_s, u"a"_s};
}

void TestRecentMaps::list()
{
    QFETCH(QStringList, added);
    QFETCH(QStringList, deleted);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, pruned);
    QTemporaryDir folder;
    const auto paths = [&](const QStringList &names) {
        QStringList list;
        for (const QString &name : names)
            list.append(folder.filePath(name + u".map"_s));
        return list;
    };
    const QString settingsFile = folder.filePath(u"settings.ini"_s);
    {
        QSettings settings(settingsFile, QSettings::IniFormat);
        RecentMaps recent(settings);
        for (const QString &file : paths(added)) {
            QFile made(file);
            QVERIFY(made.open(QIODevice::WriteOnly));
            // Given relative to the working folder, kept as an absolute path.
            recent.add(QDir::current().relativeFilePath(file));
        }
        for (const QString &file : paths(deleted))
            QVERIFY(QFile::remove(file));
        QCOMPARE(recent.prune(), paths(pruned));
    }
    // The next run finds the list as this one left it.
    QSettings settings(settingsFile, QSettings::IniFormat);
    QCOMPARE(RecentMaps(settings).files(), paths(expected));
}

QTEST_APPLESS_MAIN(TestRecentMaps)
#include "tst_recentmaps.moc"
