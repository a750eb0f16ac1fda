#include "session/recoverykeeper.h"

#include "model/mapdocument.h"
#include "session/mapfilewatch.h"

#include <QDir>

RecoveryKeeper::RecoveryKeeper(MapDocument &document, RecoveryStore &store, QObject *parent)
    : QObject(parent), mDocument(document), mStore(store)
{
    mTimer.setSingleShot(true);
    mTimer.setInterval(DelayMs);
    connect(&mTimer, &QTimer::timeout, this, &RecoveryKeeper::flush);
    connect(&mDocument, &MapDocument::mapChanged, this, &RecoveryKeeper::onChanged);
    connect(&mDocument, &MapDocument::modifiedChanged, this, &RecoveryKeeper::onModifiedChanged);
}

void RecoveryKeeper::onChanged()
{
    // Not restarted by later changes: a long run of edits is still copied every interval.
    if (mDocument.isModified() && !mTimer.isActive())
        mTimer.start();
}

void RecoveryKeeper::onModifiedChanged(bool modified)
{
    if (modified) {
        onChanged();
        return;
    }
    mTimer.stop();
    mStore.remove();
    dropReplacedCopy();
}

void RecoveryKeeper::replaceCopy(const RecoveryStore::Copy &copy)
{
    mReplaced = copy;
}

void RecoveryKeeper::dropReplacedCopy()
{
    if (!mReplaced)
        return;
    mStore.discard(*mReplaced);
    mReplaced.reset();
}

void RecoveryKeeper::flush()
{
    mTimer.stop();
    if (!mDocument.isModified())
        return;
    if (!mStore.write(mDocument.data(), mDocument.fileName(),
                      mWatch ? mWatch->knownFiles() : FloorFileContents())) {
        // The last good copy stays; the next try comes after the usual delay.
        mTimer.start();
        if (!mFailing) {
            mFailing = true;
            Q_EMIT writeFailed();
        }
        return;
    }
    mFailing = false;
    dropReplacedCopy();
}

QString RecoveryKeeper::failureStatusText() const
{
    return QStringLiteral("復元用のコピーを書き込めません。") +
           mStore.writeProblem().section(QStringLiteral("\r\n"), 0, 0);
}

QString RecoveryKeeper::failureMessage() const
{
    return QStringLiteral("復元用のコピーを書き込めません。\r\n") + mStore.writeProblem() +
           QStringLiteral("\r\nフォルダ：") + QDir::toNativeSeparators(mStore.folder()) +
           QStringLiteral("\r\n書き込めるようになるまで試し続けます。");
}
