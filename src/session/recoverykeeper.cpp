#include "session/recoverykeeper.h"

#include "model/mapdocument.h"
#include "session/recoverystore.h"

RecoveryKeeper::RecoveryKeeper(MapDocument &document, RecoveryStore &store, QObject *parent)
    : QObject(parent), mDocument(document), mStore(store)
{
    mTimer.setSingleShot(true);
    mTimer.setInterval(DelayMs);
    connect(&mTimer, &QTimer::timeout, this, &RecoveryKeeper::flush);
    connect(&mDocument, &MapDocument::changed, this, &RecoveryKeeper::onChanged);
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
}

void RecoveryKeeper::flush()
{
    mTimer.stop();
    if (!mDocument.isModified())
        return;
    mStore.write(mDocument.data());
}
