#include "mainwindow/startup.h"
#include "mapfile/mapfilereader.h"
#include "mapfile/mapfilewriter.h"
#include "mapfiletestmaps.h"
#include "session/recoverykeeper.h"
#include "session/recoveryoffer.h"
#include "session/recoverystore.h"
#include "sessionscript.h"

#include <QDir>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>

#include <optional>
#include <tuple>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Prompter::RestoreAnswer)

namespace {

// A copy as an editor leaves it when it dies: its files are complete, its lock is gone.
QString leaveCopy(const QString &recoveryFolder, const QString &id, const MapData &map,
                  const QByteArray &originalName)
{
    const QString folder = recoveryFolder + u'/' + id;
    if (!QDir().mkpath(folder) || !MapFileWriter::save(map, folder + u"/map"_s).ok())
        return {};
    return writeFile(folder + u"/original.txt"_s, originalName) ? folder : QString();
}

// A file where the editor `id` writes its next copy, so that the write fails.
bool blockCopy(const QString &recoveryFolder, const QString &id)
{
    return QDir().mkpath(recoveryFolder) &&
           writeFile(recoveryFolder + u'/' + id + u".new"_s, QByteArray());
}

// A copy as an editor keeps it, left as if that editor died now.
bool copyFolder(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    const QFileInfoList entries =
        QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const QString target = to + u'/' + entry.fileName();
        if (entry.isDir() ? !copyFolder(entry.filePath(), target)
                          : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

// An editor's session whose copy the keeper writes into `recoveryFolder`.
struct KeptSession : FileFixture
{
    explicit KeptSession(const QString &recoveryFolder, const QString &id = {})
        : store(recoveryFolder, id)
    {
    }
    RecoveryStore store;
    RecoveryKeeper keeper{document, store};
    QSignalSpy told{&keeper, &RecoveryKeeper::writeFailed};

    auto parts() { return std::tie(document, session, files, store, keeper, told); }
};

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> mScratch; // a folder of its own for every case
    QString mRecovery;                     // where the editors keep their copies
    QString at(const QString &name) const { return mScratch->filePath(name); }

private slots:
    // Map markers go to a scratch folder, not the user's.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        mScratch.emplace();
        QVERIFY(mScratch->isValid());
        mRecovery = at(u"recovery"_s);
    }

    void copyFollowsUnsavedChanges()
    {
        KeptSession kept(mRecovery);
        auto [document, session, files, store, keeper, told] = kept.parts();

        QVERIFY(kept.play(u"c:3,3,L"_s));
        QVERIFY(!store.hasCopy()); // not before the delay
        keeper.flush();
        QVERIFY(store.hasCopy());
        const QString base = at(u"saved"_s);
        QVERIFY(!files.writeMap(base).fault);
        QVERIFY(!store.hasCopy());
        QVERIFY(kept.play(u"undo"_s));
        // Written by the timer this time, after the delay.
        QTRY_VERIFY_WITH_TIMEOUT(store.hasCopy(), RecoveryKeeper::DelayMs * 3);
        QVERIFY(kept.play(u"redo"_s));
        QVERIFY(!store.hasCopy());
    }

    void editorsKeepTheirOwnCopies()
    {
        auto running = std::make_unique<RecoveryStore>(mRecovery);
        QVERIFY(running->write(castleMap()));
        // A second editor leaves the running one's copy alone.
        RecoveryStore starting(mRecovery);
        QVERIFY(starting.takeLeftCopies().isEmpty());
        // A copy without a live lock was left behind; one whose first write never ended is
        // only cleared away.
        QVERIFY(!leaveCopy(mRecovery, u"dead"_s, castleMap(), "/maps/castle").isEmpty());
        QVERIFY(QFile::remove(leaveCopy(mRecovery, u"unfinished"_s, castleMap(), "") +
                              u"/original.txt"_s));
        const QList<RecoveryStore::Copy> left = starting.takeLeftCopies();
        QCOMPARE(left.size(), 1);
        QCOMPARE(left.first().originalName, u"/maps/castle"_s);
        // ... and once taken, a third editor does not get it too.
        RecoveryStore third(mRecovery);
        QVERIFY(third.takeLeftCopies().isEmpty());
        // A normal end removes the editor's own copy.
        running.reset();
        QVERIFY(third.takeLeftCopies().isEmpty());
        QCOMPARE(QDir(mRecovery).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{u"dead"_s});
    }

    // A copy that cannot be written is told at the first failure of a run, tried again, and
    // the last good copy stays meanwhile.
    void failedCopyIsToldOncePerRun()
    {
        KeptSession kept(mRecovery, u"me"_s);
        auto [document, session, files, store, keeper, told] = kept.parts();

        QVERIFY(kept.play(u"c:3,3,L"_s));
        keeper.flush();
        QVERIFY(blockCopy(mRecovery, u"me"_s));
        QVERIFY(kept.play(u"c:4,4,L"_s));
        keeper.flush();
        keeper.flush();
        QCOMPARE(told.count(), 1);
        QVERIFY(keeper.failureMessage().contains(QDir::toNativeSeparators(mRecovery)));
        QCOMPARE(RecoveryStore::load({mRecovery + u"/me"_s, {}, {}}).map.cell(4, 4, 1),
                 MapData::resetMap().cell(4, 4, 1));
        QVERIFY(QFile::remove(mRecovery + u"/me.new"_s));
        QTRY_VERIFY_WITH_TIMEOUT(!keeper.isFailing(), RecoveryKeeper::DelayMs * 3);
        QCOMPARE(RecoveryStore::load({mRecovery + u"/me"_s, {}, {}}).map.cell(4, 4, 1),
                 session.map().cell(4, 4, 1));
        QVERIFY(blockCopy(mRecovery, u"me"_s));
        QVERIFY(kept.play(u"c:5,5,L"_s));
        keeper.flush();
        QCOMPARE(told.count(), 2);
    }

    void leftCopyIsOffered_data()
    {
        QTest::addColumn<Prompter::RestoreAnswer>("answer");
        QTest::addColumn<QByteArray>("originalName");
        // "own copy fails": this editor's copy cannot be written; "disk full": no lock and no
        // copy can be written at start; "empty lock": the dead editor's lock has no record.
        QTest::addColumn<QString>("trouble");
        using A = Prompter::RestoreAnswer;
        const QByteArray castle("/maps/castle");
        QTest::newRow("restore, named") << A::Restore << castle << QString();
        QTest::newRow("restore, unnamed") << A::Restore << QByteArray() << QString();
        QTest::newRow("restore, own copy fails") << A::Restore << castle << u"own copy fails"_s;
        QTest::newRow("restore, disk full") << A::Restore << castle << u"disk full"_s;
        QTest::newRow("restore, empty lock left") << A::Restore << castle << u"empty lock"_s;
        QTest::newRow("delete") << A::Delete << castle << QString();
        QTest::newRow("later") << A::Later << castle << QString();
    }
    void leftCopyIsOffered()
    {
        QFETCH(Prompter::RestoreAnswer, answer);
        QFETCH(QByteArray, originalName);
        QFETCH(QString, trouble);
        const bool diskFull = trouble == u"disk full";
        const bool blocked = diskFull || trouble == u"own copy fails";
        QVERIFY(!leaveCopy(mRecovery, u"dead"_s, castleMap(), originalName).isEmpty());
        if (trouble == u"empty lock")
            QVERIFY(QFile(mRecovery + u"/dead.lock"_s).open(QIODevice::WriteOnly));
        if (blocked && !diskFull)
            QVERIFY(blockCopy(mRecovery, u"me"_s));
        KeptSession kept(mRecovery, u"me"_s);
        auto [document, session, files, store, keeper, told] = kept.parts();
        StubPrompter prompter;
        prompter.restoreAnswers = {answer};
        const bool restored = answer == Prompter::RestoreAnswer::Restore;
        {
            // No file may grow, as on a full disk: even root, who may write into any folder
            // whatever its permissions, cannot make a lock or a copy.
#ifdef Q_OS_UNIX
            rlimit old{};
            if (diskFull) {
                std::signal(SIGXFSZ, SIG_IGN);
                QVERIFY(getrlimit(RLIMIT_FSIZE, &old) == 0);
                rlimit none = old;
                none.rlim_cur = 0;
                QVERIFY(setrlimit(RLIMIT_FSIZE, &none) == 0);
            }
            const auto restore = qScopeGuard([&] {
                if (diskFull)
                    setrlimit(RLIMIT_FSIZE, &old);
            });
#else
            if (diskFull)
                QSKIP("the size of files cannot be limited here");
#endif
            RecoveryOffer offer(store, keeper, files);
            QCOMPARE(Startup::offerRecovery(offer, prompter, nullptr), restored);
        }
        // A lock that could not be made is not another editor's: the copy is offered, and why
        // nothing can be written there is told first.
        QCOMPARE(prompter.messages.size(), diskFull ? 1 : 0);
        if (diskFull)
            QVERIFY(prompter.messages.first().contains(u"復元用のフォルダに書き込めません。"_s));

        QCOMPARE(prompter.questions.size(), 1);
        QVERIFY(prompter.questions.first().contains(
            u"前回、保存されずに終了したマップがあります。復元しますか？"_s));
        QVERIFY(prompter.questions.first().contains(originalName.isEmpty() ? u"名前のないマップ"_s
                                                                           : u"castle.map"_s));
        QCOMPARE(session.map() == castleMap(), restored);
        if (restored)
            QCOMPARE(document.fileName(), QString::fromUtf8(originalName));
        QCOMPARE(document.isModified(), restored);
        // Only deleting, or this editor's own copy safely written, removes the copy left behind.
        QCOMPARE(QDir(mRecovery).entryList(QDir::Dirs).contains(u"dead"_s),
                 answer == Prompter::RestoreAnswer::Later || blocked);
        QCOMPARE(store.hasCopy(), restored && !blocked);
        // An unwritable folder is said once: its copies failing are not told again.
        QCOMPARE(told.count(), blocked && !diskFull ? 1 : 0);
    }

    // Restored, a map with files is watched, guarded against overwriting another program's
    // changes, and marked as open, as an opened map is.
    void restoredMapIsWatchedLikeAnOpenedOne()
    {
        const QString base = at(u"castle"_s);
        QVERIFY(MapFileWriter::save(castleMap(), base).ok());
        QVERIFY(!leaveCopy(mRecovery, u"dead"_s, castleMap(), base.toUtf8()).isEmpty());
        KeptSession kept(mRecovery, u"me"_s);
        RecoveryOffer offer(kept.store, kept.keeper, kept.files);
        QCOMPARE(offer.copies().size(), 1);
        QVERIFY(!offer.answer(offer.copies().first(), RecoveryOffer::Answer::Restore));
        QCOMPARE(kept.session.document().fileName(), base);

        FileFixture second;
        QSignalSpy told(&second.files.watch(), &MapFileWatch::openElsewhere);
        QVERIFY(second.files.loadMap(base + u".map"_s).ok());
        QCOMPARE(told.count(), 1);

        QSignalSpy changed(&kept.files.watch(), &MapFileWatch::changedOutside);
        QVERIFY(writeFile(base + u".map"_s, readFile(base + u".map"_s) + "\r\n"));
        QVERIFY(changed.wait(5000));
        QVERIFY(kept.files.watch().changedSinceReadOrWritten());
    }

    void restoredMapAsksBeforeOverwriting_data()
    {
        QTest::addColumn<bool>("changedMeanwhile");
        QTest::newRow("files changed while no editor ran") << true;
        QTest::newRow("files as the editor left them") << false;
    }
    // The copy knows what the map's files held when its editor died, so 上書き保存 of the
    // restored map asks before it replaces what another program wrote since.
    void restoredMapAsksBeforeOverwriting()
    {
        QFETCH(bool, changedMeanwhile);
        const QString base = at(u"castle"_s);
        QVERIFY(MapFileWriter::save(castleMap(), base).ok());
        {
            KeptSession dying(mRecovery, u"dying"_s);
            dying.keeper.followFiles(dying.files.watch());
            QVERIFY(dying.files.loadMap(base + u".map"_s).ok());
            QVERIFY(dying.play(u"c:9,9,L"_s));
            dying.keeper.flush();
            QVERIFY(copyFolder(mRecovery + u"/dying"_s, mRecovery + u"/dead"_s));
        }
        if (changedMeanwhile)
            QVERIFY(writeFile(base + u".map"_s, readFile(base + u".map"_s) + "\r\n"));
        KeptSession kept(mRecovery, u"me"_s);
        RecoveryOffer offer(kept.store, kept.keeper, kept.files);
        QCOMPARE(offer.copies().size(), 1);
        QVERIFY(!offer.answer(offer.copies().first(), RecoveryOffer::Answer::Restore));
        QCOMPARE(kept.document.fileName(), base);
        kept.prompter.answer = false;
        QCOMPARE(kept.files.overwriteMap(), !changedMeanwhile);
        const QString asked = u"Q:zKエディタ|"_s + kept.files.watch().overwriteQuestion();
        QCOMPARE(kept.prompter.questions, changedMeanwhile ? QStringList{asked} : QStringList());
    }
};

QTEST_GUILESS_MAIN(TestRecovery)
#include "tst_recovery.moc"
