#include "mainwindow/startup.h"
#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"
#include "mapfiletestmaps.h"
#include "model/mapdocument.h"
#include "session/editorsession.h"
#include "session/recoverykeeper.h"
#include "session/recoverystore.h"
#include "stubprompter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A copy as an editor leaves it when it dies: its files are complete, its lock is gone.
QString leaveCopy(const QString &recoveryFolder, const QString &id, const MapData &map,
                  const QByteArray &originalName)
{
    const QString folder = recoveryFolder + u'/' + id;
    if (!QDir().mkpath(folder) || !MapFileWriter::save(map, folder + u"/map"_s).ok())
        return {};
    QFile info(folder + u"/original.txt"_s);
    if (!info.open(QIODevice::WriteOnly) || info.write(originalName) < 0)
        return {};
    return folder;
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void copyFollowsUnsavedChanges();
    void editorsKeepTheirOwnCopies();
    void leftCopyIsOffered_data();
    void leftCopyIsOffered();
};

void TestRecovery::copyFollowsUnsavedChanges()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    MapDocument document;
    ChipDescriptions descriptions;
    EditorSession session(document, descriptions);
    RecoveryStore store(folder.filePath(u"recovery"_s));
    RecoveryKeeper keeper(document, store);

    session.clickCell({3, 3}, Qt::LeftButton);
    QVERIFY(!store.hasCopy()); // not before the delay
    keeper.flush();
    QVERIFY(store.hasCopy());
    const QString base = folder.filePath(u"saved"_s);
    QVERIFY(!session.saveMap(base).fault);
    QVERIFY(!store.hasCopy());
    session.undo();
    // Written by the timer this time, after the delay.
    QTRY_VERIFY_WITH_TIMEOUT(store.hasCopy(), RecoveryKeeper::DelayMs * 3);
    session.redo();
    QVERIFY(!store.hasCopy());
}

void TestRecovery::editorsKeepTheirOwnCopies()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString recovery = folder.filePath(u"recovery"_s);
    auto running = std::make_unique<RecoveryStore>(recovery);
    QVERIFY(running->write(castleMap()));
    // A second editor leaves the running one's copy alone.
    RecoveryStore starting(recovery);
    QVERIFY(starting.takeLeftCopies().isEmpty());
    // A copy without a live lock was left behind; one whose first write never ended is
    // only cleared away.
    QVERIFY(!leaveCopy(recovery, u"dead"_s, castleMap(), "/maps/castle").isEmpty());
    QVERIFY(
        QFile::remove(leaveCopy(recovery, u"unfinished"_s, castleMap(), "") + u"/original.txt"_s));
    const QList<RecoveryStore::Copy> left = starting.takeLeftCopies();
    QCOMPARE(left.size(), 1);
    QCOMPARE(left.first().originalName, u"/maps/castle"_s);
    // ... and once taken, a third editor does not get it too.
    RecoveryStore third(recovery);
    QVERIFY(third.takeLeftCopies().isEmpty());
    // A normal end removes the editor's own copy.
    running.reset();
    QVERIFY(third.takeLeftCopies().isEmpty());
    QCOMPARE(QDir(recovery).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{u"dead"_s});
}

void TestRecovery::leftCopyIsOffered_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QByteArray>("originalName");
    QTest::newRow("yes, named") << true << QByteArray("/maps/castle");
    QTest::newRow("yes, unnamed") << true << QByteArray();
    QTest::newRow("no") << false << QByteArray("/maps/castle");
}

void TestRecovery::leftCopyIsOffered()
{
    QFETCH(bool, answer);
    QFETCH(QByteArray, originalName);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString recovery = folder.filePath(u"recovery"_s);
    QVERIFY(!leaveCopy(recovery, u"dead"_s, castleMap(), originalName).isEmpty());
    MapDocument document;
    ChipDescriptions descriptions;
    EditorSession session(document, descriptions);
    RecoveryStore store(recovery);
    StubPrompter prompter;
    prompter.answer = answer;

    QCOMPARE(Startup::offerRecovery(store, session, prompter, nullptr), answer);

    QCOMPARE(prompter.questions.size(), 1);
    QVERIFY(prompter.questions.first().contains(
        u"前回、保存されずに終了したマップがあります。復元しますか？"_s));
    QVERIFY(prompter.questions.first().contains(originalName.isEmpty() ? u"名前のないマップ"_s
                                                                       : u"castle.map"_s));
    MapData expected = castleMap();
    expected.setMapFileName(QString::fromUtf8(originalName));
    QCOMPARE(session.map() == expected, answer);
    QCOMPARE(document.isModified(), answer);
    // Answered either way, the copy left behind is gone; a restored map has its own already.
    QVERIFY(!QDir(recovery).entryList(QDir::Dirs).contains(u"dead"_s));
    QCOMPARE(store.hasCopy(), answer);
}

QTEST_GUILESS_MAIN(TestRecovery)
#include "tst_recovery.moc"
