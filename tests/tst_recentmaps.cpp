#include "model/filenamecase.h"
#include "session/recentmaps.h"
#include "session/viewsettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>

using namespace Qt::StringLiterals;

class TestRecentMaps : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void list_data()
    {
        QTest::addColumn<QString>("added");    // in this order, each file made first
        QTest::addColumn<QString>("deleted");  // gone before the prune
        QTest::addColumn<QString>("expected"); // after the prune, newest first
        QTest::addColumn<QString>("pruned");
        QTest::newRow("newest first") << u"abc"_s << QString() << u"cba"_s << QString();
        QTest::newRow("opening again moves it up, once")
            << u"aba"_s << QString() << u"ab"_s << QString();
        QTest::newRow("the ninth pushes the oldest out")
            << u"123456789"_s << QString() << u"98765432"_s << QString();
        QTest::newRow("missing files go, the order stays")
            << u"abcd"_s << u"ac"_s << u"db"_s << u"ca"_s;
        // One file on Windows, where the newer spelling stays; two files elsewhere.
        QTest::newRow("another spelling of a name")
            << u"aA"_s << QString() << (FileNameCase == Qt::CaseInsensitive ? u"A"_s : u"Aa"_s)
            << QString();
    }

    // One map per character of `names`.
    void list()
    {
        QFETCH(QString, added);
        QFETCH(QString, deleted);
        QTemporaryDir folder;
        const auto paths = [&](const QString &names) {
            QStringList list;
            for (const QChar name : names)
                list.append(folder.filePath(QString(name) + u".map"_s));
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
            QFETCH(QString, pruned);
            QCOMPARE(recent.prune(), paths(pruned));
        }
        // The next run finds the list as this one left it.
        QSettings settings(settingsFile, QSettings::IniFormat);
        QFETCH(QString, expected);
        QCOMPARE(RecentMaps(settings).files(), paths(expected));
    }

    void zoomKeptBetweenRuns_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("steps"); // zoom in (+) or out (-) this many times, then quit
        QTest::addColumn<int>("shown"); // the zoom the next run starts with
        QTest::newRow("first run") << QVariant() << 0 << 100;
        QTest::newRow("one step in") << QVariant() << 1 << 150;
        QTest::newRow("past the largest") << QVariant(300) << 3 << 400;
        QTest::newRow("past the smallest") << QVariant(75) << -2 << 50;
        QTest::newRow("between steps goes down") << QVariant(120) << 0 << 100;
        QTest::newRow("below every step") << QVariant(10) << 0 << 50;
        QTest::newRow("no number") << QVariant(u"big"_s) << 0 << 100;
    }

    void zoomKeptBetweenRuns()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, steps);
        QTemporaryDir dir;
        const QString settingsFile = dir.filePath(u"settings.ini"_s);
        {
            QSettings settings(settingsFile, QSettings::IniFormat);
            if (stored.isValid())
                settings.setValue(u"view/zoom"_s, stored);
            ViewSettings view(settings);
            for (int i = 0; i < std::abs(steps); ++i)
                steps > 0 ? view.zoomIn() : view.zoomOut();
        }
        QSettings settings(settingsFile, QSettings::IniFormat);
        QTEST(ViewSettings(settings).zoomPercent(), "shown");
    }
};

QTEST_APPLESS_MAIN(TestRecentMaps)
#include "tst_recentmaps.moc"
